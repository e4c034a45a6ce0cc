// The main window in the program's language also where Qt draws: the
// buttons of a message box after a start in German and after a switch to
// English (Qt's catalogues come from the package the build script
// installs), a tree pane that shows every caption whole in each
// language, and recent-file entries that keep their numbered captions.

#include "MainWindowFixture.h"

#include "ErrorBox.h"
#include "MainTextIds.h"
#include "PermSettings.h"
#include "TMoxDocument.h"
#include "TQtTranslations.h"
#include "TkResourcen.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct BoxButtons {
    bool shown = false;
    QString yes, no, cancel;
};

QString ShownText(QMessageBox* box, QMessageBox::StandardButton which) {
    QAbstractButton* b = box->button(which);
    return b ? b->text().remove(QLatin1Char('&')) : QString();
}

// Reads the buttons of the message box that opens next and answers it with
// its Cancel button.
void ReadNextBox(BoxButtons& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box showed";
            return;
        }
        seen.shown = true;
        seen.yes = ShownText(box, QMessageBox::Yes);
        seen.no = ShownText(box, QMessageBox::No);
        seen.cancel = ShownText(box, QMessageBox::Cancel);
        box->button(QMessageBox::Cancel)->click();
    });
}

class MainLanguage : public MainWindowTest {
protected:
    void TearDown() override {
        MainWindowTest::TearDown();
        // The next test starts in German again, as a fresh start does.
        TQtTranslations::Load(1);
    }

    // The question before a new document, asked by the real box.
    BoxButtons AskSave() {
        Main().GetDoc()->SetModified(true);
        BoxButtons seen;
        ReadNextBox(seen);
        Main().OnNewDocument();
        return seen;
    }
};

TEST_F(MainLanguage, MessageBoxButtonsFollowTheLanguage) {
    MakeWindow(); // fresh settings: German
    TMsgBox::SetHandlerForTesting({});

    const BoxButtons german = AskSave();
    ASSERT_TRUE(german.shown);
    EXPECT_EQ(german.yes, QStringLiteral("Ja"));
    EXPECT_EQ(german.no, QStringLiteral("Nein"));
    EXPECT_EQ(german.cancel, QStringLiteral("Abbrechen"));
    // Cancel kept the edits.
    EXPECT_TRUE(Main().GetDoc()->IsModified());

    // The language changes the way the box settings page changes it.
    Main().GetDoc()->SetSprache(2);
    ProcessEvents();
    const BoxButtons english = AskSave();
    ASSERT_TRUE(english.shown);
    EXPECT_EQ(english.yes, QStringLiteral("Yes"));
    EXPECT_EQ(english.no, QStringLiteral("No"));
    EXPECT_EQ(english.cancel, QStringLiteral("Cancel"));
}

// Each row is one language, with every node the tree can have.
class TreeCaptions : public MainLanguage, public testing::WithParamInterface<int> {};

TEST_P(TreeCaptions, AreShownWhole) {
    SetPermSprache(GetParam());
    MakeWindow(2, true);
    TMoxDocument* doc = Main().GetDoc();
    doc->SetTypeIT(2);
    doc->SetTypeKMR(1);
    doc->SetTypeRAK(1);
    doc->SetTypeBSM(1);
    Main().OnExpandAll();
    Main().BuildKonfigTree();
    ProcessEvents();
    auto* tree = Main().findChild<QTreeWidget*>(QStringLiteral("m_pKonfigTreeView"));
    ASSERT_NE(tree, nullptr);
    int nodes = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++nodes) {
        const QRect shown = tree->visualItemRect(*it);
        const QSize needed = tree->sizeHintForIndex(tree->indexFromItem(*it));
        EXPECT_GE(shown.width(), needed.width()) << (*it)->text(0).toStdString();
        EXPECT_LE(shown.right(), tree->viewport()->width()) << (*it)->text(0).toStdString();
    }
    EXPECT_GT(nodes, 20);
}

INSTANTIATE_TEST_SUITE_P(SixLanguages, TreeCaptions, testing::Range(1, 7));

// A change to a language whose file cannot serve: the program's own files,
// with the Dutch one replaced. The change is refused with the language
// file's box, and the program goes on in German.
struct RefusedRow {
    const char* name;
    std::string bytes;
};

void PrintTo(const RefusedRow& r, std::ostream* os) {
    *os << r.name;
}

class LanguageRefused : public MainLanguage, public testing::WithParamInterface<RefusedRow> {
protected:
    void SetUp() override {
        MainLanguage::SetUp();
        namespace fs = std::filesystem;
        const fs::path res = m_Dir / "program" / "res";
        fs::create_directories(res);
        for (const auto& entry : fs::directory_iterator(fs::path(MOX_BIN_DIR) / "res"))
            if (entry.path().filename() != "ktx_nl.spt")
                fs::create_symlink(entry.path(), res / entry.path().filename());
        std::ofstream(res / "ktx_nl.spt", std::ios::binary) << GetParam().bytes;
        m_Dutch = (res / "ktx_nl.spt").string();
        TkResourcen::SetProgramDirForTesting((m_Dir / "program").string());
        ErrorBox::SetHandlerForTesting([this](const ErrorBox::Request& r) {
            m_Errors.push_back(r.text);
            return ErrorBox::Answer::Ok;
        });
    }
    void TearDown() override {
        MainLanguage::TearDown();
        ErrorBox::SetHandlerForTesting({});
        TkResourcen::SetProgramDirForTesting("");
    }
    QString FileMenuTitle() {
        auto* menu = Main().findChild<QMenu*>(QStringLiteral("m_pFileMenu"));
        return menu ? menu->title() : QString();
    }

    std::string m_Dutch;
    std::vector<std::string> m_Errors;
};

TEST_P(LanguageRefused, KeepsTheLanguageInUse) {
    MakeWindow(); // fresh settings: German
    TMoxDocument* doc = Main().GetDoc();
    const QString title = Main().windowTitle();
    const QString fileMenu = FileMenuTitle();
    ASSERT_FALSE(title.isEmpty());
    ASSERT_FALSE(fileMenu.isEmpty());

    // The language changes the way the box settings page changes it.
    doc->SetSprache(6);
    ProcessEvents();
    ASSERT_EQ(m_Errors.size(), 1u);
    EXPECT_EQ(m_Errors[0].rfind("Failed to open language file " + m_Dutch, 0), 0u) << m_Errors[0];
    EXPECT_EQ(Main().windowTitle(), title);
    EXPECT_EQ(FileMenuTitle(), fileMenu);
    EXPECT_EQ(GetPermSprache(), 1);
    EXPECT_EQ(Main().GetRes()->FileName(), TkResourcen::LanguageFilePath(1));
    // The box's own setting is the installer's choice and stays.
    EXPECT_EQ(doc->GetSprache(), 6);

    // The page stores its language again when it is left: no second box.
    doc->SetSprache(6);
    ProcessEvents();
    EXPECT_EQ(m_Errors.size(), 1u);

    // The message boxes still speak German.
    Answer(mtxt::kAskSave, mb::kIdCancel);
    doc->SetModified(true);
    Main().OnNewDocument();
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back().textId, mtxt::kAskSave);
    EXPECT_EQ(Boxes().back().text, Main().GetRes()->GetQText(mtxt::kAskSave));
    EXPECT_FALSE(Boxes().back().text.isEmpty());
    EXPECT_EQ(Boxes().back().caption, title);
}

INSTANTIATE_TEST_SUITE_P(Files, LanguageRefused,
                         testing::Values(RefusedRow{"Empty", std::string()},
                                         RefusedRow{"AllNul", std::string(20000, '\0')}),
                         [](const auto& info) { return std::string(info.param.name); });

// The recent-file entries carry their slot as Tag; the language texts must
// not caption them with the record of that number (record 2 is the usage
// text). Read as the user reads the file menu: the visible entries in order.
class RecentEntries : public MainLanguage {
protected:
    QStringList Shown() {
        QStringList shown;
        auto* menu = Main().findChild<QMenu*>(QStringLiteral("m_pFileMenu"));
        if (!menu) {
            ADD_FAILURE() << "no file menu";
            return shown;
        }
        for (QAction* a : menu->actions())
            if (a->isVisible() && a->objectName().startsWith(QLatin1String("m_pRecentFile")) &&
                !a->isSeparator())
                shown << a->text();
        return shown;
    }
};

TEST_F(RecentEntries, KeepTheirNumberedCaptionsAtStartAndAfterALanguageChange) {
    const std::vector<std::string> names = {PathOf("a.ktx"), PathOf("b.ktx"), PathOf("c.ktx"),
                                            PathOf("d.ktx")};
    for (int slot = 0; slot < 4; ++slot)
        SetPermRecentFile(slot, names[static_cast<std::size_t>(slot)]);
    QStringList expected;
    for (int slot = 0; slot < 4; ++slot)
        expected << QStringLiteral("&%1 %2").arg(slot + 1).arg(
                        QString::fromStdString(names[static_cast<std::size_t>(slot)]));

    MakeWindow(); // German
    EXPECT_EQ(Shown(), expected);
    for (int sprache : {2, 3, 6}) {
        Main().GetDoc()->SetSprache(static_cast<std::uint8_t>(sprache));
        ProcessEvents();
        EXPECT_EQ(Shown(), expected) << "language " << sprache;
    }
}

} // namespace
