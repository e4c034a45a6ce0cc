#include "DoorPageFixture.h"

#include "TDoorPages.h"
#include "TViewFactory.h"

#include <QComboBox>
#include <QCoreApplication>

void DoorPageTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
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
    PageTestBase::TearDown();
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
