// Every help context of the code-assignment pages, the page-hosting dialog
// and the programming start pages has its page in every help folder (six
// languages, standard and expert mode).

#include "CodeFixture.h"
#include "TFormTlnProg.h"
#include "TKonfigDlg.h"

#include <QVariant>

#include <array>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>

namespace {

constexpr std::array<const char*, 12> kHelpFolders = {"kktx_d",  "kktx_uk", "kktx_f",  "kktx_i",
                                                      "kktx_dk", "kktx_nl", "ektx_d",  "ektx_uk",
                                                      "ektx_f",  "ektx_i",  "ektx_dk", "ektx_nl"};

std::set<int> ContextsOf(QWidget* w) {
    std::set<int> contexts;
    QList<QWidget*> widgets = w->findChildren<QWidget*>();
    widgets.prepend(w);
    for (QWidget* child : widgets)
        if (const int c = child->property("HelpContext").toInt(); c > 0)
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

struct HelpCase {
    const char* name;
    std::uint8_t kind;
    std::set<int> contexts;
};

void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << c.name;
}

class CodeHelp : public CodeTest, public testing::WithParamInterface<HelpCase> {};

} // namespace

TEST_P(CodeHelp, EveryContextHasItsPages) {
    TFormTlnProg::SetDialogMakerForTesting({});
    QWidget* page = MakePage(GetParam().kind, GetParam().kind);
    ASSERT_NE(page, nullptr);
    const std::set<int> contexts = ContextsOf(page);
    EXPECT_EQ(contexts, GetParam().contexts);
    ExpectPages(contexts);
}

INSTANTIATE_TEST_SUITE_P(StartPages, CodeHelp,
                         testing::Values(HelpCase{"Tln", eTlnAktProg, {1900, 2002}},
                                         HelpCase{"Schaltcode", eITSchaltcode, {2900, 2002}},
                                         HelpCase{"BSM", eBSMKonfig, {2100, 2002}}),
                         [](const testing::TestParamInfo<HelpCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(CodeTest, HostedCodePagesHaveTheirHelp) {
    PrepareDoc(0x0123);
    for (auto [page, expected] :
         {std::pair<std::uint8_t, std::set<int>>{TKonfigDlg::kPageSchaltcode,
                                                 {2500, 2800, 2801, 2802}},
          std::pair<std::uint8_t, std::set<int>>{TKonfigDlg::kPageBSM, {2500, 100, 101, 102}}}) {
        SCOPED_TRACE(page);
        TKonfigDlg dlg(nullptr, false, &m_Transfer, page, Res());
        const std::set<int> contexts = ContextsOf(&dlg);
        EXPECT_EQ(contexts, expected);
        ExpectPages(contexts);
    }
}
