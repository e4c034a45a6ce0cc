#include "CodeFixture.h"

#include "ErrorBox.h"
#include "MoxAccess.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TCodePages.h"
#include "TKtxImage.h"
#include "TViewFactory.h"
#include "WindowMessages.h"

#include <QApplication>

#include <algorithm>
#include <cstring>

using mox::platform::SettingsStore;

int FakeCodeTransfer::ShowModal() {
    runs.push_back(mode);
    if (duringRun)
        duringRun();
    if (mode == 2) {
        if (buf && !readImage.empty())
            std::memcpy(buf, readImage.data(), std::min<std::size_t>(readImage.size(), len));
        return result;
    }
    if (mode != 1 || !buf || len == 0 || !doc)
        return 2;
    ioTlnAdr.push_back(MoxGetIO_TlnAdr(doc->GetDaten()));
    for (int guard = 0; guard < 500; ++guard) {
        doc->OnNeedTransferData();
        if (len == 0)
            return result;
        doc->MoreAnlDataToComPort();
    }
    return 2;
}

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
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    MoxSetTypeIT(data.get(), typeIT);
    MoxSetTypeBSM(data.get(), typeBSM);
    if (tlnAdr != 0)
        MoxSetTlnBusAdr(data.get(), 0, tlnAdr);
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(data.get(), image.data());
    return image;
}

void CodeTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mox-codes-XXXXXX").string();
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
    SetComPort(2);     // the bus interface: a programming medium
    m_pRes = std::make_unique<TkResourcen>();
    ASSERT_TRUE(m_pRes->IsLoaded());

    TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
        m_Boxes.push_back(r);
        if (auto a = m_Answers.find(r.textId); a != m_Answers.end())
            return a->second;
        const unsigned buttons = r.flags & mb::kButtonMask;
        return buttons == mb::kYesNo || buttons == mb::kYesNoCancel ? mb::kIdYes : mb::kIdOk;
    });

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
    TMsgBox::SetHandlerForTesting({});
    ErrorBox::SetHandlerForTesting({});
    m_pRes.reset();
    TkResourcen::SetProgramDirForTesting("");
    SettingsStore::SetInstanceForTesting(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
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

std::vector<int> CodeTest::BoxIds() const {
    std::vector<int> ids;
    for (const auto& b : m_Boxes)
        ids.push_back(b.textId);
    return ids;
}

void CodeTest::PrepareDoc(std::uint16_t tlnAdr) {
    Doc().SetTypeIT(2);
    Doc().SetTypeBSM(1);
    Doc().SetTlnBusAdr(0, tlnAdr);
}
