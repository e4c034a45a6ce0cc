#pragma once
// A container's property bag over one settings key: how the host keeps a
// control's persisted properties between runs. BOOL and integers are stored
// as 32-bit words, a date as its decimal text; arrays are not kept.

#include "ComInterfaces.h"
#include "ComPtr.h"
#include "ModuleState.h"

#include <string>

namespace mox::com {

class SettingsPropertyBag final : public IPropertyBag {
public:
    static ComPtr<IPropertyBag> Create(const std::string& key);

    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override;
    uint32_t AddRef() noexcept override { return m_refs.Add(); }
    uint32_t Release() noexcept override;
    HRESULT Read(const char* name, Variant* value) noexcept override;
    HRESULT Write(const char* name, const Variant& value) noexcept override;

private:
    explicit SettingsPropertyBag(std::string key) : m_key(std::move(key)) {}
    ~SettingsPropertyBag() = default;

    RefCount m_refs;
    std::string m_key;
};

} // namespace mox::com
