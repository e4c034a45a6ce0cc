// The one Windows-1252 <-> UTF-8 codec pair.

#include "MoxCodec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MoxCodec, EveryByteSurvivesRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = MoxCp1252ToUtf8(one);
        EXPECT_EQ(MoxUtf8ToCp1252(utf8), one) << "byte 0x" << std::hex << b;
    }
}

TEST(MoxCodec, AllBytesAtOnce) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(MoxUtf8ToCp1252(MoxCp1252ToUtf8(all)), all);
}

struct Mapping {
    const char* name;
    std::string cp1252;
    std::string utf8;
};

class MoxCodecMapping : public testing::TestWithParam<Mapping> {};

TEST_P(MoxCodecMapping, BothWays) {
    const Mapping& m = GetParam();
    EXPECT_EQ(MoxCp1252ToUtf8(m.cp1252), m.utf8);
    EXPECT_EQ(MoxUtf8ToCp1252(m.utf8), m.cp1252);
}

// Hex escapes would swallow the letter after them: the strings are split.
// clang-format off
const Mapping kMappings[] = {
    {"Ascii", "Aktor 1", "Aktor 1"},
    {"Umlaut", "Haust\xFCr 1", "Haust\xC3\xBCr 1"},
    {"Sharp", "Stra\xDF" "e", "Stra\xC3\x9F" "e"},
    {"Euro", "\x80", "\xE2\x82\xAC"},
    {"LowQuote", "\x84", "\xE2\x80\x9E"},
    {"Ellipsis", "\x85", "\xE2\x80\xA6"},
    {"EmDash", "\x97", "\xE2\x80\x94"},
    {"TradeMark", "\x99", "\xE2\x84\xA2"},
    {"CapitalYDiaeresis", "\x9F", "\xC5\xB8"},
    {"NoBreakSpace", "\xA0", "\xC2\xA0"},
    {"YDiaeresis", "\xFF", "\xC3\xBF"},
    {"Undefined81", "\x81", "\xC2\x81"},
    {"Undefined8D", "\x8D", "\xC2\x8D"},
    {"Undefined8F", "\x8F", "\xC2\x8F"},
    {"Undefined90", "\x90", "\xC2\x90"},
    {"Undefined9D", "\x9D", "\xC2\x9D"},
    {"EmbeddedNul", std::string("a\0b", 3), std::string("a\0b", 3)},
    {"Empty", "", ""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(MoxCodec, MoxCodecMapping, testing::ValuesIn(kMappings),
                         [](const testing::TestParamInfo<Mapping>& info) {
                             return std::string(info.param.name);
                         });

struct Replaced {
    const char* name;
    std::string utf8;
    std::string cp1252;
};

class MoxCodecReplacement : public testing::TestWithParam<Replaced> {};

TEST_P(MoxCodecReplacement, BecomesQuestionMark) {
    EXPECT_EQ(MoxUtf8ToCp1252(GetParam().utf8), GetParam().cp1252);
}

// clang-format off
const Replaced kReplaced[] = {
    // Characters that Windows-1252 lacks.
    {"Omega", "\xCE\xA9", "?"},
    {"Cyrillic", "\xD0\x96x", "?x"},
    {"Emoji", "a\xF0\x9F\x98\x80" "b", "a?b"},
    {"HighestCodePoint", "\xF4\x8F\xBF\xBF", "?"},
    // C1 controls whose byte means another character in Windows-1252.
    {"C1Control80", "\xC2\x80", "?"},
    {"C1Control9F", "\xC2\x9F", "?"},
    // Malformed UTF-8: one "?" per broken piece, the next character survives.
    {"LoneContinuation", "\x80" "A", "?A"},
    {"CutAtEnd", "A\xC3", "A?"},
    {"CutThreeByte", "\xE2\x82" "A", "?A"},
    {"CutFourByte", "\xF0\x9F\x98", "?"},
    {"OverlongSlash", "\xC0\xAF", "??"},
    {"OverlongThreeByte", "\xE0\x80\xAF", "???"},
    {"Surrogate", "\xED\xA0\x80", "???"},
    {"AboveUnicode", "\xF4\x90\x80\x80", "????"},
    {"InvalidLeadFF", "\xFF\xFE", "??"},
    {"LatinAfterBreak", "\xC3\xC3\xBC", "?\xFC"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(MoxCodec, MoxCodecReplacement, testing::ValuesIn(kReplaced),
                         [](const testing::TestParamInfo<Replaced>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
