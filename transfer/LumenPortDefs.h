#pragma once
// Constants of the bus port: the bus control's status words and open
// results it compares, its tries and waits, and its buffer limits.

#include "TransferDefs.h"

#include <cstddef>
#include <cstdint>

// TransmitTeleStatus words the bus port tells apart.
inline constexpr std::uint16_t TRANSMIT_STATUS_BROADCAST = 0;
inline constexpr std::uint16_t TRANSMIT_STATUS_ACK = 6;
inline constexpr std::uint16_t TRANSMIT_BUS_BLOCKED = 0xF004;

// ReceivedTeleStatus words (whole words: the checksum flag 0xFF00 is ORed
// into the answer outcome, so 0xFF06 is not an acknowledged telegram).
inline constexpr std::uint16_t RECEIVE_STATUS_BROADCAST = 0;
inline constexpr std::uint16_t RECEIVE_STATUS_ACK = 6;
inline constexpr std::uint16_t RECEIVE_STATUS_NAK = 0x15;
inline constexpr std::uint16_t RECEIVE_NO_MESSAGE = 0xF001;
inline constexpr std::uint16_t RECEIVE_ACKNAK_TIMEOUT = 0xF002;
inline constexpr std::uint16_t RECEIVE_TIMEOUT = 0xF003;
inline constexpr std::uint16_t RECEIVE_BUFFER_OVERFLOW = 0xF004;
inline constexpr std::uint16_t RECEIVE_ERROR_CHECKSUM = 0xFF00;

// OpenPort results with a message of their own.
inline constexpr std::uint16_t QUELL_OPEN_OK = 0;
inline constexpr std::uint16_t QUELL_OPEN_INVALID_PORT = 0xF001;
inline constexpr std::uint16_t QUELL_OPEN_ALREADY_OPEN = 0xF002;
inline constexpr std::uint16_t QUELL_OPEN_BAD_SETTINGS = 0xF003;
inline constexpr std::uint16_t QUELL_OPEN_NO_NOTIFICATION = 0xF004;
inline constexpr std::uint16_t QUELL_OPEN_NO_INTERFACE = 0xF005;
inline constexpr std::uint16_t QUELL_OPEN_NO_HANDLE = 0xF006;

// Tries of one telegram: the bus is shared, so a collision or a busy
// addressee costs a try, not the block.
inline constexpr int kLumenTransmitTries = 10;
// When the bus is blocked by a telegram waiting in the control, it is read
// with this wait (the control subtracts its own 50 ms), then the line is given
// this long to settle before the next try.
inline constexpr int kLumenBlockedReceiveWaitMs = 2000;
inline constexpr int kLumenBlockedSettleMs = 100;
// Lets the control's reader thread see the notification switched off before
// the port is closed under it.
inline constexpr int kLumenCloseWaitMs = 100;

// Receive and send buffers of the bus port.
inline constexpr std::uint32_t COM_PORT_BUF_LEN = 2048;
// A reassembled block is never longer than the largest block message; a box
// that sends more is refused with a Nak before the buffer could overflow.
inline constexpr std::uint32_t kLumenMaxReceiveBlock = MAX_COMM_MSG_LEN;
// Telegrams read while the bus was blocked that wait for the receive path;
// one per transmit try at most.
inline constexpr std::size_t kLumenMaxPendingTelegrams = kLumenTransmitTries;
