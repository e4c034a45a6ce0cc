#include "DbgOut.h"

#include "MoxTrace.h"
#include "PermSettings.h"
#include "ProcessLock.h"
#include "SettingsStore.h"
#include "TraceSink.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

using mox::platform::SettingsStore;

namespace {

// Master switch, read by InitPermTrace. Atomic: the ISDN receive thread
// reads it outside the lock.
std::atomic<bool> g_dbgOut{false};

// The process-wide buffers; used only under MoxProcessLock().
char g_szBuffer[kDbgMessageBuffer];
char g_szLine[kDbgMaxLine];

struct Channel {
    int channel;
    const char* name;
    const char* prefix;
};

constexpr Channel kChannels[] = {
    {eDbgView, "view", "<mox> < view > \t  "},
    {eDbgDoc, "doc", "<mox> < doc >  \t  "},
    {eDbgTransfer, "transfer", "<mox> < transfer > "},
    {eDbgTDump, "tdump", "<mox> < tdump > \t  "},
    {eDbgTlnProg, "tlnprog", "<mox> < tln-prog > "},
    {eDbgPort, "port", "<mox> < port > "},
    {eDbgCapi, "capi", "<mox> < capi > "},
};
constexpr char kBasicPrefix[] = "<mox> < basic >    ";

// Builds prefix + message in the line buffer, cut so that the newline always
// fits: a cut line that lost its newline would run into the next one in the
// trace file. Caller holds the lock.
void WriteLine(int channel, const char* msg, size_t msgLen) {
    const char* prefix = DbgChannelPrefix(channel);
    const size_t room = kDbgMaxLine - 1; // one byte kept for the newline
    size_t n = std::min(std::strlen(prefix), room);
    std::memcpy(g_szLine, prefix, n);
    const size_t take = std::min(msgLen, room - n);
    if (take > 0)
        std::memcpy(g_szLine + n, msg, take);
    n += take;
    g_szLine[n++] = '\n';
    mox::platform::TraceWrite(std::string_view(g_szLine, n));
}

void TraceHook(int channel, const char* text) {
    DbgOutText(channel, text ? std::string_view(text) : std::string_view());
}

// The libraries ask this before they build a line, so what DbgOut would
// drop is never formatted.
bool TraceWanted(int channel) {
    return g_dbgOut.load() && GetPermTrace(channel);
}

} // namespace

const char* DbgChannelName(int channel) {
    for (const Channel& c : kChannels)
        if (c.channel == channel)
            return c.name;
    return nullptr;
}

const char* DbgChannelPrefix(int channel) {
    for (const Channel& c : kChannels)
        if (c.channel == channel)
            return c.prefix;
    return kBasicPrefix;
}

bool GetPermTrace(int channel) {
    if (channel == eDbgAlways)
        return true;
    const char* name = DbgChannelName(channel);
    if (!name)
        return false;
    const auto v = SettingsStore::Instance().GetDword(kPermKeyTrace, name);
    return v && *v != 0;
}

void SetPermTrace(int channel, bool on) {
    if (const char* name = DbgChannelName(channel))
        SettingsStore::Instance().SetDword(kPermKeyTrace, name, on ? 1 : 0);
}

void InitPermTrace(const std::function<void(int channel, bool on)>& menuCheck) {
    const auto master = SettingsStore::Instance().GetDword(kPermKey, kPermDbgOut);
    g_dbgOut.store(master && *master != 0);
    mox::platform::SetTraceFile(GetPermDbgFile());
    MoxSetTraceHook(&TraceHook, &TraceWanted);
    if (!menuCheck)
        return;
    for (const Channel& c : kChannels) {
        if (const auto v = SettingsStore::Instance().GetDword(kPermKeyTrace, c.name))
            menuCheck(c.channel, *v != 0);
    }
}

void DbgOut(int channel, const char* format, ...) {
    if (!g_dbgOut.load() || !GetPermTrace(channel) || !format)
        return;
    std::lock_guard<std::recursive_mutex> lock(MoxProcessLock());
    va_list ap;
    va_start(ap, format);
    const int nBuf = std::vsnprintf(g_szBuffer, sizeof(g_szBuffer), format, ap);
    va_end(ap);
    // A message too long for the buffer is cut rather than ending the
    // program: a trace line must never take the program down.
    size_t len = 0;
    if (nBuf < 0)
        g_szBuffer[0] = '\0';
    else
        len = std::min(static_cast<size_t>(nBuf), sizeof(g_szBuffer) - 1);
    WriteLine(channel, g_szBuffer, len);
}

void DbgOutText(int channel, std::string_view text) {
    if (!g_dbgOut.load() || !GetPermTrace(channel))
        return;
    std::lock_guard<std::recursive_mutex> lock(MoxProcessLock());
    WriteLine(channel, text.data(), std::min(text.size(), kDbgMessageBuffer - 1));
}
