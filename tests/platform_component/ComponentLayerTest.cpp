// Ids, variants, dates and the property bag: the parts of the component
// layer that need no module.

#include "AutomationDate.h"
#include "ComponentRegistry.h"
#include "Guid.h"
#include "SettingsPropertyBag.h"
#include "SettingsStore.h"
#include "Variant.h"

#include <gtest/gtest.h>

using namespace mox::com;

namespace {

constexpr Guid kSample{
    0x94d575e4, 0xbc27, 0x4b7a, {0xb0, 0xab, 0x75, 0xca, 0xaf, 0x80, 0xbc, 0x68}};

TEST(Guid, FormatsAndParsesRegistryForm) {
    EXPECT_EQ(kSample.ToString(), "{94D575E4-BC27-4B7A-B0AB-75CAAF80BC68}");
    EXPECT_EQ(Guid::FromString("{94d575e4-bc27-4b7a-b0ab-75caaf80bc68}"), kSample);
    EXPECT_EQ(Guid::FromString(kSample.ToString()), kSample);
}

struct BadGuidRow {
    const char* name;
    const char* text;
};

void PrintTo(const BadGuidRow& row, std::ostream* os) {
    *os << row.name;
}

class GuidRejects : public ::testing::TestWithParam<BadGuidRow> {};

TEST_P(GuidRejects, Malformed) {
    EXPECT_FALSE(Guid::FromString(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuidRejects,
    ::testing::Values(BadGuidRow{"Empty", ""},
                      BadGuidRow{"NoBraces", "94D575E4-BC27-4B7A-B0AB-75CAAF80BC68"},
                      BadGuidRow{"DashMoved", "{94D575E4B-C27-4B7A-B0AB-75CAAF80BC68}"},
                      BadGuidRow{"NotHex", "{94D575E4-BC27-4B7A-B0AB-75CAAF80BCZ8}"},
                      BadGuidRow{"TooLong", "{94D575E4-BC27-4B7A-B0AB-75CAAF80BC680}"},
                      BadGuidRow{"ProgId", "QUELL32.Quell32Ctrl.1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Variant, CoercesLikeAutomation) {
    EXPECT_EQ(Variant::FromBool(true).ToI4(), -1);
    EXPECT_EQ(Variant::FromBool(false).ToI2(), 0);
    EXPECT_EQ(Variant::FromI4(2).ToBool(), true);
    EXPECT_EQ(Variant::FromI2(0).ToBool(), false);
    EXPECT_EQ(Variant::FromI4(32767).ToI2(), 32767);
    EXPECT_FALSE(Variant::FromI4(32768).ToI2());
    EXPECT_FALSE(Variant::FromI4(-32769).ToI2());
    EXPECT_FALSE(Variant::FromDate(1.5).ToI4());
    EXPECT_FALSE(Variant().ToBool());
    EXPECT_FALSE(Variant::FromArrayI2({1}).ToI4());
    EXPECT_EQ(Variant::FromI4(3).Array(), nullptr);
    ASSERT_NE(Variant::FromArrayI2({1, 2}).Array(), nullptr);
    EXPECT_EQ(*Variant::FromArrayI2({1, 2}).Array(), (std::vector<int16_t>{1, 2}));
    EXPECT_EQ(Variant::FromDate(2.25).ToDate(), 2.25);
}

struct DateRow {
    const char* name;
    int y, mo, d, h, mi, s, ms;
    double expected;
};

void PrintTo(const DateRow& row, std::ostream* os) {
    *os << row.name;
}

class AutomationDates : public ::testing::TestWithParam<DateRow> {};

TEST_P(AutomationDates, FromFields) {
    const auto& r = GetParam();
    EXPECT_DOUBLE_EQ(AutomationDateFromFields(r.y, r.mo, r.d, r.h, r.mi, r.s, r.ms), r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AutomationDates,
    ::testing::Values(DateRow{"Epoch", 1899, 12, 30, 0, 0, 0, 0, 0.0},
                      DateRow{"NewYear1900", 1900, 1, 1, 0, 0, 0, 0, 2.0},
                      DateRow{"Noon2000", 2000, 1, 1, 12, 0, 0, 0, 36526.5},
                      DateRow{"LeapDay2024", 2024, 2, 29, 6, 0, 0, 0, 45351.25},
                      DateRow{"Milliseconds", 2000, 1, 1, 0, 0, 0, 864, 36526.00001}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AutomationDates, NowIsLocalTimeOfDay) {
    const auto now = std::chrono::system_clock::now();
    const double d = AutomationDateFromTime(now);
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const double expectedDay =
        AutomationDateFromFields(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, 0, 0, 0, 0);
    EXPECT_GE(d, expectedDay);
    EXPECT_LT(d, expectedDay + 1.0);
}

TEST(SettingsPropertyBag, KeepsValuesByKind) {
    auto bag = SettingsPropertyBag::Create("Software\\Kestrin\\Test\\Bag");
    ASSERT_EQ(bag->Write("Flag", Variant::FromBool(true)), S_OK);
    ASSERT_EQ(bag->Write("Short", Variant::FromI2(-2)), S_OK);
    ASSERT_EQ(bag->Write("Long", Variant::FromI4(100000)), S_OK);
    ASSERT_EQ(bag->Write("When", Variant::FromDate(36526.5)), S_OK);
    EXPECT_EQ(bag->Write("Array", Variant::FromArrayI2({1})), DISP_E_TYPEMISMATCH);

    Variant v = Variant::FromBool(false);
    ASSERT_EQ(bag->Read("Flag", &v), S_OK);
    EXPECT_EQ(v, Variant::FromBool(true));
    v = Variant::FromI2(0);
    ASSERT_EQ(bag->Read("Short", &v), S_OK);
    EXPECT_EQ(v, Variant::FromI2(-2));
    v = Variant::FromI4(0);
    ASSERT_EQ(bag->Read("Long", &v), S_OK);
    EXPECT_EQ(v, Variant::FromI4(100000));
    v = Variant::FromI2(0);
    EXPECT_EQ(bag->Read("Long", &v), DISP_E_TYPEMISMATCH); // does not fit 16 bits
    v = Variant::FromDate(0);
    ASSERT_EQ(bag->Read("When", &v), S_OK);
    EXPECT_DOUBLE_EQ(*v.ToDate(), 36526.5);
    v = Variant::FromBool(true);
    EXPECT_EQ(bag->Read("Missing", &v), E_INVALIDARG);
    EXPECT_EQ(v, Variant::FromBool(true)); // left as it was
}

TEST(ComponentRegistry, RegisterAndUnregisterRoundTrip) {
    ClassRegistration reg;
    reg.clsid = kSample;
    reg.progId = "MoxTest.Registry.1";
    reg.typeName = "Registry Test";
    reg.modulePath = "/opt/mox/libtest.so";
    reg.miscStatus = 0x20191;
    ASSERT_TRUE(ComponentRegistry::RegisterClass(reg));
    EXPECT_EQ(ComponentRegistry::ClassOfProgId("MoxTest.Registry.1"), kSample);
    EXPECT_EQ(ComponentRegistry::ModuleOfClass(kSample), "/opt/mox/libtest.so");
    EXPECT_EQ(ComponentRegistry::ProgIdOfClass(kSample), "MoxTest.Registry.1");
    EXPECT_EQ(mox::platform::SettingsStore::Instance().GetString(
                  std::string(kClassesKey) + "\\CLSID\\" + kSample.ToString() + "\\MiscStatus", ""),
              "131473");

    ComponentRegistry::UnregisterClass(kSample);
    EXPECT_FALSE(ComponentRegistry::ClassOfProgId("MoxTest.Registry.1"));
    EXPECT_FALSE(ComponentRegistry::ModuleOfClass(kSample));
    // Twice is harmless.
    ComponentRegistry::UnregisterClass(kSample);
}

TEST(ComponentRegistry, RefusesIncompleteOrUnsafeEntries) {
    ClassRegistration reg;
    reg.clsid = kSample;
    reg.modulePath = "/x.so";
    reg.progId = "";
    EXPECT_FALSE(ComponentRegistry::RegisterClass(reg));
    reg.progId = "Evil\\CLSID";
    EXPECT_FALSE(ComponentRegistry::RegisterClass(reg));
    reg.progId = "Fine.1";
    reg.modulePath = "";
    EXPECT_FALSE(ComponentRegistry::RegisterClass(reg));
    EXPECT_FALSE(ComponentRegistry::ModuleOfClass(kSample));
}

TEST(ComponentRegistry, ProgIdMovedToAnotherClassLeavesOldClassWithoutIt) {
    constexpr Guid kOther{0x11111111, 0x2222, 0x3333, {4, 4, 5, 5, 5, 5, 5, 5}};
    ClassRegistration reg;
    reg.clsid = kSample;
    reg.progId = "MoxTest.Moved.1";
    reg.modulePath = "/a.so";
    ASSERT_TRUE(ComponentRegistry::RegisterClass(reg));
    reg.clsid = kOther;
    reg.modulePath = "/b.so";
    ASSERT_TRUE(ComponentRegistry::RegisterClass(reg));
    EXPECT_EQ(ComponentRegistry::ClassOfProgId("MoxTest.Moved.1"), kOther);
    EXPECT_FALSE(ComponentRegistry::ProgIdOfClass(kSample));
    // Unregistering the old class must not take the ProgID from the new one.
    ComponentRegistry::UnregisterClass(kSample);
    EXPECT_EQ(ComponentRegistry::ClassOfProgId("MoxTest.Moved.1"), kOther);
    ComponentRegistry::UnregisterClass(kOther);
}

// The entries a type library leaves, as the registry held them: the
// library's version with its name, path, flags and help folder, and each
// dispatch interface by name, marshalled by the dispatch proxy, pointing
// back at the library. Unregistering takes them all away, except an
// interface another library has registered since.
TEST(ComponentRegistry, TypeLibEntriesRegisteredAndRemoved) {
    constexpr Guid kItf{
        0x1c2d3e4f, 0x5a6b, 0x4c7d, {0x8e, 0x9f, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55}};
    constexpr Guid kTakenOver{
        0x2c2d3e4f, 0x5a6b, 0x4c7d, {0x8e, 0x9f, 0x00, 0x11, 0x22, 0x33, 0x44, 0x56}};
    constexpr Guid kOtherLib{0x11111111, 0x2222, 0x3333, {4, 4, 5, 5, 5, 5, 5, 6}};
    TypeLibRegistration lib;
    lib.libid = kSample;
    lib.version = "1.3";
    lib.name = "Test Library";
    lib.modulePath = "/opt/x.so";
    lib.helpDir = "/opt";
    lib.interfaces = {{kItf, "_DTest"}, {kTakenOver, "_DTestEvents"}};
    ASSERT_TRUE(ComponentRegistry::RegisterTypeLib(lib));

    auto& s = mox::platform::SettingsStore::Instance();
    const std::string libKey =
        "Software\\Classes\\TypeLib\\{94D575E4-BC27-4B7A-B0AB-75CAAF80BC68}\\1.3";
    const std::string itfKey =
        "Software\\Classes\\Interface\\{1C2D3E4F-5A6B-4C7D-8E9F-001122334455}";
    EXPECT_EQ(s.GetString(libKey, ""), "Test Library");
    EXPECT_EQ(ComponentRegistry::TypeLibPath(kSample, "1.3"), "/opt/x.so");
    EXPECT_EQ(s.GetString(libKey + "\\0\\linux", ""), "/opt/x.so");
    EXPECT_EQ(s.GetString(libKey + "\\FLAGS", ""), "0");
    EXPECT_EQ(s.GetString(libKey + "\\HELPDIR", ""), "/opt");
    EXPECT_EQ(s.GetString(itfKey, ""), "_DTest");
    EXPECT_EQ(s.GetString(itfKey + "\\ProxyStubClsid", ""),
              "{00020420-0000-0000-C000-000000000046}");
    EXPECT_EQ(s.GetString(itfKey + "\\ProxyStubClsid32", ""),
              "{00020420-0000-0000-C000-000000000046}");
    EXPECT_EQ(s.GetString(itfKey + "\\TypeLib", ""), "{94D575E4-BC27-4B7A-B0AB-75CAAF80BC68}");
    EXPECT_EQ(s.GetString(itfKey + "\\TypeLib", "Version"), "1.3");

    TypeLibRegistration other = lib;
    other.libid = kOtherLib;
    other.interfaces = {{kTakenOver, "_DOther"}};
    ASSERT_TRUE(ComponentRegistry::RegisterTypeLib(other));

    ComponentRegistry::UnregisterTypeLib(kSample, "1.3", {kItf, kTakenOver});
    EXPECT_FALSE(ComponentRegistry::TypeLibPath(kSample, "1.3"));
    EXPECT_FALSE(s.GetString(libKey, ""));
    EXPECT_FALSE(s.GetString(libKey + "\\HELPDIR", ""));
    EXPECT_FALSE(s.GetString(itfKey, ""));
    EXPECT_FALSE(s.GetString(itfKey + "\\TypeLib", "Version"));
    EXPECT_EQ(s.GetString("Software\\Classes\\Interface\\" + kTakenOver.ToString(), ""),
              "_DOther");

    ComponentRegistry::UnregisterTypeLib(kOtherLib, "1.3", {kTakenOver});
    EXPECT_FALSE(s.GetString("Software\\Classes\\Interface\\" + kTakenOver.ToString(), ""));
}

} // namespace
