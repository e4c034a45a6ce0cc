#include "CapiState.h"

#include "CapiConnection.h"
#include "CapiDefs.h"
#include "CapiMessage.h"
#include "TransferTrace.h"
#include "WindowMessages.h"

namespace {

using P = CapiParam;

// Reject values of CONNECT_RESP.
constexpr std::uint16_t kRejectAccept = 0;
constexpr std::uint16_t kRejectNormalClearing = 2;

// Function byte of the manufacturer request.
constexpr std::uint8_t kManufacturerFunction = 132;

std::uint16_t InfoOf(const CapiMessage& msg) {
    return static_cast<std::uint16_t>(msg.Get(P::Info));
}

} // namespace

// ---- Dispatchers ------------------------------------------------------------

std::uint16_t CapiState::OnAppEvent(CapiConnection& c, const CapiAppEvent& ev) const {
    switch (ev.id) {
    case CAPIPORT_CONNECT:
        return OnAppConnect(c, ev);
    case CAPIPORT_LISTEN:
        return OnAppListen(c, ev);
    case CAPIPORT_DISCONNECT:
        return OnAppDisconnect(c, ev);
    case CAPIPORT_DATA:
        return OnAppData(c, ev);
    case CAPIPORT_MANUFACTURER_REQ:
        return OnAppManufacturer(c, ev);
    default:
        return kStay;
    }
}

std::uint16_t CapiState::OnCapiMessage(CapiConnection& c, const CapiMessage& msg) const {
    const std::uint8_t sub = msg.GetSubCommand();
    if (sub != eCapiConf && sub != eCapiInd)
        return kStay;
    const bool conf = sub == eCapiConf;
    switch (msg.GetCommand()) {
    case eCapiAlert:
        return conf ? OnAlertConf(c, msg) : kStay;
    case eCapiConnect:
        return conf ? OnConnectConf(c, msg) : OnConnectInd(c, msg);
    case eCapiConnectActive:
        return conf ? kStay : OnConnectActiveInd(c, msg);
    case eCapiSelectBProtocol:
        return conf ? OnSelectBProtocolConf(c, msg) : kStay;
    case eCapiDisconnect:
        return conf ? OnDisconnectConf(c, msg) : OnDisconnectInd(c, msg);
    case eCapiFacility:
        return conf ? OnFacilityConf(c, msg) : OnFacilityInd(c, msg);
    case eCapiInfo:
        return conf ? OnInfoConf(c, msg) : OnInfoInd(c, msg);
    case eCapiListen:
        return conf ? OnListenConf(c, msg) : kStay;
    case eCapiConnectB3:
        return conf ? OnConnectB3Conf(c, msg) : OnConnectB3Ind(c, msg);
    case eCapiConnectB3Active:
        return conf ? kStay : OnConnectB3ActiveInd(c, msg);
    case eCapiConnectB3T90Active:
        return conf ? kStay : OnConnectB3T90ActiveInd(c, msg);
    case eCapiDataB3:
        return conf ? OnDataB3Conf(c, msg) : OnDataB3Ind(c, msg);
    case eCapiResetB3:
        return conf ? OnResetB3Conf(c, msg) : OnResetB3Ind(c, msg);
    case eCapiDisconnectB3:
        return conf ? OnDisconnectB3Conf(c, msg) : OnDisconnectB3Ind(c, msg);
    case eCapiManufacturer:
        return conf ? OnManufacturerConf(c, msg) : OnManufacturerInd(c, msg);
    default:
        return kStay;
    }
}

std::uint16_t CapiState::OnTimerEvent(CapiConnection& c, std::uint32_t timerId) const {
    return OnTimer(c, timerId);
}

// ---- Shared steps -----------------------------------------------------------

std::uint16_t CapiState::UnexpectedApp(CapiConnection& c, const CapiAppEvent& ev) const {
    TransferTrace(eTraceCapi, "UNEXPCTD INT! (%04X:%04X)", static_cast<unsigned>(ev.id),
                  static_cast<unsigned>(m_wNumber));
    c.m_nPendingSendLen = CAPIPORT_ERR_INSTANCE;
    return kStay;
}

std::uint16_t CapiState::UnexpectedCapi(const CapiMessage& msg) const {
    TransferTrace(eTraceCapi, "UNEXPCTD EXT! (%02X:%02X)", msg.GetCommand(), msg.GetSubCommand());
    return kStay;
}

std::uint16_t CapiState::AnswerFacility(CapiConnection& c, const CapiMessage& msg) const {
    c.SendFacilityResp(msg);
    return kStay;
}

// ---- Defaults ---------------------------------------------------------------

std::uint16_t CapiState::OnAppConnect(CapiConnection& c, const CapiAppEvent& ev) const {
    return UnexpectedApp(c, ev);
}

std::uint16_t CapiState::OnAppDisconnect(CapiConnection& c, const CapiAppEvent&) const {
    // Without a PLCI there is no call to clear: a DISCONNECT_REQ would be
    // refused and the connection would wait in state 7 for an indication
    // that never comes.
    if (c.m_dwPLCI == 0)
        return eCapiStateIdle;
    c.SendDisconnectReq();
    return eCapiStateDisconnecting;
}

std::uint16_t CapiState::OnAppListen(CapiConnection& c, const CapiAppEvent& ev) const {
    if (ev.pCallInfo && c.StartListen(*ev.pCallInfo))
        return eCapiStateListenSent;
    return eCapiStateIdle;
}

std::uint16_t CapiState::OnAppData(CapiConnection& c, const CapiAppEvent& ev) const {
    return UnexpectedApp(c, ev);
}

std::uint16_t CapiState::OnAppManufacturer(CapiConnection& c, const CapiAppEvent& ev) const {
    c.SendManufacturerReq(ev.pData, ev.dwLen, kManufacturerFunction);
    return kStay;
}

std::uint16_t CapiState::OnAlertConf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnConnectInd(CapiConnection& c, const CapiMessage& msg) const {
    c.TakeIncomingCall(msg);
    return eCapiStateAlerted;
}

std::uint16_t CapiState::OnConnectConf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnConnectActiveInd(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnSelectBProtocolConf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnDisconnectInd(CapiConnection& c, const CapiMessage& msg) const {
    c.EndByDisconnectInd(msg);
    return eCapiStateIdle;
}

std::uint16_t CapiState::OnDisconnectConf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnFacilityInd(CapiConnection& c, const CapiMessage& msg) const {
    return AnswerFacility(c, msg);
}

std::uint16_t CapiState::OnFacilityConf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnInfoInd(CapiConnection& c, const CapiMessage& msg) const {
    c.SendInfoResp(msg);
    return kStay;
}

std::uint16_t CapiState::OnInfoConf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnListenConf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnConnectB3Ind(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnConnectB3Conf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnConnectB3ActiveInd(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnConnectB3T90ActiveInd(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnDataB3Ind(CapiConnection& c, const CapiMessage& msg) const {
    // Answered even here, so CAPI can reuse its buffer.
    c.SendDataB3Resp(msg);
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnDataB3Conf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnResetB3Ind(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnResetB3Conf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnDisconnectB3Ind(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnDisconnectB3Conf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnManufacturerInd(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnManufacturerConf(CapiConnection&, const CapiMessage& msg) const {
    return UnexpectedCapi(msg);
}

std::uint16_t CapiState::OnTimer(CapiConnection&, std::uint32_t timerId) const {
    TransferTrace(eTraceCapi, "UNEXPCTD TIM! (%02X:%02X)", static_cast<unsigned>(timerId),
                  static_cast<unsigned>(m_wNumber));
    return kStay;
}

// ---- The states -------------------------------------------------------------

namespace {

class CapiStateIdle final : public CapiState {
public:
    CapiStateIdle() : CapiState(eCapiStateIdle) {}

protected:
    std::uint16_t OnAppConnect(CapiConnection& c, const CapiAppEvent& ev) const override {
        if (ev.pCallInfo && c.StartOutgoingCall(*ev.pCallInfo))
            return eCapiStateWaitConnectConf;
        return eCapiStateIdle;
    }
    std::uint16_t OnFacilityInd(CapiConnection& c, const CapiMessage& msg) const override {
        c.SendFacilityResp(msg);
        return eCapiStateOutgoing;
    }
};

class CapiStateListenSent final : public CapiState {
public:
    CapiStateListenSent() : CapiState(eCapiStateListenSent) {}

protected:
    std::uint16_t OnListenConf(CapiConnection& c, const CapiMessage& msg) const override {
        c.m_wInfo = InfoOf(msg);
        if (c.m_wInfo != 0)
            TransferTrace(eTraceCapi, "<CapiStateListenSent> LISTEN_CONF info(0x%04X)", c.m_wInfo);
        return eCapiStateIdle;
    }
};

class CapiStateWaitConnectConf final : public CapiState {
public:
    CapiStateWaitConnectConf() : CapiState(eCapiStateWaitConnectConf) {}

protected:
    std::uint16_t OnAppDisconnect(CapiConnection& c, const CapiAppEvent&) const override {
        // No PLCI yet to clear: remember the hang-up for the confirmation,
        // so the call the network is setting up does not stay up unseen.
        c.m_bHangupPending = true;
        return kStay;
    }
    std::uint16_t OnConnectConf(CapiConnection& c, const CapiMessage& msg) const override {
        c.m_wInfo = InfoOf(msg);
        if (c.m_wInfo != 0) {
            c.PostRefused(c.m_wInfo);
            return eCapiStateIdle;
        }
        c.m_dwPLCI = static_cast<std::uint32_t>(msg.Get(P::PLCI));
        if (c.m_bHangupPending) {
            c.m_bHangupPending = false;
            c.SendDisconnectReq();
            return eCapiStateDisconnecting;
        }
        return eCapiStateOutgoing;
    }
};

class CapiStateOutgoing final : public CapiState {
public:
    CapiStateOutgoing() : CapiState(eCapiStateOutgoing) {}

protected:
    std::uint16_t OnAlertConf(CapiConnection&, const CapiMessage&) const override { return kStay; }
    std::uint16_t OnConnectActiveInd(CapiConnection& c, const CapiMessage& msg) const override {
        c.SendConnectActiveResp(msg);
        c.m_bConnected = true;
        if (c.m_bOutgoing) {
            c.SendConnectB3Req();
            return eCapiStateWaitConnectB3Conf;
        }
        return eCapiStateDChannelUp;
    }
};

class CapiStateAlerted final : public CapiState {
public:
    CapiStateAlerted() : CapiState(eCapiStateAlerted) {}

protected:
    std::uint16_t OnAppConnect(CapiConnection& c, const CapiAppEvent&) const override {
        c.SendConnectResp(kRejectAccept);
        return eCapiStateAccepted;
    }
    std::uint16_t OnAppDisconnect(CapiConnection& c, const CapiAppEvent&) const override {
        c.SendConnectResp(kRejectNormalClearing);
        return eCapiStateDisconnecting;
    }
    std::uint16_t OnAlertConf(CapiConnection&, const CapiMessage&) const override { return kStay; }
};

class CapiStateAccepted final : public CapiState {
public:
    CapiStateAccepted() : CapiState(eCapiStateAccepted) {}

protected:
    std::uint16_t OnConnectActiveInd(CapiConnection& c, const CapiMessage& msg) const override {
        c.SendConnectActiveResp(msg);
        c.m_bConnected = true;
        return eCapiStateDChannelUp;
    }
    std::uint16_t OnAlertConf(CapiConnection&, const CapiMessage&) const override { return kStay; }
};

class CapiStateDChannelUp final : public CapiState {
public:
    CapiStateDChannelUp() : CapiState(eCapiStateDChannelUp) {}

protected:
    std::uint16_t OnConnectB3Ind(CapiConnection& c, const CapiMessage& msg) const override {
        c.m_dwNCCI = static_cast<std::uint32_t>(msg.Get(P::NCCI));
        c.SendConnectB3Resp(msg, kRejectAccept);
        return eCapiStateWaitB3Active;
    }
    std::uint16_t OnDisconnectConf(CapiConnection&, const CapiMessage&) const override {
        return eCapiStateDisconnecting;
    }
};

class CapiStateDisconnecting final : public CapiState {
public:
    CapiStateDisconnecting() : CapiState(eCapiStateDisconnecting) {}

protected:
    std::uint16_t OnDisconnectConf(CapiConnection& c, const CapiMessage& msg) const override {
        c.m_wInfo = InfoOf(msg);
        if (c.m_wInfo == 0)
            return kStay;
        // CAPI refused to clear (the PLCI is already gone): no indication
        // will follow, so the connection ends here.
        c.PostRefused(c.m_wInfo);
        return eCapiStateIdle;
    }
    std::uint16_t OnDisconnectB3Ind(CapiConnection& c, const CapiMessage& msg) const override {
        c.EndB3(msg);
        return kStay;
    }
};

class CapiStateWaitConnectB3Conf final : public CapiState {
public:
    CapiStateWaitConnectB3Conf() : CapiState(eCapiStateWaitConnectB3Conf) {}

protected:
    std::uint16_t OnConnectB3Conf(CapiConnection& c, const CapiMessage& msg) const override {
        c.m_wInfo = InfoOf(msg);
        if (c.m_wInfo == 0) {
            c.m_dwNCCI = static_cast<std::uint32_t>(msg.Get(P::NCCI));
            return eCapiStateWaitB3Active;
        }
        // Our B3 request failed, yet the call is up: the far end may still
        // open B3 itself, and its CONNECT_B3_IND brings the data phase.
        TransferTrace(eTraceCapi, "<CapiStateWaitConnectB3Conf> CONNECT_B3_CONF info(0x%04X)",
                      c.m_wInfo);
        return eCapiStateDChannelUp;
    }
};

class CapiStateWaitB3Active final : public CapiState {
public:
    CapiStateWaitB3Active() : CapiState(eCapiStateWaitB3Active) {}

protected:
    std::uint16_t OnConnectB3ActiveInd(CapiConnection& c, const CapiMessage& msg) const override {
        c.SendConnectB3ActiveResp(msg);
        c.PostEvent(CAPIPORT_CONNECT_ACTIVE);
        return eCapiStateDataPhase;
    }
    std::uint16_t OnDisconnectB3Ind(CapiConnection& c, const CapiMessage& msg) const override {
        c.EndB3(msg);
        return eCapiStateDChannelUp;
    }
};

class CapiStateDataPhase final : public CapiState {
public:
    CapiStateDataPhase() : CapiState(eCapiStateDataPhase) {}

protected:
    std::uint16_t OnAppData(CapiConnection& c, const CapiAppEvent& ev) const override {
        c.SendData(ev.pData, ev.dwLen);
        return kStay;
    }
    std::uint16_t OnAppDisconnect(CapiConnection& c, const CapiAppEvent&) const override {
        c.SendDisconnectB3Req();
        c.SendDisconnectReq();
        return eCapiStateDisconnectingB3;
    }
    std::uint16_t OnDataB3Ind(CapiConnection& c, const CapiMessage& msg) const override {
        c.DeliverData(msg);
        return kStay;
    }
    std::uint16_t OnDataB3Conf(CapiConnection& c, const CapiMessage& msg) const override {
        c.ConfirmData(msg);
        return kStay;
    }
    std::uint16_t OnResetB3Ind(CapiConnection& c, const CapiMessage& msg) const override {
        c.SendResetB3Resp(msg);
        return eCapiStateReset;
    }
    std::uint16_t OnDisconnectB3Ind(CapiConnection& c, const CapiMessage& msg) const override {
        c.EndB3(msg);
        return eCapiStateDChannelUp;
    }
    std::uint16_t OnConnectB3T90ActiveInd(CapiConnection& c,
                                          const CapiMessage& msg) const override {
        c.SendConnectB3T90ActiveResp(msg);
        return kStay;
    }
};

class CapiStateReset final : public CapiState {
public:
    CapiStateReset() : CapiState(eCapiStateReset) {}

protected:
    std::uint16_t OnResetB3Ind(CapiConnection& c, const CapiMessage& msg) const override {
        c.SendResetB3Resp(msg);
        return eCapiStateDataPhase;
    }
    std::uint16_t OnResetB3Conf(CapiConnection&, const CapiMessage&) const override {
        return kStay;
    }
    std::uint16_t OnDisconnectB3Ind(CapiConnection& c, const CapiMessage& msg) const override {
        c.EndB3(msg);
        return eCapiStateDChannelUp;
    }
};

class CapiStateDisconnectingB3 final : public CapiState {
public:
    CapiStateDisconnectingB3() : CapiState(eCapiStateDisconnectingB3) {}

protected:
    std::uint16_t OnDisconnectB3Ind(CapiConnection& c, const CapiMessage& msg) const override {
        c.EndB3(msg);
        return eCapiStateDChannelUp;
    }
    std::uint16_t OnDisconnectB3Conf(CapiConnection&, const CapiMessage&) const override {
        return kStay;
    }
};

} // namespace

const CapiState& CapiState::Get(std::uint16_t number) {
    // The states hold no data, so one shared set serves every connection of
    // every port, from the first use to the end of the program.
    static const CapiStateIdle s0;
    static const CapiStateListenSent s1;
    static const CapiStateWaitConnectConf s2;
    static const CapiStateOutgoing s3;
    static const CapiStateAlerted s4;
    static const CapiStateAccepted s5;
    static const CapiStateDChannelUp s6;
    static const CapiStateDisconnecting s7;
    static const CapiStateWaitConnectB3Conf s8;
    static const CapiStateWaitB3Active s9;
    static const CapiStateDataPhase s10;
    static const CapiStateReset s11;
    static const CapiStateDisconnectingB3 s12;
    static const CapiState* const kStates[eCapiStateCount] = {&s0, &s1, &s2, &s3,  &s4,  &s5, &s6,
                                                              &s7, &s8, &s9, &s10, &s11, &s12};
    return number < eCapiStateCount ? *kStates[number] : s0;
}
