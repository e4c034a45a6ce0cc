#include "MessageReceiver.h"

#include "MessageEvent.h"

namespace mox::platform {

MessageReceiver::MessageReceiver(MessageHandler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)),
      m_slot(std::make_shared<detail::ReceiverSlot>()) {
    m_slot->receiver = this;
}

MessageReceiver::~MessageReceiver() {
    Detach();
}

MessageAddress MessageReceiver::Address() const {
    return MessageAddress(m_slot);
}

intptr_t MessageReceiver::Perform(const WindowMessage& msg) {
    if (m_detached || !m_handler)
        return 0;
    return m_handler(msg);
}

intptr_t MessageReceiver::Perform(uint32_t id, intptr_t wParam, intptr_t lParam) {
    return Perform(WindowMessage{id, wParam, lParam, {}});
}

void MessageReceiver::Detach() {
    std::lock_guard lock(m_slot->mutex);
    m_slot->receiver = nullptr;
    m_detached = true;
}

bool MessageReceiver::event(QEvent* e) {
    if (e->type() != detail::MessageEvent::EventType())
        return QObject::event(e);
    auto* me = static_cast<detail::MessageEvent*>(e);
    me->Answer(Perform(me->Message()));
    return true;
}

} // namespace mox::platform
