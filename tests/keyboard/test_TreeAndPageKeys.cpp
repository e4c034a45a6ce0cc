// The main window by keys: a node chosen in the tree by a click or a key
// leaves the focus in the tree, so that Down goes on walking the tree and
// never changes the box type; Tab enters the page on its first control and
// Shift+Tab goes back. Every grid is left with Tab and Shift+Tab; the
// subscriber grid's number cell shows its focus and passes Left and Right on
// at its ends. The devices page's stops run top left to bottom right, each
// radio group entered on its checked button.

#include "KeyFixture.h"

#include "TFormGeraete.h"
#include "TKonfigDlg.h"
#include "TMoxDocument.h"
#include "TRadioGroup.h"
#include "UserClicks.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

class TreeAndPageKeys : public KeyTest {
protected:
    QTreeWidget* Tree() {
        return Main().findChild<QTreeWidget*>(QStringLiteral("m_pKonfigTreeView"));
    }
    QTreeWidgetItem* ItemOf(std::uint8_t kind) {
        for (QTreeWidgetItemIterator it(Tree()); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toUInt() == kind)
                return *it;
        return nullptr;
    }
    void ClickNode(std::uint8_t kind) {
        QTreeWidgetItem* item = ItemOf(kind);
        ASSERT_NE(item, nullptr);
        Tree()->scrollToItem(item);
        ClickInWindow(Tree()->viewport(), Tree()->visualItemRect(item).center());
        ProcessEvents();
        ASSERT_EQ(Main().GetAktView()->GetKind(), kind);
    }
};

TEST_F(TreeAndPageKeys, DownAfterAClickOnTheDevicesNodeWalksTheTree) {
    ShowMain(2);
    Tree()->expandAll();
    ClickNode(eGeraeteliste);
    EXPECT_EQ(Focus(), Tree());
    Key(Qt::Key_Down);
    EXPECT_EQ(Focus(), Tree());
    EXPECT_NE(Main().GetAktView()->GetKind(), eGeraeteliste) << "Down moved in the tree";
    EXPECT_EQ(Doc().GetTypeIT(), 2);
}

TEST_F(TreeAndPageKeys, DownThroughTheTreeKeepsTheFocusThereAndTheTypes) {
    ShowMain(2);
    Tree()->setFocus(Qt::OtherFocusReason);
    Tree()->setCurrentItem(Tree()->topLevelItem(0));
    ProcessEvents();
    Tree()->expandAll();
    for (int i = 0; i < 3; ++i) {
        Key(Qt::Key_Down);
        EXPECT_EQ(Focus(), Tree()) << "after Down " << i + 1;
    }
    EXPECT_EQ(Doc().GetTypeIT(), 2);

    ChooseNodeByKeys(eGeraeteliste);
    auto* devices = dynamic_cast<TFormGeraete*>(Main().GetAktView());
    ASSERT_NE(devices, nullptr);
    auto* it = devices->findChild<TRadioGroup*>(QStringLiteral("m_pIT"));
    EXPECT_EQ(Focus(), Tree());
    Key(Qt::Key_Down);
    ChooseNodeByKeys(eGeraeteliste);
    EXPECT_EQ(Doc().GetTypeIT(), 2) << "a Down in the tree reached the type";

    // Tab enters the page on its first control, Shift+Tab goes back.
    devices = dynamic_cast<TFormGeraete*>(Main().GetAktView());
    it = devices->findChild<TRadioGroup*>(QStringLiteral("m_pIT"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focus(), it->Button(1));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), Tree());
}

TEST_F(TreeAndPageKeys, DevicesPageStopsRunTopLeftToBottomRightOnCheckedButtons) {
    ShowMain(2);
    ChooseNodeByKeys(eGeraeteliste);
    auto* page = Main().GetAktView();
    for (const char* name : {"m_pBSM", "m_pKMR", "m_pRAK"})
        page->findChild<TRadioGroup*>(QString::fromLatin1(name))->SetItemIndex(1);
    Key(Qt::Key_Tab);
    std::vector<std::string> names;
    for (QWidget* w : WalkTab(8))
        if (w && page->isAncestorOf(w))
            names.push_back(NameOf(w));
    // From the door interface's checked button on.
    EXPECT_EQ(names,
              (std::vector<std::string>{"m_pBSM_1", "m_pKMR_1", "m_pKMRKamera", "m_pRAK_1"}));
}

struct GridCase {
    const char* name;
    std::uint8_t kind;
    const char* grid;
    // The code pages' grids stand in the page-hosting dialog (and the
    // wizard), the tree shows the programming start pages.
    bool inDialog = false;
};

class GridKeys : public TreeAndPageKeys, public testing::WithParamInterface<GridCase> {};

TEST_P(GridKeys, TabAndShiftTabLeaveTheGrid) {
    const GridCase& c = GetParam();
    ShowMain(2, 2);
    StubTransfer transfer;
    std::unique_ptr<TKonfigDlg> dialog;
    QWidget* host = nullptr;
    if (c.inDialog) {
        dialog = std::make_unique<TKonfigDlg>(&Main(), false, &transfer, c.kind, Main().GetRes());
        dialog->show();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        ProcessEvents();
        host = dialog.get();
    } else {
        ChooseNodeByKeys(c.kind);
        host = Main().GetAktView();
    }
    auto* grid = host->findChild<QAbstractItemView*>(QString::fromLatin1(c.grid));
    ASSERT_NE(grid, nullptr);
    if (c.inDialog) {
        grid->setFocus(Qt::TabFocusReason);
        ProcessEvents();
    } else {
        Key(Qt::Key_Tab);
    }
    ASSERT_TRUE(InGrid(Focus(), grid)) << NameOf(Focus());
    // The arrows move between the cells.
    const QModelIndex before = grid->currentIndex();
    Key(Qt::Key_Down);
    EXPECT_EQ(grid->currentIndex().row(), before.row() + 1);
    Key(Qt::Key_Tab);
    EXPECT_FALSE(InGrid(Focus(), grid)) << "Tab stayed in the grid on " << NameOf(Focus());
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(InGrid(Focus(), grid)) << NameOf(Focus());
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(InGrid(Focus(), grid)) << "Shift+Tab stayed in the grid";
    if (!c.inDialog) {
        EXPECT_EQ(Focus(), Tree());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grids, GridKeys,
    testing::Values(GridCase{"Subscribers", eTlnKonfig, "m_pTlnGrid"},
                    GridCase{"SmsProviders", eSMS, "m_pProvGrid"},
                    GridCase{"SwitchCodes", eITSchaltcode, "m_pGrid", true},
                    GridCase{"SwitchModuleCodes", eBSMKonfig, "m_pGrid", true}),
    [](const testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

TEST_F(TreeAndPageKeys, SubscriberNumberCellShowsItsFocusAndPassesTheArrowsOn) {
    ShowMain(2);
    ChooseNodeByKeys(eTlnKonfig);
    auto* grid = Main().GetAktView()->findChild<QTableWidget*>(QStringLiteral("m_pTlnGrid"));
    ASSERT_NE(grid, nullptr);
    Key(Qt::Key_Tab);
    auto* editor = qobject_cast<QLineEdit*>(Focus());
    ASSERT_NE(editor, nullptr) << NameOf(Focus());
    EXPECT_EQ(grid->currentColumn(), 1);
    EXPECT_TRUE(editor->hasFrame()) << "the current cell looks like any other";
    Shot(grid, "subscriber-cell-focus");
    Type(QStringLiteral("12a3"));
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->currentColumn(), 1) << "Left inside the number moves the caret";
    Key(Qt::Key_End);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid->currentColumn(), 2) << "Right at the end reaches the video column";
    auto* video = grid->findChild<QComboBox*>(QStringLiteral("m_pVideoSelector"));
    EXPECT_EQ(Focus(), video);
    EXPECT_EQ(grid->item(grid->currentRow(), 1)->text(), QStringLiteral("123")) << "digits only";
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->currentColumn(), 1);
    auto* again = qobject_cast<QLineEdit*>(Focus());
    ASSERT_NE(again, nullptr);
    Key(Qt::Key_Home);
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->currentColumn(), 0) << "Left at the start reaches the first column";
}

} // namespace
