#include "TFormWriteData.h"

#include "ui_TFormWriteData.h"

#include "DataPageTextIds.h"
#include "DbgOut.h"
#include "IMainTransfer.h"
#include "MoxQString.h"
#include "TDataPagePictures.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <QPointer>

namespace {

constexpr int kHelpPage = 2000;
// The one door-interface type whose bus addresses the user may keep in the
// box; the others always get them sent.
constexpr std::uint8_t kTypeITChoice = 2;

} // namespace

TFormWriteData::TFormWriteData(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                               TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormWriteData>()),
      m_pDataTransfer(transfer) {
    setProperty("HelpContext", kHelpPage);
    SetupPageForm(*ui);
    ui->PC_Image->setPixmap(TDataPagePictures::Pc());
    ui->KTX_Image->setPixmap(TDataPagePictures::Box());
    ui->Pfeil->setPixmap(TDataPagePictures::Arrow(true));

    connect(ui->m_pStartBtn, &QPushButton::clicked, this, &TFormWriteData::OnWriteData);
    connect(ui->m_pChkBox_incl_BusAdressen, &QCheckBox::toggled, this,
            [this](bool) { OnClickChkBox_incl_Busadressen(); });
}

TFormWriteData::~TFormWriteData() = default;

void TFormWriteData::InitPage() {
    ui->m_pStartBtn->setEnabled(m_pDataTransfer && m_pDataTransfer->IsConnected());
    const QString link =
        m_pDataTransfer ? MoxToQString(m_pDataTransfer->GetConnectionText()) : QString();
    ui->m_pLabel_rw->setText((m_pRes ? m_pRes->GetQText(ptxt::kWriteLink) : QString()) + link);
}

void TFormWriteData::OnConnectionChanged(TMessage&) {
    // The link line keeps the text it got on construction.
    ui->m_pStartBtn->setEnabled(m_pDataTransfer && m_pDataTransfer->IsConnected());
}

void TFormWriteData::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    const TMoxDocument* doc = GetDoc();
    ui->m_pChkBox_incl_BusAdressen->setEnabled(doc && doc->GetTypeIT() == kTypeITChoice);
    if (ui->m_pStartBtn->isEnabled())
        FocusFirstControl(ui->m_pStartBtn);
}

void TFormWriteData::OnClickChkBox_incl_Busadressen() {
    ui->m_pHinweis->setVisible(ui->m_pChkBox_incl_BusAdressen->isChecked());
}

void TFormWriteData::OnWriteData() {
    MOX_INVARIANT(GetDoc());
    TMoxDocument* doc = GetDoc();
    const bool inclBusAdr =
        ui->m_pChkBox_incl_BusAdressen->isChecked() || doc->GetTypeIT() != kTypeITChoice;
    DbgOut(eDbgView, "<TFormWriteData::OnWriteData> bus addresses(%d)", inclBusAdr ? 1 : 0);

    // The modal transfer runs an event loop of its own, in which the host
    // may replace this page.
    const QPointer<TFormWriteData> self(this);
    const bool ok = doc->StartWriteAnlDataToComPort(inclBusAdr);
    if (!self)
        return;
    if (ok) {
        ui->m_pMessage->setText(m_pRes ? m_pRes->GetQText(ptxt::kWriteOk) : QString());
        ui->m_pStartBtn->setEnabled(false);
    } else {
        ShowMsg(ptxt::kWriteFailed, mb::kOk | mb::kIconStop);
    }
}
