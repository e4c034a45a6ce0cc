#pragma once
// The document's message boxes shown with Qt, for the GUI to install with
// TMoxDocument::SetMessageBox.

#include "IDocMessageBox.h"

class QWidget;

class TQtDocMessageBox : public IDocMessageBox {
public:
    explicit TQtDocMessageBox(QWidget* pParent = nullptr) : m_pParent(pParent) {}

    int ShowMessage(int textId, const std::string& text, const std::string& caption,
                    eDocMsgIcon icon, eDocMsgButtons buttons) override;

private:
    QWidget* m_pParent;
};
