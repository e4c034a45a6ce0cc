#pragma once
// Invariant checks of the GUI: a failed check names the expression, the
// source and the line in the trace and ends the program. They guard states
// the program's own code must never reach (a command without its document,
// a page without its host), not input from outside.

#include "DbgOut.h"

#include <cstdlib>

[[noreturn]] inline void MoxInvariantFailed(const char* expr, const char* file, int line) {
    DbgOut(eDbgAlways, "assertion \"%s\" failed in %s line %d", expr, file, line);
    std::abort();
}

#define MOX_INVARIANT(expr)                                                                        \
    do {                                                                                           \
        if (!(expr))                                                                               \
            MoxInvariantFailed(#expr, __FILE__, __LINE__);                                         \
    } while (0)
