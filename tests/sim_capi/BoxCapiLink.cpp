#include "BoxCapiLink.h"

#include <chrono>

namespace boxsim {

namespace {
// Only a hang ever waits this long.
constexpr auto kGuard = std::chrono::seconds(20);
} // namespace

BoxCapiLink::BoxCapiLink() {
    m_core.SetLink(this);
    m_timerThread = std::thread([this] { RunTimers(); });
}

BoxCapiLink::~BoxCapiLink() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
    }
    m_changed.notify_all();
    m_timerThread.join();
}

void BoxCapiLink::RunTimers() {
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_stop) {
        const int next = m_timers.NextTimerMs();
        if (next < 0)
            m_changed.wait(lock);
        else if (next > 0)
            m_changed.wait_for(lock, std::chrono::milliseconds(next));
        if (!m_stop)
            m_timers.Run();
    }
}

void BoxCapiLink::SetHangUpAtBlock(int n, std::uint16_t reason) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_hangUpAt = n;
    m_hangUpReason = reason;
    m_sinceHangUpSet = 0;
}

int BoxCapiLink::CallsUp() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_up;
}

int BoxCapiLink::CallsDown() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_down;
}

int BoxCapiLink::BlocksReceived() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_received;
}

int BoxCapiLink::AnswersLost() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_lost;
}

bool BoxCapiLink::WaitForCallsDown(int n) {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, kGuard, [&] { return m_down >= n; });
}

void BoxCapiLink::OnCallUp() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_up;
    }
    m_changed.notify_all();
}

void BoxCapiLink::OnCallDown() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_down;
    }
    m_changed.notify_all();
}

void BoxCapiLink::OnData(const std::vector<std::uint8_t>& data) {
    bool hangUp = false;
    std::uint16_t reason = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_received;
        ++m_sinceHangUpSet;
        hangUp = m_hangUpAt > 0 && m_sinceHangUpSet == m_hangUpAt;
        reason = m_hangUpReason;
        // One data message carries one whole block; the core reports and
        // drops a malformed one.
        if (!hangUp)
            m_core.OnBlock(data);
    }
    // A delayed answer may have been scheduled.
    m_changed.notify_all();
    if (hangUp)
        fakecapi::RemoteHangup(reason);
}

void BoxCapiLink::SendBlock(const Bytes& block) {
    // The network takes it as a DATA_B3_IND for the PC; the PC's strict
    // checks stay with the fake library.
    if (!fakecapi::BoxSend(block.data(), block.size()))
        ++m_lost;
}

} // namespace boxsim
