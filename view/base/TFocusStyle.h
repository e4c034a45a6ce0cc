#pragma once
// TFocusStyle: the program's look on top of the platform's style, with one
// difference: the control that has the focus always shows it, also before
// the first key was pressed, and a focused push button carries a focus
// frame of its own, so that it never looks like the default button merely;
// the current item of a focused list or tree has a dotted frame that stands
// out from the selection.

#include <QProxyStyle>

class TFocusStyle : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    // Puts the style over the application's current one, once.
    static void Install();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};
