#include "TraceSink.h"

#include "MoxCodec.h"

#include <cstdio>
#include <mutex>

namespace mox::platform {
namespace {

// Guards g_file; a line is written and flushed under it so lines of two
// threads never interleave.
std::mutex g_mutex;
std::FILE* g_file = nullptr; // nullptr: stderr

} // namespace

void TraceWrite(std::string_view line) {
    TraceWriteUtf8(MoxCp1252ToUtf8(line));
}

void TraceWriteUtf8(std::string_view line) {
    std::lock_guard<std::mutex> lock(g_mutex);
    std::FILE* out = g_file ? g_file : stderr;
    std::fwrite(line.data(), 1, line.size(), out);
    std::fflush(out);
}

void SetTraceFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_file) {
        std::fclose(g_file);
        g_file = nullptr;
    }
    if (!path.empty()) {
        g_file = std::fopen(path.c_str(), "ab");
    }
}

} // namespace mox::platform
