#pragma once
// The document's message boxes shown as the main window's own, through the
// one message-box seam of the GUI.

#include "IDocMessageBox.h"

class QWidget;

class TMainMessageBox : public IDocMessageBox {
public:
    explicit TMainMessageBox(QWidget* parent) : m_pParent(parent) {}

    int ShowMessage(int textId, const std::string& text, const std::string& caption,
                    eDocMsgIcon icon, eDocMsgButtons buttons) override;

private:
    QWidget* m_pParent;
};
