// Subscriber programming in the real main window on the installation bus
// and on the direct V.24 cable: the window hosts the real bus control, its
// transfer controller talks to the box simulator behind a pseudo-terminal
// (as the bus interface, or as the box at the cable's end), and the
// programming results reach the dialogs through the window's forwarding.
// The programming dialog reads the box's configuration and the free-address
// count, deletes a subscriber's address in the box, and hands over to the
// call-button assignment, which gives a waiting subscriber the box's first
// free address when the box acknowledges it. The subscriber page's restore
// deletes an address in the box and writes the configuration back.

#include "BoxSimProcess.h"
#include "BusControlSetup.h"
#include "IMainTransfer.h"
#include "MoxAccess.h"
#include "MoxDaten.h"
#include "PageTestBase.h"
#include "PermSettings.h"
#include "SubscriberTextIds.h"
#include "TFileDialog.h"
#include "TFormTln.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TSubscriberPages.h"
#include "TTlnProgForm.h"
#include "TTlnSetDlg.h"
#include "TestImages.h"
#include "WindowMessages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableWidget>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBusCom = 2; // the bus interface on COM2
constexpr int kV24Com = 1; // the direct cable on COM1
// Only a hang waits this long.
constexpr int kWaitMs = boxsim::BoxSimProcess::kGuardMs;

class SubscriberOverBus : public PageTestBase {
protected:
    SubscriberOverBus() : PageTestBase("subscriber-bus", TextSource::Program) {}
    // The direct V.24 cable instead of the installation bus.
    virtual bool V24() const { return false; }

    void SetUp() override {
        PageTestBase::SetUp();
        if (HasFatalFailure())
            return;
        m_pSim = V24() ? std::make_unique<boxsim::BoxSimProcess>(
                             MOX_BOXSIM, std::vector<std::string>{"--v24", "--quiet"})
                       : std::make_unique<boxsim::BoxSimProcess>(
                             MOX_BOXSIM, std::vector<std::string>{"--quiet"});
        std::string error;
        ASSERT_TRUE(m_pSim->Start(&error)) << error;
        SetAssiMode(false);
        SetComDevice(V24() ? kV24Com : kBusCom, m_pSim->PtyPath());
        SetComPort(V24() ? ePortCom1 : kBusCom);
        ASSERT_TRUE(HostBusControl(MOX_QUELL32, *m_pSettings));

        TFileDialog::SetHandlerForTesting([](const TFileDialog::Request&) { return QString(); });
        TSubscriberPages::Register();

        m_pMain = ShowMainWindowOnBus({});
        ASSERT_NE(m_pMain->GetDataTransfer(), nullptr);
        ASSERT_TRUE(m_pMain->GetDataTransfer()->IsConnected());
    }

    void TearDown() override {
        m_pForm.reset();
        m_pMain.reset();
        TTlnProgForm::SetSetDlgRunnerForTesting({});
        TSubscriberPages::Unregister();
        TFileDialog::SetHandlerForTesting({});
        if (m_pSim)
            m_pSim->Stop();
        PageTestBase::TearDown();
    }
    int BoxAnswer(const TMsgBox::Request& r) override {
        if (auto a = m_Answers.find(r.textId); a != m_Answers.end())
            return a->second;
        return YesOrOk(r);
    }

    std::string Sim(const std::string& line, const std::string& reply = "OK") {
        return m_pSim->Command(line, reply).value_or("(no reply)");
    }
    // The box holds a configuration of the large door interface with these
    // subscribers (number, bus address).
    void LoadBox(const std::vector<std::pair<const char*, std::uint16_t>>& tln) {
        const std::vector<std::uint8_t> image = TaggedImage([&tln](MoxDaten* data) {
            MoxSetTypeIT(data, 2);
            MoxInitAllTln(data);
            for (std::size_t i = 0; i < tln.size(); ++i) {
                const auto idx = static_cast<std::uint8_t>(i);
                MoxSetTlnRnr(data, idx, tln[i].first);
                MoxSetTlnBusAdr(data, idx, tln[i].second);
                MoxSetTlnLogAdr(data, idx, tln[i].second);
            }
        });
        const std::string path = (m_Dir / "box.bin").string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
        out.close();
        ASSERT_EQ(Sim("load " + path, "LOADED").rfind("LOADED", 0), 0u);
    }
    // Runs the event loop until the condition holds (the box's messages
    // arrive through the bus control's event).
    static bool RunUntil(const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > kWaitMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }
    // The programming dialog, shown as exec() shows it, after its start.
    TTlnProgForm* StartDialog() {
        m_pForm = std::make_unique<TTlnProgForm>(m_pMain.get(), m_pMain->GetDataTransfer(), nullptr,
                                                 &Doc(), m_pMain->GetRes());
        m_pForm->show();
        m_pForm->OnTimer();
        return m_pForm.get();
    }
    TMoxDocument& Doc() { return *m_pMain->GetDoc(); }
    void AssignsTheBoxsFreeAddress();
    void DeleteFreesTheAddressInTheBox();
    std::string RnrOf(int i) {
        char rnr[32] = {};
        return Doc().GetTlnRnr(static_cast<std::uint8_t>(i), rnr, sizeof rnr) ? rnr : "";
    }

    std::unique_ptr<boxsim::BoxSimProcess> m_pSim;
    std::unique_ptr<TMoxMain> m_pMain;
    std::unique_ptr<TTlnProgForm> m_pForm;
    std::map<int, int> m_Answers;
};

void SubscriberOverBus::AssignsTheBoxsFreeAddress() {
    LoadBox({{"111", 0}, {"222", 0x0107}});
    ASSERT_EQ(Sim("freelist 0105 0106"), "OK");
    ASSERT_EQ(Sim("progmode on"), "OK");
    ASSERT_TRUE(RunUntil([this] { return m_pMain->GetDataTransfer()->GetProgFlags().boxProg; }));

    TTlnProgForm* form = StartDialog();
    // The configuration came from the box, then the free-address count.
    EXPECT_TRUE(Doc().IsReadFromBox());
    EXPECT_EQ(RnrOf(0), "111");
    EXPECT_EQ(Doc().GetTlnBusAdr(1), 0x0107);
    ASSERT_TRUE(form->isVisible()) << (m_Boxes.empty() ? 0 : m_Boxes[0].textId);
    EXPECT_TRUE(m_Boxes.empty());

    bool assigned = false;
    TTlnProgForm::SetSetDlgRunnerForTesting([&](TTlnProgForm& parent) {
        TTlnSetDlg dlg(&parent, m_pMain->GetDataTransfer(), &Doc(), m_pMain->GetRes());
        dlg.show(); // reads the free-address list
        auto* assign = dlg.findChild<QPushButton*>(QStringLiteral("m_pTlnZuordnenBtn"));
        auto* first = dlg.findChild<QComboBox*>(QStringLiteral("m_pNewCombo"));
        ASSERT_EQ(first->count(), 2);
        EXPECT_EQ(first->itemText(1), "111");
        EXPECT_FALSE(assign->isEnabled()) << "no unit in programming yet";

        // A unit is put into programming at the bus; the window forwards it.
        ASSERT_EQ(Sim("progunit 0030"), "OK");
        ASSERT_TRUE(RunUntil([&] { return assign->isEnabled(); }));
        assign->click();
        // The box takes the address and acknowledges it.
        ASSERT_TRUE(RunUntil([&] { return Doc().GetTlnBusAdr(0) != 0; }));
        assigned = true;
        dlg.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    form->findChild<QPushButton*>(QStringLiteral("m_pTlnZuordnenBtn"))->click();
    ASSERT_TRUE(assigned);

    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0x0105);
    EXPECT_EQ(Doc().GetTlnLogAdr(0), 0x0105);
    EXPECT_EQ(Doc().GetTlnBusAdr(1), 0x0107);
    EXPECT_EQ(BoxIds(), (std::vector<int>{stxt::kAssigned, stxt::kStillProgMode}));
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), 1);
    EXPECT_EQ(Sim("progstatus", "PROGSTATUS"),
              "PROGSTATUS mode 1 bsg 0021 unit 0030 video 0 codes 0 free 1 0106");
}

void SubscriberOverBus::DeleteFreesTheAddressInTheBox() {
    LoadBox({{"111", 0}, {"222", 0x0107}});
    ASSERT_EQ(Sim("freelist 0105"), "OK");
    TTlnProgForm* form = StartDialog();
    ASSERT_TRUE(form->isVisible());
    auto* grid = form->findChild<QTableWidget*>(QStringLiteral("m_pTlnGrid"));
    grid->setCurrentCell(1, 0);
    const std::size_t mark = m_pSim->Mark();
    form->findChild<QPushButton*>(QStringLiteral("m_pTlnLoeschenBtn"))->click();
    EXPECT_EQ(Doc().GetTlnBusAdr(1), 0);
    EXPECT_TRUE(form->GetChangedFlag());
    ASSERT_TRUE(m_pSim->Settle());
    EXPECT_EQ(m_pSim->Count("PROGCMD TLN_ADR_CLEAR 0107", mark), 1u);
    // The count read again after the delete includes the freed address.
    EXPECT_EQ(m_pSim->Count("PROGCMD PROG_KBA_COUNT", mark), 1u);
    EXPECT_EQ(Sim("progstatus", "PROGSTATUS"),
              "PROGSTATUS mode 0 bsg 0021 unit 0000 video 0 codes 0 free 2 0105 0107");
    form->findChild<QPushButton*>(QStringLiteral("m_pCloseButton"))->click();
    EXPECT_EQ(form->result(), 1);
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(SubscriberOverBus, TheDialogAssignsTheBoxsFreeAddressToAWaitingSubscriber) {
    AssignsTheBoxsFreeAddress();
}

// On the bus the count request follows the delete at once, while the
// delete's block still waits for its acknowledgement: the request must wait
// behind it, or one of the two is lost.
TEST_F(SubscriberOverBus, DeletingInTheDialogFreesTheAddressInTheBox) {
    DeleteFreesTheAddressInTheBox();
}

class SubscriberOverV24 : public SubscriberOverBus {
protected:
    bool V24() const override { return true; }
};

TEST_F(SubscriberOverV24, DeletingInTheDialogFreesTheAddressInTheBox) {
    DeleteFreesTheAddressInTheBox();
}

TEST_F(SubscriberOverV24, TheDialogAssignsTheBoxsFreeAddressToAWaitingSubscriber) {
    AssignsTheBoxsFreeAddress();
}

TEST_F(SubscriberOverBus, TheDialogRefusesToStartWhileAUnitIsInProgramming) {
    LoadBox({{"111", 0}});
    ASSERT_EQ(Sim("progmode on"), "OK");
    ASSERT_EQ(Sim("progunit 0030"), "OK");
    ASSERT_TRUE(RunUntil([this] { return m_pMain->GetDataTransfer()->GetProgFlags().tlnProg; }));
    TTlnProgForm* form = StartDialog();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), 2);
    EXPECT_EQ(BoxIds(), (std::vector<int>{stxt::kUnitBusy, stxt::kStillProgMode}));
}

TEST_F(SubscriberOverBus, ThePagesRestoreDeletesTheAddressInTheBoxAndWritesTheConfiguration) {
    LoadBox({{"111", 0x0105}, {"222", 0x0107}});
    ASSERT_TRUE(Doc().ReadAnlDataFromComPort());
    m_pMain->BuildKonfigTree();
    ASSERT_TRUE(m_pMain->SelectNodeKind(eTlnKonfig));
    m_pMain->FlushTreeChange();
    auto* page = dynamic_cast<TFormTln*>(m_pMain->GetAktView());
    ASSERT_NE(page, nullptr);
    auto* grid = page->findChild<QTableWidget*>(QStringLiteral("m_pTlnGrid"));
    ASSERT_EQ(grid->item(1, 1)->text(), "222");
    grid->setCurrentCell(1, 1);
    m_Answers[stxt::kAskDelAll] = mb::kIdNo;
    const std::size_t mark = m_pSim->Mark();
    m_pMain->OnResetPage();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(BoxIds(), (std::vector<int>{stxt::kAskDelAll, stxt::kAskDelete, stxt::kWriteOk}));
    EXPECT_EQ(RnrOf(1), "");
    EXPECT_EQ(Doc().GetTlnBusAdr(1), 0);
    EXPECT_EQ(RnrOf(0), "111");
    ASSERT_TRUE(m_pSim->Settle());
    EXPECT_EQ(m_pSim->Count("PROGCMD TLN_ADR_CLEAR 0107", mark), 1u);
    EXPECT_GE(m_pSim->Count("BLOCK ch 0 cmd 2 ", mark), 1u);

    // The box now holds the configuration without the subscriber.
    m_Boxes.clear();
    Doc().InitAllTln(false);
    ASSERT_TRUE(Doc().ReadAnlDataFromComPort());
    EXPECT_EQ(RnrOf(0), "111");
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0x0105);
    EXPECT_EQ(RnrOf(1), "");
}

} // namespace
