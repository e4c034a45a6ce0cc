// The box pages in the real main window: each tree node of theirs opens its
// page with the window's controller, and a page the user leaves for another
// node has stored its controls into the window's document.

#include "BoxPageFixture.h"

#include "PermSettings.h"
#include "TBoxPages.h"
#include "TMoxMain.h"

#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace {

struct NodeRow {
    const char* name;
    std::uint8_t kind;
    const char* className;
    int mode;
    bool expert;
};

} // namespace

class BoxPagesInMainWindow : public BoxPageTest, public testing::WithParamInterface<NodeRow> {
protected:
    void SetUp() override {
        BoxPageTest::SetUp();
        SetAssiMode(false);
        TBoxPages::Register();
        TMoxMainSeams seams;
        seams.hostQuell32 = false;
        seams.createTransfer = [](TMoxMain&) {
            return std::unique_ptr<IMainTransfer>(std::make_unique<FakeBoxTransfer>());
        };
        m_pMain = std::make_unique<TMoxMain>(seams);
        m_pMain->show();
        m_pMain->FlushTreeChange();
    }
    void TearDown() override {
        m_pMain.reset();
        TBoxPages::Unregister();
        BoxPageTest::TearDown();
    }
    TDataView* Open(std::uint8_t kind) {
        EXPECT_TRUE(m_pMain->SelectNodeKind(kind)) << int{kind};
        m_pMain->FlushTreeChange();
        return m_pMain->GetAktView();
    }
    // A tree with every node of the box pages.
    void FullTree(int mode, bool expert) {
        TMoxDocument* doc = m_pMain->GetDoc();
        doc->SetTypeIT(2);
        doc->SetTypeKMR(1);
        m_pMain->SetMode(mode);
        m_pMain->SetExpertFlag(expert);
        m_pMain->BuildKonfigTree();
        m_pMain->FlushTreeChange();
    }

    std::unique_ptr<TMoxMain> m_pMain;
};

TEST_P(BoxPagesInMainWindow, NodeOpensItsPage) {
    FullTree(GetParam().mode, GetParam().expert);
    TDataView* view = Open(GetParam().kind);
    ASSERT_NE(view, nullptr);
    EXPECT_STREQ(view->metaObject()->className(), GetParam().className);
    EXPECT_EQ(view->GetKind(), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Nodes, BoxPagesInMainWindow,
    testing::Values(NodeRow{"Mox", eKTXKonfig, "TFormMox", 1, false},
                    NodeRow{"Sperrnr", eSperrnr, "TFormSperrnr", 1, false},
                    NodeRow{"KMR", eKMRKonfig, "TFormKMR", 1, false},
                    NodeRow{"Firmware", eFirmwareSchreiben, "TFormFirmware", 2, false},
                    NodeRow{"EventLog", eEventLogLesen, "TFormEventLog", 2, false},
                    NodeRow{"ELM", eEventLogELM, "TFormELM", 2, true}),
    [](const testing::TestParamInfo<NodeRow>& info) { return std::string(info.param.name); });

class BoxPagesLeaving : public BoxPagesInMainWindow {};

TEST_F(BoxPagesLeaving, LeftPagesHaveStoredThemselves) {
    FullTree(1, false);
    TDataView* mox = Open(eKTXKonfig);
    ASSERT_NE(mox, nullptr);
    mox->findChild<QLineEdit*>(QStringLiteral("m_pMSN"))->setText(QStringLiteral("0301234"));
    TDataView* sperr = Open(eSperrnr);
    ASSERT_NE(sperr, nullptr);
    sperr->findChild<QLineEdit*>(QStringLiteral("m_pSperr4"))->setText(QStringLiteral("0137"));
    ASSERT_NE(Open(eKMRKonfig), nullptr);

    char buf[32] = {};
    m_pMain->GetDoc()->GetRnr(buf, sizeof buf);
    EXPECT_STREQ(buf, "0301234");
    m_pMain->GetDoc()->GetSperrnr(3, buf, sizeof buf);
    EXPECT_STREQ(buf, "0137");
    EXPECT_TRUE(m_pMain->GetDoc()->IsModified());
}
