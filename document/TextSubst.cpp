#include "TextSubst.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr unsigned kMaxField = 255;

struct Placeholder {
    bool valid = false;
    size_t length = 0; // bytes from the "%" on
    bool left = false, zero = false, plus = false, space = false, alt = false;
    unsigned width = 0;
    bool hasPrecision = false;
    unsigned precision = 0;
    char conv = 0; // 'd' 'i' 'u' 'x' 'X' 's' or '%'
};

unsigned ReadNumber(std::string_view s, size_t& i) {
    unsigned v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        v = std::min(kMaxField, v * 10 + static_cast<unsigned>(s[i] - '0'));
        ++i;
    }
    return v;
}

// Reads the placeholder that starts at s[pos] == '%'.
Placeholder ReadPlaceholder(std::string_view s, size_t pos) {
    Placeholder p;
    size_t i = pos + 1;
    if (i < s.size() && s[i] == '%') {
        p.valid = true;
        p.conv = '%';
        p.length = 2;
        return p;
    }
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '-')
            p.left = true;
        else if (c == '0')
            p.zero = true;
        else if (c == '+')
            p.plus = true;
        else if (c == ' ')
            p.space = true;
        else if (c == '#')
            p.alt = true;
        else
            break;
    }
    p.width = ReadNumber(s, i);
    if (i < s.size() && s[i] == '.') {
        ++i;
        p.hasPrecision = true;
        p.precision = ReadNumber(s, i);
    }
    while (i < s.size() && (s[i] == 'h' || s[i] == 'l' || s[i] == 'z'))
        ++i;
    if (i >= s.size())
        return p;
    const char c = s[i];
    if (c == 'd' || c == 'i' || c == 'u' || c == 'x' || c == 'X' || c == 's') {
        p.valid = true;
        p.conv = c;
        p.length = i + 1 - pos;
    }
    return p;
}

std::string FormatNumber(const Placeholder& p, const TextArg& a) {
    const bool isSigned = a.GetKind() == TextArg::Kind::Signed;
    const int64_t sv = a.SignedValue();
    const uint64_t uv = a.UnsignedValue();
    const unsigned bits = a.Bits();
    bool negative = false;
    uint64_t magnitude = 0;
    const bool hex = p.conv == 'x' || p.conv == 'X';
    if (p.conv == 'd' || p.conv == 'i') {
        if (isSigned) {
            negative = sv < 0;
            magnitude = negative ? 0 - static_cast<uint64_t>(sv) : static_cast<uint64_t>(sv);
        } else {
            magnitude = uv;
        }
    } else {
        // Unsigned conversions show a negative number in its own width, as
        // printf shows an int.
        if (isSigned) {
            magnitude = static_cast<uint64_t>(sv);
            if (bits < 64)
                magnitude &= (uint64_t{1} << bits) - 1;
        } else {
            magnitude = uv;
        }
    }
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof(buf), magnitude, hex ? 16 : 10);
    std::string digits(buf, r.ptr);
    if (p.conv == 'X')
        std::transform(digits.begin(), digits.end(), digits.begin(), [](char ch) {
            return ch >= 'a' && ch <= 'f' ? static_cast<char>(ch - 32) : ch;
        });
    if (p.hasPrecision) {
        if (p.precision == 0 && magnitude == 0)
            digits.clear();
        else if (digits.size() < p.precision)
            digits.insert(0, p.precision - digits.size(), '0');
    }
    std::string sign;
    if (negative)
        sign = "-";
    else if ((p.conv == 'd' || p.conv == 'i') && p.plus)
        sign = "+";
    else if ((p.conv == 'd' || p.conv == 'i') && p.space)
        sign = " ";
    if (hex && p.alt && magnitude != 0)
        sign = p.conv == 'X' ? "0X" : "0x";

    const size_t len = sign.size() + digits.size();
    if (len >= p.width)
        return sign + digits;
    const size_t pad = p.width - len;
    if (p.left)
        return sign + digits + std::string(pad, ' ');
    if (p.zero && !p.hasPrecision)
        return sign + std::string(pad, '0') + digits;
    return std::string(pad, ' ') + sign + digits;
}

std::string FormatText(const Placeholder& p, std::string_view text) {
    if (p.hasPrecision && text.size() > p.precision)
        text = text.substr(0, p.precision);
    std::string out(text);
    if (out.size() < p.width)
        out.insert(p.left ? out.size() : 0, p.width - out.size(), ' ');
    return out;
}

} // namespace

std::string TextSubst(std::string_view text, std::initializer_list<TextArg> args) {
    std::string out;
    out.reserve(text.size() + 16);
    auto next = args.begin();
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '%') {
            out.push_back(text[i++]);
            continue;
        }
        const Placeholder p = ReadPlaceholder(text, i);
        if (!p.valid) {
            out.push_back(text[i++]);
            continue;
        }
        const std::string_view spelled = text.substr(i, p.length);
        i += p.length;
        if (p.conv == '%') {
            out.push_back('%');
            continue;
        }
        const bool wantsNumber = p.conv != 's';
        if (next == args.end() || next->IsNumber() != wantsNumber) {
            out += "<?";
            out += spelled;
            out += ">";
            if (next != args.end())
                ++next;
            continue;
        }
        const TextArg& a = *next++;
        if (wantsNumber)
            out += FormatNumber(p, a);
        else
            out += FormatText(p, a.Text());
    }
    return out;
}

std::string TextPlaceholders(std::string_view text) {
    std::string sig;
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '%') {
            ++i;
            continue;
        }
        const Placeholder p = ReadPlaceholder(text, i);
        if (!p.valid) {
            ++i;
            continue;
        }
        i += p.length;
        if (p.conv != '%')
            sig.push_back(p.conv == 's' ? 's' : 'n');
    }
    return sig;
}
