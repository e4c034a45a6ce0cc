#include "SubscriberFixture.h"

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "TTlnProgAccess.h"
#include "TestImages.h"

#include <QApplication>

int FakeSubTransfer::ShowModal() {
    runs.push_back(mode);
    infos.push_back(info);
    if (duringRun)
        duringRun(mode);
    const auto r = results.find(mode);
    const int result = r == results.end() ? 1 : r->second;
    if (result != 1)
        return result;
    switch (mode) {
    case 2:
        ServeRead(readImage);
        return 1;
    case 5:
        if (rig)
            rig->SetKBAList(kbaList);
        return 1;
    case 6:
        if (rig)
            rig->SetKBACounter(kbaCount);
        return 1;
    case 1:
        // A write: every package is asked for as the real controller asks.
        if (!doc)
            return 2;
        return SendPackages(*doc) < 0 ? 2 : 1;
    default:
        return 2;
    }
}

void SubscriberTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
    TTlnProgAccess::SetResolverForTesting(
        [this](IMainTransfer* t) -> std::unique_ptr<ITlnProgPort> {
            return t == &m_Transfer ? m_Rig.MakePort() : nullptr;
        });

    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), &m_Transfer);
    m_pDoc->SetTypeIT(2);
    m_pDoc->InitAllTln(false);
    m_pDoc->SetModified(false);
    m_Transfer.doc = m_pDoc.get();
    m_Transfer.rig = &m_Rig;
    m_Host.doc = m_pDoc.get();
    SetViewHost(&m_Host);
    m_pOwner = std::make_unique<QWidget>();
    m_pOwner->resize(640, 480);
}

void SubscriberTest::TearDown() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_pOwner.reset();
    SetViewHost(nullptr);
    m_pDoc.reset();
    TTlnProgAccess::SetResolverForTesting({});
    m_Rig.forward = nullptr;
    PageTestBase::TearDown();
}

int SubscriberTest::BoxAnswer(const TMsgBox::Request& request) {
    if (const auto a = m_Answers.find(request.textId); a != m_Answers.end())
        return a->second;
    return YesOrOk(request);
}

void SubscriberTest::SetTln(int i, const char* rnr, std::uint16_t busAdr, std::uint16_t logAdr) {
    const auto idx = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(m_pDoc->SetTlnRnr(idx, rnr));
    m_pDoc->SetTlnBusAdr(idx, busAdr);
    m_pDoc->SetTlnLogAdr(idx, logAdr);
}

std::string SubscriberTest::RnrOf(int i) const {
    char rnr[32] = {};
    if (!m_pDoc->GetTlnRnr(static_cast<std::uint8_t>(i), rnr, sizeof rnr))
        return {};
    return rnr;
}

std::vector<std::uint8_t> ImageWithTypeIT(std::uint8_t typeIT) {
    return TaggedImage([=](MoxDaten* data) { MoxSetTypeIT(data, typeIT); });
}
