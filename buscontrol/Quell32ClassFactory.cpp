#include "Quell32ClassFactory.h"

#include "CQuell32Ctrl.h"
#include "CQuell32PropPage.h"
#include "Quell32Ids.h"

#include <new>

namespace quell32 {

using namespace mox::com;

Quell32ClassFactory* Quell32ClassFactory::For(const Guid& clsid) {
    if (!(clsid == CLSID_Quell32Ctrl) && !(clsid == CLSID_Quell32PropPage))
        return nullptr;
    return new (std::nothrow) Quell32ClassFactory(clsid);
}

HRESULT Quell32ClassFactory::QueryInterface(const Guid& iid, void** out) noexcept {
    if (!out)
        return E_POINTER;
    if (iid == IUnknown::kIid || iid == IClassFactory::kIid) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

uint32_t Quell32ClassFactory::Release() noexcept {
    const uint32_t left = m_refs.Drop();
    if (left == 0)
        delete this;
    return left;
}

HRESULT Quell32ClassFactory::CreateInstance(IUnknown* outer, const Guid& iid, void** out) noexcept {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    try {
        IUnknown* object = nullptr;
        if (m_clsid == CLSID_Quell32Ctrl)
            object = static_cast<IDispatch*>(CQuell32Ctrl::Create());
        else
            object = CQuell32PropPage::Create();
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT Quell32ClassFactory::LockServer(bool lock) noexcept {
    if (lock)
        ModuleState::Lock();
    else
        ModuleState::Unlock();
    return S_OK;
}

} // namespace quell32
