// The transfer controller on the ISDN link end to end: the real engine and
// ISDN port through the fake CAPI library, which plays the network and
// checks every message the port puts, with the box simulator's core at the
// far end of the call: the same box as on the bus, so what the program
// writes over ISDN is what that box keeps and serves back.

#include "IsdnEngineRig.h"

#include "BlockProtocolDefs.h"
#include "CapiDefs.h"
#include "ComEngineRig.h"
#include "FakeCapiLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <thread>

namespace {

// Calls the network holds, once it has settled (the port answers on its
// receive thread).
bool WaitForCalls(int n) {
    const auto end = std::chrono::steady_clock::now() + kIsdnGuard;
    while (fakecapi::CallCount() != n) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

std::vector<Bytes> BoxPackages(IsdnEngineRig& rig) {
    return rig.box.WithCore([](boxsim::BoxCore& c) { return c.Packages(); });
}

TEST(IsdnTransfer, DialWriteReadBackByteIdenticalHangUp) {
    IsdnEngineRig rig;
    ASSERT_TRUE(rig.DialUp());
    EXPECT_EQ(rig.box.CallsUp(), 1);
    std::string text;
    EXPECT_TRUE(rig.engine->GetConnectionText(text));
    EXPECT_EQ(text, "via capi");

    const std::vector<Bytes> packages = DefaultConfigPackages();
    ASSERT_GT(packages.size(), 2u);
    ASSERT_TRUE(rig.Send(packages));
    EXPECT_EQ(rig.owner->packages, packages); // sent from copies: nothing changed
    EXPECT_EQ(BoxPackages(rig), packages);
    EXPECT_EQ(rig.box.WithCore([](boxsim::BoxCore& c) { return c.GetCounters().kennungen; }), 0)
        << "no identification on ISDN";

    Bytes image;
    ASSERT_TRUE(rig.Read(image, 32768));
    EXPECT_EQ(image, Concat(packages));
    EXPECT_EQ(rig.owner->results, (std::vector<int>{1, 1}));
    EXPECT_EQ(rig.box.AnswersLost(), 0);

    rig.engine->Disconnect();
    ASSERT_EQ(rig.owner->disconnects.size(), 1u);
    EXPECT_EQ(rig.owner->disconnects[0].instance, 0);
    EXPECT_EQ(rig.owner->disconnects[0].info.kind, CapiDisconnectKind::Local);
    EXPECT_FALSE(rig.engine->IsConnected());
    ASSERT_TRUE(rig.box.WaitForCallsDown(1));
    EXPECT_TRUE(WaitForCalls(0));
    // The port's own report of the cleared call is not a second notice;
    // waited for itself, so the check never runs before it came.
    ASSERT_TRUE(rig.PumpUntilReports(CAPIPORT_DISCONNECT, 1));
    EXPECT_EQ(rig.owner->disconnects.size(), 1u);
    // The configuration stays with the box after the call.
    EXPECT_EQ(rig.box.WithCore([](boxsim::BoxCore& c) { return c.Configuration(); }),
              Concat(packages));
}

TEST(IsdnTransfer, LateAnswersOfTheBoxStillArrive) {
    // The box's answers leave from its timer thread, not inside the PC's
    // send: the port must take data indications at any time of the call.
    IsdnEngineRig rig;
    const std::vector<Bytes> packages = DefaultConfigPackages();
    rig.box.WithCore([](boxsim::BoxCore& c) {
        c.SetDelayMs(5);
        return 0;
    });
    ASSERT_TRUE(rig.DialUp());
    ASSERT_TRUE(rig.Send(packages));
    Bytes image;
    ASSERT_TRUE(rig.Read(image, 32768));
    EXPECT_EQ(image, Concat(packages));
    rig.engine->Disconnect();
    ASSERT_TRUE(rig.box.WaitForCallsDown(1));
}

TEST(IsdnTransfer, EventLogAndResetOverTheCall) {
    IsdnEngineRig rig;
    ASSERT_TRUE(rig.DialUp());
    Bytes log(16384, 0);
    rig.engine->SetTransferData(eReceiveEventLog, log.data(), 16384);
    rig.engine->StartTransfer();
    ASSERT_TRUE(rig.PumpUntilResults(1));
    EXPECT_EQ(rig.owner->results.back(), 1);
    const Bytes boxLog = rig.box.WithCore([](boxsim::BoxCore& c) { return c.EventLog(); });
    EXPECT_EQ(Bytes(log.begin(), log.begin() + 1024), Bytes(boxLog.begin(), boxLog.begin() + 1024));
    EXPECT_EQ(Bytes(log.end() - 1024, log.end()), Bytes(boxLog.end() - 1024, boxLog.end()));
    EXPECT_EQ(log, boxLog);

    Bytes dummy(255, 0);
    rig.engine->SetTransferData(eSendReset, dummy.data(), 255);
    rig.engine->StartTransfer();
    ASSERT_TRUE(rig.PumpUntilResults(2));
    EXPECT_EQ(rig.owner->results.back(), 1);
    EXPECT_EQ(rig.box.WithCore([](boxsim::BoxCore& c) { return c.GetCounters().resets; }), 1);
}

struct FailedCallRow {
    const char* name;
    fakecapi::CallOutcome outcome;
    CapiDisconnectKind kind;
    const char* text;

    friend void PrintTo(const FailedCallRow& r, std::ostream* os) { *os << r.name; }
};

class FailedCall : public testing::TestWithParam<FailedCallRow> {};

TEST_P(FailedCall, EndsWithAClearMessageAndNoLink) {
    IsdnEngineRig rig;
    fakecapi::SetOutcome(GetParam().outcome);
    const int instance = rig.engine->Connect("0891234567");
    ASSERT_GT(instance, 0);
    ASSERT_TRUE(rig.PumpUntilDisconnects(1));
    const IsdnOwner::Disconnect& d = rig.owner->disconnects[0];
    EXPECT_EQ(d.instance, instance);
    EXPECT_EQ(d.info.kind, GetParam().kind);
    EXPECT_EQ(d.info.reasonText, GetParam().text);
    EXPECT_TRUE(rig.owner->active.empty());
    EXPECT_EQ(rig.engine->GetIsdnInstance(), 0);
    EXPECT_FALSE(rig.engine->IsConnected());
    EXPECT_TRUE(WaitForCalls(0));

    // Nothing to send on: a transfer fails at once, with its one result.
    Bytes buffer(32768, 0);
    rig.engine->SetTransferData(eReceiveAnlDaten, buffer.data(), 32768);
    rig.engine->StartTransfer();
    EXPECT_EQ(rig.owner->results, std::vector<int>{0});
    EXPECT_EQ(CountPut(eCapiDataB3, eCapiReq), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Network, FailedCall,
    testing::Values(FailedCallRow{"Busy", fakecapi::CallOutcome::Busy, CapiDisconnectKind::Remote,
                                  "participant occupied"},
                    FailedCallRow{"Refused", fakecapi::CallOutcome::Refused,
                                  CapiDisconnectKind::Remote,
                                  "Ruf zur\xFC"
                                  "ckgewiesen"},
                    FailedCallRow{"RefusedByTheController", fakecapi::CallOutcome::ConfError,
                                  CapiDisconnectKind::Refused, "Out of PLCI"}),
    [](const auto& info) { return std::string(info.param.name); });

struct HangUpRow {
    const char* name;
    int mode;
    int atBlock; // the PC's block (1 the first) the far end hangs up at instead of answering

    friend void PrintTo(const HangUpRow& r, std::ostream* os) { *os << r.name; }
};

class RemoteHangUp : public testing::TestWithParam<HangUpRow> {};

TEST_P(RemoteHangUp, EndsTheRunOnceWithFailure) {
    IsdnEngineRig rig;
    const std::vector<Bytes> packages = DefaultConfigPackages();
    ASSERT_GT(packages.size(), static_cast<std::size_t>(GetParam().atBlock));
    // The box holds the configuration of an earlier write, package by
    // package, so a read takes as many blocks as the write did; its bytes
    // tell the box's copy from the PC's.
    std::vector<Bytes> onTheBox = packages;
    for (Bytes& p : onTheBox)
        for (std::uint8_t& b : p)
            b = static_cast<std::uint8_t>(b ^ 0x5A);
    rig.box.WithCore([&](boxsim::BoxCore& c) {
        c.SetPackages(onTheBox);
        return 0;
    });
    ASSERT_TRUE(rig.DialUp());
    const int blocksBefore = rig.box.BlocksReceived();
    EXPECT_EQ(blocksBefore, 0) << "nothing goes over the call before the run";
    rig.box.SetHangUpAtBlock(GetParam().atBlock);

    Bytes buffer(32768, 0);
    if (GetParam().mode == eSendAnlDaten) {
        rig.owner->packages = packages;
        rig.owner->Send();
    } else {
        rig.engine->SetTransferData(eReceiveAnlDaten, buffer.data(), 32768);
        rig.engine->StartTransfer();
    }
    ASSERT_TRUE(rig.PumpUntilDisconnects(1));
    EXPECT_EQ(rig.owner->results, std::vector<int>{0});
    EXPECT_EQ(rig.owner->disconnects[0].info.kind, CapiDisconnectKind::Remote);
    EXPECT_EQ(rig.owner->disconnects[0].info.wReason, 0x34A9);
    EXPECT_EQ(rig.owner->disconnects[0].info.reasonText, "Verbindung unterbrochen");
    EXPECT_FALSE(rig.engine->IsConnected());
    // However long nobody answers, no second result follows.
    for (int i = 0; i < 4; ++i) {
        rig.clock.Advance(kTimeoutSendBlockMs + kTimeoutDataReqMs);
        rig.engine->Poll();
    }
    EXPECT_EQ(rig.owner->results, std::vector<int>{0}) << "one result only";
    EXPECT_EQ(rig.box.BlocksReceived() - blocksBefore, GetParam().atBlock);
    if (GetParam().mode == eSendAnlDaten) {
        EXPECT_EQ(rig.owner->packages, packages);
        // The box took the blocks before the hang-up and nothing after; the
        // packages the PC sent from stay as they were.
        EXPECT_EQ(BoxPackages(rig).size(), static_cast<std::size_t>(GetParam().atBlock - 1));
    } else {
        // The blocks before the hang-up arrived, from the box's copy; the
        // caller drops a failed read as a whole. A read changes nothing on
        // the box.
        const std::size_t got = onTheBox[0].size() + onTheBox[1].size();
        EXPECT_EQ(got, packages[0].size() + packages[1].size());
        ASSERT_EQ(rig.engine->GetReceivedLen(), got);
        Bytes firstTwo = onTheBox[0];
        firstTwo.insert(firstTwo.end(), onTheBox[1].begin(), onTheBox[1].end());
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + static_cast<long>(got)), firstTwo);
        EXPECT_EQ(BoxPackages(rig), onTheBox);
    }
}

INSTANTIATE_TEST_SUITE_P(MidTransfer, RemoteHangUp,
                         testing::Values(HangUpRow{"WhileWriting", eSendAnlDaten, 3},
                                         HangUpRow{"WhileReading", eReceiveAnlDaten, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IsdnTransfer, IncomingCallIsAnnouncedAndRefused) {
    IsdnEngineRig rig;
    // The port listens for data calls only: a voice call never reaches it.
    EXPECT_FALSE(fakecapi::IncomingCall("301234", "4711", 16));
    ASSERT_TRUE(fakecapi::IncomingCall("301234", "4711", 2, 0x21));
    ASSERT_TRUE(rig.PumpUntil([&] { return !rig.owner->connects.empty(); }));
    const IsdnOwner::Connect& c = rig.owner->connects[0];
    EXPECT_GT(c.instance, 0);
    EXPECT_STREQ(c.info.GetCallingPartyNumber(), "301234");
    EXPECT_STREQ(c.info.GetCalledPartyNumber(), "4711");
    EXPECT_EQ(c.info.bCallingType, 0x21);
    EXPECT_EQ(c.info.bServiceSelector, 3);
    EXPECT_FALSE(rig.engine->IsConnected()) << "a ringing call is no link";

    rig.engine->Disconnect();
    ASSERT_EQ(rig.owner->disconnects.size(), 1u);
    EXPECT_EQ(rig.owner->disconnects[0].info.kind, CapiDisconnectKind::Local);
    EXPECT_TRUE(WaitForCalls(0));
    // Refused, never accepted: the answer to the call rejects it.
    bool rejected = false;
    for (const auto& m : fakecapi::PutLog())
        if (m[4] == eCapiConnect && m[5] == eCapiResp)
            rejected = m.size() >= 14 && (m[12] | m[13] << 8) != 0;
    EXPECT_TRUE(rejected);
    EXPECT_EQ(CountPut(eCapiConnectB3, eCapiReq), 0);
    EXPECT_EQ(rig.box.CallsUp(), 0);
}

TEST(IsdnTransfer, CallFromOurOwnNumberIsLeftRingingUnannounced) {
    IsdnEngineRig rig;
    ASSERT_TRUE(fakecapi::IncomingCall("4711", "4711", 2));
    const std::optional<CapiPortMessage> ring = rig.queue.Pop();
    ASSERT_TRUE(ring.has_value());
    EXPECT_EQ(ring->id, CAPIPORT_CONNECT);
    rig.engine->OnCapiMessage(*ring);
    EXPECT_TRUE(rig.owner->connects.empty());
    // Not answered: the call still rings, and our own dial still goes out.
    EXPECT_EQ(CountPut(eCapiConnect, eCapiResp), 0);
    EXPECT_EQ(fakecapi::CallCount(), 1);
    ASSERT_TRUE(rig.DialUp());
    EXPECT_EQ(CountPut(eCapiConnect, eCapiResp), 0);
}

TEST(IsdnTransfer, ShutdownWithACallUpJoinsTheThreadWithinOneSecond) {
    IsdnEngineRig rig;
    ASSERT_TRUE(rig.DialUp());
    const auto start = std::chrono::steady_clock::now();
    rig.engine.reset();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_FALSE(fakecapi::GetRegistration().registered);
    EXPECT_EQ(fakecapi::CallCount(), 0);
}

} // namespace
