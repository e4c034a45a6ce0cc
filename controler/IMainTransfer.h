#pragma once
// The transfer controller as the main window uses it: the document's side
// (IDocTransfer) and what the window itself needs: the link's state, the
// ports brought in line with the setting, the ISDN dial and hang-up, the
// subscriber-programming state for the status panel, and the bus control's
// event. The window creates it when it is first shown (through a factory,
// so tests can hand in a fake) and destroys it last.
//
// Results come back as window messages to the window's address
// (WM_TRANSFER_RESULT, WM_NEED_TRANSFER_DATA, WM_MORE_TRANSFER_DATA, the
// programming results and the ISDN events).

#include "IDocTransfer.h"
#include "TMainControls.h"

#include <cstdint>
#include <string>

class IMainTransfer : public IDocTransfer {
public:
    // Brings the ports in line with the transfer-medium setting; true when a
    // port was opened or reopened.
    virtual bool UpdatePort() = 0;
    // Whether the configured link can carry an exchange now.
    virtual bool IsConnected() const = 0;
    // "via capi", "via LumenBus", "via COM-Port" or "no connection!".
    virtual std::string GetConnectionText() const = 0;

    // ISDN: dials the box; a negative result when the dial was refused.
    virtual int Connect(const std::string& number) = 0;
    // ISDN: hangs up the call the user asked to end.
    virtual void Disconnect() = 0;
    // ISDN: the value of the current connection (wParam of the own
    // CAPIPORT_DISCONNECT).
    virtual std::intptr_t GetConnectionValue() const = 0;

    // Subscriber programming: the state the status panel shows, the box
    // identifier the document keeps (on PROGMODEAKT_OK), and the reset of
    // the programming data after a hang-up.
    virtual TProgFlags GetProgFlags() const = 0;
    virtual std::uint16_t GetBoxKennziffer() const = 0;
    virtual void ResetProgData() = 0;

    // The bus control's TeleReceived event.
    virtual void OnTeleReceived() = 0;
    // Closes the transfer form when a result arrived.
    virtual void CloseTransferForm() = 0;
};
