// The three pages through the page factory as the tree and the wizard make
// them: the factory gives each kind its page, a tree page stores itself
// when it is destroyed, and a page embedded with kind 38 fills its host,
// is visible at once and leaves storing to its host.

#include "SystemPageFixture.h"

#include "TFormGeraete.h"
#include "TFormSystem.h"
#include "TFormTlnBG.h"
#include "TRadioGroup.h"
#include "TSystemPages.h"
#include "TViewFactory.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <functional>
#include <string>

namespace {

struct HostedCase {
    const char* name;
    std::uint8_t kind;
    std::function<bool(TDataView*)> isPage;
    // Changes one control; the document then differs once the page is stored.
    std::function<void(TDataView*)> change;
};

class SystemPagesHosted : public SystemPageTest, public testing::WithParamInterface<HostedCase> {
protected:
    void SetUp() override {
        SystemPageTest::SetUp();
        Doc().SetTypeIT(2);
        TSystemPages::Register();
    }
    void TearDown() override {
        SystemPageTest::TearDown();
        TSystemPages::Unregister();
    }
    TDataView* Create(std::uint8_t holderKind) {
        m_Holder = std::make_unique<TNodeData>(holderKind);
        TViewContext ctx;
        ctx.owner = m_pPanel;
        ctx.holder = m_Holder.get();
        ctx.res = Res();
        m_pPage = TViewFactory::Create(GetParam().kind, ctx);
        m_pWindow->show();
        return m_pPage;
    }
};

TEST_P(SystemPagesHosted, TheFactoryMakesThePage) {
    TDataView* page = Create(GetParam().kind);
    EXPECT_TRUE(GetParam().isPage(page));
}

TEST_P(SystemPagesHosted, ATreePageStoresItselfWhenDestroyed) {
    TDataView* page = Create(GetParam().kind);
    const std::vector<std::uint8_t> before = Record();
    GetParam().change(page);
    DropPage();
    EXPECT_NE(Record(), before);
}

TEST_P(SystemPagesHosted, AnEmbeddedPageIsStoredByItsHostOnly) {
    TDataView* page = Create(eAssistent);
    ASSERT_TRUE(GetParam().isPage(page));
    EXPECT_TRUE(page->IsAlignClient());
    EXPECT_TRUE(page->isVisible());
    const std::vector<std::uint8_t> before = Record();
    GetParam().change(page);
    DropPage();
    EXPECT_EQ(Record(), before);
}

TEST_P(SystemPagesHosted, AnEmbeddedPageStoresWhenItsHostSaysSo) {
    TDataView* page = Create(eAssistent);
    const std::vector<std::uint8_t> before = Record();
    GetParam().change(page);
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_NE(Record(), before);
}

TEST_P(SystemPagesHosted, UnregisteredKindsOpenThePlainPage) {
    TSystemPages::Unregister();
    TDataView* page = Create(GetParam().kind);
    EXPECT_FALSE(GetParam().isPage(page));
}

template <class T> T* Child(TDataView* page, const char* name) {
    return page->findChild<T*>(QString::fromLatin1(name));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, SystemPagesHosted,
    testing::Values(
        HostedCase{"System", eSystemKonfig,
                   [](TDataView* p) { return qobject_cast<TFormSystem*>(p) != nullptr; },
                   [](TDataView* p) { Child<QLineEdit>(p, "m_pPegelGehend")->setText("-9.5"); }},
        HostedCase{"Devices", eGeraeteliste,
                   [](TDataView* p) { return qobject_cast<TFormGeraete*>(p) != nullptr; },
                   [](TDataView* p) { Child<TRadioGroup>(p, "m_pIT")->Button(2)->click(); }},
        HostedCase{"Groups", eTlnBG,
                   [](TDataView* p) { return qobject_cast<TFormTlnBG*>(p) != nullptr; },
                   [](TDataView* p) {
                       QCheckBox* box = Child<QCheckBox>(p, "m_pLicht");
                       box->click();
                   }}),
    [](const testing::TestParamInfo<HostedCase>& info) { return std::string(info.param.name); });

} // namespace
