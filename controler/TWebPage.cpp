#include "TWebPage.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

TWebPage::Handler g_handler; // set by tests on the GUI thread

} // namespace

QString TWebPage::Address() {
    return QStringLiteral("https://www.kestrin.example/halvox-isdn/");
}

void TWebPage::Open() {
    if (g_handler) {
        g_handler(Address());
        return;
    }
    QDesktopServices::openUrl(QUrl(Address()));
}

void TWebPage::SetHandlerForTesting(Handler handler) {
    g_handler = std::move(handler);
}
