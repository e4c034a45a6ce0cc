#pragma once
// The simulator on the V.24 cable in the test's own process, on a thread of
// its own: the same box (BoxSimulator: core, features, V.24 front-end) as
// the executable started with --v24, for the tests that reach into it
// directly (a raw write on the line, a hang-up, the PC's frames as they
// came) instead of through command lines.
//
// The thread polls the pseudo-terminal and the simulator's timers. The
// simulator is single-threaded, so the thread and the test reach it only
// under one lock: the test through With(). Every wait is for a state the
// box reaches (its lock's condition is signalled after each turn), bounded
// by a guard that only a hang ever reaches.

#include "BoxSimulator.h"
#include "SimTelegram.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace boxsim {

class BoxSimThread {
public:
    // Only a hang waits this long.
    static constexpr int kGuardMs = 20000;

    // Opens the pseudo-terminal and starts the thread; PtyPath() stays
    // empty and Error() says why when that failed.
    BoxSimThread();
    ~BoxSimThread();
    BoxSimThread(const BoxSimThread&) = delete;
    BoxSimThread& operator=(const BoxSimThread&) = delete;

    bool Started() const { return !m_ptyPath.empty(); }
    const std::string& Error() const { return m_error; }
    const std::string& PtyPath() const { return m_ptyPath; }

    // Runs fn(BoxSimulator&) under the lock, then lets the thread look at
    // what fn set (timers, output) at once.
    template <class Fn> auto With(Fn&& fn) {
        struct Wake {
            BoxSimThread* self;
            ~Wake() { self->WakeUp(); }
        } wake{this};
        std::lock_guard<std::mutex> lock(m_lock);
        return fn(m_sim);
    }
    // Shorthands for the line.
    void SendBlock(const Bytes& block);
    void SendRaw(const Bytes& bytes);
    // Returns once the PC's end sees the line gone.
    void HangUp();

    // Waits until done(simulator) holds, checked under the lock after every
    // turn; false after the guard.
    bool WaitFor(const std::function<bool(BoxSimulator&)>& done);

    // ---- What the PC sent: every good frame, as it came ----
    std::vector<Bytes> FramesIn() const;
    size_t FrameCount() const;
    // Good frames by their command byte.
    int CommandsIn(std::uint8_t cmd) const;
    bool WaitForFrames(size_t n);
    bool WaitForCommand(std::uint8_t cmd, int n);

    // ---- The event lines ----
    // Lines so far that start with prefix.
    size_t Count(const std::string& prefix) const;

private:
    void Run();
    void WakeUp();

    BoxSimulator m_sim;
    std::string m_ptyPath;
    std::string m_error;
    int m_wakeFd = -1;
    bool m_stop = false;       // under m_lock
    std::uint64_t m_turns = 0; // under m_lock: turns of the thread so far

    mutable std::mutex m_lock; // the simulator and everything below
    std::condition_variable m_changed;
    std::vector<Bytes> m_framesIn;
    std::map<std::uint8_t, int> m_commands;
    std::vector<std::string> m_lines;
    std::thread m_thread; // last: started once everything else exists
};

} // namespace boxsim
