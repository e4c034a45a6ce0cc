#pragma once
// The fixed texts of the event-log listing: event type names, configuration
// sources, call types and the ISDN cause texts. All texts are Windows-1252
// bytes, exactly as the listing shows them.

#include <cstdint>
#include <string>

namespace mox {

// Event types the box writes. Any other type byte is listed as unknown with
// its payload in hex.
enum EventLogType : std::uint8_t {
    eEvSystemstart = 1,
    eEvSoftError = 2,
    eEvKonfiguration = 3,
    eEvTuerruf = 4,
    eEvMFEingang = 5,
    eEvSchalteingang = 6,
    eEvS0Setup = 7,
    eEvS0Alert = 8,
    eEvS0Connect = 9,
    eEvS0Disconnect = 10,
    eEvS0Release = 11,
    eEvITConnect = 12,
    eEvKommenderRuf = 13,
    eEvLMProzedur = 14,
    eEvLMFehler = 15,
    eEvTestEvent = 16,
};

// Name of an event type; "Unbekannt: 0x14" for a type outside the table.
std::string EventLogTypeName(std::uint8_t type);

// Where a new configuration came from (type 3); "Unbekannt: 7" otherwise.
std::string EventLogSourceText(std::uint8_t source);

// Kind of an outgoing call (type 7); "Unbekannt: 7" otherwise.
std::string EventLogCallTypeText(std::uint8_t callType);

// Text of an ISDN cause value (types 10 and 11); "Unbekannter Cause" for a
// value outside the table, 0 and 128..255 included.
const char* EventLogCauseText(std::uint8_t cause);

// True when the cause value has its own text.
bool EventLogCauseKnown(std::uint8_t cause);

}  // namespace mox
