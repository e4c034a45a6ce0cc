// The door-interface pages as a group: each kind opens its page through the
// page factory and a plain page once unregistered, each works embedded in
// the wizard (kind 38: it fills its area and its host stores it), and their
// language texts and help pages exist in every language.

#include "DoorPageFixture.h"

#include "DoorTextIds.h"
#include "HelpPageCheck.h"
#include "LanguageTextCheck.h"
#include "MoxAccess.h"
#include "TDoorPages.h"
#include "TFormEIB.h"
#include "TFormIT.h"
#include "TFormITMEG.h"
#include "TFormITMFR.h"
#include "TViewFactory.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cstring>
#include <functional>
#include <ostream>
#include <set>
#include <string>

namespace {

struct PageCase {
    const char* name;
    std::uint8_t kind;
    std::function<bool(TDataView*)> isPage;
    std::set<int> helpContexts;
};

// Names the row when a case fails.
void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

template <class Page> bool Is(TDataView* view) {
    return dynamic_cast<Page*>(view) != nullptr;
}

std::set<int> Range(int first, int last, std::set<int> more = {}) {
    for (int c = first; c <= last; ++c)
        more.insert(c);
    return more;
}

const PageCase kPages[] = {
    {"DoorTexts", eITKonfig, Is<TFormIT>, {600, 601, 602, 603}},
    {"Input", eITMfe, Is<TFormITMEG>, Range(700, 715, {718, 719, 720, 721})},
    {"Relay", eITMfr, Is<TFormITMFR>, Range(800, 807)},
    {"InstallationBus", eEIBKonfig, Is<TFormEIB>, {300}},
};

} // namespace

class DoorPageKind : public DoorPageTest, public testing::WithParamInterface<PageCase> {};

TEST_P(DoorPageKind, TheFactoryOpensThePageOfTheKind) {
    const PageCase& c = GetParam();
    TDataView* view = MakeView(c.kind);
    EXPECT_TRUE(c.isPage(view));
    EXPECT_FALSE(view->IsAlignClient());
    Drop();
    TDoorPages::Unregister();
    EXPECT_FALSE(TViewFactory::IsRegistered(c.kind));
    view = MakeView(c.kind);
    EXPECT_FALSE(c.isPage(view));
    TDoorPages::Register();
}

TEST_P(DoorPageKind, EmbeddedInTheWizardItFillsItsAreaAndIsNotStoredOnDestruction) {
    const PageCase& c = GetParam();
    Doc().SetTypeIT(2);
    Doc().SetMfrMode(eModeSchaltAusgangLicht, MOX_TLNIDX_NONE);
    TDataView* view = MakeView(c.kind, eAssistent);
    ASSERT_TRUE(c.isPage(view));
    EXPECT_TRUE(view->IsAlignClient());
    EXPECT_TRUE(view->isVisible());
    // Change every control the user could, then let the page go: only its
    // host stores an embedded page.
    for (QLineEdit* edit : view->findChildren<QLineEdit*>())
        edit->setText(QStringLiteral("1"));
    for (QRadioButton* radio : view->findChildren<QRadioButton*>())
        if (radio->objectName() == QLatin1String("m_pSchalter"))
            radio->click();
    const MoxDaten before = *Doc().GetDaten();
    Drop();
    EXPECT_EQ(std::memcmp(&before.Mfe, &Doc().GetDaten()->Mfe, sizeof before.Mfe), 0);
    EXPECT_EQ(std::memcmp(&before.Mfr, &Doc().GetDaten()->Mfr, sizeof before.Mfr), 0);
    EXPECT_EQ(
        std::memcmp(before.TuerrufText, Doc().GetDaten()->TuerrufText, sizeof before.TuerrufText),
        0);
}

TEST_P(DoorPageKind, EveryHelpContextHasItsPageInEveryFolder) {
    const PageCase& c = GetParam();
    const std::set<int> contexts = HelpContextsOf(MakeView(c.kind));
    EXPECT_EQ(contexts, c.helpContexts);
    EXPECT_TRUE(HasHelpPages(contexts));
}

INSTANTIATE_TEST_SUITE_P(Pages, DoorPageKind, testing::ValuesIn(kPages),
                         [](const auto& info) { return std::string(info.param.name); });

class DoorPageTexts : public LanguageFileTest {};

TEST_P(DoorPageTexts, EveryIdHasAText) {
    EXPECT_TRUE(HasTexts(dtxt::kDoorTextIds));
}

INSTANTIATE_TEST_SUITE_P(Languages, DoorPageTexts, testing::ValuesIn(kLanguageFiles),
                         LanguageFileName);

namespace {

struct CaptionCase {
    const char* name;
    std::uint8_t kind;
    const char* control;
    int textId;
};

// Names the row when a case fails.
void PrintTo(const CaptionCase& c, std::ostream* os) {
    *os << c.name;
}

} // namespace

class DoorPageCaption : public DoorPageTest, public testing::WithParamInterface<CaptionCase> {};

TEST_P(DoorPageCaption, TheControlShowsItsLanguageText) {
    const CaptionCase& c = GetParam();
    MakeView(c.kind);
    QWidget* w = Find<QWidget>(c.control);
    ASSERT_NE(w, nullptr);
    QString caption;
    if (auto* label = qobject_cast<QLabel*>(w))
        caption = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        caption = button->text();
    EXPECT_EQ(caption, Text(c.textId));
    EXPECT_FALSE(caption.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Captions, DoorPageCaption,
    testing::Values(CaptionCase{"TextsHeading", eITKonfig, "Label2", dtxt::kTuerTexte},
                    CaptionCase{"TextsFloorCall", eITKonfig, "m_pLabel", dtxt::kEtagenruf},
                    CaptionCase{"TextsHelp", eITKonfig, "Label4", dtxt::kTuerHelp},
                    CaptionCase{"InputFunction", eITMfe, "Label10", dtxt::kFunktion},
                    CaptionCase{"InputHint", eITMfe, "m_pLabelTxt", dtxt::kHinweis},
                    CaptionCase{"InputSMSAlways", eITMfe, "m_pSMSImmer", dtxt::kSMSImmer},
                    CaptionCase{"InputSMSButton", eITMfe, "m_pSMSBtn", dtxt::kSMSProviders},
                    CaptionCase{"InputProvider", eITMfe, "Label14", dtxt::kProvider},
                    CaptionCase{"InputGroup", eITMfe, "m_pLabel", dtxt::kPG},
                    CaptionCase{"InputSwitchHelp", eITMfe, "Label17", dtxt::kSchaltuhrHelp},
                    CaptionCase{"RelayHeading", eITMfr, "Label5", dtxt::kMfrHeading},
                    CaptionCase{"RelaySwitch", eITMfr, "m_pSchalter", dtxt::kMfrSchalter},
                    CaptionCase{"RelayButton", eITMfr, "m_pTaster", dtxt::kMfrTaster},
                    CaptionCase{"RelayNSC", eITMfr, "m_pNSC", dtxt::kMfrNSC},
                    CaptionCase{"RelayVideo", eITMfr, "m_pVideo", dtxt::kMfrVideo},
                    CaptionCase{"RelayDoor", eITMfr, "m_pTuer", dtxt::kMfrTueroeffner},
                    CaptionCase{"RelayLight", eITMfr, "m_pLicht", dtxt::kMfrLicht}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct CleanCase {
    const char* name;
    std::uint8_t kind;
    std::function<void(TMoxDocument&)> setup;
};

// Names the row when a case fails.
void PrintTo(const CleanCase& c, std::ostream* os) {
    *os << c.name;
}

} // namespace

class DoorPageClean : public DoorPageTest, public testing::WithParamInterface<CleanCase> {};

TEST_P(DoorPageClean, StoringAnUntouchedPageLeavesTheDocumentClean) {
    const CleanCase& c = GetParam();
    Doc().SetTypeIT(2);
    Doc().SetTlnVideo(3, 1);
    Doc().SetSMSProvider(1, "Beta");
    c.setup(Doc());
    ASSERT_TRUE(Doc().WriteDocument((m_Dir / "clean.ktx").string().c_str(), false));
    ASSERT_FALSE(Doc().IsModified());
    MakeView(c.kind);
    Drop();
    EXPECT_FALSE(Doc().IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    States, DoorPageClean,
    testing::Values(
        CleanCase{"DoorTexts", eITKonfig, [](TMoxDocument&) {}},
        CleanCase{"InputNone", eITMfe, [](TMoxDocument& d) { d.SetMfeUndefined(); }},
        CleanCase{"InputSignal", eITMfe,
                  [](TMoxDocument& d) {
                      d.SetMfeMeldefkt(1, "030", 1, "040", 1, "0171", 1, 0, 0, 1, 0);
                  }},
        CleanCase{"InputDoorAutomation", eITMfe,
                  [](TMoxDocument& d) { d.SetMfeSchaltuhr(eSchaltuhrTuermatik, 4); }},
        CleanCase{"InputConcierge", eITMfe,
                  [](TMoxDocument& d) { d.SetMfeSchaltuhr(eSchaltuhrConcierge, 0); }},
        CleanCase{"InputFloorCall", eITMfe, [](TMoxDocument& d) { d.SetMfeEtagenruf("0221"); }},
        CleanCase{"InputRelay", eITMfe, [](TMoxDocument& d) { d.SetMfeMfr(); }},
        CleanCase{"RelayNSC", eITMfr,
                  [](TMoxDocument& d) { d.SetMfrMode(eModeSchaltAusgangNSC, 5); }},
        CleanCase{"RelayVideo", eITMfr,
                  [](TMoxDocument& d) { d.SetMfrMode(eModeSchaltAusgangVideo, 3); }},
        CleanCase{"RelayLight", eITMfr,
                  [](TMoxDocument& d) { d.SetMfrMode(eModeSchaltAusgangLicht, MOX_TLNIDX_NONE); }}),
    [](const auto& info) { return std::string(info.param.name); });
