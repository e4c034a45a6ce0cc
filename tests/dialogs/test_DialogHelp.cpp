// Every help context of the two dialogs has its page in every help folder
// (six languages, standard and expert mode).

#include "DialogFixture.h"

#include "HelpPageCheck.h"
#include "TConnectDlg.h"
#include "TSetComPortDlg.h"

#include <set>

class DialogHelpPages : public DialogTest {};

TEST_F(DialogHelpPages, LinkDialog) {
    TSetComPortDlg dlg(nullptr, true, Res());
    const std::set<int> contexts = HelpContextsOf(&dlg);
    EXPECT_EQ(contexts, (std::set<int>{2300, 2301, 2302}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(DialogHelpPages, ConnectDialog) {
    TConnectDlg dlg(nullptr, Res());
    const std::set<int> contexts = HelpContextsOf(&dlg);
    EXPECT_EQ(contexts, (std::set<int>{20, 21, 22}));
    EXPECT_TRUE(HasHelpPages(contexts));
}
