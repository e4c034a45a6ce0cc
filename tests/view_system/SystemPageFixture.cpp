#include "SystemPageFixture.h"

#include "ErrorBox.h"
#include "MoxCommandLine.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "SystemForm.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLocale>
#include <QVBoxLayout>

#include <cstdlib>

using mox::platform::MessageReceiver;
using mox::platform::SettingsStore;
using mox::platform::WindowMessage;

void SystemPageTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mox-system-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    m_Dir = tmpl;
    SettingsStore::SetInstanceForTesting(
        SettingsStore::OpenFile((m_Dir / "settings.ini").string()));
    ErrorBox::SetHandlerForTesting([](const ErrorBox::Request& r) {
        ADD_FAILURE() << r.text;
        return ErrorBox::Answer::Ok;
    });
    // The level fields follow the user's decimal separator: fixed here.
    QLocale::setDefault(QLocale::c());
    TkResourcen::SetProgramDirForTesting(MOX_BIN_DIR);
    SetPermSprache(2); // English
    m_pRes = std::make_unique<TkResourcen>();
    ASSERT_TRUE(m_pRes->IsLoaded());
    TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
        m_Boxes.push_back(r);
        return mb::kIdOk;
    });

    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), nullptr);
    m_Host.doc = m_pDoc.get();
    SetViewHost(&m_Host);

    m_pWindow = std::make_unique<QWidget>();
    m_pWindow->resize(800, 600);
    new MessageReceiver(
        [this](const WindowMessage& m) {
            m_WindowMessages.push_back(m.id);
            return std::intptr_t{0};
        },
        m_pWindow.get());
    auto* layout = new QVBoxLayout(m_pWindow.get());
    m_pPanel = new QWidget(m_pWindow.get());
    m_pPanel->setObjectName(QStringLiteral("m_pViewPanel"));
    layout->addWidget(m_pPanel);
    SystemForm::SetProgramModeForTesting(eModeExpert);
}

void SystemPageTest::TearDown() {
    DropPage();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_pWindow.reset();
    SetViewHost(nullptr);
    m_pDoc.reset();
    SystemForm::SetProgramModeForTesting(0);
    TMsgBox::SetHandlerForTesting({});
    ErrorBox::SetHandlerForTesting({});
    m_pRes.reset();
    TkResourcen::SetProgramDirForTesting("");
    SettingsStore::SetInstanceForTesting(nullptr);
    QLocale::setDefault(QLocale::system());
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
}

void SystemPageTest::DropPage() {
    TDataView* old = m_pPage;
    m_pPage = nullptr;
    TDataView::Destroy(old);
}

std::vector<int> SystemPageTest::BoxIds() const {
    std::vector<int> ids;
    for (const auto& b : m_Boxes)
        ids.push_back(b.textId);
    return ids;
}

std::vector<std::uint8_t> SystemPageTest::Record() const {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_pDoc->GetDaten());
    return {bytes, bytes + sizeof(MoxDaten)};
}

void LeaveField(QWidget* field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}
