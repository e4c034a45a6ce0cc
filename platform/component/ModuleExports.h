#pragma once
// The four entry points of an in-process component module, looked up by
// name after the module is loaded. A module defines them with
// MOX_COMPONENT_EXPORT; every other symbol of a module stays hidden.

#include "ComResult.h"
#include "Guid.h"

#define MOX_COMPONENT_EXPORT extern "C" __attribute__((visibility("default")))

namespace mox::com {

using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllGetClassObjectFn = HRESULT (*)(const Guid& clsid, const Guid& iid, void** out);
// S_OK when no object and no lock keeps the module in use, else S_FALSE.
using DllCanUnloadNowFn = HRESULT (*)();

inline constexpr char kDllRegisterServer[] = "DllRegisterServer";
inline constexpr char kDllUnregisterServer[] = "DllUnregisterServer";
inline constexpr char kDllGetClassObject[] = "DllGetClassObject";
inline constexpr char kDllCanUnloadNow[] = "DllCanUnloadNow";

} // namespace mox::com

// What a module defines (declared here so every module keeps the same
// signatures; a host never calls these by name but through dlsym).
MOX_COMPONENT_EXPORT mox::com::HRESULT DllRegisterServer();
MOX_COMPONENT_EXPORT mox::com::HRESULT DllUnregisterServer();
MOX_COMPONENT_EXPORT mox::com::HRESULT DllGetClassObject(const mox::com::Guid& clsid,
                                                         const mox::com::Guid& iid, void** out);
MOX_COMPONENT_EXPORT mox::com::HRESULT DllCanUnloadNow();
