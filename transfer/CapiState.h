#pragma once
// The states of an ISDN connection. Each of the 13 states is one shared,
// stateless object with one handler per event; a handler sends CAPI
// messages and posts to the owner through its connection and returns the
// next state, or kStay. The base class holds the behaviour every state
// shares; each state overrides only what it handles differently.
//
// Three kinds of event come in: application requests (connect, listen,
// disconnect, data, manufacturer request), CAPI messages routed to the
// connection and timer events. The machine starts no timer: no state is
// left by time, a call the network never answers waits for a disconnect.

#include <cstdint>

struct CapiCallInfo;
class CapiConnection;
class CapiMessage;

enum eCapiState : std::uint16_t {
    eCapiStateIdle = 0,            // new connection
    eCapiStateListenSent = 1,      // LISTEN_REQ out, waiting for LISTEN_CONF
    eCapiStateWaitConnectConf = 2, // CONNECT_REQ out
    eCapiStateOutgoing = 3,        // outgoing, waiting for CONNECT_ACTIVE_IND
    eCapiStateAlerted = 4,         // incoming call, alerted
    eCapiStateAccepted = 5,        // incoming call accepted, waiting for CONNECT_ACTIVE_IND
    eCapiStateDChannelUp = 6,      // waiting for CONNECT_B3_IND
    eCapiStateDisconnecting = 7,
    eCapiStateWaitConnectB3Conf = 8,
    eCapiStateWaitB3Active = 9,
    eCapiStateDataPhase = 10,
    eCapiStateReset = 11,
    eCapiStateDisconnectingB3 = 12,
    eCapiStateCount = 13,
};

// An application request as the port hands it to a connection.
struct CapiAppEvent {
    std::uint32_t id =
        0; // CAPIPORT_CONNECT, _LISTEN, _DISCONNECT, _DATA, CAPIPORT_MANUFACTURER_REQ
    const CapiCallInfo* pCallInfo = nullptr; // connect, listen
    const std::uint8_t* pData = nullptr;     // data, manufacturer request
    std::uint32_t dwLen = 0;
};

class CapiState {
public:
    static constexpr std::uint16_t kStay = 0xFFFF;

    virtual ~CapiState() = default;

    // The shared object of a state number (a number out of range gives the
    // idle state).
    static const CapiState& Get(std::uint16_t number);

    std::uint16_t GetNumber() const { return m_wNumber; }

    // Dispatchers: route an event to its handler; kStay for an event without
    // a handler.
    std::uint16_t OnAppEvent(CapiConnection& c, const CapiAppEvent& ev) const;
    std::uint16_t OnCapiMessage(CapiConnection& c, const CapiMessage& msg) const;
    std::uint16_t OnTimerEvent(CapiConnection& c, std::uint32_t timerId) const;

protected:
    explicit CapiState(std::uint16_t number) : m_wNumber(number) {}

    // Application requests.
    virtual std::uint16_t OnAppConnect(CapiConnection& c, const CapiAppEvent& ev) const;
    virtual std::uint16_t OnAppDisconnect(CapiConnection& c, const CapiAppEvent& ev) const;
    virtual std::uint16_t OnAppListen(CapiConnection& c, const CapiAppEvent& ev) const;
    virtual std::uint16_t OnAppData(CapiConnection& c, const CapiAppEvent& ev) const;
    virtual std::uint16_t OnAppManufacturer(CapiConnection& c, const CapiAppEvent& ev) const;
    // CAPI messages.
    virtual std::uint16_t OnAlertConf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnConnectInd(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnConnectConf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnConnectActiveInd(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnSelectBProtocolConf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnDisconnectInd(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnDisconnectConf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnFacilityInd(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnFacilityConf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnInfoInd(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnInfoConf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnListenConf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnConnectB3Ind(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnConnectB3Conf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnConnectB3ActiveInd(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnConnectB3T90ActiveInd(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnDataB3Ind(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnDataB3Conf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnResetB3Ind(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnResetB3Conf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnDisconnectB3Ind(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnDisconnectB3Conf(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnManufacturerInd(CapiConnection& c, const CapiMessage& msg) const;
    virtual std::uint16_t OnManufacturerConf(CapiConnection& c, const CapiMessage& msg) const;
    // Timer events.
    virtual std::uint16_t OnTimer(CapiConnection& c, std::uint32_t timerId) const;

    // Shared steps.
    std::uint16_t UnexpectedApp(CapiConnection& c, const CapiAppEvent& ev) const;
    std::uint16_t UnexpectedCapi(const CapiMessage& msg) const;
    // FACILITY_RESP, then stay.
    std::uint16_t AnswerFacility(CapiConnection& c, const CapiMessage& msg) const;

private:
    std::uint16_t m_wNumber;
};
