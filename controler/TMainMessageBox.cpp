#include "TMainMessageBox.h"

#include "MoxQString.h"
#include "TMsgBox.h"

namespace {

QString Display(const std::string& cp1252) {
    QString s = MoxToQString(cp1252);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

} // namespace

int TMainMessageBox::ShowMessage(int textId, const std::string& text, const std::string& caption,
                                 eDocMsgIcon icon, eDocMsgButtons buttons) {
    unsigned flags = 0;
    switch (icon) {
    case eDocMsgIconStop:
        flags |= mb::kIconStop;
        break;
    case eDocMsgIconInformation:
        flags |= mb::kIconInformation;
        break;
    case eDocMsgIconQuestion:
        flags |= mb::kIconQuestion;
        break;
    case eDocMsgIconWarning:
        flags |= mb::kIconWarning;
        break;
    }
    switch (buttons) {
    case eDocMsgOk:
        flags |= mb::kOk;
        break;
    case eDocMsgOkCancel:
        flags |= mb::kOkCancel;
        break;
    case eDocMsgYesNo:
        flags |= mb::kYesNo;
        break;
    case eDocMsgYesNoCancel:
        flags |= mb::kYesNoCancel;
        break;
    }
    switch (TMsgBox::Show(m_pParent, textId, Display(text), Display(caption), flags)) {
    case mb::kIdYes:
        return eDocAnswerYes;
    case mb::kIdNo:
        return eDocAnswerNo;
    case mb::kIdCancel:
        return eDocAnswerCancel;
    default:
        return eDocAnswerOk;
    }
}
