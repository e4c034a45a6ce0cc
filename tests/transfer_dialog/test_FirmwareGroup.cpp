// The transfer form's firmware group: the real form, engine and firmware
// download over a fake serial port, with the box and the camera device in
// download mode behind it. The form renders the download's group, runs its
// file dialog and buttons, and asks the restart question after the step
// that raised it has returned.

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
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using dlgen::DownloadFileRecipe;
using Cmd = FirmwareDeviceSim::Command;

class AnsweringBox : public IDocMessageBox {
public:
    int ShowMessage(int textId, const std::string&, const std::string&, eDocMsgIcon icon,
                    eDocMsgButtons buttons) override {
        shown.push_back({textId, icon, buttons});
        return buttons == eDocMsgYesNo ? answer : eDocAnswerOk;
    }
    struct Shown {
        int textId;
        eDocMsgIcon icon;
        eDocMsgButtons buttons;
    };
    std::vector<Shown> shown;
    int answer = eDocAnswerYes;
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
