#pragma once
// What the page-hosting dialog and the code-assignment pages it shows need
// of each other, without the dialog linking the pages' library or the pages
// linking the dialogs'. The dialog makes its page through the page factory
// and finds these sides with a cast; a page finds its dialog among its
// parent widgets.

#include "WindowMessages.h"

#include <QWidget>

#include <cstdint>

// The side of a hosted page that programs the box.
class IHostedProgPage {
public:
    virtual ~IHostedProgPage() = default;
    // Whether the user started an assignment; without one, OK stores
    // nothing.
    virtual bool IsAssignRequested() const = 0;
    // The text id of the hosting dialog's caption.
    virtual int GetHostCaptionId() const = 0;

    // The programming results such a page acts on; its host hands them on.
    static bool IsProgResult(std::uint32_t id) {
        switch (id) {
        case PROG_FAILED:
        case RUECKMELDUNG_OK:
        case PROGMODEAKT_OK:
        case TLNPROGAKT_OK:
        case TLNPROGAKT_FAILED:
        case TLNPROG_FEHLER:
        case TLNPROG_PAS_OK:
        case SEND_FAILED:
        case BSMPROG_AKT:
        case BSMPROG_PAS:
            return true;
        default:
            return false;
        }
    }
};

// The side of the dialog that hosts such a page.
class IProgPageHost {
public:
    virtual ~IProgPageHost() = default;
    // Whether the page reads the configuration from the box first.
    virtual bool GetReadBox() const = 0;
    // Ends the dialog as cancelled (a failed read, no subscriber address).
    virtual void CancelHost() = 0;

    // The host among the widget's parents, or nullptr (a tree or wizard
    // page).
    static IProgPageHost* Find(QWidget* widget) {
        for (QWidget* w = widget; w; w = w->parentWidget())
            if (auto* host = dynamic_cast<IProgPageHost*>(w))
                return host;
        return nullptr;
    }
};
