#include "HelpContext.h"

#include <QVariant>
#include <QWidget>

int HelpContextOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        bool ok = false;
        const int context = w->property("HelpContext").toInt(&ok);
        if (ok && context > 0)
            return context;
    }
    return 0;
}
