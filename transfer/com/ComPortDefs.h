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

// A write may take this long in all. The longest frame (2067 bytes, 10 bits a
// byte) needs 359 ms on the wire; the rest is for the driver's queue ahead of
// it.
inline constexpr int kComWriteTimeoutMs = 2000;
// Bytes taken from the driver per read; a read that fills it is followed by
// another, so the longest frame comes in with a few reads.
inline constexpr std::size_t kComReadChunk = 2048;
// Frames cut out and not yet handed to the controller: they wait while a
// COMPORT_DATA notice runs (one at a time, as the controller takes them). The
// box answers one request at a time and sends only the odd programming
// message unasked, so this many means the controller is stuck inside a
// notice; further frames are dropped then.
inline constexpr std::size_t kComMaxQueuedFrames = 64;

// The port's own message when it cannot be opened.
inline constexpr char kComOpenErrorText[] = "Open port failed!";
inline constexpr char kComOpenErrorCaption[] = "Error";
