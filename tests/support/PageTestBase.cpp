#include "PageTestBase.h"

#include "ErrorBox.h"
#include "PermSettings.h"

#include <utility>

PageTestBase::PageTestBase(std::string dirTag, TextSource texts)
    : m_DirTag(std::move(dirTag)), m_Texts(texts) {}

void PageTestBase::SetUp() {
    m_pSettings = std::make_unique<mox::test::TestSettingsFile>(m_DirTag);
    ASSERT_TRUE(m_pSettings->Ok());
    m_Dir = m_pSettings->Dir();
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
    m_pSettings.reset();
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
