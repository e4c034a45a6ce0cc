#pragma once
// File helpers of the event-log pages: a whole file written so that a
// failure never leaves a half-written file in place of the old one, a file
// read whole with its length checked, and fresh temporary files. Plain C++.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace BoxFiles {

// Writes the bytes to a temporary file beside `path` and renames it over
// `path` only when every byte is on disk. False leaves `path` as it was. A
// new file gets the rights a plain create gives (0666 less the umask), a
// replaced one keeps its own.
bool WriteWhole(const std::string& path, const std::uint8_t* data, std::size_t size);
bool WriteWhole(const std::string& path, const std::string& bytes);

// Reads the whole file into `bytes`; false when it cannot be opened, is not
// a regular file, is larger than `maxSize` or cannot be read to its end.
bool ReadWhole(const std::string& path, std::string& bytes, std::size_t maxSize);

bool Exists(const std::string& path);

// A new empty file with a unique name "<prefix>XXXXXX" in the system's
// temporary folder; an empty name when none could be made.
std::string MakeTempFile(const char* prefix);
void Remove(const std::string& path);

// `name` with ".<ext>" appended when its file name has no extension.
std::string WithDefaultExtension(const std::string& name, const std::string& ext);

} // namespace BoxFiles
