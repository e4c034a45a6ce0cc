// The help generator: one source page gives the standard and the expert page.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class MakeHelp : public testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "mox-makehelp-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        m_dir = tmpl;
        std::filesystem::create_directories(m_dir / "de");
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    void Page(const std::string& name, const std::string& text) {
        std::ofstream(m_dir / "de" / name, std::ios::binary) << text;
    }

    // Runs the generator over de/ as suffix "d"; returns its exit code.
    int Run() {
        const std::string cmd = std::string("'") + MOX_MAKEHELP + "' '" + (m_dir / "out").string() +
                                "' '" + (m_dir / "de").string() + "=d' 2>'" +
                                (m_dir / "stderr.txt").string() + "'";
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
    std::string Output(const std::string& folder, const std::string& name) const {
        return Read(m_dir / "out" / folder / name);
    }

    std::filesystem::path m_dir;
};

TEST_F(MakeHelp, EachModeKeepsItsOwnLinesAndBothShareTheRest) {
    Page("1601.html", "<h1>T\xC3\xBCr</h1>\n"
                      "<!--k--><p><i>Standardmodus</i></p>\n"
                      "<!--e--><p><i>Expertenmodus</i></p>\n"
                      "<p>Beide</p>\n"
                      "<!--e-->\n"
                      "<!--k--><p>Nur Standard</p>\n"
                      "  <!--e-->eingerückt bleibt für beide\n"
                      "<p>Ende ohne Zeilenumbruch</p>");
    ASSERT_EQ(Run(), 0) << Stderr();
    EXPECT_EQ(Output("kktx_d", "1601.html"), "<h1>T\xC3\xBCr</h1>\n"
                                             "<p><i>Standardmodus</i></p>\n"
                                             "<p>Beide</p>\n"
                                             "<p>Nur Standard</p>\n"
                                             "  <!--e-->eingerückt bleibt für beide\n"
                                             "<p>Ende ohne Zeilenumbruch</p>");
    EXPECT_EQ(Output("ektx_d", "1601.html"), "<h1>T\xC3\xBCr</h1>\n"
                                             "<p><i>Expertenmodus</i></p>\n"
                                             "<p>Beide</p>\n"
                                             "\n"
                                             "  <!--e-->eingerückt bleibt für beide\n"
                                             "<p>Ende ohne Zeilenumbruch</p>");
}

TEST_F(MakeHelp, APageWithoutMarkersIsTheSameInBothModesByteForByte) {
    const std::string text = "<p>a\r\n</p>\n\n<!-- a comment -->\n";
    Page("10.html", text);
    Page("notes.txt", "not a page");
    ASSERT_EQ(Run(), 0) << Stderr();
    EXPECT_EQ(Output("kktx_d", "10.html"), text);
    EXPECT_EQ(Output("ektx_d", "10.html"), text);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out" / "kktx_d" / "notes.txt"));
}

TEST_F(MakeHelp, ARemovedModeLineDisappearsOnTheNextRun) {
    Page("10.html", "<!--k-->alt\n<p>x</p>\n");
    ASSERT_EQ(Run(), 0) << Stderr();
    Page("10.html", "<p>x</p>\n");
    ASSERT_EQ(Run(), 0) << Stderr();
    EXPECT_EQ(Output("kktx_d", "10.html"), "<p>x</p>\n");
}

TEST_F(MakeHelp, AFolderWithoutPagesStopsTheBuild) {
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(Stderr().find("holds no help page"), std::string::npos) << Stderr();
}

} // namespace
