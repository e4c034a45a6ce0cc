// The frame scanner over streams as a line delivers them: frames split over
// reads, several in one read, garbage, spoilt and cut-off frames, and input
// that would fill any buffer. Each row feeds its reads in order and expects
// the frames reported, the bytes still held and, where the row is about
// resynchronising, the scanner's counters.

#include "ComFrame.h"
#include "ComFrameScanner.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Expected {
    eComFrameStatus status;
    Bytes payload;
    bool operator==(const Expected&) const = default;
};

void PrintTo(const Expected& e, std::ostream* os) {
    *os << ComFrameStatusName(e.status) << " (" << e.payload.size() << " bytes)";
}

struct ScanCase {
    std::string name;
    std::vector<Bytes> reads;
    std::vector<Expected> frames;
    std::size_t heldAfter = 0;
    std::optional<std::size_t> wrongMarkers{};
    std::optional<std::size_t> secondStx{};
    std::optional<std::size_t> overflows{};
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

Bytes Part(const Bytes& b, std::size_t from, std::size_t to) {
    return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(to));
}

// The payload as it travels: bit 7 of its first byte set.
Bytes Sent(Bytes p) {
    p[0] |= BIT_7;
    return p;
}

// A frame around a body the builder would refuse, escaped by hand.
Bytes RawFrame(const Bytes& payload) {
    const std::uint16_t crc = ComFrameCrc(payload);
    Bytes body = payload;
    body.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    body.push_back(static_cast<std::uint8_t>(crc >> 8));
    Bytes f{COM_STX, BIT_7};
    for (std::uint8_t b : body) {
        if (ComNeedsEscape(b))
            f.push_back(COM_ESC);
        f.push_back(b);
    }
    f.push_back(COM_ETX);
    return f;
}

std::vector<ScanCase> Cases() {
    const Bytes a{0x00, 0x08, 0x00, 0x01, 0xFF, 0xFF};                   // Ack of block 0
    const Bytes b{0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x1B, 0x02, 0x03}; // escapes inside
    const Bytes fa = BuildComFrame(a);
    const Bytes fb = BuildComFrame(b);
    Bytes badCrc = fa;
    badCrc[3] ^= 0x01; // command 0x08 -> 0x09: the CRC no longer fits
    const Bytes garbage{0x55, COM_ETX, COM_ESC, BIT_7, 0x00, 0xFF};
    const Expected okA{eComFrameStatus::Ok, Sent(a)};
    const Expected okB{eComFrameStatus::Ok, Sent(b)};
    Bytes oversized(kComMaxPayload + 1, 0x41);
    oversized[0] = 0xC1;
    const Bytes noEtx = Cat({{COM_STX, BIT_7}, Bytes(3000, 0x41)});
    Bytes escapesNoEtx{COM_STX, BIT_7};
    for (int i = 0; i < 1500; ++i)
        escapesNoEtx.insert(escapesNoEtx.end(), {COM_ESC, 0x41});
    // Exactly the longest frame: STX, marker, 2064 body bytes, ETX.
    const Bytes longest = Cat({{COM_STX, BIT_7}, Bytes(kComMaxFrameLen - 3, 0x41), {COM_ETX}});
    // One body byte more than any frame can hold.
    const Bytes tooLong = Cat({{COM_STX, BIT_7}, Bytes(kComMaxFrameLen - 2, 0x41), {COM_ETX}});

    std::vector<ScanCase> c;
    c.push_back({"GoodFrame", {fa}, {okA}});
    c.push_back({"BadCrcIsOneBadFrame", {badCrc}, {{eComFrameStatus::BadCrc, {}}}});
    c.push_back({"BadCrcThenGood", {Cat({badCrc, fb})}, {{eComFrameStatus::BadCrc, {}}, okB}});
    // 0x55 0x02 0x41 0x02 0x80 ...: the first STX goes with its wrong marker.
    c.push_back({"WrongMarkerResyncs", {Cat({{0x55, COM_STX, 0x41}, fa})}, {okA}, 0, 1});
    c.push_back({"StxAsWrongMarkerStartsTheFrame", {Cat({{COM_STX}, fa})}, {okA}, 0, 1});
    c.push_back({"SecondStxDropsTheFrameBefore",
                 {Cat({{COM_STX, BIT_7, 0x11, 0x22}, fb})},
                 {okB},
                 0,
                 0,
                 1});
    c.push_back({"FrameOverTwoReads", {Part(fa, 0, 5), Part(fa, 5, fa.size())}, {okA}});
    std::vector<Bytes> single;
    for (std::uint8_t x : fb)
        single.push_back({x});
    c.push_back({"FrameByteByByte", single, {okB}});
    c.push_back({"TwoFramesInOneRead", {Cat({fa, fb})}, {okA, okB}});
    // A read ending right after an ESC (fb[3]): the escaped byte comes next.
    c.push_back({"SplitAfterEsc", {Part(fb, 0, 4), Part(fb, 4, fb.size())}, {okB}});
    c.push_back({"GarbageBetweenFrames",
                 {Cat({garbage, fa, garbage}), Cat({garbage, fb, garbage})},
                 {okA, okB}});
    c.push_back({"FrameCutOffThenNext", {Part(fa, 0, fa.size() / 2), fb}, {okB}, 0, 0, 1});
    c.push_back({"FrameCutOffAtTheEndIsHeld", {Part(fa, 0, 7)}, {}, 7});
    c.push_back(
        {"EmptyFrameIsTooShort", {{COM_STX, BIT_7, COM_ETX}}, {{eComFrameStatus::TooShort, {}}}});
    c.push_back({"OneByteIsTooShort",
                 {{COM_STX, BIT_7, 0x41, COM_ETX}},
                 {{eComFrameStatus::TooShort, {}}}});
    // Two CRC bytes of an empty payload (CRC 0): a checked frame with no block.
    c.push_back({"CrcOnlyIsAnEmptyBlock",
                 {{COM_STX, BIT_7, 0x00, 0x00, COM_ETX}},
                 {{eComFrameStatus::Ok, {}}}});
    c.push_back({"PayloadOverTheLargestBlock",
                 {Cat({RawFrame(oversized), fa})},
                 {{eComFrameStatus::Oversized, {}}, okA}});
    c.push_back(
        {"LongestFrameStillEnds", {longest}, {{eComFrameStatus::Oversized, {}}}, 0, 0, 0, 0});
    c.push_back({"OneByteLongerOverflows", {Cat({tooLong, fa})}, {okA}, 0, 0, 0, 1});
    c.push_back({"FullBufferRecovers", {noEtx, fa}, {okA}, 0, 0, 0, 1});
    c.push_back({"FullBufferOfEscapesRecovers", {escapesNoEtx, fb}, {okB}, 0, 0, 0, 1});
    return c;
}

class ScannerTable : public testing::TestWithParam<ScanCase> {};

TEST_P(ScannerTable, ReportsTheFrames) {
    const ScanCase& c = GetParam();
    ComFrameScanner scanner;
    std::vector<Expected> got;
    for (const Bytes& read : c.reads)
        scanner.Feed(read, [&](eComFrameStatus status, std::span<const std::uint8_t> p) {
            got.push_back({status, Bytes(p.begin(), p.end())});
        });
    EXPECT_EQ(got, c.frames);
    EXPECT_EQ(scanner.HeldBytes(), c.heldAfter);
    const auto& n = scanner.GetCounters();
    if (c.wrongMarkers) {
        EXPECT_EQ(n.wrongMarkers, *c.wrongMarkers);
    }
    if (c.secondStx) {
        EXPECT_EQ(n.secondStx, *c.secondStx);
    }
    if (c.overflows) {
        EXPECT_EQ(n.overflows, *c.overflows);
    }
}

INSTANTIATE_TEST_SUITE_P(V24, ScannerTable, testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

TEST(ComFrameScanner, ResetDropsTheFrameInProgress) {
    const Bytes f = BuildComFrame(Bytes{0x00, 0x08, 0x00, 0x01});
    ComFrameScanner scanner;
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_FALSE(scanner.Feed(f[i]));
    scanner.Reset();
    EXPECT_EQ(scanner.HeldBytes(), 0u);
    for (std::size_t i = 5; i < f.size(); ++i)
        EXPECT_FALSE(scanner.Feed(f[i])); // the rest alone is no frame
    int frames = 0;
    scanner.Feed(f, [&](eComFrameStatus status, std::span<const std::uint8_t>) {
        EXPECT_EQ(status, eComFrameStatus::Ok);
        ++frames;
    });
    EXPECT_EQ(frames, 1);
}

} // namespace
