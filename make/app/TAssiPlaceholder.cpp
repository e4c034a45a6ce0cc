#include "TAssiPlaceholder.h"

#include "DbgOut.h"
#include "TMoxMain.h"

#include <QApplication>
#include <QTimer>

TAssiPlaceholder::TAssiPlaceholder(TMoxMain* owner) : QWidget(nullptr), m_pOwner(owner) {
    setObjectName(QStringLiteral("TAssiMain"));
}

void TAssiPlaceholder::ShowAssistent() {
    DbgOut(eDbgView, "<TAssiMain::OnShow> hands over to the main window");
    show();
    // Handed over from the event loop, so the caller that showed the wizard
    // has returned first.
    QTimer::singleShot(0, this, &TAssiPlaceholder::HandOver);
}

void TAssiPlaceholder::HandOver() {
    hide();
    m_pOwner->show();
    QApplication::setQuitOnLastWindowClosed(true);
}
