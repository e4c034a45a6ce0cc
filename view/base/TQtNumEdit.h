#pragma once
// The numeric edit filter on a Qt line edit: the field the filter works on
// is the edit itself, the separator the user's locale, the beep the
// system's.

#include "NumEdit.h"

class QLineEdit;

class TQtNumEdit : public INumEditField {
public:
    explicit TQtNumEdit(QLineEdit* edit) : m_pEdit(edit) {}

    std::u16string Text() const override;
    void ReplaceText(const std::u16string& text) override;
    void RemoveAt(std::size_t pos, std::size_t count) override;
    char16_t DecimalSeparator() const override;
    void Beep() override;

private:
    QLineEdit* m_pEdit;
};

// CheckNumEdit on a line edit; false when it removed a character.
bool CheckNumEdit(QLineEdit* edit, bool decimal, bool sign, bool localeSeparator);
