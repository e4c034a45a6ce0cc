#pragma once
// What the pseudo-terminal and the wake-ups of the threads cost alone, with
// a far end that does nothing but answer: a child process that sleeps in
// poll on the master and answers every write of the PC with a few bytes at
// once. The PC's side is the real serial port layer, in one of the two ways
// the program waits:
// - Waiter::Self: the thread that wrote waits for the answer and reads it
//   (the bus control's way);
// - Waiter::Reader: a reader thread waits and reads, then hands the answer
//   to the thread that wrote, which sleeps until then (the direct serial
//   port's way, without its frame code and the engine).
// What an exchange costs beyond this floor is the program's work; the
// floor itself is the line, the kernel and the machine.

#include "ExchangeCost.h"
#include "SerialPort.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sched.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

struct LineFloor {
    double wallUs = 0; // per round trip
    double cpuUs = 0;  // per round trip, this process
    bool ok = false;
};

enum class Waiter { Self, Reader };

namespace line_floor_detail {

// The far end: an answer of answerBytes for every request of requestBytes,
// however the terminal splits it, until the line goes. Only plain system
// calls here: the child of a process with threads.
[[noreturn]] inline void AnswerForEver(int master, std::size_t requestBytes,
                                       std::size_t answerBytes) {
    // As promptly as the simulator asks to answer.
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO);
    if (sched_setscheduler(0, SCHED_FIFO, &param) != 0)
        setpriority(PRIO_PROCESS, 0, -20);
    std::uint8_t buf[512] = {};
    std::size_t got = 0;
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, -1) < 0)
            continue;
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0)
            ::_exit(0);
        for (got += static_cast<std::size_t>(n); got >= requestBytes; got -= requestBytes)
            if (::write(master, buf, answerBytes) != static_cast<ssize_t>(answerBytes))
                ::_exit(0);
    }
}

} // namespace line_floor_detail

// trips round trips of requestBytes out and answerBytes back.
inline LineFloor MeasurePtyLineFloor(int trips, std::size_t requestBytes, std::size_t answerBytes,
                                     Waiter waiter) {
    using mox::platform::SerialPort;
    LineFloor floor;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return floor;
    const std::string path = ::ptsname(master);
    SerialPort port;
    if (!port.Open(path)) {
        ::close(master);
        return floor;
    }
    const pid_t child = ::fork();
    if (child == 0)
        line_floor_detail::AnswerForEver(master, requestBytes, answerBytes);
    ::close(master);
    if (child < 0)
        return floor;

    const std::vector<std::uint8_t> request(requestBytes, 0x41);
    std::mutex lock;
    std::condition_variable answered;
    std::size_t answerBytesIn = 0; // under lock while a reader runs
    bool stop = false;             // under lock
    std::thread reader;
    ExchangeCost cost;
    cost.ExcludeOtherThreadsNow();
    if (waiter == Waiter::Reader) {
        reader = std::thread([&] {
            std::uint8_t buf[512];
            for (;;) {
                {
                    std::lock_guard<std::mutex> g(lock);
                    if (stop)
                        return;
                }
                const SerialPort::WaitResult wait = port.WaitForInput(-1, true);
                if (wait == SerialPort::WaitResult::Failed)
                    return; // the far end went; the writer's guard ends the run
                if (wait != SerialPort::WaitResult::Ready)
                    continue;
                const long n = port.Read(buf, sizeof buf);
                if (n > 0) {
                    {
                        std::lock_guard<std::mutex> g(lock);
                        answerBytesIn += static_cast<std::size_t>(n);
                    }
                    answered.notify_one();
                }
            }
        });
    }
    // Only a hang waits this long.
    constexpr int kGuardMs = 5000;
    floor.ok = true;
    cost.Start();
    for (int i = 0; i < trips && floor.ok; ++i) {
        floor.ok = port.Write(request.data(), request.size(), kGuardMs);
        const std::size_t until = (static_cast<std::size_t>(i) + 1) * answerBytes;
        if (waiter == Waiter::Self) {
            std::uint8_t buf[512];
            while (floor.ok && answerBytesIn < until) {
                floor.ok = port.WaitForInput(kGuardMs, false) == SerialPort::WaitResult::Ready;
                const long n = floor.ok ? port.Read(buf, sizeof buf) : -1;
                floor.ok = n >= 0;
                answerBytesIn += static_cast<std::size_t>(std::max(n, 0L));
            }
        } else {
            std::unique_lock<std::mutex> g(lock);
            floor.ok = floor.ok && answered.wait_for(g, std::chrono::milliseconds(kGuardMs),
                                                     [&] { return answerBytesIn >= until; });
        }
    }
    cost.Stop();
    if (reader.joinable()) {
        {
            std::lock_guard<std::mutex> g(lock);
            stop = true;
        }
        port.Wake();
        reader.join();
    }
    port.Close();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    floor.wallUs = cost.Get().wallMs * 1000.0 / trips;
    floor.cpuUs = cost.Get().cpuMs * 1000.0 / trips;
    return floor;
}

// Both floors beside an exchange that took tripsPerUnit round trips per
// telegram (or frame), each trip requestBytes out and answerBytes back:
// counters floor_self_{wall,cpu}_us_per_<unit> (the writer waits itself)
// and floor_handover_{wall,cpu}_us_per_<unit> (a reader thread hands over),
// and one line each to read.
inline void ReportLineFloors(benchmark::State& state, const char* unit, std::size_t requestBytes,
                             std::size_t answerBytes, double tripsPerUnit) {
    // Enough trips for a steady mean, few enough to stay under a second.
    constexpr int kTrips = 3000;
    const std::string per = std::string("_per_") + unit;
    for (const Waiter waiter : {Waiter::Self, Waiter::Reader}) {
        const char* name = waiter == Waiter::Self ? "self" : "handover";
        const LineFloor floor = MeasurePtyLineFloor(kTrips, requestBytes, answerBytes, waiter);
        if (!floor.ok) {
            std::printf("line floor (%s): not measured\n", name);
            continue;
        }
        state.counters[std::string("floor_") + name + "_wall_us" + per] =
            floor.wallUs * tripsPerUnit;
        state.counters[std::string("floor_") + name + "_cpu_us" + per] = floor.cpuUs * tripsPerUnit;
        std::printf("line floor (%s), a far end that only answers, the same round trips: per %s "
                    "wall %.1f us, CPU %.1f us (per round trip %.1f us, %.1f us)\n",
                    name, unit, floor.wallUs * tripsPerUnit, floor.cpuUs * tripsPerUnit,
                    floor.wallUs, floor.cpuUs);
    }
}
