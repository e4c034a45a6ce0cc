// The checks that run when a field is left, driven with real focus changes:
// a context menu leaves nothing, a move to another control checks once, and
// a click on another tab or tree node shows its message once, also when the
// message box itself takes the focus from the field as a real one does.

#include "SystemPageFixture.h"

#include "MoxCommandLine.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "SystemForm.h"
#include "TFormSystem.h"
#include "TFormTlnBG.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TSystemPages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kCodeInvalid = 231;

QPoint CentreIn(QWidget* w, QPoint local) {
    return w->mapTo(w->window(), local);
}

// A click as the window system delivers it: focus, then the press.
void ClickAt(QWidget* w, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(w->window()->windowHandle(), button, {}, CentreIn(w, local));
}

void Click(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
    ClickAt(w, w->rect().center(), button);
}

// The context menu a right click opened, closed again as Esc closes it.
bool CloseContextMenu() {
    QWidget* popup = QApplication::activePopupWidget();
    if (!qobject_cast<QMenu*>(popup))
        return false;
    popup->close();
    QCoreApplication::processEvents();
    return true;
}

// A message box of the real program is a window of its own: while it shows,
// the field that had the focus loses it to the box, and gets it back when
// the box closes. The pre-answered boxes of the tests do the same.
class FocusTakingBoxes {
public:
    void Before() {
        if (m_nDepth++ > 0)
            return;
        m_pField = QApplication::focusWidget();
        if (m_pField) {
            QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            QApplication::sendEvent(m_pField, &out);
        }
    }
    void After() {
        if (--m_nDepth > 0)
            return;
        if (m_pField) {
            QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
            QApplication::sendEvent(m_pField, &in);
        }
        m_pField = nullptr;
    }

private:
    int m_nDepth = 0;
    QPointer<QWidget> m_pField;
};

class FieldLeave : public SystemPageTest {
protected:
    int BoxAnswer(const TMsgBox::Request& request) override {
        m_Focus.Before();
        const int answer = SystemPageTest::BoxAnswer(request);
        m_Focus.After();
        return answer;
    }
    void Activate() {
        m_pWindow->show();
        m_pWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pWindow.get()));
    }
    int Count(int textId) const {
        return static_cast<int>(
            std::count_if(m_Boxes.begin(), m_Boxes.end(),
                          [textId](const auto& b) { return b.textId == textId; }));
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }

    // The groups page on group 2, its code field holding group 3's code.
    void GroupsWithABadCode() {
        Doc().SetTypeIT(2);
        ASSERT_TRUE(Doc().SetPGPin(1, "1111"));
        ASSERT_TRUE(Doc().SetPGPin(2, "2222"));
        ASSERT_TRUE(Doc().SetPGPin(3, "3333"));
        MakePage<TFormTlnBG>(eTlnBG);
        Activate();
        Find<QTabBar>("m_pTabControl")->setCurrentIndex(2);
        Click(Edit("m_pCode"));
        ASSERT_TRUE(Edit("m_pCode")->hasFocus());
        Edit("m_pCode")->selectAll();
        QTest::keyClicks(Edit("m_pCode"), QStringLiteral("3333"));
        ASSERT_EQ(Edit("m_pCode")->text(), QStringLiteral("3333"));
        QCoreApplication::processEvents();
        m_Boxes.clear();
    }

    FocusTakingBoxes m_Focus;
};

TEST_F(FieldLeave, AContextMenuOnABadCodeWarnsOfNothing) {
    GroupsWithABadCode();
    Click(Edit("m_pCode"), Qt::RightButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(Count(kCodeInvalid), 0) << "no message before the menu";
    EXPECT_TRUE(CloseContextMenu()) << "the field's menu opened";
    EXPECT_EQ(Count(kCodeInvalid), 0);
    EXPECT_EQ(Edit("m_pCode")->text(), QStringLiteral("3333"));

    // Leaving it for another control checks it, once.
    QTest::keyClick(Edit("m_pCode"), Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(Count(kCodeInvalid), 1);
    EXPECT_TRUE(Edit("m_pCode")->hasFocus()) << "back to the field to mend it";
}

TEST_F(FieldLeave, AClickOnAnotherTabWarnsOnce) {
    GroupsWithABadCode();
    auto* tabs = Find<QTabBar>("m_pTabControl");
    ClickAt(tabs, tabs->tabRect(5).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(Count(kCodeInvalid), 1);
    EXPECT_EQ(static_cast<TFormTlnBG*>(m_pPage)->CurrentGroup(), 2);
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(Edit("m_pCode")->text(), QStringLiteral("3333"));
}

TEST_F(FieldLeave, AContextMenuOnATimeFieldLeavesItsValue) {
    MakePage<TFormSystem>(eSystemKonfig);
    Activate();
    QLineEdit* edit = Edit("m_pTuerrufannahme");
    Click(edit);
    ASSERT_TRUE(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("5"));
    ASSERT_EQ(edit->text(), QStringLiteral("5"));
    Click(edit, Qt::RightButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->text(), QStringLiteral("5")) << "a half-typed value stays";
    EXPECT_TRUE(CloseContextMenu());
    EXPECT_EQ(edit->text(), QStringLiteral("5"));
    // Leaving it mends it to the minimum.
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
}

// The groups page in the real main window: a click on another tree node
// with a bad code shows the message once, and the tree stays on the page.
class FieldLeaveInMainWindow : public testing::Test {
protected:
    void SetUp() override {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "mox-fieldleave-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        m_Dir = tmpl;
        mox::platform::SettingsStore::SetInstanceForTesting(
            mox::platform::SettingsStore::OpenFile((m_Dir / "settings.ini").string()));
        SetAssiMode(false);
        SetPermSprache(2);
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            m_Focus.Before();
            m_Boxes.push_back(r.textId);
            m_Focus.After();
            return (r.flags & mb::kButtonMask) == mb::kYesNoCancel ? mb::kIdNo : mb::kIdOk;
        });
        TSystemPages::Register();
        TMoxMainSeams seams;
        seams.hostQuell32 = false;
        m_pMain = std::make_unique<TMoxMain>(seams);
        m_pMain->SetMode(eModeExpert);
        m_pMain->show();
        m_pMain->FlushTreeChange();
        m_pMain->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pMain.get()));
    }
    void TearDown() override {
        m_pMain.reset();
        TSystemPages::Unregister();
        TMsgBox::SetHandlerForTesting({});
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(m_Dir, ec);
    }
    QTreeWidget* Tree() { return m_pMain->findChild<QTreeWidget*>("m_pKonfigTreeView"); }
    QTreeWidgetItem* Node(std::uint8_t kind) {
        EXPECT_TRUE(m_pMain->SelectNodeKind(kind));
        QTreeWidgetItem* item = Tree()->currentItem();
        return item;
    }

    std::filesystem::path m_Dir;
    std::unique_ptr<TMoxMain> m_pMain;
    std::vector<int> m_Boxes;
    FocusTakingBoxes m_Focus;
};

TEST_F(FieldLeaveInMainWindow, AClickOnAnotherNodeWarnsOnceAndTheTreeStays) {
    TMoxDocument* doc = m_pMain->GetDoc();
    doc->SetTypeIT(2);
    ASSERT_TRUE(doc->SetPGPin(1, "1111"));
    ASSERT_TRUE(doc->SetPGPin(2, "2222"));
    m_pMain->BuildKonfigTree();
    m_pMain->FlushTreeChange();
    QTreeWidgetItem* other = Node(eSystemKonfig);
    m_pMain->FlushTreeChange();
    QTreeWidgetItem* groups = Node(eTlnBG);
    m_pMain->FlushTreeChange();
    auto* page = dynamic_cast<TFormTlnBG*>(m_pMain->GetAktView());
    ASSERT_NE(page, nullptr);
    page->findChild<QTabBar*>("m_pTabControl")->setCurrentIndex(2);
    auto* code = page->findChild<QLineEdit*>("m_pCode");
    Click(code);
    ASSERT_TRUE(code->hasFocus());
    code->selectAll();
    QTest::keyClicks(code, QStringLiteral("1111"));
    QCoreApplication::processEvents();
    m_Boxes.clear();

    Tree()->scrollToItem(other);
    ClickAt(Tree()->viewport(), Tree()->visualItemRect(other).center());
    QCoreApplication::processEvents();
    m_pMain->FlushTreeChange();
    QCoreApplication::processEvents();
    EXPECT_EQ(std::count(m_Boxes.begin(), m_Boxes.end(), kCodeInvalid), 1);
    EXPECT_EQ(m_pMain->GetAktView(), page) << "the page stays";
    EXPECT_EQ(Tree()->currentItem(), groups);
    EXPECT_EQ(Tree()->selectedItems(), QList<QTreeWidgetItem*>{groups});
}

} // namespace
