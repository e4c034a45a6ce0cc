#include "MoxTrace.h"

#include <atomic>

namespace {
// Atomic because the host may install its hook while another thread already
// writes images.
std::atomic<MoxTraceHook> g_traceHook{nullptr};
std::atomic<MoxTraceFilter> g_traceFilter{nullptr};
} // namespace

void MoxSetTraceHook(MoxTraceHook hook, MoxTraceFilter wanted) {
    g_traceFilter.store(wanted, std::memory_order_release);
    g_traceHook.store(hook, std::memory_order_release);
}

void MoxTrace(int channel, const char* text) {
    MoxTraceHook hook = g_traceHook.load(std::memory_order_acquire);
    if (hook && text)
        hook(channel, text);
}

bool MoxTraceWanted(int channel) {
    if (!g_traceHook.load(std::memory_order_acquire))
        return false;
    MoxTraceFilter wanted = g_traceFilter.load(std::memory_order_acquire);
    return !wanted || wanted(channel);
}
