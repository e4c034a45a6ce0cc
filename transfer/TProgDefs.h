#pragma once
// Subscriber programming with the box's bus controller: programming states,
// the programming commands (byte 6 of a channel-3 block, or byte 3 of a raw
// '/' telegram on the bus), and how a received message is recognised as one
// of the box's programming messages. The command values are fixed by the
// box's firmware.

#include "TTkDataMsg.h"
#include "TransferDefs.h"

#include <cstdint>

// Programming state of the controller.
enum eProgState : std::int8_t {
    eProgStateUndefined = 0,         // box not in programming mode
    eProgStateKBARequest = 1,        // waiting for the free-address list
    eProgStateKBACount = 2,          // waiting for the free-address count
    eProgStateAktiv = 3,             // box in programming mode
    eProgStateBTLM = 4,              // a subscriber unit is in programming
    eProgStateBTLMVideo = 5,         // a video subscriber unit is in programming
    eProgStateReturnToPrevState = 6, // request only: back to the saved state
    eProgStateProgTln = 7,           // waiting for the acknowledgement of an address
    eProgStateBSM = 8,               // a switch module is in programming
};

// Programming commands.
enum eProgCmd : std::uint8_t {
    PROG_MODE_AKT = 3,      // box: programming mode on (BSG address, identifier)
    PROG_MODE_PAS = 4,      // box: programming mode off
    HT_PROG_PAS = 6,        // PC: end the unit's programming (BSG, subscriber)
    PROG_QUITT = 11,        // box: address acknowledged (subscriber, BTLM)
    TLN_ADR_CLEAR = 15,     // PC: delete one subscriber address
    HT_PROG_AKT = 23,       // PC: give the unit a subscriber address
    TL_PROG_AKT = 24,       // box: a unit is in programming (BTLM address)
    TL_PROG_VIDEO = 25,     // box: a video unit is in programming
    BSM_PROG_AKTIV = 55,    // box: a switch module is in programming
    IT_FEHLER = 58,         // box: error report (mode, type)
    TASTE_PROG = 63,        // named in the dump only
    PROG_KBA = 64,          // PC: request the free-address list
    PROG_KBA_LIST = 65,     // box: the free-address list
    BSM_CODE_PROG = 66,     // PC: program a switch-module key
    BTLM_CODE_PROG = 67,    // PC: program a unit's call key
    ALL_TLN_ADR_CLEAR = 68, // PC: delete every subscriber address
    PROG_KBA_COUNT = 69,    // PC: request the free-address count
    PROG_KBA_COUNTER = 70,  // box: the free-address count
    BSM_PROG_PASSIV = 71,   // box: the switch module left programming
};

// Slots of the free-address list: the bus takes at most 31 subscribers.
inline constexpr int MAX_ANZ_TLN = 31;

// A PROG_KBA_COUNTER answer carries its answer byte at 8 and the count at
// 9..10; a shorter block cannot hold a count.
inline constexpr std::uint16_t kKbaCounterMinLen = 11;

// Name of a programming command in the traces ("unknown" for other values).
const char* ProgCmdName(std::uint8_t cmd);
// Name of a programming state in the traces; "DEFAULT == ERROR" outside the
// table.
const char* ProgStateName(int state);
// Name of a programming result message (DEL_TLN_FAILED ... BSMPROG_PAS) in
// the traces; "ERROR: UNDEFINED!" for another message.
const char* ProgResultName(std::uint32_t code);

// Function bytes of the box's raw programming telegrams on the bus.
constexpr bool IsProgTelegramFunction(std::uint8_t fn) {
    return fn == LUMEN_FN_PROG || fn == LUMEN_FN_PROG_9 || fn == LUMEN_FN_IT_FEHLER;
}

// A programming message of the box: a block on channel 3, or a raw
// programming telegram received on the bus. Neither answers nor times out a
// running exchange.
inline bool IsProgMessage(const TTkDataMsg* pMsg) {
    // Only a received bus telegram answers its function byte to GetProgCmd;
    // a block of another channel answers 0 there.
    return pMsg && (pMsg->GetProt() == eProtProg || IsProgTelegramFunction(pMsg->GetProgCmd()));
}
