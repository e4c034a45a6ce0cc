#include "CQuell32Ctrl.h"

#include "Quell32Dialogs.h"
#include "Quell32Ids.h"
#include "Quell32Trace.h"
#include "SerialBusLine.h"
#include "SystemBusClock.h"

#include <new>

namespace quell32 {

using namespace mox::com;

namespace {

// Property exchange version of the persisted properties: 1.3.
constexpr int32_t kPropertyVersion = 0x10003;

enum class Access { ReadWrite, ReadOnly, WriteOnly };

// Checks the call kind and the argument count of a property with the given
// number of index arguments.
HRESULT CheckProperty(InvokeKind kind, uint32_t argCount, uint32_t indexArgs, Access access) {
    if (kind == InvokeKind::PropertyGet) {
        if (access == Access::WriteOnly)
            return DISP_E_MEMBERNOTFOUND;
        return argCount == indexArgs ? S_OK : DISP_E_BADPARAMCOUNT;
    }
    if (kind == InvokeKind::PropertyPut) {
        if (access == Access::ReadOnly)
            return DISP_E_MEMBERNOTFOUND;
        return argCount == indexArgs + 1 ? S_OK : DISP_E_BADPARAMCOUNT;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT Return(Variant* result, Variant value) {
    if (result)
        *result = std::move(value);
    return S_OK;
}

Variant I2(int v) {
    return Variant::FromI2(static_cast<int16_t>(v));
}

} // namespace

CQuell32Ctrl* CQuell32Ctrl::Create() {
    return Create(std::make_unique<SerialBusLine>(), std::make_unique<SystemBusClock>());
}

CQuell32Ctrl* CQuell32Ctrl::Create(std::unique_ptr<IBusLine> line,
                                   std::unique_ptr<IBusClock> clock) {
    std::unique_ptr<BusLine> bus;
    try {
        bus = std::make_unique<BusLine>(std::move(line), std::move(clock));
    } catch (const std::bad_alloc&) {
        // The control still comes into being, without a line; every call
        // but the about box then reports E_UNEXPECTED.
        ShowErrorBox("Unable to create QUELL32.OCX", "ERROR");
    }
    return new CQuell32Ctrl(std::move(bus));
}

CQuell32Ctrl::CQuell32Ctrl(std::unique_ptr<BusLine> bus)
    : m_bus(std::move(bus)),
      m_notice(ComPtr<Quell32NoticeTarget>::Attach(new Quell32NoticeTarget(this))) {}

CQuell32Ctrl::~CQuell32Ctrl() {
    // Closing the port stops the reader first, so no notice is posted once
    // the target is detached.
    m_bus.reset();
    m_notice->Detach();
}

// ---------------------------------------------------------------- IUnknown

HRESULT CQuell32Ctrl::QueryInterface(const Guid& iid, void** out) noexcept {
    if (!out)
        return E_POINTER;
    if (iid == IUnknown::kIid || iid == IDispatch::kIid || iid == DIID__DQuell32)
        *out = static_cast<IDispatch*>(this);
    else if (iid == IEventSource::kIid)
        *out = static_cast<IEventSource*>(this);
    else if (iid == IObjectWithSite::kIid)
        *out = static_cast<IObjectWithSite*>(this);
    else if (iid == IPersistProperties::kIid)
        *out = static_cast<IPersistProperties*>(this);
    else if (iid == ISpecifyPropertyPages::kIid)
        *out = static_cast<ISpecifyPropertyPages*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

uint32_t CQuell32Ctrl::Release() noexcept {
    const uint32_t left = m_refs.Drop();
    if (left == 0)
        delete this;
    return left;
}

// ---------------------------------------------------------------- dispatch

HRESULT CQuell32Ctrl::Invoke(DispId id, InvokeKind kind, const Variant* args, uint32_t argCount,
                             Variant* result) noexcept {
    if (argCount && !args)
        return E_POINTER;
    try {
        if (id == dispidAboutBox) {
            if (kind != InvokeKind::Method)
                return DISP_E_MEMBERNOTFOUND;
            ShowAboutBox();
            return S_OK;
        }
        if (!m_bus)
            return E_UNEXPECTED;
        if (id >= dispidOpenPort && id <= dispidChangeFilters) {
            if (kind != InvokeKind::Method)
                return DISP_E_MEMBERNOTFOUND;
            return InvokeMethod(id, args, argCount, result);
        }
        return InvokeProperty(id, kind, args, argCount, result);
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CQuell32Ctrl::InvokeMethod(DispId id, const Variant* args, uint32_t argCount,
                                   Variant* result) {
    switch (id) {
    case dispidOpenPort:
        if (argCount != 0)
            return DISP_E_BADPARAMCOUNT;
        return Return(result, I2(OpenPort()));
    case dispidClosePort:
        if (argCount != 0)
            return DISP_E_BADPARAMCOUNT;
        return Return(result, I2(m_bus->ClosePort()));
    case dispidTransmitTele:
        if (argCount != 0)
            return DISP_E_BADPARAMCOUNT;
        m_bus->TransmitTele();
        return S_OK;
    case dispidWaitForReceive: {
        if (argCount != 1)
            return DISP_E_BADPARAMCOUNT;
        const auto ticks = args[0].ToI4();
        if (!ticks)
            return DISP_E_TYPEMISMATCH;
        m_bus->WaitForReceive(*ticks);
        return S_OK;
    }
    case dispidChangeFilters: {
        if (argCount != 2)
            return DISP_E_BADPARAMCOUNT;
        const auto type = args[0].ToI4();
        const auto value = args[1].ToI4();
        if (!type || !value)
            return DISP_E_TYPEMISMATCH;
        auto& b = m_bus->Block();
        const auto word = static_cast<uint32_t>(static_cast<int16_t>(*value));
        for (size_t i = 0; i < kTeleTableSize; ++i) {
            if (*type & 1)
                b.targetFilter[i].store(word, std::memory_order_relaxed);
            if (*type & 2)
                b.functionFilter[i].store(word, std::memory_order_relaxed);
            if (*type & 4)
                b.transmitterFilter[i].store(word, std::memory_order_relaxed);
        }
        return S_OK;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CQuell32Ctrl::InvokeProperty(DispId id, InvokeKind kind, const Variant* args,
                                     uint32_t argCount, Variant* result) {
    auto& b = m_bus->Block();
    const bool get = kind == InvokeKind::PropertyGet;
    // The new value of a put stands after its index arguments.
    const Variant* value = argCount ? &args[argCount - 1] : nullptr;
    HRESULT hr = S_OK;

    auto putBool = [&](auto&& store) -> HRESULT {
        const auto v = value->ToBool();
        if (!v)
            return DISP_E_TYPEMISMATCH;
        store(*v);
        m_modified = true;
        return S_OK;
    };
    auto putInt = [&](auto&& store) -> HRESULT {
        const auto v = value->ToI4();
        if (!v)
            return DISP_E_TYPEMISMATCH;
        store(*v); // out-of-range values are ignored by the store itself
        m_modified = true;
        return S_OK;
    };
    auto index = [&]() -> std::optional<int32_t> { return args[0].ToI4(); };

    switch (id) {
    case dispidTestForInterface:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadWrite)))
            return hr;
        if (get)
            return Return(result, Variant::FromBool(m_testForInterface));
        return putBool([&](bool v) { m_testForInterface = v; });

    case dispidUseEventNotification:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadWrite)))
            return hr;
        if (get)
            return Return(result, Variant::FromBool(m_useEventNotification));
        return putBool([&](bool v) { SetUseEventNotification(v); });

    case dispidCommPort:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadWrite)))
            return hr;
        if (get)
            return Return(result, I2(m_commPort));
        return putInt([&](int32_t v) {
            if (v >= 1 && v <= kMaxCommPort && !m_bus->IsOpen())
                m_commPort = static_cast<int16_t>(v);
        });

    case dispidReadyForReceive:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadWrite)))
            return hr;
        if (get)
            return Return(result, Variant::FromBool(b.readyFlag.load() == 1));
        return putBool([&](bool v) { m_bus->SetReadyForReceive(v); });

    case dispidReceivedTeleLen:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadOnly)))
            return hr;
        return Return(result, I2(m_bus->ReceivedLength()));

    case dispidReceivedTeleStatus:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadOnly)))
            return hr;
        return Return(result, I2(m_bus->ReceivedStatus()));

    case dispidReceivedTeleTimerTicks:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadOnly)))
            return hr;
        return Return(result, Variant::FromI4(static_cast<int32_t>(m_bus->ReceivedTicks())));

    case dispidReceivedTeleTimeDate:
    case dispidTransmitTeleTimeDate:
        // One time stamp for both: the most recent telegram event.
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadOnly)))
            return hr;
        return Return(result, Variant::FromDate(m_bus->TimeStamp()));

    case dispidTeleAllBytes:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadWrite)))
            return hr;
        if (get)
            return Return(result, Variant::FromBool(b.rawMode.load() != 0));
        return putBool([&](bool v) { b.rawMode = v ? 1 : 0; });

    case dispidTransmitTeleLen:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadWrite)))
            return hr;
        if (get)
            return Return(result, I2(b.transmitLength));
        return putInt([&](int32_t v) {
            if (v >= 1 && v <= 255)
                b.transmitLength = static_cast<uint16_t>(v);
        });

    case dispidTransmitTeleStatus:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadOnly)))
            return hr;
        return Return(result, I2(b.transmitStatus));

    case dispidTransmitTeleTimerTicks:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadOnly)))
            return hr;
        return Return(result, Variant::FromI4(static_cast<int32_t>(b.transmitTicks)));

    case dispidPCAdr:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadWrite)))
            return hr;
        if (get)
            return Return(result, I2(b.ownAddress.load()));
        return putInt([&](int32_t v) {
            if (v >= 1 && v <= 254)
                b.ownAddress = static_cast<uint16_t>(v);
        });

    case dispidTransmitTeleArray: {
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::WriteOnly)))
            return hr;
        // Anything but an array of at most 256 I2 is ignored.
        if (const auto* elements = value->Array();
            elements && elements->size() <= kMaxTransmitBytes) {
            // Only the low byte of each goes on the wire; keeping just that
            // makes what is stuffed and summed what is sent.
            for (size_t i = 0; i < elements->size(); ++i)
                b.transmitBytes[i] = static_cast<uint8_t>((*elements)[i]);
            b.transmitLength = static_cast<uint16_t>(elements->size());
        }
        m_modified = true;
        return S_OK;
    }

    case dispidPCAnswerMode:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadWrite)))
            return hr;
        if (get)
            return Return(result, Variant::FromBool((b.answerFlags.load() & 1) != 0));
        return putBool([&](bool v) {
            b.answerFlags = static_cast<uint16_t>(v ? (b.answerFlags | 1) : (b.answerFlags & ~1));
        });

    case dispidConnected:
        if (Failed(hr = CheckProperty(kind, argCount, 0, Access::ReadOnly)))
            return hr;
        return Return(result, Variant::FromBool(m_bus->IsOpen()));

    case dispidReceivedTeleBytes: {
        if (Failed(hr = CheckProperty(kind, argCount, 1, Access::ReadOnly)))
            return hr;
        const auto pos = index();
        if (!pos)
            return DISP_E_TYPEMISMATCH;
        return Return(result, I2(m_bus->ReceivedByte(*pos)));
    }

    case dispidShowFunctions:
    case dispidShowTargets:
    case dispidShowTransmitters: {
        if (Failed(hr = CheckProperty(kind, argCount, 1, Access::ReadWrite)))
            return hr;
        auto& table = id == dispidShowFunctions ? b.functionFilter
                      : id == dispidShowTargets ? b.targetFilter
                                                : b.transmitterFilter;
        const auto adr = index();
        if (!adr)
            return DISP_E_TYPEMISMATCH;
        const bool inRange = *adr >= 0 && *adr < static_cast<int32_t>(kTeleTableSize);
        if (get)
            return Return(
                result, Variant::FromBool(inRange && table[static_cast<size_t>(*adr)].load() != 0));
        return putBool([&](bool v) { SetFilterEntry(table, *adr, v); });
    }

    case dispidTransmitTeleBytes: {
        if (Failed(hr = CheckProperty(kind, argCount, 1, Access::ReadWrite)))
            return hr;
        const auto pos = index();
        if (!pos)
            return DISP_E_TYPEMISMATCH;
        const bool inRange = *pos >= 0 && *pos < static_cast<int32_t>(kTeleTableSize);
        if (get)
            return Return(result, I2(inRange ? b.transmitBytes[static_cast<size_t>(*pos)] : -1));
        return putInt([&](int32_t v) {
            if (inRange)
                b.transmitBytes[static_cast<size_t>(*pos)] = static_cast<uint8_t>(v);
        });
    }

    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

void CQuell32Ctrl::SetFilterEntry(std::array<std::atomic<uint32_t>, kTeleTableSize>& table, int adr,
                                  bool on) {
    if (adr >= 0 && adr < static_cast<int>(kTeleTableSize))
        table[static_cast<size_t>(adr)].store(on ? 1 : 0);
}

uint16_t CQuell32Ctrl::OpenPort() {
    BusNotice* window = nullptr;
    {
        std::lock_guard lock(m_siteMutex);
        if (m_site)
            window = this;
    }
    m_eventsAtOpen = m_useEventNotification;
    return m_bus->OpenPort(m_commPort, m_testForInterface, m_useEventNotification, window);
}

void CQuell32Ctrl::SetUseEventNotification(bool on) {
    m_useEventNotification = on;
    if (!m_bus->IsOpen())
        return;
    const bool running = m_bus->ReaderRunning();
    if (on != running) {
        // The reader starts or stops only with the port, so it is reopened.
        m_bus->ClosePort();
        const uint16_t result = OpenPort();
        if (result != PORT_OK)
            Quell32Trace("<CQuell32Ctrl::SetUseEventNotification> reopening COM%d failed (0x%04X), "
                         "port closed",
                         m_commPort, result);
    } else if (!on) {
        m_bus->Purge();
    }
    m_bus->SetReadyForReceive(true);
}

// ---------------------------------------------------------------- events

void CQuell32Ctrl::PostTeleReceived() {
    // Reader thread: queue the notice; never wait for the GUI thread.
    std::lock_guard lock(m_siteMutex);
    if (m_site)
        m_site->Post(m_notice.Get(), Quell32NoticeTarget::kWmTeleReceived);
}

void CQuell32Ctrl::OnTeleNotice() {
    if (!m_bus->NoticeArrived() || !m_eventsAtOpen)
        return;
    ComPtr<IDispatch> sink = m_sink;
    if (sink)
        sink->Invoke(eventidTeleReceived, InvokeKind::Method, nullptr, 0, nullptr);
}

HRESULT CQuell32Ctrl::Advise(IDispatch* sink) noexcept {
    if (!sink)
        return E_POINTER;
    if (m_sink)
        return CONNECT_E_ADVISELIMIT;
    m_sink = ComPtr<IDispatch>(sink);
    return S_OK;
}

HRESULT CQuell32Ctrl::Unadvise() noexcept {
    m_sink.Reset();
    return S_OK;
}

HRESULT CQuell32Ctrl::SetSite(ISite* site) noexcept {
    std::lock_guard lock(m_siteMutex);
    m_site = ComPtr<ISite>(site);
    return S_OK;
}

// ---------------------------------------------------------------- persistence

HRESULT CQuell32Ctrl::InitNew() noexcept {
    m_useEventNotification = false;
    m_testForInterface = true;
    m_modified = false;
    return S_OK;
}

HRESULT CQuell32Ctrl::Load(IPropertyBag* bag) noexcept {
    if (!bag)
        return E_POINTER;
    try {
        auto readBool = [bag](const char* name, bool fallback) {
            Variant v = Variant::FromBool(fallback);
            return Succeeded(bag->Read(name, &v)) ? v.ToBool().value_or(fallback) : fallback;
        };
        m_useEventNotification = readBool("UseEventNotification", false);
        m_testForInterface = readBool("TestForInterface", true);
        m_modified = false;
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CQuell32Ctrl::Save(IPropertyBag* bag, bool clearDirty) noexcept {
    if (!bag)
        return E_POINTER;
    try {
        HRESULT hr = bag->Write("_Version", Variant::FromI4(kPropertyVersion));
        if (Succeeded(hr))
            hr = bag->Write("UseEventNotification", Variant::FromBool(m_useEventNotification));
        if (Succeeded(hr))
            hr = bag->Write("TestForInterface", Variant::FromBool(m_testForInterface));
        if (Succeeded(hr) && clearDirty)
            m_modified = false;
        return hr;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CQuell32Ctrl::IsDirty() noexcept {
    return m_modified ? S_OK : S_FALSE;
}

HRESULT CQuell32Ctrl::GetPages(Guid* pages, uint32_t capacity, uint32_t* count) noexcept {
    if (!count)
        return E_POINTER;
    *count = 1;
    if (pages && capacity >= 1)
        pages[0] = CLSID_Quell32PropPage;
    return S_OK;
}

} // namespace quell32
