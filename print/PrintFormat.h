#pragma once
// Formatting shared by the report forms.

#include "MoxQString.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// A text of the document through a getter that fills a buffer; empty when
// the getter reports it as not set. The buffer is larger than any text the
// record holds and the getters cut to the size given.
template <class Getter> QString DocText(Getter getter) {
    char buffer[256] = {};
    if (!getter(buffer, sizeof buffer))
        return {};
    buffer[sizeof buffer - 1] = '\0';
    return MoxToQString(buffer);
}

// The subscriber index that stands for "none".
inline constexpr std::uint16_t kTlnNone = 0xFFFF;
