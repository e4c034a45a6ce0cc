// One QApplication for the whole test process, on the offscreen platform
// with one screen of 1024 x 600 pixels, the smallest screen the program
// must fit.

#include <QApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

int main(int argc, char** argv) {
    const QString config =
        QDir::temp().filePath(QStringLiteral("mox-keys-screen-%1.json").arg(::getpid()));
    {
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        file.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1024,
                       "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    int rc = 0;
    {
        QApplication app(argc, argv);
        testing::InitGoogleTest(&argc, argv);
        rc = RUN_ALL_TESTS();
    }
    QFile::remove(config);
    return rc;
}
