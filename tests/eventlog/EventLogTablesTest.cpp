#include "EventLogTables.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace mox {
namespace {

struct TextRow {
    const char* name;
    std::string actual;
    std::string expected;
};
void PrintTo(const TextRow& row, std::ostream* os) {
    *os << row.name;
}

class TableText : public ::testing::TestWithParam<TextRow> {};

TEST_P(TableText, IsTheBoxsText) {
    EXPECT_EQ(GetParam().actual, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TableText,
    ::testing::Values(
        // Windows-1252: the listing file carries 0xFC for the umlaut.
        TextRow{"TypeTuerrufIsCp1252", EventLogTypeName(4), "T\xFCrruf"},
        TextRow{"TypeKommenderRuf", EventLogTypeName(13), "Kommender Ruf"},
        TextRow{"TypeTestEvent", EventLogTypeName(16), "TestEvent"},
        TextRow{"TypeZeroUnknown", EventLogTypeName(0), "Unbekannt: 0x00"},
        TextRow{"TypeSeventeenUnknown", EventLogTypeName(17), "Unbekannt: 0x11"},
        TextRow{"TypeFEUnknown", EventLogTypeName(0xFE), "Unbekannt: 0xFE"},
        TextRow{"SourceV24", EventLogSourceText(0), "V24"},
        TextRow{"SourceRS485", EventLogSourceText(2), "RS485"},
        TextRow{"SourceNichtDefiniert", EventLogSourceText(3), "Nicht Definiert"},
        TextRow{"SourceUnknown", EventLogSourceText(255), "Unbekannt: 255"},
        TextRow{"CallTypeKettenruf", EventLogCallTypeText(1), "Kettenruf"},
        TextRow{"CallTypeSMS", EventLogCallTypeText(3), "SMS"},
        TextRow{"CallTypeUnknown", EventLogCallTypeText(4), "Unbekannt: 4"},
        TextRow{"CauseFirst", EventLogCauseText(1), "Unassigned Number"},
        TextRow{"CauseLast", EventLogCauseText(127), "Cause Unknown"},
        // Spelling as the box's tables have always had it.
        TextRow{"CauseSubscibed", EventLogCauseText(90), "Direct Call Not Subscibed"},
        TextRow{"CauseContens", EventLogCauseText(100), "Invalid IE Contens"},
        TextRow{"CauseGapUnknown", EventLogCauseText(4), "Unbekannter Cause"},
        TextRow{"Cause128Unknown", EventLogCauseText(128), "Unbekannter Cause"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CauseTable, HoldsFiftySevenCausesAllBelow128) {
    int known = 0;
    for (int v = 0; v < 256; ++v) {
        if (EventLogCauseKnown(static_cast<std::uint8_t>(v))) {
            ++known;
            EXPECT_GT(v, 0);
            EXPECT_LT(v, 128);
            EXPECT_STRNE(EventLogCauseText(static_cast<std::uint8_t>(v)), "Unbekannter Cause");
        } else {
            EXPECT_STREQ(EventLogCauseText(static_cast<std::uint8_t>(v)), "Unbekannter Cause");
        }
    }
    EXPECT_EQ(known, 57);
}

}  // namespace
}  // namespace mox
