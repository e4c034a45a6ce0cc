#pragma once
// The serial line to the bus interface as the bus line uses it. The real one
// is a serial port; tests put a scripted line with a fake clock in its place.
// Every call is made by the side that holds the line, except Wake.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quell32 {

class IBusLine {
public:
    enum class Wait { Input, Woken, TimedOut, Failed };

    struct ModemStatus {
        bool cts = false;
        bool dsr = false;
    };

    virtual ~IBusLine() = default;

    virtual bool Open(int comPort) = 0;
    virtual void Close() = 0;
    // 9600 baud, 8N1, binary, no handshake, DTR and RTS on.
    virtual bool SetLineParameters() = 0;

    // Bytes in the input queue (at least 1 whenever any byte waits; a line
    // that reads ahead may count only those it holds); -1 when the port
    // cannot tell.
    virtual int BytesWaiting() = 0;
    // One byte from the input queue without waiting; -1 when none or on failure.
    virtual int ReadByte() = 0;
    // While on, the line may read more from the port than asked for; the
    // bytes read ahead wait like the others, but no wait on the port sees
    // them. The reader turns it on for itself alone: it looks for waiting
    // bytes before it sleeps, so none is left behind unseen.
    virtual void SetReadAhead(bool /*on*/) {}
    // The waiting bytes the line has at hand, without taking them (a line
    // that reads ahead first reads what waits when it holds nothing); valid
    // until the next call. Empty when it cannot tell.
    virtual std::span<const uint8_t> Peek() { return {}; }
    // Waits up to timeoutMs for input (not woken by Wake).
    virtual Wait WaitForInput(uint32_t timeoutMs) = 0;
    // Writes the whole frame; true once every byte has left.
    virtual bool Write(const uint8_t* data, size_t size) = 0;
    // One byte at once, ahead of anything else (the PC's own ACK).
    virtual bool WriteImmediate(uint8_t byte) = 0;

    // nullopt when the port has no modem lines.
    virtual std::optional<ModemStatus> Modem() = 0;
    // Refusal by the device is harmless and not reported.
    virtual void SetRts(bool on) = 0;
    // Discards both queues.
    virtual void Purge() = 0;

    // The reader thread's idle wait: for input (and Wake) with forInput set,
    // else for Wake alone; timeoutMs < 0 waits without limit.
    virtual Wait WaitIdle(int timeoutMs, bool forInput) = 0;
    // Ends the reader's idle wait. Any thread.
    virtual void Wake() = 0;
    // Whether Wake works; without it a reader could not be stopped, so none
    // is started.
    virtual bool CanWake() = 0;
};

} // namespace quell32
