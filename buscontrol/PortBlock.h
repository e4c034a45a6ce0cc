#pragma once
// The record of one bus line, one per control instance. The GUI thread (the
// control's properties and methods) and the reader thread share it.
//
// Sharing rules:
// - The words marked "shared" are atomic: each is written by one side and
//   read by the other.
// - The line (port reads and the pushed-back byte) belongs to whichever side
//   holds it: the reader marks itself busy while it receives, and only while
//   the receive gate is open; TransmitTele and WaitForReceive close the gate
//   and wait until the reader is idle before they touch the line.
// - The received fields and the time stamp are written by the line holder
//   and read by the GUI thread at any time: receivedMutex guards them.
// - The transmit fields belong to the GUI thread alone.

#include "BusProtocol.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace quell32 {

// Reader state word.
enum : uint16_t {
    kReaderStopped = 0,
    kReaderStopRequested = 1, // also set just before the thread is started
    kReaderRunning = 2,
};

struct PortBlock {
    PortBlock() {
        for (size_t i = 0; i < kTeleTableSize; ++i) {
            functionFilter[i].store(1, std::memory_order_relaxed);
            transmitterFilter[i].store(1, std::memory_order_relaxed);
            targetFilter[i].store(1, std::memory_order_relaxed);
        }
    }

    std::atomic<uint32_t> open{0};                     // shared: Connected
    std::atomic<uint16_t> readerState{kReaderStopped}; // shared
    std::atomic<uint32_t> receiveGate{1};              // shared: 1 the reader may read
    std::atomic<bool> readerBusy{false};               // shared: the reader holds the line
    std::atomic<uint32_t> readyFlag{1};                // shared: ReadyForReceive
    std::atomic<uint16_t> ownAddress{kDefaultPCAdr};   // shared: PCAdr
    std::atomic<uint16_t> answerFlags{1};              // shared: bit 0 PCAnswerMode
    std::atomic<uint32_t> rawMode{0};                  // shared: TeleAllBytes
    const uint16_t answerTimeoutMs = kAnswerTimeoutMs;
    // shared: nonzero = telegrams with this byte are accepted
    std::array<std::atomic<uint32_t>, kTeleTableSize> functionFilter;
    std::array<std::atomic<uint32_t>, kTeleTableSize> transmitterFilter;
    std::array<std::atomic<uint32_t>, kTeleTableSize> targetFilter;

    // Guarded by receivedMutex.
    mutable std::mutex receivedMutex;
    std::array<uint16_t, kTeleTableSize> receivedBytes{};
    int16_t receivedLength = 0;
    uint16_t receivedStatus = 0;
    uint32_t receivedTicks = 0;
    double timeStamp = 0.0; // Automation date of the latest telegram event

    // GUI thread only.
    std::array<uint16_t, kTeleTableSize> transmitBytes{};
    uint16_t transmitLength = 0;
    uint16_t transmitStatus = 0;
    uint32_t transmitTicks = 0;

    // Line holder only.
    uint16_t pushedBackByte = 0;
    bool pushedBackValid = false;
};

} // namespace quell32
