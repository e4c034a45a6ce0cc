#pragma once
// The transfer controller's form without a window, over the rig's engine:
// the document's IDocTransfer, the engine's owner (as the main window
// forwards WM_NEED_TRANSFER_DATA and WM_MORE_TRANSFER_DATA to the
// document) and its view. ShowModal runs the rig's loop until the engine
// closes the form, as a modal dialog's own loop would.

#include "BusRig.h"
#include "IDocTransfer.h"
#include "ITransferOwner.h"
#include "ITransferView.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TMoxDocument;

class HeadlessTransfer : public IDocTransfer, public ITransferOwner, public ITransferView {
public:
    explicit HeadlessTransfer(BusRig& rig);
    ~HeadlessTransfer() override;

    // The document that owns the transfer; null for runs that hand over
    // packages of their own.
    void SetDocument(TMoxDocument* doc) { m_pDoc = doc; }
    // Called every turn of the loop while a run is showing (the test's
    // "user": a cancel, a jump of the clock).
    std::function<void()> onTurn;
    // A run that has not ended after this much real time fails the test's
    // expectations and is cancelled, so nothing hangs.
    int limitMs = 30000;

    // A run without the document: mode, buffer, length (and for a send the
    // packages to hand over after the first).
    int Run(int mode, std::uint8_t* buffer, std::uint32_t length);
    int Send(const std::vector<std::vector<std::uint8_t>>& packages);

    // ---- What the runs left ----
    std::vector<int> results;               // WM_TRANSFER_RESULT of every run
    std::vector<std::uint8_t> lastReceived; // what the last read put in the buffer
    bool timedOut = false;
    int needCalls = 0;
    int captionText = 0;
    std::string infoText;

    // IDocTransfer
    void SetInfoText(const char* text) override { infoText = text ? text : ""; }
    void SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) override;
    void SetTeleAnz(std::uint16_t count) override;
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) override;
    void SetMoreData(bool more) override;
    std::uint32_t GetBlockLen() const override { return TDataTransferEngine::GetBlockLen(); }

    // ITransferOwner
    void OnTransferResult(int result) override { results.push_back(result); }
    void OnNeedTransferData() override;
    void OnMoreTransferData() override;

    // ITransferView
    void SetCaptionText(int textId) override { captionText = textId; }
    void SetInfoText(int, int) override {}
    void SetProgressRange(int, int, int) override {}
    void SetProgressMax(int) override {}
    void SetProgressPosition(int) override {}
    void StepProgress() override {}
    void SetProgressToEnd() override {}
    void SetProgressTimer(bool) override {}
    void SetCancelEnabled(bool) override {}
    void SetDefaultCursor() override {}
    void CloseForm() override { m_bClosed = true; }

private:
    BusRig& m_Rig;
    TMoxDocument* m_pDoc = nullptr;
    std::uint8_t* m_pBuffer = nullptr;
    int m_nMode = 0;
    bool m_bClosed = false;
    std::vector<std::vector<std::uint8_t>> m_Packages;
    std::size_t m_nPackage = 0;
};
