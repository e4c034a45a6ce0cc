#pragma once
// Language-text ids of the system, devices and permission-groups pages.
// Each id in kSystemPageTextIds has its text in all six language files (the
// page tests check them); ids shared with other pages are marked, and those
// of the page base (vtxt) are listed too.

#include "ViewTextIds.h"

#include <array>

namespace stxt {

// --- system page
inline constexpr int kSprachwaage = 163;       // voice balance check box
inline constexpr int kSprachausgabe = 264;     // voice output (shared with the controller pages)
inline constexpr int kPegelGehend = 284;       // outgoing level
inline constexpr int kNachtriggern = 288;      // re-triggering of a door call
inline constexpr int kPegelKommend = 289;      // incoming level
inline constexpr int kZeiten = 290;            // heading of the times
inline constexpr int kTuerrufannahme = 291;    // door-call acceptance
inline constexpr int kVerbindungsdauer = 292;  // maximum connection time
inline constexpr int kSchaltdauer = 294;       // multifunction-relay switching time
inline constexpr int kKettenruf = 295;         // chain-call time
inline constexpr int kSekunden = 297;          // unit behind the times
inline constexpr int kVerzoegerungszeit = 298; // door-automation delay
inline constexpr int kPegel = 388;             // heading of the levels

// --- devices page
inline constexpr int kGeraete = 360; // heading
inline constexpr int kKMR = 361;     // camera device group
inline constexpr int kNein = 363;    // "no"
inline constexpr int kJa = 364;      // "yes"
inline constexpr int kIT1 = 365;     // door-interface variants (shared with the header)
inline constexpr int kIT2 = 366;
inline constexpr int kIT3 = 376;
inline constexpr int kEIB = 368;    // installation bus group (shared with the header)
inline constexpr int kIT = 370;     // door-interface group
inline constexpr int kRAK = 372;    // universal controller group
inline constexpr int kBSM = 373;    // bus switching module group
inline constexpr int kKamera = 375; // camera control check boxes

// --- permission-groups page
inline constexpr int kTabPG = 115;         // the tab control
inline constexpr int kOverlapGroup0 = 130; // the right is also given by the basic group
inline constexpr int kOverlapOther = 131;  // the right is also given by another group
inline constexpr int kCodeInvalid = 231;   // the code is not 4 digits or is taken
inline constexpr int kCaption = 300;       // heading of the group
inline constexpr int kCodeLabel = 301;     // "code"
inline constexpr int kKomfort = 302;       // heading of the comfort functions
inline constexpr int kAll = 303;           // "all"
inline constexpr int kNone = 304;          // "none"
inline constexpr int kBasis = 305;         // heading of the basic functions
inline constexpr int kSchaltcodes = 306;   // heading of the switching codes
inline constexpr int kTueroeffnen = 307;
inline constexpr int kLicht = 308;
inline constexpr int kTueranwahl = 310;
inline constexpr int kMfr = 311;
inline constexpr int kRAKRight = 312;
inline constexpr int kTuermatik = 313;
inline constexpr int kKettenrufRight = 314;
inline constexpr int kSignal = 315;
inline constexpr int kDiversion = 316;
inline constexpr int kKettenRnr = 318;    // chain-call number label
inline constexpr int kSignalRnr = 319;    // signalling number label
inline constexpr int kDiversionRnr = 320; // diversion number label
inline constexpr int kRAK1 = 321;         // outputs 1..12: 321..332
inline constexpr int kEinwahl = 335;
inline constexpr int kSchaltcode51 = 336;
inline constexpr int kTuermatikCheck = 337;
inline constexpr int kKettenrufCheck = 338;
inline constexpr int kSignalCheck = 339;
inline constexpr int kDiversionCheck = 347;
inline constexpr int kSchaltcode52 = 355; // 355..359: switching codes 52..56
inline constexpr int kEGNone = 362;       // "none" in the subscriber list
inline constexpr int kSchaltcode78 = 367; // also the scroll box's tag
inline constexpr int kTuermatikSignal = 377;
inline constexpr int kNeedKettenRnr = 1033; // (shared)
inline constexpr int kNeedSignalRnr = 1034; // (shared)
inline constexpr int kNeedDiversionRnr = 1035;

inline constexpr std::array kSystemPageTextIds = {
    kSprachwaage,
    kSprachausgabe,
    kPegelGehend,
    kNachtriggern,
    kPegelKommend,
    kZeiten,
    kTuerrufannahme,
    kVerbindungsdauer,
    kSchaltdauer,
    kKettenruf,
    kSekunden,
    kVerzoegerungszeit,
    kPegel,
    kGeraete,
    kKMR,
    kNein,
    kJa,
    kIT1,
    kIT2,
    kIT3,
    kEIB,
    kIT,
    kRAK,
    kBSM,
    kKamera,
    kTabPG,
    kOverlapGroup0,
    kOverlapOther,
    kCodeInvalid,
    kCaption,
    kCodeLabel,
    kKomfort,
    kAll,
    kNone,
    kBasis,
    kSchaltcodes,
    kTueroeffnen,
    kLicht,
    kTueranwahl,
    kMfr,
    kRAKRight,
    kTuermatik,
    kKettenrufRight,
    kSignal,
    kDiversion,
    vtxt::kForTln,
    kKettenRnr,
    kSignalRnr,
    kDiversionRnr,
    321,
    322,
    323,
    324,
    325,
    326,
    327,
    328,
    329,
    330,
    331,
    332,
    vtxt::kGroup0,
    vtxt::kGroup1,
    kEinwahl,
    kSchaltcode51,
    kTuermatikCheck,
    kKettenrufCheck,
    kSignalCheck,
    kDiversionCheck,
    355,
    356,
    357,
    358,
    359,
    kEGNone,
    kSchaltcode78,
    kTuermatikSignal,
    vtxt::kForTlnIT1,
    kNeedKettenRnr,
    kNeedSignalRnr,
    kNeedDiversionRnr,
};

} // namespace stxt
