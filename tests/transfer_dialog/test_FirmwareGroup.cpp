// The transfer form's firmware group: the real form, engine and firmware
// download over a fake serial port, with the box and the camera device in
// download mode behind it. The form renders the download's group, runs its
// file dialog and buttons, asks its questions after the step that raised
// them has returned, shows its boxes one at a time, and lets a cancel once
// erasing has begun (button, Esc or the close box) ask first.

#include "EngineFakes.h"
#include "FakeClock.h"
#include "FirmwareDeviceSim.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TDataTransfer.h"
#include "TFileDialog.h"
#include "TTransferExtension.h"
#include "TestSettingsFile.h"
#include "TextSubst.h"
#include "TkResourcen.h"
#include "TransferDialogTextIds.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using dlgen::DownloadFileRecipe;
using Cmd = FirmwareDeviceSim::Command;

// Answers every box at once; with spin set it first lets the event loop run
// while it is open, as a real modal box does, so a box queued meanwhile
// would open on top of it.
class AnsweringBox : public IDocMessageBox {
public:
    int ShowMessage(int textId, const std::string&, const std::string&, eDocMsgIcon icon,
                    eDocMsgButtons buttons) override {
        shown.push_back({textId, icon, buttons});
        if (onShow)
            onShow(textId);
        ++open;
        maxOpen = std::max(maxOpen, open);
        if (spin)
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents();
        --open;
        if (buttons != eDocMsgYesNo)
            return eDocAnswerOk;
        return textId == kTextFWAskCancel ? cancelAnswer : answer;
    }
    struct Shown {
        int textId;
        eDocMsgIcon icon;
        eDocMsgButtons buttons;
    };
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (const Shown& s : shown)
            ids.push_back(s.textId);
        return ids;
    }
    std::vector<Shown> shown;
    int answer = eDocAnswerYes;
    int cancelAnswer = eDocAnswerYes;
    bool spin = false;
    int open = 0;
    int maxOpen = 0;
    std::function<void(int)> onShow;
};

class Results : public ITransferOwner {
public:
    void OnTransferResult(int result) override { results.push_back(result); }
    void OnNeedTransferData() override {}
    void OnMoreTransferData() override {}
    std::vector<int> results;
};

Bytes DeviceHeader(std::uint8_t device, const char* version) {
    DownloadFileRecipe s;
    s.device = device;
    s.version = version;
    s.date = "01022003";
    s.time = "040506";
    return dlgen::MakeHeader(s);
}

class FirmwareGroup : public testing::Test {
protected:
    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("fwgroup");
        ASSERT_TRUE(m_pSettings->Ok());
        SetPermSprache(Sprache());
        m_pRes = std::make_unique<TkResourcen>();
        ASSERT_TRUE(m_pRes->LoadFile(std::string(MOX_BIN_DIR) + "/" +
                                     TkResourcen::LanguageFileName(Sprache())));
        settings.comPort = 5;
        TDataTransferSeams seams;
        seams.clock = &clock;
        seams.settings = &settings;
        seams.ports = &ports;
        dlg = std::make_unique<TDataTransfer>(nullptr, m_pRes.get(), seams);
        dlg->SetMessageBox(&box);
        dlg->SetOwner(&owner);
        dlg->UpdatePort();
        sim.box.header = DeviceHeader(eFWDeviceKTX, "KTX 1.00");
        sim.camera.header = DeviceHeader(eFWDeviceKMR, "KMR 2.00");
        TFileDialog::SetHandlerForTesting([this](const TFileDialog::Request& r) {
            dialogs.push_back(r);
            return chosen;
        });
    }
    void TearDown() override {
        TFileDialog::SetHandlerForTesting({});
        dlg.reset();
        m_pRes.reset();
        m_pSettings.reset();
    }

    // The language of the texts; German unless a test says otherwise.
    virtual int Sprache() const { return 1; }

    TDataTransferEngine& Engine() { return dlg->GetEngine(); }
    // The devices take what the PC sent and answer, and the queued work of
    // the form runs, until nobody has anything more to say.
    void Pump() {
        for (int guard = 0; guard < 100000; ++guard) {
            QCoreApplication::processEvents();
            const auto& blocks = ports.last->blocks;
            while (seen < blocks.size())
                sim.OnPcBlock(blocks[seen++]);
            if (sim.answers.empty())
                return;
            ports.last->rx = sim.answers.front();
            sim.answers.pop_front();
            Engine().OnReadData();
            // The step that raised the question has returned, and the
            // question is not up yet.
            if (dlg->GetTransferExtension().GetFirmware().IsAskingRestart() && box.shown.empty())
                askedAfterTheStep = true;
        }
        FAIL() << "the download never settled";
    }
    void Elapse(std::uint64_t ms) {
        clock.Advance(ms);
        Engine().Poll();
        Pump();
    }
    // The firmware page's start: the run in its firmware mode, up to the end
    // of the header query.
    void Open() {
        Engine().SetTransferData(eFW_FirmwareDownload, image.data(),
                                 static_cast<std::uint32_t>(image.size()));
        Engine().StartTransfer();
        Elapse(kFirmwareStartDelayMs);
    }
    std::string LoadFile(const DownloadFileRecipe& recipe) {
        file = dlgen::MakeDownloadFile(recipe);
        const std::string path = dir.File("fw.bin", file).string();
        chosen = QString::fromStdString(path);
        Button("m_pDateBtn")->click();
        Pump();
        return path;
    }

    QString Label(const char* name) const {
        const auto* l = dlg->findChild<QLabel*>(QString::fromLatin1(name));
        return l ? l->text() : QStringLiteral("<none>");
    }
    QPushButton* Button(const char* name) const {
        return dlg->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QString Text(int id) const { return MoxToQString(m_pRes->GetText(id)); }
    QString Subst(int id, std::int64_t a, std::int64_t b) const {
        return MoxToQString(TextSubst(m_pRes->GetText(id), {a, b}));
    }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    dlgen::TempDir dir;
    FakeClock clock;
    FakeSettings settings;
    FakePortFactory ports;
    AnsweringBox box;
    Results owner;
    std::unique_ptr<TkResourcen> m_pRes;
    std::unique_ptr<TDataTransfer> dlg;
    FirmwareDeviceSim sim;
    Bytes file;
    Bytes image = Bytes(0xC0000, 0);
    std::size_t seen = 0;
    QString chosen;
    std::vector<TFileDialog::Request> dialogs;
    bool askedAfterTheStep = false;
};

TEST_F(FirmwareGroup, PageShowsTheDeviceHeadersInTheFirmwareLayout) {
    Open();
    const auto* group = dlg->findChild<QGroupBox*>(QStringLiteral("m_pFirmwareBox"));
    ASSERT_NE(group, nullptr);
    EXPECT_FALSE(group->isHidden());
    EXPECT_TRUE(dlg->findChild<QWidget*>(QStringLiteral("m_pTransferPanel"))->isHidden());
    // At least the layout's own size; wider where the texts need it.
    EXPECT_GE(dlg->width(), 485);
    EXPECT_GE(dlg->height(), 337);
    const TFirmwareGroup& model = dlg->GetTransferExtension().GetFirmware().GetGroup();
    EXPECT_EQ(Label("m_pKTXVersion"), MoxToQString(model.ktx.version.text));
    EXPECT_EQ(Label("m_pKTXVersion"), QStringLiteral("KTX 1.00"));
    EXPECT_EQ(Label("m_pKMRVersion"), QStringLiteral("KMR 2.00"));
    EXPECT_TRUE(Button("m_pDateBtn")->isEnabled());
    // No file chosen yet: nothing to download.
    EXPECT_FALSE(Button("m_pDownloadBtn")->isEnabled());
}

TEST_F(FirmwareGroup, LoadedFileShowsItsHeaderAndEnablesTheDownload) {
    Open();
    DownloadFileRecipe recipe;
    recipe.version = "V2.10";
    const std::string path = LoadFile(recipe);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].kind, TFileDialog::Kind::Open);
    EXPECT_EQ(dialogs[0].filter, Text(ttxt::kFWOpenFilter));
    EXPECT_EQ(dialogs[0].title, Text(ttxt::kFWOpenTitle));
    EXPECT_EQ(dialogs[0].defaultExtension, Text(ttxt::kFWOpenExt));
    EXPECT_FALSE(dialogs[0].title.isEmpty());
    EXPECT_FALSE(dialogs[0].defaultExtension.isEmpty());
    const TFirmwareGroup& model = dlg->GetTransferExtension().GetFirmware().GetGroup();
    EXPECT_EQ(model.datei, path);
    EXPECT_EQ(Label("m_pDatei"), QString::fromStdString(path));
    EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("m_pDatei"))->toolTip(),
              QString::fromStdString(path));
    EXPECT_EQ(Label("m_pFileVersion"), QStringLiteral("V2.10"));
    EXPECT_EQ(Label("m_pFileDate"), MoxToQString(model.file.date.text));
    EXPECT_EQ(Label("m_pFileDevice"), Text(model.file.device.textId));
    EXPECT_TRUE(Button("m_pDownloadBtn")->isEnabled());
    const auto* bar = dlg->findChild<QProgressBar*>(QStringLiteral("m_pFWProgressBar"));
    EXPECT_EQ(bar->maximum(), std::max(model.progressMin, model.progressMax));
    EXPECT_EQ(bar->value(), model.progressPos);
}

TEST_F(FirmwareGroup, CancelledFileDialogLoadsNothing) {
    Open();
    chosen.clear();
    Button("m_pDateBtn")->click();
    Pump();
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dlg->GetTransferExtension().GetFirmware().GetGroup().datei.empty());
    EXPECT_FALSE(Button("m_pDownloadBtn")->isEnabled());
}

TEST_F(FirmwareGroup, DownloadIntoTheBoxAsksTheRestartAfterTheStepAndEndsOnce) {
    Open();
    DownloadFileRecipe recipe;
    recipe.blocks = 4;
    LoadFile(recipe);
    sim.log.clear();
    Button("m_pDownloadBtn")->click();
    Pump();
    EXPECT_TRUE(askedAfterTheStep);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].textId, kTextFWAskRestart);
    EXPECT_EQ(box.shown[0].icon, eDocMsgIconQuestion);
    EXPECT_EQ(box.shown[0].buttons, eDocMsgYesNo);
    EXPECT_EQ(FirmwareDeviceSim::Image(sim.box), file);
    EXPECT_EQ(sim.box.restarts, 1);
    EXPECT_EQ(owner.results.size(), 1u);
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FirmwareGroup, StatusLineOfTheBlockWritingIsSubstituted) {
    Open();
    DownloadFileRecipe recipe;
    recipe.blocks = 4;
    LoadFile(recipe);
    // The devices keep the first write unanswered: the form shows the step.
    sim.silenceWrite[0] = 1;
    Button("m_pDownloadBtn")->click();
    Pump();
    const TFirmwareGroup& model = dlg->GetTransferExtension().GetFirmware().GetGroup();
    ASSERT_EQ(model.fwText.textId, kTextFWStatusWrite);
    ASSERT_EQ(model.fwText.numbers.size(), 2u);
    EXPECT_EQ(Label("m_pFWText"),
              Subst(kTextFWStatusWrite, model.fwText.numbers[0], model.fwText.numbers[1]));
    EXPECT_FALSE(Label("m_pFWText").contains(QLatin1Char('%')));
}

TEST_F(FirmwareGroup, LineLostInTheWriteShowsTheCauseFirstAndOneBoxAtATime) {
    Open();
    DownloadFileRecipe recipe;
    recipe.blocks = 4;
    LoadFile(recipe);
    box.spin = true;
    std::vector<int> attemptsWhenShown;
    box.onShow = [this, &attemptsWhenShown](int) {
        attemptsWhenShown.push_back(ports.last->sendAttempts);
    };
    // The devices keep the write of block 2 unanswered; then the line is
    // lost, so neither its repetition nor the removal can go out.
    sim.silenceWrite[1] = 1;
    Button("m_pDownloadBtn")->click();
    Pump();
    ASSERT_EQ(Engine().GetMode(), eFW_SendBlock);
    ports.last->sendOk = false;
    const int attempts = ports.last->sendAttempts;
    Elapse(kFWTimeoutBlockMs);
    Pump();

    EXPECT_EQ(box.Ids(),
              (std::vector<int>{kTextFWStepFailedFirst + 4, kTextFWStepFailedFirst + 7}));
    EXPECT_EQ(box.maxOpen, 1) << "two boxes open at once";
    // The cause was up before the removal was even tried.
    ASSERT_EQ(attemptsWhenShown.size(), 2u);
    EXPECT_EQ(attemptsWhenShown[0], attempts + 1);
    EXPECT_GT(attemptsWhenShown[1], attemptsWhenShown[0]);
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

// ---- Cancel in the running form ---------------------------------------------------

// How the user ends the form.
enum class EndBy { CancelButton, Escape, CloseBox };

struct CancelAt {
    const char* name;
    std::uint8_t device;
    int mode;
    int counter; // the block counter, -1 any
    bool asks;   // erasing has begun: the form asks first
};

using FormCancelCase = std::tuple<CancelAt, EndBy, bool>;

class FormCancel : public FirmwareGroup, public testing::WithParamInterface<FormCancelCase> {
protected:
    void End(EndBy how) {
        switch (how) {
        case EndBy::CancelButton:
            Button("m_pOk")->click();
            break;
        case EndBy::Escape: {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(dlg.get(), &press);
            break;
        }
        case EndBy::CloseBox:
            dlg->close();
            break;
        }
    }
};

TEST_P(FormCancel, AsksOnceErasingHasBegunAndEndsAsAnswered) {
    // Named apart, not bound: the lambdas below capture them.
    const CancelAt& at = std::get<0>(GetParam());
    const EndBy how = std::get<1>(GetParam());
    const bool yes = std::get<2>(GetParam());
    DownloadFileRecipe recipe;
    recipe.device = at.device;
    recipe.blocks = 4;
    file = dlgen::MakeDownloadFile(recipe);
    dlg->GetTransferExtension().GetFirmware().SetFWFileName(dir.File("fw.bin", file).string());
    box.cancelAnswer = yes ? eDocAnswerYes : eDocAnswerNo;
    box.spin = true;
    FirmwareDeviceSim::Device& d = at.device == eFWDeviceKMR ? sim.camera : sim.box;
    TFirmwareDownload& fw = dlg->GetTransferExtension().GetFirmware();

    // The user inside the modal run: starts the download once the run
    // waits for it, and ends the form at the step; the devices answer one
    // block per turn, and time passes only when nobody has anything to say.
    bool started = false;
    bool ended = false;
    bool visibleAfterEnd = false;
    int idle = 0;
    QTimer user;
    user.setInterval(0);
    QObject::connect(&user, &QTimer::timeout, [&] {
        const auto& blocks = ports.last->blocks;
        while (seen < blocks.size())
            sim.OnPcBlock(blocks[seen++]);
        if (!ended && Engine().IsRunning() && Engine().GetMode() == at.mode &&
            (at.counter < 0 || fw.GetBlockCounter() == at.counter)) {
            ended = true;
            End(how);
            visibleAfterEnd = dlg->isVisible();
            return;
        }
        // The query is over once the run waits at mode 0.
        if (!started && at.mode != eFW_ReceiveKTXFirmwareHeader && Engine().IsRunning() &&
            Engine().GetMode() == eTransferIdle && Button("m_pDownloadBtn")->isEnabled()) {
            started = true;
            Button("m_pDownloadBtn")->click();
            return;
        }
        if (!sim.answers.empty()) {
            idle = 0;
            ports.last->rx = sim.answers.front();
            sim.answers.pop_front();
            Engine().OnReadData();
            return;
        }
        if (++idle < 3)
            return;
        idle = 0;
        if (const auto due = Engine().NextDueMs()) {
            clock.now = std::max(clock.now, *due);
            dlg->OnTimer();
        }
    });
    if (at.mode == eFW_ReceiveKTXFirmwareHeader)
        sim.silence[{1, eFWCmdGetHeader}] = 1;
    user.start();
    Engine().SetTransferData(eFW_FirmwareDownload, image.data(),
                             static_cast<std::uint32_t>(image.size()));
    const int modal = dlg->ShowModal();
    user.stop();
    QCoreApplication::processEvents();

    ASSERT_TRUE(ended);
    EXPECT_LE(box.maxOpen, 1) << "two boxes open at once";
    EXPECT_FALSE(Engine().IsRunning());
    EXPECT_EQ(owner.results.size(), 1u);
    if (!at.asks) {
        // The header query: Esc and the close box end it as the button does.
        EXPECT_FALSE(visibleAfterEnd);
        EXPECT_EQ(modal, 2);
        EXPECT_TRUE(box.shown.empty());
        EXPECT_EQ(owner.results, std::vector<int>{0});
        return;
    }
    // The question first; the form stays open while it is asked.
    EXPECT_TRUE(visibleAfterEnd);
    ASSERT_FALSE(box.shown.empty());
    EXPECT_EQ(box.shown[0].textId, kTextFWAskCancel);
    EXPECT_EQ(box.shown[0].icon, eDocMsgIconQuestion);
    EXPECT_EQ(box.shown[0].buttons, eDocMsgYesNo);
    if (yes) {
        EXPECT_EQ(modal, 2);
        EXPECT_EQ(box.Ids(), (std::vector<int>{kTextFWAskCancel, kTextFWNotUpdated}));
        EXPECT_TRUE(d.newRemoved);
        EXPECT_TRUE(d.written.empty());
        EXPECT_FALSE(d.inDownload);
        EXPECT_EQ(owner.results, std::vector<int>{0});
    } else {
        EXPECT_EQ(modal, 1);
        EXPECT_EQ(box.Ids(), (std::vector<int>{kTextFWAskCancel, kTextFWAskRestart}));
        EXPECT_EQ(FirmwareDeviceSim::Image(d), file);
        EXPECT_FALSE(d.newRemoved);
        EXPECT_EQ(owner.results, std::vector<int>{1});
    }
}

std::string FormCancelName(const testing::TestParamInfo<FormCancelCase>& info) {
    static const char* const kEnds[] = {"CancelButton", "Escape", "CloseBox"};
    return std::string(std::get<0>(info.param).name) +
           kEnds[static_cast<int>(std::get<1>(info.param))] +
           (std::get<2>(info.param) ? "Yes" : "No");
}

const auto kEveryEnd = testing::Values(EndBy::CancelButton, EndBy::Escape, EndBy::CloseBox);

INSTANTIATE_TEST_SUITE_P(
    Steps, FormCancel,
    testing::Combine(testing::Values(CancelAt{"BoxErase", eFWDeviceKTX, eFW_DeleteBlock, 2, true},
                                     CancelAt{"BoxWrite", eFWDeviceKTX, eFW_SendBlock, 3, true},
                                     CancelAt{"CameraErase", eFWDeviceKMR, eFW_DeleteBlock, 2,
                                              true},
                                     CancelAt{"CameraWrite", eFWDeviceKMR, eFW_SendBlock, 3, true}),
                     kEveryEnd, testing::Bool()),
    FormCancelName);

// Nothing to ask there: the answer is not used.
INSTANTIATE_TEST_SUITE_P(Query, FormCancel,
                         testing::Combine(testing::Values(CancelAt{"HeaderQuery", eFWDeviceKTX,
                                                                   eFW_ReceiveKTXFirmwareHeader, -1,
                                                                   false}),
                                          kEveryEnd, testing::Values(true)),
                         FormCancelName);

// Without a camera device its four labels say "nicht vorhanden" (text 94),
// which the fixed-width layout cut to "nicht vorhand"; "Gewählte Datei:"
// showed as "Gewählte Dat". In every language each caption and label of
// the group shows whole, the form at least 485 wide; a long file path takes
// the width the group has, shortened in its middle and whole in its
// tooltip.
class FirmwareGroupLanguage : public FirmwareGroup, public testing::WithParamInterface<int> {
protected:
    int Sprache() const override { return GetParam(); }

    void ExpectEveryTextWhole() {
        const auto* group = dlg->findChild<QGroupBox*>(QStringLiteral("m_pFirmwareBox"));
        ASSERT_NE(group, nullptr);
        EXPECT_GE(group->width(), group->minimumSizeHint().width()) << "group title";
        EXPECT_LE(group->geometry().right(), dlg->contentsRect().right());
        for (const QLabel* l : group->findChildren<QLabel*>()) {
            if (l->isHidden() || l->objectName() == QLatin1String("m_pDatei"))
                continue;
            EXPECT_GE(l->contentsRect().width(), l->fontMetrics().horizontalAdvance(l->text()))
                << l->objectName().toStdString() << " \"" << l->text().toStdString() << "\"";
            EXPECT_LE(l->mapTo(group, QPoint(l->width(), 0)).x(), group->width())
                << l->objectName().toStdString();
        }
        for (const QPushButton* b : dlg->findChildren<QPushButton*>()) {
            if (b->isHidden())
                continue;
            EXPECT_GE(b->width(), b->minimumSizeHint().width()) << b->objectName().toStdString();
        }
    }
};

TEST_P(FirmwareGroupLanguage, EveryLabelShowsWholeWithoutACamera) {
    sim.camera.present = false;
    sim.camera.nakWhenAbsent = true;
    // A file from deep in the installer's folders.
    DownloadFileRecipe recipe;
    recipe.version = "V2.10";
    file = dlgen::MakeDownloadFile(recipe);
    std::filesystem::path deep = dir.Path();
    for (int i = 0; i < 12; ++i)
        deep /= "firmware-updates-of-the-installation";
    std::filesystem::create_directories(deep);
    const std::string path = (deep / "fw.bin").string();
    ASSERT_TRUE(dlgen::WriteFile(path, file));

    // As the firmware page runs it: shown modally, the texts applied on
    // show, the header query run once the form stands.
    bool checked = false;
    int waits = 0;
    std::function<void()> whileShown = [&] {
        if (!Engine().IsRunning() && ++waits < 100) {
            QTimer::singleShot(0, whileShown);
            return;
        }
        Elapse(kFirmwareStartDelayMs);
        QCoreApplication::processEvents();
        EXPECT_EQ(Label("m_pKMRVersion"), Text(kTextFWNone));
        EXPECT_EQ(Label("m_pDateiLabel"), Text(ttxt::kFWDateiCaption));
        EXPECT_GE(dlg->width(), 485);
        ExpectEveryTextWhole();

        const int before = dlg->width();
        chosen = QString::fromStdString(path);
        Button("m_pDateBtn")->click();
        Pump();
        QCoreApplication::processEvents();
        EXPECT_LE(dlg->width(), dlg->screen()->availableGeometry().width());
        EXPECT_GE(dlg->width(), before);
        ExpectEveryTextWhole();
        const auto* datei = dlg->findChild<QLabel*>(QStringLiteral("m_pDatei"));
        EXPECT_EQ(datei->toolTip(), QString::fromStdString(path));
        EXPECT_TRUE(datei->text().contains(QChar(0x2026))) << datei->text().toStdString();
        EXPECT_TRUE(datei->text().endsWith(QStringLiteral("fw.bin")))
            << datei->text().toStdString();
        EXPECT_LE(datei->fontMetrics().horizontalAdvance(datei->text()),
                  datei->contentsRect().width());
        checked = true;
        Button("m_pOk")->click();
        Pump();
    };
    QTimer::singleShot(0, whileShown);
    dlg->SetTransferData(eFW_FirmwareDownload, image.data(),
                         static_cast<std::uint32_t>(image.size()));
    dlg->ShowModal();
    EXPECT_TRUE(checked);
}

INSTANTIATE_TEST_SUITE_P(Languages, FirmwareGroupLanguage, testing::Range(1, 7),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Language" + std::to_string(info.param);
                         });

} // namespace
