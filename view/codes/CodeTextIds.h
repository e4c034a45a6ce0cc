#pragma once
// Language-text ids of the code-assignment pages, the programming start
// pages and the delay dialog. Each has its text in all six language files
// (the tests check every id of kCodeTextIds).

#include <array>

namespace ctxt {

inline constexpr int kBSMHeading = 100;        // "Bus switching module": heading and dialog caption
inline constexpr int kInclBusAdr = 101;        // check box: send the bus addresses too
inline constexpr int kZuordnen = 103;          // the assign button
inline constexpr int kColumnText = 105;        // grid header of the text column
inline constexpr int kColumnCode = 106;        // grid header of the code column
inline constexpr int kSchaltcodeHeading = 110; // "Door assignment": heading and dialog caption
inline constexpr int kSchaltcodeText = 111;    // what the switching-code page is about
inline constexpr int kKtxLesen = 112;          // check box: read the KTX first
inline constexpr int kKtxSchreiben = 113;      // check box: update the KTX first
inline constexpr int kUpdateGroup = 114;       // group of the three check boxes
inline constexpr int kTransfer = 147;          // the transfer button
inline constexpr int kAssigned = 194;          // the box confirmed an assignment
inline constexpr int kTlnProgHeading = 235;    // heading of the subscriber start page
inline constexpr int kTlnProgHint = 239;       // programming only in programming mode
inline constexpr int kProgError1 = 408;        // programming errors of types 1..4
inline constexpr int kProgErrorOther = 412;    // "%d" the error type
inline constexpr int kSendFailed = 413;        // the command could not be sent
inline constexpr int kProgFailed = 416;        // the assignment failed
inline constexpr int kITChanged = 418;         // the read brought another door interface
inline constexpr int kNoBSM = 419;             // the read brought no switch module
inline constexpr int kToDoProgMode = 425;      // put the box into programming mode
inline constexpr int kToDoBTLM = 426;          // put a unit into programming
inline constexpr int kToDoAssign = 429;        // choose a code and assign it
inline constexpr int kToDoBSM = 430;           // put a switch module into programming
inline constexpr int kTlnStillInProg = 431;    // a subscriber unit is still in programming
inline constexpr int kBSMStillInProg = 433;    // a switch module is still in programming
inline constexpr int kCaption = 1002;          // caption of the message boxes
inline constexpr int kSaveQuestion = 1005;     // save the changed configuration?
inline constexpr int kHinweis = 1015;          // the bus addresses are overwritten
inline constexpr int kReadFailed = 1018;       // the configuration could not be read
inline constexpr int kWriteFailed = 1022;      // the configuration could not be sent
inline constexpr int kWriteOk = 1023;          // the configuration has been sent
inline constexpr int kWait = 1026;             // the delay dialog's line
inline constexpr int kNoTlnAdr = 1036;         // no subscriber has a bus address
// Followed by a blank and the link text ("via capi", ...).
inline constexpr int kWriteLink = 1045;
inline constexpr int kReadLink = 1046;
inline constexpr int kOk = 3000;
inline constexpr int kCancel = 3001;

inline constexpr std::array kCodeTextIds = {
    kBSMHeading,     kInclBusAdr,        kZuordnen,       kColumnText,
    kColumnCode,     kSchaltcodeHeading, kSchaltcodeText, kKtxLesen,
    kKtxSchreiben,   kUpdateGroup,       kTransfer,       kAssigned,
    kTlnProgHeading, kTlnProgHint,       kProgError1,     kProgError1 + 1,
    kProgError1 + 2, kProgError1 + 3,    kProgErrorOther, kSendFailed,
    kProgFailed,     kITChanged,         kNoBSM,          kToDoProgMode,
    kToDoBTLM,       kToDoAssign,        kToDoBSM,        kTlnStillInProg,
    kBSMStillInProg, kCaption,           kSaveQuestion,   kHinweis,
    kReadFailed,     kWriteFailed,       kWriteOk,        kWait,
    kNoTlnAdr,       kWriteLink,         kReadLink,       kOk,
    kCancel,
};

} // namespace ctxt
