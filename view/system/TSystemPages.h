#pragma once
// Registers the devices page (kind 2), the permission-groups page (25) and
// the system page (28) with the page factory; the start-up calls Register
// once.

class TSystemPages {
public:
    static void Register();
    static void Unregister();
};
