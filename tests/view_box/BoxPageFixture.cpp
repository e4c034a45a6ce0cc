#include "BoxPageFixture.h"

#include "ErrorBox.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "WindowMessages.h"

#include <QApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using mox::platform::SettingsStore;

int FakeBoxTransfer::ShowModal() {
    runs.push_back(mode);
    lengths.push_back(len);
    if (mode == 7 && buf && result == 1)
        std::memcpy(buf, dump.data(), std::min<std::size_t>(dump.size(), len));
    return result;
}

void BoxPageTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mox-box-XXXXXX").string();
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
        if (m_Answers.empty())
            return mb::kIdOk;
        const int answer = m_Answers.front();
        m_Answers.pop_front();
        return answer;
    });
    TFileDialog::SetHandlerForTesting([this](const TFileDialog::Request& r) {
        m_Dialogs.push_back(r);
        if (m_DialogAnswers.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return QString();
        }
        const QString answer = m_DialogAnswers.front();
        m_DialogAnswers.pop_front();
        return answer;
    });

    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), &m_Transfer);
    m_Host.doc = m_pDoc.get();
    SetViewHost(&m_Host);
    m_pOwner = std::make_unique<QWidget>();
    m_pOwner->resize(640, 480);
}

void BoxPageTest::TearDown() {
    DropPage();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_pOwner.reset();
    SetViewHost(nullptr);
    m_pDoc.reset();
    TMsgBox::SetHandlerForTesting({});
    TFileDialog::SetHandlerForTesting({});
    ErrorBox::SetHandlerForTesting({});
    m_pRes.reset();
    TkResourcen::SetProgramDirForTesting("");
    SettingsStore::SetInstanceForTesting(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
}

void BoxPageTest::Keep(TDataView* page) {
    m_pPage = page;
    m_pOwner->show();
    // As the main window shows the page of the selected node.
    page->show();
}

void BoxPageTest::DropPage() {
    TDataView* old = m_pPage;
    m_pPage = nullptr;
    TDataView::Destroy(old);
}

std::vector<int> BoxPageTest::BoxIds() const {
    std::vector<int> ids;
    for (const auto& b : m_Boxes)
        ids.push_back(b.textId);
    return ids;
}
