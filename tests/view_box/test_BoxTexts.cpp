// Every language-text id of the box pages has its text in all six language
// files, the country and language lists have no gaps, and the firmware file
// filter has the pairs the file dialog needs.

#include "BoxTextIds.h"
#include "SptReader.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr std::array<const char*, 6> kFiles = {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt",
                                               "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

class BoxTexts : public testing::TestWithParam<const char*> {
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

TEST_P(BoxTexts, EveryIdHasAText) {
    for (int id : btxt::kBoxTextIds) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        EXPECT_NE(text[0], '\0') << "id " << id;
    }
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

INSTANTIATE_TEST_SUITE_P(Languages, BoxTexts, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.'));
                         });
