#include "CapiCallInfo.h"

#include <cstring>

namespace {

// Length of a number field, or CAPI_MAX_NUMBER_LEN + 1 when the field holds
// no terminating NUL (a record that was not built by SetNumber).
std::size_t FieldLen(const char (&field)[17]) {
    const void* nul = std::memchr(field, 0, sizeof(field));
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field)
               : CAPI_MAX_NUMBER_LEN + 1;
}

} // namespace

bool CapiCallInfo::SetField(char (&field)[17], std::string_view number) {
    if (number.size() > CAPI_MAX_NUMBER_LEN || number.find('\0') != std::string_view::npos)
        return false;
    std::memset(field, 0, sizeof(field));
    std::memcpy(field, number.data(), number.size());
    return true;
}

bool CapiServiceFromSelector(std::uint8_t selector, CapiService& service) {
    // 0 telephony (bit-transparent 64 kbit/s), 1 unrestricted digital over
    // HDLC, 2 group 2/3 fax (T.30), 3 X.75, 4 T.90NL, 5 transparent data.
    static const CapiService kServices[] = {
        {16, 1, 1, 0}, {2, 0, 1, 0}, {17, 4, 4, 4}, {2, 0, 0, 0}, {2, 0, 0, 1}, {2, 1, 1, 0},
    };
    if (selector >= sizeof(kServices) / sizeof(kServices[0]))
        return false;
    service = kServices[selector];
    return true;
}

std::uint8_t CapiSelectorFromCip(std::uint16_t cip) {
    switch (cip) {
    case 1:
    case 4:
    case 5:
    case 16:
        return 0;
    case 17:
        return 2;
    case 2:
    case 3:
    default:
        return 3;
    }
}

bool CapiCipMaskFromListenSelector(std::uint8_t selector, std::uint32_t& cipMask) {
    // 0 no calls, 1 speech and telephony (CIP 1, 4, 5, 16), 2 3.1 kHz audio
    // (CIP 4), 3 unrestricted digital (CIP 2), 4 every call.
    static const std::uint32_t kMasks[] = {0, 0x10032, 0x10, 0x4, 0x1};
    if (selector >= sizeof(kMasks) / sizeof(kMasks[0]))
        return false;
    cipMask = kMasks[selector];
    return true;
}

CapiCallInfoCheck CapiCheckCallInfo(const CapiCallInfo& info, eCapiCallMode mode) {
    if (info.bMode != mode)
        return CapiCallInfoCheck::WrongMode;
    CapiService service{};
    std::uint32_t mask = 0;
    if (mode == eCapiModeCall && !CapiServiceFromSelector(info.bServiceSelector, service))
        return CapiCallInfoCheck::UnknownServiceSelector;
    if (mode == eCapiModeListen && !CapiCipMaskFromListenSelector(info.bListenSelector, mask))
        return CapiCallInfoCheck::UnknownListenSelector;
    if (FieldLen(info.szNumber1) > CAPI_MAX_NUMBER_LEN ||
        FieldLen(info.szNumber2) > CAPI_MAX_NUMBER_LEN ||
        FieldLen(info.szNumber3) > CAPI_MAX_NUMBER_LEN)
        return CapiCallInfoCheck::NumberTooLong;
    // An empty called party number is not a call: the network would refuse
    // it, or worse, the controller would wait for a call that never starts.
    if (mode == eCapiModeCall && FieldLen(info.szNumber1) == 0)
        return CapiCallInfoCheck::NoNumberToDial;
    return CapiCallInfoCheck::Ok;
}

const char* CapiCallInfoCheckName(CapiCallInfoCheck check) {
    switch (check) {
    case CapiCallInfoCheck::Ok:
        return "ok";
    case CapiCallInfoCheck::WrongMode:
        return "wrong mode";
    case CapiCallInfoCheck::UnknownServiceSelector:
        return "unknown service selector";
    case CapiCallInfoCheck::UnknownListenSelector:
        return "unknown listen selector";
    case CapiCallInfoCheck::NumberTooLong:
        return "number longer than 16 characters";
    case CapiCallInfoCheck::NoNumberToDial:
        return "no number to dial";
    }
    return "?";
}
