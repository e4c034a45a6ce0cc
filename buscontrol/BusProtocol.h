#pragma once
// Bytes, limits and time-outs of the serial line to the bus interface, in
// one place.

#include <cstddef>
#include <cstdint>

namespace quell32 {

inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kEtx = 0x03;
inline constexpr uint8_t kDle = 0x10;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x15;

inline constexpr uint8_t kBroadcastAddress = 255;
inline constexpr uint16_t kDefaultPCAdr = 240;
inline constexpr int16_t kDefaultCommPort = 2;
inline constexpr int kMaxCommPort = 16;

// Target, function and transmitter lead every telegram.
inline constexpr size_t kHeaderBytes = 3;
// A received telegram is at most this long on the wire, STX to ETX.
inline constexpr size_t kMaxReceiveRawBytes = 255;
// One entry per byte in the received and transmit tables.
inline constexpr size_t kTeleTableSize = 256;
// A telegram to send has at most this many bytes before stuffing...
inline constexpr size_t kMaxTransmitBytes = 256;
// ... so its frame is at most STX, every byte and the checksum stuffed, ETX.
inline constexpr size_t kMaxFrameBytes = 2 * kMaxTransmitBytes + 4;

// The addressee answers ACK or NAK within this time after the end of a
// telegram.
inline constexpr uint32_t kAnswerTimeoutMs = 48;
// A telegram whose next byte does not come within this time of the last one
// is given up. At 9600 baud a byte takes about 1 ms, so this is generous
// even for the longest telegram, which alone takes about 270 ms.
inline constexpr uint32_t kInterByteTimeoutMs = 75;
// WaitForReceive ends this much before the caller's duration.
inline constexpr int32_t kWaitForReceiveMarginMs = 50;
// TransmitTele first reads telegrams that wait in the queue, one wait of
// this duration each, and gives up after the drain limit so a chattering bus
// cannot hold the caller.
inline constexpr int32_t kDrainWaitMs = 100;
inline constexpr uint32_t kDrainLimitMs = 1000;
// How long TransmitTele and WaitForReceive wait for the reader thread to
// finish a telegram it is receiving: the longest telegram plus its answer
// window, with room to spare.
inline constexpr uint32_t kReaderIdleWaitMs = 400;
// The reader re-checks the gate and the ready flag at this pace while it
// may not read (it is also woken when either changes).
inline constexpr int kReaderPauseMs = 20;
// Pause of the reader while the port reports a hang-up (device gone).
inline constexpr int kReaderHangupPauseMs = 100;
// Time allowed to write a frame: the longest frame takes about 540 ms at
// 9600 baud.
inline constexpr int kWriteTimeoutMs = 1000;

// Line to the bus interface: 9600 baud, 8 data bits, no parity, 1 stop bit.
inline constexpr uint32_t kLineBaud = 9600;

} // namespace quell32
