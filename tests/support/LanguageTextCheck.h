#pragma once
// Every text id a form shows must have a text in each of the six generated
// language files: a missing one shows an empty caption in that language.

#include "SptReader.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

inline constexpr std::array<const char*, 6> kLanguageFiles = {
    "ktx_d.spt", "ktx_uk.spt", "ktx_f.spt", "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

// Names a language row after its file: "ktx_d.spt" -> "ktx_d".
std::string LanguageFileName(const testing::TestParamInfo<const char*>& info);

// The text of an id, nullptr when there is none.
using TextLookup = std::function<const char*(int id)>;

// Passes when every id has a text that is not empty; the failure names each
// id without one.
testing::AssertionResult HasTexts(const TextLookup& text, const std::vector<int>& ids);
template <class Ids> testing::AssertionResult HasTexts(const TextLookup& text, const Ids& ids) {
    return HasTexts(text, std::vector<int>(std::begin(ids), std::end(ids)));
}

// A test over the six language files (instantiate it with kLanguageFiles
// and LanguageFileName): the file of the row is read into m_Table.
class LanguageFileTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override;

    template <class Ids> testing::AssertionResult HasTexts(const Ids& ids) const {
        return ::HasTexts([this](int id) { return m_Table.Text(id); }, ids) << " in " << GetParam();
    }

    SptTable m_Table;
};
