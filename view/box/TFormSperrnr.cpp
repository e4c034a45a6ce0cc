#include "TFormSperrnr.h"

#include "ui_TFormSperrnr.h"

#include "BoxTextIds.h"
#include "DbgOut.h"
#include "MoxDaten.h"
#include "MoxQString.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "WindowMessages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

namespace {

constexpr int kHelpPage = 3100;
// A barred number is a prefix of at most four digits ("0190", ...).
constexpr int kSperrLen = MOX_SPERRNR_SIZE - 1;

} // namespace

TFormSperrnr::TFormSperrnr(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormSperrnr>()) {
    setProperty("HelpContext", kHelpPage);
    SetupPageForm(*ui);
    m_pSperr = {ui->m_pSperr1, ui->m_pSperr2, ui->m_pSperr3, ui->m_pSperr4};
    for (QLineEdit* edit : m_pSperr) {
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Base, Qt::white);
        edit->setPalette(pal);
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { CheckInput(edit); });
    }
}

TFormSperrnr::~TFormSperrnr() = default;

void TFormSperrnr::OnOpen(TMessage&) {
    TMoxDocument* doc = GetDoc();
    for (std::size_t i = 0; i < m_pSperr.size(); ++i) {
        m_pSperr[i]->setMaxLength(kSperrLen);
        char buf[MOX_SPERRNR_SIZE + 1] = {};
        const bool ok = doc && doc->GetSperrnr(static_cast<std::uint8_t>(i), buf, sizeof buf);
        m_pSperr[i]->setText(ok ? MoxToQString(buf) : QString());
    }
}

void TFormSperrnr::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormSperrnr::OnSave>");
    TMoxDocument* doc = GetDoc();
    MOX_INVARIANT(GetDoc());
    for (std::size_t i = 0; i < m_pSperr.size(); ++i)
        doc->SetSperrnr(static_cast<std::uint8_t>(i), MoxFromQString(m_pSperr[i]->text()).c_str());
}

void TFormSperrnr::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitSperrnr();
    Perform(WM_OPEN, -1, -1);
}

void TFormSperrnr::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pSperr[0]);
}
