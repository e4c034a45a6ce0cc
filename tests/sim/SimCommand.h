#pragma once
// The line commands the simulator executable takes on its standard input,
// and what it prints for each. One place, so the tests and the executable
// agree. <n> is a count (default 1), "always" or "off".
//
// The bus interface (link level):
//   answer ack|nak|silent      how telegrams for the box are answered
//   answer late <ms>           ACK only after <ms>
//   answer foreign <hex>       that byte instead of ACK/NAK
//   dropack [<k>]              the k-th telegram for the box from now (default
//                              the next) is taken but its ACK never sent; the
//                              PC's repetition is answered, not taken again
//   address <hex>              the box's bus address (default 70)
//   send <hex>...              a telegram to the PC, once; prints PCANSWER <hex>|none
//   garble <hex>...            the same with a bad checksum
//   raw <hex>...               bytes as they stand; prints SENT
//   garbleout [<n>]            the box's next n telegram tries go out garbled
//   tries <n>, ackwait <ms>    tries of the box's telegrams and the wait for
//                              the PC's ACK of each (default 3 and 1000 ms)
//   trace on|off               the RX and TX lines
// The box's 'C' telegrams:
//   naktele [<n>]              Nak the PC's next n data telegrams
//   wrongack [<n>]             the box's next n acknowledgements of the PC's
//                              data telegrams carry a number one too high
//   wrongtele [<n>]            the same for the next n telegrams (after the
//                              first) of the box's own blocks
// The box:
//   mute [<n>]                 the next n blocks are dropped unanswered
//   muteblock <number>         the next block with this number is dropped
//   delay <ms>                 every answer goes out <ms> later (0: at once)
//   wrongblock [<n>]           the next n answers carry a wrong block number
//   wrongend [<n>]             the same for the next n end blocks of a read
//   unasked <hex>...           a block of the box's own, sent unasked
//   clear                      forget the stored configuration
//   save <path>, load <path>   the stored configuration to or from a file;
//                              prints SAVED|LOADED <bytes> <packages>
//   eventlog pattern|<path>    the event log (a file must hold 16384 bytes)
//   status                     prints STATUS idle <0|1> link <0|1> delivered <n>
//                              packages .. (idle: nothing queued, in flight or
//                              delayed; link: the same without the delayed
//                              answers; delivered: telegrams the PC's bus
//                              control acknowledged)
//   ping                       prints PONG (every line before it is out)
//   quit
// Printed: "PTY <path>" once ready; "RX <hex> ok|badsum ANSWER <a>" for
// each telegram of the PC and "TX <hex> ..." for each of the box's, while
// tracing; the box's event lines (BLOCK, ANSWER, MUTED, KENNUNG, FRAME,
// RESET, CONFIG, CNAK, PCNAK, LOST, GAVEUP, WRONGBLOCK, WRONGTELE, ...); "OK"
// after a setting; "ERROR <why>" for a bad line.

#include "BoxSimulator.h"
#include "BusInterfaceSim.h"
#include "SimHex.h"

#include <string>

namespace boxsim {

// The link-level commands alone; returns the line to print (empty: none)
// and sets quit when the command asks to end.
std::string RunSimCommand(BusInterfaceSim& sim, const std::string& line, bool* quit);

// Every command, on the whole simulator (features get the words the core
// does not know).
std::string RunBoxCommand(BoxSimulator& sim, const std::string& line, bool* quit);

// "3" -> 3, "always" -> BoxCore::kAlways, "off" -> 0, "" -> 1; nullopt else.
std::optional<int> ParseCount(const std::string& word);

} // namespace boxsim
