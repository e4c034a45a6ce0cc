// The command-line table: the text after the program name rebuilt from the
// arguments, the switches found anywhere in it, "-e" beating "-k", "-z" only
// with "-e", and the help switch with its lone "h" and "?".

#include "MoxCommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CmdRow {
    const char* name;
    std::vector<const char*> args; // after the program name
    int mode;
    bool expert;
    bool help;
};

void PrintTo(const CmdRow& r, std::ostream* os) {
    *os << r.name;
}

class CommandLineRows : public testing::TestWithParam<CmdRow> {};

TEST_P(CommandLineRows, Parses) {
    const CmdRow& r = GetParam();
    std::vector<const char*> argv{"mox"};
    argv.insert(argv.end(), r.args.begin(), r.args.end());
    const MoxCommandLine cmd =
        MoxParseCommandLine(MoxJoinArguments(static_cast<int>(argv.size()), argv.data()));
    EXPECT_EQ(cmd.mode, r.mode);
    EXPECT_EQ(cmd.expert, r.expert);
    EXPECT_EQ(cmd.help, r.help);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineRows,
    testing::Values(
        CmdRow{"NoArguments", {}, 1, false, false}, CmdRow{"Standard", {"-k"}, 1, false, false},
        CmdRow{"StandardSlash", {"/k"}, 1, false, false}, CmdRow{"Expert", {"-e"}, 2, false, false},
        CmdRow{"ExpertSlash", {"/e"}, 2, false, false},
        CmdRow{"ExpertWithService", {"-e", "-z"}, 2, true, false},
        CmdRow{"ServiceGlued", {"-e-z"}, 2, true, false},
        CmdRow{"ServiceAlone", {"-z"}, 1, false, false},
        CmdRow{"StandardThenExpert", {"-k", "-e"}, 2, false, false},
        CmdRow{"ExpertThenStandard", {"-e", "-k"}, 2, false, false},
        CmdRow{"HelpDash", {"-h"}, 1, false, true}, CmdRow{"HelpSlash", {"/h"}, 1, false, true},
        CmdRow{"QuestionDash", {"-?"}, 1, false, true},
        CmdRow{"QuestionSlash", {"/?"}, 1, false, true},
        // "?" counts up to the last character, "h" only before it.
        CmdRow{"QuestionAlone", {"?"}, 1, false, true}, CmdRow{"HAlone", {"h"}, 1, false, false},
        CmdRow{"HAtTheEnd", {"-e", "path"}, 2, false, false},
        CmdRow{"PathWithH", {"/home/anna/a.ktx"}, 1, false, true},
        CmdRow{"PathWithoutH", {"/opt/ktx/a.ktx"}, 1, false, false},
        // A switch of two characters is found wherever it stands.
        CmdRow{"SwitchAtTheEnd", {"x", "-e"}, 2, false, false},
        CmdRow{"ServiceAtTheVeryEnd", {"-e", "x-z"}, 2, true, false},
        CmdRow{"UpperCaseIsNoSwitch", {"-E", "-Z"}, 1, false, false},
        CmdRow{"EmptyArgument", {""}, 1, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, ArgumentsJoinWithSingleSpaces) {
    const char* argv[] = {"mox", "-e", "", "my file.ktx", nullptr};
    EXPECT_EQ(MoxJoinArguments(4, argv), "-e  my file.ktx");
    EXPECT_EQ(MoxJoinArguments(1, argv), "");
}

} // namespace
