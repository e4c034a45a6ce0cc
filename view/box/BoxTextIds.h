#pragma once
// Language-text ids of the box settings, camera, barred-number, event-log
// and firmware pages. Each has its text in all six language files (the
// page tests check every id of kBoxTextIds).

#include <array>

namespace btxt {

// Box settings.
inline constexpr int kGrundeinstellung = 150; // "basic settings:"
inline constexpr int kLand = 151;
inline constexpr int kSprache = 152;
inline constexpr int kRufnummern = 153; // "call numbers:"
inline constexpr int kMsn = 154;
inline constexpr int kAmtskennzahl = 157;
inline constexpr int kConcierge = 160; // "concierge:"
inline constexpr int kConciergeAktiv = 161;
inline constexpr int kDirektRnr = 162;
inline constexpr int kLandFirst = 165; // the 8 countries, 165..172
inline constexpr int kLandCount = 8;
inline constexpr int kSpracheFirst = 180; // the 6 languages, 180..185
inline constexpr int kSpracheCount = 6;
inline constexpr int kVideomonitor = 252;
inline constexpr int kConciergeNoRnr = 1011; // concierge on without a number

// Barred numbers.
inline constexpr int kSperrHelp = 237;
inline constexpr int kSperrnummern = 280;

// Camera.
inline constexpr int kKameratyp = 380;
inline constexpr int kCodierqual = 381;
inline constexpr int kBandbreite = 382;
inline constexpr int kKontrast = 383;
inline constexpr int kHelligkeit = 384;
inline constexpr int kSaettigung = 385;
inline constexpr int kKMREinstellungen = 386;
inline constexpr int kCodierqualCaption = 387;
inline constexpr int kKameratyp1 = 390;
inline constexpr int kKameratyp2 = 391;
inline constexpr int kScaleLow = 394;
inline constexpr int kScaleHigh = 395;
inline constexpr int kScharf = 398;
inline constexpr int kSchnell = 399;

// Event log.
inline constexpr int kOverwrite = 33; // the file exists: replace it?
inline constexpr int kELHeading = 120;
inline constexpr int kELChooseFile = 121;
inline constexpr int kELGo = 122;
inline constexpr int kELDialogTitle = 123;
inline constexpr int kELNoFile = 124;
inline constexpr int kELWriteFailed = 125;
inline constexpr int kELReading = 126;
inline constexpr int kELSaved = 127;
inline constexpr int kELMDownload = 128;
inline constexpr int kELMOpen = 129;
inline constexpr int kELMSaveFirst = 132;
inline constexpr int kELMReadFailed = 133; // the event log could not be read (both pages)
inline constexpr int kELMSaveAs = 134;

// Firmware.
inline constexpr int kFWDownload = 93;
inline constexpr int kNotPresent = 94;
inline constexpr int kFWHeading = 95;
inline constexpr int kFWChoose = 96;
inline constexpr int kFWCurrentFile = 97;
inline constexpr int kFWDevice = 98;
inline constexpr int kFWVersion = 99;
inline constexpr int kFWDeviceBox = 205;
inline constexpr int kFWDeviceKMR = 233;
inline constexpr int kFWDefExt = 257;
inline constexpr int kFWDialogTitle = 258;
inline constexpr int kFWFilter = 259;
inline constexpr int kFWDate = 3302;
inline constexpr int kFWTime = 3303;
inline constexpr int kFWBadHeader = 3310;
inline constexpr int kFWBadChecksum = 3311;
inline constexpr int kFWCaption = 1009;
inline constexpr int kFWUnreadable = 1013;

inline constexpr std::array kBoxTextIds = {
    kGrundeinstellung,
    kLand,
    kSprache,
    kRufnummern,
    kMsn,
    kAmtskennzahl,
    kConcierge,
    kConciergeAktiv,
    kDirektRnr,
    165,
    166,
    167,
    168,
    169,
    170,
    171,
    172,
    180,
    181,
    182,
    183,
    184,
    185,
    kVideomonitor,
    kConciergeNoRnr,
    kSperrHelp,
    kSperrnummern,
    kKameratyp,
    kCodierqual,
    kBandbreite,
    kKontrast,
    kHelligkeit,
    kSaettigung,
    kKMREinstellungen,
    kCodierqualCaption,
    kKameratyp1,
    kKameratyp2,
    kScaleLow,
    kScaleHigh,
    kScharf,
    kSchnell,
    kOverwrite,
    kELHeading,
    kELChooseFile,
    kELGo,
    kELDialogTitle,
    kELNoFile,
    kELWriteFailed,
    kELReading,
    kELSaved,
    kELMDownload,
    kELMOpen,
    kELMSaveFirst,
    kELMReadFailed,
    kELMSaveAs,
    kFWDownload,
    kNotPresent,
    kFWHeading,
    kFWChoose,
    kFWCurrentFile,
    kFWDevice,
    kFWVersion,
    kFWDeviceBox,
    kFWDeviceKMR,
    kFWDefExt,
    kFWDialogTitle,
    kFWFilter,
    kFWDate,
    kFWTime,
    kFWBadHeader,
    kFWBadChecksum,
    kFWCaption,
    kFWUnreadable,
};

} // namespace btxt
