#include "SubscriberFixture.h"

#include "ErrorBox.h"
#include "MoxAccess.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TKtxImage.h"
#include "TTlnProgAccess.h"

#include <QApplication>

#include <algorithm>
#include <cstring>

using mox::platform::SettingsStore;

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
        if (buf && !readImage.empty())
            std::memcpy(buf, readImage.data(), std::min<std::size_t>(readImage.size(), len));
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
        for (int guard = 0; guard < 500; ++guard) {
            doc->OnNeedTransferData();
            if (len == 0)
                return 1;
            doc->MoreAnlDataToComPort();
        }
        return 2;
    default:
        return 2;
    }
}

void SubscriberTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mox-subscriber-XXXXXX").string();
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
        if (const auto a = m_Answers.find(r.textId); a != m_Answers.end())
            return a->second;
        const unsigned buttons = r.flags & mb::kButtonMask;
        return buttons == mb::kYesNo || buttons == mb::kYesNoCancel ? mb::kIdYes : mb::kIdOk;
    });

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
    TMsgBox::SetHandlerForTesting({});
    ErrorBox::SetHandlerForTesting({});
    m_pRes.reset();
    TkResourcen::SetProgramDirForTesting("");
    SettingsStore::SetInstanceForTesting(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
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

std::vector<int> SubscriberTest::BoxIds() const {
    std::vector<int> ids;
    for (const auto& b : m_Boxes)
        ids.push_back(b.textId);
    return ids;
}

std::vector<std::uint8_t> ImageWithTypeIT(std::uint8_t typeIT) {
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    MoxSetTypeIT(data.get(), typeIT);
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(data.get(), image.data());
    return image;
}
