#pragma once
// The real clock: monotonic milliseconds and the system's local time.

#include "IBusClock.h"

namespace quell32 {

class SystemBusClock final : public IBusClock {
public:
    uint32_t TickMs() override;
    double Now() override;
};

} // namespace quell32
