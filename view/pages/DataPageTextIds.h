#pragma once
// Language-text ids of the read and write pages. Each has its text in all
// six language files (the page tests check every id of kDataPageTextIds).

#include <array>

namespace ptxt {

inline constexpr int kReadHeading = 90;   // "Reading the configuration from the KTX"
inline constexpr int kWriteHeading = 91;  // "Sending the configuration to the KTX"
inline constexpr int kInclBusAdr = 101;   // check box: send the bus addresses too
inline constexpr int kStart = 147;        // the start button
inline constexpr int kHinweis = 1015;     // warning while the bus addresses are sent
inline constexpr int kReadFailed = 1018;  // the configuration could not be read
inline constexpr int kReadOk = 1019;      // the configuration has been read
inline constexpr int kWriteFailed = 1022; // the configuration could not be sent
inline constexpr int kWriteOk = 1023;     // the configuration has been sent
// Followed directly by the link text ("via capi", ...): they end in a blank.
inline constexpr int kWriteLink = 1045;
inline constexpr int kReadLink = 1046;

inline constexpr std::array kDataPageTextIds = {
    kReadHeading, kWriteHeading, kInclBusAdr, kStart,     kHinweis,  kReadFailed,
    kReadOk,      kWriteFailed,  kWriteOk,    kWriteLink, kReadLink,
};

} // namespace ptxt
