#pragma once
// A scripted bus line and a fake clock for the bus line tests: bytes arrive
// at given tick counts, every wait moves the clock on to the next arrival or
// to the end of the wait, and what the PC writes is recorded. Nothing here
// sleeps or uses a thread, so the timing rules are exact and fast.
//
// Single-threaded only: the reader thread is tested over a pseudo-terminal.

#include "IBusClock.h"
#include "IBusLine.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

namespace quell32::test {

struct FakeTime {
    uint32_t ms = 1000;
    double date = 45000.0; // an Automation date; moves with ms
};

class FakeBusClock final : public IBusClock {
public:
    explicit FakeBusClock(FakeTime& time) : m_time(time) {}
    uint32_t TickMs() override { return m_time.ms; }
    double Now() override { return m_time.date + m_time.ms / 86400000.0; }

private:
    FakeTime& m_time;
};

class FakeBusLine final : public IBusLine {
public:
    struct Write {
        uint32_t atMs;
        std::vector<uint8_t> bytes;
        bool immediate;
    };

    explicit FakeBusLine(FakeTime& time) : m_time(time) {}

    // --- script

    // Bytes arriving from now + delayMs on, gapMs apart.
    void Arrive(const std::vector<uint8_t>& bytes, uint32_t delayMs = 0, uint32_t gapMs = 0) {
        uint32_t at = m_time.ms + delayMs;
        for (uint8_t b : bytes) {
            Insert(at, b);
            at += gapMs;
        }
    }
    // Bytes arriving at an absolute tick.
    void ArriveAt(uint32_t atMs, const std::vector<uint8_t>& bytes) {
        for (uint8_t b : bytes)
            Insert(atMs, b);
    }
    // Called for every write, with the clock at the end of the write; may
    // script answers.
    std::function<void(FakeBusLine&, const std::vector<uint8_t>&)> onWrite;
    // After the n-th byte read (counting from 1), the clock jumps by ms:
    // the thread was held up.
    std::map<int, uint32_t> stallAfterRead;

    bool openOk = true;
    bool setLineOk = true;
    bool writeOk = true;
    bool canWake = true;
    bool hasModemLines = false;
    // A bus interface loops RTS to CTS and holds DSR.
    bool interfacePresent = false;

    // --- what happened

    std::vector<Write> writes;
    int opens = 0;
    int closes = 0;
    int purges = 0;
    int rtsChanges = 0;
    bool rts = false;
    int openedPort = 0;
    bool isOpen = false;

    std::vector<uint8_t> AllWritten() const {
        std::vector<uint8_t> all;
        for (const auto& w : writes)
            all.insert(all.end(), w.bytes.begin(), w.bytes.end());
        return all;
    }
    // Bytes that have arrived and not been read.
    size_t Queued() const { return static_cast<size_t>(BytesWaitingNow()); }
    size_t Scheduled() const { return m_incoming.size(); }

    // --- IBusLine

    bool Open(int comPort) override {
        ++opens;
        openedPort = comPort;
        isOpen = openOk;
        return openOk;
    }
    void Close() override {
        ++closes;
        isOpen = false;
    }
    bool SetLineParameters() override { return setLineOk; }
    int BytesWaiting() override { return isOpen ? BytesWaitingNow() : -1; }
    int ReadByte() override {
        if (!isOpen || m_incoming.empty() || m_incoming.front().first > m_time.ms)
            return -1;
        const uint8_t b = m_incoming.front().second;
        m_incoming.pop_front();
        ++m_reads;
        if (auto it = stallAfterRead.find(m_reads); it != stallAfterRead.end())
            m_time.ms += it->second;
        return b;
    }
    Wait WaitForInput(uint32_t timeoutMs) override {
        if (!isOpen)
            return Wait::Failed;
        if (BytesWaitingNow() > 0)
            return Wait::Input;
        if (!m_incoming.empty() && m_incoming.front().first <= m_time.ms + timeoutMs) {
            m_time.ms = m_incoming.front().first;
            return Wait::Input;
        }
        m_time.ms += timeoutMs;
        return Wait::TimedOut;
    }
    bool Write(const uint8_t* data, size_t size) override {
        return Record(std::vector<uint8_t>(data, data + size), false);
    }
    bool WriteImmediate(uint8_t byte) override { return Record({byte}, true); }
    std::optional<ModemStatus> Modem() override {
        if (!hasModemLines)
            return std::nullopt;
        return ModemStatus{interfacePresent && rts, interfacePresent};
    }
    void SetRts(bool on) override {
        if (!hasModemLines)
            return;
        if (on != rts)
            ++rtsChanges;
        rts = on;
    }
    void Purge() override {
        ++purges;
        while (!m_incoming.empty() && m_incoming.front().first <= m_time.ms)
            m_incoming.pop_front();
    }
    Wait WaitIdle(int timeoutMs, bool forInput) override {
        if (forInput)
            return WaitForInput(timeoutMs < 0 ? 3600000u : static_cast<uint32_t>(timeoutMs));
        m_time.ms += timeoutMs < 0 ? 0u : static_cast<uint32_t>(timeoutMs);
        return Wait::TimedOut;
    }
    void Wake() override {}
    bool CanWake() override { return canWake; }

private:
    void Insert(uint32_t at, uint8_t b) {
        // Kept in arrival order; equal times keep the order they were given.
        auto it = m_incoming.end();
        while (it != m_incoming.begin() && std::prev(it)->first > at)
            --it;
        m_incoming.insert(it, {at, b});
    }
    int BytesWaitingNow() const {
        int n = 0;
        for (const auto& [at, b] : m_incoming) {
            if (at > m_time.ms)
                break;
            ++n;
        }
        return n;
    }
    bool Record(std::vector<uint8_t> bytes, bool immediate) {
        if (!isOpen || !writeOk)
            return false;
        writes.push_back({m_time.ms, bytes, immediate});
        if (onWrite)
            onWrite(*this, bytes);
        return true;
    }

    FakeTime& m_time;
    std::deque<std::pair<uint32_t, uint8_t>> m_incoming;
    int m_reads = 0;
};

} // namespace quell32::test
