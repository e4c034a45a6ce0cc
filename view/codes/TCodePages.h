#pragma once
// Registers the code-assignment pages and the programming start pages with
// the page factory. Kinds 18 (switching codes) and 22 (switch-module
// relays) open their programming start page on a tree node; embedded in
// the wizard (holder kind 38) or the page-hosting dialog (39) they open
// the code-assignment page itself. Kind 26 opens the subscriber
// programming start page. The start-up calls Register once.

class TCodePages {
public:
    static void Register();
    static void Unregister();
};
