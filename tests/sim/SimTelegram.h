#pragma once
// The simulator's own coding of bus telegrams on the line to the bus
// interface. Written apart from the bus control's framing on purpose, so a
// mistake in one shows up against the other.

#include <cstdint>
#include <optional>
#include <vector>

namespace boxsim {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kEtx = 0x03;
inline constexpr uint8_t kDle = 0x10;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x15;
inline constexpr uint8_t kBroadcast = 0xFF;
inline constexpr uint8_t kPcAddress = 0xF0;

// STX, stuffed telegram (target, function, transmitter, data), checksum, ETX.
// With garble set the checksum is off by one.
Bytes EncodeTelegram(const Bytes& telegram, bool garble = false);

// The telegram that wire bytes hold when they are exactly one intact
// telegram, STX to ETX with nothing before or after; nullopt else.
std::optional<Bytes> DecodeWholeTelegram(const Bytes& wire);

// Collects wire bytes into telegrams.
class SimTelegramReader {
public:
    struct Telegram {
        Bytes bytes; // target, function, transmitter, data (no checksum)
        bool sumOk = false;
    };
    // Feeds one byte; a complete telegram comes back at its ETX. Telegrams
    // too short to hold a header and a checksum are dropped.
    std::optional<Telegram> Feed(uint8_t byte);
    bool InTelegram() const { return m_in; }
    void Reset();

private:
    Bytes m_body; // after STX, stuffing removed, checksum still at the end
    uint8_t m_sum = 0;
    bool m_dle = false;
    bool m_in = false;
};

} // namespace boxsim
