// The three pages as the factory makes them for the tree, the wizard and
// the page-hosting dialog; their language texts in every language; a help
// page for every help context in every help folder; and the SMS button
// through the real hosting dialog.

#include "RakFixture.h"

#include "HelpPageCheck.h"
#include "LanguageTextCheck.h"
#include "RakTextIds.h"
#include "TFormRAKAG.h"
#include "TFormRAKEG.h"
#include "TFormSMS.h"
#include "TKonfigDlg.h"
#include "TRakPages.h"
#include "TViewFactory.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <ostream>
#include <set>
#include <string>

namespace {

class RakTexts : public LanguageFileTest {};

} // namespace

TEST_P(RakTexts, EveryIdHasAText) {
    EXPECT_TRUE(HasTexts(rtxt::kRakTextIds));
}

INSTANTIATE_TEST_SUITE_P(Languages, RakTexts, testing::ValuesIn(kLanguageFiles), LanguageFileName);

class RakPages : public RakPageTest {
protected:
    void SetUp() override {
        RakPageTest::SetUp();
        TRakPages::Register();
    }
    void TearDown() override {
        TRakPages::Unregister();
        RakPageTest::TearDown();
    }
    TDataView* FromFactory(std::uint8_t kind, std::uint8_t holderKind) {
        DropPage();
        m_Holder = std::make_unique<TNodeData>(holderKind);
        TViewContext ctx;
        ctx.owner = m_pOwner.get();
        ctx.holder = m_Holder.get();
        ctx.res = Res();
        m_pPage = TViewFactory::Create(kind, ctx);
        return m_pPage;
    }
};

struct FactoryCase {
    const char* name;
    std::uint8_t kind;
    std::uint8_t holderKind;
};

void PrintTo(const FactoryCase& c, std::ostream* os) {
    *os << c.name;
}

class RakFactory : public RakPages, public testing::WithParamInterface<FactoryCase> {};

TEST_P(RakFactory, MakesThePageOfTheKind) {
    const FactoryCase& c = GetParam();
    TDataView* page = FromFactory(c.kind, c.holderKind);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetKind(), c.holderKind);
    switch (c.kind) {
    case eSMS:
        EXPECT_NE(dynamic_cast<TFormSMS*>(page), nullptr);
        break;
    case eRAKMEG:
        EXPECT_NE(dynamic_cast<TFormRAKEG*>(page), nullptr);
        break;
    default:
        EXPECT_NE(dynamic_cast<TFormRAKAG*>(page), nullptr);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RakFactory,
                         testing::Values(FactoryCase{"SmsTree", eSMS, eSMS},
                                         FactoryCase{"SmsHostingDialog", eSMS, eKonfigDlg},
                                         FactoryCase{"SmsWizard", eSMS, eAssistent},
                                         FactoryCase{"InputsTree", eRAKMEG, eRAKMEG},
                                         FactoryCase{"InputsWizard", eRAKMEG, eAssistent},
                                         FactoryCase{"OutputsTree", eRAKSAG, eRAKSAG},
                                         FactoryCase{"OutputsWizard", eRAKSAG, eAssistent}),
                         [](const testing::TestParamInfo<FactoryCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RakPages, UnregisterLeavesThePlainPage) {
    TRakPages::Unregister();
    EXPECT_FALSE(TViewFactory::IsRegistered(eSMS));
    EXPECT_FALSE(TViewFactory::IsRegistered(eRAKMEG));
    EXPECT_FALSE(TViewFactory::IsRegistered(eRAKSAG));
    TDataView* page = FromFactory(eSMS, eSMS);
    EXPECT_EQ(dynamic_cast<TFormSMS*>(page), nullptr);
}

struct HelpCase {
    const char* name;
    std::uint8_t kind;
    std::set<int> contexts;
};

void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << c.name;
}

class RakHelp : public RakPages, public testing::WithParamInterface<HelpCase> {};

TEST_P(RakHelp, EveryHelpContextHasItsPages) {
    TDataView* page = FromFactory(GetParam().kind, GetParam().kind);
    const std::set<int> contexts = HelpContextsOf(page);
    EXPECT_EQ(contexts, GetParam().contexts);
    EXPECT_TRUE(HasHelpPages(contexts));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RakHelp,
    testing::Values(HelpCase{"Sms", eSMS, {1300, 1301}},
                    HelpCase{"Inputs",
                             eRAKMEG,
                             {1500, 1501, 1502, 1503, 1504, 1505, 1506, 1507, 1508, 1509, 1510,
                              1511, 1513, 1514, 1515, 1516}},
                    HelpCase{"Outputs", eRAKSAG, {1400, 1401, 1402, 1403, 1404, 1405, 1406, 1407}}),
    [](const testing::TestParamInfo<HelpCase>& info) { return std::string(info.param.name); });

// The SMS button opens the real hosting dialog, which makes the SMS page
// through the factory; OK there stores the providers into the document.
TEST_F(RakPages, SmsButtonEditsTheProvidersInTheHostingDialog) {
    Doc().SetSMSProvider(5, "");
    TDataView* page = FromFactory(eRAKMEG, eRAKMEG);
    m_pOwner->show();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TKonfigDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        seen = true;
        auto* sms = dynamic_cast<TFormSMS*>(dlg->GetPage());
        if (!sms) {
            ADD_FAILURE() << "no SMS page in the dialog";
            dlg->OnCancel();
            return;
        }
        EXPECT_EQ(sms->GetKind(), eKonfigDlg);
        auto* grid = sms->findChild<QTableWidget*>(QStringLiteral("m_pProvGrid"));
        ASSERT_NE(grid, nullptr);
        grid->item(6, TFormSMS::kColName)->setText(QStringLiteral("Zeta"));
        dlg->OnOk();
    });
    page->findChild<QPushButton*>(QStringLiteral("m_pSMSBtn"))->click();
    EXPECT_TRUE(seen);
    char buf[64] = {};
    ASSERT_TRUE(Doc().GetSMSProvider(5, buf, sizeof buf));
    EXPECT_STREQ(buf, "Zeta");
    auto* providers = page->findChild<QComboBox*>(QStringLiteral("m_pSMSProviderCombo"));
    ASSERT_NE(providers, nullptr);
    EXPECT_EQ(providers->findText(QStringLiteral("Zeta")) > 0, true);
}
