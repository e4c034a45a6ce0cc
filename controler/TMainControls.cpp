#include "TMainControls.h"

#include "PermSettings.h"
#include "TNodeData.h"

TMainControlState TMainControls::Compute(const TMainControlInput& in) {
    TMainControlState s;
    const bool isdn = in.portSetting == ePortCapi;

    if (!isdn) {
        s.title = in.textCaption;
    } else {
        std::string number;
        if (in.dialling)
            number.clear();
        else if (in.isdnConnected)
            number = in.client0;
        else
            number = " ";
        s.title = in.textCaption + "   " + in.textIsdn + " <" + number + ">";
    }

    s.resetPageEnabled = HasResetPage(in.nodeKind);
    s.deleteVisible = false;

    if (isdn) {
        s.connectEnabled = !in.isdnConnected;
        s.disconnectEnabled = in.isdnConnected;
        s.dialVisible = !in.isdnConnected && !in.dialling;
        s.discVisible = in.isdnConnected || in.dialling;
    }

    s.newVisible = true;
    s.openVisible = true;
    s.saveEnabled = in.docModified;
    s.newMenuEnabled = s.newVisible;

    if (in.haveTransfer) {
        s.transferEnabled = in.linkUsable;
        // The subscriber page restores the addresses in the box itself.
        if (in.nodeKind == eTlnKonfig)
            s.resetPageEnabled = in.linkUsable;
        if (in.mode == 2 && in.expert) {
            s.defaultsVisible = true;
            s.defaultsEnabled = in.linkUsable;
        }
    }
    return s;
}

bool TMainControls::HasResetPage(std::uint8_t kind) {
    switch (kind) {
    case eKTXKonfig:
    case eSperrnr:
    case eSMS:
    case eKMRKonfig:
    case eRAKMEG:
    case eRAKSAG:
    case eITKonfig:
    case eITMfe:
    case eITMfr:
    case eITSchaltcode:
    case eEIBKonfig:
    case eBSMKonfig:
    case eTlnKonfig:
    case eTlnBG:
    case eSystemKonfig:
        return true;
    default:
        return false;
    }
}

int TMainControls::ProgState(int portSetting, const TProgFlags& flags) {
    if (portSetting == ePortNone)
        return eProgStateNoMedium;
    int state = eProgStateIdle;
    if (flags.boxProg)
        state = eProgStateBoxProg;
    if (flags.tlnProg && !flags.tlnVideo)
        state = eProgStateTlnProg;
    if (flags.tlnProg && flags.tlnVideo)
        state = eProgStateTlnVideo;
    if (flags.bsmProg)
        state = eProgStateBsmProg;
    return state;
}

int TMainControls::ProgStateImage(int state, int typeIT, bool blinkPhase) {
    if (typeIT != 2)
        return eProgStateBlankImage;
    if (state != eProgStateNoMedium && state != eProgStateIdle && blinkPhase)
        return eProgStateBlankImage;
    return state;
}
