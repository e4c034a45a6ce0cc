#pragma once
// The transfer dialog's side of the firmware download. The form renders the
// group, shows the download's messages and asks its questions; it runs its
// own file dialog and hands the chosen path to
// TFirmwareDownload::OnFWDateiLaden.
//
// No call may run a nested event loop that lets the download be re-entered:
// a form shows its message boxes once the call has returned (queued, one at
// a time, in the order they were asked for), and answers later through the
// TFirmwareDownload call named at each.

#include "TFirmwareGroup.h"

class IFirmwareView {
public:
    virtual ~IFirmwareView() = default;

    // The group changed; render it whole.
    virtual void ShowFirmwareGroup(const TFirmwareGroup& group) = 0;
    // A message box with the stop icon and an OK button.
    virtual void ShowFWMessage(int textId, int captionId) = 0;
    // The same, but the download waits until the user has closed it:
    // TFirmwareDownload::OnFWMessageClosed.
    virtual void ShowFWMessageAndWait(int textId, int captionId) = 0;
    // Yes/No with the question icon: restart the device now?
    // TFirmwareDownload::OnRestartAnswer.
    virtual void AskRestart(int textId, int captionId) = 0;
    // Yes/No with the question icon: stop a download that leaves the
    // device without usable firmware? TFirmwareDownload::OnCancelAnswer.
    virtual void AskCancel(int textId, int captionId) = 0;
};
