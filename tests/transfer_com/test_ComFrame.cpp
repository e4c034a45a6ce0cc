// The V.24 frame both ways: every golden frame is what the builder makes of
// its payload, and what the scanner turns back into that payload (with bit 7
// of the first byte set, as it travels).

#include "ComFrame.h"
#include "ComFrameScanner.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct GoldenCase {
    const char* name;
    Bytes payload;
    Bytes frame;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

// Frames worked out by hand and checked against an independent CRC-16/ARC.
const GoldenCase kGolden[] = {
    {"Kennung",
     {0x00, 0x0C, 0x00, 0x00, 0xFF, 0xFF, 'B', 'R', 'O', 'M', 'E', 'L', 0x00},
     {0x02, 0x80, 0x80, 0x0C, 0x00, 0x00, 0xFF, 0xFF, 0x42, 0x52, 0x4F, 0x4D, 0x45, 0x4C, 0x00,
      0xED, 0x20, 0x03}},
    {"PayloadStxEscaped",
     {0x00, 0x05, 0x00, 0x02, 0xFF, 0xFF},
     {0x02, 0x80, 0x80, 0x05, 0x00, 0x1B, 0x02, 0xFF, 0xFF, 0x73, 0xB0, 0x03}},
    {"PayloadEtxAndEscEscaped",
     {0x00, 0x03, 0x00, 0x03, 0xFF, 0xFF, 0x1B, 0x41, 0x03},
     {0x02, 0x80, 0x80, 0x1B, 0x03, 0x00, 0x1B, 0x03, 0xFF, 0xFF, 0x1B, 0x1B, 0x41, 0x1B, 0x03,
      0x05, 0xB6, 0x03}},
    {"FirstByteWithBit7Stays",
     {0x85, 0x11, 0x00, 0x07},
     {0x02, 0x80, 0x85, 0x11, 0x00, 0x07, 0x38, 0xCB, 0x03}},
    // 0x03 becomes 0x83 before escaping, so only the second byte is escaped.
    {"FirstByteEtxGetsBit7NotEscape",
     {0x03, 0x03},
     {0x02, 0x80, 0x83, 0x1B, 0x03, 0x21, 0x31, 0x03}},
    {"SingleByte", {0x00}, {0x02, 0x80, 0x80, 0x01, 0xA0, 0x03}},
    // CRC 0xC002: low byte first, and it is an STX.
    {"CrcLowByteStxEscaped",
     {0x00, 0x08, 0x64, 0x06},
     {0x02, 0x80, 0x80, 0x08, 0x64, 0x06, 0x1B, 0x02, 0xC0, 0x03}},
    // CRC 0x001B.
    {"CrcLowByteEscEscaped",
     {0x00, 0x08, 0x44, 0x06},
     {0x02, 0x80, 0x80, 0x08, 0x44, 0x06, 0x1B, 0x1B, 0x00, 0x03}},
    // CRC 0x03E8: high byte an ETX, and a payload ETX too.
    {"CrcHighByteEtxEscaped",
     {0x00, 0x08, 0x00, 0x03},
     {0x02, 0x80, 0x80, 0x08, 0x00, 0x1B, 0x03, 0xE8, 0x1B, 0x03, 0x03}},
};

class GoldenFrame : public testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenFrame, BuildsTheFrame) {
    const GoldenCase& c = GetParam();
    const Bytes payload = c.payload;
    EXPECT_EQ(BuildComFrame(payload), c.frame);
    EXPECT_EQ(payload, c.payload); // the caller's bytes are left alone
}

TEST_P(GoldenFrame, ScansBackToThePayload) {
    const GoldenCase& c = GetParam();
    Bytes sent = c.payload;
    sent[0] |= BIT_7;
    ComFrameScanner scanner;
    std::vector<Bytes> got;
    scanner.Feed(c.frame, [&](eComFrameStatus status, std::span<const std::uint8_t> p) {
        EXPECT_EQ(status, eComFrameStatus::Ok);
        got.emplace_back(p.begin(), p.end());
    });
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], sent);
    EXPECT_EQ(scanner.HeldBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(V24, GoldenFrame, testing::ValuesIn(kGolden),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ComFrameBuild, RefusesEmptyAndOversizedPayloads) {
    EXPECT_TRUE(BuildComFrame(Bytes{}).empty());
    EXPECT_TRUE(BuildComFrame(Bytes(kComMaxPayload + 1, 0x41)).empty());
    EXPECT_FALSE(BuildComFrame(Bytes(kComMaxPayload, 0x41)).empty());
}

TEST(ComFrameBuild, RefusesATooSmallFrameBuffer) {
    const Bytes payload{0x00, 0x05, 0x00, 0x02, 0xFF, 0xFF};
    Bytes frame(11); // one short of the 12 bytes it needs
    EXPECT_EQ(BuildComFrame(payload, std::span<std::uint8_t>(frame)), 0u);
    frame.resize(12);
    EXPECT_EQ(BuildComFrame(payload, std::span<std::uint8_t>(frame)), 12u);
}

// The largest block with every byte but the first needing an escape is
// longer than 2048 bytes; it must still go out and come back whole.
TEST(ComFrameBuild, LargestEscapedBlockRoundTrips) {
    Bytes payload(kComMaxPayload, COM_ESC);
    payload[0] = 0x00;
    const Bytes frame = BuildComFrame(payload);
    ASSERT_FALSE(frame.empty());
    EXPECT_GT(frame.size(), 2048u);
    EXPECT_LE(frame.size(), kComMaxFrameLen);
    ComFrameScanner scanner;
    std::size_t got = 0;
    scanner.Feed(frame, [&](eComFrameStatus status, std::span<const std::uint8_t> p) {
        EXPECT_EQ(status, eComFrameStatus::Ok);
        got = p.size();
    });
    EXPECT_EQ(got, kComMaxPayload);
}

} // namespace
