#pragma once
// Registers the subscriber page for its tree node (kind 24) with the page
// factory; the start-up calls Register once. The wizard gets the same page
// through the factory with a holder of kind 38.

class TSubscriberPages {
public:
    static void Register();
    static void Unregister();
};
