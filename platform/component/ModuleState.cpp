#include "ModuleState.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

namespace mox::com {

namespace {

std::atomic<uint32_t> g_objects{0};
std::atomic<uint32_t> g_locks{0};

} // namespace

void ModuleState::ObjectCreated() {
    g_objects.fetch_add(1);
}
void ModuleState::ObjectDestroyed() {
    g_objects.fetch_sub(1);
}
void ModuleState::Lock() {
    g_locks.fetch_add(1);
}
void ModuleState::Unlock() {
    g_locks.fetch_sub(1);
}
bool ModuleState::CanUnload() {
    return g_objects.load() == 0 && g_locks.load() == 0;
}
uint32_t ModuleState::LiveObjects() {
    return g_objects.load();
}

std::string ModuleState::PathOf(const void* address) {
    Dl_info info{};
    if (::dladdr(address, &info) == 0 || !info.dli_fname)
        return {};
    // The loader keeps the name the module was opened by, which may be
    // relative; the registration must work from any folder.
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved))
        return resolved;
    return info.dli_fname;
}

} // namespace mox::com
