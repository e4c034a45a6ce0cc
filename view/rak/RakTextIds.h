#pragma once
// Language-text ids of the SMS providers page and the universal-controller
// input and output pages. Each has its text in all six language files (the
// page tests check every id of kRakTextIds).

#include "ViewTextIds.h"

#include <array>

namespace rtxt {

inline constexpr int kNone = 80; // "none": no provider, protocol 0
inline constexpr int kSmsButton = 230;
inline constexpr int kCaption = 1002;

// SMS providers page.
inline constexpr int kSmsHeading = 500;
inline constexpr int kColNr = 501;
inline constexpr int kColProvider = 502;
inline constexpr int kColRnr = 503;
inline constexpr int kColProtokoll = 504;
// The protocol words; the SMS default files use the same ones.
inline constexpr int kProtokollUCP = 506;
inline constexpr int kProtokollTAP = 507;

// Signal inputs page.
inline constexpr int kTabInputs = 117;
inline constexpr int kModeLabel = 260;
inline constexpr int kSignal = 261;
inline constexpr int kRnr = 262;
inline constexpr int kKettenruf = 263;
inline constexpr int kSprachAGInput = 264;
inline constexpr int kSMSKeinDirektruf = 265;
inline constexpr int kSMSKeinKettenruf = 266;
inline constexpr int kSMSImmer = 267;
inline constexpr int kSMSVerbindung = 268;
inline constexpr int kProvider = 269;
inline constexpr int kInputText = 270;
inline constexpr int kTuermatik = 271;
inline constexpr int kDiversion = 272;
inline constexpr int kForGroup = 273;
inline constexpr int kConcierge = 274;
inline constexpr int kModeNone = 275;
inline constexpr int kModeMelde = 276;
inline constexpr int kModeSchaltuhr = 277;
using vtxt::kGroup0;
using vtxt::kGroup1;
inline constexpr int kNoDirektRnr = 1034;
inline constexpr int kNoKettenRnr = 1033;
inline constexpr int kNoSMS = 1014;

// Switching outputs page.
inline constexpr int kTabOutputs = 116;
using vtxt::kForTln;
inline constexpr int kOutputFunction = 340;
inline constexpr int kSchalter = 341;
inline constexpr int kNSC = 342;
inline constexpr int kVideo = 343;
inline constexpr int kSpracheOutput = 344;
inline constexpr int kOutputText = 345;
inline constexpr int kForCallInput = 346;
// The label of the subscriber list for door-interface type 1, whose
// subscribers are the call inputs.
inline constexpr int kForCallInputIT1 = vtxt::kForTlnIT1;

inline constexpr std::array kRakTextIds = {
    kNone,
    kSmsButton,
    kCaption,
    kSmsHeading,
    kColNr,
    kColProvider,
    kColRnr,
    kColProtokoll,
    kProtokollUCP,
    kProtokollTAP,
    kTabInputs,
    kModeLabel,
    kSignal,
    kRnr,
    kKettenruf,
    kSprachAGInput,
    kSMSKeinDirektruf,
    kSMSKeinKettenruf,
    kSMSImmer,
    kSMSVerbindung,
    kProvider,
    kInputText,
    kTuermatik,
    kDiversion,
    kForGroup,
    kConcierge,
    kModeNone,
    kModeMelde,
    kModeSchaltuhr,
    kGroup0,
    kGroup1,
    kNoDirektRnr,
    kNoKettenRnr,
    kNoSMS,
    kTabOutputs,
    kForTln,
    kOutputFunction,
    kSchalter,
    kNSC,
    kVideo,
    kSpracheOutput,
    kOutputText,
    kForCallInput,
    kForCallInputIT1,
};

} // namespace rtxt
