#pragma once
// What the bus port tells the form that owns it (the transfer controller's
// window). The program's adapter turns each call into the window message of
// the same meaning; the "Post" calls must come back later on the GUI thread,
// never inside the call.

#include <cstdint>

class ILumenPortOwner {
public:
    virtual ~ILumenPortOwner() = default;

    // QUELLPORT_DATA, delivered at once: a block, a foreign telegram or a
    // failure (held length 0) is ready for ReceiveDataBlock.
    virtual void PerformQuellPortData() = 0;
    // QUELLPORT_DATA, queued: the rest of a block that did not fit.
    virtual void PostQuellPortData() = 0;
    // WM_KENNUNG_RESTART: a 'C' telegram arrived.
    virtual void PerformKennungRestart() = 0;
    // Queued call of TTkLumenPort::WorkOnPendingTelegrams: telegrams were read
    // while the bus was blocked during a send.
    virtual void PostPendingTelegrams() = 0;
    // The bus control refused OpenPort with this result; the owner shows the
    // matching message (TTkLumenPort::OpenErrorText).
    virtual void ShowOpenError(std::uint16_t result) = 0;
};
