#pragma once
// Time as the bus line sees it: a millisecond tick count that wraps at 32
// bits, and the local date and time for the telegram time stamp.

#include <cstdint>

namespace quell32 {

class IBusClock {
public:
    virtual ~IBusClock() = default;
    virtual uint32_t TickMs() = 0;
    // Automation date, local time.
    virtual double Now() = 0;
};

} // namespace quell32
