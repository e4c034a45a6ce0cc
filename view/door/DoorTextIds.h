#pragma once
// Language-text ids of the door-interface pages. Each has its text in all
// six language files (the page tests check every id of kDoorTextIds).

#include "ViewTextIds.h"

#include <array>

namespace dtxt {

// Shared with the other input and output pages.
inline constexpr int kNone = 80;           // no SMS provider chosen
inline constexpr int kSMSProviders = 230;  // button to the SMS providers page
inline constexpr int kFunktion = 260;      // "Function of the input:"
inline constexpr int kSignal = 261;        // "with signalling"
inline constexpr int kRnr = 262;           // "call number"
inline constexpr int kKettenruf = 263;     // "with chain call"
inline constexpr int kSprache = 264;       // voice output
inline constexpr int kSMSKeinDirekt = 265; // SMS when the direct number does not answer
inline constexpr int kSMSKeinKette = 266;  // SMS when the chain number does not answer
inline constexpr int kSMSImmer = 267;      // SMS always
inline constexpr int kSMSVerbindung = 268; // SMS on a successful connection
inline constexpr int kProvider = 269;      // "provider:"
inline constexpr int kHinweis = 270;       // "hint text:"
inline constexpr int kTuermatik = 271;     // time switch: door automation
inline constexpr int kDiversion = 272;     // time switch: call diversion
inline constexpr int kPG = 273;            // "for permission group:"
inline constexpr int kConcierge = 274;     // time switch: concierge function
inline constexpr int kModeNone = 275;      // input modes 0..3
inline constexpr int kModeSignal = 276;
inline constexpr int kModeSchaltuhr = 277;
inline constexpr int kModeEtagenruf = 278;
using vtxt::kForTln;
inline constexpr int kBasicGroup = vtxt::kGroup0; // permission groups 0 and 1
inline constexpr int kMasterGroup = vtxt::kGroup1;
inline constexpr int kForRufeingang = vtxt::kForTlnIT1;
inline constexpr int kSMSMissing = 1014; // SMS number or provider missing
inline constexpr int kKettenRnrMissing = 1033;

// The door-call texts page.
inline constexpr int kTuerTexte = 286; // heading and door texts
inline constexpr int kEtagenruf = 287; // floor-call text
inline constexpr int kTuerHelp = 299;  // help text of the page
inline constexpr int kRufton1 = 420;   // ring tones 1..3
inline constexpr int kRufton2 = 421;
inline constexpr int kRufton3 = 422;

// The multifunction relay page.
inline constexpr int kMfrTueroeffner = 348;
inline constexpr int kMfrLicht = 349;
inline constexpr int kMfrHeading = 350;
inline constexpr int kMfrSchalter = 351;
inline constexpr int kMfrTaster = 352;
inline constexpr int kMfrNSC = 353;
inline constexpr int kMfrVideo = 354;

// The multifunction input page.
inline constexpr int kSchaltuhrHelp = 378;     // help label of the time switch
inline constexpr int kEtagenRnrMissing = 1041; // floor call without a number
inline constexpr int kSignalRnrMissing = 1042; // signalling without a number
inline constexpr int kConciergeOff = 1043;     // concierge function off or without a number

inline constexpr std::array kDoorTextIds = {
    kNone,          kFunktion,         kSMSProviders,     kSignal,
    kRnr,           kKettenruf,        kSprache,          kSMSKeinDirekt,
    kSMSKeinKette,  kSMSImmer,         kSMSVerbindung,    kProvider,
    kHinweis,       kTuermatik,        kDiversion,        kPG,
    kConcierge,     kModeNone,         kModeSignal,       kModeSchaltuhr,
    kModeEtagenruf, kForTln,           kBasicGroup,       kMasterGroup,
    kForRufeingang, kSMSMissing,       kKettenRnrMissing, kTuerTexte,
    kEtagenruf,     kTuerHelp,         kRufton1,          kRufton2,
    kRufton3,       kMfrTueroeffner,   kMfrLicht,         kMfrHeading,
    kMfrSchalter,   kMfrTaster,        kMfrNSC,           kMfrVideo,
    kSchaltuhrHelp, kEtagenRnrMissing, kSignalRnrMissing, kConciergeOff,
};

} // namespace dtxt
