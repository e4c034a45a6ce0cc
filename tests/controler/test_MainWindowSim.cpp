// End to end through the main window's commands: the real transfer
// controller, the real bus control hosted by the window, and the box
// simulator behind a pseudo-terminal as the bus interface with the box on
// the bus. Write the configuration, read it back, restart the box, load the
// defaults (expert mode).

#include "BoxSimProcess.h"
#include "MainTextIds.h"
#include "PermSettings.h"
#include "Quell32Registration.h"
#include "TFileDialog.h"
#include "TMainDataTransfer.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TSetComPortDlg.h"
#include "TestSettingsFile.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <memory>
#include <vector>

namespace {

class MainWindowSim : public testing::Test {
protected:
    void SetUp() override {
        // A settings file of the test's own, named in the environment for
        // the registration command and the simulator.
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("sim");
        ASSERT_TRUE(m_pSettings->Ok());
        m_pSettings->ShareWithModules();

        std::string error;
        ASSERT_TRUE(m_Sim.Start(&error)) << error;
        SetAssiMode(false);
        SetComDevice(2, m_Sim.PtyPath());
        SetComPort(2); // the bus interface on COM2
        mox::test::SwitchOffInterfaceTest();
        ASSERT_TRUE(mox::test::RegisterQuell32(MOX_QUELL32));

        // A file dialog would wait for a user: any one that opens cancels.
        TFileDialog::SetHandlerForTesting([](const TFileDialog::Request&) { return QString(); });
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            m_Boxes.push_back(r.textId);
            // Edits made only to be overwritten by the read are not saved.
            if (r.textId == mtxt::kAskSave)
                return mb::kIdNo;
            return (r.flags & mb::kButtonMask) == mb::kYesNo ||
                           (r.flags & mb::kButtonMask) == mb::kYesNoCancel
                       ? mb::kIdYes
                       : mb::kIdOk;
        });
    }

    void TearDown() override {
        m_pMain.reset();
        TMsgBox::SetHandlerForTesting({});
        TFileDialog::SetHandlerForTesting({});
        m_Sim.Stop();
        m_pSettings.reset();
    }

    void MakeWindow(int mode = 1, bool expert = false) {
        TMoxMainSeams seams;
        seams.createTransfer = [](TMoxMain& main) -> std::unique_ptr<IMainTransfer> {
            return std::make_unique<TMainDataTransfer>(main, main.GetQuell32());
        };
        seams.runPortDialog = [](TMoxMain& m) { return TSetComPortDlg::Run(&m, true, m.GetRes()); };
        m_pMain = std::make_unique<TMoxMain>(seams);
        m_pMain->SetMode(mode);
        m_pMain->SetExpertFlag(expert);
        m_pMain->show();
        m_pMain->FlushTreeChange();
        ASSERT_NE(m_pMain->GetDataTransfer(), nullptr);
        ASSERT_TRUE(m_pMain->GetDataTransfer()->IsConnected());
    }

    TMoxDocument& Doc() { return *m_pMain->GetDoc(); }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    boxsim::BoxSimProcess m_Sim{MOX_BOXSIM, {"--quiet"}};
    std::unique_ptr<TMoxMain> m_pMain;
    std::vector<int> m_Boxes;
};

TEST_F(MainWindowSim, WriteThenReadBack) {
    MakeWindow();
    Doc().SetTypeIT(2);
    ASSERT_TRUE(Doc().SetTuerrufdauer(333));
    m_pMain->OnWriteBox();
    EXPECT_EQ(m_Boxes, std::vector<int>{mtxt::kAskWriteAdr}); // and no failure
    const std::vector<std::uint8_t> sent(Doc().GetImageBuffer(),
                                         Doc().GetImageBuffer() + TMoxDocument::kImageSize);
    // Changed here and not saved: the read brings the box's values back.
    ASSERT_TRUE(Doc().SetTuerrufdauer(444));
    m_Boxes.clear();
    m_pMain->OnReadBox();
    ASSERT_EQ(m_Boxes, (std::vector<int>{mtxt::kAskSave, mtxt::kReadOk}));
    EXPECT_EQ(Doc().GetTuerrufdauer(), 333);
    EXPECT_EQ(Doc().GetTypeIT(), 2);
}

// The link dialog moves the bus interface from COM1 to COM2: the bus port
// closes COM1 and opens COM2 at once, identifies itself there, and the
// next exchange goes to the box on COM2.
TEST_F(MainWindowSim, AnotherBusInterfacePortTakesEffectAtOnce) {
    boxsim::BoxSimProcess first{MOX_BOXSIM, {"--quiet"}};
    std::string error;
    ASSERT_TRUE(first.Start(&error)) << error;
    SetComDevice(1, first.PtyPath());
    SetComPort(1);
    m_pSettings->ShareWithModules(); // the bus control reads COM1 from the file
    MakeWindow();
    ASSERT_TRUE(first.Settle());
    const std::size_t firstMark = first.LineCount();
    const std::size_t mark = m_Sim.LineCount();

    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TSetComPortDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->findChild<QRadioButton*>(QStringLiteral("m_pComPortItem%1").arg(2))->click();
        dlg->findChild<QPushButton*>(QStringLiteral("m_pBtnOk"))->click();
    });
    m_pMain->OnPortDialog();
    ASSERT_EQ(GetComPort(), 2);
    EXPECT_TRUE(m_pMain->GetDataTransfer()->IsConnected());
    // The reopened port identifies itself on the new line, as a reopened
    // serial port does.
    EXPECT_TRUE(m_Sim.WaitForCount("KENNUNG", 1, mark));

    m_Boxes.clear();
    m_pMain->OnRestartBox();
    EXPECT_EQ(m_Boxes, (std::vector<int>{mtxt::kRestartInfo, mtxt::kTransferOk}));
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_GE(m_Sim.Count("RESET", mark), 1u);
    ASSERT_TRUE(first.Settle());
    EXPECT_EQ(first.Count("RESET", firstMark), 0u);
    m_pMain.reset();
    first.Stop();
}

TEST_F(MainWindowSim, RestartTheBox) {
    MakeWindow();
    const std::size_t mark = m_Sim.Mark();
    m_pMain->OnRestartBox();
    EXPECT_EQ(m_Boxes, (std::vector<int>{mtxt::kRestartInfo, mtxt::kTransferOk}));
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_GE(m_Sim.Count("RESET", mark), 1u);
}

TEST_F(MainWindowSim, LoadTheDefaultsInExpertMode) {
    MakeWindow(2, true);
    m_pMain->OnLoadDefaults();
    for (int id : m_Boxes) {
        EXPECT_NE(id, mtxt::kOpenFailed);
        EXPECT_NE(id, mtxt::kWriteFailed);
    }
    ASSERT_FALSE(m_Boxes.empty());
    EXPECT_EQ(m_Boxes.front(), mtxt::kAskDefaults);
    // The box holds the defaults now: read them back.
    const std::uint16_t dauer = Doc().GetTuerrufdauer();
    m_Boxes.clear();
    m_pMain->OnReadBox();
    EXPECT_EQ(m_Boxes, std::vector<int>{mtxt::kReadOk});
    EXPECT_EQ(Doc().GetTuerrufdauer(), dauer);
}

} // namespace
