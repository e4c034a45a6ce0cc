#pragma once
// The figures an exchange benchmark reports per telegram (or frame), as
// counters named <figure>_per_<unit> and as one line to read:
// - cpu_us: the program's CPU time (its whole process, every thread);
// - added_us: the exchange's wall time less the simulator's own answer
//   time, as the simulator measured it (from the return of the poll that
//   woke it with the PC's bytes to the return of its answer's write), and
//   less any answer delay it was told to keep: what the program adds to
//   the line, the simulator's wake-up after each of the PC's writes and the
//   pseudo-terminal's passing of the bytes included;
// - wall_us: the wall time less only the answer delay the simulator was
//   told to keep (with none, the whole wall time: the program's time plus
//   the simulator's own);
// - sim_us: the simulator's own answer time;
// - wire_us: the line time of the same bytes;
// - switches: the process's context switches.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

struct ExchangeFigures {
    double units = 0; // telegrams or frames, per run
    double cpuMs = 0;
    double wallMs = 0; // less the answer delay the simulator was told to keep
    double simMs = 0;  // the simulator's own answer time
    double wireMs = 0;
    double switches = 0;
};

inline void ReportPerUnit(benchmark::State& state, const char* what, const char* unit,
                          const char* line, const ExchangeFigures& f) {
    const std::string per = std::string("_per_") + unit;
    auto us = [&](double ms) { return ms * 1000.0 / f.units; };
    state.counters["cpu_us" + per] = us(f.cpuMs);
    state.counters["added_us" + per] = us(f.wallMs - f.simMs);
    state.counters["wall_us" + per] = us(f.wallMs);
    state.counters["sim_us" + per] = us(f.simMs);
    state.counters["wire_us" + per] = us(f.wireMs);
    state.counters["switches" + per] = f.switches / f.units;
    std::printf("%s: %.0f %ss; per %s: CPU %.1f us, wall added %.1f us (wall %.1f us less the "
                "simulator's own %.1f us), %s wire %.0f us, %.1f context switches\n",
                what, f.units, unit, unit, us(f.cpuMs), us(f.wallMs - f.simMs), us(f.wallMs),
                us(f.simMs), line, us(f.wireMs), f.switches / f.units);
}
