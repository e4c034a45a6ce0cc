// Any byte string handed to the language-file reader is either refused with
// a reason or read; every string it yields lies inside the table, and no
// record exists that the input has no bytes for.

#include "SptReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SptTable table;
    std::string error;
    const bool ok = SptReader::Parse(bytes, table, error);
    if (!ok && error.empty())
        __builtin_trap();
    // Each record needs at least one NUL of the input; only those can hold text.
    const auto nuls = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\0'));
    const int present = static_cast<int>(std::min<size_t>(SptTable::kRecords, nuls / 2 + 1));
    size_t total = 0;
    for (int id = 0; id < present; ++id) {
        if (const char* t = table.Text(id))
            total += std::strlen(t);
        if (const char* h = table.Hint(id))
            total += std::strlen(h);
    }
    // Unescaping never makes a string longer.
    if (total > size)
        __builtin_trap();
    if (present < SptTable::kRecords &&
        (table.Text(present) || table.Hint(present) || table.Text(SptTable::kRecords - 1)))
        __builtin_trap();
    return 0;
}
