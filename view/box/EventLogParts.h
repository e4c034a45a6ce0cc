#pragma once
// What the two event-log pages share: reading the log's dump from the box
// through the transfer dialog, and choosing the file a dump or listing is
// saved to.

#include <QString>

#include <cstdint>
#include <string>

class IMainTransfer;
class TDataView;

namespace logpage {

// Files of the log, as the file dialogs offer them.
inline constexpr const char* kFilter = "*.log|*.log|*.*|*.*";
inline constexpr const char* kDefaultExt = "log";
// What the transfer dialog returns for a completed run.
inline constexpr int kResultOk = 1;

// Reads the event log from the box into `dump` (unread bytes stay 0xFF);
// returns the result of the transfer dialog. The dialog runs an event loop
// in which the page may go: the caller makes sure it is still there before
// it touches `dump` again.
int ReadDump(IMainTransfer& transfer, const char* infoText, std::uint8_t* dump, std::uint32_t size);

// Asks for the file to save to, under the dialog title given: the default
// extension is added, and an existing file is replaced only when the user
// agrees. Empty when the user cancels or refuses, or when the page went
// while the question was open.
std::string ChooseSaveFile(TDataView* page, const QString& initial, const QString& title);

} // namespace logpage
