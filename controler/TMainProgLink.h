#pragma once
// The main window's reach into the transfer form's subscriber programming.
// Kept apart from the window's own headers: the programming part and the
// program-state panel each have a state enumeration of their own, and no
// file sees both.

#include <cstdint>

class IProgResultOwner;
class TDataTransfer;

// What the program-state panel and the document need of the programming.
struct TMainProgSnapshot {
    bool boxProg = false; // the box is in programming mode
    bool btlm = false;    // a subscriber unit is in programming
    bool video = false;   // ... and it reported video
    bool bsm = false;     // switch-module programming
    std::uint16_t kennziffer = 0;
};

class TMainProgLink {
public:
    static void SetResultOwner(TDataTransfer& form, IProgResultOwner* owner);
    static TMainProgSnapshot Read(const TDataTransfer& form);
    static void ResetProgData(TDataTransfer& form);
};
