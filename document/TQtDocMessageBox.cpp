#include "TQtDocMessageBox.h"

#include <QMessageBox>
#include <QString>

#include "MoxQString.h"

namespace {

// Language texts break lines with CR; Qt wants a line feed.
QString ToDisplay(const std::string& cp1252) {
    QString s = MoxToQString(cp1252);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QMessageBox::Icon ToIcon(eDocMsgIcon icon) {
    switch (icon) {
    case eDocMsgIconStop:
        return QMessageBox::Critical;
    case eDocMsgIconInformation:
        return QMessageBox::Information;
    case eDocMsgIconQuestion:
        return QMessageBox::Question;
    case eDocMsgIconWarning:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToButtons(eDocMsgButtons buttons) {
    switch (buttons) {
    case eDocMsgOk:
        return QMessageBox::Ok;
    case eDocMsgOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case eDocMsgYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case eDocMsgYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

int TQtDocMessageBox::ShowMessage(int /*textId*/, const std::string& text,
                                  const std::string& caption, eDocMsgIcon icon,
                                  eDocMsgButtons buttons) {
    QMessageBox box(ToIcon(icon), ToDisplay(caption), ToDisplay(text), ToButtons(buttons),
                    m_pParent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return eDocAnswerYes;
    case QMessageBox::No:
        return eDocAnswerNo;
    case QMessageBox::Cancel:
        return eDocAnswerCancel;
    default:
        return eDocAnswerOk;
    }
}
