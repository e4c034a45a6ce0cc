#pragma once
// The whole simulator behind one pseudo-terminal: the bus interface (link
// level), the box's 'C' telegram layer and the box core, on one set of
// timers. The executable polls MasterFd() and NextTimerMs() and hands each
// wake-up to HandleTurn(); every event line goes to onLine.

#include "BoxBusLink.h"
#include "BoxCore.h"
#include "BoxV24Link.h"
#include "BusInterfaceSim.h"
#include "SimTimers.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace boxsim {

class BoxSimulator {
public:
    explicit BoxSimulator(SimTimers::NowFn now = {});
    BoxSimulator(const BoxSimulator&) = delete;
    BoxSimulator& operator=(const BoxSimulator&) = delete;

    // Puts the box on the direct V.24 cable instead of the bus; before
    // Start.
    void UseV24();
    // The V.24 front-end; null on the bus.
    BoxV24Link* V24() { return m_pV24.get(); }
    // The RX/TX lines of whichever front-end is in use.
    void SetTrace(bool on);

    bool Start(std::string* error) { return m_pV24 ? m_pV24->Start(error) : m_Bus.Start(error); }
    const std::string& PtyPath() const { return m_pV24 ? m_pV24->PtyPath() : m_Bus.PtyPath(); }

    BusInterfaceSim& Bus() { return m_Bus; }
    BoxBusLink& Link() { return m_Link; }
    BoxCore& Core() { return m_Core; }
    SimTimers& Timers() { return m_Timers; }
    const BoxCore& Core() const { return m_Core; }
    const BusInterfaceSim& Bus() const { return m_Bus; }

    // Every line the simulator has to tell.
    std::function<void(const std::string&)> onLine;

    int MasterFd() const { return m_pV24 ? m_pV24->MasterFd() : m_Bus.MasterFd(); }
    int NextTimerMs() const { return m_Timers.NextTimerMs(); }
    void HandleInput() {
        if (m_pV24)
            m_pV24->HandleInput();
        else
            m_Bus.HandleInput();
    }
    void HandleTimers() { m_Timers.Run(); }
    // One wake-up of the poll loop, called as soon as its poll returned:
    // the timers that are due, then the PC's input when input is set. A
    // turn that wrote to the PC counts as an answer of the simulator's,
    // from its start to the return of its last write.
    void HandleTurn(bool input);

    // The simulator's own time on its answers: a program measuring what an
    // exchange costs it takes this off its wall time, as the time from the
    // PC's bytes to the simulator's answer is not the program's. What the
    // clock cannot see stays with the PC: the wake-up of the simulator's
    // poll after the PC's write, and the line in between.
    struct AnswerTime {
        long turns = 0;
        std::int64_t ns = 0;
    };
    const AnswerTime& GetAnswerTime() const { return m_Answered; }

    // Nothing of the box's is queued, in flight or delayed.
    bool Idle() const { return m_Core.Idle(); }
    // "STATUS idle 1 packages ..." with the counters.
    std::string Status() const;

private:
    void Line(const std::string& line) {
        if (onLine)
            onLine(line);
    }

    SimTimers m_Timers;
    BusInterfaceSim m_Bus;
    BoxCore m_Core;
    BoxBusLink m_Link;
    std::unique_ptr<BoxV24Link> m_pV24;
    AnswerTime m_Answered;
};

} // namespace boxsim
