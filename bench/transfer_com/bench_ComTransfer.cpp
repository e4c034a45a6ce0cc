// The direct V.24 link: the default configuration written and read back
// through the real engine and port, against the box simulator (started with
// --v24) behind a pseudo-terminal, answering at once. A pseudo-terminal has
// no baud rate, so the exchange's wall time here, less the simulator's own
// answer time, is what the program adds to the line; beside it stands the
// time the same frames take on the real line (57600 baud, 10 bits a byte,
// one way at a time). CPU is this whole process, all its threads, less the
// thread that reads the simulator's output; the simulator runs apart.
// MOX_BENCH_BOXSIM names another simulator to run against (see SimStatus.h).
//
// Counters, per write and read back (PerUnitFigures.h says what each holds):
// - frames: every frame on the line, both ways;
// - cpu_us_per_frame: the process's CPU time over the exchange / frames;
// - added_us_per_frame: (wall time - the simulator's own answer time -
//   answer delays) / frames;
// - wall_us_per_frame: (wall time - answer delays) / frames;
// - sim_us_per_frame: the simulator's own answer time / frames;
// - sim_turns: the simulator's wake-ups that answered, per run;
// - wire_us_per_frame: the line time of the same bytes / frames;
// - switches_per_frame: the process's context switches / frames;
// - floor_{self,handover}_{wall,cpu}_us_per_frame: the same number of
//   round trips (sim_turns) on a pseudo-terminal whose far end only
//   answers, the writing thread waiting itself (as the port's GUI thread
//   does), or a reader thread handing each answer over (PtyLineFloor.h).
//
// The exchange runs twice: once on the test rig's event loop (a plain poll,
// the loop the tests and the figures before it used) and once on Qt's, the
// GUI thread's loop in the program. Beside them, the frame code alone.

#include "BenchSettings.h"
#include "BoxSimProcess.h"
#include "ComEngineRig.h"
#include "ComFrame.h"
#include "ComFrameScanner.h"
#include "ComPortDefs.h"
#include "ExchangeCost.h"
#include "InputWatch.h"
#include "PerUnitFigures.h"
#include "PtyLineFloor.h"
#include "SerialPortNames.h"
#include "SettingsStore.h"
#include "SimStatus.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <functional>
#include <optional>
#include <string>
#include <type_traits>

namespace {

constexpr double kBitsPerByte = 10.0; // start, 8 data, stop
// The box answers each block after this long (0: at once); the time is the
// simulator's, not the program's, so it is taken off the wall time, as is
// the simulator's own answer time that it measures itself.
constexpr int kAnswerDelayMs = 0;

struct SimCounts {
    long frames = 0;
    long bytes = 0;
    long answers = 0;
    long simTurns = 0;
    long simUs = 0;
};

// The program's own loop: Qt's event dispatcher waits on the port through
// the message layer's watch, as the transfer form's does. The test rig's
// ComNoticeQueue is the other loop, a plain poll.
class QtLoop : public IComPortOwner {
public:
    QtLoop() {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "bench_transfer_com";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }
    std::unique_ptr<IComInputWatch> WatchInput(int fd, std::function<void()> onInput) override {
        return std::make_unique<Watch>(fd, std::move(onInput));
    }
    void PerformComPortData() override {
        if (onData)
            onData();
    }
    void ShowOpenError() override {}
    // One turn of the loop, waiting for the port (or anything else).
    bool RunOne() {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return true;
    }

    std::function<void()> onData;

private:
    struct Watch : IComInputWatch {
        Watch(int fd, std::function<void()> onInput) : watch(fd, std::move(onInput)) {}
        mox::platform::InputWatch watch;
    };
};

// The simulator, then (once cost has left out the simulator's output
// reader) the engine on the real serial port with the simulator at its far
// end; the benchmark's thread plays the GUI thread, its event loop (Loop)
// waiting on the port.
template <typename Loop> class V24Rig {
public:
    explicit V24Rig(ExchangeCost& cost) {
        if (!m_Sim.Start(&m_error))
            return;
        cost.ExcludeOtherThreadsNow();
        mox::platform::SettingsStore::Instance().SetString(
            mox::platform::kSerialPortsKey,
            std::string(mox::platform::kSerialPortValuePrefix) + "1", m_Sim.PtyPath());
        m_Settings.comPort = 5; // COM1, direct
        m_Notices.onData = [this] { m_Engine.OnReadData(); };
        m_Engine.SetOwner(&m_Owner);
        m_Engine.SetView(&m_View);
        // As the program does once the link is set: the port is open before
        // any transfer.
        m_Engine.UpdatePort();
        if (!m_Engine.IsConnected())
            m_error = "the serial port did not open";
        else if (!Command("delay " + std::to_string(kAnswerDelayMs), "OK"))
            m_error = "the simulator took no answer delay";
    }
    // Empty once everything is up.
    const std::string& Error() const { return m_error; }

    std::optional<std::string> Command(const std::string& line, const std::string& reply) {
        return m_Sim.Command(line, reply);
    }
    SimCounts Counts() {
        const std::string s = Command("status", "STATUS").value_or("");
        return {SimStatusField(s, "v24_frames_in") + SimStatusField(s, "v24_frames_out"),
                SimStatusField(s, "v24_bytes_in") + SimStatusField(s, "v24_bytes_out"),
                SimStatusField(s, "answers"), SimStatusField(s, "answer_turns"),
                SimStatusField(s, "answer_us")};
    }

    // The packages written, then the configuration read back into image.
    bool WriteAndReadBack(const std::vector<Bytes>& packages, Bytes& image) {
        m_Owner.packages = packages;
        if (!Exchange([this] { m_Owner.Send(); }))
            return false;
        image.assign(kImageSize, 0);
        if (!Exchange([&] {
                m_Engine.SetTransferData(eReceiveAnlDaten, image.data(), kImageSize);
                m_Engine.StartTransfer();
            }))
            return false;
        image.resize(m_Engine.GetReceivedLen());
        return true;
    }

private:
    static constexpr std::uint32_t kImageSize = 32768;

    // Starts an exchange and hands the port's notices to the engine until
    // it has ended; true when it succeeded.
    bool Exchange(const std::function<void()>& start) {
        const std::size_t before = m_Owner.results.size();
        start();
        while (m_Owner.results.size() == before) {
            if (!m_Notices.RunOne())
                return false;
        }
        return m_Owner.results.back() == 1;
    }

    BenchSettings m_BenchSettings{"transfer-com"};
    boxsim::BoxSimProcess m_Sim{BenchSimulator(MOX_BOXSIM), {"--v24", "--quiet"}};
    std::string m_error;
    FakeClock m_Clock;
    FakeSettings m_Settings;
    Loop m_Notices;
    ComPortFactory m_Factory{m_Notices};
    TDataTransferEngine m_Engine{m_Clock, m_Settings, m_Factory};
    RecordingView m_View;
    PackageOwner m_Owner{m_Engine};
};

template <typename Loop> void BM_DefaultConfigWriteAndReadBack(benchmark::State& state) {
    ExchangeCost cost;
    V24Rig<Loop> rig(cost);
    if (!rig.Error().empty()) {
        state.SkipWithError(rig.Error().c_str());
        return;
    }
    const std::vector<Bytes> packages = DefaultConfigPackages();
    const Bytes expected = Concat(packages);
    Bytes image;
    long frames = 0, bytes = 0, answers = 0, simTurns = 0, simUs = 0, runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const SimCounts c0 = rig.Counts();
        state.ResumeTiming();
        cost.Start();
        const bool ok = rig.WriteAndReadBack(packages, image);
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
        simTurns += c1.simTurns - c0.simTurns;
        simUs += c1.simUs - c0.simUs;
        ++runs;
    }
    if (!runs)
        return;
    const double n = static_cast<double>(runs);
    const ExchangeCost::Totals& t = cost.Get();
    const double perRun = static_cast<double>(frames) / n;
    const double wallMs = t.wallMs / n;
    const double cpuMs = t.cpuMs / n;
    const double delayMs = static_cast<double>(answers) / n * kAnswerDelayMs;
    const double simMs = static_cast<double>(simUs) / n / 1000.0;
    const double wireMs = static_cast<double>(bytes) / n * kBitsPerByte * 1000.0 / kComBaudRate;
    const double switches = static_cast<double>(t.switches) / n;
    state.counters["packages"] = static_cast<double>(packages.size());
    state.counters["config_bytes"] = static_cast<double>(expected.size());
    state.counters["frames"] = perRun;
    state.counters["wire_bytes"] = static_cast<double>(bytes) / n;
    state.counters["wall_ms"] = wallMs;
    state.counters["cpu_ms"] = cpuMs;
    state.counters["wire_ms_57600"] = wireMs;
    state.counters["sim_turns"] = static_cast<double>(simTurns) / n;
    const char* what = std::is_same_v<Loop, QtLoop>
                           ? "V.24 on Qt's event loop, default configuration written and read back"
                           : "V.24, default configuration written and read back";
    ReportPerUnit(state, what, "frame", "57600-baud",
                  {perRun, cpuMs, wallMs - delayMs, simMs, wireMs, switches});
    // Frames of the exchange's mean size both ways.
    const auto frameBytes = static_cast<std::size_t>(static_cast<double>(bytes) / n / perRun);
    ReportLineFloors(state, "frame", frameBytes, frameBytes,
                     static_cast<double>(simTurns) / n / perRun);
}
BENCHMARK_TEMPLATE(BM_DefaultConfigWriteAndReadBack, ComNoticeQueue)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_TEMPLATE(BM_DefaultConfigWriteAndReadBack, QtLoop)
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
