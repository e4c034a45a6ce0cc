// The language-file generator: what it writes, the faults in the sources
// that stop the build, and the names check that holds each language to one
// name for each part of the configuration, the product and the box.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;

class MakeSpt : public testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "mox-makespt-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    void Source(const std::string& name, const std::string& text) {
        const std::filesystem::path path = m_dir / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // Runs the generator over sources name=output (paths below the test's
    // folder unless absolute), with the names check when places are given;
    // returns its exit code.
    int Run(const std::vector<std::pair<std::string, std::string>>& langs,
            const std::string& places = {}, const std::string& help = {}) {
        std::string cmd = std::string("'") + MOX_MAKESPT + "'";
        if (!places.empty())
            cmd += " --names '" + (m_dir / places).string() + "' '" + (m_dir / help).string() + "'";
        cmd += " '" + (m_dir / "out").string() + "'";
        for (const auto& [src, out] : langs)
            cmd += " '" + (m_dir / src).string() + "=" + out + "'";
        cmd += " 2>'" + (m_dir / "stderr.txt").string() + "'";
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Read(const std::filesystem::path& p) const {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::string Stderr() const { return Read(m_dir / "stderr.txt"); }
    // Sets the text (and hint) of an id in a source file.
    void SetText(const std::string& file, const std::string& id, const std::string& text) {
        std::stringstream in(Read(m_dir / file));
        std::string out;
        bool found = false;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind(id + "\t", 0) == 0) {
                line = id + "\t" + text;
                found = true;
            }
            out += line + "\n";
        }
        ASSERT_TRUE(found) << file << " " << id;
        Source(file, out);
    }
    std::string Output(const std::string& name) const { return Read(m_dir / "out" / name); }

    std::filesystem::path m_dir;
};

TEST_F(MakeSpt, WritesTenThousandRecordsInWindows1252) {
    Source("de.txt", "# comment\n\n2\tT\xC3\xBCr\tHinweis\\tmit Tab\n0\tnull\n9999\tletzter\n");
    Source("en.txt", "2\tDoor\tHint\\twith tab\r\n0\tzero\n9999\tlast\n");
    ASSERT_EQ(Run({{"de.txt", "ktx_d.spt"}, {"en.txt", "ktx_uk.spt"}}), 0) << Stderr();
    const std::string de = Output("ktx_d.spt");
    const std::string expected = "null\0\0"s + "\0\0"s + "T\xFCr\0Hinweis\\tmit Tab\0"s +
                                 std::string(2 * 9996, '\0') + "letzter\0\0"s;
    EXPECT_EQ(de, expected);
    EXPECT_EQ(Output("ktx_uk.spt").size(), 20000u + 4 + 4 + 14 + 4);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out" / "ktx_d.spt.tmp"));
}

struct FaultCase {
    const char* name;
    std::string de;
    std::string en;
    const char* message;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class MakeSptFault : public MakeSpt, public testing::WithParamInterface<FaultCase> {};

TEST_P(MakeSptFault, FailsTheBuild) {
    Source("de.txt", GetParam().de);
    Source("en.txt", GetParam().en);
    EXPECT_EQ(Run({{"de.txt", "ktx_d.spt"}, {"en.txt", "ktx_uk.spt"}}), 1);
    EXPECT_NE(Stderr().find(GetParam().message), std::string::npos) << Stderr();
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out" / "ktx_d.spt"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MakeSptFault,
    testing::Values(FaultCase{"IdMissingInOneLanguage", "1\teins\n2\tzwei\n", "1\tone\n",
                              "lacks id 2"},
                    FaultCase{"HintMissingInOneLanguage", "1\teins\tHinweis\n", "1\tone\n",
                              "lacks the hint of id 1"},
                    FaultCase{"DuplicateId", "1\teins\n1\tnochmal\n", "1\tone\n", "appears twice"},
                    FaultCase{"IdTooLarge", "10000\tzu gross\n", "1\tone\n", "id must be a number"},
                    FaultCase{"IdNotANumber", "x1\teins\n", "1\tone\n", "id must be a number"},
                    FaultCase{"NoText", "1\n", "1\tone\n", "expected id<TAB>text"},
                    FaultCase{"TooManyFields", "1\ta\tb\tc\n", "1\tone\n", "expected id<TAB>text"},
                    FaultCase{"BadEscape", "1\tC:\\temp\\x\n", "1\tone\n", "backslash"},
                    FaultCase{"BackslashAtEnd", "1\teins\\\n", "1\tone\n", "backslash"},
                    FaultCase{"NotInWindows1252", "1\t\xD0\x96\n", "1\tone\n", "Windows-1252"},
                    FaultCase{"NotUtf8", "1\t\xFC\n", "1\tone\n", "Windows-1252"}),
    [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// ------------------------------------------------------------ names

// German and French with the product and the barred numbers named once
// each; the files a fault case changes are replaced before the run.
class NamesCheck : public MakeSpt {
protected:
    void SetUp() override {
        MakeSpt::SetUp();
        Source("places.tsv", "# key<TAB>places\nproduct\t2000 help:10\nbarred-numbers\t236 280\n");
        Source("de/t.txt", "236\tSperrnummern\n237\tKeine Sperrnummer wird gewählt.\tHilfe\n"
                           "280\tSperrrufnummern:\n2000\tHalvox ISDN\n");
        Source("de/names.tsv", "product\tHalvox ISDN\nbarred-numbers\tSperrnummer|Sperrrufnummer\n");
        Source("fr/t.txt", "236\tNuméros bloqués\n280\tNUMÉROS BLOQUÉS :\n"
                           "237\tLes numéros bloqués ne sont pas composés.\tAide\n"
                           "2000\tHalvox ISDN\n");
        Source("fr/names.tsv", "product\tHalvox ISDN\tHalvox RNIS\n"
                               "barred-numbers\tNuméros bloqués|Numéro bloqué\tNuméros interdits\n");
        for (const char* mode : {"ektx", "kktx"}) {
            Source("help/"s + mode + "_d/10.html", "<title>Info über Halvox ISDN</title>");
            Source("help/"s + mode + "_f/10.html",
                   "<title>À propos de Halvox ISDN</title><p>L&#x27;appareil</p>");
        }
    }
    int RunNames() {
        return Run({{"de", "ktx_d.spt"}, {"fr", "ktx_f.spt"}}, "places.tsv", "help");
    }
};

TEST_F(NamesCheck, OneNameInEveryPlaceWhateverItsCasePasses) {
    EXPECT_EQ(RunNames(), 0) << Stderr();
    EXPECT_TRUE(std::filesystem::exists(m_dir / "out" / "ktx_f.spt"));
}

struct NamesFault {
    const char* name;
    const char* file;
    const char* id; // the row of this id is replaced by text; none: the whole file
    std::string text;
    std::vector<std::string> messages;
};

void PrintTo(const NamesFault& c, std::ostream* os) {
    *os << c.name;
}

class NamesCheckFault : public NamesCheck, public testing::WithParamInterface<NamesFault> {};

TEST_P(NamesCheckFault, FailsTheBuild) {
    if (*GetParam().id)
        SetText(GetParam().file, GetParam().id, GetParam().text);
    else
        Source(GetParam().file, GetParam().text);
    EXPECT_EQ(RunNames(), 1);
    for (const std::string& message : GetParam().messages)
        EXPECT_NE(Stderr().find(message), std::string::npos) << message << "\n" << Stderr();
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out" / "ktx_f.spt"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, NamesCheckFault,
    testing::Values(
        NamesFault{"ProductTranslated", "fr/t.txt", "2000", "Halvox RNIS",
                   {"text 2000 \"Halvox RNIS\" does not name \"product\" \"Halvox ISDN\"",
                    "text 2000: says \"Halvox RNIS\""}},
        NamesFault{"BarredNumbersOtherwiseOnThePage", "fr/t.txt", "280", "Numéros interdits :",
                   {"text 280 \"Numéros interdits :\" does not name \"barred-numbers\""}},
        NamesFault{"AvoidedWordInAHint", "fr/t.txt", "237", "Numéros\taucun des numéros interdits",
                   {"text 237: says \"Numéros interdits\" for \"barred-numbers\""}},
        NamesFault{"HelpTitleOfOneMode", "help/kktx_f/10.html", "",
                   "<title>À propos de Halvox RNIS</title>",
                   {"kktx_f/10.html: title \"À propos de Halvox RNIS\" does not name \"product\""}},
        NamesFault{"AvoidedWordInAHelpPage", "help/ektx_f/10.html", "",
                   "<title>Halvox ISDN</title><p>Aucun des num&#xE9;ros. Les numéros interdits</p>",
                   {"ektx_f/10.html: says \"Numéros interdits\""}},
        NamesFault{"NameMissing", "fr/names.tsv", "", "product\tHalvox ISDN\n",
                   {"lacks the name of \"barred-numbers\""}},
        NamesFault{"UnknownKey", "fr/names.tsv", "",
                   "product\tHalvox ISDN\nbarred-numbers\tNuméros bloqués\ncamera\tCaméra\n",
                   {"\"camera\" is not a key of the places"}},
        NamesFault{"PlaceWithoutText", "places.tsv", "", "product\t2000 2001\nbarred-numbers\t236\n",
                   {"lacks text 2001 that names \"product\""}},
        NamesFault{"MalformedPlace", "places.tsv", "", "product\t2000 help:\nbarred-numbers\t236\n",
                   {"places.tsv:1: expected a new key<TAB>places"}}),
    [](const testing::TestParamInfo<NamesFault>& info) { return std::string(info.param.name); });

// The program's own sources and help pages, as the build checks them: every
// language names each thing of the places with its one name.
class NamesOfTheSources : public MakeSpt {
protected:
    void SetUp() override {
        MakeSpt::SetUp();
        std::filesystem::copy(MOX_RES_SOURCE "/lang", m_dir / "lang",
                              std::filesystem::copy_options::recursive);
    }
    int RunSources() {
        std::vector<std::pair<std::string, std::string>> langs;
        for (const auto& [lang, file] : kLanguages)
            langs.emplace_back("lang/"s + lang, file);
        return Run(langs, "lang/name-places.tsv", MOX_HELP_OUT);
    }
    static constexpr std::pair<const char*, const char*> kLanguages[] = {
        {"de", "ktx_d.spt"}, {"en", "ktx_uk.spt"}, {"fr", "ktx_f.spt"},
        {"it", "ktx_i.spt"}, {"da", "ktx_dk.spt"}, {"nl", "ktx_nl.spt"}};
};

TEST_F(NamesOfTheSources, NameEachThingOnce) {
    EXPECT_EQ(RunSources(), 0) << Stderr();
}

// The French product name of the about box and barred numbers of the page
// as they once were.
TEST_F(NamesOfTheSources, FailWithTheFrenchNamesOfOld) {
    SetText("lang/fr/shell.txt", "2000", "Halvox RNIS");
    SetText("lang/fr/box.txt", "280", "Numéros interdits :");
    EXPECT_EQ(RunSources(), 1);
    EXPECT_NE(Stderr().find("text 2000 \"Halvox RNIS\" does not name \"product\""),
              std::string::npos)
        << Stderr();
    EXPECT_NE(Stderr().find("text 280 \"Numéros interdits :\" does not name \"barred-numbers\""),
              std::string::npos)
        << Stderr();
}

} // namespace
