#pragma once
// The transfer controller of the page tests with nothing behind it: it
// keeps what the pages hand it for a run and answers the window's questions
// with a link that is up. A fake derives from it and plays the runs in its
// ShowModal; the two helpers play a read and a write as the real
// controller does.

#include "IMainTransfer.h"

#include <cstdint>
#include <string>
#include <vector>

class TMoxDocument;

class StubTransfer : public IMainTransfer {
public:
    // IDocTransfer
    void SetInfoText(const char*) override {}
    void SetTransferData(int m, std::uint8_t* buffer, std::uint32_t length) override {
        mode = m;
        buf = buffer;
        len = length;
    }
    void SetTeleAnz(std::uint16_t) override {}
    // A run nobody plays fails.
    int ShowModal() override { return 2; }
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) override {
        buf = buffer;
        len = length;
    }
    void SetMoreData(bool) override {}
    std::uint32_t GetBlockLen() const override { return 1024; }

    // IMainTransfer
    bool UpdatePort() override { return true; }
    bool IsConnected() const override { return linkUp; }
    std::string GetConnectionText() const override { return linkText; }
    int Connect(const std::string&) override { return 0; }
    void Disconnect() override {}
    std::intptr_t GetConnectionValue() const override { return 0; }
    TProgFlags GetProgFlags() const override { return {}; }
    std::uint16_t GetBoxKennziffer() const override { return 0; }
    void ResetProgData() override {}
    void OnTeleReceived() override {}
    void CloseTransferForm() override {}

    // A read: the image goes into the run's buffer, cut to its length.
    void ServeRead(const std::vector<std::uint8_t>& image);
    // A write: every package after the first is asked of the document, as
    // the real controller asks its owner. The count of packages sent, or -1
    // when the document never ran out of them.
    int SendPackages(TMoxDocument& doc);

    bool linkUp = true;
    std::string linkText = "via LumenBus";
    int mode = 0;
    std::uint8_t* buf = nullptr;
    std::uint32_t len = 0;
};
