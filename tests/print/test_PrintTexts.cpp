// Every language text the printing uses has a text in all six language
// files, so no report prints an empty caption in any language.

#include "LanguageTextCheck.h"
#include "PrintTextIds.h"

#include <gtest/gtest.h>

namespace {

class PrintTexts : public LanguageFileTest {};

} // namespace

TEST_P(PrintTexts, EveryIdHasAText) {
    EXPECT_TRUE(HasTexts(prtxt::kPrintTextIds));
}

INSTANTIATE_TEST_SUITE_P(Languages, PrintTexts, testing::ValuesIn(kLanguageFiles),
                         LanguageFileName);
