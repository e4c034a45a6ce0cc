#include "TFocusStyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace {

// Styles draw the focus only once the keyboard moved it; the program always
// wants it seen. The option is the caller's copy, made for this drawing.
void MarkKeyboardFocus(const QStyleOption* option) {
    if (option && (option->state & QStyle::State_HasFocus))
        const_cast<QStyleOption*>(option)->state |= QStyle::State_KeyboardFocusChange;
}

} // namespace

void TFocusStyle::Install() {
    if (qobject_cast<TFocusStyle*>(QApplication::style()))
        return;
    QApplication::setStyle(new TFocusStyle(QApplication::style()->name()));
}

void TFocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    MarkKeyboardFocus(option);
    if (element == PE_FrameFocusRect && option && qobject_cast<const QAbstractItemView*>(widget)) {
        // The current item of a list or tree: a dotted frame in a colour
        // that stands out from the selection it usually lies on.
        const auto* focus = qstyleoption_cast<const QStyleOptionFocusRect*>(option);
        const bool onSelection =
            focus && focus->backgroundColor.isValid() &&
            focus->backgroundColor == option->palette.color(QPalette::Highlight);
        QPen pen(
            option->palette.color(onSelection ? QPalette::HighlightedText : QPalette::WindowText));
        pen.setStyle(Qt::DotLine);
        painter->save();
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void TFocusStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    MarkKeyboardFocus(option);
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_PushButton && option && (option->state & State_HasFocus)) {
        // A dotted frame inside the button, the usual mark of a focused
        // button, beside the outline a default button has too.
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(*option);
        focus.rect = subElementRect(SE_PushButtonFocusRect, option, widget).adjusted(1, 1, -1, -1);
        painter->save();
        QPen pen(option->palette.color(QPalette::ButtonText));
        pen.setStyle(Qt::DotLine);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(focus.rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
}

void TFocusStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    MarkKeyboardFocus(option);
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}
