#pragma once
// What the transfer controller's engine shows on its form: caption, the
// information line, the progress bar, the cancel button. Texts are language
// text ids; the form looks them up and puts the number in.

class ITransferView {
public:
    virtual ~ITransferView() = default;

    virtual void SetCaptionText(int textId) = 0;
    // textId 0 empties the line; number < 0 means the text takes none.
    virtual void SetInfoText(int textId, int number) = 0;
    virtual void SetProgressRange(int min, int max, int step) = 0;
    virtual void SetProgressMax(int max) = 0;
    virtual void SetProgressPosition(int pos) = 0;
    virtual void StepProgress() = 0;
    virtual void SetProgressToEnd() = 0;
    // The 10 ms stepping bar while the box works on a long request.
    virtual void SetProgressTimer(bool on) = 0;
    virtual void SetCancelEnabled(bool enabled) = 0;
    virtual void SetDefaultCursor() = 0;
    // The run ended: close the form (its modal result follows the engine's).
    virtual void CloseForm() = 0;
};
