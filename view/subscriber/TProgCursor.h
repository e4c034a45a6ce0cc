#pragma once
// The programming dialogs show the hourglass and capture the mouse while a
// unit waits for its call button; whatever ends the wait or closes the
// dialog gives both back, however often they were taken.

#include <QApplication>
#include <QWidget>

inline void RestoreCursorAndCapture() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}
