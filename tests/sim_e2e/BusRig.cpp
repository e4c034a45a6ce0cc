#include "BusRig.h"

#include "ComponentLoader.h"
#include "QtGuiSite.h"
#include "Quell32Ids.h"
#include "Quell32Registration.h"
#include "SerialPortNames.h"
#include "SettingsStore.h"
#include "TTkLumenPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

using namespace mox::com;

namespace {

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "boxsim_e2e";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return app ? *app : *QCoreApplication::instance();
}

} // namespace

// The control's event sink, as the main window's event map would be: the
// telegram event goes to the controller.
class BusRig::EventSink final : public IDispatch {
public:
    explicit EventSink(BusRig& rig) : m_Rig(rig) {}
    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override {
        if (iid == IUnknown::kIid || iid == IDispatch::kIid) {
            *out = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Owned by the rig, which unadvises it before it goes.
    uint32_t AddRef() noexcept override { return 2; }
    uint32_t Release() noexcept override { return 1; }
    HRESULT Invoke(DispId id, InvokeKind, const Variant*, uint32_t, Variant*) noexcept override {
        if (id == quell32::eventidTeleReceived && m_Rig.m_pEngine) {
            ++m_Rig.m_nTeleEvents;
            const bool acked =
                m_Rig.m_pDispatch->GetReceivedTeleStatus() == quell32::RECEIVE_STATUS_ACK;
            m_Rig.m_pEngine->OnTeleReceived();
            // Counted once handled: whatever the handler sent in answer has
            // reached the box by now.
            if (acked)
                ++m_Rig.m_nAckedEvents;
        }
        return S_OK;
    }

private:
    BusRig& m_Rig;
};

BusRig::BusRig(std::string quell32, std::string regsvr, std::string boxsim,
               std::vector<std::string> simArgs)
    : m_Quell32(std::move(quell32)), m_RegSvr(std::move(regsvr)),
      m_Sim(std::move(boxsim), std::move(simArgs)) {}

BusRig::~BusRig() {
    // The engine closes the bus port, which closes the control's port.
    m_pEngine.reset();
    m_pDispatch.reset();
    if (m_Ctrl) {
        m_Ctrl.As<IEventSource>()->Unadvise();
        m_Ctrl.As<IObjectWithSite>()->SetSite(nullptr);
        m_Ctrl.Reset();
    }
    m_pPostTarget.reset();
    QCoreApplication::sendPostedEvents();
    m_Site.Reset();
    m_Sim.Stop();
}

bool BusRig::Start(std::string* error) {
    App();
    if (!m_Sim.Start(error))
        return false;
    auto& settings = mox::platform::SettingsStore::Instance();
    settings.SetString(mox::platform::kSerialPortsKey, "COM" + std::to_string(kComSetting),
                       m_Sim.PtyPath());
    auto bag = mox::test::SwitchOffInterfaceTest();
    if (!mox::test::RegisterQuell32ByCommand(m_RegSvr, m_Quell32)) {
        *error = "registration of " + m_Quell32 + " failed";
        return false;
    }
    try {
        m_Ctrl = ComponentLoader::Create<IDispatch>(quell32::kControlProgId);
    } catch (const std::exception& e) {
        *error = std::string("control not created: ") + e.what();
        return false;
    }
    if (!m_Ctrl) {
        *error = "control not created";
        return false;
    }
    m_Ctrl.As<IPersistProperties>()->Load(bag.Get());
    m_pPostTarget = std::make_unique<QObject>();
    m_Site = QtGuiSite::Create(m_pPostTarget.get());
    m_Ctrl.As<IObjectWithSite>()->SetSite(m_Site.Get());
    m_pSink = std::make_unique<EventSink>(*this);
    m_Ctrl.As<IEventSource>()->Advise(m_pSink.get());

    m_pDispatch = std::make_unique<TQuell32Dispatch>(m_Ctrl.Get());
    m_pEngine = std::make_unique<TDataTransferEngine>(m_Clock, *this, *this);
    return true;
}

// ---- The loop ----------------------------------------------------------------

bool BusRig::RunUntil(const std::function<bool()>& done, int limitMs,
                      const std::function<void()>& hook) {
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer wake;
    wake.setSingleShot(true);
    for (;;) {
        if (hook)
            hook();
        if (m_pEngine)
            m_pEngine->Poll();
        if (done())
            return true;
        if (elapsed.elapsed() > limitMs)
            return false;
        int waitMs = kTurnMs;
        if (m_pEngine) {
            if (const auto due = m_pEngine->NextDueMs()) {
                const std::uint64_t now = m_Clock.NowMs();
                waitMs = *due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(*due - now, kTurnMs));
            }
        }
        wake.start(waitMs);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

size_t BusRig::Mark(int limitMs) {
    const size_t ticket = m_Sim.AskMark();
    std::optional<size_t> mark;
    RunUntil([&] { return (mark = m_Sim.MarkOf(ticket)).has_value(); }, limitMs);
    return mark.value_or(m_Sim.LineCount());
}

std::string BusRig::SimCommand(const std::string& line, const std::string& replyPrefix,
                               int limitMs) {
    // A reply of the same kind still on its way (to a status asked from a
    // loop hook, say) is in before the mark, so it is never taken for this
    // one's.
    const size_t mark = Mark(limitMs);
    m_Sim.Send(line);
    std::string reply;
    RunUntil(
        [&] {
            const auto lines = m_Sim.Lines(replyPrefix, mark);
            if (lines.empty())
                return false;
            reply = lines.front();
            return true;
        },
        limitMs);
    return reply;
}

bool BusRig::Quiet(const std::string& status, bool withDelayed, const Handled& before) const {
    const long taken = before.taken;
    return HandledNow() == before && status.rfind("STATUS idle ", 0) == 0 &&
           (!withDelayed || status.rfind("STATUS idle 1 ", 0) == 0) &&
           status.find(" link 1 ") != std::string::npos && taken >= 0 &&
           status.find(" delivered " + std::to_string(taken) + " ") != std::string::npos;
}

bool BusRig::SettleBox(int limitMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < limitMs) {
        const Handled before = HandledNow();
        if (Quiet(SimCommand("status", "STATUS", limitMs), true, before))
            return true;
        RunUntil([] { return false; }, 20);
    }
    return false;
}

// ---- ILumenPortOwner ---------------------------------------------------------

void BusRig::PerformQuellPortData() {
    m_pEngine->OnReadQuellData();
}

void BusRig::PostQuellPortData() {
    QMetaObject::invokeMethod(
        m_pPostTarget.get(), [this] {
            if (m_pEngine)
                m_pEngine->OnReadQuellData();
        }, Qt::QueuedConnection);
}

void BusRig::PerformKennungRestart() {
    m_pEngine->OnKennungRestart();
}

void BusRig::PostPendingTelegrams() {
    ++m_nPendingPosted;
    QMetaObject::invokeMethod(
        m_pPostTarget.get(), [this] {
            if (m_pEngine)
                m_pEngine->OnLumenPendingTelegrams();
            ++m_nPendingRun;
        },
        Qt::QueuedConnection);
}

long BusRig::TelegramsTaken() const {
    // Each posted call stands for one telegram; the first call that runs
    // takes all that wait, so all are through once every call has run.
    if (m_nPendingRun != m_nPendingPosted)
        return -1;
    return m_nAckedEvents + m_nPendingPosted;
}

void BusRig::ShowOpenError(std::uint16_t) {
    ++m_nOpenErrors;
}

// ---- ITransferPortFactory ------------------------------------------------------

std::unique_ptr<ITransferPort> BusRig::CreatePort(eConnectionType type, int comPortSetting) {
    if (type != eConnectionQuell || !m_pDispatch)
        return nullptr;
    return std::make_unique<TTkLumenPort>(*this, *m_pDispatch, m_Clock, comPortSetting);
}
