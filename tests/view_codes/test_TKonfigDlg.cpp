// The page-hosting dialog: which page it shows, what OK and Cancel store,
// a page that refuses to close, the caption the programming pages give it,
// and the programming results it hands to its page.

#include "CodeFixture.h"
#include "CodeTextIds.h"
#include "TFormBSM.h"
#include "TFormSchaltcode.h"
#include "TKonfigDlg.h"
#include "TViewFactory.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>

#include <memory>
#include <ostream>
#include <vector>

namespace {

constexpr std::uint16_t kTlnAdr = 0x0123;
constexpr std::uint16_t kUnitAdr = 0x0456;
constexpr int kSMSCaption = 230; // the SMS providers' tree caption

// Stands in for the SMS providers page: counts its saves and may refuse
// to be left.
class FakeSmsPage : public TDataView {
public:
    using TDataView::TDataView;
    static inline int saves = 0;
    static inline bool refuseClose = false;
    static inline std::vector<std::uint32_t> seen;

    void Dispatch(TMessage& message) override {
        seen.push_back(message.Msg);
        TDataView::Dispatch(message);
    }

protected:
    void OnSave(TMessage&) override { ++saves; }
    void OnCloseQuery(bool& canClose) override { canClose = !refuseClose; }
};

class KonfigDlg : public CodeTest {
protected:
    void SetUp() override {
        CodeTest::SetUp();
        FakeSmsPage::saves = 0;
        FakeSmsPage::refuseClose = false;
        FakeSmsPage::seen.clear();
        TViewFactory::Register(eSMS, [](const TViewContext& ctx) -> TDataView* {
            return TDataView::Create<FakeSmsPage>(ctx.owner, ctx.holder, ctx.res);
        });
    }
    void TearDown() override {
        m_pDlg.reset();
        TViewFactory::Unregister(eSMS);
        CodeTest::TearDown();
    }
    TKonfigDlg& Open(std::uint8_t page, bool readBox = false) {
        m_pDlg = std::make_unique<TKonfigDlg>(nullptr, readBox, &m_Transfer, page, Res());
        m_pDlg->open(); // window-modal, without a loop of its own
        return *m_pDlg;
    }
    static QPushButton* Button(QWidget* dlg, const char* name) {
        return Find<QPushButton>(dlg, name);
    }
    std::unique_ptr<TKonfigDlg> m_pDlg;
};

} // namespace

TEST_F(KonfigDlg, SmsPageIsAlwaysStoredOnOk) {
    TKonfigDlg& dlg = Open(TKonfigDlg::kPageSMS);
    ASSERT_NE(dynamic_cast<FakeSmsPage*>(dlg.GetPage()), nullptr);
    EXPECT_EQ(dlg.GetPage()->GetKind(), eKonfigDlg);
    EXPECT_EQ(dlg.windowTitle(), Text(kSMSCaption));
    EXPECT_EQ(FakeSmsPage::saves, 0);
    Button(&dlg, "m_pOKBtn")->click();
    EXPECT_EQ(FakeSmsPage::saves, 1);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(KonfigDlg, CancelStoresNothingAndTheDialogDoesNotStoreItsPageWhenItGoes) {
    TKonfigDlg& dlg = Open(TKonfigDlg::kPageSMS);
    Button(&dlg, "m_pCancelBtn")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    m_pDlg.reset();
    EXPECT_EQ(FakeSmsPage::saves, 0);
}

TEST_F(KonfigDlg, PageThatRefusesToCloseKeepsTheDialogOpen) {
    TKonfigDlg& dlg = Open(TKonfigDlg::kPageSMS);
    FakeSmsPage::refuseClose = true;
    Button(&dlg, "m_pCancelBtn")->click();
    EXPECT_TRUE(dlg.isVisible());
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    FakeSmsPage::refuseClose = false;
    Button(&dlg, "m_pCancelBtn")->click();
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(KonfigDlg, UnknownPageNumberGivesAnEmptyDialog) {
    TKonfigDlg& dlg = Open(5);
    EXPECT_EQ(dlg.GetPage(), nullptr);
    Button(&dlg, "m_pOKBtn")->click();
    EXPECT_TRUE(dlg.isVisible()); // OK does nothing without a page
    Button(&dlg, "m_pCancelBtn")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(KonfigDlg, CancelGetsTheFocusAndButtonsTheirTexts) {
    TKonfigDlg& dlg = Open(TKonfigDlg::kPageSMS);
    QApplication::setActiveWindow(&dlg);
    EXPECT_EQ(Button(&dlg, "m_pOKBtn")->text(), Text(ctxt::kOk));
    EXPECT_EQ(Button(&dlg, "m_pCancelBtn")->text(), Text(ctxt::kCancel));
    EXPECT_TRUE(Button(&dlg, "m_pCancelBtn")->hasFocus());
    EXPECT_TRUE(Button(&dlg, "m_pOKBtn")->isDefault());
}

struct ProgPageCase {
    const char* name;
    std::uint8_t page;
    int caption;
};

void PrintTo(const ProgPageCase& c, std::ostream* os) {
    *os << c.name;
}

class KonfigDlgProg : public KonfigDlg, public testing::WithParamInterface<ProgPageCase> {
protected:
    bool IsBSM() const { return GetParam().page == TKonfigDlg::kPageBSM; }
    void UnitReady() {
        if (IsBSM())
            m_Transfer.ModuleInProg(kUnitAdr, 2);
        else
            m_Transfer.UnitInProg(kUnitAdr, false);
    }
    std::uint16_t DocAdr(int i) {
        std::uint16_t adr = 0;
        std::uint8_t relay = 0;
        if (IsBSM())
            Doc().GetBSMRelais(static_cast<std::uint8_t>(i), &adr, &relay);
        else
            Doc().GetSchaltcodeAdr(static_cast<std::uint8_t>(i), &adr);
        return adr;
    }
};

TEST_P(KonfigDlgProg, ShowsTheCodePageUnderItsCaption) {
    PrepareDoc(kTlnAdr);
    TKonfigDlg& dlg = Open(GetParam().page, true);
    auto* page = dynamic_cast<TFormProgCode*>(dlg.GetPage());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(IsBSM(), dynamic_cast<TFormBSM*>(page) != nullptr);
    EXPECT_EQ(page->GetKind(), eKonfigDlg);
    EXPECT_TRUE(page->GetReadFlag()); // the read-box flag reached the page
    EXPECT_EQ(dlg.windowTitle(), Text(GetParam().caption));
}

TEST_P(KonfigDlgProg, OkWithoutAnAssignmentClosesLikeCancel) {
    PrepareDoc(kTlnAdr);
    TKonfigDlg& dlg = Open(GetParam().page);
    dlg.GetPage()->findChild<QTableWidget*>("m_pGrid")->item(0, 1)->setText("edited");
    Button(&dlg, "m_pOKBtn")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
    char text[32] = {};
    if (IsBSM())
        Doc().GetBSMRelaisText(0, text, sizeof text);
    else
        Doc().GetSchaltcodeText(0, text, sizeof text);
    EXPECT_STRNE(text, "edited");
}

TEST_P(KonfigDlgProg, OkAfterAnAssignmentStoresThePage) {
    PrepareDoc(kTlnAdr);
    UnitReady();
    TKonfigDlg& dlg = Open(GetParam().page);
    QWidget* page = dlg.GetPage();
    page->findChild<QTableWidget*>("m_pGrid")->setCurrentCell(3, 1);
    page->findChild<QPushButton*>("m_pZuordnenBtn")->click();
    // The box's confirmation reaches the page through the dialog.
    dlg.Address().Perform(RUECKMELDUNG_OK, 0, 0);
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kAssigned}));
    Button(&dlg, "m_pOKBtn")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(DocAdr(3), kUnitAdr);
}

TEST_P(KonfigDlgProg, ResultsReachThePageWithTheirParameters) {
    PrepareDoc(kTlnAdr);
    TKonfigDlg& dlg = Open(GetParam().page);
    // The error type travels in lParam: without it the page could not name
    // the error.
    dlg.Address().Perform(TLNPROG_FEHLER, 0, 2);
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kProgError1 + 1}));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, KonfigDlgProg,
    testing::Values(ProgPageCase{"Schaltcode", TKonfigDlg::kPageSchaltcode,
                                 ctxt::kSchaltcodeHeading},
                    ProgPageCase{"BSM", TKonfigDlg::kPageBSM, ctxt::kBSMHeading}),
    [](const testing::TestParamInfo<ProgPageCase>& info) { return std::string(info.param.name); });

TEST_F(KonfigDlg, OnlyProgrammingResultsAreHandedOn) {
    TKonfigDlg& dlg = Open(TKonfigDlg::kPageSMS);
    FakeSmsPage::seen.clear();
    for (std::uint32_t id : {PROG_FAILED, RUECKMELDUNG_OK, PROGMODEAKT_OK, TLNPROGAKT_OK,
                             TLNPROGAKT_FAILED, TLNPROG_FEHLER, TLNPROG_PAS_OK, SEND_FAILED,
                             BSMPROG_AKT, BSMPROG_PAS, KBA_COUNT, DEL_TLN_FAILED, WM_SAVE})
        dlg.Address().Perform(id, 0, 0);
    EXPECT_EQ(FakeSmsPage::seen,
              (std::vector<std::uint32_t>{PROG_FAILED, RUECKMELDUNG_OK, PROGMODEAKT_OK,
                                          TLNPROGAKT_OK, TLNPROGAKT_FAILED, TLNPROG_FEHLER,
                                          TLNPROG_PAS_OK, SEND_FAILED, BSMPROG_AKT, BSMPROG_PAS}));
    EXPECT_EQ(FakeSmsPage::saves, 0);
}

TEST_F(KonfigDlg, FailedReadCancelsTheDialog) {
    PrepareDoc(kTlnAdr);
    m_Transfer.result = 2;
    TKonfigDlg& dlg = Open(TKonfigDlg::kPageSchaltcode, true);
    auto* page = dynamic_cast<TFormProgCode*>(dlg.GetPage());
    ASSERT_NE(page, nullptr);
    page->OnTimer();
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kReadFailed}));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}
