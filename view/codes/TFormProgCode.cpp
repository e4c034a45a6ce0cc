#include "TFormProgCode.h"

#include "ui_TFormProgCode.h"

#include "CodeTextIds.h"
#include "DbgOut.h"
#include "ICodeProg.h"
#include "IMainTransfer.h"
#include "IViewHost.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "TGridCellDelegate.h"
#include "TInvariant.h"
#include "TMainControls.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TextSubst.h"
#include "TkResourcen.h"
#include "TransferDefs.h"
#include "WindowMessages.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <array>

namespace {

constexpr int kHelpPage = 100;
// The read waits until the host's dialog runs its event loop.
constexpr int kReadDelayMs = 200;
// The current row's icon blinks at this pace while the box programs.
constexpr int kBlinkMs = 500;
constexpr int kRowHeight = 23;
constexpr int kIconSize = 14;
constexpr int kIconRole = Qt::UserRole + 1;
// Error types of TLNPROG_FEHLER with a text of their own.
constexpr std::intptr_t kFirstErrorType = 1;
constexpr std::intptr_t kLastErrorType = 4;

using DeviceTypes = std::array<std::uint8_t, 4>;

DeviceTypes TypesOf(const TMoxDocument& doc) {
    return {doc.GetTypeIT(), doc.GetTypeBSM(), doc.GetTypeKMR(), doc.GetTypeRAK()};
}

// The three icons: a bound code (green), an unbound one (grey ring), the
// blink phase (amber).
QPixmap MakeIcon(TFormProgCode::eIcon icon) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case TFormProgCode::eIconBound:
        p.setBrush(QColor(0x20, 0xA0, 0x30));
        p.setPen(Qt::darkGreen);
        break;
    case TFormProgCode::eIconFree:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::gray, 2));
        break;
    default:
        p.setBrush(QColor(0xF0, 0xB0, 0x00));
        p.setPen(QColor(0xA0, 0x70, 0x00));
        break;
    }
    p.drawEllipse(2, 2, kIconSize - 4, kIconSize - 4);
    return pixmap;
}

} // namespace

TFormProgCode::TFormProgCode(QWidget* owner, IProgPageHost* host, bool readFlag,
                             IMainTransfer* transfer, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormProgCode>()),
      m_bReadFlag(readFlag), m_pHost(host), m_pDataTransfer(transfer) {
    MOX_INVARIANT(m_pDataTransfer);
    m_pProg = TCodeProgLink::Of(m_pDataTransfer);
    setProperty("HelpContext", kHelpPage);

    SetupPageForm(*ui);
    m_pGrid = ui->m_pGrid;
    m_pZuordnenBtn = ui->m_pZuordnenBtn;
    m_pToDoLabel = ui->m_pToDoLabel;
    m_pGrid->verticalHeader()->setVisible(false);
    m_pGrid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_pGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    TGridCellDelegate::Install(m_pGrid, TGridCellDelegate::Editor::AlwaysShown);
    m_pGrid->setIconSize(QSize(kIconSize, kIconSize));

    for (int i = 0; i < eIcons; ++i)
        m_Icons[static_cast<std::size_t>(i)] = MakeIcon(static_cast<eIcon>(i));

    m_pTransferTimer = new QTimer(this);
    m_pTransferTimer->setObjectName(QStringLiteral("m_pTransferTimer"));
    m_pTransferTimer->setSingleShot(true);
    connect(m_pTransferTimer, &QTimer::timeout, this, &TFormProgCode::OnTimer);

    m_pSelectedDrawTimer = new QTimer(this);
    m_pSelectedDrawTimer->setObjectName(QStringLiteral("m_pSelectedDrawTimer"));
    m_pSelectedDrawTimer->setInterval(kBlinkMs);
    connect(m_pSelectedDrawTimer, &QTimer::timeout, this, &TFormProgCode::RepaintIcons);
    m_pSelectedDrawTimer->start();

    connect(m_pGrid, &QTableWidget::currentCellChanged, this, &TFormProgCode::OnCurrentCellChanged);
    connect(m_pZuordnenBtn, &QPushButton::clicked, this, [this] { OnZuordnen(); });
}

TFormProgCode::~TFormProgCode() = default;

void TFormProgCode::QueueTreeRebuild() {
    // Queued on the application so that the call does not die with the
    // page; the host is looked up when it runs.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (IViewHost* host = GetViewHost())
                host->ViewRebuildTree();
        },
        Qt::QueuedConnection);
}

void TFormProgCode::InitPage() {
    SetupGrid();
    if (m_pProg)
        m_pProg->SetProgProt(eProtProg);
    RefreshToDo();
    m_wTlnAdr = FindTlnAdr();
    if (m_wTlnAdr != 0) {
        if (m_pProg)
            m_pProg->SetTlnAdr(m_wTlnAdr);
    } else {
        // Without a subscriber address the box's own configuration may
        // hold one.
        m_bReadFlag = true;
    }
    if (GetKind() == eAssistent)
        m_bWizard = true;
    else
        StartTimer(kReadDelayMs);
    SetAktAdr();
    UpdateZuordnen();
    RepaintIcons();
}

void TFormProgCode::SetupGrid() {
    if (m_bGridReady)
        return;
    m_bGridReady = true;
    const int rows = GetRowCount();
    const int cols = GetColCount();
    m_pGrid->setColumnCount(cols);
    m_pGrid->setRowCount(rows);
    for (int c = 0; c < cols; ++c) {
        const int id = GetHeaderTextId(c);
        m_pGrid->setHorizontalHeaderItem(
            c, new QTableWidgetItem(QStringLiteral(" ") +
                                    (m_pRes && id ? m_pRes->GetQText(id) : QString())));
    }
    for (int r = 0; r < rows; ++r) {
        auto* label = new QTableWidgetItem(QStringLiteral("  ") + MoxToQString(GetRowLabel(r)));
        label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_pGrid->setItem(r, 0, label);
        for (int c = 1; c < cols; ++c)
            m_pGrid->setItem(r, c, new QTableWidgetItem());
    }
    if (rows > 0 && cols > 1)
        m_pGrid->setCurrentCell(0, 1);
}

void TFormProgCode::SetColumnWidths(int code, int text) {
    m_nCodeWidth = code;
    m_nTextWidth = text;
}

void TFormProgCode::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    if (m_nCodeWidth > 0)
        m_pGrid->setColumnWidth(0, m_nCodeWidth);
    if (m_nTextWidth > 0)
        m_pGrid->setColumnWidth(1, m_nTextWidth);
    FocusFirstControl(m_pGrid);
}

int TFormProgCode::GetHeaderTextId(int column) const {
    switch (column) {
    case 0:
        return ctxt::kColumnCode;
    case 1:
        return ctxt::kColumnText;
    default:
        return 0;
    }
}

int TFormProgCode::GetAktIdx() const {
    return m_pGrid->currentRow();
}

void TFormProgCode::SetEntry(int idx, std::uint16_t adr, const char* text, std::uint8_t relay,
                             std::uint8_t video) {
    MOX_INVARIANT(idx >= 0 && idx < kEntries);
    SetupGrid();
    MOX_INVARIANT(idx < m_pGrid->rowCount());
    if (text)
        m_pGrid->item(idx, 1)->setText(MoxToQString(text));
    // A switch module has no video, a door loudspeaker unit no relay.
    const bool bsm = NeedsBSM();
    m_Entries[static_cast<std::size_t>(idx)] =
        Entry{adr, bsm ? relay : std::uint8_t{0}, bsm ? std::uint8_t{0} : video};
}

void TFormProgCode::GetEntry(int idx, std::uint16_t& adr, std::string& text, std::uint8_t& relay,
                             std::uint8_t& video) const {
    MOX_INVARIANT(idx >= 0 && idx < kEntries);
    MOX_INVARIANT(idx < m_pGrid->rowCount());
    const QTableWidgetItem* item = m_pGrid->item(idx, 1);
    text = item ? MoxFromQString(item->text()) : std::string();
    const Entry& entry = m_Entries[static_cast<std::size_t>(idx)];
    adr = entry.adr;
    relay = entry.relay;
    video = entry.video;
}

void TFormProgCode::StartTimer(int ms) {
    if (m_pTransferTimer->isActive())
        return;
    DbgOut(eDbgView, "<TFormProgCode::StartTimer> timeout(%d)", ms);
    m_pTransferTimer->start(ms);
}

void TFormProgCode::StopTimer() {
    if (!m_pTransferTimer->isActive())
        return;
    DbgOut(eDbgView, "<TFormProgCode::StopTimer>");
    m_pTransferTimer->stop();
}

bool TFormProgCode::IsTimerActive() const {
    return m_pTransferTimer->isActive();
}

int TFormProgCode::GetProgState() const {
    return TMainControls::ProgState(GetComPort(), m_pDataTransfer->GetProgFlags());
}

bool TFormProgCode::CanAssign() const {
    return m_wTlnAdr != 0 && GetProgState() == GetProgStateNeeded();
}

void TFormProgCode::UpdateZuordnen() {
    m_pZuordnenBtn->setEnabled(CanAssign());
}

void TFormProgCode::SetToDo(int textId) {
    m_pToDoLabel->setText(m_pRes ? m_pRes->GetQText(textId) : QString());
}

std::uint16_t TFormProgCode::FindTlnAdr() const {
    const TMoxDocument* doc = GetDoc();
    if (!doc)
        return 0;
    const std::uint8_t count = doc->GetAnzTln();
    for (std::uint8_t i = 0; i < count; ++i)
        if (const std::uint16_t adr = doc->GetTlnBusAdr(i); adr != 0)
            return adr;
    return 0;
}

void TFormProgCode::StartAssign() {
    m_bBusy = true;
    m_bAssignRequested = true;
}

int TFormProgCode::GetRowIcon(int idx) const {
    if (GetProgState() >= eProgStateBoxProg && idx == m_pGrid->currentRow())
        return m_bBlink ? eIconBlink : eIconBound;
    std::uint16_t adr = 0;
    std::string text;
    std::uint8_t relay = 0;
    std::uint8_t video = 0;
    GetEntry(idx, adr, text, relay, video);
    return adr != 0 ? eIconBound : eIconFree;
}

void TFormProgCode::RepaintIcons() {
    if (!m_bGridReady)
        return;
    m_bBlink = !m_bBlink;
    for (int r = 0; r < m_pGrid->rowCount(); ++r) {
        QTableWidgetItem* item = m_pGrid->item(r, 0);
        if (!item)
            continue;
        const int icon = GetRowIcon(r);
        item->setData(kIconRole, icon);
        item->setIcon(QIcon(m_Icons[static_cast<std::size_t>(icon)]));
    }
}

void TFormProgCode::OnCurrentCellChanged(int row, int column, int prevRow, int) {
    if (m_bRevertingCell)
        return;
    if (m_bBusy && row != prevRow && prevRow >= 0) {
        // The box answers for the row the assignment was started on.
        m_bRevertingCell = true;
        m_pGrid->setCurrentCell(prevRow, column < 0 ? 1 : column);
        m_bRevertingCell = false;
        return;
    }
    UpdateZuordnen();
}

void TFormProgCode::Dispatch(TMessage& message) {
    if (IsProgResult(message.Msg)) {
        OnProgMsg(message);
        return;
    }
    TDataView::Dispatch(message);
}

int TFormProgCode::ShowError(int textId) {
    return ShowMsg(textId, mb::kOk | mb::kIconStop);
}

int TFormProgCode::ShowInfo(int textId) {
    return ShowMsg(textId, mb::kOk | mb::kIconInformation);
}

void TFormProgCode::OnProgMsg(TMessage& message) {
    // A message box runs an event loop of its own, in which the host may
    // go and take the page with it.
    const QPointer<TFormProgCode> self(this);
    switch (message.Msg) {
    case PROG_FAILED:
        DbgOut(eDbgView, "<TFormProgCode::OnProgMsg> PROG_FAILED");
        m_bBusy = false;
        ShowError(ctxt::kProgFailed);
        break;
    case RUECKMELDUNG_OK:
        DbgOut(eDbgView, "<TFormProgCode::OnProgMsg> RUECKMELDUNG_OK");
        if (m_bBusy) {
            if (const int idx = GetAktIdx(); idx >= 0)
                SetEntry(idx, m_wAktAdr, nullptr, m_byRelais, m_byVideo);
            m_bBusy = false;
        }
        ShowInfo(ctxt::kAssigned);
        break;
    case PROGMODEAKT_OK:
        DbgOut(eDbgView, "<TFormProgCode::OnProgMsg> PROGMODEAKT_OK");
        break;
    case BSMPROG_AKT:
        DbgOut(eDbgView, "<TFormProgCode::OnProgMsg> BSMPROG_AKT");
        break;
    case TLNPROG_FEHLER: {
        const std::intptr_t type = message.LParam;
        DbgOut(eDbgView, "<TFormProgCode::OnProgMsg> TLNPROG_FEHLER type(%d)",
               static_cast<int>(type));
        if (type >= kFirstErrorType && type <= kLastErrorType) {
            ShowError(ctxt::kProgError1 + static_cast<int>(type - kFirstErrorType));
        } else {
            const std::string text =
                TextSubst(m_pRes ? m_pRes->GetText(ctxt::kProgErrorOther) : nullptr, {type});
            TMsgBox::Show(this, 0, MoxToQString(text),
                          m_pRes ? m_pRes->GetQText(ctxt::kCaption) : QString(),
                          mb::kOk | mb::kIconStop);
        }
        break;
    }
    case TLNPROG_PAS_OK:
        DbgOut(eDbgView, "<TFormProgCode::OnProgMsg> TLNPROG_PAS_OK");
        m_pZuordnenBtn->setEnabled(false);
        break;
    case SEND_FAILED:
        DbgOut(eDbgView, "<TFormProgCode::OnProgMsg> SEND_FAILED");
        m_bBusy = false;
        ShowError(ctxt::kSendFailed);
        break;
    case BSMPROG_PAS:
        DbgOut(eDbgView, "<TFormProgCode::OnProgMsg> BSMPROG_PAS");
        m_bBusy = false;
        break;
    default:
        DbgOut(eDbgView, "<TFormProgCode::OnProgMsg> unknown msg(%d)",
               static_cast<int>(message.Msg));
        break;
    }
    if (!self)
        return;
    SetAktAdr();
    UpdateZuordnen();
    RefreshToDo();
    RepaintIcons();
}

void TFormProgCode::OnTimer() {
    StopTimer();
    if (!m_bReadFlag)
        return;
    OnReadFromBox();
}

void TFormProgCode::OnReadFromBox() {
    TMoxDocument* doc = GetDoc();
    if (!doc)
        return;
    // The modal read and the message boxes run event loops of their own.
    const QPointer<TFormProgCode> self(this);
    const DeviceTypes before = TypesOf(*doc);
    const bool ok = doc->ReadAnlDataFromComPort();
    if (!self)
        return;
    if (!ok) {
        ShowError(ctxt::kReadFailed);
        if (self && m_pHost)
            m_pHost->CancelHost();
        return;
    }

    doc->SetReadFromBox(true);
    Perform(WM_OPEN, -1, -1);
    const DeviceTypes after = TypesOf(*doc);
    if (IViewHost* host = GetViewHost()) {
        // In the hosting dialog the tree page that opened it rebuilds the
        // tree once the dialog is gone: a rebuild now would destroy that
        // page and the dialog under the dialog's own event loop.
        if (after != before && !m_pHost)
            QueueTreeRebuild();
        host->ViewUpdateControls();
    }
    if (!self)
        return;

    if (after[0] != before[0] && after[0] != 2) {
        ShowError(ctxt::kITChanged);
        if (self && m_pHost)
            m_pHost->CancelHost();
        return;
    }
    if (NeedsBSM() && after[1] != 1) {
        ShowError(ctxt::kNoBSM);
        if (!self)
            return;
        if (m_pHost)
            m_pHost->CancelHost();
    }

    m_wTlnAdr = FindTlnAdr();
    if (m_wTlnAdr != 0) {
        if (m_pProg)
            m_pProg->SetTlnAdr(m_wTlnAdr);
    } else {
        ShowError(ctxt::kNoTlnAdr);
        if (!self)
            return;
        if (m_pHost)
            m_pHost->CancelHost();
    }
    UpdateZuordnen();
}
