#include "ErrorBox.h"

#include "TraceSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <mutex>

namespace {

// Set by tests on the GUI thread before the code under test runs; the lock
// only keeps a swap during a concurrent box whole.
std::mutex g_handlerMutex;
ErrorBox::Handler g_handler;

} // namespace

ErrorBox::Answer ErrorBox::Show(const std::string& caption, const std::string& text,
                                Buttons buttons) {
    Handler handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_handler;
    }
    if (handler)
        return handler(Request{caption, text, buttons});

    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const auto qbuttons =
            buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
        QMessageBox box(QMessageBox::Critical, QString::fromUtf8(caption.c_str()),
                        QString::fromUtf8(text.c_str()), qbuttons);
        return box.exec() == QMessageBox::Cancel ? Answer::Cancel : Answer::Ok;
    }
    mox::platform::TraceWriteUtf8(caption + ": " + text + "\n");
    return Answer::Ok;
}

void ErrorBox::SetHandlerForTesting(Handler handler) {
    std::lock_guard lock(g_handlerMutex);
    g_handler = std::move(handler);
}
