#pragma once
// The program's bus path, assembled the way the program assembles it, on
// the box simulator's pseudo-terminal: the real libquell32.so registered
// with the registration command and created by ProgID through the component
// layer, its events delivered on this (the GUI) thread through the Qt site,
// TQuell32Dispatch, TTkLumenPort and the transfer controller's engine on a
// clock that runs in real time but can be moved on.
//
// RunUntil is the event loop: the control's events, the bus port's posted
// calls and the engine's timers, turn by turn, with a hook called every
// turn (at least every few milliseconds).

#include "BoxSimProcess.h"
#include "ComInterfaces.h"
#include "ComPtr.h"
#include "ILumenPortOwner.h"
#include "ITransferPortFactory.h"
#include "ITransferSettings.h"
#include "SkippableClock.h"
#include "TDataTransferEngine.h"
#include "TQuell32Dispatch.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class BusRig : public ILumenPortOwner, public ITransferPortFactory, public ITransferSettings {
public:
    // The transfer-medium setting: the bus interface on COM2.
    static constexpr int kComSetting = 2;
    // The loop looks at its hook and the engine's timers at least this often.
    static constexpr int kTurnMs = 5;
    // The bound of the rig's waits for an event: only a hang waits this
    // long (see BoxSimProcess::kGuardMs).
    static constexpr int kGuardMs = boxsim::BoxSimProcess::kGuardMs;

    // Paths of the three programs; simArgs go to the simulator.
    BusRig(std::string quell32, std::string regsvr, std::string boxsim,
           std::vector<std::string> simArgs = {});
    ~BusRig() override;
    BusRig(const BusRig&) = delete;
    BusRig& operator=(const BusRig&) = delete;

    // Starts the simulator, registers and creates the control and builds the
    // engine; false with a reason.
    bool Start(std::string* error);

    boxsim::BoxSimProcess& Sim() { return m_Sim; }
    TDataTransferEngine& Engine() { return *m_pEngine; }
    SkippableClock& Clock() { return m_Clock; }
    int OpenErrors() const { return m_nOpenErrors; }
    // The control's telegram events so far.
    long TeleEvents() const { return m_nTeleEvents; }
    // Telegrams the bus control acknowledged to the box that the bus port
    // has handled: through the telegram event, or read while the bus was
    // blocked and handed over by a posted call. -1 while such a call waits.
    long TelegramsTaken() const;

    // Runs the loop until done() holds or limitMs of real time have passed;
    // false on the time limit.
    bool RunUntil(const std::function<bool()>& done, int limitMs,
                  const std::function<void()>& hook = {});
    // A mark in the simulator's log to count the lines of what follows
    // from (BoxSimProcess::Mark), taken with the loop running meanwhile.
    size_t Mark(int limitMs = kGuardMs);
    // Sends a command to the simulator and runs the loop until its reply
    // line (starting with replyPrefix) came, written after the command was
    // read; empty on the time limit.
    std::string SimCommand(const std::string& line, const std::string& replyPrefix,
                           int limitMs = kGuardMs);
    // What the bus port has handled so far; taken before the simulator is
    // asked for its status.
    struct Handled {
        long taken = 0;  // TelegramsTaken
        long events = 0; // TeleEvents
        bool operator==(const Handled&) const = default;
    };
    Handled HandledNow() const { return {TelegramsTaken(), m_nTeleEvents}; }
    // Whether the simulator's status line, asked for after `before` was
    // taken, and the rig's counts say that nothing is moving: the box has no
    // telegram queued or in flight (nor a delayed answer, withDelayed),
    // every telegram the bus control acknowledged to it has been handled by
    // the bus port together with whatever the port sent in answer, and the
    // port has handled nothing since (or the line may be out of date).
    bool Quiet(const std::string& status, bool withDelayed, const Handled& before) const;
    // Runs the loop until Quiet (a cancelled exchange may leave blocks
    // moving for a moment).
    bool SettleBox(int limitMs = kGuardMs);

    // ILumenPortOwner
    void PerformQuellPortData() override;
    void PostQuellPortData() override;
    void PerformKennungRestart() override;
    void PostPendingTelegrams() override;
    void ShowOpenError(std::uint16_t result) override;
    // ITransferPortFactory
    std::unique_ptr<ITransferPort> CreatePort(eConnectionType type, int comPortSetting) override;
    // ITransferSettings
    int GetComPort() const override { return kComSetting; }

private:
    class EventSink;

    std::string m_Quell32;
    std::string m_RegSvr;
    boxsim::BoxSimProcess m_Sim;
    SkippableClock m_Clock;

    std::unique_ptr<EventSink> m_pSink;
    mox::com::ComPtr<mox::com::ISite> m_Site;
    mox::com::ComPtr<mox::com::IDispatch> m_Ctrl;
    std::unique_ptr<TQuell32Dispatch> m_pDispatch;
    std::unique_ptr<TDataTransferEngine> m_pEngine;
    // Receiver of the posted calls; deleting it drops those not yet run.
    std::unique_ptr<QObject> m_pPostTarget;

    int m_nOpenErrors = 0;
    long m_nTeleEvents = 0;
    long m_nAckedEvents = 0;   // handled events of a telegram the control acknowledged
    long m_nPendingPosted = 0; // telegrams read while the bus was blocked
    long m_nPendingRun = 0;    // posted calls that have run
};
