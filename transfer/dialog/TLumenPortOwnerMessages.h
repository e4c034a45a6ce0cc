#pragma once
// The bus port's owner as window messages to the transfer form: a finished
// block is QUELLPORT_DATA performed (handled before the call returns), the
// rest of a block that did not fit is QUELLPORT_DATA posted, traffic is
// WM_KENNUNG_RESTART performed. Telegrams the bus port read while the bus was
// blocked go through its normal receive path later, by QUELLPORT_DATA posted
// with wParam kQuellPortPending.
//
// A refused open is shown by the form, never from inside the call: the bus
// port is still being built then, and a modal box would run the event loop
// (and the controller's timers) under the half-made port.

#include "ILumenPortOwner.h"
#include "MessageAddress.h"

#include <cstdint>
#include <functional>

class TLumenPortOwnerMessages : public ILumenPortOwner {
public:
    // wParam of QUELLPORT_DATA for the bus port's telegrams read while the
    // bus was blocked; the port's data notices carry 0.
    static constexpr std::intptr_t kQuellPortPending = 1;

    // showOpenError queues the message for a refused open (result of the
    // bus control's OpenPort).
    TLumenPortOwnerMessages(mox::platform::MessageAddress form,
                            std::function<void(std::uint16_t)> showOpenError)
        : m_Form(std::move(form)), m_ShowOpenError(std::move(showOpenError)) {}

    void PerformQuellPortData() override;
    void PostQuellPortData() override;
    void PerformKennungRestart() override;
    void PostPendingTelegrams() override;
    void ShowOpenError(std::uint16_t result) override;

private:
    mox::platform::MessageAddress m_Form;
    std::function<void(std::uint16_t)> m_ShowOpenError;
};
