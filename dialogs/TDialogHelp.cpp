#include "TDialogHelp.h"

#include "DbgOut.h"

#include <QApplication>
#include <QShortcut>
#include <QVariant>
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
    for (const QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        bool ok = false;
        const int context = w->property("HelpContext").toInt(&ok);
        if (ok && context > 0)
            return context;
    }
    return 0;
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
