#pragma once
// What the subscriber grids of the page and of the programming dialog share:
// the call-number cell filter, the yes/no video selector laid over a video
// cell, and the two row icons (bus address given or not).

#include "MoxDaten.h"

#include <QIcon>
#include <QString>

class QComboBox;
class QKeyEvent;
class QTableWidget;
class QTableWidgetItem;

// Longest call number of a subscriber record.
inline constexpr int kMaxRnrLen = MOX_TLNRNR_SIZE - 1;

// The text a call-number cell keeps of what was typed or pasted: digits
// only, at most 20. The grid hands over a whole edit at once, so every
// character that is not a digit goes, not only the first one.
QString FilterRnrText(const QString& text);
// Applies the filter to a call-number cell (null: nothing). `filling` is
// set while the cell is rewritten, so that the grid's change handler does
// not take the page's own correction for an edit.
void FilterRnrCell(QTableWidgetItem* cell, bool& filling);

// Icons of column 0: the subscriber has its bus address (programmed) or not.
QIcon TlnIconProgrammed();
QIcon TlnIconNotProgrammed();

// A drop-down list with "no" (index 0) and "yes" (index 1) that stands over
// the video cell being edited, hidden while not in use. The grid's own
// editor is off while it shows.
class TTlnVideoSelector {
public:
    TTlnVideoSelector(QTableWidget* grid, int column, const QString& yes, const QString& no);

    TTlnVideoSelector(const TTlnVideoSelector&) = delete;
    TTlnVideoSelector& operator=(const TTlnVideoSelector&) = delete;

    bool IsOpen() const;
    // The grid row it stands over, -1 when hidden.
    int Row() const { return m_nRow; }
    QComboBox* Combo() const { return m_pCombo; }

    // Places it over the row's video cell, preset from the cell, and shows it.
    void Open(int row);
    // Writes the choice into its cell and hides it.
    void Close();
    // Hides it without writing (the cell scrolled out of sight).
    void Hide();
    // Tab or Shift+Tab on it: the choice is written and the grid is left,
    // as Tab leaves any control. False for other keys.
    bool LeaveGridOnTab(const QKeyEvent& key);

private:
    QTableWidget* m_pGrid;
    QComboBox* m_pCombo;
    int m_nColumn;
    QString m_Yes;
    QString m_No;
    int m_nRow = -1;
    int m_nEditTriggers = 0;
};
