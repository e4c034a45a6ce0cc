// Trace output: the master switch, the channel switches, the prefixes, the
// cut of long lines, and lines kept whole when threads trace at once.

#include "DbgOut.h"
#include "MoxTrace.h"
#include "PermSettings.h"
#include "ProcessLock.h"
#include "TempSettings.h"

#include <gtest/gtest.h>

#include <ostream>

#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

class DbgOutTest : public TempSettings {
protected:
    // Switches the master on (or off) and re-reads the trace settings.
    void Init(bool master) {
        Store().SetDword(kPermKey, kPermDbgOut, master ? 1 : 0);
        Store().SetString(kPermKey, kPermDbgFile, TracePath());
        InitPermTrace();
    }
};

TEST_F(DbgOutTest, MasterSwitchOffSilencesEveryChannel) {
    Init(false);
    SetPermTrace(eDbgDoc, true);
    DbgOut(eDbgDoc, "doc %d", 1);
    DbgOut(eDbgAlways, "always");
    EXPECT_EQ(TraceText(), "");
}

TEST_F(DbgOutTest, MissingMasterSwitchIsOff) {
    Store().SetString(kPermKey, kPermDbgFile, TracePath());
    InitPermTrace();
    DbgOut(eDbgAlways, "always");
    EXPECT_EQ(TraceText(), "");
}

struct ChannelCase {
    const char* name;
    int channel;
    const char* value; // settings value switched on, or nullptr
    const char* prefix;
};

void PrintTo(const ChannelCase& c, std::ostream* os) {
    *os << c.name;
}

class DbgOutChannel : public DbgOutTest, public testing::WithParamInterface<ChannelCase> {};

TEST_P(DbgOutChannel, OnlyItsOwnSwitchLetsItThrough) {
    const ChannelCase& c = GetParam();
    Init(true);
    // Every other channel on: they must not open this one.
    for (int other = 0; other <= 6; ++other)
        if (other != c.channel)
            SetPermTrace(other, true);
    DbgOut(c.channel, "off");
    if (c.value) {
        EXPECT_EQ(TraceText(), "") << "channel " << c.channel << " traced while off";
        SetPermTrace(c.channel, true);
    }
    DbgOut(c.channel, "on %s", "now");
    const auto lines = TraceLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), std::string(c.prefix) + "on now");
}

INSTANTIATE_TEST_SUITE_P(
    Table, DbgOutChannel,
    testing::Values(ChannelCase{"view", 0, "view", "<mox> < view > \t  "},
                    ChannelCase{"doc", 1, "doc", "<mox> < doc >  \t  "},
                    ChannelCase{"transfer", 2, "transfer", "<mox> < transfer > "},
                    ChannelCase{"tdump", 3, "tdump", "<mox> < tdump > \t  "},
                    ChannelCase{"tlnprog", 4, "tlnprog", "<mox> < tln-prog > "},
                    ChannelCase{"port", 5, "port", "<mox> < port > "},
                    ChannelCase{"capi", 6, "capi", "<mox> < capi > "},
                    ChannelCase{"always", 255, nullptr, "<mox> < basic >    "}),
    [](const testing::TestParamInfo<ChannelCase>& info) { return std::string(info.param.name); });

TEST_F(DbgOutTest, ChannelWithoutSettingIsOff) {
    Init(true);
    EXPECT_FALSE(GetPermTrace(7));
    EXPECT_FALSE(GetPermTrace(-1));
    DbgOut(7, "seven");
    EXPECT_EQ(TraceText(), "");
}

TEST_F(DbgOutTest, SwitchIsReadOnEveryLine) {
    Init(true);
    SetPermTrace(eDbgPort, true);
    DbgOut(eDbgPort, "a");
    SetPermTrace(eDbgPort, false);
    DbgOut(eDbgPort, "b");
    Store().SetDword(kPermKeyTrace, "port", 5); // any non-zero value is on
    DbgOut(eDbgPort, "c");
    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "<mox> < port > a");
    EXPECT_EQ(lines[1], "<mox> < port > c");
}

TEST_F(DbgOutTest, MessageLongerThanTheBufferIsCutNotFatal) {
    Init(true);
    const std::string big(20000, 'x');
    DbgOut(eDbgAlways, "%s", big.c_str());
    const std::string text = TraceText();
    ASSERT_EQ(text.size(), kDbgMaxLine);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.substr(0, 19), "<mox> < basic >    ");
    EXPECT_EQ(text.find_first_not_of('x', 19), kDbgMaxLine - 1);
}

// The line is cut to 1024 bytes; the newline is kept so the next line does
// not run into it.
struct CutCase {
    const char* name;
    size_t messageLength;
    size_t lineLength; // written, newline included
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class DbgOutCut : public DbgOutTest, public testing::WithParamInterface<CutCase> {};

TEST_P(DbgOutCut, LineLength) {
    Init(true);
    const std::string msg(GetParam().messageLength, 'm');
    DbgOut(eDbgAlways, "%s", msg.c_str());
    DbgOut(eDbgAlways, "next");
    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size() + 1, GetParam().lineLength);
    EXPECT_EQ(lines[1], "<mox> < basic >    next");
}

constexpr size_t kPrefix = 19; // "<mox> < basic >    "
INSTANTIATE_TEST_SUITE_P(
    Table, DbgOutCut,
    testing::Values(CutCase{"Empty", 0, kPrefix + 1},
                    CutCase{"JustFits", kDbgMaxLine - 1 - kPrefix, kDbgMaxLine},
                    CutCase{"OneOver", kDbgMaxLine - kPrefix, kDbgMaxLine},
                    CutCase{"FullBuffer", kDbgMessageBuffer - 1, kDbgMaxLine},
                    CutCase{"BeyondBuffer", kDbgMessageBuffer + 4000, kDbgMaxLine}),
    [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

// The program's texts are Windows-1252; the trace file is read on Linux as
// UTF-8, so each line is converted on its way out.
struct Cp1252Case {
    const char* name;
    const char* message; // Windows-1252
    const char* written; // UTF-8
};

void PrintTo(const Cp1252Case& c, std::ostream* os) {
    *os << c.name;
}

class DbgOutUtf8 : public DbgOutTest, public testing::WithParamInterface<Cp1252Case> {};

TEST_P(DbgOutUtf8, LineIsReadBackAsUtf8) {
    Init(true);
    SetPermTrace(eDbgCapi, true);
    DbgOut(eDbgCapi, "Reason (%s)", GetParam().message);
    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string("<mox> < capi > Reason (") + GetParam().written + ")");
}

INSTANTIATE_TEST_SUITE_P(
    Table, DbgOutUtf8,
    testing::Values(Cp1252Case{"Umlaut", "Normales Ausl\xF6sen", "Normales Auslösen"},
                    Cp1252Case{"SharpSAndCapitalUmlaut",
                               "Stra\xDF"
                               "e \xDC",
                               "Straße Ü"},
                    Cp1252Case{"EuroSign", "\x80 5", "€ 5"},
                    Cp1252Case{"Ascii", "0x3490", "0x3490"}),
    [](const testing::TestParamInfo<Cp1252Case>& info) { return std::string(info.param.name); });

// A line cut to its 1024 bytes is cut in Windows-1252, before it grows in
// UTF-8: no character is split.
TEST_F(DbgOutTest, ACutLineOfUmlautsIsWholeUtf8) {
    Init(true);
    const std::string umlauts(2000, '\xFC');
    DbgOut(eDbgAlways, "%s", umlauts.c_str());
    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), 1u);
    const std::string prefix = "<mox> < basic >    ";
    std::string expected = prefix;
    for (size_t i = 0; i < kDbgMaxLine - 1 - prefix.size(); ++i)
        expected += "ü";
    EXPECT_EQ(lines[0], expected);
}

TEST_F(DbgOutTest, DataLibraryTraceGoesThroughDbgOut) {
    Init(true);
    SetPermTrace(eDbgDoc, true);
    MoxTrace(eDbgDoc, "from the data library");
    MoxTrace(eDbgView, "view is off");
    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "<mox> < doc >  \t  from the data library");
}

TEST_F(DbgOutTest, LibrariesBuildLinesOnlyForChannelsThatAreOn) {
    Init(false);
    SetPermTrace(eDbgPort, true);
    EXPECT_FALSE(MoxTraceWanted(eDbgPort)); // the master switch is off
    Init(true);
    EXPECT_TRUE(MoxTraceWanted(eDbgPort));
    EXPECT_TRUE(MoxTraceWanted(eDbgAlways));
    EXPECT_FALSE(MoxTraceWanted(eDbgTDump)); // no setting: off
    // A switch from the trace menu counts at once.
    SetPermTrace(eDbgPort, false);
    EXPECT_FALSE(MoxTraceWanted(eDbgPort));
}

TEST_F(DbgOutTest, InitReportsTheStoredChannelsToTheMenu) {
    Store().SetDword(kPermKey, kPermDbgOut, 1);
    SetPermTrace(eDbgView, true);
    SetPermTrace(eDbgCapi, false);
    std::map<int, bool> checks;
    InitPermTrace([&](int channel, bool on) { checks[channel] = on; });
    // Only values that exist reach the menu; the others stay as they are.
    EXPECT_EQ(checks, (std::map<int, bool>{{eDbgView, true}, {eDbgCapi, false}}));
}

TEST_F(DbgOutTest, TraceWhileHoldingTheProcessLock) {
    Init(true);
    std::lock_guard<std::recursive_mutex> lock(MoxProcessLock());
    DbgOut(eDbgAlways, "inside");
    EXPECT_EQ(TraceLines().size(), 1u);
}

TEST_F(DbgOutTest, LinesOfConcurrentThreadsStayWhole) {
    Init(true);
    constexpr int kThreads = 4;
    constexpr int kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            const std::string body(300, static_cast<char>('a' + t));
            for (int i = 0; i < kLines; ++i)
                DbgOut(eDbgAlways, "%d %s", t, body.c_str());
        });
    for (auto& th : threads)
        th.join();
    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLines));
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size(), kPrefix + 2 + 300);
        const char c = line.back();
        EXPECT_EQ(line.substr(kPrefix + 2).find_first_not_of(c), std::string::npos);
    }
}

} // namespace
