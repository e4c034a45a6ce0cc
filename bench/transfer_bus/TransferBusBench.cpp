// The default configuration written to the simulated box and read back
// over a pseudo-terminal, through the bus control module, TTkLumenPort, the
// transfer controller's engine and the document.
//
// The pseudo-terminal has no baud rate, so the exchange's wall time here,
// less the simulator's own answer time, is what the program adds to the
// line; beside it stands the time the same bytes take on the bus
// interface's 9600-baud line. CPU is this whole process, all its threads
// (the control's reader included), less the thread that reads the
// simulator's output; the simulator runs apart. MOX_BENCH_BOXSIM names
// another simulator to run against (see SimStatus.h).
//
// Counters, per write and read back (PerUnitFigures.h says what each holds):
// - telegrams: every telegram on the bus, both ways (tries included);
// - cpu_us_per_telegram: the process's CPU time over the exchange / telegrams;
// - added_us_per_telegram: (wall time - the simulator's own answer time -
//   answer delays) / telegrams;
// - wall_us_per_telegram: (wall time - answer delays) / telegrams;
// - sim_us_per_telegram: the simulator's own answer time / telegrams;
// - sim_turns: the simulator's wake-ups that answered, per run;
// - wire_us_per_telegram: the 9600-baud line time of the same bytes
//   (telegrams and one-byte answers, 10 bits a byte) / telegrams;
// - switches_per_telegram: the process's context switches / telegrams;
// - floor_{self,handover}_{wall,cpu}_us_per_telegram: the same number of
//   round trips (sim_turns) on a pseudo-terminal whose far end only
//   answers, the writing thread waiting itself, or a reader thread handing
//   each answer over (PtyLineFloor.h).

#include "BenchSettings.h"
#include "BusRig.h"
#include "E2eDocuments.h"
#include "ExchangeCost.h"
#include "HeadlessTransfer.h"
#include "PerUnitFigures.h"
#include "PtyLineFloor.h"
#include "SimStatus.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr double kBitsPerByte = 10; // start, 8 data, stop
constexpr double kBaud = 9600;
// The box answers each block after this long (0: at once); the time is the
// simulator's, not the program's, so it is taken off the wall time, as is
// the simulator's own answer time that it measures itself.
constexpr int kAnswerDelayMs = 0;

struct SimCounts {
    long telegrams = 0;
    long bytes = 0;
    long answers = 0;
    long simTurns = 0;
    long simUs = 0;
};

SimCounts Counts(BusRig& rig) {
    const std::string s = rig.SimCommand("status", "STATUS");
    return {SimStatusField(s, "telegrams_in") + SimStatusField(s, "telegrams_out"),
            SimStatusField(s, "bytes_in") + SimStatusField(s, "bytes_out"),
            SimStatusField(s, "answers"), SimStatusField(s, "answer_turns"),
            SimStatusField(s, "answer_us")};
}

void WriteAndReadBackDefaultConfiguration(benchmark::State& state) {
    BenchSettings settings("transfer-bus");
    BusRig rig(MOX_QUELL32, MOX_REGSVR, BenchSimulator(MOX_BOXSIM), {"--quiet"});
    std::string error;
    if (!rig.Start(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    E2eDocuments docs;
    HeadlessTransfer transfer(rig);
    auto doc = docs.Make(&transfer);
    transfer.SetDocument(doc.get());
    // Up to here only the simulator's output reader runs beside us; the
    // control's reader starts with the port.
    ExchangeCost write, read;
    write.ExcludeOtherThreadsNow();
    read.ExcludeOtherThreadsNow();
    // The port opens (and identifies itself) before the first run.
    rig.Engine().UpdatePort();
    if (rig.SimCommand("delay " + std::to_string(kAnswerDelayMs), "OK").empty()) {
        state.SkipWithError("the simulator took no answer delay");
        return;
    }

    long writeTele = 0, readTele = 0, bytes = 0, answers = 0, simTurns = 0, simUs = 0, runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const SimCounts c0 = Counts(rig);
        state.ResumeTiming();
        write.Start();
        const bool written = doc->StartWriteAnlDataToComPort(true);
        write.Stop();
        state.PauseTiming();
        const SimCounts c1 = Counts(rig);
        state.ResumeTiming();
        read.Start();
        const bool readBack = doc->ReadAnlDataFromComPort();
        read.Stop();
        state.PauseTiming();
        const SimCounts c2 = Counts(rig);
        state.ResumeTiming();
        if (!written || !readBack) {
            state.SkipWithError("the exchange failed");
            return;
        }
        writeTele += c1.telegrams - c0.telegrams;
        readTele += c2.telegrams - c1.telegrams;
        bytes += c2.bytes - c0.bytes;
        answers += c2.answers - c0.answers;
        simTurns += c2.simTurns - c0.simTurns;
        simUs += c2.simUs - c0.simUs;
        ++runs;
    }
    if (!runs)
        return;
    const double n = static_cast<double>(runs);
    const double telegrams = static_cast<double>(writeTele + readTele) / n;
    const double wallMs = (write.Get().wallMs + read.Get().wallMs) / n;
    const double cpuMs = (write.Get().cpuMs + read.Get().cpuMs) / n;
    const double delayMs = static_cast<double>(answers) / n * kAnswerDelayMs;
    const double simMs = static_cast<double>(simUs) / n / 1000.0;
    const double switches = static_cast<double>(write.Get().switches + read.Get().switches) / n;
    const double wireMs = static_cast<double>(bytes) / n * kBitsPerByte / kBaud * 1000.0;
    state.counters["telegrams"] = telegrams;
    state.counters["write_telegrams"] = static_cast<double>(writeTele) / n;
    state.counters["read_telegrams"] = static_cast<double>(readTele) / n;
    state.counters["wall_ms"] = wallMs;
    state.counters["cpu_ms"] = cpuMs;
    state.counters["write_cpu_ms"] = write.Get().cpuMs / n;
    state.counters["read_cpu_ms"] = read.Get().cpuMs / n;
    state.counters["wire_ms_9600"] = wireMs;
    state.counters["sim_turns"] = static_cast<double>(simTurns) / n;
    ReportPerUnit(
        state,
        ("bus, default configuration written and read back (" + std::to_string(writeTele / runs) +
         " + " + std::to_string(readTele / runs) + " telegrams)")
            .c_str(),
        "telegram", "9600-baud", {telegrams, cpuMs, wallMs - delayMs, simMs, wireMs, switches});
    // A telegram out and the one-byte answer back, as most round trips go.
    constexpr std::size_t kTelegramBytes = 24;
    ReportLineFloors(state, "telegram", kTelegramBytes, 1,
                     static_cast<double>(simTurns) / n / telegrams);
}
BENCHMARK(WriteAndReadBackDefaultConfiguration)
    ->Iterations(30)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
