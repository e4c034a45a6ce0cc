#pragma once
// What the box's telegram layer needs of the bus front-end: telegrams sent
// to the PC one at a time, each repeated until the PC acknowledges it or
// its tries are used up.

#include "SimTelegram.h"

#include <functional>

namespace boxsim {

// What came back for a telegram: the PC's answer byte, or one of these.
inline constexpr int kNoAnswer = -1;   // nothing within the answer wait, every try
inline constexpr int kNotAnswered = -2; // a broadcast: nobody answers it

struct OutTelegram {
    Bytes bytes;        // target, function, transmitter, data
    Bytes wire;         // each try's bytes as they stand; empty: framed from bytes
    int tries = 0;      // 0: the front-end's setting
    int ackWaitMs = 0;  // 0: the front-end's setting
    bool garble = false; // every try with a bad checksum
    std::function<void()> onFirstTry; // its first try is on the line
    std::function<void(int answer)> onDone;
};

class ITelegramOut {
public:
    virtual ~ITelegramOut() = default;
    virtual void Queue(OutTelegram telegram) = 0;
    // Nothing queued, nothing waiting for its answer.
    virtual bool Idle() const = 0;
};

} // namespace boxsim
