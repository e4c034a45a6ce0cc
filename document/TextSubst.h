#pragma once
// Puts numbers and names into language texts. A language text is written by
// a translator and is never handed to printf: its placeholders are read here
// and filled in order from the arguments, each checked against the kind of
// argument it gets. A placeholder without a fitting argument shows as a
// visible mark ("<?%d>"), so a faulty translation is seen and never reads
// past its arguments.
//
// Placeholders: "%" [flags "-0+ #"] [width] ["." precision] [length "h" "l"
// "ll" "z", ignored] and a conversion: "d" "i" "u" "x" "X" take a number,
// "s" a text; "%%" is a percent sign. A "%" that starts none of these is an
// ordinary character. Width and precision stop at 255.

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class TextArg {
public:
    template <std::integral T>
    TextArg(T value) : m_kind(std::is_signed_v<T> ? Kind::Signed : Kind::Unsigned) {
        if constexpr (std::is_signed_v<T>)
            m_signed = static_cast<int64_t>(value);
        else
            m_unsigned = static_cast<uint64_t>(value);
        m_bits = sizeof(T) * 8;
    }
    TextArg(const char* text) : m_kind(Kind::Text), m_text(text ? text : "") {}
    TextArg(std::string_view text) : m_kind(Kind::Text), m_text(text) {}
    TextArg(const std::string& text) : m_kind(Kind::Text), m_text(text) {}

    enum class Kind { Signed, Unsigned, Text };

    Kind GetKind() const { return m_kind; }
    bool IsNumber() const { return m_kind != Kind::Text; }
    int64_t SignedValue() const { return m_signed; }
    uint64_t UnsignedValue() const { return m_unsigned; }
    unsigned Bits() const { return m_bits; } // width of the argument's type
    std::string_view Text() const { return m_text; }

private:
    Kind m_kind;
    int64_t m_signed = 0;
    uint64_t m_unsigned = 0;
    unsigned m_bits = 0;
    std::string_view m_text;
};

// Fills the placeholders of a Windows-1252 text. A null text gives "".
std::string TextSubst(std::string_view text, std::initializer_list<TextArg> args);
inline std::string TextSubst(const char* text, std::initializer_list<TextArg> args) {
    return TextSubst(text ? std::string_view(text) : std::string_view(), args);
}

// The kinds of a text's placeholders in order, "n" for a number and "s" for
// a text ("%s of %d" gives "sn"); the same text in two languages must give
// the same signature.
std::string TextPlaceholders(std::string_view text);
