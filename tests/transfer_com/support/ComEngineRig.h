#pragma once
// The real transfer engine on the real direct serial port, with the box
// simulator on the V.24 cable behind a pseudo-terminal, in this process on a
// thread of its own. The test thread plays the GUI thread: ComNoticeQueue
// is its event loop, and the port reads and hands frames to the engine only
// while the test runs it. The engine's clock is a fake one, so a time-out happens only
// when a test moves it.

#include "BoxSimThread.h"
#include "EngineFakes.h"
#include "FakeClock.h"
#include "IComPortOwner.h"
#include "TDataTransferEngine.h"
#include "TTkComPort.h"
#include "TestSettingsFile.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A settings file of the test's own for as long as it lives, so the COM
// ports can point at pseudo-terminals without touching anyone's settings
// (not even those of a test running beside it).
using mox::test::TestSettingsFile;

// What the program's window does for the port: the test thread's event loop
// waits on the watched port as the GUI thread's does, and RunOne hands one
// wake-up to the port; COMPORT_DATA goes to onData (the engine's OnReadData
// in the rig).
class ComNoticeQueue : public IComPortOwner {
public:
    std::unique_ptr<IComInputWatch> WatchInput(int fd, std::function<void()> onInput) override;
    void PerformComPortData() override;
    void ShowOpenError() override;
    // Waits for input on a watched port and hands it to the port once;
    // false after a generous guard.
    bool RunOne();
    // Hands input to the port until it performs COMPORT_DATA.
    bool RunUntilData();
    // Descriptors watched now.
    std::size_t Watched() const { return m_watches.size(); }
    int OpenErrors() const { return m_openErrors; }

    std::function<void()> onData;

private:
    struct Watch;
    class WatchHandle;
    std::vector<std::shared_ptr<Watch>> m_watches;
    int m_openErrors = 0;
    int m_performed = 0;
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
    // The COM port of setting (5..8) is the box's pseudo-terminal.
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
    // The configuration packages the box holds, in block order.
    std::vector<Bytes> BoxPackages();
    // The box holds these, as a write of them would have left it.
    void SetBoxPackages(std::vector<Bytes> packages);

    TestSettingsFile temp{"transfer-com"};
    boxsim::BoxSimThread box;
    FakeClock clock;
    FakeSettings settings;
    ComNoticeQueue notices;
    ComPortFactory factory{notices};
    TDataTransferEngine engine{clock, settings, factory};
    RecordingView view;
    PackageOwner owner{engine};
};
