#pragma once
// What the system, devices and permission-groups pages share. Their
// controls are made with pagectl::Make; the Tag of the system page's number
// fields is their range tag rather than a language-text id.

#include "PageControls.h"

#include <QWidget>

class QMessageBox;

namespace SystemForm {

// Whether w lies inside (or is) the container.
bool IsInside(const QWidget* w, const QWidget* container);

} // namespace SystemForm

namespace SystemForm {

// The program mode of the main window (1 standard, 2 expert); standard
// while there is no main window.
int ProgramMode();
// Tests set the mode the pages see; 0 asks the main window again.
void SetProgramModeForTesting(int mode);

} // namespace SystemForm
