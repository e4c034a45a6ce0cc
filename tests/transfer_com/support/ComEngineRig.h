#pragma once
// The real transfer engine on the real direct serial port, with the box peer
// behind a pseudo-terminal. The test thread plays the GUI thread: the port's
// queued notices wait in ComNoticeQueue and Pump hands them to the engine
// one by one. The engine's clock is a fake one, so a time-out happens only
// when a test moves it.

#include "BoxV24Peer.h"
#include "EngineFakes.h"
#include "FakeClock.h"
#include "IComPortOwner.h"
#include "TDataTransferEngine.h"
#include "TTkComPort.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// A settings file of the test's own for as long as it lives, so the COM
// ports can point at pseudo-terminals without touching anyone's settings
// (not even those of a test running beside it).
class TempSettings {
public:
    TempSettings();
    ~TempSettings();
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;
    // COM<n> is the device at path.
    void MapCom(int comNumber, const std::string& path);

private:
    std::string m_path;
};

// What the program's window does for the port: posted calls wait in a queue
// that the test thread runs like an event loop; COMPORT_DATA goes to onData
// (the engine's OnReadData in the rig).
class ComNoticeQueue : public IComPortOwner {
public:
    void PostToGuiThread(std::function<void()> call) override;
    void PerformComPortData() override;
    void ShowOpenError() override;
    // Runs one posted call, waiting for it; false after a generous guard.
    bool RunOne();
    // Runs posted calls until one performs COMPORT_DATA.
    bool RunUntilData();
    std::size_t Pending() const;
    int OpenErrors() const;

    std::function<void()> onData;

private:
    mutable std::mutex m_lock;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_calls;
    int m_openErrors = 0;
    int m_performed = 0; // the test thread's
};

class ComPortFactory : public ITransferPortFactory {
public:
    explicit ComPortFactory(IComPortOwner& owner) : m_owner(owner) {}
    std::unique_ptr<ITransferPort> CreatePort(eConnectionType type, int setting) override;

private:
    IComPortOwner& m_owner;
};

// The default configuration as the document sends it: one package per
// section, empty ones left out.
std::vector<Bytes> DefaultConfigPackages();
Bytes Concat(const std::vector<Bytes>& parts);

struct ComEngineRig {
    // The COM port of setting (5..8) is the peer's pseudo-terminal.
    explicit ComEngineRig(int setting = 5);

    // Hands notices to the engine until n results have come (false: the
    // link went quiet first).
    bool PumpUntilResults(std::size_t n);
    // Runs one exchange to its end.
    bool Send(const std::vector<Bytes>& packages);
    bool Read(Bytes& buffer, std::uint32_t size);
    bool Reset();
    bool ReadEventLog(Bytes& buffer);
    TTkComPort* Port() const;

    TempSettings temp;
    BoxV24Peer peer;
    FakeClock clock;
    FakeSettings settings;
    ComNoticeQueue notices;
    ComPortFactory factory{notices};
    TDataTransferEngine engine{clock, settings, factory};
    RecordingView view;
    PackageOwner owner{engine};
};
