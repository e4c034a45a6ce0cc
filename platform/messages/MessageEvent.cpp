#include "MessageEvent.h"

namespace mox::platform::detail {

void PerformReply::Finish(intptr_t value) {
    {
        std::lock_guard lock(mutex);
        if (finished)
            return;
        finished = true;
        result = value;
    }
    done.notify_all();
}

QEvent::Type MessageEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

MessageEvent::MessageEvent(WindowMessage msg, std::shared_ptr<PerformReply> reply)
    : QEvent(EventType()), m_msg(std::move(msg)), m_reply(std::move(reply)) {}

MessageEvent::~MessageEvent() {
    if (m_reply)
        m_reply->Finish(0);
}

void MessageEvent::Answer(intptr_t result) {
    if (m_reply)
        m_reply->Finish(result);
}

} // namespace mox::platform::detail
