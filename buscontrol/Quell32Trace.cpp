#include "Quell32Trace.h"

#include "SettingsStore.h"
#include "TraceSink.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace quell32 {

namespace {

constexpr char kKey[] = "Software\\Kestrin\\Halvox ISDN";
constexpr char kTraceKey[] = "Software\\Kestrin\\Halvox ISDN\\trace";

bool TraceOn() {
    auto& s = mox::platform::SettingsStore::Instance();
    return s.GetDword(kKey, "dbgout").value_or(0) != 0 &&
           s.GetDword(kTraceKey, "port").value_or(0) != 0;
}

} // namespace

void Quell32Trace(const char* format, ...) {
    if (!TraceOn())
        return;
    char buf[1024];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    if (n < 0)
        return;
    std::string line(buf);
    line += '\n';
    mox::platform::TraceWrite(line);
}

} // namespace quell32
