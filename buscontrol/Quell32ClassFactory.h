#pragma once
// The class factory of the module: one per class, handed out by
// DllGetClassObject.

#include "ComInterfaces.h"
#include "ModuleState.h"

namespace quell32 {

class Quell32ClassFactory final : public mox::com::IClassFactory {
public:
    // nullptr for a class the module does not serve.
    static Quell32ClassFactory* For(const mox::com::Guid& clsid);

    mox::com::HRESULT QueryInterface(const mox::com::Guid& iid, void** out) noexcept override;
    uint32_t AddRef() noexcept override { return m_refs.Add(); }
    uint32_t Release() noexcept override;
    mox::com::HRESULT CreateInstance(mox::com::IUnknown* outer, const mox::com::Guid& iid,
                                     void** out) noexcept override;
    mox::com::HRESULT LockServer(bool lock) noexcept override;

private:
    explicit Quell32ClassFactory(const mox::com::Guid& clsid) : m_clsid(clsid) {}
    ~Quell32ClassFactory() = default;

    mox::com::ModuleObjectCount m_alive;
    mox::com::RefCount m_refs;
    mox::com::Guid m_clsid;
};

} // namespace quell32
