// Safe substitution into language texts: placeholders filled in order and
// checked against their arguments; a faulty translation shows a mark and
// never reads past the arguments.

#include "TextSubst.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace {

struct SubstCase {
    const char* name;
    std::string result;
    const char* expected;
};

void PrintTo(const SubstCase& c, std::ostream* os) {
    *os << c.name;
}

class TextSubstTable : public testing::TestWithParam<SubstCase> {};

TEST_P(TextSubstTable, Result) {
    EXPECT_EQ(GetParam().result, GetParam().expected);
}

const std::string kName = "mox.ktx";

INSTANTIATE_TEST_SUITE_P(
    Table, TextSubstTable,
    testing::Values(
        SubstCase{"NoPlaceholder", TextSubst("Fehler", {}), "Fehler"},
        SubstCase{"Name", TextSubst("Datei <%s> fehlt", {kName}), "Datei <mox.ktx> fehlt"},
        SubstCase{"Number", TextSubst("Block %d", {12}), "Block 12"},
        SubstCase{"InOrder", TextSubst("%s: %d von %u", {"Teil", -3, 7u}), "Teil: -3 von 7"},
        SubstCase{"Percent", TextSubst("100%% fertig", {}), "100% fertig"},
        SubstCase{"LonePercentIsText", TextSubst("50 % mehr", {}), "50 % mehr"},
        SubstCase{"PercentAtEnd", TextSubst("100%", {}), "100%"},
        SubstCase{"MissingArgument", TextSubst("%s und %s", {"a"}), "a und <?%s>"},
        SubstCase{"NoArguments", TextSubst("%d%s%x", {}), "<?%d><?%s><?%x>"},
        SubstCase{"NumberWhereTextIs", TextSubst("Datei %d", {kName}), "Datei <?%d>"},
        SubstCase{"TextWhereNumberIs", TextSubst("Block %s", {5}), "Block <?%s>"},
        SubstCase{"WrongKindKeepsOrder", TextSubst("%d %s", {"x", 3}), "<?%d> <?%s>"},
        SubstCase{"ExtraArgumentsUnused", TextSubst("nur %d", {1, 2, "x"}), "nur 1"},
        SubstCase{"ZeroPad", TextSubst("%05d", {42}), "00042"},
        SubstCase{"NegativeZeroPad", TextSubst("%05d", {-42}), "-0042"},
        SubstCase{"LeftAlign", TextSubst("[%-4s]", {"ab"}), "[ab  ]"},
        SubstCase{"RightAlign", TextSubst("[%4d]", {7}), "[   7]"},
        SubstCase{"Hex", TextSubst("%x/%X/%#x", {255, 255, 255}), "ff/FF/0xff"},
        SubstCase{"HexOfNegativeInt", TextSubst("%x", {-1}), "ffffffff"},
        SubstCase{"UnsignedOfNegativeShort", TextSubst("%u", {int16_t{-1}}), "65535"},
        SubstCase{"Plus", TextSubst("%+d", {5}), "+5"},
        SubstCase{"Precision", TextSubst("%.3s|%.4d", {"abcdef", 7}), "abc|0007"},
        SubstCase{"LengthModifiersIgnored", TextSubst("%ld %lld %hu %zu", {1, 2, 3, 4}), "1 2 3 4"},
        SubstCase{"Int64Extremes", TextSubst("%d %u", {INT64_MIN, UINT64_MAX}),
                  "-9223372036854775808 18446744073709551615"},
        SubstCase{"WidthIsCapped",
                  TextSubst("%99999d", {1}).size() == 255 ? "capped" : "not capped", "capped"},
        SubstCase{"UnknownConversionIsText", TextSubst("%n%p%f", {1, 2}), "%n%p%f"},
        SubstCase{"Windows1252Bytes", TextSubst("T\xFCr %s", {"\x80"}), "T\xFCr \x80"},
        SubstCase{"NullText", TextSubst(static_cast<const char*>(nullptr), {1}), ""},
        SubstCase{"NullArgumentText", TextSubst("<%s>", {static_cast<const char*>(nullptr)}),
                  "<>"}),
    [](const testing::TestParamInfo<SubstCase>& info) { return std::string(info.param.name); });

struct SignatureCase {
    const char* name;
    const char* text;
    const char* signature;
};

void PrintTo(const SignatureCase& c, std::ostream* os) {
    *os << c.name;
}

class TextPlaceholdersTable : public testing::TestWithParam<SignatureCase> {};

TEST_P(TextPlaceholdersTable, Signature) {
    EXPECT_EQ(TextPlaceholders(GetParam().text), GetParam().signature);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextPlaceholdersTable,
    testing::Values(SignatureCase{"None", "Fehler", ""},
                    SignatureCase{"TextThenNumber", "%s von %d", "sn"},
                    SignatureCase{"AllNumberKinds", "%d %i %u %x %X %05ld", "nnnnnn"},
                    SignatureCase{"PercentSignsAreNotPlaceholders", "100%% und 50 %", ""},
                    SignatureCase{"UnknownIsNotAPlaceholder", "%n %s", "s"}),
    [](const testing::TestParamInfo<SignatureCase>& info) { return std::string(info.param.name); });

} // namespace
