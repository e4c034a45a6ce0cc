#include "CodeFixture.h"

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "TCodePages.h"
#include "TViewFactory.h"
#include "TestImages.h"
#include "WindowMessages.h"

#include <QApplication>

TProgFlags FakeCodeTransfer::GetProgFlags() const {
    TProgFlags flags;
    flags.boxProg = progMode;
    flags.tlnProg = btlm;
    flags.tlnVideo = btlm && video;
    flags.bsmProg = bsm;
    return flags;
}

void FakeCodeTransfer::ModuleInProg(std::uint16_t adr, std::uint16_t relay) {
    progMode = true;
    bsm = true;
    adrBSM = adr;
    relais = relay;
}

void FakeCodeTransfer::UnitInProg(std::uint16_t adr, bool withVideo) {
    progMode = true;
    btlm = true;
    video = withVideo;
    adrBTLM = adr;
}

std::vector<std::uint8_t> CodeImage(std::uint8_t typeIT, std::uint8_t typeBSM,
                                    std::uint16_t tlnAdr) {
    return TaggedImage([=](MoxDaten* data) {
        MoxSetTypeIT(data, typeIT);
        MoxSetTypeBSM(data, typeBSM);
        if (tlnAdr != 0)
            MoxSetTlnBusAdr(data, 0, tlnAdr);
    });
}

void CodeTest::ChooseSettings() {
    SetComPort(2); // the bus interface: a programming medium
}

void CodeTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), &m_Transfer);
    m_Transfer.doc = m_pDoc.get();
    m_Host.doc = m_pDoc.get();
    SetViewHost(&m_Host);
    m_pOwner = std::make_unique<FakeHostDialog>();
    m_pOwner->resize(640, 480);
    TCodePages::Register();
}

void CodeTest::TearDown() {
    DropPage();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TCodePages::Unregister();
    m_pOwner.reset();
    SetViewHost(nullptr);
    m_pDoc.reset();
    PageTestBase::TearDown();
}

int CodeTest::BoxAnswer(const TMsgBox::Request& request) {
    if (auto a = m_Answers.find(request.textId); a != m_Answers.end())
        return a->second;
    return YesOrOk(request);
}

TDataView* CodeTest::MakePage(std::uint8_t kind, std::uint8_t holderKind, bool readBox) {
    DropPage();
    m_pOwner->readBox = readBox;
    m_Holder = std::make_unique<TNodeData>(holderKind);
    TViewContext ctx;
    ctx.owner = m_pOwner.get();
    ctx.holder = m_Holder.get();
    ctx.res = Res();
    ctx.transfer = &m_Transfer;
    m_pPage = TViewFactory::Create(kind, ctx);
    m_pOwner->show();
    return m_pPage;
}

void CodeTest::DropPage() {
    TDataView* old = m_pPage;
    m_pPage = nullptr;
    TDataView::Destroy(old);
}

void CodeTest::PrepareDoc(std::uint16_t tlnAdr) {
    Doc().SetTypeIT(2);
    Doc().SetTypeBSM(1);
    Doc().SetTlnBusAdr(0, tlnAdr);
}
