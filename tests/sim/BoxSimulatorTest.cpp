// The simulator's account of its own answer time, over a real
// pseudo-terminal: a wake-up that answered the PC counts, from its start to
// the return of its answer's write; one that wrote nothing to the PC does
// not, whatever it read.

#include "BoxSimulator.h"
#include "SimPty.h"

#include <gtest/gtest.h>

#include <poll.h>

using namespace boxsim;

namespace {

// Only a hang waits this long; every wait ends once the bytes are there.
constexpr int kIoLimitMs = 5000;

struct AnswerRow {
    const char* name;
    Bytes telegram; // target, function, transmitter, data
    bool garble;
    long answered; // turns that wrote to the PC
};

class BoxSimulatorAnswerTime : public ::testing::TestWithParam<AnswerRow> {
protected:
    void SetUp() override {
        sim.SetTrace(false);
        std::string error;
        ASSERT_TRUE(sim.Start(&error)) << error;
        ASSERT_TRUE(pc.Open(sim.PtyPath()));
    }
    // The PC writes; the simulator takes it in as many wake-ups as the
    // terminal splits it into.
    void PcWrites(const Bytes& bytes) {
        ASSERT_TRUE(pc.Write(bytes));
        const long until = sim.Bus().GetCounters().bytesIn + static_cast<long>(bytes.size());
        while (sim.Bus().GetCounters().bytesIn < until) {
            pollfd p{sim.MasterFd(), POLLIN, 0};
            ASSERT_EQ(::poll(&p, 1, kIoLimitMs), 1) << "the PC's bytes did not come";
            sim.HandleTurn(true);
        }
    }

    BoxSimulator sim;
    SimPcEnd pc;
};

TEST_P(BoxSimulatorAnswerTime, OnlyWakeUpsThatAnswerThePcCount) {
    const AnswerRow& row = GetParam();
    // A wake-up for nothing (no input, no timer due) writes nothing.
    sim.HandleTurn(false);
    EXPECT_EQ(sim.GetAnswerTime().turns, 0);

    PcWrites(EncodeTelegram(row.telegram, row.garble));
    EXPECT_EQ(sim.GetAnswerTime().turns, row.answered);
    EXPECT_EQ(sim.GetAnswerTime().ns > 0, row.answered > 0);
    EXPECT_NE(sim.Status().find(" answer_turns " + std::to_string(row.answered) + " answer_us "),
              std::string::npos)
        << sim.Status();
}

INSTANTIATE_TEST_SUITE_P(
    Telegrams, BoxSimulatorAnswerTime,
    ::testing::Values(
        // The identification telegram for the box: its ACK is the answer.
        AnswerRow{"ForTheBox", {0x70, 0x43, 0xF0, 0x05, 0x00, 0x00, 0x01, 0x42}, false, 1},
        AnswerRow{"Broadcast", {kBroadcast, 0x43, 0xF0, 0x05, 0x00, 0x00}, false, 0},
        AnswerRow{"ForAnotherUnit", {0x71, 0x43, 0xF0, 0x05, 0x00, 0x00}, false, 0},
        AnswerRow{"BadChecksum", {0x70, 0x43, 0xF0, 0x05, 0x00, 0x00}, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
