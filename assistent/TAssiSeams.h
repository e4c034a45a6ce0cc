#pragma once
// What the wizard takes from outside: its own transfer controller for the
// time the main window has none, the link dialog, and the subscriber
// programming form of its programming step, which lives in another part of
// the program. The start-up fills in the program's own; tests hand in
// fakes. An empty function means the part is not there.

#include "WindowMessage.h"

#include <functional>
#include <memory>
#include <string>

class IMainTransfer;
class QWidget;
class TAssiMain;
class TkResourcen;
class TMoxDocument;
class TNodeData;

// The subscriber programming form as a page of the wizard.
struct TAssiTlnProgContext {
    QWidget* owner = nullptr;          // the work panel: the form's parent
    IMainTransfer* transfer = nullptr; // the controller the wizard uses
    const TNodeData* holder = nullptr; // kind 38
    TMoxDocument* doc = nullptr;
    TkResourcen* res = nullptr;
};

struct TAssiEmbeddedPage {
    QWidget* widget = nullptr; // owned by the wizard from here on
    // The page protocol and the forwarded programming results; may be empty.
    std::function<void(const mox::platform::WindowMessage&)> perform;
    // Whether the page may be left; empty agrees.
    std::function<bool()> closeQuery;
};

struct TAssiSeams {
    // The wizard's own controller when the main window has none yet (the
    // wizard shows before the main window ever did).
    std::function<std::unique_ptr<IMainTransfer>(TAssiMain&)> createTransfer;
    // The link dialog without the ISDN choice; true when it ended with OK.
    // Empty: the program's link dialog.
    std::function<bool(QWidget* owner, TkResourcen* res)> runPortDialog;
    // The programming form of the subscribers; empty: a plain page stands
    // in.
    std::function<TAssiEmbeddedPage(const TAssiTlnProgContext&)> createTlnProg;
    // Folder of the wizard's file when text 999 names no folder; empty: the
    // folder of the settings file (the program's own folder may be
    // read-only, and the current one is anybody's guess).
    std::string fileDir;
};
