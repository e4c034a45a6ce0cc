#include "TFormMox.h"

#include "ui_TFormMox.h"

#include "BoxTextIds.h"
#include "DbgOut.h"
#include "MoxDaten.h"
#include "MoxQString.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kHelpPage = 1100;
constexpr int kMsnLen = MOX_RNR_SIZE - 1;
constexpr int kAkzLen = MOX_RNREXT_SIZE - 1;
constexpr int kConciergeRnrLen = MOX_CONCIERGERNR_SIZE - 1;

QString TextOf(const QLineEdit* edit) {
    return edit->text();
}

} // namespace

TFormMox::TFormMox(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormMox>()) {
    setProperty("HelpContext", kHelpPage);
    SetupPageForm(*ui);
    Label4 = ui->Label4;
    m_pLabel = ui->m_pLabel;
    Label7 = ui->Label7;
    Label11 = ui->Label11;
    m_pLabelRnr = ui->m_pLabelRnr;
    Label5 = ui->Label5;
    Label13 = ui->Label13;
    Label2 = ui->Label2;
    m_pConciergeEinAus = ui->m_pConciergeEinAus;
    m_pMSN = ui->m_pMSN;
    // Hidden in the form; the prefix a document carries is still loaded and
    // stored, so it is never lost.
    m_pAKZ = ui->m_pAKZ;
    m_pConciergeRnr = ui->m_pConciergeRnr;
    m_pComboBoxLand = ui->m_pComboBoxLand;
    m_pComboBoxSprache = ui->m_pComboBoxSprache;
    m_pVideoCheckBox = ui->m_pVideoCheckBox;

    for (QLineEdit* edit : {m_pMSN, m_pAKZ, m_pConciergeRnr})
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { CheckInput(edit); });
    connect(m_pConciergeEinAus, &QCheckBox::clicked, this, &TFormMox::OnClickConcierge);
}

TFormMox::~TFormMox() = default;

void TFormMox::FillCombo(QComboBox* combo, int firstId, int count) {
    combo->clear();
    for (int i = 0; i < count; ++i)
        combo->addItem(m_pRes ? m_pRes->GetQText(firstId + i) : QString::number(i + 1));
}

void TFormMox::OnOpen(TMessage&) {
    TMoxDocument* doc = GetDoc();
    FillCombo(m_pComboBoxLand, btxt::kLandFirst, btxt::kLandCount);
    FillCombo(m_pComboBoxSprache, btxt::kSpracheFirst, btxt::kSpracheCount);
    m_pMSN->setMaxLength(kMsnLen);
    m_pAKZ->setMaxLength(kAkzLen);
    m_pConciergeRnr->setMaxLength(kConciergeRnrLen);
    if (!doc)
        return;

    const int land = doc->GetLand();
    m_pComboBoxLand->setCurrentIndex(land >= 1 && land <= btxt::kLandCount ? land - 1 : -1);
    const int sprache = doc->GetSprache();
    m_pComboBoxSprache->setCurrentIndex(sprache >= 1 && sprache <= btxt::kSpracheCount ? sprache - 1
                                                                                       : -1);

    char buf[MOX_RNR_SIZE + 1] = {};
    m_pMSN->setText(doc->GetRnr(buf, sizeof buf) ? MoxToQString(buf) : QString());
    char akz[MOX_RNR_SIZE + 1] = {};
    m_pAKZ->setText(doc->GetRnrExtBelegung(akz, sizeof akz) ? MoxToQString(akz) : QString());
    m_pVideoCheckBox->setChecked(doc->GetConciergeVideo() != 0);
    m_pConciergeEinAus->setChecked(doc->GetConciergeAktiv() != 0);
    char concierge[MOX_RNR_SIZE + 1] = {};
    m_pConciergeRnr->setText(
        doc->GetConciergeRnr(concierge, sizeof concierge) ? MoxToQString(concierge) : QString());
}

void TFormMox::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormMox::OnSave>");
    TMoxDocument* doc = GetDoc();
    MOX_INVARIANT(GetDoc());

    // A concierge function without a number to call would leave the door
    // call nowhere: it is switched off and the user is told.
    if (m_pConciergeEinAus->isChecked() && TextOf(m_pConciergeRnr).isEmpty()) {
        ShowMsg(btxt::kConciergeNoRnr, mb::kOk | mb::kIconInformation);
        m_pConciergeEinAus->setChecked(false);
    }
    if (const int i = m_pComboBoxLand->currentIndex(); i >= 0)
        doc->SetLand(static_cast<std::uint8_t>(i + 1));
    if (const int i = m_pComboBoxSprache->currentIndex(); i >= 0)
        doc->SetSprache(static_cast<std::uint8_t>(i + 1));
    doc->SetRnr(MoxFromQString(TextOf(m_pMSN)).c_str());
    doc->SetRnrExtBelegung(MoxFromQString(TextOf(m_pAKZ)).c_str());
    doc->SetConciergeAktiv(m_pConciergeEinAus->isChecked() ? 1 : 0);
    doc->SetConciergeRnr(MoxFromQString(TextOf(m_pConciergeRnr)).c_str());
    doc->SetConciergeVideo(m_pVideoCheckBox->isChecked() ? 1 : 0);
}

void TFormMox::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitKTXKonfig();
    Perform(WM_OPEN, -1, -1);
}

void TFormMox::OnClickConcierge() {
    if (m_pConciergeEinAus->isChecked() && m_pConciergeRnr->isEnabled() &&
        m_pConciergeRnr->text().isEmpty())
        m_pConciergeRnr->setFocus();
}

void TFormMox::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pComboBoxLand);
}
