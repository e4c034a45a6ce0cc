#include "TMsgBox.h"

#include <QMessageBox>

#include <deque>

namespace {

// Set by tests on the GUI thread before the code under test runs.
TMsgBox::Handler g_handler;

// Boxes open now, and what waits for the last of them to be answered; both
// on the GUI thread only, like every box.
int g_open = 0;
std::deque<std::function<void()>> g_waiting;

void RunWaiting() {
    // One at a time: a waiting notice that opens a box of its own holds the
    // rest back until it is answered.
    while (g_open == 0 && !g_waiting.empty()) {
        std::function<void()> next = std::move(g_waiting.front());
        g_waiting.pop_front();
        next();
    }
}

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

int ShowBox(QWidget* parent, const QString& text, const QString& caption, unsigned flags) {
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

} // namespace

int TMsgBox::Show(QWidget* parent, int textId, const QString& text, const QString& caption,
                  unsigned flags) {
    ++g_open;
    const int answer = g_handler ? g_handler(Request{textId, text, caption, flags})
                                 : ShowBox(parent, text, caption, flags);
    // Answered: what waited for it comes now, before the caller goes on.
    if (--g_open == 0)
        RunWaiting();
    return answer;
}

void TMsgBox::WhenNoneOpen(std::function<void()> show) {
    if (!show)
        return;
    g_waiting.push_back(std::move(show));
    RunWaiting();
}

int TMsgBox::OpenCount() {
    return g_open;
}

void TMsgBox::SetHandlerForTesting(Handler handler) {
    g_handler = std::move(handler);
}
