// The module's four entry points: self-registration and the class objects.

#include "ComponentRegistry.h"
#include "ModuleExports.h"
#include "ModuleState.h"
#include "Quell32ClassFactory.h"
#include "Quell32Ids.h"

using namespace mox::com;
using namespace quell32;

namespace {

constexpr char kTypeLibVersion[] = "1.3";
constexpr char kTypeLibName[] = "Quell32 ActiveX-Steuerelement-Modul";
constexpr char kControlTypeName[] = "Quell32 Control";
constexpr char kPropPageTypeName[] = "Quell32 Property Page";
// Set client site first, activate when visible, inside-out, cannot link
// inside, recompose on resize.
constexpr uint32_t kMiscStatus = 0x20191;

std::string ModulePath() {
    return ModuleState::PathOf(reinterpret_cast<const void*>(&DllRegisterServer));
}

} // namespace

MOX_COMPONENT_EXPORT HRESULT DllRegisterServer() {
    try {
        const std::string path = ModulePath();
        if (path.empty() || !ComponentRegistry::RegisterTypeLib(
                                {LIBID_QUELL32Lib, kTypeLibVersion, kTypeLibName, path}))
            return SELFREG_E_TYPELIB;

        ClassRegistration control;
        control.clsid = CLSID_Quell32Ctrl;
        control.progId = kControlProgId;
        control.typeName = kControlTypeName;
        control.modulePath = path;
        control.threadingModel = "Apartment";
        control.miscStatus = kMiscStatus;
        control.typeLib = LIBID_QUELL32Lib;
        control.version = kTypeLibVersion;
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
        ComponentRegistry::UnregisterTypeLib(LIBID_QUELL32Lib, kTypeLibVersion);
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
