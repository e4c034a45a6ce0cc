#include "TQtNumEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>

std::u16string TQtNumEdit::Text() const {
    const QString t = m_pEdit->text();
    return std::u16string(reinterpret_cast<const char16_t*>(t.utf16()),
                          static_cast<std::size_t>(t.size()));
}

void TQtNumEdit::ReplaceText(const std::u16string& text) {
    const int caret = m_pEdit->cursorPosition();
    m_pEdit->setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    m_pEdit->setCursorPosition(caret);
    m_pEdit->update();
}

void TQtNumEdit::RemoveAt(std::size_t pos, std::size_t count) {
    m_pEdit->setSelection(static_cast<int>(pos), static_cast<int>(count));
    m_pEdit->del(); // clears the selection, as a user's Delete would
    m_pEdit->setCursorPosition(static_cast<int>(pos));
}

char16_t TQtNumEdit::DecimalSeparator() const {
    const QString sep = QLocale().decimalPoint();
    return sep.isEmpty() ? u'.' : static_cast<char16_t>(sep.at(0).unicode());
}

void TQtNumEdit::Beep() {
    QApplication::beep();
}

bool CheckNumEdit(QLineEdit* edit, bool decimal, bool sign, bool localeSeparator) {
    if (!edit)
        return true;
    TQtNumEdit field(edit);
    return CheckNumEdit(field, decimal, sign, localeSeparator);
}
