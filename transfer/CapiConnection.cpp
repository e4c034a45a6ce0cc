#include "CapiConnection.h"

#include "TransferTrace.h"

#include <algorithm>
#include <cstring>

namespace {

using P = CapiParam;

// Copies the digits of a number structure (after its type byte and, for a
// calling number whose type byte has bit 8 clear, the presentation byte),
// at most 16 of them. Returns the type byte (0 for an empty structure).
std::uint8_t CopyNumber(std::span<const std::uint8_t> s, bool calling, char (&dest)[17]) {
    std::memset(dest, 0, sizeof(dest));
    if (s.empty())
        return 0;
    const std::uint8_t type = s[0];
    std::size_t pos = 1;
    if (calling && !(type & 0x80) && pos < s.size())
        ++pos;
    const std::size_t n = std::min<std::size_t>(s.size() - pos, CAPI_MAX_NUMBER_LEN);
    if (s.size() - pos > CAPI_MAX_NUMBER_LEN)
        TransferTrace(eTraceCapi, "<CapiConnection> number of %u digits cut to %u",
                      static_cast<unsigned>(s.size() - pos), static_cast<unsigned>(n));
    std::memcpy(dest, s.data() + pos, n);
    return type;
}

} // namespace

CapiConnection::CapiConnection(CapiConnectionHost& host)
    : m_Host(host), m_pState(&CapiState::Get(eCapiStateIdle)) {}

void CapiConnection::Reset(std::uint16_t instance) {
    m_nInstance = instance;
    m_nWindow = 1;
    m_dwController = 1;
    m_dwPLCI = 0;
    m_dwNCCI = 0;
    m_wCIP = 0;
    m_bServiceSelector = 0;
    m_Service = {};
    std::memset(m_szCalledNumber, 0, sizeof(m_szCalledNumber));
    std::memset(m_szCallingNumber, 0, sizeof(m_szCallingNumber));
    m_bCallingType = 0x80;
    m_bRestricted = false;
    m_dwInfoMask = 0x41;
    m_dwCIPMask = 0;
    m_dwCIPMask2 = 0;
    m_wDataHandle = 0;
    m_bOutgoing = false;
    m_bConnected = false;
    m_wInfo = 0;
    m_wReason = 0;
    std::memset(m_szReason, 0, sizeof(m_szReason));
    m_wIndMsgNr = 0;
    m_LastRequest.Copy(CapiMessage());
    m_nPendingSendLen = -1;
    m_bHangupSent = false;
    m_bHangupPending = false;
    m_bWindowFull = false;
    m_Unconfirmed.clear();
    m_pState = &CapiState::Get(eCapiStateIdle);
    m_wState = eCapiStateIdle;
}

void CapiConnection::SetState(std::uint16_t number) {
    m_pState = &CapiState::Get(number);
    m_wState = m_pState->GetNumber();
}

void CapiConnection::SwitchTo(std::uint16_t next, const char* kind) {
    if (next == CapiState::kStay)
        return;
    const std::uint16_t old = m_wState;
    m_pState = &CapiState::Get(next);
    m_wState = m_pState->GetNumber();
    TransferTrace(eTraceCapi, "%s (%d)(%d->%d)", kind, m_nInstance, old, m_wState);
}

void CapiConnection::HandleAppEvent(const CapiAppEvent& ev) {
    SwitchTo(m_pState->OnAppEvent(*this, ev), "STCHINT");
}

void CapiConnection::HandleCapiMessage(const CapiMessage& msg) {
    SwitchTo(m_pState->OnCapiMessage(*this, msg), "STCHEXT");
}

void CapiConnection::HandleTimer(std::uint32_t timerId) {
    SwitchTo(m_pState->OnTimerEvent(*this, timerId), "STCHTIM");
}

unsigned CapiConnection::Put(CapiMessage& msg) {
    const unsigned info = m_Host.PutMessage(msg);
    if (info != 0)
        TransferTrace(eTraceCapi, "<CapiConnection> %s_%s not taken: 0x%04X",
                      CapiMessage::CommandName(msg.GetCommand()),
                      CapiMessage::SubCommandName(msg.GetSubCommand()), info);
    return info;
}

void CapiConnection::Post(CapiPortMessage msg) {
    msg.instance = m_nInstance;
    m_Host.PostMsg(std::move(msg));
}

void CapiConnection::PostEvent(std::uint32_t id) {
    CapiPortMessage post;
    post.id = id;
    Post(std::move(post));
}

void CapiConnection::InitResponse(CapiMessage& msg, const CapiMessage& ind) {
    msg.Init(ind.GetCommand(), eCapiResp);
    msg.SetMsgNr(ind.GetMsgNr());
    msg.SetAddress(ind.GetAddress());
}

bool CapiConnection::StartOutgoingCall(const CapiCallInfo& info) {
    const CapiCallInfoCheck check = CapiCheckCallInfo(info, eCapiModeCall);
    if (check != CapiCallInfoCheck::Ok) {
        TransferTrace(eTraceCapi, "<CapiConnection::StartOutgoingCall> record refused: %s",
                      CapiCallInfoCheckName(check));
        return false;
    }
    m_bServiceSelector = info.bServiceSelector;
    CapiServiceFromSelector(m_bServiceSelector, m_Service);
    m_wCIP = m_Service.wCIP;
    std::memcpy(m_szCalledNumber, info.szNumber1, sizeof(m_szCalledNumber));
    std::memcpy(m_szCallingNumber, info.szNumber2, sizeof(m_szCallingNumber));
    m_bCallingType = info.abNumberType[0];
    m_bRestricted = info.IsPresentationRestricted();
    m_bOutgoing = true;

    CapiMessage msg;
    msg.Init(eCapiConnect, eCapiReq);
    msg.Set(P::Controller, m_dwController);
    msg.Set(P::CIP, m_wCIP);
    const bool built = msg.AppendCalledPartyNumber(m_szCalledNumber) &&
                       msg.AppendCallingPartyNumber(m_szCallingNumber, m_bRestricted,
                                                    m_bCallingType) &&
                       msg.AppendEmptyStruct() && // called party subaddress
                       msg.AppendEmptyStruct() && // calling party subaddress
                       msg.AppendBProtocol(m_Service.wB1, m_Service.wB2, m_Service.wB3) &&
                       msg.AppendEmptyStruct() && // BC
                       msg.AppendEmptyStruct() && // LLC
                       msg.AppendEmptyStruct() && // HLC
                       msg.AppendEmptyStruct();   // additional info
    if (!built || Put(msg) != 0)
        return false;
    m_LastRequest.Copy(msg);
    return true;
}

bool CapiConnection::StartListen(const CapiCallInfo& info) {
    const CapiCallInfoCheck check = CapiCheckCallInfo(info, eCapiModeListen);
    if (check != CapiCallInfoCheck::Ok) {
        TransferTrace(eTraceCapi, "<CapiConnection::StartListen> record refused: %s",
                      CapiCallInfoCheckName(check));
        return false;
    }
    CapiCipMaskFromListenSelector(info.bListenSelector, m_dwCIPMask);
    std::memcpy(m_szCalledNumber, info.szNumber2, sizeof(m_szCalledNumber));

    CapiMessage msg;
    msg.Init(eCapiListen, eCapiReq);
    msg.Set(P::Controller, m_dwController);
    msg.Set(P::InfoMask, m_dwInfoMask);
    msg.Set(P::CIPMask, m_dwCIPMask);
    msg.Set(P::CIPMask2, m_dwCIPMask2);
    msg.AppendEmptyStruct(); // calling party number
    msg.AppendEmptyStruct(); // calling party subaddress
    return Put(msg) == 0;
}

void CapiConnection::TakeIncomingCall(const CapiMessage& ind) {
    m_dwPLCI = static_cast<std::uint32_t>(ind.Get(P::PLCI));
    m_wCIP = static_cast<std::uint16_t>(ind.Get(P::CIP));
    m_wIndMsgNr = ind.GetMsgNr();
    m_bOutgoing = false;
    CopyNumber(ind.GetStruct(P::CalledPartyNumber), false, m_szCalledNumber);
    m_bCallingType = CopyNumber(ind.GetStruct(P::CallingPartyNumber), true, m_szCallingNumber);
    m_bServiceSelector = CapiSelectorFromCip(m_wCIP);
    CapiServiceFromSelector(m_bServiceSelector, m_Service);

    CapiMessage alert;
    alert.Init(eCapiAlert, eCapiReq);
    alert.Set(P::PLCI, m_dwPLCI);
    alert.AppendEmptyStruct(); // additional info
    Put(alert);

    CapiPortMessage post;
    post.id = CAPIPORT_CONNECT;
    post.callInfo.bMode = eCapiModeCall;
    post.callInfo.bServiceSelector = m_bServiceSelector;
    std::memcpy(post.callInfo.szNumber1, m_szCalledNumber, sizeof(m_szCalledNumber));
    std::memcpy(post.callInfo.szNumber2, m_szCallingNumber, sizeof(m_szCallingNumber));
    post.callInfo.bCallingType = m_bCallingType;
    Post(std::move(post));
}

void CapiConnection::EndByDisconnectInd(const CapiMessage& ind) {
    m_wReason = static_cast<std::uint16_t>(ind.Get(P::Reason));
    CapiWriteReasonText(m_wReason, m_szReason);

    CapiMessage resp;
    InitResponse(resp, ind);
    Put(resp);

    CapiPortMessage post;
    post.id = CAPIPORT_DISCONNECT;
    post.disconnect.kind = m_bHangupSent ? CapiDisconnectKind::Local : CapiDisconnectKind::Remote;
    post.disconnect.wReason = m_wReason;
    post.disconnect.reasonText = m_szReason;
    Post(std::move(post));
}

void CapiConnection::PostRefused(std::uint16_t info) {
    CapiPortMessage post;
    post.id = CAPIPORT_DISCONNECT;
    post.disconnect.kind = CapiDisconnectKind::Refused;
    post.disconnect.wInfo = info;
    Post(std::move(post));
}

void CapiConnection::DeliverData(const CapiMessage& ind) {
    // The data lives in CAPI's buffer only until DATA_B3_RESP: copy first.
    const std::uint8_t* data = ind.GetDataPointer();
    const std::size_t len = static_cast<std::size_t>(ind.Get(P::DataLength));
    std::vector<std::uint8_t> copy;
    const bool usable = data && len > 0 && len <= CAPI_MAX_B3_BLOCK_LEN;
    if (usable)
        copy.assign(data, data + len);
    SendDataB3Resp(ind);
    if (!usable) {
        TransferTrace(eTraceCapi, "<CapiConnection::DeliverData> DATA_B3_IND unusable, len(%u)",
                      static_cast<unsigned>(len));
        return;
    }
    CapiPortMessage post;
    post.id = CAPIPORT_DATA;
    post.data = std::move(copy);
    Post(std::move(post));
}

void CapiConnection::SendData(const std::uint8_t* data, std::uint32_t len) {
    if (!data || len == 0 || len > CAPI_MAX_B3_BLOCK_LEN) {
        m_nPendingSendLen = CAPIPORT_ERR_INSTANCE;
        return;
    }
    if (m_nWindow >= CAPI_MAX_B3_BLOCKS) {
        m_bWindowFull = true;
        m_nPendingSendLen = CAPIPORT_ERR_NO_SLOT;
        return;
    }
    const std::uint16_t handle = m_wDataHandle++;
    m_Unconfirmed.emplace_back(handle, std::vector<std::uint8_t>(data, data + len));
    CapiMessage msg;
    msg.Init(eCapiDataB3, eCapiReq);
    msg.Set(P::NCCI, m_dwNCCI);
    msg.SetDataPointer(m_Unconfirmed.back().second.data());
    msg.Set(P::DataLength, len);
    msg.Set(P::DataHandle, handle);
    msg.Set(P::Flags, 0);
    if (Put(msg) != 0) {
        // Nothing will confirm it, so it takes no place in the window.
        m_Unconfirmed.pop_back();
        m_nPendingSendLen = CAPIPORT_ERR_INSTANCE;
        return;
    }
    ++m_nWindow;
    m_nPendingSendLen = static_cast<std::int32_t>(len);
}

void CapiConnection::ConfirmData(const CapiMessage& conf) {
    const auto handle = static_cast<std::uint16_t>(conf.Get(P::DataHandle));
    const auto info = static_cast<std::uint16_t>(conf.Get(P::Info));
    if (info != 0)
        TransferTrace(eTraceCapi, "<CapiConnection::ConfirmData> handle(%u) info(0x%04X)", handle,
                      info);
    const auto it = std::find_if(m_Unconfirmed.begin(), m_Unconfirmed.end(),
                                 [handle](const auto& e) { return e.first == handle; });
    if (it == m_Unconfirmed.end()) {
        // A confirmation for nothing we sent must not open the window wider.
        TransferTrace(eTraceCapi, "<CapiConnection::ConfirmData> unknown handle(%u)", handle);
        return;
    }
    m_Unconfirmed.erase(it);
    const bool wasFull = m_bWindowFull || m_nWindow >= CAPI_MAX_B3_BLOCKS;
    if (m_nWindow > 1)
        --m_nWindow;
    if (wasFull) {
        m_bWindowFull = false;
        PostEvent(CAPIPORT_DATA_SENT);
    }
}

void CapiConnection::SendManufacturerReq(const std::uint8_t* data, std::uint32_t len,
                                         std::uint8_t function) {
    // Manufacturer id "EKB.", class 1, then a length byte, the function and
    // the data.
    static const std::uint8_t kManuId[4] = {'E', 'K', 'B', '.'};
    if ((len && !data) || len > 253) {
        m_nPendingSendLen = CAPIPORT_ERR_INSTANCE;
        return;
    }
    CapiMessage msg;
    msg.Init(eCapiManufacturer, eCapiReq);
    msg.Set(P::Controller, m_dwController);
    msg.Set(P::ManuID, static_cast<std::uint32_t>(kManuId[0]) | (kManuId[1] << 8) |
                           (kManuId[2] << 16) | (static_cast<std::uint32_t>(kManuId[3]) << 24));
    msg.AppendDword(1);
    msg.AppendByte(static_cast<std::uint8_t>(len + 1));
    msg.AppendByte(function);
    msg.AppendBytes(data, len);
    Put(msg);
    m_nPendingSendLen = static_cast<std::int32_t>(len);
}

void CapiConnection::SendConnectResp(std::uint16_t reject) {
    CapiMessage msg;
    msg.Init(eCapiConnect, eCapiResp);
    msg.SetMsgNr(m_wIndMsgNr);
    msg.Set(P::PLCI, m_dwPLCI);
    msg.Set(P::Reject, reject);
    if (reject == 0)
        msg.AppendBProtocol(m_Service.wB1, m_Service.wB2, m_Service.wB3);
    else
        msg.AppendEmptyStruct();
    msg.AppendEmptyStruct(); // connected number
    msg.AppendEmptyStruct(); // connected subaddress
    msg.AppendEmptyStruct(); // LLC
    msg.AppendEmptyStruct(); // additional info
    if (reject != 0)
        m_bHangupSent = true;
    Put(msg);
}

void CapiConnection::SendConnectActiveResp(const CapiMessage& ind) {
    CapiMessage msg;
    InitResponse(msg, ind);
    Put(msg);
}

void CapiConnection::SendConnectB3Req() {
    CapiMessage msg;
    msg.Init(eCapiConnectB3, eCapiReq);
    msg.Set(P::PLCI, m_dwPLCI);
    msg.AppendEmptyStruct(); // NCPI
    Put(msg);
}

void CapiConnection::SendConnectB3Resp(const CapiMessage& ind, std::uint16_t reject) {
    CapiMessage msg;
    InitResponse(msg, ind);
    msg.Set(P::Reject, reject);
    msg.AppendEmptyStruct(); // NCPI
    Put(msg);
}

void CapiConnection::SendConnectB3ActiveResp(const CapiMessage& ind) {
    CapiMessage msg;
    InitResponse(msg, ind);
    Put(msg);
}

void CapiConnection::SendConnectB3T90ActiveResp(const CapiMessage& ind) {
    CapiMessage msg;
    InitResponse(msg, ind);
    Put(msg);
}

void CapiConnection::SendDataB3Resp(const CapiMessage& ind) {
    CapiMessage msg;
    InitResponse(msg, ind);
    msg.Set(P::DataHandle, ind.Get(P::DataHandle));
    Put(msg);
}

void CapiConnection::SendDisconnectReq() {
    CapiMessage msg;
    msg.Init(eCapiDisconnect, eCapiReq);
    msg.Set(P::PLCI, m_dwPLCI);
    msg.AppendEmptyStruct(); // additional info
    m_bHangupSent = true;
    Put(msg);
}

void CapiConnection::SendDisconnectB3Req() {
    CapiMessage msg;
    msg.Init(eCapiDisconnectB3, eCapiReq);
    msg.Set(P::NCCI, m_dwNCCI);
    msg.AppendEmptyStruct(); // NCPI
    m_bHangupSent = true;
    Put(msg);
}

void CapiConnection::EndB3(const CapiMessage& ind) {
    CapiMessage resp;
    InitResponse(resp, ind);
    Put(resp);
    // Nothing will confirm the blocks of a B3 connection that is gone; kept,
    // they would hold the window full for good.
    if (!m_Unconfirmed.empty())
        TransferTrace(eTraceCapi, "<CapiConnection::EndB3> %u block(s) unconfirmed dropped",
                      static_cast<unsigned>(m_Unconfirmed.size()));
    m_Unconfirmed.clear();
    m_nWindow = 1;
    m_bWindowFull = false;
    m_dwNCCI = 0;
}

void CapiConnection::SendResetB3Resp(const CapiMessage& ind) {
    CapiMessage msg;
    InitResponse(msg, ind);
    Put(msg);
}

void CapiConnection::SendInfoResp(const CapiMessage& ind) {
    CapiMessage msg;
    InitResponse(msg, ind);
    Put(msg);
}

void CapiConnection::SendFacilityResp(const CapiMessage& ind) {
    CapiMessage msg;
    InitResponse(msg, ind);
    msg.Set(P::FacilitySelector, ind.Get(P::FacilitySelector));
    msg.AppendEmptyStruct(); // facility response parameters
    Put(msg);
}
