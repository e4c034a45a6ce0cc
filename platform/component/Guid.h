#pragma once
// Class, interface and library ids: 128-bit values written in the usual
// registry form "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".

#include <cstdint>
#include <optional>
#include <string>

namespace mox::com {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};

    friend constexpr bool operator==(const Guid& a, const Guid& b) {
        if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3)
            return false;
        for (int i = 0; i < 8; ++i)
            if (a.data4[i] != b.data4[i])
                return false;
        return true;
    }

    // Upper-case braced form, as the registry shows it.
    std::string ToString() const;
    // Accepts the braced form in either case; nullopt for anything else.
    static std::optional<Guid> FromString(const std::string& text);
};

} // namespace mox::com
