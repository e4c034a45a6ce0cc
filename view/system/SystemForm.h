#pragma once
// Small builders for the controls of the system, devices and
// permission-groups pages: each control gets its object name (the tests and
// the language texts find it by that), its Tag (a language-text id, or the
// range tag of the system page's number fields) and its help context.

#include <QString>
#include <QWidget>

class QMessageBox;

namespace SystemForm {

template <class W> W* Make(QWidget* parent, const char* name, int tag = -1, int help = 0) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("Tag", tag);
    if (help > 0)
        w->setProperty("HelpContext", help);
    return w;
}

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
