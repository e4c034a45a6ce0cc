#include "EventLogTables.h"

#include <array>

namespace mox {

namespace {

// Indexed by type; entry 0 is unused (type 0 is unknown).
constexpr std::array<const char*, 17> kTypeNames = {
    nullptr,
    "Systemstart",
    "SoftError",
    "Konfiguration",
    "T\xFCrruf",
    "MF-Eingang",
    "Schalteingang",
    "S0-Setup",
    "S0-Alert",
    "S0-Connect",
    "S0-Disconnect",
    "S0-Release",
    "IT-Connect",
    "Kommender Ruf",
    "LM-Prozedur",
    "LM-Fehler",
    "TestEvent",
};

constexpr std::array<const char*, 4> kSources = {"V24", "ISDN", "RS485", "Nicht Definiert"};

constexpr std::array<const char*, 4> kCallTypes = {"Direktruf", "Kettenruf", "Rufumleitung",
                                                   "SMS"};

struct CauseEntry {
    std::uint8_t value;
    const char* text;
};

// The texts are shown to service staff as the box has always written them,
// spelling included, so that listings stay comparable with older ones.
constexpr std::array<CauseEntry, 57> kCauses = {{
    {1, "Unassigned Number"},
    {2, "No Route To Transit Net"},
    {3, "No Route To Destination"},
    {6, "Channel Unacceptable"},
    {7, "Call Awarded"},
    {16, "Normal Call Clearing"},
    {17, "User Busy"},
    {18, "No User Responding"},
    {19, "No Answer From User"},
    {21, "Call Rejected"},
    {22, "Number Changed"},
    {26, "Selected User Clearing"},
    {27, "Destination Out Of Order"},
    {28, "Invalid Number Format"},
    {29, "Facility Rejected"},
    {30, "Response To Status"},
    {31, "Normal Unspecified"},
    {34, "No Circuit/Channel Available"},
    {38, "Network Out Of Order"},
    {41, "Temporary Net Failure"},
    {42, "Switch Congestion"},
    {43, "User Info Discarded"},
    {44, "Circuit/Channel Not Available"},
    {47, "Resource Unavailable"},
    {49, "Quality Not Available"},
    {50, "Facility Not Subscribed"},
    {51, "Bearer Incompatible"},
    {53, "Service Op Violated"},
    {54, "Incoming Calls Barred"},
    {57, "Capability Unauthorized"},
    {58, "Capability Unavailable"},
    {63, "Service/Opt. Unavailable"},
    {65, "Capability Unimplemented"},
    {66, "Channel Type Unimplemented"},
    {69, "Facility Not Implemented"},
    {70, "Restricted Info Only"},
    {79, "Service/Opt. Unimplemented"},
    {81, "Invalid Reference Value"},
    {82, "Channel Does Not Exist"},
    {83, "ID Does Not Exist"},
    {84, "Call ID In Use"},
    {85, "No Call Suspended"},
    {86, "Call Has Been Cleared"},
    {88, "Incompatible Destination"},
    {90, "Direct Call Not Subscibed"},
    {91, "Invalid Transit Net Selected"},
    {95, "Invalid Message"},
    {96, "Mandatory IE Missing"},
    {97, "Message Unimplemented"},
    {98, "Message Not Permissible"},
    {99, "IE Unimplemented"},
    {100, "Invalid IE Contens"},
    {101, "Message Incompatible"},
    {102, "Recovery On Timer Expiry"},
    {111, "Protocol Error"},
    {118, "Invalid Calling Number"},
    {127, "Cause Unknown"},
}};

constexpr const char* kUnknownCause = "Unbekannter Cause";

std::string Unknown(unsigned value) {
    return "Unbekannt: " + std::to_string(value);
}

const CauseEntry* FindCause(std::uint8_t cause) {
    for (const CauseEntry& e : kCauses) {
        if (e.value == cause) {
            return &e;
        }
    }
    return nullptr;
}

}  // namespace

std::string EventLogTypeName(std::uint8_t type) {
    if (type >= 1 && type < kTypeNames.size()) {
        return kTypeNames[type];
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name = "Unbekannt: 0x";
    name += kHex[type >> 4];
    name += kHex[type & 0x0F];
    return name;
}

std::string EventLogSourceText(std::uint8_t source) {
    return source < kSources.size() ? std::string(kSources[source]) : Unknown(source);
}

std::string EventLogCallTypeText(std::uint8_t callType) {
    return callType < kCallTypes.size() ? std::string(kCallTypes[callType]) : Unknown(callType);
}

const char* EventLogCauseText(std::uint8_t cause) {
    const CauseEntry* e = FindCause(cause);
    return e ? e->text : kUnknownCause;
}

bool EventLogCauseKnown(std::uint8_t cause) {
    return FindCause(cause) != nullptr;
}

}  // namespace mox
