#pragma once
// What the direct serial port needs from the form that owns it (the transfer
// controller's window): a queued call onto the GUI thread, the COMPORT_DATA
// notice, and the open-failure message.

#include <functional>

class IComPortOwner {
public:
    virtual ~IComPortOwner() = default;

    // Runs call later on the GUI thread, never inside this call. Called on
    // the port's reader thread: only queue it and return, never wait for
    // the GUI thread (closing the port waits for the reader). Each call
    // carries one received frame by value; a call that runs after its port
    // was closed does nothing.
    virtual void PostToGuiThread(std::function<void()> call) = 0;
    // COMPORT_DATA, on the GUI thread from inside a posted call: a frame is
    // ready for ReceiveDataBlock (a bad frame too, as a block of 0 bytes).
    // The owner must not destroy the port inside this call.
    virtual void PerformComPortData() = 0;
    // The port could not be opened: the owner shows kComOpenErrorText with
    // caption kComOpenErrorCaption and the error icon. GUI thread, from
    // inside the constructor or OpenComPort.
    virtual void ShowOpenError() = 0;
};
