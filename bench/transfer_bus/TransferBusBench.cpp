// The default configuration written to the simulated box and read back
// over a pseudo-terminal, through the bus control module, TTkLumenPort, the
// transfer controller's engine and the document, with the simulator
// answering at once.
//
// Counters, per write and read back:
// - telegrams: every telegram on the bus, both ways (tries included);
// - wall_ms: the time the exchange took here, where the line itself costs
//   nothing, so all of it is what the program (and the simulator) add;
// - wire_ms_9600: the time the same bytes (telegrams and the one-byte
//   answers) take on the bus interface's 9600-baud line, 10 bits a byte;
// - added_ms_per_telegram: wall_ms / telegrams, to hold against the 2 ms
//   the program may add to each telegram beyond the line's own time.

#include "BusRig.h"
#include "E2eDocuments.h"
#include "HeadlessTransfer.h"
#include "SettingsStore.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

constexpr double kBitsPerByte = 10; // start, 8 data, stop
constexpr double kBaud = 9600;

struct BusCounts {
    long telegrams = 0;
    long bytes = 0;
};

long Field(const std::string& status, const std::string& name) {
    const size_t at = status.find(" " + name + " ");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + name.size() + 2);
}

BusCounts Counts(BusRig& rig) {
    const std::string s = rig.SimCommand("status", "STATUS");
    return {Field(s, "telegrams_in") + Field(s, "telegrams_out"),
            Field(s, "bytes_in") + Field(s, "bytes_out")};
}

// Settings in a file of their own, never the user's; the registration
// command and the simulator inherit it.
class BenchSettings {
public:
    BenchSettings() {
        m_path = "/tmp/mox-bench-transfer-bus." + std::to_string(::getpid()) + ".ini";
        ::setenv("MOX_SETTINGS", m_path.c_str(), 1);
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
    }
    ~BenchSettings() {
        mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
        std::remove(m_path.c_str());
    }

private:
    std::string m_path;
};

double Ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void WriteAndReadBackDefaultConfiguration(benchmark::State& state) {
    BenchSettings settings;
    BusRig rig(MOX_QUELL32, MOX_REGSVR, MOX_BOXSIM, {"--quiet"});
    std::string error;
    if (!rig.Start(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    E2eDocuments docs;
    HeadlessTransfer transfer(rig);
    auto doc = docs.Make(&transfer);
    transfer.SetDocument(doc.get());
    // The port opens (and identifies itself) before the first run.
    rig.Engine().UpdatePort();

    double writeMs = 0, readMs = 0;
    long writeTele = 0, readTele = 0, bytes = 0, runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const BusCounts c0 = Counts(rig);
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        const bool written = doc->StartWriteAnlDataToComPort(true);
        const auto t1 = std::chrono::steady_clock::now();
        state.PauseTiming();
        const BusCounts c1 = Counts(rig);
        state.ResumeTiming();
        const auto t2 = std::chrono::steady_clock::now();
        const bool read = doc->ReadAnlDataFromComPort();
        const auto t3 = std::chrono::steady_clock::now();
        state.PauseTiming();
        const BusCounts c2 = Counts(rig);
        state.ResumeTiming();
        if (!written || !read) {
            state.SkipWithError("the exchange failed");
            return;
        }
        writeMs += Ms(t1 - t0);
        readMs += Ms(t3 - t2);
        writeTele += c1.telegrams - c0.telegrams;
        readTele += c2.telegrams - c1.telegrams;
        bytes += c2.bytes - c0.bytes;
        ++runs;
    }
    if (!runs)
        return;
    const double n = static_cast<double>(runs);
    const double telegrams = static_cast<double>(writeTele + readTele) / n;
    const double wallMs = (writeMs + readMs) / n;
    const double wireMs = static_cast<double>(bytes) / n * kBitsPerByte / kBaud * 1000.0;
    state.counters["telegrams"] = telegrams;
    state.counters["write_telegrams"] = static_cast<double>(writeTele) / n;
    state.counters["read_telegrams"] = static_cast<double>(readTele) / n;
    state.counters["wall_ms"] = wallMs;
    state.counters["write_ms"] = writeMs / n;
    state.counters["read_ms"] = readMs / n;
    state.counters["wire_ms_9600"] = wireMs;
    state.counters["added_ms_per_telegram"] = wallMs / telegrams;
    std::printf("default configuration, write and read back: %.0f telegrams (%.0f + %.0f), "
                "wall %.1f ms, 9600-baud wire %.1f ms, %.3f ms added per telegram\n",
                telegrams, static_cast<double>(writeTele) / n, static_cast<double>(readTele) / n,
                wallMs, wireMs, wallMs / telegrams);
}
BENCHMARK(WriteAndReadBackDefaultConfiguration)
    ->Iterations(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
