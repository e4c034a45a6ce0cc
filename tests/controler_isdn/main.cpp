// The main window needs an application object; headless unless told
// otherwise. Each test process keeps a settings file of its own, since the
// library override and the link choice live there.

#include "PerProcessSettingsFile.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Each closed transfer form or dialog is the last window for a moment.
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
