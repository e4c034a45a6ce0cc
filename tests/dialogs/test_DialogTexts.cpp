// Every language-text id of the dialogs has its text in all six language
// files, and the refusal of a too-long number fills the same placeholders
// in every language.

#include "DialogTextIds.h"
#include "LanguageTextCheck.h"
#include "TextSubst.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class DialogTexts : public LanguageFileTest {};

} // namespace

TEST_P(DialogTexts, EveryIdHasAText) {
    std::vector<int> ids(dtxt::kDialogTextIds.begin(), dtxt::kDialogTextIds.end());
    for (int i = 0; i < dtxt::kComPortItems; ++i)
        ids.push_back(dtxt::kComPortItem0 + i);
    EXPECT_TRUE(HasTexts(ids));
}

TEST_P(DialogTexts, TooLongNumberTakesNumberCountAndLimit) {
    EXPECT_EQ(TextPlaceholders(m_Table.Text(dtxt::kNumberTooLong)), "snn");
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogTexts, testing::ValuesIn(kLanguageFiles),
                         LanguageFileName);
