#pragma once
// The bus control: the dispatch interface _DQuell32 over one bus line, the
// event TeleReceived fired on the GUI thread through the host's site, and
// the two persisted properties. Invisible at run time; the host gives it a
// site in place of a window.
//
// Thread rule: the host calls every interface on the GUI thread, except
// AddRef/Release and the site's posted call, which the site delivers on the
// GUI thread too. The reader thread of the bus line only calls
// PostTeleReceived.

#include "BusLine.h"
#include "ComInterfaces.h"
#include "ComPtr.h"
#include "ModuleState.h"
#include "Quell32NoticeTarget.h"

#include <memory>
#include <mutex>

namespace quell32 {

class CQuell32Ctrl final : public mox::com::IDispatch,
                           public mox::com::IEventSource,
                           public mox::com::IObjectWithSite,
                           public mox::com::IPersistProperties,
                           public mox::com::ISpecifyPropertyPages,
                           private BusNotice {
public:
    // With the real serial line and clock.
    static CQuell32Ctrl* Create();
    // With a given line and clock (tests).
    static CQuell32Ctrl* Create(std::unique_ptr<IBusLine> line, std::unique_ptr<IBusClock> clock);

    // IUnknown
    mox::com::HRESULT QueryInterface(const mox::com::Guid& iid, void** out) noexcept override;
    uint32_t AddRef() noexcept override { return m_refs.Add(); }
    uint32_t Release() noexcept override;

    // IDispatch: _DQuell32
    mox::com::HRESULT Invoke(mox::com::DispId id, mox::com::InvokeKind kind,
                             const mox::com::Variant* args, uint32_t argCount,
                             mox::com::Variant* result) noexcept override;

    // IEventSource: _DQuell32Events
    mox::com::HRESULT Advise(mox::com::IDispatch* sink) noexcept override;
    mox::com::HRESULT Unadvise() noexcept override;

    // IObjectWithSite
    mox::com::HRESULT SetSite(mox::com::ISite* site) noexcept override;

    // The arrival notice, delivered on the GUI thread.
    void OnTeleNotice();

    // IPersistProperties
    mox::com::HRESULT InitNew() noexcept override;
    mox::com::HRESULT Load(mox::com::IPropertyBag* bag) noexcept override;
    mox::com::HRESULT Save(mox::com::IPropertyBag* bag, bool clearDirty) noexcept override;
    mox::com::HRESULT IsDirty() noexcept override;

    // ISpecifyPropertyPages
    mox::com::HRESULT GetPages(mox::com::Guid* pages, uint32_t capacity,
                               uint32_t* count) noexcept override;

private:
    explicit CQuell32Ctrl(std::unique_ptr<BusLine> bus);
    ~CQuell32Ctrl();

    void PostTeleReceived() override;

    mox::com::HRESULT InvokeProperty(mox::com::DispId id, mox::com::InvokeKind kind,
                                     const mox::com::Variant* args, uint32_t argCount,
                                     mox::com::Variant* result);
    mox::com::HRESULT InvokeMethod(mox::com::DispId id, const mox::com::Variant* args,
                                   uint32_t argCount, mox::com::Variant* result);
    uint16_t OpenPort();
    void SetUseEventNotification(bool on);
    void SetFilterEntry(std::array<std::atomic<uint32_t>, kTeleTableSize>& table, int adr, bool on);
    void FireTeleReceived();

    mox::com::ModuleObjectCount m_alive;
    mox::com::RefCount m_refs;
    std::unique_ptr<BusLine> m_bus; // null when its set-up failed

    bool m_testForInterface = true;
    bool m_useEventNotification = false;
    int16_t m_commPort = kDefaultCommPort;
    bool m_modified = false;
    // Whether events were asked for at the last OpenPort.
    bool m_eventsAtOpen = false;

    mox::com::ComPtr<mox::com::IDispatch> m_sink;
    // What the reader posts to: it may still sit in the site's queue after
    // this control is gone.
    mox::com::ComPtr<Quell32NoticeTarget> m_notice;
    // The reader posts through the site, the GUI thread may change it.
    std::mutex m_siteMutex;
    mox::com::ComPtr<mox::com::ISite> m_site;
};

} // namespace quell32
