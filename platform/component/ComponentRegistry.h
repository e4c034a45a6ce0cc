#pragma once
// Registration of component classes in the settings, laid out as the
// Windows registry holds COM classes under "Software\Classes", so that a
// registration reads key by key as an installer knows it from regedit:
//   <ProgID>                         (default) type name
//   <ProgID>\CLSID                   (default) {class id}
//   CLSID\{class id}                 (default) type name
//   CLSID\{class id}\InprocServer32  (default) module path, ThreadingModel
//   CLSID\{class id}\ProgID          (default) ProgID
//   CLSID\{class id}\...             misc status, type library, version,
//                                    toolbox bitmap when given
//   TypeLib\{library id}\<version>   (default) library name, 0\linux = path
// A ProgID leads to a class id, the class id to the module that serves it.

#include "Guid.h"

#include <cstdint>
#include <optional>
#include <string>

namespace mox::com {

inline constexpr char kClassesKey[] = "Software\\Classes";

struct ClassRegistration {
    Guid clsid;
    std::string progId;
    std::string typeName;
    std::string modulePath;
    std::string threadingModel = "Apartment";
    std::optional<uint32_t> miscStatus;
    std::optional<Guid> typeLib;
    std::string version;       // "1.3"; empty: not written
    std::string toolboxBitmap; // "<module path>, <resource>"; empty: not written
};

struct TypeLibRegistration {
    Guid libid;
    std::string version; // "1.3"
    std::string name;
    std::string modulePath;
};

class ComponentRegistry {
public:
    // False when a required field is empty; nothing is written then.
    static bool RegisterClass(const ClassRegistration& reg);
    // Removes the class id and the ProgID that names it. A class that is
    // not registered is not an error.
    static void UnregisterClass(const Guid& clsid);
    static bool RegisterTypeLib(const TypeLibRegistration& reg);
    static void UnregisterTypeLib(const Guid& libid, const std::string& version);

    // Writes pending changes and reads what another process (the
    // registration command) changed meanwhile. The lookups below do it
    // first, so they always see the current registration.
    static void Refresh();
    static std::optional<Guid> ClassOfProgId(const std::string& progId);
    static std::optional<std::string> ModuleOfClass(const Guid& clsid);
    static std::optional<std::string> ProgIdOfClass(const Guid& clsid);
    static std::optional<std::string> TypeLibPath(const Guid& libid, const std::string& version);
};

} // namespace mox::com
