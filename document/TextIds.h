#pragma once
// Every language-text id the program's code uses, by name, and the list of
// them all. A test checks that each has its text in all six language files;
// a new id goes in here and in res/lang/<language>/ together.

#include <array>

namespace txt {

// Common texts.
inline constexpr int kJa = 255;             // yes (reports)
inline constexpr int kNein = 256;           // no (reports)
inline constexpr int kCaption = 1002;       // program title, caption of message boxes
inline constexpr int kCaptionFehler = 1009; // caption of port and firmware failures
inline constexpr int kOk = 3000;            // OK button
inline constexpr int kAbbrechen = 3001;     // cancel button

// SMS protocol words: compared with the words of the SMS default files, so
// the same in every language.
inline constexpr int kSmsProtokoll1 = 506;
inline constexpr int kSmsProtokoll2 = 507;

// End of a transfer (transfer-end messages of the main window).
inline constexpr int kTransferOk = 1020;
inline constexpr int kTransferFehler = 1021;

inline constexpr std::array kUsedTextIds = {
    kJa,      kNein,          kSmsProtokoll1, kSmsProtokoll2,
    kCaption, kCaptionFehler, kTransferOk,    kTransferFehler,
    kOk,      kAbbrechen,
};

} // namespace txt
