#pragma once
// The program's clock for the transfer: std::chrono::steady_clock.

#include "ITransferClock.h"

class SteadyTransferClock : public ITransferClock {
public:
    std::uint64_t NowMs() const override;
    void SleepMs(std::uint32_t ms) override;
};
