#include "TTlnProgForm.h"

#include "ui_TTlnProgForm.h"

#include "DbgOut.h"
#include "IMainTransfer.h"
#include "ITlnProgPort.h"
#include "IViewHost.h"
#include "MoxQString.h"
#include "SubscriberTextIds.h"
#include "TDialogHelp.h"
#include "TGridCellDelegate.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TProgCursor.h"
#include "TTlnGridCells.h"
#include "TTlnProgAccess.h"
#include "TTlnSetDlg.h"
#include "TextSubst.h"
#include "TkResourcen.h"
#include "TransferDefs.h"
#include "WindowMessages.h"

#include "MessageReceiver.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

constexpr int kHelpForm = 2500;

constexpr int kColRnr = 1;
constexpr int kColVideo = 2;
// The form's column widths; a column is widened where its header, a cell
// or the video selector over its cells needs more.
constexpr std::array<int, 3> kColumnWidths = {58, 94, 68};
// Repaints the grid while a row is being programmed; never started.
constexpr int kSelectedDrawMs = 500;
// The box needs a moment after the dialog shows before it takes requests.
constexpr int kStartDelayMs = 200;
// Buffer of the modal free-address count request.
constexpr std::uint32_t kKbaBufferLen = 255;

// Set by tests on the GUI thread.
TTlnProgForm::SetDlgRunner g_setDlgRunner;

void RunSetDlg(TTlnProgForm& parent, IMainTransfer* transfer, TMoxDocument* doc, TkResourcen* res) {
    if (g_setDlgRunner) {
        g_setDlgRunner(parent);
        return;
    }
    TTlnSetDlg dlg(&parent, transfer, doc, res);
    dlg.exec();
}

using DeviceTypes = std::array<std::uint8_t, 4>;

DeviceTypes TypesOf(const TMoxDocument& doc) {
    return {doc.GetTypeIT(), doc.GetTypeBSM(), doc.GetTypeKMR(), doc.GetTypeRAK()};
}

// Back to the arrow and no mouse capture: a failure ends whatever the
// assignment had started.
} // namespace

TTlnProgForm::TTlnProgForm(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                           TMoxDocument* doc, TkResourcen* res)
    : QDialog(owner), ui(std::make_unique<Ui::TTlnProgForm>()), m_pRes(res), m_pDoc(doc),
      m_pDataTransfer(transfer), m_pProg(TTlnProgAccess::Of(transfer)) {
    MOX_INVARIANT(m_pDoc && m_pRes && m_pDataTransfer);
    m_bWizard = holder && holder->GetType() == eAssistent;

    m_pReceiver = NewMessageReceiver(this, [this](TMessage& msg) { Dispatch(msg); });

    BuildForm();
    if (ITlnProgPort* prog = Prog()) {
        prog->SetProgProt(eProtProg);
        prog->SetKBACounter(0);
    }
    m_pRes->SetFormTexts(this);
    TDialogHelp::InstallHelpKey(this);

    if (!m_bWizard) {
        // The main window hands the programming results to the dialog that
        // runs; it stops once this form has gone.
        if (TMoxMain* main = TMoxMain::Instance())
            main->SetForwardTarget(TMoxMain::eFwdTlnProgDlg, this, Address());
        StartTimer(1, kStartDelayMs);
        return;
    }

    m_pCloseButton->hide();
    // A page of the wizard: it lives inside its owner, without a border;
    // the wizard's panel has margins of its own, and the grid and its
    // buttons need the width.
    MOX_INVARIANT(owner);
    setWindowFlags(Qt::Widget);
    layout()->setContentsMargins(0, 0, 0, 0);
    if (!owner->layout()) {
        auto* layout = new QVBoxLayout(owner);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    owner->layout()->addWidget(this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setVisible(true);
    FillGrid();
    StartTimer(2, kStartDelayMs);
}

TTlnProgForm::~TTlnProgForm() {
    m_pReceiver->Detach();
    if (!m_bWizard)
        if (TMoxMain* main = TMoxMain::Instance())
            main->SetForwardTarget(TMoxMain::eFwdTlnProgDlg, nullptr, {});
    if (m_bRebuildTree) {
        // Queued on the application: the page that ran this dialog is still
        // on the stack and goes with the rebuild.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                if (IViewHost* host = GetViewHost())
                    host->ViewRebuildTree();
            },
            Qt::QueuedConnection);
    }
}

void TTlnProgForm::BuildForm() {
    ui->setupUi(this);
    Label2 = ui->Label2;
    Label5 = ui->Label5;
    Label6 = ui->Label6;
    Label4 = ui->Label4;
    m_pTlnZuordnenBtn = ui->m_pTlnZuordnenBtn;
    m_pTlnGrid = ui->m_pTlnGrid;
    m_pTlnLoeschenBtn = ui->m_pTlnLoeschenBtn;
    m_pCloseButton = ui->m_pCloseButton;
    Label7 = ui->Label7;
    m_pAnzKBALabel = ui->m_pAnzKBALabel;
    m_pAllTlnLoeschenBtn = ui->m_pAllTlnLoeschenBtn;

    m_pTlnGrid->setColumnCount(static_cast<int>(kColumnWidths.size()));
    m_pTlnGrid->verticalHeader()->hide();
    m_pTlnGrid->verticalHeader()->setDefaultSectionSize(17);
    m_pTlnGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTlnGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    TGridCellDelegate::Install(m_pTlnGrid, TGridCellDelegate::Editor::AlwaysShown);
    m_pTransferTimer = new QTimer(this);
    m_pTransferTimer->setObjectName(QStringLiteral("m_pTransferTimer"));
    m_pTransferTimer->setSingleShot(true);
    m_pSelectedDrawTimer = new QTimer(this);
    m_pSelectedDrawTimer->setObjectName(QStringLiteral("m_pSelectedDrawTimer"));
    m_pSelectedDrawTimer->setInterval(kSelectedDrawMs);

    const QString yes = m_pRes->GetQText(stxt::kYes);
    const QString no = m_pRes->GetQText(stxt::kNo);
    m_pVideoSelector = std::make_unique<TTlnVideoSelector>(m_pTlnGrid, kColVideo, yes, no);
    m_pVideoSelector->Combo()->installEventFilter(this);

    m_pTlnGrid->setHorizontalHeaderLabels({m_pRes->GetQText(stxt::kColSubscriber),
                                           m_pRes->GetQText(stxt::kColNumber),
                                           m_pRes->GetQText(stxt::kColVideo)});
    SetGridRows();
    FitColumns();

    connect(m_pTlnZuordnenBtn, &QPushButton::clicked, this, &TTlnProgForm::OnProg);
    connect(m_pTlnLoeschenBtn, &QPushButton::clicked, this, &TTlnProgForm::OnDelTln);
    connect(m_pAllTlnLoeschenBtn, &QPushButton::clicked, this, &TTlnProgForm::OnDelAllTln);
    connect(m_pCloseButton, &QPushButton::clicked, this, [this] {
        m_pCloseButtonClick();
        done(eDocTransferOk);
    });
    connect(m_pTransferTimer, &QTimer::timeout, this, &TTlnProgForm::OnTimer);
    connect(m_pSelectedDrawTimer, &QTimer::timeout, m_pTlnGrid->viewport(),
            qOverload<>(&QWidget::update));
    connect(m_pTlnGrid, &QTableWidget::currentCellChanged, this,
            &TTlnProgForm::OnCurrentCellChanged);
    connect(m_pTlnGrid, &QTableWidget::cellChanged, this, &TTlnProgForm::OnItemChanged);
    // Scrolling away from the data columns takes the selector away.
    auto hideSelector = [this] {
        if (!m_pVideoSelector->IsOpen())
            return;
        const QRect shown = m_pTlnGrid->viewport()->rect();
        const QRect cell =
            m_pTlnGrid->visualItemRect(m_pTlnGrid->item(m_pVideoSelector->Row(), kColVideo));
        const QRect rnr =
            m_pTlnGrid->visualItemRect(m_pTlnGrid->item(m_pVideoSelector->Row(), kColRnr));
        // The choice made so far is kept: the user did pick it.
        if (!shown.contains(cell) || !shown.contains(rnr))
            m_pVideoSelector->Close();
    };
    connect(m_pTlnGrid->horizontalScrollBar(), &QScrollBar::valueChanged, this, hideSelector);
    connect(m_pTlnGrid->verticalScrollBar(), &QScrollBar::valueChanged, this, hideSelector);
}

void TTlnProgForm::SetGridRows() {
    m_bFilling = true;
    const int rows = SubscriberCount();
    const int old = m_pTlnGrid->rowCount();
    m_pTlnGrid->setRowCount(rows);
    for (int r = old; r < rows; ++r) {
        auto* label = new QTableWidgetItem(QString::number(r + 1));
        label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_pTlnGrid->setItem(r, 0, label);
        m_pTlnGrid->setItem(r, kColRnr, new QTableWidgetItem);
        auto* video = new QTableWidgetItem(m_pRes->GetQText(stxt::kNo));
        video->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_pTlnGrid->setItem(r, kColVideo, video);
    }
    m_bFilling = false;
    UpdateRowIcons();
}

int TTlnProgForm::SubscriberCount() const {
    return m_pDoc->GetAnzTln();
}

int TTlnProgForm::SubscriberOfRow(int row) const {
    return row >= 0 && row < SubscriberCount() ? row : -1;
}

std::intptr_t TTlnProgForm::Perform(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam) {
    return m_pReceiver->Perform(msg, wParam, lParam);
}

mox::platform::MessageAddress TTlnProgForm::Address() const {
    return m_pReceiver->Address();
}

void TTlnProgForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_SAVE:
        OnSave(message);
        break;
    case DEL_TLN_FAILED:
    case TLNPROGAKT_FAILED:
    case SEND_FAILED:
    case KBA_COUNT_FAILED:
        OnTransferMsg(message);
        break;
    case KBA_COUNT:
        if (isVisible())
            UpdateButtons();
        break;
    default:
        break;
    }
}

void TTlnProgForm::StartTimer(int mode, int intervalMs) {
    if (m_pTransferTimer->isActive())
        return;
    m_nTimerMode = mode;
    m_pTransferTimer->setInterval(intervalMs);
    m_pTransferTimer->start();
}

void TTlnProgForm::StopTimer() {
    if (m_pTransferTimer->isActive())
        m_pTransferTimer->stop();
}

bool TTlnProgForm::IsTimerActive() const {
    return m_pTransferTimer->isActive();
}

void TTlnProgForm::SetSetDlgRunnerForTesting(SetDlgRunner runner) {
    g_setDlgRunner = std::move(runner);
}

void TTlnProgForm::OnTimer() {
    StopTimer();
    DbgOut(eDbgTlnProg, "<TTlnProgForm::OnTimer> mode(%d)", m_nTimerMode);
    // Message boxes and modal runs below run event loops of their own.
    const QPointer<TTlnProgForm> self(this);
    const DeviceTypes before = TypesOf(*m_pDoc);

    if (m_nTimerMode == 1) {
        if (!m_pDoc->IsReadFromBox()) {
            const bool ok = m_pDoc->ReadAnlDataFromComPort();
            if (!self)
                return;
            if (!ok) {
                ShowMsg(stxt::kReadFailed, mb::kOk | mb::kIconStop);
                m_bResult = false;
                CloseForm();
                return;
            }
            m_pDoc->SetReadFromBox(true);
            const DeviceTypes after = TypesOf(*m_pDoc);
            if (after != before)
                m_bRebuildTree = true;
            if (IViewHost* host = GetViewHost())
                host->ViewUpdateControls();
            if (!self)
                return;
            if (after[0] != before[0] && after[0] != 2) {
                ShowMsg(stxt::kTypeChanged, mb::kOk | mb::kIconStop);
                m_bResult = false;
                CloseForm();
                return;
            }
            // The read may have brought another number of subscribers.
            SetGridRows();
        }
        FillGrid();
    }
    StartCount();
}

void TTlnProgForm::StartCount() {
    // A unit still in programming belongs to an assignment begun elsewhere:
    // this dialog would count and give addresses beside it.
    if (const ITlnProgPort* prog = Prog(); prog && prog->IsBTLMAktiv()) {
        ShowMsg(stxt::kUnitBusy, mb::kOk | mb::kIconStop);
        m_bResult = false;
        CloseForm();
        return;
    }
    const QPointer<TTlnProgForm> self(this);
    if (RequestKBACount() && self)
        UpdateButtons();
}

bool TTlnProgForm::RequestKBACount() {
    const QPointer<TTlnProgForm> self(this);
    m_pDataTransfer->SetInfoText(m_pRes->GetText(stxt::kKbaCountInfo));
    m_pDataTransfer->SetTransferData(6, m_KbaBuffer.data(), kKbaBufferLen);
    const int result = m_pDataTransfer->ShowModal();
    if (!self)
        return false;
    m_bResult = result == eDocTransferOk;
    DbgOut(eDbgTlnProg, "<TTlnProgForm::RequestKBACount> result(%d)", result);
    if (!m_bResult) {
        CloseForm();
        return false;
    }
    return true;
}

void TTlnProgForm::FillGrid() {
    m_bFilling = true;
    const QString yes = m_pRes->GetQText(stxt::kYes);
    const QString no = m_pRes->GetQText(stxt::kNo);
    const int rows = std::min(SubscriberCount(), m_pTlnGrid->rowCount());
    for (int r = 0; r < rows; ++r) {
        const auto i = static_cast<std::uint8_t>(r);
        char rnr[kMaxRnrLen + 2] = {};
        if (!m_pDoc->GetTlnRnr(i, rnr, sizeof rnr))
            rnr[0] = '\0';
        rnr[sizeof rnr - 1] = '\0';
        m_pTlnGrid->item(r, kColRnr)->setText(FilterRnrText(MoxToQString(rnr)));
        m_pTlnGrid->item(r, kColVideo)->setText(m_pDoc->GetTlnVideo(i) ? yes : no);
    }
    m_bFilling = false;
    UpdateRowIcons();
    FitColumns();
}

void TTlnProgForm::FitColumns() {
    const QHeaderView* header = m_pTlnGrid->horizontalHeader();
    // The cells' width hint is public on the item view only.
    const QAbstractItemView* cells = m_pTlnGrid;
    int total = 0;
    for (int c = 0; c < static_cast<int>(kColumnWidths.size()); ++c) {
        int width = std::max({kColumnWidths[static_cast<std::size_t>(c)],
                              header->sectionSizeHint(c), cells->sizeHintForColumn(c)});
        if (c == kColVideo)
            width = std::max(width, m_pVideoSelector->Combo()->sizeHint().width());
        m_pTlnGrid->setColumnWidth(c, width);
        total += width;
    }
    // Room for every column and the vertical scroll bar: the grid never
    // needs a horizontal one, and its last column ends inside the frame.
    const int scrollBar = m_pTlnGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                           m_pTlnGrid->verticalScrollBar());
    m_pTlnGrid->setMinimumWidth(total + scrollBar + 2 * m_pTlnGrid->frameWidth());
}

void TTlnProgForm::UpdateRowIcons() {
    const int rows = std::min(SubscriberCount(), m_pTlnGrid->rowCount());
    for (int r = 0; r < rows; ++r) {
        const bool programmed = m_pDoc->GetTlnLogAdr(static_cast<std::uint8_t>(r)) != 0;
        QTableWidgetItem* label = m_pTlnGrid->item(r, 0);
        label->setIcon(programmed ? TlnIconProgrammed() : TlnIconNotProgrammed());
        label->setData(Qt::UserRole, programmed);
    }
}

void TTlnProgForm::OnSave(TMessage&) {
    if (!isVisible())
        return;
    DbgOut(eDbgTlnProg, "<TTlnProgForm::OnSave>");
    if (m_pVideoSelector->IsOpen())
        m_pVideoSelector->Close();
    const QString yes = m_pRes->GetQText(stxt::kYes);
    const int rows = std::min(SubscriberCount(), m_pTlnGrid->rowCount());
    for (int r = 0; r < rows; ++r) {
        const auto i = static_cast<std::uint8_t>(r);
        const std::string rnr = MoxFromQString(m_pTlnGrid->item(r, kColRnr)->text());
        m_pDoc->SetTlnRnr(i, rnr.c_str());
        m_pDoc->SetTlnVideo(i, m_pTlnGrid->item(r, kColVideo)->text() == yes ? 1 : 0);
    }
}

void TTlnProgForm::OnTransferMsg(TMessage& message) {
    // While the assignment runs it reports the results itself; a second box
    // here would tell the user the same failure twice.
    if (!isVisible() || m_bSetDlgRunning)
        return;
    RestoreUi();
    switch (message.Msg) {
    case DEL_TLN_FAILED:
        ShowMsg(stxt::kDelTlnFailed, mb::kOk | mb::kIconStop);
        break;
    case TLNPROGAKT_FAILED:
        ShowMsg(stxt::kTlnProgAktFailed, mb::kOk | mb::kIconStop);
        break;
    case SEND_FAILED:
        ShowMsg(stxt::kSendFailed, mb::kOk | mb::kIconStop);
        break;
    case KBA_COUNT_FAILED:
        ShowMsg(stxt::kKbaCountFailed, mb::kOk | mb::kIconStop);
        CloseForm();
        break;
    default:
        DbgOut(eDbgTlnProg, "<TTlnProgForm::OnTransferMsg> unknown msg(%d)",
               static_cast<int>(message.Msg));
        break;
    }
}

bool TTlnProgForm::Possible(int index) const {
    DbgOut(eDbgTlnProg, "<TTlnProgForm::Possible> nIdx(%d)", index);
    const ITlnProgPort* prog = Prog();
    int count = prog ? prog->GetKBACounter() : 0;
    const int rows = std::min(SubscriberCount(), m_pTlnGrid->rowCount());
    for (int i = 0; i < rows && count != 0; ++i)
        if (m_pDoc->GetTlnBusAdr(static_cast<std::uint8_t>(i)) == 0 &&
            !m_pTlnGrid->item(i, kColRnr)->text().isEmpty())
            --count;
    return count != 0;
}

void TTlnProgForm::UpdateButtons(int row) {
    if (row < 0)
        row = m_pTlnGrid->currentRow();
    UpdateRowIcons();
    m_pTlnGrid->viewport()->update();
    const ITlnProgPort* prog = Prog();
    const unsigned count = prog ? prog->GetKBACounter() : 0;
    m_pAnzKBALabel->setText(MoxToQString(TextSubst(m_pRes->GetText(stxt::kKbaCountFmt), {count})));
    const int s = SubscriberOfRow(row);
    m_pTlnLoeschenBtn->setEnabled(s >= 0 &&
                                  m_pDoc->GetTlnLogAdr(static_cast<std::uint8_t>(s)) != 0);
    bool any = false;
    for (int i = 0; i < SubscriberCount(); ++i)
        any = any || m_pDoc->GetTlnLogAdr(static_cast<std::uint8_t>(i)) != 0;
    m_pAllTlnLoeschenBtn->setEnabled(any);
}

void TTlnProgForm::OnCurrentCellChanged(int row, int column, int prevRow, int prevColumn) {
    if (m_bRevertingCell || row < 0)
        return;
    auto refuse = [&] {
        m_bRevertingCell = true;
        m_pTlnGrid->setCurrentCell(prevRow, prevColumn);
        m_bRevertingCell = false;
    };
    const ITlnProgPort* prog = Prog();
    if (prog && prog->IsProgTlnAktiv()) {
        refuse();
        return;
    }
    if (m_pVideoSelector->IsOpen())
        m_pVideoSelector->Close();

    const int s = SubscriberOfRow(row);
    if (column == kColVideo && s >= 0) {
        m_pVideoSelector->Open(row);
    } else if (column == kColRnr && s >= 0) {
        const bool hasNumber = !m_pTlnGrid->item(row, kColRnr)->text().isEmpty();
        const bool hasAdr = m_pDoc->GetTlnBusAdr(static_cast<std::uint8_t>(s)) != 0;
        if (!hasNumber && !hasAdr && !Possible(s)) {
            refuse();
            ShowMsg(stxt::kKbaListEmpty, mb::kOk | mb::kIconStop);
            return;
        }
    }
    UpdateButtons(row);
}

void TTlnProgForm::OnItemChanged(int row, int column) {
    if (m_bFilling || column != kColRnr)
        return;
    FilterRnrCell(m_pTlnGrid->item(row, column), m_bFilling);
    FitColumns();
}

void TTlnProgForm::OnDelTln() {
    const int s = SubscriberOfRow(m_pTlnGrid->currentRow());
    if (s < 0)
        return;
    const auto i = static_cast<std::uint8_t>(s);
    const std::uint16_t adr = m_pDoc->GetTlnBusAdr(i);
    DbgOut(eDbgTlnProg, "<TTlnProgForm::OnDelTln> idx[%d] adr(0x%02x) logadr(0x%02x)", s, adr,
           m_pDoc->GetTlnLogAdr(i));
    if (adr == 0)
        return;
    if (ITlnProgPort* prog = Prog()) {
        prog->SetTlnAdr(adr);
        prog->InitiateDelTln();
        prog->AddKBA(adr);
    }
    m_pDoc->SetTlnBusAdr(i, 0);
    m_pDoc->SetTlnLogAdr(i, 0);
    const QPointer<TTlnProgForm> self(this);
    RequestKBACount();
    if (!self)
        return;
    m_bChanged = true;
    UpdateButtons();
}

void TTlnProgForm::OnDelAllTln() {
    ITlnProgPort* prog = Prog();
    for (int s = 0; s < SubscriberCount(); ++s) {
        const auto i = static_cast<std::uint8_t>(s);
        const std::uint16_t adr = m_pDoc->GetTlnBusAdr(i);
        DbgOut(eDbgTlnProg, "<TTlnProgForm::OnDelAllTln> idx[%d] adr(0x%02x) logadr(0x%02x)", s,
               adr, m_pDoc->GetTlnLogAdr(i));
        if (adr != 0 && prog)
            prog->AddKBA(adr);
    }
    m_pDoc->InitAllTln(true);
    if (prog)
        prog->InitiateDelAllTln();
    if (const int s = SubscriberOfRow(m_pTlnGrid->currentRow()); s >= 0) {
        m_pDoc->SetTlnBusAdr(static_cast<std::uint8_t>(s), 0);
        m_pDoc->SetTlnLogAdr(static_cast<std::uint8_t>(s), 0);
    }
    const QPointer<TTlnProgForm> self(this);
    RequestKBACount();
    if (!self)
        return;
    m_bChanged = true;
    UpdateButtons();
}

void TTlnProgForm::OnProg() {
    Perform(WM_SAVE, -1, -1);
    if (ITlnProgPort* prog = Prog())
        prog->SetKBACounter(0);
    const QPointer<TTlnProgForm> self(this);
    m_bSetDlgRunning = true;
    RunSetDlg(*this, m_pDataTransfer, m_pDoc, m_pRes);
    if (!self)
        return;
    m_bSetDlgRunning = false;
    if (ITlnProgPort* prog = Prog())
        prog->SetKBACounter(0);
    m_bChanged = true;
    UpdateButtons();
    m_bResult = true;
    CloseForm();
}

void TTlnProgForm::m_pCloseButtonClick() {
    m_bResult = m_bChanged;
}

void TTlnProgForm::CloseForm() {
    // In the wizard the page stays where it is, stored, with its result: a
    // hidden page would leave the wizard's step empty, and the wizard's own
    // buttons decide when it is left.
    if (m_bWizard) {
        TMessage save{WM_SAVE, -1, -1, 0};
        OnSave(save);
        setResult(m_bResult ? eDocTransferOk : eDocTransferFailed);
        return;
    }
    done(m_bResult ? eDocTransferOk : eDocTransferFailed);
}

void TTlnProgForm::done(int) {
    if (m_bClosing)
        return;
    m_bClosing = true;
    TMessage save{WM_SAVE, -1, -1, 0};
    OnSave(save);
    if (const ITlnProgPort* prog = Prog(); prog && prog->IsProgModeAktiv())
        ShowMsg(stxt::kStillProgMode, mb::kOk | mb::kIconInformation);
    m_bClosing = false;
    QDialog::done(m_bResult ? eDocTransferOk : eDocTransferFailed);
}

void TTlnProgForm::reject() {
    if (m_bWizard)
        return;
    m_pCloseButtonClick();
    done(eDocTransferFailed);
}

void TTlnProgForm::RestoreUi() {
    RestoreCursorAndCapture();
}

int TTlnProgForm::ShowMsg(int textId, unsigned flags) {
    return TMsgBox::Show(this, textId, m_pRes->GetQText(textId), m_pRes->GetQText(stxt::kCaption),
                         flags);
}

void TTlnProgForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_pTlnGrid->setFocus();
}

void TTlnProgForm::keyPressEvent(QKeyEvent* event) {
    if (m_pVideoSelector->IsOpen() && event->key() != Qt::Key_Up && event->key() != Qt::Key_Down) {
        m_pTlnGrid->setFocus();
        if (event->key() == Qt::Key_Left)
            m_pTlnGrid->setCurrentCell(m_pTlnGrid->currentRow(), kColRnr);
    }
    QDialog::keyPressEvent(event);
}

bool TTlnProgForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pVideoSelector->Combo() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_pVideoSelector->LeaveGridOnTab(*key))
            return true;
        if (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down) {
            m_pTlnGrid->setFocus();
            if (key->key() == Qt::Key_Left)
                m_pTlnGrid->setCurrentCell(m_pTlnGrid->currentRow(), kColRnr);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TTlnProgForm::OnHelp() {
    TDialogHelp::Show(kHelpForm);
}
