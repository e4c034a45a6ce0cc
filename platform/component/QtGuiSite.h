#pragma once
// The host's site for controls in a Qt program: a posted call runs later on
// the thread of the given receiver object (the GUI thread), through Qt's
// event queue. The site keeps the target alive until the call has run or
// the event was dropped.

#include "ComInterfaces.h"
#include "ComPtr.h"
#include "ModuleState.h"

class QObject;

namespace mox::com {

class QtGuiSite final : public ISite {
public:
    // receiver: an object living on the GUI thread (for example the main
    // window, or the application object); it must outlive the site.
    static ComPtr<ISite> Create(QObject* receiver);

    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override;
    uint32_t AddRef() noexcept override { return m_refs.Add(); }
    uint32_t Release() noexcept override;
    HRESULT Post(IPostTarget* target, uint32_t message) noexcept override;

private:
    explicit QtGuiSite(QObject* receiver) : m_receiver(receiver) {}
    ~QtGuiSite() = default;

    RefCount m_refs;
    QObject* m_receiver;
};

} // namespace mox::com
