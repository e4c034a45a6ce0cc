#include "EventLogDecoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "DumpBuilder.h"

namespace mox::test {
namespace {

namespace fs = std::filesystem;

const std::string kBanner = "\n\rKestrin Eventlog Dump Utility\n\n\r";
const std::string kExamining = "Untersuche Eingabedatei.... ";
const std::string kNothingStored = "Es sind keine Informationen gespeichert!\n\r";
const std::string kFinished = "Transformation finished\n\r";
const std::string kReadErrorFirst = "Eeading error input file (first bloc)!\n\r";
const std::string kReadErrorSecond = "Reading error input file (second bloc)!\n\r";

// Collects the status texts in the order the decoder reported them.
struct StatusLog {
    std::vector<std::string> texts;
    EventLogDecoder::StatusCallback Callback() {
        return [this](const std::string& t) { texts.push_back(t); };
    }
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

// A listing line for a valid record, padded the way the page's fixed-width
// font needs it: number, name (15), date (19), payload column (38).
std::string ValidLine(int n, std::string name, std::string date, std::string payload) {
    char num[8];
    std::snprintf(num, sizeof num, "%04d", n);
    name.resize(15, ' ');
    date.resize(19, ' ');
    payload.resize(38, ' ');
    return std::string(num) + " " + name + " " + date + " " + payload + "\r\n";
}

std::string InvalidLine(int n, std::string name) {
    char num[8];
    std::snprintf(num, sizeof num, "%04d", n);
    name.resize(15, ' ');
    return std::string(num) + " " + name + " Daten ung\xFC" "ltig\r\n";
}

// Each test gets its own scratch directory for dump and listing files.
class EventLogFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::path(::testing::TempDir()) / "eventlog-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    fs::path Path(const char* name) const { return m_dir / name; }

    fs::path m_dir;
};

// ------------------------------------------------------------ the fixture

// One record of every type, each invalid form, both blocks. Block 1's header
// 0x00 against block 0's 0xFF puts block 1 first.
DumpBuilder FixtureDump() {
    DumpBuilder b;
    b.Header(0, 0xFF).Header(1, 0x00);
    b.Record(1, 1, 18000)
        .Record(1, 2, 951845696, Cat({Int32(-42), Text("Stack"), {0}}))
        .Record(1, 3, 68187600, {1})
        .Record(1, 3, 68274000, {9})
        .Record(1, 4, 946702799, {12})
        .Record(1, 5, 979565400)
        .Record(1, 6, 94712399, {3})
        .Record(1, 7, 94712400, {2})
        .Record(1, 8, -5)
        .Record(1, 9, 17999)
        .Record(1, 10, 18061, {16})
        .Record(1, 11, 2147483647, {200})
        .Record(1, 12, 1709269199)
        .Record(1, 13, 1709269200)
        .Record(1, 14, 1286723410, Text("Programmierung"))
        .Record(1, 15, 1321027871, Text("Adresse 0x70 antwortet nicht"))
        .Record(1, 16, 1355332332, Cat({Int32(7), Text("Probe")}))
        .Record(1, 20, 1118848830, {0x01, 0xAB})
        .Append(1, WithBadSum(MakeRecord(4, 1118848830, {5})))
        .Append(1, {6, 0xFF})
        .Record(1, 7, 2145934800, {3})
        .Record(1, 16, 320670000, Cat({Int32(-3), Text("%s%n%x")}))
        .Record(1, 2, 641901905, Cat({Int32(123456), Text("ABCDEFGHIJKLMNOPQRSTUVWXYZ")}))
        .Append(1, {9, 2})
        .Record(1, 1, 18000);  // behind the short record: never listed
    b.Record(0, 10, 978325200, {34})
        .Record(0, 11, 1012633322, {90})
        .Record(0, 3, 1046678583, {3})
        .Record(0, 14, 1081069444, Text("Ab\nCd"))
        .Record(0, 0, 1149591966)
        .Record(0, 7, 1183810027, {0})
        .Record(0, 3, 1218200888, {0})
        .Append(0, {1, 0})
        .Record(0, 1, 18000);  // behind the zero length: never listed
    return b;
}

TEST_F(EventLogFiles, FixtureDumpConvertsToTheHandWrittenListing) {
    WriteFile(Path("fixture.log"), FixtureDump().AsString());
    StatusLog status;
    EventLogDecoder decoder(status.Callback());

    ASSERT_TRUE(decoder.Convert(Path("fixture.log").string(), Path("fixture.txt").string()));

    const std::string expected =
        ReadFile(fs::path(MOX_TEST_DATA_DIR) / "eventlog" / "fixture_listing.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadFile(Path("fixture.txt")), expected);
    // Block 1 first; its chain ends at the length 2, block 0's at the length 0.
    EXPECT_EQ(status.texts,
              (std::vector<std::string>{kBanner, kExamining, "1", "2", "0", "0", kFinished}));
}

// ---------------------------------------------------------- the order rule

struct OrderRow {
    const char* name;
    std::uint8_t h0, h1;
    int records0, records1;  // 8-byte records in each chain
    int first;               // 0, 1 or kNothingStored
};
void PrintTo(const OrderRow& row, std::ostream* os) {
    *os << row.name;
}

class OrderRule : public ::testing::TestWithParam<OrderRow> {};

TEST_P(OrderRule, ChoosesTheFirstBlock) {
    const OrderRow& row = GetParam();
    DumpBuilder b;
    b.Header(0, row.h0).Header(1, row.h1);
    for (int i = 0; i < row.records0; ++i) {
        b.Record(0, 1, 18000);
    }
    for (int i = 0; i < row.records1; ++i) {
        b.Record(1, 1, 18000);
    }
    EventLogDecoder decoder(nullptr);
    EXPECT_EQ(decoder.FirstBlock(b.Get()), row.first);
}

constexpr int kNone = EventLogDecoder::kNothingStored;

INSTANTIATE_TEST_SUITE_P(
    Headers, OrderRule,
    ::testing::Values(
        OrderRow{"H00_HFF", 0x00, 0xFF, 1, 1, 0},
        OrderRow{"H00_HFF_Block1Fuller", 0x00, 0xFF, 1, 3, 0},
        OrderRow{"HFF_H00", 0xFF, 0x00, 1, 1, 1},
        OrderRow{"HFF_H00_Block0Fuller", 0xFF, 0x00, 3, 1, 1},
        OrderRow{"H00_H00_Block0Fuller", 0x00, 0x00, 3, 2, 0},
        OrderRow{"H00_H00_Equal", 0x00, 0x00, 2, 2, 0},
        OrderRow{"H00_H00_Block1Fuller", 0x00, 0x00, 2, 3, 1},
        OrderRow{"H00_H00_BothEmpty", 0x00, 0x00, 0, 0, 0},
        OrderRow{"HFF_HFF_OnlyBlock0Used", 0xFF, 0xFF, 1, 0, 0},
        OrderRow{"HFF_HFF_OnlyBlock1Used", 0xFF, 0xFF, 0, 1, 1},
        OrderRow{"HFF_HFF_BothEmpty", 0xFF, 0xFF, 0, 0, kNone},
        OrderRow{"HFF_HFF_BothUsed_Block0Fuller", 0xFF, 0xFF, 3, 2, 0},
        OrderRow{"HFF_HFF_BothUsed_Equal", 0xFF, 0xFF, 2, 2, 0},
        OrderRow{"HFF_HFF_BothUsed_Block1Fuller", 0xFF, 0xFF, 2, 3, 1},
        // A header that is neither 0x00 nor 0xFF: fill level, tie to block 0.
        OrderRow{"H55_HFF_Block1Fuller", 0x55, 0xFF, 1, 2, 1},
        OrderRow{"H00_H7F_Equal", 0x00, 0x7F, 2, 2, 0},
        OrderRow{"H01_H02_Block0Fuller", 0x01, 0x02, 2, 1, 0},
        OrderRow{"HFF_H80_BothEmpty", 0xFF, 0x80, 0, 0, 0},
        OrderRow{"H80_H00_Block1Fuller", 0x80, 0x00, 0, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// --------------------------------------------------------- the fill level

struct FillRow {
    const char* name;
    std::function<void(DumpBuilder&)> build;
    int block;
    int level;
    std::vector<std::string> status;
};
void PrintTo(const FillRow& row, std::ostream* os) {
    *os << row.name;
}

class FillLevel : public ::testing::TestWithParam<FillRow> {};

TEST_P(FillLevel, EndsWhereTheChainEnds) {
    const FillRow& row = GetParam();
    DumpBuilder b;
    row.build(b);
    StatusLog status;
    EventLogDecoder decoder(status.Callback());
    EXPECT_EQ(decoder.FillLevel(b.Get(), row.block), row.level);
    EXPECT_EQ(status.texts, row.status);
}

// Fills block offsets 1..8191 with 0x01: a chain of 1-byte steps that runs
// into whatever follows the block.
void OnesToBlockEnd(DumpBuilder& b, int block) {
    b.Put(std::size_t(block) * 8192 + 1, Bytes(8191, 0x01));
}

INSTANTIATE_TEST_SUITE_P(
    Chains, FillLevel,
    ::testing::Values(
        FillRow{"Empty", [](DumpBuilder&) {}, 0, 1, {}},
        FillRow{"OneRecord", [](DumpBuilder& b) { b.Record(0, 1, 0); }, 0, 9, {}},
        FillRow{"ZeroLengthStops", [](DumpBuilder& b) { b.Append(0, {1, 0}); }, 0, 1, {"0"}},
        FillRow{"ZeroLengthAfterRecord",
                [](DumpBuilder& b) { b.Record(0, 1, 0).Append(0, {1, 0}); }, 0, 9, {"0"}},
        FillRow{"BrokenRecordTakesTwoBytes", [](DumpBuilder& b) { b.Append(0, {6, 0xFF}); }, 0, 3,
                {}},
        FillRow{"LengthTwoSteps", [](DumpBuilder& b) { b.Append(0, {5, 2, 5, 2}); }, 0, 5, {}},
        FillRow{"LongRecordsOvershootTheBlock",
                [](DumpBuilder& b) {
                    for (std::size_t p = 1; p < 8192; p += 254) {
                        b.Put(p, {0x0E, 0xFE});
                    }
                },
                0, 8383, {}},
        FillRow{"Block0RunsIntoHeader00",
                [](DumpBuilder& b) {
                    OnesToBlockEnd(b, 0);
                    b.Header(1, 0x00);
                },
                0, 8191, {"0"}},
        FillRow{"Block0RunsIntoHeaderFF", [](DumpBuilder& b) { OnesToBlockEnd(b, 0); }, 0, 8193,
                {}},
        FillRow{"Block1RunsPastTheDump", [](DumpBuilder& b) { OnesToBlockEnd(b, 1); }, 1, 8193,
                {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------- the date rule

struct DateRow {
    const char* name;
    std::int32_t time;
};
void PrintTo(const DateRow& row, std::ostream* os) {
    *os << row.name;
}

class DateRule : public ::testing::TestWithParam<DateRow> {};

// The box's own calendar arithmetic must agree with the C library's for
// every time a 32-bit field can hold.
TEST_P(DateRule, MatchesGmtimeOfTheShiftedTime) {
    const std::int32_t t = GetParam().time;
    const long long shifted = std::max(0LL, static_cast<long long>(t) - 18000);
    const std::time_t tt = static_cast<std::time_t>(shifted);
    std::tm tm{};
    ASSERT_NE(gmtime_r(&tt, &tm), nullptr);
    char expected[32];
    std::strftime(expected, sizeof expected, "%d.%m.%Y %H:%M:%S", &tm);
    EXPECT_EQ(EventLogDecoder::DateText(t), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Times, DateRule,
    ::testing::Values(DateRow{"Shift", 18000}, DateRow{"OneSecondAfterShift", 18001},
                      DateRow{"JustBeforeShift", 17999}, DateRow{"Zero", 0},
                      DateRow{"MinusOne", -1},
                      DateRow{"Int32Min", std::numeric_limits<std::int32_t>::min()},
                      DateRow{"EndOf1970", 31536000 - 1 + 18000},
                      DateRow{"Feb28_1972", 68083200 + 18000},
                      DateRow{"Feb29_1972", 68169600 + 18000},
                      DateRow{"Feb29_1972LastSecond", 68255999 + 18000},
                      DateRow{"Mar01_1972", 68256000 + 18000},
                      DateRow{"Dec31_1972", 94608000 + 18000},
                      DateRow{"Jan01_1973", 94694400 + 18000},
                      DateRow{"January2001", 979565400}, DateRow{"Feb29_2000", 951782400 + 18000},
                      DateRow{"Dec31_2000", 978220800 + 18000},
                      DateRow{"Billennium", 1000000000}, DateRow{"Feb29_2024", 1709164800 + 18000},
                      DateRow{"Int32Max", std::numeric_limits<std::int32_t>::max()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DateText, ShowsTheBoxsFixedFormat) {
    EXPECT_EQ(EventLogDecoder::DateText(18000), "01.01.1970 00:00:00");
    EXPECT_EQ(EventLogDecoder::DateText(-2000000000), "01.01.1970 00:00:00");
    EXPECT_EQ(EventLogDecoder::DateText(68169600 + 18000), "29.02.1972 00:00:00");
    EXPECT_EQ(EventLogDecoder::DateText(std::numeric_limits<std::int32_t>::max()),
              "18.01.2038 22:14:07");
}

// ------------------------------------------------- odd records, one by one

struct RecordRow {
    const char* name;
    std::function<void(DumpBuilder&)> build;
    std::size_t pos;
    std::string line;
};
void PrintTo(const RecordRow& row, std::ostream* os) {
    *os << row.name;
}

class OddRecord : public ::testing::TestWithParam<RecordRow> {};

TEST_P(OddRecord, FormatsWithoutReadingOutsideTheDump) {
    const RecordRow& row = GetParam();
    DumpBuilder b;
    row.build(b);
    EXPECT_EQ(EventLogDecoder::FormatRecord(b.Get(), row.pos, 1), row.line);
}

const std::string kSystemstartInvalid = InvalidLine(1, "Systemstart");

INSTANTIATE_TEST_SUITE_P(
    Forms, OddRecord,
    ::testing::Values(
        RecordRow{"WrongSum", [](DumpBuilder& b) { b.Append(0, WithBadSum(MakeRecord(4, 0, {1}))); },
                  1, InvalidLine(1, "T\xFCrruf")},
        RecordRow{"LengthFF", [](DumpBuilder& b) { b.Append(0, {6, 0xFF}); }, 1,
                  InvalidLine(1, "Schalteingang")},
        // Lengths below 3 would put the sum bytes before the record.
        RecordRow{"LengthZeroAtDumpStart", [](DumpBuilder& b) { b.Put(0, {1, 0}); }, 0,
                  kSystemstartInvalid},
        RecordRow{"LengthOneAtDumpStart", [](DumpBuilder& b) { b.Put(0, {1, 1}); }, 0,
                  kSystemstartInvalid},
        RecordRow{"LengthTwo", [](DumpBuilder& b) { b.Append(0, {1, 2}); }, 1, kSystemstartInvalid},
        // Length 3: the sum covers the type byte alone and is the length byte
        // itself; the time and payload are read from the bytes that follow.
        RecordRow{"LengthThreeWithMatchingSum",
                  [](DumpBuilder& b) { b.Append(0, {3, 3, 0, 0, 0, 0, 1}); }, 1,
                  ValidLine(1, "Konfiguration", "01.01.1970 00:00:00", "Quelle: ISDN")},
        RecordRow{"LengthByteBeyondDump", [](DumpBuilder& b) { b.Put(16383, {1}); }, 16383,
                  kSystemstartInvalid},
        RecordRow{"SumBeyondDump",
                  [](DumpBuilder& b) { b.Put(16380, MakeRecord(1, 18000)); }, 16380,
                  kSystemstartInvalid},
        RecordRow{"RecordEndsAtDumpEnd",
                  [](DumpBuilder& b) { b.Put(16376, MakeRecord(1, 18000)); }, 16376,
                  ValidLine(1, "Systemstart", "01.01.1970 00:00:00", "")},
        // Length 6: the sum is 14+6+0x50+0x46 = 0xAA, which doubles as the
        // time's third byte. The too small length asks for 20 text bytes;
        // only two are left in the dump.
        RecordRow{"ShortRecordTextStopsAtDumpEnd",
                  [](DumpBuilder& b) {
                      b.Put(16376, {14, 6, 0x50, 0x46, 0xAA, 0x00, 'O', 'K'});
                  },
                  16376, ValidLine(1, "LM-Prozedur", "09.05.1970 22:45:20", "OK")},
        RecordRow{"ShortRecordHexStopsAtDumpEnd",
                  [](DumpBuilder& b) {
                      b.Put(16376, {0x30, 6, 0x00, 0x00, 0x36, 0x00, 0xAB, 0xCD});
                  },
                  16376, ValidLine(1, "Unbekannt: 0x30", "10.02.1970 18:02:24", "AB CD ")},
        // Length 8 leaves no room for the number and text: the number is the
        // sum (0xA0) and two following zeros, the text 20 bytes further on.
        RecordRow{"SoftErrorTooShortShowsTwentyBytes",
                  [](DumpBuilder& b) {
                      b.Append(0, MakeRecord(2, 18000))
                          .Append(0, {0, 0})
                          .Append(0, Text("0123456789ABCDEFGHIJKLMNOP"));
                  },
                  1, ValidLine(1, "SoftError", "01.01.1970 00:00:00", "0123456789ABCDEFGHIJ/160")},
        RecordRow{"UnknownTypeShowsAtMostTwentyBytes",
                  [](DumpBuilder& b) { b.Append(0, MakeRecord(0x99, 18000, Bytes(25, 0x5A))); }, 1,
                  ValidLine(1, "Unbekannt: 0x99", "01.01.1970 00:00:00",
                            "5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A")},
        // The time bytes straddle the block boundary; block 1's header byte
        // is the time's third byte.
        RecordRow{"Block0RecordReadsIntoBlock1",
                  [](DumpBuilder& b) { b.Put(8188, MakeRecord(4, 18000, {7})); }, 8188,
                  ValidLine(1, "T\xFCrruf", "01.01.1970 00:00:00", "Teilnehmer: 7")},
        RecordRow{"LongestCauseText",
                  [](DumpBuilder& b) { b.Append(0, MakeRecord(11, 18000, {44})); }, 1,
                  ValidLine(1, "S0-Release", "01.01.1970 00:00:00",
                            "044: Circuit/Channel Not Available")},
        RecordRow{"CauseZeroIsUnknown",
                  [](DumpBuilder& b) { b.Append(0, MakeRecord(10, 18000, {0})); }, 1,
                  ValidLine(1, "S0-Disconnect", "01.01.1970 00:00:00", "000: Unbekannter Cause")},
        RecordRow{"FormatCharactersAreCopied",
                  [](DumpBuilder& b) {
                      b.Append(0, MakeRecord(15, 18000, Text("%n%n%s%s%99999d")));
                  },
                  1, ValidLine(1, "LM-Fehler", "01.01.1970 00:00:00", "%n%n%s%s%99999d")}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------- blocks and order

TEST(Decode, OlderBlockFirstThenTheEmptyOneEndsAtOnce) {
    DumpBuilder b;
    b.Header(0, 0x00).Header(1, 0xFF).Record(0, 1, 18000).Record(0, 4, 18000, {2});
    StatusLog status;
    EventLogDecoder decoder(status.Callback());
    std::string listing;

    ASSERT_TRUE(decoder.Decode(b.Get(), listing));

    EXPECT_EQ(listing, ValidLine(1, "Systemstart", "01.01.1970 00:00:00", "") +
                           ValidLine(2, "T\xFCrruf", "01.01.1970 00:00:00", "Teilnehmer: 2"));
    EXPECT_EQ(status.texts, (std::vector<std::string>{kExamining, "0", "1"}));
}

TEST(Decode, FullerBlockFirstAndNumbersGoOn) {
    DumpBuilder b;
    b.Header(0, 0x00).Header(1, 0x00);
    b.Record(0, 8, 18000);
    b.Record(1, 9, 18000).Record(1, 12, 18000);
    StatusLog status;
    EventLogDecoder decoder(status.Callback());
    std::string listing;

    ASSERT_TRUE(decoder.Decode(b.Get(), listing));

    EXPECT_EQ(listing, ValidLine(1, "S0-Connect", "01.01.1970 00:00:00", "") +
                           ValidLine(2, "IT-Connect", "01.01.1970 00:00:00", "") +
                           ValidLine(3, "S0-Alert", "01.01.1970 00:00:00", ""));
    EXPECT_EQ(status.texts, (std::vector<std::string>{kExamining, "1", "0"}));
}

TEST(Decode, ShortLengthEndsOnlyItsOwnBlock) {
    DumpBuilder b;
    b.Header(0, 0x00).Header(1, 0xFF);
    b.Record(0, 1, 18000).Append(0, WithBadSum(MakeRecord(5, 0))).Append(0, {5, 5, 0, 0});
    b.Record(1, 13, 18000);
    StatusLog status;
    EventLogDecoder decoder(status.Callback());
    std::string listing;

    ASSERT_TRUE(decoder.Decode(b.Get(), listing));

    EXPECT_EQ(listing, ValidLine(1, "Systemstart", "01.01.1970 00:00:00", "") +
                           InvalidLine(2, "MF-Eingang") + InvalidLine(3, "MF-Eingang") +
                           ValidLine(4, "Kommender Ruf", "01.01.1970 00:00:00", ""));
    EXPECT_EQ(status.texts, (std::vector<std::string>{kExamining, "0", "5", "1"}));
}

TEST(Decode, NothingStoredWhenBothBlocksAreErased) {
    DumpBuilder b;
    StatusLog status;
    EventLogDecoder decoder(status.Callback());
    std::string listing = "previous";

    EXPECT_FALSE(decoder.Decode(b.Get(), listing));
    EXPECT_EQ(listing, "");
    EXPECT_EQ(status.texts, (std::vector<std::string>{kExamining, kNothingStored}));
}

// The chain of block 1 reaches the dump's last byte through 4095 broken
// records; that record's length byte lies beyond the dump and reads as 0xFF.
TEST(Decode, RecordOnTheLastDumpByteIsListedAsInvalid) {
    DumpBuilder b;
    b.Header(0, 0xFF).Header(1, 0x00);
    for (std::size_t p = 8193; p < 16383; p += 2) {
        b.Put(p, {6, 0xFF});
    }
    b.Put(16383, {7});
    EventLogDecoder decoder(nullptr);
    std::string listing;

    ASSERT_TRUE(decoder.Decode(b.Get(), listing));

    const std::string last = InvalidLine(4096, "S0-Setup");
    EXPECT_EQ(listing.size(), 4096 * last.size());
    EXPECT_EQ(listing.substr(listing.size() - last.size()), last);
}

TEST(Decode, BothBlocksFullOfBrokenRecordsNumberUpTo8190) {
    DumpBuilder b;
    b.Header(0, 0x00).Header(1, 0x00);
    for (std::size_t p = 1; p + 1 < 8192; p += 2) {
        b.Put(p, {6, 0xFF}).Put(8192 + p, {6, 0xFF});
    }
    EventLogDecoder decoder(nullptr);
    std::string listing;

    ASSERT_TRUE(decoder.Decode(b.Get(), listing));

    const std::string line = InvalidLine(1, "Schalteingang");
    EXPECT_EQ(listing.size(), 8190 * line.size());
    EXPECT_EQ(listing.substr(listing.size() - line.size()), InvalidLine(8190, "Schalteingang"));
}

// ------------------------------------------------------- files and status

struct SizeRow {
    const char* name;
    std::size_t size;
};
void PrintTo(const SizeRow& row, std::ostream* os) {
    *os << row.name;
}

class WrongSize : public EventLogFiles, public ::testing::WithParamInterface<SizeRow> {};

TEST_P(WrongSize, IsRefusedWithTheExpectedSize) {
    WriteFile(Path("in.log"), std::string(GetParam().size, '\0'));
    WriteFile(Path("out.txt"), "old listing");
    StatusLog status;
    EventLogDecoder decoder(status.Callback());

    EXPECT_FALSE(decoder.Convert(Path("in.log").string(), Path("out.txt").string()));

    EXPECT_EQ(status.texts, (std::vector<std::string>{kBanner, "16384"}));
    EXPECT_EQ(ReadFile(Path("out.txt")), "");
}

INSTANTIATE_TEST_SUITE_P(Sizes, WrongSize,
                         ::testing::Values(SizeRow{"Empty", 0}, SizeRow{"OneShort", 16383},
                                           SizeRow{"OneLong", 16385}, SizeRow{"OneBlock", 8192}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EventLogFiles, EmptyLogSaysNothingIsStored) {
    WriteFile(Path("in.log"), DumpBuilder().AsString());
    StatusLog status;
    EventLogDecoder decoder(status.Callback());

    EXPECT_FALSE(decoder.Convert(Path("in.log").string(), Path("out.txt").string()));

    EXPECT_EQ(status.texts, (std::vector<std::string>{kBanner, kExamining, kNothingStored}));
    EXPECT_TRUE(fs::exists(Path("out.txt")));
    EXPECT_EQ(ReadFile(Path("out.txt")), "");
}

TEST_F(EventLogFiles, MissingDumpShowsItsPath) {
    StatusLog status;
    EventLogDecoder decoder(status.Callback());
    const std::string dump = Path("absent.log").string();

    EXPECT_FALSE(decoder.Convert(dump, Path("out.txt").string()));

    EXPECT_EQ(status.texts, (std::vector<std::string>{kBanner, dump}));
    EXPECT_FALSE(fs::exists(Path("out.txt")));
}

TEST_F(EventLogFiles, UncreatableListingShowsItsPath) {
    WriteFile(Path("in.log"), FixtureDump().AsString());
    StatusLog status;
    EventLogDecoder decoder(status.Callback());
    const std::string text = (m_dir / "no-such-dir" / "out.txt").string();

    EXPECT_FALSE(decoder.Convert(Path("in.log").string(), text));

    EXPECT_EQ(status.texts, (std::vector<std::string>{kBanner, text}));
}

// A full disk must not end in "Transformation finished" with half a file.
TEST_F(EventLogFiles, FailedWriteIsReportedAsFailure) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    WriteFile(Path("in.log"), FixtureDump().AsString());
    StatusLog status;
    EventLogDecoder decoder(status.Callback());

    EXPECT_FALSE(decoder.Convert(Path("in.log").string(), "/dev/full"));

    ASSERT_FALSE(status.texts.empty());
    EXPECT_EQ(status.texts.back(), "/dev/full");
}

struct ShortReadRow {
    const char* name;
    std::size_t available;
    std::vector<std::string> status;
};
void PrintTo(const ShortReadRow& row, std::ostream* os) {
    *os << row.name;
}

class ShortRead : public ::testing::TestWithParam<ShortReadRow> {};

// The file system promised 16384 bytes but fewer arrive (a file cut while it
// was read): the conversion goes on with the rest erased.
TEST_P(ShortRead, ReportsTheBlockAndLeavesTheRestErased) {
    const ShortReadRow& row = GetParam();
    DumpBuilder source;
    source.Header(0, 0x00).Header(1, 0x00);
    source.Record(0, 1, 18000).Record(1, 9, 18000);
    std::istringstream in(source.AsString().substr(0, row.available));
    StatusLog status;
    EventLogDecoder decoder(status.Callback());
    auto dump = std::make_unique<Dump>();

    ASSERT_TRUE(decoder.ReadDump(in, 16384, *dump));

    EXPECT_EQ(status.texts, row.status);
    for (std::size_t i = 0; i < dump->size(); ++i) {
        const std::uint8_t want = i < row.available ? source.Get()[i] : 0xFF;
        ASSERT_EQ((*dump)[i], want) << "offset " << i;
    }
    std::string listing;
    EXPECT_EQ(decoder.Decode(*dump, listing), row.available > 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ShortRead,
    ::testing::Values(ShortReadRow{"Complete", 16384, {}},
                      ShortReadRow{"SecondBlockCut", 10000, {kReadErrorSecond}},
                      ShortReadRow{"SecondBlockMissing", 8192, {kReadErrorSecond}},
                      ShortReadRow{"FirstBlockCut", 5000, {kReadErrorFirst, kReadErrorSecond}},
                      ShortReadRow{"Nothing", 0, {kReadErrorFirst, kReadErrorSecond}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadDump, UnknownSizeIsRefused) {
    std::istringstream in(std::string(16384, '\0'));
    StatusLog status;
    EventLogDecoder decoder(status.Callback());
    auto dump = std::make_unique<Dump>();

    EXPECT_FALSE(decoder.ReadDump(in, -1, *dump));
    EXPECT_EQ(status.texts, (std::vector<std::string>{"16384"}));
}

}  // namespace
}  // namespace mox::test
