#pragma once
// Hex text of bytes, both ways, for the command lines and the event lines.

#include "SimTelegram.h"

#include <optional>
#include <string>

namespace boxsim {

// "0A FF 3" -> {0x0A, 0xFF, 0x03}; nullopt for anything that is not hex bytes.
std::optional<Bytes> ParseHexBytes(const std::string& text);
// {0x02, 0xAB} -> "02 AB".
std::string HexBytes(const Bytes& bytes);

} // namespace boxsim
