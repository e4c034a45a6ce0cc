#pragma once
// The small variant that dispatch calls carry: just the kinds the bus
// control's interface uses. Reads coerce between BOOL and the integer kinds
// the way Automation does (TRUE is -1), and refuse what does not fit.

#include <cstdint>
#include <optional>
#include <vector>

namespace mox::com {

enum class VarType : uint16_t {
    Empty,
    Bool,
    I2,
    I4,
    Date,    // days since 1899-12-30, fraction = time of day
    ArrayI2, // one dimension, lower bound 0
};

class Variant {
public:
    Variant() = default;
    static Variant FromBool(bool value);
    static Variant FromI2(int16_t value);
    static Variant FromI4(int32_t value);
    static Variant FromDate(double value);
    static Variant FromArrayI2(std::vector<int16_t> values);

    VarType Type() const { return m_type; }
    bool IsEmpty() const { return m_type == VarType::Empty; }

    std::optional<bool> ToBool() const;
    std::optional<int16_t> ToI2() const; // nullopt when the value does not fit
    std::optional<int32_t> ToI4() const;
    std::optional<double> ToDate() const;
    // The elements, or nullptr when this is not an array.
    const std::vector<int16_t>* Array() const;

    friend bool operator==(const Variant& a, const Variant& b) = default;

private:
    VarType m_type = VarType::Empty;
    int32_t m_int = 0; // Bool (0 or -1), I2, I4
    double m_date = 0.0;
    std::vector<int16_t> m_array;
};

} // namespace mox::com
