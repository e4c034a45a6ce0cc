#pragma once
// The program's own settings, kept under the key and value names the
// registry used. Every accessor reads or writes the store directly; nothing
// is cached, so two parts of the program never see different values.
// A value that is not stored yields its default. Writers store whatever they
// are handed, also values outside the listed ranges; readers pass stored
// values on, except the language: every text hangs on it, so one that names
// none of the six reads as German.

#include <string>

// Key and subkeys.
inline constexpr char kPermKey[] = "Software\\Kestrin\\Halvox ISDN";
inline constexpr char kPermKeyTrace[] = "Software\\Kestrin\\Halvox ISDN\\trace";
inline constexpr char kPermKeyComport[] = "Software\\Kestrin\\Halvox ISDN\\Comport";
inline constexpr char kPermKeyMsn[] = "Software\\Kestrin\\Halvox ISDN\\msn";
inline constexpr char kPermKeyFiles[] = "Software\\Kestrin\\Halvox ISDN\\files";
inline constexpr char kPermKeyCapi[] = "Software\\Kestrin\\Halvox ISDN\\capi";

// Value names.
inline constexpr char kPermAssist[] = "assist";
inline constexpr char kPermLand[] = "ld";
inline constexpr char kPermSprache[] = "spr";
inline constexpr char kPermDbgOut[] = "dbgout";
inline constexpr char kPermDbgFile[] = "dbgfile"; // trace file; empty or missing: stderr
inline constexpr char kPermPort[] = "Port";
inline constexpr char kPermMsnService[] = "service";
inline constexpr char kPermCapiLibrary[] = "library";

// Defaults of a fresh store.
inline constexpr int kPermAssistDefault = 1;
inline constexpr int kPermLandDefault = 1;    // eLV_Deutschland
inline constexpr int kPermSpracheDefault = 1; // eSpracheDeutsch
inline constexpr int kPermComPortDefault = 0; // no transfer medium
inline constexpr char kPermCapiLibraryDefault[] = "libcapi20.so.3";

// Counts of the indexed values.
inline constexpr int kPermMsnClients = 10; // "client0".."client9"
inline constexpr int kPermRecentFiles = 6; // "file 1".."file 6"
inline constexpr int kPermComDevices = 16; // "COM1".."COM16"

// Port setting of GetComPort.
enum ePortSetting : int {
    ePortNone = 0,
    ePortPriCom1 = 1, // bus interface on COM1 .. COM4
    ePortPriCom4 = 4,
    ePortCom1 = 5, // direct serial link on COM1 .. COM4
    ePortCom4 = 8,
    ePortCapi = 9, // ISDN
};

// Start with the setup wizard.
bool IsAssiMode();
void SetAssiMode(bool on);

// Country (eLand of the data library).
int GetPermLand();
void SetPermLand(int land);

// Language (eSprache of the data library): 1..6 have language files.
bool IsPermSprache(int sprache);
int GetPermSprache();
void SetPermSprache(int sprache);

// Transfer medium (ePortSetting).
int GetComPort();
void SetComPort(int port);

// Own ISDN number. dest is left as it is when no number is stored; returns
// whether one was.
bool GetPermMSNService(std::string& dest);
void SetPermMSNService(const std::string& number);

// Remembered box numbers, index 0..9. Another index reads as empty and
// writes nothing.
void GetPermMSNClient(int index, std::string& dest);
void SetPermMSNClient(int index, const std::string& number);

// Recent documents, slot 0..5 in display order ("file 1".."file 6").
// Another slot reads as empty and writes nothing.
std::string GetPermRecentFile(int slot);
void SetPermRecentFile(int slot, const std::string& name);

// Device behind COM1..COM16 (nCom 1..16): "/dev/ttyS0".. unless set, e.g. to
// "/dev/ttyUSB0" or a pseudo-terminal. Another number reads as empty and
// writes nothing.
std::string GetComDevice(int nCom);
void SetComDevice(int nCom, const std::string& path);

// Name or path of the CAPI 2.0 library that the ISDN link loads.
std::string GetCapiLibrary();
void SetCapiLibrary(const std::string& name);

// Trace file; empty for stderr.
std::string GetPermDbgFile();
void SetPermDbgFile(const std::string& path);
