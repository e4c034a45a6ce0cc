#pragma once
// Registers the read and write pages for their tree nodes (kinds 31 and
// 32) with the page factory; the start-up calls Register once.

class TDataPages {
public:
    static void Register();
    static void Unregister();
};
