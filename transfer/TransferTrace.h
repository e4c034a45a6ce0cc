#pragma once
// Trace lines of the transfer. The transfer links no trace layer of its own:
// lines go through the data library's hook (MoxTrace), which the program
// routes into DbgOut and a test may catch.

#include <cstddef>
#include <cstdint>

// Trace channels used here (the program's channel numbers).
enum eTransferTraceChannel : int {
    eTraceTransfer = 2,
    eTraceTDump = 3,
    eTraceTlnProg = 4,
    eTracePort = 5,
};

// One trace line, formatted printf-style. The format is always a literal of
// this library, never a language text. A message longer than the line buffer
// is cut.
void TransferTrace(int channel, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Traces prefix followed by "0x%02x " for every byte, on the given channel.
void TransferTraceBytes(int channel, const char* prefix, const std::uint8_t* bytes,
                        std::size_t len);
