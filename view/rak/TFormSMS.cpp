#include "TFormSMS.h"

#include "DbgOut.h"
#include "FocusRules.h"
#include "MoxQString.h"
#include "RakTextIds.h"
#include "RakWidgets.h"
#include "TGridCellDelegate.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include <array>

namespace {

constexpr int kHelpPage = 1300;
constexpr int kHelpGrid = 1301;
constexpr int kRows = TFormSMS::kProviders + 1;
constexpr int kColumns = 4;
constexpr std::array<int, kColumns> kColumnWidths = {39, 93, 144, 82};
// Room for a field of the record and its terminator.
constexpr std::size_t kFieldBuffer = 64;

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

// The cell editor keeps the user inside the field rules while typing: no
// 16th character in a name, nothing but digits and no 25th in a number.
class TFormSMS::CellDelegate : public TGridCellDelegate {
public:
    explicit CellDelegate(QAbstractItemView* grid) : TGridCellDelegate(grid, Editor::OnDemand) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = TGridCellDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            if (index.column() == TFormSMS::kColName) {
                line->setMaxLength(TFormSMS::kMaxName);
            } else if (index.column() == TFormSMS::kColRnr) {
                line->setMaxLength(TFormSMS::kMaxRnr);
                line->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("[0-9]*")), line));
            }
        }
        m_pEditor = editor;
        return editor;
    }

    // A save can come while the user is still typing in a cell (a menu
    // shortcut moves no focus): the cell takes the editor's text first, so
    // that what is on the screen is what is stored.
    void CommitOpenEditor() {
        if (m_pEditor)
            emit commitData(m_pEditor);
    }

private:
    mutable QPointer<QWidget> m_pEditor;
};

TFormSMS::TFormSMS(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    setProperty("HelpContext", kHelpPage);
    auto* area = new QVBoxLayout(PageArea());
    area->setContentsMargins(8, 4, 8, 8);

    auto* label3 = pagectl::Make<QLabel>(PageArea(), "Label3", rtxt::kSmsHeading);
    label3->setText(QStringLiteral("sms provider"));
    area->addWidget(label3);

    m_pProvGrid = pagectl::Make<QTableWidget>(PageArea(), "m_pProvGrid", -1, kHelpGrid);
    m_pProvGrid->setRowCount(kRows);
    m_pProvGrid->setColumnCount(kColumns);
    m_pProvGrid->horizontalHeader()->hide();
    m_pProvGrid->verticalHeader()->hide();
    m_pProvGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pDelegate = new CellDelegate(m_pProvGrid);
    TGridCellDelegate::Install(m_pProvGrid, m_pDelegate);
    int gridWidth = 2 * m_pProvGrid->frameWidth();
    for (int c = 0; c < kColumns; ++c) {
        m_pProvGrid->setColumnWidth(c, kColumnWidths[static_cast<std::size_t>(c)]);
        gridWidth += kColumnWidths[static_cast<std::size_t>(c)];
    }
    // All four columns stay in sight, whatever room the host gives.
    m_pProvGrid->setMinimumWidth(gridWidth + m_pProvGrid->verticalScrollBar()->sizeHint().width());
    QPalette pal = m_pProvGrid->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::ToolTipBase));
    m_pProvGrid->setPalette(pal);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem;
            // The title row, the number column and the protocol column (the
            // list is its editor) are not typed into.
            if (r == 0 || c == 0 || c == kColProtokoll)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            if (r == 0 || c == 0) {
                // The fixed row and column look like the titles they are.
                item->setBackground(pal.color(QPalette::Button));
                item->setForeground(pal.color(QPalette::ButtonText));
            }
            m_pProvGrid->setItem(r, c, item);
        }
    area->addWidget(m_pProvGrid, 1);

    connect(m_pProvGrid, &QTableWidget::itemChanged, this, &TFormSMS::OnSetEditText);
    connect(m_pProvGrid, &QTableWidget::currentCellChanged, this, &TFormSMS::OnSelectCell);
}

TFormSMS::~TFormSMS() = default;

QString TFormSMS::Text(int id) const {
    return m_pRes ? m_pRes->GetQText(id) : QString();
}

QString TFormSMS::Cell(int column, int row) const {
    const QTableWidgetItem* item = m_pProvGrid->item(row, column);
    return item ? item->text() : QString();
}

void TFormSMS::SetCell(int column, int row, const QString& text) {
    if (QTableWidgetItem* item = m_pProvGrid->item(row, column))
        item->setText(text);
}

QString TFormSMS::ProtocolText(std::uint8_t protokoll) const {
    switch (protokoll) {
    case 0:
        return Text(rtxt::kNone);
    case 1:
        return Text(rtxt::kProtokollUCP);
    case 2:
        return Text(rtxt::kProtokollTAP);
    default:
        return {};
    }
}

int TFormSMS::ProtocolOf(const QString& text) const {
    if (text.isEmpty())
        return -1;
    if (text == Text(rtxt::kNone))
        return 0;
    if (text == Text(rtxt::kProtokollUCP))
        return 1;
    if (text == Text(rtxt::kProtokollTAP))
        return 2;
    return -1;
}

QString TFormSMS::CleanName(const QString& text) {
    return text.left(kMaxName);
}

QString TFormSMS::CleanRnr(const QString& text) {
    // Every character that is not a digit goes, not only the first: a
    // pasted "0171-234 56" would otherwise keep its blank and reach the box.
    QString digits;
    for (QChar c : text)
        if (IsDigit(c))
            digits.append(c);
    return digits.left(kMaxRnr);
}

void TFormSMS::OnOpen(TMessage&) {
    const QSignalBlocker block(m_pProvGrid);
    m_bFilling = true;
    m_pProvGrid->setRowCount(kRows);
    SetCell(0, 0, Text(rtxt::kColNr));
    SetCell(kColName, 0, Text(rtxt::kColProvider));
    SetCell(kColRnr, 0, Text(rtxt::kColRnr));
    SetCell(kColProtokoll, 0, Text(rtxt::kColProtokoll));
    for (int i = 0; i < kProviders; ++i)
        SetCell(0, i + 1, QString::number(i + 1));

    if (!m_pProtList) {
        m_pProtList = pagectl::Make<QComboBox>(m_pProvGrid->viewport(), "m_pProtList");
        m_pProtList->setEditable(false);
        m_pProtList->setFont(m_pProvGrid->font());
        m_pProtList->setPalette(m_pProvGrid->palette());
        m_pProtList->addItems(
            {Text(rtxt::kNone), Text(rtxt::kProtokollUCP), Text(rtxt::kProtokollTAP)});
        m_pProtList->installEventFilter(this);
        SizeProtocolList();
    }
    m_pProtList->hide();

    TMoxDocument* doc = GetDoc();
    for (int i = 0; doc && i < kProviders; ++i) {
        const auto idx = static_cast<std::uint8_t>(i);
        char buffer[kFieldBuffer] = {};
        SetCell(kColName, i + 1,
                doc->GetSMSProvider(idx, buffer, sizeof buffer) ? MoxToQString(buffer) : QString());
        char rnr[kFieldBuffer] = {};
        SetCell(kColRnr, i + 1,
                doc->GetSMSRnr(idx, rnr, sizeof rnr) ? MoxToQString(rnr) : QString());
        // A protocol the page does not know shows an empty cell, never
        // what an earlier open left there.
        SetCell(kColProtokoll, i + 1, ProtocolText(doc->GetSMSProtokoll(idx)));
    }
    m_pProvGrid->setCurrentCell(1, kColName);
    m_bFilling = false;
}

void TFormSMS::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormSMS::OnSave>");
    MOX_INVARIANT(GetDoc());
    TMoxDocument* doc = GetDoc();
    m_pDelegate->CommitOpenEditor();
    if (m_pProtList && m_pProtList->isVisible())
        CommitProtocolList(m_pProvGrid->currentRow());
    for (int i = 0; i < kProviders; ++i) {
        const auto idx = static_cast<std::uint8_t>(i);
        doc->SetSMSProvider(idx, MoxFromQString(CleanName(Cell(kColName, i + 1))).c_str());
        doc->SetSMSRnr(idx, MoxFromQString(CleanRnr(Cell(kColRnr, i + 1))).c_str());
        // A cell that names no protocol (the document held one the page
        // does not know) keeps the provider's own.
        const int protokoll = ProtocolOf(Cell(kColProtokoll, i + 1));
        if (protokoll >= 0)
            doc->SetSMSProtokoll(idx, static_cast<std::uint8_t>(protokoll));
    }
}

void TFormSMS::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitSMS();
    Perform(WM_OPEN, -1, -1);
}

void TFormSMS::OnSetEditText(QTableWidgetItem* item) {
    if (m_bFilling || !item || item->row() == 0)
        return;
    const QString text = item->text();
    QString clean = text;
    if (item->column() == kColName)
        clean = CleanName(text);
    else if (item->column() == kColRnr)
        clean = CleanRnr(text);
    if (clean != text) {
        const QSignalBlocker block(m_pProvGrid);
        item->setText(clean);
    }
}

void TFormSMS::CommitProtocolList(int row) {
    if (!m_pProtList || row < 1 || row >= kRows)
        return;
    const int choice = m_pProtList->currentIndex();
    if (choice >= 0) {
        const QSignalBlocker block(m_pProvGrid);
        SetCell(kColProtokoll, row, m_pProtList->itemText(choice));
    }
}

void TFormSMS::OnSelectCell(int row, int column, int prevRow, int) {
    if (!m_pProtList)
        return;
    if (m_pProtList->isVisible()) {
        CommitProtocolList(prevRow);
        m_pProtList->hide();
        m_pProvGrid->setFocus();
    }
    if (column == kColProtokoll && row >= 1 && row < kRows) {
        const QRect cell = m_pProvGrid->visualRect(m_pProvGrid->model()->index(row, column));
        m_pProtList->setGeometry(cell);
        m_pProtList->setCurrentIndex(std::max(ProtocolOf(Cell(kColProtokoll, row)), 0));
        m_pProtList->show();
        m_pProtList->setFocus();
    }
}

bool TFormSMS::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pProtList && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int row = m_pProvGrid->currentRow();
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // The choice is kept, and the grid is left as with Tab anywhere.
            CommitProtocolList(row);
            m_pProvGrid->setFocus();
            m_pProtList->hide();
            focusrules::LeaveGrid(m_pProvGrid, key->key() == Qt::Key_Tab &&
                                                   !(key->modifiers() & Qt::ShiftModifier));
            return true;
        case Qt::Key_Left:
            m_pProvGrid->setFocus();
            m_pProvGrid->setCurrentCell(row, kColRnr);
            return true;
        case Qt::Key_Right:
            // On to the next provider's name, from the last back to the
            // first.
            m_pProvGrid->setFocus();
            m_pProvGrid->setCurrentCell(row >= kRows - 1 ? 1 : row + 1, kColName);
            return true;
        default:
            break;
        }
    }
    return TDataView::eventFilter(watched, event);
}

void TFormSMS::SizeProtocolList() {
    if (!m_pProtList)
        return;
    const QRect cell = m_pProvGrid->visualRect(m_pProvGrid->model()->index(0, kColProtokoll));
    m_pProtList->resize(cell.width(), std::max(cell.height(), m_pProtList->sizeHint().height()));
}

void TFormSMS::resizeEvent(QResizeEvent* event) {
    DbgOut(eDbgView, "<TFormSMS::OnResize>");
    TDataView::resizeEvent(event);
    SizeProtocolList();
}

void TFormSMS::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pProvGrid);
}
