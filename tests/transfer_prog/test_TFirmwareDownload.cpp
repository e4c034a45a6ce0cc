// The firmware download's step machine against the two devices in download
// mode, with a clock moved by hand: the whole command sequence, the
// time-out of every command, retries, the failure of each step, a missing
// camera device, a dead link, the user's cancel, and the dialog's firmware
// group.

#include "FirmwareDeviceSim.h"
#include "ProgFixture.h"

#include <tuple>

namespace {

using dlgen::DownloadFileRecipe;
using Cmd = FirmwareDeviceSim::Command;

class RecordingFirmwareView : public IFirmwareView {
public:
    void ShowFirmwareGroup(const TFirmwareGroup& g) override {
        group = g;
        ++shown;
    }
    void ShowFWMessage(int textId, int captionId) override {
        messages.emplace_back(textId, captionId);
    }
    void ShowFWMessageAndWait(int textId, int captionId) override {
        messages.emplace_back(textId, captionId);
        if (onWait)
            onWait();
    }
    void AskRestart(int textId, int captionId) override {
        questions.emplace_back(textId, captionId);
        if (onAsk)
            onAsk();
    }
    void AskCancel(int textId, int captionId) override {
        cancelQuestions.emplace_back(textId, captionId);
    }

    TFirmwareGroup group;
    int shown = 0;
    std::vector<std::pair<int, int>> messages;
    std::vector<std::pair<int, int>> questions;
    std::vector<std::pair<int, int>> cancelQuestions;
    std::function<void()> onAsk;
    std::function<void()> onWait;
};

using Boxes = std::vector<std::pair<int, int>>;

Bytes DeviceHeader(std::uint8_t device, const char* version) {
    DownloadFileRecipe s;
    s.device = device;
    s.version = version;
    s.date = "01022003";
    s.time = "040506";
    return dlgen::MakeHeader(s);
}

class FirmwareRun : public ProgFixture {
protected:
    FirmwareRun() {
        fw().SetView(&fwView);
        sim.box.header = DeviceHeader(eFWDeviceKTX, "KTX 1.00");
        sim.camera.header = DeviceHeader(eFWDeviceKMR, "KMR 2.00");
        fwView.onAsk = [this] {
            if (restartAnswer)
                fw().OnRestartAnswer(*restartAnswer);
        };
        // The user reads a box at once, unless a test holds it open.
        fwView.onWait = [this] {
            if (closeMessages)
                fw().OnFWMessageClosed();
        };
    }

    TFirmwareDownload& fw() { return ext.GetFirmware(); }

    std::string File(const DownloadFileRecipe& recipe, const char* name = "fw.bin") {
        file = dlgen::MakeDownloadFile(recipe);
        return dir.File(name, file).string();
    }

    // Hands the PC's blocks to the devices and their answers back, until
    // nobody has anything more to say.
    void Pump() {
        for (int guard = 0; guard < 100000; ++guard) {
            Feed();
            if (sim.answers.empty())
                return;
            clock.Advance(msPerAnswer);
            Box(sim.answers.front());
            sim.answers.pop_front();
        }
        FAIL() << "the download never settled";
    }
    // As Pump, but stops before the next answer once done() holds; false
    // when nobody had anything more to say first.
    bool PumpUntil(const std::function<bool()>& done) {
        for (int guard = 0; guard < 100000; ++guard) {
            Feed();
            if (done())
                return true;
            if (sim.answers.empty())
                return false;
            DeliverOne();
        }
        return false;
    }
    // The devices' next answer reaches the PC.
    void DeliverOne() {
        Feed();
        ASSERT_FALSE(sim.answers.empty());
        Box(sim.answers.front());
        sim.answers.pop_front();
    }
    // The devices take what the PC sent; their answers wait.
    void Feed() {
        const auto& blocks = Port()->blocks;
        while (seen < blocks.size())
            sim.OnPcBlock(blocks[seen++]);
    }
    const std::vector<Cmd>& Log() {
        Feed();
        return sim.log;
    }
    void Wait(std::uint64_t ms) {
        Elapse(ms);
        Pump();
    }

    // The page's start: the run with the kept file, up to the end of the
    // header query.
    void Open(const std::string& path) {
        if (!path.empty())
            fw().SetFWFileName(path);
        engine.SetTransferData(eFW_FirmwareDownload, image.data(),
                               static_cast<std::uint32_t>(image.size()));
        engine.StartTransfer();
        Elapse(kFirmwareStartDelayMs);
        Pump();
    }
    void Download() {
        sim.log.clear();
        fw().OnFWDownloadStarten();
        Pump();
    }
    std::size_t Count(const Cmd& c) {
        return static_cast<std::size_t>(std::count(Log().begin(), Log().end(), c));
    }

    dlgen::TempDir dir;
    Bytes file;
    Bytes image = Bytes(0xC0000, 0);
    FirmwareDeviceSim sim;
    RecordingFirmwareView fwView;
    std::optional<bool> restartAnswer = true;
    bool closeMessages = true;
    std::size_t seen = 0;
    std::uint64_t msPerAnswer = 0;
};

std::vector<Cmd> Query() {
    return {{1, eFWCmdStartDownload, 0, 2}, {1, eFWCmdGetHeader, 1, 6},
            {1, eFWCmdStopDownload, 0, 2},  {2, eFWCmdStartDownload, 0, 2},
            {2, eFWCmdGetHeader, 1, 6},     {2, eFWCmdStopDownload, 0, 2}};
}

TEST_F(FirmwareRun, HeaderQueryShowsBothDevicesAndWaitsForTheUser) {
    Open(File({}));
    EXPECT_EQ(sim.log, Query());
    EXPECT_EQ(engine.GetMode(), eTransferIdle);
    EXPECT_TRUE(engine.IsRunning());
    EXPECT_TRUE(owner.results.empty());
    const TFirmwareGroup& g = fwView.group;
    EXPECT_TRUE(g.visible);
    EXPECT_EQ(g.ktx.version, TViewText::Literal("KTX 1.00"));
    EXPECT_EQ(g.ktx.date, TViewText::Literal("01.02.2003"));
    EXPECT_EQ(g.ktx.time, TViewText::Literal("04:05:06"));
    EXPECT_EQ(g.ktx.device, TViewText::Lang(kTextFWDeviceKTX));
    EXPECT_EQ(g.kmr.version, TViewText::Literal("KMR 2.00"));
    EXPECT_EQ(g.kmr.device, TViewText::Lang(kTextFWDeviceKMR));
    EXPECT_EQ(g.file.version, TViewText::Literal("V2.10"));
    EXPECT_EQ(g.file.date, TViewText::Literal("10.11.2000"));
    EXPECT_EQ(g.file.device, TViewText::Lang(kTextFWDeviceKTX));
    EXPECT_EQ(g.datei, (dir.Path() / "fw.bin").string());
    EXPECT_EQ(g.caption, g.datei);
    EXPECT_TRUE(g.downloadBtnEnabled);
    EXPECT_FALSE(g.dateBtnEnabled);
}

TEST_F(FirmwareRun, IdentificationKeepsTheLinkAliveWhileTheRunWaitsForTheUser) {
    DownloadFileRecipe recipe;
    recipe.blocks = 2;
    Open(File(recipe));
    ASSERT_EQ(engine.GetMode(), eTransferIdle);
    ASSERT_TRUE(engine.IsRunning());
    auto identifications = [this] {
        return std::count_if(Port()->blocks.begin(), Port()->blocks.end(), [](const Bytes& b) {
            return b.size() > 1 && b[0] == eProtKonfig && b[1] == eEvConfKennung;
        });
    };
    const auto before = identifications();
    // The user thinks for 21 s: the quiet link hears from the PC every 7 s.
    for (int second = 1; second <= 21; ++second) {
        Elapse(1000);
        EXPECT_EQ(identifications() - before, second / 7) << "after " << second << " s";
    }
    EXPECT_TRUE(owner.results.empty());

    // The download that follows is not disturbed by them.
    Download();
    EXPECT_EQ(FirmwareDeviceSim::Image(sim.box), file);
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FirmwareRun, WholeDownloadIntoTheBox) {
    DownloadFileRecipe recipe;
    recipe.blocks = 4;
    Open(File(recipe));
    Download();
    const std::vector<Cmd> expected = {
        {1, eFWCmdStartDownload, 0, 2},
        {1, eFWCmdDeleteBlock, 0, 6},
        {1, eFWCmdDeleteBlock, 1, 6},
        {1, eFWCmdDeleteBlock, 2, 6},
        {1, eFWCmdWriteBlock, 0, 1030},
        {1, eFWCmdWriteBlock, 1, 1030},
        {1, eFWCmdWriteBlock, 2, 1030},
        {1, eFWCmdWriteBlock, 3, 1030},
        {1, eFWCmdGetChecksum, 2, 6},
        {1, eFWCmdKillFirmware, kFWKillOld, 6},
        {1, eFWCmdReset, 0, 2},
        // The end: both devices out of download mode, no answers awaited.
        {1, eFWCmdStopDownload, 0, 2},
        {2, eFWCmdStopDownload, 0, 2}};
    EXPECT_EQ(sim.log, expected);
    for (std::size_t i = 0; i < sim.log.size(); ++i)
        EXPECT_EQ(sim.log[i].len, expected[i].len) << i;
    EXPECT_EQ(FirmwareDeviceSim::Image(sim.box), file);
    EXPECT_TRUE(sim.box.oldRemoved);
    EXPECT_EQ(sim.box.restarts, 1);
    EXPECT_EQ(fwView.questions,
              (std::vector<std::pair<int, int>>{{kTextFWAskRestart, kTextFWCaption}}));
    EXPECT_TRUE(fwView.messages.empty());
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(engine.GetModalResult(), 1);
}

TEST_F(FirmwareRun, WholeDownloadIntoTheCamera) {
    DownloadFileRecipe recipe;
    recipe.device = eFWDeviceKMR;
    recipe.blocks = 200; // more than the box would take
    Open(File(recipe));
    Download();
    std::vector<Cmd> expected = {{2, eFWCmdStartDownload, 0, 2}};
    for (std::uint16_t k = 0; k < 12; ++k)
        expected.push_back({2, eFWCmdDeleteBlock, k, 6});
    for (std::uint16_t n = 0; n < 200; ++n)
        expected.push_back({2, eFWCmdWriteBlock, n, 1030});
    expected.push_back({2, eFWCmdGetChecksum, 2, 6});
    expected.push_back({2, eFWCmdKillFirmware, kFWKillOld, 6});
    expected.push_back({2, eFWCmdReset, 0, 2});
    expected.push_back({1, eFWCmdStopDownload, 0, 2});
    expected.push_back({2, eFWCmdStopDownload, 0, 2});
    EXPECT_EQ(sim.log, expected);
    EXPECT_EQ(FirmwareDeviceSim::Image(sim.camera), file);
    EXPECT_TRUE(sim.box.written.empty());
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FirmwareRun, NoToTheRestartLeavesDownloadModeAndSucceeds) {
    restartAnswer = false;
    Open(File({}));
    Download();
    ASSERT_GE(sim.log.size(), 3u);
    EXPECT_EQ(sim.log[sim.log.size() - 3], (Cmd{1, eFWCmdStopDownload, 0, 2}));
    EXPECT_EQ(sim.box.restarts, 0);
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FirmwareRun, RestartQuestionWaitsForItsAnswer) {
    restartAnswer.reset();
    Open(File({}));
    Download();
    ASSERT_TRUE(fw().IsAskingRestart());
    // Meanwhile a stray answer is nobody's, and time passes without a
    // time-out.
    Box({0x81, eFWNak});
    Elapse(60000);
    EXPECT_TRUE(owner.results.empty());
    fw().OnRestartAnswer(true);
    Pump();
    EXPECT_EQ(sim.box.restarts, 1);
    EXPECT_EQ(owner.results, std::vector<int>{1});
    // A second answer changes nothing.
    fw().OnRestartAnswer(true);
    EXPECT_EQ(owner.results.size(), 1u);
}

// ---- Time-outs ---------------------------------------------------------------

struct TimeoutCase {
    const char* name;
    bool inQuery; // silenced during the header query, else during the download
    std::uint8_t device, cmd;
    std::uint32_t timeoutMs;
};

class CommandTimeout : public FirmwareRun, public testing::WithParamInterface<TimeoutCase> {};

TEST_P(CommandTimeout, SilenceIsAnsweredByTheSameCommandAfterItsTime) {
    const TimeoutCase& c = GetParam();
    if (c.inQuery)
        sim.silence[{c.device, c.cmd}] = 1;
    Open(File({}));
    if (!c.inQuery) {
        sim.silence[{c.device, c.cmd}] = 1;
        Download();
    }
    const auto sent = [&] {
        return std::count_if(Log().begin(), Log().end(),
                             [&](const Cmd& x) { return x.device == c.device && x.cmd == c.cmd; });
    };
    const auto before = sent();
    const Cmd last = sim.log.back();
    ASSERT_EQ(last.cmd, c.cmd);
    Elapse(c.timeoutMs - 1);
    EXPECT_EQ(sent(), before);
    Elapse(1);
    EXPECT_EQ(sent(), before + 1);
    EXPECT_EQ(Log().back(), last); // the same block number again
    Pump();
    if (!c.inQuery) {
        EXPECT_EQ(owner.results, std::vector<int>{1});
    } else {
        EXPECT_EQ(engine.GetMode(), eTransferIdle);
        Download();
        EXPECT_EQ(owner.results, std::vector<int>{1});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandTimeout,
    testing::Values(TimeoutCase{"BoxDownloadMode", true, 1, eFWCmdStartDownload, kFWTimeoutMs},
                    TimeoutCase{"BoxHeader", true, 1, eFWCmdGetHeader, kFWTimeoutMs},
                    TimeoutCase{"BoxLeaveDownloadMode", true, 1, eFWCmdStopDownload, kFWTimeoutMs},
                    TimeoutCase{"CameraDownloadMode", true, 2, eFWCmdStartDownload, kFWTimeoutMs},
                    TimeoutCase{"CameraHeader", true, 2, eFWCmdGetHeader, kFWTimeoutMs},
                    TimeoutCase{"StartDownload", false, 1, eFWCmdStartDownload, kFWTimeoutMs},
                    TimeoutCase{"Erase", false, 1, eFWCmdDeleteBlock, kFWTimeoutDeleteMs},
                    TimeoutCase{"Write", false, 1, eFWCmdWriteBlock, kFWTimeoutBlockMs},
                    TimeoutCase{"Checksum", false, 1, eFWCmdGetChecksum, kFWTimeoutMs},
                    TimeoutCase{"RemoveOldImage", false, 1, eFWCmdKillFirmware, kFWTimeoutMs},
                    TimeoutCase{"Restart", false, 1, eFWCmdReset, kFWTimeoutMs}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FirmwareRun, TwoSilencesThenAnAnswerGoesOn) {
    DownloadFileRecipe recipe;
    recipe.blocks = 6;
    Open(File(recipe));
    sim.silenceWrite[2] = 2;
    Download();
    Wait(kFWTimeoutBlockMs);
    Wait(kFWTimeoutBlockMs);
    EXPECT_EQ(Count({1, eFWCmdWriteBlock, 2, 0}), 3u);
    EXPECT_EQ(Count({1, eFWCmdWriteBlock, 3, 0}), 1u);
    EXPECT_EQ(FirmwareDeviceSim::Image(sim.box), file);
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_TRUE(fwView.messages.empty());
}

TEST_F(FirmwareRun, AnAckStartsTheCountAgainInsideTheWriteLoop) {
    DownloadFileRecipe recipe;
    recipe.blocks = 6;
    Open(File(recipe));
    sim.silenceWrite[1] = 2;
    sim.silenceWrite[4] = 2;
    Download();
    for (int i = 0; i < 4; ++i)
        Wait(kFWTimeoutBlockMs);
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

// ---- Failures ------------------------------------------------------------------

struct FailCase {
    const char* name;
    bool inQuery;
    std::uint8_t device, cmd;
    int textId;
    // Commands the failure still sends after the third silence.
    std::vector<Cmd> after;
};

class StepFailure : public FirmwareRun, public testing::WithParamInterface<FailCase> {};

TEST_P(StepFailure, ThirdSilenceFailsTheStepWithItsText) {
    const FailCase& c = GetParam();
    if (c.inQuery)
        sim.silence[{c.device, c.cmd}] = 3;
    Open(File({}));
    if (!c.inQuery) {
        sim.silence[{c.device, c.cmd}] = 3;
        Download();
    }
    const std::uint32_t timeout =
        c.cmd == eFWCmdDeleteBlock || c.cmd == eFWCmdWriteBlock ? 12000 : 3000;
    Wait(timeout);
    Wait(timeout);
    EXPECT_TRUE(owner.results.empty());
    const std::size_t before = sim.log.size();
    Wait(timeout);
    EXPECT_EQ(fwView.messages, (std::vector<std::pair<int, int>>{{c.textId, kTextFWErrCaption}}));
    EXPECT_EQ(std::vector<Cmd>(sim.log.begin() + static_cast<long>(before), sim.log.end()),
              c.after);
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_TRUE(fwView.group.dateBtnEnabled);
    // Nothing is left to time out.
    Wait(60000);
    EXPECT_EQ(owner.results.size(), 1u);
}

const std::vector<Cmd> kFinalStops = {{1, eFWCmdStopDownload, 0, 2}, {2, eFWCmdStopDownload, 0, 2}};

INSTANTIATE_TEST_SUITE_P(
    Steps, StepFailure,
    testing::Values(FailCase{"BoxDownloadMode", true, 1, eFWCmdStartDownload, 3326, kFinalStops},
                    FailCase{"BoxHeader", true, 1, eFWCmdGetHeader, 3325, kFinalStops},
                    // A failed stop leaves nothing to stop.
                    FailCase{"BoxLeaveDownloadMode", true, 1, eFWCmdStopDownload, 3330, {}},
                    FailCase{"CameraHeader", true, 2, eFWCmdGetHeader, 3325, kFinalStops},
                    FailCase{"CameraLeaveDownloadMode", true, 2, eFWCmdStopDownload, 3330, {}},
                    FailCase{"StartDownload", false, 1, eFWCmdStartDownload, 3326, kFinalStops},
                    FailCase{"Erase", false, 1, eFWCmdDeleteBlock, 3328, kFinalStops},
                    // A partly written image is removed, then the box leaves download
                    // mode, then the run ends.
                    FailCase{"Write",
                             false,
                             1,
                             eFWCmdWriteBlock,
                             3329,
                             {{1, eFWCmdKillFirmware, kFWKillNew, 6},
                              {1, eFWCmdStopDownload, 0, 2},
                              {1, eFWCmdStopDownload, 0, 2},
                              {2, eFWCmdStopDownload, 0, 2}}},
                    FailCase{"Checksum", false, 1, eFWCmdGetChecksum, 3327, kFinalStops},
                    FailCase{"RemoveOldImage", false, 1, eFWCmdKillFirmware, 3332, kFinalStops},
                    FailCase{"Restart", false, 1, eFWCmdReset, 3331, kFinalStops}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FirmwareRun, NakFailsTheStepAtOnce) {
    Open(File({}));
    sim.nak[{1, eFWCmdDeleteBlock}] = 1;
    Download();
    EXPECT_EQ(fwView.messages, (std::vector<std::pair<int, int>>{{3328, kTextFWErrCaption}}));
    EXPECT_EQ(Count({1, eFWCmdDeleteBlock, 0, 0}), 1u);
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

TEST_F(FirmwareRun, NakToAHeaderRequestOnlyLeavesTheHeaderEmpty) {
    sim.nak[{1, eFWCmdGetHeader}] = 1;
    Open(File({}));
    EXPECT_EQ(sim.log, Query());
    EXPECT_EQ(fwView.group.ktx.version, TViewText::Lang(kTextFWNone));
    EXPECT_EQ(fwView.group.kmr.version, TViewText::Literal("KMR 2.00"));
    EXPECT_TRUE(fwView.messages.empty());
}

// A device without a readable header, the one most in need of new
// firmware, answers the header request with less than a header, or none.
struct NoHeaderCase {
    const char* name;
    bool camera;
    std::size_t len;
};

class HeaderWithoutData : public FirmwareRun, public testing::WithParamInterface<NoHeaderCase> {};

TEST_P(HeaderWithoutData, ShowsNoHeaderAndTheRunGoesOnToTheDownload) {
    const NoHeaderCase& c = GetParam();
    (c.camera ? sim.camera : sim.box).header.resize(c.len);
    Open(File({}));
    // Each device asked once: the answer is an answer, not a time-out.
    EXPECT_EQ(sim.log, Query());
    EXPECT_TRUE(fwView.messages.empty());
    EXPECT_TRUE(owner.results.empty());
    EXPECT_EQ(engine.GetMode(), eTransferIdle);
    EXPECT_TRUE(engine.IsRunning());
    // Nothing is kept of a cut header; its labels stay empty.
    const HeaderRecord& cut = c.camera ? fw().GetKMRHeader() : fw().GetKTXHeader();
    EXPECT_EQ(cut.CodeSign, 0);
    EXPECT_TRUE(cut.GetVersion().empty());
    const TFWHeaderLabels& empty = c.camera ? fwView.group.kmr : fwView.group.ktx;
    const TViewText none = TViewText::Lang(kTextFWNone);
    EXPECT_EQ(empty.version, none);
    EXPECT_EQ(empty.date, none);
    EXPECT_EQ(empty.time, none);
    EXPECT_EQ(empty.device, none);
    const TFWHeaderLabels& other = c.camera ? fwView.group.ktx : fwView.group.kmr;
    EXPECT_EQ(other.version, TViewText::Literal(c.camera ? "KTX 1.00" : "KMR 2.00"));
    EXPECT_TRUE(fwView.group.downloadBtnEnabled);

    Download();
    EXPECT_EQ(FirmwareDeviceSim::Image(sim.box), file);
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_TRUE(fwView.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, HeaderWithoutData,
                         testing::Values(NoHeaderCase{"BoxNoData", false, 0},
                                         NoHeaderCase{"BoxCutHeader", false, 40},
                                         NoHeaderCase{"BoxOneByteShort", false, 63},
                                         NoHeaderCase{"CameraNoData", true, 0},
                                         NoHeaderCase{"CameraCutHeader", true, 40}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FirmwareRun, ShortHeaderAnswerLeavesTheHeaderOfAnEarlierRunOut) {
    Open(File({}));
    ASSERT_EQ(fw().GetKTXHeader().GetVersion(), "KTX 1.00");
    engine.Cancel();
    sim.shortHeaders = 1;
    sim.shortHeaderLen = 40;
    seen = Port()->blocks.size();
    Open("");
    EXPECT_EQ(fw().GetKTXHeader().CodeSign, 0);
    EXPECT_EQ(fwView.group.ktx.version, TViewText::Lang(kTextFWNone));
    EXPECT_EQ(fwView.group.kmr.version, TViewText::Literal("KMR 2.00"));
}

TEST_F(FirmwareRun, WrongAnswerCodeIsNoAnswer) {
    Open(File({}));
    fw().OnFWDownloadStarten();
    // The devices' answers are held back: the box answers the erase of
    // block 0 with a header, which is sent again at once.
    const std::size_t n = Port()->blocks.size();
    Box({0x81, eFWAck}); // to the download mode
    ASSERT_EQ(Port()->blocks.size(), n + 1);
    Box({0x81, eFWHeader, 0, 1, 0xFF, 0xFF});
    ASSERT_EQ(Port()->blocks.size(), n + 2);
    EXPECT_EQ(Port()->blocks.back(), Port()->blocks[n]);
    EXPECT_EQ(fw().GetRetry(), 1);
}

TEST_F(FirmwareRun, WrongChecksumOfTheDeviceRemovesTheNewImage) {
    Open(File({}));
    sim.checksumOverride = 0x1234;
    Download();
    EXPECT_EQ(fwView.messages,
              (std::vector<std::pair<int, int>>{{kTextFWBadDeviceSum, kTextFWErrCaption}}));
    const std::vector<Cmd> tail(sim.log.end() - 5, sim.log.end());
    EXPECT_EQ(tail, (std::vector<Cmd>{{1, eFWCmdGetChecksum, 2, 6},
                                      {1, eFWCmdKillFirmware, kFWKillNew, 6},
                                      {1, eFWCmdStopDownload, 0, 2},
                                      {1, eFWCmdStopDownload, 0, 2},
                                      {2, eFWCmdStopDownload, 0, 2}}));
    EXPECT_TRUE(sim.box.newRemoved);
    EXPECT_FALSE(sim.box.oldRemoved);
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

// ---- Camera device -----------------------------------------------------------

TEST_F(FirmwareRun, MissingCameraDeviceIsNotAnError) {
    sim.camera.present = false;
    Open(File({}));
    for (int i = 0; i < kFWMaxTries; ++i)
        Wait(kFWTimeoutMs);
    EXPECT_EQ(Count({2, eFWCmdStartDownload, 0, 0}), 3u);
    EXPECT_EQ(engine.GetMode(), eTransferIdle);
    EXPECT_TRUE(engine.IsRunning());
    EXPECT_TRUE(fwView.messages.empty());
    EXPECT_EQ(fwView.group.kmr.version, TViewText::Lang(kTextFWNone));
    EXPECT_EQ(fwView.group.ktx.version, TViewText::Literal("KTX 1.00"));
    EXPECT_TRUE(fwView.group.downloadBtnEnabled);
    Download();
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FirmwareRun, CameraDeviceThatRefusesIsNotAnErrorEither) {
    sim.camera.present = false;
    sim.camera.nakWhenAbsent = true;
    Open(File({}));
    EXPECT_EQ(Count({2, eFWCmdStartDownload, 0, 0}), 1u);
    EXPECT_EQ(engine.GetMode(), eTransferIdle);
    EXPECT_TRUE(fwView.messages.empty());
}

// ---- Dead link -------------------------------------------------------------------

TEST_F(FirmwareRun, DeadLinkDuringTheWriteShowsWhyBeforeTheRemovalAndEndsOnce) {
    DownloadFileRecipe recipe;
    recipe.blocks = 4;
    Open(File(recipe));
    fw().OnFWDownloadStarten();
    // Answers go one by one; after block 1 the link is gone, while block 2
    // of 4 is written.
    for (int i = 0; i < 5; ++i)
        DeliverOne();
    ASSERT_EQ(Log().back(), (Cmd{1, eFWCmdWriteBlock, 1, 0}));
    closeMessages = false;
    Port()->sendOk = false;
    DeliverOne();
    // The write failed: its box is up, and the removal waits until the
    // user has read it.
    EXPECT_EQ(fwView.messages, (Boxes{{3329, kTextFWErrCaption}}));
    EXPECT_TRUE(fw().IsWaitingForMessage());
    const int attempts = Port()->sendAttempts;
    Wait(60000);
    EXPECT_EQ(Port()->sendAttempts, attempts);
    EXPECT_TRUE(owner.results.empty());
    // A late answer is nobody's: it is not the removal's.
    Box({0x81, eFWAck});
    EXPECT_EQ(Port()->sendAttempts, attempts);

    fw().OnFWMessageClosed();
    EXPECT_GT(Port()->sendAttempts, attempts);
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_FALSE(engine.IsRunning());
    // Then the removal could not go out either: its box comes second.
    EXPECT_EQ(fwView.messages, (Boxes{{3329, kTextFWErrCaption}, {3332, kTextFWErrCaption}}));
    Wait(60000);
    EXPECT_EQ(owner.results.size(), 1u);
}

TEST_F(FirmwareRun, LinkBackWhileTheWriteFailureIsReadRemovesTheImage) {
    DownloadFileRecipe recipe;
    recipe.blocks = 4;
    Open(File(recipe));
    closeMessages = false;
    sim.nak[{1, eFWCmdWriteBlock}] = 1;
    Download();
    EXPECT_EQ(fwView.messages, (Boxes{{3329, kTextFWErrCaption}}));
    EXPECT_FALSE(sim.box.newRemoved);
    fw().OnFWMessageClosed();
    Pump();
    EXPECT_TRUE(sim.box.newRemoved);
    EXPECT_FALSE(sim.box.inDownload);
    EXPECT_EQ(fwView.messages.size(), 1u);
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

TEST_F(FirmwareRun, DeadLinkAtTheStartEndsTheRunOnce) {
    engine.UpdatePort();
    Port()->sendOk = false;
    Open(File({}));
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(fwView.messages, (std::vector<std::pair<int, int>>{{3326, kTextFWErrCaption}}));
    Wait(60000);
    EXPECT_EQ(owner.results.size(), 1u);
}

TEST_F(FirmwareRun, HangUpDuringTheEraseEndsTheRunOnce) {
    Open(File({}));
    sim.silence[{1, eFWCmdDeleteBlock}] = 1;
    Download();
    engine.OnLinkDown();
    EXPECT_EQ(owner.results, std::vector<int>{0});
    // The final stop commands still went out.
    EXPECT_EQ(std::vector<Cmd>(Log().end() - 2, Log().end()), kFinalStops);
    // A late answer is nobody's.
    Box({0x81, eFWAck});
    Wait(60000);
    EXPECT_EQ(owner.results.size(), 1u);
    EXPECT_TRUE(fwView.messages.empty());
}

// ---- Cancel ------------------------------------------------------------------

TEST_F(FirmwareRun, CancelDuringTheHeaderQueryEndsAtOnce) {
    sim.silence[{1, eFWCmdGetHeader}] = 1;
    Open(File({}));
    ASSERT_EQ(engine.GetMode(), eFW_ReceiveKTXFirmwareHeader);
    const std::size_t headers = Count({1, eFWCmdGetHeader, 1, 0});
    engine.Cancel();
    // The missing answer is handled as a time-out (once more), then the
    // run ends; nothing is asked.
    EXPECT_EQ(Count({1, eFWCmdGetHeader, 1, 0}), headers + 1);
    EXPECT_EQ(std::vector<Cmd>(Log().end() - 2, Log().end()), kFinalStops);
    EXPECT_TRUE(fwView.cancelQuestions.empty());
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_FALSE(engine.IsRunning());
}

TEST_F(FirmwareRun, CancelWhileTheDownloadWaitsForTheUserEndsAtOnce) {
    Open(File({}));
    engine.Cancel();
    EXPECT_TRUE(fwView.cancelQuestions.empty());
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_TRUE(sim.box.written.empty());
}

// Where the user cancels once erasing has begun.
struct CancelStep {
    const char* name;
    std::uint8_t device;
    int mode;
    int counter; // the block counter, -1 any
};

// The step, the answer (Yes stops), and whether the step's answer comes
// while the question is open (else after it was answered).
using CancelCase = std::tuple<CancelStep, bool, bool>;

class CancelOnceErasing : public FirmwareRun, public testing::WithParamInterface<CancelCase> {};

TEST_P(CancelOnceErasing, AsksThenRemovesTheImageOrGoesOn) {
    // Named apart, not bound: the lambdas below capture them.
    const CancelStep& step = std::get<0>(GetParam());
    const bool yes = std::get<1>(GetParam());
    const bool answerWhileAsked = std::get<2>(GetParam());
    DownloadFileRecipe recipe;
    recipe.device = step.device;
    recipe.blocks = 4;
    Open(File(recipe));
    const std::uint8_t dev = step.device == eFWDeviceKMR ? kFWProtKMR : kFWProtKTX;
    FirmwareDeviceSim::Device& d = step.device == eFWDeviceKMR ? sim.camera : sim.box;
    sim.log.clear();
    fw().OnFWDownloadStarten();
    ASSERT_TRUE(PumpUntil([&] {
        return engine.GetMode() == step.mode &&
               (step.counter < 0 || fw().GetBlockCounter() == step.counter);
    }));
    const std::size_t mark = Log().size();

    engine.Cancel();
    EXPECT_EQ(fwView.cancelQuestions, (Boxes{{kTextFWAskCancel, kTextFWCaption}}));
    EXPECT_TRUE(fw().IsAskingCancel());
    EXPECT_TRUE(engine.IsRunning());
    EXPECT_TRUE(owner.results.empty());
    if (answerWhileAsked) {
        DeliverOne();
        // The user thinks it over: nothing goes out, nothing times out.
        Wait(60000);
        EXPECT_EQ(Log().size(), mark);
    }
    // A second cancel meanwhile asks nothing more.
    engine.Cancel();
    EXPECT_EQ(fwView.cancelQuestions.size(), 1u);

    fw().OnCancelAnswer(yes);
    Pump();
    EXPECT_FALSE(engine.IsRunning());
    const std::vector<Cmd> after(Log().begin() + static_cast<long>(mark), Log().end());
    if (yes) {
        // Handled as a failed write: the new image removed, download mode
        // left, then the run ends; the user is told.
        EXPECT_EQ(after, (std::vector<Cmd>{{dev, eFWCmdKillFirmware, kFWKillNew, 6},
                                           {dev, eFWCmdStopDownload, 0, 2},
                                           {1, eFWCmdStopDownload, 0, 2},
                                           {2, eFWCmdStopDownload, 0, 2}}));
        EXPECT_TRUE(d.newRemoved);
        EXPECT_TRUE(d.written.empty());
        EXPECT_FALSE(d.inDownload);
        EXPECT_FALSE(d.oldRemoved);
        EXPECT_EQ(fwView.messages, (Boxes{{kTextFWNotUpdated, kTextFWErrCaption}}));
        EXPECT_EQ(owner.results, std::vector<int>{0});
        EXPECT_TRUE(fw().IsCancelled());
    } else {
        EXPECT_EQ(FirmwareDeviceSim::Image(d), file);
        EXPECT_FALSE(d.newRemoved);
        EXPECT_EQ(d.restarts, 1);
        EXPECT_TRUE(fwView.messages.empty());
        EXPECT_EQ(owner.results, std::vector<int>{1});
    }
    Wait(60000);
    EXPECT_EQ(owner.results.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CancelOnceErasing,
    testing::Combine(testing::Values(CancelStep{"BoxErase", eFWDeviceKTX, eFW_DeleteBlock, 2},
                                     CancelStep{"BoxWrite", eFWDeviceKTX, eFW_SendBlock, 2},
                                     CancelStep{"BoxChecksum", eFWDeviceKTX, eFW_ReceiveFirmwareChk,
                                                -1},
                                     CancelStep{"CameraErase", eFWDeviceKMR, eFW_DeleteBlock, 7},
                                     CancelStep{"CameraWrite", eFWDeviceKMR, eFW_SendBlock, 3}),
                     testing::Bool(), testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "Yes" : "No") +
               (std::get<2>(info.param) ? "AnswerWhileAsked" : "AnswerAfter");
    });

TEST_F(FirmwareRun, QuestionOpenPastTheTimeOutThenNoSendsTheBlockAgain) {
    DownloadFileRecipe recipe;
    recipe.blocks = 4;
    Open(File(recipe));
    sim.silenceWrite[1] = 1;
    Download();
    ASSERT_EQ(engine.GetMode(), eFW_SendBlock);
    engine.Cancel();
    // The block's time-out passes while the user thinks.
    Wait(kFWTimeoutBlockMs);
    EXPECT_EQ(Count({1, eFWCmdWriteBlock, 1, 0}), 1u);
    fw().OnCancelAnswer(false);
    Pump();
    EXPECT_EQ(Count({1, eFWCmdWriteBlock, 1, 0}), 2u);
    EXPECT_EQ(FirmwareDeviceSim::Image(sim.box), file);
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FirmwareRun, CancelDuringTheRemovalLetsItFinish) {
    Open(File({}));
    sim.silence[{1, eFWCmdKillFirmware}] = 1;
    sim.nak[{1, eFWCmdWriteBlock}] = 1;
    Download();
    ASSERT_EQ(engine.GetMode(), eFW_KillNewFirmware);
    engine.Cancel();
    EXPECT_TRUE(engine.IsRunning());
    EXPECT_TRUE(fwView.cancelQuestions.empty());
    Wait(kFWTimeoutMs);
    EXPECT_TRUE(sim.box.newRemoved);
    EXPECT_FALSE(sim.box.inDownload);
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

TEST_F(FirmwareRun, ConfirmedCancelWhoseRemovalFailsSaysSoThenNotUpdated) {
    DownloadFileRecipe recipe;
    recipe.blocks = 4;
    Open(File(recipe));
    fw().OnFWDownloadStarten();
    ASSERT_TRUE(PumpUntil([&] { return engine.GetMode() == eFW_SendBlock; }));
    engine.Cancel();
    DeliverOne();
    Port()->sendOk = false;
    fw().OnCancelAnswer(true);
    EXPECT_EQ(fwView.messages,
              (Boxes{{3332, kTextFWErrCaption}, {kTextFWNotUpdated, kTextFWErrCaption}}));
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_FALSE(engine.IsRunning());
}

TEST_F(FirmwareRun, CancelNowEndsEvenAnErasingRunWithoutAQuestion) {
    Open(File({}));
    fw().OnFWDownloadStarten();
    ASSERT_TRUE(PumpUntil([&] { return engine.GetMode() == eFW_DeleteBlock; }));
    engine.CancelNow();
    EXPECT_TRUE(fwView.cancelQuestions.empty());
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

// ---- Progress and the file in the dialog -------------------------------------

TEST_F(FirmwareRun, ProgressTimeAndThroughputOfTheWrite) {
    DownloadFileRecipe recipe;
    recipe.blocks = 4;
    Open(File(recipe));
    std::vector<TFirmwareGroup> groups;
    struct Keep : RecordingFirmwareView {
        std::vector<TFirmwareGroup>* all = nullptr;
        void ShowFirmwareGroup(const TFirmwareGroup& g) override { all->push_back(g); }
    } keep;
    keep.all = &groups;
    keep.onAsk = [this] { fw().OnRestartAnswer(false); };
    fw().SetView(&keep);
    msPerAnswer = 500;
    Download();
    // The last picture of the writing: 4 blocks in 2 s.
    const auto last = std::find_if(groups.rbegin(), groups.rend(), [](const TFirmwareGroup& g) {
        return g.fwText.textId == kTextFWStatusWrite;
    });
    ASSERT_NE(last, groups.rend());
    EXPECT_EQ(last->fwText.numbers, (std::vector<std::int64_t>{4, 4}));
    EXPECT_EQ(last->zeit, "2");
    EXPECT_EQ(last->durchsatz, "2048");
    EXPECT_EQ(last->progressMin, 1);
    EXPECT_EQ(last->progressMax, 5);
    EXPECT_EQ(last->progressPos, 5);
    const auto erase = std::find_if(groups.begin(), groups.end(), [](const TFirmwareGroup& g) {
        return g.fwText.textId == kTextFWStatusDelete;
    });
    ASSERT_NE(erase, groups.end());
    EXPECT_EQ(erase->progressMax, 4);
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

struct BadFileCase {
    const char* name;
    std::function<void(Bytes&)> damage;
    std::vector<std::pair<int, int>> messages;
};

class DialogFile : public FirmwareRun, public testing::WithParamInterface<BadFileCase> {};

TEST_P(DialogFile, RefusedFileLeavesNothingToDownload) {
    Open("");
    EXPECT_FALSE(fwView.group.downloadBtnEnabled);
    Bytes f = dlgen::MakeDownloadFile({});
    GetParam().damage(f);
    fw().OnFWDateiLaden(dir.File("bad.bin", f).string());
    EXPECT_EQ(fwView.messages, GetParam().messages);
    EXPECT_EQ(fwView.group.file.version, TViewText::Lang(kTextFWNone));
    EXPECT_EQ(fwView.group.file.device, TViewText::Lang(kTextFWNone));
    EXPECT_FALSE(fwView.group.downloadBtnEnabled);
    EXPECT_TRUE(fwView.group.dateBtnEnabled);
    EXPECT_EQ(fwView.group.datei, "");
    std::string kept;
    EXPECT_FALSE(fw().GetFWFileName(kept));
    // The user's start has nothing to send.
    const std::size_t n = Port()->blocks.size();
    fw().OnFWDownloadStarten();
    EXPECT_EQ(Port()->blocks.size(), n);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DialogFile,
    testing::Values(BadFileCase{"WrongSize", [](Bytes& f) { f.pop_back(); }, {}},
                    BadFileCase{"WrongSign", [](Bytes& f) { f[0] = 0; }, {}},
                    BadFileCase{"WrongChecksum",
                                [](Bytes& f) { f[100] ^= 1; },
                                {{kTextFWBadFileSum, kTextFWCaption}}},
                    BadFileCase{"MoreBlocksThanTheBoxTakes",
                                [](Bytes& f) { f = dlgen::MakeDownloadFile({.blocks = 193}); },
                                {{kTextFWTooManyBlocks, kTextFWCaption}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FirmwareRun, FileChosenInTheDialogIsShownAndDownloaded) {
    Open("");
    DownloadFileRecipe recipe;
    recipe.device = eFWDeviceKMR;
    recipe.version = "Cam 9";
    fw().OnFWDateiLaden(File(recipe, "cam.bin"));
    EXPECT_EQ(fwView.group.file.version, TViewText::Literal("Cam 9"));
    EXPECT_EQ(fwView.group.file.device, TViewText::Lang(kTextFWDeviceKMR));
    EXPECT_TRUE(fwView.group.downloadBtnEnabled);
    Download();
    EXPECT_EQ(FirmwareDeviceSim::Image(sim.camera), file);
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FirmwareRun, NoOtherFileWhileTheDownloadRuns) {
    Open(File({}));
    sim.silence[{1, eFWCmdDeleteBlock}] = 1;
    Download();
    DownloadFileRecipe other;
    other.seed = 99;
    const std::string path = dir.File("other.bin", dlgen::MakeDownloadFile(other)).string();
    fw().OnFWDateiLaden(path);
    std::string kept;
    ASSERT_TRUE(fw().GetFWFileName(kept));
    EXPECT_EQ(kept, (dir.Path() / "fw.bin").string());
    Wait(kFWTimeoutDeleteMs);
    EXPECT_EQ(FirmwareDeviceSim::Image(sim.box), file);
}

TEST_F(FirmwareRun, KeptFileDeletedMeanwhileShowsNoFile) {
    const std::string path = File({});
    std::filesystem::remove(path);
    Open(path);
    EXPECT_EQ(fwView.group.file.version, TViewText::Lang(kTextFWNone));
    EXPECT_FALSE(fwView.group.downloadBtnEnabled);
    EXPECT_EQ(sim.log, Query());
}

TEST_F(FirmwareRun, DownloadStartOnlyWhileTheRunWaits) {
    fw().OnFWDateiLaden(File({}));
    fw().OnFWDownloadStarten(); // no run
    EXPECT_TRUE(Port()->blocks.size() <= 1u);
    Open("");
    sim.silence[{1, eFWCmdDeleteBlock}] = 1;
    Download();
    const std::size_t n = Port()->blocks.size();
    fw().OnFWDownloadStarten(); // a download runs
    EXPECT_EQ(Port()->blocks.size(), n);
}

} // namespace
