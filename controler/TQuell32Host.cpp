#include "TQuell32Host.h"

#include "ComponentLoader.h"
#include "DbgOut.h"
#include "QtGuiSite.h"
#include "Quell32Ids.h"
#include "SettingsPropertyBag.h"

#include <atomic>
#include <exception>

using namespace mox::com;

// The control's event interface on the host's side.
class TQuell32Host::EventSink final : public IDispatch {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override {
        if (!out)
            return E_POINTER;
        if (iid == IUnknown::kIid || iid == IDispatch::kIid) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    std::uint32_t AddRef() noexcept override { return m_refs.fetch_add(1) + 1; }
    std::uint32_t Release() noexcept override {
        const std::uint32_t left = m_refs.fetch_sub(1) - 1;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT Invoke(DispId id, InvokeKind, const Variant*, std::uint32_t,
                   Variant*) noexcept override {
        if (id != quell32::eventidTeleReceived)
            return DISP_E_MEMBERNOTFOUND;
        // The event is fired on the GUI thread; a handler's exception must
        // not leave through the module's call.
        try {
            if (m_handler)
                m_handler();
        } catch (...) {
            DbgOut(eDbgAlways, "<TQuell32Host::OnTeleReceived> exception in the handler");
        }
        return S_OK;
    }
    void SetHandler(std::function<void()> handler) { m_handler = std::move(handler); }

private:
    ~EventSink() = default;
    std::atomic<std::uint32_t> m_refs{1};
    std::function<void()> m_handler;
};

TQuell32Host::TQuell32Host(QObject* guiReceiver) {
    m_pControl = ComponentLoader::Create<IDispatch>(quell32::CLSID_Quell32Ctrl.ToString());
    if (auto persist = m_pControl.As<IPersistProperties>()) {
        auto bag = SettingsPropertyBag::Create(quell32::kQuell32PropertiesKey);
        if (Failed(persist->Load(bag.Get())))
            persist->InitNew();
    }
    m_pSite = QtGuiSite::Create(guiReceiver);
    if (auto withSite = m_pControl.As<IObjectWithSite>())
        withSite->SetSite(m_pSite.Get());
    m_pSink = new EventSink;
    if (auto source = m_pControl.As<IEventSource>())
        source->Advise(m_pSink);
    DbgOut(eDbgPort, "<TQuell32Host::TQuell32Host> control created");
}

TQuell32Host::~TQuell32Host() {
    if (m_pControl) {
        if (auto source = m_pControl.As<IEventSource>())
            source->Unadvise();
        if (auto withSite = m_pControl.As<IObjectWithSite>())
            withSite->SetSite(nullptr);
        m_pControl.Reset();
    }
    m_pSite.Reset();
    if (m_pSink)
        m_pSink->Release();
}

void TQuell32Host::SetTeleReceivedHandler(std::function<void()> handler) {
    m_pSink->SetHandler(std::move(handler));
}
