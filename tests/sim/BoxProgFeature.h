#pragma once
// The programming side of the box's bus controller. The box leads
// subscriber programming: it announces programming mode, each unit put into
// programming, switch modules and errors, each when the test asks for it.
// It answers the PC's free-address list and count requests, acknowledges a
// subscriber address given to a unit, and keeps the free-address list up to
// date as addresses are given and deleted.
//
// The box's programming messages go out in either form the PC meets on the
// bus: as channel-3 blocks (carried like any block) or as raw programming
// telegrams ('/' with the command in byte 3 and words low byte first, ':'
// for an error report, '9'). Every command of the PC is told in a line
//   PROGCMD <name> <adr1> <adr2> [idx <n>]   (addresses in four hex digits)
// and every message of the box in
//   PROGSENT <name> block|tele.
//
// Single-threaded, like the core it plugs into.

#include "IBoxFeature.h"

#include <cstdint>
#include <string>
#include <vector>

namespace boxsim {

class BoxProgFeature : public IBoxFeature {
public:
    // The box's commands (byte 6 of a programming block).
    enum : uint8_t {
        kProgModeAkt = 3,
        kProgModePas = 4,
        kHtProgPas = 6,
        kProgQuitt = 11,
        kTlnAdrClear = 15,
        kHtProgAkt = 23,
        kTlProgAkt = 24,
        kTlProgVideo = 25,
        kBsmProgAktiv = 55,
        kItFehler = 58,
        kProgKba = 64,
        kProgKbaList = 65,
        kBsmCodeProg = 66,
        kBtlmCodeProg = 67,
        kAllTlnAdrClear = 68,
        kProgKbaCount = 69,
        kProgKbaCounter = 70,
        kBsmProgPassiv = 71,
    };
    static constexpr uint8_t kChannelProg = 3;
    // Function bytes of the raw programming telegrams.
    static constexpr uint8_t kFnProg = 0x2F;   // '/'
    static constexpr uint8_t kFnProg9 = 0x39;  // '9'
    static constexpr uint8_t kFnFehler = 0x3A; // ':'
    static constexpr uint8_t kPcAddress = 0xF0;
    static constexpr uint8_t kBoxAddress = 0x70;
    // Answer bytes of the count answer.
    static constexpr uint8_t kCountAck = 8;
    static constexpr uint8_t kCountNak = 9;
    // The bus takes at most 31 subscribers; the list answer holds no more.
    static constexpr size_t kMaxFree = 31;

    // How the box acknowledges an address it was given.
    enum class Quitt { Block, Tele, None };

    std::string Name() const override { return "prog"; }
    bool OnBlock(BoxCore& box, const SimBlock& block) override;
    bool OnCommand(BoxCore& box, const std::string& cmd, const std::string& args,
                   std::string* reply) override;
    void OnReset(BoxCore& box) override;

    // ---- State, for the tests of the simulator itself ----
    bool ProgMode() const { return m_bProgMode; }
    const std::vector<uint16_t>& FreeList() const { return m_Free; }
    uint16_t UnitAddress() const { return m_wUnit; }

private:
    void OnPcCommand(BoxCore& box, uint8_t cmd, uint16_t adr1, uint16_t adr2, uint8_t idx,
                     bool hasIdx);
    // A programming block of the box: command, two words high byte first,
    // then more bytes.
    void SendBlock(BoxCore& box, uint8_t cmd, uint16_t adr1, uint16_t adr2, const Bytes& more = {});
    // A raw '/' telegram: command, words low byte first.
    bool SendTele(BoxCore& box, uint8_t function, const Bytes& rest, const std::string& name);
    void Sent(BoxCore& box, const std::string& name, bool tele);
    // Sends an announcement in the form asked for ("tele" or "block", the
    // default); false with a reason for a bad form word.
    bool Announce(BoxCore& box, const std::string& form, uint8_t cmd, uint16_t adr1, uint16_t adr2,
                  std::string* reply);

    std::string RunProgCommand(BoxCore& box, const std::string& cmd,
                               const std::vector<std::string>& words);

    bool m_bProgMode = false;
    uint16_t m_wBSG = 0x0021;
    uint16_t m_wKennung = 0x4711;
    uint16_t m_wUnit = 0; // unit in programming (BTLM address)
    bool m_bVideo = false;
    std::vector<uint16_t> m_Free{0x0105, 0x0106};
    int m_nCountOverride = -1; // -1: the list's length
    bool m_bCountNak = false;
    Quitt m_eQuitt = Quitt::Block;
    int m_nSilent = 0; // list and count requests to leave unanswered
    int m_nCodes = 0;  // key programming commands taken
};

} // namespace boxsim
