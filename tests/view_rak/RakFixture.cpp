#include "RakFixture.h"

#include "PermSettings.h"
#include "WindowMessages.h"

#include <QCoreApplication>

void RakPageTest::ChooseSettings() {
    SetPermLand(1); // Germany: def_d.sms
}

void RakPageTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
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
    PageTestBase::TearDown();
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
