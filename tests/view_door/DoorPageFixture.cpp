#include "DoorPageFixture.h"

#include "ErrorBox.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TDoorPages.h"
#include "TViewFactory.h"

#include <QComboBox>
#include <QCoreApplication>

#include <cstdlib>

using mox::platform::SettingsStore;

void DoorPageTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mox-door-XXXXXX").string();
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
    m_pRes = std::make_unique<TkResourcen>();
    ASSERT_TRUE(m_pRes->IsLoaded());
    TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
        m_Boxes.push_back(r);
        return m_nAnswer;
    });
    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), nullptr);
    // A new document holds the providers of the country's SMS defaults when
    // the program's files are there; the tests name their own.
    for (std::uint8_t i = 0; i < MOX_MAX_SMS; ++i)
        m_pDoc->SetSMSProvider(i, "");
    m_Host.doc = m_pDoc.get();
    SetViewHost(&m_Host);
    m_pOwner = std::make_unique<QWidget>();
    m_pOwner->resize(640, 480);
    TDoorPages::Register();
}

void DoorPageTest::TearDown() {
    Drop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TDoorPages::Unregister();
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

TDataView* DoorPageTest::MakeView(std::uint8_t kind, std::uint8_t holderKind) {
    Drop();
    m_Holder = std::make_unique<TNodeData>(holderKind ? holderKind : kind);
    TViewContext ctx;
    ctx.owner = m_pOwner.get();
    ctx.holder = m_Holder.get();
    ctx.res = m_pRes.get();
    m_pPage = TViewFactory::Create(kind, ctx);
    m_pOwner->show();
    return m_pPage;
}

void DoorPageTest::Drop() {
    TDataView* old = m_pPage;
    m_pPage = nullptr;
    TDataView::Destroy(old);
}

std::vector<int> DoorPageTest::BoxIds() const {
    std::vector<int> ids;
    for (const auto& b : m_Boxes)
        ids.push_back(b.textId);
    return ids;
}

std::string DoorPageTest::DocText(bool (TMoxDocument::*get)(char*, std::size_t) const) const {
    char buffer[64] = {};
    if (!(m_pDoc.get()->*get)(buffer, sizeof buffer))
        return "<none>";
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

void Choose(QComboBox* list, int pos) {
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(pos);
    emit list->activated(pos);
}
