// Framing of bus telegrams both ways, as byte tables.

#include "BusFraming.h"
#include "BusFrameReceiver.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace quell32;

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<uint16_t> Wide(const Bytes& b) {
    return {b.begin(), b.end()};
}

struct FrameRow {
    const char* name;
    Bytes telegram; // target, function, transmitter, data
    Bytes wire;     // STX .. ETX
};

void PrintTo(const FrameRow& row, std::ostream* os) {
    *os << row.name;
}

class BusFrame : public ::testing::TestWithParam<FrameRow> {};

TEST_P(BusFrame, BuiltAsOnTheWire) {
    EXPECT_EQ(BuildBusFrame(Wide(GetParam().telegram), false), GetParam().wire);
}

TEST_P(BusFrame, ReceivedWithSumZeroAndUnstuffed) {
    const auto& row = GetParam();
    BusFrameReceiver rx;
    BusFrameReceiver::Step last = BusFrameReceiver::Step::Ignored;
    for (size_t i = 0; i < row.wire.size(); ++i) {
        last = rx.Feed(row.wire[i], static_cast<uint32_t>(i));
        if (i + 1 < row.wire.size()) {
            ASSERT_NE(last, BusFrameReceiver::Step::Complete) << "ended early at " << i;
        }
    }
    ASSERT_EQ(last, BusFrameReceiver::Step::Complete);
    EXPECT_TRUE(rx.ChecksumOk());
    EXPECT_EQ(BusReceiveSum(rx.Raw()), 0);
    EXPECT_EQ(Bytes(rx.Raw().begin(), rx.Raw().end()), row.wire);

    std::vector<uint16_t> decoded(256);
    const size_t n = UnstuffBusTelegram(rx.Raw(), decoded);
    // Header and data, then the checksum in decoded form, then ETX.
    ASSERT_EQ(n, row.telegram.size() + 2);
    for (size_t i = 0; i < row.telegram.size(); ++i)
        EXPECT_EQ(decoded[i], row.telegram[i]) << "byte " << i;
    EXPECT_EQ(decoded[n - 1], kEtx);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BusFrame,
    ::testing::Values(
        FrameRow{"Plain",
                 {0xF0, 0x43, 0x70, 0x01, 0x02},
                 {0x02, 0xF0, 0x43, 0x70, 0x01, 0x02, 0x5A, 0x03}},
        FrameRow{"DataDleStuffed",
                 {0x70, 0x43, 0xF0, 0x10},
                 {0x02, 0x70, 0x43, 0xF0, 0x10, 0x10, 0x3D, 0x03}},
        FrameRow{"DataEtxStuffed",
                 {0x70, 0x43, 0xF0, 0x03},
                 {0x02, 0x70, 0x43, 0xF0, 0x10, 0x03, 0x4A, 0x03}},
        FrameRow{"ChecksumDleSentAs1000",
                 {0x70, 0x43, 0x3D},
                 {0x02, 0x70, 0x43, 0x3D, 0x10, 0x00, 0x03}},
        FrameRow{"ChecksumEtxSentAs10F3",
                 {0x70, 0x43, 0x4A},
                 {0x02, 0x70, 0x43, 0x4A, 0x10, 0xF3, 0x03}},
        FrameRow{"HeaderOnly", {0xFF, 0x43, 0xF0}, {0x02, 0xFF, 0x43, 0xF0, 0xCE, 0x03}},
        FrameRow{"DleEtxRun",
                 {0x70, 0x43, 0xF0, 0x10, 0x03, 0x10},
                 {0x02, 0x70, 0x43, 0xF0, 0x10, 0x10, 0x10, 0x03, 0x10, 0x10, 0x0A, 0x03}},
        FrameRow{"StxInDataIsPlain",
                 {0x70, 0x43, 0xF0, 0x02},
                 {0x02, 0x70, 0x43, 0xF0, 0x02, 0x5B, 0x03}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BusFrame, RawModeSendsBytesAsTheyStand) {
    const std::vector<uint16_t> raw{0x02, 0x70, 0x10, 0x03, 0x03};
    EXPECT_EQ(BuildBusFrame(raw, true), (Bytes{0x02, 0x70, 0x10, 0x03, 0x03}));
}

TEST(BusFrame, WorstCaseFrameFitsTheLimit) {
    const std::vector<uint16_t> all(kMaxTransmitBytes, 0x10);
    const auto frame = BuildBusFrame(all, false);
    EXPECT_LE(frame.size(), kMaxFrameBytes);
    EXPECT_EQ(BusReceiveSum(frame), 0);
}

struct BroadcastRow {
    const char* name;
    Bytes frame;
    bool broadcast;
};

void PrintTo(const BroadcastRow& row, std::ostream* os) {
    *os << row.name;
}

class Broadcast : public ::testing::TestWithParam<BroadcastRow> {};

TEST_P(Broadcast, FirstByteAfterStx) {
    EXPECT_EQ(IsBroadcastFrame(GetParam().frame), GetParam().broadcast);
}

INSTANTIATE_TEST_SUITE_P(Rows, Broadcast,
                         ::testing::Values(BroadcastRow{"Target255", {0x02, 0xFF, 0x43}, true},
                                           BroadcastRow{
                                               "AfterOneDle", {0x02, 0x10, 0xFF, 0x43}, true},
                                           BroadcastRow{"OtherTarget", {0x02, 0x70, 0xFF}, false},
                                           BroadcastRow{"TooShort", {0x02}, false},
                                           BroadcastRow{"DleThenNothing", {0x02, 0x10}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Whether the bytes at hand start with a telegram the receiver would take
// to its end without waiting for more, and whom it is for.
struct WholeRow {
    const char* name;
    Bytes raw;
    bool whole;
    uint8_t target;
    bool ended; // the receiver ends a telegram there
};

void PrintTo(const WholeRow& row, std::ostream* os) {
    *os << row.name;
}

Bytes Longest(size_t rawLen) {
    Bytes b(rawLen, 0x41);
    b.front() = 0x02;
    b.back() = 0x03;
    return b;
}

class WholeTelegram : public ::testing::TestWithParam<WholeRow> {};

TEST_P(WholeTelegram, AsTheReceiverWouldEndIt) {
    const WholeRow& row = GetParam();
    uint8_t target = 0;
    EXPECT_EQ(IsWholeTelegramAt(row.raw, &target), row.whole);
    if (row.whole) {
        EXPECT_EQ(target, row.target);
    }
    BusFrameReceiver rx;
    BusFrameReceiver::Step step = BusFrameReceiver::Step::Ignored;
    for (uint8_t b : row.raw) {
        step = rx.Feed(b, 0);
        if (step != BusFrameReceiver::Step::Started && step != BusFrameReceiver::Step::Inside)
            break;
    }
    // The receiver agrees on where a telegram ends (it ends one without a
    // target too, which the bus line then drops).
    EXPECT_EQ(step == BusFrameReceiver::Step::Complete, row.ended);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WholeTelegram,
    ::testing::Values(
        WholeRow{"ToThePc", {0x02, 0xF0, 0x43, 0x70, 0x01, 0x5A, 0x03}, true, 0xF0, true},
        WholeRow{
            "NextOneBehindIt", {0x02, 0xFF, 0x08, 0xF0, 0x09, 0x03, 0x02, 0xF0}, true, 0xFF, true},
        WholeRow{"EscapedEtxIsData", {0x02, 0xF0, 0x43, 0x10, 0x03, 0x00, 0x03}, true, 0xF0, true},
        WholeRow{"DoubledDleThenEtxEnds", {0x02, 0xF0, 0x10, 0x10, 0x03}, true, 0xF0, true},
        WholeRow{"StuffedTarget", {0x02, 0x10, 0x03, 0x43, 0x70, 0x3A, 0x03}, true, 0x03, true},
        WholeRow{"StillComing", {0x02, 0xF0, 0x43, 0x70}, false, 0, false},
        WholeRow{"EtxStillEscaped", {0x02, 0xF0, 0x43, 0x10, 0x03}, false, 0, false},
        WholeRow{"NoiseFirst", {0x55, 0x02, 0xF0, 0x43, 0x70, 0x03}, false, 0, false},
        WholeRow{"Nothing", {}, false, 0, false},
        WholeRow{"NotEvenATarget", {0x02, 0x03}, false, 0, true},
        WholeRow{"LongestThatFits", Longest(kMaxReceiveRawBytes), true, 0x41, true},
        WholeRow{"OneByteTooLong", Longest(kMaxReceiveRawBytes + 1), false, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

// What the receiver makes of a byte stream: where it ends and whether the
// sum holds.
struct ReceiveRow {
    const char* name;
    Bytes wire;
    BusFrameReceiver::Step last; // step of the last byte
    size_t completeAt;           // index of the ending ETX, when it completes
    bool checksumOk;
};

void PrintTo(const ReceiveRow& row, std::ostream* os) {
    *os << row.name;
}

class Receive : public ::testing::TestWithParam<ReceiveRow> {};

TEST_P(Receive, EndsAndChecks) {
    const auto& row = GetParam();
    BusFrameReceiver rx;
    BusFrameReceiver::Step step = BusFrameReceiver::Step::Ignored;
    size_t i = 0;
    for (; i < row.wire.size(); ++i) {
        step = rx.Feed(row.wire[i], 0);
        if (step == BusFrameReceiver::Step::Complete)
            break;
    }
    EXPECT_EQ(step, row.last);
    if (row.last == BusFrameReceiver::Step::Complete) {
        EXPECT_EQ(i, row.completeAt);
        EXPECT_EQ(rx.ChecksumOk(), row.checksumOk);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Receive,
    ::testing::Values(
        // One DLE before the ETX: data; the next ETX ends it.
        ReceiveRow{"EtxAfterOneDleIsData",
                   {0x02, 0x70, 0x43, 0xF0, 0x10, 0x03, 0x4A, 0x03},
                   BusFrameReceiver::Step::Complete,
                   7,
                   true},
        ReceiveRow{"EtxAfterThreeDlesIsData",
                   {0x02, 0x70, 0x43, 0xF0, 0x10, 0x10, 0x10, 0x03, 0x10, 0x10, 0x0A, 0x03},
                   BusFrameReceiver::Step::Complete,
                   11,
                   true},
        // Two DLEs are one data DLE: the ETX after them ends the telegram.
        ReceiveRow{"EtxAfterTwoDlesEnds",
                   {0x02, 0x70, 0x43, 0xF0, 0x10, 0x10, 0x03, 0x99},
                   BusFrameReceiver::Step::Complete,
                   6,
                   false},
        ReceiveRow{"BadChecksumFlagged",
                   {0x02, 0xF0, 0x43, 0x70, 0x01, 0x02, 0x5B, 0x03},
                   BusFrameReceiver::Step::Complete,
                   7,
                   false},
        ReceiveRow{
            "NoiseBeforeStxIgnored", {0x55, 0x03, 0x10}, BusFrameReceiver::Step::Ignored, 0, false},
        ReceiveRow{
            "UnfinishedStaysInside", {0x02, 0x70, 0x43}, BusFrameReceiver::Step::Inside, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Receive, StxRestartsOnlyOutsideATelegram) {
    BusFrameReceiver rx;
    EXPECT_EQ(rx.Feed(0x02, 0), BusFrameReceiver::Step::Started);
    EXPECT_EQ(rx.Feed(0x02, 0), BusFrameReceiver::Step::Inside); // data
    EXPECT_EQ(rx.Raw().size(), 2u);
}

TEST(Receive, OverflowAtThe256thRawByte) {
    BusFrameReceiver rx;
    EXPECT_EQ(rx.Feed(0x02, 0), BusFrameReceiver::Step::Started);
    for (size_t i = 1; i < kMaxReceiveRawBytes; ++i)
        ASSERT_EQ(rx.Feed(0x41, 0), BusFrameReceiver::Step::Inside) << i;
    EXPECT_EQ(rx.Feed(0x03, 0), BusFrameReceiver::Step::Overflow);
    EXPECT_FALSE(rx.InTelegram());
}

TEST(Receive, GivesUpSinceTheLastByteNotTheStx) {
    BusFrameReceiver rx;
    rx.Feed(0x02, 0);
    // 200 ms of bytes, each within the limit of the one before.
    for (uint32_t t = 50; t <= 200; t += 50)
        rx.Feed(0x41, t);
    EXPECT_FALSE(rx.GaveUp(200 + kInterByteTimeoutMs - 1));
    EXPECT_TRUE(rx.GaveUp(200 + kInterByteTimeoutMs));
    EXPECT_EQ(rx.StartMs(), 0u);
    EXPECT_EQ(rx.LastByteMs(), 200u);
}

} // namespace
