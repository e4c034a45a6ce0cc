#pragma once
// Internal to the message layer: the Qt event that carries a window message
// to its receiver's thread, and the slot shared between a receiver and its
// addresses.

#include "WindowMessage.h"

#include <QEvent>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace mox::platform {

class MessageReceiver;

namespace detail {

struct ReceiverSlot {
    std::mutex mutex;
    MessageReceiver* receiver = nullptr; // guarded by mutex; null once gone
};

// A caller blocked in a cross-thread perform waits here for its result.
struct PerformReply {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false; // guarded by mutex
    intptr_t result = 0;   // guarded by mutex

    void Finish(intptr_t value);
};

class MessageEvent : public QEvent {
public:
    static QEvent::Type EventType();

    MessageEvent(WindowMessage msg, std::shared_ptr<PerformReply> reply);
    // A message Qt drops with its receiver still releases a waiting caller.
    ~MessageEvent() override;

    const WindowMessage& Message() const { return m_msg; }
    void Answer(intptr_t result);

private:
    WindowMessage m_msg;
    std::shared_ptr<PerformReply> m_reply;
};

} // namespace detail
} // namespace mox::platform
