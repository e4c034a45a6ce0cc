// The direct serial port over a pseudo-terminal, with the box simulator at
// the far end: what goes on the wire, what comes back to the GUI thread,
// and a port that cannot open, is taken twice or loses its line.

#include "BoxSimThread.h"
#include "ComEngineRig.h"
#include "ComFrame.h"
#include "TTkComPort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

Bytes Sent(Bytes p) {
    p[0] |= BIT_7;
    return p;
}

const Bytes kKennung{0x00, 0x0C, 0x00, 0x00, 0xFF, 0xFF, 'B', 'R', 'O', 'M', 'E', 'L', 0x00};
// A programming message of the box (channel 3, command 0x41 with two
// addresses), as it comes unasked.
const Bytes kProgMsg{0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x41, 0x00, 0x05, 0x00, 0x07};

class ComPortTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(box.Started()) << box.Error();
        temp.MapCom(1, box.PtyPath());
        port = std::make_unique<TTkComPort>(notices, 5);
        ASSERT_TRUE(port->IsOpen());
    }

    // The next frame the port announces; the frames of one read are all
    // handed over at once and kept here in order.
    Bytes Next() {
        notices.onData = [this] {
            Bytes b(MAX_COMM_MSG_LEN);
            b.resize(port->ReceiveDataBlock(b.data(), MAX_COMM_MSG_LEN));
            taken.push_back(b);
        };
        if (taken.empty() && !notices.RunUntilData())
            return {0xEE}; // no notice: never a real block
        Bytes b = taken.front();
        taken.pop_front();
        return b;
    }

    std::deque<Bytes> taken;
    TestSettingsFile temp{"transfer-com"};
    boxsim::BoxSimThread box;
    ComNoticeQueue notices;
    std::unique_ptr<TTkComPort> port;
};

TEST_F(ComPortTest, ListensFromTheOpenOn) {
    // No transfer, no request: the box speaks first.
    box.SendBlock(kProgMsg);
    EXPECT_EQ(Next(), Sent(kProgMsg));
}

TEST_F(ComPortTest, SendsOneFrameAndLeavesTheBlockAlone) {
    const Bytes block = kKennung;
    ASSERT_TRUE(port->SendDataBlock(block.data(), static_cast<std::uint32_t>(block.size())));
    ASSERT_TRUE(box.WaitForFrames(1));
    EXPECT_EQ(box.FramesIn()[0], Sent(kKennung));
    // The golden frame of this block.
    EXPECT_EQ(box.With([](boxsim::BoxSimulator& s) { return s.V24()->GetCounters().bytesIn; }), 18);
    EXPECT_EQ(block, kKennung);
}

TEST_F(ComPortTest, RefusesBlocksNoFrameCanCarry) {
    const Bytes big(MAX_COMM_MSG_LEN + 1, 0x41);
    EXPECT_FALSE(port->SendDataBlock(big.data(), 0));
    EXPECT_FALSE(port->SendDataBlock(big.data(), static_cast<std::uint32_t>(big.size())));
    EXPECT_FALSE(port->SendDataBlock(nullptr, 6));
    ASSERT_TRUE(port->SendDataBlock(kKennung.data(), static_cast<std::uint32_t>(kKennung.size())));
    ASSERT_TRUE(box.WaitForFrames(1));
    EXPECT_EQ(box.FramesIn()[0], Sent(kKennung)); // nothing of the refused went out
}

TEST_F(ComPortTest, FramesOfOneReadComeInOrderAndABadOneIsEmpty) {
    const Bytes a{0x00, 0x08, 0x00, 0x01, 0xFF, 0xFF};
    Bytes bad = BuildComFrame(a);
    bad[3] ^= 0x01;
    Bytes all = BuildComFrame(a);
    all.insert(all.end(), bad.begin(), bad.end());
    const Bytes b = BuildComFrame(kProgMsg);
    all.insert(all.end(), b.begin(), b.end());
    box.SendRaw(all);
    EXPECT_EQ(Next(), Sent(a));
    EXPECT_EQ(Next(), Bytes{}); // the bad frame: a block of 0 bytes
    EXPECT_EQ(Next(), Sent(kProgMsg));
}

TEST_F(ComPortTest, LargestEscapedBlockArrivesWhole) {
    Bytes block(MAX_COMM_MSG_LEN, COM_STX);
    block[0] = 0x00;
    box.SendBlock(block);
    EXPECT_EQ(Next(), Sent(block));
}

TEST_F(ComPortTest, TooSmallDestinationDropsOnlyThatFrame) {
    // The first frame is taken into 3 bytes, the second into enough.
    std::vector<Bytes> got;
    notices.onData = [&] {
        const std::uint32_t size = got.empty() ? 3 : MAX_COMM_MSG_LEN;
        Bytes b(size);
        b.resize(port->ReceiveDataBlock(b.data(), size));
        got.push_back(b);
    };
    box.SendBlock(kProgMsg);
    box.SendBlock(kKennung);
    while (got.size() < 2) {
        ASSERT_TRUE(notices.RunUntilData());
    }
    EXPECT_EQ(got, (std::vector<Bytes>{Bytes{}, Sent(kKennung)}));
    Bytes dest(MAX_COMM_MSG_LEN);
    // Outside a notice there is no frame to take.
    EXPECT_EQ(port->ReceiveDataBlock(dest.data(), MAX_COMM_MSG_LEN), 0u);
}

TEST_F(ComPortTest, SecondPortOnTheSameDeviceIsRefused) {
    ComNoticeQueue other;
    TTkComPort second(other, 5);
    EXPECT_EQ(other.OpenErrors(), 1);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_FALSE(
        second.SendDataBlock(kKennung.data(), static_cast<std::uint32_t>(kKennung.size())));
    EXPECT_FALSE(second.CloseComPort());
    EXPECT_TRUE(port->IsOpen()); // the first one is untouched
}

TEST_F(ComPortTest, CloseInsideANoticeDropsTheFramesWaitingBehindIt) {
    Bytes flood;
    for (int i = 0; i < 200; ++i) {
        const Bytes f = BuildComFrame(kProgMsg);
        flood.insert(flood.end(), f.begin(), f.end());
    }
    box.SendRaw(flood);
    // The controller closes the port while it takes the first frame.
    int performed = 0;
    notices.onData = [&] {
        if (++performed == 1) {
            EXPECT_TRUE(port->CloseComPort());
        }
    };
    ASSERT_TRUE(notices.RunUntilData());
    EXPECT_EQ(performed, 1); // nothing of the old line after the close
    EXPECT_FALSE(port->IsWatchingInput());
    EXPECT_EQ(notices.Watched(), 0u);
    EXPECT_EQ(port->GetFramesWaiting(), 0u);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_FALSE(port->SendDataBlock(kKennung.data(), static_cast<std::uint32_t>(kKennung.size())));
    EXPECT_FALSE(port->CloseComPort());

    // Open again on the same device: the exclusive hold was given back.
    EXPECT_TRUE(port->OpenComPort());
    box.SendBlock(kKennung);
    // What was left of the flood in the pseudo-terminal is purged at the
    // open or comes ahead of the new frame (a frame the purge cut into is a
    // bad one; the flood's frames hold no ESC, so no rest of one can take
    // the new frame's STX as data).
    Bytes got;
    do {
        got = Next();
    } while (got == Sent(kProgMsg) || got.empty());
    EXPECT_EQ(got, Sent(kKennung));
}

TEST_F(ComPortTest, FramesThatComeWhileANoticeRunsWaitForItInOrder) {
    // The controller's notice runs a modal loop (a message box) that lets
    // the event loop read on: the frames read there are not handed to the
    // controller inside its notice, but after it, in order.
    std::vector<Bytes> got;
    int depth = 0, deepest = 0;
    notices.onData = [&] {
        deepest = std::max(deepest, ++depth);
        Bytes b(MAX_COMM_MSG_LEN);
        b.resize(port->ReceiveDataBlock(b.data(), MAX_COMM_MSG_LEN));
        got.push_back(b);
        if (got.size() == 1) {
            box.SendBlock(kKennung);
            box.SendBlock(kProgMsg);
            while (port->GetFramesWaiting() < 2) {
                ASSERT_TRUE(notices.RunOne());
            }
        }
        --depth;
    };
    box.SendBlock(kProgMsg);
    ASSERT_TRUE(notices.RunUntilData());
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(got, (std::vector<Bytes>{Sent(kProgMsg), Sent(kKennung), Sent(kProgMsg)}));
    EXPECT_EQ(port->GetFramesWaiting(), 0u);
}

TEST_F(ComPortTest, LostLineFailsSendsAndClosesCleanly) {
    box.HangUp();
    EXPECT_FALSE(port->SendDataBlock(kKennung.data(), static_cast<std::uint32_t>(kKennung.size())));
    EXPECT_FALSE(port->IsOpen());
    // A hung-up line is watched no longer, or the event loop would spin.
    EXPECT_FALSE(port->IsWatchingInput());
    EXPECT_TRUE(port->CloseComPort());
}

TEST_F(ComPortTest, TheEventLoopSeesALostLine) {
    box.HangUp();
    ASSERT_TRUE(notices.RunOne());
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(notices.Watched(), 0u);
    EXPECT_FALSE(port->SendDataBlock(kKennung.data(), static_cast<std::uint32_t>(kKennung.size())));
    EXPECT_TRUE(port->CloseComPort());
}

TEST_F(ComPortTest, InitOnAnOpenPortKeepsListening) {
    port->Init();
    EXPECT_EQ(port->GetPortName(), "COM1");
    box.SendBlock(kProgMsg);
    EXPECT_EQ(Next(), Sent(kProgMsg));
}

TEST_F(ComPortTest, ReceivingSwitchedOffAndOnAgain) {
    port->SetWaitForData(false);
    port->SetWaitForData(true);
    box.SendBlock(kProgMsg);
    EXPECT_EQ(Next(), Sent(kProgMsg));
}

// ---- Port settings -------------------------------------------------------------

struct SettingCase {
    const char* name;
    int setting;
    const char* portName;
    int com;
    int portSetting;
};

void PrintTo(const SettingCase& c, std::ostream* os) {
    *os << c.name;
}

class ComPortSetting : public testing::TestWithParam<SettingCase> {};

TEST_P(ComPortSetting, OpensTheMappedDevice) {
    const SettingCase& c = GetParam();
    TestSettingsFile temp{"transfer-com"};
    boxsim::BoxSimThread box;
    for (int com = 1; com <= 4; ++com)
        temp.MapCom(com, "/nonexistent/tty-of-com" + std::to_string(com));
    if (c.com)
        temp.MapCom(c.com, box.PtyPath());
    ComNoticeQueue notices;
    TTkComPort port(notices, c.setting);
    EXPECT_EQ(port.GetPortName(), c.portName);
    EXPECT_EQ(port.GetComNumber(), c.com);
    EXPECT_EQ(port.GetPortSetting(), c.portSetting);
    EXPECT_EQ(port.IsOpen(), c.com != 0);
    EXPECT_EQ(notices.OpenErrors(), c.com != 0 ? 0 : 1);
    if (c.com) {
        ASSERT_TRUE(
            port.SendDataBlock(kKennung.data(), static_cast<std::uint32_t>(kKennung.size())));
        EXPECT_TRUE(box.WaitForFrames(1));
    } else {
        EXPECT_FALSE(
            port.SendDataBlock(kKennung.data(), static_cast<std::uint32_t>(kKennung.size())));
    }
}

INSTANTIATE_TEST_SUITE_P(
    V24, ComPortSetting,
    testing::Values(SettingCase{"Com1", 5, "COM1", 1, 5}, SettingCase{"Com2", 6, "COM2", 2, 6},
                    SettingCase{"Com3", 7, "COM3", 3, 7}, SettingCase{"Com4", 8, "COM4", 4, 8},
                    SettingCase{"BusSetting", 4, "", 0, -1}, SettingCase{"Isdn", 9, "", 0, -1},
                    SettingCase{"None", 0, "", 0, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComPortOpen, MissingDeviceIsShownAndLeavesAPortWithoutLine) {
    TestSettingsFile temp{"transfer-com"};
    temp.MapCom(2, "/nonexistent/ttyUSB9");
    ComNoticeQueue notices;
    TTkComPort port(notices, 6);
    EXPECT_EQ(notices.OpenErrors(), 1);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.IsWatchingInput());
    EXPECT_EQ(notices.Watched(), 0u);
    Bytes dest(16);
    EXPECT_EQ(port.ReceiveDataBlock(dest.data(), 16), 0u);
}

} // namespace
