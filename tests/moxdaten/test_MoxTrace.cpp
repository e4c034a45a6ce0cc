// The library's trace hook: lines reach the hook the host installed, and
// without one they are dropped.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MoxTrace.h"

namespace {

struct Line {
    int channel;
    std::string text;
};
std::vector<Line> g_lines;

void Collect(int channel, const char* text) {
    g_lines.push_back({channel, text});
}

class TraceHook : public testing::Test {
protected:
    void SetUp() override { g_lines.clear(); }
    void TearDown() override { MoxSetTraceHook(nullptr); }
};

TEST_F(TraceHook, WithoutHookNothingHappens) {
    MoxSetTraceHook(nullptr);
    MoxTrace(1, "dropped");
    EXPECT_TRUE(g_lines.empty());
}

TEST_F(TraceHook, LinesReachTheInstalledHook) {
    MoxSetTraceHook(Collect);
    MoxTrace(1, "write tln[0]");
    MoxTrace(255, "always");
    MoxTrace(1, nullptr);
    ASSERT_EQ(g_lines.size(), 2u);
    EXPECT_EQ(g_lines[0].channel, 1);
    EXPECT_EQ(g_lines[0].text, "write tln[0]");
    EXPECT_EQ(g_lines[1].channel, 255);
    MoxSetTraceHook(nullptr);
    MoxTrace(1, "after removal");
    EXPECT_EQ(g_lines.size(), 2u);
}

bool OnlyChannelTwo(int channel) {
    return channel == 2;
}

TEST_F(TraceHook, ChannelsAreWantedOnlyWhereTheHookWritesThem) {
    MoxSetTraceHook(nullptr);
    EXPECT_FALSE(MoxTraceWanted(2)); // nobody listens
    MoxSetTraceHook(Collect);
    EXPECT_TRUE(MoxTraceWanted(1)); // a hook without a filter takes all
    EXPECT_TRUE(MoxTraceWanted(255));
    MoxSetTraceHook(Collect, OnlyChannelTwo);
    EXPECT_TRUE(MoxTraceWanted(2));
    EXPECT_FALSE(MoxTraceWanted(1));
    // Replacing the hook drops the old filter with it.
    MoxSetTraceHook(Collect);
    EXPECT_TRUE(MoxTraceWanted(1));
}

} // namespace
