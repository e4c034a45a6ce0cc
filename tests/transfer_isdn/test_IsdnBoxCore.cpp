// The ISDN link end to end against the box simulator's core: the real
// engine and ISDN port through the fake CAPI library, with the same box core
// as on the bus at the far end of the call, so what the program writes over
// ISDN is what that box keeps and serves back.

#include "IsdnEngineRig.h"

#include "BoxCapiLink.h"
#include "ComEngineRig.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

// The rig with the box core plugged in for its calls; the core outlives the
// engine and the port.
struct CoreRig {
    CoreRig() { fakecapi::SetBox(&core); }
    boxsim::BoxCapiLink core;
    IsdnEngineRig rig; // plugs in its own box; the constructor's body replaces it
};

TEST(IsdnBoxCore, DialWriteReadBackByteIdenticalHangUp) {
    CoreRig r;
    IsdnEngineRig& rig = r.rig;
    ASSERT_TRUE(rig.DialUp());
    EXPECT_EQ(r.core.CallsUp(), 1);

    const std::vector<Bytes> packages = DefaultConfigPackages();
    ASSERT_GT(packages.size(), 2u);
    ASSERT_TRUE(rig.Send(packages));
    EXPECT_EQ(r.core.WithCore([](boxsim::BoxCore& c) { return c.Packages(); }), packages);
    EXPECT_EQ(r.core.WithCore([](boxsim::BoxCore& c) { return c.GetCounters().kennungen; }), 0)
        << "no identification on ISDN";

    Bytes image;
    ASSERT_TRUE(rig.Read(image, 32768));
    EXPECT_EQ(image, Concat(packages));
    EXPECT_EQ(rig.owner->results, (std::vector<int>{1, 1}));
    EXPECT_EQ(r.core.AnswersLost(), 0);

    rig.engine->Disconnect();
    ASSERT_EQ(rig.owner->disconnects.size(), 1u);
    EXPECT_EQ(rig.owner->disconnects[0].info.kind, CapiDisconnectKind::Local);
    EXPECT_FALSE(rig.engine->IsConnected());
    ASSERT_TRUE(r.core.WaitForCallsDown(1));
    // The configuration stays with the box after the call.
    EXPECT_EQ(r.core.WithCore([](boxsim::BoxCore& c) { return c.Configuration(); }),
              Concat(packages));
}

TEST(IsdnBoxCore, LateAnswersOfTheCoreStillArrive) {
    // The core's answers leave from its timer thread, not inside the PC's
    // send: the port must take data indications at any time of the call.
    CoreRig r;
    IsdnEngineRig& rig = r.rig;
    const std::vector<Bytes> packages = DefaultConfigPackages();
    r.core.WithCore([](boxsim::BoxCore& c) {
        c.SetDelayMs(5);
        return 0;
    });
    ASSERT_TRUE(rig.DialUp());
    ASSERT_TRUE(rig.Send(packages));
    Bytes image;
    ASSERT_TRUE(rig.Read(image, 32768));
    EXPECT_EQ(image, Concat(packages));
    rig.engine->Disconnect();
    ASSERT_TRUE(r.core.WaitForCallsDown(1));
}

struct CoreHangUpRow {
    const char* name;
    int mode;
    int atBlock; // the PC's block (1 the first) the far end hangs up at

    friend void PrintTo(const CoreHangUpRow& row, std::ostream* os) { *os << row.name; }
};

class IsdnBoxCoreHangUp : public testing::TestWithParam<CoreHangUpRow> {};

TEST_P(IsdnBoxCoreHangUp, EndsTheRunOnceWithFailure) {
    CoreRig r;
    IsdnEngineRig& rig = r.rig;
    const std::vector<Bytes> packages = DefaultConfigPackages();
    ASSERT_GT(packages.size(), static_cast<std::size_t>(GetParam().atBlock));
    ASSERT_TRUE(rig.DialUp());
    // The box holds the configuration of an earlier write, package by
    // package, so a read takes as many blocks as the write did.
    std::vector<Bytes> onTheBox = packages;
    for (Bytes& p : onTheBox)
        for (std::uint8_t& b : p)
            b = static_cast<std::uint8_t>(b ^ 0x5A); // tells the box's copy from the PC's
    ASSERT_TRUE(rig.Send(onTheBox));
    rig.owner->results.clear();
    const int blocksBefore = r.core.BlocksReceived();
    r.core.SetHangUpAtBlock(GetParam().atBlock);

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
    EXPECT_EQ(rig.owner->disconnects[0].info.reasonText, "Verbindung unterbrochen");
    EXPECT_FALSE(rig.engine->IsConnected());
    for (int i = 0; i < 4; ++i) {
        rig.clock.Advance(kTimeoutSendBlockMs + kTimeoutDataReqMs);
        rig.engine->Poll();
    }
    EXPECT_EQ(rig.owner->results, std::vector<int>{0}) << "one result only";
    EXPECT_EQ(r.core.BlocksReceived() - blocksBefore, GetParam().atBlock);
    if (GetParam().mode == eSendAnlDaten) {
        EXPECT_EQ(rig.owner->packages, packages);
        // The box took the blocks before the hang-up and nothing after; the
        // packages the PC sent from stay as they were.
        const auto kept = r.core.WithCore([](boxsim::BoxCore& c) { return c.Packages(); });
        EXPECT_EQ(kept.size(), static_cast<std::size_t>(GetParam().atBlock - 1));
    } else {
        // The blocks before the hang-up came from the box's copy; the
        // caller drops a failed read as a whole. A read changes nothing on
        // the box.
        const std::size_t got = onTheBox[0].size() + onTheBox[1].size();
        ASSERT_EQ(rig.engine->GetReceivedLen(), got);
        Bytes firstTwo = onTheBox[0];
        firstTwo.insert(firstTwo.end(), onTheBox[1].begin(), onTheBox[1].end());
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + static_cast<long>(got)), firstTwo);
        EXPECT_EQ(r.core.WithCore([](boxsim::BoxCore& c) { return c.Packages(); }), onTheBox);
    }
}

INSTANTIATE_TEST_SUITE_P(MidTransfer, IsdnBoxCoreHangUp,
                         testing::Values(CoreHangUpRow{"WhileWriting", eSendAnlDaten, 3},
                                         CoreHangUpRow{"WhileReading", eReceiveAnlDaten, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
