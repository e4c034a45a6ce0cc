#pragma once
// A copyable handle to a MessageReceiver that any thread may keep and use.
// Once the receiver is destroyed (or detached) the handle goes dead: a post
// is dropped and a perform returns 0, instead of touching a freed window.

#include "WindowMessage.h"

#include <cstdint>
#include <memory>

namespace mox::platform {

class MessageReceiver;

namespace detail {
struct ReceiverSlot;
}

class MessageAddress {
public:
    MessageAddress() = default; // a dead handle

    // Queues the message for the receiver's thread (the GUI thread) and
    // returns at once; messages from one thread arrive in the order posted.
    // Returns false when the receiver is gone and the message was dropped.
    bool Post(WindowMessage msg) const;
    bool Post(uint32_t id, intptr_t wParam = 0, intptr_t lParam = 0) const;

    // Hands the message to the handler and returns its result. On the
    // receiver's thread the handler runs at once; from another thread the
    // caller waits until the receiver's thread has handled it, as a window
    // message sent across threads does, so that thread must keep its event
    // loop running. Returns 0 when the receiver is gone, also when it goes
    // while the caller waits.
    intptr_t Perform(WindowMessage msg) const;
    intptr_t Perform(uint32_t id, intptr_t wParam = 0, intptr_t lParam = 0) const;

    // Whether the receiver still takes messages (it may go right after).
    bool IsAlive() const;

private:
    friend class MessageReceiver;
    explicit MessageAddress(std::shared_ptr<detail::ReceiverSlot> slot) : m_slot(std::move(slot)) {}
    std::shared_ptr<detail::ReceiverSlot> m_slot;
};

} // namespace mox::platform
