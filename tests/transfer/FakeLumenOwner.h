#pragma once
// Owner of a bus port in a test: counts what the port reports and can hand
// a finished block on to a callback, as the transfer controller would.

#include "ILumenPortOwner.h"

#include <functional>

class FakeLumenOwner : public ILumenPortOwner {
public:
    void PerformQuellPortData() override {
        ++quellData;
        if (onQuellData)
            onQuellData();
    }
    void PostQuellPortData() override { ++postedQuellData; }
    void PerformKennungRestart() override { ++kennungRestarts; }
    void PostPendingTelegrams() override { ++postedPending; }
    void ShowOpenError(std::uint16_t result) override {
        ++openErrors;
        lastOpenError = result;
    }

    int quellData = 0;
    int postedQuellData = 0;
    int kennungRestarts = 0;
    int postedPending = 0;
    int openErrors = 0;
    std::uint16_t lastOpenError = 0;
    std::function<void()> onQuellData;
};
