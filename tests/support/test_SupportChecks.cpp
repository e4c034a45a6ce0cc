// The shared checks fail where they must, naming what is missing: a check
// that always passed would let a missing text or help page through every
// page test.

#include "HelpPageCheck.h"
#include "LanguageTextCheck.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct TextCase {
    const char* name;
    std::vector<int> ids;
    bool passes;
    const char* message; // a part of the failure message
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

// Id 1 has a text, id 2 an empty one, every other id none.
const char* Lookup(int id) {
    static const std::map<int, const char*> texts = {{1, "Text"}, {2, ""}};
    const auto it = texts.find(id);
    return it == texts.end() ? nullptr : it->second;
}

class HasTextsRow : public testing::TestWithParam<TextCase> {};

TEST_P(HasTextsRow, NamesTheIdsWithoutText) {
    const TextCase& c = GetParam();
    const testing::AssertionResult r = HasTexts(Lookup, c.ids);
    EXPECT_EQ(static_cast<bool>(r), c.passes);
    EXPECT_NE(std::string(r.message()).find(c.message), std::string::npos) << r.message();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HasTextsRow,
    testing::Values(TextCase{"AllThere", {1}, true, ""}, TextCase{"NoIds", {}, true, ""},
                    TextCase{"Missing", {1, 7, 8}, false, "no text for id 7 8"},
                    TextCase{"Empty", {2, 1}, false, "empty text for id 2"},
                    TextCase{
                        "MissingAndEmpty", {9, 2}, false, "no text for id 9; empty text for id 2"}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(HasHelpPages, PassesForContextsWithAPageInEveryFolder) {
    // The connect dialog's contexts have their pages in the help of every
    // language and mode.
    EXPECT_TRUE(HasHelpPages({20, 21, 22}));
    EXPECT_TRUE(HasHelpPages({}));
}

TEST(HasHelpPages, NamesEveryMissingPage) {
    const testing::AssertionResult r = HasHelpPages({20, 99999});
    EXPECT_FALSE(r);
    const std::string message = r.message();
    for (const char* folder : kHelpFolders)
        EXPECT_NE(message.find(std::string(folder) + "/99999.html"), std::string::npos) << folder;
    EXPECT_EQ(message.find("/20.html"), std::string::npos) << message;
}

} // namespace
