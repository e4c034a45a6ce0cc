#include "BoxSimThread.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace boxsim {

BoxSimThread::BoxSimThread() {
    m_sim.UseV24();
    m_sim.V24()->onFrameIn = [this](const Bytes& payload) {
        // Called inside HandleInput, so under the lock.
        m_framesIn.push_back(payload);
        if (payload.size() > 1)
            ++m_commands[payload[1]];
    };
    m_sim.onLine = [this](const std::string& line) { m_lines.push_back(line); };
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) {
        m_error = "no eventfd";
        return;
    }
    if (!m_sim.Start(&m_error))
        return;
    m_ptyPath = m_sim.PtyPath();
    m_thread = std::thread(&BoxSimThread::Run, this);
}

BoxSimThread::~BoxSimThread() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
    }
    WakeUp();
    if (m_thread.joinable())
        m_thread.join();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

void BoxSimThread::WakeUp() {
    if (m_wakeFd < 0)
        return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
}

void BoxSimThread::Run() {
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_stop) {
        // The descriptor is taken under the lock; should the test close it
        // (a hang-up) while the poll waits, the wake-up ends the wait and
        // the next turn reads the link's own state again, so a number used
        // again by someone else is never read from.
        const int master = m_sim.MasterFd();
        const int timeout = m_sim.NextTimerMs();
        lock.unlock();
        pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {master, POLLIN, 0}};
        const int rc = ::poll(fds, 2, timeout);
        lock.lock();
        if (rc < 0 && errno != EINTR)
            break;
        if (fds[0].revents & POLLIN) {
            std::uint64_t v = 0;
            [[maybe_unused]] const ssize_t n = ::read(m_wakeFd, &v, sizeof v);
        }
        m_sim.HandleTurn(master >= 0 && master == m_sim.MasterFd() && (fds[1].revents & POLLIN));
        ++m_turns;
        m_changed.notify_all();
    }
}

void BoxSimThread::SendBlock(const Bytes& block) {
    With([&](BoxSimulator& sim) { sim.V24()->SendBlock(block); });
}

void BoxSimThread::SendRaw(const Bytes& bytes) {
    With([&](BoxSimulator& sim) { sim.V24()->SendRaw(bytes); });
}

void BoxSimThread::HangUp() {
    std::unique_lock<std::mutex> lock(m_lock);
    m_sim.V24()->HangUp();
    // The thread's poll may hold the line's master open still: the line is
    // gone for the PC only once that wait has ended, so the turn it is in
    // is waited out.
    const std::uint64_t turn = m_turns;
    lock.unlock();
    WakeUp();
    lock.lock();
    m_changed.wait_for(lock, std::chrono::milliseconds(kGuardMs),
                       [&] { return m_turns > turn || m_stop; });
}

bool BoxSimThread::WaitFor(const std::function<bool(BoxSimulator&)>& done) {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(kGuardMs),
                              [&] { return done(m_sim); });
}

std::vector<Bytes> BoxSimThread::FramesIn() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_framesIn;
}

size_t BoxSimThread::FrameCount() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_framesIn.size();
}

int BoxSimThread::CommandsIn(std::uint8_t cmd) const {
    std::lock_guard<std::mutex> lock(m_lock);
    const auto it = m_commands.find(cmd);
    return it == m_commands.end() ? 0 : it->second;
}

bool BoxSimThread::WaitForFrames(size_t n) {
    return WaitFor([&](BoxSimulator&) { return m_framesIn.size() >= n; });
}

bool BoxSimThread::WaitForCommand(std::uint8_t cmd, int n) {
    return WaitFor([&](BoxSimulator&) { return m_commands[cmd] >= n; });
}

size_t BoxSimThread::Count(const std::string& prefix) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return static_cast<size_t>(std::count_if(
        m_lines.begin(), m_lines.end(), [&](const auto& l) { return l.rfind(prefix, 0) == 0; }));
}

} // namespace boxsim
