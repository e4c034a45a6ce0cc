#pragma once
// A feature of the box that plugs into the box core: subscriber
// programming, firmware download. The core offers it every block it does
// not answer itself, every bus telegram for the box that is not a 'C'
// telegram, every command line it does not know, and the box's restart.
// A feature answers through BoxCore::Answer and BoxCore::Report, so the
// misbehaviour settings (mute, delay) and the event lines apply to it too.

#include "SimBlock.h"

#include <string>

namespace boxsim {

class BoxCore;

class IBoxFeature {
public:
    virtual ~IBoxFeature() = default;

    virtual std::string Name() const = 0;
    // A block from the PC; true when the feature took it.
    virtual bool OnBlock(BoxCore& box, const SimBlock& block) = 0;
    // A raw bus telegram for the box (target, function, transmitter, data).
    virtual bool OnTelegram(BoxCore& /*box*/, const Bytes& /*telegram*/) { return false; }
    // A command line "cmd args"; true when taken, with the line to print.
    virtual bool OnCommand(BoxCore& /*box*/, const std::string& /*cmd*/,
                           const std::string& /*args*/, std::string* /*reply*/) {
        return false;
    }
    virtual void OnReset(BoxCore& /*box*/) {}
    // Nothing of the feature's own is pending (for the status line).
    virtual bool Idle() const { return true; }
};

} // namespace boxsim
