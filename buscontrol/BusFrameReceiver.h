#pragma once
// Receives one telegram from the line byte by byte: finds the STX, follows
// the DLE state, sums, and ends at the first ETX that is not data. It is fed
// with bytes and the tick count at which each was read; it holds no clock
// and no line of its own.

#include "BusProtocol.h"

#include <array>
#include <cstdint>
#include <span>

namespace quell32 {

class BusFrameReceiver {
public:
    enum class Step {
        Ignored,  // outside a telegram: the byte was not STX
        Started,  // STX: a telegram begins
        Inside,   // one more byte of the telegram
        Complete, // the ending ETX; the telegram is in Raw()
        Overflow, // the telegram already held its maximum; the byte is not kept
    };

    // Forgets any telegram under way.
    void Reset();
    Step Feed(uint8_t byte, uint32_t nowMs);

    bool InTelegram() const { return m_inTelegram; }
    // Inside a telegram, the inter-byte time-out has run out since the last byte.
    bool GaveUp(uint32_t nowMs) const;

    uint32_t StartMs() const { return m_startMs; }
    uint32_t LastByteMs() const { return m_lastMs; }
    // STX..ETX of the telegram, once complete (or what was held so far).
    std::span<const uint8_t> Raw() const { return {m_raw.data(), m_count}; }
    // Sum of the bytes after STX and before the ending ETX is 0.
    bool ChecksumOk() const { return m_sum == 0; }

private:
    std::array<uint8_t, kMaxReceiveRawBytes> m_raw{};
    size_t m_count = 0;
    uint8_t m_sum = 0;
    bool m_dle = false;
    bool m_inTelegram = false;
    uint32_t m_startMs = 0;
    uint32_t m_lastMs = 0;
};

} // namespace quell32
