#pragma once
// Language-text ids of the start-up, the main window, the configuration
// tree and the about box. Each has its text in all six language files (the
// controller tests check every id of kMainTextIds).

#include <array>

namespace mtxt {

inline constexpr int kUsage = 2;              // the command line's usage text
inline constexpr int kFolderEventLog = 32;    // tree: event-log folder
inline constexpr int kOverwrite = 33;         // the file exists: replace it?
inline constexpr int kAskDefaults = 37;       // load the box with the default values?
inline constexpr int kAskWriteAdr = 38;       // write the subscriber addresses too?
inline constexpr int kTitleIsdn = 67;         // title: ISDN link part
inline constexpr int kStatusFile = 141;       // status panel: "configuration"
inline constexpr int kCaption = 1002;         // title, caption of message boxes
inline constexpr int kUnnamed = 1000;         // name of an unnamed document
inline constexpr int kSaveFailed = 1001;      // the file could not be saved
inline constexpr int kOpenFailed = 1003;      // the file %s could not be opened
inline constexpr int kFileFilter = 1004;      // filter of the file dialogs
inline constexpr int kAskSave = 1005;         // save the changes?
inline constexpr int kFileMissing = 1006;     // the recent file no longer exists
inline constexpr int kAskWriteAdrNote = 1010; // explanation of question 38
inline constexpr int kReadFailed = 1018;      // reading from the box failed
inline constexpr int kReadOk = 1019;          // the configuration was read
inline constexpr int kTransferOk = 1020;
inline constexpr int kTransferFailed = 1021;
inline constexpr int kWriteFailed = 1022;  // writing to the box failed
inline constexpr int kRestartInfo = 1031;  // the box is restarted now
inline constexpr int kAboutProduct = 2000; // main window caption tag, about: product
inline constexpr int kAboutVersion = 2001;
inline constexpr int kAboutRights = 2002;
inline constexpr int kAboutCaption = 2003;
inline constexpr int kOk = 3000;
inline constexpr int kIsdnNoReason = 9055; // the line was cleared without a reason
// A dial the ISDN link refused (the dialogs refuse numbers that are too long).
inline constexpr int kDialCallUp = 6020; // a call of ours is up or being set up
inline constexpr int kDialFailed = 6021; // any other refusal
inline constexpr int kToolDial = 9002;
inline constexpr int kToolDisconnect = 9003;

// Menu items, tool buttons and labels of the main window (their Tags).
inline constexpr std::array kMainFormIds = {
    8,
    9,
    10,
    11,
    12,
    13,
    14,
    16,
    17,
    18,
    19,
    21,
    22,
    24,
    27,
    28,
    29,
    30,
    31,
    39,
    50,
    51,
    52,
    53,
    54,
    56,
    57,
    59,
    60,
    kToolDial,
    kToolDisconnect,
};

// Node captions of the configuration tree.
inline constexpr std::array kTreeIds = {
    32,  201, 202, 203, 204, 205, 206, 207, 209, 210, 211, 218, 219, 220, 221, 222,
    224, 225, 226, 227, 228, 229, 230, 232, 233, 234, 235, 236, 254, 282, 379, 441,
};

// Messages of the main window and the start-up.
inline constexpr std::array kMessageIds = {
    kUsage,        kAskDefaults,    kAskWriteAdr,     kTitleIsdn,   kStatusFile,
    kCaption,      kUnnamed,        kSaveFailed,      kOpenFailed,  kFileFilter,
    kAskSave,      kFileMissing,    kAskWriteAdrNote, kReadFailed,  kReadOk,
    kTransferOk,   kTransferFailed, kWriteFailed,     kRestartInfo, kAboutProduct,
    kAboutVersion, kAboutRights,    kAboutCaption,    kOk,          kIsdnNoReason,
    kOverwrite,    kDialCallUp,     kDialFailed,
};

} // namespace mtxt
