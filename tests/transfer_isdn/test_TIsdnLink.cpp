// The transfer controller's ISDN call against a scripted port: what a dial
// stores, which send results fail a run, who counts as connected, which
// incoming calls are announced, and what the owner hears when a call ends.

#include "IsdnFakes.h"

#include "FakeClock.h"
#include "ICapiLinkPort.h"
#include "ITransferExtension.h"
#include "TCommMessage.h"
#include "TIsdnLink.h"
#include "TProgDefs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <ostream>
#include <string>

namespace {

// The ISDN port as the controller sees it; every result can be scripted.
class ScriptedCapiPort : public ITransferPort, public ICapiLinkPort {
public:
    ScriptedCapiPort(int* destroyed, std::vector<int>* hangupLog)
        : destroyed(destroyed), hangupLog(hangupLog) {}
    ~ScriptedCapiPort() override {
        if (destroyed)
            ++*destroyed;
    }

    bool IsOpen() const override { return true; }
    bool SendDataBlock(const std::uint8_t*, std::uint32_t) override { return false; }
    std::uint32_t ReceiveDataBlock(std::uint8_t*, std::uint32_t) override { return 0; }
    ICapiLinkPort* GetCapiLink() override { return this; }

    int Connect(const CapiCallInfo& info) override {
        dials.push_back(info);
        return connectResult;
    }
    int Listen(const CapiCallInfo& info) override {
        listens.push_back(info);
        return 2;
    }
    int SendData(int instance, std::uint32_t len, const std::uint8_t* data) override {
        sendInstances.push_back(instance);
        blocks.emplace_back(data, data + len);
        if (!sendResults.empty()) {
            const int r = sendResults.front();
            sendResults.pop_front();
            return r;
        }
        return static_cast<int>(len);
    }
    int Disconnect(int instance) override {
        hangups.push_back(instance);
        hangupLog->push_back(instance);
        return 0;
    }
    bool IsDataPhase(int instance) override { return instance == dataPhaseInstance; }

    int* destroyed;
    std::vector<int>* hangupLog; // outlives the port
    int connectResult = 1;
    int dataPhaseInstance = 0;
    std::deque<int> sendResults;
    std::vector<CapiCallInfo> dials;
    std::vector<CapiCallInfo> listens;
    std::vector<int> sendInstances;
    std::vector<Bytes> blocks;
    std::vector<int> hangups;
};

class ScriptedFactory : public ITransferPortFactory {
public:
    std::unique_ptr<ITransferPort> CreatePort(eConnectionType type, int setting) override {
        if (type != eConnectionCAPI)
            return std::make_unique<FakeTransferPort>(type, setting - 4, nullptr);
        auto port = std::make_unique<ScriptedCapiPort>(&destroyed, &hangups);
        last = port.get();
        return port;
    }
    ScriptedCapiPort* last = nullptr;
    int destroyed = 0;
    std::vector<int> hangups; // of every port built
};

class Hangups : public ITransferExtension {
public:
    void OnIsdnHangup() override { ++count; }
    int count = 0;
};

std::string Field(const char (&f)[17]) {
    return std::string(f, strnlen(f, sizeof f));
}

class IsdnLinkTest : public testing::Test {
protected:
    IsdnLinkTest() : engine(clock, settings, ports), owner(engine) {
        engine.SetOwner(&owner);
        engine.SetView(&view);
        engine.SetExtension(&hangups);
        engine.UpdatePort();
    }
    ScriptedCapiPort& Port() { return *ports.last; }

    // Dials and brings the call into its data phase.
    int DialUp() {
        const int instance = engine.Connect("0891234567");
        Port().dataPhaseInstance = instance;
        return instance;
    }
    void StartRead() {
        engine.SetTransferData(eReceiveAnlDaten, buffer.data(),
                               static_cast<std::uint32_t>(buffer.size()));
        engine.StartTransfer();
    }
    CapiPortMessage Report(std::uint32_t id, int instance) {
        CapiPortMessage m;
        m.id = id;
        m.instance = static_cast<std::uint16_t>(instance);
        return m;
    }
    void Incoming(int instance, const char* calling, std::uint8_t selector = 3) {
        CapiPortMessage m = Report(CAPIPORT_CONNECT, instance);
        m.callInfo.bMode = eCapiModeCall;
        m.callInfo.bServiceSelector = selector;
        EXPECT_TRUE(m.callInfo.SetNumber1("4711"));
        EXPECT_TRUE(m.callInfo.SetNumber2(calling));
        engine.OnCapiMessage(m);
    }
    void Hangup(int instance, CapiDisconnectKind kind, std::uint16_t reason, std::uint16_t info = 0,
                std::string text = {}) {
        CapiPortMessage m = Report(CAPIPORT_DISCONNECT, instance);
        m.disconnect = {kind, reason, info, std::move(text)};
        engine.OnCapiMessage(m);
    }

    FakeClock clock;
    IsdnSettings settings;
    ScriptedFactory ports;
    TDataTransferEngine engine;
    RecordingView view;
    IsdnOwner owner;
    Hangups hangups;
    Bytes buffer = Bytes(32768, 0);
};

TEST_F(IsdnLinkTest, PortListensForDataCallsOnItsOwnNumber) {
    ASSERT_EQ(Port().listens.size(), 1u);
    const CapiCallInfo& rec = Port().listens[0];
    EXPECT_EQ(rec.bMode, eCapiModeListen);
    EXPECT_EQ(rec.bServiceSelector, 3);
    EXPECT_EQ(rec.bListenSelector, 3);
    EXPECT_EQ(rec.abNumberType[0], 0);
    EXPECT_EQ(Field(rec.szNumber1), "");
    EXPECT_EQ(Field(rec.szNumber2), "4711");
    EXPECT_EQ(Field(rec.szNumber3), "");
    EXPECT_EQ(engine.GetIsdnInstance(), 0);
    EXPECT_FALSE(engine.IsConnected());
}

// ---- Dialling ----------------------------------------------------------------

struct DialRow {
    const char* name;
    std::string number;
    std::string own;
    int portResult;
    int expected;
    bool portAsked;

    friend void PrintTo(const DialRow& r, std::ostream* os) { *os << r.name; }
};

class Dial : public IsdnLinkTest, public testing::WithParamInterface<DialRow> {};

TEST_P(Dial, OnlyAPositiveInstanceIsKept) {
    const DialRow& row = GetParam();
    settings.own = row.own;
    Port().connectResult = row.portResult;
    EXPECT_EQ(engine.Connect(row.number), row.expected);
    EXPECT_EQ(engine.GetIsdnInstance(), row.expected > 0 ? row.expected : 0);
    ASSERT_EQ(Port().dials.size(), row.portAsked ? 1u : 0u);
    if (row.portAsked) {
        const CapiCallInfo& rec = Port().dials[0];
        EXPECT_EQ(rec.bMode, eCapiModeCall);
        EXPECT_EQ(rec.bServiceSelector, 1);
        EXPECT_EQ(Field(rec.szNumber1), row.number);
        EXPECT_EQ(Field(rec.szNumber2), row.own);
        EXPECT_EQ(Field(rec.szNumber3), "");
    }
    // A refused dial leaves nothing to send on.
    Port().dataPhaseInstance = row.expected;
    StartRead();
    EXPECT_EQ(owner.results, row.expected > 0 ? std::vector<int>{} : std::vector<int>{0});
}

INSTANTIATE_TEST_SUITE_P(
    Results, Dial,
    testing::Values(DialRow{"Dialled", "0891234567", "4711", 1, 1, true},
                    DialRow{"SecondSlot", "0891234567", "4711", 2, 2, true},
                    DialRow{"SixteenDigits", "0123456789012345", "4711", 1, 1, true},
                    DialRow{"NoOwnNumber", "0891234567", "", 1, 1, true},
                    DialRow{"NoFreeSlot", "0891234567", "4711", -1, eIsdnDialNoSlot, true},
                    DialRow{"EndedWithinTheDial", "0891234567", "4711", -2, eIsdnDialEnded, true},
                    DialRow{"CapiMissing", "0891234567", "4711", -3, eIsdnDialNotRegistered, true},
                    DialRow{"SeventeenDigits", "01234567890123456", "4711", 1,
                            eIsdnDialNumberTooLong, false},
                    DialRow{"OwnNumberTooLong", "0891234567", "47114711471147114", 1,
                            eIsdnDialOwnNumberTooLong, false},
                    DialRow{"NothingToDial", "", "4711", 1, eIsdnDialNoNumber, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IsdnLinkTest, DialDialsTheRememberedBoxNumber) {
    settings.box = "030777";
    EXPECT_EQ(engine.Connect(), 1);
    ASSERT_EQ(Port().dials.size(), 1u);
    EXPECT_EQ(Field(Port().dials[0].szNumber1), "030777");
}

TEST_F(IsdnLinkTest, NoSecondDialWhileOurCallIsUp) {
    EXPECT_EQ(engine.Connect("0891234567"), 1);
    EXPECT_EQ(engine.Connect("0891234567"), eIsdnDialCallUp);
    EXPECT_EQ(Port().dials.size(), 1u);
    EXPECT_EQ(engine.GetIsdnInstance(), 1);
}

TEST_F(IsdnLinkTest, NoDialWithoutTheIsdnLink) {
    settings.comPort = 5;
    engine.UpdatePort();
    EXPECT_EQ(ports.destroyed, 1);
    EXPECT_EQ(engine.Connect("0891234567"), eIsdnDialNoPort);
}

// ---- Sending on the call -------------------------------------------------------

class SendResult : public IsdnLinkTest, public testing::WithParamInterface<int> {};

TEST_P(SendResult, EveryNegativeResultFailsTheRunOnce) {
    const int instance = DialUp();
    Port().sendResults = {GetParam()};
    StartRead();
    ASSERT_EQ(Port().blocks.size(), 1u);
    EXPECT_EQ(Port().sendInstances, std::vector<int>{instance});
    EXPECT_EQ(owner.results, std::vector<int>{0});
    // Nothing waits for an answer to a block that never went out.
    clock.Advance(kTimeoutDataReqMs * 4);
    engine.Poll();
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

INSTANTIATE_TEST_SUITE_P(Port, SendResult, testing::Values(-1, -2, -3),
                         [](const auto& info) { return "Result" + std::to_string(-info.param); });

TEST_F(IsdnLinkTest, SentBlockIsACopyOnTheCallAndArmsTheTimeOut) {
    DialUp();
    StartRead();
    ASSERT_EQ(Port().blocks.size(), 1u);
    const TCommMessage req(std::span<const std::uint8_t>(Port().blocks[0]));
    EXPECT_EQ(req.GetCmd(), eEvConfDataReq);
    EXPECT_TRUE(owner.results.empty());
    clock.Advance(kTimeoutDataReqMs);
    engine.Poll();
    EXPECT_EQ(engine.GetTries(), 1);
    EXPECT_EQ(Port().blocks.size(), 2u); // asked again
}

// ---- Who is connected ------------------------------------------------------------

TEST_F(IsdnLinkTest, ConnectedOnlyWithOurOwnCallInItsDataPhase) {
    std::string text;
    EXPECT_FALSE(engine.GetConnectionText(text));
    const int instance = engine.Connect("0891234567");
    EXPECT_FALSE(engine.IsConnected()) << "dialling is not connected";
    Port().dataPhaseInstance = instance;
    EXPECT_TRUE(engine.GetConnectionText(text));
    EXPECT_EQ(text, "via capi");
    Hangup(instance, CapiDisconnectKind::Remote, 0x3490, 0, "Normales Ausl\xF6sen");
    EXPECT_FALSE(engine.IsConnected());
}

TEST_F(IsdnLinkTest, RingingIncomingCallIsNoLink) {
    Incoming(2, "301234");
    // Even a port that says the connection is in its data phase: the call
    // was never accepted, so it is not ours.
    Port().dataPhaseInstance = 2;
    EXPECT_EQ(engine.GetIsdnInstance(), 2);
    EXPECT_FALSE(engine.IsConnected());
    std::string text;
    engine.GetConnectionText(text);
    EXPECT_EQ(text, "no connection!");
}

// ---- Incoming calls ----------------------------------------------------------------

struct IncomingRow {
    const char* name;
    const char* calling;
    std::uint8_t selector;
    bool callHeld;
    bool announced;

    friend void PrintTo(const IncomingRow& r, std::ostream* os) { *os << r.name; }
};

class IncomingCall : public IsdnLinkTest, public testing::WithParamInterface<IncomingRow> {};

TEST_P(IncomingCall, AnnouncedOrLeftRinging) {
    const IncomingRow& row = GetParam();
    if (row.callHeld)
        DialUp();
    Incoming(2, row.calling, row.selector);
    if (row.announced) {
        ASSERT_EQ(owner.connects.size(), 1u);
        EXPECT_EQ(owner.connects[0].instance, 2);
        EXPECT_EQ(Field(owner.connects[0].info.szNumber2), row.calling);
        EXPECT_EQ(engine.GetIsdnInstance(), 2);
        EXPECT_TRUE(Port().hangups.empty());
    } else {
        // No answer at all: the call rings on until its caller gives up.
        EXPECT_TRUE(owner.connects.empty());
        EXPECT_TRUE(Port().hangups.empty());
        EXPECT_EQ(engine.GetIsdnInstance(), row.callHeld ? 1 : 0);
        // Its end is not ours.
        Hangup(2, CapiDisconnectKind::Remote, 0x3490);
        EXPECT_TRUE(owner.disconnects.empty());
        EXPECT_EQ(engine.GetIsdnInstance(), row.callHeld ? 1 : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Calls, IncomingCall,
                         testing::Values(IncomingRow{"DataCall", "301234", 3, false, true},
                                         IncomingRow{"FromOurOwnNumber", "4711", 3, false, false},
                                         IncomingRow{"Telephony", "301234", 0, false, false},
                                         IncomingRow{"Fax", "301234", 2, false, false},
                                         IncomingRow{"WhileOurCallIsUp", "301234", 3, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IsdnLinkTest, AnnouncedCallIsRefusedByDisconnect) {
    Incoming(1, "301234");
    engine.Disconnect();
    EXPECT_EQ(Port().hangups, std::vector<int>{1});
    EXPECT_EQ(engine.GetIsdnInstance(), 0);
    ASSERT_EQ(owner.disconnects.size(), 1u);
    EXPECT_EQ(owner.disconnects[0].instance, 0);
    EXPECT_EQ(owner.disconnects[0].info.kind, CapiDisconnectKind::Local);
    // The port's report of the refused call comes later: no second notice.
    Hangup(1, CapiDisconnectKind::Local, 0x3490);
    EXPECT_EQ(owner.disconnects.size(), 1u);
}

TEST_F(IsdnLinkTest, DialRefusesTheCallThatRings) {
    Incoming(1, "301234");
    Port().connectResult = 2;
    EXPECT_EQ(engine.Connect("0891234567"), 2);
    EXPECT_EQ(Port().hangups, std::vector<int>{1});
    EXPECT_EQ(engine.GetIsdnInstance(), 2);
}

// ---- The end of a call -------------------------------------------------------------

TEST_F(IsdnLinkTest, RemoteHangUpEndsTheRunOnceAndTellsTheReason) {
    const int instance = DialUp();
    StartRead();
    Hangup(instance, CapiDisconnectKind::Remote, 0x34A9, 0, "Verbindung unterbrochen");
    EXPECT_EQ(owner.results, std::vector<int>{0});
    ASSERT_EQ(owner.disconnects.size(), 1u);
    EXPECT_EQ(owner.disconnects[0].instance, instance);
    EXPECT_EQ(owner.disconnects[0].info.kind, CapiDisconnectKind::Remote);
    EXPECT_EQ(owner.disconnects[0].info.wReason, 0x34A9);
    EXPECT_EQ(owner.disconnects[0].info.reasonText, "Verbindung unterbrochen");
    EXPECT_EQ(hangups.count, 1);
    EXPECT_EQ(engine.GetIsdnInstance(), 0);
    clock.Advance(kTimeoutDataReqMs * 4);
    engine.Poll();
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

TEST_F(IsdnLinkTest, RefusedCallSaysWhyThroughItsInfo) {
    const int instance = engine.Connect("0891234567");
    Hangup(instance, CapiDisconnectKind::Refused, 0, 0x2003);
    ASSERT_EQ(owner.disconnects.size(), 1u);
    EXPECT_EQ(owner.disconnects[0].info.kind, CapiDisconnectKind::Refused);
    EXPECT_EQ(owner.disconnects[0].info.reasonText, "Out of PLCI");
}

TEST_F(IsdnLinkTest, EndOfACallWeDoNotHoldChangesNothing) {
    const int instance = DialUp();
    StartRead();
    Hangup(instance + 1, CapiDisconnectKind::Remote, 0x3490);
    EXPECT_TRUE(owner.results.empty());
    EXPECT_TRUE(owner.disconnects.empty());
    EXPECT_EQ(engine.GetIsdnInstance(), instance);
    EXPECT_TRUE(engine.IsConnected());
}

TEST_F(IsdnLinkTest, OwnHangUpEndsTheRunAndTellsTheOwnerOnce) {
    const int instance = DialUp();
    StartRead();
    engine.Disconnect();
    EXPECT_EQ(Port().hangups, std::vector<int>{instance});
    EXPECT_EQ(owner.results, std::vector<int>{0});
    ASSERT_EQ(owner.disconnects.size(), 1u);
    EXPECT_EQ(owner.disconnects[0].instance, 0);
    EXPECT_EQ(owner.disconnects[0].info.kind, CapiDisconnectKind::Local);
    EXPECT_TRUE(owner.disconnects[0].info.reasonText.empty());
    EXPECT_EQ(hangups.count, 1);
    Hangup(instance, CapiDisconnectKind::Local, 0x3490, 0, "Normales Ausl\xF6sen");
    EXPECT_EQ(owner.disconnects.size(), 1u);
}

TEST_F(IsdnLinkTest, SwitchingAwayFromIsdnHangsUpAndSaysSo) {
    const int instance = DialUp();
    settings.comPort = 0;
    engine.UpdatePort();
    EXPECT_EQ(ports.hangups, std::vector<int>{instance}) << "asked before the port went";
    EXPECT_EQ(ports.destroyed, 1);
    ASSERT_EQ(owner.disconnects.size(), 1u);
    EXPECT_EQ(owner.disconnects[0].info.kind, CapiDisconnectKind::Local);
}

TEST_F(IsdnLinkTest, ReportsOfAClosedPortAreIgnored) {
    settings.comPort = 0;
    engine.UpdatePort();
    Incoming(1, "301234");
    EXPECT_TRUE(owner.connects.empty());
    EXPECT_EQ(engine.GetIsdnInstance(), 0);
}

TEST_F(IsdnLinkTest, ConnectActiveOfOurCallOnlyReachesTheOwner) {
    const int instance = DialUp();
    engine.OnCapiMessage(Report(CAPIPORT_CONNECT_ACTIVE, instance + 1));
    EXPECT_TRUE(owner.active.empty());
    engine.OnCapiMessage(Report(CAPIPORT_CONNECT_ACTIVE, instance));
    EXPECT_EQ(owner.active, std::vector<int>{instance});
}

TEST_F(IsdnLinkTest, DataPhaseAgainOnTheSameCallIsNoNewConnection) {
    // The far end cleared B3 and opened it again: the owner, which reads
    // the box when a connection comes up, hears of the call once.
    const int instance = DialUp();
    engine.OnCapiMessage(Report(CAPIPORT_CONNECT_ACTIVE, instance));
    engine.OnCapiMessage(Report(CAPIPORT_CONNECT_ACTIVE, instance));
    EXPECT_EQ(owner.active, std::vector<int>{instance});
    // The next call is a connection of its own.
    engine.Disconnect();
    const int next = DialUp();
    engine.OnCapiMessage(Report(CAPIPORT_CONNECT_ACTIVE, next));
    EXPECT_EQ(owner.active, (std::vector<int>{instance, next}));
}

// ---- Received data -----------------------------------------------------------------

// Answers a free-address count request as the programming does: the request
// goes out with its long time-out, the programming messages answer it.
class FreeAddressCount : public ITransferExtension {
public:
    explicit FreeAddressCount(TDataTransferEngine& engine) : engine(engine) {}
    bool StartMode(int) override {
        const std::uint8_t data[] = {0};
        return engine.SendDataToPort(data, sizeof data, kTimeoutKBACountMs);
    }
    void WorkOnProgData(const TTkDataMsg* msg) override { seen.push_back(msg != nullptr); }
    TDataTransferEngine& engine;
    std::vector<bool> seen;
};

TEST_F(IsdnLinkTest, ProgrammingDataKeepsTheTimeOutOfAFreeAddressRequest) {
    FreeAddressCount prog(engine);
    engine.SetExtension(&prog);
    const int instance = DialUp();
    Bytes dummy(62, 0);
    engine.SetTransferData(eReceiveKBACount, dummy.data(), 62);
    engine.StartTransfer();
    ASSERT_TRUE(engine.IsRunning());

    const TCommMessage progMsg(eProtProg, 3, 0x10, 0x20);
    CapiPortMessage m = Report(CAPIPORT_DATA, instance);
    m.data.assign(progMsg.GetBuffer(), progMsg.GetBuffer() + progMsg.GetLen());
    engine.OnCapiMessage(m);
    EXPECT_EQ(prog.seen, std::vector<bool>{true});
    clock.Advance(kTimeoutKBACountMs - 1);
    engine.Poll();
    EXPECT_EQ(prog.seen, std::vector<bool>{true});
    clock.Advance(1);
    engine.Poll();
    EXPECT_EQ(prog.seen, (std::vector<bool>{true, false})) << "the request still times out";
}

TEST_F(IsdnLinkTest, DataOfAnotherCallIsDropped) {
    const int instance = DialUp();
    StartRead();
    CapiPortMessage m = Report(CAPIPORT_DATA, instance + 1);
    m.data = BoxBlock(eEvConfDataEnd, 0, {1, 2, 3});
    engine.OnCapiMessage(m);
    EXPECT_TRUE(owner.results.empty());
    m.instance = static_cast<std::uint16_t>(instance);
    engine.OnCapiMessage(m);
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(engine.GetReceivedLen(), 3u);
}

TEST_F(IsdnLinkTest, EmptyOrOversizedDataIsAFailedBlock) {
    const int instance = DialUp();
    StartRead();
    CapiPortMessage m = Report(CAPIPORT_DATA, instance);
    engine.OnCapiMessage(m);
    EXPECT_EQ(engine.GetTries(), 1);
    m.data.assign(MAX_COMM_MSG_LEN + 1, 0x80);
    engine.OnCapiMessage(m);
    EXPECT_EQ(engine.GetTries(), 2);
}

} // namespace
