#pragma once
// The box itself, apart from any link: it keeps the configuration it was
// sent, package by package as the block protocol carried it, and serves it
// back; answers the restart and the 16-block event log; counts the PC's
// identifications and configuration frames; and misbehaves on request at
// block level (no answer, a late answer, a wrong block number).
//
// A front-end (the bus interface, the V.24 line or the fake CAPI library)
// hands every whole block from the PC to OnBlock and carries the answers
// through its IBoxLink. Features (programming, firmware) plug in
// through IBoxFeature. Single-threaded; time through SimTimers.

#include "IBoxFeature.h"
#include "IBoxLink.h"
#include "SimBlock.h"
#include "SimCount.h"
#include "SimTimers.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace boxsim {

class BoxCore {
public:
    static constexpr size_t kEventLogBlocks = 16;
    static constexpr size_t kEventLogSize = kEventLogBlocks * kBlockMaxData; // 16384
    // Misbehaviour counts: this many times, or for ever.
    static constexpr int kAlways = boxsim::kAlways;

    explicit BoxCore(SimTimers& timers);
    BoxCore(const BoxCore&) = delete;
    BoxCore& operator=(const BoxCore&) = delete;

    void SetLink(IBoxLink* link) { m_pLink = link; }
    void AddFeature(std::unique_ptr<IBoxFeature> feature);
    // Event lines ("BLOCK ...", "ANSWER ...", "KENNUNG ...").
    std::function<void(const std::string&)> onEvent;

    // ---- From the front-end ----
    // A whole block from the PC; a malformed one is reported and dropped.
    void OnBlock(const Bytes& bytes);
    void OnKennung(const Bytes& word);
    // The configuration start (true) or end frame of the bus.
    void OnKonfigFrame(bool start);
    // A raw bus telegram for the box that is no 'C' telegram.
    void OnForeignTelegram(const Bytes& telegram);

    // ---- For the core's own handlers and the features ----
    // Sends an answer block through the link, after the answer delay.
    void Answer(const SimBlock& block);
    void Report(const std::string& line);
    IBoxLink* Link() const { return m_pLink; }

    // ---- The configuration ----
    const std::vector<Bytes>& Packages() const { return m_Packages; }
    // The packages one after the other, as a read delivers them.
    Bytes Configuration() const;
    // Replaces the stored configuration by an image cut into full blocks.
    void SetConfiguration(const Bytes& image);
    // Replaces it by these packages, as a write of them would have left it,
    // so a read serves them one block each.
    void SetPackages(std::vector<Bytes> packages) { m_Packages = std::move(packages); }
    void ClearConfiguration() { m_Packages.clear(); }

    // ---- The event log ----
    // Block n of the default log is a run of bytes starting at n and
    // counting up in steps of 7, so every block and every byte of it tells
    // where it came from.
    static Bytes EventLogPattern();
    // False (and the log unchanged) unless exactly 16384 bytes.
    bool SetEventLog(const Bytes& log);
    const Bytes& EventLog() const { return m_EventLog; }

    // ---- Misbehaviour ----
    // The next n blocks are dropped unanswered and change nothing.
    void SetMute(int n) { m_nMute = n; }
    // The next block with this number is dropped the same way (-1: none).
    void SetMuteBlock(int number) { m_nMuteBlock = number; }
    // Every answer goes out this much later.
    void SetDelayMs(int ms) { m_nDelayMs = ms; }
    // The next n answers carry a wrong block number: an acknowledgement the
    // number of the block it answers (instead of that number plus 1), a
    // data block the number after the one asked for.
    void SetWrongBlock(int n) { m_nWrongBlock = n; }
    // The same for the next n end blocks of a read only.
    void SetWrongEnd(int n) { m_nWrongEnd = n; }

    // ---- State ----
    struct Counters {
        int blocks = 0;
        int answers = 0;
        int muted = 0;
        int resets = 0;
        int kennungen = 0;
        int frameStarts = 0;
        int frameEnds = 0;
    };
    const Counters& GetCounters() const { return m_Counters; }
    // No delayed answer waiting, the link and every feature idle.
    bool Idle() const;
    // Offers a command to the features.
    bool RunFeatureCommand(const std::string& cmd, const std::string& args, std::string* reply);

private:
    void HandleBlock(const SimBlock& block);
    void StorePackage(const SimBlock& block);
    void ServePackage(const SimBlock& request);
    void ServeEventLog(const SimBlock& request);
    void Reset(const SimBlock& request);
    SimBlock AckFor(const SimBlock& block);

    SimTimers& m_Timers;
    IBoxLink* m_pLink = nullptr;
    std::vector<std::unique_ptr<IBoxFeature>> m_Features;

    std::vector<Bytes> m_Packages;
    Bytes m_EventLog;

    int m_nMute = 0;
    int m_nMuteBlock = -1;
    int m_nDelayMs = 0;
    int m_nWrongBlock = 0;
    int m_nWrongEnd = 0;
    int m_nDelayed = 0; // answers waiting for their delay
    Counters m_Counters;
};

} // namespace boxsim
