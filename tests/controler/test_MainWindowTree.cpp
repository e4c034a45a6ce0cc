// The tree in the main window: nodes from the document and the mode, a
// selection opens the page of its kind once, unknown pages open the base,
// rebuilds drop the page without storing it, and rebuilds asked for from
// inside a page's operation wait until it has returned.

#include "MainWindowFixture.h"

#include "PermSettings.h"
#include "TKonfigTreeBuilder.h"
#include "TMoxDocument.h"
#include "TNodeData.h"
#include "TkResourcen.h"
#include "UserClicks.h"
#include "WindowMessages.h"

#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <string>

namespace {

std::vector<std::pair<int, QString>> TreeNodes(TMoxMain& main) {
    std::vector<std::pair<int, QString>> nodes;
    auto* tree = main.findChild<QTreeWidget*>(QStringLiteral("m_pKonfigTreeView"));
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        nodes.emplace_back((*it)->data(0, Qt::UserRole).toInt(), (*it)->text(0));
    return nodes;
}

TEST_F(MainWindowTest, TreeShowsTheBuildersNodesWithTheirCaptions) {
    MakeWindow(2, true);
    TMoxDocument* doc = Main().GetDoc();
    const auto nodes = TKonfigTreeBuilder::Build(
        {doc->GetTypeIT(), doc->GetTypeKMR(), doc->GetTypeRAK(), doc->GetTypeBSM(), 2, true});
    const auto shown = TreeNodes(Main());
    ASSERT_EQ(shown.size(), nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(shown[i].first, nodes[i].kind);
        EXPECT_EQ(shown[i].second, Main().GetRes()->GetQText(nodes[i].captionId));
    }
}

TEST_F(MainWindowTest, FirstNodeIsSelectedAfterARebuild) {
    MakeWindow();
    EXPECT_EQ(Main().GetNodeKind(), eProjectKonf);
    ASSERT_NE(Main().GetAktView(), nullptr);
}

TEST_F(MainWindowTest, NodeWithoutItsPageOpensTheBasePage) {
    MakeWindow();
    ASSERT_TRUE(Select(eKTXKonfig));
    ASSERT_NE(Main().GetAktView(), nullptr);
    EXPECT_EQ(Main().GetAktView()->GetKind(), eKTXKonfig);
    EXPECT_STREQ(Main().GetAktView()->metaObject()->className(), "TDataView");
    EXPECT_TRUE(Main().GetAktView()->IsAlignClient());
    EXPECT_TRUE(Main().GetAktView()->isVisible());
}

TEST_F(MainWindowTest, SelectingTheOpenPageAgainKeepsIt) {
    RegisterRecordingPage(eSystemKonfig);
    MakeWindow();
    ASSERT_TRUE(Select(eSystemKonfig));
    TDataView* page = Main().GetAktView();
    RecordingPage::s_Log.clear();
    ASSERT_TRUE(Select(eSystemKonfig));
    EXPECT_EQ(Main().GetAktView(), page);
    EXPECT_TRUE(RecordingPage::s_Log.empty());
}

TEST_F(MainWindowTest, RebuildDropsThePageWithoutStoringIt) {
    RegisterRecordingPage(eSystemKonfig);
    MakeWindow();
    ASSERT_TRUE(Select(eSystemKonfig));
    AktPage()->value = 199;
    RecordingPage::s_Log.clear();
    Main().BuildKonfigTree();
    for (const auto& line : RecordingPage::s_Log)
        EXPECT_NE(line, "save 28");
    EXPECT_NE(Main().GetDoc()->GetTuerrufdauer(), 199);
}

TEST_F(MainWindowTest, ReadFromTheBoxIsNotOverwrittenByTheOldPage) {
    // The page is stored before the read; the read replaces the
    // configuration and, with new device types, rebuilds the tree. A page
    // that stored itself again on the way out would put its stale value
    // into the configuration just read.
    RegisterRecordingPage(eSystemKonfig);
    MakeWindow();
    ASSERT_TRUE(Select(eSystemKonfig));
    AktPage()->value = 155;
    Answer(1005, mb::kIdNo);
    Transfer().readImage = ImageWithTypes(3, 1);
    Main().OnReadBox();
    ASSERT_EQ(Main().GetDoc()->GetTypeKMR(), 1);
    EXPECT_NE(Main().GetDoc()->GetTuerrufdauer(), 155);
}

TEST_F(MainWindowTest, RebuildAskedForInsideAPageOperationWaits) {
    RegisterRecordingPage(eSystemKonfig);
    MakeWindow();
    ASSERT_TRUE(Select(eSystemKonfig));
    RecordingPage* page = AktPage();
    bool aliveAfter = false;
    page->onOpen = [this, &aliveAfter](RecordingPage& self) {
        Main().BuildKonfigTree();
        Main().Perform(WM_UPDATE_TREE, 0, 0);
        // Still this page: nothing was destroyed under its handler.
        aliveAfter = Main().GetAktView() == &self;
    };
    page->Perform(WM_OPEN, -1, -1);
    EXPECT_TRUE(aliveAfter);
    ProcessEvents();
    Main().FlushTreeChange();
    // The rebuild ran afterwards and the same kind is shown again.
    EXPECT_NE(Main().GetAktView(), nullptr);
    EXPECT_EQ(Main().GetNodeKind(), eSystemKonfig);
}

TEST_F(MainWindowTest, LeavingAPageThatAsksForARebuildLandsOnTheNodeClicked) {
    // The devices page asks for a rebuild as it stores itself on the way
    // out; the user clicked another node, and that node is where the
    // rebuilt tree must stand, not the page just left.
    RegisterRecordingPage(eGeraeteliste);
    RegisterRecordingPage(eSystemKonfig);
    MakeWindow();
    ASSERT_TRUE(Select(eGeraeteliste));
    AktPage()->onSave = [this](RecordingPage&) { Main().Perform(WM_UPDATE_TREE, 0, 0); };
    ASSERT_TRUE(Select(eSystemKonfig));
    ProcessEvents();
    Main().FlushTreeChange();
    EXPECT_EQ(Main().GetNodeKind(), eSystemKonfig);
    ASSERT_NE(Main().GetAktView(), nullptr);
    EXPECT_EQ(Main().GetAktView()->GetKind(), eSystemKonfig);
}

// A page that refuses to be left keeps the tree on its node: by a click,
// a key or a right click on another node, the current node and the
// highlighted one stay the page's.
struct RefusedLeaveCase {
    const char* name;
    std::function<void(QTreeWidget&, QTreeWidgetItem&)> leave;
};

class MainWindowRefusedLeave : public MainWindowTest,
                               public testing::WithParamInterface<RefusedLeaveCase> {};

TEST_P(MainWindowRefusedLeave, TheTreeStaysOnThePageShown) {
    RegisterRecordingPage(eSystemKonfig);
    MakeWindow();
    auto* tree = Main().findChild<QTreeWidget*>(QStringLiteral("m_pKonfigTreeView"));
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    ASSERT_TRUE(Select(eSystemKonfig));
    QTreeWidgetItem* shown = tree->currentItem();
    TDataView* page = Main().GetAktView();
    AktPage()->refuseClose = true;
    QTreeWidgetItem* other =
        tree->itemBelow(shown) ? tree->itemBelow(shown) : tree->itemAbove(shown);
    ASSERT_NE(other, nullptr);

    GetParam().leave(*tree, *other);
    ProcessEvents();
    Main().FlushTreeChange();
    ProcessEvents();
    EXPECT_EQ(Main().GetAktView(), page);
    EXPECT_EQ(Main().GetNodeKind(), eSystemKonfig);
    EXPECT_EQ(tree->currentItem(), shown);
    EXPECT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>{shown});

    // Once the page agrees, the same click moves on.
    AktPage()->refuseClose = false;
    GetParam().leave(*tree, *other);
    ProcessEvents();
    Main().FlushTreeChange();
    EXPECT_EQ(tree->currentItem(), other);
    EXPECT_NE(Main().GetNodeKind(), eSystemKonfig);
}

void ClickNode(QTreeWidget& tree, QTreeWidgetItem& item, Qt::MouseButton button) {
    tree.scrollToItem(&item);
    ClickInWindow(tree.viewport(), tree.visualItemRect(&item).center(), button);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, MainWindowRefusedLeave,
    testing::Values(RefusedLeaveCase{"Click",
                                     [](QTreeWidget& t, QTreeWidgetItem& i) {
                                         ClickNode(t, i, Qt::LeftButton);
                                     }},
                    RefusedLeaveCase{"RightClick",
                                     [](QTreeWidget& t, QTreeWidgetItem& i) {
                                         ClickNode(t, i, Qt::RightButton);
                                     }},
                    RefusedLeaveCase{"Key",
                                     [](QTreeWidget& t, QTreeWidgetItem& i) {
                                         t.setFocus();
                                         const bool below = t.itemBelow(t.currentItem()) == &i;
                                         QTest::keyClick(&t, below ? Qt::Key_Down : Qt::Key_Up);
                                     }}),
    [](const testing::TestParamInfo<RefusedLeaveCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(MainWindowTest, LanguageChangeRebuildsTheTreeInItsTexts) {
    MakeWindow();
    SetPermSprache(2);
    Main().GetDoc()->NewDocument();
    ProcessEvents();
    Main().FlushTreeChange();
    EXPECT_EQ(TreeNodes(Main()).front().second, Main().GetRes()->GetQText(203));
    EXPECT_EQ(Main().GetRes()->GetQText(203), QStringLiteral("Project"));
    EXPECT_NE(Main().GetHelpFile().find("kktx_uk"), std::string::npos);
}

TEST_F(MainWindowTest, ResetPageSendsRestoreToThePage) {
    RegisterRecordingPage(eSystemKonfig);
    MakeWindow();
    ASSERT_TRUE(Select(eSystemKonfig));
    RecordingPage::s_Log.clear();
    Main().OnResetPage();
    EXPECT_EQ(RecordingPage::s_Log, (std::vector<std::string>{"msg 1029", "restore 28"}));
}

TEST_F(MainWindowTest, ExpandAllStaysExpandedAcrossRebuilds) {
    MakeWindow();
    Main().OnExpandAll();
    Main().BuildKonfigTree();
    auto* tree = Main().findChild<QTreeWidget*>(QStringLiteral("m_pKonfigTreeView"));
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->childCount() > 0) {
            EXPECT_TRUE((*it)->isExpanded()) << (*it)->text(0).toStdString();
        }
    }
    Main().OnCollapseAll();
    Main().BuildKonfigTree();
    EXPECT_FALSE(tree->topLevelItem(0)->child(1)->isExpanded());
}

} // namespace
