// The wizard's frame: finishing, cancelling and the close box with what
// they leave in the file, the box and the main window; the device-type
// question before the live programming pages; the read page; the messages
// it takes; its layout and its status lamp.

#include "AssiFixture.h"

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "TKtxImage.h"
#include "TMoxDocument.h"
#include "TPosixDocFileSystem.h"
#include "TRecentFileList.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>

namespace {

std::vector<std::uint8_t> ImageWithTypes(std::uint8_t it, std::uint8_t kmr, std::uint8_t rak,
                                         std::uint8_t bsm) {
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    MoxSetTypeIT(data.get(), it);
    MoxSetTypeKMR(data.get(), kmr);
    MoxSetTypeRAK(data.get(), rak);
    MoxSetTypeBSM(data.get(), bsm);
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(data.get(), image.data());
    return image;
}

TAssiDevices Dev(std::uint8_t it, std::uint8_t bsm = 0) {
    TAssiDevices d;
    d.typeIT = it;
    d.typeBSM = bsm;
    return d;
}

} // namespace

// ---------------------------------------------------------------- finish

TEST_F(AssiTest, FinishWritesTheFileThatTheMainWindowOpens) {
    PageLog().devicesOnSave = Dev(1);
    ShowWizard();
    WalkToEnd({{4, false}, {24, false}});
    ASSERT_EQ(Assi().GetState(), eAssiEnde);
    Doc().SetTypeRAK(1); // a change the wizard's file must carry
    Click("m_pOkBtn");

    const std::string name = Assi().GetFileName();
    EXPECT_EQ(std::filesystem::path(name).parent_path(), m_Dir);
    EXPECT_EQ(std::filesystem::file_size(name), TKtxImage::kSize);
    EXPECT_FALSE(Assi().isVisible());
    EXPECT_TRUE(Main().isVisible());
    // The main window took the result and opened the file: it names it
    // in its status line and its recent files.
    ASSERT_NE(Doc().GetFileName(), nullptr);
    EXPECT_EQ(std::string(Doc().GetFileName()), name);
    EXPECT_TRUE(Main().GetStatusText().contains(QString::fromStdString(name)));
    ASSERT_NE(Main().GetRecentFiles(), nullptr);
    EXPECT_EQ(Main().GetRecentFiles()->GetEntry(0), name);
    EXPECT_EQ(Doc().GetTypeRAK(), 1);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Assi().TakeModalResult(), 0);
    // Nothing programmed live, the box not asked for: nothing was sent.
    EXPECT_EQ(Sends(), 0);
    EXPECT_EQ(m_nPortDialogs, 0);
    // The wizard's controller is gone; the document has the main window's.
    EXPECT_FALSE(Assi().HasOwnTransfer());
    EXPECT_EQ(Doc().GetDataTransfer(), m_pMainTransfer);
}

TEST_F(AssiTest, FinishOnTheEndPageAfterALivePageSendsOnce) {
    PageLog().devicesOnSave = Dev(1, 1);
    ShowWizard();
    WalkToEnd({{4, false}}); // 4 -> 18 -> 19 (live) -> 26
    ASSERT_EQ(Assi().GetState(), eAssiEnde);
    auto* box = Find<QCheckBox>(Assi().GetWorkPage(), "m_pSendDataBox");
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(box->isEnabled());
    Click("m_pOkBtn");
    EXPECT_EQ(Sends(), 1);
    EXPECT_EQ(m_nPortDialogs, 1);
    EXPECT_TRUE(std::filesystem::exists(Assi().GetFileName()));
}

TEST_F(AssiTest, FinishBeforeTheEndAfterALivePageSendsOnce) {
    PageLog().devicesOnSave = Dev(1, 1);
    ShowWizard();
    WalkToEnd({{4, false}});
    // Back to the live page: 26 -> 25 -> 24 -> 19.
    for (int i = 0; i < 3 && Assi().GetState() != eAssiBSM; ++i)
        Back();
    ASSERT_EQ(Assi().GetState(), eAssiBSM);
    Click("m_pOkBtn");
    EXPECT_EQ(Sends(), 1);
    EXPECT_TRUE(std::filesystem::exists(Assi().GetFileName()));
}

TEST_F(AssiTest, TheEndPagesBoxAsksForTheSend) {
    PageLog().devicesOnSave = Dev(1);
    ShowWizard();
    WalkToEnd({{4, false}, {24, false}});
    auto* box = Find<QCheckBox>(Assi().GetWorkPage(), "m_pSendDataBox");
    ASSERT_TRUE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());
    box->click();
    Click("m_pOkBtn");
    EXPECT_EQ(Sends(), 1);
}

TEST_F(AssiTest, GoingBackFromTheEndPageNeverSends) {
    PageLog().devicesOnSave = Dev(1);
    ShowWizard();
    WalkToEnd({{4, false}, {24, false}});
    Find<QCheckBox>(Assi().GetWorkPage(), "m_pSendDataBox")->click();
    Back();
    EXPECT_EQ(Assi().GetState(), eAssiSystemCfg);
    EXPECT_EQ(m_nPortDialogs, 0);
    EXPECT_EQ(Sends(), 0);
}

TEST_F(AssiTest, ASendWithoutALinkIsReportedAndNothingIsSent) {
    PageLog().devicesOnSave = Dev(1);
    ShowWizard();
    WalkToEnd({{4, false}, {24, false}});
    Find<QCheckBox>(Assi().GetWorkPage(), "m_pSendDataBox")->click();
    m_nPortSetting = 0;
    Click("m_pOkBtn");
    EXPECT_EQ(BoxCount(5054), 1);
    EXPECT_EQ(Sends(), 0);
    // The file is written all the same.
    EXPECT_TRUE(std::filesystem::exists(Assi().GetFileName()));
}

TEST_F(AssiTest, AFailedSendIsReported) {
    PageLog().devicesOnSave = Dev(1);
    ShowWizard();
    WalkToEnd({{4, false}, {24, false}});
    Find<QCheckBox>(Assi().GetWorkPage(), "m_pSendDataBox")->click();
    m_pOwnTransfer->result = 2;
    Click("m_pOkBtn");
    EXPECT_EQ(Sends(), 1);
    EXPECT_EQ(BoxCount(1022), 1);
}

TEST_F(AssiTest, AFailedWriteIsReportedAndTheWizardStays) {
    m_AssiSeams.fileDir = (m_Dir / "missing" / "folder").string();
    PageLog().devicesOnSave = Dev(1);
    ShowWizard();
    WalkToEnd({{4, false}, {24, false}});
    Click("m_pOkBtn");
    EXPECT_EQ(BoxCount(1001), 1);
    EXPECT_FALSE(std::filesystem::exists(Assi().GetFileName()));
    EXPECT_TRUE(Assi().isVisible());
    EXPECT_EQ(Assi().GetState(), eAssiEnde);
    EXPECT_FALSE(Main().isVisible());
}

// A wizard run that cannot write its file while an earlier run's file is
// there: the earlier file must never replace what was just entered.
class AssiOlderFile : public AssiTest {
protected:
    // Refuses every new file, as a folder without write access does.
    class NoNewFiles : public IDocFileSystem {
    public:
        int Open(const std::string& path, int flags, mode_t mode) override {
            if (flags & O_CREAT) {
                errno = EACCES;
                return -1;
            }
            return real.Open(path, flags, mode);
        }
        ssize_t Read(int fd, void* b, size_t n) override { return real.Read(fd, b, n); }
        ssize_t Write(int fd, const void* b, size_t n) override { return real.Write(fd, b, n); }
        int Fsync(int fd) override { return real.Fsync(fd); }
        int Close(int fd) override { return real.Close(fd); }
        int Rename(const std::string& f, const std::string& t) override {
            return real.Rename(f, t);
        }
        int Unlink(const std::string& path) override { return real.Unlink(path); }

    private:
        TPosixDocFileSystem real;
    };

    void TearDown() override {
        if (m_pMain && m_pMain->GetDoc())
            m_pMain->GetDoc()->SetFileSystem(nullptr);
        AssiTest::TearDown();
    }

    // On the live switch-module page with door-interface type 1 entered, an
    // older file of type 3 in French beside it, and the write refused.
    void FinishRefused() {
        PageLog().devicesOnSave = Dev(1, 1);
        ShowWizard();
        auto data = std::make_unique<MoxDaten>();
        MoxInitDaten(data.get());
        MoxSetTypeIT(data.get(), 3);
        MoxSetSprache(data.get(), 3);
        m_Older.assign(TKtxImage::kSize, 0);
        TKtxImage::Build(data.get(), m_Older.data());
        {
            std::ofstream out(Assi().GetFileName(), std::ios::binary);
            out.write(reinterpret_cast<const char*>(m_Older.data()),
                      static_cast<std::streamsize>(m_Older.size()));
        }
        m_nSprache = GetPermSprache();
        WalkToEnd({{4, false}}); // 4 -> 18 -> 19 (live) -> 26
        for (int i = 0; i < 3 && Assi().GetState() != eAssiBSM; ++i)
            Back();
        ASSERT_EQ(Assi().GetState(), eAssiBSM);
        Doc().SetFileSystem(&m_Refusing);
        Click("m_pOkBtn");
    }

    // What was entered is still there; the older file is untouched.
    void ExpectEnteredKept() {
        EXPECT_EQ(Doc().GetTypeIT(), 1);
        EXPECT_EQ(Doc().GetTypeBSM(), 1);
        EXPECT_EQ(GetPermSprache(), m_nSprache);
        std::ifstream in(Assi().GetFileName(), std::ios::binary);
        const std::vector<std::uint8_t> now((std::istreambuf_iterator<char>(in)),
                                            std::istreambuf_iterator<char>());
        EXPECT_EQ(now, m_Older);
    }

    NoNewFiles m_Refusing;
    std::vector<std::uint8_t> m_Older;
    int m_nSprache = 0;
};

TEST_F(AssiOlderFile, AFailedWriteKeepsTheWizardWithWhatWasEntered) {
    FinishRefused();
    EXPECT_EQ(BoxCount(1001), 1);
    EXPECT_EQ(Sends(), 1) << "the send comes before the write";
    EXPECT_TRUE(Assi().isVisible());
    EXPECT_EQ(Assi().GetState(), eAssiBSM);
    EXPECT_NE(Assi().GetWorkPage(), nullptr);
    EXPECT_FALSE(Main().isVisible());
    ExpectEnteredKept();
}

TEST_F(AssiOlderFile, ARetryWritesOnlyAndTheMainWindowOpensTheNewFile) {
    FinishRefused();
    Click("m_pOkBtn"); // refused again
    EXPECT_EQ(BoxCount(1001), 2);
    EXPECT_TRUE(Assi().isVisible());
    Doc().SetFileSystem(nullptr);
    Click("m_pOkBtn");
    EXPECT_EQ(BoxCount(1001), 2);
    EXPECT_EQ(Sends(), 1) << "a retry writes only";
    EXPECT_FALSE(Assi().isVisible());
    EXPECT_TRUE(Main().isVisible());
    ASSERT_NE(Doc().GetFileName(), nullptr);
    EXPECT_EQ(std::string(Doc().GetFileName()), Assi().GetFileName());
    EXPECT_EQ(Doc().GetTypeIT(), 1);
    EXPECT_EQ(Doc().GetTypeBSM(), 1);
    EXPECT_EQ(GetPermSprache(), m_nSprache);
    EXPECT_NE(std::filesystem::file_size(Assi().GetFileName()), 0u);
}

TEST_F(AssiOlderFile, ACancelAfterAFailedWriteSendsNothingAgainAndOpensNothing) {
    FinishRefused();
    Click("m_pCancelBtn");
    EXPECT_EQ(BoxCount(5053), 1);
    EXPECT_EQ(Sends(), 1);
    EXPECT_FALSE(Assi().isVisible());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(BoxCount(1003), 0) << "no file opened";
    ExpectEnteredKept();
}

TEST_F(AssiOlderFile, TheCloseBoxAfterAFailedWriteAsksAndOpensNothing) {
    FinishRefused();
    Assi().close();
    EXPECT_EQ(BoxCount(5053), 1);
    EXPECT_FALSE(Assi().isVisible());
    EXPECT_EQ(Sends(), 1);
    ExpectEnteredKept();
}

TEST_F(AssiTest, APageThatWillNotBeLeftKeepsTheStepAndTurnsFinishIntoCancel) {
    ShowWizard();
    Forward();
    Forward(); // 3
    PageLog().refuseClose.insert(eGeraeteliste);
    Forward();
    EXPECT_EQ(Assi().GetState(), eAssiGeraeteSel);
    Back();
    EXPECT_EQ(Assi().GetState(), eAssiGeraeteSel);
    Click("m_pOkBtn");
    EXPECT_FALSE(Assi().isVisible());
    EXPECT_FALSE(std::filesystem::exists(Assi().GetFileName()));
    EXPECT_TRUE(Doc().IsUnnamed());
}

// ---------------------------------------------------------------- cancel and close

TEST_F(AssiTest, CancelAnsweredYesEndsWithoutAFile) {
    ShowWizard();
    Forward();
    Click("m_pCancelBtn");
    EXPECT_EQ(BoxCount(5053), 1);
    EXPECT_FALSE(Assi().isVisible());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(std::filesystem::exists(Assi().GetFileName()));
    EXPECT_EQ(Assi().GetWorkPage(), nullptr);
}

TEST_F(AssiTest, CancelAnsweredNoKeepsTheWizard) {
    ShowWizard();
    Forward();
    m_Answers[5053] = mb::kIdNo;
    Click("m_pCancelBtn");
    EXPECT_TRUE(Assi().isVisible());
    EXPECT_EQ(Assi().GetState(), eAssiGeraete);
}

TEST_F(AssiTest, CancelAfterALivePageStillSends) {
    PageLog().devicesOnSave = Dev(1, 1);
    ShowWizard();
    WalkToEnd({{4, false}});
    for (int i = 0; i < 3 && Assi().GetState() != eAssiBSM; ++i)
        Back();
    ASSERT_EQ(Assi().GetState(), eAssiBSM);
    Click("m_pCancelBtn");
    EXPECT_EQ(Sends(), 1);
    EXPECT_FALSE(std::filesystem::exists(Assi().GetFileName()));
}

TEST_F(AssiTest, TheCloseBoxAsksAndNeverSendsOrWrites) {
    PageLog().devicesOnSave = Dev(1, 1);
    ShowWizard();
    WalkToEnd({{4, false}}); // the end page with its box checked
    m_Answers[5053] = mb::kIdNo;
    Assi().close();
    EXPECT_TRUE(Assi().isVisible());
    m_Answers[5053] = mb::kIdYes;
    Assi().close();
    EXPECT_FALSE(Assi().isVisible());
    EXPECT_EQ(BoxCount(5053), 2);
    EXPECT_EQ(Sends(), 0);
    EXPECT_FALSE(std::filesystem::exists(Assi().GetFileName()));
    EXPECT_TRUE(Main().isVisible());
}

// ---------------------------------------------------------------- live pages

TEST_F(AssiTest, AChangedTypeAnsweredNoAsksAgainAndPassesTheLivePage) {
    PageLog().devicesOnSave = Dev(2);
    ShowWizard(2);
    Forward();
    Forward(); // 3
    Forward(); // leaves the devices page: type 1 -> 2
    EXPECT_EQ(BoxCount(5025), 1);
    EXPECT_EQ(Assi().GetLastDeviceType(), 1);
    Forward(); // 5
    Forward(); // 6
    Forward(); // 20
    ASSERT_EQ(Assi().GetState(), eAssiTlnCfg);
    Forward(); // 23 asks again, is passed over
    EXPECT_EQ(BoxCount(5025), 2);
    EXPECT_EQ(Assi().GetState(), eAssiTln);
    EXPECT_TRUE(m_bTlnProgMade); // shown on the way, as the walk goes on
    EXPECT_TRUE(Assi().GetTransfer());
    EXPECT_EQ(m_nPortDialogs, 0);
    // Going back passes it over in that direction too.
    Back();
    EXPECT_EQ(BoxCount(5025), 3);
    EXPECT_EQ(Assi().GetState(), eAssiTlnCfg);
}

TEST_F(AssiTest, AChangedTypeAnsweredYesIsSentAndTheLivePageShows) {
    PageLog().devicesOnSave = Dev(2);
    m_Answers[5025] = mb::kIdYes;
    ShowWizard(2);
    WalkToEnd({{4, true}});
    EXPECT_EQ(BoxCount(5025), 1);
    EXPECT_EQ(Sends(), 1);
    EXPECT_EQ(Assi().GetLastDeviceType(), 2);
}

TEST_F(AssiTest, AFailedSendAfterTheQuestionAsksAgainAtTheLivePage) {
    PageLog().devicesOnSave = Dev(2);
    m_Answers[5025] = mb::kIdYes;
    m_nPortSetting = 0; // "no link": the send cannot happen
    ShowWizard(2);
    Forward();
    Forward();
    Forward(); // 4
    EXPECT_EQ(BoxCount(5054), 1);
    EXPECT_EQ(Assi().GetLastDeviceType(), 1);
    m_nPortSetting = 1;
    Forward(); // 5
    Forward(); // 6
    Forward(); // 20
    Forward(); // 23: asked again, now sent
    EXPECT_EQ(Assi().GetState(), eAssiTlnProg);
    EXPECT_EQ(Sends(), 1);
    EXPECT_EQ(Assi().GetLastDeviceType(), 2);
    EXPECT_EQ(WorkPageName(), "TTlnProgForm");
    EXPECT_EQ(HelpPageName(), "TTlnProgHlp");
    QWidget* form = Assi().GetWorkPage();
    EXPECT_FALSE(form->isWindow());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->parentWidget(), Assi().findChild<QWidget*>(QStringLiteral("m_pKonfigPanel")));
}

TEST_F(AssiTest, ProgrammingResultsReachTheVisibleWorkPage) {
    PageLog().devicesOnSave = Dev(1);
    ShowWizard();
    for (int i = 0; i < 6 && Assi().GetState() != eAssiTlnCfg; ++i)
        Forward();
    ASSERT_EQ(Assi().GetState(), eAssiTlnCfg);
    // Type 1 has no programming form; reach it by the door-interface type.
    Doc().SetTypeIT(2);
    m_Answers[5025] = mb::kIdYes;
    Forward(); // 23
    ASSERT_EQ(WorkPageName(), "TTlnProgForm");
    m_TlnProgMessages.clear();
    for (std::uint32_t id : {DEL_TLN_FAILED, CANCEL_FAILED, PROGQUIT_OK, PROGMODEAKT_OK,
                             TLNPROG_FEHLER, KBA_LIST_OK, BSMPROG_PAS})
        Assi().ForwardMessage(mox::platform::WindowMessage{id, 1, 2, {}});
    // Messages the main window routes to the wizard's own address count
    // the same.
    Assi().Perform(mox::platform::WindowMessage{KBA_COUNT, 3, 0, {}});
    EXPECT_EQ(m_TlnProgMessages,
              (std::vector<std::uint32_t>{DEL_TLN_FAILED, PROGMODEAKT_OK, TLNPROG_FEHLER,
                                          BSMPROG_PAS, KBA_COUNT}));
}

TEST_F(AssiTest, WithoutTheProgrammingFormAPlainPageHoldsTheStep) {
    m_AssiSeams.createTlnProg = {};
    PageLog().devicesOnSave = Dev(2);
    m_Answers[5025] = mb::kIdYes;
    ShowWizard();
    for (int i = 0; i < 7 && Assi().GetState() != eAssiTlnProg; ++i)
        Forward();
    ASSERT_EQ(Assi().GetState(), eAssiTlnProg);
    ASSERT_NE(Assi().GetWorkPage(), nullptr);
    EXPECT_TRUE(Assi().GetWorkPage()->isVisible());
    Forward();
    EXPECT_EQ(Assi().GetState(), eAssiTln);
}

// ---------------------------------------------------------------- read page

struct ReadRow {
    const char* name;
    bool portOk;
    int port;
    int readResult;
    int expectedBox; // 0: none
    bool byHandAfter;
    std::uint8_t typeAfter;
};
void PrintTo(const ReadRow& r, std::ostream* os) {
    *os << r.name;
}

class AssiRead : public AssiTest, public testing::WithParamInterface<ReadRow> {};

TEST_P(AssiRead, MovesToTheDevicesPage) {
    const ReadRow& r = GetParam();
    m_bPortOk = r.portOk;
    m_nPortSetting = r.port;
    ShowWizard();
    m_pOwnTransfer->readImage = ImageWithTypes(3, 1, 0, 1);
    m_pOwnTransfer->result = r.readResult;
    Forward();
    Answer(false); // read from the box
    Forward();
    EXPECT_EQ(Assi().GetState(), eAssiGeraeteSel);
    EXPECT_EQ(WorkPageName(), "FakePage2");
    if (r.expectedBox) {
        EXPECT_EQ(BoxCount(r.expectedBox), 1) << r.expectedBox;
    }
    EXPECT_EQ((Assi().GetFlags() & eAssiFlagByHand) != 0, r.byHandAfter);
    EXPECT_EQ(Doc().GetTypeIT(), r.typeAfter);
    EXPECT_EQ(Assi().GetLastDeviceType(), r.typeAfter);
    // Back from the devices page always goes to the question.
    Back();
    EXPECT_EQ(Assi().GetState(), eAssiGeraete);
}

INSTANTIATE_TEST_SUITE_P(Table, AssiRead,
                         testing::Values(ReadRow{"LinkDialogCancelled", false, 1, 1, 0, false, 1},
                                         ReadRow{"NoLink", true, 0, 1, 5054, true, 1},
                                         ReadRow{"ReadFailed", true, 1, 2, 1018, true, 1},
                                         ReadRow{"ReadOk", true, 1, 1, 1019, false, 3}),
                         [](const testing::TestParamInfo<ReadRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(AssiTest, ALateReadReportChangesNothing) {
    ShowWizard();
    Assi().PostToFrame(WM_ASSI_READ_OK, 0, 0);
    ProcessEvents();
    EXPECT_EQ(Assi().GetState(), eAssiWillkommen);
}

// ---------------------------------------------------------------- messages

TEST_F(AssiTest, PackageRequestsToTheWizardFeedTheWholeSend) {
    ShowWizard();
    ASSERT_TRUE(m_pOwnTransfer->owner.IsAlive());
    ASSERT_TRUE(Doc().StartWriteAnlDataToComPort(true));
    // Every package was asked of the wizard, and the last one came empty.
    EXPECT_GT(m_pOwnTransfer->packages, 10);
    EXPECT_EQ(m_pOwnTransfer->len, 0u);
    EXPECT_FALSE(m_pOwnTransfer->more);
    EXPECT_EQ(Doc().GetWriteState(), TMoxDocument::kWriteStateIdle);
}

TEST_F(AssiTest, TheMainWindowsControllerIsUsedWhenItHasOne) {
    Main().show();
    ASSERT_NE(m_pMainTransfer, nullptr);
    ShowWizard();
    EXPECT_FALSE(Assi().HasOwnTransfer());
    EXPECT_EQ(m_pOwnTransfer, nullptr);
    EXPECT_EQ(Assi().GetDataTransfer(), m_pMainTransfer);
    EXPECT_EQ(Doc().GetDataTransfer(), m_pMainTransfer);
}

// ---------------------------------------------------------------- welcome page

TEST_F(AssiTest, TheWelcomeBoxSwitchesTheStartAtOnceAndCancelKeepsIt) {
    ShowWizard();
    auto* check = Find<QCheckBox>(Assi().GetWorkPage(), "m_pCheck");
    EXPECT_FALSE(check->isChecked());
    check->click();
    EXPECT_FALSE(IsAssiMode());
    check->click();
    EXPECT_TRUE(IsAssiMode());
    check->click();
    Click("m_pCancelBtn");
    EXPECT_FALSE(IsAssiMode());
}

TEST_F(AssiTest, TheWelcomeBoxShowsTheSetting) {
    SetAssiMode(false);
    ShowWizard();
    EXPECT_TRUE(Find<QCheckBox>(Assi().GetWorkPage(), "m_pCheck")->isChecked());
}

// ---------------------------------------------------------------- layout and lamp

TEST_F(AssiTest, TheSmallestWindowSplitsTheFreeWidthTwoToOne) {
    ShowWizard();
    Assi().resize(TAssiMain::kMinWidth, TAssiMain::kMinHeight);
    QCoreApplication::processEvents();
    ASSERT_EQ(Assi().size(), QSize(TAssiMain::kMinWidth, TAssiMain::kMinHeight));
    auto* konfig = Assi().findChild<QWidget*>(QStringLiteral("m_pKonfigPanel"));
    auto* help = Assi().findChild<QWidget*>(QStringLiteral("m_pHelpPanel"));
    auto* control = Assi().findChild<QWidget*>(QStringLiteral("m_pControlPanel"));
    ASSERT_TRUE(konfig && help && control);
    // Free width 640 - 10 - 10 - 15 = 605; free height 400 - 10 - 40 - 40 - 30 = 280.
    EXPECT_EQ(konfig->geometry(), QRect(10, 40, 403, 280));
    EXPECT_EQ(help->geometry(), QRect(418, 40, 201, 280));
    EXPECT_EQ(control->geometry(), QRect(10, 325, 609, 40));
    EXPECT_EQ(Assi().GetWorkPage()->parentWidget(), konfig);
    EXPECT_EQ(Assi().GetHelpPage()->parentWidget(), help);
}

struct LampRow {
    const char* name;
    std::uint8_t typeIT;
    int port;
    TProgFlags flags;
    std::vector<int> images; // on three ticks
};
void PrintTo(const LampRow& r, std::ostream* os) {
    *os << r.name;
}

class AssiLamp : public AssiTest, public testing::WithParamInterface<LampRow> {};

TEST_P(AssiLamp, ShowsTheProgrammingState) {
    const LampRow& r = GetParam();
    ShowWizard();
    Doc().SetTypeIT(r.typeIT);
    SetComPort(r.port);
    m_pOwnTransfer->progFlags = r.flags;
    std::vector<int> images;
    for (int i = 0; i < 3; ++i) {
        Assi().OnTimer();
        images.push_back(Assi().GetStateImage());
    }
    EXPECT_EQ(images, r.images);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AssiLamp,
    testing::Values(LampRow{"NoLink", 2, 0, {true, false, false, false}, {0, 0, 0}},
                    LampRow{"Ready", 2, 1, {}, {1, 1, 1}},
                    LampRow{"BoxProgrammingBlinks", 2, 1, {true, false, false, false}, {2, 5, 2}},
                    LampRow{"SubscriberBlinks", 2, 5, {true, true, false, false}, {4, 5, 4}},
                    LampRow{"SubscriberWithVideo", 2, 5, {true, true, true, false}, {6, 5, 6}},
                    LampRow{"SwitchModuleWins", 2, 1, {true, true, true, true}, {3, 5, 3}},
                    LampRow{
                        "OtherDoorInterfaceDark", 1, 1, {true, false, false, false}, {5, 5, 5}}),
    [](const testing::TestParamInfo<LampRow>& info) { return std::string(info.param.name); });
