// Every language-text id of the subscriber page and dialogs has its text in
// all six language files, the two texts that take a number take exactly
// one in every language, and every help context of the three forms has its
// page in every help folder.

#include "SubscriberFixture.h"

#include "SptReader.h"
#include "SubscriberTextIds.h"
#include "TDialogHelp.h"
#include "TFormTln.h"
#include "TSubscriberPages.h"
#include "TTlnProgForm.h"
#include "TTlnSetDlg.h"
#include "TViewFactory.h"
#include "TextSubst.h"

#include <QVariant>

#include <array>
#include <filesystem>
#include <set>
#include <string>

namespace {

constexpr std::array<const char*, 6> kFiles = {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt",
                                               "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

class SubscriberTexts : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(
            SptReader::ReadFile(std::string(MOX_BIN_DIR) + "/res/" + GetParam(), m_Table, error))
            << error;
    }
    SptTable m_Table;
};

TEST_P(SubscriberTexts, EveryIdHasAText) {
    for (int id : stxt::kSubscriberTextIds) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        EXPECT_NE(text[0], '\0') << "id " << id;
    }
}

TEST_P(SubscriberTexts, NumberTextsTakeOneNumber) {
    for (int id : {stxt::kKbaCountFmt, stxt::kProgErrorFmt}) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        EXPECT_EQ(TextPlaceholders(text), "n") << "id " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, SubscriberTexts, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.'));
                         });

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

class SubscriberHelp : public SubscriberTest {};

TEST_F(SubscriberHelp, Page) {
    TSubscriberPages::Register();
    TNodeData holder(eTlnKonfig);
    TViewContext ctx{Owner(), &holder, Res(), &m_Transfer};
    TDataView* page = TViewFactory::Create(eTlnKonfig, ctx);
    ASSERT_NE(dynamic_cast<TFormTln*>(page), nullptr);
    const std::set<int> contexts = ContextsOf(page);
    TDataView::Destroy(page);
    TSubscriberPages::Unregister();
    EXPECT_EQ(contexts, (std::set<int>{1700, 1701}));
    ExpectPages(contexts);
}

TEST_F(SubscriberHelp, ProgrammingDialog) {
    TTlnProgForm form(nullptr, &m_Transfer, nullptr, &Doc(), Res());
    const std::set<int> contexts = ContextsOf(&form);
    EXPECT_EQ(contexts, (std::set<int>{2500, 2501, 2502, 2503, 2504, 2506}));
    ExpectPages(contexts);
}

TEST_F(SubscriberHelp, AssignmentDialog) {
    TTlnSetDlg dlg(nullptr, &m_Transfer, &Doc(), Res());
    const std::set<int> contexts = ContextsOf(&dlg);
    EXPECT_EQ(contexts, (std::set<int>{2700, 2701, 2702, 2703, 2704, 2705}));
    ExpectPages(contexts);
}

TEST_F(SubscriberHelp, FormsCarryTheirCaptions) {
    TTlnProgForm form(nullptr, &m_Transfer, nullptr, &Doc(), Res());
    EXPECT_EQ(form.windowTitle(), Text(stxt::kProgCaption));
    TTlnSetDlg dlg(nullptr, &m_Transfer, &Doc(), Res());
    EXPECT_EQ(dlg.windowTitle(), Text(stxt::kSetCaption));
}

TEST_F(SubscriberHelp, TheDialogsOpenTheirHelpPage) {
    std::vector<int> shown;
    TDialogHelp::SetHandler([&](int context) {
        shown.push_back(context);
        return true;
    });
    TTlnProgForm form(nullptr, &m_Transfer, nullptr, &Doc(), Res());
    form.OnHelp();
    TTlnSetDlg dlg(nullptr, &m_Transfer, &Doc(), Res());
    dlg.OnHelp();
    TDialogHelp::SetHandler({});
    EXPECT_EQ(shown, (std::vector<int>{2500, 2700}));
}

} // namespace
