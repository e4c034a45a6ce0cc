#pragma once
// One-shot timers of the simulator, run from its poll loop. Every part of
// the simulator (link answers, the box's delayed answers, its waits for the
// PC) schedules here, so the loop needs one wait for all of them.
// Single-threaded. The clock can be replaced, so unit tests move time by
// hand.

#include <cstdint>
#include <functional>
#include <map>

namespace boxsim {

class SimTimers {
public:
    using NowFn = std::function<std::int64_t()>;
    using Id = std::uint64_t;

    // Steady milliseconds unless a clock is given.
    explicit SimTimers(NowFn now = {});

    std::int64_t NowMs() const { return m_now(); }
    // Runs fn once, ms from now. The id cancels it.
    Id After(std::int64_t ms, std::function<void()> fn);
    void Cancel(Id id);
    bool Pending() const { return !m_timers.empty(); }
    // Milliseconds until the next timer is due (0 when one is overdue); -1
    // when none is set. For the poll loop's wait.
    int NextTimerMs() const;
    // Runs every timer whose time has come, in the order they fall due.
    void Run();

private:
    NowFn m_now;
    // Keyed by (due, id) so equal times keep their order.
    std::map<std::pair<std::int64_t, Id>, std::function<void()>> m_timers;
    Id m_next = 1;
};

} // namespace boxsim
