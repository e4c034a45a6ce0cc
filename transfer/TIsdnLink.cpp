#include "TIsdnLink.h"

#include "CapiReasonText.h"
#include "ITransferExtension.h"
#include "ITransferOwner.h"
#include "ITransferSettings.h"
#include "TDataTransferEngine.h"
#include "TransferTrace.h"

#include <cstring>

namespace {

// The service of an outgoing call to the box: unrestricted digital
// information over HDLC.
constexpr std::uint8_t kDialServiceSelector = 1;
// Incoming calls are data calls (CIP 2 and 3) or nothing for us.
constexpr std::uint8_t kDataServiceSelector = 3;
constexpr std::uint8_t kListenDataCalls = 3;

std::string_view FieldText(const char (&field)[17]) {
    return std::string_view(field, strnlen(field, sizeof(field)));
}

} // namespace

void TIsdnLink::OnPortOpened(ICapiLinkPort* port) {
    m_pPort = port;
    m_wInstance = 0;
    m_bOwnCall = false;
    m_bActiveTold = false;
    if (!m_pPort)
        return;
    CapiCallInfo rec;
    rec.bMode = eCapiModeListen;
    rec.bServiceSelector = kDataServiceSelector;
    rec.bListenSelector = kListenDataCalls;
    // The listen request does without the own number; one too long for the
    // record is left out rather than cut (a dial refuses it with a word).
    const std::string own = m_Engine.GetSettings().GetOwnNumber();
    if (!rec.SetNumber2(own))
        TransferTrace(eTraceCapiPort,
                      "<TDataTransfer::UpdatePort> own number (%s) too long: "
                      "listening without it",
                      own.c_str());
    const int result = m_pPort->Listen(rec);
    TransferTrace(eTraceCapiPort, "<TDataTransfer::UpdatePort> CapiPort::Listen (%d)", result);
}

void TIsdnLink::OnPortClosing(bool tellOwner) {
    const bool hadCall = m_wInstance != 0;
    if (m_pPort && hadCall)
        m_pPort->Disconnect(m_wInstance);
    m_wInstance = 0;
    m_bOwnCall = false;
    m_bActiveTold = false;
    m_pPort = nullptr;
    if (hadCall && tellOwner) {
        CallEnded();
        if (ITransferOwner* owner = m_Engine.GetOwner())
            owner->OnCapiDisconnect(0, CapiDisconnectInfo{CapiDisconnectKind::Local, 0, 0, {}});
    }
}

int TIsdnLink::Connect(std::string_view number) {
    const std::string own = m_Engine.GetSettings().GetOwnNumber();
    TransferTrace(eTraceTransfer, "<TDataTransfer::Connect> number (%.*s) own (%s)",
                  static_cast<int>(number.size()), number.data(), own.c_str());
    int result = 0;
    CapiCallInfo rec;
    rec.bMode = eCapiModeCall;
    rec.bServiceSelector = kDialServiceSelector;
    if (!m_pPort)
        result = eIsdnDialNoPort;
    else if (m_wInstance && m_bOwnCall)
        result = eIsdnDialCallUp;
    else if (number.empty())
        result = eIsdnDialNoNumber;
    else if (!rec.SetNumber1(number))
        result = eIsdnDialNumberTooLong;
    else if (!rec.SetNumber2(own))
        result = eIsdnDialOwnNumberTooLong;
    if (result < 0) {
        TransferTrace(eTraceTransfer, "     ERROR dial refused (%d)", result);
        return result;
    }
    if (m_wInstance) {
        // The incoming call still ringing gives way to the dial.
        TransferTrace(eTraceTransfer, "     refuse incoming call (%d)", m_wInstance);
        m_pPort->Disconnect(m_wInstance);
        m_wInstance = 0;
    }
    result = m_pPort->Connect(rec);
    TransferTrace(eTraceTransfer, "<TDataTransfer::Connect> CapiPort::Connect (%d)", result);
    // A negative result is no call: keeping it as the instance would make
    // every later send and hang-up talk to a connection that is not there.
    if (result > 0) {
        m_wInstance = static_cast<std::uint16_t>(result);
        m_bOwnCall = true;
        m_bActiveTold = false;
    }
    return result;
}

void TIsdnLink::Disconnect() {
    TransferTrace(eTraceTransfer, "<TDataTransfer::Disconnect> instance (%d)", m_wInstance);
    if (m_pPort && m_wInstance) {
        const int result = m_pPort->Disconnect(m_wInstance);
        TransferTrace(eTraceTransfer, "     CapiPort::Disconnect (%d)", result);
    }
    m_wInstance = 0;
    m_bOwnCall = false;
    m_bActiveTold = false;
    CallEnded();
    if (ITransferOwner* owner = m_Engine.GetOwner()) {
        TransferTrace(eTraceTransfer,
                      "<TDataTransfer::Disconnect> Owner->Perform CAPIPORT_DISCONNECT");
        owner->OnCapiDisconnect(0, CapiDisconnectInfo{CapiDisconnectKind::Local, 0, 0, {}});
    } else {
        TransferTrace(eTraceTransfer,
                      "<ERROR TDataTransfer::Disconnect> Owner->Perform CAPIPORT_DISCONNECT");
    }
}

void TIsdnLink::CallEnded() {
    m_Engine.OnLinkDown();
    if (ITransferExtension* ext = m_Engine.GetExtension())
        ext->OnIsdnHangup();
}

bool TIsdnLink::SendCAPIData(const std::uint8_t* data, std::uint32_t len) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::SendCAPIData> data (%p) dwLen (%u)",
                  static_cast<const void*>(data), len);
    if (!data || len == 0 || len > m_abySendBuffer.size()) {
        TransferTrace(eTraceTransfer, "     ERROR block of %u bytes refused", len);
        return false;
    }
    std::memcpy(m_abySendBuffer.data(), data, len);
    m_dwSendLen = len;
    int result = CAPIPORT_ERR_INSTANCE;
    if (m_pPort && m_wInstance && m_bOwnCall)
        result = m_pPort->SendData(m_wInstance, m_dwSendLen, m_abySendBuffer.data());
    // -1 (window full), -2 (no data phase) and -3 (no CAPI) all mean the
    // block never went out.
    if (result < 0) {
        TransferTrace(eTraceTransfer,
                      "*****  ERROR: <TDataTransfer::SendDataToPort> CAPI send failed (%d)",
                      result);
        return false;
    }
    return true;
}

bool TIsdnLink::IsConnected() const {
    return m_pPort && m_wInstance && m_bOwnCall && m_pPort->IsDataPhase(m_wInstance);
}

// ---- The port's reports -----------------------------------------------------

void TIsdnLink::OnCapiMessage(const CapiPortMessage& msg) {
    switch (msg.id) {
    case CAPIPORT_CONNECT:
        OnCapiConnectMsg(msg.instance, msg.callInfo);
        break;
    case CAPIPORT_CONNECT_ACTIVE:
        OnCapiConnectActive(msg.instance);
        break;
    case CAPIPORT_DISCONNECT:
        OnCapiDisconnectMsg(msg.instance, msg.disconnect);
        break;
    case CAPIPORT_DATA:
        OnCapiData(msg.instance, msg.data);
        break;
    case CAPIPORT_DATA_SENT:
        TransferTrace(eTraceTransfer, "<TDataTransfer> CAPIPORT_DATA_SENT (%d)", msg.instance);
        break;
    default:
        TransferTrace(eTraceTransfer, "<TDataTransfer> ISDN message (%u) ignored", msg.id);
        break;
    }
}

void TIsdnLink::OnCapiConnectMsg(int instance, const CapiCallInfo& info) {
    const std::string own = m_Engine.GetSettings().GetOwnNumber();
    const std::string_view calling = FieldText(info.szNumber2);
    TransferTrace(eTraceTransfer, "<TDataTransfer::OnCapiConnectMsg> CAPIPORT_CONNECT");
    TransferTrace(eTraceTransfer, "pConnectInfo->GetCallingPartyNumber()(%.*s) ",
                  static_cast<int>(calling.size()), calling.data());
    TransferTrace(eTraceTransfer, "m_RnrServiceCenter(%s)", own.c_str());
    if (!m_pPort || instance <= 0)
        return;
    const bool announce =
        info.bServiceSelector == kDataServiceSelector && calling != own && m_wInstance == 0;
    if (!announce) {
        TransferTrace(eTraceTransfer, "     call (%d) not taken: left ringing", instance);
        return;
    }
    m_wInstance = static_cast<std::uint16_t>(instance);
    m_bOwnCall = false;
    m_bActiveTold = false;
    if (ITransferOwner* owner = m_Engine.GetOwner()) {
        TransferTrace(eTraceTransfer,
                      "<TDataTransfer::OnCapiConnectMsg> Owner->Perform CAPIPORT_CONNECT");
        owner->OnCapiConnect(instance, info);
    } else {
        TransferTrace(eTraceTransfer,
                      "<ERROR TDataTransfer::OnCapiConnectMsg> Owner->Perform CAPIPORT_CONNECT");
    }
}

void TIsdnLink::OnCapiConnectActive(int instance) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::OnCapiConnectActive> (%d)", instance);
    // Only our own call comes up; anything else is a report of a port
    // connection the controller does not hold.
    if (instance <= 0 || instance != m_wInstance || !m_bOwnCall)
        return;
    // The far end cleared B3 and opened it again: still the same call.
    if (m_bActiveTold) {
        TransferTrace(eTraceTransfer, "     data phase again on call (%d)", instance);
        return;
    }
    m_bActiveTold = true;
    if (ITransferOwner* owner = m_Engine.GetOwner())
        owner->OnCapiConnectActive(instance);
    else
        TransferTrace(eTraceTransfer, "<ERROR TDataTransfer::OnCapiConnectActive> Owner->Perform "
                                      "CAPIPORT_CONNECT_ACTIVE");
}

void TIsdnLink::OnCapiDisconnectMsg(int instance, const CapiDisconnectInfo& info) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::OnCapiDisconnectMsg> (%d) own (%d) (%s)",
                  instance, m_wInstance, info.reasonText.c_str());
    // The end of a call we do not hold (already hung up, or one left ringing).
    if (instance != 0 && instance != m_wInstance)
        return;
    m_wInstance = 0;
    m_bOwnCall = false;
    m_bActiveTold = false;
    CallEnded();
    CapiDisconnectInfo out = info;
    // A call refused before it started says why through its Info.
    if (out.kind == CapiDisconnectKind::Refused && out.reasonText.empty()) {
        char text[CAPI_REASON_TEXT_SIZE];
        CapiWriteReasonText(out.wInfo, text);
        out.reasonText = text;
    }
    if (ITransferOwner* owner = m_Engine.GetOwner())
        owner->OnCapiDisconnect(instance, out);
    else
        TransferTrace(eTraceTransfer, "<ERROR TDataTransfer::OnCapiDisconnectMsg> Owner->Perform "
                                      "CAPIPORT_DISCONNECT");
}

void TIsdnLink::OnCapiData(int instance, const std::vector<std::uint8_t>& data) {
    if (instance != m_wInstance || !m_bOwnCall) {
        TransferTrace(eTraceTransfer, "<TDataTransfer::OnCapiData> data of call (%d) dropped",
                      instance);
        return;
    }
    // The message handler decides about the transfer timer: a programming
    // message must not stop the time-out of a running request.
    m_Engine.OnReceivedData(data.data(), data.size());
}
