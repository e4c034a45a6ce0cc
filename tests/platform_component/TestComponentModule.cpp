// A small component module for the tests of the component layer: one
// counter class with a dispatch interface, one event, a site and one
// persisted property.

#include "ComInterfaces.h"
#include "ComPtr.h"
#include "ComponentRegistry.h"
#include "ModuleExports.h"
#include "ModuleState.h"
#include "TestComponentIds.h"

#include <mutex>
#include <new>
#include <thread>

using namespace mox::com;

namespace {

class Counter final : public IDispatch,
                      public IEventSource,
                      public IObjectWithSite,
                      public IPostTarget,
                      public IPersistProperties {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override {
        if (!out)
            return E_POINTER;
        if (iid == IUnknown::kIid || iid == IDispatch::kIid)
            *out = static_cast<IDispatch*>(this);
        else if (iid == IEventSource::kIid)
            *out = static_cast<IEventSource*>(this);
        else if (iid == IObjectWithSite::kIid)
            *out = static_cast<IObjectWithSite*>(this);
        else if (iid == IPostTarget::kIid)
            *out = static_cast<IPostTarget*>(this);
        else if (iid == IPersistProperties::kIid)
            *out = static_cast<IPersistProperties*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    uint32_t AddRef() noexcept override { return m_refs.Add(); }
    uint32_t Release() noexcept override {
        const uint32_t left = m_refs.Drop();
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT Invoke(DispId id, InvokeKind kind, const Variant* args, uint32_t argc,
                   Variant* result) noexcept override {
        switch (id) {
        case testcomponent::kDispValue:
            if (kind == InvokeKind::PropertyGet) {
                if (result)
                    *result = Variant::FromI4(m_value);
                return S_OK;
            }
            if (kind == InvokeKind::PropertyPut) {
                if (argc != 1)
                    return DISP_E_BADPARAMCOUNT;
                const auto v = args[0].ToI4();
                if (!v)
                    return DISP_E_TYPEMISMATCH;
                m_value = *v;
                m_dirty = true;
                return S_OK;
            }
            return DISP_E_MEMBERNOTFOUND;
        case testcomponent::kDispIncrement:
            if (kind != InvokeKind::Method)
                return DISP_E_MEMBERNOTFOUND;
            ++m_value;
            Fire();
            return S_OK;
        case testcomponent::kDispPostLater: {
            if (kind != InvokeKind::Method)
                return DISP_E_MEMBERNOTFOUND;
            ComPtr<ISite> site = Site();
            if (!site)
                return E_UNEXPECTED;
            try {
                std::thread([site, self = this] { site->Post(self, 7); }).join();
            } catch (...) {
                return E_FAIL;
            }
            return S_OK;
        }
        case testcomponent::kDispSum: {
            if (kind != InvokeKind::Method)
                return DISP_E_MEMBERNOTFOUND;
            if (argc != 1 || !args[0].Array())
                return DISP_E_TYPEMISMATCH;
            int32_t sum = 0;
            for (int16_t v : *args[0].Array())
                sum += v;
            if (result)
                *result = Variant::FromI4(sum);
            return S_OK;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    HRESULT Advise(IDispatch* sink) noexcept override {
        if (!sink)
            return E_POINTER;
        if (m_sink)
            return CONNECT_E_ADVISELIMIT;
        m_sink = ComPtr<IDispatch>(sink);
        return S_OK;
    }
    HRESULT Unadvise() noexcept override {
        m_sink.Reset();
        return S_OK;
    }

    HRESULT SetSite(ISite* site) noexcept override {
        std::lock_guard lock(m_siteMutex);
        m_site = ComPtr<ISite>(site);
        return S_OK;
    }

    void OnPosted(uint32_t message) noexcept override {
        if (message == 7)
            Fire();
    }

    HRESULT InitNew() noexcept override {
        m_value = 0;
        m_dirty = false;
        return S_OK;
    }
    HRESULT Load(IPropertyBag* bag) noexcept override {
        Variant v = Variant::FromI4(0);
        m_value = bag && Succeeded(bag->Read("Value", &v)) ? *v.ToI4() : 0;
        m_dirty = false;
        return S_OK;
    }
    HRESULT Save(IPropertyBag* bag, bool clearDirty) noexcept override {
        if (!bag)
            return E_POINTER;
        const HRESULT hr = bag->Write("Value", Variant::FromI4(m_value));
        if (Succeeded(hr) && clearDirty)
            m_dirty = false;
        return hr;
    }
    HRESULT IsDirty() noexcept override { return m_dirty ? S_OK : S_FALSE; }

private:
    ~Counter() = default;

    ComPtr<ISite> Site() {
        std::lock_guard lock(m_siteMutex);
        return m_site;
    }
    void Fire() {
        if (m_sink)
            m_sink->Invoke(testcomponent::kEventChanged, InvokeKind::Method, nullptr, 0, nullptr);
    }

    ModuleObjectCount m_alive;
    RefCount m_refs;
    int32_t m_value = 0;
    bool m_dirty = false;
    ComPtr<IDispatch> m_sink;
    std::mutex m_siteMutex;
    ComPtr<ISite> m_site;
};

class CounterFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override {
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
    uint32_t AddRef() noexcept override { return m_refs.Add(); }
    uint32_t Release() noexcept override {
        const uint32_t left = m_refs.Drop();
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) noexcept override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        Counter* c = new (std::nothrow) Counter;
        if (!c)
            return E_OUTOFMEMORY;
        const HRESULT hr = c->QueryInterface(iid, out);
        c->Release();
        return hr;
    }
    HRESULT LockServer(bool lock) noexcept override {
        lock ? ModuleState::Lock() : ModuleState::Unlock();
        return S_OK;
    }

private:
    ~CounterFactory() = default;
    ModuleObjectCount m_alive;
    RefCount m_refs;
};

} // namespace

MOX_COMPONENT_EXPORT HRESULT DllRegisterServer() {
    try {
        ClassRegistration reg;
        reg.clsid = testcomponent::kClsid;
        reg.progId = testcomponent::kProgId;
        reg.typeName = "Mox Test Counter";
        reg.modulePath = ModuleState::PathOf(reinterpret_cast<const void*>(&DllRegisterServer));
        return ComponentRegistry::RegisterClass(reg) ? S_OK : SELFREG_E_CLASS;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

MOX_COMPONENT_EXPORT HRESULT DllUnregisterServer() {
    try {
        ComponentRegistry::UnregisterClass(testcomponent::kClsid);
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

MOX_COMPONENT_EXPORT HRESULT DllGetClassObject(const Guid& clsid, const Guid& iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!(clsid == testcomponent::kClsid))
        return CLASS_E_CLASSNOTAVAILABLE;
    auto* f = new (std::nothrow) CounterFactory;
    if (!f)
        return E_OUTOFMEMORY;
    const HRESULT hr = f->QueryInterface(iid, out);
    f->Release();
    return hr;
}

MOX_COMPONENT_EXPORT HRESULT DllCanUnloadNow() {
    return ModuleState::CanUnload() ? S_OK : S_FALSE;
}
