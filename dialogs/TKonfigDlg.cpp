#include "TKonfigDlg.h"

#include "ui_TKonfigDlg.h"

#include "DbgOut.h"
#include "MessageReceiver.h"
#include "TDataView.h"
#include "TDialogHelp.h"
#include "TInvariant.h"
#include "TMoxMain.h"
#include "TNodeData.h"
#include "TViewFactory.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

using mox::platform::MessageReceiver;
using mox::platform::WindowMessage;

namespace {

// The tree kind whose part of the configuration a page number shows.
std::uint8_t KindOfPage(std::uint8_t page) {
    switch (page) {
    case TKonfigDlg::kPageSMS:
        return eSMS;
    case TKonfigDlg::kPageSchaltcode:
        return eITSchaltcode;
    case TKonfigDlg::kPageBSM:
        return eBSMKonfig;
    default:
        return eNodeNone;
    }
}

// The SMS providers' own name (the caption of their tree node) heads the
// dialog that shows them.
constexpr int kSMSCaption = 230;

bool IsProgPage(std::uint8_t page) {
    return page == TKonfigDlg::kPageSchaltcode || page == TKonfigDlg::kPageBSM;
}

} // namespace

TKonfigDlg::TKonfigDlg(QWidget* owner, bool readBox, IMainTransfer* transfer, std::uint8_t page,
                       TkResourcen* res)
    : QDialog(owner), ui(std::make_unique<Ui::KonfigDlg>()), m_nPage(page), m_pRes(res),
      m_bReadBox(readBox) {
    MOX_INVARIANT(m_pRes);
    ui->setupUi(this);
    // The dialog's own texts first: applied after the page they would
    // overwrite what the page has set for itself.
    m_pRes->SetFormTexts(this);

    m_pReceiver =
        new MessageReceiver([this](const WindowMessage& m) { return OnMessage(m); }, this);

    if (const std::uint8_t kind = KindOfPage(page); kind != eNodeNone) {
        m_pNodeData = std::make_unique<TNodeData>(eKonfigDlg);
        auto* layout = new QVBoxLayout(ui->m_pPanel);
        layout->setContentsMargins(0, 0, 0, 0);
        TViewContext ctx;
        ctx.owner = ui->m_pPanel;
        ctx.holder = m_pNodeData.get();
        ctx.res = m_pRes;
        // Only the programming pages run exchanges.
        ctx.transfer = IsProgPage(page) ? transfer : nullptr;
        m_pPage = TViewFactory::Create(kind, ctx);
        m_pPage->SetAlignClient(true);
        m_pPage->show();
        int caption = page == kPageSMS ? kSMSCaption : 0;
        if (IsProgPage(page))
            if (const auto* prog = dynamic_cast<const IHostedProgPage*>(m_pPage))
                caption = prog->GetHostCaptionId();
        if (caption > 0)
            setWindowTitle(m_pRes->GetQText(caption));
    } else {
        DbgOut(eDbgView, "<TKonfigDlg::TKonfigDlg> unknown page(%d)", page);
    }

    connect(ui->m_pOKBtn, &QPushButton::clicked, this, &TKonfigDlg::OnOk);
    connect(ui->m_pCancelBtn, &QPushButton::clicked, this, &TKonfigDlg::OnCancel);
    TDialogHelp::InstallHelpKey(this);

    if (TMoxMain* main = TMoxMain::Instance())
        main->SetForwardTarget(TMoxMain::eFwdKonfigDlg, this, Address());
}

TKonfigDlg::~TKonfigDlg() {
    if (TMoxMain* main = TMoxMain::Instance())
        main->SetForwardTarget(TMoxMain::eFwdKonfigDlg, nullptr, {});
    m_pReceiver->Detach();
    ClosePage();
}

void TKonfigDlg::ClosePage() {
    // Kind 39: the page is not stored when it goes; OK has stored it.
    TDataView* page = m_pPage;
    m_pPage = nullptr;
    TDataView::Destroy(page);
    m_pNodeData.reset();
}

mox::platform::MessageAddress TKonfigDlg::Address() const {
    return m_pReceiver->Address();
}

void TKonfigDlg::OnOk() {
    if (!m_pPage)
        return;
    if (IsProgPage(m_nPage)) {
        const auto* prog = dynamic_cast<const IHostedProgPage*>(m_pPage);
        if (!prog || !prog->IsAssignRequested()) {
            // Nothing was assigned: nothing to take over.
            DbgOut(eDbgView, "<TKonfigDlg::OnOk> no assignment requested");
            done(QDialog::Rejected);
            return;
        }
    }
    const QPointer<TKonfigDlg> self(this);
    m_pPage->Perform(WM_SAVE, -1, -1);
    if (self)
        done(QDialog::Accepted);
}

void TKonfigDlg::OnCancel() {
    done(QDialog::Rejected);
}

void TKonfigDlg::done(int result) {
    if (m_pPage && !m_pPage->CloseQuery())
        return;
    QDialog::done(result);
}

void TKonfigDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->m_pCancelBtn->setFocus();
}

std::intptr_t TKonfigDlg::OnMessage(const WindowMessage& msg) {
    if (!IHostedProgPage::IsProgResult(msg.id) || !m_pPage)
        return 0;
    // The parameters go with the result: TLNPROG_FEHLER names the error
    // type in lParam, and without it every error would read as unknown.
    m_pPage->Perform(msg.id, msg.wParam, msg.lParam);
    return 0;
}
