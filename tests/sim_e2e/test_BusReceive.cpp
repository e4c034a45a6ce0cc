// Telegrams the box sends on its own, against the real bus path: each one
// the bus control acknowledged reaches the controller exactly once, also
// when the controller sends while they wait.

#include "E2eFixture.h"

#include "BusInterfaceSim.h"
#include "ITransferExtension.h"
#include "SimHex.h"
#include "SimTelegram.h"
#include "TTkDataMsg.h"

namespace {

// Where the box's programming telegrams end up: the controller hands every
// one to its programming extension.
class ProgRecorder : public ITransferExtension {
public:
    void WorkOnProgData(const TTkDataMsg* pMsg) override {
        if (pMsg)
            seen.emplace_back(pMsg->GetBuffer(), pMsg->GetBuffer() + pMsg->GetLen());
    }
    std::vector<Bytes> seen;
};

class BusReceive : public BusE2eTest {
protected:
    void SetUp() override {
        BusE2eTest::SetUp();
        Engine().SetExtension(&m_Prog);
        Engine().UpdatePort();
        ASSERT_TRUE(Rig().SettleBox());
    }
    void TearDown() override {
        if (m_pRig)
            Engine().SetExtension(nullptr);
        BusE2eTest::TearDown();
    }
    ProgRecorder m_Prog;
};

// Every try of the box's telegram, with its wait for the PC's answer, and
// room to spare: a repeat is the protocol's own way, not a fault.
constexpr int kRepeatsMs = boxsim::BusInterfaceSim::kDefaultTries *
                               boxsim::BusInterfaceSim::kDefaultAckWaitMs +
                           5000;

const Bytes kFirst{0xF0, 0x2F, 0x70, 0x03, 0x11, 0x22};
const Bytes kSecond{0xF0, 0x2F, 0x70, 0x03, 0x33, 0x44};

TEST_F(BusReceive, UnaskedProgrammingTelegramReachesTheController) {
    ASSERT_EQ(Sim("send " + boxsim::HexBytes(kFirst), "PCANSWER"), "PCANSWER 06");
    ASSERT_TRUE(Rig().SettleBox());
    EXPECT_EQ(m_Prog.seen, std::vector<Bytes>{kFirst});
}

// The first telegram is in the bus control, its event still queued, the
// second is on its way when the controller sends (its identification timer
// went off, say). The send finds the bus blocked and reads the second
// telegram in, or meets its first byte while it waits for the box's answer;
// then the box's answer waits behind that telegram and the bus control must
// not acknowledge it, and the box repeats it. Either way each arrives once.
TEST_F(BusReceive, TelegramsWaitingWhileTheControllerSendsEachArriveOnce) {
    // Nothing here runs the event loop until the send is done.
    ASSERT_EQ(Box().Command("send " + boxsim::HexBytes(kFirst), "PCANSWER"), "PCANSWER 06");
    ASSERT_EQ(Box().Command("raw " + boxsim::HexBytes(boxsim::EncodeTelegram(kSecond)), "SENT"),
              "SENT");
    Engine().InitiateSendKennung();
    // Both handled, every posted call run, and the box done with the second
    // (acknowledged, after its repeat where one was needed).
    EXPECT_TRUE(Rig().RunUntil(
        [&] { return m_Prog.seen.size() >= 2 && Rig().TelegramsTaken() >= 0; }, kRepeatsMs));
    EXPECT_EQ(Sim("ping", "PONG"), "PONG");
    EXPECT_EQ(m_Prog.seen, (std::vector<Bytes>{kFirst, kSecond}));
    EXPECT_TRUE(Rig().SettleBox());
    EXPECT_EQ(CountLinesSynced("LOST", 0), 0u);
    EXPECT_EQ(m_Prog.seen.size(), 2u) << "a repeat reached the controller a second time";
}

// The box's answer to the PC's telegram always waits behind a telegram of
// the box's: the bus control sees more bytes behind it and may not
// acknowledge it, so only the box's repeat can bring it, and it must come
// exactly once.
TEST_F(BusReceive, ATelegramWithTheBoxsAnswerBehindItArrivesOnceByItsRepeat) {
    const size_t mark = Rig().Mark();
    ASSERT_EQ(Sim("ackbehind " + boxsim::HexBytes(kSecond)), "OK");
    Engine().InitiateSendKennung();
    EXPECT_TRUE(Rig().RunUntil(
        [&] { return !m_Prog.seen.empty() && Rig().TelegramsTaken() >= 0; }, kRepeatsMs));
    EXPECT_EQ(Box().WaitForLine("PCANSWER", kRepeatsMs), "PCANSWER 06");
    EXPECT_TRUE(Rig().SettleBox());
    EXPECT_EQ(m_Prog.seen, std::vector<Bytes>{kSecond});
    const std::string tx = "TX " + boxsim::HexBytes(kSecond);
    EXPECT_EQ(CountLinesSynced(tx + " ahead of the ACK", mark), 1u);
    EXPECT_GE(CountLines(tx + " PCANSWER none, again", mark), 1u);
    // The identification got through as well.
    EXPECT_GE(CountLines("KENNUNG", mark), 1u);
}

} // namespace
