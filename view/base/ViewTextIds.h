#pragma once
// Language-text ids of the page base: the device header. Each has its text
// in all six language files (the page-base tests check every id).

#include <array>

namespace vtxt {

inline constexpr int kTypeCaption = 35;    // "device type"
inline constexpr int kVersionCaption = 36; // "software version:"
inline constexpr int kNotPresent = 94;     // the device is not there
inline constexpr int kTypeIT1 = 365;       // door-interface types 1..3
inline constexpr int kTypeIT2 = 366;
inline constexpr int kTypeIT3 = 376;
inline constexpr int kTypeRAK = 368;  // universal controller
inline constexpr int kTypeBSM = 369;  // bus switching module
inline constexpr int kTypeBox = 374;  // the interface box
inline constexpr int kTypeKMR = 233;  // camera device
inline constexpr int kCaption = 1002; // caption of the page's message boxes

// Shared by the pages and the reports that name permission groups and the
// subscriber an output serves.
inline constexpr int kGroup0 = 333;    // "basic group": permission group 0
inline constexpr int kGroup1 = 334;    // "master group": permission group 1
inline constexpr int kForTln = 317;    // "for subscriber:"
inline constexpr int kForTlnIT1 = 442; // the same for door-interface type 1

inline constexpr std::array kViewTextIds = {
    kTypeCaption, kVersionCaption, kNotPresent, kTypeIT1, kTypeIT2, kTypeIT3, kTypeRAK,   kTypeBSM,
    kTypeBox,     kTypeKMR,        kCaption,    kGroup0,  kGroup1,  kForTln,  kForTlnIT1,
};

} // namespace vtxt
