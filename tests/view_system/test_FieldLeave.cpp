// The checks that run when a field is left, driven with real focus changes:
// a context menu leaves nothing, a move to another control checks once, and
// a click on another tab shows its message once, also when the message box
// itself takes the focus from the field as a real one does. (A click on
// another tree node: test_DevicesPageInMainWindow.cpp.)

#include "SystemPageFixture.h"

#include "TFormSystem.h"
#include "TFormTlnBG.h"
#include "TMsgBox.h"
#include "UserClicks.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>

#include <algorithm>

namespace {

constexpr int kCodeInvalid = 231;

// The context menu a right click opened, closed again as Esc closes it.
bool CloseContextMenu() {
    QWidget* popup = QApplication::activePopupWidget();
    if (!qobject_cast<QMenu*>(popup))
        return false;
    popup->close();
    QCoreApplication::processEvents();
    return true;
}

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
        ClickInWindow(Edit("m_pCode"));
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
    ClickInWindow(Edit("m_pCode"), Qt::RightButton);
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
    ClickInWindow(tabs, tabs->tabRect(5).center());
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
    ClickInWindow(edit);
    ASSERT_TRUE(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("5"));
    ASSERT_EQ(edit->text(), QStringLiteral("5"));
    ClickInWindow(edit, Qt::RightButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->text(), QStringLiteral("5")) << "a half-typed value stays";
    EXPECT_TRUE(CloseContextMenu());
    EXPECT_EQ(edit->text(), QStringLiteral("5"));
    // Leaving it mends it to the minimum.
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
}

} // namespace
