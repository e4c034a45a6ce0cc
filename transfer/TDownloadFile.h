#pragma once
// A download file, checked whole before anything of it reaches a device:
// the header (sign, size, device), the block count against the target
// device's flash, every block read, and the checksum. A file that fails any
// check is refused as a whole and the object holds nothing.
//
// The checks are free functions over bytes as well, so the firmware page and
// the fuzz target run the very same rules.

#include "HeaderRecord.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum eDLFileCheck : std::uint8_t {
    eDLFileOk = 0,
    eDLFileOpenFailed,    // no such file, or not a regular file
    eDLFileShortHeader,   // fewer than 64 bytes
    eDLFileWrongSign,     // CodeSign is not 0xA55A
    eDLFileWrongSize,     // size is not CodeLength x 1024
    eDLFileUnknownDevice, // Device is neither 0 nor 1
    eDLFileTooManyBlocks, // more blocks than the device's flash takes
    eDLFileUnreadable,    // a block could not be read whole
    eDLFileWrongChecksum, // the sum differs from CheckSum
};

const char* DLFileCheckName(eDLFileCheck check);
// The header faults, which the dialogs show as "no valid file" without a
// message of their own.
constexpr bool IsDLHeaderFault(eDLFileCheck check) {
    return check >= eDLFileOpenFailed && check <= eDLFileUnknownDevice;
}

// The header check: decodes the header from head (the file's first bytes)
// and judges it against the size of the whole file.
eDLFileCheck CheckDLHeader(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                           HeaderRecord& header);
// 16-bit sum of every byte of the image, bytes 6 and 7 counted as 0xFF.
std::uint16_t BuildDLChecksum(std::span<const std::uint8_t> image);
// Every check over a whole file held in memory.
eDLFileCheck CheckDLImage(std::span<const std::uint8_t> file, HeaderRecord& header);

class TDownloadFile {
public:
    // Reads and checks the file; on any fault the object is empty.
    eDLFileCheck Load(const std::string& path);
    // The same over bytes already read.
    eDLFileCheck LoadImage(std::span<const std::uint8_t> file);
    void Clear();

    bool IsValid() const { return !m_Image.empty(); }
    // The header of the loaded file; all zero when none is loaded.
    const HeaderRecord& GetHeader() const { return m_Header; }
    // eFWDeviceKTX, eFWDeviceKMR, or eFWDeviceNone without a valid file.
    int GetDevice() const { return IsValid() ? int{m_Header.Device} : int{eFWDeviceNone}; }
    int GetBlockCount() const { return static_cast<int>(m_Image.size() / kDLBlockLen); }
    bool IsBlockValid(int n) const { return n >= 0 && n < GetBlockCount(); }
    // The 1024 bytes of block n, or null.
    const std::uint8_t* GetBlock(int n) const;

private:
    HeaderRecord m_Header;
    std::vector<std::uint8_t> m_Image;
};
