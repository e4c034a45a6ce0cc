// Every language-text id of the code-assignment and programming start
// pages has its text in all six language files, the error text with a
// number keeps its one number placeholder, and the link texts end in a
// blank.

#include "CodeTextIds.h"
#include "LanguageTextCheck.h"
#include "TextSubst.h"

#include <gtest/gtest.h>

namespace {

class CodeTexts : public LanguageFileTest {};

} // namespace

TEST_P(CodeTexts, EveryIdHasAText) {
    EXPECT_TRUE(HasTexts(ctxt::kCodeTextIds));
}

TEST_P(CodeTexts, ErrorTypeTextTakesOneNumber) {
    EXPECT_EQ(TextPlaceholders(m_Table.Text(ctxt::kProgErrorOther)), "n");
}

INSTANTIATE_TEST_SUITE_P(Languages, CodeTexts, testing::ValuesIn(kLanguageFiles), LanguageFileName);
