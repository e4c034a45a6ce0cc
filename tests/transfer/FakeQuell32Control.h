#pragma once
// A bus control without a bus: it records what the bus port sets and sends,
// answers each transmitted telegram with a scripted status, and holds the
// telegram a test (or a fake box) puts there for the port to read.

#include "IQuell32Control.h"
#include "LumenPortDefs.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class FakeQuell32Control : public IQuell32Control {
public:
    using Tele = std::vector<std::uint8_t>;

    struct Stored {
        std::uint16_t status = RECEIVE_NO_MESSAGE;
        std::int16_t len = -1;
        Tele bytes;
    };

    void SetUseEventNotification(bool on) override { Log("UseEventNotification", on); }
    void SetCommPort(std::int16_t port) override { Log("CommPort", port); }
    void SetPCAnswerMode(bool on) override { Log("PCAnswerMode", on); }
    void SetPCAdr(std::int16_t adr) override { Log("PCAdr", adr); }
    void SetReadyForReceive(bool ready) override {
        Log("ReadyForReceive", ready);
        if (ready)
            ++readyCount;
    }
    void SetTeleAllBytes(bool on) override { Log("TeleAllBytes", on); }
    bool GetConnected() override { return portOpen; }

    std::uint16_t OpenPort() override {
        calls.push_back("OpenPort");
        portOpen = openResult == 0;
        return openResult;
    }
    std::uint16_t ClosePort() override {
        calls.push_back("ClosePort");
        const std::uint16_t r = portOpen ? 0 : 0xF001;
        portOpen = false;
        return r;
    }

    void SetTransmitTeleBytes(std::int16_t pos, std::int16_t value) override {
        if (pos < 0 || pos > 255)
            return;
        if (static_cast<std::size_t>(pos) >= txBytes.size())
            txBytes.resize(static_cast<std::size_t>(pos) + 1, 0);
        txBytes[static_cast<std::size_t>(pos)] = static_cast<std::uint8_t>(value & 0xFF);
    }
    void SetTransmitTeleLen(std::int16_t len) override { txLen = len; }
    void TransmitTele() override {
        Tele tele(txBytes.begin(),
                  txBytes.begin() +
                      std::min<std::size_t>(txBytes.size(), static_cast<std::size_t>(txLen)));
        ++transmitCount;
        if (!transmitStatuses.empty()) {
            txStatus = transmitStatuses.front();
            transmitStatuses.pop_front();
        } else {
            txStatus = defaultTransmitStatus;
        }
        // Only a delivered telegram reaches the bus.
        if (txStatus == TRANSMIT_STATUS_ACK || txStatus == TRANSMIT_STATUS_BROADCAST) {
            sent.push_back(tele);
            if (onDelivered)
                onDelivered(tele);
        }
    }
    std::uint16_t GetTransmitTeleStatus() override { return txStatus; }

    void WaitForReceive(std::int32_t) override {
        ++waitCount;
        if (!waiting.empty()) {
            stored = waiting.front();
            waiting.pop_front();
        } else {
            stored = Stored{};
        }
    }
    std::uint16_t GetReceivedTeleStatus() override { return stored.status; }
    std::int16_t GetReceivedTeleLen() override { return stored.len; }
    std::int16_t GetReceivedTeleBytes(std::int16_t pos) override {
        if (pos < 0 || static_cast<std::size_t>(pos) >= stored.bytes.size())
            return -1;
        return stored.bytes[static_cast<std::size_t>(pos)];
    }

    // Puts a telegram into the control as the reader thread would.
    void Store(std::uint16_t status, const Tele& bytes) {
        stored.status = status;
        stored.len = static_cast<std::int16_t>(bytes.size());
        stored.bytes = bytes;
    }

    std::vector<std::string> calls;
    std::uint16_t openResult = 0;
    bool portOpen = false;
    int readyCount = 0;

    Tele txBytes;
    std::int16_t txLen = 0;
    std::uint16_t txStatus = 0;
    std::uint16_t defaultTransmitStatus = TRANSMIT_STATUS_ACK;
    std::deque<std::uint16_t> transmitStatuses;
    int transmitCount = 0;
    std::vector<Tele> sent;
    std::function<void(const Tele&)> onDelivered;

    Stored stored;
    std::deque<Stored> waiting; // read in by WaitForReceive
    int waitCount = 0;

private:
    void Log(const char* name, int value) {
        calls.push_back(std::string(name) + "=" + std::to_string(value));
    }
};
