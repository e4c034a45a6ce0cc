#pragma once
// What the ISDN port reports to its owner: one value per window message, so
// nothing crosses threads as a raw heap pointer that a receiver must free.

#include "CapiCallInfo.h"
#include "CapiReasonText.h"
#include "WindowMessages.h"

#include <cstdint>
#include <string>
#include <vector>

// How a call ended, as the port saw it.
enum class CapiDisconnectKind : std::uint8_t {
    // The network cleared the call (DISCONNECT_IND) while we had not asked
    // for it: busy, refused, remote hang-up. Reason and text are set.
    Remote,
    // The call we cleared ourselves ended (DISCONNECT_IND after our own
    // DISCONNECT_REQ or a rejected incoming call). Reason and text are set.
    Local,
    // CONNECT_CONF refused the call before it started; info is set, the
    // reason text is empty.
    Refused,
};

struct CapiDisconnectInfo {
    CapiDisconnectKind kind = CapiDisconnectKind::Remote;
    std::uint16_t wReason = 0; // Reason of the DISCONNECT_IND
    std::uint16_t wInfo = 0;   // Info of a refusing CONNECT_CONF
    std::string reasonText;    // Windows-1252, at most 63 bytes; empty for Refused
};

struct CapiPortMessage {
    // CAPIPORT_CONNECT, CAPIPORT_CONNECT_ACTIVE, CAPIPORT_DISCONNECT,
    // CAPIPORT_DATA or CAPIPORT_DATA_SENT.
    std::uint32_t id = 0;
    std::uint16_t instance = 0;     // wParam: the connection's instance number
    CapiCallInfo callInfo;          // CAPIPORT_CONNECT: the incoming call
    CapiDisconnectInfo disconnect;  // CAPIPORT_DISCONNECT
    std::vector<std::uint8_t> data; // CAPIPORT_DATA: a copy of the received block
};
