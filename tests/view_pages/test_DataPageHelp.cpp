// Every help context of the read and write pages has its page in every
// help folder (six languages, standard and expert mode).

#include "PageFixture.h"

#include "HelpPageCheck.h"
#include "TFormReadData.h"
#include "TFormWriteData.h"

#include <set>

class DataPageHelp : public PageTest {};

TEST_F(DataPageHelp, ReadPage) {
    const std::set<int> contexts = HelpContextsOf(MakePage<TFormReadData>(eDatenLesen));
    EXPECT_EQ(contexts, (std::set<int>{1200, 1201}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(DataPageHelp, WritePage) {
    const std::set<int> contexts = HelpContextsOf(MakePage<TFormWriteData>(eDatenSchreiben));
    EXPECT_EQ(contexts, (std::set<int>{2000, 2001}));
    EXPECT_TRUE(HasHelpPages(contexts));
}
