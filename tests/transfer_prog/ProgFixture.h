#pragma once
// The transfer controller's engine with its programming and firmware
// extension on a fake serial link: the test plays the box by handing blocks
// to the port and reading what the controller sent.

#include "EngineFakes.h"
#include "FakeClock.h"
#include "TTransferExtension.h"
#include "WindowMessages.h"

#include <gtest/gtest.h>

#include <vector>

// The main window's side of the programming results.
class RecordingResults : public IProgResultOwner {
public:
    void OnProgResult(const TProgResult& r) override { results.push_back(r); }
    std::vector<std::uint32_t> Codes() const {
        std::vector<std::uint32_t> c;
        for (const auto& r : results)
            c.push_back(r.nCode);
        return c;
    }
    std::vector<TProgResult> results;
};

class ResultOwner : public ITransferOwner {
public:
    void OnTransferResult(int result) override { results.push_back(result); }
    void OnNeedTransferData() override {}
    void OnMoreTransferData() override {}
    std::vector<int> results;
};

// A programming block as the box sends it: channel 3 with bit 7 set, the
// command at byte 6, two words high byte first, then more bytes.
inline Bytes BoxProg(std::uint8_t cmd, std::uint16_t adr1 = 0, std::uint16_t adr2 = 0,
                     const Bytes& more = {}) {
    Bytes b{0x83,
            0,
            0,
            0,
            0,
            0,
            cmd,
            static_cast<std::uint8_t>(adr1 >> 8),
            static_cast<std::uint8_t>(adr1 & 0xFF),
            static_cast<std::uint8_t>(adr2 >> 8),
            static_cast<std::uint8_t>(adr2 & 0xFF)};
    b.insert(b.end(), more.begin(), more.end());
    return b;
}

// A programming block the PC sends: channel 3, zeros, command, two words.
inline Bytes PcProg(std::uint8_t cmd, std::uint16_t adr1, std::uint16_t adr2) {
    return {3,
            0,
            0,
            0,
            0,
            0,
            cmd,
            static_cast<std::uint8_t>(adr1 >> 8),
            static_cast<std::uint8_t>(adr1 & 0xFF),
            static_cast<std::uint8_t>(adr2 >> 8),
            static_cast<std::uint8_t>(adr2 & 0xFF)};
}

class ProgFixture : public testing::Test {
protected:
    ProgFixture() : engine(clock, settings, ports), ext(engine, clock) {
        settings.comPort = 5;
        engine.SetExtension(&ext);
        engine.SetOwner(&owner);
        engine.SetView(&view);
        prog().SetResultOwner(&results);
        engine.UpdatePort();
    }

    TTlnProg& prog() { return ext.GetTlnProg(); }
    FakeTransferPort* Port() { return ports.last; }

    // The box sends a block.
    void Box(const Bytes& bytes) {
        Port()->rx = bytes;
        engine.OnReadData();
    }
    void Elapse(std::uint64_t ms) {
        clock.Advance(ms);
        engine.Poll();
    }
    // Blocks the controller sent, less the identification.
    std::vector<Bytes> Sent() const {
        std::vector<Bytes> out;
        for (const auto& b : ports.last->blocks)
            if (!(b.size() > 1 && b[0] == eProtKonfig && b[1] == eEvConfKennung))
                out.push_back(b);
        return out;
    }
    std::size_t SentCount() const { return Sent().size(); }

    // Programming mode on, a unit (video or not) in programming.
    void EnterUnit(bool video = false) {
        Box(BoxProg(PROG_MODE_AKT, 0x0020, 0x1234));
        Box(BoxProg(video ? TL_PROG_VIDEO : TL_PROG_AKT, 0x0030));
        results.results.clear();
    }

    FakeClock clock;
    FakeSettings settings;
    FakePortFactory ports;
    TDataTransferEngine engine;
    TTransferExtension ext;
    RecordingView view;
    ResultOwner owner;
    RecordingResults results;
};
