// libFuzzer target over what the user hands the program: the command line
// and the text typed into a numeric field. Neither may read outside its
// input, and the filters' promises must hold for any text.

#include "MoxCommandLine.h"
#include "NumEdit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

class Field : public INumEditField {
public:
    explicit Field(std::u16string t) : text(std::move(t)) {}
    std::u16string Text() const override { return text; }
    void ReplaceText(const std::u16string& t) override {
        if (t.size() != text.size())
            std::abort(); // turning a separator never changes the length
        text = t;
    }
    void RemoveAt(std::size_t pos, std::size_t count) override {
        if (pos + count > text.size() || count == 0 || count > 2)
            std::abort();
        text.erase(pos, count);
        ++removed;
    }
    char16_t DecimalSeparator() const override { return u','; }
    void Beep() override {}
    std::u16string text;
    int removed = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MoxCommandLine cmd = MoxParseCommandLine(bytes);
    if (cmd.expert && cmd.mode != eModeExpert)
        std::abort();

    std::string digits(bytes);
    const bool clean = StripNonDigits(digits, size > 0 && (data[0] & 1));
    if (clean != (digits.size() == size) || (!clean && digits.size() + 1 != size))
        std::abort();

    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    const unsigned flags = size ? data[size - 1] : 0;
    Field field(text);
    const bool ok = CheckNumEdit(field, flags & 1, flags & 2, flags & 4);
    if (ok != (field.removed == 0))
        std::abort();
    return 0;
}
