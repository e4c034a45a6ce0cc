#include "ComEngineRig.h"

#include "MoxDaten.h"
#include "MoxTagged.h"
#include "SerialPortNames.h"
#include "SettingsStore.h"

#include <chrono>
#include <cstdlib>
#include <unistd.h>

using mox::platform::SettingsStore;

namespace {
// Only a hang ever waits this long.
constexpr auto kGuard = std::chrono::seconds(20);
} // namespace

// ---- TempSettings ------------------------------------------------------------

TempSettings::TempSettings() {
    char name[] = "/tmp/mox-transfer-com-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd >= 0)
        ::close(fd);
    m_path = name;
    SettingsStore::SetInstanceForTesting(SettingsStore::OpenFile(m_path));
}

TempSettings::~TempSettings() {
    SettingsStore::SetInstanceForTesting(nullptr);
    ::unlink(m_path.c_str());
}

void TempSettings::MapCom(int comNumber, const std::string& path) {
    SettingsStore::Instance().SetString(
        mox::platform::kSerialPortsKey,
        mox::platform::kSerialPortValuePrefix + std::to_string(comNumber), path);
}

// ---- ComNoticeQueue ----------------------------------------------------------

void ComNoticeQueue::PostToGuiThread(std::function<void()> call) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_calls.push_back(std::move(call));
    }
    m_posted.notify_all();
}

void ComNoticeQueue::PerformComPortData() {
    ++m_performed;
    if (onData)
        onData();
}

void ComNoticeQueue::ShowOpenError() {
    std::lock_guard<std::mutex> lock(m_lock);
    ++m_openErrors;
}

bool ComNoticeQueue::RunOne() {
    std::function<void()> call;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        if (!m_posted.wait_for(lock, kGuard, [&] { return !m_calls.empty(); }))
            return false;
        call = std::move(m_calls.front());
        m_calls.pop_front();
    }
    call();
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

std::size_t ComNoticeQueue::Pending() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_calls.size();
}

int ComNoticeQueue::OpenErrors() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_openErrors;
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
    temp.MapCom(setting - 4, peer.SlavePath());
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
