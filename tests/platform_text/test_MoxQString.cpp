// The Qt boundary of 8-bit texts: Windows-1252 bytes to QString and back.

#include "MoxQString.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct Case {
    const char* name;
    std::string cp1252;
    QString text;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class MoxQStringBothWays : public testing::TestWithParam<Case> {};

TEST_P(MoxQStringBothWays, RoundTrip) {
    EXPECT_EQ(MoxToQString(GetParam().cp1252), GetParam().text);
    EXPECT_EQ(MoxFromQString(GetParam().text), GetParam().cp1252);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MoxQStringBothWays,
    testing::Values(Case{"Empty", "", QString()},
                    Case{"Ascii", "Halvox ISDN", QStringLiteral("Halvox ISDN")},
                    Case{"Umlauts", "T\xFCr \xC4nderung \xDF", QStringLiteral("Tür Änderung ß")},
                    Case{"Euro", "\x80", QStringLiteral("€")},
                    Case{"CrAndTab", "a\rb\tc", QStringLiteral("a\rb\tc")},
                    Case{"Danish", "Overf\xF8rsel \xC5", QStringLiteral("Overførsel Å")},
                    Case{"EmbeddedNul", std::string("a\0b", 3), QString::fromUtf8("a\0b", 3)}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(MoxQString, CharacterWithoutWindows1252FormBecomesQuestionMark) {
    EXPECT_EQ(MoxFromQString(QStringLiteral("Ж€")), "?\x80");
}

TEST(MoxQString, EveryByteSurvives) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(MoxFromQString(MoxToQString(all)), all);
}

} // namespace
