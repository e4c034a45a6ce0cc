#pragma once
// Registers the door-interface pages with the page factory: the door-call
// texts (kind 14), the multifunction input (15), the multifunction relay
// (16) and the installation bus (20); the start-up calls Register once.

class TDoorPages {
public:
    static void Register();
    static void Unregister();
};
