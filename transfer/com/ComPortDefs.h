#pragma once
// Line settings, waits and limits of the direct serial port, in one place.

#include <cstddef>
#include <cstdint>

// The box's V.24 interface runs at this rate, 8 data bits, no parity, one
// stop bit.
inline constexpr std::uint32_t kComBaudRate = 57600;
inline constexpr int kComDataBits = 8;
inline constexpr int kComStopBits = 1;

// The transfer-medium settings of the direct serial link: 5..8 are COM1..COM4.
inline constexpr int kComFirstSetting = 5;
inline constexpr int kComLastSetting = 8;

// Longest single wait of the reader. A send or a stop wakes it at once; the
// bound only keeps a reader that missed its wake-up from sleeping for good.
inline constexpr int kComReaderWaitMs = 200;
// A write may take this long in all. The longest frame (2067 bytes, 10 bits a
// byte) needs 359 ms on the wire; the rest is for the driver's queue ahead of
// it.
inline constexpr int kComWriteTimeoutMs = 2000;
// Bytes taken from the driver per read, so a flood of input still lets a
// waiting send and a stop through between reads.
inline constexpr std::size_t kComReadChunk = 512;
// Frames posted to the GUI thread and not yet run there. The box answers one
// request at a time and sends only the odd programming message unasked, so
// this many means the GUI thread is stuck; further frames are dropped then.
inline constexpr std::size_t kComMaxQueuedFrames = 64;

// The port's own message when it cannot be opened.
inline constexpr char kComOpenErrorText[] = "Open port failed!";
inline constexpr char kComOpenErrorCaption[] = "Error";
