// The ".ktx" document file: the naming rule, which files are accepted, the
// byte-exact round trip, the safe save and what a failed open or save leaves.

#include <csignal>
#include <cstddef>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ostream>

#include "DocTestSupport.h"
#include "MoxAccess.h"
#include "PermSettings.h"

namespace {

// ----------------------------------------------------------------- naming rule

struct NamingRow {
    const char* name;
    const char* input;
    const char* expected;

    friend void PrintTo(const NamingRow& row, std::ostream* os) { *os << row.name; }
};

class NamingRule : public ::testing::TestWithParam<NamingRow> {};

TEST_P(NamingRule, AppendsKtxUnlessKtxOrDefEnds) {
    EXPECT_EQ(TMoxDocument::ApplyNamingRule(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NamingRule,
    ::testing::Values(NamingRow{"KtxKept", "anlage.ktx", "anlage.ktx"},
                      NamingRow{"UpperKtxIsNotKtx", "anlage.KTX", "anlage.KTX.ktx"},
                      NamingRow{"DefKept", "mox.def", "mox.def"},
                      NamingRow{"UpperDefIsNotDef", "mox.DEF", "mox.DEF.ktx"},
                      NamingRow{"ShortName", "a", "a.ktx"},
                      NamingRow{"ThreeChars", "ktx", "ktx.ktx"},
                      NamingRow{"OnlyTheExtension", ".ktx", ".ktx"}, NamingRow{"Empty", "", ".ktx"},
                      NamingRow{"OtherExtension", "anlage.txt", "anlage.txt.ktx"},
                      NamingRow{"KtxInsideThePath", "dir.ktx/anlage", "dir.ktx/anlage.ktx"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NamingRuleNull, NullNameGetsOnlyTheExtension) {
    EXPECT_EQ(TMoxDocument::ApplyNamingRule(nullptr), ".ktx");
}

// ----------------------------------------------------------------- helpers

// A configuration far from the defaults, touching every section.
void FillConfiguration(TMoxDocument& doc) {
    doc.SetTypeIT(eIT_Pello);
    doc.SetTypeRAK(eRAK_Large);
    doc.SetTypeKMR(1);
    doc.SetRnr("0301234567");
    doc.SetConciergeAktiv(1);
    doc.SetConciergeRnr("0815");
    doc.SetTuerrufdauer(600);
    doc.SetPegelKommend(-6.0);
    doc.SetPegelGehend(10.5);
    doc.SetTuerrufText(0, "Haust\xFCr vorne");
    doc.SetTlnRnr(30, "0171999");
    doc.SetTlnVideo(3, 1);
    doc.SetPGPin(4, "1234");
    doc.SetPGEinwahl(4, 1);
    doc.SetMeldeeingangsText(11, "Fenster K\xFC"
                                 "che");
    doc.SetRAKAusgangMode(5, eModeSchaltAusgangVideo, 3);
    doc.SetSMSProvider(9, "Anbieter");
    doc.SetSMSRnr(9, "0190123");
    doc.SetSMSProtokoll(9, 2);
    doc.SetKMRHelligkeit(77);
    doc.SetBSMRelaisText(2, "Garage");
}

std::vector<std::uint8_t> DefaultImage() {
    auto pData = std::make_unique<MoxDaten>();
    MoxInitDaten(pData.get());
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(pData.get(), image.data());
    return image;
}

// ----------------------------------------------------------------- file lengths

struct LengthRow {
    const char* name;
    size_t size;
    bool accepted;
    eDocFileResult result;

    friend void PrintTo(const LengthRow& row, std::ostream* os) { *os << row.name; }
};

class FileLength : public DocTest, public ::testing::WithParamInterface<LengthRow> {};

TEST_P(FileLength, OnlyExactly32768BytesAreADocument) {
    std::vector<std::uint8_t> bytes = DefaultImage();
    bytes.resize(GetParam().size, 0xFF);
    WriteBytes(Path("f.ktx"), bytes);

    auto doc = MakeDoc();
    doc->SetRnr("4711"); // something to lose
    EXPECT_EQ(doc->OpenDocument(Path("f.ktx").c_str()), GetParam().accepted);
    EXPECT_EQ(doc->GetLastFileResult(), GetParam().result);
    char rnr[32];
    doc->GetRnr(rnr, sizeof rnr);
    if (GetParam().accepted) {
        EXPECT_STREQ(rnr, "");
        EXPECT_FALSE(doc->IsModified());
        EXPECT_STREQ(doc->GetFileName(), Path("f.ktx").c_str());
    } else {
        EXPECT_STREQ(rnr, "4711");
        EXPECT_TRUE(doc->IsModified());
        EXPECT_TRUE(doc->IsUnnamed());
        EXPECT_EQ(doc->GetLastFileErrorTextId(), kDocTextFileWrongLength);
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, FileLength,
                         ::testing::Values(LengthRow{"Empty", 0, false, eDocFileWrongLength},
                                           LengthRow{"OneByte", 1, false, eDocFileWrongLength},
                                           LengthRow{"OneShort", 32767, false, eDocFileWrongLength},
                                           LengthRow{"Exact", 32768, true, eDocFileOk},
                                           LengthRow{"OneOver", 32769, false, eDocFileWrongLength},
                                           LengthRow{"Double", 65536, false, eDocFileWrongLength}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocTest, FileOfZerosReadsAsTheDefaults) {
    WriteBytes(Path("zeros.ktx"), std::vector<std::uint8_t>(32768, 0));
    auto doc = MakeDoc();
    doc->SetTypeIT(eIT_Quarz);
    ASSERT_TRUE(doc->OpenDocument(Path("zeros.ktx").c_str()));
    EXPECT_EQ(doc->GetTypeIT(), eIT_Nivo);
    EXPECT_EQ(doc->GetTuerrufannahme(), 40);
}

TEST_F(DocTest, FolderAndMissingFileAreRefused) {
    auto doc = MakeDoc();
    EXPECT_FALSE(doc->OpenDocument(Path("missing.ktx").c_str()));
    EXPECT_EQ(doc->GetLastFileResult(), eDocFileCannotOpen);
    EXPECT_EQ(doc->GetLastFileErrorTextId(), kDocTextFileUnreadable);
    ASSERT_EQ(::mkdir(Path("dir.ktx").c_str(), 0755), 0);
    EXPECT_FALSE(doc->OpenDocument(Path("dir.ktx").c_str()));
    EXPECT_EQ(doc->GetLastFileResult(), eDocFileCannotOpen);
}

// ----------------------------------------------------------------- malformed images

struct MalformedRow {
    const char* name;
    size_t offset;
    std::vector<std::uint8_t> bytes; // placed at offset into a file of zeros

    friend void PrintTo(const MalformedRow& row, std::ostream* os) { *os << row.name; }
};

class MalformedFile : public DocTest, public ::testing::WithParamInterface<MalformedRow> {};

TEST_P(MalformedFile, IsRefusedAndTheDocumentStaysAsItWas) {
    std::vector<std::uint8_t> file(32768, 0);
    std::copy(GetParam().bytes.begin(), GetParam().bytes.end(),
              file.begin() + static_cast<long>(GetParam().offset));
    WriteBytes(Path("bad.ktx"), file);

    auto doc = MakeDoc();
    FillConfiguration(*doc);
    ASSERT_TRUE(doc->WriteDocument(Path("mine.ktx").c_str(), false));
    doc->SetRnr("4711");
    // The record's bytes from its first field on (the stream before it is
    // the document's scratch).
    const auto fields = [&] {
        const auto* p = reinterpret_cast<const std::uint8_t*>(doc->GetDaten());
        return std::vector<std::uint8_t>(p + offsetof(MoxDaten, Land), p + sizeof(MoxDaten));
    };
    const std::vector<std::uint8_t> before = fields();

    EXPECT_FALSE(doc->OpenDocument(Path("bad.ktx").c_str()));
    EXPECT_EQ(doc->GetLastFileResult(), eDocFileDamaged);
    EXPECT_EQ(doc->GetLastFileErrorTextId(), kDocTextFileDamaged);
    EXPECT_STREQ(doc->GetFileName(), Path("mine.ktx").c_str());
    EXPECT_FALSE(doc->IsUnnamed());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(fields(), before);
    EXPECT_EQ(m_MainFrame.refreshes, 0);
}

INSTANTIATE_TEST_SUITE_P(Images, MalformedFile,
                         ::testing::Values(
                             // Tag 2 announcing 1024 bytes: no item of an image is that long.
                             MalformedRow{"LengthOf1024", 0, {0x02, 0x84, 0x00}},
                             // Tag 2 announcing 5 bytes where only 0 remain.
                             MalformedRow{"ItemRunsPastTheEnd", 32766, {0x02, 0x05}},
                             // A tag of six bytes.
                             MalformedRow{"TagTooLong", 0, {0x81, 0x81, 0x81, 0x81, 0x81, 0x01}},
                             // Concierge record of 4 bytes whose sub-item claims 5.
                             MalformedRow{"SubItemCrossesItsRecord",
                                          0,
                                          {0x8A, 0x00, 0x80, 0x04, 0x03, 0x05, 0x12, 0x34}},
                             // A record cut short by the end marker 0xFF.
                             MalformedRow{"EndMarkerInsideARecord",
                                          0,
                                          {0x8A, 0x00, 0x80, 0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}),
                         [](const auto& info) { return std::string(info.param.name); });

// ----------------------------------------------------------------- round trip

TEST_F(DocTest, WriteReadWriteIsByteIdentical) {
    auto doc = MakeDoc();
    FillConfiguration(*doc);
    ASSERT_TRUE(doc->WriteDocument(Path("a.ktx").c_str(), false));
    EXPECT_FALSE(doc->IsModified());
    const std::vector<std::uint8_t> first = ReadBytes(Path("a.ktx"));
    ASSERT_EQ(first.size(), 32768u);

    auto again = MakeDoc();
    ASSERT_TRUE(again->OpenDocument(Path("a.ktx").c_str()));
    EXPECT_EQ(again->GetTypeIT(), eIT_Pello);
    EXPECT_DOUBLE_EQ(again->GetPegelGehend(), 10.5);
    ASSERT_TRUE(again->WriteDocument(Path("b.ktx").c_str(), false));
    EXPECT_EQ(ReadBytes(Path("b.ktx")), first);
}

TEST_F(DocTest, OpenTakesTheFileLanguageIntoTheSettingsAndRefreshes) {
    auto doc = MakeDoc();
    doc->SetSprache(eSpracheItalienisch);
    ASSERT_TRUE(doc->WriteDocument(Path("it.ktx").c_str(), false));
    SetPermSprache(eSpracheDeutsch);
    const int before = m_MainFrame.refreshes;

    auto other = MakeDoc();
    ASSERT_TRUE(other->OpenDocument(Path("it.ktx").c_str()));
    EXPECT_EQ(GetPermSprache(), eSpracheItalienisch);
    EXPECT_EQ(m_MainFrame.refreshes, before + 1);
}

// ----------------------------------------------------------------- mox.def

TEST(MoxDef, IsTheDocumentFileOfTheDefaultRecord) {
    const std::vector<std::uint8_t> moxdef = ReadBytes(std::string(MOX_BIN_DIR) + "/res/mox.def");
    ASSERT_EQ(moxdef.size(), 32768u) << "mox.def is made at build time into bin/res";
    // Composed by hand from the encoding rules, not by the program.
    EXPECT_EQ(moxdef, ReadHexFixture(std::string(MOX_TEST_DATA_DIR) + "/default_image.hex", 32768));
}

TEST_F(DocTest, DefaultsOpenUnnamedAndWriteBackUnchanged) {
    const std::string moxdef = std::string(MOX_BIN_DIR) + "/res/mox.def";
    auto doc = MakeDoc();
    ASSERT_TRUE(doc->OpenDefaults(moxdef.c_str()));
    EXPECT_TRUE(doc->IsUnnamed());
    EXPECT_FALSE(doc->Write()) << "a save of the defaults must ask for a name";
    ASSERT_TRUE(doc->WriteDocument(Path("copy.ktx").c_str(), false));
    EXPECT_EQ(ReadBytes(Path("copy.ktx")), ReadBytes(moxdef));
}

// ----------------------------------------------------------------- failed saves

struct FailRow {
    const char* name;
    bool readOnlyFolder;
    long failAfterBytes;
    bool failFsync;
    bool failRename;

    friend void PrintTo(const FailRow& row, std::ostream* os) { *os << row.name; }
};

class FailedSave : public DocTest, public ::testing::WithParamInterface<FailRow> {};

TEST_P(FailedSave, KeepsTheOldFileAndTheDocumentModified) {
    auto doc = MakeDoc();
    ASSERT_TRUE(doc->WriteDocument(Path("anlage.ktx").c_str(), false));
    const std::vector<std::uint8_t> old = ReadBytes(Path("anlage.ktx"));
    const std::vector<std::string> filesBefore = ListDir(m_Dir);

    FailingFileSystem fs;
    if (GetParam().readOnlyFolder)
        fs.readOnlyDir = m_Dir;
    fs.failAfterBytes = GetParam().failAfterBytes;
    fs.failFsync = GetParam().failFsync;
    fs.failRename = GetParam().failRename;
    doc->SetFileSystem(&fs);

    doc->SetRnr("0301234567");
    ASSERT_TRUE(doc->IsModified());
    EXPECT_FALSE(doc->Write());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetLastFileResult(), eDocFileWriteError);
    EXPECT_EQ(doc->GetLastFileErrorTextId(), kDocTextFileNotSaved);
    EXPECT_NE(doc->GetLastFileErrno(), 0);
    EXPECT_EQ(ReadBytes(Path("anlage.ktx")), old);
    EXPECT_EQ(ListDir(m_Dir).size(), filesBefore.size()) << "no temporary file left behind";

    // Once the disk is well again the same document saves.
    doc->SetFileSystem(nullptr);
    EXPECT_TRUE(doc->Write());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_NE(ReadBytes(Path("anlage.ktx")), old);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedSave,
    ::testing::Values(FailRow{"ReadOnlyFolder", true, -1, false, false},
                      FailRow{"DeviceFullAtOnce", false, 0, false, false},
                      FailRow{"DeviceFailsAfter1000Bytes", false, 1000, false, false},
                      FailRow{"DeviceFailsOneByteShort", false, 32767, false, false},
                      FailRow{"FlushFails", false, -1, true, false},
                      FailRow{"RenameFails", false, -1, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The system itself refusing bytes beyond a file-size limit, not a fake.
TEST_F(DocTest, SaveBeyondTheFileSizeLimitKeepsTheOldFile) {
    auto doc = MakeDoc();
    ASSERT_TRUE(doc->WriteDocument(Path("anlage.ktx").c_str(), false));
    const std::vector<std::uint8_t> old = ReadBytes(Path("anlage.ktx"));
    doc->SetRnr("0301234567");

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 10000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = doc->Write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_EQ(doc->GetLastFileErrno(), EFBIG);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ReadBytes(Path("anlage.ktx")), old);
}

// A real read-only folder; root may write into any folder, so there the
// fake one above stands in for it.
TEST_F(DocTest, SaveIntoAReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    ASSERT_EQ(::mkdir(Path("ro").c_str(), 0755), 0);
    auto doc = MakeDoc();
    ASSERT_TRUE(doc->WriteDocument(Path("ro/anlage.ktx").c_str(), false));
    const std::vector<std::uint8_t> old = ReadBytes(Path("ro/anlage.ktx"));
    ASSERT_EQ(::chmod(Path("ro").c_str(), 0555), 0);
    doc->SetRnr("0301234567");
    EXPECT_FALSE(doc->Write());
    ::chmod(Path("ro").c_str(), 0755);
    EXPECT_EQ(doc->GetLastFileResult(), eDocFileWriteError);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ReadBytes(Path("ro/anlage.ktx")), old);
}

TEST_F(DocTest, SaveAsThatFailsKeepsTheOldName) {
    auto doc = MakeDoc();
    ASSERT_TRUE(doc->WriteDocument(Path("old.ktx").c_str(), false));
    doc->SetRnr("12");
    FailingFileSystem fs;
    fs.failAfterBytes = 0;
    doc->SetFileSystem(&fs);
    EXPECT_FALSE(doc->WriteDocument(Path("new.ktx").c_str(), false));
    EXPECT_STREQ(doc->GetFileName(), Path("old.ktx").c_str());
    EXPECT_FALSE(FileExists(Path("new.ktx")));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocTest, UnnamedDocumentIsNotWrittenUnderItsPlaceholderName) {
    auto doc = MakeDoc();
    EXPECT_TRUE(doc->IsUnnamed());
    EXPECT_STREQ(doc->GetFileName(), "unbenannt.ktx");
    EXPECT_FALSE(doc->Write());
    EXPECT_EQ(doc->GetLastFileResult(), eDocFileNoName);
}

TEST_F(DocTest, SaveKeepsTheAccessRightsOfTheReplacedFile) {
    auto doc = MakeDoc();
    ASSERT_TRUE(doc->WriteDocument(Path("rights.ktx").c_str(), false));
    ASSERT_EQ(::chmod(Path("rights.ktx").c_str(), 0640), 0);
    doc->SetRnr("1");
    ASSERT_TRUE(doc->Write());
    struct stat st {};
    ASSERT_EQ(::stat(Path("rights.ktx").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(DocTest, ANewFileGetsTheRightsOfAPlainCreate) {
    auto doc = MakeDoc();
    const mode_t old = ::umask(022);
    const bool written = doc->WriteDocument(Path("new-rights.ktx").c_str(), false);
    ::umask(old);
    ASSERT_TRUE(written);
    struct stat st {};
    ASSERT_EQ(::stat(Path("new-rights.ktx").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

// ----------------------------------------------------------------- failed opens

TEST_F(DocTest, FailedOpenKeepsContentNameAndModifiedFlag) {
    auto doc = MakeDoc();
    ASSERT_TRUE(doc->WriteDocument(Path("keep.ktx").c_str(), false));
    doc->SetTuerrufannahme(77);
    WriteBytes(Path("short.ktx"), std::vector<std::uint8_t>(100, 0xFF));

    EXPECT_FALSE(doc->OpenDocument(Path("short.ktx").c_str()));
    EXPECT_STREQ(doc->GetFileName(), Path("keep.ktx").c_str());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetTuerrufannahme(), 77);

    // A later save still goes to the document's own file.
    ASSERT_TRUE(doc->Write());
    EXPECT_EQ(ReadBytes(Path("short.ktx")).size(), 100u);
}

// The main window's older order: name the document first, then read it.
TEST_F(DocTest, ReadFailureDropsTheUnreadableFilesName) {
    std::vector<std::uint8_t> precious(32768, 0);
    precious[0] = 0x02;
    precious[1] = 0x84; // malformed
    WriteBytes(Path("precious.ktx"), precious);

    auto doc = MakeDoc();
    ASSERT_TRUE(doc->NewDocument(Path("precious.ktx").c_str()));
    EXPECT_FALSE(doc->ReadDocument());
    EXPECT_TRUE(doc->IsUnnamed());
    EXPECT_STRNE(doc->GetFileName(), Path("precious.ktx").c_str());
    doc->SetRnr("99");
    EXPECT_FALSE(doc->Write());
    EXPECT_EQ(ReadBytes(Path("precious.ktx")), precious);
}

TEST_F(DocTest, ReadDocumentLoadsTheNamedFile) {
    auto writer = MakeDoc();
    writer->SetTuermatik(9);
    ASSERT_TRUE(writer->WriteDocument(Path("r.ktx").c_str(), false));

    auto doc = MakeDoc();
    ASSERT_TRUE(doc->NewDocument(Path("r.ktx").c_str()));
    ASSERT_TRUE(doc->ReadDocument());
    EXPECT_EQ(doc->GetTuermatik(), 9);
    EXPECT_FALSE(doc->IsUnnamed());
    EXPECT_FALSE(doc->IsModified());
}

// ----------------------------------------------------------------- new document

TEST_F(DocTest, NewDocumentTakesTheSettingsAndIsClean) {
    WriteSms("def_nl.sms", "KPN\t0612\tUCP\t-\n");
    SetPermLand(eLV_Niederlande);
    SetPermSprache(eSpracheHollaendisch);
    auto doc = MakeDoc();
    doc->SetTuermatik(9);
    const int before = m_MainFrame.refreshes;

    ASSERT_TRUE(doc->NewDocument());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(doc->IsUnnamed());
    EXPECT_EQ(doc->GetTuermatik(), 3);
    EXPECT_EQ(doc->GetLand(), eLV_Niederlande);
    EXPECT_EQ(doc->GetSprache(), eSpracheHollaendisch);
    char name[16];
    ASSERT_TRUE(doc->GetSMSProvider(0, name, sizeof name));
    EXPECT_STREQ(name, "KPN");
    EXPECT_EQ(doc->GetSMSProtokoll(0), 1);
    EXPECT_EQ(m_MainFrame.refreshes, before + 1);
}

TEST_F(DocTest, ConstructorTakesTheSettingsWithoutMarkingOrRefreshing) {
    WriteSms("def_a.sms", "A1\t0664\tTAP\t-\n");
    SetPermLand(eLV_Oesterreich);
    SetPermSprache(eSpracheEnglisch);
    auto doc = MakeDoc();
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->IsFresh());
    EXPECT_FALSE(doc->IsReadFromBox());
    EXPECT_EQ(doc->GetLand(), eLV_Oesterreich);
    EXPECT_EQ(doc->GetSprache(), eSpracheEnglisch);
    EXPECT_EQ(doc->GetSMSProtokoll(0), 2);
    EXPECT_EQ(m_MainFrame.refreshes, 0);
    EXPECT_EQ(doc->GetWriteState(), TMoxDocument::kWriteStateIdle);
}

TEST_F(DocTest, WriteDocumentAsNewTakesTheSettingsFirst) {
    WriteSms("def_b.sms", "Proximus\t0475\tTAP\t-\n");
    auto doc = MakeDoc();
    SetPermLand(eLV_Belgien);
    ASSERT_TRUE(doc->WriteDocument(Path("neu.ktx").c_str(), true));
    auto again = MakeDoc();
    ASSERT_TRUE(again->OpenDocument(Path("neu.ktx").c_str()));
    EXPECT_EQ(again->GetLand(), eLV_Belgien);
    char name[16];
    again->GetSMSProvider(0, name, sizeof name);
    EXPECT_STREQ(name, "Proximus");
}

} // namespace
