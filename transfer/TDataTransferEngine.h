#pragma once
// The transfer controller without its form: runs exactly one exchange with
// the box per run (send or read the configuration, restart the box, read the
// event log; the programming and firmware runs through ITransferExtension),
// owns the port of the configured link and keeps the link alive with the
// identification while idle (mode 0, also a firmware run waiting for the
// user). On ISDN it also holds the call the blocks go
// out on (TIsdnLink): dial, hang-up and the port's reports.
//
// Plain C++ on the GUI thread. Time comes from the injected clock: the form
// (or a test) calls Poll whenever NextDueMs is reached, and every time-out
// path runs without real waiting. The form, the owner and the ports talk to
// the engine only through the interfaces named below.
//
// One exchange, one result: every started run ends exactly once through
// SetResult, which reports to the owner; a failure outside a run is only
// traced.

#include "BlockProtocolDefs.h"
#include "ITransferClock.h"
#include "ITransferExtension.h"
#include "ITransferOwner.h"
#include "ITransferPortFactory.h"
#include "ITransferSettings.h"
#include "ITransferView.h"
#include "TIsdnLink.h"
#include "TTkDataMsg.h"
#include "TransferDefs.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum eTransferMode : std::int8_t {
    eTransferIdle = 0,
    eSendAnlDaten = 1,
    eReceiveAnlDaten = 2,
    eSendReset = 3,
    eReceiveKBAList = 5,
    eReceiveKBACount = 6,
    eReceiveEventLog = 7,
    eFW_FirmwareDownload = 8,
    eFW_FirstStep = 9,
    // The firmware steps (TFirmwareDownload runs them).
    eFW_ReceiveFirmwareHeader = 9,
    eFW_ReceiveFirmwareChk = 10,
    eFW_StartDownload = 11,
    eFW_StopDownload = 12,
    eFW_StartKTXDownload = 13,
    eFW_ReceiveKTXFirmwareHeader = 14,
    eFW_StopKTXDownload = 15,
    eFW_StartKMRDownload = 16,
    eFW_ReceiveKMRFirmwareHeader = 17,
    eFW_StopKMRDownload = 18,
    eFW_DeleteBlock = 19,
    eFW_SendBlock = 20,
    eFW_Reset = 21,
    eFW_KillOldFirmware = 22,
    eFW_KillNewFirmware = 23,
    eFW_LastStep = 23,
};

class TDataTransferEngine {
public:
    TDataTransferEngine(ITransferClock& clock, const ITransferSettings& settings,
                        ITransferPortFactory& ports);
    // Closes every port (the ISDN port hangs up as it goes).
    ~TDataTransferEngine();

    TDataTransferEngine(const TDataTransferEngine&) = delete;
    TDataTransferEngine& operator=(const TDataTransferEngine&) = delete;

    // Collaborators; each may be null (a run without owner traces its
    // result only).
    void SetOwner(ITransferOwner* owner) { m_pOwner = owner; }
    void SetView(ITransferView* view) { m_pView = view; }
    void SetExtension(ITransferExtension* ext) { m_pExt = ext; }
    ITransferOwner* GetOwner() const { return m_pOwner; }
    ITransferExtension* GetExtension() const { return m_pExt; }
    const ITransferSettings& GetSettings() const { return m_Settings; }

    // ---- The caller's side (document, views, wizard) ----
    void SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length);
    // The next package of a running send; length 0 when none remains.
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length);
    void SetTeleAnz(std::uint16_t count);
    void SetMoreData(bool more) { m_bMoreData = more; }
    static constexpr std::uint32_t GetBlockLen() { return MAX_COMM_DATA_LEN; }

    // ---- Ports ----
    eConnectionType GetConnectionType() const;
    // Brings the ports in line with the setting; true when a port was opened
    // or reopened (the identification then went out).
    bool UpdatePort();
    bool IsConnected() const;
    // "via capi", "via LumenBus", "via COM-Port" or "no connection!";
    // returns IsConnected.
    bool GetConnectionText(std::string& text) const;
    ITransferPort* GetPort(eConnectionType type) const;

    // ---- The ISDN call (TIsdnLink) ----
    // Dials the box: number, or the box number of the settings. The
    // instance of the new call, or a negative eIsdnDialResult.
    int Connect(std::string_view number);
    int Connect();
    // Hangs up (or refuses a ringing incoming call); the owner hears
    // OnCapiDisconnect (Local) and a running exchange ends with result 0.
    void Disconnect();
    // The ISDN port's reports (CAPIPORT_CONNECT .. CAPIPORT_DATA_SENT).
    void OnCapiMessage(const CapiPortMessage& msg) { m_Isdn.OnCapiMessage(msg); }
    // The call held: 0 none.
    std::uint16_t GetIsdnInstance() const { return m_Isdn.GetInstance(); }

    // ---- The form's side ----
    // OnShow: runs the start of the exchange.
    void StartTransfer();
    // The cancel button: the missing answer is handled as a time-out, then the
    // run ends with result 0 unless that already ended it. A firmware
    // download that has begun to change the device's flash asks first and
    // ends the run itself (the run may go on after this returns).
    void Cancel();
    // The same without any question: the run has ended when this returns
    // (the dialog's loop is gone).
    void CancelNow();
    // Fires every timer whose time has come.
    void Poll();
    // Clock time of the next timer, or none.
    std::optional<std::uint64_t> NextDueMs() const;
    // Modal result of the finished run: 1 success, 2 failure or cancel.
    int GetModalResult() const { return m_byResult ? 1 : 2; }

    // ---- Received data ----
    // The bus control's TeleReceived event; ignored once the bus port is gone.
    void OnTeleReceived();
    // The bus port's posted call (ILumenPortOwner::PostPendingTelegrams).
    void OnLumenPendingTelegrams();
    // QUELLPORT_DATA and COMPORT_DATA: the port holds a block (or reported
    // 0 bytes, a failed block).
    void OnReadQuellData();
    void OnReadData();
    // Data of the ISDN link, as a copy; more than 1030 bytes or none is a
    // failed block. Like the other links' data, the message handler decides
    // whether the transfer timer stops.
    void OnReceivedData(const std::uint8_t* data, std::size_t len);
    // WM_KENNUNG_RESTART: traffic on the link, the identification waits
    // another 7000 ms.
    void OnKennungRestart();
    // The link went down under a running exchange (ISDN hang-up): the run
    // ends with result 0.
    void OnLinkDown();
    // Entry for every received message and every time-out (null).
    void WorkOnReadData(const TTkDataMsg* pMsg);

    // ---- For the programming and firmware extensions ----
    bool SendDataToPort(const std::uint8_t* data, std::uint32_t len, std::uint32_t timeoutMs);
    // The same, but a failed send leaves the run to the caller's own failure
    // path (the firmware download ends its run through that path only).
    bool SendDataToPortKeepRun(const std::uint8_t* data, std::uint32_t len,
                               std::uint32_t timeoutMs);
    // Blocks sent one after the other without waiting for answers (the
    // devices' final stop commands): no timer, a failure only traced.
    // onDone: as ITransferPort::QueueDataBlock.
    bool QueueDataToPort(const std::uint8_t* data, std::uint32_t len,
                         ITransferPort::BlockDone onDone = {});
    bool SendMessageBlock(std::uint8_t cmd, std::uint16_t block, std::uint32_t timeoutMs,
                          std::uint8_t channel);
    bool SendMessageBlock(std::uint8_t cmd, const std::uint8_t* data, std::uint16_t len,
                          std::uint16_t block, std::uint32_t timeoutMs);
    void SendKonfigStart();
    void SendKonfigEnde();
    void InitiateSendKennung();
    void SetResult(std::uint8_t result);
    void SetTransferTimer(std::uint32_t ms);
    void StopTransferTimer();
    ITransferView* GetView() const { return m_pView; }
    int GetMode() const { return m_eMode; }
    void SetMode(int mode) { m_eMode = static_cast<std::int8_t>(mode); }
    bool IsRunning() const { return m_bRunActive; }
    std::uint8_t GetResult() const { return m_byResult; }

    // State visible to the tests.
    int GetAktBlock() const { return m_nAktBlock; }
    int GetTries() const { return m_nTries; }
    bool IsKonfigStartSent() const { return m_bKonfigStart; }
    std::uint32_t GetReceivedLen() const { return m_dwWriteOffset; }

private:
    struct Timer {
        bool armed = false;
        std::uint64_t due = 0;
    };

    bool SendDataToPortImpl(const std::uint8_t* data, std::uint32_t len, std::uint32_t timeoutMs,
                            bool endsRun);
    bool SendMessageBlockImpl(std::uint8_t cmd, const std::uint8_t* data, std::uint16_t len,
                              std::uint16_t block, std::uint32_t timeoutMs, std::uint8_t channel,
                              bool endsRun);
    void WorkOnReceivedBytes(const std::uint8_t* data, std::uint32_t len);

    void InitiateSendAnlData();
    void InitiateReceiveAnlData();
    void InitiateSendReset();
    void InitiateReceiveEventLog();
    void SendDataBlock(bool first, std::uint32_t timeoutMs);
    void SendReset();
    void RequestBlock(std::uint8_t cmd, std::uint8_t channel);
    void WorkOnSendAnlData(const TTkDataMsg* pMsg);
    void WorkOnReceiveAnlData(const TTkDataMsg* pMsg);
    void WorkOnSendReset(const TTkDataMsg* pMsg);
    void WorkOnEventLog(const TTkDataMsg* pMsg);
    // Appends received data to the caller's buffer; false when it would pass
    // the buffer's end.
    bool AppendReceived(const TTkDataMsg& msg);
    // Counts one failed answer; true when that was the last allowed.
    bool CountFailure();
    void EndExchange(std::uint8_t result);
    void OnTransferTimer();
    void OnSendKennung();
    void OnStartFirmware();

    // A port to be destroyed while one of its calls is still on the stack
    // waits here until the call has returned.
    void RetirePort(std::unique_ptr<ITransferPort>& port);
    void RetireLumenPort();
    void EnterPortCall() { ++m_nPortCallDepth; }
    void LeavePortCall();

    ITransferClock& m_Clock;
    const ITransferSettings& m_Settings;
    ITransferPortFactory& m_PortFactory;
    ITransferOwner* m_pOwner = nullptr;
    ITransferView* m_pView = nullptr;
    ITransferExtension* m_pExt = nullptr;

    std::unique_ptr<ITransferPort> m_pComPort;
    std::unique_ptr<ITransferPort> m_pLumenPort;
    std::unique_ptr<ITransferPort> m_pCapiPort;
    // The call on the ISDN port; it holds the port's operations while the
    // port exists.
    TIsdnLink m_Isdn{*this};
    std::vector<std::unique_ptr<ITransferPort>> m_RetiredPorts;
    int m_nPortCallDepth = 0;
    // A bus port waits among the retired ones: it still holds the one bus
    // control, so a new bus port opens only once it is gone.
    bool m_bLumenRetired = false;
    bool m_bUpdateAfterPortCall = false;

    std::int8_t m_eMode = eTransferIdle;
    std::uint32_t m_dwBufferLen = 0;
    std::uint16_t m_wTeleAnz = 0;
    std::uint8_t* m_pBuffer = nullptr;
    std::uint32_t m_dwWriteOffset = 0;
    int m_nAktBlock = 0;
    int m_nTries = 0;
    std::uint8_t m_byResult = 0;
    bool m_bKonfigStart = false;
    bool m_bMoreData = false;
    bool m_bRunActive = false;

    Timer m_TransferTimer;
    Timer m_KennungTimer;
    Timer m_FirmwareStartTimer;
};
