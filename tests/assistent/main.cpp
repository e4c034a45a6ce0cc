// One QApplication for the whole test process, on the offscreen platform;
// every process keeps its settings in a file of its own.

#include "PerProcessSettingsFile.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
