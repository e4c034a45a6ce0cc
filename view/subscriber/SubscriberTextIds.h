#pragma once
// Language-text ids of the subscriber page, the subscriber programming
// dialog and the call-button assignment dialog. Each has its text in all six
// language files (the tests check every id of kSubscriberTextIds).

#include <array>

namespace stxt {

inline constexpr int kNone = 80;             // list item "no choice"
inline constexpr int kKbaListInfo = 189;     // info line while the free-address list is read
inline constexpr int kSetInstruction = 191;  // instruction of the assignment dialog
inline constexpr int kFirstAssign = 192;     // "first assignment:"
inline constexpr int kMultiAssign = 193;     // "multiple assignment:"
inline constexpr int kDelAllBtn = 195;       // "delete all subscribers"
inline constexpr int kAssigned = 196;        // the unit confirmed the assignment
inline constexpr int kKbaCountFmt = 197;     // free addresses, a format with the count
inline constexpr int kSubscribers = 209;     // group box of the assignment dialog
inline constexpr int kProgCaption = 235;     // caption of the programming dialog
inline constexpr int kProgModeLeft = 239;    // the box left programming mode
inline constexpr int kVideo = 240;           // the unit has video
inline constexpr int kBtlmGroup = 241;       // "bus door loudspeaker"
inline constexpr int kAssignBtn = 243;       // "assign subscriber"
inline constexpr int kDelBtn = 244;          // "delete subscriber"
inline constexpr int kNoSelection = 246;     // no unit in programming
inline constexpr int kCancelAssignBtn = 247; // "cancel assignment"
inline constexpr int kNoNewDevices = 249;    // "no new devices"
inline constexpr int kColSubscriber = 250;   // grid header
inline constexpr int kColNumber = 251;
inline constexpr int kColVideo = 252;
inline constexpr int kPageHeading = 254; // heading of the subscriber page
inline constexpr int kYes = 255;
inline constexpr int kNo = 256;
inline constexpr int kFinishBtn = 279;  // "finish"
inline constexpr int kSetCaption = 283; // caption of the assignment dialog
inline constexpr int kDelTlnFailed = 401;
inline constexpr int kProgFailed = 402;
inline constexpr int kCancelFailed = 403;
inline constexpr int kProgQuitFailed = 405;
inline constexpr int kTlnProgAktFailed = 407;
inline constexpr int kProgError1 = 408;   // programming errors 1..4: 408..411
inline constexpr int kProgErrorFmt = 412; // any other error, a format with its number
inline constexpr int kSendFailed = 413;
inline constexpr int kKbaListFailed = 414;
inline constexpr int kKbaListEmpty = 415;
inline constexpr int kKbaCountFailed = 417;
inline constexpr int kTypeChanged = 418;
inline constexpr int kToDoProgMode = 425;  // put the box into programming mode
inline constexpr int kToDoUnit = 426;      // put a unit into programming
inline constexpr int kToDoChoose = 427;    // choose a subscriber and assign
inline constexpr int kStillProgMode = 428; // the box is still in programming mode
inline constexpr int kUnitBusy = 431;      // a unit is still in programming
inline constexpr int kPressKey = 432;      // press the call button now
inline constexpr int kColCallButton = 440; // grid header for door-interface type 1
inline constexpr int kCaption = 1002;
inline constexpr int kReadFailed = 1018;
inline constexpr int kWriteFailed = 1022;
inline constexpr int kWriteOk = 1023;
inline constexpr int kAskDelAll = 1029;
inline constexpr int kAskDelete = 1030;
inline constexpr int kKbaCountInfo = 1040;

inline constexpr std::array kSubscriberTextIds = {
    kNone,
    kKbaListInfo,
    kSetInstruction,
    kFirstAssign,
    kMultiAssign,
    kDelAllBtn,
    kAssigned,
    kKbaCountFmt,
    kSubscribers,
    kProgCaption,
    kProgModeLeft,
    kVideo,
    kBtlmGroup,
    kAssignBtn,
    kDelBtn,
    kNoSelection,
    kCancelAssignBtn,
    kNoNewDevices,
    kColSubscriber,
    kColNumber,
    kColVideo,
    kPageHeading,
    kYes,
    kNo,
    kFinishBtn,
    kSetCaption,
    kDelTlnFailed,
    kProgFailed,
    kCancelFailed,
    kProgQuitFailed,
    kTlnProgAktFailed,
    kProgError1,
    409,
    410,
    411,
    kProgErrorFmt,
    kSendFailed,
    kKbaListFailed,
    kKbaListEmpty,
    kKbaCountFailed,
    kTypeChanged,
    kToDoProgMode,
    kToDoUnit,
    kToDoChoose,
    kStillProgMode,
    kUnitBusy,
    kPressKey,
    kColCallButton,
    kCaption,
    kReadFailed,
    kWriteFailed,
    kWriteOk,
    kAskDelAll,
    kAskDelete,
    kKbaCountInfo,
};

} // namespace stxt
