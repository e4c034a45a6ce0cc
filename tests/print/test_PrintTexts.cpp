// Every language text the printing uses has a text in all six language
// files, so no report prints an empty caption in any language.

#include "PrintTextIds.h"
#include "SptReader.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr std::array<const char*, 6> kFiles = {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt",
                                               "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

class PrintTexts : public testing::TestWithParam<const char*> {};

} // namespace

TEST_P(PrintTexts, EveryIdHasAText) {
    SptTable table;
    std::string error;
    ASSERT_TRUE(SptReader::ReadFile(std::string(MOX_BIN_DIR) + "/res/" + GetParam(), table, error))
        << error;
    for (int id : prtxt::kPrintTextIds) {
        const char* text = table.Text(id);
        ASSERT_NE(text, nullptr) << "id " << id;
        EXPECT_NE(text[0], '\0') << "id " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, PrintTexts, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.'));
                         });
