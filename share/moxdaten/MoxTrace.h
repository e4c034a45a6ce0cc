#pragma once
// The data library's only diagnostic output. The library links nothing but
// the standard library, so the host (the program's trace layer, or a test)
// installs a hook that carries the line on; without a hook a trace line is
// dropped.

using MoxTraceHook = void (*)(int channel, const char* text);
// Whether the host would write a line on the channel at all.
using MoxTraceFilter = bool (*)(int channel);

// Installs the hook for every later MoxTrace; nullptr removes it. wanted, when
// given, tells which channels the hook writes; without it every channel is
// wanted. Safe to call from any thread; a line being traced concurrently goes
// to the old or the new hook, never to a half-set one.
void MoxSetTraceHook(MoxTraceHook hook, MoxTraceFilter wanted = nullptr);

// Hands one line on the given trace channel to the installed hook.
void MoxTrace(int channel, const char* text);

// Whether a line on the channel reaches anyone: a hook is installed and its
// filter lets the channel through. Callers that build a line (formatting,
// hex dumps) ask first, so a channel that is off costs nothing.
bool MoxTraceWanted(int channel);
