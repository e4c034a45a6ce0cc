#pragma once
// What the main window takes from outside when it is built: the transfer
// controller's factory, the bus control, and the dialogs that later parts
// bring. The start-up fills in the program's real ones; tests hand in fakes.
// An empty function means the part is not there: its command is disabled.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class IMainTransfer;
class TMoxMain;

struct TMoxMainSeams {
    // Creates the transfer controller when the window is first shown.
    std::function<std::unique_ptr<IMainTransfer>(TMoxMain&)> createTransfer;
    // Host the bus control Quell32 (created by class id while the window is
    // built; not registered: the constructor throws).
    bool hostQuell32 = true;
    // The link dialog; true when it ended with OK.
    std::function<bool(TMoxMain&)> runPortDialog;
    // The ISDN connect dialog; the number to dial, empty when cancelled.
    std::function<std::string(TMoxMain&)> runConnectDialog;
    // The print dialog for the node kind of the selected tree node.
    std::function<void(TMoxMain&, std::uint8_t kind)> runPrintDialog;
    // The printer setup dialog.
    std::function<void(TMoxMain&)> runPrinterSetup;
};
