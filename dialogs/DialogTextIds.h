#pragma once
// Language-text ids of the link setting and the ISDN connect dialog. Each
// has its text in all six language files (the dialog tests check every id
// of kDialogTextIds and every item text).

#include <array>

namespace dtxt {

// Link setting dialog.
inline constexpr int kComPortCaption = 71; // "Programming interface"
inline constexpr int kComPortLabel = 72;   // "KTX configuration via:"
inline constexpr int kOwnNumber = 73;      // "own number:"
inline constexpr int kComPortItem0 = 80;   // items 80 + setting: none, 4 bus, 4 serial, ISDN
inline constexpr int kComPortItems = 10;

// ISDN connect dialog.
inline constexpr int kConnectCaption = 58; // "Set up an ISDN connection"
inline constexpr int kDial = 65;           // "Dial"
inline constexpr int kConnectTo = 66;      // "Connect to:"

// Both.
inline constexpr int kOk = 3000;
inline constexpr int kCancel = 3001;
inline constexpr int kCaption = 1002; // caption of the message boxes
// "%s" the number, "%d" its digits, "%d" the most digits a call carries.
inline constexpr int kNumberTooLong = 1090;

// Every id but the items, which are kComPortItem0 .. + kComPortItems - 1.
inline constexpr std::array kDialogTextIds = {
    kComPortCaption, kComPortLabel, kOwnNumber, kConnectCaption, kDial,
    kConnectTo,      kOk,           kCancel,    kCaption,        kNumberTooLong,
};

} // namespace dtxt
