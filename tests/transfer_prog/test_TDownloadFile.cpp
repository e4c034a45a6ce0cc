// The download-file checks: the header (sign, size, device), the device's
// flash limit, the checksum rule, and the same verdicts from a file on disk
// as from bytes in memory.

#include "DownloadFileGen.h"
#include "TDownloadFile.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using dlgen::Bytes;
using dlgen::DownloadFileRecipe;
using dlgen::MakeDownloadFile;

struct HeaderCase {
    const char* name;
    DownloadFileRecipe recipe;
    std::function<void(Bytes&)> damage;
    eDLFileCheck expected;
};

DownloadFileRecipe Recipe(std::uint8_t device, std::uint16_t blocks) {
    DownloadFileRecipe s;
    s.device = device;
    s.blocks = blocks;
    return s;
}

const HeaderCase kHeaderCases[] = {
    {"BoxFile", Recipe(eFWDeviceKTX, 4), nullptr, eDLFileOk},
    {"CameraFile", Recipe(eFWDeviceKMR, 9), nullptr, eDLFileOk},
    {"OneBlock", Recipe(eFWDeviceKTX, 1), nullptr, eDLFileOk},
    {"WrongSign", Recipe(eFWDeviceKTX, 4),
     [](Bytes& f) {
         f[0] = 0xA5;
         dlgen::SealChecksum(f);
     },
     eDLFileWrongSign},
    {"SignBytesSwapped", Recipe(eFWDeviceKTX, 4),
     [](Bytes& f) {
         std::swap(f[0], f[1]);
         dlgen::SealChecksum(f);
     },
     eDLFileWrongSign},
    {"OneByteMore", Recipe(eFWDeviceKTX, 4), [](Bytes& f) { f.push_back(0); }, eDLFileWrongSize},
    {"OneByteLess", Recipe(eFWDeviceKTX, 4), [](Bytes& f) { f.pop_back(); }, eDLFileWrongSize},
    {"LengthOneBlockShort", Recipe(eFWDeviceKTX, 4),
     [](Bytes& f) {
         f[2] = 3;
         dlgen::SealChecksum(f);
     },
     eDLFileWrongSize},
    {"UnknownDevice", Recipe(eFWDeviceKTX, 4),
     [](Bytes& f) {
         f[5] = 2;
         dlgen::SealChecksum(f);
     },
     eDLFileUnknownDevice},
    {"ShortFile", Recipe(eFWDeviceKTX, 4), [](Bytes& f) { f.resize(63); }, eDLFileShortHeader},
    {"EmptyFile", Recipe(eFWDeviceKTX, 4), [](Bytes& f) { f.clear(); }, eDLFileShortHeader},
    {"WrongChecksum", Recipe(eFWDeviceKTX, 4), [](Bytes& f) { f[3000] ^= 0x01; },
     eDLFileWrongChecksum},
    {"ChecksumFieldOffByOne", Recipe(eFWDeviceKTX, 4), [](Bytes& f) { ++f[6]; },
     eDLFileWrongChecksum},
    {"BoxFileOfItsWholeFlash", Recipe(eFWDeviceKTX, 192), nullptr, eDLFileOk},
    {"BoxFileBeyondItsFlash", Recipe(eFWDeviceKTX, 193), nullptr, eDLFileTooManyBlocks},
    {"CameraFileOfItsWholeFlash", Recipe(eFWDeviceKMR, 768), nullptr, eDLFileOk},
    {"CameraFileBeyondItsFlash", Recipe(eFWDeviceKMR, 769), nullptr, eDLFileTooManyBlocks},
};

class HeaderCheck : public testing::TestWithParam<HeaderCase> {
protected:
    Bytes File() const {
        Bytes f = MakeDownloadFile(GetParam().recipe);
        if (GetParam().damage)
            GetParam().damage(f);
        return f;
    }
};

TEST_P(HeaderCheck, InMemory) {
    HeaderRecord header;
    EXPECT_EQ(CheckDLImage(File(), header), GetParam().expected);
}

TEST_P(HeaderCheck, FromDiskAsInMemory) {
    dlgen::TempDir dir;
    const auto path = dir.File("fw.bin", File());
    TDownloadFile file;
    const eDLFileCheck check = file.Load(path.string());
    EXPECT_EQ(check, GetParam().expected);
    // A refused file leaves nothing to download.
    EXPECT_EQ(file.IsValid(), check == eDLFileOk);
    if (check == eDLFileOk) {
        EXPECT_EQ(file.GetBlockCount(), GetParam().recipe.blocks);
        EXPECT_EQ(file.GetDevice(), GetParam().recipe.device);
    } else {
        EXPECT_EQ(file.GetDevice(), eFWDeviceNone);
        EXPECT_EQ(file.GetBlock(0), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HeaderCheck, testing::ValuesIn(kHeaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadChecksum, BytesSixAndSevenAreNotInTheSum) {
    Bytes f = MakeDownloadFile();
    const std::uint16_t sum = BuildDLChecksum(f);
    f[6] = 0x00;
    f[7] = 0x42;
    EXPECT_EQ(BuildDLChecksum(f), sum);
    f[8] ^= 0x10;
    EXPECT_NE(BuildDLChecksum(f), sum);
}

TEST(DownloadChecksum, CountsTheFieldAsTwoBytesOf0xFF) {
    Bytes f(1024, 0);
    f[0] = 1;
    f[1023] = 2;
    EXPECT_EQ(BuildDLChecksum(f), 1 + 2 + 0xFF + 0xFF);
}

TEST(DownloadChecksum, WrapsAtSixteenBits) {
    const Bytes f(1024 * 300, 0xFF);
    EXPECT_EQ(BuildDLChecksum(f), static_cast<std::uint16_t>(1024u * 300u * 0xFFu));
}

TEST(DownloadFile, MissingFileAndFolderCannotBeOpened) {
    dlgen::TempDir dir;
    TDownloadFile file;
    EXPECT_EQ(file.Load((dir.Path() / "none.bin").string()), eDLFileOpenFailed);
    EXPECT_EQ(file.Load(dir.Path().string()), eDLFileOpenFailed);
    EXPECT_EQ(file.Load(""), eDLFileOpenFailed);
}

TEST(DownloadFile, RefusedFileDropsTheOneLoadedBefore) {
    TDownloadFile file;
    ASSERT_EQ(file.LoadImage(MakeDownloadFile()), eDLFileOk);
    Bytes bad = MakeDownloadFile();
    bad.pop_back();
    EXPECT_EQ(file.LoadImage(bad), eDLFileWrongSize);
    EXPECT_FALSE(file.IsValid());
    EXPECT_EQ(file.GetHeader().CodeSign, 0);
}

TEST(DownloadFile, BlocksAreTheFilesBytes) {
    const Bytes f = MakeDownloadFile(Recipe(eFWDeviceKMR, 3));
    TDownloadFile file;
    ASSERT_EQ(file.LoadImage(f), eDLFileOk);
    EXPECT_EQ(Bytes(file.GetBlock(2), file.GetBlock(2) + 1024), Bytes(f.begin() + 2048, f.end()));
    EXPECT_EQ(file.GetBlock(3), nullptr);
    EXPECT_EQ(file.GetBlock(-1), nullptr);
}

// ---- Header record ---------------------------------------------------------

TEST(HeaderRecordFields, DecodeLittleEndian) {
    DownloadFileRecipe s = Recipe(eFWDeviceKMR, 0x0123);
    s.startAdr = 0x12345678;
    s.codeType = 7;
    const Bytes h = dlgen::MakeHeader(s, 0xBEEF);
    HeaderRecord r;
    ASSERT_TRUE(r.FromBytes(h));
    EXPECT_EQ(r.CodeSign, kDLCodeSign);
    EXPECT_EQ(r.CodeLength, 0x0123);
    EXPECT_EQ(r.CodeType, 7);
    EXPECT_EQ(r.Device, eFWDeviceKMR);
    EXPECT_EQ(r.CheckSum, 0xBEEF);
    EXPECT_EQ(r.StartAdr, 0x12345678u);
    EXPECT_EQ(r.LBLen, 0x0123u * 1024u);
    EXPECT_EQ(r.GetVersion(), "V2.10");
    EXPECT_EQ(r.GetVendor(), "Kestrin");
    EXPECT_EQ(r.GetDateText(), "10.11.2000");
    EXPECT_EQ(r.GetTimeText(), "12:34:56");
}

TEST(HeaderRecordFields, ShortInputGivesAnEmptyRecord) {
    HeaderRecord r;
    r.CodeSign = 1;
    EXPECT_FALSE(r.FromBytes(Bytes(63, 0x5A)));
    EXPECT_EQ(r.CodeSign, 0);
}

TEST(HeaderRecordFields, TextsWithoutTerminatorStopAtTheirField) {
    DownloadFileRecipe s;
    s.version = std::string(16, 'V');
    s.vendor = std::string(16, 'W');
    s.date = "12345678";
    s.time = "abcdef";
    Bytes h = dlgen::MakeHeader(s);
    HeaderRecord r;
    ASSERT_TRUE(r.FromBytes(h));
    EXPECT_EQ(r.GetVersion(), std::string(16, 'V'));
    EXPECT_EQ(r.GetVendor(), std::string(16, 'W'));
    EXPECT_EQ(r.GetDate(), "12345678");
    EXPECT_EQ(r.GetTime(), "abcdef");
    EXPECT_EQ(r.GetDateText(), "12.34.5678");
    EXPECT_EQ(r.GetTimeText(), "ab:cd:ef");
}

TEST(HeaderRecordFields, ShortDateGetsOnlyTheSeparatorsItReaches) {
    DownloadFileRecipe s;
    s.date = "1011";
    s.time = "1";
    HeaderRecord r;
    ASSERT_TRUE(r.FromBytes(dlgen::MakeHeader(s)));
    EXPECT_EQ(r.GetDateText(), "10.11");
    EXPECT_EQ(r.GetTimeText(), "1");
}

} // namespace
