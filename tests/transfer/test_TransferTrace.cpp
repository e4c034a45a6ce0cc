// The transfer's trace lines: formatted for a channel the host writes, and
// not even built for one it does not.

#include "MoxTrace.h"
#include "TransferTrace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_lines;

void Collect(int channel, const char* text) {
    g_lines.push_back(std::to_string(channel) + " " + text);
}

bool OnlyPort(int channel) {
    return channel == eTracePort;
}

class TransferTraceTest : public testing::Test {
protected:
    void SetUp() override {
        g_lines.clear();
        MoxSetTraceHook(Collect, OnlyPort);
    }
    void TearDown() override { MoxSetTraceHook(nullptr); }
};

TEST_F(TransferTraceTest, LinesOfAWantedChannelAreFormatted) {
    TransferTrace(eTracePort, "try (%d) status (0x%04x)", 2, 0xF002);
    const std::uint8_t bytes[] = {0x02, 0xF0, 0x43};
    TransferTraceBytes(eTracePort, "frame ", bytes, sizeof bytes);
    EXPECT_EQ(g_lines,
              (std::vector<std::string>{"5 try (2) status (0xf002)", "5 frame 0x02 0xf0 0x43 "}));
}

TEST_F(TransferTraceTest, ChannelsThatAreOffReachNobody) {
    const std::uint8_t bytes[1024] = {};
    TransferTrace(eTraceTransfer, "block (%d)", 3);
    TransferTraceBytes(eTraceTDump, "", bytes, sizeof bytes);
    // The hook itself would take them: the filter is asked before a line is
    // built.
    EXPECT_TRUE(g_lines.empty());
}

} // namespace
