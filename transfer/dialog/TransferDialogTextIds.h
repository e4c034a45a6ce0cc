#pragma once
// Language-text ids of the transfer form. Each has its text in all six
// language files (the form's tests check every id of kTransferDialogTextIds).
// The engine names the ids of its captions and information lines itself
// (BlockProtocolDefs.h); they are listed here again so the check covers them.

#include "BlockProtocolDefs.h"
#include "FirmwareDefs.h"

#include <array>

namespace ttxt {

inline constexpr int kCaptionReceive = kTextCaptionReceive;   // 90: reading the configuration
inline constexpr int kCaptionSend = kTextCaptionSend;         // 91: sending the configuration
inline constexpr int kCaptionEventLog = kTextCaptionEventLog; // 126: reading the event log
inline constexpr int kTransferFailed = kTextTransferFailed; // 1007: the run failed or was cancelled
inline constexpr int kReceiveBlock = kTextReceiveBlock;     // 3342: "%d": block received
inline constexpr int kSendBlock = kTextSendBlock;           // 3343: "%d": block sent
inline constexpr int kCaptionFehler = 1009;                 // caption of a refused bus port
inline constexpr int kAbbrechen = 3001;                     // the cancel button
inline constexpr int kFirmwareBox = 3320;                   // group box of the firmware download
inline constexpr int kCaptionMox = 1002;                    // caption of the program's messages
inline constexpr int kIsdnNumberTooLong = 3344;             // "%s": the number to dial is too long
inline constexpr int kIsdnOwnNumberTooLong = 3345;
inline constexpr int kCapiRegisterFailed = 6120; // "%04X": CAPI refused the registration
inline constexpr int kCapiThreadFailed = 6121;   // the ISDN receive thread did not start
// The firmware group.
inline constexpr int kFWDevice = 98;           // "geraet": header column
inline constexpr int kFWVersion = 99;          // "version": header column
inline constexpr int kFWOpenExt = 257;         // the open dialog's default extension
inline constexpr int kFWOpenTitle = 258;       // the open dialog's title
inline constexpr int kFWOpenFilter = 259;      // the open dialog's filter
inline constexpr int kFWDateiCaption = 3301;   // "gewählte datei:"
inline constexpr int kFWDate = 3302;           // "datum": header column
inline constexpr int kFWTime = 3303;           // "zeit": header column and elapsed time
inline constexpr int kFWKTX = 3304;            // "halvox:": the box's header row
inline constexpr int kFWDownloadBtn = 3305;    // "übertragung starten"
inline constexpr int kFWDurchsatz = 3321;      // "durchsatz:"
inline constexpr int kFWDateBtn = 3324;        // "firmwaredatei laden"
inline constexpr int kFWAskCancel = kTextFWAskCancel;   // 6035: stop the download?
inline constexpr int kFWNotUpdated = kTextFWNotUpdated; // 6036: cancelled, not updated

inline constexpr std::array kTransferDialogTextIds = {
    kCaptionReceive,  kCaptionSend,    kReceiveBlock,      kSendBlock,
    kCaptionEventLog, kTransferFailed, kCaptionFehler,     kAbbrechen,
    kFirmwareBox,     kCaptionMox,     kIsdnNumberTooLong, kIsdnOwnNumberTooLong,
    kFWDevice,        kFWVersion,      kFWOpenExt,         kFWOpenTitle,
    kFWOpenFilter,    kFWDateiCaption, kFWDate,            kFWTime,
    kFWKTX,           kFWDownloadBtn,  kCapiThreadFailed,  kCapiRegisterFailed,
    kFWDurchsatz,     kFWDateBtn,      kFWAskCancel,       kFWNotUpdated,
};

} // namespace ttxt
