#include "NumEdit.h"

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

bool IsDigitChar(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool CheckNumEdit(INumEditField& edit, bool decimal, bool sign, bool localeSeparator) {
    std::u16string text = edit.Text();
    const bool anyFlag = decimal || sign || localeSeparator;
    const char16_t separator = localeSeparator ? edit.DecimalSeparator() : u'\0';

    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (IsDigitChar(c))
            continue;
        if (anyFlag) {
            if (localeSeparator) {
                char16_t turned = c;
                if (c == u'.' && separator == u',')
                    turned = u',';
                else if (c == u',' && separator == u'.')
                    turned = u'.';
                if (turned != c) {
                    text[i] = turned;
                    c = turned;
                    edit.ReplaceText(text);
                    // The edit's change handler may have run the filter
                    // again on the new text; what it did stands.
                    if (edit.Text() != text)
                        return false;
                }
            }
            if (decimal && (c == u'.' || c == u','))
                continue;
            if (sign && (c == u'-' || c == u'+'))
                continue;
        }
        // Half a surrogate pair left behind would show as garbage: the pair
        // is one character and goes as one.
        const std::size_t count =
            IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
        edit.RemoveAt(i, count);
        edit.Beep();
        return false;
    }
    return true;
}

bool StripNonDigits(std::string& text, bool keepPoint) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigitChar(c) || (keepPoint && c == '.'))
            continue;
        text.erase(i, 1);
        return false;
    }
    return true;
}
