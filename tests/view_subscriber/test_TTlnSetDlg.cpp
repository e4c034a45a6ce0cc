// The call-button assignment dialog: the free-address list it reads when it
// shows, the two lists it builds from the document and that list, the
// instruction by programming state, a whole assignment with the box's
// acknowledgement written into the document, the cancel, and the
// programming results it shows.

#include "SubscriberFixture.h"

#include <ostream>

#include "SubscriberTextIds.h"
#include "TTlnSetDlg.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class TlnSetDlgTest : public SubscriberTest {
protected:
    void TearDown() override {
        m_pDlg.reset();
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        SubscriberTest::TearDown();
    }
    TTlnSetDlg* MakeDialog() {
        m_pDlg = std::make_unique<TTlnSetDlg>(nullptr, &m_Transfer, &Doc(), Res());
        // The main window forwards every result to the dialog that shows.
        Rig().forward = [this](std::uint32_t code, std::intptr_t w, std::intptr_t l) {
            if (m_pDlg)
                m_pDlg->Perform(code, w, l);
        };
        m_pDlg->show();
        return m_pDlg.get();
    }
    QComboBox* NewList() { return Find<QComboBox>(m_pDlg.get(), "m_pNewCombo"); }
    QComboBox* AgainList() { return Find<QComboBox>(m_pDlg.get(), "m_pAgainCombo"); }
    QPushButton* Assign() { return Find<QPushButton>(m_pDlg.get(), "m_pTlnZuordnenBtn"); }
    QPushButton* Cancel() { return Find<QPushButton>(m_pDlg.get(), "m_pTlnZuordnenCancelBtn"); }
    QPushButton* End() { return Find<QPushButton>(m_pDlg.get(), "Button2"); }
    QString ToDo() { return Find<QLabel>(m_pDlg.get(), "m_pToDoLabel")->text(); }
    static std::vector<std::string> Items(const QComboBox* list) {
        std::vector<std::string> out;
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->itemText(i).toStdString());
        return out;
    }
    std::string None() const { return Text(stxt::kNone).toStdString(); }
    // Box in programming mode with a unit in programming.
    void UnitReady(bool video = false) {
        Rig().BoxProgMode();
        Rig().BoxUnit(0x0030, video);
    }

    std::unique_ptr<TTlnSetDlg> m_pDlg;
};

TEST_F(TlnSetDlgTest, ShowingReadsTheFreeAddressListForTheSubscribersWaiting) {
    SetTln(0, "111");
    SetTln(1, "222");
    SetTln(2, "333", 0x0107, 7);
    SetTln(3, "", 0, 0);
    int counterDuringRun = -1;
    m_Transfer.duringRun = [&](int) { counterDuringRun = Rig().GetKBACounter(); };
    MakeDialog();
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{5});
    EXPECT_EQ(m_Transfer.infos[0], Res()->GetText(stxt::kKbaListInfo));
    EXPECT_EQ(counterDuringRun, 2);
    // Showing again does not read again.
    m_pDlg->hide();
    m_pDlg->show();
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{5});
}

TEST_F(TlnSetDlgTest, FirstAssignmentListHoldsAsManyAsThereAreFreeAddresses) {
    SetTln(0, "111");
    SetTln(1, "222");
    SetTln(2, "333");
    SetTln(3, "444", 0x0108, 8);
    m_Transfer.kbaList = {0x0105, 0x0106};
    MakeDialog();
    EXPECT_EQ(Items(NewList()), (std::vector<std::string>{None(), "111", "222"}));
    EXPECT_EQ(Items(AgainList()), (std::vector<std::string>{None(), "444"}));
    EXPECT_EQ(NewList()->currentIndex(), 1);
    EXPECT_EQ(AgainList()->currentIndex(), 0);
    EXPECT_EQ(m_pDlg->SelectedTln(), 0);
}

TEST_F(TlnSetDlgTest, WithoutFreeAddressesTheMultipleAssignmentIsChosen) {
    SetTln(0, "111");
    SetTln(5, "666", 0x0108, 8);
    MakeDialog();
    EXPECT_EQ(Items(NewList()), std::vector<std::string>{None()});
    EXPECT_EQ(AgainList()->currentIndex(), 1);
    EXPECT_EQ(m_pDlg->SelectedTln(), 5);
}

TEST_F(TlnSetDlgTest, WithNobodyToAssignAssignStaysOff) {
    UnitReady();
    MakeDialog();
    EXPECT_EQ(Items(NewList()), std::vector<std::string>{None()});
    EXPECT_EQ(Items(AgainList()), std::vector<std::string>{None()});
    EXPECT_EQ(m_pDlg->SelectedTln(), -1);
    EXPECT_FALSE(Assign()->isEnabled());
    EXPECT_FALSE(Cancel()->isEnabled());
}

TEST_F(TlnSetDlgTest, ChoosingInOneListClearsTheOther) {
    SetTln(0, "111");
    SetTln(1, "222", 0x0106, 6);
    m_Transfer.kbaList = {0x0105};
    MakeDialog();
    AgainList()->setCurrentIndex(1);
    m_pDlg->OnChangeAgain();
    EXPECT_EQ(NewList()->currentIndex(), 0);
    EXPECT_EQ(m_pDlg->SelectedTln(), 1);
    NewList()->setCurrentIndex(1);
    m_pDlg->OnChangeNew();
    EXPECT_EQ(AgainList()->currentIndex(), 0);
    EXPECT_EQ(m_pDlg->SelectedTln(), 0);
}

struct ToDoCase {
    const char* name;
    bool progMode;
    bool unit;
    int textId;
    bool assign;
};

void PrintTo(const ToDoCase& c, std::ostream* os) {
    *os << c.name;
}

class TlnSetDlgToDo : public TlnSetDlgTest, public testing::WithParamInterface<ToDoCase> {};

TEST_P(TlnSetDlgToDo, InstructionAndButtonFollowTheBox) {
    SetTln(0, "111", 0x0105, 5);
    if (GetParam().progMode)
        Rig().BoxProgMode();
    if (GetParam().unit)
        Rig().BoxUnit(0x0031, true);
    MakeDialog();
    EXPECT_EQ(ToDo(), Text(GetParam().textId));
    EXPECT_EQ(Assign()->isEnabled(), GetParam().assign);
    auto* unit = Find<QLabel>(m_pDlg.get(), "m_pBTLMLabel");
    auto* video = Find<QLabel>(m_pDlg.get(), "m_pVideoLabel");
    EXPECT_EQ(unit->text(), GetParam().unit ? "0x0031" : "");
    EXPECT_EQ(video->isVisible(), GetParam().unit);
}

INSTANTIATE_TEST_SUITE_P(Dialog, TlnSetDlgToDo,
                         testing::Values(ToDoCase{"Off", false, false, stxt::kToDoProgMode, false},
                                         ToDoCase{"ProgMode", true, false, stxt::kToDoUnit, false},
                                         ToDoCase{"Unit", true, true, stxt::kToDoChoose, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TlnSetDlgTest, AWholeFirstAssignmentWritesTheBoxsAddressesIntoTheDocument) {
    SetTln(0, "111");
    SetTln(1, "222", 0x0106, 6);
    m_Transfer.kbaList = {0x0105};
    UnitReady();
    MakeDialog();
    ASSERT_TRUE(Assign()->isEnabled());
    ClearSent();
    Assign()->click();
    EXPECT_EQ(SentCommands(), (std::vector<std::pair<int, int>>{{boxcmd::kHtProgAkt, 0x0105}}));
    EXPECT_EQ(ToDo(), Text(stxt::kPressKey));
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    // Waiting for the unit: assign off, cancel on.
    EXPECT_FALSE(Assign()->isEnabled());

    // The user pressed the call button; the box acknowledges.
    Rig().Box(boxcmd::kProgQuitt, 0x0015, 0x0030);
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0x0105);
    EXPECT_EQ(Doc().GetTlnLogAdr(0), 0x0015);
    EXPECT_EQ(Doc().GetTlnBusAdr(1), 0x0106);
    EXPECT_EQ(BoxIds(), std::vector<int>{stxt::kAssigned});
    EXPECT_EQ(m_Boxes[0].flags & mb::kIconMask, mb::kIconInformation);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The subscriber moved to the multiple assignment.
    EXPECT_EQ(Items(NewList()), std::vector<std::string>{None()});
    EXPECT_EQ(Items(AgainList()), (std::vector<std::string>{None(), "111", "222"}));
}

TEST_F(TlnSetDlgTest, TheAcknowledgedAddressGoesToTheSubscriberItWasGivenFor) {
    SetTln(0, "111");
    SetTln(1, "222", 0x0106, 6);
    m_Transfer.kbaList = {0x0105};
    UnitReady();
    MakeDialog();
    Assign()->click();
    // The user moves to the other list while the unit waits.
    AgainList()->setCurrentIndex(1);
    m_pDlg->OnChangeAgain();
    ASSERT_EQ(m_pDlg->SelectedTln(), 1);
    Rig().Box(boxcmd::kProgQuitt, 0x0105, 0x0030);
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0x0105);
    EXPECT_EQ(Doc().GetTlnBusAdr(1), 0x0106);
    EXPECT_EQ(Doc().GetTlnLogAdr(1), 6);
}

TEST_F(TlnSetDlgTest, AMultipleAssignmentReusesTheSubscribersAddress) {
    SetTln(3, "444", 0x0108, 8);
    UnitReady();
    MakeDialog();
    ClearSent();
    Assign()->click();
    EXPECT_EQ(SentCommands(), (std::vector<std::pair<int, int>>{{boxcmd::kHtProgAkt, 0x0108}}));
}

TEST_F(TlnSetDlgTest, CancellingEndsTheUnitsProgramming) {
    SetTln(0, "111");
    m_Transfer.kbaList = {0x0105};
    UnitReady();
    MakeDialog();
    Assign()->click();
    ASSERT_TRUE(Cancel()->isEnabled());
    ClearSent();
    Cancel()->click();
    ASSERT_FALSE(SentCommands().empty());
    EXPECT_EQ(SentCommands()[0].first, boxcmd::kHtProgPas);
    // The document keeps what it had.
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0);
}

TEST_F(TlnSetDlgTest, EndingClosesAndEmptiesTheLists) {
    SetTln(0, "111", 0x0105, 5);
    MakeDialog();
    Find<QPushButton>(m_pDlg.get(), "Button2")->click();
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(NewList()->count(), 0);
    EXPECT_EQ(AgainList()->count(), 0);
}

struct SetResult {
    const char* name;
    std::uint32_t msg;
    std::intptr_t lParam;
    int boxId; // 0 none; -1 the formatted text 412
    unsigned icon;
};

void PrintTo(const SetResult& c, std::ostream* os) {
    *os << c.name;
}

class TlnSetDlgResults : public TlnSetDlgTest, public testing::WithParamInterface<SetResult> {};

TEST_P(TlnSetDlgResults, ShowTheirBox) {
    const SetResult& c = GetParam();
    SetTln(0, "111");
    m_Transfer.kbaList = {0x0105};
    MakeDialog();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pDlg->Perform(c.msg, 0, c.lParam);
    if (c.boxId == 0) {
        EXPECT_TRUE(m_Boxes.empty());
        return;
    }
    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(m_Boxes[0].flags & mb::kIconMask, c.icon);
    EXPECT_EQ(m_Boxes[0].caption, Text(stxt::kCaption));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    if (c.boxId > 0)
        EXPECT_EQ(m_Boxes[0].textId, c.boxId);
    else
        EXPECT_EQ(m_Boxes[0].text,
                  Text(stxt::kProgErrorFmt).replace("%d", QString::number(c.lParam)));
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, TlnSetDlgResults,
    testing::Values(SetResult{"ProgFailed", PROG_FAILED, 0, 402, mb::kIconStop},
                    SetResult{"CancelFailed", CANCEL_FAILED, 0, 403, mb::kIconStop},
                    SetResult{"ProgQuitFailed", PROGQUIT_FAILED, 0, 405, mb::kIconStop},
                    SetResult{"ProgModeAktOk", PROGMODEAKT_OK, 0, 0, 0},
                    SetResult{"TlnProgAktOk", TLNPROGAKT_OK, 0, 0, 0},
                    SetResult{"TlnProgAktFailed", TLNPROGAKT_FAILED, 0, 407, mb::kIconStop},
                    SetResult{"Error1", TLNPROG_FEHLER, 1, 408, mb::kIconStop},
                    SetResult{"Error2", TLNPROG_FEHLER, 2, 409, mb::kIconStop},
                    SetResult{"Error3", TLNPROG_FEHLER, 3, 410, mb::kIconStop},
                    SetResult{"Error4", TLNPROG_FEHLER, 4, 411, mb::kIconStop},
                    SetResult{"Error7", TLNPROG_FEHLER, 7, -1, mb::kIconStop},
                    SetResult{"ProgPasOk", TLNPROG_PAS_OK, 0, 239, mb::kIconInformation},
                    SetResult{"SendFailed", SEND_FAILED, 0, 413, mb::kIconStop},
                    SetResult{"KbaListFailed", KBA_LIST_FAILED, 0, 414, mb::kIconStop},
                    SetResult{"KbaListEmpty", KBA_LIST_EMPTY, 0, 415, mb::kIconStop},
                    SetResult{"DelTlnFailedIsNotThisDialogs", DEL_TLN_FAILED, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TlnSetDlgTest, AnEmptyFreeListIsNoNewsWhenNobodyWaits) {
    SetTln(0, "111", 0x0105, 5);
    MakeDialog();
    m_pDlg->Perform(KBA_LIST_EMPTY, 0, 0);
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(TlnSetDlgTest, ABoxErrorFromTheLinkReachesTheDialog) {
    SetTln(0, "111");
    m_Transfer.kbaList = {0x0105};
    MakeDialog();
    Rig().Box(boxcmd::kItFehler, 0x0102, 0);
    EXPECT_FALSE(m_Boxes.empty());
}

// Ending the dialog while the unit waits for its call button: Esc, the
// close box and "beenden" (from the keyboard: the mouse is captured) leave
// it standing, so the box's acknowledgement still reaches the document;
// afterwards each ends it, and the arrow and the mouse come back.
enum class EndBy { kEsc, kCloseBox, kEndButton };

struct EndCase {
    const char* name;
    EndBy by;
};

void PrintTo(const EndCase& c, std::ostream* os) {
    *os << c.name;
}

class TlnSetDlgEnd : public TlnSetDlgTest, public testing::WithParamInterface<EndCase> {
protected:
    void EndDialog() {
        switch (GetParam().by) {
        case EndBy::kEsc:
            QTest::keyClick(m_pDlg.get(), Qt::Key_Escape);
            break;
        case EndBy::kCloseBox:
            m_pDlg->close();
            break;
        case EndBy::kEndButton:
            // Space on the focused button, as the keyboard presses it.
            if (End()->isEnabled()) {
                End()->setFocus();
                QTest::keyClick(End(), Qt::Key_Space);
            }
            break;
        }
    }
    // A first assignment of subscriber 0 that waits for the unit's button.
    void StartAssignment() {
        SetTln(0, "111");
        m_Transfer.kbaList = {0x0105};
        UnitReady();
        MakeDialog();
        ASSERT_TRUE(Assign()->isEnabled());
        Assign()->click();
        ASSERT_TRUE(m_pDlg->IsAssignmentWaiting());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        ASSERT_EQ(QWidget::mouseGrabber(), m_pDlg.get());
    }
};

TEST_P(TlnSetDlgEnd, WhileTheUnitWaitsTheDialogStays) {
    StartAssignment();
    EXPECT_FALSE(End()->isEnabled());
    EndDialog();
    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_NE(QApplication::overrideCursor(), nullptr) << "still waiting";

    Rig().Box(boxcmd::kProgQuitt, 0x0015, 0x0030);
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0x0105);
    EXPECT_EQ(Doc().GetTlnLogAdr(0), 0x0015);
    EXPECT_FALSE(m_pDlg->IsAssignmentWaiting());
    EXPECT_TRUE(End()->isEnabled());

    EndDialog();
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_P(TlnSetDlgEnd, AfterACancelTheDialogEndsAndGivesTheMouseBack) {
    StartAssignment();
    Cancel()->click();
    ASSERT_FALSE(m_pDlg->IsAssignmentWaiting());
    // The box has not yet confirmed the cancel: the hourglass is still on.
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EndDialog();
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0);
}

TEST_P(TlnSetDlgEnd, WithoutAnAssignmentTheDialogEnds) {
    SetTln(0, "111", 0x0105, 5);
    MakeDialog();
    EndDialog();
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(NewList()->count(), 0) << "ended as by beenden";
}

INSTANTIATE_TEST_SUITE_P(Dialog, TlnSetDlgEnd,
                         testing::Values(EndCase{"Esc", EndBy::kEsc},
                                         EndCase{"CloseBox", EndBy::kCloseBox},
                                         EndCase{"EndButton", EndBy::kEndButton}),
                         [](const auto& info) { return std::string(info.param.name); });

// A failed acknowledgement ends the wait as well: the dialog can then be
// left.
TEST_F(TlnSetDlgTest, AFailedAssignmentNoLongerHoldsTheDialog) {
    SetTln(0, "111");
    m_Transfer.kbaList = {0x0105};
    UnitReady();
    MakeDialog();
    Assign()->click();
    ASSERT_TRUE(m_pDlg->IsAssignmentWaiting());
    // An acknowledgement without an address.
    Rig().Box(boxcmd::kProgQuitt, 0, 0x0030);
    EXPECT_EQ(BoxIds(), std::vector<int>{stxt::kProgQuitFailed});
    EXPECT_FALSE(m_pDlg->IsAssignmentWaiting());
    QTest::keyClick(m_pDlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
