// Every text the wizard shows exists, not empty, in each of the six
// languages: the step captions, the help texts, the buttons, the questions
// and the messages.

#include "AssiTextIds.h"
#include "LanguageTextCheck.h"
#include "PageTestBase.h"
#include "PermSettings.h"
#include "TAssiSequence.h"
#include "TAssiSteps.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

std::set<int> WizardTextIds() {
    std::set<int> ids = {atxt::kFileName,       atxt::kSaveFailed,        atxt::kReadFailed,
                         atxt::kReadOk,         atxt::kSendFailed,        atxt::kCaption,
                         atxt::kCancelBtn,      atxt::kBackBtn,           atxt::kForwardBtn,
                         atxt::kFinishBtn,      atxt::kWelcome,           atxt::kWelcomeButtons,
                         atxt::kWelcomeF1,      atxt::kWelcomeNoAssist,   atxt::kDeviceTypeQuestion,
                         atxt::kReadingDevices, atxt::kComplete,          atxt::kSendData,
                         atxt::kByHand,         atxt::kReadOverInterface, atxt::kProgram,
                         atxt::kDontProgram,    atxt::kCancelQuestion,    atxt::kNoLink,
                         atxt::kVersion,        atxt::kHeadMox,           atxt::kHeadRAK,
                         atxt::kHeadIT,         atxt::kHeadTln,           atxt::kHeadSystem,
                         atxt::kHeadGeraete,    atxt::kHeadBSM,           atxt::kHeadKMR,
                         atxt::kHeadTlnIT1};
    for (int s = 0; s < eAssiStateCount; ++s) {
        const TAssiStep* step = TAssiSteps::Get(static_cast<std::uint8_t>(s));
        ids.insert(step->caption);
        if (step->captionIT1)
            ids.insert(step->captionIT1);
        for (int id : step->helpTexts)
            if (id)
                ids.insert(id);
    }
    return ids;
}

// Each row loads the texts of its own language.
class AssiTexts : public PageTestBase, public testing::WithParamInterface<int> {
protected:
    AssiTexts() : PageTestBase("assitx", TextSource::Program) {}
};

TEST_P(AssiTexts, AreAllThere) {
    SetPermSprache(GetParam());
    TkResourcen res;
    ASSERT_TRUE(res.IsLoaded());
    EXPECT_TRUE(HasTexts([&res](int id) { return res.GetText(id); }, WizardTextIds()))
        << " in language " << GetParam();
    // The file name is a bare name: the wizard puts it in its own folder.
    const char* name = res.GetText(atxt::kFileName);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::strchr(name, '/'), nullptr);
}

INSTANTIATE_TEST_SUITE_P(SixLanguages, AssiTexts, testing::Range(1, 7));

} // namespace
