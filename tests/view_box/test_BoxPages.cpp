// The box pages as the tree and the wizard reach them: through the page
// factory, for their own node kinds and embedded with kind 38, where the
// host stores them.

#include "BoxPageFixture.h"

#include "TBoxPages.h"
#include "TFormKMR.h"
#include "TFormMox.h"
#include "TFormSperrnr.h"
#include "TViewFactory.h"
#include "WindowMessages.h"

#include <QLabel>
#include <QLineEdit>

#include <string>

namespace {

struct KindRow {
    const char* name;
    std::uint8_t kind;
    const char* className;
};

} // namespace

class BoxPagesFactory : public BoxPageTest, public testing::WithParamInterface<KindRow> {
protected:
    void SetUp() override {
        BoxPageTest::SetUp();
        TBoxPages::Register();
    }
    void TearDown() override {
        BoxPageTest::TearDown();
        TBoxPages::Unregister();
    }
    TDataView* Create(std::uint8_t kind, std::uint8_t holderKind) {
        m_Holder = std::make_unique<TNodeData>(holderKind);
        TViewContext ctx;
        ctx.owner = m_pOwner.get();
        ctx.holder = m_Holder.get();
        ctx.res = Res();
        ctx.transfer = &m_Transfer;
        TDataView* view = TViewFactory::Create(kind, ctx);
        Keep(view);
        return view;
    }
};

TEST_P(BoxPagesFactory, TreeKindOpensItsPage) {
    TDataView* view = Create(GetParam().kind, GetParam().kind);
    ASSERT_NE(view, nullptr);
    EXPECT_STREQ(view->metaObject()->className(), GetParam().className);
    EXPECT_FALSE(view->IsAlignClient());
}

TEST_P(BoxPagesFactory, WizardEmbedsThePageWithKind38) {
    TDataView* view = Create(GetParam().kind, eAssistent);
    ASSERT_NE(view, nullptr);
    EXPECT_STREQ(view->metaObject()->className(), GetParam().className);
    EXPECT_TRUE(view->IsAlignClient());
    EXPECT_TRUE(view->isVisible());
    // Destroying an embedded page stores nothing: its host does.
    DropPage();
    EXPECT_FALSE(Doc().IsModified());
}

TEST_P(BoxPagesFactory, UnregisteredKindOpensThePlainPage) {
    TBoxPages::Unregister();
    TDataView* view = Create(GetParam().kind, GetParam().kind);
    EXPECT_STREQ(view->metaObject()->className(), "TDataView");
}

class BoxPagesTransferFactory : public BoxPagesFactory {};

TEST_P(BoxPagesTransferFactory, TreeKindOpensItsPageWithTheController) {
    TDataView* view = Create(GetParam().kind, GetParam().kind);
    ASSERT_NE(view, nullptr);
    EXPECT_STREQ(view->metaObject()->className(), GetParam().className);
    // The page took the controller: the firmware page names its link, the
    // event-log pages' download buttons follow it.
    if (GetParam().kind == eFirmwareSchreiben) {
        auto* link = view->findChild<QLabel*>(QStringLiteral("m_pConnectionString"));
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->text(), QStringLiteral("via LumenBus"));
    } else {
        auto* download = view->findChild<QWidget*>(QStringLiteral("m_pDownloadBtn"));
        ASSERT_NE(download, nullptr);
        EXPECT_TRUE(download->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, BoxPagesTransferFactory,
                         testing::Values(KindRow{"Firmware", eFirmwareSchreiben, "TFormFirmware"},
                                         KindRow{"EventLog", eEventLogLesen, "TFormEventLog"},
                                         KindRow{"ELM", eEventLogELM, "TFormELM"}),
                         [](const testing::TestParamInfo<KindRow>& info) {
                             return std::string(info.param.name);
                         });

INSTANTIATE_TEST_SUITE_P(Kinds, BoxPagesFactory,
                         testing::Values(KindRow{"Mox", eKTXKonfig, "TFormMox"},
                                         KindRow{"Sperrnr", eSperrnr, "TFormSperrnr"},
                                         KindRow{"KMR", eKMRKonfig, "TFormKMR"}),
                         [](const testing::TestParamInfo<KindRow>& info) {
                             return std::string(info.param.name);
                         });

class BoxPagesWizard : public BoxPagesFactory {};

TEST_F(BoxPagesWizard, HostStoresTheEmbeddedPages) {
    TDataView* mox = Create(eKTXKonfig, eAssistent);
    mox->findChild<QLineEdit*>(QStringLiteral("m_pMSN"))->setText(QStringLiteral("4242"));
    mox->Perform(WM_SAVE, -1, -1);
    char buf[32] = {};
    Doc().GetRnr(buf, sizeof buf);
    EXPECT_STREQ(buf, "4242");
    DropPage();

    TDataView* sperr = Create(eSperrnr, eAssistent);
    sperr->findChild<QLineEdit*>(QStringLiteral("m_pSperr2"))->setText(QStringLiteral("0137"));
    sperr->Perform(WM_SAVE, -1, -1);
    Doc().GetSperrnr(1, buf, sizeof buf);
    EXPECT_STREQ(buf, "0137");
}
