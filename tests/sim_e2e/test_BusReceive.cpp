// Telegrams the box sends on its own, against the real bus path: each one
// the bus control acknowledged reaches the controller exactly once, also
// when the controller sends while they wait.

#include "E2eFixture.h"

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

const Bytes kFirst{0xF0, 0x2F, 0x70, 0x03, 0x11, 0x22};
const Bytes kSecond{0xF0, 0x2F, 0x70, 0x03, 0x33, 0x44};

TEST_F(BusReceive, UnaskedProgrammingTelegramReachesTheController) {
    ASSERT_EQ(Sim("send " + boxsim::HexBytes(kFirst), "PCANSWER"), "PCANSWER 06");
    ASSERT_TRUE(Rig().SettleBox());
    EXPECT_EQ(m_Prog.seen, std::vector<Bytes>{kFirst});
}

// The first telegram is in the bus control, its event still queued, the
// second waits on the line, when the controller sends (its identification
// timer went off, say). The send finds the bus blocked and reads the second
// telegram in; neither may be lost, and neither may arrive twice.
TEST_F(BusReceive, TelegramsWaitingWhileTheControllerSendsEachArriveOnce) {
    // Nothing here runs the event loop until the send is done.
    ASSERT_EQ(Box().Command("send " + boxsim::HexBytes(kFirst), "PCANSWER"), "PCANSWER 06");
    ASSERT_EQ(Box().Command("raw " + boxsim::HexBytes(boxsim::EncodeTelegram(kSecond)), "SENT"),
              "SENT");
    Engine().InitiateSendKennung();
    // The second went as raw bytes, so the box does not count it; wait for
    // both to be handled and every posted call to have run.
    EXPECT_TRUE(Rig().RunUntil(
        [&] { return m_Prog.seen.size() >= 2 && Rig().TelegramsTaken() >= 0; }, 5000));
    ASSERT_EQ(Sim("ping", "PONG"), "PONG");
    EXPECT_EQ(m_Prog.seen, (std::vector<Bytes>{kFirst, kSecond}));
}

} // namespace
