#pragma once
// What an exchange with the simulated box costs the program: wall time, CPU
// time of the whole process (every thread of it, the bus control's reader
// included) and context switches. The
// simulator runs in a process of its own; the thread of the benchmark's that
// reads the simulator's output is the simulator's helper, not the program,
// and is taken off. Measured around the exchange alone, so the benchmark's
// own talk with the simulator stays out.

#include <cstdint>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

class ExchangeCost {
public:
    struct Totals {
        double wallMs = 0;
        double cpuMs = 0;
        long switches = 0; // voluntary and involuntary
    };

    // Every thread but the caller that runs now is left out of the figures:
    // called once the simulator is up, before the program starts threads.
    void ExcludeOtherThreadsNow() {
        m_excluded.clear();
        const long self = static_cast<long>(::gettid());
        if (DIR* dir = ::opendir("/proc/self/task")) {
            while (const dirent* e = ::readdir(dir)) {
                const long tid = std::atol(e->d_name);
                if (tid > 0 && tid != self)
                    m_excluded.push_back(tid);
            }
            ::closedir(dir);
        }
    }

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
    // CPU time (ms) and context switches of one thread of this process.
    static void ThreadCost(long tid, double* cpuMs, long* switches) {
        const std::string dir = "/proc/self/task/" + std::to_string(tid) + "/";
        std::ifstream sched(dir + "schedstat");
        double ns = 0;
        if (sched >> ns)
            *cpuMs += ns / 1e6;
        std::ifstream status(dir + "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 ||
                line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                *switches += std::atol(line.c_str() + line.find(':') + 1);
        }
    }
    Point Now() const {
        rusage ru{};
        ::getrusage(RUSAGE_SELF, &ru);
        Point p{Ms(CLOCK_MONOTONIC), Ms(CLOCK_PROCESS_CPUTIME_ID), ru.ru_nvcsw + ru.ru_nivcsw};
        double helperMs = 0;
        long helperSwitches = 0;
        for (const long tid : m_excluded)
            ThreadCost(tid, &helperMs, &helperSwitches);
        p.cpuMs -= helperMs;
        p.switches -= helperSwitches;
        return p;
    }

    std::vector<long> m_excluded;
    Point m_start;
    Totals m_totals;
};
