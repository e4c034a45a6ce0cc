// The wizard by keys alone: Return goes forward from a focused radio button
// and from a check box, but not from a grid's cell editor; Esc asks the
// question of the close box; and the whole wizard, from the welcome step to
// Finish, for the small door interface and for the bus door interface with
// every device, every page entered on a control that has the focus.

#include "KeyFixture.h"

#include "AssiTextIds.h"
#include "TMoxDocument.h"
#include "TRadioGroup.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <filesystem>
#include <set>

namespace {

class WizardKeys : public KeyTest {
protected:
    long Asked(int textId) const {
        const std::vector<int> ids = BoxIds();
        return std::count(ids.begin(), ids.end(), textId);
    }
    QPushButton* Button(const char* name) {
        return Assi().findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // Forward as a keyboard user goes: Return; where the focused control
    // keeps Return for itself, Tab to "Weiter" first.
    void GoForward() {
        const int state = Assi().GetState();
        Key(Qt::Key_Return);
        if (Assi().GetState() != state || !Assi().isVisible())
            return;
        QPushButton* forward = Button("m_pForwardBtn_NoHelp");
        for (int i = 0; i < 80 && Focus() != forward; ++i)
            Key(Qt::Key_Tab);
        ASSERT_EQ(Focus(), forward) << "Tab never reached the forward button on step " << state;
        Key(Qt::Key_Return);
        ASSERT_NE(Assi().GetState(), state) << "Return on the forward button stayed";
    }
    // Moves the radio set's choice by arrow keys from the focused button.
    void ArrowTo(TRadioGroup* group, int index) {
        for (int guard = 0; guard < 4 && group->ItemIndex() != index; ++guard)
            Key(group->ItemIndex() < index ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(group->ItemIndex(), index) << NameOf(group);
    }
};

TEST_F(WizardKeys, ReturnOnAFocusedRadioButtonGoesForward) {
    ShowWizard();
    ASSERT_EQ(Assi().GetState(), eAssiWillkommen);
    Key(Qt::Key_Return);
    ASSERT_EQ(Assi().GetState(), eAssiGeraete);
    auto* byHand = Assi().findChild<QRadioButton*>(QStringLiteral("m_pRadioUser"));
    ASSERT_NE(byHand, nullptr);
    EXPECT_EQ(Focus(), byHand);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Assi().GetState(), eAssiGeraeteSel);
}

TEST_F(WizardKeys, ReturnOnAFocusedButtonPressesThatButton) {
    ShowWizard();
    Key(Qt::Key_Return);
    ASSERT_EQ(Assi().GetState(), eAssiGeraete);
    Button("m_pBackBtn_NoHelp")->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Return);
    EXPECT_EQ(Assi().GetState(), eAssiWillkommen);
}

TEST_F(WizardKeys, EscAsksWhetherToEndTheWizard) {
    ShowWizard();
    m_Answers[atxt::kCancelQuestion] = mb::kIdNo;
    Key(Qt::Key_Escape);
    EXPECT_EQ(Asked(atxt::kCancelQuestion), 1);
    EXPECT_TRUE(Assi().isVisible()) << "No keeps the wizard";
    m_Answers[atxt::kCancelQuestion] = mb::kIdYes;
    Key(Qt::Key_Escape);
    EXPECT_EQ(Asked(atxt::kCancelQuestion), 2);
    EXPECT_FALSE(Assi().isVisible());
    EXPECT_TRUE(Main().isVisible());
}

struct WalkCase {
    const char* name;
    std::uint8_t typeIT;
    bool allDevices;
    std::vector<std::uint8_t> mustSee; // steps the walk shows
};

class WizardWalk : public WizardKeys, public testing::WithParamInterface<WalkCase> {};

TEST_P(WizardWalk, FromWelcomeToFinishByKeysAlone) {
    const WalkCase& c = GetParam();
    ShowWizard();
    // The welcome step: its check box has the focus.
    auto* check = Assi().findChild<QCheckBox*>(QStringLiteral("m_pCheck"));
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(Focus(), check);
    GoForward();
    ASSERT_EQ(Assi().GetState(), eAssiGeraete);
    GoForward();
    ASSERT_EQ(Assi().GetState(), eAssiGeraeteSel);

    // The devices: door interface first, each group on its checked button.
    auto* it = Assi().findChild<TRadioGroup*>(QStringLiteral("m_pIT"));
    ASSERT_NE(it, nullptr);
    ASSERT_EQ(Focus(), it->Button(it->ItemIndex())) << NameOf(Focus());
    ArrowTo(it, c.typeIT - 1);
    if (c.allDevices) {
        for (const char* name : {"m_pBSM", "m_pKMR"}) {
            Key(Qt::Key_Tab);
            auto* group = Assi().findChild<TRadioGroup*>(QString::fromLatin1(name));
            ASSERT_EQ(Focus(), group->Button(group->ItemIndex())) << name;
            ArrowTo(group, 1);
        }
        Key(Qt::Key_Tab);
        EXPECT_EQ(NameOf(Focus()), "m_pKMRKamera");
        Key(Qt::Key_Tab);
        auto* rak = Assi().findChild<TRadioGroup*>(QStringLiteral("m_pRAK"));
        ASSERT_EQ(Focus(), rak->Button(rak->ItemIndex()));
        ArrowTo(rak, 1);
    }
    GoForward();

    std::set<std::uint8_t> seen;
    for (int guard = 0; guard < 40 && Assi().GetState() != eAssiEnde; ++guard) {
        const std::uint8_t state = Assi().GetState();
        seen.insert(state);
        // Every step is entered on one of its controls.
        QWidget* focus = Focus();
        ASSERT_NE(focus, nullptr) << "step " << int(state);
        EXPECT_TRUE(Assi().GetWorkPage()->isAncestorOf(focus))
            << "step " << int(state) << " entered on " << NameOf(focus);
        // Each question is answered "yes": the pages behind it come too.
        if (auto* yes =
                Assi().GetWorkPage()->findChild<QRadioButton*>(QStringLiteral("m_pRadioSet"));
            yes && yes->isEnabled() && !yes->isChecked())
            Key(Qt::Key_Up);
        GoForward();
        if (HasFatalFailure())
            return;
    }
    ASSERT_EQ(Assi().GetState(), eAssiEnde);
    for (std::uint8_t step : c.mustSee)
        EXPECT_TRUE(seen.count(step)) << "step " << int(step) << " was passed over";

    QPushButton* finish = Button("m_pOkBtn");
    for (int i = 0; i < 20 && Focus() != finish; ++i)
        Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), finish);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Assi().isVisible());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_TRUE(std::filesystem::exists(Assi().GetFileName()));
    EXPECT_EQ(Doc().GetTypeIT(), c.typeIT);
    if (c.allDevices) {
        EXPECT_EQ(Doc().GetTypeBSM(), 1);
        EXPECT_EQ(Doc().GetTypeKMR(), 1);
        EXPECT_EQ(Doc().GetTypeRAK(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Types, WizardWalk,
    testing::Values(WalkCase{"SmallDoorInterface", 1, false, {eAssiTln, eAssiSystem}},
                    WalkCase{"BusDoorInterfaceAllDevices",
                             2,
                             true,
                             {eAssiMox, eAssiKMR, eAssiRAKEG, eAssiRAKAG, eAssiIT, eAssiTln,
                              eAssiTlnBG}}),
    [](const testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.name); });

} // namespace
