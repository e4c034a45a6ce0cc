// The subscriber programming dialog: the start (a read of the box's
// configuration once per document, then the free-address count), its
// failures, which rows may be chosen while free addresses are short, the
// address deletes and what they send, the buttons, the results it gives and
// the programming results it shows; and the same form embedded in the
// wizard.

#include "SubscriberFixture.h"

#include <ostream>

#include "PermSettings.h"
#include "SubscriberTextIds.h"
#include "TTlnProgForm.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

namespace {

class TlnProgFormTest : public SubscriberTest {
protected:
    void TearDown() override {
        m_pForm.reset();
        TTlnProgForm::SetSetDlgRunnerForTesting({});
        SubscriberTest::TearDown();
    }
    // The dialog, shown as exec() shows it, its timer run at once.
    TTlnProgForm* MakeDialog(bool runTimer = true) {
        m_pForm = std::make_unique<TTlnProgForm>(nullptr, &m_Transfer, nullptr, &Doc(), Res());
        m_pForm->show();
        if (runTimer)
            m_pForm->OnTimer();
        return m_pForm.get();
    }
    TTlnProgForm* MakeWizardPage(bool runTimer = true) {
        m_Holder = std::make_unique<TNodeData>(eAssistent);
        m_pForm =
            std::make_unique<TTlnProgForm>(Owner(), &m_Transfer, m_Holder.get(), &Doc(), Res());
        Owner()->show();
        if (runTimer)
            m_pForm->OnTimer();
        return m_pForm.get();
    }
    QTableWidget* Grid() { return Find<QTableWidget>(m_pForm.get(), "m_pTlnGrid"); }
    QPushButton* Button(const char* name) { return Find<QPushButton>(m_pForm.get(), name); }
    QString KbaLine() { return Find<QLabel>(m_pForm.get(), "m_pAnzKBALabel")->text(); }
    bool Closed() const { return !m_pForm->isVisible(); }

    std::unique_ptr<TNodeData> m_Holder;
    std::unique_ptr<TTlnProgForm> m_pForm;
};

TEST_F(TlnProgFormTest, FirstStartReadsTheBoxThenTheFreeAddressCount) {
    m_Transfer.readImage = ImageWithTypeIT(2);
    m_Transfer.kbaCount = 3;
    ASSERT_FALSE(Doc().IsReadFromBox());
    MakeDialog(false);
    EXPECT_TRUE(m_pForm->IsTimerActive());
    EXPECT_EQ(m_pForm->GetTimerMode(), 1);
    m_pForm->OnTimer();
    EXPECT_FALSE(m_pForm->IsTimerActive());
    EXPECT_EQ(m_Transfer.runs, (std::vector<int>{2, 6}));
    EXPECT_EQ(m_Transfer.infos.back(), Res()->GetText(stxt::kKbaCountInfo));
    EXPECT_TRUE(Doc().IsReadFromBox());
    EXPECT_EQ(m_Host.log, std::vector<std::string>{"update"});
    EXPECT_FALSE(Closed());
    EXPECT_TRUE(m_pForm->GetResultFlag());
    EXPECT_EQ(KbaLine(), Text(stxt::kKbaCountFmt).replace("%d", "3"));
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(TlnProgFormTest, AConfigurationReadBeforeIsNotReadAgain) {
    Doc().SetReadFromBox(true);
    SetTln(0, "0301", 0x0105, 0x05);
    Doc().SetTlnVideo(0, 1);
    MakeDialog();
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{6});
    EXPECT_EQ(Grid()->rowCount(), 31);
    EXPECT_EQ(Grid()->item(0, 1)->text(), "0301");
    EXPECT_EQ(Grid()->item(0, 2)->text(), Text(stxt::kYes));
    EXPECT_TRUE(Grid()->item(0, 0)->data(Qt::UserRole).toBool());
    EXPECT_FALSE(Grid()->item(1, 0)->data(Qt::UserRole).toBool());
}

struct StartFailure {
    const char* name;
    std::function<void(TMoxDocument&, FakeSubTransfer&, ProgRig&)> arrange;
    std::vector<int> boxes;
    std::vector<int> runs;
};

void PrintTo(const StartFailure& c, std::ostream* os) {
    *os << c.name;
}

class TlnProgFormStart : public TlnProgFormTest,
                         public testing::WithParamInterface<StartFailure> {};

TEST_P(TlnProgFormStart, EndsTheDialogWithResultTwo) {
    GetParam().arrange(Doc(), m_Transfer, Rig());
    MakeDialog();
    EXPECT_TRUE(Closed());
    EXPECT_EQ(m_pForm->result(), 2);
    EXPECT_EQ(BoxIds(), GetParam().boxes);
    EXPECT_EQ(m_Transfer.runs, GetParam().runs);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, TlnProgFormStart,
    testing::Values(StartFailure{"ReadFails",
                                 [](TMoxDocument&, FakeSubTransfer& t, ProgRig&) {
                                     t.results[2] = 2;
                                 },
                                 {stxt::kReadFailed},
                                 {2}},
                    StartFailure{"ReadBringsAnotherDoorInterface",
                                 [](TMoxDocument&, FakeSubTransfer& t, ProgRig&) {
                                     t.readImage = ImageWithTypeIT(1);
                                 },
                                 {stxt::kTypeChanged},
                                 {2}},
                    StartFailure{"UnitStillInProgramming",
                                 [](TMoxDocument& doc, FakeSubTransfer&, ProgRig& rig) {
                                     doc.SetReadFromBox(true);
                                     rig.BoxProgMode();
                                     rig.BoxUnit();
                                 },
                                 // The close reminds of the programming mode still on.
                                 {stxt::kUnitBusy, stxt::kStillProgMode},
                                 {}},
                    StartFailure{"CountNotRead",
                                 [](TMoxDocument& doc, FakeSubTransfer& t, ProgRig&) {
                                     doc.SetReadFromBox(true);
                                     t.results[6] = 2;
                                 },
                                 {},
                                 {6}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TlnProgFormTest, ATypeChangeByTheReadRebuildsTheTreeOnlyOnceTheDialogHasGone) {
    m_Transfer.readImage = ImageWithTypeIT(1);
    MakeDialog();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_Host.log, std::vector<std::string>{"update"});
    m_pForm.reset();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"update", "rebuild"}));
}

TEST_F(TlnProgFormTest, ExecRunsTheStartByItselfAndAnswersItsResult) {
    Doc().SetReadFromBox(true);
    m_Transfer.results[6] = 2;
    TTlnProgForm form(nullptr, &m_Transfer, nullptr, &Doc(), Res());
    // The start timer ends the dialog: the count could not be read.
    EXPECT_EQ(form.exec(), 2);
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{6});
}

TEST_F(TlnProgFormTest, ASecondTimerStartIsIgnored) {
    MakeDialog(false);
    m_pForm->StartTimer(2, 5000);
    EXPECT_EQ(m_pForm->GetTimerMode(), 1);
    m_pForm->StopTimer();
    m_pForm->StartTimer(2, 200);
    EXPECT_EQ(m_pForm->GetTimerMode(), 2);
}

// ---- Choosing rows while free addresses are short -----------------------------

TEST_F(TlnProgFormTest, AnEmptyRowWithoutAddressNeedsAFreeAddressLeft) {
    Doc().SetReadFromBox(true);
    m_Transfer.kbaCount = 1;
    SetTln(0, "111");            // waits for the one free address
    SetTln(1, "222", 0x0105, 5); // has its address
    MakeDialog();
    QTableWidget* grid = Grid();
    grid->setCurrentCell(1, 1);
    ASSERT_EQ(grid->currentRow(), 1);
    grid->setCurrentCell(2, 1);
    EXPECT_EQ(BoxIds(), std::vector<int>{stxt::kKbaListEmpty});
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_FALSE(m_pForm->Possible(2));

    // With a second address the row may take one.
    m_Boxes.clear();
    Rig().SetKBACounter(2);
    EXPECT_TRUE(m_pForm->Possible(2));
    grid->setCurrentCell(2, 1);
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(grid->currentRow(), 2);
}

TEST_F(TlnProgFormTest, NoCellMayBeChosenWhileAnAddressWaitsForItsAcknowledgement) {
    Doc().SetReadFromBox(true);
    SetTln(0, "111");
    SetTln(1, "222", 0x0105, 5);
    MakeDialog();
    Grid()->setCurrentCell(1, 1);
    Rig().BoxProgMode();
    Rig().BoxUnit();
    auto port = Rig().MakePort();
    port->SetTlnAdr(0x0105);
    port->InitiateProgAkt();
    ASSERT_TRUE(port->IsProgTlnAktiv());
    Grid()->setCurrentCell(0, 1);
    EXPECT_EQ(Grid()->currentRow(), 1);
}

TEST_F(TlnProgFormTest, VideoChoiceAndNumbersAreStoredOnClose) {
    Doc().SetReadFromBox(true);
    SetTln(0, "111");
    MakeDialog();
    Grid()->item(0, 1)->setText("12a3");
    EXPECT_EQ(Grid()->item(0, 1)->text(), "123");
    Grid()->item(1, 1)->setText("1234567890123456789012345");
    EXPECT_EQ(Grid()->item(1, 1)->text(), "12345678901234567890");
    Grid()->setCurrentCell(0, 2);
    auto* selector = Find<QComboBox>(m_pForm.get(), "m_pVideoSelector");
    ASSERT_TRUE(selector->isVisible());
    selector->setCurrentIndex(1);
    Button("m_pCloseButton")->click();
    EXPECT_TRUE(Closed());
    EXPECT_EQ(RnrOf(0), "123");
    EXPECT_EQ(RnrOf(1), "12345678901234567890");
    EXPECT_EQ(Doc().GetTlnVideo(0), 1);
}

// ---- Deleting addresses -------------------------------------------------------

TEST_F(TlnProgFormTest, DeletingARowWithoutBusAddressDoesNothing) {
    Doc().SetReadFromBox(true);
    SetTln(0, "111");
    MakeDialog();
    Grid()->setCurrentCell(0, 0);
    ClearSent();
    m_pForm->OnDelTln();
    EXPECT_TRUE(SentCommands().empty());
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{6});
    EXPECT_FALSE(m_pForm->GetChangedFlag());
}

TEST_F(TlnProgFormTest, DeletingARowFreesItsAddressInTheBoxAndTheDocument) {
    Doc().SetReadFromBox(true);
    SetTln(0, "111", 0x0105, 0x05);
    SetTln(1, "222", 0x0106, 0x06);
    m_Transfer.kbaCount = 0;
    MakeDialog();
    Grid()->setCurrentCell(0, 0);
    EXPECT_TRUE(Button("m_pTlnLoeschenBtn")->isEnabled());
    ClearSent();
    m_Transfer.kbaCount = 1;
    Button("m_pTlnLoeschenBtn")->click();
    EXPECT_EQ(SentCommands(), (std::vector<std::pair<int, int>>{{boxcmd::kTlnAdrClear, 0x0105}}));
    EXPECT_EQ(Rig().KBAList(), std::vector<std::uint16_t>{0x0105});
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0);
    EXPECT_EQ(Doc().GetTlnLogAdr(0), 0);
    EXPECT_EQ(RnrOf(0), "111");
    EXPECT_EQ(Doc().GetTlnBusAdr(1), 0x0106);
    EXPECT_EQ(m_Transfer.runs, (std::vector<int>{6, 6}));
    EXPECT_EQ(KbaLine(), Text(stxt::kKbaCountFmt).replace("%d", "1"));
    EXPECT_TRUE(m_pForm->GetChangedFlag());
    EXPECT_FALSE(Button("m_pTlnLoeschenBtn")->isEnabled());
}

TEST_F(TlnProgFormTest, DeletingAllFreesEveryAddressAndKeepsTheNumbersOnClose) {
    Doc().SetReadFromBox(true);
    SetTln(0, "111", 0x0105, 0x05);
    SetTln(4, "555", 0x0109, 0x09);
    MakeDialog();
    EXPECT_TRUE(Button("m_pAllTlnLoeschenBtn")->isEnabled());
    ClearSent();
    Button("m_pAllTlnLoeschenBtn")->click();
    ASSERT_EQ(SentCommands().size(), 1u);
    EXPECT_EQ(SentCommands()[0].first, boxcmd::kAllTlnAdrClear);
    EXPECT_EQ(Rig().KBAList(), (std::vector<std::uint16_t>{0x0105, 0x0109}));
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0);
    EXPECT_EQ(Doc().GetTlnBusAdr(4), 0);
    EXPECT_FALSE(Button("m_pAllTlnLoeschenBtn")->isEnabled());
    // Only the addresses went: the grid still holds the numbers and stores
    // them again.
    Button("m_pCloseButton")->click();
    EXPECT_EQ(m_pForm->result(), 1);
    EXPECT_EQ(RnrOf(0), "111");
    EXPECT_EQ(RnrOf(4), "555");
}

TEST_F(TlnProgFormTest, DeleteAllIsOfferedWhenOnlyTheLastSubscriberIsProgrammed) {
    Doc().SetReadFromBox(true);
    SetTln(30, "999", 0x0120, 0x20);
    MakeDialog();
    EXPECT_TRUE(Button("m_pAllTlnLoeschenBtn")->isEnabled());
    SetTln(30, "999");
    m_pForm->UpdateButtons();
    EXPECT_FALSE(Button("m_pAllTlnLoeschenBtn")->isEnabled());
}

// ---- Closing ------------------------------------------------------------------

TEST_F(TlnProgFormTest, ClosingBeforeAnythingChangedGivesResultTwo) {
    Doc().SetReadFromBox(true);
    MakeDialog();
    Button("m_pCloseButton")->click();
    EXPECT_TRUE(Closed());
    EXPECT_EQ(m_pForm->result(), 2);
}

// Esc, and the window's close box, act as the close button: result 2 (the
// programming start page then sends nothing) unless an address was deleted.
struct EscCase {
    const char* name;
    bool closeBox;
    bool deleteFirst;
    int result;
};

void PrintTo(const EscCase& c, std::ostream* os) {
    *os << c.name;
}

class TlnProgFormEsc : public TlnProgFormTest, public testing::WithParamInterface<EscCase> {};

TEST_P(TlnProgFormEsc, ActsAsTheCloseButton) {
    const EscCase& c = GetParam();
    Doc().SetReadFromBox(true);
    SetTln(0, "111", 0x0105, 0x05);
    MakeDialog();
    if (c.deleteFirst) {
        Grid()->setCurrentCell(0, 0);
        Button("m_pTlnLoeschenBtn")->click();
        ASSERT_TRUE(m_pForm->GetChangedFlag());
    }
    if (c.closeBox)
        m_pForm->close();
    else
        QTest::keyClick(Grid(), Qt::Key_Escape);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(m_pForm->result(), c.result);
}

INSTANTIATE_TEST_SUITE_P(Keys, TlnProgFormEsc,
                         testing::Values(EscCase{"EscUnchanged", false, false, 2},
                                         EscCase{"EscAfterADelete", false, true, 1},
                                         EscCase{"CloseBoxUnchanged", true, false, 2},
                                         EscCase{"CloseBoxAfterADelete", true, true, 1}),
                         [](const testing::TestParamInfo<EscCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(TlnProgFormTest, EscInTheWizardLeavesThePageStanding) {
    m_Transfer.kbaCount = 2;
    MakeWizardPage();
    QTest::keyClick(Grid(), Qt::Key_Escape);
    EXPECT_TRUE(m_pForm->isVisible());
}

TEST_F(TlnProgFormTest, ClosingWhileTheBoxIsInProgrammingModeSaysSo) {
    Doc().SetReadFromBox(true);
    MakeDialog();
    Rig().BoxProgMode();
    m_pForm->reject();
    EXPECT_EQ(BoxIds(), std::vector<int>{stxt::kStillProgMode});
    EXPECT_EQ(m_Boxes[0].flags & mb::kIconMask, mb::kIconInformation);
    EXPECT_TRUE(Closed());
}

TEST_F(TlnProgFormTest, AssigningStoresTheGridRunsTheAssignmentAndEndsWithResultOne) {
    Doc().SetReadFromBox(true);
    m_Transfer.kbaCount = 4;
    MakeDialog();
    Grid()->item(2, 1)->setText("4711");
    int ran = 0;
    TTlnProgForm::SetSetDlgRunnerForTesting([&](TTlnProgForm& parent) {
        ++ran;
        EXPECT_EQ(&parent, m_pForm.get());
        // The assignment sees the grid's numbers and no stale count.
        EXPECT_EQ(RnrOf(2), "4711");
        EXPECT_EQ(Rig().GetKBACounter(), 0);
        Rig().SetKBACounter(7);
        // The assignment shows the failures it gets; this dialog does not
        // show them a second time.
        m_pForm->Perform(SEND_FAILED, 0, 0);
        EXPECT_TRUE(m_Boxes.empty());
    });
    Button("m_pTlnZuordnenBtn")->click();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(Rig().GetKBACounter(), 0);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(m_pForm->result(), 1);
}

// ---- Programming results ------------------------------------------------------

struct FormResult {
    const char* name;
    std::uint32_t msg;
    int boxId; // 0: none
    bool closes;
};

void PrintTo(const FormResult& c, std::ostream* os) {
    *os << c.name;
}

class TlnProgFormResults : public TlnProgFormTest,
                           public testing::WithParamInterface<FormResult> {};

TEST_P(TlnProgFormResults, ShowTheirBox) {
    Doc().SetReadFromBox(true);
    MakeDialog();
    m_pForm->Perform(GetParam().msg, 0, 0);
    if (GetParam().boxId) {
        ASSERT_EQ(m_Boxes.size(), 1u);
        EXPECT_EQ(m_Boxes[0].textId, GetParam().boxId);
        EXPECT_EQ(m_Boxes[0].flags & mb::kIconMask, mb::kIconStop);
        EXPECT_EQ(m_Boxes[0].caption, Text(stxt::kCaption));
    } else {
        EXPECT_TRUE(m_Boxes.empty());
    }
    EXPECT_EQ(Closed(), GetParam().closes);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, TlnProgFormResults,
    testing::Values(FormResult{"DelTlnFailed", DEL_TLN_FAILED, 401, false},
                    FormResult{"TlnProgAktFailed", TLNPROGAKT_FAILED, 407, false},
                    FormResult{"SendFailed", SEND_FAILED, 413, false},
                    FormResult{"KbaCountFailed", KBA_COUNT_FAILED, 417, true},
                    FormResult{"ProgFailedIsNotThisDialogs", PROG_FAILED, 0, false},
                    FormResult{"KbaCountRefreshes", KBA_COUNT, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TlnProgFormTest, AHiddenDialogIgnoresResults) {
    Doc().SetReadFromBox(true);
    MakeDialog();
    m_pForm->hide();
    m_pForm->Perform(DEL_TLN_FAILED, 0, 0);
    EXPECT_TRUE(m_Boxes.empty());
}

// ---- In the wizard -------------------------------------------------------------

TEST_F(TlnProgFormTest, InTheWizardItFillsItsHostAndOnlyAsksForTheCount) {
    SetTln(0, "0301");
    m_Transfer.kbaCount = 2;
    MakeWizardPage(false);
    EXPECT_TRUE(m_pForm->IsWizardPage());
    EXPECT_EQ(m_pForm->GetTimerMode(), 2);
    EXPECT_TRUE(m_pForm->isVisible());
    EXPECT_FALSE(Button("m_pCloseButton")->isVisible());
    EXPECT_EQ(Grid()->item(0, 1)->text(), "0301");
    m_pForm->OnTimer();
    // Even with the read-from-box flag clear: the wizard has its own order.
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{6});
    EXPECT_EQ(KbaLine(), Text(stxt::kKbaCountFmt).replace("%d", "2"));

    Grid()->item(0, 1)->setText("0302");
    m_pForm->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(RnrOf(0), "0302");
}

TEST_F(TlnProgFormTest, InTheWizardAFailedCountLeavesThePageStandingAndStored) {
    m_Transfer.results[6] = 2;
    MakeWizardPage(false);
    Grid()->item(0, 1)->setText("77");
    m_pForm->OnTimer();
    EXPECT_TRUE(m_pForm->isVisible());
    EXPECT_FALSE(m_pForm->GetResultFlag());
    EXPECT_EQ(RnrOf(0), "77");
}

// ---- Columns ------------------------------------------------------------------

// Each column is as wide as its header and its widest cell need in the
// language shown ("Teilnehmer" showed as "eilnehme"), the video selector
// fits over its cell, and the grid holds every column without a
// horizontal scroll bar, as a dialog and as the wizard's page.
struct ColumnCase {
    int sprache;
    bool wizard;
};

class TlnProgFormColumns : public TlnProgFormTest,
                           public testing::WithParamInterface<ColumnCase> {
protected:
    void ChooseSettings() override { SetPermSprache(GetParam().sprache); }
};

TEST_P(TlnProgFormColumns, FitTheirHeadersAndCells) {
    Doc().SetReadFromBox(true);
    SetTln(0, "01234567890123456789");
    Doc().SetTlnVideo(1, 1);
    if (GetParam().wizard) {
        Owner()->resize(470, 380);
        MakeWizardPage();
    } else {
        MakeDialog();
    }
    QCoreApplication::sendPostedEvents();
    QTableWidget* grid = Grid();
    const QHeaderView* header = grid->horizontalHeader();
    const QFontMetrics fm = header->fontMetrics();
    const QAbstractItemView* cells = grid;
    for (int c = 0; c < grid->columnCount(); ++c) {
        const QString text = grid->horizontalHeaderItem(c)->text();
        ASSERT_FALSE(text.isEmpty()) << c;
        EXPECT_GE(header->sectionSize(c), fm.horizontalAdvance(text)) << text.toStdString();
        EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c)) << text.toStdString();
        EXPECT_GE(grid->columnWidth(c), cells->sizeHintForColumn(c)) << text.toStdString();
    }
    auto* selector = Find<QComboBox>(m_pForm.get(), "m_pVideoSelector");
    EXPECT_GE(grid->columnWidth(2), selector->sizeHint().width());
    // The last column ends inside the grid's viewport.
    EXPECT_LE(header->sectionViewportPosition(2) + header->sectionSize(2),
              grid->viewport()->width());
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    // And the grid inside the form.
    EXPECT_LE(grid->mapTo(m_pForm.get(), QPoint(grid->width(), 0)).x(), m_pForm->width());
}

INSTANTIATE_TEST_SUITE_P(Languages, TlnProgFormColumns,
                         testing::Values(ColumnCase{1, false}, ColumnCase{2, false},
                                         ColumnCase{3, false}, ColumnCase{4, false},
                                         ColumnCase{5, false}, ColumnCase{6, false},
                                         ColumnCase{3, true}, ColumnCase{6, true}),
                         [](const testing::TestParamInfo<ColumnCase>& info) {
                             return "Language" + std::to_string(info.param.sprache) +
                                    (info.param.wizard ? "Wizard" : "Dialog");
                         });

TEST_F(TlnProgFormTest, TabAndShiftTabLeaveTheGridFromItsCellsAndItsVideoList) {
    MakeDialog(false);
    ASSERT_TRUE(m_pForm->isVisible());
    m_pForm->activateWindow();
    QApplication::setActiveWindow(m_pForm.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pForm.get()));
    QTableWidget* grid = Grid();
    auto inGrid = [grid] {
        QWidget* f = QApplication::focusWidget();
        return f && (f == grid || grid->isAncestorOf(f));
    };
    auto key = [](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k), m);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    };
    for (int column : {1, 2}) {
        grid->setFocus(Qt::TabFocusReason);
        grid->setCurrentCell(0, column);
        QCoreApplication::processEvents();
        ASSERT_TRUE(inGrid()) << "column " << column;
        key(Qt::Key_Tab);
        EXPECT_FALSE(inGrid()) << "Tab stayed in the grid, column " << column;
        grid->setFocus(Qt::TabFocusReason);
        grid->setCurrentCell(0, column);
        QCoreApplication::processEvents();
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_FALSE(inGrid()) << "Shift+Tab stayed in the grid, column " << column;
    }
}

} // namespace
