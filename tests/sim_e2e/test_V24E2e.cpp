// The direct V.24 cable end to end: the real transfer engine on the real
// serial port (TTkComPort) against the box simulator on a pseudo-terminal,
// started with --v24. The box is the same one the bus tests talk to, so the
// configuration, reset and event log must behave the same; on top, the
// simulator spoils its frames the ways a line does and every exchange must
// still end with the right bytes. The engine's clock is a fake one, so a
// time-out happens only when a test moves it.

#include "BlockProtocolDefs.h"
#include "BoxCore.h"
#include "BoxSimProcess.h"
#include "ComEngineRig.h"
#include "DownloadFileGen.h"
#include "IFirmwareView.h"
#include "ITransferExtension.h"
#include "TFirmwareDownload.h"
#include "TProgDefs.h"
#include "TTkDataMsg.h"
#include "TTlnProg.h"
#include "TTransferExtension.h"
#include "TransferDefs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <unistd.h>

namespace {

// Records the programming messages the engine passes on.
class ProgRecorder : public ITransferExtension {
public:
    void WorkOnProgData(const TTkDataMsg* pMsg) override {
        if (pMsg && pMsg->GetProt() == eProtProg)
            progCmds.push_back(pMsg->GetProgCmd());
    }
    std::vector<int> progCmds;
};

class V24E2e : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(m_Sim.Start(&error)) << error;
        m_Temp.MapCom(1, m_Sim.PtyPath());
        m_Settings.comPort = 5;
        m_pEngine = std::make_unique<TDataTransferEngine>(m_Clock, m_Settings, m_Factory);
        m_pOwner = std::make_unique<PackageOwner>(*m_pEngine);
        m_Notices.onData = [this] { m_pEngine->OnReadData(); };
        m_pEngine->SetOwner(m_pOwner.get());
        m_pEngine->SetView(&m_View);
        m_pEngine->SetExtension(&m_Prog);
        // As the program does once the link is set: the port is open and
        // listening before any transfer.
        m_pEngine->UpdatePort();
        ASSERT_TRUE(m_pEngine->IsConnected());
    }
    void TearDown() override {
        if (m_pEngine)
            m_pEngine->SetExtension(nullptr);
        m_pOwner.reset();
        m_pEngine.reset();
        m_Sim.Stop();
    }

    std::string Sim(const std::string& line, const std::string& reply = "OK") {
        return m_Sim.Command(line, reply).value_or("(no reply)");
    }
    // The configuration the box holds, its packages one after the other.
    Bytes BoxConfiguration() {
        char name[] = "/tmp/mox-v24-box-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd >= 0)
            ::close(fd);
        EXPECT_EQ(Sim(std::string("save ") + name, "SAVED").rfind("SAVED", 0), 0u);
        std::ifstream in(name, std::ios::binary);
        Bytes all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ::unlink(name);
        return all;
    }

    bool PumpUntilResults(std::size_t n) {
        while (m_pOwner->results.size() < n) {
            if (!m_Notices.RunOne())
                return false;
        }
        return true;
    }
    bool Send(const std::vector<Bytes>& packages) {
        const std::size_t before = m_pOwner->results.size();
        m_pOwner->packages = packages;
        m_pOwner->Send();
        return PumpUntilResults(before + 1) && m_pOwner->results.back() == 1;
    }
    bool Receive(int mode, Bytes& buffer, std::uint32_t size) {
        const std::size_t before = m_pOwner->results.size();
        buffer.assign(size, 0);
        m_pEngine->SetTransferData(mode, buffer.data(), size);
        m_pEngine->StartTransfer();
        if (!PumpUntilResults(before + 1) || m_pOwner->results.back() != 1)
            return false;
        buffer.resize(m_pEngine->GetReceivedLen());
        return true;
    }
    bool Reset() {
        const std::size_t before = m_pOwner->results.size();
        Bytes dummy(255, 0);
        m_pEngine->SetTransferData(eSendReset, dummy.data(),
                                   static_cast<std::uint32_t>(dummy.size()));
        m_pEngine->StartTransfer();
        return PumpUntilResults(before + 1) && m_pOwner->results.back() == 1;
    }

    boxsim::BoxSimProcess m_Sim{MOX_BOXSIM, {"--v24"}};
    TestSettingsFile m_Temp{"v24-e2e"};
    FakeClock m_Clock;
    FakeSettings m_Settings;
    ComNoticeQueue m_Notices;
    ComPortFactory m_Factory{m_Notices};
    RecordingView m_View;
    ProgRecorder m_Prog;
    std::unique_ptr<TDataTransferEngine> m_pEngine;
    std::unique_ptr<PackageOwner> m_pOwner;
};

TEST_F(V24E2e, DefaultConfigurationGoesOutAndComesBackByteIdentical) {
    const std::vector<Bytes> packages = DefaultConfigPackages();
    ASSERT_GT(packages.size(), 2u);
    ASSERT_TRUE(Send(packages));
    EXPECT_EQ(BoxConfiguration(), Concat(packages));
    // The identification goes out as a framed block at the open and at the
    // start of the transfer.
    EXPECT_GE(m_Sim.Count("KENNUNG"), 2u);

    Bytes image;
    ASSERT_TRUE(Receive(eReceiveAnlDaten, image, 32768));
    EXPECT_EQ(image, Concat(packages));
    EXPECT_EQ(m_pOwner->results, (std::vector<int>{1, 1}));
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_EQ(m_Sim.Count("BADFRAME"), 0u);
}

TEST_F(V24E2e, ResetReachesTheBox) {
    const size_t mark = m_Sim.Mark();
    EXPECT_TRUE(Reset());
    EXPECT_TRUE(m_Sim.WaitForCount("RESET", 1, mark));
    EXPECT_NE(Sim("status", "STATUS").find(" resets 1 "), std::string::npos);
}

TEST_F(V24E2e, EventLogIsTheBoxsSixteenBlocks) {
    Bytes log;
    ASSERT_TRUE(Receive(eReceiveEventLog, log, 16384));
    EXPECT_EQ(log, boxsim::BoxCore::EventLogPattern());
}

// ---- A silent box --------------------------------------------------------

struct SilentCase {
    const char* name;
    int mode;
    const char* request; // the sim's description of the PC's request
    std::uint32_t timeoutMs;
};

void PrintTo(const SilentCase& c, std::ostream* os) {
    *os << c.name;
}

class SilentV24Box : public V24E2e, public testing::WithParamInterface<SilentCase> {};

TEST_P(SilentV24Box, FailsAfterTheTriesAndTheirTimeOuts) {
    const SilentCase& c = GetParam();
    ASSERT_EQ(Sim("mute always"), "OK");
    const std::string muted = std::string("MUTED ") + c.request;
    const size_t mark = m_Sim.Mark();
    Bytes buffer(32768, 0);
    if (c.mode == eSendAnlDaten) {
        m_pOwner->packages = DefaultConfigPackages();
        m_pOwner->Send();
    } else {
        m_pEngine->SetTransferData(c.mode, buffer.data(), 16384);
        m_pEngine->StartTransfer();
    }
    for (int tries = 1; tries <= kMaxBlockTries; ++tries) {
        ASSERT_TRUE(m_Sim.WaitForCount(muted, static_cast<size_t>(tries), mark)) << "try " << tries;
        // One millisecond short of the time-out nothing happens.
        m_Clock.Advance(c.timeoutMs - 1);
        m_pEngine->Poll();
        EXPECT_TRUE(m_pOwner->results.empty());
        m_Clock.Advance(1);
        m_pEngine->Poll();
    }
    EXPECT_EQ(m_pOwner->results, std::vector<int>{0});
    EXPECT_FALSE(m_pEngine->IsRunning());
    // Nothing more went out after the last try.
    ASSERT_EQ(Sim("ping", "PONG"), "PONG");
    EXPECT_EQ(m_Sim.Count(muted, mark), static_cast<size_t>(kMaxBlockTries));
}

INSTANTIATE_TEST_SUITE_P(
    V24, SilentV24Box,
    testing::Values(
        SilentCase{"ReadConfiguration", eReceiveAnlDaten, "ch 0 cmd 5 ", kTimeoutDataReqMs},
        SilentCase{"SendConfiguration", eSendAnlDaten, "ch 0 cmd 2 ", kTimeoutSendBlockMs},
        SilentCase{"Reset", eSendReset, "ch 0 cmd 7 ", kTimeoutResetMs},
        SilentCase{"EventLog", eReceiveEventLog, "ch 5 cmd 16 ", kTimeoutDataReqMs}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Faults on the wire --------------------------------------------------

struct WireCase {
    const char* name;
    const char* command; // set before each exchange
    const char* marker;  // on the simulator's TXFRAME lines of the spoilt frames
    size_t extraBlocks;  // blocks the PC sent again in the send
};

void PrintTo(const WireCase& c, std::ostream* os) {
    *os << c.name;
}

class SpoiltV24Frames : public V24E2e, public testing::WithParamInterface<WireCase> {};

// The box spoils its frames the given way; the scanner's resync or the
// engine's next try must still deliver the configuration whole, both ways.
TEST_P(SpoiltV24Frames, ConfigurationStillRoundTrips) {
    const WireCase& c = GetParam();
    const std::vector<Bytes> packages = DefaultConfigPackages();
    const size_t mark = m_Sim.Mark();
    ASSERT_EQ(Sim(c.command), "OK");
    ASSERT_TRUE(Send(packages));
    EXPECT_EQ(BoxConfiguration(), Concat(packages));
    // A fault the scanner gets over costs no try; a bad CRC costs one.
    const size_t blocks = m_Sim.Count("BLOCK ch 0 cmd 2 ", mark) +
                          m_Sim.Count("BLOCK ch 0 cmd 3 ", mark) +
                          m_Sim.Count("BLOCK ch 0 cmd 4 ", mark);
    EXPECT_EQ(blocks, packages.size() + c.extraBlocks);

    ASSERT_EQ(Sim(c.command), "OK");
    Bytes image;
    ASSERT_TRUE(Receive(eReceiveAnlDaten, image, 32768));
    EXPECT_EQ(image, Concat(packages));
    ASSERT_TRUE(m_Sim.Settle());
    size_t spoilt = 0;
    for (const std::string& l : m_Sim.Lines("TXFRAME", mark))
        spoilt += l.find(c.marker) != std::string::npos;
    EXPECT_GE(spoilt, 2u); // the fault really went out in both exchanges
}

INSTANTIATE_TEST_SUITE_P(
    V24, SpoiltV24Frames,
    testing::Values(WireCase{"BadCrcTwice", "badcrc 2", " badcrc", 2},
                    WireCase{"SplitOverManyReads", "split always", " split", 0},
                    WireCase{"TwoFramesInOneRead", "double 3", " double", 0},
                    WireCase{"GarbageBetweenFrames", "garbage always", " garbage", 0},
                    WireCase{"CutOff", "cutoff always", " cutoff", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(V24E2e, BothFramesOfOneReadAreTaken) {
    // The programming block behind each answer reaches the engine as well,
    // without disturbing the exchange it came in.
    ASSERT_EQ(Sim("double 3"), "OK");
    ASSERT_TRUE(Send(DefaultConfigPackages()));
    // The last answer's second frame may come in a read after the result.
    while (m_Prog.progCmds.size() < 3)
        ASSERT_TRUE(m_Notices.RunOne());
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_EQ(m_Prog.progCmds, (std::vector<int>{PROG_KBA_LIST, PROG_KBA_LIST, PROG_KBA_LIST}));
}

TEST_F(V24E2e, ThreeBadCrcsInARowFailTheRead) {
    ASSERT_TRUE(Send(DefaultConfigPackages()));
    const size_t mark = m_Sim.Mark();
    ASSERT_EQ(Sim("badcrc 3"), "OK");
    Bytes image;
    EXPECT_FALSE(Receive(eReceiveAnlDaten, image, 32768));
    EXPECT_EQ(m_pOwner->results, (std::vector<int>{1, 0}));
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_EQ(m_Sim.Count("BLOCK ch 0 cmd 5 ", mark), static_cast<size_t>(kMaxBlockTries));
}

// ---- Subscriber programming -----------------------------------------------

TEST_F(V24E2e, FreeAddressListIsReadOverTheCable) {
    TTransferExtension ext(*m_pEngine, m_Clock);
    m_pEngine->SetExtension(&ext);
    TTlnProg& prog = ext.GetTlnProg();

    // The box leads: its programming mode comes unasked, between transfers.
    ASSERT_EQ(Sim("progmode on"), "OK");
    while (prog.GetProgMode() != eProgStateAktiv)
        ASSERT_TRUE(m_Notices.RunOne());

    ASSERT_EQ(Sim("freelist 0105 0106 0107"), "OK");
    ASSERT_EQ(Sim("freecount list"), "OK");
    // A frame of the list answer split, the count answer behind garbage.
    ASSERT_EQ(Sim("garbage"), "OK");
    Bytes buffer(255, 0);
    m_pEngine->SetTransferData(eReceiveKBACount, buffer.data(), 255);
    m_pEngine->StartTransfer();
    ASSERT_TRUE(PumpUntilResults(1));
    EXPECT_EQ(prog.GetKBACounter(), 3);

    ASSERT_EQ(Sim("split"), "OK");
    m_pEngine->SetTransferData(eReceiveKBAList, buffer.data(), 255);
    m_pEngine->StartTransfer();
    ASSERT_TRUE(PumpUntilResults(2));
    EXPECT_EQ(m_pOwner->results, (std::vector<int>{1, 1}));
    ASSERT_EQ(prog.GetAnzKBA(), 3);
    EXPECT_EQ(prog.GetKBA(0), 0x0105);
    EXPECT_EQ(prog.GetKBA(1), 0x0106);
    EXPECT_EQ(prog.GetKBA(2), 0x0107);
    EXPECT_EQ(prog.GetProgMode(), eProgStateAktiv);
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_GE(m_Sim.Count("PROGCMD"), 2u);
    m_pEngine->SetExtension(&m_Prog);
}

// ---- Firmware download ----------------------------------------------------

class FirmwareViewStub : public IFirmwareView {
public:
    void ShowFirmwareGroup(const TFirmwareGroup& g) override { group = g; }
    void ShowFWMessage(int textId, int) override { messages.push_back(textId); }
    void ShowFWMessageAndWait(int textId, int) override {
        messages.push_back(textId);
        if (fw)
            fw->OnFWMessageClosed();
    }
    // Nobody cancels here.
    void AskCancel(int, int) override {}
    // The user says yes to the restart.
    void AskRestart(int, int) override {
        ++questions;
        if (fw)
            fw->OnRestartAnswer(true);
    }
    TFirmwareGroup group;
    std::vector<int> messages;
    int questions = 0;
    TFirmwareDownload* fw = nullptr;
};

TEST_F(V24E2e, FirmwareDownloadIntoTheBoxOverTheCable) {
    TTransferExtension ext(*m_pEngine, m_Clock);
    m_pEngine->SetExtension(&ext);
    TFirmwareDownload& fw = ext.GetFirmware();
    FirmwareViewStub fwView;
    fwView.fw = &fw;
    fw.SetView(&fwView);

    dlgen::TempDir dir;
    dlgen::DownloadFileRecipe recipe;
    recipe.blocks = 4;
    const Bytes file = dlgen::MakeDownloadFile(recipe);
    fw.SetFWFileName(dir.File("fw.bin", file).string());

    // The page opens: both devices are asked for their headers.
    Bytes image(0xC0000, 0);
    m_pEngine->SetTransferData(eFW_FirmwareDownload, image.data(),
                               static_cast<std::uint32_t>(image.size()));
    m_pEngine->StartTransfer();
    m_Clock.Advance(kFirmwareStartDelayMs);
    m_pEngine->Poll();
    while (!fwView.group.downloadBtnEnabled)
        ASSERT_TRUE(m_Notices.RunOne());
    EXPECT_TRUE(fwView.messages.empty());

    // The frames of the 1030-byte write blocks go out whole; the answers
    // come split and behind garbage, and still every step goes on.
    ASSERT_EQ(Sim("split 5"), "OK");
    ASSERT_EQ(Sim("garbage 5"), "OK");
    const size_t mark = m_Sim.Mark();
    fw.OnFWDownloadStarten();
    ASSERT_TRUE(PumpUntilResults(1));
    EXPECT_EQ(m_pOwner->results, std::vector<int>{1});
    EXPECT_TRUE(fw.IsSuccess());
    EXPECT_EQ(fwView.questions, 1);
    EXPECT_TRUE(fwView.messages.empty());
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_EQ(m_Sim.Count("FWCMD 1 7 ", mark), 4u); // the write blocks

    const std::string path = (dir.Path() / "box.img").string();
    ASSERT_EQ(Sim("fwsave box " + path, "FWSAVED"), "FWSAVED " + std::to_string(file.size()));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), file);
    const std::string status = Sim("fwstatus box", "FWSTATUS");
    EXPECT_NE(status.find(" restarts 1"), std::string::npos) << status;
    m_pEngine->SetExtension(&m_Prog);
}

TEST(V24Commands, WireFaultsNeedTheV24Cable) {
    boxsim::BoxSimProcess bus(MOX_BOXSIM, {"--quiet"});
    std::string error;
    ASSERT_TRUE(bus.Start(&error)) << error;
    for (const char* cmd : {"badcrc", "split", "double", "garbage", "cutoff"}) {
        const auto reply = bus.Command(cmd, "ERROR");
        ASSERT_TRUE(reply) << cmd;
        EXPECT_NE(reply->find("--v24"), std::string::npos) << *reply;
    }
    bus.Stop();
}

} // namespace
