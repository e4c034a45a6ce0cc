// Every language-text id of the read and write pages has its text in all
// six language files, and the two link texts end in the blank that parts
// them from the link's name.

#include "DataPageTextIds.h"
#include "SptReader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace {

constexpr std::array<const char*, 6> kFiles = {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt",
                                               "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

class DataPageTexts : public testing::TestWithParam<const char*> {
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

TEST_P(DataPageTexts, EveryIdHasAText) {
    for (int id : ptxt::kDataPageTextIds) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        EXPECT_NE(text[0], '\0') << "id " << id;
    }
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

INSTANTIATE_TEST_SUITE_P(Languages, DataPageTexts, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.'));
                         });
