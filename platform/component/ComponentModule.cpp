#include "ComponentModule.h"

#include "ComponentError.h"

#include <dlfcn.h>

namespace mox::com {

namespace {

template <class Fn> Fn Lookup(void* handle, const char* name, const std::string& path) {
    void* sym = ::dlsym(handle, name);
    if (!sym)
        throw ComponentError(CO_E_ERRORINDLL, path + ": no entry point " + name);
    return reinterpret_cast<Fn>(sym);
}

} // namespace

ComponentModule::ComponentModule(const std::string& path) : m_path(path) {
    // RTLD_LOCAL: the module's own symbols must not satisfy anyone else's.
    m_handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* why = ::dlerror();
        throw ComponentError(CO_E_DLLNOTFOUND, path + ": " + (why ? why : "cannot be loaded"));
    }
    try {
        m_register = Lookup<DllRegisterServerFn>(m_handle, kDllRegisterServer, path);
        m_unregister = Lookup<DllUnregisterServerFn>(m_handle, kDllUnregisterServer, path);
        m_getClassObject = Lookup<DllGetClassObjectFn>(m_handle, kDllGetClassObject, path);
        m_canUnloadNow = Lookup<DllCanUnloadNowFn>(m_handle, kDllCanUnloadNow, path);
    } catch (...) {
        ::dlclose(m_handle);
        throw;
    }
}

ComponentModule::~ComponentModule() {
    ::dlclose(m_handle);
}

} // namespace mox::com
