#include "SkippableClock.h"

#include <algorithm>
#include <chrono>
#include <thread>

std::uint64_t SkippableClock::RealMs() const {
    const auto real = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint64_t>(real.count());
}

std::uint64_t SkippableClock::NowMs() const {
    return m_held ? *m_held : RealMs() + m_skipMs;
}

void SkippableClock::Hold(std::uint64_t t) {
    m_held = std::max(t, NowMs());
}

void SkippableClock::Release() {
    // On from where it stood: the time never runs backwards.
    if (m_held) {
        const std::uint64_t real = RealMs();
        if (*m_held > real + m_skipMs)
            m_skipMs = *m_held - real;
    }
    m_held.reset();
}

void SkippableClock::SleepMs(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SkippableClock::Skip(std::uint64_t ms) {
    if (m_held)
        *m_held += ms;
    else
        m_skipMs += ms;
}

void SkippableClock::SkipTo(std::uint64_t t) {
    const std::uint64_t now = NowMs();
    if (t > now)
        Skip(t - now);
}
