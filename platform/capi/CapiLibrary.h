#pragma once
// The ISDN controller's CAPI 2.0 library, loaded by name at run time. On
// Linux that is libcapi20 with its capi20_* functions; the program never
// links it, so it starts and works without ISDN (every ISDN operation then
// fails cleanly). Tests name a fake library of their own instead.
//
// Differences from the 32-bit Windows binding the rest of the program was
// laid out for:
// - register has no message-buffer-size argument: the library sizes its
//   receive buffers itself;
// - wait-for-message takes a time-out, so a receive loop can notice a stop
//   request without the application being released under it;
// - a message fetched by get-message lives in the library's buffer and stays
//   valid only until the next get-message of the application (the data of a
//   DATA_B3_IND until its DATA_B3_RESP): callers copy what they keep;
// - data pointers in DATA_B3 messages are 64 bits wide: the 32-bit Data field
//   is unused and a 64-bit Data64 field after Flags carries the pointer
//   (message length 30 instead of 22).
//
// Thread rule: Load and Unload belong to the owner's thread and must not
// overlap any call through the entry points; the entry points themselves may
// be called from any thread, as the library allows.

#include <string>
#include <sys/time.h>

namespace mox::platform {

// The library the program loads unless the settings name another one
// (GetCapiLibrary of the program's settings).
inline constexpr const char* kDefaultCapiLibrary = "libcapi20.so.3";

// Sizes of the out-buffers of the information calls.
inline constexpr unsigned kCapiManufacturerLen = 64;
inline constexpr unsigned kCapiVersionLen = 16; // four 32-bit numbers
inline constexpr unsigned kCapiSerialLen = 8;
inline constexpr unsigned kCapiProfileLen = 64;

// Entry-point types as the CAPI 2.0 library for Linux exports them.
using CapiRegisterFn = unsigned (*)(unsigned maxLogicalConnection, unsigned maxBDataBlocks,
                                    unsigned maxBDataLen, unsigned* applId);
using CapiReleaseFn = unsigned (*)(unsigned applId);
using CapiPutMessageFn = unsigned (*)(unsigned applId, unsigned char* msg);
using CapiGetMessageFn = unsigned (*)(unsigned applId, unsigned char** buf);
using CapiWaitForMessageFn = unsigned (*)(unsigned applId, struct timeval* timeOut);
using CapiGetManufacturerFn = unsigned char* (*)(unsigned ctrl, unsigned char* buf);
using CapiGetVersionFn = unsigned char* (*)(unsigned ctrl, unsigned char* buf);
using CapiGetSerialNumberFn = unsigned char* (*)(unsigned ctrl, unsigned char* buf);
using CapiGetProfileFn = unsigned (*)(unsigned ctrl, unsigned char* buf);
using CapiIsInstalledFn = unsigned (*)();

class CapiLibrary {
public:
    CapiLibrary() = default;
    ~CapiLibrary();

    CapiLibrary(const CapiLibrary&) = delete;
    CapiLibrary& operator=(const CapiLibrary&) = delete;

    // Loads the library and looks its entry points up. The seven the program
    // calls must all be there; serial number, profile and is-installed may be
    // missing (their pointers stay null). On failure nothing stays loaded and
    // *error (when given) says why.
    bool Load(const std::string& name, std::string* error = nullptr);
    void Unload();
    bool IsLoaded() const { return m_hLib != nullptr; }
    const std::string& GetName() const { return m_name; }

    // Valid while loaded; null otherwise.
    CapiRegisterFn Register = nullptr;
    CapiReleaseFn Release = nullptr;
    CapiPutMessageFn PutMessage = nullptr;
    CapiGetMessageFn GetMessage = nullptr;
    CapiWaitForMessageFn WaitForMessage = nullptr;
    CapiGetManufacturerFn GetManufacturer = nullptr;
    CapiGetVersionFn GetVersion = nullptr;
    CapiGetSerialNumberFn GetSerialNumber = nullptr;
    CapiGetProfileFn GetProfile = nullptr;
    CapiIsInstalledFn IsInstalled = nullptr;

private:
    void ClearEntryPoints();

    void* m_hLib = nullptr;
    std::string m_name;
};

} // namespace mox::platform
