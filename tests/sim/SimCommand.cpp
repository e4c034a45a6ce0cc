#include "SimCommand.h"

#include <cstdio>
#include <sstream>

namespace boxsim {

std::optional<Bytes> ParseHexBytes(const std::string& text) {
    std::istringstream in(text);
    Bytes out;
    std::string word;
    while (in >> word) {
        if (word.size() > 2)
            return std::nullopt;
        unsigned v = 0;
        for (char c : word) {
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= static_cast<unsigned>(c - 'A' + 10);
            else
                return std::nullopt;
        }
        out.push_back(static_cast<uint8_t>(v));
    }
    return out;
}

std::string HexBytes(const Bytes& bytes) {
    std::string s;
    char hex[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", bytes[i]);
        s += hex;
    }
    return s;
}

std::string RunSimCommand(BusInterfaceSim& sim, const std::string& line, bool* quit) {
    std::istringstream in(line);
    std::string cmd;
    in >> cmd;
    std::string rest;
    std::getline(in, rest);

    if (cmd.empty())
        return {};
    if (cmd == "quit") {
        *quit = true;
        return {};
    }
    if (cmd == "answer") {
        std::istringstream args(rest);
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
    const auto bytes = ParseHexBytes(rest);
    if (cmd == "address") {
        if (!bytes || bytes->size() != 1)
            return "ERROR address needs one hex byte";
        sim.SetBoxAddress((*bytes)[0]);
        return "OK";
    }
    if (cmd == "send" || cmd == "garble") {
        if (!bytes || bytes->size() < 3)
            return "ERROR a telegram needs target, function and transmitter";
        const int answer = sim.SendTelegram(*bytes, cmd == "garble");
        if ((*bytes)[0] == kBroadcast)
            return "SENT";
        return answer < 0 ? "PCANSWER none"
                          : "PCANSWER " + HexBytes({static_cast<uint8_t>(answer)});
    }
    if (cmd == "raw") {
        if (!bytes || bytes->empty())
            return "ERROR raw needs hex bytes";
        sim.SendRaw(*bytes);
        return "SENT";
    }
    return "ERROR unknown command " + cmd;
}

} // namespace boxsim
