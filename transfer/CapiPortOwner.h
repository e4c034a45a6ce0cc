#pragma once
// The form that owns a CapiPort (the transfer controller's window).
//
// Thread rule: PostCapiMessage is called on the port's receive thread and,
// inside a port operation, on the owner's own thread, always while the port
// holds its lock. It must only queue the message for the owner's thread
// (the program's adapter posts a window message with the value attached)
// and must never call back into the port or wait for the owner's thread.

#include "CapiPortMessage.h"

#include <string>

// Why the ISDN link cannot work.
enum class CapiUnavailable {
    LibraryMissing, // the CAPI library could not be loaded
    RegisterFailed, // the library refused the application
    ThreadFailed,   // the receive thread could not be started
};

class CapiPortOwner {
public:
    virtual ~CapiPortOwner() = default;

    virtual void PostCapiMessage(CapiPortMessage msg) = 0;

    // Once per port, from its constructor on the owner's thread: CAPI is not
    // usable and every port operation will return -3. `library` names the
    // library; `info` is the CAPI Info value of a refused registration (0
    // otherwise). The owner words the failure in the user's language.
    virtual void OnCapiUnavailable(CapiUnavailable why, const std::string& library,
                                   unsigned info) = 0;
};
