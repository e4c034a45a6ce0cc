#pragma once
// Finds one named section in the image of an ELF file (a module on disk),
// the way the platform reads a resource from a module file without running
// it. The image comes from outside: every header, table and name is
// checked against the image's size before it is read.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mox::com {

// The bytes of the section called name; nullopt (and *error) when the image
// is no little-endian ELF file of 32 or 64 bits, any header lies outside
// it, or it has no such section with contents.
std::optional<std::span<const uint8_t>> FindElfSection(std::span<const uint8_t> image,
                                                       std::string_view name,
                                                       std::string* error = nullptr);

} // namespace mox::com
