#pragma once
// Collaborators of the transfer controller's engine in a test: a port that
// records what it is asked to send and hands back what the test puts in, a
// factory that keeps track of the ports it built, the setting, a form that
// records what it is told, and an owner that serves packages.

#include "ICapiLinkPort.h"
#include "ITransferOwner.h"
#include "ITransferPortFactory.h"
#include "ITransferSettings.h"
#include "ITransferView.h"
#include "TDataTransferEngine.h"

#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// On ISDN it also plays the port's call: a dial gets instance 1 and is in
// its data phase at once; blocks sent on it are recorded like any others.
class FakeTransferPort : public ITransferPort, public ICapiLinkPort {
public:
    FakeTransferPort(eConnectionType type, int com, int* destroyed)
        : type(type), com(com), destroyed(destroyed) {}
    ~FakeTransferPort() override {
        if (destroyed)
            ++*destroyed;
    }

    bool IsOpen() const override { return open; }
    int GetComNumber() const override { return com; }
    bool SendDataBlock(const std::uint8_t* data, std::uint32_t len) override {
        ++sendAttempts;
        bool ok = sendOk;
        if (!sendResults.empty()) {
            ok = sendResults.front();
            sendResults.pop_front();
        }
        if (ok)
            blocks.emplace_back(data, data + len);
        return ok;
    }
    std::uint32_t ReceiveDataBlock(std::uint8_t* dest, std::uint32_t size) override {
        const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(size, rx.size()));
        std::copy(rx.begin(), rx.begin() + n, dest);
        return n;
    }
    bool SendLumenTelegramm(const std::uint8_t* tele, std::uint16_t len) override {
        if (!teleOk)
            return false;
        telegrams.emplace_back(tele, tele + len);
        return true;
    }
    void OnTeleReceived() override {
        ++teleEvents;
        if (onTele)
            onTele();
    }
    ICapiLinkPort* GetCapiLink() override { return type == eConnectionCAPI ? this : nullptr; }
    int Connect(const CapiCallInfo&) override { return call = 1; }
    int Listen(const CapiCallInfo&) override { return 2; }
    int SendData(int instance, std::uint32_t len, const std::uint8_t* data) override {
        if (instance != call)
            return -2;
        return SendDataBlock(data, len) ? static_cast<int>(len) : -1;
    }
    int Disconnect(int instance) override {
        if (instance != call)
            return -2;
        call = 0;
        return 0;
    }
    bool IsDataPhase(int instance) override { return instance != 0 && instance == call; }

    eConnectionType type;
    int com;
    int* destroyed;
    bool open = true;
    bool sendOk = true;
    std::deque<bool> sendResults;
    bool teleOk = true;
    std::vector<Bytes> blocks;
    int sendAttempts = 0; // also the failed ones
    std::vector<Bytes> telegrams;
    Bytes rx;
    int teleEvents = 0;
    std::function<void()> onTele;
    int call = 0; // ISDN: the instance of the call, 0 none
};

class FakePortFactory : public ITransferPortFactory {
public:
    std::unique_ptr<ITransferPort> CreatePort(eConnectionType type, int setting) override {
        ++created;
        if (refuse)
            return nullptr;
        // As the real ports: serial settings 5..8 and bus settings 1..4
        // name COM1..COM4.
        const int com = type == eConnectionV24     ? setting - 4
                        : type == eConnectionQuell ? setting
                                                   : 0;
        auto port = std::make_unique<FakeTransferPort>(type, com, &destroyed);
        port->open = openPorts;
        last = port.get();
        return port;
    }

    int created = 0;
    int destroyed = 0;
    bool refuse = false;
    bool openPorts = true;
    FakeTransferPort* last = nullptr;
};

class FakeSettings : public ITransferSettings {
public:
    int GetComPort() const override { return comPort; }
    int comPort = 5;
};

class RecordingView : public ITransferView {
public:
    void SetCaptionText(int textId) override { caption = textId; }
    void SetInfoText(int textId, int number) override { info.emplace_back(textId, number); }
    void SetProgressRange(int mn, int mx, int st) override {
        min = mn;
        max = mx;
        step = st;
    }
    void SetProgressMax(int mx) override { max = mx; }
    void SetProgressPosition(int p) override { pos = p; }
    void StepProgress() override { pos += step; }
    void SetProgressToEnd() override { pos = max; }
    void SetProgressTimer(bool on) override { progressTimer = on; }
    void SetCancelEnabled(bool enabled) override { cancelEnabled = enabled; }
    void SetDefaultCursor() override {}
    void CloseForm() override { ++closed; }

    int caption = 0;
    std::vector<std::pair<int, int>> info;
    int min = 0, max = 0, step = 0, pos = 0;
    bool progressTimer = false;
    bool cancelEnabled = true;
    int closed = 0;
};

// The document's side of a send: hands out the packages one by one and says
// whether more follow.
class PackageOwner : public ITransferOwner {
public:
    explicit PackageOwner(TDataTransferEngine& engine) : engine(engine) {}

    void OnTransferResult(int result) override { results.push_back(result); }
    void OnNeedTransferData() override {
        ++needCalls;
        ++current;
        if (current < packages.size())
            engine.SetTransferBuf(packages[current].data(),
                                  static_cast<std::uint32_t>(packages[current].size()));
        else
            engine.SetTransferBuf(nullptr, 0);
    }
    void OnMoreTransferData() override {
        ++moreCalls;
        engine.SetMoreData(current + 1 < packages.size());
    }

    // Starts a send of the packages.
    void Send() {
        current = 0;
        engine.SetTransferData(eSendAnlDaten, packages[0].data(),
                               static_cast<std::uint32_t>(packages[0].size()));
        engine.SetTeleAnz(static_cast<std::uint16_t>(packages.size()));
        engine.StartTransfer();
    }

    TDataTransferEngine& engine;
    std::vector<Bytes> packages;
    std::size_t current = 0;
    std::vector<int> results;
    int needCalls = 0;
    int moreCalls = 0;
};

// Block messages as the box sends them (channel bit 7 set, as the box does).
inline Bytes BoxBlock(std::uint8_t cmd, std::uint16_t block, const Bytes& data = {},
                      std::uint8_t channel = 0, std::uint16_t value = 0xFFFF) {
    Bytes b{static_cast<std::uint8_t>(channel | 0x80), cmd,
            static_cast<std::uint8_t>(block >> 8),     static_cast<std::uint8_t>(block & 0xFF),
            static_cast<std::uint8_t>(value >> 8),     static_cast<std::uint8_t>(value & 0xFF)};
    b.insert(b.end(), data.begin(), data.end());
    return b;
}
