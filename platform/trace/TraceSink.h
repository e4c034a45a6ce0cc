#pragma once
// Where trace lines end up. Linux has no debugger output channel as
// Windows has; a line goes to stderr or, once a file is named, is appended
// to that file. Callers pass whole lines including their newline.
//
// Thread rule: both functions may be called from any thread; one internal
// mutex keeps lines whole and the file switch atomic.

#include <string>
#include <string_view>

namespace mox::platform {

// Writes one line as it stands and flushes it, so a crash loses nothing
// that was already traced.
void TraceWrite(std::string_view line);

// Names the file lines are appended to; an empty path means stderr again.
// A file that cannot be opened also falls back to stderr.
void SetTraceFile(const std::string& path);

} // namespace mox::platform
