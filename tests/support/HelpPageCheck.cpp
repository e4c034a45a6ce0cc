#include "HelpPageCheck.h"

#include <QList>
#include <QVariant>
#include <QWidget>

#include <filesystem>
#include <string>

std::set<int> HelpContextsOf(QWidget* root) {
    std::set<int> contexts;
    if (!root)
        return contexts;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets)
        if (const int c = w->property("HelpContext").toInt(); c > 0)
            contexts.insert(c);
    return contexts;
}

testing::AssertionResult HasHelpPages(const std::set<int>& contexts) {
    std::string missing;
    for (const char* folder : kHelpFolders)
        for (int c : contexts) {
            const std::string page = std::string(folder) + "/" + std::to_string(c) + ".html";
            if (!std::filesystem::is_regular_file(std::filesystem::path(MOX_HELP_DIR) / page))
                missing += " " + page;
        }
    if (missing.empty())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "help pages missing:" << missing;
}
