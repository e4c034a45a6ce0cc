#include "RakFixture.h"

#include "ErrorBox.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "WindowMessages.h"

#include <QCoreApplication>

#include <cstdlib>

using mox::platform::SettingsStore;

void RakPageTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mox-rak-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    m_Dir = tmpl;
    SettingsStore::SetInstanceForTesting(
        SettingsStore::OpenFile((m_Dir / "settings.ini").string()));
    ErrorBox::SetHandlerForTesting([](const ErrorBox::Request& r) {
        ADD_FAILURE() << r.text;
        return ErrorBox::Answer::Ok;
    });
    TkResourcen::SetProgramDirForTesting(MOX_BIN_DIR);
    SetPermSprache(2); // English
    SetPermLand(1);    // Germany: def_d.sms
    m_pRes = std::make_unique<TkResourcen>();
    ASSERT_TRUE(m_pRes->IsLoaded());

    TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
        m_Boxes.push_back(r);
        return mb::kIdOk;
    });

    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), nullptr);
    m_pDoc->SetResDir(MOX_SMS_DIR);
    m_pDoc->SetTypeIT(2);
    m_pDoc->SetTypeRAK(1);
    m_Host.doc = m_pDoc.get();
    SetViewHost(&m_Host);
    m_pOwner = std::make_unique<QWidget>();
    m_pOwner->resize(640, 560);
}

void RakPageTest::TearDown() {
    DropPage();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_pOwner.reset();
    SetViewHost(nullptr);
    m_pDoc.reset();
    TMsgBox::SetHandlerForTesting({});
    ErrorBox::SetHandlerForTesting({});
    m_pRes.reset();
    TkResourcen::SetProgramDirForTesting("");
    SettingsStore::SetInstanceForTesting(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
}

void RakPageTest::DropPage() {
    TDataView* old = m_pPage;
    m_pPage = nullptr;
    TDataView::Destroy(old);
}

void RakPageTest::Save() {
    ASSERT_NE(m_pPage, nullptr);
    m_pPage->Perform(WM_SAVE, -1, -1);
}

std::vector<int> RakPageTest::BoxIds() const {
    std::vector<int> ids;
    for (const auto& b : m_Boxes)
        ids.push_back(b.textId);
    return ids;
}
