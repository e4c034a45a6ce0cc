#pragma once
// Time-outs, tries and fixed counts of the block protocol with the box and of
// the transfer controller's timers, in one place.

#include <cstdint>

// Answer time-outs, counted from the successful send of a request.
// A configuration block on the bus goes out as up to 65 telegrams, each
// acknowledged by the box, before the box can answer; hence the longer wait.
inline constexpr std::uint32_t kTimeoutSendBlockMs = 3000;
inline constexpr std::uint32_t kTimeoutSendBlockBusMs = 12000;
inline constexpr std::uint32_t kTimeoutDataReqMs = 5000;
inline constexpr std::uint32_t kTimeoutResetMs = 3000;
// The box collects the free subscriber addresses from the bus first.
inline constexpr std::uint32_t kTimeoutKBAListMs = 120000;
inline constexpr std::uint32_t kTimeoutKBACountMs = 60000;

// Failed answers to the same request that end the exchange.
inline constexpr int kMaxBlockTries = 3;

// The identification goes out after this long without traffic while no
// transfer runs, so the box keeps the PC's link in mind.
inline constexpr std::uint32_t kKennungIntervalMs = 7000;
// The firmware download starts this long after the form is shown.
inline constexpr std::uint32_t kFirmwareStartDelayMs = 100;
// A start that failed still sends one empty answer through the dispatch
// (the programming handlers see it) right after the result.
inline constexpr std::uint32_t kStartFailedTimerMs = 1;

// Configuration start and end frames go out this often in a row: they are
// broadcasts, so no device acknowledges them.
inline constexpr int kKonfigFrameRepeats = 3;

// The event log is always exactly this many blocks.
inline constexpr std::uint16_t kEventLogBlocks = 16;
// Block number of the reset command.
inline constexpr std::uint16_t kResetBlock = 0xFFFF;
// Progress bar of a read until the first block names the real count.
inline constexpr int kReadProgressMax = 10;

// Language texts the controller names (the form looks them up).
inline constexpr int kTextCaptionReceive = 90;
inline constexpr int kTextCaptionSend = 91;
inline constexpr int kTextCaptionEventLog = 126;
inline constexpr int kTextTransferFailed = 1007;
inline constexpr int kTextReceiveBlock = 3342; // number: the block received
inline constexpr int kTextSendBlock = 3343;    // number: the block sent
