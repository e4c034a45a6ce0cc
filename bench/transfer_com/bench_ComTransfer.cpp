// How long the direct serial link takes for the default configuration,
// written and read back through the real engine and port, with the box
// simulator behind a pseudo-terminal answering at once. A pseudo-terminal has no baud
// rate, so beside the wall time stands the time the same frames would take
// on the real line (57600 baud, 10 bits a byte, one way at a time).

#include "ComEngineRig.h"
#include "ComFrame.h"
#include "ComFrameScanner.h"
#include "ComPortDefs.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double kBitsPerByte = 10.0; // start, 8 data, stop

double WireMs(std::size_t bytes) {
    return static_cast<double>(bytes) * kBitsPerByte * 1000.0 / kComBaudRate;
}

void BM_DefaultConfigWriteAndReadBack(benchmark::State& state) {
    ComEngineRig rig;
    const std::vector<Bytes> packages = DefaultConfigPackages();
    const Bytes expected = Concat(packages);
    Bytes image;
    rig.box.With([](boxsim::BoxSimulator& sim) { sim.SetTrace(false); });
    // The identification that went out at the open is not part of a run.
    rig.box.WaitForCommand(eEvConfKennung, 1);
    const auto lineCounts = [&rig] {
        return rig.box.With([](boxsim::BoxSimulator& sim) { return sim.V24()->GetCounters(); });
    };
    const auto before = lineCounts();
    std::size_t runs = 0;
    for (auto _ : state) {
        if (!rig.Send(packages) || !rig.Read(image, 32768) || image != expected) {
            state.SkipWithError("round trip failed");
            break;
        }
        ++runs;
    }
    if (!runs)
        return;
    const auto after = lineCounts();
    const auto fromPc = static_cast<std::size_t>(after.bytesIn - before.bytesIn) / runs;
    const auto toPc = static_cast<std::size_t>(after.bytesOut - before.bytesOut) / runs;
    state.counters["packages"] = static_cast<double>(packages.size());
    state.counters["config_bytes"] = static_cast<double>(expected.size());
    state.counters["wire_bytes"] = static_cast<double>(fromPc + toPc);
    state.counters["wire_ms_57600"] = WireMs(fromPc + toPc);
}
BENCHMARK(BM_DefaultConfigWriteAndReadBack)->Unit(benchmark::kMillisecond)->UseRealTime();

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
