// The simulator's own telegram coding, checked against byte-exact frames,
// and its command parsing.

#include "SimTelegram.h"
#include "SimCommand.h"

#include <ostream>

#include <gtest/gtest.h>

using namespace boxsim;

namespace {

TEST(SimTelegram, EncodesStuffingAndChecksum) {
    EXPECT_EQ(EncodeTelegram({0xF0, 0x43, 0x70, 0x01, 0x02}),
              (Bytes{0x02, 0xF0, 0x43, 0x70, 0x01, 0x02, 0x5A, 0x03}));
    EXPECT_EQ(EncodeTelegram({0x70, 0x43, 0x3D}),
              (Bytes{0x02, 0x70, 0x43, 0x3D, 0x10, 0x00, 0x03}));
    EXPECT_EQ(EncodeTelegram({0x70, 0x43, 0x4A}),
              (Bytes{0x02, 0x70, 0x43, 0x4A, 0x10, 0xF3, 0x03}));
    EXPECT_EQ(EncodeTelegram({0x70, 0x43, 0xF0, 0x03}),
              (Bytes{0x02, 0x70, 0x43, 0xF0, 0x10, 0x03, 0x4A, 0x03}));
}

TEST(SimTelegram, ReadsBackWhatItWrites) {
    for (const Bytes& t : {Bytes{0x70, 0x43, 0xF0, 0x10, 0x03, 0x10}, Bytes{0xFF, 0x43, 0xF0}}) {
        for (bool garble : {false, true}) {
            SimTelegramReader r;
            std::optional<SimTelegramReader::Telegram> got;
            for (uint8_t b : EncodeTelegram(t, garble))
                if (auto x = r.Feed(b))
                    got = x;
            ASSERT_TRUE(got);
            EXPECT_EQ(got->bytes, t);
            EXPECT_EQ(got->sumOk, !garble);
        }
    }
}

TEST(SimTelegram, DropsRunts) {
    SimTelegramReader r;
    for (uint8_t b : Bytes{0x02, 0x70, 0x43, 0x03})
        EXPECT_FALSE(r.Feed(b));
}

TEST(SimCommand, ParsesHexAndRefusesTheRest) {
    EXPECT_EQ(ParseHexBytes("0a FF 3"), (Bytes{0x0A, 0xFF, 0x03}));
    EXPECT_FALSE(ParseHexBytes("0x10"));
    EXPECT_FALSE(ParseHexBytes("GG"));
    EXPECT_EQ(HexBytes({0x02, 0xAB}), "02 AB");
    BusInterfaceSim sim;
    bool quit = false;
    EXPECT_EQ(RunSimCommand(sim, "answer late", &quit), "ERROR late needs milliseconds");
    EXPECT_EQ(RunSimCommand(sim, "bogus", &quit), "ERROR unknown command bogus");
    EXPECT_EQ(RunSimCommand(sim, "address 71", &quit), "OK");
    EXPECT_EQ(sim.BoxAddress(), 0x71);
    RunSimCommand(sim, "quit", &quit);
    EXPECT_TRUE(quit);
}

struct CommandRow {
    const char* name;
    const char* line;
    const char* reply; // the reply starts with this
};

void PrintTo(const CommandRow& row, std::ostream* os) {
    *os << row.name;
}

class BoxCommands : public ::testing::TestWithParam<CommandRow> {};

// Runs on a simulator without a pseudo-terminal: settings and refusals.
TEST_P(BoxCommands, ReplyAsTheSimulatorsCommandsSay) {
    BoxSimulator sim;
    bool quit = false;
    EXPECT_EQ(RunBoxCommand(sim, GetParam().line, &quit).rfind(GetParam().reply, 0), 0u)
        << RunBoxCommand(sim, GetParam().line, &quit);
    EXPECT_FALSE(quit);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BoxCommands,
    ::testing::Values(CommandRow{"MuteCount", "mute 3", "OK"},
                      CommandRow{"MuteAlways", "mute always", "OK"},
                      CommandRow{"MuteBadCount", "mute x", "ERROR"},
                      CommandRow{"MuteBlockTooLarge", "muteblock 65536", "ERROR"},
                      CommandRow{"DelayNeedsMs", "delay", "ERROR"},
                      CommandRow{"DropAckFromOne", "dropack 0", "ERROR"},
                      CommandRow{"AckWaitFromOne", "ackwait 0", "ERROR"},
                      CommandRow{"TraceOnOrOff", "trace maybe", "ERROR"},
                      CommandRow{"UnaskedNeedsAHeader", "unasked 80 08", "ERROR"},
                      CommandRow{"UnaskedBlock", "unasked 80 08 00 00 FF FF", "OK"},
                      CommandRow{"EventLogOfWrongSize", "eventlog /dev/null", "ERROR an event log"},
                      CommandRow{"LoadMissingFile", "load /nonexistent/box.bin", "ERROR cannot read"},
                      CommandRow{"EmptyBoxSaved", "save /dev/null", "SAVED 0 0"},
                      CommandRow{"Status", "status", "STATUS idle 1 link 1 delivered 0 packages 0"},
                      CommandRow{"Ping", "ping", "PONG"},
                      CommandRow{"LinkCommandsToo", "answer nak", "OK"},
                      CommandRow{"Unknown", "bogus", "ERROR unknown command bogus"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
