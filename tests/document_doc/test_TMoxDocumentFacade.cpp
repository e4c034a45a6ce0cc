// The accessor facade: when a setter marks the document modified, the side
// effects of the facade's own operations, and the level conversion.

#include <cmath>
#include <functional>
#include <limits>
#include <locale>

#include <ostream>

#include "DocTestSupport.h"
#include "PermSettings.h"

namespace {

// ----------------------------------------------------------------- marking rules

struct MarkRow {
    const char* name;
    std::function<void(TMoxDocument&)> setup; // done before the document is made clean
    std::function<bool(TMoxDocument&)> call;
    bool accepted;
    bool modified;

    friend void PrintTo(const MarkRow& row, std::ostream* os) { *os << row.name; }
};

class MarkingRule : public DocTest, public ::testing::WithParamInterface<MarkRow> {};

TEST_P(MarkingRule, MarksWhenTheValueDiffersEvenIfRefused) {
    auto doc = MakeDoc();
    if (GetParam().setup)
        GetParam().setup(*doc);
    // A save makes the document clean.
    ASSERT_TRUE(doc->WriteDocument(Path("clean.ktx").c_str(), false));
    ASSERT_FALSE(doc->IsModified());

    EXPECT_EQ(GetParam().call(*doc), GetParam().accepted);
    EXPECT_EQ(doc->IsModified(), GetParam().modified);
}

using D = TMoxDocument;
const std::string k25Digits(25, '1');

// One row per rule; kept one row to a line so the table reads as one.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Setters, MarkingRule,
    ::testing::Values(
        // Scalars.
        MarkRow{"EqualValueStaysClean", {}, [](D& d) { return d.SetTuerrufannahme(40); }, true, false},
        MarkRow{"NewValueMarks", {}, [](D& d) { return d.SetTuerrufannahme(50); }, true, true},
        MarkRow{"RefusedValueStillMarks", {}, [](D& d) { return d.SetTuerrufannahme(19); }, false, true},
        MarkRow{"RefusedUpperBoundStillMarks", {}, [](D& d) { return d.SetTuerrufdauer(601); }, false, true},
        MarkRow{"CameraChoiceRefusedMarks", {}, [](D& d) { return d.SetKamera(1); }, false, true},
        MarkRow{"BadIndexSameValueStaysClean", {}, [](D& d) { return d.SetTlnBusAdr(31, 0); }, false, false},
        MarkRow{"BadIndexNewValueMarks", {}, [](D& d) { return d.SetTlnBusAdr(31, 5); }, false, true},
        MarkRow{"CameraRangeRefusedMarks", {}, [](D& d) { return d.SetKMRHelligkeit(101); }, false, true},
        MarkRow{"CameraEqualStaysClean", {}, [](D& d) { return d.SetKMRHelligkeit(60); }, true, false},
        MarkRow{"VoidSetterEqualStaysClean", {}, [](D& d) { d.SetSprachwaage(1); return true; }, true, false},
        MarkRow{"VoidSetterNewMarks", {}, [](D& d) { d.SetSprachausgabe(1); return true; }, true, true},
        // Texts and numbers.
        MarkRow{"EqualTextStaysClean", {}, [](D& d) { return d.SetTuerrufText(5, "Haust\xFCr 6"); }, true, false},
        MarkRow{"NewTextMarks", {}, [](D& d) { return d.SetTuerrufText(0, "Tor"); }, true, true},
        MarkRow{"EqualEmptyNumberStaysClean", {}, [](D& d) { return d.SetRnr(""); }, true, false},
        MarkRow{"RefusedLongNumberStillMarks", {}, [](D& d) { return d.SetRnr(k25Digits.c_str()); }, false, true},
        MarkRow{"NullTextIsRefusedAndEqualsEmpty", {}, [](D& d) { return d.SetRnr(nullptr); }, false, false},
        MarkRow{"RefusedPinOfGroup0StillMarks", {}, [](D& d) { return d.SetPGPin(0, "1234"); }, false, true},
        // Flags: every non-zero value is the same value.
        MarkRow{"FlagOtherNonZeroStaysClean", {}, [](D& d) { return d.SetPGTueroeffner(0, 5); }, true, false},
        MarkRow{"FlagClearedMarks", {}, [](D& d) { return d.SetPGTueroeffner(0, 0); }, true, true},
        MarkRow{"FlagOutsideItsModeRefusedMarks", {}, [](D& d) { return d.SetMfeDirektruf(1); }, false, true},
        // Multi-field setters.
        MarkRow{"EqualMultiFieldStaysClean", {}, [](D& d) { return d.SetMfrMode(3, 0xFFFF); }, true, false},
        MarkRow{"OneOfTwoFieldsMarks", {}, [](D& d) { return d.SetMfrMode(3, 1); }, true, true},
        MarkRow{"EqualRelayStaysClean", {}, [](D& d) { return d.SetBSMRelais(0, 0, 0); }, true, false},
        MarkRow{"NewRelayNumberMarks", {}, [](D& d) { return d.SetBSMRelais(0, 0, 2); }, true, true},
        MarkRow{"EqualFloorCallStaysClean", [](D& d) { d.SetMfeEtagenruf("12"); },
                [](D& d) { return d.SetMfeEtagenruf("12"); }, true, false},
        MarkRow{"FloorCallChangingTheModeMarks", {}, [](D& d) { return d.SetMfeEtagenruf(""); }, true, true},
        MarkRow{"EqualSignalFunctionStaysClean",
                [](D& d) { d.SetMfeMeldefkt(1, "11", 0, nullptr, 2, "33", 1, 0, 0, 0, 1); },
                [](D& d) { return d.SetMfeMeldefkt(1, "11", 0, nullptr, 2, "33", 1, 0, 0, 0, 1); }, true, false},
        MarkRow{"OneFieldOfTheSignalFunctionMarks",
                [](D& d) { d.SetMfeMeldefkt(1, "11", 0, nullptr, 2, "33", 1, 0, 0, 0, 1); },
                [](D& d) { return d.SetMfeMeldefkt(1, "11", 0, nullptr, 2, "33", 1, 0, 1, 0, 1); }, true, true},
        MarkRow{"EqualTimeSwitchStaysClean", [](D& d) { d.SetTypeRAK(1); d.SetRAKEingangSchaltuhr(0, 1, 2); },
                [](D& d) { return d.SetRAKEingangSchaltuhr(0, 1, 2); }, true, false},
        MarkRow{"OtherGroupOfTheTimeSwitchMarks", [](D& d) { d.SetTypeRAK(1); d.SetRAKEingangSchaltuhr(0, 1, 2); },
                [](D& d) { return d.SetRAKEingangSchaltuhr(0, 1, 3); }, true, true},
        MarkRow{"SameModeWithoutOptionsStaysClean", [](D& d) { d.SetMfeMode(1); },
                [](D& d) { return d.SetMfeMode(1); }, true, false},
        MarkRow{"SameModeThatClearsOptionsMarks", [](D& d) { d.SetMfeMode(1); d.SetMfeDirektruf(1); },
                [](D& d) { return d.SetMfeMode(1); }, true, true},
        MarkRow{"EqualSmsOptionsStayClean", [](D& d) { d.SetMfeMode(1); },
                [](D& d) { return d.SetMfeSMSOptionen(0, 0, 0, 0); }, true, false},
        MarkRow{"SmsNumberOfTheSameProviderMarks", [](D& d) { d.SetMfeMode(1); d.SetMfeSMSRnr(3, "1"); },
                [](D& d) { return d.SetMfeSMSRnr(3, "2"); }, true, true},
        MarkRow{"SmsProviderWithoutNumberStaysClean", [](D& d) { d.SetMfeMode(1); d.SetMfeSMSRnr(3, "1"); },
                [](D& d) { return d.SetMfeSMSRnr(3, nullptr); }, true, false},
        // Mode shortcuts: modified unless already in the target mode.
        MarkRow{"UndefinedAlreadyStaysClean", {}, [](D& d) { return d.SetMfeUndefined(); }, true, false},
        MarkRow{"MfrModeMarks", {}, [](D& d) { return d.SetMfeMfr(); }, true, true},
        MarkRow{"ControllerInputUndefinedAlreadyStaysClean", {}, [](D& d) { return d.SetRAKEingangUndefined(0); }, true, false},
        // Levels, types, country and language.
        MarkRow{"EqualLevelStaysClean", {}, [](D& d) { return d.SetPegelKommend(0.0); }, true, false},
        MarkRow{"OtherLevelMarks", {}, [](D& d) { return d.SetPegelGehend(-3.5); }, true, true},
        MarkRow{"NaNLevelIsRefused", {}, [](D& d) { return d.SetPegelKommend(std::numeric_limits<double>::quiet_NaN()); }, false, true},
        MarkRow{"SameDoorInterfaceStaysClean", {}, [](D& d) { return d.SetTypeIT(eIT_Nivo); }, true, false},
        MarkRow{"SameCountryStaysClean", {}, [](D& d) { return d.SetLand(eLV_Deutschland); }, true, false},
        MarkRow{"SameLanguageStaysClean", {}, [](D& d) { return d.SetSprache(eSpracheDeutsch); }, true, false},
        // Page resets always mark.
        MarkRow{"ResetOfUnchangedPageMarks", {}, [](D& d) { d.InitKMR(); return true; }, true, true},
        MarkRow{"SubscriberResetMarks", {}, [](D& d) { d.InitTln(0); return true; }, true, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// ----------------------------------------------------------------- facade extras

TEST_F(DocTest, SetSpracheAlwaysWritesTheSettingsAndRefreshes) {
    auto doc = MakeDoc();
    SetPermSprache(eSpracheFranzoesisch);
    EXPECT_TRUE(doc->SetSprache(eSpracheDeutsch));
    EXPECT_EQ(GetPermSprache(), eSpracheDeutsch);
    EXPECT_EQ(m_MainFrame.refreshes, 1);
    EXPECT_FALSE(doc->IsModified());

    EXPECT_TRUE(doc->SetSprache(eSpracheDaenisch));
    EXPECT_EQ(GetPermSprache(), eSpracheDaenisch);
    EXPECT_EQ(doc->GetSprache(), eSpracheDaenisch);
    EXPECT_EQ(m_MainFrame.refreshes, 2);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocTest, SetLandWithTheSameCountryTouchesNeitherSettingsNorSms) {
    WriteSms("def_d.sms", "D1\t01712521002\tTAP\t-\n");
    auto doc = MakeDoc();
    doc->SetSMSProvider(0, "mine");
    SetPermLand(eLV_Schweiz);
    EXPECT_TRUE(doc->SetLand(eLV_Deutschland));
    EXPECT_EQ(GetPermLand(), eLV_Schweiz);
    char name[16];
    doc->GetSMSProvider(0, name, sizeof name);
    EXPECT_STREQ(name, "mine");
}

TEST_F(DocTest, SetLandWithANewCountryStoresItAndLoadsItsSmsFile) {
    WriteSms("def_ch.sms", "Swisscom\t0794\tTAP\t-\n");
    auto doc = MakeDoc();
    doc->SetSMSProvider(5, "mine");
    EXPECT_TRUE(doc->SetLand(eLV_Schweiz));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(GetPermLand(), eLV_Schweiz);
    EXPECT_EQ(doc->GetLand(), eLV_Schweiz);
    char name[16];
    doc->GetSMSProvider(0, name, sizeof name);
    EXPECT_STREQ(name, "Swisscom");
    doc->GetSMSProvider(5, name, sizeof name);
    EXPECT_STREQ(name, "") << "all ten entries come from the file";
}

TEST_F(DocTest, NewDoorInterfaceTypeEmptiesEverySubscriber) {
    auto doc = MakeDoc();
    doc->SetTlnRnr(0, "0301");
    doc->SetTlnBusAdr(1, 77);
    EXPECT_TRUE(doc->SetTypeIT(eIT_Quarz));
    char rnr[24];
    ASSERT_TRUE(doc->GetTlnRnr(0, rnr, sizeof rnr));
    EXPECT_STREQ(rnr, "");
    EXPECT_EQ(doc->GetTlnBusAdr(1), 2);
    EXPECT_EQ(doc->GetAnzTln(), 4);
}

TEST_F(DocTest, ConfigurationResetPutsBackTheSettingsCountryAndLanguage) {
    auto doc = MakeDoc();
    SetPermLand(eLV_Daenemark);
    SetPermSprache(eSpracheDaenisch);
    doc->SetRnr("0301");
    doc->InitKTXKonfig();
    EXPECT_EQ(doc->GetLand(), eLV_Daenemark);
    EXPECT_EQ(doc->GetSprache(), eSpracheDaenisch);
    char rnr[32];
    doc->GetRnr(rnr, sizeof rnr);
    EXPECT_STREQ(rnr, "");
}

TEST_F(DocTest, SmsResetLoadsTheSettingsCountry) {
    WriteSms("def_dk.sms", "TDC\t4540\tUCP\t-\n");
    auto doc = MakeDoc();
    SetPermLand(eLV_Daenemark);
    doc->InitSMS();
    char name[16];
    doc->GetSMSProvider(0, name, sizeof name);
    EXPECT_STREQ(name, "TDC");
    EXPECT_EQ(doc->GetSMSProtokoll(0), 1);
}

TEST_F(DocTest, SubscriberResetWritesAddressesAgain) {
    auto doc = MakeDoc();
    doc->SetIO_TlnAdr(0);
    doc->InitAllTln(true);
    EXPECT_EQ(doc->GetDaten()->IO_TlnAdr, 1);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocTest, ControllerCountFollowsTheControllerType) {
    auto doc = MakeDoc();
    EXPECT_EQ(doc->GetAnzRAK(), 0);
    doc->SetTypeRAK(eRAK_Large);
    EXPECT_EQ(doc->GetAnzRAK(), 12);
    EXPECT_EQ(doc->GetTypeMox(), 2);
}

TEST_F(DocTest, SetModifiedNeverClears) {
    auto doc = MakeDoc();
    doc->SetModified(true);
    doc->SetModified(false);
    EXPECT_TRUE(doc->IsModified());
}

// ----------------------------------------------------------------- levels

struct RawRow {
    const char* name;
    std::uint16_t raw;
    double dB;

    friend void PrintTo(const RawRow& row, std::ostream* os) { *os << row.name; }
};

class LevelFromRaw : public ::testing::TestWithParam<RawRow> {};

TEST_P(LevelFromRaw, IsTwentyLogRoundedToOneDecimal) {
    EXPECT_DOUBLE_EQ(TMoxDocument::PegelToDb(GetParam().raw), GetParam().dB);
}

INSTANTIATE_TEST_SUITE_P(
    Raw, LevelFromRaw,
    ::testing::Values(RawRow{"ZeroDb", 4096, 0.0}, RawRow{"JustAboveZeroDb", 4097, 0.0},
                      RawRow{"Double", 8192, 6.0}, RawRow{"Half", 2048, -6.0},
                      RawRow{"Minus12", 1028, -12.0}, RawRow{"TenAndAHalf", 13720, 10.5},
                      RawRow{"Loudest", 65535, 24.1}, RawRow{"Quietest", 1, -72.2},
                      RawRow{"ZeroFromAFileReadsAsMinus12", 0, -12.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct DbRow {
    const char* name;
    double dB;
    std::uint16_t raw;

    friend void PrintTo(const DbRow& row, std::ostream* os) { *os << row.name; }
};

class LevelToRaw : public ::testing::TestWithParam<DbRow> {};

TEST_P(LevelToRaw, IsTruncatedSinglePrecisionFactorTimes4096) {
    std::uint16_t raw = 0;
    ASSERT_TRUE(TMoxDocument::DbToPegel(GetParam().dB, &raw));
    EXPECT_EQ(raw, GetParam().raw);
}

INSTANTIATE_TEST_SUITE_P(
    Db, LevelToRaw,
    ::testing::Values(DbRow{"ZeroDb", 0.0, 4096}, DbRow{"Plus6", 6.0, 8172},
                      DbRow{"Minus12", -12.0, 1028}, DbRow{"Plus12", 12.0, 16306},
                      DbRow{"TenAndAHalf", 10.5, 13720}, DbRow{"MinusHalf", -0.5, 3866},
                      DbRow{"Plus24", 24.0, 64917}, DbRow{"BeyondTheWordIsTheLoudest", 24.1, 65535},
                      DbRow{"HugeIsTheLoudest", 1000.0, 65535},
                      DbRow{"InfinityIsTheLoudest", std::numeric_limits<double>::infinity(), 65535},
                      DbRow{"TinyIsTheQuietestNotZero", -1000.0, 1},
                      DbRow{"MinusInfinityIsTheQuietest", -std::numeric_limits<double>::infinity(),
                            1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LevelToRawNaN, IsRefused) {
    std::uint16_t raw = 7;
    EXPECT_FALSE(TMoxDocument::DbToPegel(std::numeric_limits<double>::quiet_NaN(), &raw));
    EXPECT_EQ(raw, 7);
}

// Every level of one decimal the page can show comes back as it was set,
// so saving a page unchanged never changes the document.
TEST_F(DocTest, EveryOneDecimalLevelRoundTrips) {
    auto doc = MakeDoc();
    for (int tenths = -240; tenths <= 240; ++tenths) {
        const double dB = tenths / 10.0;
        ASSERT_TRUE(doc->SetPegelKommend(dB)) << dB;
        ASSERT_DOUBLE_EQ(doc->GetPegelKommend(), dB) << dB;
    }
}

// A comma as decimal separator in the program's locale changes nothing.
TEST_F(DocTest, LevelsDoNotDependOnTheLocale) {
    struct CommaDecimal : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale saved =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    auto doc = MakeDoc();
    EXPECT_TRUE(doc->SetPegelGehend(-7.5));
    EXPECT_DOUBLE_EQ(doc->GetPegelGehend(), -7.5);
    std::locale::global(saved);
}

} // namespace
