#pragma once
// Trace lines of the bus control. The module is its own deliverable and
// links nothing of the program, so it reads the program's switches itself:
// a line is written only while the master switch "dbgout" and the "port"
// channel are on.

namespace quell32 {

void Quell32Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace quell32
