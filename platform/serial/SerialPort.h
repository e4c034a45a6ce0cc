#pragma once
// One serial port over termios, poll and ioctl, with just what the bus
// control and the direct serial link need. The descriptor is always
// non-blocking; every wait is a poll with a time-out, and a wait can be cut
// short from another thread through Wake().
//
// Thread rule: one thread uses the port at a time, except that one other
// thread may write while it waits and reads, and Wake(), which any thread
// may call at any time while the object exists. Opening and closing need
// the port to themselves.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace mox::platform {

class SerialPort {
public:
    enum class Parity { None, Even, Odd };

    struct LineSettings {
        uint32_t baud = 9600;
        int dataBits = 8; // 5..8
        Parity parity = Parity::None;
        int stopBits = 1; // 1 or 2
    };

    struct ModemLines {
        bool cts = false;
        bool dsr = false;
        bool dcd = false;
        bool ring = false;
    };

    enum class WaitResult {
        Ready, // input is there
        Woken, // Wake() was called
        TimedOut,
        Failed, // port closed, hung up or the poll failed
    };

    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Device behind COM<comNumber> (1..16): the path stored in the settings,
    // else /dev/ttyS<comNumber-1>. Empty for a number outside 1..16.
    static std::string DevicePath(int comNumber);

    // Opens the device for reading and writing, exclusively: a second open
    // of the same device, by this or another program, fails. The line is put
    // in raw mode straight away so nothing is echoed or translated before
    // SetLine is called.
    bool Open(const std::string& path);
    bool OpenCom(int comNumber);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }
    // The open descriptor, for an event loop to wait on; -1 when closed.
    int Descriptor() const { return m_fd; }
    // errno of the last failed call (of either thread).
    int LastError() const { return m_lastError.load(std::memory_order_relaxed); }

    // Raw binary line with the given framing, no hardware or software
    // handshake, receiver on, modem control lines ignored; DTR and RTS on
    // (a device without modem lines, such as a pseudo-terminal, is accepted).
    bool SetLine(const LineSettings& settings);

    // Bytes in the input queue, or -1.
    int BytesWaiting();
    // Bytes not yet sent from the output queue, or -1.
    int BytesToSend();
    // Reads what is there, up to size bytes, without waiting: the count,
    // 0 when nothing is there, -1 on failure.
    long Read(uint8_t* data, size_t size);
    // Writes every byte, waiting at most timeoutMs in all for room in the
    // output queue and for the queue to drain. False when not all left.
    bool Write(const uint8_t* data, size_t size, int timeoutMs);

    // Waits up to timeoutMs (negative: no limit) for input. With wakeable
    // set, Wake() ends the wait too.
    WaitResult WaitForInput(int timeoutMs, bool wakeable);
    // Waits up to timeoutMs (negative: no limit) for Wake() only.
    WaitResult WaitForWake(int timeoutMs);
    // Ends the current or the next wakeable wait. Any thread.
    void Wake();
    // False when the wake-up could not be set up (no descriptor was left).
    bool CanWake() const { return m_wakeFd >= 0; }

    // Modem status; nullopt when the device has no modem lines.
    std::optional<ModemLines> GetModemLines();
    // False when the device refused (a pseudo-terminal does); callers treat
    // that as harmless.
    bool SetRts(bool on);
    bool SetDtr(bool on);
    // Discards what waits in the input and/or output queue.
    bool Purge(bool input, bool output);

private:
    bool Fail();
    bool SetModemBit(int bit, bool on);
    WaitResult Poll(bool forInput, bool wakeable, int timeoutMs);
    void DrainWake();

    int m_fd = -1;
    int m_wakeFd = -1; // eventfd; lives as long as the object
    std::string m_path;
    std::atomic<int> m_lastError{0};
};

} // namespace mox::platform
