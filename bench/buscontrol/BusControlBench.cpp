// The bus control against the bus-interface simulator over a
// pseudo-terminal:
// - IdleReaderCpu: the reader thread with nothing on the line for 10 s;
//   reader_cpu_percent is the process's CPU time over the wall time (the
//   main thread sleeps meanwhile).
// - TelegramRoundTrip: one 16-data-byte telegram to the box and its ACK,
//   through the dispatch interface with the reader running; median_ms is
//   the median of the single round trips.

#include "BoxSimProcess.h"
#include "CQuell32Ctrl.h"
#include "ComPtr.h"
#include "Quell32Ids.h"
#include "SerialPortNames.h"
#include "SettingsStore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <unistd.h>

using namespace mox::com;
using namespace quell32;

namespace {

// A control on the simulator's pseudo-terminal; settings in a file of its
// own, never the user's.
class Bench {
public:
    Bench() : m_sim(MOX_BOXSIM) {
        m_settings = "/tmp/mox-bench-buscontrol." + std::to_string(::getpid()) + ".ini";
        ::setenv("MOX_SETTINGS", m_settings.c_str(), 1);
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
        std::string error;
        if (!m_sim.Start(&error)) {
            m_error = error;
            return;
        }
        mox::platform::SettingsStore::Instance().SetString(mox::platform::kSerialPortsKey, "COM2",
                                                           m_sim.PtyPath());
        m_ctrl = ComPtr<IDispatch>::Attach(static_cast<IDispatch*>(CQuell32Ctrl::Create()));
        m_ctrl.As<IObjectWithSite>()->SetSite(&m_site);
        Put(dispidTestForInterface, Variant::FromBool(false));
        Put(dispidUseEventNotification, Variant::FromBool(true));
        Variant r;
        m_ctrl->Invoke(dispidOpenPort, InvokeKind::Method, nullptr, 0, &r);
        if (r.ToI2() != 0)
            m_error = "OpenPort failed";
    }
    ~Bench() {
        if (m_ctrl) {
            m_ctrl->Invoke(dispidClosePort, InvokeKind::Method, nullptr, 0, nullptr);
            m_ctrl.As<IObjectWithSite>()->SetSite(nullptr);
        }
        m_ctrl.Reset();
        m_sim.Stop();
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
        std::remove(m_settings.c_str());
    }
    const std::string& Error() const { return m_error; }
    void Put(DispId id, const Variant& v) {
        m_ctrl->Invoke(id, InvokeKind::PropertyPut, &v, 1, nullptr);
    }
    uint16_t Transmit() {
        m_ctrl->Invoke(dispidTransmitTele, InvokeKind::Method, nullptr, 0, nullptr);
        Variant s;
        m_ctrl->Invoke(dispidTransmitTeleStatus, InvokeKind::PropertyGet, nullptr, 0, &s);
        return static_cast<uint16_t>(s.ToI2().value_or(0));
    }

private:
    // Nothing arrives in these runs, so posts never happen; the site only
    // has to exist.
    class NoSite final : public ISite {
    public:
        HRESULT QueryInterface(const Guid&, void** out) noexcept override {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        uint32_t AddRef() noexcept override { return 2; }
        uint32_t Release() noexcept override { return 1; }
        HRESULT Post(IPostTarget*, uint32_t) noexcept override { return S_OK; }
    };

    boxsim::BoxSimProcess m_sim;
    NoSite m_site;
    ComPtr<IDispatch> m_ctrl;
    std::string m_settings;
    std::string m_error;
};

double ProcessCpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

void IdleReaderCpu(benchmark::State& state) {
    Bench bench;
    if (!bench.Error().empty()) {
        state.SkipWithError(bench.Error().c_str());
        return;
    }
    double percent = 0;
    for (auto _ : state) {
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        percent = 100.0 * (ProcessCpuSeconds() - cpu0) / wall;
    }
    state.counters["reader_cpu_percent"] = percent;
}
BENCHMARK(IdleReaderCpu)->Iterations(1)->Unit(benchmark::kSecond);

void TelegramRoundTrip(benchmark::State& state) {
    Bench bench;
    if (!bench.Error().empty()) {
        state.SkipWithError(bench.Error().c_str());
        return;
    }
    std::vector<int16_t> telegram{0x70, 0x43, 0xF0};
    for (int i = 0; i < 16; ++i)
        telegram.push_back(static_cast<int16_t>(0x20 + i));
    bench.Put(dispidTransmitTeleArray, Variant::FromArrayI2(telegram));
    std::vector<double> times;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const uint16_t status = bench.Transmit();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
        if (status != TRANSMIT_STATUS_ACK) {
            state.SkipWithError("no ACK");
            return;
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times.empty() ? 0.0 : times[times.size() / 2];
}
BENCHMARK(TelegramRoundTrip)->Iterations(500)->Unit(benchmark::kMicrosecond);

} // namespace
