#pragma once
// Control of the fake CAPI library (libfakecapi.so). The library exports the
// capi20_* functions of the Linux CAPI library and plays the ISDN network:
// it answers the application's messages as one CAPI controller (number 1)
// would, carries B-channel data to and from a box at the far end, and can
// be scripted to misbehave. It checks the application's side strictly and
// records every breach as a violation text instead of failing silently:
// parameter and structure lengths, responses that answer no indication or
// carry the wrong message number, a second DATA_B3_RESP for one indication,
// data outside the data phase, more unconfirmed blocks than registered.
//
// A test links this library and loads it through the program's library
// override as well; both reach the same instance. All functions may be
// called from any thread.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fakecapi {

// The box at the far end of a call. Its calls come outside the network's
// lock, on whichever thread put the message that caused them, so the box
// may call BoxSend from inside them; it must not block.
class FakeCapiBox {
public:
    virtual ~FakeCapiBox() = default;
    // The B channel of a call came up.
    virtual void OnCallUp() {}
    // One block from the PC.
    virtual void OnData(const std::vector<std::uint8_t>& data) = 0;
    // The call ended (either side, or the application was released).
    virtual void OnCallDown() {}
};

// What the network does with the next outgoing calls.
enum class CallOutcome {
    Answer,    // the box answers: CONNECT_ACTIVE_IND, then B3 on request
    Busy,      // DISCONNECT_IND with cause 17 (0x3491)
    Refused,   // DISCONNECT_IND with cause 21 (0x3495)
    NoAnswer,  // CONNECT_CONF, then nothing until the application hangs up
    ConfError, // CONNECT_CONF with an error Info, no call
};

struct Registration {
    bool registered = false;
    unsigned applId = 0;
    unsigned maxLogicalConnection = 0;
    unsigned maxBDataBlocks = 0;
    unsigned maxBDataLen = 0;
};

// Forgets everything: scripts, logs, violations, calls, the application.
void Reset();

void SetOutcome(CallOutcome outcome, std::uint16_t confInfo = 0x2003);
// The box for the next calls; nullptr gives the built-in echo box.
void SetBox(FakeCapiBox* box);
// The box sends a block to the PC (DATA_B3_IND); false without a call in
// its data phase.
bool BoxSend(const std::uint8_t* data, std::size_t len);
// The network clears the call from the far end with a Reason (0x3480 +
// cause); false without a call.
bool RemoteHangup(std::uint16_t reason);
// The far end clears the B3 connection of the call in its data phase
// (DISCONNECT_B3_IND) and, once the application has answered that, opens it
// again (CONNECT_B3_IND): under a new NCCI, or under the same one. False
// without a call in its data phase.
bool RestartB3(bool newNcci);
// The next CONNECT_B3_REQ is refused with this Info in its CONNECT_B3_CONF;
// the far end then opens the B3 connection itself (CONNECT_B3_IND).
void RefuseNextConnectB3(std::uint16_t info);
// An incoming call; false when the application does not listen for its CIP
// value. callingType is the calling number's type byte.
bool IncomingCall(const char* calling, const char* called, std::uint16_t cip,
                  std::uint8_t callingType = 0x21);
// A DATA_B3_IND for an NCCI that does not exist.
void OrphanDataInd();
// While held, DATA_B3_CONFs are kept back; releasing sends the held ones.
// A B3 connection that goes down takes its held ones with it: its blocks
// are never confirmed.
void HoldDataConf(bool hold);
// While held, CONNECT_REQs wait unanswered; releasing answers them as the
// outcome says.
void HoldConnectConf(bool hold);
// The next fetch reports a queue overflow (0x1105) with its message.
void OverflowNext();
// The next register fails with this Info.
void FailRegister(unsigned info);
// A raw message for the application, as the network would queue it; an
// indication among them then waits for its answer like any other.
void InjectMessage(const std::vector<std::uint8_t>& bytes);

// Waits until the application has fetched every queued message and
// answered every indication; false on time-out.
bool WaitAnswered(int timeoutMs);

std::vector<std::string> Violations();
Registration GetRegistration();
// Every message the application put, in order.
std::vector<std::vector<std::uint8_t>> PutLog();
// Calls the network holds now.
int CallCount();
// Most DATA_B3_REQ of one call ever unconfirmed at the same time.
unsigned MaxUnconfirmedSeen();
// Messages queued for the application and not yet fetched.
std::size_t QueuedCount();

} // namespace fakecapi
