// The box's 'C' telegram layer over a recording front-end: blocks of the PC
// reassembled from telegrams numbered low byte first, the box's blocks cut
// into telegrams numbered high byte first, stop-and-wait, and the
// misbehaviour at this level.

#include "BoxBusLink.h"
#include "SimHex.h"

#include <gtest/gtest.h>

using namespace boxsim;

namespace {

class RecordingOut : public ITelegramOut {
public:
    void Queue(OutTelegram t) override { queued.push_back(std::move(t)); }
    bool Idle() const override { return queued.empty(); }
    // The PC acknowledges the oldest queued telegram at link level.
    Bytes Take(int answer = kAck) {
        EXPECT_FALSE(queued.empty());
        if (queued.empty())
            return {};
        OutTelegram t = std::move(queued.front());
        queued.erase(queued.begin());
        if (t.onDone)
            t.onDone(answer);
        return t.bytes;
    }
    std::vector<OutTelegram> queued;
};

// A 'C' telegram as the PC builds it: number low byte first.
Bytes PcTele(uint8_t sub, uint16_t n, const Bytes& data = {}, bool withLen = true) {
    Bytes t{0x70, 0x43, 0xF0, sub, static_cast<uint8_t>(n & 0xFF), static_cast<uint8_t>(n >> 8)};
    if (withLen) {
        t.push_back(static_cast<uint8_t>(data.size()));
        t.insert(t.end(), data.begin(), data.end());
    }
    return t;
}

class BoxBusLinkTest : public ::testing::Test {
protected:
    BoxBusLinkTest() : timers([this] { return now; }), core(timers), link(out, core, timers) {
        core.SetLink(&link);
        core.onEvent = [this](const std::string& l) { events.push_back(l); };
    }
    bool Saw(const std::string& line) const {
        return std::find(events.begin(), events.end(), line) != events.end();
    }

    std::int64_t now = 0;
    SimTimers timers;
    RecordingOut out;
    BoxCore core;
    BoxBusLink link;
    std::vector<std::string> events;
};

TEST_F(BoxBusLinkTest, BlockOfThePcIsReassembledAndEachTelegramAcknowledgedWithTheNextNumber) {
    // A package of 20 bytes: a 26-byte block, DataFirst 16 + DataEnd 10.
    Bytes block{0, kCmdDataFirst, 0, 0, 0, 1};
    for (uint8_t i = 0; i < 20; ++i)
        block.push_back(i);
    link.OnTelegram(PcTele(kSubDataFirst, 0, Bytes(block.begin(), block.begin() + 16)));
    EXPECT_EQ(HexBytes(out.Take()), "F0 43 70 03 00 01");
    link.OnTelegram(PcTele(kSubDataEnd, 1, Bytes(block.begin() + 16, block.end())));
    EXPECT_EQ(HexBytes(out.Take()), "F0 43 70 03 00 02");
    ASSERT_EQ(core.Packages().size(), 1u);
    EXPECT_EQ(core.Packages()[0], Bytes(block.begin() + 6, block.end()));
    // The box's acknowledgement of the block follows as a block of its own.
    EXPECT_EQ(HexBytes(out.Take()), "F0 43 70 00 00 00 06 80 08 00 01 FF FF");
}

TEST_F(BoxBusLinkTest, BoxBlockIsCutIntoTelegramsSentOneAfterTheOther) {
    // 40 bytes: DataFirst 16 (number 0), Data 16 (1), DataEnd 8 (2).
    Bytes block(40);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i);
    link.SendBlock(block);
    ASSERT_EQ(out.queued.size(), 1u);
    Bytes t = out.Take();
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 7), (Bytes{0xF0, 0x43, 0x70, 0, 0, 0, 16}));
    EXPECT_TRUE(out.queued.empty()) << "the next waits for the PC's acknowledgement";
    EXPECT_FALSE(link.Idle());
    link.OnTelegram(PcTele(kSubAck, 1, {}, false));
    t = out.Take();
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 7), (Bytes{0xF0, 0x43, 0x70, 1, 0, 1, 16}));
    link.OnTelegram(PcTele(kSubAck, 2, {}, false));
    t = out.Take();
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 7), (Bytes{0xF0, 0x43, 0x70, 2, 0, 2, 8}));
    EXPECT_EQ(t.size(), 15u);
    link.OnTelegram(PcTele(kSubAck, 3, {}, false));
    EXPECT_TRUE(link.Idle());
}

TEST_F(BoxBusLinkTest, NumbersBeyond255AreWrittenHighByteFirstAndReadLowByteFirst) {
    Bytes block(16 * 300, 0x55);
    link.SendBlock(block);
    out.Take();
    for (uint16_t n = 1; n <= 0x102; ++n) {
        link.OnTelegram(PcTele(kSubAck, n, {}, false));
        const Bytes t = out.Take();
        ASSERT_EQ(t[4], n >> 8);
        ASSERT_EQ(t[5], n & 0xFF);
    }
}

TEST_F(BoxBusLinkTest, ShortBlockEndsWithAnEmptyDataEnd) {
    link.SendBlock(Bytes(16, 1));
    EXPECT_EQ(out.Take()[6], 16);
    link.OnTelegram(PcTele(kSubAck, 1, {}, false));
    EXPECT_EQ(HexBytes(out.Take()), "F0 43 70 02 00 01 00");
}

TEST_F(BoxBusLinkTest, WrongNumberFromThePcIsNakedWithTheExpectedOne) {
    link.OnTelegram(PcTele(kSubDataFirst, 0, Bytes(16, 0)));
    out.Take();
    link.OnTelegram(PcTele(kSubData, 3, Bytes(16, 0)));
    EXPECT_EQ(HexBytes(out.Take()), "F0 43 70 04 00 01");
    EXPECT_TRUE(core.Packages().empty());
}

TEST_F(BoxBusLinkTest, NakOrWrongAcknowledgementOfThePcEndsTheBoxBlock) {
    link.SendBlock(Bytes(40, 1));
    link.SendBlock(Bytes(8, 2));
    out.Take();
    link.OnTelegram(PcTele(kSubNak, 1, {}, false));
    EXPECT_TRUE(Saw("PCNAK 1"));
    // The next block goes out.
    Bytes t = out.Take();
    EXPECT_EQ(t[3], kSubDataFirst);
    EXPECT_EQ(t[7], 2);
    link.OnTelegram(PcTele(kSubAck, 5, {}, false));
    EXPECT_TRUE(Saw("BADACK 5 expected 1"));
    EXPECT_TRUE(link.Idle());
}

TEST_F(BoxBusLinkTest, TelegramThePcNeverTookEndsTheBlock) {
    link.SendBlock(Bytes(40, 1));
    out.Take(kNoAnswer);
    EXPECT_TRUE(Saw("GAVEUP telegram 0"));
    EXPECT_TRUE(link.Idle());
}

TEST_F(BoxBusLinkTest, MissingAcknowledgementOfThePcEndsTheBlockAfterItsTime) {
    link.SendBlock(Bytes(40, 1));
    out.Take();
    now += BoxBusLink::kPcAckTimeoutMs;
    timers.Run();
    EXPECT_TRUE(Saw("CTIMEOUT telegram 0"));
    EXPECT_TRUE(link.Idle());
}

TEST_F(BoxBusLinkTest, NakOnRequestAndWrongNumbersOnRequest) {
    link.SetNakTele(1);
    link.OnTelegram(PcTele(kSubDataFirst, 0, Bytes(6, 0)));
    EXPECT_EQ(HexBytes(out.Take()), "F0 43 70 04 00 00");
    link.SetWrongAck(1);
    link.OnTelegram(PcTele(kSubDataFirst, 0, Bytes(6, 0)));
    EXPECT_EQ(HexBytes(out.Take()), "F0 43 70 03 00 02") << "1 + 1";
    EXPECT_TRUE(Saw("WRONGTELE 2"));

    // In the box's own block the first telegram keeps its 0.
    link.SetWrongTele(1);
    link.SendBlock(Bytes(20, 3));
    EXPECT_EQ(out.Take()[5], 0);
    link.OnTelegram(PcTele(kSubAck, 1, {}, false));
    EXPECT_EQ(out.Take()[5], 2);
    EXPECT_TRUE(Saw("WRONGTELE 2"));
}

// The PC sends a telegram again when it missed the box's ACK; the box must
// not take it twice, or it would answer it twice.
TEST_F(BoxBusLinkTest, RepetitionOfATelegramTheBoxAnsweredIsNotTakenAgain) {
    const Bytes first = PcTele(kSubDataFirst, 0, Bytes(16, 1));
    link.OnTelegram(first);
    out.Take();
    link.OnTelegram(first);
    EXPECT_TRUE(out.queued.empty());
    EXPECT_TRUE(Saw("REPEAT " + HexBytes(first)));
    // The block goes on as if the copy had never come.
    link.OnTelegram(PcTele(kSubDataEnd, 1, {}));
    EXPECT_EQ(HexBytes(out.Take()), "F0 43 70 03 00 02");

    // After a Nak, and when the answer never reached the PC, the same
    // telegram is the PC starting over: it is taken.
    for (const int answer : {static_cast<int>(kAck), kNoAnswer}) {
        events.clear();
        if (answer == kAck)
            link.SetNakTele(1);
        const Bytes t = PcTele(kSubDataFirst, 0, Bytes(16, static_cast<uint8_t>(10 + answer)));
        link.OnTelegram(t);
        out.Take(answer);
        link.OnTelegram(t);
        EXPECT_FALSE(Saw("REPEAT " + HexBytes(t)));
        EXPECT_EQ(HexBytes(out.Take()), "F0 43 70 03 00 01");
    }

    // While the box's answer is still on its way, too.
    const Bytes early = PcTele(kSubDataFirst, 0, Bytes(16, 7));
    link.OnTelegram(early);
    link.OnTelegram(early);
    EXPECT_EQ(out.queued.size(), 1u);
    out.Take();

    // Long after, a copy is the PC's block time-out: taken.
    const Bytes again = PcTele(kSubDataFirst, 0, Bytes(16, 3));
    link.OnTelegram(again);
    out.Take();
    now += BoxBusLink::kRepeatWindowMs;
    link.OnTelegram(again);
    EXPECT_EQ(out.queued.size(), 1u);
}

TEST_F(BoxBusLinkTest, RepeatedAcknowledgementOfThePcDoesNotEndTheBoxBlock) {
    link.SendBlock(Bytes(40, 1));
    out.Take();
    const Bytes ack = PcTele(kSubAck, 1, {}, false);
    link.OnTelegram(ack);
    out.Take();
    link.OnTelegram(ack);
    EXPECT_FALSE(Saw("BADACK 1 expected 2"));
    link.OnTelegram(PcTele(kSubAck, 2, {}, false));
    EXPECT_EQ(out.Take()[3], kSubDataEnd);
}

TEST_F(BoxBusLinkTest, IdentificationFramesAndForeignTelegrams) {
    link.OnTelegram(PcTele(kSubKennung, 0, {'B', 'R', 'O', 'M', 'E', 'L', 0}));
    link.OnTelegram({0xFF, 0x07, 0xF0});
    link.OnTelegram({0xFF, 0x08, 0xF0});
    link.OnTelegram({0x70, 0x2F, 0xF0, 0x17});
    link.OnTelegram({0x71, 0x43, 0xF0, 0x00, 0x00, 0x00, 0x00});
    EXPECT_TRUE(out.queued.empty()) << "none of them is answered at this level";
    EXPECT_EQ(core.GetCounters().kennungen, 1);
    EXPECT_EQ(core.GetCounters().frameStarts, 1);
    EXPECT_EQ(core.GetCounters().frameEnds, 1);
    EXPECT_TRUE(Saw("KENNUNG BROMEL"));
    EXPECT_TRUE(Saw("FOREIGN 70 2F F0 17"));
}

TEST_F(BoxBusLinkTest, LengthByteIsBelievedOnlyAsFarAsTheTelegramHoldsData) {
    Bytes t = PcTele(kSubDataFirst, 0, Bytes(4, 9));
    t[6] = 200;
    link.OnTelegram(t);
    link.OnTelegram(PcTele(kSubDataEnd, 1, {}));
    EXPECT_TRUE(Saw("BADBLOCK len 4"));
}

} // namespace
