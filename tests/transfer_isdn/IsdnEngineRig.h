#pragma once
// The real transfer engine on the real ISDN port, through the fake CAPI
// library, with the box simulator's core at the far end of the call. The
// test thread plays the GUI thread: the port's reports wait in
// CapiReportQueue as the window's message queue would hold them, and Pump
// hands them to the engine one by one. The engine's clock is a fake one, so
// a time-out happens only when a test moves it.

#include "BoxCapiLink.h"
#include "CapiPortOwner.h"
#include "FakeCapiControl.h"
#include "FakeClock.h"
#include "IsdnFakes.h"
#include "TCapiTransferPort.h"
#include "TDataTransferEngine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

// Only a hang ever waits this long.
inline constexpr auto kIsdnGuard = std::chrono::seconds(20);

// The reports of the port, queued for the test thread.
class CapiReportQueue {
public:
    void Push(CapiPortMessage msg) {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_queue.push_back(std::move(msg));
        }
        m_posted.notify_all();
    }
    // The next report; none after the guard.
    std::optional<CapiPortMessage> Pop() {
        std::unique_lock<std::mutex> lock(m_lock);
        if (!m_posted.wait_for(lock, kIsdnGuard, [&] { return !m_queue.empty(); }))
            return std::nullopt;
        CapiPortMessage m = std::move(m_queue.front());
        m_queue.pop_front();
        return m;
    }
    std::size_t Pending() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_queue.size();
    }
    int unavailable = 0; // the test thread's

private:
    mutable std::mutex m_lock;
    std::condition_variable m_posted;
    std::deque<CapiPortMessage> m_queue;
};

// The port's owner: only queues, as the program's adapter does.
class QueueingCapiOwner : public CapiPortOwner {
public:
    explicit QueueingCapiOwner(CapiReportQueue& queue) : m_queue(queue) {}
    void PostCapiMessage(CapiPortMessage msg) override { m_queue.Push(std::move(msg)); }
    void OnCapiUnavailable(CapiUnavailable, const std::string&, unsigned) override {
        ++m_queue.unavailable;
    }

private:
    CapiReportQueue& m_queue;
};

class FakeCapiPortFactory : public ITransferPortFactory {
public:
    explicit FakeCapiPortFactory(CapiReportQueue& queue) : m_queue(queue) {}
    std::unique_ptr<ITransferPort> CreatePort(eConnectionType type, int) override {
        if (type != eConnectionCAPI)
            return nullptr;
        auto port = std::make_unique<TCapiTransferPort>(
            std::make_unique<QueueingCapiOwner>(m_queue), FAKECAPI_PATH);
        last = port.get();
        return port;
    }
    TCapiTransferPort* last = nullptr;

private:
    CapiReportQueue& m_queue;
};

class IsdnEngineRig {
public:
    IsdnEngineRig() {
        fakecapi::Reset();
        fakecapi::SetBox(&box);
        engine = std::make_unique<TDataTransferEngine>(clock, settings, factory);
        owner = std::make_unique<IsdnOwner>(*engine);
        engine->SetOwner(owner.get());
        engine->SetView(&view);
        // As the program does once the link is set: the port exists and
        // listens before any call.
        engine->UpdatePort();
    }
    ~IsdnEngineRig() {
        if (engine)
            engine->SetOwner(nullptr);
        engine.reset();
        for (const std::string& v : fakecapi::Violations())
            ADD_FAILURE() << "fake CAPI: " << v;
        fakecapi::SetBox(nullptr);
        fakecapi::Reset();
    }

    // Hands reports to the engine until done() holds (false: the port went
    // quiet first).
    bool PumpUntil(const std::function<bool()>& done) {
        while (!done()) {
            std::optional<CapiPortMessage> m = queue.Pop();
            if (!m)
                return false;
            ++reportsHandled[m->id];
            engine->OnCapiMessage(*m);
        }
        return true;
    }
    bool PumpUntilResults(std::size_t n) {
        return PumpUntil([&] { return owner->results.size() >= n; });
    }
    bool PumpUntilDisconnects(std::size_t n) {
        return PumpUntil([&] { return owner->disconnects.size() >= n; });
    }
    // Until the port's own report with this id has been handed over n times.
    bool PumpUntilReports(std::uint32_t id, int n) {
        return PumpUntil([&] { return reportsHandled[id] >= n; });
    }

    // Dials the box and waits for the data phase.
    bool DialUp() {
        const int instance = engine->Connect("0891234567");
        if (instance <= 0)
            return false;
        return PumpUntil([&] { return !owner->active.empty() || !owner->disconnects.empty(); }) &&
               !owner->active.empty() && engine->IsConnected();
    }

    // Runs one exchange to its end; true when it succeeded.
    bool Send(const std::vector<Bytes>& packages) {
        const std::size_t before = owner->results.size();
        owner->packages = packages;
        owner->Send();
        return PumpUntilResults(before + 1) && owner->results.back() == 1;
    }
    bool Read(Bytes& buffer, std::uint32_t size) {
        const std::size_t before = owner->results.size();
        buffer.assign(size, 0);
        engine->SetTransferData(eReceiveAnlDaten, buffer.data(), size);
        engine->StartTransfer();
        if (!PumpUntilResults(before + 1) || owner->results.back() != 1)
            return false;
        buffer.resize(engine->GetReceivedLen());
        return true;
    }

    // The box of the bus tests; it outlives the engine and the port.
    boxsim::BoxCapiLink box;
    CapiReportQueue queue;
    FakeClock clock;
    IsdnSettings settings;
    FakeCapiPortFactory factory{queue};
    RecordingView view;
    std::unique_ptr<TDataTransferEngine> engine;
    std::unique_ptr<IsdnOwner> owner;
    // The port's reports handed to the engine so far, by id.
    std::map<std::uint32_t, int> reportsHandled;
};
