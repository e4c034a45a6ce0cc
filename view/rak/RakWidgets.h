#pragma once
// Building blocks of the controller and SMS pages: the tab bar of the
// controller's inputs or outputs. Their controls are made with
// pagectl::Make.

#include "PageControls.h"

#include <QBoxLayout>
#include <QSignalBlocker>
#include <QString>
#include <QTabBar>
#include <QWidget>

namespace rak {

// The tab bar that picks one of the controller's inputs or outputs, at the
// top of the page's layout.
inline QTabBar* AddTabBar(QBoxLayout* top, QWidget* area, int tag, int help) {
    auto* tabs = pagectl::Make<QTabBar>(area, "m_pTabControl", tag, help);
    tabs->setExpanding(false);
    top->addWidget(tabs);
    return tabs;
}

// One tab for each input or output, numbered from 1. The page loads the
// tab's data itself afterwards, so the bar reports no change meanwhile.
inline void NumberTabs(QTabBar* tabs, int count) {
    const QSignalBlocker block(tabs);
    while (tabs->count() > 0)
        tabs->removeTab(0);
    for (int i = 0; i < count; ++i)
        tabs->addTab(QString::number(i + 1));
}

// Selects the first tab (none on an empty bar) without reporting the change;
// returns the tab now selected.
inline int SelectFirstTab(QTabBar* tabs) {
    const int first = tabs->count() > 0 ? 0 : -1;
    const QSignalBlocker block(tabs);
    tabs->setCurrentIndex(first);
    return first;
}

} // namespace rak
