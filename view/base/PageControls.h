#pragma once
// Builders for the pages that make their controls in code: each control
// gets its object name (the tests and the help find it by that), its Tag
// (the language-text id its text is applied by; -1 for none) and its help
// context (0 for none).

#include <QString>
#include <QWidget>

namespace pagectl {

template <class W> W* Name(W* w, const char* name, int tag = -1, int help = 0) {
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("Tag", tag);
    if (help > 0)
        w->setProperty("HelpContext", help);
    return w;
}

template <class W> W* Make(QWidget* parent, const char* name, int tag = -1, int help = 0) {
    return Name(new W(parent), name, tag, help);
}

} // namespace pagectl
