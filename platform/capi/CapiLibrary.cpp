#include "CapiLibrary.h"

#include <dlfcn.h>

namespace mox::platform {
namespace {

template <typename Fn> Fn Lookup(void* lib, const char* symbol) {
    // dlsym hands out an object pointer; the library exports functions.
    return reinterpret_cast<Fn>(dlsym(lib, symbol));
}

} // namespace

CapiLibrary::~CapiLibrary() {
    Unload();
}

bool CapiLibrary::Load(const std::string& name, std::string* error) {
    Unload();
    if (name.empty()) {
        if (error)
            *error = "no CAPI library named";
        return false;
    }
    void* lib = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        if (error) {
            const char* why = dlerror();
            *error = why ? why : "dlopen failed";
        }
        return false;
    }
    Register = Lookup<CapiRegisterFn>(lib, "capi20_register");
    Release = Lookup<CapiReleaseFn>(lib, "capi20_release");
    PutMessage = Lookup<CapiPutMessageFn>(lib, "capi20_put_message");
    GetMessage = Lookup<CapiGetMessageFn>(lib, "capi20_get_message");
    WaitForMessage = Lookup<CapiWaitForMessageFn>(lib, "capi20_waitformessage");
    GetManufacturer = Lookup<CapiGetManufacturerFn>(lib, "capi20_get_manufacturer");
    GetVersion = Lookup<CapiGetVersionFn>(lib, "capi20_get_version");
    GetSerialNumber = Lookup<CapiGetSerialNumberFn>(lib, "capi20_get_serial_number");
    GetProfile = Lookup<CapiGetProfileFn>(lib, "capi20_get_profile");
    IsInstalled = Lookup<CapiIsInstalledFn>(lib, "capi20_isinstalled");

    const char* missing = !Register          ? "capi20_register"
                          : !Release         ? "capi20_release"
                          : !PutMessage      ? "capi20_put_message"
                          : !GetMessage      ? "capi20_get_message"
                          : !WaitForMessage  ? "capi20_waitformessage"
                          : !GetManufacturer ? "capi20_get_manufacturer"
                          : !GetVersion      ? "capi20_get_version"
                                             : nullptr;
    if (missing) {
        if (error)
            *error = std::string(name) + " has no " + missing;
        ClearEntryPoints();
        dlclose(lib);
        return false;
    }
    m_hLib = lib;
    m_name = name;
    return true;
}

void CapiLibrary::Unload() {
    ClearEntryPoints();
    if (m_hLib) {
        dlclose(m_hLib);
        m_hLib = nullptr;
    }
    m_name.clear();
}

void CapiLibrary::ClearEntryPoints() {
    Register = nullptr;
    Release = nullptr;
    PutMessage = nullptr;
    GetMessage = nullptr;
    WaitForMessage = nullptr;
    GetManufacturer = nullptr;
    GetVersion = nullptr;
    GetSerialNumber = nullptr;
    GetProfile = nullptr;
    IsInstalled = nullptr;
}

} // namespace mox::platform
