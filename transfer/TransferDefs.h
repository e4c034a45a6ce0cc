#pragma once
// Wire constants shared by the message classes, the block protocol and the
// bus port: sizes, bus addresses, telegram functions and sub-types, block
// commands and channels. The values are fixed by the box's firmware.

#include <cstdint>

// ---- Block messages --------------------------------------------------------

// Header of a block message: channel, command, block number, value word.
inline constexpr std::uint16_t COMM_HEADER_LEN = 6;
// Largest data part of one block.
inline constexpr std::uint16_t MAX_COMM_DATA_LEN = 1024;
// Largest block message on any link.
inline constexpr std::uint16_t MAX_COMM_MSG_LEN = COMM_HEADER_LEN + MAX_COMM_DATA_LEN; // 1030
// Largest data part of one firmware block.
inline constexpr std::uint16_t DOWNLOADBLOCKLEN = 1024;

// Channel byte of a block message.
enum eCommChannel : std::uint8_t {
    eProtKonfig = 0,   // configuration exchange
    eProtDownload = 1, // firmware for the box (download messages)
    eProtCamera = 2,   // firmware for the camera device (download messages)
    eProtProg = 3,     // subscriber programming
    eProtEventLog = 5, // event log
};

// Commands of the block protocol.
enum eEvConf : std::uint8_t {
    eEvConfDataFirst = 2,
    eEvConfData = 3,
    eEvConfDataEnd = 4,
    eEvConfDataReq = 5,
    eEvConfReset = 7,
    eEvConfAck = 8,
    eEvConfKennung = 12,
    eEvConfEvLogDataReq = 16,
    eEvConfLogData = 17,
};

// Length of a programming block: command byte, two addresses; one more byte
// for the commands that carry a key index.
inline constexpr std::uint16_t PROG_MSG_LEN = 11;
inline constexpr std::uint16_t PROG_MSG_LEN_INDEX = 12;

// Identification word the PC sends so the box knows a configuration program is
// on the link: six letters and a 0 byte.
inline constexpr std::uint8_t KENNUNG_WORD[] = {'B', 'R', 'O', 'M', 'E', 'L', 0};
inline constexpr std::uint16_t KENNUNG_WORD_LEN = sizeof(KENNUNG_WORD);

// ---- Bus telegrams ---------------------------------------------------------

// Raw capacity of one bus telegram: the largest telegram the bus control
// hands up has 25 bytes; 26 or more is not a telegram of this protocol.
inline constexpr std::uint16_t LUMEN_RAW_LEN = 26;
// Data bytes of one 'C' telegram.
inline constexpr std::uint16_t MAX_DATA_LEN = 16;
// Offset of the data in a 'C' telegram and its full length with data.
inline constexpr std::uint16_t LUMEN_DATA_OFFSET = 7;
inline constexpr std::uint16_t LUMEN_DATA_TELE_LEN = LUMEN_DATA_OFFSET + MAX_DATA_LEN; // 23

// Bus addresses.
inline constexpr std::uint8_t LUMEN_ADR_PC = 0xF0;
inline constexpr std::uint8_t LUMEN_ADR_BOX = 0x70;
inline constexpr std::uint8_t LUMEN_ADR_BROADCAST = 0xFF;

// Function byte of a telegram.
inline constexpr std::uint8_t LUMEN_FN_KONFIG_START = 7;
inline constexpr std::uint8_t LUMEN_FN_KONFIG_ENDE = 8;
inline constexpr std::uint8_t KTX_PC_DAT = 0x43; // 'C'
// Functions of the box's programming telegrams.
inline constexpr std::uint8_t LUMEN_FN_PROG = 0x2F;      // '/'
inline constexpr std::uint8_t LUMEN_FN_PROG_0 = 0x30;    // '0'
inline constexpr std::uint8_t LUMEN_FN_PROG_9 = 0x39;    // '9'
inline constexpr std::uint8_t LUMEN_FN_IT_FEHLER = 0x3A; // ':'

// Kinds of frame telegram around an exchange.
enum eLumenFrame : std::uint8_t {
    eLumenKonfigStart = 0,
    eLumenKonfigEnde = 1,
};

// Sub-types of a 'C' telegram.
enum eEvQuell : std::uint8_t {
    eEvQuellDataFirst = 0,
    eEvQuellData = 1,
    eEvQuellDataEnd = 2,
    eEvQuellAck = 3,
    eEvQuellNak = 4,
    eEvQuellKennung = 5, // the identification telegram
};
