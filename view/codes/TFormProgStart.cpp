#include "TFormProgStart.h"

#include "ui_TFormProgStart.h"

#include "CodeTextIds.h"
#include "DbgOut.h"
#include "IMainTransfer.h"
#include "IViewHost.h"
#include "MoxQString.h"
#include "TDataPagePictures.h"
#include "TDelayDlg.h"
#include "TFormProgCode.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <array>

namespace {

// The link is polled at this pace.
constexpr int kUpdateMs = 1000;

// Door-interface type 2 keeps its bus addresses in the box unless the user
// sends them; the other types always send them.
constexpr std::uint8_t kTypeITOwnAddresses = 2;

using DeviceTypes = std::array<std::uint8_t, 4>;

DeviceTypes TypesOf(const TMoxDocument& doc) {
    return {doc.GetTypeIT(), doc.GetTypeBSM(), doc.GetTypeKMR(), doc.GetTypeRAK()};
}

// Set by tests on the GUI thread before the code under test runs.
TFormProgStart::ExecHook g_exec;
TFormProgStart::SaveHook g_save;

} // namespace

TFormProgStart::TFormProgStart(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                               TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormProgStart>()),
      m_pDataTransfer(transfer) {
    SetupPageForm(*ui);
    ui->PC_Image->setPixmap(TDataPagePictures::Pc());
    ui->KTX_Image->setPixmap(TDataPagePictures::Box());
    ui->m_pImg_left->setPixmap(TDataPagePictures::Arrow(false));
    ui->m_pImg_right->setPixmap(TDataPagePictures::Arrow(true));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kUpdateMs);
    connect(Timer1, &QTimer::timeout, this, &TFormProgStart::OnUpdateTimer);

    connect(ui->m_pChkBox_incl_BusAdressen, &QCheckBox::clicked, this,
            &TFormProgStart::OnClickChkBox_incl_Busadressen);
    connect(ui->m_pChkBox_KTX_lesen, &QCheckBox::clicked, this,
            &TFormProgStart::OnClickChkBox_KTX_lesen);
    connect(ui->m_pChkBox_KTX_schreiben, &QCheckBox::clicked, this,
            &TFormProgStart::OnClickChkBox_KTX_schreiben);
    connect(ui->m_pTransferBtn, &QPushButton::clicked, this, &TFormProgStart::OnClickTransferBtn);
}

TFormProgStart::~TFormProgStart() = default;

void TFormProgStart::InitPage() {
    if (IsLesenFixed()) {
        ui->m_pChkBox_KTX_lesen->setChecked(true);
        ui->m_pChkBox_KTX_lesen->setEnabled(false);
    }
    ui->m_pTransferBtn->setEnabled(IsConnected());
    m_bBusAdr = false;
    m_bHasRun = false;
    ui->m_pChkBox_incl_BusAdressen->setEnabled(false);
    ui->m_pChkBox_incl_BusAdressen->setChecked(false);
    InitStartPage();
    const TMoxDocument* doc = GetDoc();
    if (doc && !doc->IsReadFromBox()) {
        // A configuration the box has never seen goes there first.
        ui->m_pChkBox_KTX_schreiben->setChecked(true);
        OnClickChkBox_KTX_schreiben();
    }
    UpdateDirection();
    Timer1->start();
}

void TFormProgStart::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    if (ui->m_pTransferBtn->isEnabled())
        FocusFirstControl(ui->m_pTransferBtn);
    else if (FocusesLesen() && ui->m_pChkBox_KTX_lesen->isEnabled())
        FocusFirstControl(ui->m_pChkBox_KTX_lesen);
}

IMainTransfer* TFormProgStart::Transfer() const {
    if (TMoxMain* main = TMoxMain::Instance())
        if (IMainTransfer* transfer = main->GetDataTransfer())
            return transfer;
    return m_pDataTransfer;
}

bool TFormProgStart::IsConnected() const {
    const IMainTransfer* transfer = Transfer();
    return transfer && transfer->IsConnected();
}

bool TFormProgStart::IsUnitInProg() const {
    const IMainTransfer* transfer = Transfer();
    return transfer && transfer->GetProgFlags().tlnProg;
}

void TFormProgStart::SetToDo(int textId) {
    ui->m_pToDoLabel->setText(textId && m_pRes ? m_pRes->GetQText(textId) : QString());
}

QCheckBox* TFormProgStart::ChkLesen() const {
    return ui->m_pChkBox_KTX_lesen;
}
QCheckBox* TFormProgStart::ChkSchreiben() const {
    return ui->m_pChkBox_KTX_schreiben;
}
QCheckBox* TFormProgStart::ChkBusAdr() const {
    return ui->m_pChkBox_incl_BusAdressen;
}
QPushButton* TFormProgStart::TransferBtn() const {
    return ui->m_pTransferBtn;
}
QLabel* TFormProgStart::ToDoLabel() const {
    return ui->m_pToDoLabel;
}
QLabel* TFormProgStart::Heading() const {
    return ui->Label2;
}
QLabel* TFormProgStart::Label3() const {
    return ui->Label3;
}

void TFormProgStart::UpdateDirection() {
    const bool writing = ui->m_pChkBox_KTX_schreiben->isChecked();
    const bool reading = !writing && ui->m_pChkBox_KTX_lesen->isChecked();
    ui->m_pImg_right->setVisible(writing);
    ui->m_pImg_left->setVisible(reading);
    if (writing || reading) {
        // The texts end in the blank that parts them from the link; one
        // blank is enough.
        const QString text =
            m_pRes ? m_pRes->GetQText(writing ? ctxt::kWriteLink : ctxt::kReadLink).trimmed()
                   : QString();
        const IMainTransfer* transfer = Transfer();
        const QString link = transfer ? MoxToQString(transfer->GetConnectionText()) : QString();
        ui->m_pLabel_rw->setText(text + QStringLiteral(" ") + link);
    } else {
        ui->m_pLabel_rw->clear();
    }
    ui->m_pHinweis->setVisible(writing && ui->m_pChkBox_incl_BusAdressen->isChecked());
}

void TFormProgStart::OnClickChkBox_incl_Busadressen() {
    if (ui->m_pChkBox_KTX_schreiben->isChecked())
        m_bBusAdr = ui->m_pChkBox_incl_BusAdressen->isChecked();
    UpdateDirection();
}

void TFormProgStart::OnClickChkBox_KTX_lesen() {
    if (IsLesenFixed()) {
        // Reading is not a choice here.
        const QSignalBlocker block(ui->m_pChkBox_KTX_lesen);
        ui->m_pChkBox_KTX_lesen->setChecked(true);
        UpdateDirection();
        return;
    }
    if (ui->m_pChkBox_KTX_lesen->isChecked()) {
        ui->m_pChkBox_KTX_schreiben->setChecked(false);
        // What is read brings the box's own addresses.
        ui->m_pChkBox_incl_BusAdressen->setChecked(true);
        ui->m_pChkBox_incl_BusAdressen->setEnabled(false);
    } else {
        ui->m_pChkBox_incl_BusAdressen->setChecked(m_bBusAdr);
    }
    UpdateDirection();
}

void TFormProgStart::OnClickChkBox_KTX_schreiben() {
    if (ui->m_pChkBox_KTX_schreiben->isChecked()) {
        if (IsLesenFixed())
            ui->m_pChkBox_KTX_lesen->setChecked(true);
        else
            ui->m_pChkBox_KTX_lesen->setChecked(false);
        ui->m_pChkBox_incl_BusAdressen->setChecked(m_bBusAdr);
        ui->m_pChkBox_incl_BusAdressen->setEnabled(true);
    } else if (IsLesenFixed()) {
        ui->m_pChkBox_incl_BusAdressen->setChecked(true);
        ui->m_pChkBox_incl_BusAdressen->setEnabled(false);
    } else {
        ui->m_pChkBox_incl_BusAdressen->setEnabled(false);
    }
    UpdateDirection();
}

void TFormProgStart::OnUpdateTimer() {
    if (!IsConnected()) {
        ui->m_pTransferBtn->setEnabled(false);
        return;
    }
    ui->m_pTransferBtn->setEnabled(true);
    if (IsUnitInProg() && m_bHasRun)
        SetToDo(GetToDoInProg());
    else
        SetToDo(0);
}

QDialog* TFormProgStart::GetRunningDialog() {
    return s_pRunning.data();
}

void TFormProgStart::SetExecForTesting(ExecHook hook) {
    g_exec = std::move(hook);
}

void TFormProgStart::SetSaveForTesting(SaveHook hook) {
    g_save = std::move(hook);
}

int TFormProgStart::Exec(QDialog& dialog) {
    s_pRunning = &dialog;
    const int result = g_exec ? g_exec(dialog) : dialog.exec();
    s_pRunning = nullptr;
    return result;
}

bool TFormProgStart::SendConfiguration(bool withBusAdr) {
    TMoxDocument* doc = GetDoc();
    if (!doc)
        return false;
    const QPointer<TFormProgStart> self(this);
    if (doc->StartWriteAnlDataToComPort(withBusAdr))
        return true;
    if (self)
        ShowMsg(ctxt::kWriteFailed, mb::kOk | mb::kIconStop);
    return false;
}

void TFormProgStart::OnClickTransferBtn() {
    MOX_INVARIANT(GetDoc());
    DbgOut(eDbgView, "<TFormProgStart::OnClickTransferBtn>");
    // The transfers, the message boxes and the dialogs run event loops of
    // their own.
    const QPointer<TFormProgStart> self(this);
    TMoxDocument* doc = GetDoc();
    const DeviceTypes before = TypesOf(*doc);

    if (ui->m_pChkBox_KTX_schreiben->isChecked()) {
        const bool withBusAdr =
            doc->GetTypeIT() != kTypeITOwnAddresses || ui->m_pChkBox_incl_BusAdressen->isChecked();
        if (!SendConfiguration(withBusAdr))
            return;
        if (!self)
            return;
        auto delay = std::make_unique<TDelayDlg>(this, m_pRes);
        Exec(*delay);
        if (!self) {
            // The page took its child with it.
            (void)delay.release();
            return;
        }
    }

    if (AskSave() && ShowMsg(ctxt::kSaveQuestion, mb::kYesNo | mb::kIconQuestion) == mb::kIdYes) {
        if (!self)
            return;
        if (g_save)
            g_save();
        else if (TMoxMain* main = TMoxMain::Instance())
            main->OnSaveDocument();
    }
    if (!self)
        return;

    std::unique_ptr<QDialog> dialog = MakeDialog(ui->m_pChkBox_KTX_lesen->isChecked());
    if (!dialog)
        return;
    m_bHasRun = true;
    const int result = Exec(*dialog);
    if (!self) {
        // The page took its child with it.
        (void)dialog.release();
        return;
    }

    doc = GetDoc();
    if (doc && result == QDialog::Accepted && doc->IsModified()) {
        if (SendConfiguration(true) && self && ReportsFinalSend())
            ShowMsg(ctxt::kWriteOk, mb::kOk | mb::kIconInformation);
    }
    if (!self) {
        (void)dialog.release();
        return;
    }
    dialog.reset();

    // A read inside the dialog may have brought other devices; the tree
    // follows once this handler is done, and the rebuild replaces this
    // page.
    if (doc && TypesOf(*doc) != before) {
        if (IViewHost* host = GetViewHost())
            host->ViewUpdateControls();
        TFormProgCode::QueueTreeRebuild();
    }
}
