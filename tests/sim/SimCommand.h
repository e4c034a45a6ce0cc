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
//   send <hex>...              a telegram to the PC, repeated as the box's own
//                              telegrams are; prints PCANSWER <hex>|none once
//                              the PC acknowledged it or every try went
//                              unanswered
//   garble <hex>...            the same with a bad checksum on every try
//   ackbehind <hex>...         the same, sent only when the PC's next
//                              telegram for the box has come in, just ahead
//                              of the box's ACK of it (so the ACK waits behind
//                              it and the PC must not acknowledge this try)
//   raw <hex>...               bytes as they stand; prints SENT once they are
//                              on the line. When they are one whole intact
//                              telegram to the PC, it is repeated until
//                              acknowledged, as the box's own are
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
// The direct V.24 cable (with --v24), each for the box's next n frames:
//   badcrc [<n>]               the frame's CRC is wrong
//   split [<n>]                the frame goes out 3 bytes a write, 1 ms apart
//   double [<n>]               a second frame (an unasked free-address list
//                              of the box) follows in the same write
//   garbage [<n>]              bytes outside any frame (with a false start)
//                              go out before the frame
//   cutoff [<n>]               the first half of the frame, then the frame
//                              whole
// Subscriber programming (the box's bus controller); <form> is block (a
// channel-3 block, the default) or tele (a raw '/' or ':' telegram):
//   progmode on|off [<form>]   programming mode on (PROG_MODE_AKT with the
//                              BSG address and identifier) or off
//   progbsg <hex> [<hex>]      the BSG address and identifier (0021 4711)
//   progunit <hex> [video] [<form>]  a (video) unit in programming
//   progbsm <hex> <relay>|off  a switch module in or out of programming
//   progerror <mode> <type> [<form>]  an error report
//   prog9 <hex>...             a raw '9' telegram
//   freelist [<hex>...]        the free addresses (at most 31; 0105 0106)
//   freecount <n>|list|nak     the count answer (list: the list's length)
//   progquitt block|tele|none  how an address given to a unit is acknowledged
//   progsilent [<n>]           the next n list or count requests go unanswered
//   progstatus                 prints PROGSTATUS mode .. unit .. free <n> <list>
//   printed: PROGCMD <name> <adr1> <adr2> [idx <n>] for each command of the
//   PC, PROGSENT <name> block|tele for each message of the box, PROGSILENT,
//   PROGNOQUITT
// The devices in download mode; <dev> is box or camera, <cmd> one of start,
// stop, header, checksum, erase, write, reset, kill:
//   fwnak <dev> <cmd> [<n>]    Nak the next n such commands
//   fwsilent <dev> <cmd> [<n>] leave the next n such commands unanswered
//   fwbadsum [<n>]             the next n checksum answers are off by one
//   fwshortheader [<n>] [<len>]  the next n header answers hold 40 bytes (or
//                              len below 64; 0: an answer without data)
//   fwcamera present|absent|nak  no camera device: silence, or a Nak for all
//   fwheader <dev> <version> [<date> <time>]  the header of the running firmware
//   fwstatus <dev>             prints FWSTATUS <1|2> download <0|1> erased <n>
//                              written <n> bytes <n> sum <hex> restarts <n>
//                              killold <n> killnew <n>
//   fwsave <dev> <path>        the image written to a file; prints FWSAVED <bytes>
//   printed: FWCMD <1|2> <cmd> <block> [data <n>] for each command of the
//   PC, FWSILENT, FWNAK, FWABSENT, FWBADSUM, FWNOTINDOWNLOAD
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
//                              control acknowledged; answer_turns and
//                              answer_us: the simulator's wake-ups that
//                              wrote to the PC and its own time on them, from
//                              its poll's return to its last write's, in all)
//   ping                       prints PONG (every line before it is out)
//   quit
// Printed: "PTY <path>" once ready; "RX <hex> ok|badsum ANSWER <a>" for
// each telegram of the PC and "TX <hex> ..." for each of the box's, while
// tracing; the box's event lines (BLOCK, ANSWER, MUTED, KENNUNG, FRAME,
// RESET, CONFIG, CNAK, PCNAK, LOST, GAVEUP, WRONGBLOCK, WRONGTELE, ...);
// on V.24 "RXFRAME <hex>" and "TXFRAME <hex> [faults]" per block while
// tracing, "BADFRAME <why>" for a frame of the PC that failed; "OK"
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
