// libFuzzer target over the SMS default-file reader: any bytes must give a
// table whose entries fit their fields, without touching memory outside the
// input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TSmsDefaultFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    const TSmsDefaultTable table = TSmsDefaultFile::Parse(content, "UCP", "TAP", &lines);
    if (lines.size() > TSmsDefaultFile::kMaxLines)
        std::abort();
    for (const TSmsDefaultEntry& e : table) {
        if (e.Provider.size() > MOX_PROVIDER_SIZE - 1 || e.Rnr.size() > MOX_SMSRNR_SIZE - 1 ||
            e.Protokoll > 2)
            std::abort();
        if (e.Provider.find('\0') != std::string::npos || e.Rnr.find('\0') != std::string::npos)
            std::abort();
    }
    for (const std::string& line : lines) {
        if (line.size() > TSmsDefaultFile::kMaxLineBytes)
            std::abort();
    }
    return 0;
}
