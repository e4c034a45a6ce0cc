#pragma once
// Small builders for the controls of the door-interface pages. Each control
// gets its object name (tests and the language texts find it by that), its
// Tag (the language-text id that replaces the German design text) and, where
// it has one, its help context.

#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class TDataView;

namespace doorform {

QLabel* Label(QWidget* parent, const char* name, int tag, const char* designText);
QCheckBox* Check(QWidget* parent, const char* name, int tag, int help, const char* designText);
QRadioButton* Radio(QWidget* parent, const char* name, int tag, int help, const char* designText);
QPushButton* Button(QWidget* parent, const char* name, int tag, int help, const char* designText);
// A line edit that takes at most maxLength characters.
QLineEdit* Edit(QWidget* parent, const char* name, int tag, int help, int maxLength);
// A fixed list (the user picks, never types).
QComboBox* List(QWidget* parent, const char* name, int tag, int help);

// The widget the page's controls go into, placed in the page's scroll box.
QWidget* Content(TDataView* page);

} // namespace doorform
