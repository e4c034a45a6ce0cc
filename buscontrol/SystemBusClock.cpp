#include "SystemBusClock.h"

#include "AutomationDate.h"

#include <chrono>

namespace quell32 {

uint32_t SystemBusClock::TickMs() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(ms.count());
}

double SystemBusClock::Now() {
    return mox::com::AutomationDateFromTime(std::chrono::system_clock::now());
}

} // namespace quell32
