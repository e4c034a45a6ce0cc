#pragma once
// Time for the transfer's state machines. The program uses a steady
// millisecond clock; the tests use a fake one they move by hand, so every
// time-out path runs instantly.

#include <cstdint>

class ITransferClock {
public:
    virtual ~ITransferClock() = default;

    // Milliseconds since an arbitrary start; never goes backwards.
    virtual std::uint64_t NowMs() const = 0;
    // Blocks the calling thread for ms milliseconds (a fake clock only moves
    // its time on).
    virtual void SleepMs(std::uint32_t ms) = 0;
};
