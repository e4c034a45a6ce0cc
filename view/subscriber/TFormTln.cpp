#include "TFormTln.h"

#include "ui_TFormTln.h"

#include "DbgOut.h"
#include "IMainTransfer.h"
#include "ITlnProgPort.h"
#include "IViewHost.h"
#include "MoxQString.h"
#include "SubscriberTextIds.h"
#include "TGridCellDelegate.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TProgDefs.h"
#include "TTlnGridCells.h"
#include "TTlnProgAccess.h"
#include "TextSubst.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <array>

namespace {

constexpr int kHelpPage = 1700;
constexpr int kColRnr = 1;
constexpr int kColVideo = 2;
// The form's column widths; a column is widened where its header or a cell
// needs more.
constexpr std::array<int, 3> kColumnWidths = {64, 208, 85};
// Door-interface types: the large one gets its bus addresses from the bus
// programming, the four-button one labels its rows A to D.
constexpr std::uint8_t kTypeSmall = 1;
constexpr std::uint8_t kTypeBus = 2;
constexpr std::uint8_t kTypeFour = 3;

} // namespace

TFormTln::TFormTln(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                   TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormTln>()),
      m_pDataTransfer(transfer) {
    setProperty("HelpContext", kHelpPage);
    SetupPageForm(*ui);
    Label3 = ui->Label3;
    m_pTlnGrid = ui->m_pTlnGrid;
    m_pTlnGrid->setColumnCount(static_cast<int>(kColumnWidths.size()));
    FitColumns();
    m_pTlnGrid->verticalHeader()->hide();
    m_pTlnGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTlnGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    TGridCellDelegate::Install(m_pTlnGrid, TGridCellDelegate::Editor::AlwaysShown);
    QPalette pal = m_pTlnGrid->palette();
    pal.setColor(QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));
    m_pTlnGrid->setPalette(pal);

    // Kept from the form; the page has no use for it.
    m_pTimer = new QTimer(this);
    m_pTimer->setObjectName(QStringLiteral("m_pTimer"));

    const QString yes = m_pRes ? m_pRes->GetQText(stxt::kYes) : QString();
    const QString no = m_pRes ? m_pRes->GetQText(stxt::kNo) : QString();
    m_pVideoSelector = std::make_unique<TTlnVideoSelector>(m_pTlnGrid, kColVideo, yes, no);
    m_pVideoSelector->Combo()->installEventFilter(this);

    connect(m_pTlnGrid, &QTableWidget::currentCellChanged, this, &TFormTln::OnCurrentCellChanged);
    connect(m_pTlnGrid, &QTableWidget::cellChanged, this, &TFormTln::OnCellChanged);
    connect(m_pTlnGrid->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &TFormTln::HideSelectorWhenOutOfSight);
    connect(m_pTlnGrid->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &TFormTln::HideSelectorWhenOutOfSight);
}

TFormTln::~TFormTln() = default;

void TFormTln::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case RUECKMELDUNG_OK:
        return;
    case WM_TRANSFER_RESULT:
    case DEL_TLN_FAILED:
    case PROG_FAILED:
    case CANCEL_FAILED:
    case PROGQUIT_FAILED:
    case TLNPROGAKT_FAILED:
    case TLNPROG_FEHLER:
    case TLNPROG_PAS_OK:
    case SEND_FAILED:
    case KBA_LIST_FAILED:
    case KBA_LIST_EMPTY:
    case KBA_LIST_OK:
    case KBA_COUNT:
    case KBA_COUNT_FAILED:
        OnTransferErrorMsg(message);
        return;
    default:
        TDataView::Dispatch(message);
    }
}

void TFormTln::OnOpen(TMessage&) {
    TMoxDocument* doc = GetDoc();
    if (!doc || !m_pTlnGrid)
        return;
    if (m_pVideoSelector)
        m_pVideoSelector->Hide();
    m_bFilling = true;
    const int count = doc->GetAnzTln();
    const std::uint8_t type = doc->GetTypeIT();
    m_pTlnGrid->setRowCount(count);
    auto text = [this](int id) { return m_pRes ? m_pRes->GetQText(id) : QString(); };
    m_pTlnGrid->setHorizontalHeaderLabels(
        {text(type == kTypeSmall ? stxt::kColCallButton : stxt::kColSubscriber),
         text(stxt::kColNumber), text(stxt::kColVideo)});
    const QString yes = text(stxt::kYes);
    const QString no = text(stxt::kNo);
    static const char* const kLetters[] = {"   A", "   B", "   C", "   D"};
    for (int r = 0; r < count; ++r) {
        const auto i = static_cast<std::uint8_t>(r);
        const QString label =
            type == kTypeFour && r < 4 ? QString::fromLatin1(kLetters[r]) : QString::number(r + 1);
        auto* head = new QTableWidgetItem(label);
        head->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (type == kTypeBus) {
            const bool hasAdr = doc->GetTlnBusAdr(i) != 0;
            head->setIcon(hasAdr ? TlnIconProgrammed() : TlnIconNotProgrammed());
            head->setData(Qt::UserRole, hasAdr);
        }
        m_pTlnGrid->setItem(r, 0, head);

        char rnr[kMaxRnrLen + 2] = {};
        if (!doc->GetTlnRnr(i, rnr, sizeof rnr))
            rnr[0] = '\0';
        rnr[sizeof rnr - 1] = '\0';
        m_pTlnGrid->setItem(r, kColRnr, new QTableWidgetItem(FilterRnrText(MoxToQString(rnr))));
        auto* video = new QTableWidgetItem(doc->GetTlnVideo(i) ? yes : no);
        video->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_pTlnGrid->setItem(r, kColVideo, video);
    }
    FitColumns();
    m_bFilling = false;
}

void TFormTln::FitColumns() {
    const QHeaderView* header = m_pTlnGrid->horizontalHeader();
    // The cells' width hint is public on the item view only.
    const QAbstractItemView* cells = m_pTlnGrid;
    for (int c = 0; c < static_cast<int>(kColumnWidths.size()); ++c)
        m_pTlnGrid->setColumnWidth(
            c, std::max({kColumnWidths[static_cast<std::size_t>(c)], header->sectionSizeHint(c),
                         cells->sizeHintForColumn(c)}));
}

void TFormTln::OnSave(TMessage&) {
    MOX_INVARIANT(GetDoc());
    DbgOut(eDbgView, "<TFormTln::OnSave>");
    TMoxDocument* doc = GetDoc();
    if (m_pVideoSelector->IsOpen())
        m_pVideoSelector->Close();
    const QString yes = m_pRes ? m_pRes->GetQText(stxt::kYes) : QString();
    const int rows = std::min<int>(doc->GetAnzTln(), m_pTlnGrid->rowCount());
    for (int r = 0; r < rows; ++r) {
        const auto i = static_cast<std::uint8_t>(r);
        const std::string rnr = MoxFromQString(m_pTlnGrid->item(r, kColRnr)->text());
        doc->SetTlnRnr(i, rnr.c_str());
        doc->SetTlnVideo(i, m_pTlnGrid->item(r, kColVideo)->text() == yes ? 1 : 0);
    }
}

void TFormTln::OnRestore(TMessage&) {
    DbgOut(eDbgTlnProg, "<TFormTln::OnRestore>");
    const QPointer<TFormTln> self(this);
    const std::unique_ptr<ITlnProgPort> prog = TTlnProgAccess::Of(m_pDataTransfer);
    const unsigned ask = mb::kYesNoCancel | mb::kIconQuestion;
    bool deleted = false;

    const int all = ShowMsg(stxt::kAskDelAll, ask);
    if (!self)
        return;
    if (all == mb::kIdYes) {
        const int sure = ShowMsg(stxt::kAskDelete, ask);
        if (!self)
            return;
        if (sure == mb::kIdYes) {
            Perform(WM_SAVE, -1, -1);
            if (prog)
                prog->InitiateDelAllTln();
            DbgOut(eDbgTlnProg, "delete all subscribers");
            GetDoc()->InitAllTln(true);
            deleted = true;
        }
    } else {
        const int sure = ShowMsg(stxt::kAskDelete, ask);
        if (!self)
            return;
        const int idx = m_pTlnGrid->currentRow();
        TMoxDocument* doc = GetDoc();
        // Without a current row there is no subscriber to delete.
        if (sure == mb::kIdYes && doc && idx >= 0 && idx < doc->GetAnzTln()) {
            Perform(WM_SAVE, -1, -1);
            const auto i = static_cast<std::uint8_t>(idx);
            const std::uint16_t adr = doc->GetTlnBusAdr(i);
            DbgOut(eDbgTlnProg, "delete subscriber(%d) subscAdr(0x%04x)", idx, adr);
            if (adr != 0 && prog) {
                prog->SetTlnAdr(adr);
                prog->InitiateDelTln();
            }
            doc->InitTln(i);
            deleted = true;
        }
    }
    if (!deleted)
        return;

    const bool started = GetDoc()->StartWriteAnlDataToComPort(true);
    if (!self)
        return;
    if (started)
        ShowMsg(stxt::kWriteOk, mb::kOk | mb::kIconInformation);
    else
        ShowMsg(stxt::kWriteFailed, mb::kOk | mb::kIconStop);
    if (!self)
        return;
    Perform(WM_OPEN, -1, -1);
}

void TFormTln::OnTransferErrorMsg(TMessage& message) {
    // Whatever the assignment had locked is given back first.
    if (TMoxMain* main = TMoxMain::Instance())
        main->setEnabled(true);
    m_pTlnGrid->setEnabled(true);
    if (!m_pVideoSelector->IsOpen())
        m_pTlnGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();

    const char* name = ProgResultName(message.Msg);
    int textId = 0;
    switch (message.Msg) {
    case DEL_TLN_FAILED:
        textId = stxt::kDelTlnFailed;
        break;
    case PROG_FAILED:
        textId = stxt::kProgFailed;
        break;
    case CANCEL_FAILED:
        textId = stxt::kCancelFailed;
        break;
    case PROGQUIT_FAILED:
        textId = stxt::kProgQuitFailed;
        break;
    case TLNPROGAKT_FAILED:
        textId = stxt::kTlnProgAktFailed;
        break;
    case TLNPROG_FEHLER: {
        const auto type = message.LParam;
        if (type >= 1 && type <= 4) {
            DbgOut(eDbgTlnProg, "<TFormTln::OnTransferErrorMsg> TLNPROG_FEHLER error %d",
                   static_cast<int>(type));
            textId = stxt::kProgError1 + static_cast<int>(type) - 1;
            break;
        }
        DbgOut(eDbgTlnProg, "<TFormTln::OnTransferErrorMsg> TLNPROG_FEHLER error (%d) unknown",
               static_cast<int>(type));
        const char* fmt = m_pRes ? m_pRes->GetText(stxt::kProgErrorFmt) : nullptr;
        ShowText(MoxToQString(TextSubst(fmt, {static_cast<long long>(type)})),
                 mb::kOk | mb::kIconStop);
        return;
    }
    case SEND_FAILED:
        textId = stxt::kSendFailed;
        break;
    case KBA_LIST_FAILED:
        textId = stxt::kKbaListFailed;
        break;
    case KBA_LIST_EMPTY:
        textId = stxt::kKbaListEmpty;
        break;
    case KBA_COUNT_FAILED:
        textId = stxt::kKbaCountFailed;
        break;
    case TLNPROG_PAS_OK:
    case KBA_LIST_OK:
    case KBA_COUNT:
        DbgOut(eDbgTlnProg, "<TFormTln::OnTransferErrorMsg> %s", name);
        return;
    default:
        DbgOut(eDbgTlnProg, "<TFormTln::OnTransferErrorMsg> unknown error (%d)",
               static_cast<int>(message.Msg));
        return;
    }
    DbgOut(eDbgTlnProg, "<TFormTln::OnTransferErrorMsg> %s", name);
    ShowMsg(textId, mb::kOk | mb::kIconStop);
}

void TFormTln::OnCurrentCellChanged(int row, int column, int, int) {
    if (m_pVideoSelector->IsOpen())
        m_pVideoSelector->Close();
    if (row >= 0 && column == kColVideo)
        m_pVideoSelector->Open(row);
}

void TFormTln::OnCellChanged(int row, int column) {
    if (m_bFilling || column != kColRnr)
        return;
    FilterRnrCell(m_pTlnGrid->item(row, column), m_bFilling);
}

void TFormTln::HideSelectorWhenOutOfSight() {
    if (!m_pVideoSelector->IsOpen())
        return;
    const QRect cell =
        m_pTlnGrid->visualItemRect(m_pTlnGrid->item(m_pVideoSelector->Row(), kColVideo));
    // The choice made so far is kept: the user did pick it.
    if (!m_pTlnGrid->viewport()->rect().contains(cell))
        m_pVideoSelector->Close();
}

void TFormTln::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pTlnGrid);
}

bool TFormTln::eventFilter(QObject* watched, QEvent* event) {
    if (m_pVideoSelector && watched == m_pVideoSelector->Combo() &&
        event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_pVideoSelector->LeaveGridOnTab(*key))
            return true;
        if (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down) {
            const int row = m_pTlnGrid->currentRow();
            m_pTlnGrid->setFocus();
            // Closed (the choice kept) before the move, so that the number
            // cell's editor opens as the cell becomes current.
            if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)
                m_pVideoSelector->Close();
            if (key->key() == Qt::Key_Left) {
                m_pTlnGrid->setCurrentCell(row, kColRnr);
            } else if (key->key() == Qt::Key_Right && m_pTlnGrid->rowCount() > 0) {
                const int next = row + 1 < m_pTlnGrid->rowCount() ? row + 1 : 0;
                m_pTlnGrid->setCurrentCell(next, kColRnr);
            }
            return true;
        }
    }
    return TDataView::eventFilter(watched, event);
}

int TFormTln::ShowText(const QString& text, unsigned flags) {
    return TMsgBox::Show(this, 0, text, m_pRes ? m_pRes->GetQText(stxt::kCaption) : QString(),
                         flags);
}
