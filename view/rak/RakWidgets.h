#pragma once
// Building blocks of the controller and SMS pages: a control with its
// object name (tests and the help find it by that), its language-text tag
// and its help context.

#include <QString>
#include <QWidget>

namespace rak {

template <class W> W* Make(QWidget* parent, const char* name, int tag = -1, int help = 0) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("Tag", tag);
    if (help > 0)
        w->setProperty("HelpContext", help);
    return w;
}

} // namespace rak
