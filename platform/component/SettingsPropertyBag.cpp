#include "SettingsPropertyBag.h"

#include "SettingsStore.h"

#include <cstdio>
#include <cstdlib>

namespace mox::com {

using mox::platform::SettingsStore;

ComPtr<IPropertyBag> SettingsPropertyBag::Create(const std::string& key) {
    return ComPtr<IPropertyBag>::Attach(new SettingsPropertyBag(key));
}

HRESULT SettingsPropertyBag::QueryInterface(const Guid& iid, void** out) noexcept {
    if (!out)
        return E_POINTER;
    if (iid == IUnknown::kIid || iid == IPropertyBag::kIid) {
        *out = static_cast<IPropertyBag*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

uint32_t SettingsPropertyBag::Release() noexcept {
    const uint32_t left = m_refs.Drop();
    if (left == 0)
        delete this;
    return left;
}

HRESULT SettingsPropertyBag::Read(const char* name, Variant* value) noexcept {
    if (!name || !value)
        return E_POINTER;
    try {
        auto& s = SettingsStore::Instance();
        switch (value->Type()) {
        case VarType::Bool:
        case VarType::I2:
        case VarType::I4: {
            const auto word = s.GetDword(m_key, name);
            if (!word)
                return E_INVALIDARG;
            const auto v = static_cast<int32_t>(*word);
            if (value->Type() == VarType::Bool) {
                *value = Variant::FromBool(v != 0);
            } else if (value->Type() == VarType::I4) {
                *value = Variant::FromI4(v);
            } else {
                const auto i2 = Variant::FromI4(v).ToI2();
                if (!i2)
                    return DISP_E_TYPEMISMATCH;
                *value = Variant::FromI2(*i2);
            }
            return S_OK;
        }
        case VarType::Date: {
            const auto text = s.GetString(m_key, name);
            if (!text)
                return E_INVALIDARG;
            char* end = nullptr;
            const double d = std::strtod(text->c_str(), &end);
            if (end == text->c_str())
                return DISP_E_TYPEMISMATCH;
            *value = Variant::FromDate(d);
            return S_OK;
        }
        default:
            return DISP_E_TYPEMISMATCH;
        }
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT SettingsPropertyBag::Write(const char* name, const Variant& value) noexcept {
    if (!name)
        return E_POINTER;
    try {
        auto& s = SettingsStore::Instance();
        switch (value.Type()) {
        case VarType::Bool:
            s.SetDword(m_key, name, *value.ToBool() ? 1u : 0u);
            return S_OK;
        case VarType::I2:
        case VarType::I4:
            s.SetDword(m_key, name, static_cast<uint32_t>(*value.ToI4()));
            return S_OK;
        case VarType::Date: {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%.10f", *value.ToDate());
            s.SetString(m_key, name, buf);
            return S_OK;
        }
        default:
            return DISP_E_TYPEMISMATCH;
        }
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace mox::com
