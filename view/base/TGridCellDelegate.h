#pragma once
// TGridCellDelegate: the cell editor of the program's grids. Tab and
// Shift+Tab in a cell editor keep what was typed and leave the grid, as
// they leave every other control; the arrow keys move between the cells.
// A grid that opens its editor as soon as a cell becomes current
// (CurrentChanged among its edit triggers) can ask for an editor that shows
// its frame, opens again when the grid takes the focus, and passes Left at
// the start and Right at the end of its text on to the neighbouring cell.
//
// Install() also turns the grid's own Tab navigation off and makes the
// delegate the grid's item delegate; a grid with its own delegate derives
// from this one.

#include <QStyledItemDelegate>

class QAbstractItemView;

class TGridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    enum class Editor {
        OnDemand,
        // The editor always shown in the current cell: framed, reopened on
        // focus, Left/Right leave it at its ends.
        AlwaysShown,
    };

    TGridCellDelegate(QAbstractItemView* grid, Editor editor);

    // A delegate of this kind for the grid.
    static TGridCellDelegate* Install(QAbstractItemView* grid, Editor editor = Editor::OnDemand);
    // Makes an existing delegate the grid's and sets the grid up for it.
    static void Install(QAbstractItemView* grid, TGridCellDelegate* delegate);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool EditorKey(QWidget* editor, const class QKeyEvent* key);
    void MoveToColumn(QWidget* editor, int step);

    QAbstractItemView* m_pGrid;
    bool m_bAlwaysShown;
};
