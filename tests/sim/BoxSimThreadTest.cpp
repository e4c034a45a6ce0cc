// The simulator on a thread of its own, the test playing the PC on the
// pseudo-terminal's slave side: the PC's frames are recorded as they came
// and answered from the box's thread, the box's timers run there too, the
// test reaches the box between its turns, and a hang-up reaches the PC.

#include "BoxSimThread.h"
#include "SimPty.h"

#include "ComFrame.h"
#include "ComFrameScanner.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

using namespace boxsim;

namespace {

const Bytes kReset{0x00, kCmdReset, 0x00, 0x00, 0xFF, 0xFF};
const Bytes kResetAck{0x80, kCmdAck, 0x00, 0x00, 0xFF, 0xFF};

class BoxSimThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(box.Started()) << box.Error();
        ASSERT_TRUE(pcEnd.Open(box.PtyPath()));
        pc = pcEnd.Fd();
    }

    void PcWrite(const Bytes& bytes) { ASSERT_TRUE(pcEnd.Write(bytes)); }
    // The next good frame the box sent; empty when none came.
    Bytes PcFrame() {
        Bytes frame;
        while (frame.empty()) {
            pollfd p{pc, POLLIN, 0};
            if (::poll(&p, 1, BoxSimThread::kGuardMs) != 1)
                return {};
            uint8_t buf[256];
            const ssize_t n = ::read(pc, buf, sizeof buf);
            if (n <= 0)
                return {};
            scanner.Feed(std::span<const uint8_t>(buf, static_cast<size_t>(n)),
                         [&](eComFrameStatus s, std::span<const uint8_t> payload) {
                             if (s == eComFrameStatus::BadCrc)
                                 ++badCrc;
                             if (s == eComFrameStatus::Ok && frame.empty())
                                 frame.assign(payload.begin(), payload.end());
                         });
        }
        return frame;
    }

    BoxSimThread box;
    SimPcEnd pcEnd;
    int pc = -1;
    ComFrameScanner scanner;
    int badCrc = 0;
};

TEST_F(BoxSimThreadTest, PcFramesAreRecordedAsTheyCameAndAnswered) {
    PcWrite(BuildComFrame(kReset));
    EXPECT_EQ(PcFrame(), kResetAck);
    ASSERT_TRUE(box.WaitForCommand(kCmdReset, 1));
    EXPECT_EQ(box.CommandsIn(kCmdReset), 1);
    ASSERT_EQ(box.FrameCount(), 1u);
    Bytes marked = kReset;
    marked[0] |= BIT_7;
    EXPECT_EQ(box.FramesIn()[0], marked);
    EXPECT_EQ(box.Count("RESET"), 1u);
    EXPECT_EQ(box.With([](BoxSimulator& s) { return s.Core().GetCounters().resets; }), 1);
}

TEST_F(BoxSimThreadTest, MisbehaviourSetBetweenTurnsHoldsForTheNextFrame) {
    box.With([](BoxSimulator& s) { s.Core().SetMute(1); });
    PcWrite(BuildComFrame(kReset));
    ASSERT_TRUE(box.WaitFor([](BoxSimulator& s) { return s.Core().GetCounters().muted == 1; }));
    // Muted in the turn that read it: no answer was sent.
    EXPECT_EQ(box.With([](BoxSimulator& s) { return s.Core().GetCounters().answers; }), 0);
    PcWrite(BuildComFrame(kReset));
    EXPECT_EQ(PcFrame(), kResetAck);
}

TEST_F(BoxSimThreadTest, LateAnswerComesFromTheBoxsOwnTimers) {
    box.With([](BoxSimulator& s) { s.Core().SetDelayMs(5); });
    PcWrite(BuildComFrame(kReset));
    EXPECT_EQ(PcFrame(), kResetAck);
    EXPECT_TRUE(box.WaitFor([](BoxSimulator& s) { return s.Idle(); }));
}

TEST_F(BoxSimThreadTest, RawBytesAndBlocksOfTheTestGoOutInOrder) {
    Bytes bad = BuildComFrame(kResetAck);
    bad[3] ^= 0x01;
    box.SendRaw(bad);
    box.SendBlock(kResetAck);
    // The spoilt frame first: the PC's scanner drops it and takes the good
    // one behind it.
    EXPECT_EQ(PcFrame(), kResetAck);
    EXPECT_EQ(badCrc, 1);
}

TEST_F(BoxSimThreadTest, HangUpHasReachedThePcWhenItReturns) {
    // The box's thread waits on the line meanwhile, so the line goes only
    // once that wait ends; no look at the PC's end may come before.
    PcWrite(BuildComFrame(kReset));
    ASSERT_TRUE(box.WaitForCommand(kCmdReset, 1));
    box.HangUp();
    pollfd p{pc, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 0), 1);
    EXPECT_NE(p.revents & POLLHUP, 0);
    EXPECT_FALSE(pcEnd.Write(kReset));
    EXPECT_TRUE(box.With([](BoxSimulator& s) { return s.V24()->HungUp(); }));
}

} // namespace
