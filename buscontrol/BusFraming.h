#pragma once
// Framing of bus telegrams on the line to the bus interface:
//   STX, target, function, transmitter, data..., checksum, ETX
// Every byte from the target to the last data byte that is DLE or ETX goes
// with a DLE before it. The checksum makes the sum of every byte after STX
// up to and including it (stuffing DLEs too) come to 0 modulo 256; a
// checksum of DLE or ETX itself is sent as DLE and the value minus 0x10, so
// the receiver's sum still comes to 0.

#include "BusProtocol.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quell32 {

// The frame for the given bytes. In raw mode the low bytes are the frame as
// they stand (the caller supplies STX, stuffing, checksum and ETX); else
// they are target, function, transmitter and data.
std::vector<uint8_t> BuildBusFrame(std::span<const uint16_t> bytes, bool raw);
// The same into out, which holds kMaxFrameBytes, for at most
// kMaxTransmitBytes bytes; returns the frame's length.
size_t BuildBusFrame(std::span<const uint16_t> bytes, bool raw,
                     std::span<uint8_t, kMaxFrameBytes> out);

// The checksum byte value for a sum S of the bytes before it: (256 - S) mod 256.
uint8_t BusChecksumFor(uint8_t sum);

// A frame whose first byte after STX (after one DLE, if one stands there)
// is the broadcast address; no answer is awaited for it.
bool IsBroadcastFrame(std::span<const uint8_t> frame);

// Whether raw starts with a whole telegram, STX to its closing ETX, no
// longer than a received telegram may be and with at least its target
// address before the ETX; *target gets that address (after one DLE, if one
// stands before it).
bool IsWholeTelegramAt(std::span<const uint8_t> raw, uint8_t* target);

// Sum modulo 256 of the bytes after STX and before the closing ETX of a raw
// telegram (STX..ETX); 0 for a good telegram.
uint8_t BusReceiveSum(std::span<const uint8_t> raw);

// The bytes after STX of a raw telegram (STX..ETX) with every stuffing DLE
// removed: target, function, transmitter, data, checksum, ETX. Returns how
// many were written to out (at most out.size()).
size_t UnstuffBusTelegram(std::span<const uint8_t> raw, std::span<uint16_t> out);

} // namespace quell32
