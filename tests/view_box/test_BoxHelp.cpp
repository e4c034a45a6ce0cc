// Every help context of the box pages has its page in every help folder
// (six languages, standard and expert mode).

#include "BoxPageFixture.h"

#include "TFormELM.h"
#include "TFormEventLog.h"
#include "TFormFirmware.h"
#include "TFormKMR.h"
#include "TFormMox.h"
#include "TFormSperrnr.h"

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

class BoxHelp : public BoxPageTest {};

TEST_F(BoxHelp, MoxPage) {
    const std::set<int> contexts = ContextsOf(MakePage<TFormMox>(eKTXKonfig));
    EXPECT_EQ(contexts, (std::set<int>{1100, 1101, 1102, 1103, 1104, 1105, 1106, 1107}));
    ExpectPages(contexts);
}

TEST_F(BoxHelp, KMRPage) {
    const std::set<int> contexts = ContextsOf(MakePage<TFormKMR>(eKMRKonfig));
    EXPECT_EQ(contexts, (std::set<int>{200, 201, 202, 203, 204, 205, 206}));
    ExpectPages(contexts);
}

TEST_F(BoxHelp, SperrnrPage) {
    const std::set<int> contexts = ContextsOf(MakePage<TFormSperrnr>(eSperrnr));
    EXPECT_EQ(contexts, (std::set<int>{3100, 3101}));
    ExpectPages(contexts);
}

TEST_F(BoxHelp, EventLogPage) {
    const std::set<int> contexts = ContextsOf(MakeTransferPage<TFormEventLog>(eEventLogLesen));
    EXPECT_EQ(contexts, (std::set<int>{2200, 2201, 2202}));
    ExpectPages(contexts);
}

TEST_F(BoxHelp, EventListingPage) {
    const std::set<int> contexts = ContextsOf(MakeTransferPage<TFormELM>(eEventLogELM));
    EXPECT_EQ(contexts, (std::set<int>{3200, 3201, 3202, 3203, 3204}));
    ExpectPages(contexts);
}

TEST_F(BoxHelp, FirmwarePage) {
    const std::set<int> contexts = ContextsOf(MakeTransferPage<TFormFirmware>(eFirmwareSchreiben));
    EXPECT_EQ(contexts, (std::set<int>{400, 401, 402}));
    ExpectPages(contexts);
}
