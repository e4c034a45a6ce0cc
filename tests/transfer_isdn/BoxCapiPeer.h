#pragma once
// The box at the far end of an ISDN call, plugged into the fake CAPI
// library: each B-channel block is one message of the block protocol. It
// takes a configuration, serves it back, acknowledges a reset and hands out
// an event log, as the box on the direct V.24 line does (BoxV24Peer). On
// request it stays silent or hangs up in the middle of an exchange.
//
// Its calls come from the fake network on whichever thread put the message
// that caused them (a block of the PC arrives inside the PC's send); it
// answers at once through fakecapi::BoxSend. The test waits on its counters,
// never on a fixed sleep.

#include "FakeCapiControl.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

class BoxCapiPeer : public fakecapi::FakeCapiBox {
public:
    using Bytes = std::vector<std::uint8_t>;

    struct Faults {
        bool silent = false; // takes every block, answers none
        // The far end clears the call (with hangUpReason) instead of
        // answering the n-th block received after these faults were set (1
        // the first); 0 never.
        int hangUpAtBlock = 0;
        std::uint16_t hangUpReason = 0x34A9;
    };

    BoxCapiPeer();

    void SetFaults(const Faults& f);

    void OnCallUp() override;
    void OnData(const Bytes& data) override;
    void OnCallDown() override;

    // Waits until the command came in at least n times (false after a
    // generous guard: something hangs).
    bool WaitForCommand(std::uint8_t cmd, int n);
    int CommandsReceived(std::uint8_t cmd) const;
    std::size_t BlocksReceived() const;
    int CallsUp() const;
    int CallsDown() const;
    bool WaitForCallsDown(int n);

    // The configuration packages the box holds, in block order.
    std::vector<Bytes> Stored() const;
    void SetStored(std::vector<Bytes> packages);
    const std::vector<Bytes>& EventLog() const { return m_eventLog; }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    Faults m_faults;
    std::size_t m_received = 0;
    std::size_t m_sinceFaults = 0; // blocks received since SetFaults
    std::map<std::uint8_t, int> m_commands;
    std::vector<Bytes> m_stored;
    std::vector<Bytes> m_eventLog; // fixed after construction
    int m_up = 0;
    int m_down = 0;
};
