#include "PageFixture.h"

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "TestImages.h"
#include "WindowMessages.h"

#include <QApplication>

bool FakePageHost::ViewQuerySave() {
    log.push_back("query");
    if (page) {
        if (!page->CloseQuery())
            return false;
        page->Perform(WM_SAVE, -1, -1);
    }
    if (duringQuery)
        duringQuery();
    return allowReplace;
}

void FakePageHost::ViewRebuildTree() {
    log.push_back("rebuild");
    // As the main window's rebuild: the page goes without being stored
    // again; its caller has stored it.
    TDataView* old = page;
    page = nullptr;
    TDataView::Discard(old);
}

std::vector<std::uint8_t> ImageWithTypes(std::uint8_t typeIT, std::uint8_t typeBSM,
                                         std::uint8_t typeKMR, std::uint8_t typeRAK) {
    return TaggedImage([=](MoxDaten* data) {
        MoxSetTypeIT(data, typeIT);
        MoxSetTypeBSM(data, typeBSM);
        MoxSetTypeKMR(data, typeKMR);
        MoxSetTypeRAK(data, typeRAK);
    });
}

void PageTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), &m_Transfer);
    m_Transfer.doc = m_pDoc.get();
    m_Host.doc = m_pDoc.get();
    SetViewHost(&m_Host);
    m_pOwner = std::make_unique<QWidget>();
    m_pOwner->resize(640, 480);
}

void PageTest::TearDown() {
    DropPage();
    // Queued calls of a page (a tree rebuild) run before the host goes.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_pOwner.reset();
    SetViewHost(nullptr);
    m_pDoc.reset();
    PageTestBase::TearDown();
}

void PageTest::DropPage() {
    TDataView* old = m_Host.page;
    m_Host.page = nullptr;
    TDataView::Destroy(old);
}
