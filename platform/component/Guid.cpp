#include "Guid.h"

#include <cstdio>

namespace mox::com {

std::string Guid::ToString() const {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(data1), static_cast<unsigned>(data2),
                  static_cast<unsigned>(data3), data4[0], data4[1], data4[2], data4[3], data4[4],
                  data4[5], data4[6], data4[7]);
    return buf;
}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<Guid> Guid::FromString(const std::string& text) {
    // {01234567-0123-0123-0123-012345678901}: 38 characters, dashes at fixed places.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    uint8_t bytes[16];
    size_t b = 0;
    for (size_t i = 1; i < 37;) {
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        const int hi = HexValue(text[i]);
        const int lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0 || b >= 16)
            return std::nullopt;
        bytes[b++] = static_cast<uint8_t>(hi << 4 | lo);
        i += 2;
    }
    if (b != 16)
        return std::nullopt;
    Guid g;
    g.data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
              static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
    g.data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
    g.data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
    for (int i = 0; i < 8; ++i)
        g.data4[i] = bytes[8 + i];
    return g;
}

} // namespace mox::com
