// The ".spt" reader: records by position, unescaping, missing records, and
// refusal of damaged files.

#include "SptReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// A record expectation: id, text, hint (nullptr: no text).
struct Expect {
    int id;
    const char* text;
    const char* hint;
};

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<Expect> expect;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class SptReaderRead : public testing::TestWithParam<ReadCase> {};

TEST_P(SptReaderRead, Records) {
    SptTable table;
    std::string error;
    ASSERT_TRUE(SptReader::Parse(GetParam().bytes, table, error)) << error;
    for (const Expect& e : GetParam().expect) {
        if (e.text)
            EXPECT_STREQ(table.Text(e.id), e.text) << "text " << e.id;
        else
            EXPECT_EQ(table.Text(e.id), nullptr) << "text " << e.id;
        if (e.hint)
            EXPECT_STREQ(table.Hint(e.id), e.hint) << "hint " << e.id;
        else
            EXPECT_EQ(table.Hint(e.id), nullptr) << "hint " << e.id;
    }
}

// 20000 empty strings: a full file with no text at all.
const std::string kAllEmpty(20000, '\0');

std::string FullFileWithLast(const std::string& text, const std::string& hint) {
    return std::string(19998, '\0') + text + '\0' + hint + '\0';
}

INSTANTIATE_TEST_SUITE_P(
    Table, SptReaderRead,
    testing::Values(
        ReadCase{"EmptyFile",
                 "",
                 {{0, nullptr, nullptr}, {1, nullptr, nullptr}, {9999, nullptr, nullptr}}},
        ReadCase{"RecordsByPosition",
                 "null\0nullhint\0eins\0\0zwei\0hint2\0"s,
                 {{0, "null", "nullhint"},
                  {1, "eins", nullptr},
                  {2, "zwei", "hint2"},
                  {3, nullptr, nullptr}}},
        ReadCase{"EmptyRecordsKeepPositions",
                 "\0\0\0\0\0\0drei\0\0"s,
                 {{0, nullptr, nullptr}, {2, nullptr, nullptr}, {3, "drei", nullptr}}},
        ReadCase{"NewlineBecomesCR", "\0\0a\\nb\0\0"s, {{1, "a\rb", nullptr}}},
        ReadCase{"TabBecomesTab", "\0\0\\tx\0y\\t\0"s, {{1, "\tx", "y\t"}}},
        ReadCase{"SeveralEscapes", "\0\0\\n\\n\\t\\n\0\0"s, {{1, "\r\r\t\r", nullptr}}},
        ReadCase{"OtherBackslashStays", "\0\0C:\\x\\\\\0\0"s, {{1, "C:\\x\\\\", nullptr}}},
        ReadCase{"BackslashAtEndStays", "\0\0ab\\\0\0"s, {{1, "ab\\", nullptr}}},
        ReadCase{"EscapedBackslashN", "\0\0\\\\n\0\0"s, {{1, "\\\r", nullptr}}},
        ReadCase{"Windows1252Bytes", "\0\0T\xFCr \x80\0\0"s, {{1, "T\xFCr \x80", nullptr}}},
        ReadCase{"MissingHintOfLastRecord",
                 "\0\0text\0"s,
                 {{1, "text", nullptr}, {2, nullptr, nullptr}}},
        ReadCase{"FullFileAllEmpty", kAllEmpty, {{0, nullptr, nullptr}, {9999, nullptr, nullptr}}},
        ReadCase{"FullFileLastRecord",
                 FullFileWithLast("last", "lasthint"),
                 {{9999, "last", "lasthint"}, {9998, nullptr, nullptr}}},
        ReadCase{"NulPaddingAfterLastRecord",
                 FullFileWithLast("last", "") + std::string(7, '\0'),
                 {{9999, "last", nullptr}}},
        ReadCase{
            "OutsideIdsAreNull", "a\0b\0"s, {{-1, nullptr, nullptr}, {10000, nullptr, nullptr}}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

struct BrokenCase {
    const char* name;
    std::string bytes;
    const char* errorPart;
};

void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

class SptReaderBroken : public testing::TestWithParam<BrokenCase> {};

TEST_P(SptReaderBroken, RefusedWholeWithAReason) {
    SptTable table;
    std::string error;
    EXPECT_FALSE(SptReader::Parse(GetParam().bytes, table, error));
    EXPECT_NE(error.find(GetParam().errorPart), std::string::npos) << error;
    EXPECT_EQ(table.Text(0), nullptr);
    EXPECT_EQ(table.Text(1), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SptReaderBroken,
    testing::Values(
        BrokenCase{"EndsInsideText", "\0\0abc"s, "ends inside a text"},
        BrokenCase{"OnlyText", "abc", "ends inside a text"},
        BrokenCase{"CutInLastRecord", FullFileWithLast("last", "hi").substr(0, 20004),
                   "ends inside a text"},
        BrokenCase{"DataAfterLastRecord", kAllEmpty + "x"s + '\0', "after its last record"},
        BrokenCase{"TextBehindPadding", kAllEmpty + "\0\0x\0"s, "after its last record"}),
    [](const testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

TEST(SptReader, RefusedFileLeavesAnEarlierTableEmpty) {
    SptTable table;
    std::string error;
    ASSERT_TRUE(SptReader::Parse("\0\0eins\0\0"s, table, error));
    ASSERT_STREQ(table.Text(1), "eins");
    EXPECT_FALSE(SptReader::Parse("\0\0zw"s, table, error));
    EXPECT_EQ(table.Text(1), nullptr);
}

TEST(SptReader, TooLargeIsRefusedBeforeReading) {
    SptTable table;
    std::string error;
    const std::string huge(SptReader::kMaxFileSize + 1, '\0');
    EXPECT_FALSE(SptReader::Parse(huge, table, error));
    EXPECT_NE(error.find("too large"), std::string::npos);
}

TEST(SptReader, ReadFileOfAMissingPathFails) {
    SptTable table;
    std::string error;
    EXPECT_FALSE(SptReader::ReadFile("/nonexistent/dir/ktx_d.spt", table, error));
    EXPECT_FALSE(error.empty());
}

TEST(SptReader, ReadFileOfADirectoryFails) {
    SptTable table;
    std::string error;
    EXPECT_FALSE(
        SptReader::ReadFile(std::filesystem::temp_directory_path().string(), table, error));
}

TEST(SptReader, UnescapeAlone) {
    EXPECT_EQ(SptReader::Unescape("a\\nb\\tc\\q\\"), "a\rb\tc\\q\\");
}

} // namespace
