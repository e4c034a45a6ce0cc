#pragma once
// The ISDN port's operations as the transfer controller uses them: the
// CapiPort under the program's ISDN link, a fake in the tests. Results are
// the port's: an instance number 1..2 or a length when an operation worked,
// -1 no free connection or send window full, -2 unknown instance or wrong
// state, -3 CAPI not usable.

#include "CapiCallInfo.h"

#include <cstdint>

class ICapiLinkPort {
public:
    virtual ~ICapiLinkPort() = default;

    // A new outgoing call (record in mode call).
    virtual int Connect(const CapiCallInfo& info) = 0;
    // Listens for incoming calls (record in mode listen).
    virtual int Listen(const CapiCallInfo& info) = 0;
    // One block on a connection in its data phase; the length when it went
    // out. The port keeps its own copy until CAPI confirms it.
    virtual int SendData(int instance, std::uint32_t len, const std::uint8_t* data) = 0;
    // Hangs up a call, or refuses a ringing incoming one: 0 or -2.
    virtual int Disconnect(int instance) = 0;
    // Whether the connection is in its data phase.
    virtual bool IsDataPhase(int instance) = 0;
};
