// The box's end of the V.24 cable on a real pseudo-terminal, the test
// playing the PC on the slave side: the PC's frames reach the core as
// blocks, the box's blocks go out framed, and each wire fault spoils the
// bytes exactly the way it says (seen through the PC's own scanner).

#include "BoxV24Link.h"
#include "SimPty.h"

#include "ComFrame.h"
#include "ComFrameScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <poll.h>
#include <unistd.h>

using namespace boxsim;

namespace {

// Only a hang waits this long.
constexpr int kGuardMs = 5000;

struct Frame {
    eComFrameStatus status;
    Bytes payload;
};

class BoxV24LinkTest : public ::testing::Test {
protected:
    BoxV24LinkTest() : timers([this] { return now; }), core(timers), link(core, timers) {
        core.SetLink(&link);
        core.onEvent = [this](const std::string& l) { events.push_back(l); };
    }
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(link.Start(&error)) << error;
        ASSERT_TRUE(pcEnd.Open(link.PtyPath()));
        pc = pcEnd.Fd();
    }

    // The PC writes bytes; the link takes them once they have crossed.
    void PcWrite(const Bytes& bytes) {
        ASSERT_TRUE(pcEnd.Write(bytes));
        pollfd p{link.MasterFd(), POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, kGuardMs), 1);
        link.HandleInput();
    }
    // Everything the box wrote until n bytes have come (one read each time
    // bytes wait).
    Bytes PcRead(size_t n) {
        Bytes all;
        while (all.size() < n) {
            pollfd p{pc, POLLIN, 0};
            if (::poll(&p, 1, kGuardMs) != 1)
                break;
            uint8_t buf[4096];
            const ssize_t got = ::read(pc, buf, sizeof buf);
            if (got <= 0)
                break;
            all.insert(all.end(), buf, buf + got);
        }
        return all;
    }
    std::vector<Frame> Scan(const Bytes& bytes) {
        std::vector<Frame> frames;
        scanner.Feed(bytes, [&](eComFrameStatus s, std::span<const uint8_t> payload) {
            frames.push_back({s, Bytes(payload.begin(), payload.end())});
        });
        return frames;
    }
    bool Saw(const std::string& prefix) const {
        return std::any_of(events.begin(), events.end(),
                           [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }

    std::int64_t now = 0;
    SimTimers timers;
    BoxCore core;
    BoxV24Link link;
    std::vector<std::string> events;
    SimPcEnd pcEnd;
    int pc = -1;
    ComFrameScanner scanner;
};

// A reset request of the PC and the box's acknowledgement of it.
const Bytes kReset{0x00, 0x07, 0x00, 0x00, 0xFF, 0xFF};
const Bytes kResetAck{0x80, 0x08, 0x00, 0x00, 0xFF, 0xFF};
// A block of the box with data that needs escaping.
const Bytes kAnswer{0x80, 0x03, 0x00, 0x02, 0xFF, 0xFF, 0x02, 0x1B, 0x03, 0x41};

TEST_F(BoxV24LinkTest, PcFrameReachesTheCoreAndTheAnswerGoesOutFramed) {
    PcWrite(BuildComFrame(kReset));
    EXPECT_TRUE(Saw("RESET"));
    EXPECT_EQ(link.GetCounters().framesIn, 1);
    const Bytes expected = BuildComFrame(kResetAck);
    EXPECT_EQ(PcRead(expected.size()), expected);
}

TEST_F(BoxV24LinkTest, PcFrameWithABadCrcIsReportedAndDropped) {
    Bytes frame = BuildComFrame(kReset);
    frame[3] ^= 0x10; // the command byte: the CRC no longer matches
    PcWrite(frame);
    EXPECT_TRUE(Saw("BADFRAME"));
    EXPECT_FALSE(Saw("BLOCK"));
    EXPECT_EQ(link.GetCounters().badFramesIn, 1);
    // The next good frame is taken as ever.
    PcWrite(BuildComFrame(kReset));
    EXPECT_TRUE(Saw("RESET"));
}

TEST_F(BoxV24LinkTest, FrameOfNothingButItsCrcIsRefusedAsABlock) {
    // CRC 0 over no payload: the frame checks out, but holds no block.
    PcWrite({COM_STX, BIT_7, 0x00, 0x00, COM_ETX});
    EXPECT_TRUE(Saw("BADBLOCK len 0"));
    EXPECT_FALSE(Saw("BLOCK"));
    PcWrite(BuildComFrame(kReset));
    EXPECT_TRUE(Saw("RESET"));
}

TEST_F(BoxV24LinkTest, BadCrcFailsOnlyTheCheck) {
    link.SetBadCrc(1);
    link.SendBlock(kAnswer);
    link.SendBlock(kAnswer);
    const Bytes good = BuildComFrame(kAnswer);
    const auto frames = Scan(PcRead(2 * good.size()));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].status, eComFrameStatus::BadCrc);
    EXPECT_EQ(frames[1].status, eComFrameStatus::Ok);
    EXPECT_EQ(frames[1].payload, kAnswer);
}

TEST_F(BoxV24LinkTest, SplitFrameGoesOutPieceByPiece) {
    link.SetSplit(1);
    link.SendBlock(kAnswer);
    const Bytes frame = BuildComFrame(kAnswer);
    const size_t pieces = (frame.size() + BoxV24Link::kSplitPiece - 1) / BoxV24Link::kSplitPiece;
    Bytes got;
    for (size_t i = 0; i < pieces; ++i) {
        EXPECT_FALSE(link.Idle());
        now += BoxV24Link::kSplitGapMs;
        timers.Run();
        // Exactly one more piece each time the gap has passed.
        const Bytes piece = PcRead(std::min(BoxV24Link::kSplitPiece, frame.size() - got.size()));
        ASSERT_FALSE(piece.empty()) << "piece " << i;
        EXPECT_LE(piece.size(), BoxV24Link::kSplitPiece);
        got.insert(got.end(), piece.begin(), piece.end());
    }
    EXPECT_TRUE(link.Idle());
    EXPECT_EQ(got, frame);
    // A frame behind the split one waited its turn and is whole.
    link.SendBlock(kResetAck);
    EXPECT_EQ(PcRead(BuildComFrame(kResetAck).size()), BuildComFrame(kResetAck));
}

TEST_F(BoxV24LinkTest, SplitOfOneBytePiecesWritesEveryByteAlone) {
    link.SetSplit(1, 1);
    link.SendBlock(kAnswer);
    const Bytes frame = BuildComFrame(kAnswer);
    Bytes got;
    for (size_t i = 0; i < frame.size(); ++i) {
        now += BoxV24Link::kSplitGapMs;
        timers.Run();
        const Bytes piece = PcRead(1);
        ASSERT_EQ(piece.size(), 1u) << "byte " << i;
        got.push_back(piece[0]);
    }
    EXPECT_TRUE(link.Idle());
    EXPECT_EQ(got, frame);
    // The next frame goes out whole again, in pieces of the usual size
    // when split.
    link.SetSplit(1);
    link.SendBlock(kResetAck);
    now += BoxV24Link::kSplitGapMs;
    timers.Run();
    EXPECT_EQ(PcRead(BoxV24Link::kSplitPiece).size(), BoxV24Link::kSplitPiece);
}

TEST_F(BoxV24LinkTest, RawBytesGoOutAsTheyAreInTurnWithTheFrames) {
    link.SetSplit(1);
    link.SendBlock(kAnswer);
    const Bytes raw{0x55, COM_STX, 0x41, COM_ETX};
    link.SendRaw(raw);
    const Bytes frame = BuildComFrame(kAnswer);
    Bytes got;
    while (!link.Idle()) {
        now += BoxV24Link::kSplitGapMs;
        timers.Run();
    }
    got = PcRead(frame.size() + raw.size());
    Bytes expected = frame;
    expected.insert(expected.end(), raw.begin(), raw.end());
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(Saw("TXRAW 55 02 41 03"));
}

TEST_F(BoxV24LinkTest, PcFrameIsHandedOnAsItCameBeforeTheCoreTakesIt) {
    std::vector<Bytes> seen;
    link.onFrameIn = [&](const Bytes& payload) {
        seen.push_back(payload);
        EXPECT_FALSE(Saw("RESET")) << "before the core";
    };
    PcWrite(BuildComFrame(kReset));
    ASSERT_EQ(seen.size(), 1u);
    Bytes marked = kReset;
    marked[0] |= BIT_7;
    EXPECT_EQ(seen[0], marked);
    EXPECT_TRUE(Saw("RESET"));
}

TEST_F(BoxV24LinkTest, HangUpTakesThePcsLineAway) {
    link.SetSplit(1);
    link.SendBlock(kAnswer); // its pieces wait for their gaps
    link.HangUp();
    EXPECT_TRUE(link.HungUp());
    EXPECT_TRUE(link.Idle());
    EXPECT_LT(link.MasterFd(), 0);
    EXPECT_TRUE(Saw("HANGUP"));
    // The PC's end sees the hang-up; what waited never comes.
    pollfd p{pc, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, kGuardMs), 1);
    EXPECT_NE(p.revents & POLLHUP, 0);
    uint8_t buf[64];
    EXPECT_LE(::read(pc, buf, sizeof buf), 0);
    // Nothing goes out after it.
    link.SendBlock(kResetAck);
    link.SendRaw({0x55});
    EXPECT_TRUE(link.Idle());
    EXPECT_TRUE(Saw("NOLINE"));
    EXPECT_FALSE(timers.Pending());
}

TEST_F(BoxV24LinkTest, DoubleSendsTwoFramesInOneWrite) {
    link.SetDouble(1);
    link.SendBlock(kAnswer);
    const size_t total =
        BuildComFrame(kAnswer).size() + BuildComFrame(BoxV24Link::SecondFrameBlock()).size();
    const auto frames = Scan(PcRead(total));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].payload, kAnswer);
    EXPECT_EQ(frames[1].payload, BoxV24Link::SecondFrameBlock());
}

TEST_F(BoxV24LinkTest, GarbageComesBeforeTheFrameAndIsDropped) {
    link.SetGarbage(1);
    link.SendBlock(kAnswer);
    const Bytes frame = BuildComFrame(kAnswer);
    const Bytes got = PcRead(BoxV24Link::Garbage().size() + frame.size());
    ASSERT_EQ(got.size(), BoxV24Link::Garbage().size() + frame.size());
    EXPECT_TRUE(
        std::equal(BoxV24Link::Garbage().begin(), BoxV24Link::Garbage().end(), got.begin()));
    const auto frames = Scan(got);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload, kAnswer);
    EXPECT_EQ(scanner.GetCounters().wrongMarkers, 1u);
}

TEST_F(BoxV24LinkTest, CutOffFrameIsFollowedByTheWholeOne) {
    link.SetCutOff(1);
    // Escapes all over, so the cut must keep off a lone ESC.
    const Bytes escapes{0x80, 0x03, 0x00, 0x02, 0xFF, 0xFF, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B};
    link.SendBlock(escapes);
    const Bytes frame = BuildComFrame(escapes);
    const Bytes got = PcRead(frame.size() + 1);
    ASSERT_GT(got.size(), frame.size());
    EXPECT_LE(got.size(), frame.size() + frame.size() / 2);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(),
                           got.end() - static_cast<std::ptrdiff_t>(frame.size())));
    const auto frames = Scan(got);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload, escapes);
    EXPECT_EQ(scanner.GetCounters().secondStx, 1u);
}

} // namespace
