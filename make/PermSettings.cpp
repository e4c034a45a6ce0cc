#include "PermSettings.h"

#include "DbgOut.h"
#include "SettingsStore.h"

#include <cstdint>
#include <string>

using mox::platform::SettingsStore;

namespace {

int ReadInt(const char* key, const char* name, int dflt) {
    const auto v = SettingsStore::Instance().GetDword(key, name);
    // The registry word is unsigned; the program handles it as int.
    return v ? static_cast<int>(static_cast<int32_t>(*v)) : dflt;
}

void WriteInt(const char* key, const char* name, int value) {
    SettingsStore::Instance().SetDword(key, name, static_cast<uint32_t>(value));
}

std::string ReadString(const char* key, const std::string& name) {
    return SettingsStore::Instance().GetString(key, name).value_or(std::string());
}

void WriteString(const char* key, const std::string& name, const std::string& value) {
    SettingsStore::Instance().SetString(key, name, value);
}

const char* LandName(int land) {
    switch (land) {
    case 0:
        return "eLV_Undefined";
    case 1:
        return "eLV_Deutschland";
    case 2:
        return "eLV_Niederlande";
    case 3:
        return "eLV_Daenemark";
    case 4:
        return "eLV_Frankreich";
    case 5:
        return "eLV_Italien";
    case 6:
        return "eLV_Oesterreich";
    case 7:
        return "eLV_Schweiz";
    case 8:
        return "eLV_Belgien";
    default:
        return nullptr;
    }
}

const char* SpracheName(int sprache) {
    switch (sprache) {
    case 0:
        return "eSpracheUndefined";
    case 1:
        return "eSpracheDeutsch";
    case 2:
        return "eSpracheEnglisch";
    case 3:
        return "eSpracheFranzoesisch";
    case 4:
        return "eSpracheItalienisch";
    case 5:
        return "eSpracheDaenisch";
    case 6:
        return "eSpracheHollaendisch";
    default:
        return nullptr;
    }
}

// Traces "<what>( <enumerator> )", or the number for a stored value outside
// the enumeration.
void TraceEnum(const char* what, const char* name, int value) {
    if (name)
        DbgOut(eDbgDoc, "%s( %s )", what, name);
    else
        DbgOut(eDbgDoc, "%s( %d )", what, value);
}

} // namespace

bool IsAssiMode() {
    return ReadInt(kPermKey, kPermAssist, kPermAssistDefault) != 0;
}

void SetAssiMode(bool on) {
    WriteInt(kPermKey, kPermAssist, on ? 1 : 0);
}

int GetPermLand() {
    const int land = ReadInt(kPermKey, kPermLand, kPermLandDefault);
    TraceEnum("GetPermLand", LandName(land), land);
    return land;
}

void SetPermLand(int land) {
    WriteInt(kPermKey, kPermLand, land);
}

bool IsPermSprache(int sprache) {
    return sprache >= 1 && sprache <= 6;
}

int GetPermSprache() {
    int sprache = ReadInt(kPermKey, kPermSprache, kPermSpracheDefault);
    // A stored language without a file (a settings file edited, or written
    // by an older program) would leave every text blank and stop every
    // start: it starts in German instead.
    if (!IsPermSprache(sprache))
        sprache = kPermSpracheDefault;
    TraceEnum("GetPermSprache", SpracheName(sprache), sprache);
    return sprache;
}

void SetPermSprache(int sprache) {
    TraceEnum("SetPermSprache", SpracheName(sprache), sprache);
    WriteInt(kPermKey, kPermSprache, sprache);
}

int GetComPort() {
    return ReadInt(kPermKeyComport, kPermPort, kPermComPortDefault);
}

void SetComPort(int port) {
    if (port >= ePortPriCom1 && port <= ePortPriCom4)
        DbgOut(eDbgDoc, "<SetComPort> PRI_COM%d (%d)", port - ePortPriCom1 + 1, port);
    else if (port >= ePortCom1 && port <= ePortCom4)
        DbgOut(eDbgDoc, "<SetComPort> COM%d (%d)", port - ePortCom1 + 1, port);
    else if (port == ePortCapi)
        DbgOut(eDbgDoc, "<SetComPort> CAPI (%d)", port);
    else
        DbgOut(eDbgDoc, "<SetComPort> UNKNOWN(%d)", port);
    WriteInt(kPermKeyComport, kPermPort, port);
}

bool GetPermMSNService(std::string& dest) {
    const auto v = SettingsStore::Instance().GetString(kPermKeyMsn, kPermMsnService);
    if (!v)
        return false;
    dest = *v;
    return true;
}

void SetPermMSNService(const std::string& number) {
    WriteString(kPermKeyMsn, kPermMsnService, number);
}

void GetPermMSNClient(int index, std::string& dest) {
    if (index < 0 || index >= kPermMsnClients) {
        dest.clear();
        return;
    }
    dest = ReadString(kPermKeyMsn, "client" + std::to_string(index));
}

void SetPermMSNClient(int index, const std::string& number) {
    if (index < 0 || index >= kPermMsnClients)
        return;
    WriteString(kPermKeyMsn, "client" + std::to_string(index), number);
}

std::string GetPermRecentFile(int slot) {
    if (slot < 0 || slot >= kPermRecentFiles)
        return {};
    return ReadString(kPermKeyFiles, "file " + std::to_string(slot + 1));
}

void SetPermRecentFile(int slot, const std::string& name) {
    if (slot < 0 || slot >= kPermRecentFiles)
        return;
    WriteString(kPermKeyFiles, "file " + std::to_string(slot + 1), name);
}

std::string GetComDevice(int nCom) {
    if (nCom < 1 || nCom > kPermComDevices)
        return {};
    const auto v =
        SettingsStore::Instance().GetString(kPermKeyComport, "COM" + std::to_string(nCom));
    // An empty path would make the port layer open nothing and report a
    // puzzling error; the standard device is the better guess.
    if (v && !v->empty())
        return *v;
    return "/dev/ttyS" + std::to_string(nCom - 1);
}

void SetComDevice(int nCom, const std::string& path) {
    if (nCom < 1 || nCom > kPermComDevices)
        return;
    WriteString(kPermKeyComport, "COM" + std::to_string(nCom), path);
}

std::string GetCapiLibrary() {
    const auto v = SettingsStore::Instance().GetString(kPermKeyCapi, kPermCapiLibrary);
    return v && !v->empty() ? *v : std::string(kPermCapiLibraryDefault);
}

void SetCapiLibrary(const std::string& name) {
    WriteString(kPermKeyCapi, kPermCapiLibrary, name);
}

std::string GetPermDbgFile() {
    return ReadString(kPermKey, kPermDbgFile);
}

void SetPermDbgFile(const std::string& path) {
    WriteString(kPermKey, kPermDbgFile, path);
}
