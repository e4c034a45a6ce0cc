#include "PageTestBase.h"

#include "ErrorBox.h"
#include "PermSettings.h"
#include "SettingsStore.h"

#include <cstdlib>
#include <utility>

using mox::platform::SettingsStore;

PageTestBase::PageTestBase(std::string dirTag, TextSource texts)
    : m_DirTag(std::move(dirTag)), m_Texts(texts) {}

void PageTestBase::SetUp() {
    std::string tmpl =
        (std::filesystem::temp_directory_path() / ("mox-" + m_DirTag + "-XXXXXX")).string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    m_Dir = tmpl;
    SettingsStore::SetInstanceForTesting(
        SettingsStore::OpenFile((m_Dir / "settings.ini").string()));
    // A missing language file must fail the test, not wait for a click.
    ErrorBox::SetHandlerForTesting([](const ErrorBox::Request& r) {
        ADD_FAILURE() << r.text;
        return ErrorBox::Answer::Ok;
    });
    TkResourcen::SetProgramDirForTesting(MOX_BIN_DIR);
    SetPermSprache(2); // English
    ChooseSettings();
    if (m_Texts == TextSource::Fixture) {
        m_pRes = std::make_unique<TkResourcen>();
        ASSERT_TRUE(m_pRes->IsLoaded());
    }
    TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
        m_Boxes.push_back(r);
        return BoxAnswer(r);
    });
}

void PageTestBase::TearDown() {
    TMsgBox::SetHandlerForTesting({});
    ErrorBox::SetHandlerForTesting({});
    m_pRes.reset();
    TkResourcen::SetProgramDirForTesting("");
    SettingsStore::SetInstanceForTesting(nullptr);
    std::error_code ec;
    if (!m_Dir.empty())
        std::filesystem::remove_all(m_Dir, ec);
}

int PageTestBase::BoxAnswer(const TMsgBox::Request&) {
    return mb::kIdOk;
}

std::vector<int> PageTestBase::BoxIds() const {
    std::vector<int> ids;
    for (const auto& b : m_Boxes)
        ids.push_back(b.textId);
    return ids;
}

int YesOrOk(const TMsgBox::Request& request) {
    const unsigned buttons = request.flags & mb::kButtonMask;
    return buttons == mb::kYesNo || buttons == mb::kYesNoCancel ? mb::kIdYes : mb::kIdOk;
}
