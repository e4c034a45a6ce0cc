#pragma once
// One open link as the transfer controller's engine sees it: the bus port,
// the direct serial port or the ISDN port. Each carries a block message whole
// and hands up whole received blocks; the bus-only calls have harmless
// defaults on the other links.

#include <cstdint>

class ITransferPort {
public:
    virtual ~ITransferPort() = default;

    // Bus: the bus control's port opened. Serial: the port is open.
    // ISDN: a connection instance is set.
    virtual bool IsOpen() const = 0;
    // Serial: the COM number the port was opened on; others 0.
    virtual int GetComNumber() const { return 0; }

    // Sends one block message; false when the link did not take it.
    virtual bool SendDataBlock(const std::uint8_t* data, std::uint32_t len) = 0;
    // Copies the received block out (at most size bytes); returns the count.
    virtual std::uint32_t ReceiveDataBlock(std::uint8_t* dest, std::uint32_t size) = 0;

    // Bus only: one raw telegram through the bus control.
    virtual bool SendLumenTelegramm(const std::uint8_t* /*tele*/, std::uint16_t /*len*/) {
        return false;
    }
    // Bus only: the bus control's TeleReceived event.
    virtual void OnTeleReceived() {}
    // Bus only: the queued call for telegrams read while the bus was blocked.
    virtual void WorkOnPendingTelegrams() {}
};
