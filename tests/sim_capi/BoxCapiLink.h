#pragma once
// The box core at the far end of an ISDN call: plugged into the fake CAPI
// library as its box, it hands every B-channel block of the PC to
// BoxCore::OnBlock and sends each answer of the core as one B-channel data
// message. So a configuration written over ISDN is kept and served back by
// the same core as on the bus, with the core's misbehaviour on request.
//
// The network calls in on whichever thread put the message that caused the
// call; the core is single-threaded, so every way into it (the network's
// calls, the core's delayed answers on the link's own timer thread, the
// test's WithCore) goes through one lock. Tests wait on the counters, never
// on a fixed sleep.

#include "BoxCore.h"
#include "FakeCapiControl.h"
#include "IBoxLink.h"
#include "SimTimers.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace boxsim {

class BoxCapiLink : public fakecapi::FakeCapiBox, public IBoxLink {
public:
    BoxCapiLink();
    ~BoxCapiLink() override;
    BoxCapiLink(const BoxCapiLink&) = delete;
    BoxCapiLink& operator=(const BoxCapiLink&) = delete;

    // Runs fn(BoxCore&) under the link's lock: the only way a test may reach
    // the core while a call can be up.
    template <class Fn>
    auto WithCore(Fn&& fn) {
        std::lock_guard<std::mutex> lock(m_lock);
        return fn(m_core);
    }

    // The far end clears the call (with this Reason) instead of passing on
    // the n-th block received after this call (1 the next); 0 never.
    void SetHangUpAtBlock(int n, std::uint16_t reason = 0x34A9);

    int CallsUp() const;
    int CallsDown() const;
    int BlocksReceived() const;
    // False after a generous guard: something hangs.
    bool WaitForCallsDown(int n);
    // Answers the core tried to send with no call in its data phase (the
    // network refused them).
    int AnswersLost() const;

    // fakecapi::FakeCapiBox
    void OnCallUp() override;
    void OnData(const std::vector<std::uint8_t>& data) override;
    void OnCallDown() override;

    // IBoxLink: called by the core with the lock held.
    void SendBlock(const Bytes& block) override;
    bool Idle() const override { return true; }

private:
    void RunTimers();

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    SimTimers m_timers;
    BoxCore m_core{m_timers};
    bool m_stop = false;
    int m_hangUpAt = 0;
    std::uint16_t m_hangUpReason = 0x34A9;
    int m_sinceHangUpSet = 0;
    int m_received = 0;
    int m_up = 0;
    int m_down = 0;
    int m_lost = 0;
    std::thread m_timerThread; // last: started once everything else exists
};

} // namespace boxsim
