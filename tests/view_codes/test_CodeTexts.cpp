// Every language-text id of the code-assignment and programming start
// pages has its text in all six language files, the error text with a
// number keeps its one number placeholder, and the link texts end in a
// blank.

#include "CodeTextIds.h"
#include "SptReader.h"
#include "TextSubst.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr std::array<const char*, 6> kFiles = {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt",
                                               "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

class CodeTexts : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(
            SptReader::ReadFile(std::string(MOX_BIN_DIR) + "/res/" + GetParam(), m_Table, error))
            << error;
    }
    SptTable m_Table;
};

} // namespace

TEST_P(CodeTexts, EveryIdHasAText) {
    for (int id : ctxt::kCodeTextIds) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        EXPECT_NE(text[0], '\0') << "id " << id;
    }
}

TEST_P(CodeTexts, ErrorTypeTextTakesOneNumber) {
    EXPECT_EQ(TextPlaceholders(m_Table.Text(ctxt::kProgErrorOther)), "n");
}

INSTANTIATE_TEST_SUITE_P(Languages, CodeTexts, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.'));
                         });
