// The numeric filters: IsDigitChar, StripNonDigits and CheckNumEdit with
// its flags and the locale separator, on a field that records what the
// filter did.

#include "NumEdit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FakeField : public INumEditField {
public:
    FakeField(std::u16string text, char16_t separator) : text(std::move(text)), sep(separator) {}
    std::u16string Text() const override { return text; }
    void ReplaceText(const std::u16string& t) override {
        text = t;
        ++repaints;
    }
    void RemoveAt(std::size_t pos, std::size_t count) override {
        text.erase(pos, count);
        caret = pos;
    }
    char16_t DecimalSeparator() const override { return sep; }
    void Beep() override { ++beeps; }

    std::u16string text;
    char16_t sep;
    std::size_t caret = 0;
    int repaints = 0;
    int beeps = 0;
};

TEST(NumEdit, DigitsAreZeroToNineOnly) {
    for (char c = '0'; c <= '9'; ++c)
        EXPECT_TRUE(IsDigitChar(c));
    for (char c : {'a', '/', ':', ' ', '.', '-', '\0', '\xB2'}) // '\xB2' is a superscript two
        EXPECT_FALSE(IsDigitChar(c)) << int(c);
    EXPECT_FALSE(IsDigitChar(u'\u0663')); // an Arabic-Indic three
}

struct FilterRow {
    const char* name;
    std::u16string in;
    bool decimal, sign, locale;
    char16_t separator;
    std::u16string out;
    bool accepted;
    int beeps;
};

void PrintTo(const FilterRow& r, std::ostream* os) {
    *os << r.name;
}

class CheckNumEditRows : public testing::TestWithParam<FilterRow> {};

TEST_P(CheckNumEditRows, Filters) {
    const FilterRow& r = GetParam();
    FakeField field(r.in, r.separator);
    EXPECT_EQ(CheckNumEdit(field, r.decimal, r.sign, r.locale), r.accepted);
    EXPECT_EQ(field.text, r.out);
    EXPECT_EQ(field.beeps, r.beeps);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckNumEditRows,
    testing::Values(
        FilterRow{"Clean", u"0301234", false, false, false, u',', u"0301234", true, 0},
        FilterRow{"Empty", u"", false, false, false, u',', u"", true, 0},
        FilterRow{"LetterGoes", u"12a3", false, false, false, u',', u"123", false, 1},
        // One character per call.
        FilterRow{"OnlyTheFirst", u"12a3b", false, false, false, u',', u"123b", false, 1},
        FilterRow{"PointWithoutFlag", u"1.5", false, false, false, u',', u"15", false, 1},
        FilterRow{"PointWithDecimal", u"1.5", true, false, false, u',', u"1.5", true, 0},
        FilterRow{"CommaWithDecimal", u"1,5", true, false, false, u'.', u"1,5", true, 0},
        FilterRow{"PointTurnedToComma", u"1.5", true, false, true, u',', u"1,5", true, 0},
        FilterRow{"CommaTurnedToPoint", u"1,5", true, false, true, u'.', u"1.5", true, 0},
        // Turned, but a separator is not allowed without the decimal flag.
        FilterRow{"TurnedThenRefused", u"1.5", false, false, true, u',', u"15", false, 1},
        FilterRow{"SignAllowed", u"-12", false, true, false, u',', u"-12", true, 0},
        FilterRow{"PlusAllowed", u"+12", false, true, false, u',', u"+12", true, 0},
        FilterRow{"SignRefused", u"-12", true, false, false, u',', u"12", false, 1},
        FilterRow{"LetterWithAllFlags", u"-1,5x", true, true, true, u',', u"-1,5", false, 1},
        FilterRow{"SpaceGoes", u"030 1234", false, false, false, u',', u"0301234", false, 1},
        // A character outside the basic plane is one character.
        FilterRow{"SurrogatePairWhole",
                  u"1\U0001F514"
                  u"2",
                  false, false, false, u',', u"12", false, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumEdit, CaretStandsWhereTheCharacterWas) {
    FakeField field(u"12a3", u',');
    CheckNumEdit(field, false, false, false);
    EXPECT_EQ(field.caret, 2u);
}

TEST(NumEdit, TurnedSeparatorRepaints) {
    FakeField field(u"1.5", u',');
    CheckNumEdit(field, true, false, true);
    EXPECT_EQ(field.repaints, 1);
}

struct StripRow {
    const char* name;
    const char* in;
    bool keepPoint;
    const char* out;
    bool clean;
};

void PrintTo(const StripRow& r, std::ostream* os) {
    *os << r.name;
}

class StripRows : public testing::TestWithParam<StripRow> {};

TEST_P(StripRows, Strips) {
    std::string text = GetParam().in;
    EXPECT_EQ(StripNonDigits(text, GetParam().keepPoint), GetParam().clean);
    EXPECT_EQ(text, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Rows, StripRows,
                         testing::Values(StripRow{"Clean", "0123", false, "0123", true},
                                         StripRow{"Empty", "", false, "", true},
                                         StripRow{"DashGoes", "0-12", false, "012", false},
                                         StripRow{"OnlyTheFirst", "a1b2", false, "1b2", false},
                                         StripRow{"PointGoes", "1.2", false, "12", false},
                                         StripRow{"PointKept", "1.2", true, "1.2", true},
                                         StripRow{"CommaGoesEvenWithPoint", "1,2", true, "12",
                                                  false},
                                         // Windows-1252 bytes: a superscript two is no digit.
                                         StripRow{"HighByte", "1\xB2", false, "1", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
