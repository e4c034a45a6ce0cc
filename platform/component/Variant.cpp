#include "Variant.h"

#include <limits>

namespace mox::com {

Variant Variant::FromBool(bool value) {
    Variant v;
    v.m_type = VarType::Bool;
    v.m_int = value ? -1 : 0;
    return v;
}

Variant Variant::FromI2(int16_t value) {
    Variant v;
    v.m_type = VarType::I2;
    v.m_int = value;
    return v;
}

Variant Variant::FromI4(int32_t value) {
    Variant v;
    v.m_type = VarType::I4;
    v.m_int = value;
    return v;
}

Variant Variant::FromDate(double value) {
    Variant v;
    v.m_type = VarType::Date;
    v.m_date = value;
    return v;
}

Variant Variant::FromArrayI2(std::vector<int16_t> values) {
    Variant v;
    v.m_type = VarType::ArrayI2;
    v.m_array = std::move(values);
    return v;
}

std::optional<bool> Variant::ToBool() const {
    switch (m_type) {
    case VarType::Bool:
    case VarType::I2:
    case VarType::I4:
        return m_int != 0;
    default:
        return std::nullopt;
    }
}

std::optional<int16_t> Variant::ToI2() const {
    const auto v = ToI4();
    if (!v || *v < std::numeric_limits<int16_t>::min() || *v > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(*v);
}

std::optional<int32_t> Variant::ToI4() const {
    switch (m_type) {
    case VarType::Bool:
    case VarType::I2:
    case VarType::I4:
        return m_int;
    default:
        return std::nullopt;
    }
}

std::optional<double> Variant::ToDate() const {
    if (m_type != VarType::Date)
        return std::nullopt;
    return m_date;
}

const std::vector<int16_t>* Variant::Array() const {
    return m_type == VarType::ArrayI2 ? &m_array : nullptr;
}

} // namespace mox::com
