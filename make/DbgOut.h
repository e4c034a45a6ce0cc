#pragma once
// Trace output of the program. A line names its channel by a prefix; each
// channel is switched on or off in the settings ("trace" subkey), and the
// master switch "dbgout" silences everything unless set. Lines go to stderr,
// or to the file named by the settings value "dbgfile".
//
// Thread rule: DbgOut may be called from any thread. A line is built in the
// process-wide buffers and written under MoxProcessLock().

#include <cstddef>
#include <functional>
#include <string_view>

enum eDbgChannel : int {
    eDbgView = 0,
    eDbgDoc = 1,
    eDbgTransfer = 2,
    eDbgTDump = 3,
    eDbgTlnProg = 4,
    eDbgPort = 5,
    eDbgCapi = 6,
    eDbgAlways = 255, // always on while the master switch is
};

// Size of the message buffer; a longer message is cut to 15999 bytes.
constexpr size_t kDbgMessageBuffer = 16000;
// Longest line written, newline included.
constexpr size_t kDbgMaxLine = 1024;

// One trace line, formatted printf-style. The format is always a literal of
// the program, never a language text.
void DbgOut(int channel, const char* format, ...) __attribute__((format(printf, 2, 3)));

// One trace line with text already built (the data library's trace hook).
void DbgOutText(int channel, std::string_view text);

// Reads the master switch and the trace file from the settings and routes
// the data library's trace into DbgOut. When the main window exists it
// passes menuCheck, which is then called for every channel 0..6 whose value
// exists in the settings, with the value (a missing value leaves the menu
// item as it is).
void InitPermTrace(const std::function<void(int channel, bool on)>& menuCheck = {});

// Whether the channel is switched on; reads the settings on every call.
// Channel 255 is always on; a channel without a setting is off.
bool GetPermTrace(int channel);

// Switches one channel 0..6 (the trace menu); other channels are ignored.
void SetPermTrace(int channel, bool on);

// Settings value name of a channel 0..6, or nullptr.
const char* DbgChannelName(int channel);

// Prefix of a channel's lines; channels outside the table use the basic one.
const char* DbgChannelPrefix(int channel);
