#pragma once
// The line commands the simulator executable takes on its standard input,
// and what it prints for each. One place, so the tests and the executable
// agree:
//   answer ack|nak|silent      how the box answers telegrams for it
//   answer late <ms>           ACK only after <ms>
//   answer foreign <hex>       that byte instead of ACK/NAK
//   address <hex>              the box's bus address (default 70)
//   send <hex>...              a telegram to the PC; prints PCANSWER <hex>|none
//   garble <hex>...            the same with a bad checksum
//   raw <hex>...               bytes as they stand; prints SENT
//   quit
// Printed: "PTY <path>" once ready; "RX <hex> ok|badsum ANSWER <a>" for each
// telegram the PC sent; "OK" after a setting; "ERROR <why>" for a bad line.

#include "BusInterfaceSim.h"

#include <string>

namespace boxsim {

// Runs one command line; returns the line to print (empty: none) and sets
// quit when the command asks to end.
std::string RunSimCommand(BusInterfaceSim& sim, const std::string& line, bool* quit);

// "0A FF 3" -> {0x0A, 0xFF, 0x03}; nullopt for anything that is not hex bytes.
std::optional<Bytes> ParseHexBytes(const std::string& text);
std::string HexBytes(const Bytes& bytes);

} // namespace boxsim
