// The SMS default files: the reader in a table, loading by country through
// the document, and the files shipped in res/sms.

#include <fstream>
#include <set>
#include <sstream>

#include <ostream>

#include "DocTestSupport.h"
#include "TSmsDefaultFile.h"

namespace {

using Entry = TSmsDefaultEntry;

struct SmsRow {
    const char* name;
    std::string content;
    std::vector<Entry> expected; // entries 0.. ; the rest must be empty

    friend void PrintTo(const SmsRow& row, std::ostream* os) { *os << row.name; }
};

class SmsReader : public ::testing::TestWithParam<SmsRow> {};

TEST_P(SmsReader, ReadsOneEntryPerLine) {
    const TSmsDefaultTable table = TSmsDefaultFile::Parse(GetParam().content, "UCP", "TAP");
    for (size_t i = 0; i < table.size(); ++i) {
        const Entry expected = i < GetParam().expected.size() ? GetParam().expected[i] : Entry{};
        EXPECT_EQ(table[i].Provider, expected.Provider) << "entry " << i;
        EXPECT_EQ(table[i].Rnr, expected.Rnr) << "entry " << i;
        EXPECT_EQ(table[i].Protokoll, expected.Protokoll) << "entry " << i;
    }
}

std::string Lines(int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "P" + std::to_string(i) + "\t" + std::to_string(100 + i) + "\tUCP\t-\n";
    return s;
}

std::vector<Entry> Entries(int n) {
    std::vector<Entry> v;
    for (int i = 0; i < n; ++i)
        v.push_back({"P" + std::to_string(i), std::to_string(100 + i), 1});
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SmsReader,
    ::testing::Values(
        SmsRow{"FourWordsWithTabs", "D1\t01712521002\tTAP\t-\n", {{"D1", "01712521002", 2}}},
        SmsRow{"BlanksSeparateToo",
               "AnnyWay   090032669002  UCP x\n",
               {{"AnnyWay", "090032669002", 1}}},
        SmsRow{"OtherProtocolWordIsZero", "A\t1\tSMPP\t-\n", {{"A", "1", 0}}},
        SmsRow{"ProtocolWordIsCaseSensitive", "A\t1\tucp\t-\n", {{"A", "1", 0}}},
        SmsRow{"FourthWordIsNotUsed", "A\t1\tTAP\tUCP\n", {{"A", "1", 2}}},
        SmsRow{"OnlyAName", "Alone\n", {{"Alone", "", 0}}},
        SmsRow{"NameAndNumber", "A\t12\n", {{"A", "12", 0}}},
        SmsRow{"EmptyLineLeavesItsEntryEmpty",
               "A\t1\tUCP\t-\n\nB\t2\tTAP\t-\n",
               {{"A", "1", 1}, {}, {"B", "2", 2}}},
        SmsRow{"BlankLineIsEmpty", " \t \nB\t2\tTAP\t-\n", {{}, {"B", "2", 2}}},
        SmsRow{"WindowsLineEnds", "A\t1\tUCP\t-\r\nB\t2\tTAP\r\n", {{"A", "1", 1}, {"B", "2", 2}}},
        SmsRow{"NoNewlineAtTheEnd", "A\t1\tTAP", {{"A", "1", 2}}},
        SmsRow{"ThreeLines", Lines(3), Entries(3)}, SmsRow{"TenLines", Lines(10), Entries(10)},
        SmsRow{"LinesBeyondTenAreIgnored", Lines(14), Entries(10)},
        SmsRow{"LongNameIsCutTo15",
               std::string(40, 'N') + "\t1\tUCP\t-\n",
               {{std::string(15, 'N'), "1", 1}}},
        SmsRow{"LongNumberIsCutTo24",
               "A\t" + std::string(40, '7') + "\tUCP\t-\n",
               {{"A", std::string(24, '7'), 1}}},
        SmsRow{"WindowsByteKept",
               "T\xFC"
               "rk\t5\tUCP\t-\n",
               {{"T\xFC"
                 "rk",
                 "5", 1}}},
        SmsRow{"NulSeparatesWords", std::string("A\0B\t1\tUCP", 9), {{"A", "B", 0}}},
        SmsRow{"VeryLongLineIsReadInPart",
               std::string(5000, 'x') + " 1 UCP -\nB\t2\tTAP\t-\n",
               {{std::string(15, 'x'), "", 0}, {"B", "2", 2}}},
        SmsRow{"EmptyFile", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SmsReaderTexts, WithoutProtocolTextsEveryProtocolIsZero) {
    const TSmsDefaultTable table = TSmsDefaultFile::Parse("A\t1\tUCP\t-\n", nullptr, nullptr);
    EXPECT_EQ(table[0].Provider, "A");
    EXPECT_EQ(table[0].Protokoll, 0);
}

TEST(SmsFileNames, OneFilePerCountry) {
    const std::vector<std::pair<int, const char*>> rows = {
        {0, nullptr},     {1, "def_d.sms"}, {2, "def_nl.sms"}, {3, "def_dk.sms"},
        {4, "def_f.sms"}, {5, "def_i.sms"}, {6, "def_a.sms"},  {7, "def_ch.sms"},
        {8, "def_b.sms"}, {9, nullptr},     {255, nullptr},    {-1, nullptr},
    };
    for (const auto& [land, name] : rows) {
        const char* got = TSmsDefaultFile::FileNameForLand(land);
        if (!name)
            EXPECT_EQ(got, nullptr) << land;
        else
            EXPECT_STREQ(got, name) << land;
    }
}

// ----------------------------------------------------------------- through the document

TEST_F(DocTest, SmsFileWithThreeLinesFillsThreeAndEmptiesTheRest) {
    auto doc = MakeDoc();
    for (std::uint8_t i = 0; i < 10; ++i) {
        doc->SetSMSProvider(i, "old");
        doc->SetSMSRnr(i, "999");
        doc->SetSMSProtokoll(i, 2);
    }
    WriteSms("def_i.sms", "TIM\t3391\tUCP\t-\nVodafone\t3492\tTAP\t-\nWind\t3205\tUCP\t-\n");
    MoxDaten copy = *doc->GetDaten();
    doc->SetSMSDefaultsToData(eLV_Italien, &copy);
    EXPECT_STREQ(copy.SMS[0].Provider, "TIM");
    EXPECT_STREQ(copy.SMS[1].Rnr, "3492");
    EXPECT_EQ(copy.SMS[1].Protokoll, 2);
    EXPECT_STREQ(copy.SMS[2].Provider, "Wind");
    for (int i = 3; i < 10; ++i) {
        EXPECT_STREQ(copy.SMS[i].Provider, "") << i;
        EXPECT_STREQ(copy.SMS[i].Rnr, "") << i;
        EXPECT_EQ(copy.SMS[i].Protokoll, 0) << i;
    }
}

TEST_F(DocTest, MissingSmsFileOrCountryKeepsTheEntries) {
    auto doc = MakeDoc();
    MoxDaten copy = *doc->GetDaten();
    std::strcpy(copy.SMS[4].Provider, "mine");
    doc->SetSMSDefaultsToData(eLV_Frankreich, &copy); // no def_f.sms in this res/
    EXPECT_STREQ(copy.SMS[4].Provider, "mine");
    doc->SetSMSDefaultsToData(eLV_Undefined, &copy);
    EXPECT_STREQ(copy.SMS[4].Provider, "mine");
}

// ----------------------------------------------------------------- shipped files

const char* const kShipped[] = {"def_d.sms", "def_nl.sms", "def_dk.sms", "def_f.sms",
                                "def_i.sms", "def_a.sms",  "def_ch.sms", "def_b.sms"};

std::string SourceSmsDir() {
    return std::string(MOX_TEST_DATA_DIR) + "/../../res/sms";
}

TEST(ShippedSmsFiles, EveryLineHoldsTheFourWordsOfTheFormat) {
    for (const char* name : kShipped) {
        const std::string path = SourceSmsDir() + "/" + name;
        ASSERT_TRUE(FileExists(path)) << path;
        std::ifstream in(path, std::ios::binary);
        std::string line;
        int n = 0;
        while (std::getline(in, line)) {
            ++n;
            ASSERT_LE(n, 10) << name << ": more lines than SMS entries";
            if (line.empty())
                continue;
            std::istringstream words(line);
            std::vector<std::string> w;
            std::string word;
            while (words >> word)
                w.push_back(word);
            ASSERT_EQ(w.size(), 4u) << name << " line " << n;
            EXPECT_LE(w[0].size(), 15u) << name << " line " << n;
            EXPECT_LE(w[1].size(), 24u) << name << " line " << n;
            EXPECT_EQ(w[1].find_first_not_of("0123456789"), std::string::npos)
                << name << " line " << n;
            EXPECT_TRUE(w[2] == "UCP" || w[2] == "TAP") << name << " line " << n;
        }
    }
}

TEST(ShippedSmsFiles, AreCopiedBesideTheProgram) {
    for (const char* name : kShipped) {
        EXPECT_EQ(ReadBytes(std::string(MOX_BIN_DIR) + "/res/" + name),
                  ReadBytes(SourceSmsDir() + "/" + name))
            << name;
    }
}

} // namespace
