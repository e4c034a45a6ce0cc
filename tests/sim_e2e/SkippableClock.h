#pragma once
// The transfer's clock for tests over a real line: real milliseconds, plus
// a jump the test adds when it knows nothing will come (the box stays
// silent on purpose), so a 5 or 12 second time-out passes at once while
// every byte on the line still moves in real time. Sleeping is real: the
// bus port's waits give the bus control's reader thread real time.

#include "ITransferClock.h"

#include <cstdint>

class SkippableClock : public ITransferClock {
public:
    std::uint64_t NowMs() const override;
    void SleepMs(std::uint32_t ms) override;

    // Moves the time on by ms at once.
    void Skip(std::uint64_t ms) { m_skipMs += ms; }
    // Moves it on to t, when t lies ahead.
    void SkipTo(std::uint64_t t);
    std::uint64_t Skipped() const { return m_skipMs; }

private:
    std::uint64_t m_skipMs = 0;
};
