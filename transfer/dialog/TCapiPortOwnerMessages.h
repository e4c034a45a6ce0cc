#pragma once
// The ISDN port's owner as window messages to the transfer form: every
// report of the port is posted to the form as its message id (CAPIPORT_*),
// wParam the instance, lParam the number of the port it came from, and the
// report itself as the value. The form hands only the current port's
// reports to the controller: a report still queued from a port that was
// closed (the link was switched away and back) never reaches the next one.
//
// Thread rule: PostCapiMessage runs on the port's receive thread or inside a
// port operation, with the port's lock held; it only queues. The CAPI
// failure is reported on the GUI thread from the port's constructor and is
// shown by the form later, never from inside the construction.

#include "CapiPortOwner.h"
#include "MessageAddress.h"

#include <cstdint>
#include <functional>
#include <string>

class TCapiPortOwnerMessages : public CapiPortOwner {
public:
    using UnavailableHandler =
        std::function<void(CapiUnavailable, const std::string& library, unsigned info)>;

    TCapiPortOwnerMessages(mox::platform::MessageAddress form, std::intptr_t portNumber,
                           UnavailableHandler onUnavailable)
        : m_Form(std::move(form)), m_nPortNumber(portNumber),
          m_OnUnavailable(std::move(onUnavailable)) {}

    void PostCapiMessage(CapiPortMessage msg) override;
    void OnCapiUnavailable(CapiUnavailable why, const std::string& library, unsigned info) override;

private:
    mox::platform::MessageAddress m_Form;
    const std::intptr_t m_nPortNumber;
    UnavailableHandler m_OnUnavailable;
};
