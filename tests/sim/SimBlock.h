#pragma once
// One block message as the box reads and writes it: channel, command, block
// number and value word (both high byte first), data. Written apart from
// the PC's message classes on purpose, like the telegram coding.

#include "SimTelegram.h"

#include <cstdint>
#include <optional>
#include <string>

namespace boxsim {

// Commands and channels the box knows.
inline constexpr uint8_t kCmdDataFirst = 2;
inline constexpr uint8_t kCmdData = 3;
inline constexpr uint8_t kCmdDataEnd = 4;
inline constexpr uint8_t kCmdDataReq = 5;
inline constexpr uint8_t kCmdReset = 7;
inline constexpr uint8_t kCmdAck = 8;
inline constexpr uint8_t kCmdKennung = 12;
inline constexpr uint8_t kCmdEvLogDataReq = 16;
inline constexpr uint8_t kCmdLogData = 17;

inline constexpr uint8_t kChannelKonfig = 0;
inline constexpr uint8_t kChannelEventLog = 5;
// Firmware download: the box, the camera device.
inline constexpr uint8_t kChannelDownloadBox = 1;
inline constexpr uint8_t kChannelDownloadCamera = 2;

inline constexpr size_t kBlockHeaderLen = 6;
inline constexpr size_t kBlockMaxData = 1024;
// The box marks every block it sends with bit 7 of the channel byte.
inline constexpr uint8_t kBoxChannelMark = 0x80;

struct SimBlock {
    uint8_t channel = 0;
    uint8_t cmd = 0;
    uint16_t number = 0;
    uint16_t value = 0xFFFF; // not used unless set
    Bytes data;

    // The wire bytes; the channel carries the box's mark when fromBox.
    Bytes Encode(bool fromBox = true) const;
    // Channel mark cleared; nullopt for fewer than the six header bytes or
    // more data than one block holds.
    static std::optional<SimBlock> Parse(const Bytes& bytes);
    // "ch 0 cmd 3 block 7 len 40" for the event lines.
    std::string Describe() const;
};

} // namespace boxsim
