#pragma once
// Creates instances of registered classes, the host's side of in-process
// activation: ProgID -> class id -> module, loaded once and kept while any
// of its objects may live.
//
// Thread rule: any thread; one internal mutex guards the module table.

#include "ComPtr.h"
#include "ComponentError.h"
#include "Guid.h"

#include <string>

namespace mox::com {

class ComponentLoader {
public:
    // An instance of the class named by a ProgID or a braced class id,
    // asked for the interface iid. Throws ComponentError when the class is
    // not registered (REGDB_E_CLASSNOTREG), its module cannot be used, or
    // the module refuses.
    static ComPtr<IUnknown> CreateInstance(const std::string& progIdOrClsid,
                                           const Guid& iid = IUnknown::kIid);

    template <class T> static ComPtr<T> Create(const std::string& progIdOrClsid) {
        return ComPtr<T>::Attach(static_cast<T*>(CreateInstance(progIdOrClsid, T::kIid).Detach()));
    }

    // The class id a ProgID or braced class id stands for; throws like
    // CreateInstance when there is none.
    static Guid ResolveClass(const std::string& progIdOrClsid);

    // Unloads every module that reports it can be unloaded; returns how many.
    static int FreeUnusedModules();
    // Modules currently loaded.
    static int LoadedModules();
};

} // namespace mox::com
