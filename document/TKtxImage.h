#pragma once
// The image a ".ktx" document file (and "mox.def") holds: the whole tagged
// configuration from offset 0, written with the version texts, and every
// byte behind it 0xFF, in a buffer of exactly kSize bytes. The document and
// the build-time tool that makes "mox.def" both build it here, so the two
// can never differ.

#include <cstddef>
#include <cstdint>

#include "MoxDaten.h"

class TKtxImage {
public:
    static constexpr std::size_t kSize = 32768;

    // Attaches image (kSize bytes) as the record's stream buffer, clears it to
    // 0xFF, sets IO_Version and writes every section. Returns the number of
    // bytes of tagged data written.
    static std::uint32_t Build(MoxDaten* pData, std::uint8_t* image);
};
