#pragma once
// Every window-message id the parts of the program exchange. The numbers are
// fixed: pages, the transfer controller, the ISDN link and the main window
// switch on them, and several are sent by number across module borders.
// The number after each line is the id itself.

#include <cstdint>

inline constexpr uint32_t WM_USER = 1024;

// Page protocol (views and wizard pages): new entry; store the page into the
// document; load the page from the document; delete entry; restore the
// page's defaults; the transfer medium changed; rebuild the tree.
inline constexpr uint32_t WM_NEW = WM_USER + 1;                // 1025
inline constexpr uint32_t WM_SAVE = WM_USER + 2;               // 1026
inline constexpr uint32_t WM_OPEN = WM_USER + 3;               // 1027
inline constexpr uint32_t WM_DELETE = WM_USER + 4;             // 1028
inline constexpr uint32_t WM_RESTORE = WM_USER + 5;            // 1029
inline constexpr uint32_t WM_CONNECTION_CHANGED = WM_USER + 6; // 1030
inline constexpr uint32_t WM_UPDATE_TREE = WM_USER + 7;        // 1031

// ISDN port events: incoming call (call-info record); start listening; data
// connection up; disconnect (disconnect record, or CAPIPORT_DISCONNECT_OWN);
// received data; send window drained.
inline constexpr uint32_t CAPIPORT_CONNECT = WM_USER + 42;        // 1066
inline constexpr uint32_t CAPIPORT_LISTEN = WM_USER + 43;         // 1067
inline constexpr uint32_t CAPIPORT_CONNECT_ACTIVE = WM_USER + 44; // 1068
inline constexpr uint32_t CAPIPORT_DISCONNECT = WM_USER + 45;     // 1069
inline constexpr uint32_t CAPIPORT_DATA = WM_USER + 46;           // 1070
inline constexpr uint32_t CAPIPORT_DATA_SENT = WM_USER + 47;      // 1071

// lParam of CAPIPORT_DISCONNECT when the user asked for the hang-up.
inline constexpr intptr_t CAPIPORT_DISCONNECT_OWN = 1326;

// Open the chosen recent file.
inline constexpr uint32_t WM_RECENT_FILE = WM_USER + 100; // 1124

// Ports to the transfer controller: a checked frame is in the receive
// buffer; a bus data block is ready or failed.
inline constexpr uint32_t COMPORT_DATA = WM_USER + 200;   // 1224
inline constexpr uint32_t QUELLPORT_DATA = WM_USER + 201; // 1225

// Transfer controller to its owner: the result (wParam 1 ok, 0 failed);
// hand over the next package.
inline constexpr uint32_t WM_TRANSFER_RESULT = WM_USER + 300;    // 1324
inline constexpr uint32_t WM_NEED_TRANSFER_DATA = WM_USER + 301; // 1325
// Transfer ends, handled like a transfer result (wParam 1 ok, 0 failed).
inline constexpr uint32_t WM_TRANSFER_END_FIRST = WM_USER + 305; // 1329
inline constexpr uint32_t WM_TRANSFER_END_LAST = WM_USER + 310;  // 1334

// Wizard device-read page to the wizard frame.
inline constexpr uint32_t WM_ASSI_READ_FAILED = WM_USER + 311; // 1335
inline constexpr uint32_t WM_ASSI_READ_OK = WM_USER + 312;     // 1336

// Subscriber-programming results, which the main window forwards
// (TLNPROG_FEHLER: wParam error mode, lParam error type 1..4), and
// WM_MORE_TRANSFER_DATA among them: do more packages follow.
// 1341, 1346, 1351 and 1358 are not used.
inline constexpr uint32_t DEL_TLN_FAILED = WM_USER + 314;        // 1338
inline constexpr uint32_t PROG_FAILED = WM_USER + 315;           // 1339
inline constexpr uint32_t CANCEL_FAILED = WM_USER + 316;         // 1340
inline constexpr uint32_t RUECKMELDUNG_OK = WM_USER + 318;       // 1342
inline constexpr uint32_t PROGQUIT_FAILED = WM_USER + 319;       // 1343
inline constexpr uint32_t PROGQUIT_OK = WM_USER + 320;           // 1344
inline constexpr uint32_t PROGMODEAKT_OK = WM_USER + 321;        // 1345
inline constexpr uint32_t TLNPROGAKT_OK = WM_USER + 323;         // 1347
inline constexpr uint32_t TLNPROGAKT_FAILED = WM_USER + 324;     // 1348
inline constexpr uint32_t TLNPROG_FEHLER = WM_USER + 325;        // 1349
inline constexpr uint32_t TLNPROG_PAS_OK = WM_USER + 326;        // 1350
inline constexpr uint32_t SEND_FAILED = WM_USER + 328;           // 1352
inline constexpr uint32_t WM_MORE_TRANSFER_DATA = WM_USER + 329; // 1353
inline constexpr uint32_t KBA_LIST_FAILED = WM_USER + 330;       // 1354
inline constexpr uint32_t KBA_LIST_EMPTY = WM_USER + 331;        // 1355
inline constexpr uint32_t KBA_LIST_OK = WM_USER + 332;           // 1356
inline constexpr uint32_t BSMPROG_AKT = WM_USER + 333;           // 1357
inline constexpr uint32_t KBA_COUNT = WM_USER + 335;             // 1359
inline constexpr uint32_t KBA_COUNT_FAILED = WM_USER + 336;      // 1360
inline constexpr uint32_t BSMPROG_PAS = WM_USER + 337;           // 1361

// Restart the transfer controller's identification timer.
inline constexpr uint32_t WM_KENNUNG_RESTART = WM_USER + 338; // 1362

// Inside the bus control module only: its reader thread to its control
// window, which fires the telegram event there. Shares its number with
// WM_NEW; the two never meet the same receiver.
inline constexpr uint32_t QUELL_TELE_RECEIVED = WM_USER + 1; // 1025

// Whether an id is one of the subscriber-programming results that the main
// window forwards.
constexpr bool IsProgrammingResult(uint32_t id) {
    return id >= DEL_TLN_FAILED && id <= BSMPROG_PAS && id != WM_USER + 317 &&
           id != WM_USER + 322 && id != WM_USER + 327 && id != WM_MORE_TRANSFER_DATA &&
           id != WM_USER + 334;
}
