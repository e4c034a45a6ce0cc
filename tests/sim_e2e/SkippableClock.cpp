#include "SkippableClock.h"

#include <chrono>
#include <thread>

std::uint64_t SkippableClock::NowMs() const {
    const auto real = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint64_t>(real.count()) + m_skipMs;
}

void SkippableClock::SleepMs(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SkippableClock::SkipTo(std::uint64_t t) {
    const std::uint64_t now = NowMs();
    if (t > now)
        m_skipMs += t - now;
}
