// Every help context of the code-assignment pages, the page-hosting dialog
// and the programming start pages has its page in every help folder (six
// languages, standard and expert mode).

#include "CodeFixture.h"
#include "HelpPageCheck.h"
#include "TFormTlnProg.h"
#include "TKonfigDlg.h"

#include <ostream>
#include <set>
#include <string>

namespace {

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
    const std::set<int> contexts = HelpContextsOf(page);
    EXPECT_EQ(contexts, GetParam().contexts);
    EXPECT_TRUE(HasHelpPages(contexts));
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
        const std::set<int> contexts = HelpContextsOf(&dlg);
        EXPECT_EQ(contexts, expected);
        EXPECT_TRUE(HasHelpPages(contexts));
    }
}
