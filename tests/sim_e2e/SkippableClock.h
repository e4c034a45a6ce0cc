#pragma once
// The transfer's clock for tests over a real line: real milliseconds, plus
// a jump the test adds when it knows nothing will come (the box stays
// silent on purpose), so a 5 or 12 second time-out passes at once while
// every byte on the line still moves in real time. Sleeping is real: the
// bus port's waits give the bus control's reader thread real time.

#include "ITransferClock.h"

#include <cstdint>
#include <optional>

class SkippableClock : public ITransferClock {
public:
    std::uint64_t NowMs() const override;
    void SleepMs(std::uint32_t ms) override;

    // Moves the time on by ms at once.
    void Skip(std::uint64_t ms);
    // Moves it on to t, when t lies ahead.
    void SkipTo(std::uint64_t t);
    std::uint64_t Skipped() const { return m_skipMs; }
    // Stands still at t (moved on to it, when it lies ahead) until Release,
    // so that what a test does "just before" a time-out stays before it
    // however long the machine holds the test up. The engine's timers
    // stand with it; sleeping stays real.
    void Hold(std::uint64_t t);
    void Release();

private:
    std::uint64_t RealMs() const;

    std::uint64_t m_skipMs = 0;
    std::optional<std::uint64_t> m_held;
};
