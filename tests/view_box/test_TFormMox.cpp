// The box settings page: loading from and storing into the document, the
// concierge rule, the country and language lists, the digit filter and the
// page reset.

#include "BoxPageFixture.h"

#include "PermSettings.h"
#include "TFormMox.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <string>

namespace {

std::string Rnr(const TMoxDocument& doc) {
    char buf[64] = {};
    doc.GetRnr(buf, sizeof buf);
    return buf;
}

std::string ConciergeRnr(const TMoxDocument& doc) {
    char buf[64] = {};
    doc.GetConciergeRnr(buf, sizeof buf);
    return buf;
}

} // namespace

class FormMox : public BoxPageTest {};

TEST_F(FormMox, OpenShowsTheDocument) {
    Doc().SetLand(3);
    Doc().SetSprache(2);
    Doc().SetRnr("0301234567");
    Doc().SetConciergeAktiv(1);
    Doc().SetConciergeRnr("4711");
    Doc().SetConciergeVideo(1);
    auto* page = MakePage<TFormMox>(eKTXKonfig);

    auto* land = Find<QComboBox>(page, "m_pComboBoxLand");
    auto* sprache = Find<QComboBox>(page, "m_pComboBoxSprache");
    EXPECT_EQ(land->count(), 8);
    EXPECT_EQ(sprache->count(), 6);
    EXPECT_EQ(land->currentIndex(), 2);
    EXPECT_EQ(land->itemText(0), Res()->GetQText(165));
    EXPECT_EQ(sprache->currentIndex(), 1);
    EXPECT_EQ(sprache->itemText(5), Res()->GetQText(185));
    EXPECT_EQ(Find<QLineEdit>(page, "m_pMSN")->text(), QStringLiteral("0301234567"));
    EXPECT_TRUE(Find<QCheckBox>(page, "m_pConciergeEinAus")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(page, "m_pConciergeRnr")->text(), QStringLiteral("4711"));
    EXPECT_TRUE(Find<QCheckBox>(page, "m_pVideoCheckBox")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(page, "m_pMSN")->maxLength(), 24);
    EXPECT_EQ(Find<QLineEdit>(page, "m_pConciergeRnr")->maxLength(), 20);
    EXPECT_FALSE(Find<QLineEdit>(page, "m_pAKZ")->isVisible());
}

TEST_F(FormMox, SaveStoresEveryControl) {
    auto* page = MakePage<TFormMox>(eKTXKonfig);
    Find<QComboBox>(page, "m_pComboBoxLand")->setCurrentIndex(7);
    Find<QComboBox>(page, "m_pComboBoxSprache")->setCurrentIndex(4);
    Find<QLineEdit>(page, "m_pMSN")->setText(QStringLiteral("0891234"));
    Find<QCheckBox>(page, "m_pConciergeEinAus")->setChecked(true);
    Find<QLineEdit>(page, "m_pConciergeRnr")->setText(QStringLiteral("33"));
    Find<QCheckBox>(page, "m_pVideoCheckBox")->setChecked(true);
    page->Perform(WM_SAVE, -1, -1);

    EXPECT_EQ(Doc().GetLand(), 8);
    EXPECT_EQ(Doc().GetSprache(), 5);
    EXPECT_EQ(Rnr(Doc()), "0891234");
    EXPECT_EQ(Doc().GetConciergeAktiv(), 1);
    EXPECT_EQ(ConciergeRnr(Doc()), "33");
    EXPECT_EQ(Doc().GetConciergeVideo(), 1);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(FormMox, ConciergeWithoutNumberIsSwitchedOffWithAHint) {
    auto* page = MakePage<TFormMox>(eKTXKonfig);
    Find<QCheckBox>(page, "m_pConciergeEinAus")->setChecked(true);
    Find<QLineEdit>(page, "m_pConciergeRnr")->clear();
    page->Perform(WM_SAVE, -1, -1);

    ASSERT_EQ(BoxIds(), std::vector<int>{1011});
    EXPECT_EQ(m_Boxes[0].flags & mb::kIconMask, mb::kIconInformation);
    EXPECT_EQ(m_Boxes[0].caption, Res()->GetQText(1002));
    EXPECT_EQ(Doc().GetConciergeAktiv(), 0);
    EXPECT_FALSE(Find<QCheckBox>(page, "m_pConciergeEinAus")->isChecked());
}

// A stored country or language outside the lists shows no item and is kept
// as it is on save.
struct ListRow {
    const char* name;
    std::uint8_t stored;
    int shownIndex;
};

class FormMoxLists : public BoxPageTest, public testing::WithParamInterface<ListRow> {};

TEST_P(FormMoxLists, CountryAndLanguageSelection) {
    const ListRow& row = GetParam();
    Doc().SetLand(row.stored);
    Doc().SetSprache(row.stored);
    auto* page = MakePage<TFormMox>(eKTXKonfig);
    EXPECT_EQ(Find<QComboBox>(page, "m_pComboBoxLand")->currentIndex(), row.shownIndex);
    const int spracheIndex = row.stored >= 1 && row.stored <= 6 ? row.stored - 1 : -1;
    EXPECT_EQ(Find<QComboBox>(page, "m_pComboBoxSprache")->currentIndex(), spracheIndex);
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(Doc().GetLand(), row.stored);
    EXPECT_EQ(Doc().GetSprache(), row.stored);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormMoxLists,
                         testing::Values(ListRow{"Zero", 0, -1}, ListRow{"First", 1, 0},
                                         ListRow{"Six", 6, 5}, ListRow{"LastCountry", 8, 7},
                                         ListRow{"Beyond", 9, -1}, ListRow{"Erased", 255, -1}),
                         [](const testing::TestParamInfo<ListRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(FormMox, NumberFieldsKeepOnlyDigits) {
    auto* page = MakePage<TFormMox>(eKTXKonfig);
    auto* msn = Find<QLineEdit>(page, "m_pMSN");
    msn->clear();
    QTest::keyClicks(msn, QStringLiteral("12a3"));
    EXPECT_EQ(msn->text(), QStringLiteral("123"));
    auto* concierge = Find<QLineEdit>(page, "m_pConciergeRnr");
    concierge->clear();
    QTest::keyClicks(concierge, QStringLiteral("-9#9"));
    EXPECT_EQ(concierge->text(), QStringLiteral("99"));
}

TEST_F(FormMox, ConciergeClickFocusesAnEmptyNumber) {
    auto* page = MakePage<TFormMox>(eKTXKonfig);
    m_pOwner->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pOwner.get()));
    auto* box = Find<QCheckBox>(page, "m_pConciergeEinAus");
    auto* rnr = Find<QLineEdit>(page, "m_pConciergeRnr");
    rnr->clear();
    box->setChecked(false);
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(rnr->hasFocus());
}

TEST_F(FormMox, RestorePutsBackTheDefaultsAndReloads) {
    SetPermLand(2);
    SetPermSprache(2);
    Doc().SetRnr("555");
    Doc().SetConciergeAktiv(1);
    Doc().SetConciergeRnr("1");
    auto* page = MakePage<TFormMox>(eKTXKonfig);
    page->Perform(WM_RESTORE, -1, -1);
    EXPECT_EQ(Rnr(Doc()), "");
    EXPECT_EQ(Doc().GetConciergeAktiv(), 0);
    EXPECT_EQ(Doc().GetLand(), 2);
    EXPECT_EQ(Find<QLineEdit>(page, "m_pMSN")->text(), QString());
    EXPECT_FALSE(Find<QCheckBox>(page, "m_pConciergeEinAus")->isChecked());
    EXPECT_EQ(Find<QComboBox>(page, "m_pComboBoxLand")->currentIndex(), 1);
}

TEST_F(FormMox, TreePageStoresItselfWhenItGoes) {
    auto* page = MakePage<TFormMox>(eKTXKonfig);
    Find<QLineEdit>(page, "m_pMSN")->setText(QStringLiteral("777"));
    DropPage();
    EXPECT_EQ(Rnr(Doc()), "777");
}
