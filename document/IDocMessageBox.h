#pragma once
// The message boxes the document itself shows, behind a seam so that tests
// pre-answer them and GUI-free tools run without a display. The GUI installs
// TQtDocMessageBox; without one a message is only traced.

#include <string>

enum eDocMsgIcon : int {
    eDocMsgIconStop = 0,    // validation failures and errors
    eDocMsgIconInformation, // hints
    eDocMsgIconQuestion,
    eDocMsgIconWarning,
};

enum eDocMsgButtons : int {
    eDocMsgOk = 0,
    eDocMsgOkCancel,
    eDocMsgYesNo,
    eDocMsgYesNoCancel,
};

// Button answers, numbered like the platform's modal results.
enum eDocMsgAnswer : int {
    eDocAnswerOk = 1,
    eDocAnswerCancel = 2,
    eDocAnswerYes = 6,
    eDocAnswerNo = 7,
};

class IDocMessageBox {
public:
    virtual ~IDocMessageBox() = default;
    // textId is the language text shown (0 when the text was built from
    // several); text and caption are the Windows-1252 bytes to show.
    virtual int ShowMessage(int textId, const std::string& text, const std::string& caption,
                            eDocMsgIcon icon, eDocMsgButtons buttons) = 0;
};
