// Every language-text id of the system, devices and permission-groups
// pages has its text in all six language files, the system page's fields
// have their hints, and every help context of the pages has its page in
// every help folder.

#include "SystemPageFixture.h"

#include "HelpPageCheck.h"
#include "LanguageTextCheck.h"
#include "SystemTextIds.h"
#include "TFormGeraete.h"
#include "TFormSystem.h"
#include "TFormTlnBG.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

class SystemPageTexts : public LanguageFileTest {};

TEST_P(SystemPageTexts, EveryIdHasAText) {
    EXPECT_TRUE(HasTexts(stxt::kSystemPageTextIds));
}

TEST_P(SystemPageTexts, SystemFieldsHaveHints) {
    const std::vector<int> fields = {stxt::kTuerrufannahme,    stxt::kVerbindungsdauer,
                                     stxt::kVerzoegerungszeit, stxt::kSchaltdauer,
                                     stxt::kKettenruf,         stxt::kNachtriggern,
                                     stxt::kPegelKommend,      stxt::kPegelGehend};
    EXPECT_TRUE(::HasTexts([this](int id) { return m_Table.Hint(id); }, fields))
        << " (hints) in " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Languages, SystemPageTexts, testing::ValuesIn(kLanguageFiles),
                         LanguageFileName);

class SystemPageHelp : public SystemPageTest {};

TEST_F(SystemPageHelp, SystemPage) {
    const std::set<int> contexts = HelpContextsOf(MakePage<TFormSystem>(eSystemKonfig));
    EXPECT_EQ(contexts,
              (std::set<int>{1600, 1601, 1602, 1603, 1604, 1605, 1606, 1607, 1608, 1609}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(SystemPageHelp, DevicesPage) {
    const std::set<int> contexts = HelpContextsOf(MakePage<TFormGeraete>(eGeraeteliste));
    EXPECT_EQ(contexts, (std::set<int>{500, 501, 502, 503, 504, 505, 506, 507}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(SystemPageHelp, GroupsPage) {
    const std::set<int> contexts = HelpContextsOf(MakePage<TFormTlnBG>(eTlnBG));
    EXPECT_EQ(contexts, (std::set<int>{1800, 1801, 1802, 1805, 1817, 1820, 1823}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

} // namespace
