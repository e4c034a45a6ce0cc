#pragma once
// The two small dialogs of the bus control: the about box and the property
// page that has nothing to set. Both need a running QApplication; without
// one they show nothing.

class QDialog;

namespace quell32 {

// Modal; returns when the user closes it.
void ShowAboutBox();
void ShowPropertyPage();

// Modal message box with the exclamation icon (creation problems).
void ShowErrorBox(const char* text, const char* caption);

// Built but not shown (tests look at them).
QDialog* CreateAboutBox();
QDialog* CreatePropertyPage();

} // namespace quell32
