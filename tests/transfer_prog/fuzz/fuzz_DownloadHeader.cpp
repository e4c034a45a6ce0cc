// Feeds the download-file check arbitrary files: the header check, the
// checksum and the loading into the block table must never read outside the
// bytes given, and a file they accept must hold exactly what its header
// announces for a device that takes it.

#include "TDownloadFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);

    HeaderRecord header;
    const eDLFileCheck check = CheckDLImage(file, header);
    // The texts of any header stay inside their fields.
    Check(header.GetVersion().size() <= kDLVersionLen);
    Check(header.GetVendor().size() <= kDLVendorLen);
    Check(header.GetDateText().size() <= kDLDateLen + 2);
    Check(header.GetTimeText().size() <= kDLTimeLen + 2);

    // The same header judged against other sizes than its own.
    HeaderRecord other;
    CheckDLHeader(file, size / 2, other);
    CheckDLHeader(file, std::uint64_t{header.CodeLength} * kDLBlockLen, other);

    TDownloadFile loaded;
    Check(loaded.LoadImage(file) == check);
    if (check == eDLFileOk) {
        Check(loaded.IsValid());
        Check(size == std::size_t{header.CodeLength} * kDLBlockLen);
        Check(loaded.GetBlockCount() == header.CodeLength);
        Check(loaded.GetBlockCount() <= GetMaxBloecke(loaded.GetDevice()));
        Check(BuildDLChecksum(file) == header.CheckSum);
        const std::uint8_t* last = loaded.GetBlock(loaded.GetBlockCount() - 1);
        Check(last != nullptr && last[kDLBlockLen - 1] == data[size - 1]);
        Check(loaded.GetBlock(loaded.GetBlockCount()) == nullptr);
    } else {
        Check(!loaded.IsValid());
    }
    return 0;
}
