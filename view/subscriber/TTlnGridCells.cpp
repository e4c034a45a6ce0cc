#include "TTlnGridCells.h"

#include "FocusRules.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QTableWidget>

QString FilterRnrText(const QString& text) {
    QString digits;
    for (const QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
    return digits.left(kMaxRnrLen);
}

void FilterRnrCell(QTableWidgetItem* cell, bool& filling) {
    if (!cell)
        return;
    const QString kept = FilterRnrText(cell->text());
    if (kept != cell->text()) {
        filling = true;
        cell->setText(kept);
        filling = false;
    }
}

namespace {

QIcon Dot(const QColor& fill) {
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::black);
    p.setBrush(fill);
    p.drawEllipse(1, 1, 10, 10);
    return QIcon(pm);
}

} // namespace

QIcon TlnIconProgrammed() {
    static const QIcon icon = Dot(QColor(0, 160, 0));
    return icon;
}

QIcon TlnIconNotProgrammed() {
    static const QIcon icon = Dot(QColor(200, 200, 200));
    return icon;
}

TTlnVideoSelector::TTlnVideoSelector(QTableWidget* grid, int column, const QString& yes,
                                     const QString& no)
    : m_pGrid(grid), m_pCombo(new QComboBox(grid->viewport())), m_nColumn(column), m_Yes(yes),
      m_No(no) {
    m_pCombo->setObjectName(QStringLiteral("m_pVideoSelector"));
    m_pCombo->addItem(no);
    m_pCombo->addItem(yes);
    m_pCombo->setPalette(grid->palette());
    m_pCombo->hide();
}

bool TTlnVideoSelector::IsOpen() const {
    return m_nRow >= 0 && !m_pCombo->isHidden();
}

void TTlnVideoSelector::Open(int row) {
    if (row < 0 || row >= m_pGrid->rowCount())
        return;
    m_pGrid->scrollToItem(m_pGrid->item(row, m_nColumn));
    const QTableWidgetItem* cell = m_pGrid->item(row, m_nColumn);
    m_pCombo->setCurrentIndex(cell && cell->text() == m_Yes ? 1 : 0);
    m_pCombo->setGeometry(m_pGrid->visualItemRect(cell));
    if (m_nRow < 0)
        m_nEditTriggers = static_cast<int>(m_pGrid->editTriggers());
    m_pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_nRow = row;
    m_pCombo->show();
    m_pCombo->setFocus();
}

void TTlnVideoSelector::Close() {
    if (m_nRow < 0)
        return;
    if (QTableWidgetItem* cell = m_pGrid->item(m_nRow, m_nColumn))
        cell->setText(m_pCombo->currentIndex() == 1 ? m_Yes : m_No);
    Hide();
}

void TTlnVideoSelector::Hide() {
    if (m_nRow < 0)
        return;
    m_pCombo->hide();
    m_nRow = -1;
    m_pGrid->setEditTriggers(QAbstractItemView::EditTriggers(m_nEditTriggers));
}

bool TTlnVideoSelector::LeaveGridOnTab(const QKeyEvent& key) {
    if (key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab)
        return false;
    // The grid takes the focus before the list hides, so that the focus
    // never wanders off to whatever follows the list in the window.
    m_pGrid->setFocus();
    Close();
    focusrules::LeaveGrid(m_pGrid,
                          key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier));
    return true;
}
