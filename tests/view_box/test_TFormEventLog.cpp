// The event-log page that stores the raw dump: choosing the file, the
// download with its transfer settings, and the file it writes.

#include "BoxPageFixture.h"

#include "BoxFiles.h"
#include "NonRootUser.h"
#include "TFormEventLog.h"

#include <QLabel>
#include <QPushButton>

#include <fstream>
#include <string>

#include <sys/stat.h>

namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::filesystem::path& p, const std::string& s) {
    std::ofstream(p, std::ios::binary) << s;
}

std::vector<std::uint8_t> PatternDump() {
    std::vector<std::uint8_t> dump(TFormEventLog::kDumpSize);
    for (std::size_t i = 0; i < dump.size(); ++i)
        dump[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    return dump;
}

} // namespace

class FormEventLog : public BoxPageTest {
protected:
    TFormEventLog* Page() { return MakeTransferPage<TFormEventLog>(eEventLogLesen); }
    QString Path(const std::string& name) const {
        return QString::fromStdString(TempFile(name).string());
    }
};

struct LinkRow {
    const char* name;
    bool linkUp;
};

class FormEventLogLink : public FormEventLog, public testing::WithParamInterface<LinkRow> {};

TEST_P(FormEventLogLink, DownloadButtonFollowsTheLinkAtCreation) {
    m_Transfer.linkUp = GetParam().linkUp;
    auto* page = Page();
    EXPECT_EQ(Find<QPushButton>(page, "m_pDownloadBtn")->isEnabled(), GetParam().linkUp);
    EXPECT_EQ(Find<QLabel>(page, "m_pFilename")->text(), QStringLiteral("no"));
    // The page does not follow later changes of the link.
    m_Transfer.linkUp = !GetParam().linkUp;
    page->Perform(1030, -1, -1);
    EXPECT_EQ(Find<QPushButton>(page, "m_pDownloadBtn")->isEnabled(), GetParam().linkUp);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormEventLogLink,
                         testing::Values(LinkRow{"Up", true}, LinkRow{"Down", false}),
                         [](const testing::TestParamInfo<LinkRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(FormEventLog, DownloadWithoutAFileStartsNothing) {
    auto* page = Page();
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    EXPECT_EQ(BoxIds(), std::vector<int>{124});
    EXPECT_EQ(m_Boxes[0].flags & mb::kIconMask, mb::kIconStop);
    EXPECT_TRUE(m_Transfer.runs.empty());
}

TEST_F(FormEventLog, ChosenNewFileGetsTheDefaultExtension) {
    auto* page = Page();
    m_DialogAnswers.push_back(Path("dump"));
    Find<QPushButton>(page, "BitBtn1")->click();
    EXPECT_EQ(page->GetFileName(), TempFile("dump.log").string());
    EXPECT_EQ(Find<QLabel>(page, "m_pFilename")->text(), Path("dump.log"));
    EXPECT_TRUE(m_Boxes.empty());
    ASSERT_EQ(m_Dialogs.size(), 1u);
    EXPECT_EQ(m_Dialogs[0].title, Res()->GetQText(123));
    EXPECT_FALSE(m_Dialogs[0].title.isEmpty());
    EXPECT_EQ(m_Dialogs[0].defaultExtension, QStringLiteral("log"));
}

struct ReplaceRow {
    const char* name;
    int answer;
    bool replaced;
    const char* typed; // the name given in the dialog for "old.log"
};

class FormEventLogReplace : public FormEventLog, public testing::WithParamInterface<ReplaceRow> {};

TEST_P(FormEventLogReplace, ExistingFileIsTakenOnlyOnYes) {
    auto* page = Page();
    m_DialogAnswers.push_back(Path("first.log"));
    Find<QPushButton>(page, "BitBtn1")->click();
    WriteText(TempFile("old.log"), "old");
    m_DialogAnswers.push_back(Path(GetParam().typed));
    m_Answers.push_back(GetParam().answer);
    Find<QPushButton>(page, "BitBtn1")->click();

    ASSERT_EQ(BoxIds(), std::vector<int>{33});
    EXPECT_EQ(m_Boxes[0].flags & mb::kButtonMask, mb::kYesNo);
    const std::string expected = TempFile(GetParam().replaced ? "old.log" : "first.log").string();
    EXPECT_EQ(page->GetFileName(), expected);
    EXPECT_EQ(Find<QLabel>(page, "m_pFilename")->text(), QString::fromStdString(expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, FormEventLogReplace,
                         testing::Values(ReplaceRow{"Yes", mb::kIdYes, true, "old.log"},
                                         ReplaceRow{"No", mb::kIdNo, false, "old.log"},
                                         ReplaceRow{"Cancel", mb::kIdCancel, false, "old.log"},
                                         // The page writes "old.log" for "old".
                                         ReplaceRow{"YesWithoutExtension", mb::kIdYes, true, "old"},
                                         ReplaceRow{"NoWithoutExtension", mb::kIdNo, false, "old"}),
                         [](const testing::TestParamInfo<ReplaceRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(FormEventLog, CancelledDialogKeepsTheChoice) {
    auto* page = Page();
    m_DialogAnswers.push_back(Path("keep.log"));
    Find<QPushButton>(page, "BitBtn1")->click();
    m_DialogAnswers.push_back(QString());
    Find<QPushButton>(page, "BitBtn1")->click();
    EXPECT_EQ(page->GetFileName(), TempFile("keep.log").string());
}

TEST_F(FormEventLog, SuccessfulReadWritesTheWholeDump) {
    m_Transfer.dump = PatternDump();
    WriteText(TempFile("log.log"), "an older, shorter file");
    auto* page = Page();
    m_DialogAnswers.push_back(Path("log.log"));
    m_Answers.push_back(mb::kIdYes);
    Find<QPushButton>(page, "BitBtn1")->click();
    Find<QPushButton>(page, "m_pDownloadBtn")->click();

    EXPECT_EQ(m_Transfer.runs, std::vector<int>{7});
    EXPECT_EQ(m_Transfer.lengths, std::vector<std::uint32_t>{16384});
    EXPECT_EQ(m_Transfer.infoText, std::string(Res()->GetText(126)));
    EXPECT_EQ(BoxIds(), (std::vector<int>{33, 127}));
    EXPECT_EQ(m_Boxes[1].flags & mb::kIconMask, mb::kIconInformation);
    const std::string file = ReadAll(TempFile("log.log"));
    ASSERT_EQ(file.size(), 16384u);
    EXPECT_TRUE(
        std::equal(file.begin(), file.end(), m_Transfer.dump.begin(),
                   [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
}

// Under the usual umask the dump gets the rights a plain create gives it;
// a file it replaces keeps its own.
struct ModeRow {
    const char* name;
    bool existing;
    mode_t mode;
};

class FormEventLogMode : public FormEventLog, public testing::WithParamInterface<ModeRow> {};

TEST_P(FormEventLogMode, TheFileHasTheRightsOfAPlainCreate) {
    const ModeRow& row = GetParam();
    m_Transfer.dump = PatternDump();
    if (row.existing) {
        WriteText(TempFile("rights.log"), "older");
        ASSERT_EQ(::chmod(TempFile("rights.log").c_str(), 0640), 0);
        m_Answers.push_back(mb::kIdYes);
    }
    auto* page = Page();
    m_DialogAnswers.push_back(Path("rights.log"));
    Find<QPushButton>(page, "BitBtn1")->click();
    const mode_t old = ::umask(022);
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    ::umask(old);
    ASSERT_EQ(ReadAll(TempFile("rights.log")).size(), 16384u);
    struct stat st {};
    ASSERT_EQ(::stat(TempFile("rights.log").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, row.mode);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormEventLogMode,
                         testing::Values(ModeRow{"New", false, 0644},
                                         ModeRow{"Replaced", true, 0640}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormEventLog, FailedReadStoresNothingAndSaysSo) {
    m_Transfer.result = 2;
    auto* page = Page();
    m_DialogAnswers.push_back(Path("none.log"));
    Find<QPushButton>(page, "BitBtn1")->click();
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{7});
    EXPECT_FALSE(std::filesystem::exists(TempFile("none.log")));
    ASSERT_EQ(BoxIds(), std::vector<int>{133});
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
}

TEST_F(FormEventLog, UnwritableFileIsReported) {
    m_Transfer.dump = PatternDump();
    auto* page = Page();
    m_DialogAnswers.push_back(Path("missing-folder/x.log"));
    Find<QPushButton>(page, "BitBtn1")->click();
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    EXPECT_EQ(BoxIds(), std::vector<int>{125});
    EXPECT_EQ(m_Boxes[0].flags & mb::kIconMask, mb::kIconStop);
}

// A dump file the installer has protected (0444, in a folder they may
// write) is not replaced. Root may write any file, so the read's end runs as
// a user who is not root.
TEST_F(FormEventLog, ProtectedFileIsNotReplaced) {
    m_Transfer.dump = PatternDump();
    WriteText(TempFile("old.log"), "old");
    ASSERT_EQ(::chmod(TempFile("old.log").c_str(), 0444), 0);
    ASSERT_TRUE(mox::test::NonRootUser::OpenToAll(m_Dir));
    auto* page = Page();
    m_DialogAnswers.push_back(Path("old.log"));
    m_Answers.push_back(mb::kIdYes);
    Find<QPushButton>(page, "BitBtn1")->click();
    {
        mox::test::NonRootUser user;
        ASSERT_TRUE(user.Ok());
        Find<QPushButton>(page, "m_pDownloadBtn")->click();
    }
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{7});
    EXPECT_EQ(BoxIds(), (std::vector<int>{33, 125}));
    EXPECT_EQ(m_Boxes[1].flags & mb::kIconMask, mb::kIconStop);
    EXPECT_EQ(ReadAll(TempFile("old.log")), "old");
    struct stat st {};
    ASSERT_EQ(::stat(TempFile("old.log").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
}

TEST_F(FormEventLog, NoControllerLeavesTheDownloadOff) {
    m_Holder = std::make_unique<TNodeData>(eEventLogLesen);
    auto* page = TDataView::Create<TFormEventLog>(m_pOwner.get(), nullptr, m_Holder.get(), Res());
    Keep(page);
    EXPECT_FALSE(Find<QPushButton>(page, "m_pDownloadBtn")->isEnabled());
    m_DialogAnswers.push_back(Path("a.log"));
    Find<QPushButton>(page, "BitBtn1")->click();
    page->OnStartDownload();
    EXPECT_TRUE(m_Transfer.runs.empty());
}
