#pragma once
// The figures an exchange benchmark reports per telegram (or frame): CPU,
// wall time added, the line time of the same bytes and context switches,
// as counters named <figure>_per_<unit> and as one line to read.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

struct ExchangeFigures {
    double units = 0; // telegrams or frames, per run
    double cpuMs = 0;
    double addedMs = 0; // wall time less the simulator's answer delays
    double wireMs = 0;
    double switches = 0;
};

inline void ReportPerUnit(benchmark::State& state, const char* what, const char* unit,
                          const char* line, const ExchangeFigures& f) {
    const std::string per = std::string("_per_") + unit;
    state.counters["cpu_us" + per] = f.cpuMs * 1000.0 / f.units;
    state.counters["added_us" + per] = f.addedMs * 1000.0 / f.units;
    state.counters["wire_us" + per] = f.wireMs * 1000.0 / f.units;
    state.counters["switches" + per] = f.switches / f.units;
    std::printf("%s: %.0f %ss; per %s: CPU %.1f us, wall added %.1f us, %s wire %.0f us, "
                "%.1f context switches\n",
                what, f.units, unit, unit, f.cpuMs * 1000.0 / f.units, f.addedMs * 1000.0 / f.units,
                line, f.wireMs * 1000.0 / f.units, f.switches / f.units);
}
