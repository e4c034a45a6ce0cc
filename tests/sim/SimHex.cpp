#include "SimHex.h"

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
    s.reserve(bytes.size() * 3);
    char hex[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", bytes[i]);
        s += hex;
    }
    return s;
}

} // namespace boxsim
