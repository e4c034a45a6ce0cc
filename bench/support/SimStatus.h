#pragma once
// What the benchmarks read of the simulator: a counter of its status line
// ("STATUS idle 1 ... name value ...", 0 when the line does not have it),
// and which simulator to start.

#include <cstdlib>
#include <string>

inline long SimStatusField(const std::string& status, const std::string& name) {
    const size_t at = status.find(" " + name + " ");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + name.size() + 2);
}

// The simulator built beside the benchmark, unless MOX_BENCH_BOXSIM names
// another: two builds of the program are compared against one simulator,
// so its own time is measured the same way on both.
inline std::string BenchSimulator(const char* built) {
    const char* other = std::getenv("MOX_BENCH_BOXSIM");
    return other && *other ? other : built;
}
