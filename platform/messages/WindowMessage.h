#pragma once
// One window message: its id (WindowMessages.h), the two word parameters the
// handlers know from the message table, and a value record that travels
// with it. Records that cross threads travel here as values (a call-info
// record, a byte vector of received data), never as raw heap pointers that
// a receiver would have to free.

#include <any>
#include <cstdint>

namespace mox::platform {

struct WindowMessage {
    uint32_t id = 0;
    intptr_t wParam = 0;
    intptr_t lParam = 0;
    std::any value;
};

} // namespace mox::platform
