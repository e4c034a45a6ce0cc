#pragma once
// What an exchange with the simulated box costs this process: wall time, CPU
// time of the whole process (every thread of it, the bus control's reader
// and the serial port's reader included; the simulator runs in a process of
// its own and is not counted) and context switches. Measured around the
// exchange alone, so the benchmark's own talk with the simulator stays out.

#include <cstdint>
#include <ctime>
#include <sys/resource.h>

class ExchangeCost {
public:
    struct Totals {
        double wallMs = 0;
        double cpuMs = 0;
        long switches = 0; // voluntary and involuntary
    };

    void Start() { m_start = Now(); }
    void Stop() {
        const Point end = Now();
        m_totals.wallMs += end.wallMs - m_start.wallMs;
        m_totals.cpuMs += end.cpuMs - m_start.cpuMs;
        m_totals.switches += end.switches - m_start.switches;
    }
    const Totals& Get() const { return m_totals; }

private:
    struct Point {
        double wallMs = 0;
        double cpuMs = 0;
        long switches = 0;
    };

    static double Ms(clockid_t clock) {
        timespec ts{};
        ::clock_gettime(clock, &ts);
        return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
    }
    static Point Now() {
        rusage ru{};
        ::getrusage(RUSAGE_SELF, &ru);
        return {Ms(CLOCK_MONOTONIC), Ms(CLOCK_PROCESS_CPUTIME_ID), ru.ru_nvcsw + ru.ru_nivcsw};
    }

    Point m_start;
    Totals m_totals;
};
