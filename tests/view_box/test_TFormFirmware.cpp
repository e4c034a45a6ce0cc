// The firmware page: checking a download file's header and checksum, what
// it shows of a file, handing the file to the controller and starting the
// download, and the file kept between visits.

#include "BoxPageFixture.h"

#include "DownloadFileGen.h"
#include "TFormFirmware.h"
#include "WindowMessages.h"

#include <QLabel>
#include <QPushButton>

#include <functional>
#include <string>

namespace {

using dlgen::Bytes;

QString Label(QWidget* page, const char* name) {
    auto* l = page->findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QStringLiteral("(none)");
}

} // namespace

class FormFirmware : public BoxPageTest {
protected:
    TFormFirmware* Page() { return MakeTransferPage<TFormFirmware>(eFirmwareSchreiben); }
    // Writes the file and chooses it on the page.
    std::string Choose(TFormFirmware* page, const std::string& name, const Bytes& bytes) {
        const std::string path = TempFile(name).string();
        dlgen::WriteFile(path, bytes);
        m_DialogAnswers.push_back(QString::fromStdString(path));
        Find<QPushButton>(page, "BitBtn1")->click();
        return path;
    }
    QPushButton* Download(QWidget* page) { return Find<QPushButton>(page, "m_pDownloadBtn"); }
    void ExpectNoFileShown(QWidget* page) {
        const QString none = Res()->GetQText(94);
        for (const char* name :
             {"m_pLabelFileDevice", "m_pLabelFileVersion", "m_pLabelFileDate", "m_pLabelFileTime"})
            EXPECT_EQ(Label(page, name), none) << name;
    }
};

TEST_F(FormFirmware, StartsWithoutAFile) {
    auto* page = Page();
    ExpectNoFileShown(page);
    EXPECT_FALSE(Download(page)->isEnabled());
    EXPECT_EQ(Label(page, "m_pConnectionString"), QStringLiteral("via LumenBus"));
    EXPECT_EQ(page->GetDeviceResult(), 255);
    EXPECT_TRUE(page->GetKeptFileName().empty());
}

struct DeviceRow {
    const char* name;
    std::uint8_t device;
    int deviceText;
};

class FormFirmwareDevice : public FormFirmware, public testing::WithParamInterface<DeviceRow> {};

TEST_P(FormFirmwareDevice, ValidFileIsShownAndHandedOver) {
    auto* page = Page();
    dlgen::DownloadFileRecipe recipe;
    recipe.device = GetParam().device;
    recipe.version = "V3.07";
    recipe.date = "24122001";
    recipe.time = "235901";
    const std::string path = Choose(page, "fw.bin", dlgen::MakeDownloadFile(recipe));

    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(page->GetDeviceResult(), GetParam().device);
    EXPECT_EQ(Label(page, "m_pFilename"), QString::fromStdString(path));
    EXPECT_EQ(Label(page, "m_pLabelFileDevice"), Res()->GetQText(GetParam().deviceText));
    EXPECT_EQ(Label(page, "m_pLabelFileVersion"), QStringLiteral("V3.07"));
    EXPECT_EQ(Label(page, "m_pLabelFileDate"), QStringLiteral("24.12.2001"));
    EXPECT_EQ(Label(page, "m_pLabelFileTime"), QStringLiteral("23:59:01"));
    EXPECT_TRUE(Download(page)->isEnabled());
    EXPECT_EQ(m_Transfer.fwFile, path);
    EXPECT_EQ(m_Dialogs.at(0).filter, Res()->GetQText(259));
    EXPECT_EQ(m_Dialogs.at(0).title, Res()->GetQText(258));
    EXPECT_EQ(m_Dialogs.at(0).defaultExtension, Res()->GetQText(257));
    EXPECT_FALSE(m_Dialogs.at(0).title.isEmpty());
    EXPECT_FALSE(m_Dialogs.at(0).defaultExtension.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, FormFirmwareDevice,
                         testing::Values(DeviceRow{"Box", eFWDeviceKTX, 205},
                                         DeviceRow{"Camera", eFWDeviceKMR, 233}),
                         [](const testing::TestParamInfo<DeviceRow>& info) {
                             return std::string(info.param.name);
                         });

// Broken files and the box each one gets.
struct BrokenRow {
    const char* name;
    std::function<Bytes()> make;
    int box;
};

class FormFirmwareBroken : public FormFirmware, public testing::WithParamInterface<BrokenRow> {};

TEST_P(FormFirmwareBroken, FileIsDroppedWithItsMessage) {
    const std::string before = TempFile("before.bin").string();
    dlgen::WriteFile(before, dlgen::MakeDownloadFile());
    m_Transfer.fwFile = before;
    auto* page = Page();
    ASSERT_EQ(page->GetKeptFileName(), before);
    Choose(page, "bad.bin", GetParam().make());

    ASSERT_EQ(BoxIds(), std::vector<int>{GetParam().box});
    EXPECT_EQ(m_Boxes[0].caption, Res()->GetQText(1009));
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_EQ(page->GetDeviceResult(), 255);
    EXPECT_TRUE(page->GetKeptFileName().empty());
    EXPECT_EQ(page->GetHeader().CodeSign, 0);
    EXPECT_TRUE(Label(page, "m_pFilename").isEmpty());
    ExpectNoFileShown(page);
    // The controller keeps what it had; the download can still be started,
    // and its dialog can load a file of its own.
    EXPECT_EQ(m_Transfer.fwFile, before);
    EXPECT_TRUE(Download(page)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormFirmwareBroken,
    testing::Values(BrokenRow{"Empty", [] { return Bytes{}; }, 3310},
                    BrokenRow{"ShortHeader", [] { return Bytes(40, 0x5A); }, 3310},
                    BrokenRow{"WrongSign",
                              [] {
                                  Bytes f = dlgen::MakeDownloadFile();
                                  f[0] ^= 0xFF;
                                  return f;
                              },
                              3310},
                    BrokenRow{"WrongSize",
                              [] {
                                  Bytes f = dlgen::MakeDownloadFile();
                                  f.resize(f.size() - 1);
                                  return f;
                              },
                              3310},
                    BrokenRow{"UnknownDevice",
                              [] {
                                  dlgen::DownloadFileRecipe r;
                                  r.device = 7;
                                  return dlgen::MakeDownloadFile(r);
                              },
                              3310},
                    BrokenRow{"WrongChecksum",
                              [] {
                                  Bytes f = dlgen::MakeDownloadFile();
                                  f[2000] ^= 0x01;
                                  return f;
                              },
                              3311}),
    [](const testing::TestParamInfo<BrokenRow>& info) { return std::string(info.param.name); });

TEST_F(FormFirmware, WithoutALinkTheDownloadStaysOff) {
    m_Transfer.linkUp = false;
    auto* page = Page();
    Choose(page, "fw.bin", dlgen::MakeDownloadFile());
    EXPECT_EQ(page->GetDeviceResult(), 0);
    EXPECT_FALSE(Download(page)->isEnabled());
    // The link comes up: the kept file can go.
    m_Transfer.linkUp = true;
    m_Transfer.linkText = "via COM-Port";
    page->Perform(WM_CONNECTION_CHANGED, 0, 0);
    EXPECT_TRUE(Download(page)->isEnabled());
    EXPECT_EQ(Label(page, "m_pConnectionString"), QStringLiteral("via COM-Port"));
}

TEST_F(FormFirmware, LinkChangeWithoutAFileLeavesTheButton) {
    auto* page = Page();
    m_Transfer.linkText = "via capi";
    page->Perform(WM_CONNECTION_CHANGED, 0, 0);
    EXPECT_FALSE(Download(page)->isEnabled());
    EXPECT_EQ(Label(page, "m_pConnectionString"), QStringLiteral("via capi"));
}

TEST_F(FormFirmware, CancelledDialogChangesNothing) {
    auto* page = Page();
    const std::string path = Choose(page, "fw.bin", dlgen::MakeDownloadFile());
    m_DialogAnswers.push_back(QString());
    Find<QPushButton>(page, "BitBtn1")->click();
    EXPECT_EQ(page->GetKeptFileName(), path);
    EXPECT_EQ(page->GetDeviceResult(), 0);
}

TEST_F(FormFirmware, DownloadHandsTheFileToTheController) {
    auto* page = Page();
    const std::string path = Choose(page, "fw.bin", dlgen::MakeDownloadFile());
    m_Transfer.fwFile.clear();
    Download(page)->click();
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{8});
    EXPECT_EQ(m_Transfer.lengths, std::vector<std::uint32_t>{0xC0000});
    EXPECT_EQ(m_Transfer.fwFile, path);
}

TEST_F(FormFirmware, ReopenedPageShowsTheKeptFileCheckedAgain) {
    dlgen::DownloadFileRecipe recipe;
    recipe.device = eFWDeviceKMR;
    const std::string path = TempFile("kept.bin").string();
    dlgen::WriteFile(path, dlgen::MakeDownloadFile(recipe));
    m_Transfer.fwFile = path;
    auto* page = Page();
    EXPECT_EQ(page->GetKeptFileName(), path);
    EXPECT_EQ(Label(page, "m_pLabelFileDevice"), Res()->GetQText(233));
    EXPECT_TRUE(Download(page)->isEnabled());
    // Shown again (its window hidden and shown): nothing is taken twice.
    m_pOwner->hide();
    m_pOwner->show();
    EXPECT_EQ(page->GetKeptFileName(), path);
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(FormFirmware, KeptFileDeletedMeanwhileIsRefused) {
    m_Transfer.fwFile = TempFile("gone.bin").string();
    auto* page = Page();
    EXPECT_EQ(BoxIds(), std::vector<int>{3310});
    EXPECT_TRUE(page->GetKeptFileName().empty());
    ExpectNoFileShown(page);
}

TEST_F(FormFirmware, UnreadableBlockIsReported) {
    auto* page = Page();
    Choose(page, "fw.bin", dlgen::MakeDownloadFile());
    ASSERT_TRUE(m_Boxes.empty());
    // More blocks than the file holds: the first missing one is reported.
    EXPECT_FALSE(page->BuildChecksum(9, page->GetHeader().CheckSum));
    ASSERT_EQ(BoxIds(), std::vector<int>{1013});
    EXPECT_EQ(m_Boxes[0].caption, Res()->GetQText(1002));
    EXPECT_EQ(m_Boxes[0].flags, mb::kOkCancel | mb::kIconStop);
    EXPECT_TRUE(page->BuildChecksum(4, page->GetHeader().CheckSum));
}
