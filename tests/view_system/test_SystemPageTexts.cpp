// Every language-text id of the system, devices and permission-groups
// pages has its text in all six language files, the system page's fields
// have their hints, and every help context of the pages has its page in
// every help folder.

#include "SystemPageFixture.h"

#include "SptReader.h"
#include "SystemTextIds.h"
#include "TFormGeraete.h"
#include "TFormSystem.h"
#include "TFormTlnBG.h"

#include <gtest/gtest.h>

#include <QVariant>

#include <array>
#include <filesystem>
#include <set>
#include <string>

namespace {

constexpr std::array<const char*, 6> kFiles = {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt",
                                               "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

class SystemPageTexts : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(
            SptReader::ReadFile(std::string(MOX_BIN_DIR) + "/res/" + GetParam(), m_Table, error))
            << error;
    }
    SptTable m_Table;
};

TEST_P(SystemPageTexts, EveryIdHasAText) {
    for (int id : stxt::kSystemPageTextIds) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        EXPECT_NE(text[0], '\0') << "id " << id;
    }
}

TEST_P(SystemPageTexts, SystemFieldsHaveHints) {
    for (int id : {stxt::kTuerrufannahme, stxt::kVerbindungsdauer, stxt::kVerzoegerungszeit,
                   stxt::kSchaltdauer, stxt::kKettenruf, stxt::kNachtriggern, stxt::kPegelKommend,
                   stxt::kPegelGehend}) {
        const char* hint = m_Table.Hint(id);
        ASSERT_NE(hint, nullptr) << "id " << id;
        EXPECT_NE(hint[0], '\0') << "id " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, SystemPageTexts, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.'));
                         });

constexpr std::array<const char*, 12> kHelpFolders = {"kktx_d",  "kktx_uk", "kktx_f",  "kktx_i",
                                                      "kktx_dk", "kktx_nl", "ektx_d",  "ektx_uk",
                                                      "ektx_f",  "ektx_i",  "ektx_dk", "ektx_nl"};

std::set<int> ContextsOf(QWidget* page) {
    std::set<int> contexts;
    QList<QWidget*> widgets = page->findChildren<QWidget*>();
    widgets.prepend(page);
    for (QWidget* w : widgets)
        if (const int c = w->property("HelpContext").toInt(); c > 0)
            contexts.insert(c);
    return contexts;
}

void ExpectHelpPages(const std::set<int>& contexts) {
    for (const char* folder : kHelpFolders)
        for (int c : contexts)
            EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(MOX_HELP_DIR) /
                                                         folder / (std::to_string(c) + ".html")))
                << folder << "/" << c << ".html";
}

class SystemPageHelp : public SystemPageTest {};

TEST_F(SystemPageHelp, SystemPage) {
    const std::set<int> contexts = ContextsOf(MakePage<TFormSystem>(eSystemKonfig));
    EXPECT_EQ(contexts,
              (std::set<int>{1600, 1601, 1602, 1603, 1604, 1605, 1606, 1607, 1608, 1609}));
    ExpectHelpPages(contexts);
}

TEST_F(SystemPageHelp, DevicesPage) {
    const std::set<int> contexts = ContextsOf(MakePage<TFormGeraete>(eGeraeteliste));
    EXPECT_EQ(contexts, (std::set<int>{500, 501, 502, 503, 504, 505, 506, 507}));
    ExpectHelpPages(contexts);
}

TEST_F(SystemPageHelp, GroupsPage) {
    const std::set<int> contexts = ContextsOf(MakePage<TFormTlnBG>(eTlnBG));
    EXPECT_EQ(contexts, (std::set<int>{1800, 1801, 1802, 1805, 1817, 1820, 1823}));
    ExpectHelpPages(contexts);
}

} // namespace
