#include "PageFixture.h"

#include "ErrorBox.h"
#include "MoxAccess.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TKtxImage.h"
#include "TMoxDocument.h"
#include "WindowMessages.h"

#include <QApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using mox::platform::SettingsStore;

int FakePageTransfer::ShowModal() {
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
    packages = 1;
    // Every further package, asked for as the real controller asks its
    // owner.
    for (int guard = 0; guard < 500; ++guard) {
        doc->OnNeedTransferData();
        if (len == 0)
            return result;
        doc->MoreAnlDataToComPort();
        ++packages;
    }
    return 2;
}

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
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    MoxSetTypeIT(data.get(), typeIT);
    MoxSetTypeBSM(data.get(), typeBSM);
    MoxSetTypeKMR(data.get(), typeKMR);
    MoxSetTypeRAK(data.get(), typeRAK);
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(data.get(), image.data());
    return image;
}

void PageTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mox-pages-XXXXXX").string();
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
        return mb::kIdOk;
    });

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
    TMsgBox::SetHandlerForTesting({});
    ErrorBox::SetHandlerForTesting({});
    m_pRes.reset();
    TkResourcen::SetProgramDirForTesting("");
    SettingsStore::SetInstanceForTesting(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
}

void PageTest::DropPage() {
    TDataView* old = m_Host.page;
    m_Host.page = nullptr;
    TDataView::Destroy(old);
}

std::vector<int> PageTest::BoxIds() const {
    std::vector<int> ids;
    for (const auto& b : m_Boxes)
        ids.push_back(b.textId);
    return ids;
}
