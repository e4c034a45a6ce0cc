#include "Quell32NoticeTarget.h"

#include "CQuell32Ctrl.h"
#include "ComPtr.h"

namespace quell32 {

using namespace mox::com;

HRESULT Quell32NoticeTarget::QueryInterface(const Guid& iid, void** out) noexcept {
    if (!out)
        return E_POINTER;
    if (iid == IUnknown::kIid || iid == IPostTarget::kIid) {
        *out = static_cast<IPostTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

uint32_t Quell32NoticeTarget::Release() noexcept {
    const uint32_t left = m_refs.Drop();
    if (left == 0)
        delete this;
    return left;
}

void Quell32NoticeTarget::OnPosted(uint32_t message) noexcept {
    if (message != kWmTeleReceived || !m_owner)
        return;
    // The event's sink may let go of the control; it stays alive until the
    // handler is done.
    ComPtr<IDispatch> keep(static_cast<IDispatch*>(m_owner));
    m_owner->OnTeleNotice();
}

} // namespace quell32
