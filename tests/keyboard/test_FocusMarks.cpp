// Every focus stop shows its focus: walking the Tab chain of the main window
// and of each wizard step, each stop takes the focus by Tab, is a control
// (never a scroll area or a frame) and looks different with the focus than
// without it. Grabs of the marks go to the folder MOX_SHOT_DIR names, when it is set.

#include "KeyFixture.h"

#include "TAssiSequence.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

bool IsControl(const QWidget* w) {
    if (qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
        qobject_cast<const QTextEdit*>(w))
        return true;
    if (qobject_cast<const QAbstractScrollArea*>(w))
        return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QTabBar*>(w);
}

class FocusMarks : public KeyTest {
protected:
    // Whether the control is drawn otherwise with the focus than without
    // it (the focus goes to `other` for the second grab, and back).
    static bool DrawsFocus(QWidget* w, QWidget* other) {
        w->setFocus(Qt::TabFocusReason);
        const QImage with = w->grab().toImage();
        other->setFocus(Qt::TabFocusReason);
        const QImage without = w->grab().toImage();
        w->setFocus(Qt::TabFocusReason);
        return with != without;
    }
    // Walks the window's Tab chain from the focused control and checks
    // every stop; returns the stops.
    std::vector<QPointer<QWidget>> CheckChain(const char* where, QWidget* other) {
        const std::vector<QPointer<QWidget>> stops = WalkTab(60);
        for (const QPointer<QWidget>& stop : stops) {
            QWidget* w = stop.data();
            if (!w || w == other)
                continue;
            EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << where << ": " << NameOf(w);
            // A grid's cell editor closes when the focus leaves it: it
            // shows its focus by its frame (and its caret).
            const QWidget* parent = w->parentWidget();
            if (parent && qobject_cast<const QAbstractItemView*>(parent->parentWidget())) {
                const auto* line = qobject_cast<const QLineEdit*>(w);
                EXPECT_TRUE(!line || line->hasFrame())
                    << where << ": the cell editor " << NameOf(w) << " shows no frame";
                continue;
            }
            EXPECT_TRUE(IsControl(w))
                << where << ": " << NameOf(w) << " takes the focus and shows nothing";
            EXPECT_TRUE(DrawsFocus(w, other))
                << where << ": the focus on " << NameOf(w) << " cannot be seen";
        }
        return stops;
    }
};

TEST_F(FocusMarks, EveryStopOfTheMainWindowShowsItsFocus) {
    ShowMain(2);
    auto* tree = Main().findChild<QTreeWidget*>(QStringLiteral("m_pKonfigTreeView"));
    for (std::uint8_t kind : {eGeraeteliste, eTlnKonfig, eSystemKonfig}) {
        ChooseNodeByKeys(kind);
        Shot(&Main(), kind == eGeraeteliste ? "main-tree-focus" : "main-tree-focus-other");
        const auto stops = CheckChain("main window", tree);
        EXPECT_FALSE(stops.empty());
        if (kind == eGeraeteliste) {
            tree->setFocus(Qt::TabFocusReason);
            Key(Qt::Key_Tab);
            Shot(&Main(), "main-devices-first-control");
        }
    }
    tree->setFocus(Qt::TabFocusReason);
    Shot(tree, "main-tree-focused");
    EXPECT_TRUE(DrawsFocus(tree, Main().findChild<QWidget*>(QStringLiteral("SpeedButton5"))))
        << "the tree shows no focus mark";
}

TEST_F(FocusMarks, TheFocusedForwardButtonDiffersFromTheDefaultButton) {
    ShowWizard();
    auto* forward = Assi().findChild<QPushButton*>(QStringLiteral("m_pForwardBtn_NoHelp"));
    auto* cancel = Assi().findChild<QPushButton*>(QStringLiteral("m_pCancelBtn"));
    forward->setFocus(Qt::TabFocusReason);
    Shot(&Assi(), "wizard-forward-focused");
    EXPECT_TRUE(DrawsFocus(forward, cancel));
    cancel->setFocus(Qt::TabFocusReason);
    Shot(&Assi(), "wizard-cancel-focused");
}

TEST_F(FocusMarks, EveryStopOfTheWizardStepsShowsItsFocus) {
    ShowWizard();
    auto* forward = Assi().findChild<QPushButton*>(QStringLiteral("m_pForwardBtn_NoHelp"));
    auto* cancel = Assi().findChild<QPushButton*>(QStringLiteral("m_pCancelBtn"));
    for (int guard = 0; guard < 40 && Assi().GetState() != eAssiEnde; ++guard) {
        const int state = Assi().GetState();
        const std::string where = "wizard step " + std::to_string(state);
        ASSERT_NE(Focus(), nullptr) << where;
        if (state == eAssiWillkommen)
            Shot(&Assi(), "wizard-welcome");
        CheckChain(where.c_str(), forward == Focus() ? cancel : forward);
        forward->setFocus(Qt::TabFocusReason);
        Key(Qt::Key_Return);
        ASSERT_NE(Assi().GetState(), state);
    }
}

} // namespace
