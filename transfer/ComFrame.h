#pragma once
// The frame of the direct V.24 link to the box: STX, the marker byte, the
// escaped payload, the escaped CRC-16 (low byte first), ETX. The payload is
// one block message; its first byte goes out with bit 7 set, and the CRC
// (start value 0) covers the payload as sent, bit 7 included, but not the
// marker. Plain functions: the PC's port and the box simulator share them.

#include "TransferDefs.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

inline constexpr std::uint8_t COM_STX = 0x02;
inline constexpr std::uint8_t COM_ETX = 0x03;
inline constexpr std::uint8_t COM_ESC = 0x1B;
// Second byte of every frame; also the bit set in the payload's first byte.
inline constexpr std::uint8_t BIT_7 = 0x80;

// Largest payload: the largest block message.
inline constexpr std::size_t kComMaxPayload = MAX_COMM_MSG_LEN;
// Payload and CRC as they stand before escaping.
inline constexpr std::size_t kComMaxBody = kComMaxPayload + 2;
// The longest frame on the wire: STX, marker, every payload and CRC byte
// escaped, ETX (2067 bytes). Every buffer on the link holds at least this
// much, so a legal frame always fits whatever its bytes.
inline constexpr std::size_t kComMaxFrameLen = 2 + 2 * kComMaxBody + 1;

// CRC of a payload as it goes on the wire (first byte with bit 7 set).
std::uint16_t ComFrameCrc(std::span<const std::uint8_t> payload);

// True for the bytes that are sent behind an ESC.
constexpr bool ComNeedsEscape(std::uint8_t b) {
    return b == COM_STX || b == COM_ETX || b == COM_ESC;
}

// Builds the frame of payload into frame and returns its length; 0 when the
// payload is empty, longer than kComMaxPayload or the frame does not fit.
// The payload itself is never changed: bit 7 is set in a copy.
std::size_t BuildComFrame(std::span<const std::uint8_t> payload, std::span<std::uint8_t> frame);
// The same into a new vector; empty when refused.
std::vector<std::uint8_t> BuildComFrame(std::span<const std::uint8_t> payload);
