#pragma once
// What the direct serial port needs from the form that owns it (the transfer
// controller's window): a watch on the port's input from the GUI thread's
// event loop, the COMPORT_DATA notice, and the open-failure message.

#include <functional>
#include <memory>

// Input of one descriptor announced on the GUI thread; it ends when this is
// destroyed, which onInput itself may do.
class IComInputWatch {
public:
    virtual ~IComInputWatch() = default;
};

class IComPortOwner {
public:
    virtual ~IComPortOwner() = default;

    // Runs onInput on the GUI thread, from its event loop (modal loops
    // included), whenever fd has bytes to read or has hung up, until the
    // watch is destroyed. The GUI thread itself waits on the port, so a
    // frame reaches the controller without another thread reading it and
    // handing it over.
    virtual std::unique_ptr<IComInputWatch> WatchInput(int fd, std::function<void()> onInput) = 0;
    // COMPORT_DATA, on the GUI thread from inside onInput: a frame is ready
    // for ReceiveDataBlock (a bad frame too, as a block of 0 bytes). The
    // owner must not destroy the port inside this call.
    virtual void PerformComPortData() = 0;
    // The port could not be opened: the owner shows kComOpenErrorText with
    // caption kComOpenErrorCaption and the error icon. GUI thread, from
    // inside the constructor or OpenComPort.
    virtual void ShowOpenError() = 0;
};
