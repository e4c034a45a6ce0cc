#include "MessageAddress.h"

#include "MessageEvent.h"
#include "MessageReceiver.h"

#include <QCoreApplication>
#include <QThread>

namespace mox::platform {

bool MessageAddress::Post(WindowMessage msg) const {
    if (!m_slot)
        return false;
    std::lock_guard lock(m_slot->mutex);
    if (!m_slot->receiver)
        return false;
    // postEvent is thread-safe and takes the event; the lock keeps the
    // receiver alive until the event is queued.
    QCoreApplication::postEvent(m_slot->receiver,
                                new detail::MessageEvent(std::move(msg), nullptr));
    return true;
}

bool MessageAddress::Post(uint32_t id, intptr_t wParam, intptr_t lParam) const {
    return Post(WindowMessage{id, wParam, lParam, {}});
}

intptr_t MessageAddress::Perform(WindowMessage msg) const {
    if (!m_slot)
        return 0;
    std::shared_ptr<detail::PerformReply> reply;
    {
        std::unique_lock lock(m_slot->mutex);
        MessageReceiver* receiver = m_slot->receiver;
        if (!receiver)
            return 0;
        if (receiver->thread() == QThread::currentThread()) {
            // Same thread: nothing can destroy the receiver between here and
            // the call but the handler itself, which runs unlocked so that
            // it may post, perform or close its own form.
            lock.unlock();
            return receiver->Perform(msg);
        }
        reply = std::make_shared<detail::PerformReply>();
        QCoreApplication::postEvent(receiver, new detail::MessageEvent(std::move(msg), reply));
    }
    std::unique_lock wait(reply->mutex);
    reply->done.wait(wait, [&] { return reply->finished; });
    return reply->result;
}

intptr_t MessageAddress::Perform(uint32_t id, intptr_t wParam, intptr_t lParam) const {
    return Perform(WindowMessage{id, wParam, lParam, {}});
}

bool MessageAddress::IsAlive() const {
    if (!m_slot)
        return false;
    std::lock_guard lock(m_slot->mutex);
    return m_slot->receiver != nullptr;
}

} // namespace mox::platform
