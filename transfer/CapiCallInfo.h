#pragma once
// The 60-byte call-information record of the ISDN link. It travels in both
// directions: the transfer controller hands it to CapiPort::Connect and
// CapiPort::Listen, and the port hands a filled one to the controller with
// an incoming call. Its layout is fixed; numbers are NUL-terminated strings
// of at most 16 characters (Windows-1252 bytes, as the network sends them).

#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr std::size_t CAPI_CALLINFO_SIZE = 60;
inline constexpr std::size_t CAPI_MAX_NUMBER_LEN = 16;

enum eCapiCallMode : std::uint8_t {
    eCapiModeCall = 1,
    eCapiModeListen = 2,
};

// Why a record was refused.
enum class CapiCallInfoCheck {
    Ok,
    WrongMode,
    UnknownServiceSelector,
    UnknownListenSelector,
    NumberTooLong,  // a number field holds more than 16 characters
    NoNumberToDial, // a call without a number to dial
};

struct CapiCallInfo {
    std::uint8_t bMode = 0;            // 0: eCapiCallMode
    std::uint8_t bServiceSelector = 0; // 1: call; for an incoming call derived from its CIP value
    std::uint8_t bListenSelector = 0;  // 2: listen
    std::uint8_t bUnused = 0;          // 3
    // 4: the own number's type of number (byte 4) and presentation (byte 5:
    // 0 allowed, anything else restricted), for the calling party number.
    std::uint8_t abNumberType[4] = {};
    char szNumber1[17] = {}; // 8: call: to dial; listen: own number; incoming: called number
    char szNumber2[17] = {}; // 25: call: own number; listen: kept as called; incoming: calling
    char szNumber3[17] = {}; // 42: not used
    std::uint8_t bCallingType = 0; // 59: incoming call: type byte of the calling number

    // Field names as the controller and the main window read them.
    const char* GetNumberToDial() const { return szNumber1; }
    const char* GetCalledPartyNumber() const { return szNumber1; }
    const char* GetOwnNumber() const { return szNumber2; }
    const char* GetCallingPartyNumber() const { return szNumber2; }

    // Store a number; false (field unchanged) when it has more than 16
    // characters or holds a NUL: a number is never cut without a word.
    bool SetNumber1(std::string_view number) { return SetField(szNumber1, number); }
    bool SetNumber2(std::string_view number) { return SetField(szNumber2, number); }

    bool IsPresentationRestricted() const { return abNumberType[1] != 0; }

private:
    static bool SetField(char (&field)[17], std::string_view number);
};

static_assert(sizeof(CapiCallInfo) == CAPI_CALLINFO_SIZE);
static_assert(offsetof(CapiCallInfo, abNumberType) == 4);
static_assert(offsetof(CapiCallInfo, szNumber1) == 8);
static_assert(offsetof(CapiCallInfo, szNumber2) == 25);
static_assert(offsetof(CapiCallInfo, szNumber3) == 42);
static_assert(offsetof(CapiCallInfo, bCallingType) == 59);

// CIP value and B1/B2/B3 protocols a service selector stands for.
struct CapiService {
    std::uint16_t wCIP;
    std::uint16_t wB1;
    std::uint16_t wB2;
    std::uint16_t wB3;
};

// The service of a selector 0..5; false for any other selector.
bool CapiServiceFromSelector(std::uint8_t selector, CapiService& service);
// The service selector an incoming call's CIP value is announced with.
std::uint8_t CapiSelectorFromCip(std::uint16_t cip);
// CIP mask of a listen selector 0..4; false for any other selector.
bool CapiCipMaskFromListenSelector(std::uint8_t selector, std::uint32_t& cipMask);

// Checks a record for Connect (mode call) or Listen (mode listen).
CapiCallInfoCheck CapiCheckCallInfo(const CapiCallInfo& info, eCapiCallMode mode);
// Trace text of a check result.
const char* CapiCallInfoCheckName(CapiCallInfoCheck check);
