// CRC-16 check values and the integer-to-text routine.

#include "MoxCrc.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct CrcCase {
    const char* name;
    const char* data;
    std::uint16_t start;
    std::uint16_t crc;
};

class Crc16 : public testing::TestWithParam<CrcCase> {};

TEST_P(Crc16, CheckValue) {
    const CrcCase& c = GetParam();
    const auto* p = reinterpret_cast<const std::uint8_t*>(c.data);
    EXPECT_EQ(MoxCalcCrc16(p, std::strlen(c.data), c.start), c.crc);
}

// The serial link feeds a frame in pieces: chaining the result as the next
// start value must give the CRC of the whole.
TEST_P(Crc16, ChainedPiecesGiveSameResult) {
    const CrcCase& c = GetParam();
    const auto* p = reinterpret_cast<const std::uint8_t*>(c.data);
    const std::size_t n = std::strlen(c.data);
    for (std::size_t cut = 0; cut <= n; ++cut) {
        const std::uint16_t head = MoxCalcCrc16(p, cut, c.start);
        EXPECT_EQ(MoxCalcCrc16(p + cut, n - cut, head), c.crc) << "cut at " << cut;
    }
}

const CrcCase kCrcCases[] = {
    {"Arc123456789", "123456789", 0x0000, 0xBB3D},
    {"Modbus123456789", "123456789", 0xFFFF, 0x4B37},
    {"ArcAbc", "abc", 0x0000, 0x9738},
    {"EmptyKeepsStart", "", 0x1234, 0x1234},
    {"EmptyKeepsZero", "", 0x0000, 0x0000},
};

INSTANTIATE_TEST_SUITE_P(MoxCrc, Crc16, testing::ValuesIn(kCrcCases),
                         [](const testing::TestParamInfo<CrcCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(MoxCrc16, NullDataWithZeroLength) {
    EXPECT_EQ(MoxCalcCrc16(nullptr, 0, 0xBEEF), 0xBEEF);
}

TEST(MoxCrc16, WholeByteRange) {
    // Every table entry takes part; the value is that of CRC-16/ARC over
    // the bytes 0x00..0xFF.
    std::uint8_t all[256];
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<std::uint8_t>(i);
    }
    std::uint16_t bitwise = 0;
    for (std::uint8_t b : all) {
        bitwise ^= b;
        for (int k = 0; k < 8; ++k) {
            bitwise = (bitwise & 1) ? static_cast<std::uint16_t>((bitwise >> 1) ^ 0xA001)
                                    : static_cast<std::uint16_t>(bitwise >> 1);
        }
    }
    EXPECT_EQ(MoxCalcCrc16(all, sizeof all, 0), bitwise);
}

struct IntTextCase {
    const char* name;
    std::int32_t value;
    const char* text;
};

class IntToText : public testing::TestWithParam<IntTextCase> {};

TEST_P(IntToText, Decimal) {
    const IntTextCase& c = GetParam();
    // Exactly the room MOX_INTTEXT_SIZE promises, on the heap, so that an
    // overrun shows.
    std::unique_ptr<char[]> buffer(new char[MOX_INTTEXT_SIZE]);
    EXPECT_EQ(MoxIntToText(c.value, buffer.get()), buffer.get());
    EXPECT_STREQ(buffer.get(), c.text);
}

const IntTextCase kIntTextCases[] = {
    {"Zero", 0, "0"},
    {"Twelve", 12, "12"},
    {"MinusFifteen", -15, "-15"},
    {"MinusOne", -1, "-1"},
    {"Ten", 10, "10"},
    {"Largest", INT_MAX, "2147483647"},
    {"MostNegative", INT_MIN, "-2147483648"},
};

INSTANTIATE_TEST_SUITE_P(MoxCrc, IntToText, testing::ValuesIn(kIntTextCases),
                         [](const testing::TestParamInfo<IntTextCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
