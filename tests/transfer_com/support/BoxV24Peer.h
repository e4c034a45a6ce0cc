#pragma once
// The box at the far end of a pseudo-terminal, speaking V.24 frames: enough
// of the block protocol to take a configuration, serve it back, acknowledge a
// reset and hand out an event log. It can stay silent or spoil its answers
// on request. The port under test opens the pseudo-terminal's slave side.
//
// The peer runs its own thread; the test waits on its counters (never on a
// fixed sleep).

#include "ComFrameScanner.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

class BoxV24Peer {
public:
    using Bytes = std::vector<std::uint8_t>;

    struct Faults {
        bool silent = false;         // reads everything, answers nothing
        int badCrcAnswers = 0;       // this many answers go out with a spoilt CRC
        int cutOffAnswers = 0;       // this many answers stop half-way (then sent whole)
        bool byteByByte = false;     // every byte in a write of its own
        bool garbageBetween = false; // bytes outside frames before every answer
    };

    BoxV24Peer();
    ~BoxV24Peer();
    BoxV24Peer(const BoxV24Peer&) = delete;
    BoxV24Peer& operator=(const BoxV24Peer&) = delete;

    // Device path for the port under test; empty when no pseudo-terminal.
    const std::string& SlavePath() const { return m_slavePath; }
    void SetFaults(const Faults& f);

    // Writes bytes (a frame, garbage, a part frame) to the port as they are.
    void WriteRaw(std::span<const std::uint8_t> bytes);
    // Frames a block message and writes it, as the box does when it speaks
    // unasked.
    void SendBlock(std::span<const std::uint8_t> payload);
    // The far end hangs up: the port's line is gone.
    void HangUp();

    // Waits until at least n good frames came in (false after a generous
    // guard: something hangs).
    bool WaitForFrames(std::size_t n);
    // Waits until the command came in at least n times.
    bool WaitForCommand(std::uint8_t cmd, int n);
    std::size_t FramesReceived() const;
    // Good frames received by command byte.
    int CommandsReceived(std::uint8_t cmd) const;
    // Every good frame's payload, in order, as received.
    std::vector<Bytes> Received() const;
    // The configuration packages the box holds, in block order.
    std::vector<Bytes> Stored() const;
    void SetStored(std::vector<Bytes> packages);
    const std::vector<Bytes>& EventLog() const { return m_eventLog; }

    // Wire bytes in each direction, frames and all, for the line-time
    // estimate.
    std::size_t BytesFromPc() const { return m_bytesFromPc; }
    std::size_t BytesToPc() const { return m_bytesToPc; }
    void ResetByteCounts();

private:
    void Run();
    void OnPayload(std::span<const std::uint8_t> payload);
    void Answer(const Bytes& block);
    void WriteAll(std::span<const std::uint8_t> bytes);
    void CloseLine();

    int m_master = -1;
    int m_slaveHold = -1; // keeps the slave side up between opens of the port
    int m_stopFd = -1;
    std::string m_slavePath;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_hangUp{false};
    bool m_hungUp = false; // under m_lock

    std::mutex m_writeLock; // one writer on the master at a time
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    Faults m_faults;
    ComFrameScanner m_scanner; // the peer thread's
    std::vector<Bytes> m_received;
    std::map<std::uint8_t, int> m_commands;
    std::vector<Bytes> m_stored;
    std::vector<Bytes> m_eventLog;
    std::atomic<std::size_t> m_bytesFromPc{0};
    std::atomic<std::size_t> m_bytesToPc{0};
};
