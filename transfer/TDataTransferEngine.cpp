#include "TDataTransferEngine.h"

#include "TCommMessage.h"
#include "TDownloadMessage.h"
#include "TLumenMessage.h"
#include "TProgDefs.h"
#include "TransferTrace.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsFirmwareStep(int mode) {
    return mode >= eFW_FirstStep && mode <= eFW_LastStep;
}

bool IsFirmwareMode(int mode) {
    return mode >= eFW_FirmwareDownload && mode <= eFW_LastStep;
}

// The free-address requests are answered on the programming channel only.
bool IsProgRequest(int mode) {
    return mode == eReceiveKBAList || mode == eReceiveKBACount;
}

// The bus port hands a foreign telegram up whole (target, function,
// transmitter, data); the box's raw programming telegrams come that way.
bool IsRawProgTelegram(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 3 && bytes.size() < LUMEN_RAW_LEN && IsProgTelegramFunction(bytes[1]);
}

// Serial settings 5..8 stand for COM1..COM4.
int ComNumberFromSetting(int setting) {
    return setting - 4;
}

} // namespace

TDataTransferEngine::TDataTransferEngine(ITransferClock& clock, const ITransferSettings& settings,
                                         ITransferPortFactory& ports)
    : m_Clock(clock), m_Settings(settings), m_PortFactory(ports) {
    TransferTrace(eTraceTransfer, "DataTransfer::TDataTransfer");
    // The identification timer runs from creation on.
    m_KennungTimer = {true, m_Clock.NowMs() + kKennungIntervalMs};
}

TDataTransferEngine::~TDataTransferEngine() {
    if (m_pCapiPort) {
        TransferTrace(eTracePort, "close CapiPort");
        // The owner may be gone already: the hang-up is not reported.
        m_Isdn.OnPortClosing(false);
        m_pCapiPort.reset();
    }
    if (m_pComPort) {
        TransferTrace(eTracePort, "close ComPort");
        m_pComPort.reset();
    }
    if (m_pLumenPort) {
        TransferTrace(eTracePort, "close LumenPort");
        m_pLumenPort.reset();
    }
    m_RetiredPorts.clear();
}

// ---- The caller's side -----------------------------------------------------

void TDataTransferEngine::SetTransferData(int mode, std::uint8_t* buffer, std::uint32_t length) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SetTransferData> mode (%d) buf (%p) len (%u)",
                  mode, static_cast<void*>(buffer), length);
    if (m_bRunActive) {
        TransferTrace(eTraceTransfer, "     ERROR a transfer runs: SetTransferData ignored");
        return;
    }
    m_eMode = static_cast<std::int8_t>(mode);
    m_pBuffer = buffer;
    m_dwBufferLen = length;
}

void TDataTransferEngine::SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SetTransferBuf> buf (%p) len (%u)",
                  static_cast<void*>(buffer), length);
    m_pBuffer = buffer;
    m_dwBufferLen = length;
}

void TDataTransferEngine::SetTeleAnz(std::uint16_t count) {
    m_wTeleAnz = count;
}

// ---- Ports -----------------------------------------------------------------

eConnectionType TDataTransferEngine::GetConnectionType() const {
    const int setting = m_Settings.GetComPort();
    if (setting >= 1 && setting <= 4)
        return eConnectionQuell;
    if (setting >= 5 && setting <= 8)
        return eConnectionV24;
    if (setting == 9)
        return eConnectionCAPI;
    return eConnectionNone;
}

ITransferPort* TDataTransferEngine::GetPort(eConnectionType type) const {
    switch (type) {
    case eConnectionV24:
        return m_pComPort.get();
    case eConnectionQuell:
        return m_pLumenPort.get();
    case eConnectionCAPI:
        return m_pCapiPort.get();
    default:
        return nullptr;
    }
}

void TDataTransferEngine::RetirePort(std::unique_ptr<ITransferPort>& port) {
    if (m_nPortCallDepth > 0)
        m_RetiredPorts.push_back(std::move(port));
    else
        port.reset();
}

void TDataTransferEngine::LeavePortCall() {
    if (--m_nPortCallDepth != 0)
        return;
    m_RetiredPorts.clear();
    m_bLumenRetired = false;
    if (m_bUpdateAfterPortCall) {
        m_bUpdateAfterPortCall = false;
        UpdatePort();
    }
}

void TDataTransferEngine::RetireLumenPort() {
    m_bLumenRetired = m_bLumenRetired || m_nPortCallDepth > 0;
    RetirePort(m_pLumenPort);
}

bool TDataTransferEngine::UpdatePort() {
    const eConnectionType type = GetConnectionType();
    const int setting = m_Settings.GetComPort();
    bool changed = false;

    if (type != eConnectionCAPI && m_pCapiPort) {
        TransferTrace(eTracePort, "close CapiPort");
        m_Isdn.OnPortClosing(true);
        RetirePort(m_pCapiPort);
    }
    if (type != eConnectionQuell && m_pLumenPort) {
        TransferTrace(eTracePort, "close QuellPort");
        RetireLumenPort();
    }
    if (type != eConnectionV24 && m_pComPort) {
        TransferTrace(eTracePort, "close ComPort");
        RetirePort(m_pComPort);
    }
    if (type == eConnectionCAPI && !m_pCapiPort) {
        // The ISDN port listens for calls from its creation on; the link
        // itself comes up with a call, so nothing else changes here.
        TransferTrace(eTracePort, "open CapiPort");
        m_pCapiPort = m_PortFactory.CreatePort(eConnectionCAPI, setting);
        m_Isdn.OnPortOpened(m_pCapiPort ? m_pCapiPort->GetCapiLink() : nullptr);
    }
    // Bus settings 1..4 are COM1..COM4: another number closes the bus port
    // and opens it on the new one, as the serial port does below.
    if (type == eConnectionQuell && m_pLumenPort && m_pLumenPort->GetComNumber() != setting) {
        TransferTrace(eTracePort, "reset QuellPort old(%d) new(%d)", m_pLumenPort->GetComNumber(),
                      setting);
        RetireLumenPort();
    }
    if (type == eConnectionQuell && !m_pLumenPort) {
        if (m_bLumenRetired) {
            // Closed from inside one of its own calls: it still holds the
            // control until that call has returned.
            m_bUpdateAfterPortCall = true;
        } else {
            TransferTrace(eTracePort, "open QuellPort");
            m_pLumenPort = m_PortFactory.CreatePort(eConnectionQuell, setting);
            changed = true;
        }
    }
    if (type == eConnectionV24 && m_pComPort &&
        m_pComPort->GetComNumber() != ComNumberFromSetting(setting)) {
        TransferTrace(eTracePort, "reset ComPort old(%d) new(%d)", m_pComPort->GetComNumber(),
                      ComNumberFromSetting(setting));
        RetirePort(m_pComPort);
        m_pComPort = m_PortFactory.CreatePort(eConnectionV24, setting);
        changed = true;
    } else if (type == eConnectionV24 && !m_pComPort) {
        TransferTrace(eTracePort, "open ComPort");
        m_pComPort = m_PortFactory.CreatePort(eConnectionV24, setting);
        changed = true;
    }
    if (changed) {
        if (m_pExt)
            m_pExt->OnPortChanged();
        InitiateSendKennung();
    }
    return changed;
}

bool TDataTransferEngine::IsConnected() const {
    switch (GetConnectionType()) {
    case eConnectionCAPI:
        // A call of our own in its data phase; a ringing incoming call,
        // which is never accepted, is no link.
        return m_pCapiPort && m_Isdn.IsConnected();
    case eConnectionQuell:
        return m_pLumenPort && m_pLumenPort->IsOpen();
    case eConnectionV24:
        return m_pComPort && m_pComPort->IsOpen();
    default:
        return false;
    }
}

bool TDataTransferEngine::GetConnectionText(std::string& text) const {
    const bool connected = IsConnected();
    if (!connected) {
        text = "no connection!";
        return false;
    }
    switch (GetConnectionType()) {
    case eConnectionCAPI:
        text = "via capi";
        break;
    case eConnectionQuell:
        text = "via LumenBus";
        break;
    default:
        text = "via COM-Port";
        break;
    }
    return true;
}

// ---- The ISDN call ---------------------------------------------------------

int TDataTransferEngine::Connect(std::string_view number) {
    if (GetConnectionType() != eConnectionCAPI || !m_pCapiPort) {
        TransferTrace(eTraceTransfer, "<TDataTransfer::Connect> no ISDN port");
        return eIsdnDialNoPort;
    }
    return m_Isdn.Connect(number);
}

int TDataTransferEngine::Connect() {
    return Connect(m_Settings.GetBoxNumber());
}

void TDataTransferEngine::Disconnect() {
    m_Isdn.Disconnect();
}

// ---- Sending ---------------------------------------------------------------

bool TDataTransferEngine::SendDataToPort(const std::uint8_t* data, std::uint32_t len,
                                         std::uint32_t timeoutMs) {
    return SendDataToPortImpl(data, len, timeoutMs, true);
}

bool TDataTransferEngine::SendDataToPortKeepRun(const std::uint8_t* data, std::uint32_t len,
                                                std::uint32_t timeoutMs) {
    return SendDataToPortImpl(data, len, timeoutMs, false);
}

bool TDataTransferEngine::QueueDataToPort(const std::uint8_t* data, std::uint32_t len,
                                          ITransferPort::BlockDone onDone) {
    if (GetConnectionType() != eConnectionQuell) {
        // These links carry the block whole: taken is delivered.
        const bool sent = SendDataToPortImpl(data, len, 0, false);
        if (sent && onDone)
            onDone(true);
        return sent;
    }
    TransferTrace(eTraceTransfer, "<TDataTransfer::QueueDataToPort> dwLen (%u)", len);
    TransferTraceBytes(eTraceTDump, "", data, len);
    const bool ok = m_pLumenPort && m_pLumenPort->QueueDataBlock(data, len, std::move(onDone));
    if (!ok)
        TransferTrace(eTraceTransfer, "<TDataTransfer::SendLumenData> send failed -> ERROR");
    return ok;
}

bool TDataTransferEngine::SendDataToPortImpl(const std::uint8_t* data, std::uint32_t len,
                                             std::uint32_t timeoutMs, bool endsRun) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SendDataToPort> dwLen (%u) timeout (%u)", len,
                  timeoutMs);
    TransferTraceBytes(eTraceTDump, "", data, len);
    bool ok = false;
    switch (GetConnectionType()) {
    case eConnectionV24:
        ok = m_pComPort && m_pComPort->SendDataBlock(data, len);
        if (!ok)
            TransferTrace(eTraceTransfer, "<TDataTransfer::SendV24Data> send failed -> ERROR");
        break;
    case eConnectionQuell:
        ok = m_pLumenPort && m_pLumenPort->SendDataBlock(data, len);
        if (!ok)
            TransferTrace(eTraceTransfer, "<TDataTransfer::SendLumenData> send failed -> ERROR");
        break;
    case eConnectionCAPI:
        ok = m_pCapiPort && m_Isdn.SendCAPIData(data, len);
        break;
    default:
        break;
    }
    if (!ok) {
        TransferTrace(eTraceTransfer, "     ERROR SendData return false");
        // Only a running exchange has a result to give; a failed
        // identification between runs is no exchange.
        if (endsRun && m_bRunActive)
            SetResult(0);
        return false;
    }
    if (timeoutMs)
        SetTransferTimer(timeoutMs);
    return true;
}

bool TDataTransferEngine::SendMessageBlockImpl(std::uint8_t cmd, const std::uint8_t* data,
                                               std::uint16_t len, std::uint16_t block,
                                               std::uint32_t timeoutMs, std::uint8_t channel,
                                               bool endsRun) {
    TCommMessage msg(cmd, block, channel);
    if (data)
        msg.SetData(data, len);
    msg.Dump();
    const bool ok = SendDataToPortImpl(msg.GetBuffer(), msg.GetLen(), timeoutMs, endsRun);
    if (!ok)
        TransferTrace(eTraceTransfer, "     ERROR SendDataToPort return false");
    return ok;
}

bool TDataTransferEngine::SendMessageBlock(std::uint8_t cmd, std::uint16_t block,
                                           std::uint32_t timeoutMs, std::uint8_t channel) {
    TransferTrace(eTraceTransfer,
                  "<TDataTransfer::SendMessageBlock> Cmd(%d) nBlock (%d) timeout (%u)", cmd, block,
                  timeoutMs);
    return SendMessageBlockImpl(cmd, nullptr, 0, block, timeoutMs, channel, true);
}

bool TDataTransferEngine::SendMessageBlock(std::uint8_t cmd, const std::uint8_t* data,
                                           std::uint16_t len, std::uint16_t block,
                                           std::uint32_t timeoutMs) {
    TransferTrace(
        eTraceTransfer,
        "<TDataTransfer::SendMessageBlock> Cmd(%d) pData nLen(%d) nBlock (%d) timeout (%u)", cmd,
        len, block, timeoutMs);
    return SendMessageBlockImpl(cmd, data, len, block, timeoutMs, eProtKonfig, true);
}

void TDataTransferEngine::SendKonfigStart() {
    if (GetConnectionType() != eConnectionQuell || !m_pLumenPort)
        return;
    const TLumenMessage frame(eLumenKonfigStart, 0, LUMEN_ADR_BROADCAST);
    for (int i = 0; i < kKonfigFrameRepeats; ++i) {
        if (!m_pLumenPort->SendLumenTelegramm(frame.GetBuffer(), frame.GetLen())) {
            TransferTrace(eTraceTransfer, "     SendLumenTelegramm failed");
            return;
        }
    }
    m_bKonfigStart = true;
}

void TDataTransferEngine::SendKonfigEnde() {
    if (GetConnectionType() == eConnectionQuell && m_pLumenPort) {
        const TLumenMessage frame(eLumenKonfigEnde, 0, LUMEN_ADR_BROADCAST);
        for (int i = 0; i < kKonfigFrameRepeats; ++i) {
            if (!m_pLumenPort->SendLumenTelegramm(frame.GetBuffer(), frame.GetLen()))
                TransferTrace(eTraceTransfer, "     m_pLumenPort->SendLumenTelegramm failed");
        }
    }
    m_bKonfigStart = false;
}

void TDataTransferEngine::InitiateSendKennung() {
    switch (GetConnectionType()) {
    case eConnectionV24:
        // Never ends a run: the identification is not part of an exchange.
        SendMessageBlockImpl(eEvConfKennung, KENNUNG_WORD, KENNUNG_WORD_LEN, 0, 0, eProtKonfig,
                             false);
        break;
    case eConnectionQuell:
        if (m_pLumenPort && m_pLumenPort->IsOpen()) {
            TLumenMessage tele(eEvQuellKennung, 0, LUMEN_ADR_BOX);
            tele.SetData(KENNUNG_WORD, KENNUNG_WORD_LEN);
            if (!m_pLumenPort->SendLumenTelegramm(tele.GetBuffer(), tele.GetLen()))
                TransferTrace(eTraceTransfer, "     SendLumenTelegramm failed");
        }
        break;
    default:
        // Never on ISDN: a call is not kept up for it.
        break;
    }
}

// ---- Run start and end -----------------------------------------------------

void TDataTransferEngine::StartTransfer() {
    TransferTrace(eTraceTransfer, "<TDataTransfer::StartTransfer>");
    if (m_bRunActive) {
        TransferTrace(eTraceTransfer, "     ERROR a transfer runs already");
        return;
    }
    UpdatePort();
    if (m_pView)
        m_pView->SetProgressTimer(false);
    InitiateSendKennung();

    m_bKonfigStart = false;
    m_byResult = 0;
    m_bRunActive = true;

    bool failed = false;
    if (!m_pBuffer) {
        TransferTrace(eTraceTransfer, "     ERROR m_pBuffer(NULL)");
        failed = true;
    } else if (!m_dwBufferLen) {
        TransferTrace(eTraceTransfer, "     ERROR m_dwBufferLen(0)");
        failed = true;
    }
    if (m_pView)
        m_pView->SetProgressPosition(0);
    if (m_pExt)
        m_pExt->OnTransferStart();

    if (!failed) {
        SendKonfigStart();
        switch (m_eMode) {
        case eSendAnlDaten:
            TransferTrace(eTraceTransfer, "     m_eMode (eSendAnlDaten) m_dwBufferLen(%u)",
                          m_dwBufferLen);
            InitiateSendAnlData();
            break;
        case eReceiveAnlDaten:
            TransferTrace(eTraceTransfer, "     m_eMode (eReceiveAnlDaten) m_dwBufferLen(%u)",
                          m_dwBufferLen);
            InitiateReceiveAnlData();
            break;
        case eSendReset:
            TransferTrace(eTraceTransfer, "     m_eMode (eSendReset)");
            InitiateSendReset();
            break;
        case eReceiveKBAList:
        case eReceiveKBACount:
            TransferTrace(eTraceTransfer, m_eMode == eReceiveKBAList
                                              ? "     m_eMode (eReceiveKBAList)"
                                              : "     m_eMode (eReceiveKBACount)");
            if (!m_pExt || !m_pExt->StartMode(m_eMode))
                failed = true;
            break;
        case eReceiveEventLog:
            TransferTrace(eTraceTransfer, "     m_eMode (eReceiveEventLog)");
            InitiateReceiveEventLog();
            break;
        case eFW_FirmwareDownload:
            TransferTrace(eTraceTransfer, "     m_eMode(eFW_FirmwareDownload) m_dwBufferLen(%u)",
                          m_dwBufferLen);
            if (m_pExt)
                m_FirmwareStartTimer = {true, m_Clock.NowMs() + kFirmwareStartDelayMs};
            else
                failed = true;
            break;
        default:
            TransferTrace(eTraceTransfer, "     ERROR switch(m_eMode) -> default ???");
            failed = true;
            break;
        }
    }
    if (failed) {
        SetResult(0);
        SetTransferTimer(kStartFailedTimerMs);
    }
}

void TDataTransferEngine::SetResult(std::uint8_t result) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SetResult> (%d)", result);
    if (!m_bRunActive) {
        // Every run ends once; a late second end (a cancel after the last
        // answer, a failure between runs) is only traced.
        TransferTrace(eTraceTransfer, "     no transfer runs: result (%d) not reported", result);
        return;
    }
    m_bRunActive = false;
    if (m_bKonfigStart)
        SendKonfigEnde();
    if (IsFirmwareMode(m_eMode) && m_pExt)
        m_pExt->OnFirmwareStop();
    if (m_pView) {
        m_pView->SetCancelEnabled(false);
        m_pView->SetDefaultCursor();
    }
    StopTransferTimer();
    m_FirmwareStartTimer.armed = false;
    m_byResult = result;
    if (result) {
        TransferTrace(eTraceTransfer, "     ok");
        if (m_pView)
            m_pView->SetInfoText(0, -1);
    } else {
        TransferTrace(eTraceTransfer, "     cancel");
        if (m_pView)
            m_pView->SetInfoText(kTextTransferFailed, -1);
    }
    if (m_pOwner) {
        TransferTrace(eTraceTransfer, "     Owner->Perform WM_TRANSFER_RESULT");
        m_pOwner->OnTransferResult(result);
    } else {
        TransferTrace(eTraceTransfer, "     ERROR Owner->Perform WM_TRANSFER_RESULT");
    }
    m_eMode = eTransferIdle;
    if (m_pView) {
        m_pView->CloseForm();
        m_pView->SetCancelEnabled(true);
    }
}

void TDataTransferEngine::Cancel() {
    TransferTrace(eTraceTransfer, "<TDataTransfer::OnCancel>");
    if (!m_bRunActive)
        return;
    if (m_pExt && m_pExt->OnCancelRequest())
        return;
    CancelNow();
}

void TDataTransferEngine::CancelNow() {
    if (!m_bRunActive)
        return;
    WorkOnReadData(nullptr);
    SetResult(0);
}

void TDataTransferEngine::OnLinkDown() {
    if (!m_bRunActive)
        return;
    StopTransferTimer();
    SetResult(0);
}

void TDataTransferEngine::EndExchange(std::uint8_t result) {
    SendKonfigEnde();
    SetResult(result);
}

bool TDataTransferEngine::CountFailure() {
    ++m_nTries;
    return m_nTries >= kMaxBlockTries;
}

// ---- Timers ----------------------------------------------------------------

void TDataTransferEngine::SetTransferTimer(std::uint32_t ms) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SetTransferTimer> %u ms", ms);
    // At least 1 ms, so a time-out never fires inside the Poll that armed it.
    m_TransferTimer = {true, m_Clock.NowMs() + std::max<std::uint32_t>(ms, 1)};
}

void TDataTransferEngine::StopTransferTimer() {
    if (m_TransferTimer.armed)
        TransferTrace(eTraceTransfer, "<TDataTransfer::StopTransferTimer>");
    m_TransferTimer.armed = false;
}

void TDataTransferEngine::OnKennungRestart() {
    m_KennungTimer = {true, m_Clock.NowMs() + kKennungIntervalMs};
}

std::optional<std::uint64_t> TDataTransferEngine::NextDueMs() const {
    std::optional<std::uint64_t> next;
    for (const Timer* t : {&m_TransferTimer, &m_FirmwareStartTimer, &m_KennungTimer}) {
        if (t->armed && (!next || t->due < *next))
            next = t->due;
    }
    return next;
}

void TDataTransferEngine::Poll() {
    for (;;) {
        const std::uint64_t now = m_Clock.NowMs();
        Timer* due = nullptr;
        for (Timer* t : {&m_TransferTimer, &m_FirmwareStartTimer, &m_KennungTimer}) {
            if (t->armed && t->due <= now && (!due || t->due < due->due))
                due = t;
        }
        if (!due)
            return;
        if (due == &m_TransferTimer)
            OnTransferTimer();
        else if (due == &m_FirmwareStartTimer)
            OnStartFirmware();
        else
            OnSendKennung();
    }
}

void TDataTransferEngine::OnTransferTimer() {
    TransferTrace(eTraceTransfer, "<TDataTransfer::OnTimer>");
    StopTransferTimer();
    WorkOnReadData(nullptr);
}

void TDataTransferEngine::OnSendKennung() {
    // Periodic: the next identification is due one interval after this one.
    m_KennungTimer = {true, m_Clock.NowMs() + kKennungIntervalMs};
    // Mode 0 also while a firmware run waits for the user between its
    // steps: the box's link stays alive through the wait.
    if (m_eMode == eTransferIdle)
        InitiateSendKennung();
}

void TDataTransferEngine::OnStartFirmware() {
    m_FirmwareStartTimer.armed = false;
    if (!m_bRunActive)
        return;
    m_eMode = eFW_StartKTXDownload;
    TransferTrace(eTraceTransfer, "\t\tm_eMode(eFW_StartDownload)");
    if (!m_pExt || !m_pExt->StartFirmware())
        SetResult(0);
}

// ---- Receiving -------------------------------------------------------------

void TDataTransferEngine::OnTeleReceived() {
    // The control's event may still be queued when its port is already gone.
    if (!m_pLumenPort) {
        TransferTrace(eTracePort, "<TDataTransfer::OnTeleReceived> no bus port: ignored");
        return;
    }
    EnterPortCall();
    m_pLumenPort->OnTeleReceived();
    LeavePortCall();
}

void TDataTransferEngine::OnLumenPendingTelegrams() {
    if (!m_pLumenPort)
        return;
    EnterPortCall();
    m_pLumenPort->WorkOnPendingTelegrams();
    LeavePortCall();
}

void TDataTransferEngine::OnReadQuellData() {
    if (!m_pLumenPort) {
        TransferTrace(eTracePort, "<TDataTransfer::OnReadQuellData> no bus port: ignored");
        return;
    }
    std::uint8_t buffer[MAX_COMM_MSG_LEN];
    EnterPortCall();
    const std::uint32_t len = m_pLumenPort->ReceiveDataBlock(buffer, sizeof(buffer));
    WorkOnReceivedBytes(buffer, len);
    LeavePortCall();
}

void TDataTransferEngine::OnReadData() {
    if (!m_pComPort) {
        TransferTrace(eTracePort, "<TDataTransfer::OnReadData> no serial port: ignored");
        return;
    }
    std::uint8_t buffer[MAX_COMM_MSG_LEN];
    EnterPortCall();
    const std::uint32_t len = m_pComPort->ReceiveDataBlock(buffer, sizeof(buffer));
    TransferTrace(eTraceTransfer, "<TDataTransfer::OnReadData> len (%u) MAX_COMM_MSG_LEN(%d)", len,
                  MAX_COMM_MSG_LEN);
    WorkOnReceivedBytes(buffer, len);
    LeavePortCall();
}

void TDataTransferEngine::OnReceivedData(const std::uint8_t* data, std::size_t len) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::OnCapiData> CAPIPORT_DATA");
    if (!data || len == 0 || len > MAX_COMM_MSG_LEN) {
        TransferTrace(eTraceTransfer,
                      "ERROR <TDataTransfer::OnCapiData> pDataInfo->GetAddDataLen()(%zu)", len);
        WorkOnReadData(nullptr);
        return;
    }
    WorkOnReceivedBytes(data, static_cast<std::uint32_t>(len));
}

void TDataTransferEngine::WorkOnReceivedBytes(const std::uint8_t* data, std::uint32_t len) {
    // 0 bytes is how a port reports a failed block.
    if (len == 0 || len > MAX_COMM_MSG_LEN) {
        WorkOnReadData(nullptr);
        return;
    }
    const std::span<const std::uint8_t> bytes(data, len);
    std::unique_ptr<TTkDataMsg> msg;
    if (GetConnectionType() == eConnectionQuell && IsRawProgTelegram(bytes))
        msg = std::make_unique<TLumenMessage>(bytes);
    else if (IsFirmwareMode(m_eMode))
        msg = std::make_unique<TDownloadMessage>(bytes);
    else
        msg = std::make_unique<TCommMessage>(bytes);
    if (!msg->IsValid()) {
        WorkOnReadData(nullptr);
        return;
    }
    TransferTrace(eTraceTransfer, "     len (%u) cmd (%d) block (%d) m_nAktBlock (%d)", len,
                  msg->GetCmd(), msg->GetBlockNumber(), m_nAktBlock);
    WorkOnReadData(msg.get());
}

void TDataTransferEngine::WorkOnReadData(const TTkDataMsg* pMsg) {
    if (pMsg) {
        TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnReadData> pMsg (%p)",
                      static_cast<const void*>(pMsg));
        TransferTrace(eTraceTransfer, "     prot(0x%02x) cmd(0x%02x) block(%d)", pMsg->GetProt(),
                      pMsg->GetCmd(), pMsg->GetBlockNumber());
        OnKennungRestart();
    } else {
        TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnReadData> pMsg (NULL)");
    }
    // Programming messages come whenever the box sends them; they neither
    // answer nor time out the running exchange.
    const bool prog = IsProgMessage(pMsg);
    if (!prog) {
        const int mode = m_bRunActive ? static_cast<int>(m_eMode) : static_cast<int>(eTransferIdle);
        // A stray block must not take the time-out of a free-address
        // request: that run would then never end.
        if (!pMsg || !IsProgRequest(mode))
            StopTransferTimer();
        switch (mode) {
        case eSendAnlDaten:
            WorkOnSendAnlData(pMsg);
            break;
        case eReceiveAnlDaten:
            WorkOnReceiveAnlData(pMsg);
            break;
        case eSendReset:
            WorkOnSendReset(pMsg);
            break;
        case eReceiveEventLog:
            WorkOnEventLog(pMsg);
            break;
        default:
            if (IsFirmwareStep(mode) && m_pExt)
                m_pExt->WorkOnFirmwareStep(mode, pMsg);
            else
                TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnReadData> default");
            break;
        }
    }
    if (m_pExt)
        m_pExt->WorkOnProgData(pMsg);
}

// ---- Sending the configuration ---------------------------------------------

void TDataTransferEngine::InitiateSendAnlData() {
    m_nAktBlock = 0;
    m_nTries = 0;
    if (m_pView) {
        m_pView->SetCaptionText(kTextCaptionSend);
        m_pView->SetProgressRange(0, m_wTeleAnz, 1);
    }
    SendDataBlock(true, kTimeoutSendBlockMs);
}

void TDataTransferEngine::SendDataBlock(bool first, std::uint32_t timeoutMs) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SendDataBlock> BlockNr (%d) timeout (%u)",
                  m_nAktBlock, timeoutMs);
    // A package that does not fit one block cannot be sent; refusing it ends
    // the run instead of cutting the configuration short.
    if (!m_pBuffer || m_dwBufferLen > MAX_COMM_DATA_LEN) {
        TransferTrace(eTraceTransfer, "     ERROR package buf (%p) len (%u) refused",
                      static_cast<void*>(m_pBuffer), m_dwBufferLen);
        SetResult(0);
        return;
    }
    std::uint8_t cmd = eEvConfDataFirst;
    if (!first && m_nAktBlock != 0) {
        // An owner that does not answer ends the configuration here.
        m_bMoreData = false;
        if (m_pOwner)
            m_pOwner->OnMoreTransferData();
        if (!m_bRunActive)
            return;
        cmd = m_bMoreData ? eEvConfData : eEvConfDataEnd;
    }
    TCommMessage msg(cmd, static_cast<std::uint16_t>(m_nAktBlock), eProtKonfig);
    msg.SetData(m_pBuffer, static_cast<std::uint16_t>(m_dwBufferLen));
    if (cmd == eEvConfDataFirst && m_wTeleAnz != 0)
        msg.SetValue(m_wTeleAnz);
    if (m_pView)
        m_pView->SetInfoText(kTextSendBlock, m_nAktBlock);
    ++m_nAktBlock;
    msg.Dump();
    const bool bus = GetConnectionType() == eConnectionQuell;
    SendDataToPort(msg.GetBuffer(), msg.GetLen(), bus ? kTimeoutSendBlockBusMs : timeoutMs);
}

void TDataTransferEngine::WorkOnSendAnlData(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer,
                  "<TDataTransfer::WorkOnSendAnlData> pMsg (%p) Cmd(%d) BlockNr (%d)",
                  static_cast<const void*>(pMsg), pMsg ? pMsg->GetCmd() : 0,
                  pMsg ? pMsg->GetBlockNumber() : 0);
    // The box acknowledges a block with the number of the next one.
    const bool accepted =
        pMsg && pMsg->GetCmd() == eEvConfAck && pMsg->GetBlockNumber() == m_nAktBlock;
    bool failed = false;
    if (accepted) {
        TransferTrace(eTraceTransfer, "     ACK Block (%d)", m_nAktBlock);
        m_nTries = 0;
        if (m_pView)
            m_pView->StepProgress();
        // An owner that does not answer has no further package.
        m_pBuffer = nullptr;
        m_dwBufferLen = 0;
        if (m_pOwner)
            m_pOwner->OnNeedTransferData();
        if (!m_bRunActive)
            return;
    } else {
        TransferTrace(eTraceTransfer, "     Block (%d) TIMEOUT oder NAK oder muellige Daten",
                      m_nAktBlock - 1);
        failed = CountFailure();
        if (!failed)
            --m_nAktBlock; // the same package again under the same number
    }
    if (failed || m_dwBufferLen == 0)
        EndExchange(failed ? 0 : 1);
    else
        SendDataBlock(false, kTimeoutSendBlockMs);
}

// ---- Reading the configuration and the event log ---------------------------

void TDataTransferEngine::RequestBlock(std::uint8_t cmd, std::uint8_t channel) {
    TransferTrace(eTraceTransfer,
                  cmd == eEvConfDataReq ? "     send eEvConfDataReq (%d)"
                                        : "     send eEvConfEvLogDataReq (%d)",
                  m_nAktBlock);
    SendMessageBlock(cmd, static_cast<std::uint16_t>(m_nAktBlock), kTimeoutDataReqMs, channel);
}

void TDataTransferEngine::InitiateReceiveAnlData() {
    m_dwWriteOffset = 0;
    m_nAktBlock = 0;
    m_nTries = 0;
    if (m_pView) {
        m_pView->SetCaptionText(kTextCaptionReceive);
        m_pView->SetProgressRange(0, kReadProgressMax, 1);
    }
    RequestBlock(eEvConfDataReq, eProtKonfig);
}

void TDataTransferEngine::InitiateReceiveEventLog() {
    m_dwWriteOffset = 0;
    m_nAktBlock = 0;
    m_nTries = 0;
    if (m_pView) {
        m_pView->SetCaptionText(kTextCaptionEventLog);
        m_pView->SetProgressRange(0, kEventLogBlocks, 1);
    }
    RequestBlock(eEvConfEvLogDataReq, eProtEventLog);
}

bool TDataTransferEngine::AppendReceived(const TTkDataMsg& msg) {
    const std::uint16_t len = msg.GetDataLen();
    if (len == 0)
        return true;
    // The caller's buffer is as long as it said; a box that sends more ends
    // the exchange rather than writing past it.
    if (!msg.GetData() || m_dwWriteOffset > m_dwBufferLen ||
        len > m_dwBufferLen - m_dwWriteOffset) {
        TransferTrace(eTraceTransfer, "     ERROR block (%d) len (%d) passes the buffer end (%u)",
                      m_nAktBlock, len, m_dwBufferLen);
        return false;
    }
    std::memcpy(m_pBuffer + m_dwWriteOffset, msg.GetData(), len);
    m_dwWriteOffset += len;
    if (m_pView)
        m_pView->SetInfoText(kTextReceiveBlock, m_nAktBlock);
    return true;
}

void TDataTransferEngine::WorkOnReceiveAnlData(const TTkDataMsg* pMsg) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::WorkOnReceiveAnlData>");
    const std::uint8_t cmd = pMsg ? pMsg->GetCmd() : 0;
    if (pMsg)
        TransferTrace(eTraceTransfer,
                      "     pMsg->GetCmd (%d) pMsg->Block (%d) erwarte Block (%d) Datenlaenge (%d)",
                      cmd, pMsg->GetBlockNumber(), m_nAktBlock, pMsg->GetDataLen());
    const bool isData = cmd == eEvConfDataFirst || cmd == eEvConfData || cmd == eEvConfDataEnd;
    const bool accepted = pMsg && isData && pMsg->GetBlockNumber() == m_nAktBlock;
    bool failed = false;
    if (accepted) {
        TransferTrace(eTraceTransfer, "     eEvConfDataFirst || eEvConfData || eEvConfDataEnd");
        if (cmd == eEvConfDataFirst) {
            m_wTeleAnz = pMsg->GetValue();
            TransferTrace(eTraceTransfer, " eEvConfDataFirst %d Telegramme", m_wTeleAnz);
            if (m_pView)
                m_pView->SetProgressMax(m_wTeleAnz);
        }
        if (m_pView)
            m_pView->StepProgress();
        m_nTries = 0;
        if (!AppendReceived(*pMsg)) {
            EndExchange(0);
            return;
        }
        ++m_nAktBlock;
    } else {
        // A DataEnd under a wrong number is no end: its data is not stored
        // and the expected block is asked for again.
        TransferTrace(eTraceTransfer, "     TIMEOUT oder muellige Daten");
        failed = CountFailure();
    }
    if (failed)
        EndExchange(0);
    else if (accepted && cmd == eEvConfDataEnd)
        EndExchange(1);
    else
        RequestBlock(eEvConfDataReq, eProtKonfig);
}

void TDataTransferEngine::WorkOnEventLog(const TTkDataMsg* pMsg) {
    const bool accepted =
        pMsg && pMsg->GetCmd() == eEvConfLogData && pMsg->GetBlockNumber() == m_nAktBlock;
    if (accepted) {
        TransferTrace(eTraceTransfer, "     eEvConfLogData");
        if (m_pView)
            m_pView->StepProgress();
        m_nTries = 0;
        if (!AppendReceived(*pMsg)) {
            EndExchange(0);
            return;
        }
        ++m_nAktBlock;
        if (m_nAktBlock == kEventLogBlocks) {
            EndExchange(1);
            return;
        }
    } else {
        TransferTrace(eTraceTransfer, "     TIMEOUT oder muellige Daten");
        if (CountFailure()) {
            EndExchange(0);
            return;
        }
    }
    RequestBlock(eEvConfEvLogDataReq, eProtEventLog);
}

// ---- Restarting the box ----------------------------------------------------

void TDataTransferEngine::InitiateSendReset() {
    m_eMode = eSendReset;
    m_nTries = 0;
    SendReset();
}

void TDataTransferEngine::SendReset() {
    TransferTrace(eTraceTransfer, "     send eEvConfReset");
    SendMessageBlock(eEvConfReset, kResetBlock, kTimeoutResetMs, eProtKonfig);
}

void TDataTransferEngine::WorkOnSendReset(const TTkDataMsg* pMsg) {
    // Any acknowledgement will do: the box answers before it restarts.
    const bool ok = pMsg && pMsg->GetCmd() == eEvConfAck;
    if (ok) {
        TransferTrace(eTraceTransfer, "     ACK");
        if (m_pView)
            m_pView->SetProgressToEnd();
    } else {
        TransferTrace(eTraceTransfer, "     send reset TIMEOUT oder NAK oder muellige Daten");
    }
    if (!ok && !CountFailure())
        SendReset();
    else
        EndExchange(ok ? 1 : 0);
}
