#pragma once
// The receiving end of window messages for one form (or any object on the
// GUI thread). The form owns a receiver with a handler that switches on the
// message id, and hands out the receiver's address to whoever sends to it.
//
// Thread rule: the receiver is created, used and destroyed on one thread (the
// GUI thread); its address may be used from any thread. The slot shared with
// the addresses holds a mutex that the destructor takes, so a post either
// reaches the event queue before the receiver is gone (and Qt then drops it
// with the receiver) or sees the receiver gone.
//
// A handler must not destroy its own receiver (or the form owning it) while
// it runs; it closes the form with deleteLater() or a posted message.

#include "MessageAddress.h"
#include "WindowMessage.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

namespace mox::platform {

using MessageHandler = std::function<intptr_t(const WindowMessage&)>;

class MessageReceiver : public QObject {
public:
    explicit MessageReceiver(MessageHandler handler, QObject* parent = nullptr);
    ~MessageReceiver() override;

    MessageReceiver(const MessageReceiver&) = delete;
    MessageReceiver& operator=(const MessageReceiver&) = delete;

    MessageAddress Address() const;

    // Synchronous delivery on this thread; 0 once detached.
    intptr_t Perform(const WindowMessage& msg);
    intptr_t Perform(uint32_t id, intptr_t wParam = 0, intptr_t lParam = 0);

    // Ends delivery before the owner is torn down: messages still queued and
    // every later post or perform are dropped.
    void Detach();

protected:
    bool event(QEvent* e) override;

private:
    MessageHandler m_handler;
    std::shared_ptr<detail::ReceiverSlot> m_slot;
    bool m_detached = false;
};

} // namespace mox::platform
