#pragma once
// Where subscriber programming and the firmware download plug into the
// transfer controller's engine. Each hook has a default that does nothing, so
// the engine runs the configuration exchanges without them.

class TTkDataMsg;

class ITransferExtension {
public:
    virtual ~ITransferExtension() = default;

    // Modes 5 and 6 (free-address list and count): send the request. False
    // when the mode is not handled; the start then fails.
    virtual bool StartMode(int /*mode*/) { return false; }
    // Mode 8, after the start delay, with the mode already at its first
    // firmware step. False when no download can start; the run then fails.
    virtual bool StartFirmware() { return false; }
    // A received message (or null: time-out, cancel, failed block) while the
    // mode is one of the firmware steps 9..23.
    virtual void WorkOnFirmwareStep(int /*mode*/, const TTkDataMsg* /*pMsg*/) {}
    // Every received message and every time-out, after the mode's handler.
    virtual void WorkOnProgData(const TTkDataMsg* /*pMsg*/) {}
    // A transfer starts: clear the free-address list.
    virtual void OnTransferStart() {}
    // A firmware run ends: send the stop commands.
    virtual void OnFirmwareStop() {}
    // The user cancels a running firmware run. True when the extension deals
    // with the cancel itself and ends the run when it is through; false for
    // the plain cancel.
    virtual bool OnCancelRequest() { return false; }
    // The port changed: programming state back to undefined.
    virtual void OnPortChanged() {}
    // The ISDN call ended: the programming data of that call are void.
    virtual void OnIsdnHangup() {}
};
