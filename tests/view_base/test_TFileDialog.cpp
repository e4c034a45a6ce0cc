// The file dialogs as Qt shows them: the title and the default extension
// the form gives, the filter in Qt's form, a name typed without extension
// that comes back with it, a cancel that gives no name, and Qt's own
// buttons in the program's language.

#include "TFileDialog.h"
#include "TQtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Seen {
    bool shown = false;
    QString title, suffix, filter;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QStringList buttons;
};

// Looks at the file dialog that opens next, then lets `answer` end it.
void WhenDialogShows(Seen& seen, std::function<void(QFileDialog&)> answer) {
    QTimer::singleShot(0, [&seen, answer] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) {
            ADD_FAILURE() << "no file dialog showed";
            return;
        }
        seen.shown = true;
        seen.title = dlg->windowTitle();
        seen.suffix = dlg->defaultSuffix();
        seen.filter = dlg->nameFilters().join(QStringLiteral(";;"));
        seen.mode = dlg->acceptMode();
        for (auto* box : dlg->findChildren<QDialogButtonBox*>())
            for (QAbstractButton* b : box->buttons())
                seen.buttons << b->text().remove(QLatin1Char('&'));
        answer(*dlg);
    });
}

class FileDialog : public testing::Test {
protected:
    void SetUp() override {
        TFileDialog::SetHandlerForTesting({});
        ASSERT_TRUE(TQtTranslations::Load(1));
    }
    void TearDown() override { TQtTranslations::Load(1); }
};

TEST_F(FileDialog, OpenShowsItsTitleAndExtension) {
    Seen seen;
    WhenDialogShows(seen, [](QFileDialog& dlg) { dlg.reject(); });
    const QString chosen = TFileDialog::GetOpenFileName(
        nullptr, QStringLiteral("Firmwaredateien (*.bin)|*.bin|Alle Dateien (*.*)|*.*"),
        QStringLiteral("Firmwaredatei öffnen"), QStringLiteral("bin"));
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(chosen.isEmpty());
    EXPECT_EQ(seen.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(seen.title, QStringLiteral("Firmwaredatei öffnen"));
    EXPECT_EQ(seen.suffix, QStringLiteral("bin"));
    EXPECT_EQ(seen.filter, QStringLiteral("Firmwaredateien (*.bin);;Alle Dateien (*.*)"));
    // Qt's own buttons speak German.
    EXPECT_TRUE(seen.buttons.contains(QStringLiteral("Abbrechen")))
        << seen.buttons.join(',').toStdString();
}

TEST_F(FileDialog, SaveAddsTheExtensionToATypedName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Seen seen;
    WhenDialogShows(seen, [&dir](QFileDialog& dlg) {
        dlg.setDirectory(dir.path());
        dlg.selectFile(QStringLiteral("dump"));
        // As the dialog's own button does it.
        static_cast<QDialog&>(dlg).accept();
    });
    const QString chosen = TFileDialog::GetSaveFileName(
        nullptr, QStringLiteral("*.log|*.log"), QString(),
        /*confirmOverwrite=*/false, QStringLiteral("Ereignisse"), QStringLiteral(".log"));
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.mode, QFileDialog::AcceptSave);
    EXPECT_EQ(seen.title, QStringLiteral("Ereignisse"));
    EXPECT_EQ(seen.suffix, QStringLiteral("log"));
    EXPECT_EQ(chosen, dir.filePath(QStringLiteral("dump.log")));
}

TEST_F(FileDialog, WithoutATitleQtGivesItsOwn) {
    Seen seen;
    WhenDialogShows(seen, [](QFileDialog& dlg) { dlg.reject(); });
    TFileDialog::GetOpenFileName(nullptr, QString());
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.suffix.isEmpty());
    EXPECT_EQ(seen.filter, QStringLiteral("*"));
}

} // namespace
