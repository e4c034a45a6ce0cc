#include "BoxPageFixture.h"

#include "WindowMessages.h"

#include <QApplication>

int FakeBoxTransfer::ShowModal() {
    runs.push_back(mode);
    lengths.push_back(len);
    if (mode == 7 && result == 1)
        ServeRead(dump);
    return result;
}

void BoxPageTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
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
    TFileDialog::SetHandlerForTesting({});
    PageTestBase::TearDown();
}

int BoxPageTest::BoxAnswer(const TMsgBox::Request&) {
    if (m_Answers.empty())
        return mb::kIdOk;
    const int answer = m_Answers.front();
    m_Answers.pop_front();
    return answer;
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
