// Every language-text id of the read and write pages has its text in all
// six language files, and the two link texts end in the blank that parts
// them from the link's name.

#include "DataPageTextIds.h"
#include "LanguageTextCheck.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class DataPageTexts : public LanguageFileTest {};

} // namespace

TEST_P(DataPageTexts, EveryIdHasAText) {
    EXPECT_TRUE(HasTexts(ptxt::kDataPageTextIds));
}

TEST_P(DataPageTexts, LinkTextsEndInABlank) {
    for (int id : {ptxt::kReadLink, ptxt::kWriteLink}) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        const std::size_t n = std::strlen(text);
        ASSERT_GT(n, 1u) << "id " << id;
        EXPECT_EQ(text[n - 1], ' ') << "id " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, DataPageTexts, testing::ValuesIn(kLanguageFiles),
                         LanguageFileName);
