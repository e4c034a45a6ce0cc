#include "QtGuiSite.h"

#include <QMetaObject>
#include <QObject>

namespace mox::com {

ComPtr<ISite> QtGuiSite::Create(QObject* receiver) {
    return ComPtr<ISite>::Attach(new QtGuiSite(receiver));
}

HRESULT QtGuiSite::QueryInterface(const Guid& iid, void** out) noexcept {
    if (!out)
        return E_POINTER;
    if (iid == IUnknown::kIid || iid == ISite::kIid) {
        *out = static_cast<ISite*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

uint32_t QtGuiSite::Release() noexcept {
    const uint32_t left = m_refs.Drop();
    if (left == 0)
        delete this;
    return left;
}

HRESULT QtGuiSite::Post(IPostTarget* target, uint32_t message) noexcept {
    if (!target)
        return E_POINTER;
    if (!m_receiver)
        return E_UNEXPECTED;
    try {
        // The reference travels with the queued call and is dropped when the
        // call has run, or when Qt discards it (receiver gone, queue torn
        // down), so nothing leaks and nothing runs on a freed target. The
        // target's own count holds it: nothing is allocated for that.
        const bool queued = QMetaObject::invokeMethod(
            m_receiver, [held = ComPtr<IPostTarget>(target), message] { held->OnPosted(message); },
            Qt::QueuedConnection);
        return queued ? S_OK : E_FAIL;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

} // namespace mox::com
