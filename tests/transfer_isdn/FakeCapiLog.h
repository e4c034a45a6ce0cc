#pragma once
// What the port put to the fake CAPI library, counted for the ISDN tests.

#include "FakeCapiControl.h"

#include <cstdint>

// Messages of this command and subcommand the port put so far.
inline int CountPut(std::uint8_t cmd, std::uint8_t sub) {
    int n = 0;
    for (const auto& m : fakecapi::PutLog())
        n += m.size() > 5 && m[4] == cmd && m[5] == sub;
    return n;
}
