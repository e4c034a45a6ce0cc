// Every help context of the two dialogs has its page in every help folder
// (six languages, standard and expert mode).

#include "DialogFixture.h"

#include "TConnectDlg.h"
#include "TSetComPortDlg.h"

#include <QVariant>

#include <array>
#include <filesystem>
#include <set>
#include <string>

namespace {

constexpr std::array<const char*, 12> kHelpFolders = {"kktx_d",  "kktx_uk", "kktx_f",  "kktx_i",
                                                      "kktx_dk", "kktx_nl", "ektx_d",  "ektx_uk",
                                                      "ektx_f",  "ektx_i",  "ektx_dk", "ektx_nl"};

std::set<int> ContextsOf(QWidget* form) {
    std::set<int> contexts;
    QList<QWidget*> widgets = form->findChildren<QWidget*>();
    widgets.prepend(form);
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

class DialogHelpPages : public DialogTest {};

TEST_F(DialogHelpPages, LinkDialog) {
    TSetComPortDlg dlg(nullptr, true, Res());
    const std::set<int> contexts = ContextsOf(&dlg);
    EXPECT_EQ(contexts, (std::set<int>{2300, 2301, 2302}));
    ExpectPages(contexts);
}

TEST_F(DialogHelpPages, ConnectDialog) {
    TConnectDlg dlg(nullptr, Res());
    const std::set<int> contexts = ContextsOf(&dlg);
    EXPECT_EQ(contexts, (std::set<int>{20, 21, 22}));
    ExpectPages(contexts);
}
