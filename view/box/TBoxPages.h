#pragma once
// Registers the box settings, barred-number, camera, event-log and firmware
// pages for their tree nodes (kinds 5, 6, 9, 34, 36, 37) with the page
// factory; the start-up calls Register once. The wizard creates the first
// three through the factory with a holder of kind 38.

class TBoxPages {
public:
    static void Register();
    static void Unregister();
};
