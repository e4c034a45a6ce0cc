#pragma once
// What a connection needs from its port: a way to put CAPI messages and a
// way to post to the port's owner. CapiPort is the one real host; the
// state-machine tests record instead.

#include "CapiPortMessage.h"

class CapiMessage;

class CapiConnectionHost {
public:
    virtual ~CapiConnectionHost() = default;

    // Sets the application id, numbers a message that is not a response
    // (a response keeps the number of its indication), traces it and hands
    // it to CAPI. Returns the CAPI Info value, 0 when CAPI took it.
    virtual unsigned PutMessage(CapiMessage& msg) = 0;
    // Queues a report for the owner (CapiPortOwner::PostCapiMessage).
    virtual void PostMsg(CapiPortMessage msg) = 0;
};
