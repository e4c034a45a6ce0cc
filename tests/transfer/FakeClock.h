#pragma once
// A clock the test moves by hand; sleeping only moves it on.

#include "ITransferClock.h"

class FakeClock : public ITransferClock {
public:
    std::uint64_t NowMs() const override { return now; }
    void SleepMs(std::uint32_t ms) override {
        now += ms;
        slept += ms;
    }
    void Advance(std::uint64_t ms) { now += ms; }

    std::uint64_t now = 100000;
    std::uint64_t slept = 0;
};
