#pragma once
// What every form shares for a user who works with the keyboard: Tab
// enters a set of radio buttons on the checked one, a grid is left with
// Tab and Shift+Tab, and a window opens inside the screen.

#include <vector>

class QAbstractButton;
class QAbstractItemView;
class QWidget;

namespace focusrules {

// Tab and Shift+Tab stop on the checked button of the set only (on the first
// enabled one while none is checked); the arrow keys still move from button
// to button. The buttons must form one exclusive choice. Follows every later
// change of the choice.
void TabStopOnCheckedRadio(const std::vector<QAbstractButton*>& buttons);

// Moves the focus out of the grid to the control after it (forward) or
// before it, as Tab and Shift+Tab do on any other control. An open cell
// editor or a list laid over a cell must be closed by the caller first.
void LeaveGrid(QAbstractItemView* grid, bool forward);

// Shrinks the window to the available area of its screen when it is
// larger and moves it inside, frame included: centred on `centreOn` when
// given, else kept where it was moved to, else centred on the screen.
// Call before the window shows.
void FitOnScreen(QWidget* window, const QWidget* centreOn = nullptr);
// The same, always centred on the screen's available area.
void CentreOnScreen(QWidget* window);

} // namespace focusrules
