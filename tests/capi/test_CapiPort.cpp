// The ISDN port end to end: the real port, its receive thread and state
// machines against the fake CAPI library, which plays the network with a
// box at the far end and checks every message the port puts.

#include "CapiPort.h"
#include "CapiTestUtil.h"
#include "FakeCapiControl.h"

#include <gtest/gtest.h>

#include <ostream>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Vec = std::vector<std::uint8_t>;
using capitest::Bytes;

constexpr auto kWait = 5s; // a bound against hanging, never reached when things work

// The owner: queues what the port posts, as the window's message queue does.
class Owner : public CapiPortOwner {
public:
    void PostCapiMessage(CapiPortMessage msg) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_msgs.push_back(std::move(msg));
        m_cv.notify_all();
    }
    void OnCapiUnavailable(CapiUnavailable why, const std::string& library,
                           unsigned info) override {
        unavailable.push_back(why);
        unavailableDetail = library;
        unavailableInfo = info;
    }
    // The next message with this id; earlier ones of other ids are skipped.
    std::optional<CapiPortMessage> WaitFor(std::uint32_t id) {
        std::unique_lock<std::mutex> lock(m_mutex);
        std::optional<CapiPortMessage> found;
        m_cv.wait_for(lock, kWait, [&] {
            while (!m_msgs.empty()) {
                CapiPortMessage m = std::move(m_msgs.front());
                m_msgs.pop_front();
                seen.push_back(m.id);
                if (m.id == id) {
                    found = std::move(m);
                    return true;
                }
            }
            return false;
        });
        return found;
    }
    std::vector<std::uint32_t> Pending() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::uint32_t> ids;
        for (const auto& m : m_msgs)
            ids.push_back(m.id);
        return ids;
    }

    std::vector<CapiUnavailable> unavailable;
    std::string unavailableDetail; // the library named
    unsigned unavailableInfo = 0;
    std::vector<std::uint32_t> seen;

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<CapiPortMessage> m_msgs;
};

// A box that keeps what it was sent and echoes it.
class RecorderBox : public fakecapi::FakeCapiBox {
public:
    void OnCallUp() override { ++up; }
    void OnData(const Vec& data) override {
        {
            std::lock_guard<std::mutex> lock(mutex);
            received.push_back(data);
        }
        if (echo)
            fakecapi::BoxSend(data.data(), data.size());
    }
    void OnCallDown() override { ++down; }

    std::atomic<int> up{0};
    std::atomic<int> down{0};
    bool echo = true;
    std::mutex mutex;
    std::vector<Vec> received;
};

// Waits for a condition the port reaches on its receive thread.
template <typename Pred> bool WaitUntil(Pred pred) {
    const auto end = std::chrono::steady_clock::now() + kWait;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

CapiCallInfo CallRecord(const char* dial = "0891234567", const char* own = "4711") {
    CapiCallInfo r;
    r.bMode = eCapiModeCall;
    r.bServiceSelector = 1;
    EXPECT_TRUE(r.SetNumber1(dial));
    EXPECT_TRUE(r.SetNumber2(own));
    return r;
}

CapiCallInfo ListenRecord() {
    CapiCallInfo r;
    r.bMode = eCapiModeListen;
    r.bServiceSelector = 3;
    r.bListenSelector = 3;
    r.SetNumber2("4711");
    return r;
}

// Names of the messages the port put, as "cmd:sub" bytes.
std::vector<std::pair<std::uint8_t, std::uint8_t>> PutKinds() {
    std::vector<std::pair<std::uint8_t, std::uint8_t>> kinds;
    for (const Vec& m : fakecapi::PutLog())
        kinds.emplace_back(m[4], m[5]);
    return kinds;
}

int CountPut(std::uint8_t cmd, std::uint8_t sub) {
    int n = 0;
    for (auto [c, s] : PutKinds())
        n += c == cmd && s == sub;
    return n;
}

class CapiPortSim : public ::testing::Test {
protected:
    void SetUp() override {
        fakecapi::Reset();
        fakecapi::SetBox(&box);
    }
    void TearDown() override {
        port.reset();
        for (const std::string& v : fakecapi::Violations())
            ADD_FAILURE() << "fake CAPI: " << v;
        fakecapi::Reset();
    }
    void Open() {
        port = std::make_unique<CapiPort>(owner, FAKECAPI_PATH);
        ASSERT_TRUE(port->IsRegistered());
    }
    // Dials and waits for the data phase; the instance.
    int Dial() {
        const int instance = port->Connect(CallRecord());
        EXPECT_GT(instance, 0);
        const auto active = owner.WaitFor(CAPIPORT_CONNECT_ACTIVE);
        EXPECT_TRUE(active.has_value());
        if (active) {
            EXPECT_EQ(active->instance, instance);
        }
        return instance;
    }

    capitest::TraceCatcher trace;
    Owner owner;
    RecorderBox box;
    std::unique_ptr<CapiPort> port;
};

TEST_F(CapiPortSim, RegistersWithTheProgramsParameters) {
    Open();
    const fakecapi::Registration reg = fakecapi::GetRegistration();
    EXPECT_TRUE(reg.registered);
    EXPECT_EQ(reg.maxLogicalConnection, 1u);
    EXPECT_EQ(reg.maxBDataBlocks, 3u);
    EXPECT_EQ(reg.maxBDataLen, 2048u);
    EXPECT_STREQ(port->GetVersionText(),
                 "CAPI: 2.0 - Release: 1.7 Manufacturer: fake ISDN network");
    EXPECT_TRUE(owner.unavailable.empty());
    port.reset();
    EXPECT_FALSE(fakecapi::GetRegistration().registered);
    EXPECT_TRUE(trace.Saw("Start CapiTask"));
    EXPECT_TRUE(trace.Saw("End CapiTask"));
}

TEST_F(CapiPortSim, DialExchangeDataHangUp) {
    Open();
    const int instance = Dial();
    EXPECT_TRUE(port->IsDataPhase(instance));
    EXPECT_EQ(box.up.load(), 1);

    Vec block(1030);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(port->SendData(instance, static_cast<std::uint32_t>(block.size()), block.data()),
              1030);
    const auto echoed = owner.WaitFor(CAPIPORT_DATA);
    ASSERT_TRUE(echoed.has_value());
    EXPECT_EQ(echoed->instance, instance);
    EXPECT_EQ(echoed->data, block);
    {
        std::lock_guard<std::mutex> lock(box.mutex);
        ASSERT_EQ(box.received.size(), 1u);
        EXPECT_EQ(box.received[0], block);
    }

    EXPECT_EQ(port->Disconnect(instance), 0);
    const auto down = owner.WaitFor(CAPIPORT_DISCONNECT);
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->disconnect.kind, CapiDisconnectKind::Local);
    EXPECT_TRUE(WaitUntil([&] { return port->GetConnectionState(instance) == -2; }));
    EXPECT_EQ(fakecapi::CallCount(), 0);
    EXPECT_EQ(box.down.load(), 1);
    EXPECT_TRUE(trace.Saw("FREINST"));
}

struct FailedCallRow {
    const char* name;
    fakecapi::CallOutcome outcome;
    CapiDisconnectKind kind;
    std::uint16_t reason;
    std::uint16_t info;
    const char* text;
};

void PrintTo(const FailedCallRow& row, std::ostream* os) {
    *os << row.name;
}

const FailedCallRow kFailedCalls[] = {
    {"Busy", fakecapi::CallOutcome::Busy, CapiDisconnectKind::Remote, 0x3491, 0,
     "participant occupied"},
    {"Refused", fakecapi::CallOutcome::Refused, CapiDisconnectKind::Remote, 0x3495, 0,
     "Ruf zur\xFC"
     "ckgewiesen"},
    {"RefusedByConnectConf", fakecapi::CallOutcome::ConfError, CapiDisconnectKind::Refused, 0,
     0x2003, ""},
};

class CapiPortFailedCall : public CapiPortSim,
                           public ::testing::WithParamInterface<FailedCallRow> {};

TEST_P(CapiPortFailedCall, EndsWithOneClearReport) {
    const FailedCallRow& row = GetParam();
    fakecapi::SetOutcome(row.outcome);
    Open();
    const int instance = port->Connect(CallRecord());
    ASSERT_GT(instance, 0);
    const auto down = owner.WaitFor(CAPIPORT_DISCONNECT);
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->instance, instance);
    EXPECT_EQ(down->disconnect.kind, row.kind);
    EXPECT_EQ(down->disconnect.wReason, row.reason);
    EXPECT_EQ(down->disconnect.wInfo, row.info);
    EXPECT_EQ(down->disconnect.reasonText, row.text);
    EXPECT_TRUE(WaitUntil([&] { return port->GetConnectionState(instance) == -2; }));
    EXPECT_TRUE(fakecapi::WaitAnswered(5000));
    EXPECT_EQ(fakecapi::CallCount(), 0);
    EXPECT_EQ(owner.Pending(), std::vector<std::uint32_t>{}); // nothing after the one report
    EXPECT_EQ(port->SendData(instance, 3, reinterpret_cast<const std::uint8_t*>("abc")), -2);
}

INSTANTIATE_TEST_SUITE_P(Rows, CapiPortFailedCall, ::testing::ValuesIn(kFailedCalls),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CapiPortSim, RemoteHangupMidTransferIsReportedOnce) {
    Open();
    const int instance = Dial();
    box.echo = false;
    const std::uint8_t block[5] = {1, 2, 3, 4, 5};
    ASSERT_EQ(port->SendData(instance, 5, block), 5);
    ASSERT_TRUE(fakecapi::RemoteHangup(0x349B));
    const auto down = owner.WaitFor(CAPIPORT_DISCONNECT);
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->disconnect.kind, CapiDisconnectKind::Remote);
    EXPECT_EQ(down->disconnect.reasonText, "Gegenstelle nicht in Betrieb");
    EXPECT_TRUE(WaitUntil([&] { return port->GetConnectionState(instance) == -2; }));
    EXPECT_TRUE(fakecapi::WaitAnswered(5000));
    EXPECT_EQ(owner.Pending(), std::vector<std::uint32_t>{});
    EXPECT_EQ(port->SendData(instance, 5, block), -2);
    EXPECT_EQ(CountPut(eCapiDisconnectB3, eCapiResp), 1);
    EXPECT_EQ(CountPut(eCapiDisconnect, eCapiResp), 1);
}

TEST_F(CapiPortSim, IncomingCallIsAnnouncedAndRefused) {
    Open();
    const int listening = port->Listen(ListenRecord());
    ASSERT_GT(listening, 0);
    // The listen slot lives until LISTEN_CONF.
    ASSERT_TRUE(WaitUntil([&] { return port->GetConnectionState(listening) == -2; }));
    EXPECT_FALSE(fakecapi::IncomingCall("0301234", "4711", 16)); // not a data call
    ASSERT_TRUE(fakecapi::IncomingCall("0301234", "4711", 2));
    const auto call = owner.WaitFor(CAPIPORT_CONNECT);
    ASSERT_TRUE(call.has_value());
    EXPECT_STREQ(call->callInfo.GetCallingPartyNumber(), "0301234");
    EXPECT_STREQ(call->callInfo.GetCalledPartyNumber(), "4711");
    EXPECT_EQ(call->callInfo.bServiceSelector, 3);
    EXPECT_EQ(call->callInfo.bCallingType, 0x21);
    ASSERT_TRUE(
        WaitUntil([&] { return port->GetConnectionState(call->instance) == eCapiStateAlerted; }));
    EXPECT_FALSE(port->IsDataPhase(call->instance));

    EXPECT_EQ(port->Disconnect(call->instance), 0);
    const auto down = owner.WaitFor(CAPIPORT_DISCONNECT);
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->instance, call->instance);
    EXPECT_EQ(down->disconnect.kind, CapiDisconnectKind::Local);
    EXPECT_TRUE(fakecapi::WaitAnswered(5000));
    EXPECT_EQ(fakecapi::CallCount(), 0);
    // Refused, never accepted: one CONNECT_RESP, with Reject 2.
    int responses = 0;
    for (const Vec& m : fakecapi::PutLog())
        if (m[4] == eCapiConnect && m[5] == eCapiResp) {
            ++responses;
            EXPECT_EQ(m[12], 2);
        }
    EXPECT_EQ(responses, 1);
}

TEST_F(CapiPortSim, NobodyListeningMeansNoCall) {
    Open();
    EXPECT_FALSE(fakecapi::IncomingCall("0301234", "4711", 2));
}

TEST_F(CapiPortSim, TwoCallsTakeBothSlotsAndAnIncomingCallIsIgnored) {
    fakecapi::SetOutcome(fakecapi::CallOutcome::NoAnswer);
    Open();
    const int listening = port->Listen(ListenRecord());
    ASSERT_TRUE(WaitUntil([&] { return port->GetConnectionState(listening) == -2; }));
    const int first = port->Connect(CallRecord());
    const int second = port->Connect(CallRecord("0892222"));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(port->Connect(CallRecord()), -1);
    EXPECT_EQ(port->Listen(ListenRecord()), -1);
    ASSERT_TRUE(WaitUntil([&] {
        return port->GetConnectionState(1) == eCapiStateOutgoing &&
               port->GetConnectionState(2) == eCapiStateOutgoing;
    }));

    ASSERT_TRUE(fakecapi::IncomingCall("0301234", "4711", 2));
    // Answered at once with "ignore"; the call's clearing is answered too.
    ASSERT_TRUE(fakecapi::WaitAnswered(5000));
    bool ignored = false;
    for (const Vec& m : fakecapi::PutLog())
        if (m[4] == eCapiConnect && m[5] == eCapiResp)
            ignored = m[12] == 1;
    EXPECT_TRUE(ignored);
    EXPECT_EQ(CountPut(eCapiDisconnect, eCapiResp), 1);
    EXPECT_EQ(fakecapi::CallCount(), 2);

    EXPECT_EQ(port->Disconnect(first), 0);
    EXPECT_EQ(port->Disconnect(second), 0);
    EXPECT_TRUE(owner.WaitFor(CAPIPORT_DISCONNECT).has_value());
    EXPECT_TRUE(owner.WaitFor(CAPIPORT_DISCONNECT).has_value());
    EXPECT_TRUE(WaitUntil([] { return fakecapi::CallCount() == 0; }));
}

struct BadRecordRow {
    const char* name;
    void (*spoil)(CapiCallInfo&);
};

void PrintTo(const BadRecordRow& row, std::ostream* os) {
    *os << row.name;
}

const BadRecordRow kBadRecords[] = {
    {"EmptyNumber", [](CapiCallInfo& r) { r.szNumber1[0] = 0; }},
    {"SeventeenDigits",
     [](CapiCallInfo& r) { std::memset(r.szNumber1, '1', sizeof(r.szNumber1)); }},
    {"UnknownService", [](CapiCallInfo& r) { r.bServiceSelector = 9; }},
    {"ListenRecord", [](CapiCallInfo& r) { r.bMode = eCapiModeListen; }},
};

class CapiPortBadRecord : public CapiPortSim, public ::testing::WithParamInterface<BadRecordRow> {};

TEST_P(CapiPortBadRecord, EndsTheNewSlotAtOnce) {
    Open();
    CapiCallInfo r = CallRecord();
    GetParam().spoil(r);
    EXPECT_EQ(port->Connect(r), -2);
    EXPECT_EQ(port->GetConnectionState(1), -2);
    EXPECT_EQ(CountPut(eCapiConnect, eCapiReq), 0);
    // The slot is free again.
    EXPECT_EQ(port->Connect(CallRecord()), 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, CapiPortBadRecord, ::testing::ValuesIn(kBadRecords),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CapiPortSim, HangupWhileConnectConfIsOutstandingClearsTheCall) {
    Open();
    fakecapi::HoldConnectConf(true);
    const int instance = port->Connect(CallRecord());
    ASSERT_GT(instance, 0);
    EXPECT_EQ(port->Disconnect(instance), 0);
    EXPECT_EQ(port->GetConnectionState(instance), eCapiStateWaitConnectConf);
    fakecapi::HoldConnectConf(false);
    const auto down = owner.WaitFor(CAPIPORT_DISCONNECT);
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->disconnect.kind, CapiDisconnectKind::Local);
    EXPECT_TRUE(WaitUntil([&] { return port->GetConnectionState(instance) == -2; }));
    EXPECT_TRUE(WaitUntil([] { return fakecapi::CallCount() == 0; }));
    EXPECT_EQ(CountPut(eCapiDisconnect, eCapiReq), 1);
}

TEST_F(CapiPortSim, SendWindowFillsAndDrains) {
    Open();
    const int instance = Dial();
    box.echo = false;
    fakecapi::HoldDataConf(true);
    const std::uint8_t block[8] = {9, 8, 7, 6, 5, 4, 3, 2};
    EXPECT_EQ(port->SendData(instance, 8, block), 8);
    EXPECT_EQ(port->SendData(instance, 8, block), 8);
    EXPECT_EQ(port->SendData(instance, 8, block), -1);
    fakecapi::HoldDataConf(false);
    ASSERT_TRUE(owner.WaitFor(CAPIPORT_DATA_SENT).has_value());
    EXPECT_EQ(port->SendData(instance, 8, block), 8);
    EXPECT_EQ(fakecapi::MaxUnconfirmedSeen(), 2u);
    EXPECT_EQ(CountPut(eCapiDataB3, eCapiReq), 3);
}

// The NCCI of the last message of this kind the port put (0 none).
std::uint32_t LastNcciPut(std::uint8_t cmd, std::uint8_t sub) {
    std::uint32_t ncci = 0;
    for (const Vec& m : fakecapi::PutLog())
        if (m[4] == cmd && m[5] == sub)
            ncci = static_cast<std::uint32_t>(m[8] | (m[9] << 8) | (m[10] << 16) | (m[11] << 24));
    return ncci;
}

// The B3 connection is cleared by the far end and opened again, while
// nothing is unconfirmed or with two blocks on their way.
struct B3RestartRow {
    const char* name;
    bool newNcci;
    int outstanding; // blocks sent and not confirmed when B3 goes down
};

void PrintTo(const B3RestartRow& row, std::ostream* os) {
    *os << row.name;
}

const B3RestartRow kB3Restarts[] = {
    {"NewNcci", true, 0},
    {"SameNcciWithTwoBlocksOutstanding", false, 2},
};

class CapiPortB3Restart : public CapiPortSim, public ::testing::WithParamInterface<B3RestartRow> {};

TEST_P(CapiPortB3Restart, DataFlowsAgainWithTheWholeWindow) {
    const B3RestartRow& row = GetParam();
    Open();
    const int instance = Dial();
    const std::uint32_t firstNcci = LastNcciPut(eCapiConnectB3Active, eCapiResp);
    ASSERT_NE(firstNcci, 0u);
    box.echo = false;
    fakecapi::HoldDataConf(true);
    const std::uint8_t block[4] = {1, 2, 3, 4};
    for (int i = 0; i < row.outstanding; ++i)
        ASSERT_EQ(port->SendData(instance, 4, block), 4);

    ASSERT_TRUE(fakecapi::RestartB3(row.newNcci));
    const auto again = owner.WaitFor(CAPIPORT_CONNECT_ACTIVE);
    ASSERT_TRUE(again.has_value()) << "the far end's new B3 connection was not taken";
    EXPECT_EQ(again->instance, instance);
    EXPECT_TRUE(port->IsDataPhase(instance));
    const std::uint32_t ncci = LastNcciPut(eCapiConnectB3, eCapiResp);
    EXPECT_EQ(ncci != firstNcci, row.newNcci);
    EXPECT_EQ(owner.Pending(), std::vector<std::uint32_t>{}) << "the call stays up";

    // The blocks lost with the old B3 connection hold no place: two go out
    // unconfirmed, the third waits for a confirmation.
    EXPECT_EQ(port->SendData(instance, 4, block), 4);
    EXPECT_EQ(port->SendData(instance, 4, block), 4);
    EXPECT_EQ(port->SendData(instance, 4, block), -1);
    EXPECT_EQ(LastNcciPut(eCapiDataB3, eCapiReq), ncci);
    fakecapi::HoldDataConf(false);
    ASSERT_TRUE(owner.WaitFor(CAPIPORT_DATA_SENT).has_value());

    // A block sent and confirmed, and its echo back on the new connection.
    box.echo = true;
    const std::uint8_t last[3] = {'e', 'n', 'd'};
    ASSERT_EQ(port->SendData(instance, 3, last), 3);
    const auto back = owner.WaitFor(CAPIPORT_DATA);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->data, (Vec{'e', 'n', 'd'}));
    EXPECT_TRUE(fakecapi::WaitAnswered(5000));
    EXPECT_EQ(CountPut(eCapiDataB3, eCapiReq), row.outstanding + 3);
    EXPECT_EQ(box.up.load(), 2);
    // The new connection was answered with an accept, never a reject.
    for (const Vec& m : fakecapi::PutLog())
        if (m[4] == eCapiConnectB3 && m[5] == eCapiResp) {
            EXPECT_EQ(m[12] | (m[13] << 8), 0);
        }
}

INSTANTIATE_TEST_SUITE_P(Rows, CapiPortB3Restart, ::testing::ValuesIn(kB3Restarts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CapiPortSim, RefusedB3IsOpenedByTheFarEnd) {
    fakecapi::RefuseNextConnectB3(0x2001);
    Open();
    // Our CONNECT_B3_REQ fails; the call stays up and the far end's
    // CONNECT_B3_IND brings the data phase.
    const int instance = Dial();
    EXPECT_TRUE(port->IsDataPhase(instance));
    EXPECT_EQ(CountPut(eCapiDisconnect, eCapiReq), 0);
    const std::uint8_t block[2] = {7, 8};
    ASSERT_EQ(port->SendData(instance, 2, block), 2);
    const auto back = owner.WaitFor(CAPIPORT_DATA);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->data, (Vec{7, 8}));
    EXPECT_EQ(owner.Pending(), std::vector<std::uint32_t>{});
}

TEST_F(CapiPortSim, ManyBlocksBothWaysArriveInOrder) {
    Open();
    const int instance = Dial();
    for (int i = 0; i < 50; ++i) {
        Vec block(1 + i * 20, static_cast<std::uint8_t>(i));
        int sent = -1;
        // The owner sends again once the window drained.
        while ((sent = port->SendData(instance, static_cast<std::uint32_t>(block.size()),
                                      block.data())) == -1)
            ASSERT_TRUE(owner.WaitFor(CAPIPORT_DATA_SENT).has_value());
        ASSERT_EQ(sent, static_cast<int>(block.size()));
        const auto back = owner.WaitFor(CAPIPORT_DATA);
        ASSERT_TRUE(back.has_value());
        ASSERT_EQ(back->data, block) << i;
    }
}

TEST_F(CapiPortSim, OrphanDataIndicationIsStillAnswered) {
    Open();
    const int instance = Dial();
    fakecapi::OrphanDataInd();
    EXPECT_TRUE(fakecapi::WaitAnswered(5000));
    EXPECT_EQ(CountPut(eCapiDataB3, eCapiResp), 1);
    EXPECT_TRUE(owner.Pending().empty());
    EXPECT_TRUE(port->IsDataPhase(instance));
}

TEST_F(CapiPortSim, QueueOverflowStillDeliversItsMessage) {
    Open();
    const int instance = Dial();
    fakecapi::OverflowNext();
    const std::uint8_t x = 'x';
    ASSERT_TRUE(fakecapi::BoxSend(&x, 1));
    const auto got = owner.WaitFor(CAPIPORT_DATA);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->data, Vec{'x'});
    EXPECT_EQ(got->instance, instance);
    EXPECT_TRUE(trace.Saw("LOST"));
}

TEST_F(CapiPortSim, GarbledMessagesAreDropped) {
    Open();
    const int instance = Dial();
    // A CONNECT_B3_CONF without its Info, a DATA_B3_IND cut in its Data64
    // field and a message of no known command: dropped, the DATA_B3_IND
    // still answered.
    fakecapi::InjectMessage(Bytes(eCapiConnectB3, eCapiConf, 0x7001).D(0x10101));
    fakecapi::InjectMessage(
        Bytes(eCapiDataB3, eCapiInd, 0x7002).D(0x10101).D(0).W(3).W(0x99).W(0).D(1));
    fakecapi::InjectMessage(Bytes(0x77, eCapiConf, 0x7003).D(1));
    ASSERT_TRUE(fakecapi::WaitAnswered(5000));
    EXPECT_TRUE(trace.Saw("PARSE ERROR"));
    const Vec last = fakecapi::PutLog().back();
    EXPECT_EQ(last[4], eCapiDataB3);
    EXPECT_EQ(last[5], eCapiResp);
    EXPECT_EQ(last[12] | (last[13] << 8), 0x99);
    EXPECT_TRUE(port->IsDataPhase(instance));
    EXPECT_TRUE(owner.Pending().empty());
}

TEST_F(CapiPortSim, ShutdownWithACallUpJoinsTheThreadWithinOneSecond) {
    Open();
    Dial();
    const auto start = std::chrono::steady_clock::now();
    port.reset();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, 1s);
    EXPECT_FALSE(fakecapi::GetRegistration().registered);
    EXPECT_EQ(fakecapi::CallCount(), 0);
    EXPECT_EQ(box.down.load(), 1);
    EXPECT_TRUE(trace.Saw("End CapiTask"));
}

TEST_F(CapiPortSim, MissingLibraryMakesEveryOperationMinus3AndTellsOnce) {
    port = std::make_unique<CapiPort>(owner, "libcapi20-missing-for-test.so.3");
    EXPECT_FALSE(port->IsRegistered());
    ASSERT_EQ(owner.unavailable.size(), 1u);
    EXPECT_EQ(owner.unavailable[0], CapiUnavailable::LibraryMissing);
    EXPECT_EQ(owner.unavailableDetail, "libcapi20-missing-for-test.so.3");
    const std::uint8_t b = 0;
    EXPECT_EQ(port->Connect(CallRecord()), -3);
    EXPECT_EQ(port->Listen(ListenRecord()), -3);
    EXPECT_EQ(port->SendData(1, 1, &b), -3);
    EXPECT_EQ(port->Disconnect(1), -3);
    EXPECT_EQ(owner.unavailable.size(), 1u);
    port.reset();
}

TEST_F(CapiPortSim, RefusedRegistrationMakesEveryOperationMinus3) {
    fakecapi::FailRegister(0x1009);
    port = std::make_unique<CapiPort>(owner, FAKECAPI_PATH);
    EXPECT_FALSE(port->IsRegistered());
    ASSERT_EQ(owner.unavailable.size(), 1u);
    EXPECT_EQ(owner.unavailable[0], CapiUnavailable::RegisterFailed);
    EXPECT_EQ(owner.unavailableInfo, 0x1009u);
    EXPECT_EQ(owner.unavailableDetail, FAKECAPI_PATH);
    EXPECT_EQ(port->Connect(CallRecord()), -3);
    EXPECT_EQ(port->Disconnect(1), -3);
    EXPECT_FALSE(trace.Saw("Start CapiTask"));
}

TEST_F(CapiPortSim, UnknownInstanceIsMinus2) {
    Open();
    const std::uint8_t b = 0;
    EXPECT_EQ(port->Disconnect(1), -2);
    EXPECT_EQ(port->SendData(2, 1, &b), -2);
    EXPECT_EQ(port->Disconnect(0), -2);
    EXPECT_TRUE(trace.Saw("DON'T PANIC! user-msg with no instance."));
}

TEST_F(CapiPortSim, SendingBeforeTheDataPhaseIsMinus2) {
    fakecapi::SetOutcome(fakecapi::CallOutcome::NoAnswer);
    Open();
    const int instance = port->Connect(CallRecord());
    ASSERT_TRUE(
        WaitUntil([&] { return port->GetConnectionState(instance) == eCapiStateOutgoing; }));
    const std::uint8_t b = 0;
    EXPECT_EQ(port->SendData(instance, 1, &b), -2);
    EXPECT_EQ(CountPut(eCapiDataB3, eCapiReq), 0);
}

} // namespace
