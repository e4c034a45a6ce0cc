// The programming results of the real transfer controller reach the main
// window as its window messages: the box's programming block goes into the
// controller's engine over a fake serial port, and the window, its document
// and the visible page see the result.

#include "EngineFakes.h"
#include "FakeClock.h"
#include "MainWindowFixture.h"
#include "IFirmwareFileHolder.h"
#include "TFirmwareDownload.h"
#include "TMainDataTransfer.h"
#include "TTransferExtension.h"
#include "TMoxDocument.h"
#include "WindowMessages.h"

#include <gtest/gtest.h>

namespace {

// The box's programming block: channel 3 with bit 7 set, the command at
// byte 6, then two words high byte first.
Bytes BoxProgBlock(std::uint8_t cmd, std::uint16_t adr1, std::uint16_t adr2) {
    return {0x83,
            0,
            0,
            0,
            0,
            0,
            cmd,
            static_cast<std::uint8_t>(adr1 >> 8),
            static_cast<std::uint8_t>(adr1 & 0xFF),
            static_cast<std::uint8_t>(adr2 >> 8),
            static_cast<std::uint8_t>(adr2 & 0xFF)};
}

constexpr std::uint8_t kProgModeAkt = 3; // the box: programming mode on
constexpr std::uint8_t kProgModePas = 4; // the box: programming mode off

class MainWindowProg : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        settings.comPort = 5;
        m_Seams.createTransfer = [this](TMoxMain& main) -> std::unique_ptr<IMainTransfer> {
            TDataTransferSeams seams;
            seams.clock = &clock;
            seams.settings = &settings;
            seams.ports = &ports;
            return std::make_unique<TMainDataTransfer>(main, nullptr, seams);
        };
    }

    TMainDataTransfer& Controller() {
        return static_cast<TMainDataTransfer&>(*Main().GetDataTransfer());
    }
    // The box sends a block.
    void Box(const Bytes& bytes) {
        ASSERT_NE(ports.last, nullptr);
        ports.last->rx = bytes;
        Controller().Form().GetEngine().OnReadData();
    }

    FakeClock clock;
    FakeSettings settings;
    FakePortFactory ports;
};

TEST_F(MainWindowProg, BoxProgrammingModeReachesWindowDocumentAndPage) {
    RegisterRecordingPage(eTlnAktProg);
    MakeWindow();
    ASSERT_NE(Main().GetDataTransfer(), nullptr);
    Controller().UpdatePort();
    Main().GetDoc()->SetTypeIT(2);
    Main().BuildKonfigTree();
    Main().FlushTreeChange();
    ASSERT_TRUE(Select(eTlnAktProg));
    RecordingPage::s_Log.clear();

    Box(BoxProgBlock(kProgModeAkt, 0x0020, 0x1234));
    // PROGMODEAKT_OK performed on the window: the identifier went into the
    // document, the page heard the message once.
    EXPECT_EQ(Main().GetDoc()->GetBSGProgKennziffer(), 0x1234);
    EXPECT_EQ(RecordingPage::s_Log, std::vector<std::string>{"msg " + std::to_string(PROGMODEAKT_OK)});
    EXPECT_TRUE(Controller().GetProgFlags().boxProg);
    EXPECT_EQ(Controller().GetBoxKennziffer(), 0x1234);

    RecordingPage::s_Log.clear();
    Box(BoxProgBlock(kProgModePas, 0x0020, 0));
    ASSERT_EQ(RecordingPage::s_Log.size(), 1u);
    EXPECT_FALSE(Controller().GetProgFlags().boxProg);
}

TEST_F(MainWindowProg, HangUpResetClearsTheProgrammingState) {
    MakeWindow();
    Controller().UpdatePort();
    Box(BoxProgBlock(kProgModeAkt, 0x0020, 0x1234));
    ASSERT_TRUE(Controller().GetProgFlags().boxProg);
    Controller().ResetProgData();
    EXPECT_FALSE(Controller().GetProgFlags().boxProg);
}

// The firmware page finds the file holder on the window's controller by a
// cast; the file it hands over is the one the form's download run takes.
TEST_F(MainWindowProg, FirmwareFileOfThePageReachesTheDownloadRun) {
    MakeWindow();
    auto* holder = dynamic_cast<IFirmwareFileHolder*>(Main().GetDataTransfer());
    ASSERT_NE(holder, nullptr);
    std::string name;
    EXPECT_FALSE(holder->GetFWFileName(name));
    holder->SetFWFileName("/tmp/box-firmware.bin");
    std::string run;
    ASSERT_TRUE(Controller().Form().GetTransferExtension().GetFirmware().GetFWFileName(run));
    EXPECT_EQ(run, "/tmp/box-firmware.bin");
    ASSERT_TRUE(holder->GetFWFileName(name));
    EXPECT_EQ(name, run);
}

} // namespace
