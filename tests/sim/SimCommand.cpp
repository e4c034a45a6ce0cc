#include "SimCommand.h"

#include <cstdio>
#include <functional>
#include <fstream>
#include <iterator>
#include <sstream>

namespace boxsim {

namespace {

struct Line {
    std::string cmd;
    std::string rest;
};

Line Split(const std::string& line) {
    std::istringstream in(line);
    Line l;
    in >> l.cmd;
    std::getline(in, l.rest);
    const size_t first = l.rest.find_first_not_of(" \t");
    l.rest = first == std::string::npos ? std::string() : l.rest.substr(first);
    const size_t last = l.rest.find_last_not_of(" \t\r");
    if (last != std::string::npos)
        l.rest.resize(last + 1);
    return l;
}

std::optional<int> ParseMs(const std::string& word) {
    try {
        size_t used = 0;
        const int ms = std::stoi(word, &used);
        if (used != word.size() || ms < 0)
            return std::nullopt;
        return ms;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<Bytes> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the PC answered a typed telegram, once its tries are done.
std::function<void(int)> PrintAnswer(BusInterfaceSim& sim) {
    BusInterfaceSim* s = &sim;
    return [s](int answer) {
        if (!s->onReport)
            return;
        if (answer == kNotAnswered)
            s->onReport("SENT");
        else if (answer == kNoAnswer)
            s->onReport("PCANSWER none");
        else
            s->onReport("PCANSWER " + HexBytes({static_cast<uint8_t>(answer)}));
    };
}

// A typed telegram goes out as the box's own do: repeated until the PC
// acknowledges it or its tries are used up.
void SendTyped(BusInterfaceSim& sim, const Bytes& bytes, bool garble) {
    OutTelegram t;
    t.bytes = bytes;
    t.garble = garble;
    t.onDone = PrintAnswer(sim);
    sim.Queue(std::move(t));
}

// Raw bytes that are one whole telegram to the PC are a telegram of the
// box's like any other, repeated until acknowledged; anything else goes
// out once, as it stands.
std::string SendRawBytes(BusInterfaceSim& sim, const Bytes& bytes) {
    const auto telegram = DecodeWholeTelegram(bytes);
    if (!telegram || telegram->size() < 3 || (*telegram)[0] != kPcAddress) {
        sim.SendRaw(bytes);
        return "SENT";
    }
    OutTelegram t;
    t.bytes = *telegram;
    t.wire = bytes;
    BusInterfaceSim* s = &sim;
    t.onFirstTry = [s] {
        if (s->onReport)
            s->onReport("SENT");
    };
    sim.Queue(std::move(t));
    return {}; // printed when the first try is on the line
}

} // namespace

std::optional<int> ParseCount(const std::string& word) {
    if (word.empty())
        return 1;
    if (word == "always")
        return BoxCore::kAlways;
    if (word == "off")
        return 0;
    const auto n = ParseMs(word);
    if (!n)
        return std::nullopt;
    return *n;
}

std::string RunSimCommand(BusInterfaceSim& sim, const std::string& line, bool* quit) {
    const Line l = Split(line);
    const std::string& cmd = l.cmd;
    if (cmd.empty())
        return {};
    if (cmd == "quit") {
        *quit = true;
        return {};
    }
    if (cmd == "answer") {
        std::istringstream args(l.rest);
        std::string mode;
        args >> mode;
        if (mode == "ack")
            sim.SetAnswer(BusInterfaceSim::AnswerMode::Ack);
        else if (mode == "nak")
            sim.SetAnswer(BusInterfaceSim::AnswerMode::Nak);
        else if (mode == "silent")
            sim.SetAnswer(BusInterfaceSim::AnswerMode::Silent);
        else if (mode == "late") {
            int ms = 0;
            if (!(args >> ms) || ms < 0)
                return "ERROR late needs milliseconds";
            sim.SetLateMs(ms);
            sim.SetAnswer(BusInterfaceSim::AnswerMode::Late);
        } else if (mode == "foreign") {
            std::string hex;
            args >> hex;
            const auto b = ParseHexBytes(hex);
            if (!b || b->size() != 1)
                return "ERROR foreign needs one hex byte";
            sim.SetForeignByte((*b)[0]);
            sim.SetAnswer(BusInterfaceSim::AnswerMode::Foreign);
        } else {
            return "ERROR unknown answer mode";
        }
        return "OK";
    }
    if (cmd == "dropack") {
        const auto k = ParseCount(l.rest);
        if (!k || *k < 1)
            return "ERROR dropack needs a telegram count from 1";
        sim.DropAckOf(*k);
        return "OK";
    }
    if (cmd == "garbleout") {
        const auto n = ParseCount(l.rest);
        if (!n)
            return "ERROR garbleout needs a count";
        sim.SetGarbleOut(*n);
        return "OK";
    }
    if (cmd == "tries" || cmd == "ackwait") {
        const auto v = ParseMs(l.rest);
        if (!v || *v < 1)
            return "ERROR " + cmd + " needs a number from 1";
        if (cmd == "tries")
            sim.SetTries(*v);
        else
            sim.SetAckWaitMs(*v);
        return "OK";
    }
    if (cmd == "trace") {
        if (l.rest != "on" && l.rest != "off")
            return "ERROR trace on|off";
        sim.SetTrace(l.rest == "on");
        return "OK";
    }
    const auto bytes = ParseHexBytes(l.rest);
    if (cmd == "address") {
        if (!bytes || bytes->size() != 1)
            return "ERROR address needs one hex byte";
        sim.SetBoxAddress((*bytes)[0]);
        return "OK";
    }
    if (cmd == "send" || cmd == "garble") {
        if (!bytes || bytes->size() < 3)
            return "ERROR a telegram needs target, function and transmitter";
        SendTyped(sim, *bytes, cmd == "garble");
        return {}; // the answer is printed when it came
    }
    if (cmd == "ackbehind") {
        if (!bytes || bytes->size() < 3)
            return "ERROR a telegram needs target, function and transmitter";
        OutTelegram t;
        t.bytes = *bytes;
        t.onDone = PrintAnswer(sim);
        sim.QueueAheadOfAck(std::move(t));
        return "OK";
    }
    if (cmd == "raw") {
        if (!bytes || bytes->empty())
            return "ERROR raw needs hex bytes";
        return SendRawBytes(sim, *bytes);
    }
    return "ERROR unknown command " + cmd;
}

std::string RunBoxCommand(BoxSimulator& sim, const std::string& line, bool* quit) {
    const Line l = Split(line);
    const std::string& cmd = l.cmd;
    BoxCore& core = sim.Core();

    if (cmd == "mute" || cmd == "wrongblock" || cmd == "wrongend" || cmd == "naktele" ||
        cmd == "wrongack" || cmd == "wrongtele") {
        const auto n = ParseCount(l.rest);
        if (!n)
            return "ERROR " + cmd + " needs a count, always or off";
        if (cmd == "mute")
            core.SetMute(*n);
        else if (cmd == "wrongblock")
            core.SetWrongBlock(*n);
        else if (cmd == "wrongend")
            core.SetWrongEnd(*n);
        else if (cmd == "naktele")
            sim.Link().SetNakTele(*n);
        else if (cmd == "wrongack")
            sim.Link().SetWrongAck(*n);
        else
            sim.Link().SetWrongTele(*n);
        return "OK";
    }
    if (cmd == "badcrc" || cmd == "split" || cmd == "double" || cmd == "garbage" ||
        cmd == "cutoff") {
        BoxV24Link* v24 = sim.V24();
        if (!v24)
            return "ERROR " + cmd + " needs the V.24 cable (--v24)";
        const auto n = ParseCount(l.rest);
        if (!n)
            return "ERROR " + cmd + " needs a count, always or off";
        if (cmd == "badcrc")
            v24->SetBadCrc(*n);
        else if (cmd == "split")
            v24->SetSplit(*n);
        else if (cmd == "double")
            v24->SetDouble(*n);
        else if (cmd == "garbage")
            v24->SetGarbage(*n);
        else
            v24->SetCutOff(*n);
        return "OK";
    }
    if (cmd == "trace" && sim.V24()) {
        if (l.rest != "on" && l.rest != "off")
            return "ERROR trace on|off";
        sim.SetTrace(l.rest == "on");
        return "OK";
    }
    if (cmd == "muteblock") {
        const auto n = ParseMs(l.rest);
        if (!n || *n > 0xFFFF)
            return "ERROR muteblock needs a block number";
        core.SetMuteBlock(*n);
        return "OK";
    }
    if (cmd == "delay") {
        const auto ms = ParseMs(l.rest);
        if (!ms)
            return "ERROR delay needs milliseconds";
        core.SetDelayMs(*ms);
        return "OK";
    }
    if (cmd == "address") {
        const std::string out = RunSimCommand(sim.Bus(), line, quit);
        sim.Link().SetBoxAddress(sim.Bus().BoxAddress());
        return out;
    }
    if (cmd == "unasked") {
        const auto bytes = ParseHexBytes(l.rest);
        if (!bytes || bytes->size() < kBlockHeaderLen || bytes->size() > kBlockHeaderLen + kBlockMaxData)
            return "ERROR unasked needs a block of 6 to 1030 hex bytes";
        sim.Core().Link()->SendBlock(*bytes);
        return "OK";
    }
    if (cmd == "clear") {
        core.ClearConfiguration();
        return "OK";
    }
    if (cmd == "save") {
        if (l.rest.empty())
            return "ERROR save needs a path";
        const Bytes all = core.Configuration();
        std::ofstream out(l.rest, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(all.data()), static_cast<std::streamsize>(all.size()));
        out.close();
        if (!out)
            return "ERROR cannot write " + l.rest;
        return "SAVED " + std::to_string(all.size()) + " " + std::to_string(core.Packages().size());
    }
    if (cmd == "load") {
        const auto bytes = ReadFile(l.rest);
        if (!bytes)
            return "ERROR cannot read " + l.rest;
        core.SetConfiguration(*bytes);
        return "LOADED " + std::to_string(bytes->size()) + " " +
               std::to_string(core.Packages().size());
    }
    if (cmd == "eventlog") {
        if (l.rest == "pattern") {
            core.SetEventLog(BoxCore::EventLogPattern());
            return "OK";
        }
        const auto bytes = ReadFile(l.rest);
        if (!bytes)
            return "ERROR cannot read " + l.rest;
        if (!core.SetEventLog(*bytes))
            return "ERROR an event log has 16384 bytes, not " + std::to_string(bytes->size());
        return "OK";
    }
    if (cmd == "status")
        return sim.Status();
    if (cmd == "ping")
        return "PONG";
    std::string reply;
    if (!cmd.empty() && core.RunFeatureCommand(cmd, l.rest, &reply))
        return reply;
    return RunSimCommand(sim.Bus(), line, quit);
}

} // namespace boxsim
