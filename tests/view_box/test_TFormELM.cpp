// The event-listing page: reading and decoding the dump, saving and opening
// listings, the unsaved-listing questions and the temporary files.

#include "BoxPageFixture.h"

#include "DumpBuilder.h"
#include "EventLogDecoder.h"
#include "MoxQString.h"
#include "NonRootUser.h"
#include "TFormELM.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/stat.h>

using mox::test::Cat;
using mox::test::DumpBuilder;
using mox::test::Int32;
using mox::test::Text;

namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& p, const std::string& s) {
    std::ofstream(p, std::ios::binary) << s;
}

std::vector<std::uint8_t> ToVector(const DumpBuilder& b) {
    return std::vector<std::uint8_t>(b.Get().begin(), b.Get().end());
}

std::vector<std::uint8_t> DumpWithEvents() {
    DumpBuilder b;
    b.Header(0, 0x00).Header(1, 0xFF);
    b.Record(0, 1, 18000).Record(0, 14, 1286723410, Text("T\xFCr auf"));
    return ToVector(b);
}

std::vector<std::uint8_t> EmptyDump() {
    return std::vector<std::uint8_t>(TFormELM::kDumpSize, 0xFF);
}

// The listing the decoder makes of the dump, as bytes.
std::string ListingOf(const std::vector<std::uint8_t>& bytes) {
    mox::EventLogDecoder decoder({});
    mox::EventLogDecoder::Dump dump{};
    std::copy(bytes.begin(), bytes.end(), dump.begin());
    std::string listing;
    EXPECT_TRUE(decoder.Decode(dump, listing));
    return listing;
}

int TempFilesIn(const std::filesystem::path& dir) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        n += name.rfind("tmpA", 0) == 0 || name.rfind("tmpB", 0) == 0;
    }
    return n;
}

} // namespace

class FormELM : public BoxPageTest {
protected:
    void SetUp() override {
        BoxPageTest::SetUp();
        // The page's temporary files go to the test's own folder.
        const char* old = std::getenv("TMPDIR");
        m_OldTmp = old ? old : "";
        m_bHadTmp = old != nullptr;
        m_TmpDir = m_Dir / "tmp";
        std::filesystem::create_directory(m_TmpDir);
        setenv("TMPDIR", m_TmpDir.c_str(), 1);
    }
    void TearDown() override {
        if (m_bHadTmp)
            setenv("TMPDIR", m_OldTmp.c_str(), 1);
        else
            unsetenv("TMPDIR");
        BoxPageTest::TearDown();
    }
    TFormELM* Page() { return MakeTransferPage<TFormELM>(eEventLogELM); }
    QString Path(const std::string& name) const {
        return QString::fromStdString(TempFile(name).string());
    }
    QString Listing(TFormELM* page) {
        return Find<QPlainTextEdit>(page, "m_pELMRichText")->toPlainText();
    }
    QString Status(TFormELM* page) { return Find<QLabel>(page, "m_szStatus")->text(); }
    QPushButton* SaveBtn(TFormELM* page) { return Find<QPushButton>(page, "m_pSaveAsBtn"); }
    // Reads the events of DumpWithEvents into the page.
    void ReadEvents(TFormELM* page) {
        m_Transfer.dump = DumpWithEvents();
        Find<QPushButton>(page, "m_pDownloadBtn")->click();
    }

    std::filesystem::path m_TmpDir;
    std::string m_OldTmp;
    bool m_bHadTmp = false;
};

TEST_F(FormELM, StartsEmptyWithTheSaveButtonOff) {
    auto* page = Page();
    EXPECT_TRUE(Find<QPushButton>(page, "m_pDownloadBtn")->isEnabled());
    EXPECT_FALSE(SaveBtn(page)->isEnabled());
    EXPECT_TRUE(Listing(page).isEmpty());
    EXPECT_TRUE(Find<QPlainTextEdit>(page, "m_pELMRichText")->isReadOnly());
    EXPECT_FALSE(page->IsUnsaved());
}

TEST_F(FormELM, ReadShowsTheDecodedListing) {
    auto* page = Page();
    ReadEvents(page);
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{7});
    EXPECT_EQ(m_Transfer.lengths, std::vector<std::uint32_t>{16384});
    QString expected = MoxToQString(ListingOf(DumpWithEvents()));
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    expected.chop(1);
    EXPECT_EQ(Listing(page), expected);
    // One line per event.
    EXPECT_EQ(Listing(page).count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(SaveBtn(page)->isEnabled());
    EXPECT_TRUE(page->IsUnsaved());
    // The decoder's own progress is the last word in the status line.
    EXPECT_NE(Status(page), Res()->GetQText(133));
    EXPECT_NE(Status(page), Res()->GetQText(125));
    // Both temporary files are gone once the listing is shown.
    EXPECT_EQ(TempFilesIn(m_TmpDir), 0);
}

TEST_F(FormELM, DumpWithoutEventsKeepsTheListing) {
    auto* page = Page();
    ReadEvents(page);
    const QString before = Listing(page);
    m_Transfer.dump = EmptyDump();
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    EXPECT_EQ(Listing(page), before);
    EXPECT_TRUE(SaveBtn(page)->isEnabled());
    EXPECT_TRUE(Status(page).contains(QStringLiteral("keine Informationen")));
    EXPECT_EQ(TempFilesIn(m_TmpDir), 0);
}

TEST_F(FormELM, FailedReadShowsText133) {
    m_Transfer.result = 2;
    auto* page = Page();
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    EXPECT_EQ(Status(page), Res()->GetQText(133));
    EXPECT_TRUE(Listing(page).isEmpty());
    EXPECT_FALSE(SaveBtn(page)->isEnabled());
    EXPECT_EQ(TempFilesIn(m_TmpDir), 0);
}

TEST_F(FormELM, NoTemporaryFolderStopsBeforeTheTransfer) {
    auto* page = Page();
    setenv("TMPDIR", (m_Dir / "no-such-folder").c_str(), 1);
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    EXPECT_EQ(Status(page), QStringLiteral("Could not create temporary filename1\n"));
    EXPECT_TRUE(m_Transfer.runs.empty());
}

TEST_F(FormELM, SavedListingHasTheDecoderBytes) {
    auto* page = Page();
    ReadEvents(page);
    m_DialogAnswers.push_back(Path("events"));
    SaveBtn(page)->click();
    EXPECT_EQ(ReadAll(TempFile("events.log")), ListingOf(DumpWithEvents()));
    EXPECT_FALSE(page->IsUnsaved());
}

// Under the usual umask a saved listing gets the rights a plain create
// gives it; a file it replaces keeps its own.
struct ModeRow {
    const char* name;
    bool existing;
    mode_t mode;
};

class FormELMMode : public FormELM, public testing::WithParamInterface<ModeRow> {};

TEST_P(FormELMMode, TheListingHasTheRightsOfAPlainCreate) {
    const ModeRow& row = GetParam();
    if (row.existing) {
        WriteBytes(TempFile("rights.log"), "older");
        ASSERT_EQ(::chmod(TempFile("rights.log").c_str(), 0640), 0);
        m_Answers.push_back(mb::kIdYes);
    }
    auto* page = Page();
    ReadEvents(page);
    m_DialogAnswers.push_back(Path("rights.log"));
    const mode_t old = ::umask(022);
    SaveBtn(page)->click();
    ::umask(old);
    ASSERT_EQ(ReadAll(TempFile("rights.log")), ListingOf(DumpWithEvents()));
    struct stat st {};
    ASSERT_EQ(::stat(TempFile("rights.log").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, row.mode);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormELMMode,
                         testing::Values(ModeRow{"New", false, 0644},
                                         ModeRow{"Replaced", true, 0640}),
                         [](const auto& info) { return std::string(info.param.name); });

struct OverwriteRow {
    const char* name;
    int answer;
    bool written;
    const char* typed; // the name given in the dialog for "old.log"
};

class FormELMOverwrite : public FormELM, public testing::WithParamInterface<OverwriteRow> {};

TEST_P(FormELMOverwrite, ExistingTargetIsAskedFor) {
    auto* page = Page();
    ReadEvents(page);
    WriteBytes(TempFile("old.log"), "old");
    m_DialogAnswers.push_back(Path(GetParam().typed));
    m_Answers.push_back(GetParam().answer);
    SaveBtn(page)->click();
    // The page asks once, itself; the file dialog must not ask as well.
    EXPECT_EQ(BoxIds(), std::vector<int>{33});
    ASSERT_EQ(m_Dialogs.size(), 1u);
    EXPECT_FALSE(m_Dialogs[0].confirmOverwrite);
    EXPECT_EQ(m_Dialogs[0].title, Res()->GetQText(123));
    EXPECT_EQ(m_Dialogs[0].defaultExtension, QStringLiteral("log"));
    EXPECT_EQ(ReadAll(TempFile("old.log")) != "old", GetParam().written);
    EXPECT_EQ(page->IsUnsaved(), !GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormELMOverwrite,
    testing::Values(OverwriteRow{"Yes", mb::kIdYes, true, "old.log"},
                    OverwriteRow{"No", mb::kIdNo, false, "old.log"},
                    // The page writes "old.log" for "old".
                    OverwriteRow{"NoWithoutExtension", mb::kIdNo, false, "old"}),
    [](const testing::TestParamInfo<OverwriteRow>& info) { return std::string(info.param.name); });

// A listing file the installer has protected (0444, in a folder they may
// write) is not replaced, and the listing stays unsaved. Root may write any
// file, so the save runs as a user who is not root.
TEST_F(FormELM, ProtectedFileIsNotReplaced) {
    auto* page = Page();
    ReadEvents(page);
    WriteBytes(TempFile("old.log"), "old");
    ASSERT_EQ(::chmod(TempFile("old.log").c_str(), 0444), 0);
    ASSERT_TRUE(mox::test::NonRootUser::OpenToAll(m_Dir));
    m_DialogAnswers.push_back(Path("old"));
    m_Answers.push_back(mb::kIdYes);
    {
        mox::test::NonRootUser user;
        ASSERT_TRUE(user.Ok());
        SaveBtn(page)->click();
    }
    EXPECT_EQ(BoxIds(), (std::vector<int>{33, 125}));
    EXPECT_EQ(ReadAll(TempFile("old.log")), "old");
    EXPECT_TRUE(page->IsUnsaved());
}

TEST_F(FormELM, OpenShowsAListingUnchanged) {
    WriteBytes(TempFile("saved.log"), "  1 first line\r\n  2 zweite Zeile \xE4\r\n");
    auto* page = Page();
    m_DialogAnswers.push_back(Path("saved.log"));
    Find<QPushButton>(page, "m_pOpenFileBtn")->click();
    EXPECT_EQ(Listing(page), QStringLiteral("  1 first line\n  2 zweite Zeile \u00e4"));
    EXPECT_TRUE(SaveBtn(page)->isEnabled());
    EXPECT_FALSE(page->IsUnsaved());
    EXPECT_EQ(m_Dialogs.at(0).kind, TFileDialog::Kind::Open);
    EXPECT_EQ(m_Dialogs.at(0).title, Res()->GetQText(129));
    EXPECT_FALSE(m_Dialogs.at(0).title.isEmpty());
}

TEST_F(FormELM, OpeningAnEmptyFileTurnsTheSaveButtonOff) {
    WriteBytes(TempFile("saved.log"), "x\r\n");
    WriteBytes(TempFile("empty.log"), "");
    auto* page = Page();
    m_DialogAnswers.push_back(Path("saved.log"));
    Find<QPushButton>(page, "m_pOpenFileBtn")->click();
    m_DialogAnswers.push_back(Path("empty.log"));
    Find<QPushButton>(page, "m_pOpenFileBtn")->click();
    EXPECT_TRUE(Listing(page).isEmpty());
    EXPECT_FALSE(SaveBtn(page)->isEnabled());
}

TEST_F(FormELM, OpenAfterYesSavesFirstAndStaysUnsaved) {
    WriteBytes(TempFile("other.log"), "other\r\n");
    auto* page = Page();
    ReadEvents(page);
    m_Answers.push_back(mb::kIdYes);
    m_DialogAnswers.push_back(Path("first.log"));
    m_DialogAnswers.push_back(Path("other.log"));
    Find<QPushButton>(page, "m_pOpenFileBtn")->click();

    EXPECT_EQ(BoxIds(), std::vector<int>{132});
    EXPECT_EQ(m_Boxes[0].flags & mb::kButtonMask, mb::kYesNoCancel);
    EXPECT_EQ(ReadAll(TempFile("first.log")), ListingOf(DumpWithEvents()));
    EXPECT_EQ(Listing(page), QStringLiteral("other"));
    EXPECT_TRUE(page->IsUnsaved());
    EXPECT_TRUE(SaveBtn(page)->isEnabled());
}

TEST_F(FormELM, OpenAfterYesWithCancelledSaveStops) {
    WriteBytes(TempFile("other.log"), "other\r\n");
    auto* page = Page();
    ReadEvents(page);
    const QString before = Listing(page);
    m_Answers.push_back(mb::kIdYes);
    m_DialogAnswers.push_back(QString());
    Find<QPushButton>(page, "m_pOpenFileBtn")->click();
    EXPECT_EQ(m_Dialogs.size(), 1u);
    EXPECT_EQ(Listing(page), before);
    EXPECT_TRUE(page->IsUnsaved());
}

TEST_F(FormELM, OpenAfterNoForgetsTheListing) {
    WriteBytes(TempFile("other.log"), "other\r\n");
    auto* page = Page();
    ReadEvents(page);
    m_Answers.push_back(mb::kIdNo);
    m_DialogAnswers.push_back(Path("other.log"));
    Find<QPushButton>(page, "m_pOpenFileBtn")->click();
    EXPECT_EQ(Listing(page), QStringLiteral("other"));
    EXPECT_FALSE(page->IsUnsaved());
    EXPECT_EQ(m_Dialogs.size(), 1u);
}

TEST_F(FormELM, OpenAfterCancelDoesNothing) {
    auto* page = Page();
    ReadEvents(page);
    const QString before = Listing(page);
    m_Answers.push_back(mb::kIdCancel);
    Find<QPushButton>(page, "m_pOpenFileBtn")->click();
    EXPECT_TRUE(m_Dialogs.empty());
    EXPECT_EQ(Listing(page), before);
    EXPECT_TRUE(page->IsUnsaved());
}

TEST_F(FormELM, LeavingWithAnUnsavedListingOffersTheSaveOnce) {
    auto* page = Page();
    ReadEvents(page);
    m_DialogAnswers.push_back(QString()); // cancelled
    EXPECT_TRUE(page->CloseQuery());
    EXPECT_EQ(m_Dialogs.size(), 1u);
    EXPECT_EQ(m_Dialogs[0].kind, TFileDialog::Kind::Save);
    EXPECT_FALSE(page->IsUnsaved());
    EXPECT_TRUE(page->CloseQuery());
    EXPECT_EQ(m_Dialogs.size(), 1u);
}

TEST_F(FormELM, LeavingASavedListingAsksNothing) {
    auto* page = Page();
    ReadEvents(page);
    m_DialogAnswers.push_back(Path("kept.log"));
    SaveBtn(page)->click();
    EXPECT_TRUE(page->CloseQuery());
    EXPECT_EQ(m_Dialogs.size(), 1u);
}
