// The box core over a recording link and a clock moved by hand: what it
// keeps, what it answers to each block, and how it misbehaves on request.

#include "BoxCore.h"
#include "SimCommand.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace boxsim;

namespace {

class RecordingLink : public IBoxLink {
public:
    void SendBlock(const Bytes& block) override { sent.push_back(block); }
    bool Idle() const override { return true; }
    std::vector<Bytes> sent;
};

SimBlock Pc(uint8_t cmd, uint16_t number, Bytes data = {}, uint8_t channel = 0,
            uint16_t value = 0xFFFF) {
    SimBlock b;
    b.channel = channel;
    b.cmd = cmd;
    b.number = number;
    b.value = value;
    b.data = std::move(data);
    return b;
}

class BoxCoreTest : public ::testing::Test {
protected:
    BoxCoreTest() : timers([this] { return now; }), core(timers) {
        core.SetLink(&link);
        core.onEvent = [this](const std::string& l) { events.push_back(l); };
    }
    // One block as the PC sends it; the answers it caused.
    std::vector<SimBlock> Send(const SimBlock& b) {
        link.sent.clear();
        core.OnBlock(b.Encode(false));
        return Answers();
    }
    std::vector<SimBlock> Answers() const {
        std::vector<SimBlock> out;
        for (const Bytes& raw : link.sent) {
            EXPECT_EQ(raw[0] & kBoxChannelMark, kBoxChannelMark) << "the box marks its blocks";
            out.push_back(*SimBlock::Parse(raw));
        }
        return out;
    }
    void WriteConfiguration(const std::vector<Bytes>& packages) {
        for (size_t i = 0; i < packages.size(); ++i) {
            const uint8_t cmd = i == 0 ? kCmdDataFirst
                                       : (i + 1 == packages.size() ? kCmdDataEnd : kCmdData);
            Send(Pc(cmd, static_cast<uint16_t>(i), packages[i]));
        }
    }

    std::int64_t now = 1000;
    SimTimers timers;
    RecordingLink link;
    BoxCore core;
    std::vector<std::string> events;
};

// ---- One request, one answer ------------------------------------------------

struct AnswerRow {
    const char* name;
    SimBlock request;
    bool answered;
    uint8_t channel;
    uint8_t cmd;
    uint16_t number;
    uint16_t value;
    Bytes data;
};

void PrintTo(const AnswerRow& row, std::ostream* os) {
    *os << row.name;
}

class BoxCoreAnswers : public BoxCoreTest, public ::testing::WithParamInterface<AnswerRow> {};

const std::vector<Bytes> kThreePackages{{1, 2, 3}, {4, 5}, {6}};

Bytes EventLogBlock(size_t n) {
    const Bytes log = BoxCore::EventLogPattern();
    return Bytes(log.begin() + static_cast<long>(n * 1024),
                 log.begin() + static_cast<long>((n + 1) * 1024));
}

TEST_P(BoxCoreAnswers, ToAStoredConfigurationOfThreePackages) {
    WriteConfiguration(kThreePackages);
    const AnswerRow& row = GetParam();
    const auto answers = Send(row.request);
    if (!row.answered) {
        EXPECT_TRUE(answers.empty());
        return;
    }
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].channel, row.channel);
    EXPECT_EQ(answers[0].cmd, row.cmd);
    EXPECT_EQ(answers[0].number, row.number);
    EXPECT_EQ(answers[0].value, row.value);
    EXPECT_EQ(answers[0].data, row.data);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BoxCoreAnswers,
    ::testing::Values(
        AnswerRow{"FirstPackageWithItsCount", Pc(kCmdDataReq, 0), true, 0, kCmdDataFirst, 0, 3, {1, 2, 3}},
        AnswerRow{"MiddlePackage", Pc(kCmdDataReq, 1), true, 0, kCmdData, 1, 0xFFFF, {4, 5}},
        AnswerRow{"LastPackageEndsTheRead", Pc(kCmdDataReq, 2), true, 0, kCmdDataEnd, 2, 0xFFFF, {6}},
        AnswerRow{"BeyondTheEndIsAnEmptyEnd", Pc(kCmdDataReq, 9), true, 0, kCmdDataEnd, 9, 0xFFFF, {}},
        AnswerRow{"ResetIsAcknowledged", Pc(kCmdReset, 0xFFFF), true, 0, kCmdAck, 0xFFFF, 0xFFFF, {}},
        AnswerRow{"EventLogBlock", Pc(kCmdEvLogDataReq, 15, {}, kChannelEventLog), true,
                  kChannelEventLog, kCmdLogData, 15, 0xFFFF,
                  EventLogBlock(15)},
        AnswerRow{"NoSeventeenthEventLogBlock", Pc(kCmdEvLogDataReq, 16, {}, kChannelEventLog), false, 0, 0, 0, 0, {}},
        AnswerRow{"PackageAcknowledgedWithTheNextNumber", Pc(kCmdData, 3, {7}), true, 0, kCmdAck, 4, 0xFFFF, {}},
        AnswerRow{"PackageBeyondAGapIsNotTaken", Pc(kCmdData, 5, {7}), false, 0, 0, 0, 0, {}},
        AnswerRow{"UnknownChannelWithoutFeature", Pc(66, 0, {}, 3), false, 0, 0, 0, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The configuration ------------------------------------------------------

TEST_F(BoxCoreTest, KeepsThePackagesAsSentAndServesThemBackInOrder) {
    WriteConfiguration(kThreePackages);
    EXPECT_EQ(core.Packages(), kThreePackages);
    EXPECT_EQ(core.Configuration(), (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(events.back(), "ANSWER ch 0 cmd 8 block 3 len 0");
    EXPECT_NE(std::find(events.begin(), events.end(), "CONFIG packages 3 bytes 6"), events.end());
}

TEST_F(BoxCoreTest, PackageSentAgainTakesThePlaceOfTheFirstCopy) {
    Send(Pc(kCmdDataFirst, 0, {1}));
    Send(Pc(kCmdData, 1, {2}));
    Send(Pc(kCmdData, 1, {3}));
    const auto acks = Send(Pc(kCmdDataEnd, 2, {4}));
    EXPECT_EQ(core.Packages(), (std::vector<Bytes>{{1}, {3}, {4}}));
    ASSERT_EQ(acks.size(), 1u);
    EXPECT_EQ(acks[0].number, 3);
}

TEST_F(BoxCoreTest, NewFirstPackageStartsAFreshConfiguration) {
    WriteConfiguration(kThreePackages);
    Send(Pc(kCmdDataFirst, 0, {9}));
    EXPECT_EQ(core.Packages(), (std::vector<Bytes>{{9}}));
}

TEST_F(BoxCoreTest, SinglePackageIsReadAsAnEndAtBlockZero) {
    WriteConfiguration({{5, 5}});
    const auto a = Send(Pc(kCmdDataReq, 0));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].cmd, kCmdDataEnd);
    EXPECT_EQ(a[0].data, (Bytes{5, 5}));
}

TEST_F(BoxCoreTest, ResetKeepsTheConfiguration) {
    WriteConfiguration(kThreePackages);
    Send(Pc(kCmdReset, 0xFFFF));
    EXPECT_EQ(core.GetCounters().resets, 1);
    EXPECT_EQ(core.Packages(), kThreePackages);
}

TEST_F(BoxCoreTest, ImageLoadedIsCutIntoFullBlocks) {
    core.SetConfiguration(Bytes(2500, 0x11));
    ASSERT_EQ(core.Packages().size(), 3u);
    EXPECT_EQ(core.Packages()[2].size(), 452u);
}

TEST_F(BoxCoreTest, PackagesSetAreServedOneBlockEach) {
    core.SetPackages(kThreePackages);
    EXPECT_EQ(core.Packages(), kThreePackages);
    const uint8_t cmds[] = {kCmdDataFirst, kCmdData, kCmdDataEnd};
    for (uint16_t n = 0; n < 3; ++n) {
        const auto a = Send(Pc(kCmdDataReq, n));
        ASSERT_EQ(a.size(), 1u) << "block " << n;
        EXPECT_EQ(a[0].cmd, cmds[n]);
        EXPECT_EQ(a[0].number, n);
        EXPECT_EQ(a[0].data, kThreePackages[n]);
    }
}

TEST_F(BoxCoreTest, EventLogIsSixteenKilobytesOrRefused) {
    const Bytes pattern = BoxCore::EventLogPattern();
    ASSERT_EQ(pattern.size(), 16384u);
    // Every block starts with its own number.
    for (size_t n = 0; n < 16; ++n)
        EXPECT_EQ(pattern[n * 1024], n);
    EXPECT_FALSE(core.SetEventLog(Bytes(16383, 0)));
    EXPECT_EQ(core.EventLog(), pattern);
    EXPECT_TRUE(core.SetEventLog(Bytes(16384, 0xAA)));
}

TEST_F(BoxCoreTest, IdentificationOnTheSerialLinkIsABlock) {
    Send(Pc(kCmdKennung, 0, {'B', 'R', 'O', 'M', 'E', 'L', 0}));
    EXPECT_EQ(core.GetCounters().kennungen, 1);
    EXPECT_EQ(events.back(), "KENNUNG BROMEL");
}

TEST_F(BoxCoreTest, MalformedBlockIsReportedAndDropped) {
    link.sent.clear();
    core.OnBlock({0, 5, 0});
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(events.back(), "BADBLOCK len 3");
}

// ---- Misbehaviour -----------------------------------------------------------

TEST_F(BoxCoreTest, MutedBlocksAreDroppedAndChangeNothing) {
    core.SetMute(1);
    EXPECT_TRUE(Send(Pc(kCmdDataFirst, 0, {1})).empty());
    EXPECT_TRUE(core.Packages().empty());
    EXPECT_EQ(Send(Pc(kCmdDataFirst, 0, {1})).size(), 1u);
    core.SetMute(BoxCore::kAlways);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Send(Pc(kCmdDataReq, 0)).empty());
    EXPECT_EQ(core.GetCounters().muted, 4);
}

TEST_F(BoxCoreTest, BlockOfAGivenNumberIsDroppedOnce) {
    core.SetMuteBlock(1);
    EXPECT_EQ(Send(Pc(kCmdDataFirst, 0, {1})).size(), 1u);
    EXPECT_TRUE(Send(Pc(kCmdData, 1, {2})).empty());
    EXPECT_EQ(Send(Pc(kCmdData, 1, {2})).size(), 1u);
    EXPECT_EQ(core.GetCounters().muted, 1);
}

TEST_F(BoxCoreTest, DelayedAnswerWaitsForItsTime) {
    core.SetDelayMs(300);
    EXPECT_TRUE(Send(Pc(kCmdReset, 0xFFFF)).empty());
    EXPECT_FALSE(core.Idle());
    now += 299;
    timers.Run();
    EXPECT_TRUE(link.sent.empty());
    now += 1;
    timers.Run();
    EXPECT_EQ(Answers().size(), 1u);
    EXPECT_TRUE(core.Idle());
}

TEST_F(BoxCoreTest, WrongBlockNumbers) {
    core.SetWrongBlock(1);
    auto a = Send(Pc(kCmdDataFirst, 0, {1}));
    EXPECT_EQ(a.at(0).number, 0) << "the block's own number instead of the next";
    a = Send(Pc(kCmdDataEnd, 1, {2}));
    EXPECT_EQ(a.at(0).number, 2) << "only once";

    core.SetWrongBlock(1);
    a = Send(Pc(kCmdDataReq, 0));
    EXPECT_EQ(a.at(0).number, 1) << "a data block numbered as the next one";

    // Only the end of a read.
    core.SetWrongEnd(1);
    a = Send(Pc(kCmdDataReq, 0));
    EXPECT_EQ(a.at(0).number, 0);
    a = Send(Pc(kCmdDataReq, 1));
    EXPECT_EQ(a.at(0).cmd, kCmdDataEnd);
    EXPECT_EQ(a.at(0).number, 2);
    a = Send(Pc(kCmdDataReq, 1));
    EXPECT_EQ(a.at(0).number, 1);
}

// ---- Features -----------------------------------------------------------------

class EchoFeature : public IBoxFeature {
public:
    std::string Name() const override { return "echo"; }
    bool OnBlock(BoxCore& box, const SimBlock& block) override {
        if (block.channel != 3)
            return false;
        SimBlock answer = block;
        answer.data = {0x42};
        box.Answer(answer);
        return true;
    }
    bool OnCommand(BoxCore&, const std::string& cmd, const std::string& args,
                   std::string* reply) override {
        if (cmd != "echo")
            return false;
        *reply = "ECHO " + args;
        return true;
    }
    void OnReset(BoxCore&) override { ++resets; }
    int resets = 0;
};

TEST_F(BoxCoreTest, FeatureTakesWhatTheCoreDoesNotKnow) {
    auto feature = std::make_unique<EchoFeature>();
    EchoFeature* f = feature.get();
    core.AddFeature(std::move(feature));
    const auto a = Send(Pc(66, 7, {}, 3));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].data, Bytes{0x42});
    // The core's own commands stay the core's.
    EXPECT_EQ(Send(Pc(kCmdDataReq, 0)).at(0).cmd, kCmdDataEnd);
    Send(Pc(kCmdReset, 0xFFFF));
    EXPECT_EQ(f->resets, 1);
    std::string reply;
    EXPECT_TRUE(core.RunFeatureCommand("echo", "x", &reply));
    EXPECT_EQ(reply, "ECHO x");
    EXPECT_FALSE(core.RunFeatureCommand("other", "", &reply));
}

TEST(SimCount, ParsesCountsAlwaysAndOff) {
    EXPECT_EQ(ParseCount(""), 1);
    EXPECT_EQ(ParseCount("3"), 3);
    EXPECT_EQ(ParseCount("always"), BoxCore::kAlways);
    EXPECT_EQ(ParseCount("off"), 0);
    EXPECT_FALSE(ParseCount("-2"));
    EXPECT_FALSE(ParseCount("x"));
}

} // namespace
