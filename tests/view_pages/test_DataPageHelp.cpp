// Every help context of the read and write pages has its page in every
// help folder (six languages, standard and expert mode).

#include "PageFixture.h"

#include "TFormReadData.h"
#include "TFormWriteData.h"

#include <QVariant>

#include <array>
#include <filesystem>
#include <set>
#include <string>

namespace {

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

void ExpectPages(const std::set<int>& contexts) {
    for (const char* folder : kHelpFolders)
        for (int c : contexts)
            EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(MOX_HELP_DIR) /
                                                         folder / (std::to_string(c) + ".html")))
                << folder << "/" << c << ".html";
}

} // namespace

class DataPageHelp : public PageTest {};

TEST_F(DataPageHelp, ReadPage) {
    const std::set<int> contexts = ContextsOf(MakePage<TFormReadData>(eDatenLesen));
    EXPECT_EQ(contexts, (std::set<int>{1200, 1201}));
    ExpectPages(contexts);
}

TEST_F(DataPageHelp, WritePage) {
    const std::set<int> contexts = ContextsOf(MakePage<TFormWriteData>(eDatenSchreiben));
    EXPECT_EQ(contexts, (std::set<int>{2000, 2001}));
    ExpectPages(contexts);
}
