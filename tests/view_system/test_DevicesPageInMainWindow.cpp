// The devices page in the real main window: a changed device type asks the
// window for a new tree, which the window builds only after the page's
// operation has returned; the new tree follows the new type and shows the
// devices page again. The system page shows its times only in the window's
// expert mode. The permission-groups page's code check on a tree click.

#include "MoxCommandLine.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "SystemForm.h"
#include "SystemPageFixture.h"
#include "TFormGeraete.h"
#include "TFormSystem.h"
#include "TFormTlnBG.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TRadioGroup.h"
#include "TSystemPages.h"
#include "TestSettingsFile.h"
#include "UserClicks.h"
#include "WindowMessages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using mox::platform::SettingsStore;

class DevicesPageInMainWindow : public testing::Test {
protected:
    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("mainsystem");
        ASSERT_TRUE(m_pSettings->Ok());
        m_Dir = m_pSettings->Dir();
        SetAssiMode(false);
        SetPermSprache(2);
        TMsgBox::SetHandlerForTesting(Answer);
        TSystemPages::Register();
        TMoxMainSeams seams;
        seams.hostQuell32 = false;
        m_pMain = std::make_unique<TMoxMain>(seams);
        m_pMain->SetMode(eModeExpert);
        m_pMain->show();
        m_pMain->FlushTreeChange();
    }
    void TearDown() override {
        m_pMain.reset();
        TSystemPages::Unregister();
        TMsgBox::SetHandlerForTesting({});
        m_pSettings.reset();
    }
    static int Answer(const TMsgBox::Request& r) {
        return (r.flags & mb::kButtonMask) == mb::kYesNoCancel ? mb::kIdNo : mb::kIdOk;
    }
    template <class Page> Page* Open(std::uint8_t kind) {
        EXPECT_TRUE(m_pMain->SelectNodeKind(kind));
        m_pMain->FlushTreeChange();
        return dynamic_cast<Page*>(m_pMain->GetAktView());
    }
    static void ProcessEvents() {
        for (int i = 0; i < 3; ++i)
            QApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // The permission-groups page in the active window on group 2 (door
    // interface 2, groups 1 and 2 with codes of their own), its code field
    // clicked into and selected; the message boxes from here on are
    // recorded, each taking the focus as a real one does.
    void OpenGroupsOnGroup2() {
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            m_Focus.Before();
            m_Boxes.push_back(r.textId);
            m_Focus.After();
            return Answer(r);
        });
        m_pMain->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pMain.get()));
        TMoxDocument* doc = m_pMain->GetDoc();
        doc->SetTypeIT(2);
        ASSERT_TRUE(doc->SetPGPin(1, "1111"));
        ASSERT_TRUE(doc->SetPGPin(2, "2222"));
        m_pMain->BuildKonfigTree();
        m_pMain->FlushTreeChange();
        m_pTree = m_pMain->findChild<QTreeWidget*>(QStringLiteral("m_pKonfigTreeView"));
        ASSERT_TRUE(m_pMain->SelectNodeKind(eSystemKonfig));
        m_pOtherNode = m_pTree->currentItem();
        m_pGroups = Open<TFormTlnBG>(eTlnBG);
        ASSERT_NE(m_pGroups, nullptr);
        m_pGroupsNode = m_pTree->currentItem();
        m_pGroups->findChild<QTabBar*>(QStringLiteral("m_pTabControl"))->setCurrentIndex(2);
        m_pCode = m_pGroups->findChild<QLineEdit*>(QStringLiteral("m_pCode"));
        ClickInWindow(m_pCode);
        ASSERT_TRUE(m_pCode->hasFocus());
        m_pCode->selectAll();
    }
    // A click on the system page's node, and what the window does after it.
    void ClickTheOtherNode() {
        m_pTree->scrollToItem(m_pOtherNode);
        ClickInWindow(m_pTree->viewport(), m_pTree->visualItemRect(m_pOtherNode).center());
        ProcessEvents();
        m_pMain->FlushTreeChange();
        ProcessEvents();
    }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_Dir;
    std::unique_ptr<TMoxMain> m_pMain;
    std::vector<int> m_Boxes;
    FocusTakingBoxes m_Focus;
    QTreeWidget* m_pTree = nullptr;
    QTreeWidgetItem* m_pOtherNode = nullptr;
    QTreeWidgetItem* m_pGroupsNode = nullptr;
    TFormTlnBG* m_pGroups = nullptr;
    QLineEdit* m_pCode = nullptr;
};

TEST_F(DevicesPageInMainWindow, ANewDoorInterfaceGivesANewTree) {
    TMoxDocument* doc = m_pMain->GetDoc();
    ASSERT_NE(doc, nullptr);
    doc->SetTypeIT(2);
    m_pMain->BuildKonfigTree();
    m_pMain->FlushTreeChange();
    ASSERT_TRUE(m_pMain->SelectNodeKind(eTlnAktProg)) << "variant 2 programs subscribers";

    auto* page = Open<TFormGeraete>(eGeraeteliste);
    ASSERT_NE(page, nullptr);
    const QPointer<TFormGeraete> old(page);
    page->findChild<TRadioGroup*>(QStringLiteral("m_pIT"))->Button(0)->click();
    page->Perform(WM_SAVE, -1, -1);
    // The page that asked is still whole when its operation returns.
    ASSERT_FALSE(old.isNull());
    EXPECT_EQ(doc->GetTypeIT(), 1);

    ProcessEvents();
    m_pMain->FlushTreeChange();
    ProcessEvents();
    EXPECT_TRUE(old.isNull()) << "the rebuild replaced the page";
    EXPECT_FALSE(m_pMain->SelectNodeKind(eTlnAktProg)) << "variant 1 has no such node";
    m_pMain->FlushTreeChange();
    EXPECT_TRUE(m_pMain->SelectNodeKind(eGeraeteliste));
    m_pMain->FlushTreeChange();
    EXPECT_NE(dynamic_cast<TFormGeraete*>(m_pMain->GetAktView()), nullptr);
}

TEST_F(DevicesPageInMainWindow, LeavingThePageAfterAChangeStoresItAndRebuilds) {
    TMoxDocument* doc = m_pMain->GetDoc();
    ASSERT_NE(doc, nullptr);
    doc->SetTypeIT(2);
    m_pMain->BuildKonfigTree();
    m_pMain->FlushTreeChange();
    auto* page = Open<TFormGeraete>(eGeraeteliste);
    ASSERT_NE(page, nullptr);
    const QPointer<TFormGeraete> old(page);
    page->findChild<TRadioGroup*>(QStringLiteral("m_pIT"))->Button(2)->click();

    // Another node: the tree destroys the page, which stores itself on the
    // way and asks for the new tree from inside that store.
    ASSERT_TRUE(m_pMain->SelectNodeKind(eSystemKonfig));
    m_pMain->FlushTreeChange();
    ProcessEvents();
    m_pMain->FlushTreeChange();
    ProcessEvents();
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(doc->GetTypeIT(), 3);
    EXPECT_EQ(doc->GetPGEinwahl(0), 1);
    EXPECT_FALSE(m_pMain->SelectNodeKind(eTlnAktProg)) << "variant 3 has no such node";
    m_pMain->FlushTreeChange();
    EXPECT_NE(m_pMain->GetAktView(), nullptr);
}

TEST_F(DevicesPageInMainWindow, TheSystemPageFollowsTheWindowsMode) {
    SystemForm::SetProgramModeForTesting(0); // ask the window
    auto* page = Open<TFormSystem>(eSystemKonfig);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->findChild<QLineEdit*>(QStringLiteral("m_pTuerrufannahme"))->isVisible());

    m_pMain->SetMode(eModeStandard);
    page->Perform(WM_OPEN, -1, -1);
    EXPECT_FALSE(page->findChild<QLineEdit*>(QStringLiteral("m_pTuerrufannahme"))->isVisible());
    EXPECT_TRUE(page->findChild<QLineEdit*>(QStringLiteral("m_pPegelKommend"))->isVisible());
}

// The permission-groups page with a bad code: one click on another tree
// node shows the message once, also when the box takes the focus from the
// field as a real one does, and the tree stays on the page.
TEST_F(DevicesPageInMainWindow, ABadCodeWarnsOnceForATreeClickAndTheTreeStays) {
    OpenGroupsOnGroup2();
    QTest::keyClicks(m_pCode, QStringLiteral("1111")); // group 1's code
    QCoreApplication::processEvents();
    m_Boxes.clear();

    ClickTheOtherNode();
    // The page still holds the bad code when the window goes.
    TMsgBox::SetHandlerForTesting(Answer);
    EXPECT_EQ(m_Boxes, std::vector<int>{231});
    EXPECT_EQ(m_pMain->GetAktView(), m_pGroups) << "the page stays";
    EXPECT_EQ(m_pTree->currentItem(), m_pGroupsNode);
    EXPECT_EQ(m_pTree->selectedItems(), QList<QTreeWidgetItem*>{m_pGroupsNode});
}

// A bad code refused when the field was left for a check box, then mended:
// the next tree click leaves the page, and the mended code is stored.
TEST_F(DevicesPageInMainWindow, AMendedCodeLetsTheTreeClickThrough) {
    OpenGroupsOnGroup2();
    const QPointer<TFormTlnBG> groups(m_pGroups);
    QTest::keyClicks(m_pCode, QStringLiteral("12"));

    // A click on a check box of the page leaves the field: refused.
    ClickInWindow(m_pGroups->findChild<QCheckBox*>(QStringLiteral("m_pLicht")));
    ProcessEvents();
    EXPECT_EQ(std::count(m_Boxes.begin(), m_Boxes.end(), 231), 1);
    ASSERT_TRUE(m_pCode->hasFocus()) << "back to the field to mend it";
    QTest::keyClicks(m_pCode, QStringLiteral("8047"));
    ASSERT_EQ(m_pCode->text(), QStringLiteral("8047"));
    m_Boxes.clear();

    ClickTheOtherNode();
    EXPECT_EQ(m_Boxes, std::vector<int>{});
    EXPECT_TRUE(groups.isNull()) << "the page was left";
    EXPECT_EQ(m_pTree->currentItem(), m_pOtherNode);
    char pin[8] = {};
    ASSERT_TRUE(m_pMain->GetDoc()->GetPGPin(2, pin, sizeof pin));
    EXPECT_STREQ(pin, "8047");
}

} // namespace
