#include "TFormKMR.h"

#include "ui_TFormKMR.h"

#include "BoxTextIds.h"
#include "DbgOut.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>
#include <QVariant>

namespace {

constexpr int kHelpPage = 200;
// The camera device uses one or both B channels of the line.
constexpr int kBandbreiteMin = MOX_KMRBANDBREITE_MIN;
constexpr int kBandbreiteMax = MOX_KMRBANDBREITE_MAX;

int TagOf(const QWidget* w) {
    return w ? w->property("Tag").toInt() : -1;
}

} // namespace

TFormKMR::TFormKMR(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormKMR>()) {
    setProperty("HelpContext", kHelpPage);
    SetupPageForm(*ui);
    Label2 = ui->Label2;
    Label5 = ui->Label5;
    m_pBandbreiteLabel = ui->m_pBandbreiteLabel;
    m_pHelligkeitLabel = ui->m_pHelligkeitLabel;
    m_pKontrastLabel = ui->m_pKontrastLabel;
    m_pSaettigungLabel = ui->m_pSaettigungLabel;
    m_pKameratypCombo = ui->m_pKameratypCombo;
    m_pBandbreite = ui->m_pBandbreite;
    // A held half repeats after 400 ms, then every 100 ms, as the
    // platform's spin buttons do.
    m_pBandbreiteSpin = ui->m_pBandbreiteSpin;
    m_pSpinUp = ui->m_pBandbreiteSpinUp;
    m_pSpinDown = ui->m_pBandbreiteSpinDown;
    m_pCodierqualTrack = ui->m_pCodierqualTrack;
    m_pSchnellLabel = ui->m_pSchnellLabel;
    m_pScharfLabel = ui->m_pScharfLabel;
    m_pKontrastTrack = ui->m_pKontrastTrack;
    m_pHelligkeitTrack = ui->m_pHelligkeitTrack;
    m_pSaettigungTrack = ui->m_pSaettigungTrack;
    m_pCodierqualLabel = ui->m_pCodierqualLabel;
    // The picture settings are percentages, as the record holds them.
    for (QSlider* track :
         {m_pCodierqualTrack, m_pKontrastTrack, m_pHelligkeitTrack, m_pSaettigungTrack})
        track->setRange(MOX_KMRPROZENT_MIN, MOX_KMRPROZENT_MAX);

    connect(m_pBandbreite, &QLineEdit::textChanged, this, [this] { OnCheckInput(m_pBandbreite); });
    connect(m_pSpinUp, &QToolButton::clicked, this, [this] { OnUpClick(m_pBandbreiteSpin); });
    connect(m_pSpinDown, &QToolButton::clicked, this, [this] { OnDownClick(m_pBandbreiteSpin); });
    m_pBandbreite->installEventFilter(this);
}

TFormKMR::~TFormKMR() = default;

void TFormKMR::OnOpen(TMessage&) {
    m_pKameratypCombo->clear();
    for (int id : {btxt::kKameratyp1, btxt::kKameratyp2})
        m_pKameratypCombo->addItem(m_pRes ? m_pRes->GetQText(id) : QString::number(id));
    m_pBandbreite->setProperty("Tag", kBandbreiteTag);
    m_pBandbreiteSpin->setProperty("Tag", kBandbreiteTag);
    if (m_pRes) {
        m_pBandbreite->setToolTip(m_pRes->GetQHint(TagOf(m_pBandbreiteLabel)));
        m_pKontrastTrack->setToolTip(m_pRes->GetQHint(TagOf(m_pKontrastLabel)));
        m_pHelligkeitTrack->setToolTip(m_pRes->GetQHint(TagOf(m_pHelligkeitLabel)));
        m_pSaettigungTrack->setToolTip(m_pRes->GetQHint(TagOf(m_pSaettigungLabel)));
        m_pCodierqualTrack->setToolTip(m_pRes->GetQHint(btxt::kCodierqual));
    }

    TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    switch (doc->GetKMRKameratyp()) {
    case 1:
        m_pKameratypCombo->setCurrentIndex(0);
        break;
    case 2:
        m_pKameratypCombo->setCurrentIndex(1);
        break;
    default:
        m_pKameratypCombo->setCurrentIndex(-1);
        break;
    }
    std::uint8_t value = 0;
    m_pCodierqualTrack->setValue(doc->GetKMRCodierqual(&value) ? value : 0);
    m_pBandbreite->setText(QString::number(doc->GetKMRBandbreite()));
    m_pKontrastTrack->setValue(doc->GetKMRKontrast(&value) ? value : 0);
    m_pHelligkeitTrack->setValue(doc->GetKMRHelligkeit(&value) ? value : 0);
    m_pSaettigungTrack->setValue(doc->GetKMRSaettigung(&value) ? value : 0);
}

void TFormKMR::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormKMR::OnSave>");
    TMoxDocument* doc = GetDoc();
    MOX_INVARIANT(GetDoc());
    const int item = m_pKameratypCombo->currentIndex();
    doc->SetKMRKameratyp(item == 0 ? 1 : item == 1 ? 2 : 0);
    doc->SetKMRCodierqual(static_cast<std::uint8_t>(m_pCodierqualTrack->value()));
    // The field holds 1 or 2 after its filter; anything else is refused by
    // the document and keeps the stored bandwidth.
    doc->SetKMRBandbreite(static_cast<std::uint8_t>(m_pBandbreite->text().toInt()));
    doc->SetKMRKontrast(static_cast<std::uint8_t>(m_pKontrastTrack->value()));
    doc->SetKMRHelligkeit(static_cast<std::uint8_t>(m_pHelligkeitTrack->value()));
    doc->SetKMRSaettigung(static_cast<std::uint8_t>(m_pSaettigungTrack->value()));
}

void TFormKMR::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitKMR();
    Perform(WM_OPEN, -1, -1);
}

void TFormKMR::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pKameratypCombo);
}

bool TFormKMR::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pBandbreite && IsFieldLeft(event))
        OnExit(m_pBandbreite);
    return TDataView::eventFilter(watched, event);
}

QLineEdit* TFormKMR::EditOf(QWidget* sender) const {
    QLineEdit* pEdit = nullptr;
    if (TagOf(sender) == kBandbreiteTag)
        pEdit = m_pBandbreite;
    MOX_INVARIANT(pEdit != NULL);
    return pEdit;
}

void TFormKMR::OnCheckInput(QWidget* sender) {
    // Setting the text below fires the change event again.
    if (m_bFiltering)
        return;
    m_bFiltering = true;
    QLineEdit* pEdit = EditOf(sender);
    CheckInput(pEdit);
    const QString text = pEdit->text();
    // An empty field and a 0 would give the camera no channel: both become
    // the smallest bandwidth.
    if (text.isEmpty() || text.toInt() < kBandbreiteMin)
        pEdit->setText(QString::number(kBandbreiteMin));
    else if (text.toInt() > kBandbreiteMax)
        pEdit->setText(QString::number(kBandbreiteMax));
    m_bFiltering = false;
}

void TFormKMR::OnUpClick(QWidget* sender) {
    QLineEdit* pEdit = EditOf(sender);
    if (pEdit->text().isEmpty())
        pEdit->setText(QString::number(kBandbreiteMin));
    else if (const int n = pEdit->text().toInt(); n < kBandbreiteMax)
        pEdit->setText(QString::number(n + 1));
}

void TFormKMR::OnDownClick(QWidget* sender) {
    QLineEdit* pEdit = EditOf(sender);
    if (pEdit->text().isEmpty())
        pEdit->setText(QString::number(kBandbreiteMin));
    else if (const int n = pEdit->text().toInt(); n > kBandbreiteMin)
        pEdit->setText(QString::number(n - 1));
}

void TFormKMR::OnExit(QWidget* sender) {
    QLineEdit* pEdit = EditOf(sender);
    if (pEdit->text().toInt() > kBandbreiteMax)
        pEdit->setText(QString::number(kBandbreiteMax));
}
