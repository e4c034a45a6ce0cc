#pragma once
// The 64-byte header record that opens a download file and that a device
// returns for the firmware it runs. Multi-byte fields are little-endian; the
// texts are fixed-size byte fields, NUL-terminated only when shorter, so
// every text getter stops at the field's end.

#include "FirmwareDefs.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

struct HeaderRecord {
    std::uint16_t CodeSign = 0;   // kDLCodeSign in a valid record
    std::uint16_t CodeLength = 0; // blocks of 1024 bytes in the whole file
    std::uint8_t CodeType = 0;
    std::uint8_t Device = 0; // eFWDevice
    std::uint16_t CheckSum = 0;
    std::uint32_t StartAdr = 0;
    std::uint32_t LBLen = 0;
    std::uint16_t BlockOff = 0;
    std::array<char, kDLDateLen> Date{};
    std::array<char, kDLTimeLen> Time{};
    std::array<char, kDLVersionLen> Version{};
    std::array<char, kDLVendorLen> Vendor{};

    // Decodes the first 64 bytes; false (and a cleared record) when fewer
    // are given.
    bool FromBytes(std::span<const std::uint8_t> bytes);
    void Clear() { *this = HeaderRecord{}; }

    // Windows-1252 texts, each at most its field.
    std::string GetVersion() const;
    std::string GetVendor() const;
    std::string GetDate() const;
    std::string GetTime() const;
    // "10.11.2000" and "12:34:56": separators after the 2nd and 4th character.
    std::string GetDateText() const;
    std::string GetTimeText() const;

    // Every field on the tdump trace channel, each line led by prefix.
    void Trace(const char* prefix) const;
};
