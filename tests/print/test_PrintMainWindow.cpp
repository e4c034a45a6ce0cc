// The main window's print command: it stores the open page into the
// document before the print dialog runs with the node kind of the selected
// node, and the print commands are off while the window has no print
// dialog. The real dialog runs from the command through the installed
// commands and prints the page's part.

#include "PermSettings.h"
#include "PrintFixture.h"
#include "TDataView.h"
#include "TMoxMain.h"
#include "TPrintCommands.h"
#include "TViewFactory.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <memory>
#include <vector>

namespace {

// A page that counts how often it was stored.
class CountingPage : public TDataView {
public:
    using TDataView::TDataView;
    static inline int saves = 0;

protected:
    void OnSave(TMessage&) override { ++saves; }
};

class PrintMainWindow : public PrintTest {
protected:
    void SetUp() override {
        PrintTest::SetUp();
        SetAssiMode(false);
        CountingPage::saves = 0;
        TViewFactory::Register(eSystemKonfig, [](const TViewContext& ctx) -> TDataView* {
            return TDataView::Create<CountingPage>(ctx.owner, ctx.holder, ctx.res);
        });
    }
    void TearDown() override {
        m_pMain.reset();
        TViewFactory::Unregister(eSystemKonfig);
        PrintTest::TearDown();
    }

    void MakeMain(TMoxMainSeams seams) {
        seams.hostQuell32 = false;
        m_pMain = std::make_unique<TMoxMain>(std::move(seams));
        m_pMain->SetMode(2);
        m_pMain->show();
        m_pMain->FlushTreeChange();
    }
    QAction* Action(const char* name) const {
        auto* a = m_pMain->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }

    std::unique_ptr<TMoxMain> m_pMain;
};

} // namespace

TEST_F(PrintMainWindow, WithoutAPrintDialogThePrintCommandsAreOff) {
    MakeMain({});
    EXPECT_FALSE(Action("m_pDruckMenuItem")->isEnabled());
    EXPECT_FALSE(Action("m_pPrintToolsButton")->isEnabled());
    EXPECT_FALSE(Action("druckereinstellungen1")->isEnabled());
}

TEST_F(PrintMainWindow, PrintStoresThePageAndRunsTheDialogForItsKind) {
    std::vector<int> kinds;
    bool enabledWhileRunning = true;
    int savesBefore = -1;
    TMoxMainSeams seams;
    seams.runPrintDialog = [&](TMoxMain&, std::uint8_t kind) {
        kinds.push_back(kind);
        savesBefore = CountingPage::saves;
        enabledWhileRunning =
            Action("m_pDruckMenuItem")->isEnabled() || Action("m_pPrintToolsButton")->isEnabled();
    };
    MakeMain(seams);
    ASSERT_TRUE(m_pMain->SelectNodeKind(eSystemKonfig));
    m_pMain->FlushTreeChange();
    CountingPage::saves = 0;

    Action("m_pDruckMenuItem")->trigger();
    EXPECT_EQ(kinds, std::vector<int>{eSystemKonfig});
    EXPECT_EQ(savesBefore, 1);
    EXPECT_FALSE(enabledWhileRunning);
    EXPECT_TRUE(Action("m_pDruckMenuItem")->isEnabled());
    EXPECT_TRUE(Action("m_pPrintToolsButton")->isEnabled());

    Action("m_pPrintToolsButton")->trigger();
    EXPECT_EQ(kinds.size(), 2u);
}

TEST_F(PrintMainWindow, PrinterSetupRunsItsDialog) {
    int setups = 0;
    TMoxMainSeams seams;
    seams.runPrinterSetup = [&](TMoxMain&) { ++setups; };
    MakeMain(seams);
    ASSERT_TRUE(Action("druckereinstellungen1")->isEnabled());
    Action("druckereinstellungen1")->trigger();
    EXPECT_EQ(setups, 1);
}

TEST_F(PrintMainWindow, TheInstalledCommandPrintsTheSelectedPagesPart) {
    TMoxMainSeams seams;
    TPrintCommands::Install(seams);
    MakeMain(seams);
    ASSERT_TRUE(m_pMain->SelectNodeKind(eSystemKonfig));
    m_pMain->FlushTreeChange();
    // The dialog is modal: answer it once it shows.
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TSetDruckenDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->findChild<QRadioButton*>(QStringLiteral("m_pPrintBoxItem0"))->setChecked(true);
        dlg->findChild<QPushButton*>(QStringLiteral("m_pPrint"))->click();
        answered = true;
    });
    m_pMain->OnPrint();
    EXPECT_TRUE(answered);
    ASSERT_EQ(m_Printed.size(), 1u);
    EXPECT_EQ(ReportsOf(m_Printed.front()), std::vector<std::string>{"TPrintSystem"});
}
