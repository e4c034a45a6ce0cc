#include "TransferTrace.h"

#include "MoxTrace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {
// Same size as the program's trace message buffer, so nothing is cut here
// that DbgOut would still have written.
constexpr std::size_t kTraceBuffer = 16000;
} // namespace

namespace {

// Apart from TransferTrace, so that the line buffer is only set up on the
// stack for a line that is written.
[[gnu::noinline]] void TraceFormatted(int channel, const char* format, va_list args) {
    char buffer[kTraceBuffer];
    const int n = std::vsnprintf(buffer, sizeof(buffer), format, args);
    if (n >= 0)
        MoxTrace(channel, buffer);
}

} // namespace

void TransferTrace(int channel, const char* format, ...) {
    // Most lines go to channels that are off: nothing is formatted for them.
    if (!MoxTraceWanted(channel))
        return;
    va_list args;
    va_start(args, format);
    TraceFormatted(channel, format, args);
    va_end(args);
}

void TransferTraceBytes(int channel, const char* prefix, const std::uint8_t* bytes,
                        std::size_t len) {
    if (!MoxTraceWanted(channel))
        return;
    std::string line(prefix ? prefix : "");
    line.reserve(line.size() + len * 5);
    char hex[8];
    for (std::size_t i = 0; bytes && i < len; ++i) {
        std::snprintf(hex, sizeof(hex), "0x%02x ", bytes[i]);
        line += hex;
    }
    MoxTrace(channel, line.c_str());
}
