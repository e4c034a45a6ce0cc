#pragma once
// Clicks as a user makes them, for the tests that drive forms with QTest
// (they link Qt6::Test themselves).
//
// ClickInWindow goes through the window, as the window system delivers a
// click: the focus moves first, a right click opens the context menu. A
// click sent to a widget directly does neither.

#include <gtest/gtest.h>

#include <QObject>
#include <QRadioButton>
#include <QTest>
#include <QWidget>
#include <QWindow>

inline void ClickInWindow(QWidget* widget, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(widget->window()->windowHandle(), button, {},
                      widget->mapTo(widget->window(), local));
}

inline void ClickInWindow(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    ClickInWindow(widget, widget->rect().center(), button);
}

// A click on a radio button's round indicator: its middle may lie beyond
// a short caption, where the button takes no click.
inline void ClickRadioButton(QRadioButton* button) {
    int clicks = 0;
    const auto counter = QObject::connect(button, &QRadioButton::clicked, [&clicks] { ++clicks; });
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(button->height() / 2, button->height() / 2));
    QObject::disconnect(counter);
    EXPECT_EQ(clicks, 1) << "the click reached " << button->objectName().toStdString();
}
