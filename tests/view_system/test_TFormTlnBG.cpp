// The permission-groups page: one tab per group, the code checks on tab
// change and on leaving the page, the comfort functions and their numbers,
// the all/none boxes, the overlap hints, the controller's outputs, and the
// working copy that reaches the document only on save.

#include "SystemPageFixture.h"

#include "TFormTlnBG.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

#include <string>

namespace {

class GroupsPage : public SystemPageTest {
protected:
    // Variant 2 with codes for groups 1..3.
    void SetUpVariant2() {
        Doc().SetTypeIT(2);
        ASSERT_TRUE(Doc().SetPGPin(1, "1111"));
        ASSERT_TRUE(Doc().SetPGPin(2, "2222"));
        ASSERT_TRUE(Doc().SetPGPin(3, "3333"));
    }
    TFormTlnBG* Open() { return MakePage<TFormTlnBG>(eTlnBG); }
    TFormTlnBG* Page() const { return static_cast<TFormTlnBG*>(m_pPage); }
    QTabBar* Tabs() { return Find<QTabBar>("m_pTabControl"); }
    QCheckBox* Box(const char* name) { return Find<QCheckBox>(name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QComboBox* EG() { return Find<QComboBox>("m_pEG"); }
    void GoTo(int tab) { Tabs()->setCurrentIndex(tab); }
    void Save() { m_pPage->Perform(WM_SAVE, -1, -1); }
    std::string Pin(std::uint8_t g) {
        char pin[8] = {};
        Doc().GetPGPin(g, pin, sizeof pin);
        return pin;
    }
};

TEST_F(GroupsPage, OneTabPerGroup) {
    SetUpVariant2();
    Open();
    ASSERT_EQ(Tabs()->count(), Doc().GetAnzPG());
    EXPECT_EQ(Tabs()->tabText(0), Res()->GetQText(333));
    EXPECT_EQ(Tabs()->tabText(1), Res()->GetQText(334));
    EXPECT_EQ(Tabs()->tabText(2), "1");
    EXPECT_EQ(Tabs()->tabText(Tabs()->count() - 1), QString::number(Doc().GetAnzPG() - 2));
    EXPECT_EQ(Page()->CurrentGroup(), 0);
    // Group 0 has no code field.
    EXPECT_FALSE(Edit("m_pCode")->isVisible());
    EXPECT_EQ(EG()->count(), 1 + Doc().GetAnzTln());
}

TEST_F(GroupsPage, CallInputsForVariant3) {
    Doc().SetTypeIT(3);
    Open();
    ASSERT_EQ(EG()->count(), 5);
    EXPECT_EQ(EG()->itemText(1), "A");
    EXPECT_EQ(EG()->itemText(4), "D");
    EXPECT_TRUE(Box("m_pEinwahl")->isEnabled());
    EXPECT_TRUE(Box("m_pTueranwahl")->isEnabled());
}

TEST_F(GroupsPage, Variant1NamesTheCallInputAndBarsDirectDoorSelection) {
    Doc().SetTypeIT(1);
    Open();
    EXPECT_EQ(Find<QLabel>("m_pTlnLabel")->text(), Res()->GetQText(442));
    EXPECT_FALSE(Box("m_pTueranwahl")->isEnabled());
    EXPECT_FALSE(Box("m_pEinwahl")->isEnabled());
}

TEST_F(GroupsPage, WithoutADoorInterfaceThereIsNothingToEdit) {
    Doc().SetTypeIT(0);
    ASSERT_EQ(Doc().GetAnzPG(), 0);
    const std::vector<std::uint8_t> before = Record();
    Open();
    EXPECT_EQ(Tabs()->count(), 0);
    EXPECT_EQ(Page()->CurrentGroup(), -1);
    EXPECT_TRUE(m_pPage->CloseQuery());
    Save();
    EXPECT_EQ(Record(), before);
    EXPECT_TRUE(m_Boxes.empty());
}

struct CodeCase {
    const char* name;
    int tab;
    const char* code;
    bool leaves;
};

class GroupsPageCode : public GroupsPage, public testing::WithParamInterface<CodeCase> {};

TEST_P(GroupsPageCode, CheckedOnTabChange) {
    const CodeCase& c = GetParam();
    SetUpVariant2();
    Open();
    GoTo(c.tab);
    ASSERT_EQ(Page()->CurrentGroup(), c.tab);
    Edit("m_pCode")->setText(QString::fromLatin1(c.code));
    m_Boxes.clear();
    GoTo(5);
    if (c.leaves) {
        EXPECT_EQ(Page()->CurrentGroup(), 5);
        EXPECT_TRUE(m_Boxes.empty());
    } else {
        EXPECT_EQ(Page()->CurrentGroup(), c.tab);
        EXPECT_EQ(Tabs()->currentIndex(), c.tab);
        ASSERT_FALSE(m_Boxes.empty());
        EXPECT_EQ(m_Boxes.front().textId, 231);
        EXPECT_EQ(m_Boxes.front().flags & mb::kIconStop, mb::kIconStop);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, GroupsPageCode,
                         testing::Values(CodeCase{"AnotherGroupsCode", 2, "1111", false},
                                         CodeCase{"OwnUnchangedCode", 2, "2222", true},
                                         CodeCase{"NewCode", 3, "9876", true},
                                         CodeCase{"ThreeDigits", 3, "987", false},
                                         CodeCase{"Empty", 1, "", false}),
                         [](const testing::TestParamInfo<CodeCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(GroupsPage, ABadCodeKeepsThePage) {
    SetUpVariant2();
    Open();
    GoTo(3);
    Edit("m_pCode")->setText("123");
    m_Boxes.clear();
    EXPECT_FALSE(m_pPage->CloseQuery());
    EXPECT_EQ(BoxIds(), std::vector<int>{231});
    Edit("m_pCode")->setText("1234");
    EXPECT_TRUE(m_pPage->CloseQuery());
}

TEST_F(GroupsPage, LeavingTheCodeFieldWarnsOnceTheFocusHasMoved) {
    SetUpVariant2();
    Open();
    GoTo(2);
    Edit("m_pCode")->setText("3333");
    LeaveField(Edit("m_pCode"));
    QCoreApplication::processEvents();
    EXPECT_EQ(BoxIds(), std::vector<int>{231});
}

TEST_F(GroupsPage, ChangesReachTheDocumentOnlyOnSave) {
    SetUpVariant2();
    Open();
    GoTo(2);
    Edit("m_pCode")->setText("5555");
    Box("m_pLicht")->click();
    const bool licht = Box("m_pLicht")->isChecked();
    EG()->setCurrentIndex(3);
    Box("m_pKettenruf")->setChecked(true);
    Edit("m_pKettenRnr")->setText("0301234");
    Box("m_pSchaltcode53")->setChecked(true);
    GoTo(4);
    EXPECT_EQ(Pin(2), "2222") << "not before the save";
    Save();
    EXPECT_EQ(Pin(2), "5555");
    EXPECT_EQ(Doc().GetPGLicht(2), licht ? 1 : 0);
    EXPECT_EQ(Doc().GetPGTlnIdx(2), 2);
    EXPECT_EQ(Doc().GetPGKettenruf(2), 1);
    EXPECT_EQ(Doc().GetPGSchaltcode(2, 2), 1);
    char rnr[32] = {};
    ASSERT_TRUE(Doc().GetPGKettenRnr(2, rnr, sizeof rnr));
    EXPECT_STREQ(rnr, "0301234");
    // Back on the tab, the copy shows what was entered.
    GoTo(2);
    EXPECT_EQ(Edit("m_pCode")->text(), "5555");
    EXPECT_EQ(EG()->currentIndex(), 3);
}

TEST_F(GroupsPage, NoSubscriberStoresNone) {
    SetUpVariant2();
    ASSERT_TRUE(Doc().SetPGTlnIdx(2, 4));
    Open();
    GoTo(2);
    EXPECT_EQ(EG()->currentIndex(), 5);
    EG()->setCurrentIndex(0);
    Save();
    EXPECT_EQ(Doc().GetPGTlnIdx(2), TFormTlnBG::kNoTln);
}

struct NumberCase {
    const char* name;
    const char* right;
    const char* number;
    int text;
};

class GroupsPageNumber : public GroupsPage, public testing::WithParamInterface<NumberCase> {};

TEST_P(GroupsPageNumber, ASwitchedOnComfortFunctionNeedsItsNumber) {
    const NumberCase& c = GetParam();
    SetUpVariant2();
    Open();
    GoTo(2);
    EG()->setCurrentIndex(1);
    Box(c.right)->setChecked(true);
    Edit(c.number)->clear();
    m_Boxes.clear();
    GoTo(3);
    EXPECT_EQ(Page()->CurrentGroup(), 2);
    EXPECT_EQ(BoxIds(), std::vector<int>{c.text});
    m_Boxes.clear();
    EXPECT_FALSE(m_pPage->CloseQuery());
    EXPECT_EQ(BoxIds(), std::vector<int>{c.text});
    Edit(c.number)->setText("0815");
    GoTo(3);
    EXPECT_EQ(Page()->CurrentGroup(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GroupsPageNumber,
    testing::Values(NumberCase{"ChainCall", "m_pKettenruf", "m_pKettenRnr", 1033},
                    NumberCase{"Signalling", "m_pSignal", "m_pSignalRnr", 1034},
                    NumberCase{"Diversion", "m_pDiversion", "m_pDiversionRnr", 1035}),
    [](const testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.name); });

TEST_F(GroupsPage, WithoutASubscriberNoNumberIsAskedFor) {
    SetUpVariant2();
    Open();
    GoTo(2);
    EG()->setCurrentIndex(0);
    Box("m_pKettenruf")->setChecked(true);
    m_Boxes.clear();
    GoTo(3);
    EXPECT_EQ(Page()->CurrentGroup(), 3);
    EXPECT_TRUE(m_Boxes.empty());
}

struct ComfortCase {
    const char* name;
    int tab;
    int eg;
    bool enabled;
};

class GroupsPageComfort : public GroupsPage, public testing::WithParamInterface<ComfortCase> {};

TEST_P(GroupsPageComfort, EnabledWithASubscriberOrOnTheMasterGroup) {
    const ComfortCase& c = GetParam();
    SetUpVariant2();
    Open();
    GoTo(c.tab);
    EG()->setCurrentIndex(c.eg);
    for (const char* name : {"m_pTuermatik", "m_pTuermatikCheck", "m_pTuermatikSignal",
                             "m_pKettenruf", "m_pSignalCheck", "m_pDiversion"})
        EXPECT_EQ(Box(name)->isEnabled(), c.enabled) << name;
    EXPECT_EQ(Edit("m_pSignalRnr")->isEnabled(), c.enabled);
    EXPECT_TRUE(Box("m_pTueroeffnen")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Rows, GroupsPageComfort,
                         testing::Values(ComfortCase{"BasicGroupNone", 0, 0, false},
                                         ComfortCase{"MasterGroupNone", 1, 0, true},
                                         ComfortCase{"GroupNone", 2, 0, false},
                                         ComfortCase{"GroupWithSubscriber", 2, 1, true}),
                         [](const testing::TestParamInfo<ComfortCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(GroupsPage, AllOnVariant1AlsoChecksDirectDoorSelection) {
    Doc().SetTypeIT(1);
    Open();
    GoTo(1);
    Box("m_pAll")->click();
    EXPECT_TRUE(Box("m_pTueranwahl")->isChecked());
    EXPECT_TRUE(Box("m_pLicht")->isChecked());
    EXPECT_FALSE(Box("m_pEinwahl")->isChecked()) << "disabled for this variant";
    EXPECT_FALSE(Box("m_pNo")->isChecked());
    Box("m_pNo")->click();
    EXPECT_FALSE(Box("m_pTueranwahl")->isChecked());
    EXPECT_FALSE(Box("m_pLicht")->isChecked());
    EXPECT_FALSE(Box("m_pAll")->isChecked());
}

TEST_F(GroupsPage, NoneFollowsTheBoxes) {
    SetUpVariant2();
    Open();
    GoTo(2);
    Box("m_pNo")->click();
    EXPECT_TRUE(Box("m_pNo")->isChecked());
    Box("m_pLicht")->click();
    EXPECT_FALSE(Box("m_pNo")->isChecked());
}

TEST_F(GroupsPage, ARightTheBasicGroupHasGivesAHint) {
    SetUpVariant2();
    ASSERT_TRUE(Doc().SetPGTueroeffner(0, 1));
    ASSERT_TRUE(Doc().SetPGTueroeffner(3, 0));
    Open();
    GoTo(3);
    m_Boxes.clear();
    Box("m_pTueroeffnen")->click();
    ASSERT_EQ(BoxIds(), std::vector<int>{130});
    EXPECT_EQ(m_Boxes[0].flags & mb::kIconInformation, mb::kIconInformation);
}

TEST_F(GroupsPage, ARightAnotherGroupHasGivesAHintOnTheBasicGroup) {
    SetUpVariant2();
    ASSERT_TRUE(Doc().SetPGLicht(0, 0));
    ASSERT_TRUE(Doc().SetPGLicht(4, 1));
    Open();
    m_Boxes.clear();
    Box("m_pLicht")->click();
    EXPECT_EQ(BoxIds(), std::vector<int>{131});
}

TEST_F(GroupsPage, UncheckingOrARightNobodyElseHasGivesNoHint) {
    SetUpVariant2();
    for (std::uint8_t g = 0; g < Doc().GetAnzPG(); ++g)
        ASSERT_TRUE(Doc().SetPGMultifktRelais(g, 0));
    Open();
    GoTo(2);
    m_Boxes.clear();
    Box("m_pMfr")->click();
    Box("m_pMfr")->click();
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(GroupsPage, ControllerOutputsFollowTheControllerRight) {
    SetUpVariant2();
    Doc().SetTypeRAK(1);
    ASSERT_TRUE(Doc().SetPGRAK(2, 0));
    Open();
    GoTo(2);
    EXPECT_TRUE(Box("m_pRAK")->isEnabled());
    EXPECT_FALSE(Box("m_pRAK1")->isEnabled());
    Box("m_pRAK")->click();
    EXPECT_TRUE(Box("m_pRAK12")->isEnabled());
    Box("m_pRAK5")->click();
    GoTo(3);
    Save();
    EXPECT_EQ(Doc().GetPGRAK(2), 1);
    EXPECT_EQ(Doc().GetPGSchaltausgang(2, 4), 1);
    EXPECT_EQ(Doc().GetPGSchaltausgang(2, 5), 0);
}

TEST_F(GroupsPage, WithoutTheControllerItsRightsAreOff) {
    SetUpVariant2();
    Doc().SetTypeRAK(0);
    Open();
    EXPECT_FALSE(Box("m_pRAK")->isEnabled());
    for (const char* name : {"m_pRAK1", "m_pRAK6", "m_pRAK12"})
        EXPECT_FALSE(Box(name)->isEnabled()) << name;
}

TEST_F(GroupsPage, RightsTheVariantLacksKeepTheirStoredValue) {
    SetUpVariant2();
    ASSERT_TRUE(Doc().SetPGEinwahl(0, 1));
    ASSERT_TRUE(Doc().SetPGEinwahl(1, 0));
    ASSERT_TRUE(Doc().SetPGSchaltcode78(0, 0));
    ASSERT_TRUE(Doc().SetPGSchaltcode78(1, 1));
    Open();
    GoTo(1);
    GoTo(0);
    GoTo(2);
    Save();
    EXPECT_EQ(Doc().GetPGEinwahl(0), 1);
    EXPECT_EQ(Doc().GetPGEinwahl(1), 0);
    EXPECT_EQ(Doc().GetPGSchaltcode78(1), 1);
    EXPECT_EQ(Doc().GetPGSchaltcode78(0), 0);
}

TEST_F(GroupsPage, SavingUnchangedChangesNothing) {
    SetUpVariant2();
    ASSERT_TRUE(Doc().SetPGTlnIdx(3, 7));
    ASSERT_TRUE(Doc().SetPGSignalRnr(3, "12345"));
    const std::vector<std::uint8_t> before = Record();
    Open();
    GoTo(3);
    GoTo(1);
    Save();
    EXPECT_EQ(Record(), before);
}

TEST_F(GroupsPage, RestoreLoadsTheDefaultGroups) {
    SetUpVariant2();
    Open();
    GoTo(2);
    Edit("m_pCode")->setText("7777");
    GoTo(3);
    m_pPage->Perform(WM_RESTORE, -1, -1);
    EXPECT_EQ(Page()->CurrentGroup(), 0);
    ASSERT_EQ(Page()->Copies().size(), Doc().GetAnzPG());
    // The copy holds the reset groups, not what was typed before.
    EXPECT_NE(Pin(2), "2222");
    EXPECT_EQ(Page()->Copies()[2].code, Pin(2));
    GoTo(2);
    EXPECT_EQ(Edit("m_pCode")->text().toStdString(), Pin(2));
}

} // namespace
