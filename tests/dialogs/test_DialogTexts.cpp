// Every language-text id of the dialogs has its text in all six language
// files, and the refusal of a too-long number fills the same placeholders
// in every language.

#include "DialogTextIds.h"
#include "SptReader.h"
#include "TextSubst.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

constexpr std::array<const char*, 6> kFiles = {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt",
                                               "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

class DialogTexts : public testing::TestWithParam<const char*> {
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

TEST_P(DialogTexts, EveryIdHasAText) {
    std::vector<int> ids(dtxt::kDialogTextIds.begin(), dtxt::kDialogTextIds.end());
    for (int i = 0; i < dtxt::kComPortItems; ++i)
        ids.push_back(dtxt::kComPortItem0 + i);
    for (int id : ids) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        EXPECT_NE(text[0], '\0') << "id " << id;
    }
}

TEST_P(DialogTexts, TooLongNumberTakesNumberCountAndLimit) {
    EXPECT_EQ(TextPlaceholders(m_Table.Text(dtxt::kNumberTooLong)), "snn");
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogTexts, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.'));
                         });
