#pragma once
// Help contexts are the dynamic property "HelpContext" (int) of a form and
// of its components, as in the form files. F1 asks for the context of the
// component that has the focus; one without a context of its own takes its
// nearest parent's.

class QWidget;

// The widget's own help context or, when it has none, the nearest parent's
// up to its window; 0 when none of them has one.
int HelpContextOf(const QWidget* widget);
