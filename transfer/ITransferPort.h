#pragma once
// One open link as the transfer controller's engine sees it: the bus port,
// the direct serial port or the ISDN port. Each carries a block message whole
// and hands up whole received blocks; the bus-only calls have harmless
// defaults on the other links. The ISDN port carries its blocks on a call,
// which the controller holds: it offers its operations through GetCapiLink.

#include <cstdint>
#include <functional>

class ICapiLinkPort;

class ITransferPort {
public:
    virtual ~ITransferPort() = default;

    // Bus: the bus control's port opened. Serial: the port is open.
    // ISDN: CAPI is usable (whether a call is up is the controller's).
    virtual bool IsOpen() const = 0;
    // Serial: the COM number the port was opened on; others 0.
    virtual int GetComNumber() const { return 0; }

    // Sends one block message; false when the link did not take it.
    virtual bool SendDataBlock(const std::uint8_t* data, std::uint32_t len) = 0;
    // A block sent without waiting for an answer, right after another such
    // block: a port that carries a block in parts lets it wait until the
    // block under way is through, so neither cuts the other short. Ports
    // that carry blocks whole send it at once. When it was taken (true),
    // onDone later tells once whether the block reached the box: nobody waits
    // for an answer to it, so a block lost on the way is known only there.
    using BlockDone = std::function<void(bool delivered)>;
    virtual bool QueueDataBlock(const std::uint8_t* data, std::uint32_t len,
                                BlockDone onDone = {}) {
        if (!SendDataBlock(data, len))
            return false;
        if (onDone)
            onDone(true);
        return true;
    }
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
    // ISDN only: the port's call operations; null on the other links.
    virtual ICapiLinkPort* GetCapiLink() { return nullptr; }
};
