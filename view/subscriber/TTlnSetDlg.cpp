#include "TTlnSetDlg.h"

#include "ui_TTlnSetDlg.h"

#include "DbgOut.h"
#include "IMainTransfer.h"
#include "ITlnProgPort.h"
#include "MessageReceiver.h"
#include "MoxQString.h"
#include "SubscriberTextIds.h"
#include "TDialogHelp.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TProgCursor.h"
#include "TTlnGridCells.h"
#include "TTlnProgAccess.h"
#include "TextSubst.h"
#include "TkResourcen.h"
#include "TransferDefs.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {

constexpr int kHelpForm = 2700;
constexpr std::uint32_t kKbaBufferLen = 255;

// The subscriber an item stands for, -1 for the "no choice" item.
int IndexOf(const QComboBox* list, int item) {
    if (item < 1 || item >= list->count())
        return -1;
    bool ok = false;
    const int idx = list->itemData(item).toInt(&ok);
    return ok ? idx : -1;
}

std::string RnrOf(const TMoxDocument& doc, int i) {
    char rnr[kMaxRnrLen + 2] = {};
    if (!doc.GetTlnRnr(static_cast<std::uint8_t>(i), rnr, sizeof rnr))
        return {};
    rnr[sizeof rnr - 1] = '\0';
    return rnr;
}

} // namespace

TTlnSetDlg::TTlnSetDlg(QWidget* owner, IMainTransfer* transfer, TMoxDocument* doc, TkResourcen* res)
    : QDialog(owner), ui(std::make_unique<Ui::TTlnSetDlg>()), m_pRes(res), m_pDoc(doc),
      m_pDataTransfer(transfer), m_pProg(TTlnProgAccess::Of(transfer)) {
    DbgOut(eDbgTlnProg, "<TTlnSetDlg::TTlnSetDlg>");
    MOX_INVARIANT(m_pDoc && m_pRes && m_pDataTransfer);

    m_pReceiver = NewMessageReceiver(this, [this](TMessage& msg) { Dispatch(msg); });

    BuildForm();
    if (ITlnProgPort* prog = Prog())
        prog->SetProgProt(eProtProg);
    m_pRes->SetFormTexts(this);
    TDialogHelp::InstallHelpKey(this);
    if (TMoxMain* main = TMoxMain::Instance())
        main->SetForwardTarget(TMoxMain::eFwdTlnSetDlg, this, Address());
    UpdateView(true);
}

TTlnSetDlg::~TTlnSetDlg() {
    // Destroyed while still waiting (its owner went): the hourglass and the
    // capture are this dialog's to give back.
    if (QWidget::mouseGrabber() == this)
        RestoreCursorAndCapture();
    m_pReceiver->Detach();
    if (TMoxMain* main = TMoxMain::Instance())
        main->SetForwardTarget(TMoxMain::eFwdTlnSetDlg, nullptr, {});
}

void TTlnSetDlg::BuildForm() {
    ui->setupUi(this);
    m_pTlnZuordnenCancelBtn = ui->m_pTlnZuordnenCancelBtn;
    m_pTlnZuordnenBtn = ui->m_pTlnZuordnenBtn;
    Button2 = ui->Button2;
    GroupBox1 = ui->GroupBox1;
    m_pBTLMLabel = ui->m_pBTLMLabel;
    m_pVideoLabel = ui->m_pVideoLabel;
    GroupBox2 = ui->GroupBox2;
    m_pNewCombo = ui->m_pNewCombo;
    m_pAgainCombo = ui->m_pAgainCombo;
    Label1 = ui->Label1;
    Label2 = ui->Label2;
    Label3 = ui->Label3;
    m_pToDoLabel = ui->m_pToDoLabel;

    connect(m_pTlnZuordnenBtn, &QPushButton::clicked, this, &TTlnSetDlg::OnSet);
    connect(m_pTlnZuordnenCancelBtn, &QPushButton::clicked, this, &TTlnSetDlg::OnCancel);
    connect(Button2, &QPushButton::clicked, this, &TTlnSetDlg::OnEnd);
    connect(m_pNewCombo, qOverload<int>(&QComboBox::activated), this, &TTlnSetDlg::OnChangeNew);
    connect(m_pAgainCombo, qOverload<int>(&QComboBox::activated), this, &TTlnSetDlg::OnChangeAgain);
}

std::intptr_t TTlnSetDlg::Perform(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam) {
    return m_pReceiver->Perform(msg, wParam, lParam);
}

mox::platform::MessageAddress TTlnSetDlg::Address() const {
    return m_pReceiver->Address();
}

void TTlnSetDlg::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case PROGQUIT_OK:
        OnProgQuit();
        break;
    case PROG_FAILED:
    case CANCEL_FAILED:
    case PROGQUIT_FAILED:
    case PROGMODEAKT_OK:
    case TLNPROGAKT_OK:
    case TLNPROGAKT_FAILED:
    case TLNPROG_FEHLER:
    case TLNPROG_PAS_OK:
    case SEND_FAILED:
    case KBA_LIST_FAILED:
    case KBA_LIST_EMPTY:
        OnTransferMsg(message);
        break;
    default:
        break;
    }
}

void TTlnSetDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_bShownOnce)
        return;
    m_bShownOnce = true;
    // The free-address list is asked for as many addresses as there are
    // subscribers waiting for one.
    int waiting = 0;
    for (int i = 0; i < m_pDoc->GetAnzTln(); ++i)
        if (!RnrOf(*m_pDoc, i).empty() && m_pDoc->GetTlnBusAdr(static_cast<std::uint8_t>(i)) == 0)
            ++waiting;
    DbgOut(eDbgTlnProg, "<TTlnSetDlg::OnShow> SetKBACounter(%d)", waiting);
    if (ITlnProgPort* prog = Prog())
        prog->SetKBACounter(static_cast<std::uint16_t>(waiting));
    const QPointer<TTlnSetDlg> self(this);
    m_pDataTransfer->SetInfoText(m_pRes->GetText(stxt::kKbaListInfo));
    m_pDataTransfer->SetTransferData(5, m_KbaBuffer.data(), kKbaBufferLen);
    m_pDataTransfer->ShowModal();
    if (!self)
        return;
    UpdateView(true);
}

void TTlnSetDlg::done(int result) {
    // Whatever closes the dialog: the arrow and the mouse come back.
    RestoreCursorAndCapture();
    ClearLists();
    QDialog::done(result);
}

void TTlnSetDlg::reject() {
    OnEnd();
}

bool TTlnSetDlg::IsAssignmentWaiting() const {
    const ITlnProgPort* prog = Prog();
    return m_nAssignIdx >= 0 && prog && prog->IsProgTlnAktiv();
}

void TTlnSetDlg::ClearLists() {
    m_pNewCombo->clear();
    m_pAgainCombo->clear();
}

int TTlnSetDlg::SelectedTln() const {
    if (m_pNewCombo->currentIndex() >= 1)
        return IndexOf(m_pNewCombo, m_pNewCombo->currentIndex());
    if (m_pAgainCombo->currentIndex() >= 1)
        return IndexOf(m_pAgainCombo, m_pAgainCombo->currentIndex());
    return -1;
}

void TTlnSetDlg::UpdateView(bool bUpdateTln) {
    DbgOut(eDbgTlnProg, "<TTlnSetDlg::UpdateView> bUpdateTln(%d)", bUpdateTln ? 1 : 0);
    const ITlnProgPort* prog = Prog();
    const bool progMode = prog && prog->IsProgModeAktiv();
    const bool unit = prog && prog->IsBTLMAktiv();

    m_pBTLMLabel->setText(m_pRes->GetQText(stxt::kNone));
    m_pVideoLabel->hide();
    if (progMode && unit && prog->GetAdrBTLM() != 0) {
        m_pBTLMLabel->setText(
            MoxToQString(TextSubst("0x%04x", {static_cast<unsigned>(prog->GetAdrBTLM())})));
        m_pVideoLabel->setVisible(prog->IsVideo());
    } else {
        m_pBTLMLabel->clear();
    }

    const int todo = !progMode ? stxt::kToDoProgMode : unit ? stxt::kToDoChoose : stxt::kToDoUnit;
    m_pToDoLabel->setText(m_pRes->GetQText(todo));

    if (bUpdateTln) {
        ClearLists();
        const QString none = m_pRes->GetQText(stxt::kNone);
        m_pNewCombo->addItem(none, -1);
        m_pAgainCombo->addItem(none, -1);
        int n = prog ? prog->GetAnzKBA() : 0;
        for (int i = 0; i < m_pDoc->GetAnzTln() && n > 0; ++i) {
            const std::string rnr = RnrOf(*m_pDoc, i);
            if (!rnr.empty() && m_pDoc->GetTlnBusAdr(static_cast<std::uint8_t>(i)) == 0) {
                m_pNewCombo->addItem(MoxToQString(rnr), i);
                --n;
            }
        }
        for (int i = 0; i < m_pDoc->GetAnzTln(); ++i) {
            const std::string rnr = RnrOf(*m_pDoc, i);
            if (!rnr.empty() && m_pDoc->GetTlnBusAdr(static_cast<std::uint8_t>(i)) != 0)
                m_pAgainCombo->addItem(MoxToQString(rnr), i);
        }
        if (m_pNewCombo->count() > 1) {
            m_pNewCombo->setCurrentIndex(1);
            m_pAgainCombo->setCurrentIndex(0);
        } else {
            m_pNewCombo->setCurrentIndex(0);
            m_pAgainCombo->setCurrentIndex(m_pAgainCombo->count() > 1 ? 1 : 0);
        }
    }
    UpdateButtons();
}

void TTlnSetDlg::UpdateButtons() {
    DbgOut(eDbgTlnProg, "<TTlnSetDlg::UpdateButtons>");
    const ITlnProgPort* prog = Prog();
    const bool ready = SelectedTln() >= 0 && prog && prog->IsProgModeAktiv() && prog->IsBTLMAktiv();
    const bool busy = prog && prog->IsProgTlnAktiv();
    m_pTlnZuordnenBtn->setEnabled(ready && !busy);
    m_pTlnZuordnenCancelBtn->setEnabled(ready && busy);
    // Leaving now would lose the address the box is about to give.
    Button2->setEnabled(!IsAssignmentWaiting());
}

void TTlnSetDlg::OnSet() {
    const int s = SelectedTln();
    ITlnProgPort* prog = Prog();
    if (s < 0 || !prog)
        return;
    m_pToDoLabel->setText(m_pRes->GetQText(stxt::kPressKey));
    prog->SetTlnAdr(m_pDoc->GetTlnBusAdr(static_cast<std::uint8_t>(s)));
    prog->SetTlnIdx(s);
    m_nAssignIdx = s;
    // Nothing else may be clicked until the unit or the box has answered.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    grabMouse();
    prog->InitiateProgAkt();
    // A second "assign" while the first waits would give the unit two
    // addresses: the buttons follow the waiting state at once.
    UpdateButtons();
}

void TTlnSetDlg::OnCancel() {
    const int s = SelectedTln();
    if (ITlnProgPort* prog = Prog()) {
        prog->SetTlnAdr(s >= 0 ? m_pDoc->GetTlnBusAdr(static_cast<std::uint8_t>(s)) : 0);
        prog->SetTlnIdx(s);
        prog->InitiateProgPassiv();
    }
    m_nAssignIdx = -1;
    UpdateView(true);
}

void TTlnSetDlg::OnEnd() {
    // The unit waits for its call button; the box's answer (or its time-out)
    // ends the wait, "zuordnen abbrechen" ends it at once.
    if (IsAssignmentWaiting())
        return;
    done(QDialog::Accepted);
}

void TTlnSetDlg::OnChangeNew() {
    m_pAgainCombo->setCurrentIndex(IndexOf(m_pNewCombo, m_pNewCombo->currentIndex()) >= 0 ? 0 : 1);
    if (m_pAgainCombo->currentIndex() < 0)
        m_pAgainCombo->setCurrentIndex(0);
    UpdateButtons();
}

void TTlnSetDlg::OnChangeAgain() {
    m_pNewCombo->setCurrentIndex(IndexOf(m_pAgainCombo, m_pAgainCombo->currentIndex()) >= 0 ? 0
                                                                                            : 1);
    if (m_pNewCombo->currentIndex() < 0)
        m_pNewCombo->setCurrentIndex(0);
    UpdateButtons();
}

void TTlnSetDlg::OnProgQuit() {
    // The address belongs to the subscriber it was given for, even when the
    // lists were touched while the unit waited for its button.
    const int s = m_nAssignIdx >= 0 ? m_nAssignIdx : SelectedTln();
    m_nAssignIdx = -1;
    const ITlnProgPort* prog = Prog();
    if (s >= 0 && prog) {
        const auto i = static_cast<std::uint8_t>(s);
        m_pDoc->SetTlnLogAdr(i, prog->GetQuittAdr());
        m_pDoc->SetTlnBusAdr(i, prog->GetTlnAdr());
        DbgOut(eDbgTlnProg, "SetTln: idx[%d] adr(0x%02x) logadr(0x%02x)", s, prog->GetTlnAdr(),
               prog->GetQuittAdr());
    }
    RestoreCursorAndCapture();
    const QPointer<TTlnSetDlg> self(this);
    ShowMsg(stxt::kAssigned, mb::kOk | mb::kIconInformation);
    if (!self)
        return;
    UpdateView(true);
}

void TTlnSetDlg::OnTransferMsg(TMessage& message) {
    if (!isVisible())
        return;
    DbgOut(eDbgTlnProg, "<TTlnSetDlg::OnTransferMsg>");
    const QPointer<TTlnSetDlg> self(this);
    auto error = [this](int id) {
        RestoreCursorAndCapture();
        ShowMsg(id, mb::kOk | mb::kIconStop);
    };
    bool rebuild = true;
    switch (message.Msg) {
    case PROG_FAILED:
        error(stxt::kProgFailed);
        break;
    case CANCEL_FAILED:
        error(stxt::kCancelFailed);
        break;
    case PROGQUIT_FAILED:
        error(stxt::kProgQuitFailed);
        break;
    case PROGMODEAKT_OK:
    case TLNPROGAKT_OK:
        rebuild = false;
        break;
    case TLNPROGAKT_FAILED:
        error(stxt::kTlnProgAktFailed);
        break;
    case TLNPROG_FEHLER: {
        const auto type = message.LParam;
        if (type >= 1 && type <= 4) {
            error(stxt::kProgError1 + static_cast<int>(type) - 1);
        } else {
            RestoreCursorAndCapture();
            ShowText(MoxToQString(TextSubst(m_pRes->GetText(stxt::kProgErrorFmt),
                                            {static_cast<long long>(type)})),
                     mb::kOk | mb::kIconStop);
        }
        break;
    }
    case TLNPROG_PAS_OK:
        RestoreCursorAndCapture();
        ShowMsg(stxt::kProgModeLeft, mb::kOk | mb::kIconInformation);
        rebuild = false;
        break;
    case SEND_FAILED:
        error(stxt::kSendFailed);
        break;
    case KBA_LIST_FAILED:
        error(stxt::kKbaListFailed);
        break;
    case KBA_LIST_EMPTY:
        if (m_pNewCombo->count() > 1)
            error(stxt::kKbaListEmpty);
        break;
    default:
        break;
    }
    if (!self)
        return;
    // A failure ends the assignment under way; the two announcements do not.
    if (rebuild)
        m_nAssignIdx = -1;
    UpdateButtons();
    UpdateView(rebuild);
}

int TTlnSetDlg::ShowMsg(int textId, unsigned flags) {
    return TMsgBox::Show(this, textId, m_pRes->GetQText(textId), m_pRes->GetQText(stxt::kCaption),
                         flags);
}

int TTlnSetDlg::ShowText(const QString& text, unsigned flags) {
    return TMsgBox::Show(this, 0, text, m_pRes->GetQText(stxt::kCaption), flags);
}

void TTlnSetDlg::OnHelp() {
    TDialogHelp::Show(kHelpForm);
}
