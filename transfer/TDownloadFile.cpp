#include "TDownloadFile.h"

#include "TransferTrace.h"

#include <filesystem>
#include <fstream>

const char* DLFileCheckName(eDLFileCheck check) {
    switch (check) {
    case eDLFileOk:
        return "ok";
    case eDLFileOpenFailed:
        return "cannot be opened";
    case eDLFileShortHeader:
        return "short header";
    case eDLFileWrongSign:
        return "wrong CodeSign";
    case eDLFileWrongSize:
        return "size is not CodeLength x 1024";
    case eDLFileUnknownDevice:
        return "unknown Device";
    case eDLFileTooManyBlocks:
        return "more blocks than the device takes";
    case eDLFileUnreadable:
        return "block cannot be read";
    case eDLFileWrongChecksum:
        return "wrong checksum";
    }
    return "?";
}

eDLFileCheck CheckDLHeader(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                           HeaderRecord& header) {
    TransferTrace(eTraceTransfer, "<TDataTransfer::ReadDLFileHeader>");
    if (!header.FromBytes(head) || fileSize < kDLHeaderLen)
        return eDLFileShortHeader;
    header.Trace("File: HeaderRecord.");
    if (header.CodeSign != kDLCodeSign)
        return eDLFileWrongSign;
    if (fileSize != std::uint64_t{header.CodeLength} * kDLBlockLen)
        return eDLFileWrongSize;
    switch (header.Device) {
    case eFWDeviceKTX:
        TransferTrace(eTraceTransfer, "KTX Firmware");
        break;
    case eFWDeviceKMR:
        TransferTrace(eTraceTransfer, "KMR Firmware");
        break;
    default:
        return eDLFileUnknownDevice;
    }
    // Blocks past the device's flash would never be written, so the image
    // could never match its own checksum: refused before anything is erased.
    if (header.CodeLength > GetMaxBloecke(header.Device))
        return eDLFileTooManyBlocks;
    return eDLFileOk;
}

std::uint16_t BuildDLChecksum(std::span<const std::uint8_t> image) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < image.size(); ++i) {
        const bool field = i == kDLCheckSumOffset || i == kDLCheckSumOffset + 1;
        sum = static_cast<std::uint16_t>(sum + (field ? 0xFF : image[i]));
    }
    return sum;
}

namespace {

eDLFileCheck CheckSum(std::span<const std::uint8_t> image, const HeaderRecord& header) {
    const std::uint16_t sum = BuildDLChecksum(image);
    if (sum != header.CheckSum) {
        TransferTrace(eTraceTransfer, "\tERROR wTestCheckSum(%x) != wCheck(%x) ", sum,
                      header.CheckSum);
        return eDLFileWrongChecksum;
    }
    TransferTrace(eTraceTransfer, "\twTestCheckSum(%x) == wCheck(%x) ", sum, header.CheckSum);
    return eDLFileOk;
}

} // namespace

eDLFileCheck CheckDLImage(std::span<const std::uint8_t> file, HeaderRecord& header) {
    const eDLFileCheck head = CheckDLHeader(file, file.size(), header);
    if (head != eDLFileOk)
        return head;
    return CheckSum(file, header);
}

eDLFileCheck TDownloadFile::LoadImage(std::span<const std::uint8_t> file) {
    Clear();
    HeaderRecord header;
    const eDLFileCheck check = CheckDLImage(file, header);
    if (check != eDLFileOk)
        return check;
    m_Header = header;
    m_Image.assign(file.begin(), file.end());
    return eDLFileOk;
}

eDLFileCheck TDownloadFile::Load(const std::string& path) {
    Clear();
    // A device or a pipe is no download file (and opening a pipe would wait
    // for a writer).
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        return eDLFileOpenFailed;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
        return eDLFileOpenFailed;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return eDLFileOpenFailed;

    std::uint8_t head[kDLHeaderLen] = {};
    in.read(reinterpret_cast<char*>(head), kDLHeaderLen);
    const auto got = static_cast<std::size_t>(in.gcount());
    HeaderRecord header;
    const eDLFileCheck check =
        CheckDLHeader(std::span<const std::uint8_t>(head, got), size, header);
    if (check != eDLFileOk)
        return check;

    // The size is bounded by the device's flash now.
    std::vector<std::uint8_t> image(static_cast<std::size_t>(size));
    in.clear();
    in.seekg(0);
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (static_cast<std::size_t>(in.gcount()) != image.size()) {
        TransferTrace(eTraceTransfer, "\tERROR block (%zu) cannot be read",
                      static_cast<std::size_t>(in.gcount()) / kDLBlockLen);
        return eDLFileUnreadable;
    }
    if (CheckSum(image, header) != eDLFileOk)
        return eDLFileWrongChecksum;
    m_Header = header;
    m_Image = std::move(image);
    return eDLFileOk;
}

void TDownloadFile::Clear() {
    m_Header.Clear();
    m_Image.clear();
}

const std::uint8_t* TDownloadFile::GetBlock(int n) const {
    if (!IsBlockValid(n))
        return nullptr;
    return m_Image.data() + static_cast<std::size_t>(n) * kDLBlockLen;
}
