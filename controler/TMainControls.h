#pragma once
// The rules of the main window's UpdateControls as a plain function of the
// window's state: which commands are enabled and visible, the title, the
// status-panel text and the program-state image. Plain C++; the window only
// copies the result onto its actions.

#include <cstdint>
#include <optional>
#include <string>

struct TMainControlInput {
    int portSetting = 0;        // the transfer medium of the settings (9 ISDN)
    bool haveTransfer = false;  // the transfer controller exists
    bool linkUsable = false;    // its IsConnected
    bool isdnConnected = false; // the connection-active flag
    bool dialling = false;      // a dial has just started
    bool docModified = false;
    std::uint8_t nodeKind = 0; // kind of the current page
    int mode = 1;
    bool expert = false;
    // Windows-1252 texts: 1002, 67 and the remembered number "client0".
    std::string textCaption;
    std::string textIsdn;
    std::string client0;
};

struct TMainControlState {
    std::string title; // window and application title, Windows-1252

    bool resetPageEnabled = false; // the reset-page item and the restore menu item
    bool deleteVisible = false;    // never

    bool connectEnabled = false;
    bool disconnectEnabled = false;
    bool dialVisible = false;
    bool discVisible = false;

    bool newVisible = true;
    bool openVisible = true;
    bool saveEnabled = false; // the save button and menu item
    bool newMenuEnabled = true;

    // Read and write buttons and menu items and the restart-box item; no
    // value while there is no transfer controller (they stay as they are).
    std::optional<bool> transferEnabled;

    bool defaultsVisible = false; // load the box with the default values
    bool defaultsEnabled = false;
};

// What the program-state panel shows. The programming part of the transfer
// controller has an eProgState of its own (its states, not the panel's), so
// this one keeps its name in a scope of its own; its values stand in the
// global scope as before, and both headers can be included in one file.
namespace mox::panel {
enum eProgState : int {
    eProgStateNoMedium = 0,
    eProgStateIdle = 1,
    eProgStateBoxProg = 2, // the box is in programming mode
    eProgStateBsmProg = 3, // switch-module programming
    eProgStateTlnProg = 4, // a subscriber unit in programming, no video
    eProgStateBlankImage = 5,
    eProgStateTlnVideo = 6, // a subscriber unit in programming, with video
};
} // namespace mox::panel
using enum mox::panel::eProgState;

struct TProgFlags {
    bool boxProg = false;
    bool tlnProg = false;
    bool tlnVideo = false;
    bool bsmProg = false;
};

class TMainControls {
public:
    static TMainControlState Compute(const TMainControlInput& in);

    // Whether a node kind has a page whose defaults can be restored.
    static bool HasResetPage(std::uint8_t kind);

    // GetProgState: 0 without a medium, else 1, then (a later test wins)
    // 2 box programming, 4 subscriber without video, 6 with video, 3 switch
    // module.
    static int ProgState(int portSetting, const TProgFlags& flags);
    // The image the panel draws: with door-interface type 2 the programming
    // states blink (image 5 in the blink phase); other types always show 5.
    static int ProgStateImage(int state, int typeIT, bool blinkPhase);
};
