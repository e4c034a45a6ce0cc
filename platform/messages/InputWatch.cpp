#include "InputWatch.h"

#include <QSocketNotifier>

namespace mox::platform {

struct InputWatch::State {
    std::function<void()> onInput;
    QSocketNotifier* notifier = nullptr;
    int running = 0; // calls under way, a modal loop inside one included
    bool ended = false;
};

InputWatch::InputWatch(int fd, std::function<void()> onInput) : m_state(std::make_shared<State>()) {
    m_state->onInput = std::move(onInput);
    m_state->notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    // The connection keeps the state alive for as long as the notifier
    // lives, so a call that ends the watch still returns into living state.
    QObject::connect(m_state->notifier, &QSocketNotifier::activated, m_state->notifier,
                     [state = m_state] {
                         if (state->ended || !state->onInput)
                             return;
                         ++state->running;
                         state->onInput();
                         --state->running;
                     });
}

InputWatch::~InputWatch() {
    m_state->ended = true;
    m_state->notifier->setEnabled(false);
    // Inside its own activation the notifier goes once the event loop has
    // finished with it.
    if (m_state->running > 0)
        m_state->notifier->deleteLater();
    else
        delete m_state->notifier;
}

} // namespace mox::platform
