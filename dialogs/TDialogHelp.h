#pragma once
// How the dialogs reach the help window. Help contexts are the dynamic
// property "HelpContext" (int) of a form and of its components, as in the
// form files. The main window installs the way to its help window when it
// is built; without one a request is traced and dropped (tests install a
// recorder).

#include <functional>

class QWidget;

class TDialogHelp {
public:
    // Shows the page of a help context; true when it was shown.
    using Handler = std::function<bool(int context)>;

    // An empty handler removes the current one.
    static void SetHandler(Handler handler);
    static bool Show(int context);

    // The widget's own help context or, when it has none, the nearest
    // parent's; 0 when no widget up to the window has one.
    static int ContextOf(const QWidget* widget);

    // F1 on the dialog shows the help of the component that has the focus.
    static void InstallHelpKey(QWidget* dialog);
};
