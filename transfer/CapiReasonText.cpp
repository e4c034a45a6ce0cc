#include "CapiReasonText.h"

#include <algorithm>
#include <cstring>

namespace {

struct ReasonEntry {
    std::uint16_t reason;
    const char* text;
};

// Texts kept within 63 bytes so the reason record never cuts them. Umlauts
// are Windows-1252 escapes; a string literal is split after each escape so
// a following letter is not read as another hex digit.
const ReasonEntry kReasons[] = {
    // Registration.
    {0x1001, "Too many applications"},
    {0x1002, "Logical block size too small, must be at least 128 bytes"},
    {0x1003, "Buffer exceeds 64 kByte"},
    {0x1004, "Message buffer size too small, must be at least 1024 bytes"},
    {0x1005, "Max. number of logical connections not supported"},
    {0x1006, "Reserved"},
    {0x1007, "Message not accepted because of an internal busy condition"},
    {0x1008, "OS resource error (no memory?)"},
    {0x1009, "CAPI not installed"},
    {0x100A, "Controller does not support external equipment"},
    {0x100B, "Controller does only support external equipment"},
    // Message exchange.
    {0x1101, "Illegal application number"},
    {0x1102, "Illegal command or subcommand or message length too small"},
    {0x1103, "Message not accepted because of a queue full condition"},
    {0x1104, "Queue is empty"},
    {0x1105, "Queue overflow, a message was lost"},
    {0x1106, "Unknown notification parameter"},
    {0x1107, "Message not accepted because of an internal busy condition"},
    {0x1108, "OS resource error (no memory?)"},
    {0x1109, "CAPI not installed"},
    {0x110A, "Controller does not support external equipment"},
    {0x110B, "Controller does only support external equipment"},
    // Resources and parameters.
    {0x2001, "Message not supported in current state"},
    {0x2002, "Illegal Controller / PLCI / NCCI"},
    {0x2003, "Out of PLCI"},
    {0x2004, "Out of NCCI"},
    {0x2005, "Out of LISTEN"},
    {0x2006, "Out of FAX resources (protocol T.30)"},
    {0x2007, "Illegal message parameter coding"},
    {0x3001, "B1 protocol not supported"},
    {0x3002, "B2 protocol not supported"},
    {0x3003, "B3 protocol not supported"},
    {0x3004, "B1 protocol parameter not supported"},
    {0x3005, "B2 protocol parameter not supported"},
    {0x3006, "B3 protocol parameter not supported"},
    {0x3007, "B protocol combination not supported"},
    {0x3008, "NCPI not supported"},
    {0x3009, "CIP Value unknown"},
    {0x300A, "Flags not supported (reserved bits)"},
    {0x300B, "Facility not supported"},
    {0x300C, "Data length not supported by current protocol"},
    {0x300D, "Reset procedure not supported by current protocol"},
    // B-channel and fax protocols.
    {0x3301, "protocol error Layer 1"},
    {0x3302, "protocol error Layer 2"},
    {0x3303, "protocol error Layer 3"},
    {0x3304, "another application got that call"},
    {0x3311, "Connecting not successful (remote station is no FAX G3)"},
    {0x3312, "Connecting not successful (training error)"},
    {0x3313, "Disconnected before transfer (transfer mode not supported)"},
    {0x3314, "Disconnected during transfer (remote abort)"},
    {0x3315, "Disconnected during transfer (remote procedure error)"},
    {0x3316, "Disconnected during transfer (local tx data underrun)"},
    {0x3317, "Disconnected during transfer (local rx data overflow)"},
    {0x3318, "Disconnected during transfer (local abort)"},
    {0x3319, "Illegal parameter coding (e.g. SFF coding error)"},
    // Network causes.
    {0x3481, "Unallocated (unassigned) number"},
    {0x3482, "No route to specified transit network"},
    {0x3483, "No route to destination"},
    {0x3486, "Channel unacceptable"},
    {0x3487, "Call awarded and being delivered in an established channel"},
    {0x3490, "Normales Ausl\xF6"
             "sen"},
    {0x3491, "participant occupied"},
    {0x3492, "Gegenstelle meldet sich nicht"},
    {0x3493, "Teilnehmer meldet sich nicht."},
    {0x3495, "Ruf zur\xFC"
             "ckgewiesen"},
    {0x3496, "Rufnummer hat sich ge\xE4"
             "ndert"},
    {0x349A, "Der Ruf wird bereits beantwortet"},
    {0x349B, "Gegenstelle nicht in Betrieb"},
    {0x349C, "Ung\xFC"
             "ltige Rufnummer"},
    {0x349D, "Ausf\xFC"
             "hrung des Leistungsmerkmals zur\xFC"
             "ckgewiesen"},
    {0x349E, "Antwort auf STATUS ENQUIRY"},
    {0x349F, "Normal, unspezifiziert"},
    {0x34A2, "Kein Kanal verf\xFC"
             "gbar"},
    {0x34A6, "Netz ausser Betrieb"},
    {0x34A9, "Verbindung unterbrochen"},
    {0x34AA, "Switching equipment congestion"},
    {0x34AB, "Access information discarded"},
    {0x34AC, "Gew\xFC"
             "nschter Kanal nicht verf\xFC"
             "gbar"},
    {0x34AF, "Kein Kanal verf\xFC"
             "gbar, unspezifiziert"},
    {0x34B1, "Quality of service unavailable"},
    {0x34B2, "Requested facility not subscribed"},
    {0x34B9, "Bearer capability not authorized"},
    {0x34BA, "Bearer capability not presently available"},
    {0x34BF, "Service or option not available, unspecified"},
    {0x34C1, "Bearer capability not implemented"},
    {0x34C2, "Channel type not implemented"},
    {0x34C5, "Requested facility not implemented"},
    {0x34C6, "Only restricted digital information bearer capability available"},
    {0x34CF, "Service or option not implemented, unspecified"},
    {0x34D1, "Invalid call reference value"},
    {0x34D2, "Identified channel does not exist"},
    {0x34D3, "A suspended call exists, but this call identity does not"},
    {0x34D4, "Call identity in use"},
    {0x34D5, "No call suspended"},
    {0x34D6, "Call having the requested call identity has been cleared"},
    {0x34D8, "Gegenstelle nicht kompatibel"},
    {0x34DB, "Invalid transit network selection"},
    {0x34DF, "Invalid message, unspecified"},
    {0x34E0, "Mandatory information element is missing"},
    {0x34E1, "Message type non-existent or not implemented"},
    {0x34E2, "Message not compatible with call state or not implemented"},
    {0x34E3, "Information element non-existent or not implemented"},
    {0x34E4, "Invalid information element contents"},
    {0x34E5, "Message not compatible with call state"},
    {0x34E6, "Recovery on timer expiry"},
    {0x34EF, "Protokollfehler, unspezifiziert"},
    {0x34FF, "Interworking, unspecified"},
};

const char* const kNoInformation = "Keine Information verf\xFC"
                                   "gbar";

} // namespace

const char* CapiReasonText(std::uint16_t reason) {
    for (const ReasonEntry& e : kReasons)
        if (e.reason == reason)
            return e.text;
    return kNoInformation;
}

void CapiWriteReasonText(std::uint16_t reason, char (&dest)[CAPI_REASON_TEXT_SIZE]) {
    const char* text = CapiReasonText(reason);
    const std::size_t n = std::min(std::strlen(text), CAPI_REASON_TEXT_SIZE - 1);
    std::memcpy(dest, text, n);
    std::memset(dest + n, 0, CAPI_REASON_TEXT_SIZE - n);
}
