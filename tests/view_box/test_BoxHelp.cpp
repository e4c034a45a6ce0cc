// Every help context of the box pages has its page in every help folder
// (six languages, standard and expert mode).

#include "BoxPageFixture.h"

#include "HelpPageCheck.h"
#include "TFormELM.h"
#include "TFormEventLog.h"
#include "TFormFirmware.h"
#include "TFormKMR.h"
#include "TFormMox.h"
#include "TFormSperrnr.h"

#include <set>

class BoxHelp : public BoxPageTest {};

TEST_F(BoxHelp, MoxPage) {
    const std::set<int> contexts = HelpContextsOf(MakePage<TFormMox>(eKTXKonfig));
    EXPECT_EQ(contexts, (std::set<int>{1100, 1101, 1102, 1103, 1104, 1105, 1106, 1107}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(BoxHelp, KMRPage) {
    const std::set<int> contexts = HelpContextsOf(MakePage<TFormKMR>(eKMRKonfig));
    EXPECT_EQ(contexts, (std::set<int>{200, 201, 202, 203, 204, 205, 206}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(BoxHelp, SperrnrPage) {
    const std::set<int> contexts = HelpContextsOf(MakePage<TFormSperrnr>(eSperrnr));
    EXPECT_EQ(contexts, (std::set<int>{3100, 3101}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(BoxHelp, EventLogPage) {
    const std::set<int> contexts = HelpContextsOf(MakeTransferPage<TFormEventLog>(eEventLogLesen));
    EXPECT_EQ(contexts, (std::set<int>{2200, 2201, 2202}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(BoxHelp, EventListingPage) {
    const std::set<int> contexts = HelpContextsOf(MakeTransferPage<TFormELM>(eEventLogELM));
    EXPECT_EQ(contexts, (std::set<int>{3200, 3201, 3202, 3203, 3204}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(BoxHelp, FirmwarePage) {
    const std::set<int> contexts =
        HelpContextsOf(MakeTransferPage<TFormFirmware>(eFirmwareSchreiben));
    EXPECT_EQ(contexts, (std::set<int>{400, 401, 402}));
    EXPECT_TRUE(HasHelpPages(contexts));
}
