#include "TMsgBox.h"

#include <QMessageBox>

namespace {

// Set by tests on the GUI thread before the code under test runs.
TMsgBox::Handler g_handler;

QMessageBox::Icon IconOf(unsigned flags) {
    switch (flags & mb::kIconMask) {
    case mb::kIconStop:
        return QMessageBox::Critical;
    case mb::kIconQuestion:
        return QMessageBox::Question;
    case mb::kIconWarning:
        return QMessageBox::Warning;
    case mb::kIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int TMsgBox::Show(QWidget* parent, int textId, const QString& text, const QString& caption,
                  unsigned flags) {
    if (g_handler)
        return g_handler(Request{textId, text, caption, flags});

    QMessageBox box(IconOf(flags), caption, text, QMessageBox::NoButton, parent);
    QList<QMessageBox::StandardButton> buttons;
    switch (flags & mb::kButtonMask) {
    case mb::kOkCancel:
        buttons = {QMessageBox::Ok, QMessageBox::Cancel};
        break;
    case mb::kYesNoCancel:
        buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        break;
    case mb::kYesNo:
        buttons = {QMessageBox::Yes, QMessageBox::No};
        break;
    default:
        buttons = {QMessageBox::Ok};
        break;
    }
    for (const auto b : buttons)
        box.addButton(b);
    const int def = (flags & mb::kDefButton2) && buttons.size() > 1 ? 1 : 0;
    box.setDefaultButton(buttons[def]);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return mb::kIdYes;
    case QMessageBox::No:
        return mb::kIdNo;
    case QMessageBox::Ok:
        return mb::kIdOk;
    default:
        // The close box answers Cancel where there is one, else the only button.
        return buttons.contains(QMessageBox::Cancel) ? mb::kIdCancel : mb::kIdOk;
    }
}

void TMsgBox::SetHandlerForTesting(Handler handler) {
    g_handler = std::move(handler);
}
