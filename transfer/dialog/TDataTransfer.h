#pragma once
// TDataTransfer: the transfer controller's modal progress form. One
// ShowModal runs exactly one exchange with the box (send or read the
// configuration, restart the box, read the event log, and through the
// extension the programming and firmware runs); ShowModal returns 1 when it
// succeeded and 2 when it failed or was cancelled.
//
// The form owns the engine (TDataTransferEngine), which holds the modes,
// timers and tries, and shows what the engine tells it (ITransferView). All
// engine timers run on one single-shot timer, re-armed at the engine's next
// due time whenever the form has handed the engine something to do and
// before the event loop sleeps; a 90 ms timer runs the dashes under the bar.
// The ports report by window messages to the form's own receiver: the bus
// port and the direct serial port through their adapters, the ISDN port its
// reports as values (CAPIPORT_*), which the controller forwards to the owner.
//
// The form also is the document's transfer controller (IDocTransfer). The
// owner (main window or wizard) hears WM_TRANSFER_RESULT once per run and
// hands over the packages of a send on WM_NEED_TRANSFER_DATA and
// WM_MORE_TRANSFER_DATA.
//
// Created once by the main window and kept for the program's life, so the
// configured port stays open and the identification flows between runs.
// GUI thread only.

#include "IDocMessageBox.h"
#include "IDocTransfer.h"
#include "IFirmwareView.h"
#include "ITransferView.h"
#include "MessageAddress.h"
#include "TDataTransferEngine.h"
#include "TSwapAnimation.h"

#include <QDialog>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QTimer;
class TkResourcen;
class TComPortOwnerMessages;
class TLumenPortOwnerMessages;
class TFirmwareDownload;
class TTransferExtension;
class TTransferPortFactory;
enum class CapiUnavailable;

namespace mox::platform {
class MessageReceiver;
struct WindowMessage;
} // namespace mox::platform

namespace Ui {
class TDataTransfer;
}

// What a test (or another host) may put in place of the program's own parts.
struct TDataTransferSeams {
    ITransferClock* clock = nullptr;             // the steady clock when null
    const ITransferSettings* settings = nullptr; // the settings' transfer medium when null
    ITransferPortFactory* ports = nullptr;       // the program's factory when null
};

class TDataTransfer : public QDialog,
                      public ITransferView,
                      public IDocTransfer,
                      public IFirmwareView {
    Q_OBJECT

public:
    TDataTransfer(QWidget* owner, TkResourcen* pRes, TDataTransferSeams seams = {});
    // Closes every port (the bus port first lets go of the bus control).
    ~TDataTransfer() override;

    TDataTransfer(const TDataTransfer&) = delete;
    TDataTransfer& operator=(const TDataTransfer&) = delete;

    // ---- Wiring ----
    // The owner's window: results and package requests as window messages.
    void SetOwnerAddress(mox::platform::MessageAddress owner);
    // An owner called directly (the wizard's document adapter, tests); null
    // for none. Replaces an owner address.
    void SetOwner(ITransferOwner* owner);
    // The form's own extension (subscriber programming and the firmware
    // download) is plugged in from the start; a test may put another one in.
    void SetExtension(ITransferExtension* ext) { m_pEngine->SetExtension(ext); }
    TTransferExtension& GetTransferExtension() { return *m_pExtension; }
    const TTransferExtension& GetTransferExtension() const { return *m_pExtension; }
    // Where a refused bus port is shown; null for the form's own Qt box.
    void SetMessageBox(IDocMessageBox* box) { m_pMessageBox = box; }
    // The program's port factory (bus control, serial and ISDN hooks); null
    // when a factory was handed in.
    TTransferPortFactory* GetPortFactory() const { return m_pOwnPorts.get(); }
    // The form's receiver, for the ports' messages.
    mox::platform::MessageAddress Address() const;
    TDataTransferEngine& GetEngine() { return *m_pEngine; }
    const TDataTransferEngine& GetEngine() const { return *m_pEngine; }

    // ---- IDocTransfer ----
    void SetInfoText(const char* text) override;
    void SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) override;
    void SetTeleAnz(std::uint16_t count) override;
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) override;
    void SetMoreData(bool more) override;
    std::uint32_t GetBlockLen() const override { return TDataTransferEngine::GetBlockLen(); }

    // ---- The link ----
    eConnectionType GetConnectionType() const { return m_pEngine->GetConnectionType(); }
    bool UpdatePort();
    bool IsConnected() const { return m_pEngine->IsConnected(); }
    // "via capi", "via LumenBus", "via COM-Port" or "no connection!".
    std::string GetConnectionText() const;
    // The bus control's TeleReceived event, forwarded by the main window.
    void OnTeleReceived();
    // The owner closes the form when the result has come (WM_TRANSFER_RESULT).
    void CloseTransferForm();

    // ---- The ISDN call ----
    // Dials number (or the first remembered box number of the settings):
    // the instance of the new call, or a negative eIsdnDialResult. A number
    // longer than the 16 digits a call takes is refused with a message.
    // The owner hears CAPIPORT_CONNECT_ACTIVE when the call is up, or
    // CAPIPORT_DISCONNECT with the reason when it fails.
    int Connect(const std::string& number);
    int Connect();
    // Hangs up the call, or refuses an incoming call that rings; the owner
    // hears CAPIPORT_DISCONNECT (Local, instance 0).
    void Disconnect();
    // The call held: 0 none.
    std::uint16_t GetIsdnInstance() const { return m_pEngine->GetIsdnInstance(); }

    // ---- ITransferView ----
    void SetCaptionText(int textId) override;
    void SetInfoText(int textId, int number) override;
    void SetProgressRange(int min, int max, int step) override;
    void SetProgressMax(int max) override;
    void SetProgressPosition(int pos) override;
    void StepProgress() override;
    void SetProgressToEnd() override;
    void SetProgressTimer(bool on) override;
    void SetCancelEnabled(bool enabled) override;
    void SetDefaultCursor() override;
    void CloseForm() override;

    // ---- IFirmwareView ----
    void ShowFirmwareGroup(const TFirmwareGroup& group) override;
    void ShowFWMessage(int textId, int captionId) override;
    void ShowFWMessageAndWait(int textId, int captionId) override;
    void AskRestart(int textId, int captionId) override;
    void AskCancel(int textId, int captionId) override;

public slots:
    // The firmware group's buttons: choose a download file, start the
    // download.
    void OnFWDateiLadenClicked();
    void OnFWDownloadClicked();

    // The cancel button. A firmware download that has begun to change the
    // device's flash asks first; the form then stays until the run ends.
    void OnCancel();
    // The engine's timer: fires whatever is due on the clock, then re-arms.
    void OnTimer();
    // One step of the running dashes.
    void OnSwapTimer();
    // The stepping bar while the box works on a long request.
    void OnProgressTimer();
    // Re-arms the engine's timer at its next due time.
    void RearmTimer();
    // Escape and the window's close end a running exchange as cancel does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnShow();
    void RunPendingStart();
    std::intptr_t OnMessage(const mox::platform::WindowMessage& msg);
    void QueueOpenError(std::uint16_t result);
    void QueueCapiUnavailable(CapiUnavailable why, const std::string& library, unsigned info);
    // A box of the form and what is done with its answer.
    struct QueuedBox {
        int textId = 0; // 0: a text built here
        std::string text;
        std::string caption;
        eDocMsgIcon icon = eDocMsgIconStop;
        eDocMsgButtons buttons = eDocMsgOk;
        std::function<void(int)> answered;
        // A question whose run has ended meanwhile is not asked.
        std::function<bool()> wanted;
    };
    // Shows a message over the form (or its owner) once the current handler
    // has returned.
    void QueueMessage(std::string text, std::string caption, eDocMsgIcon icon, int textId = 0);
    // Boxes show one at a time, in the order they were queued.
    void QueueBox(QueuedBox box);
    void ShowNextBox();
    QueuedBox FirmwareBox(int textId, int captionId, eDocMsgIcon icon,
                          eDocMsgButtons buttons) const;
    // A Yes/No question of the download, answered through answer unless
    // the download no longer asks it when its turn comes.
    void AskFW(int textId, int captionId, void (TFirmwareDownload::*answer)(bool),
               bool (TFirmwareDownload::*asking)() const);
    void OnCapiMessage(const mox::platform::WindowMessage& msg);
    void ShowDialRefused(int result, const std::string& number);
    QString Text(int textId) const;
    // A language text with its numbers put in, or the literal text.
    QString ViewText(const TViewText& text) const;
    // The firmware layout (group shown, progress panel hidden, the info
    // line below the group, at least 485 x 337) or back to the transfer layout.
    void SetFirmwareLayout(bool on);
    void FitFirmwareLayout();
    // The chosen file in the width its label has.
    void ShowDatei();

    std::unique_ptr<Ui::TDataTransfer> ui;
    TkResourcen* m_pRes;
    IDocMessageBox* m_pMessageBox = nullptr;

    // The collaborators come before the engine, which refers to them and is
    // destroyed first.
    std::unique_ptr<ITransferClock> m_pOwnClock;
    ITransferClock* m_pClock;
    std::unique_ptr<ITransferSettings> m_pOwnSettings;
    const ITransferSettings* m_pSettings;
    mox::platform::MessageReceiver* m_pReceiver;
    std::unique_ptr<TLumenPortOwnerMessages> m_pLumenOwner;
    std::unique_ptr<TComPortOwnerMessages> m_pComOwner;
    // Number of the ISDN port built last; reports of earlier ones are void.
    std::intptr_t m_nCapiPortNumber = 0;
    std::unique_ptr<TTransferPortFactory> m_pOwnPorts;
    std::unique_ptr<ITransferOwner> m_pOwnerMessages;
    std::unique_ptr<TDataTransferEngine> m_pEngine;
    // Refers to the engine: destroyed before it.
    std::unique_ptr<TTransferExtension> m_pExtension;

    QTimer* m_pTransferTimer;
    QTimer* m_pSwapTimer;
    QTimer* m_pProgressTimer;
    std::optional<std::uint64_t> m_ArmedDue;
    int m_nProgressStep = 1;
    TSwapAnimation m_Swap;
    // Set by ShowModal; the shown form starts the exchange from its event
    // loop, never inside show(), so a start that fails at once can still
    // close the form.
    bool m_bStartPending = false;
    bool m_bFirmwareLayout = false;
    std::deque<QueuedBox> m_Boxes;
    bool m_bBoxOpen = false;
    QString m_Datei; // the chosen file, whole
};
