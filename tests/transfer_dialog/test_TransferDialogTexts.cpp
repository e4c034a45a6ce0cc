// The language texts of the transfer form: every id it uses has its text in
// the six generated language files, and the block texts take one number.

#include "SptReader.h"
#include "TextSubst.h"
#include "TransferDialogTextIds.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr std::array<const char*, 6> kFiles = {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt",
                                               "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

class TransferTexts : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(
            SptReader::ReadFile(std::string(MOX_BIN_DIR) + "/res/" + GetParam(), m_Table, error))
            << error;
    }
    SptTable m_Table;
};

TEST_P(TransferTexts, EveryIdOfTheFormHasItsText) {
    for (const int id : ttxt::kTransferDialogTextIds)
        EXPECT_NE(m_Table.Text(id), nullptr) << "id " << id;
}

TEST_P(TransferTexts, BlockTextsTakeOneNumber) {
    for (const int id : {ttxt::kReceiveBlock, ttxt::kSendBlock}) {
        const char* text = m_Table.Text(id);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(TextPlaceholders(text), "n") << "id " << id;
        EXPECT_NE(TextSubst(text, {12}).find("12"), std::string::npos) << "id " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TransferTexts, testing::ValuesIn(kFiles), [](const auto& info) {
    std::string name = info.param;
    return name.substr(0, name.find('.'));
});

} // namespace
