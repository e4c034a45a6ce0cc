// The multifunction input page: each stored mode opens with its list
// position and panel, the signal input, time switch and floor call go from
// the controls into the document, the checks that refuse leaving the page,
// the SMS provider list, the exclusive time-switch options, the relay's
// mode kept through a save, the SMS dialog seam and the page's reset.

#include "DoorPageFixture.h"

#include "DoorTextIds.h"
#include "MoxDaten.h"
#include "TFormITMEG.h"
#include "TKonfigDlg.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <ostream>
#include <string>

class InputPage : public DoorPageTest {
protected:
    void SetUp() override {
        DoorPageTest::SetUp();
        Doc().SetTypeIT(2);
    }
    void TearDown() override {
        TFormITMEG::SetSMSDialogForTesting({});
        DoorPageTest::TearDown();
    }
    TFormITMEG* Open() { return Make<TFormITMEG>(eITMfe); }
    QComboBox* Mode() { return Find<QComboBox>("m_pComboBoxMode"); }
    QCheckBox* Box(const char* name) { return Find<QCheckBox>(name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    // A signal input with a direct call, stored the way the page stores it.
    void StoreSignalInput(std::uint8_t provider, const char* smsRnr, std::uint8_t smsImmer) {
        Doc().SetMfeMeldefkt(1, "0301234", 1, "0409876", provider, smsRnr, 0, 1, smsImmer, 0, 0);
    }
    std::string Rnr(bool (TMoxDocument::*get)(char*, std::size_t) const) { return DocText(get); }
};

struct OpenCase {
    const char* name;
    std::uint8_t mode;
    int position;
    const char* panel; // the one visible panel, or nullptr
    bool hintShown;
};

// Names the row when a case fails.
void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class InputOpen : public InputPage, public testing::WithParamInterface<OpenCase> {};

TEST_P(InputOpen, ShowsThePositionAndPanelOfTheMode) {
    const OpenCase& c = GetParam();
    Doc().SetMfeMode(c.mode);
    Open();
    ASSERT_EQ(Mode()->count(), 4);
    EXPECT_EQ(Mode()->itemText(3), Text(dtxt::kModeEtagenruf));
    EXPECT_EQ(Mode()->currentIndex(), c.position);
    for (const char* panel : {"m_pPanelMeldeeingang", "m_pPanelSchaltuhr", "m_pPanelEtagenruf"})
        EXPECT_EQ(Find<QWidget>(panel)->isVisible(), c.panel && std::string(c.panel) == panel)
            << panel;
    EXPECT_EQ(Edit("m_pTxt")->isVisible(), c.hintShown);
    EXPECT_EQ(Find<QLabel>("m_pLabelTxt")->isVisible(), c.hintShown);
}

INSTANTIATE_TEST_SUITE_P(Modes, InputOpen,
                         testing::Values(OpenCase{"None", 0, 0, nullptr, true},
                                         OpenCase{"Signal", 1, 1, "m_pPanelMeldeeingang", true},
                                         OpenCase{"TimeSwitch", 2, 2, "m_pPanelSchaltuhr", false},
                                         OpenCase{"FloorCall", 3, 3, "m_pPanelEtagenruf", true},
                                         OpenCase{"Relay", 4, -1, nullptr, true},
                                         OpenCase{"Unknown", 7, -1, nullptr, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputPage, ASignalInputIsShownAndStoredUnchanged) {
    Doc().SetSMSProvider(0, "Alpha");
    StoreSignalInput(0, "0171555", 0);
    Doc().SetEtagenrufText("Eingang");
    Open();
    EXPECT_TRUE(Box("m_pSignal")->isChecked());
    EXPECT_EQ(Edit("m_pSignalRnr")->text(), QStringLiteral("0301234"));
    EXPECT_TRUE(Box("m_pKettenruf")->isChecked());
    EXPECT_EQ(Edit("m_pKettenRnr")->text(), QStringLiteral("0409876"));
    EXPECT_TRUE(Box("m_pSMSNichtmeldenKettenruf")->isChecked());
    EXPECT_FALSE(Box("m_pSMSNichtmeldenDirektruf")->isChecked());
    EXPECT_EQ(Find<QComboBox>("m_pSMSProviderCombo")->currentIndex(), 1);
    EXPECT_EQ(Edit("m_pSMSRnr")->text(), QStringLiteral("0171555"));
    EXPECT_EQ(Edit("m_pTxt")->text(), QStringLiteral("Eingang"));
    EXPECT_FALSE(Box("m_pSprachAG")->isEnabled());
    Drop();
    EXPECT_EQ(Doc().GetMfeMode(), eModeMeldeEingangMeldefkt);
    EXPECT_EQ(Doc().GetMfeDirektruf(), 1);
    EXPECT_EQ(Doc().GetMfeKettenruf(), 1);
    EXPECT_EQ(Doc().GetMfeSMSKeinKettenruf(), 1);
    EXPECT_EQ(Doc().GetMfeSMSImmer(), 0);
    EXPECT_EQ(Rnr(&TMoxDocument::GetMfeDirektRnr), "0301234");
    EXPECT_EQ(Rnr(&TMoxDocument::GetMfeKettenRnr), "0409876");
    std::uint8_t provider = 0xEE;
    char sms[MOX_EINGANGRNR_SIZE] = {};
    ASSERT_TRUE(Doc().GetMfeSMSRnr(&provider, sms, sizeof sms));
    EXPECT_EQ(provider, 0);
    EXPECT_STREQ(sms, "0171555");
    EXPECT_EQ(Rnr(&TMoxDocument::GetEtagenrufText), "Eingang");
}

TEST_F(InputPage, TheUserSetsUpASignalInput) {
    Doc().SetSMSProvider(3, "Gamma");
    Open();
    Choose(Mode(), TFormITMEG::IDX_MELDEEINGANG);
    EXPECT_TRUE(Find<QWidget>("m_pPanelMeldeeingang")->isVisible());
    Box("m_pSignal")->click();
    Edit("m_pSignalRnr")->setText(QStringLiteral("0301"));
    Box("m_pSMSVerbindung")->click();
    Edit("m_pSMSRnr")->setText(QStringLiteral("0172"));
    Find<QComboBox>("m_pSMSProviderCombo")->setCurrentIndex(1);
    Edit("m_pTxt")->setText(QStringLiteral("Pforte"));
    ASSERT_TRUE(m_pPage->CloseQuery());
    Drop();
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(Doc().GetMfeMode(), eModeMeldeEingangMeldefkt);
    EXPECT_EQ(Doc().GetMfeDirektruf(), 1);
    EXPECT_EQ(Doc().GetMfeKettenruf(), 0);
    EXPECT_EQ(Doc().GetMfeSMSVerbindung(), 1);
    EXPECT_EQ(Rnr(&TMoxDocument::GetMfeDirektRnr), "0301");
    std::uint8_t provider = 0;
    ASSERT_TRUE(Doc().GetMfeSMSRnr(&provider, nullptr, 0));
    EXPECT_EQ(provider, 3);
    EXPECT_EQ(Rnr(&TMoxDocument::GetEtagenrufText), "Pforte");
}

TEST_F(InputPage, TheProviderListNamesOnlyProvidersWithANameAndStoresTheChosenOne) {
    for (int i = 0; i < MOX_MAX_SMS; ++i)
        Doc().SetSMSProvider(static_cast<std::uint8_t>(i), "");
    Doc().SetSMSProvider(0, "Alpha");
    Doc().SetSMSProvider(2, "Gamma");
    StoreSignalInput(2, "0171", 0);
    Open();
    auto* list = Find<QComboBox>("m_pSMSProviderCombo");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), Text(dtxt::kNone));
    EXPECT_EQ(list->itemText(1), QStringLiteral("Alpha"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("Gamma"));
    // Provider 2 stands at position 2: the entry names the provider, not
    // the position.
    EXPECT_EQ(list->currentIndex(), 2);
    list->setCurrentIndex(1);
    Drop();
    std::uint8_t provider = 0;
    ASSERT_TRUE(Doc().GetMfeSMSRnr(&provider, nullptr, 0));
    EXPECT_EQ(provider, 0);
    Open();
    Find<QComboBox>("m_pSMSProviderCombo")->setCurrentIndex(2);
    Drop();
    ASSERT_TRUE(Doc().GetMfeSMSRnr(&provider, nullptr, 0));
    EXPECT_EQ(provider, 2);
}

TEST_F(InputPage, SMSAlwaysDisablesTheOtherSMSOptions) {
    Doc().SetSMSProvider(0, "Alpha");
    StoreSignalInput(0, "0171", 1);
    Open();
    const char* others[] = {"m_pSMSNichtmeldenDirektruf", "m_pSMSNichtmeldenKettenruf",
                            "m_pSMSVerbindung"};
    for (const char* name : others)
        EXPECT_FALSE(Box(name)->isEnabled()) << name;
    Box("m_pSMSImmer")->click();
    for (const char* name : others)
        EXPECT_TRUE(Box(name)->isEnabled()) << name;
    Box("m_pSMSImmer")->click();
    for (const char* name : others)
        EXPECT_FALSE(Box(name)->isEnabled()) << name;
}

class InputCheck;

struct CheckCase {
    const char* name;
    std::function<void(InputCheck&)> setup;
    int refusal; // 0: the page may be left
};

// Names the row when a case fails.
void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class InputCheck : public InputPage, public testing::WithParamInterface<CheckCase> {
public:
    QCheckBox* PublicBox(const char* n) { return Box(n); }
    QLineEdit* PublicEdit(const char* n) { return Edit(n); }
    QComboBox* PublicMode() { return Mode(); }
    QComboBox* PublicList(const char* n) { return Find<QComboBox>(n); }
};

TEST_P(InputCheck, RefusesLeavingThePageAndKeepsTheDocument) {
    const CheckCase& c = GetParam();
    Doc().SetSMSProvider(0, "Alpha");
    Doc().SetMfeEtagenruf("555");
    Open();
    c.setup(*this);
    EXPECT_EQ(m_pPage->CloseQuery(), c.refusal == 0);
    EXPECT_EQ(BoxIds(), c.refusal ? std::vector<int>{c.refusal} : std::vector<int>{});
    if (c.refusal) {
        EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
        // A save in spite of the refusal stores the working copy as it was
        // before, never the refused controls.
        const auto* page = dynamic_cast<TFormITMEG*>(m_pPage);
        ASSERT_NE(page, nullptr);
        const TFormITMEG::MEG copy = page->WorkingCopy();
        m_pPage->Perform(WM_SAVE, -1, -1);
        EXPECT_EQ(Doc().GetMfeMode(), copy.Mode);
        EXPECT_EQ(Doc().GetDaten()->Mfe.Options, copy.Options);
        EXPECT_EQ(Doc().GetDaten()->Mfe.Options, 0);
        if (copy.Mode == eModeMeldeEingangEtagenruf) {
            EXPECT_EQ(DocText(&TMoxDocument::GetMfeEtagenruf), "555");
        }
    }
}

namespace {

void Signal(InputCheck& p) {
    Choose(p.PublicMode(), TFormITMEG::IDX_MELDEEINGANG);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Checks, InputCheck,
    testing::Values(CheckCase{"SignalWithoutNumber",
                              [](InputCheck& p) {
                                  Signal(p);
                                  p.PublicBox("m_pSignal")->click();
                              },
                              dtxt::kSignalRnrMissing},
                    CheckCase{"ChainCallWithoutNumber",
                              [](InputCheck& p) {
                                  Signal(p);
                                  p.PublicBox("m_pKettenruf")->click();
                              },
                              dtxt::kKettenRnrMissing},
                    CheckCase{"SMSWithoutNumber",
                              [](InputCheck& p) {
                                  Signal(p);
                                  p.PublicBox("m_pSMSNichtmeldenKettenruf")->click();
                                  p.PublicList("m_pSMSProviderCombo")->setCurrentIndex(1);
                              },
                              dtxt::kSMSMissing},
                    CheckCase{"SMSWithoutProvider",
                              [](InputCheck& p) {
                                  Signal(p);
                                  p.PublicBox("m_pSMSNichtmeldenKettenruf")->click();
                                  p.PublicEdit("m_pSMSRnr")->setText(QStringLiteral("0171"));
                              },
                              dtxt::kSMSMissing},
                    CheckCase{"SMSAlwaysWithoutNumber",
                              [](InputCheck& p) {
                                  Signal(p);
                                  p.PublicBox("m_pSMSImmer")->click();
                              },
                              dtxt::kSMSMissing},
                    CheckCase{"FloorCallWithoutNumber",
                              [](InputCheck& p) { p.PublicEdit("m_pEtagenRnr")->clear(); },
                              dtxt::kEtagenRnrMissing},
                    CheckCase{"CompleteSignalInput",
                              [](InputCheck& p) {
                                  Signal(p);
                                  p.PublicBox("m_pSignal")->click();
                                  p.PublicEdit("m_pSignalRnr")->setText(QStringLiteral("030"));
                                  p.PublicBox("m_pSMSImmer")->click();
                                  p.PublicEdit("m_pSMSRnr")->setText(QStringLiteral("0171"));
                                  p.PublicList("m_pSMSProviderCombo")->setCurrentIndex(1);
                              },
                              0},
                    CheckCase{"NoFunction",
                              [](InputCheck& p) {
                                  Signal(p);
                                  Choose(p.PublicMode(), TFormITMEG::IDX_KEINE);
                              },
                              0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputPage, ChangingTheModeClearsTheWorkingCopyAtOnce) {
    Doc().SetSMSProvider(0, "Alpha");
    StoreSignalInput(0, "0171", 0);
    Doc().SetEtagenrufText("alt");
    TFormITMEG* page = Open();
    Edit("m_pTxt")->setText(QStringLiteral("neu"));
    Choose(Mode(), TFormITMEG::IDX_SCHALTAUSGANG);
    const TFormITMEG::MEG& copy = page->WorkingCopy();
    EXPECT_EQ(copy.Mode, eModeMeldeEingangSchaltuhr);
    EXPECT_TRUE(copy.Nr1.isEmpty());
    EXPECT_TRUE(copy.KettenRnr.isEmpty());
    EXPECT_TRUE(copy.SMSRnr.isEmpty());
    EXPECT_EQ(copy.ProviderIdx, MOX_PROVIDERIDX_NONE);
    EXPECT_EQ(copy.Options, 0);
    EXPECT_EQ(copy.Text, QStringLiteral("neu"));
    EXPECT_FALSE(Box("m_pTuematik")->isChecked());
    EXPECT_FALSE(Find<QComboBox>("m_pPGIdx")->isEnabled());
    EXPECT_FALSE(Edit("m_pTxt")->isVisible());
    // Back to signal input: the numbers of before are gone.
    Choose(Mode(), TFormITMEG::IDX_MELDEEINGANG);
    EXPECT_TRUE(Edit("m_pSignalRnr")->text().isEmpty());
    EXPECT_FALSE(Box("m_pSignal")->isChecked());
}

TEST_F(InputPage, TheTimeSwitchOptionsExcludeEachOther) {
    Doc().SetMfeSchaltuhr(eSchaltuhrKeine, 0);
    Open();
    auto* groups = Find<QComboBox>("m_pPGIdx");
    ASSERT_EQ(groups->count(), Doc().GetAnzPG());
    EXPECT_EQ(groups->itemText(0), Text(dtxt::kBasicGroup));
    EXPECT_EQ(groups->itemText(1), Text(dtxt::kMasterGroup));
    EXPECT_EQ(groups->itemText(2), QStringLiteral("1"));
    EXPECT_FALSE(groups->isEnabled());

    Box("m_pDiversion")->click();
    EXPECT_TRUE(groups->isEnabled());
    EXPECT_TRUE(Find<QLabel>("m_pLabel")->isEnabled());
    EXPECT_EQ(groups->currentIndex(), 0);
    groups->setCurrentIndex(4);
    Box("m_pTuematik")->click();
    EXPECT_FALSE(Box("m_pDiversion")->isChecked());
    EXPECT_EQ(groups->currentIndex(), 4);
    Box("m_pConcierge")->click();
    EXPECT_FALSE(Box("m_pTuematik")->isChecked());
    EXPECT_EQ(groups->currentIndex(), -1);
    EXPECT_FALSE(groups->isEnabled());
    Box("m_pDiversion")->click();
    EXPECT_FALSE(Box("m_pConcierge")->isChecked());
    groups->setCurrentIndex(3);
    Drop();
    std::uint8_t pg = 0;
    EXPECT_EQ(Doc().GetMfeMode(), eModeMeldeEingangSchaltuhr);
    EXPECT_TRUE(Doc().GetMfeDiversionPGIdx(&pg));
    EXPECT_EQ(pg, 3);
    EXPECT_FALSE(Doc().GetMfeTuermatikPGIdx(nullptr));
    EXPECT_EQ(Doc().GetMfeConcierge(), 0);
}

TEST_F(InputPage, AStoredGroupShowsOnlyWithDoorAutomationOrDiversion) {
    Doc().SetMfeSchaltuhr(eSchaltuhrTuermatik, 5);
    Open();
    EXPECT_TRUE(Box("m_pTuematik")->isChecked());
    EXPECT_EQ(Find<QComboBox>("m_pPGIdx")->currentIndex(), 5);
    Drop();
    Doc().SetMfeSchaltuhr(eSchaltuhrConcierge, 0);
    Open();
    EXPECT_TRUE(Box("m_pConcierge")->isChecked());
    EXPECT_EQ(Find<QComboBox>("m_pPGIdx")->currentIndex(), -1);
    EXPECT_FALSE(Find<QComboBox>("m_pPGIdx")->isEnabled());
    Drop();
    EXPECT_EQ(Doc().GetMfeConcierge(), 1);
}

struct ConciergeCase {
    const char* name;
    std::uint8_t aktiv;
    const char* rnr;
    bool hint;
};

// Names the row when a case fails.
void PrintTo(const ConciergeCase& c, std::ostream* os) {
    *os << c.name;
}

class InputConcierge : public InputPage, public testing::WithParamInterface<ConciergeCase> {};

TEST_P(InputConcierge, HintsWhenTheConciergeFunctionIsNotSetUpButKeepsTheChoice) {
    const ConciergeCase& c = GetParam();
    Doc().SetConciergeAktiv(c.aktiv);
    Doc().SetConciergeRnr(c.rnr);
    Doc().SetMfeSchaltuhr(eSchaltuhrKeine, 0);
    Open();
    Box("m_pConcierge")->click();
    EXPECT_TRUE(Box("m_pConcierge")->isChecked());
    EXPECT_EQ(BoxIds(), c.hint ? std::vector<int>{dtxt::kConciergeOff} : std::vector<int>{});
    if (c.hint) {
        EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconInformation);
    }
}

INSTANTIATE_TEST_SUITE_P(Concierge, InputConcierge,
                         testing::Values(ConciergeCase{"Off", 0, "0301", true},
                                         ConciergeCase{"NoNumber", 1, "", true},
                                         ConciergeCase{"SetUp", 1, "0301", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputPage, AFloorCallIsStoredWithItsNumberAndHint) {
    Open();
    Choose(Mode(), TFormITMEG::IDX_ETAGENRUF);
    EXPECT_TRUE(Find<QWidget>("m_pPanelEtagenruf")->isVisible());
    Edit("m_pEtagenRnr")->setText(QStringLiteral("0221"));
    Edit("m_pTxt")->setText(QStringLiteral("Etage 2"));
    Drop();
    EXPECT_EQ(Doc().GetMfeMode(), eModeMeldeEingangEtagenruf);
    EXPECT_EQ(DocText(&TMoxDocument::GetMfeEtagenruf), "0221");
    EXPECT_EQ(DocText(&TMoxDocument::GetEtagenrufText), "Etage 2");
}

TEST_F(InputPage, NumberFieldsTakeDigitsOnly) {
    Doc().SetMfeMeldefkt(0, "", 0, "", MOX_PROVIDERIDX_NONE, "", 0, 0, 0, 0, 0);
    Open();
    for (const char* name : {"m_pSignalRnr", "m_pKettenRnr", "m_pSMSRnr"}) {
        Edit(name)->setText(QStringLiteral("12a3"));
        EXPECT_EQ(Edit(name)->text(), QStringLiteral("123")) << name;
        EXPECT_EQ(Edit(name)->maxLength(), 24) << name;
    }
}

struct KeptCase {
    const char* name;
    std::uint8_t mode;
};

// Names the row when a case fails.
void PrintTo(const KeptCase& c, std::ostream* os) {
    *os << c.name;
}

class InputKept : public InputPage, public testing::WithParamInterface<KeptCase> {};

TEST_P(InputKept, AModeTheListDoesNotOfferSurvivesASave) {
    Doc().SetMfeMode(GetParam().mode);
    Open();
    EXPECT_EQ(Mode()->currentIndex(), -1);
    EXPECT_TRUE(m_pPage->CloseQuery());
    Edit("m_pTxt")->setText(QStringLiteral("Relais"));
    Drop();
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(Doc().GetMfeMode(), GetParam().mode);
    EXPECT_EQ(DocText(&TMoxDocument::GetEtagenrufText), "Relais");
}

INSTANTIATE_TEST_SUITE_P(Modes, InputKept,
                         testing::Values(KeptCase{"Relay", eModeMeldeEingangMfr},
                                         KeptCase{"Unknown", 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputPage, TheSMSButtonOpensTheProvidersPageAndKeepsTheList) {
    Doc().SetSMSProvider(0, "Alpha");
    StoreSignalInput(0, "0171", 0);
    TFormITMEG* page = Open();
    std::vector<QWidget*> owners;
    TFormITMEG::SetSMSDialogForTesting([&](QWidget* owner, TkResourcen* res) {
        owners.push_back(owner);
        EXPECT_EQ(res, Res());
        Doc().SetSMSProvider(1, "Beta");
    });
    const int entries = Find<QComboBox>("m_pSMSProviderCombo")->count();
    Find<QPushButton>("m_pSMSBtn")->click();
    EXPECT_EQ(owners, std::vector<QWidget*>{page});
    EXPECT_EQ(Find<QComboBox>("m_pSMSProviderCombo")->count(), entries);
}

TEST_F(InputPage, RestorePutsBackTheDefaults) {
    auto fresh = std::make_unique<MoxDaten>();
    MoxInitDaten(fresh.get());
    Doc().SetMfeEtagenruf("0221");
    Doc().SetEtagenrufText("x");
    TFormITMEG* page = Open();
    page->Perform(WM_RESTORE, -1, -1);
    EXPECT_EQ(Doc().GetMfeMode(), fresh->Mfe.Mode);
    EXPECT_EQ(Mode()->currentIndex(), fresh->Mfe.Mode <= 3 ? fresh->Mfe.Mode : -1);
    EXPECT_EQ(Edit("m_pTxt")->text(), QString::fromLatin1(fresh->EtagenrufText));
}

TEST_F(InputPage, WithoutTheSeamTheButtonRunsTheHostingDialogOnTheSMSPage) {
    Open();
    int page = -1;
    QWidget* owner = nullptr;
    // Once the dialog's own loop runs, note what it shows and close it.
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dlg = qobject_cast<TKonfigDlg*>(modal)) {
            page = dlg->GetPageNumber();
            owner = dlg->parentWidget();
            dlg->OnCancel();
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            other->reject(); // never leave a test blocked
        }
    });
    Find<QPushButton>("m_pSMSBtn")->click();
    EXPECT_EQ(page, TKonfigDlg::kPageSMS);
    EXPECT_EQ(owner, m_pPage);
}
