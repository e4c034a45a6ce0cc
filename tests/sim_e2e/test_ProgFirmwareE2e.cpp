// Subscriber programming and the firmware download on the real bus path
// against the box simulator: the programming course from programming mode
// on to off, with the box's messages as channel-3 blocks and as raw
// programming telegrams; whole downloads into the box and into the camera
// device with the exact command sequence; silences, a missing camera
// device, header answers without a header, the user's cancel once erasing
// has begun, and a link that dies under a download.

#include "E2eFixture.h"

#include "../transfer_prog/DownloadFileGen.h"
#include "FirmwareDefs.h"
#include "IFirmwareView.h"
#include "TTransferExtension.h"
#include "WindowMessages.h"

#include <algorithm>
#include <ostream>

namespace {

// ---- Programming -------------------------------------------------------------

class RecordingResults : public IProgResultOwner {
public:
    void OnProgResult(const TProgResult& r) override { results.push_back(r); }
    std::vector<std::uint32_t> Codes() const {
        std::vector<std::uint32_t> c;
        for (const auto& r : results)
            c.push_back(r.nCode);
        return c;
    }
    std::vector<TProgResult> results;
};

// The rig's engine with the programming and firmware extension, wired the
// way the program wires it, and the port open as between the program's runs
// so the box's announcements arrive outside a run too.
class ExtE2eTest : public BusE2eTest {
protected:
    void SetUp() override {
        BusE2eTest::SetUp();
        if (HasFatalFailure())
            return;
        m_pExt = std::make_unique<TTransferExtension>(Engine(), Rig().Clock());
        Engine().SetExtension(m_pExt.get());
        Prog().SetResultOwner(&m_Results);
        Engine().UpdatePort();
    }
    void TearDown() override {
        if (m_pExt) {
            Engine().SetExtension(nullptr);
            m_pExt.reset();
        }
        BusE2eTest::TearDown();
    }

    TTlnProg& Prog() { return m_pExt->GetTlnProg(); }
    TFirmwareDownload& Fw() { return m_pExt->GetFirmware(); }

    // Runs the loop until n programming results have come.
    bool WaitForResults(size_t n, int limitMs = BusRig::kGuardMs) {
        return Rig().RunUntil([this, n] { return m_Results.results.size() >= n; }, limitMs);
    }
    // A box command that makes the box announce something, then its result.
    std::uint32_t Announce(const std::string& command) {
        const size_t before = m_Results.results.size();
        EXPECT_EQ(Sim(command), "OK") << command;
        if (!WaitForResults(before + 1)) {
            ADD_FAILURE() << "no result after " << command;
            return 0;
        }
        return m_Results.results.back().nCode;
    }
    int RunModal(int mode) {
        m_Buffer.assign(255, 0);
        return Transfer().Run(mode, m_Buffer.data(), static_cast<std::uint32_t>(m_Buffer.size()));
    }

    std::unique_ptr<TTransferExtension> m_pExt;
    RecordingResults m_Results;
    Bytes m_Buffer;
};

struct FormRow {
    const char* name;
    const char* form; // how the box sends its programming messages
};

void PrintTo(const FormRow& row, std::ostream* os) {
    *os << row.name;
}

class ProgCourse : public ExtE2eTest, public ::testing::WithParamInterface<FormRow> {};

TEST_P(ProgCourse, FromProgrammingModeOnToOff) {
    const std::string form = GetParam().form;
    const size_t mark = Mark();

    // The box enters programming mode.
    EXPECT_EQ(Announce("progmode on " + form), PROGMODEAKT_OK);
    EXPECT_EQ(Prog().GetProgMode(), eProgStateAktiv);
    EXPECT_EQ(Prog().GetAdrBSG(), 0x0021);
    EXPECT_EQ(Prog().GetBSGKenniffer(), 0x4711);

    // The dialog reads the free-address count and list, each a modal run
    // that returns to the state it came from.
    ASSERT_EQ(Sim("freelist 0105 0106 0107"), "OK");
    EXPECT_EQ(RunModal(eReceiveKBACount), 1);
    EXPECT_EQ(Prog().GetKBACounter(), 3);
    EXPECT_EQ(Prog().GetProgMode(), eProgStateAktiv);
    EXPECT_EQ(RunModal(eReceiveKBAList), 1);
    EXPECT_EQ(Prog().GetAnzKBA(), 3);
    EXPECT_EQ(Prog().GetKBA(0), 0x0105);
    EXPECT_EQ(Prog().GetKBA(2), 0x0107);
    EXPECT_EQ(Prog().GetProgMode(), eProgStateAktiv);
    EXPECT_EQ(CountLinesSynced("PROGCMD PROG_KBA_COUNT 0000 0000", mark), 1u);
    // The list request carries the count as its first address.
    EXPECT_EQ(CountLinesSynced("PROGCMD PROG_KBA 0003 0000", mark), 1u);

    // A unit is put into programming at the bus and given the first free
    // address, which the box acknowledges.
    ASSERT_EQ(Sim("progquitt " + form), "OK");
    EXPECT_EQ(Announce("progunit 0030 " + form), TLNPROGAKT_OK);
    EXPECT_EQ(Prog().GetProgMode(), eProgStateBTLM);
    EXPECT_EQ(Prog().GetAdrBTLM(), 0x0030);
    Prog().SetTlnAdr(0);
    const size_t before = m_Results.results.size();
    Prog().InitiateProgAkt();
    ASSERT_TRUE(WaitForResults(before + 1));
    EXPECT_EQ(m_Results.results.back().nCode, PROGQUIT_OK);
    EXPECT_EQ(CountLinesSynced("PROGCMD HT_PROG_AKT 0105 0000", mark), 1u);
    EXPECT_EQ(Prog().GetQuittAdr(), 0x0105);
    EXPECT_EQ(Prog().GetKBA(0), 0) << "the given address left the free list";
    EXPECT_EQ(Prog().GetAnzKBA(), 2);
    EXPECT_EQ(Prog().GetProgMode(), eProgStateBTLM);
    EXPECT_EQ(Sim("progstatus", "PROGSTATUS"),
              "PROGSTATUS mode 1 bsg 0021 unit 0030 video 0 codes 0 free 2 0106 0107");

    // The box leaves programming mode.
    EXPECT_EQ(Announce("progmode off " + form), TLNPROG_PAS_OK);
    EXPECT_EQ(Prog().GetProgMode(), eProgStateUndefined);
    EXPECT_FALSE(Prog().IsProgModeAktiv());

    EXPECT_EQ(m_Results.Codes(),
              (std::vector<std::uint32_t>{PROGMODEAKT_OK, KBA_COUNT, KBA_LIST_OK, TLNPROGAKT_OK,
                                          PROGQUIT_OK, TLNPROG_PAS_OK}));
    EXPECT_EQ(Transfer().results, (std::vector<int>{1, 1}));
    const char* sent = form == "tele" ? " tele" : " block";
    EXPECT_EQ(CountLinesSynced(std::string("PROGSENT PROG_QUITT") + sent, mark), 1u);
    EXPECT_EQ(CountLinesSynced(std::string("PROGSENT PROG_MODE_AKT") + sent, mark), 1u);
}

INSTANTIATE_TEST_SUITE_P(Forms, ProgCourse,
                         ::testing::Values(FormRow{"ChannelThreeBlocks", "block"},
                                           FormRow{"RawProgrammingTelegrams", "tele"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The box's other messages, in both forms where it has them.
struct AnnounceRow {
    const char* name;
    std::vector<std::string> before; // each brings a result of its own
    std::vector<std::string> quiet;  // bring none
    std::string command;
    TProgResult result;
    int stateAfter;
};

void PrintTo(const AnnounceRow& row, std::ostream* os) {
    *os << row.name;
}

class ProgAnnouncements : public ExtE2eTest, public ::testing::WithParamInterface<AnnounceRow> {};

TEST_P(ProgAnnouncements, ReachTheMainWindow) {
    const AnnounceRow& row = GetParam();
    ASSERT_EQ(Announce("progmode on"), PROGMODEAKT_OK);
    for (const std::string& c : row.before)
        Announce(c);
    for (const std::string& c : row.quiet)
        ASSERT_EQ(Sim(c), "OK") << c;
    m_Results.results.clear();
    Announce(row.command);
    EXPECT_EQ(m_Results.results, std::vector<TProgResult>{row.result});
    EXPECT_EQ(Prog().GetProgMode(), row.stateAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProgAnnouncements,
    ::testing::Values(
        AnnounceRow{"VideoUnitAsBlock",
                    {},
                    {},
                    "progunit 0031 video",
                    {TLNPROGAKT_OK, 0, 0},
                    eProgStateBTLMVideo},
        AnnounceRow{"VideoUnitAsTelegram",
                    {},
                    {},
                    "progunit 0031 video tele",
                    {TLNPROGAKT_OK, 0, 0},
                    eProgStateBTLMVideo},
        AnnounceRow{
            "ErrorReportAsBlock", {}, {}, "progerror 4 2", {TLNPROG_FEHLER, 4, 2}, eProgStateAktiv},
        // A '9' telegram is no message of its own: the error report after it
        // is the only result.
        AnnounceRow{"ErrorReportAsTelegramAfterANineTelegram",
                    {},
                    {"prog9 01 02"},
                    "progerror 3 1 tele",
                    {TLNPROG_FEHLER, 3, 1},
                    eProgStateAktiv},
        AnnounceRow{"ErrorReportWhileAUnitIsInProgramming",
                    {"progunit 0031"},
                    {},
                    "progerror 5 6 tele",
                    {TLNPROG_FEHLER, 5, 6},
                    eProgStateBTLM},
        AnnounceRow{"SwitchModuleIn", {}, {}, "progbsm 0040 2", {BSMPROG_AKT, 0, 0}, eProgStateBSM},
        AnnounceRow{"SwitchModuleOut",
                    {"progbsm 0040 2"},
                    {},
                    "progbsm off",
                    {BSMPROG_PAS, 0, 0},
                    eProgStateAktiv},
        AnnounceRow{"ProgrammingModeOffFromAUnit",
                    {"progunit 0031"},
                    {},
                    "progmode off tele",
                    {TLNPROG_PAS_OK, 0, 0},
                    eProgStateUndefined}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtE2eTest, SwitchModuleKeyProgrammingReachesTheBox) {
    ASSERT_EQ(Announce("progmode on"), PROGMODEAKT_OK);
    ASSERT_EQ(Announce("progbsm 0040 2"), BSMPROG_AKT);
    EXPECT_EQ(Prog().GetAdrBSM(), 0x0040);
    EXPECT_EQ(Prog().GetBSMRelais(), 2);
    const size_t mark = Mark();
    Prog().SetTlnAdr(0x0105);
    const size_t before = m_Results.results.size();
    Prog().InitiateBSMTasteProg(0x0012, 3);
    // The key is reported assigned once its command is with the box.
    ASSERT_TRUE(WaitForResults(before + 1));
    EXPECT_EQ(m_Results.results.back().nCode, RUECKMELDUNG_OK);
    EXPECT_TRUE(Rig().RunUntil(
        [&] { return CountLines("PROGCMD BSM_CODE_PROG 0012 0105 idx 3", mark) == 1; },
        BusRig::kGuardMs));
}

// The programming channel is 3 from the start: a delete before any
// programming dialog ran reaches the box, and its address is free again.
TEST_F(ExtE2eTest, DeleteBeforeAnyDialogReachesTheBox) {
    const size_t mark = Mark();
    Prog().SetTlnAdr(0x0107);
    Prog().InitiateDelTln();
    Prog().InitiateDelAllTln();
    EXPECT_TRUE(Rig().RunUntil(
        [&] { return CountLines("PROGCMD ALL_TLN_ADR_CLEAR 0000 0000", mark) == 1; },
        BusRig::kGuardMs));
    EXPECT_EQ(CountLinesSynced("PROGCMD TLN_ADR_CLEAR 0107 0000", mark), 1u);
    EXPECT_TRUE(m_Results.results.empty());
    EXPECT_EQ(Sim("progstatus", "PROGSTATUS"),
              "PROGSTATUS mode 0 bsg 0021 unit 0000 video 0 codes 0 free 3 0105 0106 0107");
}

TEST_F(ExtE2eTest, CountRefusedAndListUnansweredAreFailures) {
    ASSERT_EQ(Announce("progmode on"), PROGMODEAKT_OK);
    ASSERT_EQ(Sim("freecount nak"), "OK");
    EXPECT_EQ(RunModal(eReceiveKBACount), 1);
    EXPECT_EQ(m_Results.results.back().nCode, KBA_COUNT_FAILED);

    ASSERT_EQ(Sim("progsilent 1"), "OK");
    Transfer().onTurn = SkipOn("PROGSILENT PROG_KBA", 120000);
    EXPECT_EQ(RunModal(eReceiveKBAList), 1);
    Transfer().onTurn = {};
    EXPECT_EQ(m_Results.results.back().nCode, KBA_LIST_FAILED);
    EXPECT_EQ(Prog().GetProgMode(), eProgStateAktiv);
}

// ---- Firmware ----------------------------------------------------------------

class RecordingFirmwareView : public IFirmwareView {
public:
    void ShowFirmwareGroup(const TFirmwareGroup& g) override { group = g; }
    void ShowFWMessage(int textId, int captionId) override {
        messages.emplace_back(textId, captionId);
    }
    // A form answers the question once the call has returned.
    void AskRestart(int textId, int captionId) override {
        questions.emplace_back(textId, captionId);
        asked = true;
    }
    void ShowFWMessageAndWait(int textId, int captionId) override {
        messages.emplace_back(textId, captionId);
        waiting = true;
    }
    void AskCancel(int textId, int captionId) override {
        cancelQuestions.emplace_back(textId, captionId);
        askedCancel = true;
    }

    TFirmwareGroup group;
    std::vector<std::pair<int, int>> messages;
    std::vector<std::pair<int, int>> questions;
    std::vector<std::pair<int, int>> cancelQuestions;
    bool asked = false;
    bool waiting = false;
    bool askedCancel = false;
};

class FirmwareE2e : public ExtE2eTest {
protected:
    void SetUp() override {
        ExtE2eTest::SetUp();
        if (HasFatalFailure())
            return;
        Fw().SetView(&m_View);
    }
    void TearDown() override {
        if (m_pExt)
            Fw().SetView(nullptr);
        ExtE2eTest::TearDown();
    }

    std::string File(const dlgen::DownloadFileRecipe& recipe) {
        m_File = dlgen::MakeDownloadFile(recipe);
        return m_Dir.File("fw.bin", m_File).string();
    }

    // The firmware page's run: the header query, then the user's start once
    // the run waits for it, and the answer to the restart question. extra
    // runs every turn too (the clock jumps).
    int Run(const std::string& path, std::function<void()> extra = {}) {
        Fw().SetFWFileName(path);
        bool queried = false;
        bool started = false;
        Transfer().onTurn = [&, extra] {
            if (extra)
                extra();
            const int mode = Engine().GetMode();
            if (mode >= eFW_StartKTXDownload && mode <= eFW_StopKMRDownload)
                queried = true;
            if (queried && !started && mode == eTransferIdle && Engine().IsRunning()) {
                started = true;
                Fw().OnFWDownloadStarten();
            }
            if (m_View.asked) {
                m_View.asked = false;
                Fw().OnRestartAnswer(m_bRestart);
            }
            if (m_View.waiting) {
                m_View.waiting = false;
                Fw().OnFWMessageClosed();
            }
        };
        m_Image.assign(kDLMaxFileLen, 0);
        const int result = Transfer().Run(eFW_FirmwareDownload, m_Image.data(),
                                          static_cast<std::uint32_t>(m_Image.size()));
        Transfer().onTurn = {};
        return result;
    }
    // Every firmware command the devices saw from the mark on.
    std::vector<std::string> Commands(size_t from) const { return Box().Lines("FWCMD ", from); }
    // The run's end sends the stop command to both devices without waiting;
    // this waits until they arrived.
    bool WaitForFinalStops(size_t from, size_t stopsBefore) {
        return Rig().RunUntil([&] { return Box().Count("FWCMD 2 1 0", from) >= stopsBefore + 1; },
                              BusRig::kGuardMs);
    }

    static std::vector<std::string> Query(bool camera = true) {
        std::vector<std::string> q{"FWCMD 1 0 0", "FWCMD 1 3 1", "FWCMD 1 1 0", "FWCMD 2 0 0"};
        if (camera)
            q.insert(q.end(), {"FWCMD 2 3 1", "FWCMD 2 1 0"});
        return q;
    }
    static std::vector<std::string> Download(int dev, int eraseBlocks, int blocks) {
        const std::string d = std::to_string(dev);
        std::vector<std::string> s{"FWCMD " + d + " 0 0"};
        for (int k = 0; k < eraseBlocks; ++k)
            s.push_back("FWCMD " + d + " 6 " + std::to_string(k));
        for (int n = 0; n < blocks; ++n)
            s.push_back("FWCMD " + d + " 7 " + std::to_string(n) + " data 1024");
        s.push_back("FWCMD " + d + " 5 2");
        s.push_back("FWCMD " + d + " 11 1");
        return s;
    }
    static std::vector<std::string> Cat(std::vector<std::string> a,
                                        const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    dlgen::TempDir m_Dir;
    Bytes m_File;
    Bytes m_Image;
    RecordingFirmwareView m_View;
    bool m_bRestart = true;
};

TEST_F(FirmwareE2e, WholeDownloadIntoTheBox) {
    dlgen::DownloadFileRecipe recipe;
    recipe.blocks = 4;
    const std::string path = File(recipe);
    ASSERT_EQ(Sim("fwheader box KTX-0.9 24121999 235959"), "OK");
    const size_t mark = Mark();
    const int timeOutsBefore = TimeOuts();

    EXPECT_EQ(Run(path), 1);
    ASSERT_TRUE(WaitForFinalStops(mark, 1));

    // Query, download, good checksum, old image removed, restart; the end
    // takes both devices out of download mode.
    const auto expected =
        Cat(Cat(Query(), Download(1, 3, 4)), {"FWCMD 1 10 0", "FWCMD 1 1 0", "FWCMD 2 1 0"});
    EXPECT_EQ(Commands(mark), expected);
    EXPECT_EQ(Transfer().results, std::vector<int>{1});
    EXPECT_TRUE(m_View.messages.empty());
    EXPECT_EQ(m_View.questions,
              (std::vector<std::pair<int, int>>{{kTextFWAskRestart, kTextFWCaption}}));
    // The box's header as the group shows it.
    EXPECT_EQ(m_View.group.ktx.version, TViewText::Literal("KTX-0.9"));
    EXPECT_EQ(m_View.group.ktx.date, TViewText::Literal("24.12.1999"));
    EXPECT_EQ(m_View.group.ktx.time, TViewText::Literal("23:59:59"));

    // The box holds the file, byte for byte.
    const std::string saved = m_Docs.Dir() + "/image.bin";
    EXPECT_EQ(Sim("fwsave box " + saved, "FWSAVED"), "FWSAVED 4096");
    std::ifstream in(saved, std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), m_File);
    EXPECT_EQ(
        Sim("fwstatus box", "FWSTATUS"),
        "FWSTATUS 1 download 0 erased 3 written 4 bytes 4096 sum " +
            [&] {
                char b[8];
                std::snprintf(b, sizeof b, "%04X", dlgen::Checksum(m_File));
                return std::string(b);
            }() +
            " restarts 1 killold 1 killnew 0");
    // No time-out was waited for.
    EXPECT_EQ(TimeOuts() - timeOutsBefore, 0);
}

TEST_F(FirmwareE2e, WholeDownloadIntoTheCameraDeviceWithoutRestart) {
    dlgen::DownloadFileRecipe recipe;
    recipe.device = eFWDeviceKMR;
    recipe.blocks = 3;
    const std::string path = File(recipe);
    m_bRestart = false;
    const size_t mark = Mark();

    EXPECT_EQ(Run(path), 1);
    ASSERT_TRUE(WaitForFinalStops(mark, 2));

    // Twelve erase blocks on the camera device; No to the restart question
    // takes it out of download mode.
    const auto expected =
        Cat(Cat(Query(), Download(2, 12, 3)), {"FWCMD 2 1 0", "FWCMD 1 1 0", "FWCMD 2 1 0"});
    EXPECT_EQ(Commands(mark), expected);
    EXPECT_EQ(Transfer().results, std::vector<int>{1});
    EXPECT_TRUE(m_View.messages.empty());
    EXPECT_EQ(Sim("fwstatus camera", "FWSTATUS")
                  .rfind("FWSTATUS 2 download 0 erased 12 written 3 "
                         "bytes 3072",
                         0),
              0u);
    EXPECT_EQ(m_View.group.kmr.version, TViewText::Literal("KMR 1.00"));
}

// Silences, with the clock jumped over each time-out the box lets pass.
struct SilenceRow {
    const char* name;
    std::vector<std::string> commands;
    std::uint64_t skipMs; // the command's time-out
    const char* command;  // the command that was met with silence
    size_t sent;          // how often it went out
    int result;
    std::vector<std::pair<int, int>> messages;
};

void PrintTo(const SilenceRow& row, std::ostream* os) {
    *os << row.name;
}

class FirmwareSilence : public FirmwareE2e, public ::testing::WithParamInterface<SilenceRow> {};

TEST_P(FirmwareSilence, IsRetriedTwiceThenFailsTheStep) {
    const SilenceRow& row = GetParam();
    dlgen::DownloadFileRecipe recipe;
    recipe.blocks = 2;
    const std::string path = File(recipe);
    for (const std::string& c : row.commands)
        ASSERT_EQ(Sim(c), "OK") << c;
    const size_t mark = Mark();

    // The clock jumps by the command's own time-out at each silence.
    // The dialog closes with OK (1) after a good run, else as cancelled (2).
    EXPECT_EQ(Run(path, SkipOn("FWSILENT", row.skipMs)), row.result ? 1 : 2);
    EXPECT_FALSE(Transfer().timedOut);
    EXPECT_EQ(CountLinesSynced(row.command, mark), row.sent);
    EXPECT_EQ(Transfer().results, std::vector<int>{row.result}) << "one run, one result";
    EXPECT_EQ(m_View.messages, row.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FirmwareSilence,
    ::testing::Values(SilenceRow{"TwoSilencesOfAnEraseThenTheAnswerGoesOn",
                                 {"fwsilent box erase 2"},
                                 kFWTimeoutDeleteMs,
                                 "FWCMD 1 6 0",
                                 3,
                                 1,
                                 {}},
                      SilenceRow{"TwoSilencesOfAWriteThenTheAnswerGoesOn",
                                 {"fwsilent box write 2"},
                                 kFWTimeoutBlockMs,
                                 "FWCMD 1 7 0",
                                 3,
                                 1,
                                 {}},
                      SilenceRow{"TwoSilencesOfTheChecksumThenTheAnswerGoesOn",
                                 {"fwsilent box checksum 2"},
                                 kFWTimeoutMs,
                                 "FWCMD 1 5 2",
                                 3,
                                 1,
                                 {}},
                      // The partly written image is removed before the run ends.
                      SilenceRow{"ThirdSilenceOfAWriteFailsTheStep",
                                 {"fwsilent box write 3"},
                                 kFWTimeoutBlockMs,
                                 "FWCMD 1 7 0",
                                 3,
                                 0,
                                 {{kTextFWStepFailedFirst + 4, kTextFWErrCaption}}},
                      SilenceRow{"ThirdSilenceOfTheHeaderFailsTheQuery",
                                 {"fwsilent box header 3"},
                                 kFWTimeoutMs,
                                 "FWCMD 1 3 1",
                                 3,
                                 0,
                                 {{kTextFWStepFailedFirst, kTextFWErrCaption}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FirmwareE2e, ThirdSilenceOfAWriteRemovesTheNewImage) {
    dlgen::DownloadFileRecipe recipe;
    recipe.blocks = 2;
    const std::string path = File(recipe);
    ASSERT_EQ(Sim("fwsilent box write 3"), "OK");
    const size_t mark = Mark();
    EXPECT_EQ(Run(path, SkipOn("FWSILENT", kFWTimeoutBlockMs)), 2);
    ASSERT_TRUE(WaitForFinalStops(mark, 1));
    EXPECT_EQ(Commands(mark), Cat(Cat(Query(), {"FWCMD 1 0 0", "FWCMD 1 6 0", "FWCMD 1 6 1",
                                                "FWCMD 1 6 2", "FWCMD 1 7 0 data 1024",
                                                "FWCMD 1 7 0 data 1024", "FWCMD 1 7 0 data 1024"}),
                                  {"FWCMD 1 11 2", "FWCMD 1 1 0", "FWCMD 1 1 0", "FWCMD 2 1 0"}));
}

struct CameraRow {
    const char* name;
    const char* command;
    std::uint64_t skipMs;
};

void PrintTo(const CameraRow& row, std::ostream* os) {
    *os << row.name;
}

class MissingCamera : public FirmwareE2e, public ::testing::WithParamInterface<CameraRow> {};

TEST_P(MissingCamera, IsNoError) {
    ASSERT_EQ(Sim(GetParam().command), "OK");
    dlgen::DownloadFileRecipe recipe;
    recipe.blocks = 1;
    const std::string path = File(recipe);
    const size_t mark = Mark();

    EXPECT_EQ(Run(path, SkipOn("FWABSENT", GetParam().skipMs)), 1);
    ASSERT_TRUE(WaitForFinalStops(mark, 0));
    // The query ends quietly at the camera device's start and the download
    // into the box goes on.
    const auto cmds = Commands(mark);
    ASSERT_GE(cmds.size(), 4u);
    const auto query = Query();
    EXPECT_EQ(std::vector<std::string>(cmds.begin(), cmds.begin() + 4),
              std::vector<std::string>(query.begin(), query.begin() + 4));
    EXPECT_EQ(CountLinesSynced("FWCMD 2 3 1", mark), 0u) << "no header asked of a missing device";
    EXPECT_TRUE(m_View.messages.empty());
    EXPECT_EQ(Transfer().results, std::vector<int>{1});
    EXPECT_EQ(m_View.group.kmr.version, TViewText::Lang(kTextFWNone));
    EXPECT_EQ(m_View.group.kmr.device, TViewText::Lang(kTextFWNone));
}

INSTANTIATE_TEST_SUITE_P(Rows, MissingCamera,
                         ::testing::Values(CameraRow{"Silent", "fwcamera absent", kFWTimeoutMs},
                                           CameraRow{"Refusing", "fwcamera nak", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// A device without a readable header answers the header request without
// data: the query goes on, and so does the download.
struct NoHeaderRow {
    const char* name;
    const char* command;
    bool cameraToo;
};

void PrintTo(const NoHeaderRow& row, std::ostream* os) {
    *os << row.name;
}

class HeaderWithoutData : public FirmwareE2e, public ::testing::WithParamInterface<NoHeaderRow> {};

TEST_P(HeaderWithoutData, GoesOnToTheDownload) {
    dlgen::DownloadFileRecipe recipe;
    recipe.blocks = 2;
    const std::string path = File(recipe);
    ASSERT_EQ(Sim(GetParam().command), "OK");
    const size_t mark = Mark();

    EXPECT_EQ(Run(path), 1);
    ASSERT_TRUE(WaitForFinalStops(mark, 1));
    EXPECT_EQ(Commands(mark),
              Cat(Cat(Query(), Download(1, 3, 2)), {"FWCMD 1 10 0", "FWCMD 1 1 0", "FWCMD 2 1 0"}));
    EXPECT_EQ(Transfer().results, std::vector<int>{1});
    EXPECT_TRUE(m_View.messages.empty());
    EXPECT_EQ(m_View.group.ktx.version, TViewText::Lang(kTextFWNone));
    EXPECT_EQ(m_View.group.ktx.device, TViewText::Lang(kTextFWNone));
    EXPECT_EQ(m_View.group.kmr.version,
              GetParam().cameraToo ? TViewText::Lang(kTextFWNone) : TViewText::Literal("KMR 1.00"));
    EXPECT_EQ(Sim("fwstatus box", "FWSTATUS").rfind("FWSTATUS 1 download 0 erased 3 written 2", 0),
              0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, HeaderWithoutData,
                         ::testing::Values(NoHeaderRow{"Box", "fwshortheader 1 0", false},
                                           NoHeaderRow{"BoxAndCamera", "fwshortheader 2 0", true},
                                           NoHeaderRow{"BoxCutHeader", "fwshortheader 1 40",
                                                       false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The user cancels once erasing has begun, and answers the question.
struct CancelRow {
    const char* name;
    std::uint8_t device;
    int mode;
    int counter; // the cancel comes once the block counter is here
    bool yes;
};

void PrintTo(const CancelRow& row, std::ostream* os) {
    *os << row.name;
}

class CancelOnceErasing : public FirmwareE2e, public ::testing::WithParamInterface<CancelRow> {};

TEST_P(CancelOnceErasing, AsksThenRemovesThePartlyWrittenImageOrGoesOn) {
    const CancelRow& row = GetParam();
    dlgen::DownloadFileRecipe recipe;
    recipe.device = row.device;
    recipe.blocks = 4;
    const std::string path = File(recipe);
    const std::string dev = row.device == eFWDeviceKMR ? "camera" : "box";
    const std::string ch = row.device == eFWDeviceKMR ? "2" : "1";
    const size_t mark = Mark();
    bool cancelled = false;
    auto user = [&] {
        if (!cancelled && Engine().GetMode() == row.mode && Fw().GetBlockCounter() >= row.counter) {
            cancelled = true;
            Engine().Cancel();
        }
        if (m_View.askedCancel) {
            m_View.askedCancel = false;
            Fw().OnCancelAnswer(row.yes);
        }
    };

    EXPECT_EQ(Run(path, user), row.yes ? 2 : 1);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(Transfer().timedOut);
    EXPECT_EQ(m_View.cancelQuestions,
              (std::vector<std::pair<int, int>>{{kTextFWAskCancel, kTextFWCaption}}));
    ASSERT_TRUE(WaitForFinalStops(mark, row.device == eFWDeviceKMR && row.yes ? 2 : 1));
    const std::string status = Sim("fwstatus " + dev, "FWSTATUS");
    if (row.yes) {
        // The partly written image is gone and the device has left
        // download mode; the installer is told it was not updated.
        EXPECT_EQ(status.rfind("FWSTATUS " + ch + " download 0 ", 0), 0u) << status;
        EXPECT_NE(status.find(" written 0 bytes 0 "), std::string::npos) << status;
        EXPECT_NE(status.find(" restarts 0 killold 0 killnew 1"), std::string::npos) << status;
        const auto cmds = Commands(mark);
        ASSERT_GE(cmds.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(cmds.end() - 4, cmds.end()),
                  (std::vector<std::string>{"FWCMD " + ch + " 11 2", "FWCMD " + ch + " 1 0",
                                            "FWCMD 1 1 0", "FWCMD 2 1 0"}));
        EXPECT_EQ(Transfer().results, std::vector<int>{0});
        EXPECT_EQ(m_View.messages,
                  (std::vector<std::pair<int, int>>{{kTextFWNotUpdated, kTextFWErrCaption}}));
    } else {
        EXPECT_NE(status.find(" written 4 bytes 4096 "), std::string::npos) << status;
        EXPECT_NE(status.find(" killnew 0"), std::string::npos) << status;
        EXPECT_EQ(Transfer().results, std::vector<int>{1});
        EXPECT_TRUE(m_View.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CancelOnceErasing,
    ::testing::Values(CancelRow{"BoxEraseYes", eFWDeviceKTX, eFW_DeleteBlock, 2, true},
                      CancelRow{"BoxEraseNo", eFWDeviceKTX, eFW_DeleteBlock, 2, false},
                      CancelRow{"BoxWriteYes", eFWDeviceKTX, eFW_SendBlock, 2, true},
                      CancelRow{"BoxWriteNo", eFWDeviceKTX, eFW_SendBlock, 2, false},
                      CancelRow{"CameraEraseYes", eFWDeviceKMR, eFW_DeleteBlock, 5, true},
                      CancelRow{"CameraEraseNo", eFWDeviceKMR, eFW_DeleteBlock, 5, false},
                      CancelRow{"CameraWriteYes", eFWDeviceKMR, eFW_SendBlock, 3, true},
                      CancelRow{"CameraWriteNo", eFWDeviceKMR, eFW_SendBlock, 3, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FirmwareE2e, DeadLinkEndsTheRunExactlyOnce) {
    dlgen::DownloadFileRecipe recipe;
    recipe.blocks = 4;
    const std::string path = File(recipe);
    // The box leaves the first write unanswered; meanwhile the bus
    // interface goes deaf, so the repetition cannot be sent and neither can
    // anything after it.
    ASSERT_EQ(Sim("fwsilent box write 1"), "OK");
    const size_t mark = Mark();
    int stage = 0;
    size_t ticket = 0;
    auto deaf = WhenQuiet("FWSILENT", [&] {
        ticket = Box().AskMark();
        Box().Send("answer silent");
        stage = 1;
    });
    auto hook = [&] {
        if (stage == 0) {
            deaf();
        } else if (const auto okMark = Box().MarkOf(ticket);
                   stage == 1 && okMark && Box().Count("OK", *okMark) > 0) {
            stage = 2;
            Rig().Clock().Skip(kFWTimeoutBlockMs);
        }
    };

    EXPECT_EQ(Run(path, hook), 2);
    EXPECT_EQ(stage, 2);
    EXPECT_FALSE(Transfer().timedOut);
    EXPECT_EQ(Transfer().results, std::vector<int>{0}) << "one run, one result";
    ASSERT_FALSE(m_View.messages.empty());
    EXPECT_EQ(m_View.messages.front(),
              (std::pair<int, int>{kTextFWStepFailedFirst + 4, kTextFWErrCaption}));
    // The write never came through again, nor anything after it.
    EXPECT_EQ(CountLinesSynced("FWCMD 1 7 0", mark), 1u);
    EXPECT_EQ(CountLinesSynced("FWCMD 1 7 1", mark), 0u);
    ASSERT_EQ(Sim("answer ack"), "OK");
}

} // namespace
