#pragma once
// The text shown to the user for the Reason of a DISCONNECT_IND: CAPI 2.0
// Info values (0x1xxx, 0x2xxx, 0x30xx), B-channel and fax protocol reasons
// (0x33xx) and the network's Q.850 causes (0x3480 + cause). Windows-1252
// bytes; a value not in the table gives "Keine Information verfügbar".

#include <cstddef>
#include <cstdint>

// Room of the reason record that travels to the main window, with its NUL.
inline constexpr std::size_t CAPI_REASON_TEXT_SIZE = 64;

const char* CapiReasonText(std::uint16_t reason);

// Copies the text of a reason into dest, cut at CAPI_REASON_TEXT_SIZE - 1
// bytes and NUL-terminated.
void CapiWriteReasonText(std::uint16_t reason, char (&dest)[CAPI_REASON_TEXT_SIZE]);
