// The transfer engine on the direct serial port end to end: the box
// simulator behind a pseudo-terminal takes the configuration and serves it
// back, also when its answers are spoilt, split or wrapped in garbage; a
// silent box costs exactly its three tries and their time-outs.

#include "BlockProtocolDefs.h"
#include "ComEngineRig.h"
#include "ITransferExtension.h"
#include "TTkDataMsg.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

TEST(ComTransfer, DefaultConfigurationGoesOutAndComesBackByteIdentical) {
    ComEngineRig rig;
    const std::vector<Bytes> packages = DefaultConfigPackages();
    ASSERT_GT(packages.size(), 2u);
    ASSERT_TRUE(rig.Send(packages));
    EXPECT_EQ(rig.owner.packages, packages); // sent from copies: nothing changed
    EXPECT_EQ(rig.BoxPackages(), packages);
    EXPECT_EQ(rig.box.CommandsIn(eEvConfDataFirst), 1);
    EXPECT_EQ(rig.box.CommandsIn(eEvConfDataEnd), 1);

    Bytes image;
    ASSERT_TRUE(rig.Read(image, 32768));
    EXPECT_EQ(image, Concat(packages));
}

// What the box's line does to its answers.
struct LineFaults {
    int badCrcAnswers = 0;       // this many answers go out with a spoilt CRC
    int cutOffAnswers = 0;       // this many answers stop half-way (then sent whole)
    bool byteByByte = false;     // every byte in a write of its own
    bool garbageBetween = false; // bytes outside frames before every answer
};

struct FaultCase {
    const char* name;
    LineFaults faults;
};

void SetLineFaults(ComEngineRig& rig, const LineFaults& f) {
    rig.box.With([&](boxsim::BoxSimulator& sim) {
        boxsim::BoxV24Link& line = *sim.V24();
        line.SetBadCrc(f.badCrcAnswers);
        line.SetCutOff(f.cutOffAnswers);
        line.SetSplit(f.byteByByte ? boxsim::kAlways : 0, 1);
        line.SetGarbage(f.garbageBetween ? boxsim::kAlways : 0);
    });
}

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class FaultyBox : public testing::TestWithParam<FaultCase> {};

// The first answer of each exchange is the spoilt one; the engine's retry
// (or the scanner's resync) must still end with the same bytes.
TEST_P(FaultyBox, ConfigurationStillRoundTrips) {
    ComEngineRig rig;
    const std::vector<Bytes> packages = DefaultConfigPackages();
    SetLineFaults(rig, GetParam().faults);
    ASSERT_TRUE(rig.Send(packages));
    EXPECT_EQ(rig.BoxPackages(), packages);
    SetLineFaults(rig, GetParam().faults);
    Bytes image;
    ASSERT_TRUE(rig.Read(image, 32768));
    EXPECT_EQ(image, Concat(packages));
}

INSTANTIATE_TEST_SUITE_P(V24, FaultyBox,
                         testing::Values(FaultCase{"BadCrcOnce", {.badCrcAnswers = 1}},
                                         FaultCase{"BadCrcTwice", {.badCrcAnswers = 2}},
                                         FaultCase{"CutOffOnce", {.cutOffAnswers = 1}},
                                         FaultCase{"ByteByByte", {.byteByByte = true}},
                                         FaultCase{"GarbageBetweenFrames",
                                                   {.garbageBetween = true}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ComTransfer, ThreeSpoiltAnswersInARowFail) {
    ComEngineRig rig;
    rig.SetBoxPackages(DefaultConfigPackages());
    SetLineFaults(rig, {.badCrcAnswers = 3});
    Bytes image;
    EXPECT_FALSE(rig.Read(image, 32768));
    EXPECT_EQ(rig.owner.results, std::vector<int>{0});
    EXPECT_EQ(rig.box.CommandsIn(eEvConfDataReq), 3);
}

TEST(ComTransfer, ResetIsAcknowledged) {
    ComEngineRig rig;
    EXPECT_TRUE(rig.Reset());
    EXPECT_EQ(rig.box.CommandsIn(eEvConfReset), 1);
}

TEST(ComTransfer, EventLogIsSixteenBlocks) {
    ComEngineRig rig;
    Bytes log;
    ASSERT_TRUE(rig.ReadEventLog(log));
    EXPECT_EQ(log, rig.box.With([](boxsim::BoxSimulator& s) { return s.Core().EventLog(); }));
    EXPECT_EQ(rig.box.CommandsIn(eEvConfEvLogDataReq), 16);
}

// ---- A silent box ------------------------------------------------------------

struct SilentCase {
    const char* name;
    int mode;
    std::uint8_t request;
    std::uint32_t timeoutMs;
};

void PrintTo(const SilentCase& c, std::ostream* os) {
    *os << c.name;
}

class SilentBox : public testing::TestWithParam<SilentCase> {};

TEST_P(SilentBox, FailsAfterThreeTries) {
    const SilentCase& c = GetParam();
    ComEngineRig rig;
    rig.box.With([](boxsim::BoxSimulator& s) { s.Core().SetMute(boxsim::kAlways); });
    Bytes buffer(32768, 0);
    const std::vector<Bytes> packages = DefaultConfigPackages();
    if (c.mode == eSendAnlDaten) {
        rig.owner.packages = packages;
        rig.owner.Send();
    } else {
        rig.engine.SetTransferData(c.mode, buffer.data(), 16384);
        rig.engine.StartTransfer();
    }
    for (int tries = 1; tries <= kMaxBlockTries; ++tries) {
        ASSERT_TRUE(rig.box.WaitForCommand(c.request, tries));
        // One millisecond short of the time-out nothing happens.
        rig.clock.Advance(c.timeoutMs - 1);
        rig.engine.Poll();
        EXPECT_TRUE(rig.owner.results.empty());
        EXPECT_EQ(rig.box.CommandsIn(c.request), tries);
        rig.clock.Advance(1);
        rig.engine.Poll();
    }
    EXPECT_EQ(rig.owner.results, std::vector<int>{0});
    EXPECT_EQ(rig.box.CommandsIn(c.request), kMaxBlockTries);
    EXPECT_FALSE(rig.engine.IsRunning());
}

INSTANTIATE_TEST_SUITE_P(
    V24, SilentBox,
    testing::Values(
        SilentCase{"ReadConfiguration", eReceiveAnlDaten, eEvConfDataReq, kTimeoutDataReqMs},
        SilentCase{"SendConfiguration", eSendAnlDaten, eEvConfDataFirst, kTimeoutSendBlockMs},
        SilentCase{"Reset", eSendReset, eEvConfReset, kTimeoutResetMs},
        SilentCase{"EventLog", eReceiveEventLog, eEvConfEvLogDataReq, kTimeoutDataReqMs}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The link between transfers ------------------------------------------------

class ProgRecorder : public ITransferExtension {
public:
    void WorkOnProgData(const TTkDataMsg* pMsg) override {
        if (pMsg && pMsg->GetProt() == eProtProg)
            progCmds.push_back(pMsg->GetProgCmd());
    }
    std::vector<int> progCmds;
};

TEST(ComTransfer, UnaskedProgrammingMessageReachesTheIdleController) {
    ComEngineRig rig;
    ProgRecorder ext;
    rig.engine.SetExtension(&ext);
    const Bytes prog{0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x41, 0x00, 0x05, 0x00, 0x07};
    rig.box.SendBlock(prog);
    ASSERT_TRUE(rig.notices.RunUntilData());
    EXPECT_EQ(ext.progCmds, std::vector<int>{0x41});
    rig.engine.SetExtension(nullptr);
}

TEST(ComTransfer, ConnectedOnlyWhileThePortIsOpen) {
    ComEngineRig rig;
    std::string text;
    EXPECT_TRUE(rig.engine.IsConnected());
    EXPECT_TRUE(rig.engine.GetConnectionText(text));
    EXPECT_EQ(text, "via COM-Port");
    // The identification went out when the port opened.
    EXPECT_TRUE(rig.box.WaitForCommand(eEvConfKennung, 1));

    rig.box.HangUp();
    // The first send after the line is gone fails the run at once.
    Bytes buffer;
    EXPECT_FALSE(rig.Read(buffer, 32768));
    EXPECT_EQ(rig.owner.results, std::vector<int>{0});
    EXPECT_FALSE(rig.engine.IsConnected());
    EXPECT_FALSE(rig.engine.GetConnectionText(text));
    EXPECT_EQ(text, "no connection!");
}

TEST(ComTransfer, PortThatDidNotOpenIsNotConnected) {
    TestSettingsFile temp{"transfer-com"};
    temp.MapCom(3, "/nonexistent/ttyUSB7");
    FakeClock clock;
    FakeSettings settings;
    settings.comPort = 7;
    ComNoticeQueue notices;
    ComPortFactory factory(notices);
    TDataTransferEngine engine(clock, settings, factory);
    PackageOwner owner(engine);
    engine.SetOwner(&owner);
    engine.UpdatePort();
    EXPECT_EQ(notices.OpenErrors(), 1);
    EXPECT_FALSE(engine.IsConnected());
    Bytes buffer(32768);
    engine.SetTransferData(eReceiveAnlDaten, buffer.data(), 32768);
    engine.StartTransfer();
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

TEST(ComTransfer, AnotherComSettingReopensOnItsDevice) {
    ComEngineRig rig(5);
    ASSERT_TRUE(rig.box.WaitForCommand(eEvConfKennung, 1));
    boxsim::BoxSimThread second;
    rig.temp.MapCom(2, second.PtyPath());
    rig.settings.comPort = 6;
    EXPECT_TRUE(rig.engine.UpdatePort());
    EXPECT_EQ(rig.Port()->GetComNumber(), 2);
    EXPECT_TRUE(second.WaitForCommand(eEvConfKennung, 1));
    EXPECT_TRUE(rig.Reset());
    EXPECT_EQ(second.CommandsIn(eEvConfReset), 1);
    EXPECT_EQ(rig.box.CommandsIn(eEvConfReset), 0);
}

} // namespace
