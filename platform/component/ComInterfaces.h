#pragma once
// The interfaces a host and an in-process component module share: abstract
// classes whose layout both sides agree on because both are built by the
// same compiler. Every method is noexcept: a module catches its own
// exceptions and reports a result code instead, so none crosses the module
// boundary.
//
// Reference counting: an object starts with one reference for whoever
// created it; QueryInterface and AddRef add one, Release drops one and the
// object deletes itself at zero. Counts are atomic, so any thread may hold
// and drop references.

#include "ComResult.h"
#include "Guid.h"
#include "Variant.h"

#include <cstdint>

namespace mox::com {

using DispId = int32_t;

// Standard dispatch id of the about box.
inline constexpr DispId DISPID_ABOUTBOX = -552;

struct IUnknown {
    static constexpr Guid kIid{
        0xd0ca64c2, 0x0030, 0x429e, {0xb0, 0x51, 0x40, 0xdc, 0x7a, 0xfa, 0xa6, 0xde}};
    virtual HRESULT QueryInterface(const Guid& iid, void** out) noexcept = 0;
    virtual uint32_t AddRef() noexcept = 0;
    virtual uint32_t Release() noexcept = 0;

protected:
    ~IUnknown() = default;
};

// Creates instances of one class; handed out by DllGetClassObject.
struct IClassFactory : IUnknown {
    static constexpr Guid kIid{
        0x5a91369b, 0x1770, 0x4100, {0xaa, 0xda, 0x0d, 0xed, 0x44, 0x78, 0x89, 0xa6}};
    // outer must be null: aggregation is not offered.
    virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) noexcept = 0;
    // Keeps the module loaded while locked.
    virtual HRESULT LockServer(bool lock) noexcept = 0;

protected:
    ~IClassFactory() = default;
};

enum class InvokeKind : uint8_t { Method, PropertyGet, PropertyPut };

// Late-bound calls by dispatch id. Arguments stand in their natural order
// (first parameter first); a property put passes its index arguments, if
// any, followed by the new value. result may be null when the caller does
// not want one.
struct IDispatch : IUnknown {
    static constexpr Guid kIid{
        0xd916eb80, 0x598a, 0x4c51, {0x8a, 0xff, 0xd5, 0x58, 0x12, 0xb0, 0x9e, 0x8a}};
    virtual HRESULT Invoke(DispId id, InvokeKind kind, const Variant* args, uint32_t argCount,
                           Variant* result) noexcept = 0;

protected:
    ~IDispatch() = default;
};

// The one event sink of a control: events are dispatch calls on the sink.
struct IEventSource : IUnknown {
    static constexpr Guid kIid{
        0x5993eb24, 0x95a9, 0x40dd, {0xb4, 0x19, 0xc7, 0x85, 0x9a, 0x37, 0x99, 0x50}};
    // CONNECT_E_ADVISELIMIT while another sink is connected.
    virtual HRESULT Advise(IDispatch* sink) noexcept = 0;
    virtual HRESULT Unadvise() noexcept = 0;

protected:
    ~IEventSource() = default;
};

// Receives calls a site posted.
struct IPostTarget : IUnknown {
    static constexpr Guid kIid{
        0x61759439, 0xc983, 0x4d07, {0x88, 0xd1, 0x24, 0x61, 0xcb, 0xa4, 0x99, 0xd3}};
    virtual void OnPosted(uint32_t message) noexcept = 0;

protected:
    ~IPostTarget() = default;
};

// What a control has in place of a window: the host's site. Post may be
// called from any thread; the site holds a reference to the target until
// the call has run on the GUI thread, so the target cannot vanish under it.
struct ISite : IUnknown {
    static constexpr Guid kIid{
        0x83a62545, 0x356c, 0x4d9f, {0xa9, 0x4e, 0x33, 0x80, 0xca, 0x34, 0x8c, 0x77}};
    virtual HRESULT Post(IPostTarget* target, uint32_t message) noexcept = 0;

protected:
    ~ISite() = default;
};

struct IObjectWithSite : IUnknown {
    static constexpr Guid kIid{
        0x8db93ad3, 0xd5e3, 0x43f3, {0x89, 0x7c, 0x19, 0xa7, 0x1b, 0x71, 0x70, 0x8a}};
    // null takes the site away.
    virtual HRESULT SetSite(ISite* site) noexcept = 0;

protected:
    ~IObjectWithSite() = default;
};

// Named values a container keeps for a control.
struct IPropertyBag : IUnknown {
    static constexpr Guid kIid{
        0x94a8e7fa, 0xdc63, 0x4ef5, {0x91, 0x4f, 0xdc, 0xc6, 0xd1, 0x97, 0x51, 0x26}};
    // value's type on entry says which kind is wanted. E_INVALIDARG when the
    // bag holds no such value.
    virtual HRESULT Read(const char* name, Variant* value) noexcept = 0;
    virtual HRESULT Write(const char* name, const Variant& value) noexcept = 0;

protected:
    ~IPropertyBag() = default;
};

// Persisted properties: saved into and restored from a container's bag.
struct IPersistProperties : IUnknown {
    static constexpr Guid kIid{
        0x1dac0975, 0x6138, 0x4d7a, {0xa3, 0xe4, 0xe8, 0x5a, 0x23, 0x0d, 0x63, 0x0f}};
    // The defaults, as for a new instance.
    virtual HRESULT InitNew() noexcept = 0;
    // A value missing from the bag takes its default.
    virtual HRESULT Load(IPropertyBag* bag) noexcept = 0;
    virtual HRESULT Save(IPropertyBag* bag, bool clearDirty) noexcept = 0;
    // S_OK when a property changed since the last load or save, else S_FALSE.
    virtual HRESULT IsDirty() noexcept = 0;

protected:
    ~IPersistProperties() = default;
};

struct ISpecifyPropertyPages : IUnknown {
    static constexpr Guid kIid{
        0x6f61199b, 0xf77b, 0x4ef7, {0xa7, 0x49, 0xb8, 0x26, 0x04, 0x2a, 0x60, 0x30}};
    // Writes up to capacity class ids of property pages; count gets how many
    // the control has.
    virtual HRESULT GetPages(Guid* pages, uint32_t capacity, uint32_t* count) noexcept = 0;

protected:
    ~ISpecifyPropertyPages() = default;
};

struct IPropertyPage : IUnknown {
    static constexpr Guid kIid{
        0xa36bc789, 0x48dc, 0x489c, {0xa0, 0x8a, 0xad, 0x12, 0x82, 0xf6, 0xb1, 0xfe}};
    // Shows the page as a modal dialog for the given objects.
    virtual HRESULT Show(IUnknown* const* objects, uint32_t count) noexcept = 0;

protected:
    ~IPropertyPage() = default;
};

} // namespace mox::com
