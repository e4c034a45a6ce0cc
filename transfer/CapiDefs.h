#pragma once
// Numbers of the ISDN link: CAPI 2.0 commands, subcommands and Info values as
// the CAPI standard fixes them, the registration this program asks for, the
// results of the port operations and the trace channel.

#include <cstdint>

// ---- CAPI 2.0 commands and subcommands -----------------------------------

enum eCapiCommand : std::uint8_t {
    eCapiAlert = 0x01,
    eCapiConnect = 0x02,
    eCapiConnectActive = 0x03,
    eCapiDisconnect = 0x04,
    eCapiListen = 0x05,
    eCapiInfo = 0x08,
    eCapiSelectBProtocol = 0x41,
    eCapiFacility = 0x80,
    eCapiConnectB3 = 0x82,
    eCapiConnectB3Active = 0x83,
    eCapiDisconnectB3 = 0x84,
    eCapiDataB3 = 0x86,
    eCapiResetB3 = 0x87,
    eCapiConnectB3T90Active = 0x88,
    eCapiManufacturer = 0xFF,
};

enum eCapiSubCommand : std::uint8_t {
    eCapiReq = 0x80,
    eCapiConf = 0x81,
    eCapiInd = 0x82,
    eCapiResp = 0x83,
};

// ---- Info values of the message exchange ----------------------------------

inline constexpr std::uint16_t CAPI_NOERROR = 0x0000;
inline constexpr std::uint16_t CAPI_ILLAPPNR = 0x1101;
inline constexpr std::uint16_t CAPI_RECEIVE_QUEUE_EMPTY = 0x1104;
inline constexpr std::uint16_t CAPI_RECEIVE_OVERFLOW = 0x1105;

// ---- Registration ---------------------------------------------------------

// What the program registers with: one logical connection, three B3 blocks
// of up to 2048 bytes in flight. The message buffer size is only traced: the
// Linux library has no such argument.
inline constexpr std::uint32_t CAPI_MSG_BUFFER_SIZE = 1024;
inline constexpr std::uint32_t CAPI_MAX_LOGICAL_CONNECTIONS = 1;
inline constexpr std::uint32_t CAPI_MAX_B3_BLOCKS = 3;
inline constexpr std::uint32_t CAPI_MAX_B3_BLOCK_LEN = 2048;

// ---- Port ------------------------------------------------------------------

// Connections one port drives at a time.
inline constexpr int CAPI_MAX_CONNECTIONS = 2;

// Results of the port operations (besides an instance number or a length).
inline constexpr int CAPIPORT_ERR_NO_SLOT = -1;  // no free connection, or send window full
inline constexpr int CAPIPORT_ERR_INSTANCE = -2; // unknown instance or wrong state
inline constexpr int CAPIPORT_ERR_NOT_REGISTERED = -3;

// Application event of a manufacturer-specific request; nothing in the
// program issues it.
inline constexpr std::uint32_t CAPIPORT_MANUFACTURER_REQ = 1072;

// How long the receive thread waits for a message before it looks at its
// stop flag again; bounds the time a shutdown waits for the thread.
inline constexpr unsigned CAPI_RECEIVE_WAIT_MS = 100;

// Trace channels of the ISDN link.
enum eCapiTraceChannel : int {
    eTraceCapiPort = 5,
    eTraceCapi = 6,
};
