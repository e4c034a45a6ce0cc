// The language texts the document shows, in the six generated language
// files beside the program.

#include "DocTestSupport.h"
#include "ErrorBox.h"

namespace {

const int kDocTextIds[] = {
    kDocTextSmsProtocol1,   kDocTextSmsProtocol2,   kDocTextUnnamed,      kDocTextCaption,
    kDocTextReadException,  kDocTextSendInfo,       kDocTextReceiveInfo,  kDocTextFileWrongLength,
    kDocTextFileDamaged,    kDocTextFileUnreadable, kDocTextFileNotSaved, kDocTextTexteTooLong,
    kDocTextPackageTooLong,
};

TEST(DocTexts, EveryLanguageHasEveryTextAndTheSameSmsProtocolWords) {
    ErrorBox::SetHandlerForTesting([](const ErrorBox::Request&) { return ErrorBox::Answer::Ok; });
    TkResourcen res;
    for (int sprache = eSpracheDeutsch; sprache <= eSpracheHollaendisch; ++sprache) {
        const std::string path =
            std::string(MOX_BIN_DIR) + "/" + TkResourcen::LanguageFileName(sprache);
        ASSERT_TRUE(res.LoadFile(path)) << path;
        for (int id : kDocTextIds) {
            const char* text = res.GetText(id);
            EXPECT_TRUE(text && *text) << path << " has no text " << id;
        }
        // The shipped SMS default files name their protocols with these.
        EXPECT_STREQ(res.GetText(kDocTextSmsProtocol1), "UCP") << path;
        EXPECT_STREQ(res.GetText(kDocTextSmsProtocol2), "TAP") << path;
    }
    ErrorBox::SetHandlerForTesting({});
}

} // namespace
