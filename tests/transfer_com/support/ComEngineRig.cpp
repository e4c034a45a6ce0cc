#include "ComEngineRig.h"

#include "MoxDaten.h"
#include "MoxTagged.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include <poll.h>

namespace {
// Only a hang ever waits this long.
constexpr auto kGuard = std::chrono::seconds(20);
} // namespace

// ---- ComNoticeQueue ----------------------------------------------------------

struct ComNoticeQueue::Watch {
    int fd = -1;
    std::function<void()> onInput;
};

class ComNoticeQueue::WatchHandle : public IComInputWatch {
public:
    WatchHandle(ComNoticeQueue& queue, std::shared_ptr<Watch> watch)
        : m_queue(queue), m_watch(std::move(watch)) {}
    ~WatchHandle() override {
        auto& all = m_queue.m_watches;
        all.erase(std::remove(all.begin(), all.end(), m_watch), all.end());
    }

private:
    ComNoticeQueue& m_queue;
    std::shared_ptr<Watch> m_watch;
};

std::unique_ptr<IComInputWatch> ComNoticeQueue::WatchInput(int fd, std::function<void()> onInput) {
    auto watch = std::make_shared<Watch>(Watch{fd, std::move(onInput)});
    m_watches.push_back(watch);
    return std::make_unique<WatchHandle>(*this, std::move(watch));
}

void ComNoticeQueue::PerformComPortData() {
    ++m_performed;
    if (onData)
        onData();
}

void ComNoticeQueue::ShowOpenError() {
    ++m_openErrors;
}

bool ComNoticeQueue::RunOne() {
    if (m_watches.empty())
        return false;
    std::vector<pollfd> fds;
    for (const auto& w : m_watches)
        fds.push_back({w->fd, POLLIN, 0});
    const auto guardMs = static_cast<int>(std::chrono::milliseconds(kGuard).count());
    int rc;
    do
        rc = ::poll(fds.data(), fds.size(), guardMs);
    while (rc < 0 && errno == EINTR);
    if (rc <= 0)
        return false;
    // The calls may end watches (the port closes or loses its line): each
    // runs on a watch of its own that is still there.
    std::vector<std::shared_ptr<Watch>> ready;
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].revents)
            ready.push_back(m_watches[i]);
    }
    for (const auto& w : ready) {
        if (std::find(m_watches.begin(), m_watches.end(), w) != m_watches.end())
            w->onInput();
    }
    return true;
}

bool ComNoticeQueue::RunUntilData() {
    const int before = m_performed;
    while (m_performed == before) {
        if (!RunOne())
            return false;
    }
    return true;
}

std::unique_ptr<ITransferPort> ComPortFactory::CreatePort(eConnectionType type, int setting) {
    if (type != eConnectionV24)
        return nullptr;
    return std::make_unique<TTkComPort>(m_owner, setting);
}

// ---- The default configuration -----------------------------------------------

std::vector<Bytes> DefaultConfigPackages() {
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    Bytes image(32768);
    MoxSetStreamBuffer(data.get(), image.data(), image.size());
    std::vector<Bytes> packages;
    auto add = [&](std::uint8_t section, int index) {
        const std::uint16_t n =
            MoxWriteTaggedData(data.get(), section, static_cast<std::uint8_t>(index), true);
        if (n)
            packages.emplace_back(image.begin(), image.begin() + n);
    };
    add(eTaggedData_SysData, 0);
    add(eTaggedData_Concierge, 0);
    for (int i = 0; i < MOX_MAX_TLN; ++i)
        add(eTaggedData_Tln, i);
    for (int i = 0; i < MOX_MAX_PG; ++i)
        add(eTaggedData_PG, i);
    add(eTaggedData_Mfe, 0);
    add(eTaggedData_Mfr, 0);
    for (int i = 0; i < MOX_MAX_RAKAUSGANG; ++i)
        add(eTaggedData_RAKAusgang, i);
    for (int i = 0; i < MOX_MAX_RAKEINGANG; ++i)
        add(eTaggedData_RAKEingang, i);
    add(eTaggedData_Texte, 0);
    for (int i = 0; i < MOX_MAX_SMS; ++i)
        add(eTaggedData_SMS, i);
    if (data->TypeKMR)
        add(eTaggedData_KMR, 0);
    return packages;
}

Bytes Concat(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// ---- ComEngineRig ------------------------------------------------------------

ComEngineRig::ComEngineRig(int setting) {
    settings.comPort = setting;
    temp.MapCom(setting - 4, box.PtyPath());
    notices.onData = [this] { engine.OnReadData(); };
    engine.SetOwner(&owner);
    engine.SetView(&view);
    // As the program does once the link is set: the port is open (and
    // listening) before any transfer.
    engine.UpdatePort();
}

TTkComPort* ComEngineRig::Port() const {
    return static_cast<TTkComPort*>(engine.GetPort(eConnectionV24));
}

std::vector<Bytes> ComEngineRig::BoxPackages() {
    return box.With([](boxsim::BoxSimulator& sim) { return sim.Core().Packages(); });
}

void ComEngineRig::SetBoxPackages(std::vector<Bytes> packages) {
    box.With([&](boxsim::BoxSimulator& sim) { sim.Core().SetPackages(std::move(packages)); });
}

bool ComEngineRig::PumpUntilResults(std::size_t n) {
    while (owner.results.size() < n) {
        if (!notices.RunOne())
            return false;
    }
    return true;
}

bool ComEngineRig::Send(const std::vector<Bytes>& packages) {
    const std::size_t before = owner.results.size();
    owner.packages = packages;
    owner.Send();
    return PumpUntilResults(before + 1) && owner.results.back() == 1;
}

bool ComEngineRig::Read(Bytes& buffer, std::uint32_t size) {
    const std::size_t before = owner.results.size();
    buffer.assign(size, 0);
    engine.SetTransferData(eReceiveAnlDaten, buffer.data(), size);
    engine.StartTransfer();
    if (!PumpUntilResults(before + 1) || owner.results.back() != 1)
        return false;
    buffer.resize(engine.GetReceivedLen());
    return true;
}

bool ComEngineRig::Reset() {
    const std::size_t before = owner.results.size();
    Bytes dummy(255, 0);
    engine.SetTransferData(eSendReset, dummy.data(), static_cast<std::uint32_t>(dummy.size()));
    engine.StartTransfer();
    return PumpUntilResults(before + 1) && owner.results.back() == 1;
}

bool ComEngineRig::ReadEventLog(Bytes& buffer) {
    const std::size_t before = owner.results.size();
    buffer.assign(16384, 0);
    engine.SetTransferData(eReceiveEventLog, buffer.data(),
                           static_cast<std::uint32_t>(buffer.size()));
    engine.StartTransfer();
    if (!PumpUntilResults(before + 1) || owner.results.back() != 1)
        return false;
    buffer.resize(engine.GetReceivedLen());
    return true;
}
