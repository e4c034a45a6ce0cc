// New, open, save and save as through the real main window, with the file
// dialogs and message boxes answered by the test: the save question, a
// refused close, a save that fails, a failed open, and a page's edits
// reaching the document.

#include "MainWindowFixture.h"

#include "MainTextIds.h"
#include "MoxQString.h"
#include "NonRootUser.h"
#include "TMoxDocument.h"
#include "TNodeData.h"
#include "TPosixDocFileSystem.h"
#include "TRecentFileList.h"
#include "TkResourcen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <fstream>
#include <sys/stat.h>

namespace {

std::vector<char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
}

// The real file calls, except that every write fails as on a full disk.
class FullDisk : public IDocFileSystem {
public:
    int Open(const std::string& path, int flags, mode_t mode) override {
        return real.Open(path, flags, mode);
    }
    ssize_t Read(int fd, void* buffer, size_t count) override {
        return real.Read(fd, buffer, count);
    }
    ssize_t Write(int, const void*, size_t) override {
        errno = ENOSPC;
        return -1;
    }
    int Fsync(int fd) override { return real.Fsync(fd); }
    int Close(int fd) override { return real.Close(fd); }
    int Rename(const std::string& from, const std::string& to) override {
        return real.Rename(from, to);
    }
    int Unlink(const std::string& path) override { return real.Unlink(path); }

private:
    TPosixDocFileSystem real;
};

class MainDocumentTest : public MainWindowTest {
protected:
    void MakeEdit() {
        TMoxDocument* doc = Main().GetDoc();
        doc->SetTuerrufdauer(static_cast<std::uint16_t>(doc->GetTuerrufdauer() + 7));
        ASSERT_TRUE(doc->IsModified());
    }
    // Saves the window's document under a name by the save-as command.
    std::string SaveAs(const std::string& name) {
        Choose(QPathOf(name));
        EXPECT_TRUE(Main().OnSaveAsDocument());
        return PathOf(name);
    }
    bool TryClose() {
        QCloseEvent ev;
        QCoreApplication::sendEvent(&Main(), &ev);
        return ev.isAccepted();
    }
};

TEST_F(MainDocumentTest, SaveAsWritesTheFileAndNamesIt) {
    MakeWindow();
    MakeEdit();
    const std::string path = SaveAs("a.ktx");
    EXPECT_EQ(ReadFile(path).size(), 32768u);
    EXPECT_FALSE(Main().GetDoc()->IsModified());
    EXPECT_STREQ(Main().GetDoc()->GetFileName(), path.c_str());
    EXPECT_TRUE(Main().GetStatusText().contains(QString::fromStdString(path)));
    EXPECT_EQ(Main().GetRecentFiles()->GetEntry(0), path);
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].kind, TFileDialog::Kind::Save);
    EXPECT_EQ(Dialogs()[0].filter, Main().GetRes()->GetQText(1004));
    // The window asks itself before a file is replaced, about the file it
    // really writes; the dialog would ask about the name as typed.
    EXPECT_FALSE(Dialogs()[0].confirmOverwrite);
    EXPECT_EQ(Dialogs()[0].defaultExtension, QStringLiteral("ktx"));
    EXPECT_TRUE(BoxIds().empty());
}

TEST_F(MainDocumentTest, SaveOfAnUnnamedDocumentAsksForAName) {
    MakeWindow();
    MakeEdit();
    Choose(QPathOf("b.ktx"));
    EXPECT_TRUE(Main().OnSaveDocument());
    EXPECT_EQ(ReadFile(PathOf("b.ktx")).size(), 32768u);
    // A second save writes the same file without a dialog.
    MakeEdit();
    EXPECT_TRUE(Main().OnSaveDocument());
    EXPECT_EQ(Dialogs().size(), 1u);
}

TEST_F(MainDocumentTest, OpenReadsTheFile) {
    MakeWindow();
    TMoxDocument* doc = Main().GetDoc();
    const std::uint16_t original = doc->GetTuerrufdauer();
    MakeEdit();
    const std::string path = SaveAs("c.ktx");
    Main().OnNewDocument();
    EXPECT_EQ(doc->GetTuerrufdauer(), original);
    Choose(QString::fromStdString(path));
    Main().OnOpenDocument();
    EXPECT_EQ(doc->GetTuerrufdauer(), original + 7);
    EXPECT_STREQ(doc->GetFileName(), path.c_str());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(BoxIds().empty());
}

TEST_F(MainDocumentTest, FailedOpenKeepsThePreviousDocument) {
    MakeWindow();
    const std::string good = SaveAs("good.ktx");
    // Not a configuration: 10 bytes.
    std::ofstream(PathOf("bad.ktx"), std::ios::binary) << "0123456789";
    Choose(QPathOf("bad.ktx"));
    Main().OnOpenDocument();
    ASSERT_EQ(BoxIds(), std::vector<int>{mtxt::kOpenFailed});
    EXPECT_TRUE(Boxes()[0].text.contains(QPathOf("bad.ktx")));
    EXPECT_EQ(Boxes()[0].flags, mb::kOk | mb::kIconStop);
    // The unreadable file's name never becomes the document's: a save
    // cannot overwrite it.
    EXPECT_STREQ(Main().GetDoc()->GetFileName(), good.c_str());
    EXPECT_NE(Main().GetRecentFiles()->GetEntry(0), PathOf("bad.ktx"));
    EXPECT_EQ(ReadFile(PathOf("bad.ktx")).size(), 10u);
}

TEST_F(MainDocumentTest, FailedOpenOfAnUnnamedDocumentStaysUnnamed) {
    MakeWindow();
    std::ofstream(PathOf("bad.ktx"), std::ios::binary) << "xx";
    Choose(QPathOf("bad.ktx"));
    Main().OnOpenDocument();
    EXPECT_TRUE(Main().GetDoc()->IsUnnamed());
    EXPECT_TRUE(Main().GetStatusText().contains(Main().GetRes()->GetQText(1000)));
}

TEST_F(MainDocumentTest, CancelledOpenDialogChangesNothing) {
    MakeWindow();
    MakeEdit();
    Answer(mtxt::kAskSave, mb::kIdNo);
    Main().OnOpenDocument(); // no file chosen
    EXPECT_TRUE(Main().GetDoc()->IsModified());
}

TEST_F(MainDocumentTest, SaveThatFailsShowsItsTextAndKeepsTheEdits) {
    MakeWindow();
    const std::string path = SaveAs("d.ktx");
    const std::vector<char> before = ReadFile(path);
    MakeEdit();
    FullDisk disk;
    Main().GetDoc()->SetFileSystem(&disk);
    EXPECT_FALSE(Main().OnSaveDocument());
    Main().GetDoc()->SetFileSystem(nullptr);
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kSaveFailed});
    EXPECT_EQ(Boxes()[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_TRUE(Main().GetDoc()->IsModified());
    EXPECT_EQ(ReadFile(path), before);
}

// Save as onto a file that exists: the question is about the file the
// document really writes, whatever the user typed. No goes back to the
// dialog with the name typed (cancelled here) and leaves the file alone.
struct OverwriteRow {
    const char* name;
    const char* existing; // the file on disk before
    const char* typed;    // what the user answers the dialog with
    int answer;           // to the question; 0: no question expected
    bool replaced;
};

void PrintTo(const OverwriteRow& r, std::ostream* os) {
    *os << r.name;
}

class SaveAsOverwrite : public MainDocumentTest,
                        public testing::WithParamInterface<OverwriteRow> {};

TEST_P(SaveAsOverwrite, AsksAboutTheFileReallyWritten) {
    const OverwriteRow& r = GetParam();
    MakeWindow();
    const std::string existing = PathOf(r.existing);
    std::ofstream(existing, std::ios::binary) << "the customer's file";
    const std::vector<char> before = ReadFile(existing);
    MakeEdit();
    Choose(QPathOf(r.typed));
    if (r.answer)
        Answer(mtxt::kOverwrite, r.answer);

    EXPECT_EQ(Main().OnSaveAsDocument(), r.replaced);

    if (r.answer) {
        ASSERT_EQ(BoxIds(), std::vector<int>{mtxt::kOverwrite});
        EXPECT_EQ(Boxes()[0].flags, mb::kYesNo | mb::kIconQuestion);
        EXPECT_FALSE(Boxes()[0].text.isEmpty());
    } else {
        EXPECT_TRUE(BoxIds().empty());
    }
    TMoxDocument* doc = Main().GetDoc();
    if (r.replaced) {
        EXPECT_EQ(ReadFile(existing).size(), 32768u);
        EXPECT_STREQ(doc->GetFileName(), existing.c_str());
        EXPECT_FALSE(doc->IsModified());
        EXPECT_EQ(Dialogs().size(), 1u);
    } else {
        EXPECT_EQ(ReadFile(existing), before);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_TRUE(doc->IsUnnamed());
        // Back in the dialog, with the name as the user typed it.
        ASSERT_EQ(Dialogs().size(), 2u);
        EXPECT_EQ(Dialogs()[1].initialName, QPathOf(r.typed));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveAsOverwrite,
    testing::Values(OverwriteRow{"WithoutExtensionNo", "kunde.ktx", "kunde", mb::kIdNo, false},
                    OverwriteRow{"WithoutExtensionYes", "kunde.ktx", "kunde", mb::kIdYes, true},
                    OverwriteRow{"WithExtensionNo", "kunde.ktx", "kunde.ktx", mb::kIdNo, false},
                    // ".KTX" is not the document's extension: it writes "anlage.KTX.ktx".
                    OverwriteRow{"OtherExtensionNo", "anlage.KTX.ktx", "anlage.KTX", mb::kIdNo,
                                 false},
                    OverwriteRow{"DefaultsNameNo", "mox.def", "mox.def", mb::kIdNo, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainDocumentTest, SaveAsUnderANewNameAsksNothing) {
    MakeWindow();
    // "kunde" exists, but the document writes "kunde.ktx".
    std::ofstream(PathOf("kunde"), std::ios::binary) << "other";
    MakeEdit();
    Choose(QPathOf("kunde"));
    EXPECT_TRUE(Main().OnSaveAsDocument());
    EXPECT_TRUE(BoxIds().empty());
    EXPECT_EQ(ReadFile(PathOf("kunde.ktx")).size(), 32768u);
    EXPECT_EQ(ReadFile(PathOf("kunde")).size(), 5u);
}

// The real question box, ended with Esc: it counts as No.
TEST_F(MainDocumentTest, EscOnTheOverwriteQuestionKeepsTheFile) {
    MakeWindow();
    std::ofstream(PathOf("kunde.ktx"), std::ios::binary) << "keep";
    MakeEdit();
    Choose(QPathOf("kunde"));
    TMsgBox::SetHandlerForTesting({});
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
        QWidget* box = QApplication::activeModalWidget();
        shown = qobject_cast<QMessageBox*>(box) != nullptr;
        if (box)
            QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_FALSE(Main().OnSaveAsDocument());
    EXPECT_TRUE(shown);
    EXPECT_EQ(ReadFile(PathOf("kunde.ktx")).size(), 4u);
    EXPECT_TRUE(Main().GetDoc()->IsModified());
}

// The real save dialog, typed into and answered with the keyboard: "kunde"
// while "kunde.ktx" exists brings one question (the dialog asks nothing of
// its own); Esc on it goes back to the dialog, Esc there ends the command.
TEST_F(MainDocumentTest, RealSaveDialogAsksOnceAboutTheFileWritten) {
    MakeWindow();
    std::ofstream(PathOf("kunde.ktx"), std::ios::binary) << "keep";
    MakeEdit();
    TFileDialog::SetHandlerForTesting({});
    TMsgBox::SetHandlerForTesting({});
    std::vector<QString> seen; // class of each modal window, in order
    auto* poll = new QTimer(&Main());
    poll->setInterval(0);
    QWidget* last = nullptr;
    QObject::connect(poll, &QTimer::timeout, &Main(), [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last)
            return;
        last = modal;
        seen.push_back(QString::fromLatin1(modal->metaObject()->className()));
        if (auto* dlg = qobject_cast<QFileDialog*>(modal)) {
            if (seen.size() == 1) {
                auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(edit, nullptr);
                edit->setText(QPathOf("kunde"));
                QTest::keyClick(edit, Qt::Key_Return);
            } else {
                QTest::keyClick(dlg, Qt::Key_Escape);
            }
        } else {
            QTest::keyClick(modal, Qt::Key_Escape);
        }
    });
    poll->start();
    EXPECT_FALSE(Main().OnSaveAsDocument());
    poll->stop();
    EXPECT_EQ(seen,
              (std::vector<QString>{QStringLiteral("QFileDialog"), QStringLiteral("QMessageBox"),
                                    QStringLiteral("QFileDialog")}));
    EXPECT_EQ(ReadFile(PathOf("kunde.ktx")).size(), 4u);
    EXPECT_TRUE(Main().GetDoc()->IsModified());
}

// A configuration file the installer has protected (mode 0444, in a folder
// they may write) is not replaced: neither by save nor by save as. As root
// every file is writable, so the save runs as a user who is not root.
struct ProtectedRow {
    const char* name;
    bool saveAs;
};

void PrintTo(const ProtectedRow& r, std::ostream* os) {
    *os << r.name;
}

class SaveOverProtected : public MainDocumentTest,
                          public testing::WithParamInterface<ProtectedRow> {};

TEST_P(SaveOverProtected, IsRefusedAndKeepsTheFile) {
    MakeWindow();
    const std::string path = SaveAs("schutz.ktx");
    if (GetParam().saveAs)
        Main().OnNewDocument();
    MakeEdit();
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_TRUE(mox::test::NonRootUser::OpenToAll(m_Dir));
    const std::vector<char> before = ReadFile(path);
    bool ok = true;
    {
        mox::test::NonRootUser user;
        ASSERT_TRUE(user.Ok());
        if (GetParam().saveAs) {
            Choose(QString::fromStdString(path));
            Answer(mtxt::kOverwrite, mb::kIdYes);
            ok = Main().OnSaveAsDocument();
        } else {
            ok = Main().OnSaveDocument();
        }
    }
    EXPECT_FALSE(ok);
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back().textId, mtxt::kSaveFailed);
    EXPECT_EQ(Boxes().back().flags, mb::kOk | mb::kIconStop);
    // With the reason: not written, the old file kept.
    EXPECT_TRUE(Boxes().back().text.contains(Main().GetRes()->GetQText(1083)));
    EXPECT_EQ(ReadFile(path), before);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_TRUE(Main().GetDoc()->IsModified());
    // Nothing of the attempt is left beside it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_Dir))
        files += entry.path().filename().string().find("schutz") != std::string::npos;
    EXPECT_EQ(files, 1);
}

INSTANTIATE_TEST_SUITE_P(Commands, SaveOverProtected,
                         testing::Values(ProtectedRow{"Save", false}, ProtectedRow{"SaveAs", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The save question before new: Yes saves, No drops, Cancel stays.
struct QuestionRow {
    const char* name;
    int answer;
    const char* saveAsChoice; // nullptr: the dialog is cancelled
    bool newDocument;         // the command went on
    bool fileWritten;
};

void PrintTo(const QuestionRow& r, std::ostream* os) {
    *os << r.name;
}

class SaveQuestion : public MainDocumentTest, public testing::WithParamInterface<QuestionRow> {};

TEST_P(SaveQuestion, BeforeNew) {
    const QuestionRow& r = GetParam();
    MakeWindow();
    MakeEdit();
    const std::uint16_t edited = Main().GetDoc()->GetTuerrufdauer();
    Answer(mtxt::kAskSave, r.answer);
    if (r.saveAsChoice)
        Choose(QPathOf(r.saveAsChoice));
    Main().OnNewDocument();
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes()[0].textId, mtxt::kAskSave);
    EXPECT_EQ(Boxes()[0].flags, mb::kYesNoCancel | mb::kIconQuestion);
    EXPECT_EQ(Boxes()[0].caption, Main().GetRes()->GetQText(1002));
    EXPECT_EQ(Main().GetDoc()->GetTuerrufdauer() != edited, r.newDocument);
    EXPECT_EQ(std::filesystem::exists(PathOf("q.ktx")), r.fileWritten);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SaveQuestion,
    testing::Values(QuestionRow{"YesSaves", mb::kIdYes, "q.ktx", true, true},
                    // Yes with the name dialog cancelled: nothing is on disk,
                    // so the edits must not be dropped.
                    QuestionRow{"YesButNameCancelled", mb::kIdYes, nullptr, false, false},
                    QuestionRow{"NoDrops", mb::kIdNo, nullptr, true, false},
                    QuestionRow{"CancelStays", mb::kIdCancel, nullptr, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainDocumentTest, YesWithAFailingSaveStops) {
    MakeWindow();
    SaveAs("e.ktx");
    MakeEdit();
    const std::uint16_t edited = Main().GetDoc()->GetTuerrufdauer();
    FullDisk disk;
    Main().GetDoc()->SetFileSystem(&disk);
    Answer(mtxt::kAskSave, mb::kIdYes);
    Main().OnNewDocument();
    Main().GetDoc()->SetFileSystem(nullptr);
    // The edits are not on disk, so they must not be dropped.
    EXPECT_EQ(BoxIds(), (std::vector<int>{mtxt::kAskSave, mtxt::kSaveFailed}));
    EXPECT_EQ(Main().GetDoc()->GetTuerrufdauer(), edited);
    EXPECT_TRUE(Main().GetDoc()->IsModified());
}

TEST_F(MainDocumentTest, CloseWithAFailingSaveKeepsTheWindow) {
    MakeWindow();
    SaveAs("h.ktx");
    MakeEdit();
    FullDisk disk;
    Main().GetDoc()->SetFileSystem(&disk);
    Answer(mtxt::kAskSave, mb::kIdYes);
    EXPECT_FALSE(TryClose());
    Main().GetDoc()->SetFileSystem(nullptr);
}

TEST_F(MainDocumentTest, CloseAsksAndCancelKeepsTheWindow) {
    MakeWindow();
    MakeEdit();
    Answer(mtxt::kAskSave, mb::kIdCancel);
    EXPECT_FALSE(TryClose());
    Answer(mtxt::kAskSave, mb::kIdNo);
    EXPECT_TRUE(TryClose());
}

TEST_F(MainDocumentTest, RefusingPageBlocksCloseNewAndOpen) {
    RegisterRecordingPage(eSystemKonfig);
    MakeWindow();
    ASSERT_TRUE(Select(eSystemKonfig));
    RecordingPage* page = AktPage();
    ASSERT_NE(page, nullptr);
    page->refuseClose = true;
    EXPECT_FALSE(TryClose());
    const TMoxDocument* before = Main().GetDoc();
    Main().OnNewDocument();
    Main().OnOpenDocument();
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(Main().GetAktView(), page);
    EXPECT_EQ(Main().GetDoc(), before);
    // Nor may the tree leave it.
    EXPECT_TRUE(Select(eGeraeteliste));
    EXPECT_EQ(Main().GetAktView(), page);
    EXPECT_EQ(Main().GetNodeKind(), eSystemKonfig);
    page->refuseClose = false;
}

TEST_F(MainDocumentTest, PageEditsReachTheDocumentOnSwitchAndOnSave) {
    RegisterRecordingPage(eSystemKonfig);
    MakeWindow();
    ASSERT_TRUE(Select(eSystemKonfig));
    AktPage()->value = 142;
    ASSERT_TRUE(Select(eGeraeteliste));
    EXPECT_EQ(Main().GetDoc()->GetTuerrufdauer(), 142);

    ASSERT_TRUE(Select(eSystemKonfig));
    EXPECT_EQ(AktPage()->value, 142); // loaded again from the document
    AktPage()->value = 143;
    const std::string path = SaveAs("f.ktx");
    Main().OnNewDocument();
    Choose(QString::fromStdString(path));
    Main().OnOpenDocument();
    EXPECT_EQ(Main().GetDoc()->GetTuerrufdauer(), 143);
}

TEST_F(MainDocumentTest, NewDocumentIsUnnamedAndClean) {
    MakeWindow();
    SaveAs("g.ktx");
    Main().OnNewDocument();
    EXPECT_TRUE(Main().GetDoc()->IsUnnamed());
    EXPECT_FALSE(Main().GetDoc()->IsModified());
    EXPECT_TRUE(Main().GetStatusText().contains(Main().GetRes()->GetQText(1000)));
}

TEST_F(MainDocumentTest, RecentEntryOpensItsFile) {
    MakeWindow();
    TMoxDocument* doc = Main().GetDoc();
    MakeEdit();
    const std::uint16_t edited = doc->GetTuerrufdauer();
    const std::string one = SaveAs("one.ktx");
    Main().OnNewDocument();
    const std::string two = SaveAs("two.ktx");
    ASSERT_EQ(Main().GetRecentFiles()->GetEntry(1), one);
    // A click on the second entry moves it up and opens it.
    Main().GetRecentFiles()->EntryAction(1)->trigger();
    EXPECT_STREQ(doc->GetFileName(), one.c_str());
    EXPECT_EQ(doc->GetTuerrufdauer(), edited);
    EXPECT_EQ(Main().GetRecentFiles()->GetEntry(0), one);
    EXPECT_EQ(Main().GetRecentFiles()->GetEntry(1), two);
}

TEST_F(MainDocumentTest, RecentEntryOfAMissingFileSaysSo) {
    MakeWindow();
    const std::string gone = SaveAs("gone.ktx");
    Main().OnNewDocument();
    std::filesystem::remove(gone);
    Main().GetRecentFiles()->EntryAction(0)->trigger();
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kFileMissing});
}

TEST_F(MainDocumentTest, RecentListIsKeptInTheSettings) {
    MakeWindow();
    const std::string path = SaveAs("keep.ktx");
    m_pMain.reset();
    MakeWindow();
    EXPECT_EQ(Main().GetRecentFiles()->GetEntry(0), path);
}

} // namespace
