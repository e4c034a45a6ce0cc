// The system page: the time fields held to their ranges while typing and
// on leaving, the up/down buttons, the level fields in half-dB steps with
// their warning tones, the load and store through the document, the
// standard mode that shows only the levels, and the page reset.

#include "SystemPageFixture.h"

#include "MoxCommandLine.h"
#include "SystemForm.h"
#include "TCSpinButton.h"
#include "TFormSystem.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

#include <ostream>
#include <string>
#include <utility>

namespace {

class SystemPage : public SystemPageTest {
protected:
    void SetUp() override {
        SystemPageTest::SetUp();
        TFormSystem::SetBeepForTesting([this](int hz, int ms) { m_Beeps.push_back({hz, ms}); });
    }
    void TearDown() override {
        TFormSystem::SetBeepForTesting({});
        SystemPageTest::TearDown();
    }
    TFormSystem* Open() { return MakePage<TFormSystem>(eSystemKonfig); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    void Spin(const char* name, bool up) {
        auto* spin = Find<TCSpinButton>(name);
        ASSERT_NE(spin, nullptr);
        (up ? spin->UpButton() : spin->DownButton())->click();
    }
    std::vector<std::pair<int, int>> m_Beeps;
};

// ---------------------------------------------------------------- times

struct TypingCase {
    const char* name;
    const char* field;
    const char* typed;
    const char* shownAtOnce;
    const char* shownAfterLeaving;
};

class SystemPageTyping : public SystemPage, public testing::WithParamInterface<TypingCase> {};

TEST_P(SystemPageTyping, HeldToTheRange) {
    const TypingCase& c = GetParam();
    Open();
    QLineEdit* edit = Edit(c.field);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->setText(QString::fromLatin1(c.typed));
    EXPECT_EQ(edit->text().toStdString(), c.shownAtOnce);
    LeaveField(edit);
    EXPECT_EQ(edit->text().toStdString(), c.shownAfterLeaving);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SystemPageTyping,
    testing::Values(TypingCase{"AboveMaximumAtOnce", "m_pTuerrufannahme", "999", "120", "120"},
                    TypingCase{"BelowMinimumOnLeaving", "m_pTuerrufannahme", "5", "5", "20"},
                    // Cleared, the field shows 0 at once; left, 0 is below the minimum.
                    TypingCase{"ClearedShowsZero", "m_pTuerrufannahme", "", "0", "20"},
                    TypingCase{"InsideTheRange", "m_pSchaltdauerMfr", "500", "500", "500"},
                    TypingCase{"ChainCallAboveMaximum", "m_pKettenruf", "45", "30", "30"},
                    TypingCase{"RetriggerZeroRaisedOnLeaving", "m_pNachtriggern", "0", "0", "1"},
                    TypingCase{"ConnectionTimeBelowMinimum", "m_pTuerrufdauer", "59", "59", "60"},
                    TypingCase{"LetterRemoved", "m_pTuermatik", "7x", "7", "7"}),
    [](const testing::TestParamInfo<TypingCase>& info) { return std::string(info.param.name); });

struct SpinCase {
    const char* name;
    const char* spin;
    const char* field;
    const char* start;
    bool up;
    const char* shown;
};

class SystemPageSpin : public SystemPage, public testing::WithParamInterface<SpinCase> {};

TEST_P(SystemPageSpin, StepsInsideTheRange) {
    const SpinCase& c = GetParam();
    Open();
    QLineEdit* edit = Edit(c.field);
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromLatin1(c.start));
    Spin(c.spin, c.up);
    EXPECT_EQ(edit->text().toStdString(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SystemPageSpin,
    testing::Values(
        SpinCase{"EmptyUpGivesMinimum", "m_pTuerrufannahmeSpin", "m_pTuerrufannahme", "", true,
                 "20"},
        SpinCase{"EmptyDownGivesMinimum", "m_pKettenrufSpin", "m_pKettenruf", "", false, "10"},
        SpinCase{"UpAtMaximumStays", "m_pTuerrufannahmeSpin", "m_pTuerrufannahme", "120", true,
                 "120"},
        SpinCase{"DownAtMinimumStays", "m_pTuerrufannahmeSpin", "m_pTuerrufannahme", "20", false,
                 "20"},
        SpinCase{"UpBelowMinimumGivesMinimum", "m_pTuerrufannahmeSpin", "m_pTuerrufannahme", "5",
                 true, "20"},
        SpinCase{"UpOneStep", "m_pKettenrufSpin", "m_pKettenruf", "15", true, "16"},
        SpinCase{"DownOneStep", "m_pTuerrufdauerSpin", "m_pTuerrufdauer", "200", false, "199"},
        SpinCase{"RetriggerUp", "m_pNachtriggernSpin", "m_pNachtriggern", "9", true, "10"}),
    [](const testing::TestParamInfo<SpinCase>& info) { return std::string(info.param.name); });

// Both ends of each time field's range are values the document takes: the
// page never offers a time the record would refuse and silently drop.
struct RangeEndCase {
    const char* name;
    const char* field;
    const char* spin;
    int minimum;
    int maximum;
    int (*stored)(const TMoxDocument&);
};

void PrintTo(const RangeEndCase& c, std::ostream* os) {
    *os << c.name;
}

class SystemPageRangeEnds : public SystemPage, public testing::WithParamInterface<RangeEndCase> {
protected:
    // Puts text into the field, leaves it and stores the page.
    int Store(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->setText(text);
        LeaveField(edit);
        m_pPage->Perform(WM_SAVE, -1, -1);
        return GetParam().stored(Doc());
    }
};

TEST_P(SystemPageRangeEnds, AreStoredAsShown) {
    const RangeEndCase& c = GetParam();
    Open();
    QLineEdit* edit = Edit(c.field);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->maxLength(), static_cast<int>(std::to_string(c.maximum).size()));
    // Far above the top: the field shows the maximum, the document holds it.
    EXPECT_EQ(Store(edit, QStringLiteral("9999").left(edit->maxLength())), c.maximum);
    EXPECT_EQ(edit->text(), QString::number(c.maximum));
    // Below the bottom: raised to the minimum on leaving, and held.
    EXPECT_EQ(Store(edit, QStringLiteral("0")), c.minimum);
    EXPECT_EQ(edit->text(), QString::number(c.minimum));
    // The down button at the minimum stays there.
    Spin(c.spin, false);
    EXPECT_EQ(edit->text(), QString::number(c.minimum));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SystemPageRangeEnds,
    testing::Values(RangeEndCase{"Tuerrufannahme", "m_pTuerrufannahme", "m_pTuerrufannahmeSpin", 20,
                                 120,
                                 [](const TMoxDocument& d) { return int{d.GetTuerrufannahme()}; }},
                    RangeEndCase{"Tuerrufdauer", "m_pTuerrufdauer", "m_pTuerrufdauerSpin", 60, 600,
                                 [](const TMoxDocument& d) { return int{d.GetTuerrufdauer()}; }},
                    RangeEndCase{"Tuermatik", "m_pTuermatik", "m_pTuermatikSpin", 1, 10,
                                 [](const TMoxDocument& d) { return int{d.GetTuermatik()}; }},
                    RangeEndCase{"SchaltdauerMfr", "m_pSchaltdauerMfr", "m_pSchaltdauerMfrSpin", 1,
                                 999,
                                 [](const TMoxDocument& d) { return int{d.GetSchaltdauerMfr()}; }},
                    RangeEndCase{"Kettenruf", "m_pKettenruf", "m_pKettenrufSpin", 10, 30,
                                 [](const TMoxDocument& d) { return int{d.GetKettenruf()}; }},
                    RangeEndCase{"Nachtriggern", "m_pNachtriggern", "m_pNachtriggernSpin", 1, 10,
                                 [](const TMoxDocument& d) { return int{d.GetNachtriggern()}; }}),
    [](const testing::TestParamInfo<RangeEndCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- levels

struct LevelSpinCase {
    const char* name;
    bool outgoing;
    const char* start;
    bool up;
    const char* shown;
};

class SystemPageLevelSpin : public SystemPage, public testing::WithParamInterface<LevelSpinCase> {};

TEST_P(SystemPageLevelSpin, HalfDbSteps) {
    const LevelSpinCase& c = GetParam();
    Open();
    QLineEdit* edit = Edit(c.outgoing ? "m_pPegelGehend" : "m_pPegelKommend");
    QLineEdit* other = Edit(c.outgoing ? "m_pPegelKommend" : "m_pPegelGehend");
    ASSERT_NE(edit, nullptr);
    const QString otherBefore = other->text();
    edit->setText(QString::fromLatin1(c.start));
    Spin(c.outgoing ? "m_pPegelSpinGehend" : "m_pPegelSpinKommend", c.up);
    EXPECT_EQ(edit->text().toStdString(), c.shown);
    EXPECT_EQ(other->text(), otherBefore) << "each button pair moves its own field";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SystemPageLevelSpin,
    testing::Values(LevelSpinCase{"EmptyUp", false, "", true, "12.0"},
                    LevelSpinCase{"EmptyDown", true, "", false, "-12.0"},
                    LevelSpinCase{"DownBelowMinimum", false, "-11.8", false, "-12.0"},
                    LevelSpinCase{"UpAboveMaximum", true, "11.8", true, "12.0"},
                    LevelSpinCase{"UpHalfDb", false, "3.0", true, "3.5"},
                    LevelSpinCase{"DownHalfDb", true, "0.0", false, "-0.5"},
                    LevelSpinCase{"UpKeepsTheTenth", false, "-11.8", true, "-11.3"}),
    [](const testing::TestParamInfo<LevelSpinCase>& info) { return std::string(info.param.name); });

struct LevelExitCase {
    const char* name;
    const char* typed;
    const char* shown;
    int beepHz; // 0: no tone
};

class SystemPageLevelExit : public SystemPage, public testing::WithParamInterface<LevelExitCase> {};

TEST_P(SystemPageLevelExit, RoundedAndHeldToTheRange) {
    const LevelExitCase& c = GetParam();
    Open();
    QLineEdit* edit = Edit("m_pPegelKommend");
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromLatin1(c.typed));
    LeaveField(edit);
    EXPECT_EQ(edit->text().toStdString(), c.shown);
    if (c.beepHz == 0) {
        EXPECT_TRUE(m_Beeps.empty());
    } else {
        ASSERT_EQ(m_Beeps.size(), 1u);
        EXPECT_EQ(m_Beeps[0].first, c.beepHz);
        EXPECT_EQ(m_Beeps[0].second, 250);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SystemPageLevelExit,
                         testing::Values(LevelExitCase{"UpToHalf", "3.3", "3.5", 0},
                                         LevelExitCase{"DownToWhole", "3.2", "3.0", 0},
                                         LevelExitCase{"UpToNextWhole", "3.75", "4.0", 0},
                                         LevelExitCase{"NegativeToHalf", "-3.3", "-3.5", 0},
                                         LevelExitCase{"NegativeToWhole", "-3.1", "-3.0", 0},
                                         LevelExitCase{"CommaSeparator", "2,5", "2.5", 0},
                                         LevelExitCase{"AboveMaximum", "15", "12.0", 200},
                                         LevelExitCase{"BelowMinimum", "-15", "-12.0", 250},
                                         LevelExitCase{"Empty", "", "0.0", 0},
                                         LevelExitCase{"LoneSign", "-", "0.0", 0},
                                         LevelExitCase{"Blanks", "  ", "0.0", 0},
                                         LevelExitCase{"TrailingSeparator", "5.", "5.0", 0}),
                         [](const testing::TestParamInfo<LevelExitCase>& info) {
                             return std::string(info.param.name);
                         });

struct LevelTypingCase {
    const char* name;
    const char* before;
    const char* typed; // one character, typed at the end
    const char* shown;
};

class SystemPageLevelTyping : public SystemPage,
                              public testing::WithParamInterface<LevelTypingCase> {};

TEST_P(SystemPageLevelTyping, KeepsOnlyANumber) {
    const LevelTypingCase& c = GetParam();
    Open();
    QLineEdit* edit = Edit("m_pPegelGehend");
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromLatin1(c.before));
    edit->end(false);
    edit->insert(QString::fromLatin1(c.typed));
    EXPECT_EQ(edit->text().toStdString(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, SystemPageLevelTyping,
                         testing::Values(LevelTypingCase{"Digit", "3", "5", "35"},
                                         LevelTypingCase{"Letter", "3", "a", "3"},
                                         LevelTypingCase{"SignFirst", "", "-", "-"},
                                         LevelTypingCase{"Blank", "3", " ", "3"},
                                         LevelTypingCase{"SignInside", "3", "-", "3"},
                                         LevelTypingCase{"Separator", "3", ".", "3."},
                                         LevelTypingCase{"CommaBecomesPoint", "3", ",", "3."},
                                         LevelTypingCase{"SecondSeparator", "3.5", ".", "3.5"},
                                         LevelTypingCase{"SeparatorFirst", "", ".", "0."}),
                         [](const testing::TestParamInfo<LevelTypingCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SystemPageRounding, HalfDbSteps) {
    EXPECT_DOUBLE_EQ(TFormSystem::RoundHalfDb(0.24), 0.0);
    EXPECT_DOUBLE_EQ(TFormSystem::RoundHalfDb(0.25), 0.5);
    EXPECT_DOUBLE_EQ(TFormSystem::RoundHalfDb(0.74), 0.5);
    EXPECT_DOUBLE_EQ(TFormSystem::RoundHalfDb(0.75), 1.0);
    EXPECT_DOUBLE_EQ(TFormSystem::RoundHalfDb(-0.25), -0.5);
    EXPECT_DOUBLE_EQ(TFormSystem::RoundHalfDb(-0.75), -1.0);
    EXPECT_DOUBLE_EQ(TFormSystem::RoundHalfDb(-11.9), -12.0);
}

// ---------------------------------------------------------------- load, store

TEST_F(SystemPage, OpensTheDocumentsValuesAndRanges) {
    ASSERT_TRUE(Doc().SetTuerrufannahme(45));
    ASSERT_TRUE(Doc().SetTuerrufdauer(300));
    ASSERT_TRUE(Doc().SetSchaltdauerMfr(7));
    ASSERT_TRUE(Doc().SetKettenruf(25));
    ASSERT_TRUE(Doc().SetNachtriggern(4));
    ASSERT_TRUE(Doc().SetTuermatik(3));
    ASSERT_TRUE(Doc().SetPegelKommend(10.5));
    ASSERT_TRUE(Doc().SetPegelGehend(-4.0));
    Open();
    EXPECT_EQ(Edit("m_pTuerrufannahme")->text(), "45");
    EXPECT_EQ(Edit("m_pTuerrufdauer")->text(), "300");
    EXPECT_EQ(Edit("m_pSchaltdauerMfr")->text(), "7");
    EXPECT_EQ(Edit("m_pKettenruf")->text(), "25");
    EXPECT_EQ(Edit("m_pNachtriggern")->text(), "4");
    EXPECT_EQ(Edit("m_pTuermatik")->text(), "3");
    EXPECT_EQ(Edit("m_pPegelKommend")->text(), "10.5");
    EXPECT_EQ(Edit("m_pPegelGehend")->text(), "-4.0");
    EXPECT_EQ(Find<QLabel>("m_pLabelTuerrufannahmeMax")->text(), "[20s ..120s]");
    EXPECT_EQ(Find<QLabel>("m_pLabelSchaltdauerMax")->text(), "[1s ..999s]");
    EXPECT_EQ(Find<QLabel>("m_pLabelNachtriggernMax")->text(), "[1 ..10]");
    EXPECT_EQ(Find<QLabel>("m_pLabelPegelKommendMax")->text(), "[-12db..12db]");
    EXPECT_EQ(Find<QLabel>("m_pLabelPegelGehendMax")->text(), "[-12db ..12db]");
    // The hint of a field is its label's.
    EXPECT_EQ(Edit("m_pTuerrufannahme")->toolTip(), Res()->GetQHint(291));
    EXPECT_FALSE(Edit("m_pTuerrufannahme")->toolTip().isEmpty());
}

TEST_F(SystemPage, SavingUnchangedChangesNothing) {
    ASSERT_TRUE(Doc().SetPegelKommend(10.5));
    ASSERT_TRUE(Doc().SetPegelGehend(-7.5));
    const std::vector<std::uint8_t> before = Record();
    Open();
    m_pPage->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(Record(), before);
    EXPECT_DOUBLE_EQ(Doc().GetPegelKommend(), 10.5);
}

TEST_F(SystemPage, StoresEveryField) {
    Open();
    Edit("m_pTuerrufannahme")->setText("33");
    Edit("m_pTuerrufdauer")->setText("480");
    Edit("m_pSchaltdauerMfr")->setText("12");
    Edit("m_pKettenruf")->setText("17");
    Edit("m_pNachtriggern")->setText("6");
    Edit("m_pTuermatik")->setText("9");
    Edit("m_pPegelKommend")->setText("-2.5");
    Edit("m_pPegelGehend")->setText("6.0");
    Find<QCheckBox>("m_pbSprachwaage")->setChecked(!Doc().GetSprachwaage());
    const std::uint8_t waage = Find<QCheckBox>("m_pbSprachwaage")->isChecked() ? 1 : 0;
    m_pPage->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(Doc().GetTuerrufannahme(), 33);
    EXPECT_EQ(Doc().GetTuerrufdauer(), 480);
    EXPECT_EQ(Doc().GetSchaltdauerMfr(), 12);
    EXPECT_EQ(Doc().GetKettenruf(), 17);
    EXPECT_EQ(Doc().GetNachtriggern(), 6);
    EXPECT_EQ(Doc().GetTuermatik(), 9);
    EXPECT_DOUBLE_EQ(Doc().GetPegelKommend(), -2.5);
    EXPECT_DOUBLE_EQ(Doc().GetPegelGehend(), 6.0);
    EXPECT_EQ(Doc().GetSprachwaage(), waage);
}

TEST_F(SystemPage, AClearedTimeIsRefusedByTheDocument) {
    ASSERT_TRUE(Doc().SetTuerrufannahme(45));
    Open();
    QLineEdit* edit = Edit("m_pTuerrufannahme");
    edit->setText("");
    EXPECT_EQ(edit->text(), "0");
    m_pPage->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(Doc().GetTuerrufannahme(), 45);
    // A refused value still marks the document.
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(SystemPage, ALevelThatIsNoNumberKeepsTheStoredLevel) {
    ASSERT_TRUE(Doc().SetPegelGehend(4.5));
    Open();
    Edit("m_pPegelGehend")->setText("-");
    m_pPage->Perform(WM_SAVE, -1, -1);
    EXPECT_DOUBLE_EQ(Doc().GetPegelGehend(), 4.5);
}

TEST_F(SystemPage, AnEmptyLevelStoresZeroDb) {
    ASSERT_TRUE(Doc().SetPegelKommend(4.5));
    Open();
    Edit("m_pPegelKommend")->setText("");
    m_pPage->Perform(WM_SAVE, -1, -1);
    EXPECT_DOUBLE_EQ(Doc().GetPegelKommend(), 0.0);
}

TEST_F(SystemPage, ACommaLocaleShowsAndTakesCommas) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(Doc().SetPegelKommend(10.5));
    Open();
    QLineEdit* edit = Edit("m_pPegelKommend");
    EXPECT_EQ(edit->text(), "10,5");
    edit->setText("-3");
    edit->end(false);
    edit->insert(".");
    EXPECT_EQ(edit->text(), "-3,");
    edit->insert("5");
    Spin("m_pPegelSpinKommend", true);
    EXPECT_EQ(edit->text(), "-3,0");
    m_pPage->Perform(WM_SAVE, -1, -1);
    EXPECT_DOUBLE_EQ(Doc().GetPegelKommend(), -3.0);
}

TEST_F(SystemPage, StandardModeShowsOnlyTheLevelsAndStoresEverything) {
    SystemForm::SetProgramModeForTesting(eModeStandard);
    ASSERT_TRUE(Doc().SetTuerrufannahme(45));
    ASSERT_TRUE(Doc().SetKettenruf(25));
    Open();
    for (const char* hidden :
         {"m_pTuerrufannahme", "m_pTuerrufannahmeSpin", "m_pLabelTuerrufannahme",
          "m_pLabelTuerrufannahmeMax", "Label15", "m_pTuerrufdauer", "m_pTuermatik",
          "m_pSchaltdauerMfr", "m_pKettenruf", "m_pNachtriggern", "m_pNachtriggernSpin", "Label11",
          "Label17"})
        EXPECT_FALSE(Find<QWidget>(hidden)->isVisible()) << hidden;
    for (const char* shown : {"m_pPegelKommend", "m_pPegelGehend", "m_pPegelSpinKommend",
                              "m_pbSprachwaage", "m_pSprachausgabe", "Label5"})
        EXPECT_TRUE(Find<QWidget>(shown)->isVisible()) << shown;

    Edit("m_pPegelKommend")->setText("1.5");
    m_pPage->Perform(WM_SAVE, -1, -1);
    EXPECT_DOUBLE_EQ(Doc().GetPegelKommend(), 1.5);
    EXPECT_EQ(Doc().GetTuerrufannahme(), 45);
    EXPECT_EQ(Doc().GetKettenruf(), 25);
}

TEST_F(SystemPage, ExpertModeShowsTheTimes) {
    Open();
    for (const char* shown : {"m_pTuerrufannahme", "m_pKettenrufSpin", "Label11", "Label17"})
        EXPECT_TRUE(Find<QWidget>(shown)->isVisible()) << shown;
}

class SystemPageVoiceBalance : public SystemPage,
                               public testing::WithParamInterface<std::pair<int, bool>> {};

TEST_P(SystemPageVoiceBalance, OnlyWithTheCameraDevice) {
    Doc().SetTypeKMR(static_cast<std::uint8_t>(GetParam().first));
    Open();
    EXPECT_EQ(Find<QCheckBox>("m_pbSprachwaage")->isEnabled(), GetParam().second);
    EXPECT_FALSE(Find<QCheckBox>("m_pSprachausgabe")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(CameraTypes, SystemPageVoiceBalance,
                         testing::Values(std::pair{0, false}, std::pair{1, true}),
                         [](const testing::TestParamInfo<std::pair<int, bool>>& info) {
                             return "Type" + std::to_string(info.param.first);
                         });

TEST_F(SystemPage, RestoreLoadsTheDefaults) {
    const std::uint8_t defaultAnnahme = Doc().GetTuerrufannahme();
    const double defaultPegel = Doc().GetPegelKommend();
    ASSERT_TRUE(Doc().SetTuerrufannahme(defaultAnnahme == 99 ? 98 : 99));
    ASSERT_TRUE(Doc().SetPegelKommend(defaultPegel == 7.0 ? 6.0 : 7.0));
    Open();
    m_pPage->Perform(WM_RESTORE, -1, -1);
    EXPECT_EQ(Edit("m_pTuerrufannahme")->text(), QString::number(defaultAnnahme));
    EXPECT_EQ(Doc().GetTuerrufannahme(), defaultAnnahme);
    EXPECT_DOUBLE_EQ(Doc().GetPegelKommend(), defaultPegel);
}

TEST_F(SystemPage, FocusStartsOnTheIncomingLevel) {
    m_pWindow->activateWindow();
    Open();
    EXPECT_TRUE(Edit("m_pPegelKommend")->hasFocus() ||
                m_pWindow->focusWidget() == Edit("m_pPegelKommend"));
}

} // namespace
