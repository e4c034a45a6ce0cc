// On a screen of 1024 x 600 every window opens inside the screen's
// available area, frame included: the main window, the wizard, the help
// window (over the window it was asked from) and the dialogs.

#include "KeyFixture.h"

#include "TAboutDlg.h"
#include "TConnectDlg.h"
#include "TDataTransfer.h"
#include "TDelayDlg.h"
#include "THelpWindow.h"
#include "TKonfigDlg.h"
#include "TSetComPortDlg.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include <functional>

namespace {

class SmallScreen : public KeyTest {
protected:
    void ExpectInside(QWidget* window, const char* what) {
        ASSERT_NE(window, nullptr) << what;
        const QRect avail = window->screen()->availableGeometry();
        EXPECT_EQ(avail.size(), QSize(1024, 600)) << "the test's screen";
        EXPECT_TRUE(avail.contains(window->frameGeometry()))
            << what << " at " << window->frameGeometry().x() << "," << window->frameGeometry().y()
            << " " << window->frameGeometry().width() << "x" << window->frameGeometry().height();
    }
};

TEST_F(SmallScreen, TheMainWindowOpensInsideTheScreen) {
    ShowMain(2);
    ExpectInside(&Main(), "the main window");
    Shot(&Main(), "main-1024x600");
}

TEST_F(SmallScreen, TheWizardOpensInsideTheScreen) {
    ShowWizard();
    ExpectInside(&Assi(), "the wizard");
}

TEST_F(SmallScreen, TheHelpWindowOpensOverTheMainWindowInsideTheScreen) {
    ShowMain(2);
    THelpWindow* help = Main().GetHelpWindow();
    ASSERT_TRUE(help->ShowContents()) << "the help pages are built";
    ProcessEvents();
    ExpectInside(help, "the help window");
    EXPECT_LE((help->frameGeometry().center() - Main().frameGeometry().center()).manhattanLength(),
              40)
        << "centred on the main window";
    help->close();
}

struct DialogCase {
    const char* name;
    std::function<QDialog*(KeyTest&, QWidget*, TkResourcen*)> make;
};

class SmallScreenDialogs : public SmallScreen, public testing::WithParamInterface<DialogCase> {
protected:
    StubTransfer m_Transfer;
};

TEST_P(SmallScreenDialogs, OpensInsideTheScreen) {
    ShowMain(2, 2);
    std::unique_ptr<QDialog> dialog(GetParam().make(*this, &Main(), Main().GetRes()));
    dialog->show();
    ProcessEvents();
    ExpectInside(dialog.get(), GetParam().name);
    dialog->hide();
}

StubTransfer& SharedTransfer() {
    static StubTransfer transfer;
    return transfer;
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, SmallScreenDialogs,
    testing::Values(DialogCase{"About",
                               [](KeyTest&, QWidget* o, TkResourcen* r) -> QDialog* {
                                   return new TAboutDlg(o, r, 1);
                               }},
                    DialogCase{"Link",
                               [](KeyTest&, QWidget* o, TkResourcen* r) -> QDialog* {
                                   return new TSetComPortDlg(o, true, r);
                               }},
                    DialogCase{"Connect",
                               [](KeyTest&, QWidget* o, TkResourcen* r) -> QDialog* {
                                   return new TConnectDlg(o, r);
                               }},
                    DialogCase{"Delay",
                               [](KeyTest&, QWidget* o, TkResourcen* r) -> QDialog* {
                                   return new TDelayDlg(o, r);
                               }},
                    DialogCase{"SmsPagesDialog",
                               [](KeyTest&, QWidget* o, TkResourcen* r) -> QDialog* {
                                   return new TKonfigDlg(o, false, &SharedTransfer(), eSMS, r);
                               }},
                    DialogCase{"Transfer",
                               [](KeyTest&, QWidget* o, TkResourcen* r) -> QDialog* {
                                   return new TDataTransfer(o, r);
                               }}),
    [](const testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.name); });

} // namespace
