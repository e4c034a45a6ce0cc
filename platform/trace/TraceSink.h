#pragma once
// Where trace lines end up. Linux has no debugger output channel as
// Windows has; a line goes to stderr or, once a file is named, is appended
// to that file. Callers pass whole lines including their newline.
//
// The program's texts are Windows-1252 bytes (the record, the language
// texts, the ISDN reason texts); a terminal, the journal and an editor on
// Linux read UTF-8. So a line is converted here, on its way out, through the
// data library's codec, as the Qt boundary converts: "Auslösen" arrives as
// the byte 0xF6 and is written as the two bytes of "ö" in UTF-8.
//
// Thread rule: both functions may be called from any thread; one internal
// mutex keeps lines whole and the file switch atomic.

#include <string>
#include <string_view>

namespace mox::platform {

// Writes one line of Windows-1252 text as UTF-8 and flushes it, so a crash
// loses nothing that was already traced.
void TraceWrite(std::string_view line);

// Writes one line that is UTF-8 already (texts that come from Qt or the file
// system) as it stands, and flushes it.
void TraceWriteUtf8(std::string_view line);

// Names the file lines are appended to; an empty path means stderr again.
// A file that cannot be opened also falls back to stderr.
void SetTraceFile(const std::string& path);

} // namespace mox::platform
