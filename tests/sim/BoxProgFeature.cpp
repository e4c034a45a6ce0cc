#include "BoxProgFeature.h"

#include "BoxCore.h"
#include "SimCount.h"
#include "SimHex.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>

namespace boxsim {

namespace {

std::string Hex4(uint16_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v);
    return buf;
}

const char* CmdName(uint8_t cmd) {
    switch (cmd) {
    case BoxProgFeature::kProgModeAkt:
        return "PROG_MODE_AKT";
    case BoxProgFeature::kProgModePas:
        return "PROG_MODE_PAS";
    case BoxProgFeature::kHtProgPas:
        return "HT_PROG_PAS";
    case BoxProgFeature::kProgQuitt:
        return "PROG_QUITT";
    case BoxProgFeature::kTlnAdrClear:
        return "TLN_ADR_CLEAR";
    case BoxProgFeature::kHtProgAkt:
        return "HT_PROG_AKT";
    case BoxProgFeature::kTlProgAkt:
        return "TL_PROG_AKT";
    case BoxProgFeature::kTlProgVideo:
        return "TL_PROG_VIDEO";
    case BoxProgFeature::kBsmProgAktiv:
        return "BSM_PROG_AKTIV";
    case BoxProgFeature::kItFehler:
        return "IT_FEHLER";
    case BoxProgFeature::kProgKba:
        return "PROG_KBA";
    case BoxProgFeature::kProgKbaList:
        return "PROG_KBA_LIST";
    case BoxProgFeature::kBsmCodeProg:
        return "BSM_CODE_PROG";
    case BoxProgFeature::kBtlmCodeProg:
        return "BTLM_CODE_PROG";
    case BoxProgFeature::kAllTlnAdrClear:
        return "ALL_TLN_ADR_CLEAR";
    case BoxProgFeature::kProgKbaCount:
        return "PROG_KBA_COUNT";
    case BoxProgFeature::kProgKbaCounter:
        return "PROG_KBA_COUNTER";
    case BoxProgFeature::kBsmProgPassiv:
        return "BSM_PROG_PASSIV";
    default:
        return "unknown";
    }
}

// A 16-bit word in one to four hex digits ("0105").
std::optional<uint16_t> ParseWord(const std::string& word) {
    if (word.empty() || word.size() > 4)
        return std::nullopt;
    unsigned v = 0;
    for (char c : word) {
        const auto b = ParseHexBytes(std::string(1, c));
        if (!b || b->size() != 1)
            return std::nullopt;
        v = v << 4 | (*b)[0];
    }
    return static_cast<uint16_t>(v);
}

std::optional<int> ParseByte(const std::string& word) {
    try {
        size_t used = 0;
        const int v = std::stoi(word, &used);
        if (used != word.size() || v < 0 || v > 255)
            return std::nullopt;
        return v;
    } catch (...) {
        return std::nullopt;
    }
}

void PutLow(Bytes& b, uint16_t w) {
    b.push_back(static_cast<uint8_t>(w & 0xFF));
    b.push_back(static_cast<uint8_t>(w >> 8));
}

} // namespace

// ---- The PC's commands ------------------------------------------------------

bool BoxProgFeature::OnBlock(BoxCore& box, const SimBlock& block) {
    if (block.channel != kChannelProg)
        return false;
    // Command in byte 6, words at 7 and 9 (high byte first), key index at 11.
    const Bytes& d = block.data;
    if (d.empty()) {
        box.Report("PROGBAD len " + std::to_string(d.size() + kBlockHeaderLen));
        return true;
    }
    auto word = [&d](size_t at) {
        return at + 1 < d.size() ? static_cast<uint16_t>(d[at] << 8 | d[at + 1]) : uint16_t{0};
    };
    OnPcCommand(box, d[0], word(1), word(3), d.size() > 5 ? d[5] : 0, d.size() > 5);
    return true;
}

void BoxProgFeature::OnPcCommand(BoxCore& box, uint8_t cmd, uint16_t adr1, uint16_t adr2,
                                 uint8_t idx, bool hasIdx) {
    box.Report(std::string("PROGCMD ") + CmdName(cmd) + " " + Hex4(adr1) + " " + Hex4(adr2) +
               (hasIdx ? " idx " + std::to_string(idx) : std::string()));
    switch (cmd) {
    case kProgKba: {
        if (TakeOne(m_nSilent)) {
            box.Report("PROGSILENT PROG_KBA");
            return;
        }
        // The list starts where the first word would be.
        SimBlock b;
        b.channel = kChannelProg;
        b.value = 0;
        b.data.push_back(kProgKbaList);
        for (size_t i = 0; i < m_Free.size() && i < kMaxFree; ++i) {
            b.data.push_back(static_cast<uint8_t>(m_Free[i] >> 8));
            b.data.push_back(static_cast<uint8_t>(m_Free[i] & 0xFF));
        }
        box.Answer(b);
        Sent(box, CmdName(kProgKbaList), false);
        return;
    }
    case kProgKbaCount: {
        if (TakeOne(m_nSilent)) {
            box.Report("PROGSILENT PROG_KBA_COUNT");
            return;
        }
        const uint16_t count = m_nCountOverride >= 0 ? static_cast<uint16_t>(m_nCountOverride)
                                                     : static_cast<uint16_t>(m_Free.size());
        SendBlock(box, kProgKbaCounter, m_bCountNak ? kCountNak : kCountAck,
                  m_bCountNak ? 0 : count);
        return;
    }
    case kHtProgAkt: {
        m_Free.erase(std::remove(m_Free.begin(), m_Free.end(), adr1), m_Free.end());
        if (m_eQuitt == Quitt::None) {
            box.Report("PROGNOQUITT " + Hex4(adr1));
        } else if (m_eQuitt == Quitt::Tele) {
            Bytes rest{kProgQuitt};
            PutLow(rest, adr1);
            PutLow(rest, m_wUnit);
            SendTele(box, kFnProg, rest, CmdName(kProgQuitt));
        } else {
            SendBlock(box, kProgQuitt, adr1, m_wUnit);
        }
        return;
    }
    case kHtProgPas:
        m_wUnit = 0;
        m_bVideo = false;
        return;
    case kTlnAdrClear:
        if (adr1 && m_Free.size() < kMaxFree &&
            std::find(m_Free.begin(), m_Free.end(), adr1) == m_Free.end())
            m_Free.push_back(adr1);
        return;
    case kBtlmCodeProg:
    case kBsmCodeProg:
        ++m_nCodes;
        return;
    default:
        return;
    }
}

// ---- What the box sends -----------------------------------------------------

void BoxProgFeature::SendBlock(BoxCore& box, uint8_t cmd, uint16_t adr1, uint16_t adr2,
                               const Bytes& more) {
    SimBlock b;
    b.channel = kChannelProg;
    b.value = 0;
    // Sized once, then filled (see SimBlock::Encode for why).
    b.data.assign(5 + more.size(), 0);
    b.data[0] = cmd;
    b.data[1] = static_cast<uint8_t>(adr1 >> 8);
    b.data[2] = static_cast<uint8_t>(adr1 & 0xFF);
    b.data[3] = static_cast<uint8_t>(adr2 >> 8);
    b.data[4] = static_cast<uint8_t>(adr2 & 0xFF);
    std::copy(more.begin(), more.end(), b.data.begin() + 5);
    box.Answer(b);
    Sent(box, CmdName(cmd), false);
}

bool BoxProgFeature::SendTele(BoxCore& box, uint8_t function, const Bytes& rest,
                              const std::string& name) {
    Bytes t(3 + rest.size());
    t[0] = kPcAddress;
    t[1] = function;
    t[2] = kBoxAddress;
    std::copy(rest.begin(), rest.end(), t.begin() + 3);
    if (!box.Link() || !box.Link()->SendRawTelegram(t)) {
        box.Report("PROGNOTELE " + name);
        return false;
    }
    Sent(box, name, true);
    return true;
}

void BoxProgFeature::Sent(BoxCore& box, const std::string& name, bool tele) {
    box.Report("PROGSENT " + name + (tele ? " tele" : " block"));
}

bool BoxProgFeature::Announce(BoxCore& box, const std::string& form, uint8_t cmd, uint16_t adr1,
                              uint16_t adr2, std::string* reply) {
    if (!form.empty() && form != "block" && form != "tele") {
        *reply = "ERROR the form is block or tele";
        return false;
    }
    if (form == "tele") {
        Bytes rest{cmd};
        PutLow(rest, adr1);
        PutLow(rest, adr2);
        if (!SendTele(box, kFnProg, rest, CmdName(cmd))) {
            *reply = "ERROR this link carries no bus telegrams";
            return false;
        }
    } else {
        SendBlock(box, cmd, adr1, adr2);
    }
    *reply = "OK";
    return true;
}

// ---- Commands of the test ---------------------------------------------------

bool BoxProgFeature::OnCommand(BoxCore& box, const std::string& cmd, const std::string& args,
                               std::string* reply) {
    static const char* const kWords[] = {"progmode",  "progbsg",    "progunit",  "progbsm",
                                         "progerror", "prog9",      "freelist",  "freecount",
                                         "progquitt", "progsilent", "progstatus"};
    if (std::find(std::begin(kWords), std::end(kWords), cmd) == std::end(kWords))
        return false;
    std::istringstream in(args);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    *reply = RunProgCommand(box, cmd, words);
    return true;
}

std::string BoxProgFeature::RunProgCommand(BoxCore& box, const std::string& cmd,
                                           const std::vector<std::string>& w) {
    auto at = [&w](size_t i) { return i < w.size() ? w[i] : std::string(); };
    std::string reply;
    if (cmd == "progmode") {
        if (at(0) == "on") {
            if (Announce(box, at(1), kProgModeAkt, m_wBSG, m_wKennung, &reply))
                m_bProgMode = true;
        } else if (at(0) == "off") {
            if (Announce(box, at(1), kProgModePas, m_wBSG, 0, &reply)) {
                m_bProgMode = false;
                m_wUnit = 0;
            }
        } else {
            reply = "ERROR progmode on|off [block|tele]";
        }
        return reply;
    }
    if (cmd == "progbsg") {
        const auto adr = ParseWord(at(0));
        const auto id = w.size() > 1 ? ParseWord(at(1)) : std::optional<uint16_t>(m_wKennung);
        if (!adr || !id || w.size() > 2)
            return "ERROR progbsg <hex address> [<hex identifier>]";
        m_wBSG = *adr;
        m_wKennung = *id;
        return "OK";
    }
    if (cmd == "progunit") {
        const auto adr = ParseWord(at(0));
        if (!adr)
            return "ERROR progunit <hex address> [video] [block|tele]";
        const bool video = at(1) == "video";
        if (Announce(box, at(video ? 2 : 1), video ? kTlProgVideo : kTlProgAkt, *adr, 0, &reply)) {
            m_wUnit = *adr;
            m_bVideo = video;
        }
        return reply;
    }
    if (cmd == "progbsm") {
        // The relay rides in byte 10, the low byte of the second word.
        if (at(0) == "off") {
            SendBlock(box, kBsmProgPassiv, 0, 0);
            return "OK";
        }
        const auto adr = ParseWord(at(0));
        const auto relay = ParseByte(at(1));
        if (!adr || !relay)
            return "ERROR progbsm <hex address> <relay>|off";
        SendBlock(box, kBsmProgAktiv, *adr, static_cast<uint16_t>(*relay));
        return "OK";
    }
    if (cmd == "progerror") {
        const auto mode = ParseByte(at(0));
        const auto type = ParseByte(at(1));
        if (!mode || !type)
            return "ERROR progerror <mode> <type> [block|tele]";
        if (at(2) == "tele") {
            if (!SendTele(box, kFnFehler,
                          {static_cast<uint8_t>(*mode), static_cast<uint8_t>(*type)},
                          CmdName(kItFehler)))
                return "ERROR this link carries no bus telegrams";
            return "OK";
        }
        if (!at(2).empty() && at(2) != "block")
            return "ERROR the form is block or tele";
        // Mode in byte 7, type in byte 8.
        SendBlock(box, kItFehler, static_cast<uint16_t>(*mode << 8 | *type), 0);
        return "OK";
    }
    if (cmd == "prog9") {
        Bytes rest;
        for (const std::string& h : w) {
            const auto b = ParseHexBytes(h);
            if (!b)
                return "ERROR prog9 <hex>...";
            rest.insert(rest.end(), b->begin(), b->end());
        }
        if (!SendTele(box, kFnProg9, rest, "PROG_9"))
            return "ERROR this link carries no bus telegrams";
        return "OK";
    }
    if (cmd == "freelist") {
        std::vector<uint16_t> list;
        for (const std::string& h : w) {
            const auto a = ParseWord(h);
            if (!a)
                return "ERROR freelist <hex address>...";
            list.push_back(*a);
        }
        // More than the list answer holds: the box would cut it the same way.
        if (list.size() > kMaxFree)
            return "ERROR at most 31 free addresses";
        m_Free = std::move(list);
        return "OK";
    }
    if (cmd == "freecount") {
        if (at(0) == "nak") {
            m_bCountNak = true;
            return "OK";
        }
        m_bCountNak = false;
        if (at(0) == "list") {
            m_nCountOverride = -1;
            return "OK";
        }
        try {
            size_t used = 0;
            const int n = std::stoi(at(0), &used);
            if (used != at(0).size() || n < 0 || n > 0xFFFF)
                return "ERROR freecount <n>|list|nak";
            m_nCountOverride = n;
        } catch (...) {
            return "ERROR freecount <n>|list|nak";
        }
        return "OK";
    }
    if (cmd == "progquitt") {
        if (at(0) == "block")
            m_eQuitt = Quitt::Block;
        else if (at(0) == "tele")
            m_eQuitt = Quitt::Tele;
        else if (at(0) == "none")
            m_eQuitt = Quitt::None;
        else
            return "ERROR progquitt block|tele|none";
        return "OK";
    }
    if (cmd == "progsilent") {
        std::optional<int> n = 1;
        if (!at(0).empty())
            n = at(0) == "always" ? std::optional<int>(kAlways)
                : at(0) == "off"  ? std::optional<int>(0)
                                  : ParseByte(at(0));
        if (!n)
            return "ERROR progsilent [<n>|always|off]";
        m_nSilent = *n;
        return "OK";
    }
    // progstatus
    std::string list;
    for (uint16_t a : m_Free)
        list += " " + Hex4(a);
    return "PROGSTATUS mode " + std::to_string(m_bProgMode ? 1 : 0) + " bsg " + Hex4(m_wBSG) +
           " unit " + Hex4(m_wUnit) + " video " + std::to_string(m_bVideo ? 1 : 0) + " codes " +
           std::to_string(m_nCodes) + " free " + std::to_string(m_Free.size()) + list;
}

void BoxProgFeature::OnReset(BoxCore& /*box*/) {
    // A restarted bus controller has left programming mode.
    m_bProgMode = false;
    m_wUnit = 0;
    m_bVideo = false;
}

} // namespace boxsim
