#pragma once
// Registers the SMS providers page (kind 7) and the universal controller's
// signal-input and switching-output pages (kinds 11 and 12) with the page
// factory; the start-up calls Register once. The page-hosting dialog and
// the wizard make the same pages through the factory with their own holder
// kinds (39 and 38).

class TRakPages {
public:
    static void Register();
    static void Unregister();
};
