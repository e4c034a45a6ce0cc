#include "AssiFixture.h"

#include "PermSettings.h"
#include "TMoxDocument.h"
#include "TViewFactory.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QDialog>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

using mox::platform::WindowMessage;

namespace {

// Every kind the wizard embeds.
constexpr std::uint8_t kFakeKinds[] = {eGeraeteliste, eKTXKonfig, eSperrnr,     eSMS,
                                       eITSchaltcode, eKMRKonfig, eRAKMEG,      eRAKSAG,
                                       eITKonfig,     eITMfe,     eITMfr,       eBSMKonfig,
                                       eTlnKonfig,    eTlnBG,     eSystemKonfig};

// A configuration page that records its protocol.
class FakeAssiPage : public TDataView {
public:
    FakeAssiPage(QWidget* owner, const TNodeData* holder, TkResourcen* res, std::uint8_t kind)
        : TDataView(owner, holder, res), m_nPageKind(kind) {
        setObjectName(QStringLiteral("FakePage%1").arg(kind));
    }

protected:
    void OnOpen(TMessage&) override {
        PageLog().events.push_back("open " + std::to_string(m_nPageKind));
    }
    void OnSave(TMessage&) override {
        PageLog().events.push_back("save " + std::to_string(m_nPageKind));
        TMoxDocument* doc = GetDoc();
        if (m_nPageKind == eGeraeteliste && doc && PageLog().devicesOnSave) {
            const TAssiDevices& d = *PageLog().devicesOnSave;
            doc->SetTypeIT(d.typeIT);
            doc->SetTypeKMR(d.typeKMR);
            doc->SetTypeRAK(d.typeRAK);
            doc->SetTypeBSM(d.typeBSM);
        }
    }
    void OnCloseQuery(bool& canClose) override {
        canClose = PageLog().refuseClose.count(m_nPageKind) == 0;
    }

private:
    std::uint8_t m_nPageKind;
};

} // namespace

FakePageLog& PageLog() {
    static FakePageLog log;
    return log;
}

void RegisterFakePages() {
    for (std::uint8_t kind : kFakeKinds)
        TViewFactory::Register(kind, [kind](const TViewContext& ctx) -> TDataView* {
            PageLog().lastHolderKind = ctx.holder ? ctx.holder->GetType() : 0;
            PageLog().lastTransfer = ctx.transfer;
            return TDataView::Create<FakeAssiPage>(ctx.owner, ctx.holder, ctx.res, kind);
        });
}

void UnregisterFakePages() {
    for (std::uint8_t kind : kFakeKinds)
        TViewFactory::Unregister(kind);
}

int FakeAssiTransfer::ShowModal() {
    runs.push_back(mode);
    if (runLog)
        runLog->push_back(mode);
    if (mode == 2) {
        if (result == 1)
            ServeRead(readImage);
        return result;
    }
    if (mode != 1 || !buf || len == 0)
        return 2;
    packages = 1;
    for (int guard = 0; guard < 500; ++guard) {
        if (owner.IsAlive())
            owner.Perform(WM_NEED_TRANSFER_DATA);
        else if (doc)
            doc->OnNeedTransferData();
        if (len == 0)
            return result;
        if (owner.IsAlive())
            owner.Perform(WM_MORE_TRANSFER_DATA);
        else if (doc)
            doc->MoreAnlDataToComPort();
        ++packages;
    }
    return 2;
}

void AssiTest::ChooseSettings() {
    SetAssiMode(true);
    SetComPort(0);
}

int AssiTest::BoxAnswer(const TMsgBox::Request& r) {
    if (const auto it = m_Answers.find(r.textId); it != m_Answers.end())
        return it->second;
    switch (r.flags & mb::kButtonMask) {
    case mb::kYesNoCancel:
        return r.textId == 5053 ? mb::kIdYes : mb::kIdNo;
    case mb::kYesNo:
        return mb::kIdNo;
    default:
        return mb::kIdOk;
    }
}

void AssiTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
    PageLog() = FakePageLog{};
    RegisterFakePages();

    TMoxMainSeams seams;
    seams.hostQuell32 = false;
    seams.createTransfer = [this](TMoxMain& main) {
        auto t = std::make_unique<FakeAssiTransfer>();
        t->doc = main.GetDoc();
        t->self = &m_pMainTransfer;
        m_pMainTransfer = t.get();
        return std::unique_ptr<IMainTransfer>(std::move(t));
    };
    m_pMain = std::make_unique<TMoxMain>(seams);

    m_AssiSeams.createTransfer = [this](TAssiMain& assi) {
        auto t = std::make_unique<FakeAssiTransfer>();
        t->doc = m_pMain->GetDoc();
        t->owner = assi.Address();
        t->self = &m_pOwnTransfer;
        t->runLog = &m_OwnRuns;
        m_pOwnTransfer = t.get();
        return std::unique_ptr<IMainTransfer>(std::move(t));
    };
    m_AssiSeams.runPortDialog = [this](QWidget*, TkResourcen*) {
        ++m_nPortDialogs;
        if (m_bPortOk)
            SetComPort(m_nPortSetting);
        return m_bPortOk;
    };
    m_AssiSeams.createTlnProg = [this](const TAssiTlnProgContext& ctx) {
        m_bTlnProgMade = true;
        // Made as a dialog, as the real form is; the wizard seats it.
        auto* w = new QDialog(ctx.owner);
        w->setObjectName(QStringLiteral("TTlnProgForm"));
        TAssiEmbeddedPage page;
        page.widget = w;
        page.perform = [this](const WindowMessage& m) { m_TlnProgMessages.push_back(m.id); };
        return page;
    };
    m_AssiSeams.fileDir = m_Dir.string();
}

void AssiTest::TearDown() {
    m_pAssi.reset();
    if (m_pMain)
        m_pMain->SetAssistent(nullptr);
    m_pMain.reset();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    UnregisterFakePages();
    PageTestBase::TearDown();
}

void AssiTest::ShowWizard(int mode) {
    m_pMain->SetMode(mode);
    m_pMain->SetExpertFlag(false);
    if (!m_pAssi) {
        m_pAssi = std::make_unique<TAssiMain>(m_pMain.get(), m_AssiSeams);
        m_pMain->SetAssistent(m_pAssi.get());
    }
    QApplication::setQuitOnLastWindowClosed(false);
    m_pMain->hide();
    m_pAssi->ShowAssistent();
}

TMoxDocument& AssiTest::Doc() {
    return *m_pMain->GetDoc();
}

void AssiTest::ProcessEvents() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents();
}

void AssiTest::Answer(bool yes) {
    QWidget* page = m_pAssi->GetWorkPage();
    if (!page)
        return;
    const char* names[][2] = {{"m_pRadioSet", "m_pRadioNoSet"}, {"m_pRadioUser", "m_pRadioRead"}};
    for (const auto& pair : names) {
        if (auto* set = page->findChild<QRadioButton*>(QString::fromLatin1(pair[0]))) {
            auto* other = page->findChild<QRadioButton*>(QString::fromLatin1(pair[1]));
            (yes ? set : other)->click();
            return;
        }
    }
}

void AssiTest::Click(const char* button) {
    auto* b = Find<QPushButton>(m_pAssi.get(), button);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isEnabled()) << button;
    b->click();
    ProcessEvents();
}

std::vector<int> AssiTest::WalkToEnd(const std::map<int, bool>& answers) {
    std::vector<int> states{m_pAssi->GetState()};
    for (int i = 0; i < 60 && m_pAssi->GetState() != eAssiEnde; ++i) {
        const auto it = answers.find(m_pAssi->GetState());
        Answer(it == answers.end() || it->second);
        const int before = m_pAssi->GetState();
        Forward();
        if (m_pAssi->GetState() == before)
            break; // the step stays: the walk ends here
        states.push_back(m_pAssi->GetState());
    }
    return states;
}

std::vector<int> AssiTest::WalkBackToStart() {
    std::vector<int> states{m_pAssi->GetState()};
    for (int i = 0; i < 60 && m_pAssi->GetState() != eAssiWillkommen; ++i) {
        const int before = m_pAssi->GetState();
        Back();
        if (m_pAssi->GetState() == before)
            break;
        states.push_back(m_pAssi->GetState());
    }
    return states;
}

int AssiTest::Sends() const {
    return static_cast<int>(std::count(m_OwnRuns.begin(), m_OwnRuns.end(), 1));
}

int AssiTest::BoxCount(int textId) const {
    return static_cast<int>(std::count_if(m_Boxes.begin(), m_Boxes.end(),
                                          [textId](const auto& b) { return b.textId == textId; }));
}

std::string AssiTest::WorkPageName() const {
    QWidget* w = m_pAssi->GetWorkPage();
    return w ? w->objectName().toStdString() : std::string();
}

std::string AssiTest::HelpPageName() const {
    QWidget* w = m_pAssi->GetHelpPage();
    return w ? w->objectName().toStdString() : std::string();
}
