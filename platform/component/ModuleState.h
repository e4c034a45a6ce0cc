#pragma once
// Book-keeping inside a component module: live objects and server locks
// decide DllCanUnloadNow. The component library is linked into each module
// with its symbols hidden, so every module counts for itself.

#include <atomic>
#include <cstdint>
#include <string>

namespace mox::com {

class ModuleState {
public:
    static void ObjectCreated();
    static void ObjectDestroyed();
    static void Lock();
    static void Unlock();
    static bool CanUnload();
    static uint32_t LiveObjects();
    // Path of the loaded file that holds the given address (the module's own
    // path when the address is one of its functions); empty when unknown.
    static std::string PathOf(const void* address);
};

// A member of every module object: counts it alive from construction to
// destruction.
class ModuleObjectCount {
public:
    ModuleObjectCount() { ModuleState::ObjectCreated(); }
    ~ModuleObjectCount() { ModuleState::ObjectDestroyed(); }
    ModuleObjectCount(const ModuleObjectCount&) = delete;
    ModuleObjectCount& operator=(const ModuleObjectCount&) = delete;
};

// The reference count of one object; starts at one.
class RefCount {
public:
    uint32_t Add() { return m_count.fetch_add(1, std::memory_order_relaxed) + 1; }
    // Returns the count left; the object deletes itself at zero.
    uint32_t Drop() { return m_count.fetch_sub(1, std::memory_order_acq_rel) - 1; }

private:
    std::atomic<uint32_t> m_count{1};
};

} // namespace mox::com
