#pragma once
// Where the programming results go: the main window, whichever form owns the
// transfer controller (the main window or the wizard). The program's adapter
// performs each result on the main window as the window message of its code
// (DEL_TLN_FAILED .. BSMPROG_PAS, WindowMessages.h), and the main window
// forwards it once to the dialogs, the wizard and the page that are showing.
// There is no second route.

#include <cstdint>

// One programming result, a plain value: it may be copied into a queued
// message and cross threads as it stands.
struct TProgResult {
    std::uint32_t nCode = 0;  // window-message id
    std::intptr_t wParam = 0; // TLNPROG_FEHLER: error mode, else 0
    std::intptr_t lParam = 0; // TLNPROG_FEHLER: error type, else 0

    friend bool operator==(const TProgResult&, const TProgResult&) = default;
};

class IProgResultOwner {
public:
    virtual ~IProgResultOwner() = default;

    // Called synchronously on the GUI thread, once per result.
    virtual void OnProgResult(const TProgResult& result) = 0;
};
