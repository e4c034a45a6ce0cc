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
//   TypeLib\{library id}\<version>   (default) library name (its help
//                                    string), 0\linux = path, FLAGS = flags,
//                                    HELPDIR = folder of the help file
//   Interface\{interface id}         (default) interface name,
//                                    ProxyStubClsid and ProxyStubClsid32 =
//                                    the dispatch proxy, TypeLib = library
//                                    id with its Version
// A ProgID leads to a class id, the class id to the module that serves it.

#include "Guid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// A dispatch interface the library describes: called through IDispatch, so
// the platform's dispatch proxy marshals it.
struct InterfaceRegistration {
    Guid iid;
    std::string name;
};

// Class id of the platform's dispatch proxy (PSDispatch).
inline constexpr Guid kDispatchProxyClsid{
    0x00020420, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct TypeLibRegistration {
    Guid libid;
    std::string version; // "1.3"
    std::string name;
    std::string modulePath;
    std::string helpDir; // empty: not written
    uint32_t flags = 0;
    std::vector<InterfaceRegistration> interfaces;
};

class ComponentRegistry {
public:
    // False when a required field is empty; nothing is written then.
    static bool RegisterClass(const ClassRegistration& reg);
    // Removes the class id and the ProgID that names it. A class that is
    // not registered is not an error.
    static void UnregisterClass(const Guid& clsid);
    // False when the version is empty or holds a separator, or the path is
    // empty; nothing is written then.
    static bool RegisterTypeLib(const TypeLibRegistration& reg);
    // Removes the library's version and those of the given interfaces that
    // still name this library (another library may have taken one over).
    static void UnregisterTypeLib(const Guid& libid, const std::string& version,
                                  const std::vector<Guid>& interfaces = {});

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
