#include "MoxCodec.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80..0x9F, the only range where Windows-1252
// differs from Latin-1. The five bytes the code page leaves undefined keep
// the C1 control of their own number, so no byte is lost on the way through
// UTF-8 and back.
constexpr char32_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

constexpr char kReplacement = '?';

// The Windows-1252 byte of a code point, or kReplacement.
char ToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighTable[i] == cp) {
            return static_cast<char>(0x80 + i);
        }
    }
    return kReplacement;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Every code point of the table lies below U+10000.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

struct LeadInfo {
    int continuations;   // -1: not a lead byte
    std::uint8_t lo, hi; // allowed range of the first continuation byte
};

// Ranges of well-formed UTF-8: they exclude overlong forms, surrogates and
// code points above U+10FFFF at the first continuation byte.
LeadInfo Lead(std::uint8_t b) {
    if (b < 0x80) {
        return {0, 0, 0};
    }
    if (b >= 0xC2 && b <= 0xDF) {
        return {1, 0x80, 0xBF};
    }
    if (b == 0xE0) {
        return {2, 0xA0, 0xBF};
    }
    if (b == 0xED) {
        return {2, 0x80, 0x9F};
    }
    if (b >= 0xE1 && b <= 0xEF) {
        return {2, 0x80, 0xBF};
    }
    if (b == 0xF0) {
        return {3, 0x90, 0xBF};
    }
    if (b >= 0xF1 && b <= 0xF3) {
        return {3, 0x80, 0xBF};
    }
    if (b == 0xF4) {
        return {3, 0x80, 0x8F};
    }
    return {-1, 0, 0};
}

} // namespace

std::string MoxUtf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::uint8_t b = static_cast<std::uint8_t>(utf8[i]);
        const LeadInfo lead = Lead(b);
        if (lead.continuations < 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        static constexpr std::uint8_t kLeadMask[4] = {0x7F, 0x1F, 0x0F, 0x07};
        char32_t cp = b & kLeadMask[lead.continuations];
        std::size_t j = i + 1;
        bool complete = true;
        for (int k = 0; k < lead.continuations; ++k, ++j) {
            const std::uint8_t lo = k == 0 ? lead.lo : 0x80;
            const std::uint8_t hi = k == 0 ? lead.hi : 0xBF;
            const std::uint8_t c = j < utf8.size() ? static_cast<std::uint8_t>(utf8[j]) : 0;
            if (j >= utf8.size() || c < lo || c > hi) {
                complete = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        // A broken sequence gives one "?" for the bytes taken so far; the
        // byte that broke it starts the next character.
        out += complete ? ToCp1252(cp) : kReplacement;
        i = j;
    }
    return out;
}

std::string MoxCp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() * 2);
    for (const char ch : cp1252) {
        const std::uint8_t b = static_cast<std::uint8_t>(ch);
        if (b >= 0x80 && b <= 0x9F) {
            AppendUtf8(out, kHighTable[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}
