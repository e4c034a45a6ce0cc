#include "MoxTrace.h"

#include <atomic>

namespace {
// Atomic because the host may install its hook while another thread already
// writes images.
std::atomic<MoxTraceHook> g_traceHook{nullptr};
} // namespace

void MoxSetTraceHook(MoxTraceHook hook) {
    g_traceHook.store(hook, std::memory_order_release);
}

void MoxTrace(int channel, const char* text) {
    MoxTraceHook hook = g_traceHook.load(std::memory_order_acquire);
    if (hook && text)
        hook(channel, text);
}
