// The module's four entry points: self-registration and the class objects;
// and the module's resources: its version and its type library.

#include "ComponentRegistry.h"
#include "ModuleExports.h"
#include "ModuleResources.h"
#include "ModuleState.h"
#include "Quell32ClassFactory.h"
#include "Quell32Ids.h"

#include <filesystem>

using namespace mox::com;
using namespace quell32;

namespace {

constexpr TypeInfoDecl kTypes[] = {
    {TypeKind::DispInterface, "_DQuell32", DIID__DQuell32,
     "Dispatch-Schnittstelle f\u00fcr Quell32 Control"},
    {TypeKind::DispInterface, "_DQuell32Events", DIID__DQuell32Events,
     "Ereignisschnittstelle f\u00fcr Quell32 Control"},
    {TypeKind::CoClass, "Quell32", CLSID_Quell32Ctrl, "Quell32 Control"},
};

constexpr ModuleResourceDecl kResources{
    .fileVersion = {1, 3, 1, 0},
    .fileDescription = "Quell32 ActiveX-Steuerelement-Modul",
    .productName = "Quell32 ActiveX Control Module",
    .typeLibName = "QUELL32Lib",
    .typeLibId = LIBID_QUELL32Lib,
    .typeLibMajor = 1,
    .typeLibMinor = 3,
    .typeLibHelpString = "Quell32 ActiveX-Steuerelement-Modul",
    .typeLibHelpFile = "Quell32.hlp",
    .types = kTypes,
};

// In the module file, for whoever reads it without loading the module.
[[gnu::section(MOX_RESOURCE_SECTION), gnu::used]] constexpr auto kResourceBlock =
    ResourceBlock<ResourceTextSize(kResources)>(kResources);

constexpr char kControlTypeName[] = "Quell32 Control";
constexpr char kPropPageTypeName[] = "Quell32 Property Page";
// Set client site first, activate when visible, inside-out, cannot link
// inside, recompose on resize.
constexpr uint32_t kMiscStatus = 0x20191;

std::string ModulePath() {
    return ModuleState::PathOf(reinterpret_cast<const void*>(&DllRegisterServer));
}

// The type library as the module's resources describe it: what is
// registered is what the file says.
std::optional<TypeLibInfo> OwnTypeLib() {
    const auto own = ParseModuleResources({kResourceBlock.data(), kResourceBlock.size()});
    if (!own)
        return std::nullopt;
    return own->typeLib;
}

std::vector<InterfaceRegistration> DispatchInterfaces(const TypeLibInfo& lib) {
    std::vector<InterfaceRegistration> interfaces;
    for (const auto& t : lib.types)
        if (t.kind == TypeKind::DispInterface)
            interfaces.push_back({t.guid, t.name});
    return interfaces;
}

} // namespace

MOX_COMPONENT_EXPORT HRESULT DllRegisterServer() {
    try {
        const std::string path = ModulePath();
        const auto lib = OwnTypeLib();
        if (path.empty() || !lib)
            return SELFREG_E_TYPELIB;
        const TypeLibRegistration libReg{
            .libid = lib->libid,
            .version = lib->Version(),
            .name = lib->helpString,
            .modulePath = path,
            // The help file is looked for beside the module.
            .helpDir = std::filesystem::path(path).parent_path().string(),
            .flags = 0,
            .interfaces = DispatchInterfaces(*lib),
        };
        if (!ComponentRegistry::RegisterTypeLib(libReg))
            return SELFREG_E_TYPELIB;

        ClassRegistration control;
        control.clsid = CLSID_Quell32Ctrl;
        control.progId = kControlProgId;
        control.typeName = kControlTypeName;
        control.modulePath = path;
        control.threadingModel = "Apartment";
        control.miscStatus = kMiscStatus;
        control.typeLib = lib->libid;
        control.version = lib->Version();
        control.toolboxBitmap = path + ", 1";

        ClassRegistration page;
        page.clsid = CLSID_Quell32PropPage;
        page.progId = kPropPageProgId;
        page.typeName = kPropPageTypeName;
        page.modulePath = path;
        page.threadingModel = "Apartment";

        if (!ComponentRegistry::RegisterClass(control) || !ComponentRegistry::RegisterClass(page))
            return SELFREG_E_CLASS;
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

MOX_COMPONENT_EXPORT HRESULT DllUnregisterServer() {
    try {
        const auto lib = OwnTypeLib();
        if (!lib)
            return SELFREG_E_TYPELIB;
        std::vector<Guid> interfaces;
        for (const auto& itf : DispatchInterfaces(*lib))
            interfaces.push_back(itf.iid);
        ComponentRegistry::UnregisterTypeLib(lib->libid, lib->Version(), interfaces);
    } catch (...) {
        return SELFREG_E_TYPELIB;
    }
    try {
        ComponentRegistry::UnregisterClass(CLSID_Quell32Ctrl);
        ComponentRegistry::UnregisterClass(CLSID_Quell32PropPage);
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

MOX_COMPONENT_EXPORT HRESULT DllGetClassObject(const Guid& clsid, const Guid& iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    Quell32ClassFactory* factory = Quell32ClassFactory::For(clsid);
    if (!factory)
        return CLASS_E_CLASSNOTAVAILABLE;
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

MOX_COMPONENT_EXPORT HRESULT DllCanUnloadNow() {
    return ModuleState::CanUnload() ? S_OK : S_FALSE;
}
