#pragma once
// The way from the box to the PC, as the box core sees it: one block at a
// time, carried whole. The bus front-end cuts it into 'C' telegrams; a V.24
// front-end would frame it; the fake CAPI library would send it as one
// B-channel data message.

#include "SimTelegram.h"

namespace boxsim {

class IBoxLink {
public:
    virtual ~IBoxLink() = default;

    // One block message as the box sends it (channel mark set). Blocks are
    // carried in the order given, one after the other.
    virtual void SendBlock(const Bytes& block) = 0;
    // One raw telegram (target, function, transmitter, data), for the box's
    // own bus telegrams (programming announcements). Links without a bus
    // refuse it.
    virtual bool SendRawTelegram(const Bytes& /*telegram*/) { return false; }
    // Nothing queued or under way.
    virtual bool Idle() const = 0;
};

} // namespace boxsim
