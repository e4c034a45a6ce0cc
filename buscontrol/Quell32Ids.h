#pragma once
// What a client of the bus control Quell32 needs to know: its class ids and
// ProgIDs, the dispatch ids of _DQuell32 and _DQuell32Events, and the status
// and result words. Clients include this header only; they link nothing of
// the module and reach it through the component layer.

#include "Guid.h"

#include <cstdint>

namespace quell32 {

inline constexpr char kControlProgId[] = "QUELL32.Quell32Ctrl.1";
inline constexpr char kPropPageProgId[] = "QUELL32.Quell32PropPage.1";

inline constexpr mox::com::Guid CLSID_Quell32Ctrl{
    0x94d575e4, 0xbc27, 0x4b7a, {0xb0, 0xab, 0x75, 0xca, 0xaf, 0x80, 0xbc, 0x68}};
inline constexpr mox::com::Guid CLSID_Quell32PropPage{
    0x9a9ac94e, 0xdded, 0x49f3, {0xb8, 0x69, 0x97, 0x7f, 0x51, 0x28, 0x04, 0x96}};
inline constexpr mox::com::Guid LIBID_QUELL32Lib{
    0x69f31da8, 0xdf4d, 0x4904, {0x9b, 0x5b, 0xd4, 0xb4, 0x14, 0xcb, 0x64, 0x32}};
inline constexpr mox::com::Guid DIID__DQuell32{
    0xaecbb314, 0xa7e2, 0x415d, {0x91, 0x44, 0xf2, 0xf7, 0x64, 0xbd, 0x2a, 0xe6}};
inline constexpr mox::com::Guid DIID__DQuell32Events{
    0xef7157cd, 0xdada, 0x4deb, {0xbc, 0x56, 0x3a, 0x48, 0x22, 0x1e, 0x87, 0x65}};

// Settings key under which the program keeps the control's persisted
// properties ("UseEventNotification", "TestForInterface") for its host to
// restore.
inline constexpr char kQuell32PropertiesKey[] = "Software\\Kestrin\\Halvox ISDN\\Quell32";

// _DQuell32: the id is the position in the interface.
enum Quell32DispId : int32_t {
    dispidTestForInterface = 1,
    dispidUseEventNotification = 2,
    dispidCommPort = 3,
    dispidReadyForReceive = 4,
    dispidReceivedTeleLen = 5,
    dispidReceivedTeleStatus = 6,
    dispidReceivedTeleTimerTicks = 7,
    dispidReceivedTeleTimeDate = 8,
    dispidTeleAllBytes = 9,
    dispidTransmitTeleLen = 10,
    dispidTransmitTeleStatus = 11,
    dispidTransmitTeleTimeDate = 12,
    dispidTransmitTeleTimerTicks = 13,
    dispidPCAdr = 14,
    dispidTransmitTeleArray = 15,
    dispidPCAnswerMode = 16,
    dispidConnected = 17,
    dispidOpenPort = 18,
    dispidClosePort = 19,
    dispidTransmitTele = 20,
    dispidWaitForReceive = 21,
    dispidChangeFilters = 22,
    dispidReceivedTeleBytes = 23,
    dispidShowFunctions = 24,
    dispidShowTargets = 25,
    dispidShowTransmitters = 26,
    dispidTransmitTeleBytes = 27,
    dispidAboutBox = -552,
};

// _DQuell32Events
enum Quell32EventId : int32_t {
    eventidTeleReceived = 1,
};

// TransmitTeleStatus
inline constexpr uint16_t TRANSMIT_STATUS_BROADCAST = 0;
inline constexpr uint16_t TRANSMIT_STATUS_ACK = 6;
inline constexpr uint16_t TRANSMIT_STATUS_NAK = 0x15;
inline constexpr uint16_t TRANSMIT_ACKNAK_TIMEOUT = 0xF001;
inline constexpr uint16_t TRANSMIT_TIMEOUT = 0xF002;
inline constexpr uint16_t TRANSMIT_PORT_ERROR = 0xF003;
inline constexpr uint16_t TRANSMIT_BUS_BLOCKED = 0xF004;
inline constexpr uint16_t TRANSMIT_ERROR = 0xF005;

// ReceivedTeleStatus; the checksum flag is ORed with the answer outcome.
inline constexpr uint16_t RECEIVE_STATUS_BROADCAST = 0;
inline constexpr uint16_t RECEIVE_STATUS_ACK = 6;
inline constexpr uint16_t RECEIVE_STATUS_NAK = 0x15;
inline constexpr uint16_t RECEIVE_NO_MESSAGE = 0xF001;
inline constexpr uint16_t RECEIVE_ACKNAK_TIMEOUT = 0xF002;
inline constexpr uint16_t RECEIVE_TIMEOUT = 0xF003;
inline constexpr uint16_t RECEIVE_BUFFER_OVERFLOW = 0xF004;
inline constexpr uint16_t RECEIVE_ERROR_CHECKSUM = 0xFF00;

// Results of OpenPort and ClosePort.
inline constexpr uint16_t PORT_OK = 0;
inline constexpr uint16_t PORT_OPEN_FAILED = 0xF001; // ClosePort: the port is not open
inline constexpr uint16_t PORT_NOT_OPEN = 0xF001;
inline constexpr uint16_t PORT_ALREADY_OPEN = 0xF002;
inline constexpr uint16_t PORT_SETTINGS_FAILED = 0xF003;
inline constexpr uint16_t PORT_READER_FAILED = 0xF004;
inline constexpr uint16_t PORT_NO_INTERFACE = 0xF005;
inline constexpr uint16_t PORT_NO_WINDOW = 0xF006;

} // namespace quell32
