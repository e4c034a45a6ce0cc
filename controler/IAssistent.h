#pragma once
// The setup wizard as the main window sees it: it is shown in place of the
// main window and hands back when it ends; a wizard that wrote a document
// (modal result 1) leaves it in the file named by language text 999, which
// the main window then opens. It gets the programming results while it is
// visible.

#include "WindowMessage.h"

#include <string>

class IAssistent {
public:
    virtual ~IAssistent() = default;

    // Shows the wizard; the main window has hidden itself.
    virtual void ShowAssistent() = 0;
    virtual bool IsAssistentVisible() const = 0;
    // 1 when the wizard ended by writing the document, else 0 or 2. The
    // main window reads it once when it is shown again and clears it.
    virtual int TakeModalResult() = 0;
    // The file the wizard wrote (Windows-1252 path bytes of text 999).
    virtual std::string GetFileName() const = 0;
    // The language texts changed.
    virtual void ApplyTexts() = 0;
    // A programming result forwarded by the main window.
    virtual void ForwardMessage(const mox::platform::WindowMessage& msg) = 0;
};
