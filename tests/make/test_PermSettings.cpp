// The program's settings: defaults of a fresh store, the names they are kept
// under, and the rules for indexed values.

#include "DbgOut.h"
#include "PermSettings.h"
#include "TempSettings.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

class PermSettings : public TempSettings {};

TEST_F(PermSettings, FreshStoreGivesTheDefaults) {
    EXPECT_TRUE(IsAssiMode());
    EXPECT_EQ(GetPermLand(), 1);    // eLV_Deutschland
    EXPECT_EQ(GetPermSprache(), 1); // eSpracheDeutsch
    EXPECT_EQ(GetComPort(), 0);     // no transfer medium
    std::string service = "unchanged";
    EXPECT_FALSE(GetPermMSNService(service));
    EXPECT_EQ(service, "unchanged");
    for (int i = 0; i < kPermMsnClients; ++i) {
        std::string client = "x";
        GetPermMSNClient(i, client);
        EXPECT_EQ(client, "") << "client" << i;
    }
    for (int i = 0; i < kPermRecentFiles; ++i)
        EXPECT_EQ(GetPermRecentFile(i), "") << "file " << i + 1;
    for (int c = 0; c <= 6; ++c)
        EXPECT_FALSE(GetPermTrace(c)) << "channel " << c;
    EXPECT_TRUE(GetPermTrace(eDbgAlways));
    EXPECT_EQ(GetCapiLibrary(), "libcapi20.so.3");
    EXPECT_EQ(GetComDevice(1), "/dev/ttyS0");
    EXPECT_EQ(GetComDevice(16), "/dev/ttyS15");
    EXPECT_EQ(GetPermDbgFile(), "");
}

TEST_F(PermSettings, ReadingWritesNothing) {
    (void)IsAssiMode();
    (void)GetPermLand();
    (void)GetPermSprache();
    (void)GetComPort();
    EXPECT_TRUE(Store().ValueNames(kPermKey).empty());
    EXPECT_TRUE(Store().ValueNames(kPermKeyComport).empty());
}

// The store keeps the registry's key and value names, so a value written by
// one accessor is found where the others (and the settings file) expect it.
struct NamedValue {
    const char* name;
    void (*write)();
    const char* key;
    const char* value;
    const char* stored;
};

void PrintTo(const NamedValue& c, std::ostream* os) {
    *os << c.name;
}

class PermSettingsNames : public TempSettings, public testing::WithParamInterface<NamedValue> {};

TEST_P(PermSettingsNames, StoredUnderItsRegistryName) {
    const NamedValue& v = GetParam();
    v.write();
    const auto s = Store().GetString(v.key, v.value);
    ASSERT_TRUE(s.has_value()) << v.key << " / " << v.value;
    EXPECT_EQ(*s, v.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PermSettingsNames,
    testing::Values(
        NamedValue{"assist", [] { SetAssiMode(false); }, kPermKey, "assist", "0"},
        NamedValue{"ld", [] { SetPermLand(4); }, kPermKey, "ld", "4"},
        NamedValue{"spr", [] { SetPermSprache(6); }, kPermKey, "spr", "6"},
        NamedValue{"Port", [] { SetComPort(9); }, kPermKeyComport, "Port", "9"},
        NamedValue{"service", [] { SetPermMSNService("0815"); }, kPermKeyMsn, "service", "0815"},
        NamedValue{"client0", [] { SetPermMSNClient(0, "4711"); }, kPermKeyMsn, "client0", "4711"},
        NamedValue{"client9", [] { SetPermMSNClient(9, "99"); }, kPermKeyMsn, "client9", "99"},
        NamedValue{"file1", [] { SetPermRecentFile(0, "/a.ktx"); }, kPermKeyFiles, "file 1",
                   "/a.ktx"},
        NamedValue{"file6", [] { SetPermRecentFile(5, "/f.ktx"); }, kPermKeyFiles, "file 6",
                   "/f.ktx"},
        NamedValue{"trace", [] { SetPermTrace(eDbgTlnProg, true); }, kPermKeyTrace, "tlnprog", "1"},
        NamedValue{"com3", [] { SetComDevice(3, "/dev/ttyUSB0"); }, kPermKeyComport, "COM3",
                   "/dev/ttyUSB0"},
        NamedValue{"capi", [] { SetCapiLibrary("libfakecapi.so"); }, kPermKeyCapi, "library",
                   "libfakecapi.so"}),
    [](const testing::TestParamInfo<NamedValue>& info) { return std::string(info.param.name); });

TEST_F(PermSettings, SettersRoundTripAlsoOutsideTheRanges) {
    SetAssiMode(false);
    EXPECT_FALSE(IsAssiMode());
    SetAssiMode(true);
    EXPECT_TRUE(IsAssiMode());
    SetPermLand(8);
    EXPECT_EQ(GetPermLand(), 8);
    SetPermLand(42); // stored as handed; readers pass it on
    EXPECT_EQ(GetPermLand(), 42);
    // Stored as handed, but read as German: no text exists for it.
    SetPermSprache(0);
    EXPECT_EQ(Store().GetDword(kPermKey, kPermSprache), std::optional<std::uint32_t>(0));
    EXPECT_EQ(GetPermSprache(), kPermSpracheDefault);
    SetComPort(-1);
    EXPECT_EQ(GetComPort(), -1);
    SetComPort(7);
    EXPECT_EQ(GetComPort(), 7);
}

TEST_F(PermSettings, AssistIsOnForAnyNonZeroValue) {
    Store().SetDword(kPermKey, kPermAssist, 17);
    EXPECT_TRUE(IsAssiMode());
    Store().SetDword(kPermKey, kPermAssist, 0);
    EXPECT_FALSE(IsAssiMode());
}

TEST_F(PermSettings, MsnClientOutsideTheTenIsEmptyAndNotWritten) {
    SetPermMSNClient(10, "1234");
    SetPermMSNClient(-1, "1234");
    EXPECT_TRUE(Store().ValueNames(kPermKeyMsn).empty());
    Store().SetString(kPermKeyMsn, "client10", "5555"); // left by someone else
    std::string dest = "old";
    GetPermMSNClient(10, dest);
    EXPECT_EQ(dest, "");
    SetPermMSNClient(3, "0301234");
    GetPermMSNClient(3, dest);
    EXPECT_EQ(dest, "0301234");
}

TEST_F(PermSettings, MsnServiceReplacesTheBufferOnlyWhenStored) {
    SetPermMSNService("");
    std::string dest = "old";
    EXPECT_TRUE(GetPermMSNService(dest));
    EXPECT_EQ(dest, "");
    SetPermMSNService("12345");
    EXPECT_TRUE(GetPermMSNService(dest));
    EXPECT_EQ(dest, "12345");
}

TEST_F(PermSettings, RecentFileSlotsOutsideTheSixAreIgnored) {
    SetPermRecentFile(6, "/x.ktx");
    SetPermRecentFile(-1, "/x.ktx");
    EXPECT_TRUE(Store().ValueNames(kPermKeyFiles).empty());
    EXPECT_EQ(GetPermRecentFile(6), "");
}

TEST_F(PermSettings, ComDevicesOverrideAndFallBack) {
    SetComDevice(2, "/dev/pts/7");
    EXPECT_EQ(GetComDevice(2), "/dev/pts/7");
    EXPECT_EQ(GetComDevice(1), "/dev/ttyS0");
    // An empty path would open nothing; the standard device is used.
    SetComDevice(4, "");
    EXPECT_EQ(GetComDevice(4), "/dev/ttyS3");
    EXPECT_EQ(GetComDevice(0), "");
    EXPECT_EQ(GetComDevice(17), "");
    SetComDevice(17, "/dev/null");
    EXPECT_FALSE(Store().GetString(kPermKeyComport, "COM17").has_value());
}

TEST_F(PermSettings, EmptyCapiLibraryFallsBackToTheDefault) {
    SetCapiLibrary("");
    EXPECT_EQ(GetCapiLibrary(), "libcapi20.so.3");
}

// The readers of "ld" and "spr" and the writer of "spr" trace the value by
// its enumerator; SetComPort names the port.
struct TraceCase {
    const char* name;
    void (*call)();
    const char* line;
};

void PrintTo(const TraceCase& c, std::ostream* os) {
    *os << c.name;
}

class PermSettingsTrace : public TempSettings, public testing::WithParamInterface<TraceCase> {
protected:
    void SetUp() override {
        TempSettings::SetUp();
        Store().SetDword(kPermKey, kPermDbgOut, 1);
        Store().SetDword(kPermKeyTrace, "doc", 1);
        InitPermTrace();
        mox::platform::SetTraceFile(TracePath());
    }
};

TEST_P(PermSettingsTrace, WritesItsLine) {
    GetParam().call();
    const auto lines = TraceLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), std::string("<mox> < doc >  \t  ") + GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PermSettingsTrace,
    testing::Values(TraceCase{"GetLandDefault", [] { (void)GetPermLand(); },
                              "GetPermLand( eLV_Deutschland )"},
                    TraceCase{"GetLandBelgien",
                              [] {
                                  SetPermLand(8);
                                  (void)GetPermLand();
                              },
                              "GetPermLand( eLV_Belgien )"},
                    TraceCase{"GetLandUnknown",
                              [] {
                                  SetPermLand(99);
                                  (void)GetPermLand();
                              },
                              "GetPermLand( 99 )"},
                    TraceCase{"GetSprache", [] { (void)GetPermSprache(); },
                              "GetPermSprache( eSpracheDeutsch )"},
                    TraceCase{"SetSprache", [] { SetPermSprache(6); },
                              "SetPermSprache( eSpracheHollaendisch )"},
                    TraceCase{"PortPri1", [] { SetComPort(1); }, "<SetComPort> PRI_COM1 (1)"},
                    TraceCase{"PortPri4", [] { SetComPort(4); }, "<SetComPort> PRI_COM4 (4)"},
                    TraceCase{"PortCom1", [] { SetComPort(5); }, "<SetComPort> COM1 (5)"},
                    TraceCase{"PortCom4", [] { SetComPort(8); }, "<SetComPort> COM4 (8)"},
                    TraceCase{"PortCapi", [] { SetComPort(9); }, "<SetComPort> CAPI (9)"},
                    TraceCase{"PortNone", [] { SetComPort(0); }, "<SetComPort> UNKNOWN(0)"},
                    TraceCase{"PortTen", [] { SetComPort(10); }, "<SetComPort> UNKNOWN(10)"}),
    [](const testing::TestParamInfo<TraceCase>& info) { return std::string(info.param.name); });

} // namespace
