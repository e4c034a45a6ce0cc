// The controller's signal-input page: what a tab shows of the document, the
// mode change, the checks that refuse leaving an incomplete signal input,
// the time-switch options, the provider list and what a save stores.

#include "RakFixture.h"

#include "MoxDaten.h"
#include "RakTextIds.h"
#include "TFormRAKEG.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include <ostream>
#include <string>

namespace {

std::string DirektRnr(const TMoxDocument& doc, std::uint8_t i) {
    char buf[64] = {};
    return doc.GetRAKEingangDirektRnr(i, buf, sizeof buf) ? buf : "<none>";
}

std::string InputName(const TMoxDocument& doc, std::uint8_t i) {
    char buf[64] = {};
    return doc.GetMeldeeingangsText(i, buf, sizeof buf) ? buf : "<none>";
}

} // namespace

class RakInputsPage : public RakPageTest {
protected:
    void TearDown() override {
        TFormRAKEG::SetKonfigDlgRunnerForTesting({});
        RakPageTest::TearDown();
    }
    TFormRAKEG* Open() {
        TFormRAKEG* page = MakePage<TFormRAKEG>(eRAKMEG);
        m_pTabs = Find<QTabBar>("m_pTabControl");
        m_pMode = Find<QComboBox>("m_pComboBoxMode");
        return page;
    }
    QCheckBox* Box(const char* name) { return Find<QCheckBox>(name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QComboBox* List(const char* name) { return Find<QComboBox>(name); }
    // A signal input with every field set, as a user would configure it.
    void SetSignalInput(std::uint8_t i) {
        Doc().SetSMSProvider(0, "Alpha");
        ASSERT_TRUE(Doc().SetRAKEingangMeldefkt(i, 1, "111", 1, "222", 0, "333", 1, 0, 0, 1, 0));
        Doc().SetMeldeeingangsText(i, "Window");
    }
    QTabBar* m_pTabs = nullptr;
    QComboBox* m_pMode = nullptr;
};

TEST_F(RakInputsPage, WithoutTheControllerThereAreNoTabsAndSavingWritesNothing) {
    Doc().SetTypeRAK(0);
    Doc().Write(); // clean
    const bool modifiedBefore = Doc().IsModified();
    Open();
    EXPECT_EQ(m_pTabs->count(), 0);
    EXPECT_TRUE(static_cast<TFormRAKEG*>(m_pPage)->Copy().empty());
    Save();
    EXPECT_EQ(Doc().IsModified(), modifiedBefore);
}

TEST_F(RakInputsPage, ShowsASignalInputAndStoresItUnchanged) {
    SetSignalInput(0);
    const MoxMeldeEingang before = Doc().GetDaten()->RAKEingang[0];
    Open();
    ASSERT_EQ(m_pTabs->count(), 12);
    EXPECT_EQ(m_pTabs->tabText(11), "12");
    EXPECT_EQ(m_pMode->currentIndex(), 1);
    EXPECT_TRUE(Find<QWidget>("m_pPanelMeldeeingang")->isVisible());
    EXPECT_FALSE(Find<QWidget>("m_pPanelSchaltuhr")->isVisible());
    EXPECT_TRUE(Box("m_pSignal")->isChecked());
    EXPECT_EQ(Edit("m_pSignalRnr")->text(), "111");
    EXPECT_TRUE(Edit("m_pSignalRnr")->isEnabled());
    EXPECT_TRUE(Box("m_pKettenruf")->isChecked());
    EXPECT_EQ(Edit("m_pKettenRnr")->text(), "222");
    EXPECT_TRUE(Box("m_pSMSNichtmeldenDirektruf")->isChecked());
    EXPECT_FALSE(Box("m_pSMSImmer")->isChecked());
    EXPECT_TRUE(Box("m_pSMSVerbindung")->isChecked());
    EXPECT_EQ(Edit("m_pSMSRnr")->text(), "333");
    EXPECT_EQ(List("m_pSMSProviderCombo")->currentIndex(), 1);
    EXPECT_EQ(Edit("m_pTxt")->text(), "Window");
    Save();
    const MoxMeldeEingang& after = Doc().GetDaten()->RAKEingang[0];
    EXPECT_EQ(after.Mode, before.Mode);
    EXPECT_EQ(after.Options, before.Options);
    EXPECT_EQ(after.ProviderIdx, before.ProviderIdx);
    EXPECT_STREQ(after.Nr1, before.Nr1);
    EXPECT_STREQ(after.KettenRnr, before.KettenRnr);
    EXPECT_STREQ(after.SMSRnr, before.SMSRnr);
}

TEST_F(RakInputsPage, EditsOfATabReachTheDocument) {
    Open();
    m_pTabs->setCurrentIndex(2);
    m_pMode->setCurrentIndex(1);
    Box("m_pSignal")->click();
    Edit("m_pSignalRnr")->setText("0301234");
    Edit("m_pTxt")->setText("Garage");
    m_pTabs->setCurrentIndex(3);
    EXPECT_EQ(m_pTabs->currentIndex(), 3);
    Save();
    EXPECT_EQ(Doc().GetRAKEingangMode(2), eModeMeldeEingangMeldefkt);
    EXPECT_EQ(Doc().GetRAKEingangDirektruf(2), 1);
    EXPECT_EQ(DirektRnr(Doc(), 2), "0301234");
    EXPECT_EQ(InputName(Doc(), 2), "Garage");
}

TEST_F(RakInputsPage, NumberFieldsKeepDigitsOnly) {
    Open();
    m_pMode->setCurrentIndex(1);
    Box("m_pSignal")->click();
    Edit("m_pSignalRnr")->setText("030x");
    EXPECT_EQ(Edit("m_pSignalRnr")->text(), "030");
    EXPECT_EQ(Edit("m_pSignalRnr")->maxLength(), 24);
    EXPECT_EQ(Edit("m_pTxt")->maxLength(), 30);
}

struct CheckCase {
    const char* name;
    bool signal;
    const char* signalRnr;
    bool ketten;
    const char* kettenRnr;
    const char* smsBox; // nullptr: no SMS option
    const char* smsRnr;
    int providerPos;
    int textId; // 0: the tab may change
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class RakInputChecks : public RakInputsPage, public testing::WithParamInterface<CheckCase> {};

TEST_P(RakInputChecks, AnOptionWithoutItsNumberKeepsTheTab) {
    const CheckCase& c = GetParam();
    Doc().SetSMSProvider(0, "Alpha");
    Open();
    m_pMode->setCurrentIndex(1);
    if (c.signal)
        Box("m_pSignal")->click();
    Edit("m_pSignalRnr")->setText(c.signalRnr);
    if (c.ketten)
        Box("m_pKettenruf")->click();
    Edit("m_pKettenRnr")->setText(c.kettenRnr);
    if (c.smsBox)
        Box(c.smsBox)->click();
    Edit("m_pSMSRnr")->setText(c.smsRnr);
    List("m_pSMSProviderCombo")->setCurrentIndex(c.providerPos);

    m_pTabs->setCurrentIndex(1);
    bool canClose = m_pPage->CloseQuery();
    if (c.textId == 0) {
        EXPECT_TRUE(m_Boxes.empty());
        EXPECT_EQ(m_pTabs->currentIndex(), 1);
        EXPECT_TRUE(canClose);
    } else {
        ASSERT_EQ(BoxIds(), (std::vector<int>{c.textId, c.textId}));
        EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
        EXPECT_EQ(m_pTabs->currentIndex(), 0);
        EXPECT_FALSE(canClose);
        // Nothing of the refused tab reached the copy.
        EXPECT_EQ(static_cast<TFormRAKEG*>(m_pPage)->Copy()[0].options, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RakInputChecks,
    testing::Values(CheckCase{"Complete", true, "1", true, "2", "m_pSMSImmer", "3", 1, 0},
                    CheckCase{"NothingChecked", false, "", false, "", nullptr, "", 0, 0},
                    CheckCase{"DirectCallWithoutNumber", true, "", false, "", nullptr, "", 0, 1034},
                    CheckCase{"ChainCallWithoutNumber", false, "", true, "", nullptr, "", 0, 1033},
                    CheckCase{"SmsAlwaysWithoutProvider", false, "", false, "", "m_pSMSImmer", "3",
                              0, 1014},
                    CheckCase{"SmsOnConnectionWithoutNumber", false, "", false, "",
                              "m_pSMSVerbindung", "", 1, 1014},
                    CheckCase{"SmsNotAnsweredChainWithoutNumber", false, "", false, "",
                              "m_pSMSNichtmeldenKettenruf", "", 1, 1014}),
    [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST_F(RakInputsPage, ChangingTheModeClearsTheInputAtOnce) {
    SetSignalInput(0);
    Open();
    m_pMode->setCurrentIndex(2);
    const TFormRAKEG::MeldeEingang& e = static_cast<TFormRAKEG*>(m_pPage)->Copy()[0];
    EXPECT_EQ(e.mode, eModeMeldeEingangSchaltuhr);
    EXPECT_EQ(e.options, 0);
    EXPECT_EQ(e.direktRnr, "");
    EXPECT_EQ(e.kettenRnr, "");
    EXPECT_EQ(e.smsRnr, "");
    EXPECT_EQ(e.providerIdx, TFormRAKEG::kNoProvider);
    EXPECT_EQ(e.name, "Window");
    EXPECT_TRUE(Find<QWidget>("m_pPanelSchaltuhr")->isVisible());
    EXPECT_FALSE(Find<QWidget>("m_pPanelMeldeeingang")->isVisible());
    EXPECT_FALSE(Edit("m_pTxt")->isVisible());
    for (const char* b : {"m_pTuematik", "m_pDiversion", "m_pConcierge"})
        EXPECT_FALSE(Box(b)->isChecked()) << b;
}

TEST_F(RakInputsPage, OfTwoTimeSwitchOptionsTheLastIsShownAndStored) {
    ASSERT_TRUE(Doc().SetRAKEingangSchaltuhr(0, eSchaltuhrTuermatik, 3));
    Raw().RAKEingang[0].Options = eOptTuermatik | eOptConcierge;
    ASSERT_TRUE(Doc().SetRAKEingangSchaltuhr(1, eSchaltuhrTuermatik, 2));
    Raw().RAKEingang[1].Options = eOptTuermatik | eOptConcierge;
    Open();
    EXPECT_FALSE(Box("m_pTuematik")->isChecked());
    EXPECT_TRUE(Box("m_pConcierge")->isChecked());
    EXPECT_FALSE(List("m_pPGIdx")->isEnabled());
    Save();
    for (std::uint8_t i : {0, 1}) {
        EXPECT_EQ(Doc().GetRAKEingangConcierge(i), 1) << int(i);
        std::uint8_t pg = 0;
        EXPECT_FALSE(Doc().GetRAKEingangTuermatikPGIdx(i, &pg)) << int(i);
    }
}

TEST_F(RakInputsPage, GroupListFollowsTheTimeSwitchOptions) {
    ASSERT_TRUE(Doc().SetRAKEingangSchaltuhr(0, eSchaltuhrDiversion, 3));
    Open();
    QComboBox* groups = List("m_pPGIdx");
    ASSERT_EQ(groups->count(), Doc().GetAnzPG());
    EXPECT_EQ(groups->itemText(0).toStdString(), Text(rtxt::kGroup0));
    EXPECT_EQ(groups->itemText(1).toStdString(), Text(rtxt::kGroup1));
    EXPECT_EQ(groups->itemText(2), "1");
    EXPECT_TRUE(Box("m_pDiversion")->isChecked());
    EXPECT_TRUE(groups->isEnabled());
    EXPECT_EQ(groups->currentIndex(), 3);

    Box("m_pConcierge")->click();
    EXPECT_FALSE(Box("m_pDiversion")->isChecked());
    EXPECT_FALSE(groups->isEnabled());
    EXPECT_EQ(groups->currentIndex(), -1);

    Box("m_pTuematik")->click();
    EXPECT_FALSE(Box("m_pConcierge")->isChecked());
    EXPECT_TRUE(groups->isEnabled());
    EXPECT_EQ(groups->currentIndex(), 0);
    groups->setCurrentIndex(4);
    Save();
    std::uint8_t pg = 0;
    ASSERT_TRUE(Doc().GetRAKEingangTuermatikPGIdx(0, &pg));
    EXPECT_EQ(pg, 4);
    EXPECT_EQ(Doc().GetRAKEingangConcierge(0), 0);
}

TEST_F(RakInputsPage, SmsAlwaysChecksAndLocksTheOtherSmsOptions) {
    Open();
    m_pMode->setCurrentIndex(1);
    const char* others[] = {"m_pSMSNichtmeldenDirektruf", "m_pSMSNichtmeldenKettenruf",
                            "m_pSMSVerbindung"};
    EXPECT_FALSE(Edit("m_pSMSRnr")->isEnabled());
    EXPECT_FALSE(List("m_pSMSProviderCombo")->isEnabled());
    Box("m_pSMSImmer")->click();
    for (const char* b : others) {
        EXPECT_TRUE(Box(b)->isChecked()) << b;
        EXPECT_FALSE(Box(b)->isEnabled()) << b;
    }
    EXPECT_TRUE(Edit("m_pSMSRnr")->isEnabled());
    EXPECT_TRUE(List("m_pSMSProviderCombo")->isEnabled());
    Box("m_pSMSImmer")->click();
    for (const char* b : others)
        EXPECT_TRUE(Box(b)->isEnabled()) << b;
}

TEST_F(RakInputsPage, ProviderListNamesOnlyNamedProvidersAndStoresTheChosenOne) {
    for (std::uint8_t i = 0; i < 10; ++i)
        Doc().SetSMSProvider(i, "");
    Doc().SetSMSProvider(0, "Alpha");
    Doc().SetSMSProvider(2, "Gamma");
    ASSERT_TRUE(Doc().SetRAKEingangMeldefkt(0, 0, "", 0, "", 2, "555", 0, 0, 1, 0, 0));
    Open();
    QComboBox* providers = List("m_pSMSProviderCombo");
    ASSERT_EQ(providers->count(), 3);
    EXPECT_EQ(providers->itemText(0).toStdString(), Text(rtxt::kNone));
    EXPECT_EQ(providers->itemText(1), "Alpha");
    EXPECT_EQ(providers->itemText(2), "Gamma");
    // Gamma is provider 2 of the document, shown at position 2.
    EXPECT_EQ(providers->currentIndex(), 2);

    providers->setCurrentIndex(1);
    m_pTabs->setCurrentIndex(1);
    m_pTabs->setCurrentIndex(0);
    EXPECT_EQ(providers->currentIndex(), 1);
    providers->setCurrentIndex(2);
    Save();
    std::uint8_t stored = 0;
    char buf[64] = {};
    ASSERT_TRUE(Doc().GetRAKEingangSMSRnr(0, &stored, buf, sizeof buf));
    EXPECT_EQ(stored, 2); // Gamma, not the unnamed provider 1
    EXPECT_STREQ(buf, "555");
}

TEST_F(RakInputsPage, SmsButtonRunsTheHostingDialogWithPage7AndFollowsItsChanges) {
    Doc().SetSMSProvider(0, "Alpha");
    Doc().SetSMSProvider(1, "");
    Doc().SetSMSProvider(2, "Gamma");
    ASSERT_TRUE(Doc().SetRAKEingangMeldefkt(0, 0, "", 0, "", 2, "555", 0, 0, 1, 0, 0));
    std::vector<int> pages;
    QWidget* owner = nullptr;
    TFormRAKEG::SetKonfigDlgRunnerForTesting([&](QWidget* o, std::uint8_t page, TkResourcen*) {
        pages.push_back(page);
        owner = o;
        // The user names provider 1 in the dialog.
        Doc().SetSMSProvider(1, "Beta");
    });
    Open();
    Find<QPushButton>("m_pSMSBtn")->click();
    EXPECT_EQ(pages, std::vector<int>{TFormRAKEG::kKonfigDlgSMS});
    EXPECT_EQ(owner, m_pPage);
    QComboBox* providers = List("m_pSMSProviderCombo");
    ASSERT_EQ(providers->count(), 4);
    EXPECT_EQ(providers->itemText(2), "Beta");
    // Still Gamma, now one place further down.
    EXPECT_EQ(providers->currentText(), "Gamma");
    Save();
    std::uint8_t stored = 0;
    Doc().GetRAKEingangSMSRnr(0, &stored, nullptr, 0);
    EXPECT_EQ(stored, 2);
}

TEST_F(RakInputsPage, AModeThePageDoesNotOfferOpensAsNone) {
    Raw().RAKEingang[4].Mode = eModeMeldeEingangEtagenruf;
    Open();
    m_pTabs->setCurrentIndex(4);
    EXPECT_EQ(m_pTabs->currentIndex(), 4);
    EXPECT_EQ(m_pMode->currentIndex(), 0);
    EXPECT_FALSE(Find<QWidget>("m_pPanelMeldeeingang")->isVisible());
}

TEST_F(RakInputsPage, RestoreLoadsTheDefaults) {
    SetSignalInput(0);
    Open();
    m_pPage->Perform(WM_RESTORE, -1, -1);
    EXPECT_EQ(Doc().GetRAKEingangDirektruf(0), 0);
    EXPECT_NE(InputName(Doc(), 0), "Window");
    EXPECT_EQ(Edit("m_pTxt")->text().toStdString(), InputName(Doc(), 0));
    EXPECT_EQ(m_pMode->currentIndex(), Doc().GetRAKEingangMode(0));
    EXPECT_FALSE(Box("m_pSignal")->isChecked());
}
