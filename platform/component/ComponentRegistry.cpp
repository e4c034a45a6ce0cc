#include "ComponentRegistry.h"

#include "SettingsStore.h"

namespace mox::com {

namespace {

using mox::platform::SettingsStore;

std::string Key(const std::string& sub) {
    return std::string(kClassesKey) + "\\" + sub;
}
std::string ClassKey(const Guid& clsid) {
    return Key("CLSID\\" + clsid.ToString());
}
std::string TypeLibKey(const Guid& libid) {
    return Key("TypeLib\\" + libid.ToString());
}
std::string InterfaceKey(const Guid& iid) {
    return Key("Interface\\" + iid.ToString());
}
// A version names a key, too.
bool IsValidVersion(const std::string& version) {
    return !version.empty() && version.find_first_of("\\/") == std::string::npos;
}

// A ProgID becomes a key path; a backslash in it would open subkeys of an
// unrelated entry.
bool IsValidProgId(const std::string& progId) {
    return !progId.empty() && progId.find_first_of("\\/") == std::string::npos;
}

} // namespace

bool ComponentRegistry::RegisterClass(const ClassRegistration& reg) {
    if (!IsValidProgId(reg.progId) || reg.modulePath.empty())
        return false;
    auto& s = SettingsStore::Instance();
    const std::string clsid = reg.clsid.ToString();
    const std::string classKey = ClassKey(reg.clsid);
    // A ProgID that named another class before now names this one only.
    if (const auto old = ClassOfProgId(reg.progId); old && !(*old == reg.clsid))
        s.Remove(ClassKey(*old) + "\\ProgID", "");
    s.SetString(Key(reg.progId), "", reg.typeName);
    s.SetString(Key(reg.progId) + "\\CLSID", "", clsid);
    s.SetString(classKey, "", reg.typeName);
    s.SetString(classKey + "\\InprocServer32", "", reg.modulePath);
    s.SetString(classKey + "\\InprocServer32", "ThreadingModel", reg.threadingModel);
    s.SetString(classKey + "\\ProgID", "", reg.progId);
    if (reg.miscStatus)
        s.SetString(classKey + "\\MiscStatus", "", std::to_string(*reg.miscStatus));
    if (reg.typeLib)
        s.SetString(classKey + "\\TypeLib", "", reg.typeLib->ToString());
    if (!reg.version.empty())
        s.SetString(classKey + "\\Version", "", reg.version);
    if (!reg.toolboxBitmap.empty())
        s.SetString(classKey + "\\ToolboxBitmap32", "", reg.toolboxBitmap);
    s.Sync();
    return true;
}

void ComponentRegistry::UnregisterClass(const Guid& clsid) {
    auto& s = SettingsStore::Instance();
    if (const auto progId = ProgIdOfClass(clsid); progId && IsValidProgId(*progId)) {
        // Only when the ProgID still names this class.
        const auto named = ClassOfProgId(*progId);
        if (named && *named == clsid)
            s.Remove(Key(*progId), "");
    }
    s.Remove(ClassKey(clsid), "");
    s.Sync();
}

bool ComponentRegistry::RegisterTypeLib(const TypeLibRegistration& reg) {
    if (!IsValidVersion(reg.version) || reg.modulePath.empty())
        return false;
    auto& s = SettingsStore::Instance();
    const std::string libid = reg.libid.ToString();
    const std::string key = TypeLibKey(reg.libid) + "\\" + reg.version;
    s.SetString(key, "", reg.name);
    s.SetString(key + "\\0\\linux", "", reg.modulePath);
    s.SetString(key + "\\FLAGS", "", std::to_string(reg.flags));
    if (!reg.helpDir.empty())
        s.SetString(key + "\\HELPDIR", "", reg.helpDir);
    const std::string proxy = kDispatchProxyClsid.ToString();
    for (const auto& itf : reg.interfaces) {
        const std::string itfKey = InterfaceKey(itf.iid);
        s.SetString(itfKey, "", itf.name);
        s.SetString(itfKey + "\\ProxyStubClsid", "", proxy);
        s.SetString(itfKey + "\\ProxyStubClsid32", "", proxy);
        s.SetString(itfKey + "\\TypeLib", "", libid);
        s.SetString(itfKey + "\\TypeLib", "Version", reg.version);
    }
    s.Sync();
    return true;
}

void ComponentRegistry::UnregisterTypeLib(const Guid& libid, const std::string& version,
                                          const std::vector<Guid>& interfaces) {
    auto& s = SettingsStore::Instance();
    if (IsValidVersion(version))
        s.Remove(TypeLibKey(libid) + "\\" + version, "");
    // The library key itself holds no values, so nothing of it is left.
    for (const Guid& iid : interfaces) {
        const std::string itfKey = InterfaceKey(iid);
        if (s.GetString(itfKey + "\\TypeLib", "") == libid.ToString())
            s.Remove(itfKey, "");
    }
    s.Sync();
}

void ComponentRegistry::Refresh() {
    SettingsStore::Instance().Sync();
}

std::optional<Guid> ComponentRegistry::ClassOfProgId(const std::string& progId) {
    if (!IsValidProgId(progId))
        return std::nullopt;
    Refresh();
    const auto text = SettingsStore::Instance().GetString(Key(progId) + "\\CLSID", "");
    return text ? Guid::FromString(*text) : std::nullopt;
}

std::optional<std::string> ComponentRegistry::ModuleOfClass(const Guid& clsid) {
    Refresh();
    auto path = SettingsStore::Instance().GetString(ClassKey(clsid) + "\\InprocServer32", "");
    if (path && path->empty())
        return std::nullopt;
    return path;
}

std::optional<std::string> ComponentRegistry::ProgIdOfClass(const Guid& clsid) {
    Refresh();
    return SettingsStore::Instance().GetString(ClassKey(clsid) + "\\ProgID", "");
}

std::optional<std::string> ComponentRegistry::TypeLibPath(const Guid& libid,
                                                          const std::string& version) {
    Refresh();
    return SettingsStore::Instance().GetString(TypeLibKey(libid) + "\\" + version + "\\0\\linux",
                                               "");
}

} // namespace mox::com
