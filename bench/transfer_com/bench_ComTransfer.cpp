// The direct V.24 link: the default configuration written and read back
// through the real engine and port, against the box simulator (started with
// --v24) behind a pseudo-terminal, answering at once. A pseudo-terminal has
// no baud rate, so the exchange's wall time here, less the simulator's own
// answer delays, is what the program (and the simulator's handling) adds to
// the line; beside it stands the time the same frames take on the real
// line (57600 baud, 10 bits a byte, one way at a time). CPU is this whole
// process, all its threads (the port's reader included), less the thread
// that reads the simulator's output; the simulator runs apart.
//
// Counters, per write and read back:
// - frames: every frame on the line, both ways;
// - cpu_us_per_frame: the process's CPU time over the exchange / frames;
// - added_us_per_frame: (wall time - answer delays) / frames;
// - wire_us_per_frame: the line time of the same bytes / frames;
// - switches_per_frame: the process's context switches / frames.
//
// Beside it, the frame code alone.

#include "BoxSimProcess.h"
#include "ComEngineRig.h"
#include "ComFrame.h"
#include "ComFrameScanner.h"
#include "ComPortDefs.h"
#include "ExchangeCost.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr double kBitsPerByte = 10.0; // start, 8 data, stop
// The box answers each block after this long (0: at once); the time is the
// simulator's, not the program's, so it is taken off the wall time.
constexpr int kAnswerDelayMs = 0;

struct SimCounts {
    long frames = 0;
    long bytes = 0;
    long answers = 0;
};

long Field(const std::string& status, const std::string& name) {
    const size_t at = status.find(" " + name + " ");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + name.size() + 2);
}

// The engine on the real serial port, the simulator at the far end; the
// benchmark's thread plays the GUI thread.
class V24Rig {
public:
    // Starts the simulator, then (once cost has left out the simulator's
    // output reader) the engine and its port.
    bool Start(std::string* error, ExchangeCost& cost) {
        if (!m_Sim.Start(error))
            return false;
        cost.ExcludeOtherThreadsNow();
        m_Temp.MapCom(1, m_Sim.PtyPath());
        m_Settings.comPort = 5;
        m_pEngine = std::make_unique<TDataTransferEngine>(m_Clock, m_Settings, m_Factory);
        m_pOwner = std::make_unique<PackageOwner>(*m_pEngine);
        m_Notices.onData = [this] { m_pEngine->OnReadData(); };
        m_pEngine->SetOwner(m_pOwner.get());
        m_pEngine->SetView(&m_View);
        // As the program does once the link is set: the port is open before
        // any transfer.
        m_pEngine->UpdatePort();
        if (!m_pEngine->IsConnected()) {
            *error = "the serial port did not open";
            return false;
        }
        return Command("delay " + std::to_string(kAnswerDelayMs), "OK").has_value();
    }
    ~V24Rig() {
        m_pOwner.reset();
        m_pEngine.reset();
        m_Sim.Stop();
    }

    std::optional<std::string> Command(const std::string& line, const std::string& reply) {
        return m_Sim.Command(line, reply);
    }
    SimCounts Counts() {
        const std::string s = Command("status", "STATUS").value_or("");
        return {Field(s, "v24_frames_in") + Field(s, "v24_frames_out"),
                Field(s, "v24_bytes_in") + Field(s, "v24_bytes_out"), Field(s, "answers")};
    }

    bool Send(const std::vector<Bytes>& packages) {
        const std::size_t before = m_pOwner->results.size();
        m_pOwner->packages = packages;
        m_pOwner->Send();
        return PumpUntilResults(before + 1) && m_pOwner->results.back() == 1;
    }
    bool Read(Bytes& buffer, std::uint32_t size) {
        const std::size_t before = m_pOwner->results.size();
        buffer.assign(size, 0);
        m_pEngine->SetTransferData(eReceiveAnlDaten, buffer.data(), size);
        m_pEngine->StartTransfer();
        if (!PumpUntilResults(before + 1) || m_pOwner->results.back() != 1)
            return false;
        buffer.resize(m_pEngine->GetReceivedLen());
        return true;
    }

private:
    bool PumpUntilResults(std::size_t n) {
        while (m_pOwner->results.size() < n) {
            if (!m_Notices.RunOne())
                return false;
        }
        return true;
    }

    boxsim::BoxSimProcess m_Sim{MOX_BOXSIM, {"--v24", "--quiet"}};
    TempSettings m_Temp;
    FakeClock m_Clock;
    FakeSettings m_Settings;
    ComNoticeQueue m_Notices;
    ComPortFactory m_Factory{m_Notices};
    RecordingView m_View;
    std::unique_ptr<TDataTransferEngine> m_pEngine;
    std::unique_ptr<PackageOwner> m_pOwner;
};

void BM_DefaultConfigWriteAndReadBack(benchmark::State& state) {
    V24Rig rig;
    ExchangeCost cost;
    std::string error;
    if (!rig.Start(&error, cost)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::vector<Bytes> packages = DefaultConfigPackages();
    const Bytes expected = Concat(packages);
    Bytes image;
    long frames = 0, bytes = 0, answers = 0, runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const SimCounts c0 = rig.Counts();
        state.ResumeTiming();
        cost.Start();
        const bool ok = rig.Send(packages) && rig.Read(image, 32768);
        cost.Stop();
        state.PauseTiming();
        const SimCounts c1 = rig.Counts();
        state.ResumeTiming();
        if (!ok || image != expected) {
            state.SkipWithError("round trip failed");
            return;
        }
        frames += c1.frames - c0.frames;
        bytes += c1.bytes - c0.bytes;
        answers += c1.answers - c0.answers;
        ++runs;
    }
    if (!runs)
        return;
    const double n = static_cast<double>(runs);
    const ExchangeCost::Totals& t = cost.Get();
    const double perRun = static_cast<double>(frames) / n;
    const double wallMs = t.wallMs / n;
    const double cpuMs = t.cpuMs / n;
    const double addedMs = wallMs - static_cast<double>(answers) / n * kAnswerDelayMs;
    const double wireMs = static_cast<double>(bytes) / n * kBitsPerByte * 1000.0 / kComBaudRate;
    const double switches = static_cast<double>(t.switches) / n;
    state.counters["packages"] = static_cast<double>(packages.size());
    state.counters["config_bytes"] = static_cast<double>(expected.size());
    state.counters["frames"] = perRun;
    state.counters["wire_bytes"] = static_cast<double>(bytes) / n;
    state.counters["wall_ms"] = wallMs;
    state.counters["cpu_ms"] = cpuMs;
    state.counters["wire_ms_57600"] = wireMs;
    state.counters["cpu_us_per_frame"] = cpuMs * 1000.0 / perRun;
    state.counters["added_us_per_frame"] = addedMs * 1000.0 / perRun;
    state.counters["wire_us_per_frame"] = wireMs * 1000.0 / perRun;
    state.counters["switches_per_frame"] = switches / perRun;
    std::printf("V.24, default configuration written and read back: %.0f frames; per frame: "
                "CPU %.1f us, wall added %.1f us, 57600-baud wire %.0f us, "
                "%.1f context switches\n",
                perRun, cpuMs * 1000.0 / perRun, addedMs * 1000.0 / perRun,
                wireMs * 1000.0 / perRun, switches / perRun);
}
BENCHMARK(BM_DefaultConfigWriteAndReadBack)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The frame code alone: the largest block, every byte but the first
// escaped, built and scanned back.
void BM_LargestFrameBuildAndScan(benchmark::State& state) {
    Bytes payload(kComMaxPayload, COM_ESC);
    payload[0] = 0x00;
    Bytes frame(kComMaxFrameLen);
    ComFrameScanner scanner;
    for (auto _ : state) {
        const std::size_t n = BuildComFrame(payload, std::span<std::uint8_t>(frame));
        std::size_t got = 0;
        scanner.Feed(std::span<const std::uint8_t>(frame.data(), n),
                     [&](eComFrameStatus, std::span<const std::uint8_t> p) { got = p.size(); });
        benchmark::DoNotOptimize(got);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kComMaxPayload));
}
BENCHMARK(BM_LargestFrameBuildAndScan);

} // namespace
