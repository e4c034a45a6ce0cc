// The language-file generator: what it writes, and the faults in the
// sources that stop the build.

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
        std::ofstream(m_dir / name, std::ios::binary) << text;
    }

    // Runs the generator over sources name=output; returns its exit code.
    int Run(const std::vector<std::pair<std::string, std::string>>& langs) {
        std::string cmd = std::string("'") + MOX_MAKESPT + "' '" + (m_dir / "out").string() + "'";
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

} // namespace
