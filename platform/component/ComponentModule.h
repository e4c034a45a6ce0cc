#pragma once
// One component module loaded with dlopen and its four entry points.
// Unloading happens in the destructor; the loader only lets that happen
// once the module says it can be unloaded.

#include "ComResult.h"
#include "Guid.h"
#include "ModuleExports.h"

#include <string>

namespace mox::com {

class ComponentModule {
public:
    // Throws ComponentError when the file cannot be loaded or lacks an
    // entry point.
    explicit ComponentModule(const std::string& path);
    ~ComponentModule();
    ComponentModule(const ComponentModule&) = delete;
    ComponentModule& operator=(const ComponentModule&) = delete;

    const std::string& Path() const { return m_path; }

    HRESULT RegisterServer() const { return m_register(); }
    HRESULT UnregisterServer() const { return m_unregister(); }
    HRESULT GetClassObject(const Guid& clsid, const Guid& iid, void** out) const {
        return m_getClassObject(clsid, iid, out);
    }
    bool CanUnloadNow() const { return m_canUnloadNow() == S_OK; }

private:
    std::string m_path;
    void* m_handle = nullptr;
    DllRegisterServerFn m_register = nullptr;
    DllUnregisterServerFn m_unregister = nullptr;
    DllGetClassObjectFn m_getClassObject = nullptr;
    DllCanUnloadNowFn m_canUnloadNow = nullptr;
};

} // namespace mox::com
