#include "TDialogHelp.h"

#include "DbgOut.h"
#include "HelpContext.h"

#include <QApplication>
#include <QShortcut>
#include <QWidget>

namespace {

// Set by the main window (or a test) on the GUI thread.
TDialogHelp::Handler g_handler;

} // namespace

void TDialogHelp::SetHandler(Handler handler) {
    g_handler = std::move(handler);
}

bool TDialogHelp::Show(int context) {
    if (!g_handler) {
        DbgOut(eDbgView, "<TDialogHelp::Show> no help window for context %d", context);
        return false;
    }
    return g_handler(context);
}

int TDialogHelp::ContextOf(const QWidget* widget) {
    return HelpContextOf(widget);
}

void TDialogHelp::InstallHelpKey(QWidget* dialog) {
    auto* key = new QShortcut(QKeySequence::HelpContents, dialog);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, dialog, [dialog] {
        QWidget* focus = QApplication::focusWidget();
        const bool inDialog = focus && (focus == dialog || dialog->isAncestorOf(focus));
        Show(ContextOf(inDialog ? focus : dialog));
    });
}
