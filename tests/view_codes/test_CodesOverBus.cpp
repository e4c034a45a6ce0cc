// The programming start pages in the real main window on the installation
// bus: the window hosts the real bus control, its transfer controller talks
// to the box simulator behind a pseudo-terminal, and the pages are the ones
// the window's tree shows. The box is put into programming mode and a unit
// reports itself as a user would make it; the page-hosting dialog gets the
// box's messages through the window, the assignment goes out on the bus,
// and OK sends the changed configuration into the box.

#include "BoxSimProcess.h"
#include "CodeTextIds.h"
#include "MainTextIds.h"
#include "MoxAccess.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "Quell32Registration.h"
#include "TCodePages.h"
#include "TDelayDlg.h"
#include "TFileDialog.h"
#include "TFormBSM.h"
#include "TFormBSMProg.h"
#include "TFormSchaltcode.h"
#include "TFormSchaltcodeProg.h"
#include "TKonfigDlg.h"
#include "TKtxImage.h"
#include "TMainDataTransfer.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TestSettingsFile.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBusCom = 2;
constexpr std::uint16_t kTlnAdr = 0x0105;

class CodesOverBus : public testing::Test {
protected:
    void SetUp() override {
        // A settings file of the test's own, named in the environment for
        // the registration command and the simulator.
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("codes-bus");
        ASSERT_TRUE(m_pSettings->Ok());
        m_pSettings->ShareWithModules();
        m_Dir = m_pSettings->Dir();

        std::string error;
        ASSERT_TRUE(m_Sim.Start(&error)) << error;
        SetAssiMode(false);
        SetPermSprache(2); // English
        SetComDevice(kBusCom, m_Sim.PtyPath());
        SetComPort(kBusCom);
        mox::test::SwitchOffInterfaceTest();
        ASSERT_TRUE(mox::test::RegisterQuell32(MOX_QUELL32));

        TFileDialog::SetHandlerForTesting([](const TFileDialog::Request&) { return QString(); });
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            m_Boxes.push_back(r);
            if (auto a = m_Answers.find(r.textId); a != m_Answers.end())
                return a->second;
            const unsigned buttons = r.flags & mb::kButtonMask;
            return buttons == mb::kYesNo || buttons == mb::kYesNoCancel ? mb::kIdYes : mb::kIdOk;
        });
        TCodePages::Register();
        TFormProgStart::SetExecForTesting([this](QDialog& dlg) { return Exec(dlg); });
        TFormProgStart::SetSaveForTesting([] { return true; });

        TMoxMainSeams seams;
        seams.createTransfer = [](TMoxMain& main) -> std::unique_ptr<IMainTransfer> {
            return std::make_unique<TMainDataTransfer>(main, main.GetQuell32());
        };
        m_pMain = std::make_unique<TMoxMain>(seams);
        m_pMain->SetMode(1);
        m_pMain->SetExpertFlag(false);
        m_pMain->show();
        m_pMain->FlushTreeChange();
        ASSERT_NE(m_pMain->GetDataTransfer(), nullptr);
        // The bus control reports the port once its reader runs.
        ASSERT_TRUE(WaitFor([this] { return m_pMain->GetDataTransfer()->IsConnected(); }));
    }

    void TearDown() override {
        m_pMain.reset();
        TFormProgStart::SetExecForTesting({});
        TFormProgStart::SetSaveForTesting({});
        TCodePages::Unregister();
        TMsgBox::SetHandlerForTesting({});
        TFileDialog::SetHandlerForTesting({});
        m_Sim.Stop();
        m_pSettings.reset();
    }

    // The modal dialogs of the start page: the wait is ticked through, the
    // hosting dialog is shown (the window forwards only to a visible one)
    // and handed to the test's script.
    int Exec(QDialog& dlg) {
        if (auto* delay = dynamic_cast<TDelayDlg*>(&dlg)) {
            delay->open();
            while (delay->isVisible())
                delay->OnTimer();
            m_Log.push_back("delay " + std::to_string(delay->GetCounter()));
            return delay->result();
        }
        auto* konfig = dynamic_cast<TKonfigDlg*>(&dlg);
        if (!konfig) {
            ADD_FAILURE() << "unexpected dialog";
            return QDialog::Rejected;
        }
        m_Log.push_back("konfig " + std::to_string(konfig->GetPageNumber()));
        konfig->open();
        if (m_Script)
            m_Script(*konfig);
        if (konfig->isVisible())
            konfig->reject();
        return konfig->result();
    }

    // Runs the event loop until the condition holds; the box's messages
    // come from the bus control's reader thread.
    static bool WaitFor(const std::function<bool()>& cond,
                        int limitMs = boxsim::BoxSimProcess::kGuardMs) {
        QElapsedTimer t;
        t.start();
        while (!cond()) {
            if (t.elapsed() > limitMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    // The commands go out from the event loop: it runs while the box's
    // log is awaited.
    bool SimSaw(const std::string& prefix, size_t mark) {
        return WaitFor([&] { return m_Sim.Count(prefix, mark) >= 1; });
    }
    std::string Sim(const std::string& line, const std::string& reply = "OK") {
        return m_Sim.Command(line, reply).value_or("(no reply)");
    }
    void LoadBox(MoxDaten& data) {
        std::vector<std::uint8_t> image(TKtxImage::kSize);
        TKtxImage::Build(&data, image.data());
        const std::string path = (m_Dir / "box.bin").string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
        out.close();
        ASSERT_EQ(Sim("load " + path, "LOADED").rfind("LOADED", 0), 0u);
    }
    template <class Page> Page* Open(std::uint8_t kind) {
        EXPECT_TRUE(m_pMain->SelectNodeKind(kind));
        m_pMain->FlushTreeChange();
        auto* page = dynamic_cast<Page*>(m_pMain->GetAktView());
        EXPECT_NE(page, nullptr);
        return page;
    }
    std::vector<int> BoxIds() const {
        std::vector<int> ids;
        for (const auto& b : m_Boxes)
            ids.push_back(b.textId);
        return ids;
    }
    QString Text(int id) const { return m_pMain->GetRes()->GetQText(id); }
    TMoxDocument& Doc() { return *m_pMain->GetDoc(); }
    static QPushButton* Zuordnen(QWidget* page) {
        return page->findChild<QPushButton*>(QStringLiteral("m_pZuordnenBtn"));
    }
    static QString ToDo(QWidget* page) {
        return page->findChild<QLabel*>(QStringLiteral("m_pToDoLabel"))->text();
    }
    // Assigns the code of a row on the hosted page once the unit is
    // ready, and waits for the box's confirmation.
    void Assign(TKonfigDlg& dlg, int row) {
        auto* page = dynamic_cast<TFormProgCode*>(dlg.GetPage());
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(WaitFor([page] { return Zuordnen(page)->isEnabled(); }))
            << ToDo(page).toStdString();
        EXPECT_EQ(ToDo(page), Text(ctxt::kToDoAssign));
        page->findChild<QTableWidget*>(QStringLiteral("m_pGrid"))->setCurrentCell(row, 1);
        // The confirmation comes once the key command is with the box, after
        // the commands ahead of it.
        const size_t shown = m_Boxes.size();
        Zuordnen(page)->click();
        ASSERT_TRUE(WaitFor([this, shown] { return m_Boxes.size() > shown; }));
        EXPECT_EQ(m_Boxes.back().textId, ctxt::kAssigned);
        EXPECT_FALSE(page->IsBusy());
    }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_Dir;
    boxsim::BoxSimProcess m_Sim{MOX_BOXSIM, {"--quiet"}};
    std::unique_ptr<TMoxMain> m_pMain;
    std::vector<TMsgBox::Request> m_Boxes;
    std::map<int, int> m_Answers;
    std::vector<std::string> m_Log;
    std::function<void(TKonfigDlg&)> m_Script;

    void SwitchingCodeAfterARead(const std::string& quitt);
};

TEST_F(CodesOverBus, RelayCodeIsAssignedAndTheBoxGetsTheConfiguration) {
    ASSERT_TRUE(Doc().SetTypeIT(2));
    ASSERT_TRUE(Doc().SetTypeBSM(1));
    ASSERT_TRUE(Doc().SetTlnBusAdr(0, kTlnAdr));
    m_pMain->BuildKonfigTree();
    m_pMain->FlushTreeChange();
    auto* start = Open<TFormBSMProg>(eBSMKonfig);
    ASSERT_NE(start, nullptr);
    // Never read from the box: the configuration goes there first.
    ASSERT_TRUE(
        start->findChild<QCheckBox*>(QStringLiteral("m_pChkBox_KTX_schreiben"))->isChecked());

    const size_t mark = m_Sim.Mark();
    m_Script = [this, mark](TKonfigDlg& dlg) {
        auto* page = dynamic_cast<TFormBSM*>(dlg.GetPage());
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(dlg.windowTitle(), Text(ctxt::kBSMHeading));
        EXPECT_EQ(ToDo(page), Text(ctxt::kToDoProgMode));
        ASSERT_EQ(Sim("progmode on"), "OK");
        ASSERT_TRUE(WaitFor([&] { return ToDo(page) == Text(ctxt::kToDoBSM); }));
        ASSERT_EQ(Sim("progbsm 0040 2"), "OK");
        Assign(dlg, 1);
        ASSERT_TRUE(SimSaw("PROGCMD BSM_CODE_PROG 0040 0105 idx 1", mark));
        dlg.findChild<QPushButton*>(QStringLiteral("m_pOKBtn"))->click();
    };
    start->findChild<QPushButton*>(QStringLiteral("m_pTransferBtn"))->click();

    EXPECT_EQ(m_Log, (std::vector<std::string>{"delay 21", "konfig 22"}));
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kAssigned, ctxt::kWriteOk}));
    std::uint16_t adr = 0;
    std::uint8_t relay = 0;
    ASSERT_TRUE(Doc().GetBSMRelais(1, &adr, &relay));
    EXPECT_EQ(adr, 0x0040);
    EXPECT_EQ(relay, 2);
    ASSERT_TRUE(m_Sim.Settle());
    // Sent before the dialog and again after it.
    EXPECT_GE(m_Sim.Count("BLOCK ch 0 cmd 2 ", mark), 2u);

    // What the box holds now comes back with a read.
    ASSERT_TRUE(Doc().SetBSMRelais(1, 0, 0));
    ASSERT_TRUE(Doc().ReadAnlDataFromComPort());
    ASSERT_TRUE(Doc().GetBSMRelais(1, &adr, &relay));
    EXPECT_EQ(adr, 0x0040);
    EXPECT_EQ(relay, 2);
}

// The switching-code page reads the subscriber's address from the box, then
// assigns a code. quitt: how the box acknowledges the address command that
// goes out before the key command ("none": the unit keeps the address it
// has; "block": at once, while the key command is on its way).
void CodesOverBus::SwitchingCodeAfterARead(const std::string& quitt) {
    // The box knows the subscriber's bus address; the document does not.
    auto box = std::make_unique<MoxDaten>();
    MoxInitDaten(box.get());
    MoxSetTypeIT(box.get(), 2);
    MoxSetTlnBusAdr(box.get(), 0, kTlnAdr);
    MoxSetSchaltcodeText(box.get(), 2, "Garage");
    LoadBox(*box);
    ASSERT_TRUE(Doc().SetTypeIT(2));
    ASSERT_TRUE(Doc().SetTypeBSM(MoxGetTypeBSM(box.get())));
    m_pMain->BuildKonfigTree();
    m_pMain->FlushTreeChange();
    Doc().SetReadFromBox(true);
    auto* start = Open<TFormSchaltcodeProg>(eITSchaltcode);
    ASSERT_NE(start, nullptr);
    start->findChild<QCheckBox*>(QStringLiteral("m_pChkBox_KTX_lesen"))->click();

    const size_t mark = m_Sim.Mark();
    m_Script = [this, mark, quitt](TKonfigDlg& dlg) {
        auto* page = dynamic_cast<TFormSchaltcode*>(dlg.GetPage());
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->GetReadFlag());
        EXPECT_FALSE(Zuordnen(page)->isEnabled());
        // The read 200 ms after the page opened.
        ASSERT_TRUE(WaitFor([page] { return page->GetTlnAdr() != 0; }));
        EXPECT_EQ(page->GetTlnAdr(), kTlnAdr);
        EXPECT_EQ(page->findChild<QTableWidget*>(QStringLiteral("m_pGrid"))->item(2, 1)->text(),
                  QStringLiteral("Garage"));
        ASSERT_EQ(Sim("progmode on"), "OK");
        ASSERT_EQ(Sim("progunit 0030"), "OK");
        ASSERT_EQ(Sim("progquitt " + quitt), "OK");
        Assign(dlg, 2);
        ASSERT_TRUE(SimSaw("PROGCMD HT_PROG_AKT 0105", mark));
        ASSERT_TRUE(SimSaw("PROGCMD BTLM_CODE_PROG 0030 0105 idx 2", mark));
        ASSERT_TRUE(SimSaw("PROGCMD HT_PROG_PAS", mark));
        dlg.findChild<QPushButton*>(QStringLiteral("m_pOKBtn"))->click();
    };
    start->findChild<QPushButton*>(QStringLiteral("m_pTransferBtn"))->click();

    EXPECT_EQ(m_Log, (std::vector<std::string>{"konfig 18"}));
    // Reading replaces the document's configuration: a modified one is
    // offered for saving first.
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kSaveQuestion, ctxt::kAssigned}));
    EXPECT_TRUE(Doc().IsReadFromBox());
    std::uint16_t adr = 0;
    ASSERT_TRUE(Doc().GetSchaltcodeAdr(2, &adr));
    EXPECT_EQ(adr, 0x0030);
    ASSERT_TRUE(m_Sim.Settle());
    // One read in the dialog, one send after it.
    EXPECT_EQ(m_Sim.Count("BLOCK ch 0 cmd 2 ", mark), 1u);
    // No block of either side was refused on the way.
    EXPECT_EQ(m_Sim.Count("PCNAK", mark), 0u);
    EXPECT_EQ(m_Sim.Count("CNAK", mark), 0u);
}

TEST_F(CodesOverBus, SwitchingCodeAfterAReadFromTheBox) {
    SwitchingCodeAfterARead("none");
}

TEST_F(CodesOverBus, SwitchingCodeWhileTheBoxAcknowledgesTheAddressAtOnce) {
    SwitchingCodeAfterARead("block");
}

TEST_F(CodesOverBus, OkWithoutAnAssignmentSendsNothing) {
    ASSERT_TRUE(Doc().SetTypeIT(2));
    ASSERT_TRUE(Doc().SetTlnBusAdr(0, kTlnAdr));
    m_pMain->BuildKonfigTree();
    m_pMain->FlushTreeChange();
    Doc().SetReadFromBox(true);
    auto* start = Open<TFormSchaltcodeProg>(eITSchaltcode);
    ASSERT_NE(start, nullptr);
    const size_t mark = m_Sim.Mark();
    m_Script = [](TKonfigDlg& dlg) {
        dlg.findChild<QPushButton*>(QStringLiteral("m_pOKBtn"))->click();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    };
    start->findChild<QPushButton*>(QStringLiteral("m_pTransferBtn"))->click();
    EXPECT_EQ(m_Log, (std::vector<std::string>{"konfig 18"}));
    EXPECT_TRUE(m_Boxes.empty());
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_EQ(m_Sim.Count("BLOCK ", mark), 0u);
}

} // namespace
