#include "CQuell32PropPage.h"

#include "Quell32Dialogs.h"

namespace quell32 {

using namespace mox::com;

HRESULT CQuell32PropPage::QueryInterface(const Guid& iid, void** out) noexcept {
    if (!out)
        return E_POINTER;
    if (iid == IUnknown::kIid || iid == IPropertyPage::kIid) {
        *out = static_cast<IPropertyPage*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

uint32_t CQuell32PropPage::Release() noexcept {
    const uint32_t left = m_refs.Drop();
    if (left == 0)
        delete this;
    return left;
}

HRESULT CQuell32PropPage::Show(IUnknown* const*, uint32_t) noexcept {
    try {
        ShowPropertyPage();
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace quell32
