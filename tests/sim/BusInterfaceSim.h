#pragma once
// The serial bus interface with the box behind it, on the far end of a
// pseudo-terminal. It reads the PC's telegrams, answers those addressed to
// the box (or misbehaves as told), sends telegrams to the PC and reports
// the PC's answer. Single-threaded: the owner polls MasterFd() and calls
// HandleInput() and HandleTimers().

#include "SimTelegram.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

namespace boxsim {

class BusInterfaceSim {
public:
    enum class AnswerMode {
        Ack,     // ACK at once
        Nak,     // refuse
        Silent,  // no answer
        Late,    // ACK after the late delay (past the PC's answer window)
        Foreign, // a foreign byte instead of ACK/NAK
    };

    // A telegram for the box came in; answer is what went back ("06",
    // "15", "none", "late", or the foreign byte in hex).
    std::function<void(const SimTelegramReader::Telegram&, const std::string& answer)> onTelegram;

    BusInterfaceSim() = default;
    ~BusInterfaceSim();
    BusInterfaceSim(const BusInterfaceSim&) = delete;
    BusInterfaceSim& operator=(const BusInterfaceSim&) = delete;

    // Opens the pseudo-terminal; false with a reason on failure.
    bool Start(std::string* error);
    const std::string& PtyPath() const { return m_ptyPath; }
    int MasterFd() const { return m_master; }

    void SetAnswer(AnswerMode mode) { m_mode = mode; }
    void SetLateMs(int ms) { m_lateMs = ms; }
    void SetForeignByte(uint8_t b) { m_foreign = b; }
    void SetBoxAddress(uint8_t adr) { m_boxAddress = adr; }
    uint8_t BoxAddress() const { return m_boxAddress; }

    // Sends a telegram to the PC. Unless it is a broadcast, waits up to
    // waitMs for the PC's answer byte and returns it; -1 when none came.
    int SendTelegram(const Bytes& telegram, bool garble, int waitMs = 500);
    // Bytes as they stand, framing or not.
    void SendRaw(const Bytes& bytes);

    // Reads what the PC sent and answers it.
    void HandleInput();
    // Milliseconds until the next delayed answer is due; -1 when none.
    int NextTimerMs() const;
    void HandleTimers();

private:
    using Clock = std::chrono::steady_clock;

    void OnTelegram(const SimTelegramReader::Telegram& t);
    void Write(const Bytes& bytes);

    int m_master = -1;
    int m_slaveHold = -1; // keeps the terminal from hanging up between PC opens
    std::string m_ptyPath;
    SimTelegramReader m_reader;
    AnswerMode m_mode = AnswerMode::Ack;
    int m_lateMs = 80;
    uint8_t m_foreign = 0x55;
    uint8_t m_boxAddress = 0x70;
    std::deque<std::pair<Clock::time_point, uint8_t>> m_delayed;
};

} // namespace boxsim
