#pragma once
// The program's own version resource: product name, file version and the
// file flags of the kind of build. The build writes them (see
// MoxVersion.h.in); the about box reads them here.

#include <cstdint>
#include <string>

// File flags, as a version resource carries them.
enum eVersionFileFlags : std::uint32_t {
    eVerDebug = 0x01,
    eVerPreRelease = 0x02,
    eVerPatched = 0x04,
    eVerPrivateBuild = 0x08,
    eVerInfoInferred = 0x10,
    eVerSpecialBuild = 0x20,
};

struct TVersionInfo {
    bool present = false; // a version resource was found
    std::string productName;
    std::string fileVersion; // "1.0.0.697"
    std::uint32_t fileFlags = 0;

    static TVersionInfo OfProgram();
};
