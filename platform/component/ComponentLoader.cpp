#include "ComponentLoader.h"

#include "ComponentModule.h"
#include "ComponentRegistry.h"

#include <map>
#include <memory>
#include <mutex>

namespace mox::com {

namespace {

std::mutex g_mutex;

// Never destroyed: objects of a module may outlive the static destructors at
// exit, and unloading their code under them would crash. Guarded by g_mutex.
std::map<std::string, std::unique_ptr<ComponentModule>>& Modules() {
    static auto* modules = new std::map<std::string, std::unique_ptr<ComponentModule>>;
    return *modules;
}

ComponentModule& ModuleFor(const std::string& path) {
    auto& modules = Modules();
    auto it = modules.find(path);
    if (it == modules.end())
        it = modules.emplace(path, std::make_unique<ComponentModule>(path)).first;
    return *it->second;
}

} // namespace

Guid ComponentLoader::ResolveClass(const std::string& progIdOrClsid) {
    ComponentRegistry::Refresh();
    if (auto clsid = Guid::FromString(progIdOrClsid))
        return *clsid;
    if (auto clsid = ComponentRegistry::ClassOfProgId(progIdOrClsid))
        return *clsid;
    throw ComponentError(REGDB_E_CLASSNOTREG, "class not registered: " + progIdOrClsid);
}

ComPtr<IUnknown> ComponentLoader::CreateInstance(const std::string& progIdOrClsid,
                                                 const Guid& iid) {
    const Guid clsid = ResolveClass(progIdOrClsid);
    const auto path = ComponentRegistry::ModuleOfClass(clsid);
    if (!path)
        throw ComponentError(REGDB_E_CLASSNOTREG, "class not registered: " + progIdOrClsid);

    std::lock_guard lock(g_mutex);
    ComponentModule& module = ModuleFor(*path);
    ComPtr<IClassFactory> factory;
    HRESULT hr = module.GetClassObject(clsid, IClassFactory::kIid, factory.PutVoid());
    if (Failed(hr) || !factory)
        throw ComponentError(Failed(hr) ? hr : E_UNEXPECTED,
                             *path + " does not serve " + clsid.ToString());
    ComPtr<IUnknown> object;
    hr = factory->CreateInstance(nullptr, iid, object.PutVoid());
    if (Failed(hr) || !object)
        throw ComponentError(Failed(hr) ? hr : E_UNEXPECTED,
                             "creating " + progIdOrClsid + " failed");
    return object;
}

int ComponentLoader::FreeUnusedModules() {
    std::lock_guard lock(g_mutex);
    int freed = 0;
    auto& modules = Modules();
    for (auto it = modules.begin(); it != modules.end();) {
        if (it->second->CanUnloadNow()) {
            it = modules.erase(it);
            ++freed;
        } else {
            ++it;
        }
    }
    return freed;
}

int ComponentLoader::LoadedModules() {
    std::lock_guard lock(g_mutex);
    return static_cast<int>(Modules().size());
}

} // namespace mox::com
