// Every language-text id of the subscriber page and dialogs has its text in
// all six language files, the two texts that take a number take exactly
// one in every language, and every help context of the three forms has its
// page in every help folder.

#include "SubscriberFixture.h"

#include "HelpPageCheck.h"
#include "LanguageTextCheck.h"
#include "SubscriberTextIds.h"
#include "TDialogHelp.h"
#include "TFormTln.h"
#include "TSubscriberPages.h"
#include "TTlnProgForm.h"
#include "TTlnSetDlg.h"
#include "TViewFactory.h"
#include "TextSubst.h"

#include <set>
#include <string>

namespace {

class SubscriberTexts : public LanguageFileTest {};

TEST_P(SubscriberTexts, EveryIdHasAText) {
    EXPECT_TRUE(HasTexts(stxt::kSubscriberTextIds));
}

TEST_P(SubscriberTexts, NumberTextsTakeOneNumber) {
    for (int id : {stxt::kKbaCountFmt, stxt::kProgErrorFmt}) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        EXPECT_EQ(TextPlaceholders(text), "n") << "id " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, SubscriberTexts, testing::ValuesIn(kLanguageFiles),
                         LanguageFileName);

class SubscriberHelp : public SubscriberTest {};

TEST_F(SubscriberHelp, Page) {
    TSubscriberPages::Register();
    TNodeData holder(eTlnKonfig);
    TViewContext ctx{Owner(), &holder, Res(), &m_Transfer};
    TDataView* page = TViewFactory::Create(eTlnKonfig, ctx);
    ASSERT_NE(dynamic_cast<TFormTln*>(page), nullptr);
    const std::set<int> contexts = HelpContextsOf(page);
    TDataView::Destroy(page);
    TSubscriberPages::Unregister();
    EXPECT_EQ(contexts, (std::set<int>{1700, 1701}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(SubscriberHelp, ProgrammingDialog) {
    TTlnProgForm form(nullptr, &m_Transfer, nullptr, &Doc(), Res());
    const std::set<int> contexts = HelpContextsOf(&form);
    EXPECT_EQ(contexts, (std::set<int>{2500, 2501, 2502, 2503, 2504, 2506}));
    EXPECT_TRUE(HasHelpPages(contexts));
}

TEST_F(SubscriberHelp, AssignmentDialog) {
    TTlnSetDlg dlg(nullptr, &m_Transfer, &Doc(), Res());
    const std::set<int> contexts = HelpContextsOf(&dlg);
    EXPECT_EQ(contexts, (std::set<int>{2700, 2701, 2702, 2703, 2704, 2705}));
    EXPECT_TRUE(HasHelpPages(contexts));
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
