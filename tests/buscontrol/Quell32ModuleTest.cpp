// The bus control module as a file: the version and type library its file
// carries, as read without loading it and as the registration command
// prints them, and the type library's entries that its registration writes
// and its unregistration removes.

#include "ComponentRegistry.h"
#include "ModuleResources.h"
#include "PerProcessSettingsFile.h"
#include "Quell32Ids.h"
#include "Quell32Registration.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace mox::com;
using namespace quell32;

namespace {

// What a program writes on its standard output; its exit code in *rc.
std::string OutputOf(const std::string& command, int* rc) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return out;
    char buf[256];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int status = ::pclose(p);
    *rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

TEST(Quell32Module, FileCarriesItsVersionAndTypeLibrary) {
    std::string error;
    const auto r = ReadModuleResources(MOX_QUELL32, &error);
    ASSERT_TRUE(r) << error;
    EXPECT_EQ(r->FileVersionText(), "1.3.1.0");
    EXPECT_EQ(r->fileDescription, "Quell32 ActiveX-Steuerelement-Modul");
    EXPECT_EQ(r->productName, "Quell32 ActiveX Control Module");
    const TypeLibInfo& lib = r->typeLib;
    EXPECT_EQ(lib.name, "QUELL32Lib");
    EXPECT_EQ(lib.libid, LIBID_QUELL32Lib);
    EXPECT_EQ(lib.Version(), "1.3");
    EXPECT_EQ(lib.helpString, "Quell32 ActiveX-Steuerelement-Modul");
    EXPECT_EQ(lib.helpFile, "Quell32.hlp");
    const std::vector<TypeInfoEntry> types{
        {TypeKind::DispInterface, "_DQuell32", DIID__DQuell32,
         "Dispatch-Schnittstelle f\xC3\xBCr Quell32 Control"},
        {TypeKind::DispInterface, "_DQuell32Events", DIID__DQuell32Events,
         "Ereignisschnittstelle f\xC3\xBCr Quell32 Control"},
        {TypeKind::CoClass, "Quell32", CLSID_Quell32Ctrl, "Quell32 Control"}};
    EXPECT_EQ(lib.types, types);
}

TEST(Quell32Module, RegistrationCommandPrintsThem) {
    int rc = -1;
    const std::string out =
        OutputOf(std::string("'") + MOX_REGSVR + "' -v '" + MOX_QUELL32 + "'", &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out, "File version:     1.3.1.0\n"
                   "File description: Quell32 ActiveX-Steuerelement-Modul\n"
                   "Product name:     Quell32 ActiveX Control Module\n"
                   "Type library:     QUELL32Lib {69F31DA8-DF4D-4904-9B5B-D4B414CB6432}, "
                   "version 1.3\n"
                   "  help string:    Quell32 ActiveX-Steuerelement-Modul\n"
                   "  help file:      Quell32.hlp\n"
                   "  dispinterface _DQuell32 {AECBB314-A7E2-415D-9144-F2F764BD2AE6}: "
                   "Dispatch-Schnittstelle f\xC3\xBCr Quell32 Control\n"
                   "  dispinterface _DQuell32Events {EF7157CD-DADA-4DEB-BC56-3A48221E8765}: "
                   "Ereignisschnittstelle f\xC3\xBCr Quell32 Control\n"
                   "  coclass Quell32 {94D575E4-BC27-4B7A-B0AB-75CAAF80BC68}: Quell32 Control\n");
}

TEST(Quell32Module, RegistrationCommandRefusesAFileWithoutResources) {
    int rc = -1;
    const std::string out =
        OutputOf(std::string("'") + MOX_REGSVR + "' -v '" + MOX_REGSVR + "' 2>/dev/null", &rc);
    EXPECT_EQ(rc, 2);
    EXPECT_EQ(out, "");
}

// The entries as the registry held them after the module registered its
// type library, and none of them after it unregistered.
TEST(Quell32Module, TypeLibraryEntriesRegisteredAndRemoved) {
    const std::string module = std::filesystem::canonical(MOX_QUELL32).string();
    ASSERT_TRUE(mox::test::RegisterQuell32ByCommand(MOX_REGSVR, MOX_QUELL32));

    auto& s = mox::platform::SettingsStore::Instance();
    const std::string classes = "Software\\Classes\\";
    const std::string lib = classes + "TypeLib\\{69F31DA8-DF4D-4904-9B5B-D4B414CB6432}\\1.3";
    const std::string dispatch = classes + "Interface\\{AECBB314-A7E2-415D-9144-F2F764BD2AE6}";
    const std::string events = classes + "Interface\\{EF7157CD-DADA-4DEB-BC56-3A48221E8765}";
    const std::string control = classes + "CLSID\\{94D575E4-BC27-4B7A-B0AB-75CAAF80BC68}";
    const std::string proxy = "{00020420-0000-0000-C000-000000000046}";
    EXPECT_EQ(s.GetString(lib, ""), "Quell32 ActiveX-Steuerelement-Modul");
    EXPECT_EQ(s.GetString(lib + "\\0\\linux", ""), module);
    EXPECT_EQ(s.GetString(lib + "\\FLAGS", ""), "0");
    EXPECT_EQ(s.GetString(lib + "\\HELPDIR", ""),
              std::filesystem::path(module).parent_path().string());
    for (const auto& [key, name] : {std::pair{dispatch, "_DQuell32"},
                                    std::pair{events, "_DQuell32Events"}}) {
        EXPECT_EQ(s.GetString(key, ""), name);
        EXPECT_EQ(s.GetString(key + "\\ProxyStubClsid", ""), proxy) << name;
        EXPECT_EQ(s.GetString(key + "\\ProxyStubClsid32", ""), proxy) << name;
        EXPECT_EQ(s.GetString(key + "\\TypeLib", ""), LIBID_QUELL32Lib.ToString()) << name;
        EXPECT_EQ(s.GetString(key + "\\TypeLib", "Version"), "1.3") << name;
    }
    EXPECT_EQ(s.GetString(control + "\\TypeLib", ""), LIBID_QUELL32Lib.ToString());
    EXPECT_EQ(s.GetString(control + "\\Version", ""), "1.3");

    s.Sync();
    ASSERT_EQ(mox::test::RunProgram({MOX_REGSVR, "-s", "-u", MOX_QUELL32}), 0);
    s.Sync();
    for (const std::string& key : {lib, lib + "\\0\\linux", lib + "\\FLAGS", lib + "\\HELPDIR",
                                   dispatch, dispatch + "\\TypeLib", events,
                                   events + "\\ProxyStubClsid", control})
        EXPECT_FALSE(s.GetString(key, "")) << key;
    EXPECT_FALSE(ComponentRegistry::ClassOfProgId(kControlProgId));
}

} // namespace
