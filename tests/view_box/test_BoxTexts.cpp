// Every language-text id of the box pages has its text in all six language
// files, the country and language lists have no gaps, and the firmware file
// filter has the pairs the file dialog needs.

#include "BoxTextIds.h"
#include "LanguageTextCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class BoxTexts : public LanguageFileTest {};

} // namespace

TEST_P(BoxTexts, EveryIdHasAText) {
    EXPECT_TRUE(HasTexts(btxt::kBoxTextIds));
}

TEST_P(BoxTexts, EventLogFilterComesInPairs) {
    // "name|pattern|name|pattern": an odd count would lose the last filter.
    for (int id : {btxt::kFWFilter}) {
        const std::string text = m_Table.Text(id) ? m_Table.Text(id) : "";
        std::size_t bars = 0;
        for (char c : text)
            bars += c == '|';
        EXPECT_EQ(bars % 2, 1u) << "id " << id << ": " << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, BoxTexts, testing::ValuesIn(kLanguageFiles), LanguageFileName);
