// End to end through the main window's commands: the real transfer
// controller, the real bus control hosted by the window, and the box
// simulator behind a pseudo-terminal as the bus interface with the box on
// the bus. Write the configuration, read it back, restart the box, load the
// defaults (expert mode).

#include "BoxSimProcess.h"
#include "ComponentRegistry.h"
#include "MainTextIds.h"
#include "PermSettings.h"
#include "Quell32Ids.h"
#include "SettingsPropertyBag.h"
#include "SettingsStore.h"
#include "TFileDialog.h"
#include "TMainDataTransfer.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

class MainWindowSim : public testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "mox-sim-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        m_Dir = tmpl;
        // The bus control module keeps its own settings store and finds it
        // by the environment: both sides must read the same file.
        const std::string settings = (m_Dir / "settings.ini").string();
        setenv("MOX_SETTINGS", settings.c_str(), 1);
        mox::platform::SettingsStore::SetInstanceForTesting(
            mox::platform::SettingsStore::OpenFile(settings));

        std::string error;
        ASSERT_TRUE(m_Sim.Start(&error)) << error;
        SetAssiMode(false);
        SetComDevice(2, m_Sim.PtyPath());
        SetComPort(2); // the bus interface on COM2
        // The simulator has no modem lines to test for an interface.
        auto bag = mox::com::SettingsPropertyBag::Create(quell32::kQuell32PropertiesKey);
        bag->Write("TestForInterface", mox::com::Variant::FromBool(false));
        mox::com::ClassRegistration reg;
        reg.clsid = quell32::CLSID_Quell32Ctrl;
        reg.progId = quell32::kControlProgId;
        reg.typeName = "Quell32 Control";
        reg.modulePath = MOX_QUELL32;
        ASSERT_TRUE(mox::com::ComponentRegistry::RegisterClass(reg));
        mox::platform::SettingsStore::Instance().Sync();

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
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(m_Dir, ec);
    }

    void MakeWindow(int mode = 1, bool expert = false) {
        TMoxMainSeams seams;
        seams.createTransfer = [](TMoxMain& main) -> std::unique_ptr<IMainTransfer> {
            return std::make_unique<TMainDataTransfer>(main, main.GetQuell32());
        };
        m_pMain = std::make_unique<TMoxMain>(seams);
        m_pMain->SetMode(mode);
        m_pMain->SetExpertFlag(expert);
        m_pMain->show();
        m_pMain->FlushTreeChange();
        ASSERT_NE(m_pMain->GetDataTransfer(), nullptr);
        ASSERT_TRUE(m_pMain->GetDataTransfer()->IsConnected());
    }

    TMoxDocument& Doc() { return *m_pMain->GetDoc(); }

    std::filesystem::path m_Dir;
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
