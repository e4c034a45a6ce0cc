#pragma once
// Runs a call from this thread's event loop whenever a descriptor has bytes
// to read or has hung up, for as long as the watch lives. The event loop
// waits on the descriptor itself, so input reaches this thread without
// another thread reading it and handing it over.
//
// Thread rule: created, used and destroyed on one thread, which runs a Qt
// event loop. The call may destroy the watch that runs it.

#include <functional>
#include <memory>

namespace mox::platform {

class InputWatch {
public:
    InputWatch(int fd, std::function<void()> onInput);
    ~InputWatch();

    InputWatch(const InputWatch&) = delete;
    InputWatch& operator=(const InputWatch&) = delete;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace mox::platform
