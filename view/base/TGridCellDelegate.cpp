#include "TGridCellDelegate.h"

#include "FocusRules.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

TGridCellDelegate::TGridCellDelegate(QAbstractItemView* grid, Editor editor)
    : QStyledItemDelegate(grid), m_pGrid(grid), m_bAlwaysShown(editor == Editor::AlwaysShown) {}

TGridCellDelegate* TGridCellDelegate::Install(QAbstractItemView* grid, Editor editor) {
    auto* delegate = new TGridCellDelegate(grid, editor);
    Install(grid, delegate);
    return delegate;
}

void TGridCellDelegate::Install(QAbstractItemView* grid, TGridCellDelegate* delegate) {
    // Tab moving from cell to cell would keep a keyboard user in the grid.
    grid->setTabKeyNavigation(false);
    grid->setItemDelegate(delegate);
    if (delegate->m_bAlwaysShown)
        grid->installEventFilter(delegate);
}

QWidget* TGridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    // An editor without a frame makes the current cell look like any other.
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && m_bAlwaysShown)
        line->setFrame(true);
    return editor;
}

bool TGridCellDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pGrid) {
        // Back in the grid by Tab or Shift+Tab: the current cell's editor
        // opens again, as it opens whenever a cell becomes current.
        const auto reason = event->type() == QEvent::FocusIn
                                ? static_cast<const QFocusEvent*>(event)->reason()
                                : Qt::NoFocusReason;
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) &&
            (m_pGrid->editTriggers() & QAbstractItemView::CurrentChanged)) {
            const QPointer<QAbstractItemView> grid(m_pGrid);
            // After the grid has handled its focus (it may choose its first
            // cell only then).
            QTimer::singleShot(0, m_pGrid, [grid] {
                if (!grid || !grid->hasFocus())
                    return;
                QModelIndex current = grid->currentIndex();
                if (!current.isValid())
                    current = grid->model()->index(0, 0);
                // On a cell not typed into: the row's first one that is.
                for (int c = current.column();
                     current.isValid() && c < grid->model()->columnCount(); ++c) {
                    const QModelIndex cell = current.sibling(current.row(), c);
                    if (cell.flags() & Qt::ItemIsEditable) {
                        if (cell != grid->currentIndex())
                            grid->setCurrentIndex(cell);
                        else
                            grid->edit(cell);
                        break;
                    }
                }
            });
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress)
        if (auto* editor = qobject_cast<QWidget*>(watched))
            if (EditorKey(editor, static_cast<const QKeyEvent*>(event)))
                return true;
    return QStyledItemDelegate::eventFilter(watched, event);
}

bool TGridCellDelegate::EditorKey(QWidget* editor, const QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        focusrules::LeaveGrid(m_pGrid, forward);
        return true;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!m_bAlwaysShown || !line)
            return false;
        // A cell just entered has its whole text selected, the caret at its
        // end: the arrows move on from there as from a cell not typed in.
        const bool whole = line->hasSelectedText() && line->selectedText() == line->text();
        const bool left = key->key() == Qt::Key_Left;
        const bool atEdge = left
                                ? whole || (line->cursorPosition() == 0 && !line->hasSelectedText())
                                : line->cursorPosition() == line->text().size();
        if (!atEdge)
            return false;
        MoveToColumn(editor, left ? -1 : 1);
        return true;
    }
    default:
        return false;
    }
}

void TGridCellDelegate::MoveToColumn(QWidget* editor, int step) {
    const QModelIndex current = m_pGrid->currentIndex();
    const QModelIndex next = current.sibling(current.row(), current.column() + step);
    if (!next.isValid())
        return;
    emit commitData(editor);
    // The grid closes the editor of the cell it leaves and opens the next
    // one's, as on any change of the current cell.
    m_pGrid->setCurrentIndex(next);
}
