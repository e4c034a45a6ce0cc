#include "LanguageTextCheck.h"

std::string LanguageFileName(const testing::TestParamInfo<const char*>& info) {
    const std::string name = info.param;
    return name.substr(0, name.find('.'));
}

testing::AssertionResult HasTexts(const TextLookup& text, const std::vector<int>& ids) {
    std::string missing;
    std::string empty;
    for (int id : ids) {
        const char* t = text(id);
        if (!t)
            missing += " " + std::to_string(id);
        else if (t[0] == '\0')
            empty += " " + std::to_string(id);
    }
    if (missing.empty() && empty.empty())
        return testing::AssertionSuccess();
    auto failure = testing::AssertionFailure();
    if (!missing.empty())
        failure << "no text for id" << missing;
    if (!empty.empty())
        failure << (missing.empty() ? "" : "; ") << "empty text for id" << empty;
    return failure;
}

void LanguageFileTest::SetUp() {
    std::string error;
    ASSERT_TRUE(
        SptReader::ReadFile(std::string(MOX_BIN_DIR) + "/res/" + GetParam(), m_Table, error))
        << error;
}
