#pragma once
// The firmware download: download-file layout, firmware commands and
// answers, device limits, time-outs and tries, and the language texts the
// download names. The values are fixed by the devices' boot loaders.

#include <cstddef>
#include <cstdint>

// ---- Download file ---------------------------------------------------------

// The file is a whole number of blocks; its first 64 bytes are the header.
inline constexpr std::uint32_t kDLBlockLen = 1024;
inline constexpr std::uint32_t kDLHeaderLen = 64;
inline constexpr std::uint16_t kDLCodeSign = 0xA55A;
// Offset of the checksum field: its two bytes count as 0xFF each in the sum,
// so the sum can be stored in the file it covers.
inline constexpr std::uint32_t kDLCheckSumOffset = 6;

// Bounded header texts.
inline constexpr std::size_t kDLDateLen = 8;
inline constexpr std::size_t kDLTimeLen = 6;
inline constexpr std::size_t kDLVersionLen = 16;
inline constexpr std::size_t kDLVendorLen = 16;

// Target devices (the header's Device byte).
enum eFWDevice : std::uint8_t {
    eFWDeviceKTX = 0,    // the interface box
    eFWDeviceKMR = 1,    // the camera device
    eFWDeviceNone = 255, // no valid file
};

// Device byte of every firmware message, by target device.
inline constexpr std::uint8_t kFWProtKTX = 1;
inline constexpr std::uint8_t kFWProtKMR = 2;

// Flash of each device: 1024-byte blocks written at most, erase blocks.
constexpr int GetMaxBloecke(int device) {
    return device == eFWDeviceKTX ? 192 : device == eFWDeviceKMR ? 768 : 0;
}
constexpr int GetMaxDelBloecke(int device) {
    return device == eFWDeviceKTX ? 3 : device == eFWDeviceKMR ? 12 : 0;
}
// The largest file any device takes.
inline constexpr std::uint32_t kDLMaxFileLen = 768 * kDLBlockLen;

// ---- Commands and answers --------------------------------------------------

enum eFWCmd : std::uint8_t {
    eFWCmdStartDownload = 0, // enter download mode
    eFWCmdStopDownload = 1,  // leave download mode
    eFWCmdGetHeader = 3,     // header of the running firmware (block 1)
    eFWCmdGetChecksum = 5,   // checksum of the written image (block 2)
    eFWCmdDeleteBlock = 6,   // erase block k
    eFWCmdWriteBlock = 7,    // write block n, 1024 data bytes
    eFWCmdReset = 10,        // restart the device
    eFWCmdKillFirmware = 11, // remove an image: block 1 the old, 2 the new
    eFWAck = 32,
    eFWNak = 33,
    eFWChecksum = 34, // the checksum is in the block-number field
    eFWHeader = 35,   // the data are a 64-byte header record
};

inline constexpr std::uint16_t kFWHeaderBlock = 1;
inline constexpr std::uint16_t kFWChecksumBlock = 2;
inline constexpr std::uint16_t kFWKillOld = 1;
inline constexpr std::uint16_t kFWKillNew = 2;

// ---- Time-outs and tries ---------------------------------------------------

// Answer time of a command; erasing a flash block and writing one take the
// device far longer.
inline constexpr std::uint32_t kFWTimeoutMs = 3000;
inline constexpr std::uint32_t kFWTimeoutDeleteMs = 12000;
inline constexpr std::uint32_t kFWTimeoutBlockMs = 12000;
// Time-outs in a row that fail a step (the command goes out this often).
inline constexpr int kFWMaxTries = 3;

// ---- Language texts --------------------------------------------------------

inline constexpr int kTextFWNone = 94;         // label without a value
inline constexpr int kTextFWDeviceKTX = 205;   // "interface box" device name
inline constexpr int kTextFWDeviceKMR = 233;   // "camera device" device name
inline constexpr int kTextFWCaption = 1002;    // caption of questions and file faults
inline constexpr int kTextFWErrCaption = 1009; // caption of download failures
inline constexpr int kTextFWUnreadable = 1013; // a block of the file cannot be read
inline constexpr int kTextFWBadFileSum = 3311; // the file's checksum is wrong
inline constexpr int kTextFWBadDeviceSum = 3322;
inline constexpr int kTextFWAskRestart = 3323;
inline constexpr int kTextFWStepFailedFirst = 3325; // 3325..3332 by step, 3333 other
inline constexpr int kTextFWStatusStart = 3334;
inline constexpr int kTextFWStatusDelete = 3336; // numbers: erased, of
inline constexpr int kTextFWStatusWrite = 3337;  // numbers: written, of
// The file holds more blocks than its device takes.
inline constexpr int kTextFWTooManyBlocks = 3338;
// Cancel once erasing has begun: stop, and leave the device without usable
// firmware? And, once such a stop is through, that the device was not
// updated.
inline constexpr int kTextFWAskCancel = 6035;
inline constexpr int kTextFWNotUpdated = 6036;
