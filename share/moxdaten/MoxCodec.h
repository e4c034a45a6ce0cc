#pragma once
// The one place where text changes between UTF-8 (Qt, the terminal, source
// literals) and the Windows-1252 bytes that the record, the image, the
// language files and the box hold. Every other layer converts through these
// two functions.
//
// A character that Windows-1252 lacks, and every malformed UTF-8 sequence,
// becomes "?". The five byte values that Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control code points of the same
// number (U+0081, ...) and back, so any byte string survives a round trip
// through UTF-8 unchanged.

#include <string>
#include <string_view>

std::string MoxUtf8ToCp1252(std::string_view utf8);
std::string MoxCp1252ToUtf8(std::string_view cp1252);
