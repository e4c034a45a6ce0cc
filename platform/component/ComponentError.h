#pragma once
// Thrown by the host side of the component layer when a class cannot be
// created or a module cannot be used. Never thrown inside a module or across
// its boundary.

#include "ComResult.h"

#include <stdexcept>
#include <string>

namespace mox::com {

class ComponentError : public std::runtime_error {
public:
    ComponentError(HRESULT code, const std::string& what)
        : std::runtime_error(what), m_code(code) {}
    HRESULT Code() const { return m_code; }

private:
    HRESULT m_code;
};

} // namespace mox::com
