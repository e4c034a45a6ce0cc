// The programming start pages and the delay dialog: the check boxes and
// the direction they show, the link poll, and the transfer button's run:
// send first (with or without the bus addresses), wait, the save question,
// the programming dialog, and the send after it.

#include "CodeFixture.h"
#include "CodeTextIds.h"
#include "PermSettings.h"
#include "TDelayDlg.h"
#include "TFormBSMProg.h"
#include "TFormProgCode.h"
#include "TFormSchaltcodeProg.h"
#include "TFormTlnProg.h"
#include "TKonfigDlg.h"
#include "TTlnProgForm.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kTlnAdr = 0x0123;

struct StartCase {
    const char* name;
    std::uint8_t kind;
    bool lesenFixed;
    int dialogPage; // 0: the subscriber programming dialog
    bool reportsFinalSend;
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.name;
}

const StartCase kStarts[] = {
    {"Tln", eTlnAktProg, true, 0, false},
    {"Schaltcode", eITSchaltcode, false, TKonfigDlg::kPageSchaltcode, false},
    {"BSM", eBSMKonfig, false, TKonfigDlg::kPageBSM, true},
};

class StartTest : public CodeTest {
protected:
    void SetUp() override {
        CodeTest::SetUp();
        TFormProgStart::SetExecForTesting([this](QDialog& dlg) {
            if (auto* konfig = dynamic_cast<TKonfigDlg*>(&dlg)) {
                log.push_back("konfig " + std::to_string(konfig->GetPageNumber()));
                konfigReadBox = konfig->GetReadBox();
            } else if (dynamic_cast<TDelayDlg*>(&dlg)) {
                log.push_back("delay");
            } else if (dynamic_cast<TTlnProgForm*>(&dlg)) {
                log.push_back("tlnprog");
            } else {
                log.push_back("dialog");
            }
            log.push_back("runs " + std::to_string(m_Transfer.runs.size()));
            if (duringDialog)
                duringDialog(dlg);
            return dialogResult;
        });
        TFormProgStart::SetSaveForTesting([this] {
            log.push_back("save");
            return true;
        });
        TFormTlnProg::SetDialogMakerForTesting(
            [](TFormTlnProg& page) { return std::make_unique<QDialog>(&page); });
    }
    void TearDown() override {
        CodeTest::TearDown();
        TFormProgStart::SetExecForTesting({});
        TFormProgStart::SetSaveForTesting({});
        TFormTlnProg::SetDialogMakerForTesting({});
    }
    TFormProgStart* Make(std::uint8_t kind) {
        auto* page = dynamic_cast<TFormProgStart*>(MakePage(kind, kind));
        EXPECT_NE(page, nullptr);
        return page;
    }
    static QCheckBox* Box(QWidget* page, const char* name) { return Find<QCheckBox>(page, name); }
    static QCheckBox* Lesen(QWidget* page) { return Box(page, "m_pChkBox_KTX_lesen"); }
    static QCheckBox* Schreiben(QWidget* page) { return Box(page, "m_pChkBox_KTX_schreiben"); }
    static QCheckBox* BusAdr(QWidget* page) { return Box(page, "m_pChkBox_incl_BusAdressen"); }
    static QPushButton* TransferBtn(QWidget* page) {
        return Find<QPushButton>(page, "m_pTransferBtn");
    }
    static bool Shown(QWidget* page, const char* name) {
        return !Find<QLabel>(page, name)->isHidden();
    }
    static QString Direction(QWidget* page) { return Find<QLabel>(page, "m_pLabel_rw")->text(); }
    QString LinkLine(int id) const { return Text(id).trimmed() + QStringLiteral(" via LumenBus"); }

    std::vector<std::string> log;
    std::function<void(QDialog&)> duringDialog;
    int dialogResult = QDialog::Rejected;
    bool konfigReadBox = false;
};

class StartPage : public StartTest, public testing::WithParamInterface<StartCase> {};

} // namespace

TEST_P(StartPage, NeverReadConfigurationIsSentFirst) {
    Doc().SetReadFromBox(false);
    QWidget* page = Make(GetParam().kind);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(Schreiben(page)->isChecked());
    EXPECT_EQ(Lesen(page)->isChecked(), GetParam().lesenFixed);
    EXPECT_TRUE(Shown(page, "m_pImg_right"));
    EXPECT_FALSE(Shown(page, "m_pImg_left"));
    EXPECT_EQ(Direction(page), LinkLine(ctxt::kWriteLink));
    EXPECT_TRUE(BusAdr(page)->isEnabled());
    EXPECT_FALSE(BusAdr(page)->isChecked());
    EXPECT_FALSE(Shown(page, "m_pHinweis"));
    EXPECT_TRUE(TransferBtn(page)->isEnabled());

    // Sending the bus addresses shows the warning, and the choice is kept.
    BusAdr(page)->click();
    EXPECT_TRUE(Shown(page, "m_pHinweis"));
    EXPECT_TRUE(dynamic_cast<TFormProgStart*>(page)->GetRememberedBusAdr());
}

TEST_P(StartPage, ConfigurationReadFromTheBoxIsNotSentFirst) {
    Doc().SetReadFromBox(true);
    QWidget* page = Make(GetParam().kind);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(Schreiben(page)->isChecked());
    EXPECT_FALSE(Shown(page, "m_pImg_right"));
    EXPECT_FALSE(BusAdr(page)->isEnabled());
    if (GetParam().lesenFixed) {
        EXPECT_TRUE(Shown(page, "m_pImg_left"));
        EXPECT_EQ(Direction(page), LinkLine(ctxt::kReadLink));
    } else {
        EXPECT_FALSE(Shown(page, "m_pImg_left"));
        EXPECT_TRUE(Direction(page).isEmpty());
    }
}

TEST_P(StartPage, TransferButtonFollowsTheLink) {
    m_Transfer.linkUp = false;
    auto* page = Make(GetParam().kind);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(TransferBtn(page)->isEnabled());
    m_Transfer.linkUp = true;
    page->OnUpdateTimer();
    EXPECT_TRUE(TransferBtn(page)->isEnabled());
    EXPECT_TRUE(Find<QLabel>(page, "m_pToDoLabel")->text().isEmpty());
    m_Transfer.linkUp = false;
    page->OnUpdateTimer();
    EXPECT_FALSE(TransferBtn(page)->isEnabled());
}

TEST_P(StartPage, InstructionOnlyAfterTheDialogHasRun) {
    Doc().SetReadFromBox(true);
    auto* page = Make(GetParam().kind);
    ASSERT_NE(page, nullptr);
    m_Transfer.UnitInProg(0x0456, false);
    page->OnUpdateTimer();
    EXPECT_TRUE(Find<QLabel>(page, "m_pToDoLabel")->text().isEmpty());
    page->OnClickTransferBtn();
    EXPECT_TRUE(page->HasRun());
    page->OnUpdateTimer();
    const int id = GetParam().kind == eBSMKonfig ? ctxt::kBSMStillInProg : ctxt::kTlnStillInProg;
    EXPECT_EQ(Find<QLabel>(page, "m_pToDoLabel")->text(), Text(id));
}

TEST_P(StartPage, SendWaitDialogAndSendAgain) {
    PrepareDoc(kTlnAdr);
    Doc().SetReadFromBox(false);
    auto* page = Make(GetParam().kind);
    ASSERT_NE(page, nullptr);
    // The dialog changes the document and ends with OK.
    dialogResult = QDialog::Accepted;
    duringDialog = [this](QDialog& dlg) {
        if (!dynamic_cast<TDelayDlg*>(&dlg))
            Doc().SetSchaltcodeText(0, "changed");
    };
    TransferBtn(page)->click();
    const std::string dialog = GetParam().dialogPage
                                   ? "konfig " + std::to_string(GetParam().dialogPage)
                                   : std::string("dialog");
    // The subscriber page offers a never-read, modified document for
    // saving; the twins only before a read.
    std::vector<std::string> expected{"delay", "runs 1", dialog, "runs 1"};
    std::vector<int> boxes;
    if (GetParam().lesenFixed) {
        expected.insert(expected.begin() + 2, "save");
        boxes.push_back(ctxt::kSaveQuestion);
    }
    if (GetParam().reportsFinalSend)
        boxes.push_back(ctxt::kWriteOk);
    EXPECT_EQ(log, expected);
    EXPECT_EQ(m_Transfer.runs, (std::vector<int>{1, 1}));
    // The second send always carries the bus addresses.
    ASSERT_EQ(m_Transfer.ioTlnAdr.size(), 2u);
    EXPECT_EQ(m_Transfer.ioTlnAdr[1], 1);
    EXPECT_EQ(BoxIds(), boxes);
    EXPECT_EQ(TFormProgStart::GetRunningDialog(), nullptr);
}

TEST_P(StartPage, NoSecondSendAfterCancelOrWithoutChanges) {
    PrepareDoc(kTlnAdr);
    ASSERT_TRUE(Doc().WriteDocument((m_Dir / "clean.ktx").string().c_str(), false));
    ASSERT_FALSE(Doc().IsModified());
    Doc().SetReadFromBox(true);
    auto* page = Make(GetParam().kind);
    ASSERT_NE(page, nullptr);
    Schreiben(page)->setChecked(false);
    page->OnClickChkBox_KTX_schreiben();

    // OK, but nothing changed.
    dialogResult = QDialog::Accepted;
    page->OnClickTransferBtn();
    EXPECT_TRUE(m_Transfer.runs.empty());

    // Changed, but cancelled.
    dialogResult = QDialog::Rejected;
    duringDialog = [this](QDialog&) { Doc().SetSchaltcodeText(0, "changed"); };
    page->OnClickTransferBtn();
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(m_Transfer.runs.empty());
}

TEST_P(StartPage, FailedFirstSendStopsTheRun) {
    Doc().SetReadFromBox(false);
    auto* page = Make(GetParam().kind);
    ASSERT_NE(page, nullptr);
    m_Transfer.result = 2;
    page->OnClickTransferBtn();
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kWriteFailed}));
    EXPECT_EQ(m_Boxes[0].flags & mb::kIconMask, mb::kIconStop);
    EXPECT_TRUE(log.empty()); // no wait, no dialog
    EXPECT_FALSE(page->HasRun());
}

TEST_P(StartPage, FailedFinalSendIsReported) {
    PrepareDoc(kTlnAdr);
    Doc().SetReadFromBox(true);
    auto* page = Make(GetParam().kind);
    ASSERT_NE(page, nullptr);
    dialogResult = QDialog::Accepted;
    duringDialog = [this](QDialog&) {
        Doc().SetSchaltcodeText(0, "changed");
        m_Transfer.result = 2;
    };
    m_Answers[ctxt::kSaveQuestion] = mb::kIdNo;
    page->OnClickTransferBtn();
    EXPECT_EQ(BoxIds().back(), ctxt::kWriteFailed);
}

INSTANTIATE_TEST_SUITE_P(Pages, StartPage, testing::ValuesIn(kStarts),
                         [](const testing::TestParamInfo<StartCase>& info) {
                             return std::string(info.param.name);
                         });

// Which bus addresses the first send carries.
struct BusAdrCase {
    const char* name;
    std::uint8_t kind;
    std::uint8_t typeIT;
    bool boxChecked;
    int expectedFlag;
};

void PrintTo(const BusAdrCase& c, std::ostream* os) {
    *os << c.name;
}

class StartBusAdr : public StartTest, public testing::WithParamInterface<BusAdrCase> {};

TEST_P(StartBusAdr, FirstSendCarriesTheBusAddressesByTheRule) {
    const BusAdrCase& c = GetParam();
    Doc().SetTypeIT(c.typeIT);
    Doc().SetReadFromBox(false);
    auto* page = Make(c.kind);
    ASSERT_NE(page, nullptr);
    if (c.boxChecked)
        BusAdr(page)->click();
    ASSERT_EQ(BusAdr(page)->isChecked(), c.boxChecked);
    page->OnClickTransferBtn();
    ASSERT_FALSE(m_Transfer.ioTlnAdr.empty());
    EXPECT_EQ(m_Transfer.ioTlnAdr[0], c.expectedFlag);
}

const BusAdrCase kBusAdr[] = {
    {"TlnType1Unchecked", eTlnAktProg, 1, false, 1},
    {"TlnType3Unchecked", eTlnAktProg, 3, false, 1},
    {"TlnType2Unchecked", eTlnAktProg, 2, false, 0},
    {"TlnType2Checked", eTlnAktProg, 2, true, 1},
    {"SchaltcodeType2Unchecked", eITSchaltcode, 2, false, 0},
    {"BSMType2Checked", eBSMKonfig, 2, true, 1},
};

INSTANTIATE_TEST_SUITE_P(Rules, StartBusAdr, testing::ValuesIn(kBusAdr),
                         [](const testing::TestParamInfo<BusAdrCase>& info) {
                             return std::string(info.param.name);
                         });

// The check boxes of the twin pages.
class TwinBoxes : public StartTest, public testing::WithParamInterface<std::uint8_t> {};

TEST_P(TwinBoxes, ReadingAndWritingExcludeEachOther) {
    Doc().SetReadFromBox(false);
    QWidget* page = Make(GetParam());
    ASSERT_NE(page, nullptr);
    BusAdr(page)->click(); // remembered: send them
    ASSERT_TRUE(Schreiben(page)->isChecked());

    Lesen(page)->click();
    EXPECT_FALSE(Schreiben(page)->isChecked());
    EXPECT_TRUE(BusAdr(page)->isChecked());
    EXPECT_FALSE(BusAdr(page)->isEnabled());
    EXPECT_TRUE(Shown(page, "m_pImg_left"));
    EXPECT_FALSE(Shown(page, "m_pImg_right"));
    EXPECT_EQ(Direction(page), LinkLine(ctxt::kReadLink));
    EXPECT_FALSE(Shown(page, "m_pHinweis"));

    Schreiben(page)->click();
    EXPECT_FALSE(Lesen(page)->isChecked());
    EXPECT_TRUE(BusAdr(page)->isEnabled());
    EXPECT_TRUE(BusAdr(page)->isChecked()); // the remembered choice
    EXPECT_EQ(Direction(page), LinkLine(ctxt::kWriteLink));
    EXPECT_TRUE(Shown(page, "m_pHinweis"));

    Schreiben(page)->click();
    EXPECT_FALSE(BusAdr(page)->isEnabled());
    EXPECT_FALSE(Shown(page, "m_pImg_left"));
    EXPECT_FALSE(Shown(page, "m_pImg_right"));
    EXPECT_TRUE(Direction(page).isEmpty());
}

TEST_P(TwinBoxes, NeitherChosenRunsTheDialogAtOnce) {
    Doc().SetReadFromBox(true);
    Doc().SetSchaltcodeText(0, "modified");
    ASSERT_TRUE(Doc().IsModified());
    QWidget* page = Make(GetParam());
    ASSERT_NE(page, nullptr);
    ASSERT_FALSE(Lesen(page)->isChecked());
    ASSERT_FALSE(Schreiben(page)->isChecked());
    TransferBtn(page)->click();
    EXPECT_TRUE(m_Transfer.runs.empty());
    EXPECT_TRUE(m_Boxes.empty()); // no save question
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].rfind("konfig", 0), 0u);
    EXPECT_FALSE(konfigReadBox);
}

TEST_P(TwinBoxes, ReadingAsksToSaveAModifiedDocumentAndHandsTheReadOn) {
    Doc().SetReadFromBox(true);
    Doc().SetSchaltcodeText(0, "modified");
    QWidget* page = Make(GetParam());
    ASSERT_NE(page, nullptr);
    Lesen(page)->click();
    TransferBtn(page)->click();
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kSaveQuestion}));
    EXPECT_EQ(m_Boxes[0].flags, mb::kYesNo | mb::kIconQuestion);
    EXPECT_EQ(log.front(), "save");
    EXPECT_TRUE(konfigReadBox);

    // No: the document is not saved.
    log.clear();
    m_Boxes.clear();
    m_Answers[ctxt::kSaveQuestion] = mb::kIdNo;
    TransferBtn(page)->click();
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kSaveQuestion}));
    EXPECT_NE(log.front(), "save");
}

INSTANTIATE_TEST_SUITE_P(Pages, TwinBoxes, testing::Values(eITSchaltcode, eBSMKonfig),
                         [](const testing::TestParamInfo<std::uint8_t>& info) {
                             return info.param == eITSchaltcode ? std::string("Schaltcode")
                                                                : std::string("BSM");
                         });

TEST_F(StartTest, SubscriberPageAlwaysReads) {
    Doc().SetReadFromBox(false);
    QWidget* page = Make(eTlnAktProg);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(Lesen(page)->isChecked());
    EXPECT_FALSE(Lesen(page)->isEnabled());

    Schreiben(page)->click(); // cleared
    EXPECT_TRUE(Lesen(page)->isChecked());
    EXPECT_TRUE(BusAdr(page)->isChecked());
    EXPECT_FALSE(BusAdr(page)->isEnabled());
    EXPECT_TRUE(Shown(page, "m_pImg_left"));
    EXPECT_EQ(Direction(page), LinkLine(ctxt::kReadLink));

    Schreiben(page)->click(); // checked again: the remembered choice
    EXPECT_TRUE(Lesen(page)->isChecked());
    EXPECT_FALSE(BusAdr(page)->isChecked());
    EXPECT_TRUE(BusAdr(page)->isEnabled());
}

TEST_F(StartTest, SubscriberPageAsksToSaveOnlyWhileNeverRead) {
    Doc().SetSchaltcodeText(0, "modified");
    for (bool readFromBox : {false, true}) {
        SCOPED_TRACE(readFromBox);
        m_Boxes.clear();
        Doc().SetReadFromBox(readFromBox);
        auto* page = Make(eTlnAktProg);
        ASSERT_NE(page, nullptr);
        Schreiben(page)->setChecked(false);
        page->OnClickChkBox_KTX_schreiben();
        page->OnClickTransferBtn();
        EXPECT_EQ(BoxIds(),
                  readFromBox ? std::vector<int>{} : std::vector<int>{ctxt::kSaveQuestion});
    }
}

TEST_F(StartTest, SubscriberPageWaitsForAUnitStillInProgramming) {
    m_Transfer.UnitInProg(0x0456, false);
    QWidget* page = Make(eTlnAktProg);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Find<QLabel>(page, "m_pToDoLabel")->text(), Text(ctxt::kTlnStillInProg));
    EXPECT_FALSE(TransferBtn(page)->isEnabled());
}

TEST_F(StartTest, SubscriberPageRunsTheProgrammingDialog) {
    TFormTlnProg::SetDialogMakerForTesting({});
    PrepareDoc(kTlnAdr);
    Doc().SetReadFromBox(true);
    auto* page = Make(eTlnAktProg);
    ASSERT_NE(page, nullptr);
    Schreiben(page)->setChecked(false);
    page->OnClickChkBox_KTX_schreiben();
    page->OnClickTransferBtn();
    EXPECT_EQ(log.front(), "tlnprog");
}

TEST_F(StartTest, DeviceChangeInsideTheDialogRebuildsTheTreeAfterwards) {
    PrepareDoc(kTlnAdr);
    Doc().SetReadFromBox(true);
    auto* page = Make(eBSMKonfig);
    ASSERT_NE(page, nullptr);
    duringDialog = [this](QDialog&) { Doc().SetTypeBSM(0); };
    page->OnClickTransferBtn();
    // Not while the handler runs: the rebuild replaces the page.
    EXPECT_EQ(std::count(m_Host.log.begin(), m_Host.log.end(), "rebuild"), 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(std::count(m_Host.log.begin(), m_Host.log.end(), "rebuild"), 1);
}

TEST_F(StartTest, DelayDialogClosesOnItsTwentyFirstTick) {
    TDelayDlg dlg(nullptr, Res());
    dlg.open();
    auto* ok = Find<QPushButton>(&dlg, "m_pOK");
    EXPECT_EQ(Find<QLabel>(&dlg, "m_pLabel")->text(), Text(ctxt::kWait));
    for (int i = 1; i <= 20; ++i) {
        dlg.OnTimer();
        EXPECT_TRUE(dlg.isVisible()) << i;
        EXPECT_FALSE(ok->isEnabled()) << i;
        EXPECT_EQ(ok->text(), QString::number(i));
    }
    dlg.OnTimer();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(ok->isEnabled());
}

// Esc and the close box while the dialog waits: the box would be spoken to
// while it still takes the configuration over. The wait runs its 21 ticks.
TEST_F(StartTest, DelayDialogWaitsItsTicksThroughEscAndTheCloseBox) {
    TDelayDlg dlg(nullptr, Res());
    // The ticks are the test's, not the clock's.
    Find<QTimer>(&dlg, "DelayTimer")->stop();
    dlg.open();
    for (int i = 1; i <= TDelayDlg::kLastTick; ++i) {
        QTest::keyClick(&dlg, Qt::Key_Escape);
        EXPECT_TRUE(dlg.isVisible()) << "Esc before tick " << i;
        EXPECT_FALSE(dlg.close()) << "close box before tick " << i;
        EXPECT_TRUE(dlg.isVisible()) << "close box before tick " << i;
        dlg.OnTimer();
    }
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.GetCounter(), TDelayDlg::kLastTick);
    dlg.OnTimer();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}
