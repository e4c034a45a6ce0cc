#include "MainWindowFixture.h"

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TKtxImage.h"
#include "TMoxDocument.h"
#include "TViewFactory.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QLineEdit>

#include <cstdlib>
#include <cstring>

std::vector<std::string> RecordingPage::s_Log;

int FakeMainTransfer::ShowModal() {
    runs.push_back(mode);
    sent.clear();
    if (mode == 2) {
        if (buf && !readImage.empty())
            std::memcpy(buf, readImage.data(), std::min<std::size_t>(readImage.size(), len));
        return result;
    }
    if (mode == 3) {
        resetBytes.assign(buf, buf + len);
        return result;
    }
    if (mode != 1 || !buf || len == 0)
        return 2;
    sent.emplace_back(buf, buf + len);
    // Every further package through the window's messages, as the real
    // controller asks for them.
    for (int guard = 0; guard < 500; ++guard) {
        m_Owner.Perform(WM_NEED_TRANSFER_DATA);
        if (len == 0)
            return result;
        m_Owner.Perform(WM_MORE_TRANSFER_DATA);
        sent.emplace_back(buf, buf + len);
    }
    return 2;
}

RecordingPage::RecordingPage(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    auto* edit = new QLineEdit(PageArea());
    edit->setObjectName(QStringLiteral("m_pValueEdit"));
}

void RecordingPage::Dispatch(TMessage& m) {
    Log().push_back("msg " + std::to_string(m.Msg));
    TDataView::Dispatch(m);
}

void RecordingPage::OnOpen(TMessage&) {
    Log().push_back("open " + std::to_string(GetKind()));
    if (TMoxDocument* doc = GetDoc())
        value = doc->GetTuerrufdauer();
    if (onOpen)
        onOpen(*this);
}

void RecordingPage::OnSave(TMessage&) {
    Log().push_back("save " + std::to_string(GetKind()));
    ASSERT_NE(GetDoc(), nullptr);
    GetDoc()->SetTuerrufdauer(value);
    if (onSave)
        onSave(*this);
}

void RecordingPage::OnRestore(TMessage&) {
    Log().push_back("restore " + std::to_string(GetKind()));
}

void RecordingPage::OnConnectionChanged(TMessage&) {
    Log().push_back("connection " + std::to_string(GetKind()));
}

void RecordingPage::OnCloseQuery(bool& canClose) {
    canClose = !refuseClose;
}

std::vector<std::uint8_t> ImageWithTypes(std::uint8_t typeIT, std::uint8_t typeKMR) {
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    MoxSetTypeIT(data.get(), typeIT);
    MoxSetTypeKMR(data.get(), typeKMR);
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(data.get(), image.data());
    return image;
}

void MainWindowTest::SetUp() {
    m_pSettings = std::make_unique<mox::test::TestSettingsFile>("main");
    ASSERT_TRUE(m_pSettings->Ok());
    m_Dir = m_pSettings->Dir();
    SetAssiMode(false);
    RecordingPage::s_Log.clear();

    TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
        m_Boxes.push_back(r);
        auto it = m_Answers.find(r.textId);
        if (it != m_Answers.end() && !it->second.empty()) {
            const int a = it->second.front();
            it->second.pop_front();
            return a;
        }
        switch (r.flags & mb::kButtonMask) {
        case mb::kYesNo:
        case mb::kYesNoCancel:
            return mb::kIdYes;
        default:
            return mb::kIdOk;
        }
    });
    TFileDialog::SetHandlerForTesting([this](const TFileDialog::Request& r) {
        m_Dialogs.push_back(r);
        if (m_Files.empty())
            return QString();
        const QString f = m_Files.front();
        m_Files.pop_front();
        return f;
    });

    m_Seams.hostQuell32 = false;
    m_Seams.createTransfer = [this](TMoxMain& owner) {
        auto t = std::make_unique<FakeMainTransfer>(owner);
        m_pTransfer = t.get();
        return std::unique_ptr<IMainTransfer>(std::move(t));
    };
}

void MainWindowTest::TearDown() {
    m_pMain.reset();
    for (std::uint8_t kind : m_Registered)
        TViewFactory::Unregister(kind);
    TMsgBox::SetHandlerForTesting({});
    TFileDialog::SetHandlerForTesting({});
    m_pSettings.reset();
}

void MainWindowTest::MakeWindow(int mode, bool expert) {
    m_pMain = std::make_unique<TMoxMain>(m_Seams);
    m_pMain->SetMode(mode);
    m_pMain->SetExpertFlag(expert);
    m_pMain->show();
    m_pMain->FlushTreeChange();
}

std::vector<int> MainWindowTest::BoxIds() const {
    std::vector<int> ids;
    for (const auto& b : m_Boxes)
        ids.push_back(b.textId);
    return ids;
}

void MainWindowTest::RegisterRecordingPage(std::uint8_t kind) {
    TViewFactory::Register(kind, [](const TViewContext& ctx) -> TDataView* {
        return TDataView::Create<RecordingPage>(ctx.owner, ctx.holder, ctx.res);
    });
    m_Registered.push_back(kind);
}

RecordingPage* MainWindowTest::AktPage() const {
    return dynamic_cast<RecordingPage*>(m_pMain->GetAktView());
}

bool MainWindowTest::Select(std::uint8_t kind) {
    const bool found = m_pMain->SelectNodeKind(kind);
    m_pMain->FlushTreeChange();
    return found;
}

void MainWindowTest::ProcessEvents() {
    // Queued calls (rebuilds, posted messages) run here; nothing waits on
    // time.
    for (int i = 0; i < 3; ++i)
        QApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}
