#include "SimTimers.h"

#include <algorithm>
#include <chrono>
#include <climits>

namespace boxsim {

SimTimers::SimTimers(NowFn now) : m_now(std::move(now)) {
    if (!m_now)
        m_now = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
}

SimTimers::Id SimTimers::After(std::int64_t ms, std::function<void()> fn) {
    const Id id = m_next++;
    m_timers.emplace(std::make_pair(NowMs() + std::max<std::int64_t>(ms, 0), id), std::move(fn));
    return id;
}

void SimTimers::Cancel(Id id) {
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->first.second == id) {
            m_timers.erase(it);
            return;
        }
    }
}

int SimTimers::NextTimerMs() const {
    if (m_timers.empty())
        return -1;
    const std::int64_t left = m_timers.begin()->first.first - NowMs();
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, INT_MAX));
}

void SimTimers::Run() {
    // A timer may set new ones; those that are already due run in this pass.
    while (!m_timers.empty() && m_timers.begin()->first.first <= NowMs()) {
        auto fn = std::move(m_timers.begin()->second);
        m_timers.erase(m_timers.begin());
        fn();
    }
}

} // namespace boxsim
