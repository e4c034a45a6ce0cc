// Walks through the real wizard: the answers are clicked on the question
// pages, the device types are stored by the devices page as a user's choice
// would be, and the states shown on the way are checked, together with what
// the document and the box got.

#include "AssiFixture.h"

#include "MainTextIds.h"
#include "PermSettings.h"
#include "TMoxDocument.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct WalkRow {
    const char* name;
    TAssiDevices devices; // stored by the devices page; mode is the program mode
    std::map<int, bool> answers;
    std::vector<int> forward;
    std::vector<int> back; // from the end page; empty: not walked
};
void PrintTo(const WalkRow& r, std::ostream* os) {
    *os << r.name;
}

TAssiDevices Dev(std::uint8_t it, std::uint8_t kmr, std::uint8_t rak, std::uint8_t bsm, int mode) {
    TAssiDevices d;
    d.typeIT = it;
    d.typeKMR = kmr;
    d.typeRAK = rak;
    d.typeBSM = bsm;
    d.mode = mode;
    return d;
}

class AssiWalk : public AssiTest, public testing::WithParamInterface<WalkRow> {};

TEST_P(AssiWalk, ShowsTheStepsOfTheAnswers) {
    const WalkRow& r = GetParam();
    PageLog().devicesOnSave = r.devices;
    // A changed door-interface type is sent to the box at once.
    m_Answers[5025] = mb::kIdYes;
    ShowWizard(r.devices.mode);

    EXPECT_EQ(WalkToEnd(r.answers), r.forward);
    EXPECT_EQ(Doc().GetTypeIT(), r.devices.typeIT);
    EXPECT_EQ(Doc().GetTypeBSM(), r.devices.typeBSM);
    if (!r.back.empty()) {
        EXPECT_EQ(WalkBackToStart(), r.back);
    }
}

const std::vector<int> kAllYesType2Expert = {0, 1,  3, 4, 5,  6,  20, 23, 21, 22, 14, 16, 17,
                                             7, 15, 8, 9, 10, 11, 12, 13, 18, 19, 24, 25, 26};

INSTANTIATE_TEST_SUITE_P(
    Table, AssiWalk,
    testing::Values(WalkRow{"EverythingType2Expert",
                            Dev(2, 1, 1, 1, 2),
                            {},
                            kAllYesType2Expert,
                            {26, 25, 24, 19, 18, 13, 12, 11, 10, 9, 8, 15, 7,
                             17, 16, 14, 22, 21, 23, 20, 6,  5,  4, 3, 1,  0}},
                    WalkRow{"Type1StandardNoOptionalDevices",
                            Dev(1, 0, 0, 0, 1),
                            {},
                            {0, 1, 3, 4, 5, 20, 21, 22, 14, 16, 17, 15, 24, 25, 26},
                            {26, 25, 24, 15, 17, 16, 14, 22, 21, 20, 5, 4, 3, 1, 0}},
                    WalkRow{"EverythingNoWithoutOptionalDevices",
                            Dev(2, 0, 0, 0, 1),
                            {{4, false}, {24, false}},
                            {0, 1, 3, 4, 24, 26},
                            {26, 24, 4, 3, 1, 0}},
                    WalkRow{"Type3BoxOnlyNoSubscribersNoDoor",
                            Dev(3, 0, 0, 0, 2),
                            {{20, false}, {14, false}, {24, false}},
                            {0, 1, 3, 4, 5, 6, 20, 14, 24, 26},
                            {}},
                    WalkRow{"StandardModeSwitchModuleEndsTheWalk",
                            Dev(1, 0, 0, 1, 1),
                            {{4, false}},
                            {0, 1, 3, 4, 18, 19, 26},
                            {}},
                    WalkRow{"OptionalDevicesAnsweredNo",
                            Dev(1, 1, 1, 1, 2),
                            {{4, false}, {9, false}, {11, false}, {18, false}, {24, false}},
                            {0, 1, 3, 4, 9, 11, 18, 24, 26},
                            {26, 24, 18, 11, 9, 4, 3, 1, 0}}),
    [](const testing::TestParamInfo<WalkRow>& info) { return std::string(info.param.name); });

TEST_F(AssiTest, TheStartShowsTheWelcomePairWithItsButtons) {
    ShowWizard();
    EXPECT_TRUE(Assi().isVisible());
    EXPECT_FALSE(Main().isVisible());
    EXPECT_EQ(Assi().GetState(), eAssiWillkommen);
    EXPECT_EQ(WorkPageName(), "TAssiFormWillkommenCfg");
    EXPECT_EQ(HelpPageName(), "TAssiFormWillkommenHlp");
    auto* back = Find<QPushButton>(&Assi(), "m_pBackBtn_NoHelp");
    auto* forward = Find<QPushButton>(&Assi(), "m_pForwardBtn_NoHelp");
    auto* finish = Find<QPushButton>(&Assi(), "m_pOkBtn");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_TRUE(forward->isEnabled());
    EXPECT_FALSE(finish->isEnabled());
    EXPECT_EQ(Find<QLabel>(&Assi(), "m_pAktCaption")->text(), QStringLiteral("Welcome"));
    EXPECT_EQ(Assi().windowTitle(), QStringLiteral("Configuration wizard for the Halvox ISDN"));
    EXPECT_EQ(forward->text(), QStringLiteral("Next >>"));
    EXPECT_EQ(back->text(), QStringLiteral("<< Back"));
    // The main window had no controller yet: the wizard runs its own, and
    // the document uses it.
    ASSERT_NE(m_pOwnTransfer, nullptr);
    EXPECT_TRUE(Assi().HasOwnTransfer());
    EXPECT_EQ(Doc().GetDataTransfer(), m_pOwnTransfer);
    EXPECT_EQ(m_pOwnTransfer->portUpdates, 1);
}

TEST_F(AssiTest, ALanguageChangeReachesTheWizard) {
    ShowWizard();
    SetPermSprache(1); // German
    Main().RefreshLanguage();
    EXPECT_EQ(Find<QPushButton>(&Assi(), "m_pForwardBtn_NoHelp")->text(),
              QStringLiteral("Weiter >>"));
    EXPECT_EQ(Find<QLabel>(&Assi(), "m_pAktCaption")->text(), QStringLiteral("Willkommen"));
    EXPECT_EQ(Find<QLabel>(Assi().GetHelpPage(), "Label1")->text(),
              QString::fromUtf8(
                  "\"Abbrechen\" beendet den Assistenten, ohne die Konfiguration zu übernehmen."));
}

TEST_F(AssiTest, TheEndPageDisablesForwardAndEnablesFinish) {
    PageLog().devicesOnSave = TAssiDevices{};
    ShowWizard();
    WalkToEnd({{4, false}, {24, false}});
    ASSERT_EQ(Assi().GetState(), eAssiEnde);
    EXPECT_EQ(WorkPageName(), "TAssiFormEndeCfg");
    EXPECT_EQ(HelpPageName(), "TAssiFormEndeHlp");
    EXPECT_FALSE(Find<QPushButton>(&Assi(), "m_pForwardBtn_NoHelp")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(&Assi(), "m_pBackBtn_NoHelp")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(&Assi(), "m_pOkBtn")->isEnabled());
}

TEST_F(AssiTest, EmbeddedPagesGetKind38AndAreStoredByTheWizard) {
    ShowWizard();
    Forward(); // 1, by hand
    Forward(); // 3: the devices page
    ASSERT_EQ(Assi().GetState(), eAssiGeraeteSel);
    EXPECT_EQ(PageLog().lastHolderKind, eAssistent);
    EXPECT_EQ(PageLog().lastTransfer, m_pOwnTransfer);
    EXPECT_EQ(WorkPageName(), "FakePage2");
    EXPECT_EQ(HelpPageName(), "TAssiFormGeraeteSelHlp");
    PageLog().events.clear();
    Forward();
    // Opened by the wizard once more; stored once before it went.
    EXPECT_EQ(PageLog().events, (std::vector<std::string>{"save 2"}));
}

TEST_F(AssiTest, StepOneStartsANewDocument) {
    ShowWizard();
    Doc().SetTypeRAK(1);
    Doc().SetModified(true);
    Forward();
    // The main window asked to store the changes (answered no) and made a
    // fresh document.
    EXPECT_EQ(BoxCount(mtxt::kAskSave), 1);
    EXPECT_EQ(Doc().GetTypeRAK(), 0);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Assi().GetLastDeviceType(), Doc().GetTypeIT());
}

TEST_F(AssiTest, AnswersStartAtYesOnEveryShowing) {
    PageLog().devicesOnSave = TAssiDevices{};
    ShowWizard();
    Forward();
    Answer(false); // read from the box
    EXPECT_EQ(Assi().GetFlags(), 0xFFFF);
    m_bPortOk = false; // the read page then fails at once
    Forward();
    EXPECT_EQ(Assi().GetState(), eAssiGeraeteSel);
    EXPECT_EQ(Assi().GetFlags() & eAssiFlagByHand, 0);
    Click("m_pCancelBtn");
    ASSERT_FALSE(Assi().isVisible());

    Main().hide();
    Assi().ShowAssistent();
    EXPECT_EQ(Assi().GetFlags(), 0xFFFF);
    Forward();
    EXPECT_TRUE(Find<QRadioButton>(Assi().GetWorkPage(), "m_pRadioUser")->isChecked());
}

} // namespace
