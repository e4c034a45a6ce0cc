// The bus interface's side of the box's own telegrams, over a real
// pseudo-terminal with the simulator's clock moved by hand: a telegram to
// the PC goes out again until the PC acknowledges it, whether the box built
// it, it was typed, or it came as raw bytes that form one; bytes that are
// no telegram to the PC go out once; and the box's ACK can be made to wait
// behind a telegram of its own.

#include "BusInterfaceSim.h"
#include "SimCommand.h"
#include "SimHex.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

using namespace boxsim;

namespace {

// Far longer than the pseudo-terminal takes to pass bytes on, even on a
// loaded machine; every wait ends as soon as the bytes are there.
constexpr int kIoLimitMs = 5000;

const Bytes kToPc{0xF0, 0x2F, 0x70, 0x03, 0x33, 0x44};
const Bytes kPcToBox{0x70, 0x43, 0xF0, 0x05, 0x00, 0x00, 0x01, 0x42};

class BusInterfaceSimTest : public ::testing::Test {
protected:
    BusInterfaceSimTest() : timers([this] { return now; }), sim(timers) {
        sim.onReport = [this](const std::string& l) { reports.push_back(l); };
        sim.SetTrace(false);
    }
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(sim.Start(&error)) << error;
        pc = ::open(sim.PtyPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(pc, 0);
    }
    void TearDown() override {
        if (pc >= 0)
            ::close(pc);
    }

    std::string Command(const std::string& line) {
        bool quit = false;
        return RunSimCommand(sim, line, &quit);
    }
    // What the PC reads: exactly n bytes, however the terminal splits them.
    Bytes PcReads(size_t n) {
        Bytes got;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kIoLimitMs);
        while (got.size() < n && std::chrono::steady_clock::now() < limit) {
            pollfd p{pc, POLLIN, 0};
            if (::poll(&p, 1, kIoLimitMs) <= 0)
                break;
            uint8_t buf[256];
            const ssize_t r = ::read(pc, buf, std::min(sizeof buf, n - got.size()));
            if (r > 0)
                got.insert(got.end(), buf, buf + r);
        }
        return got;
    }
    // The PC writes; the simulator takes every byte of it.
    void PcWrites(const Bytes& bytes) {
        ASSERT_EQ(::write(pc, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        const long until = sim.GetCounters().bytesIn + static_cast<long>(bytes.size());
        const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kIoLimitMs);
        while (sim.GetCounters().bytesIn < until && std::chrono::steady_clock::now() < limit) {
            pollfd p{sim.MasterFd(), POLLIN, 0};
            if (::poll(&p, 1, kIoLimitMs) <= 0)
                break;
            sim.HandleInput();
        }
        ASSERT_EQ(sim.GetCounters().bytesIn, until);
    }
    void Advance(std::int64_t ms) {
        now += ms;
        timers.Run();
    }

    std::int64_t now = 0;
    SimTimers timers;
    BusInterfaceSim sim;
    int pc = -1;
    std::vector<std::string> reports;
};

TEST_F(BusInterfaceSimTest, RawBytesOfATelegramToThePcAreRepeatedUntilItIsAcknowledged) {
    const Bytes wire = EncodeTelegram(kToPc);
    EXPECT_EQ(Command("raw " + HexBytes(wire)), "");
    EXPECT_EQ(reports, std::vector<std::string>{"SENT"});
    EXPECT_EQ(PcReads(wire.size()), wire);
    EXPECT_FALSE(sim.Idle());

    // The PC did not answer: the same bytes once more after the box's wait.
    Advance(BusInterfaceSim::kDefaultAckWaitMs);
    EXPECT_EQ(PcReads(wire.size()), wire);
    PcWrites({kAck});
    EXPECT_TRUE(sim.Idle());
    EXPECT_EQ(sim.GetCounters().telegramsOut, 2);
    EXPECT_EQ(sim.GetCounters().delivered, 1);

    Advance(10 * BusInterfaceSim::kDefaultAckWaitMs);
    EXPECT_EQ(sim.GetCounters().telegramsOut, 2) << "tried again after the PC's ACK";
}

struct RawRow {
    const char* name;
    Bytes wire;
};

void PrintTo(const RawRow& row, std::ostream* os) {
    *os << row.name;
}

class BusInterfaceSimRaw : public BusInterfaceSimTest, public ::testing::WithParamInterface<RawRow> {};

// Nobody acknowledges these, so nothing is repeated.
TEST_P(BusInterfaceSimRaw, BytesThatAreNoWholeTelegramToThePcGoOutOnce) {
    const Bytes& wire = GetParam().wire;
    EXPECT_EQ(Command("raw " + HexBytes(wire)), "SENT");
    EXPECT_EQ(PcReads(wire.size()), wire);
    EXPECT_TRUE(sim.Idle());
    Advance(10 * BusInterfaceSim::kDefaultAckWaitMs);
    EXPECT_EQ(sim.GetCounters().telegramsOut, 0);
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes WithoutLast(Bytes a) {
    a.pop_back();
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BusInterfaceSimRaw,
    ::testing::Values(RawRow{"NoTelegram", {0x55, 0xAA, 0x03, 0x10}},
                      RawRow{"Broadcast", EncodeTelegram({0xFF, 0x43, 0x70, 0x05})},
                      RawRow{"ToTheBox", EncodeTelegram({0x70, 0x43, 0xF0, 0x05})},
                      RawRow{"BadChecksum", EncodeTelegram(kToPc, true)},
                      RawRow{"CutShort", WithoutLast(EncodeTelegram(kToPc))},
                      RawRow{"MoreBehind", Concat(EncodeTelegram(kToPc), {0x55})},
                      RawRow{"TwoTelegrams",
                             Concat(EncodeTelegram(kToPc), EncodeTelegram(kToPc))}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BusInterfaceSimTest, TypedTelegramIsTriedAsTheBoxsOwnThenReportedUnanswered) {
    const Bytes wire = EncodeTelegram(kToPc);
    EXPECT_EQ(Command("send " + HexBytes(kToPc)), "");
    for (int i = 1; i < BusInterfaceSim::kDefaultTries; ++i) {
        EXPECT_EQ(PcReads(wire.size()), wire) << "try " << i;
        Advance(BusInterfaceSim::kDefaultAckWaitMs);
    }
    EXPECT_EQ(PcReads(wire.size()), wire) << "last try";
    EXPECT_TRUE(reports.empty());
    Advance(BusInterfaceSim::kDefaultAckWaitMs);
    EXPECT_EQ(reports, (std::vector<std::string>{"LOST " + HexBytes(kToPc), "PCANSWER none"}));
    EXPECT_EQ(sim.GetCounters().telegramsOut, BusInterfaceSim::kDefaultTries);
}

TEST_F(BusInterfaceSimTest, TelegramHeldForTheAckGoesOutAheadOfItThenAloneUntilAcknowledged) {
    EXPECT_EQ(Command("ackbehind " + HexBytes(kToPc)), "OK");
    EXPECT_FALSE(sim.Idle());
    Advance(10 * BusInterfaceSim::kDefaultAckWaitMs);
    EXPECT_EQ(sim.GetCounters().telegramsOut, 0) << "went out before the PC sent";

    PcWrites(EncodeTelegram(kPcToBox));
    const Bytes telegram = EncodeTelegram(kToPc);
    EXPECT_EQ(PcReads(telegram.size() + 1), Concat(telegram, {kAck}));
    Advance(BusInterfaceSim::kDefaultAckWaitMs);
    EXPECT_EQ(PcReads(telegram.size()), telegram);
    PcWrites({kAck});
    EXPECT_EQ(reports, std::vector<std::string>{"PCANSWER 06"});
    EXPECT_TRUE(sim.Idle());

    // Only once: the next telegram of the PC gets its ACK alone.
    PcWrites(EncodeTelegram(kPcToBox));
    EXPECT_EQ(PcReads(1), Bytes{kAck});
}

TEST(SimTelegram, WholeTelegramIsDecodedOnlyFromExactlyOneIntactTelegram) {
    const Bytes stuffed{0xF0, 0x43, 0x70, 0x10, 0x03, 0x99};
    EXPECT_EQ(DecodeWholeTelegram(EncodeTelegram(stuffed)), stuffed);
    EXPECT_EQ(DecodeWholeTelegram(EncodeTelegram(stuffed, true)), std::nullopt);
    EXPECT_EQ(DecodeWholeTelegram(Concat({0x55}, EncodeTelegram(stuffed))), std::nullopt);
    EXPECT_EQ(DecodeWholeTelegram(Concat(EncodeTelegram(stuffed), {0x55})), std::nullopt);
    EXPECT_EQ(DecodeWholeTelegram({}), std::nullopt);
}

} // namespace
