#pragma once
// What the wizard's own pages need of the wizard frame: the answer flags,
// whether a live programming page was used, the link dialog, the send to
// the box, and a queued message to the frame. The frame (TAssiMain) is the
// one implementation; the pages' tests hand in a fake.

#include <cstdint>

class IAssiFrame {
public:
    virtual ~IAssiFrame() = default;

    // The answer flags (eAssiFlag bits); a device bit reads no while the
    // device is absent.
    virtual bool GetFlag(std::uint16_t bit) const = 0;
    virtual void SetFlag(std::uint16_t bit, bool on) = 0;
    // A page that programs the box live was shown.
    virtual bool GetTransfer() const = 0;
    // The link dialog without the ISDN choice; true when it ended with OK
    // (the ports then follow the new setting).
    virtual bool RunPortDialog() = 0;
    // Link dialog, then the configuration to the box; every failure is
    // shown; true when it was sent.
    virtual bool SendToBox() = 0;
    // Queued, so that a page's own handler has returned before the frame
    // acts on it (the frame replaces the page).
    virtual void PostToFrame(std::uint32_t id, std::intptr_t wParam, std::intptr_t lParam) = 0;
};
