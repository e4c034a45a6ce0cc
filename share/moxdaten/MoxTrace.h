#pragma once
// The data library's only diagnostic output. The library links nothing but
// the standard library, so the host (the program's trace layer, or a test)
// installs a hook that carries the line on; without a hook a trace line is
// dropped.

using MoxTraceHook = void (*)(int channel, const char* text);

// Installs the hook for every later MoxTrace; nullptr removes it. Safe to call
// from any thread; a line being traced concurrently goes to the old or the new
// hook, never to a half-set one.
void MoxSetTraceHook(MoxTraceHook hook);

// Hands one line on the given trace channel to the installed hook.
void MoxTrace(int channel, const char* text);
