#pragma once
// Filters that keep numeric edit fields clean while the user types. The
// pages call CheckNumEdit from the change handlers of their call-number,
// address and value fields; it removes at most one offending character per
// call (the change handler runs again for the next).
//
// Plain C++: the edit is reached through INumEditField, which the GUI
// implements over its line edit. Texts are UTF-16 code units as the edit
// holds them; a character outside the basic plane (a surrogate pair) counts
// as one character and is removed whole.

#include <cstddef>
#include <string>

// The edit field as the filter sees it.
class INumEditField {
public:
    virtual ~INumEditField() = default;

    virtual std::u16string Text() const = 0;
    // Replaces the whole text (a changed decimal separator) and repaints.
    virtual void ReplaceText(const std::u16string& text) = 0;
    // Removes count code units at pos the way a user would: select them,
    // clear the selection; the caret then stands at pos.
    virtual void RemoveAt(std::size_t pos, std::size_t count) = 0;
    // The user's decimal separator ("," or ".").
    virtual char16_t DecimalSeparator() const = 0;
    // The system's default beep.
    virtual void Beep() = 0;
};

// "0".."9" only; no other digits of any script.
bool IsDigitChar(char c);
bool IsDigitChar(char16_t c);

// Checks the edit's text. decimal allows "." and ","; sign allows "-" and
// "+"; localeSeparator turns "." into "," where the user's separator is ","
// (and "," into "." where it is "."). The first character that is not
// allowed is removed with a beep and false is returned; true when the text
// is acceptable (also after a separator was turned).
bool CheckNumEdit(INumEditField& edit, bool decimal, bool sign, bool localeSeparator);

// Removes the first character that is not a digit (with keepPoint, not a
// digit and not "."); false when it removed one, true when the text was
// already clean. Bytes: the text is Windows-1252.
bool StripNonDigits(std::string& text, bool keepPoint);
