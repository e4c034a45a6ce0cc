#pragma once
// The control's one property page. It has nothing to set and says so.

#include "ComInterfaces.h"
#include "ModuleState.h"

namespace quell32 {

class CQuell32PropPage final : public mox::com::IPropertyPage {
public:
    static CQuell32PropPage* Create() { return new CQuell32PropPage; }

    mox::com::HRESULT QueryInterface(const mox::com::Guid& iid, void** out) noexcept override;
    uint32_t AddRef() noexcept override { return m_refs.Add(); }
    uint32_t Release() noexcept override;
    mox::com::HRESULT Show(mox::com::IUnknown* const* objects, uint32_t count) noexcept override;

private:
    CQuell32PropPage() = default;
    ~CQuell32PropPage() = default;

    mox::com::ModuleObjectCount m_alive;
    mox::com::RefCount m_refs;
};

} // namespace quell32
