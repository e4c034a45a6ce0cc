// Defaults of the configuration record: every field after MoxInitDaten, the
// section resets, and the type cascades that the initialisation runs.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>
#include <string>

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "test_MoxAccessUtil.h"

using namespace moxtest;

namespace {

// ------------------------------------------------------------ scalar defaults

struct ScalarDefault {
    const char* name;
    std::function<long(const MoxDaten&)> field;
    long expected;
};

void PrintTo(const ScalarDefault& c, std::ostream* os) {
    *os << c.name;
}

class ScalarDefaults : public testing::TestWithParam<ScalarDefault> {};

TEST_P(ScalarDefaults, AfterInit) {
    auto d = NewRecord();
    EXPECT_EQ(GetParam().field(*d), GetParam().expected);
}

// A record that held another configuration gets exactly the same defaults.
TEST_P(ScalarDefaults, AfterInitOverAnotherConfiguration) {
    auto d = std::make_unique<MoxDaten>();
    std::memset(static_cast<void*>(d.get()), 0xA5, sizeof *d);
    d->TypeKMR = 1;
    d->TypeRAK = 1;
    d->TypeIT = 2;
    MoxInitDaten(d.get());
    EXPECT_EQ(GetParam().field(*d), GetParam().expected);
}

#define FIELD(expr) [](const MoxDaten& d) -> long { return static_cast<long>(d.expr); }

const ScalarDefault kScalarDefaults[] = {
    {"Land", FIELD(Land), eLV_Deutschland},
    {"Sprache", FIELD(Sprache), eSpracheDeutsch},
    {"Kamera", FIELD(Kamera), 0},
    {"Tuerrufannahme", FIELD(Tuerrufannahme), 40},
    {"Tuerrufdauer", FIELD(Tuerrufdauer), 120},
    {"Tuermatik", FIELD(Tuermatik), 3},
    {"SchaltdauerMfr", FIELD(SchaltdauerMfr), 3},
    {"Kettenruf", FIELD(Kettenruf), 20},
    {"PegelKommend", FIELD(PegelKommend), 4096},
    {"PegelGehend", FIELD(PegelGehend), 4096},
    {"Nachtriggern", FIELD(Nachtriggern), 3},
    {"BSGProgKennziffer", FIELD(BSGProgKennziffer), 0},
    {"Rufton0", FIELD(Rufton[0]), eRufton1},
    {"Rufton6", FIELD(Rufton[6]), eRufton1},
    {"Sprachausgabe", FIELD(Sprachausgabe), 0},
    {"ConciergeAktiv", FIELD(ConciergeAktiv), 0},
    {"ConciergeVideo", FIELD(ConciergeVideo), 0},
    {"Tln0BusAdr", FIELD(Tln[0].BusAdr), 1},
    {"Tln2BusAdr", FIELD(Tln[2].BusAdr), 3},
    {"Tln2LogAdr", FIELD(Tln[2].LogAdr), 3},
    {"Tln30BusAdr", FIELD(Tln[30].BusAdr), 31},
    {"Tln30LogAdr", FIELD(Tln[30].LogAdr), 31},
    {"Tln0Video", FIELD(Tln[0].Video), 0},
    {"MfeMode", FIELD(Mfe.Mode), eModeMeldeEingangUndefined},
    {"MfeProviderIdx", FIELD(Mfe.ProviderIdx), 0xFF},
    {"MfePGIdx", FIELD(Mfe.PGIdx), 0},
    {"MfeOptions", FIELD(Mfe.Options), 0},
    {"MfrMode", FIELD(Mfr.Mode), eModeSchaltAusgangSchalter},
    {"MfrTlnIdx", FIELD(Mfr.TlnIdx), 0xFFFF},
    {"RAKEingang0Mode", FIELD(RAKEingang[0].Mode), 0},
    {"RAKEingang11ProviderIdx", FIELD(RAKEingang[11].ProviderIdx), 0xFF},
    {"RAKEingang11Options", FIELD(RAKEingang[11].Options), 0},
    {"RAKAusgang0Mode", FIELD(RAKAusgang[0].Mode), eModeSchaltAusgangSchalter},
    {"RAKAusgang11TlnIdx", FIELD(RAKAusgang[11].TlnIdx), 0xFFFF},
    {"RAKAusgang11Sprache", FIELD(RAKAusgang[11].Sprache), 0},
    {"BSMRelais5Adr", FIELD(BSMRelais[5].Adr), 0},
    {"BSMRelais5Relais", FIELD(BSMRelais[5].Relais), 0},
    {"Schaltcode5Adr", FIELD(Schaltcode[5].Adr), 0},
    {"Schaltcode5Video", FIELD(Schaltcode[5].Video), 0},
    {"Kameratyp", FIELD(Kameratyp), 2},
    {"Codierqual", FIELD(Codierqual), 60},
    {"Bandbreite", FIELD(Bandbreite), 2},
    {"Helligkeit", FIELD(Helligkeit), 60},
    {"Kontrast", FIELD(Kontrast), 60},
    {"Saettigung", FIELD(Saettigung), 60},
    {"SMS9Protokoll", FIELD(SMS[9].Protokoll), 0},
    {"TypeIT", FIELD(TypeIT), eIT_Nivo},
    {"TypeRAK", FIELD(TypeRAK), eRAK_Undefined},
    {"TypeBSM", FIELD(TypeBSM), 0},
    {"TypeKMR", FIELD(TypeKMR), 0},
    {"IO_TlnAdr", FIELD(IO_TlnAdr), 1},
    {"IO_Version", FIELD(IO_Version), 1},
    {"Sprachwaage", FIELD(Sprachwaage), 1},
    {"StreamLength", [](const MoxDaten& d) -> long { return TagStrLen(&d.stream); }, 0},
};

#undef FIELD

INSTANTIATE_TEST_SUITE_P(Record, ScalarDefaults, testing::ValuesIn(kScalarDefaults),
                         [](const auto& info) { return std::string(info.param.name); });

// -------------------------------------------------------------- text defaults

struct TextDefault {
    const char* name;
    std::function<const char*(const MoxDaten&)> field;
    const char* expected; // Windows-1252 bytes
};

void PrintTo(const TextDefault& c, std::ostream* os) {
    *os << c.name;
}

class TextDefaults : public testing::TestWithParam<TextDefault> {};

TEST_P(TextDefaults, AfterInit) {
    auto d = NewRecord();
    EXPECT_EQ(std::string(GetParam().field(*d)), GetParam().expected);
}

#define TEXT(expr) [](const MoxDaten& d) -> const char* { return d.expr; }

const TextDefault kTextDefaults[] = {
    {"Rnr", TEXT(Rnr), ""},
    {"RnrExtBelegung", TEXT(RnrExtBelegung), ""},
    {"Sperrnr0", TEXT(Sperrnr[0]), ""},
    {"Sperrnr3", TEXT(Sperrnr[3]), ""},
    {"MasterPin", TEXT(MasterPin), "4817"},
    {"ConciergeRnr", TEXT(ConciergeRnr), ""},
    {"Tln0Rnr", TEXT(Tln[0].Rnr), ""},
    {"MfeNr1", TEXT(Mfe.Nr1), ""},
    {"MfeSMSRnr", TEXT(Mfe.SMSRnr), ""},
    {"MfeKettenRnr", TEXT(Mfe.KettenRnr), ""},
    {"RAKEingang5Nr1", TEXT(RAKEingang[5].Nr1), ""},
    {"BSMRelais0Text", TEXT(BSMRelais[0].Text), ""},
    {"Schaltcode0Text", TEXT(Schaltcode[0].Text), ""},
    {"MeldeeingangsText0", TEXT(MeldeeingangsText[0]), "Sensor 1"},
    {"MeldeeingangsText11", TEXT(MeldeeingangsText[11]), "Sensor 12"},
    {"SchaltausgangsText0", TEXT(SchaltausgangsText[0]), "Aktor 1"},
    {"SchaltausgangsText11", TEXT(SchaltausgangsText[11]), "Aktor 12"},
    {"TuerrufText0", TEXT(TuerrufText[0]), "Haust\xFCr 1"},
    {"TuerrufText5", TEXT(TuerrufText[5]), "Haust\xFCr 6"},
    {"TuerrufText6", TEXT(TuerrufText[6]), "Haust\xFCr"},
    {"EtagenrufText", TEXT(EtagenrufText), "Wohnungst\xFCr"},
    {"SMS0Provider", TEXT(SMS[0].Provider), ""},
    {"SMS9Rnr", TEXT(SMS[9].Rnr), ""},
    {"VersionMox", TEXT(VersionMox), ""},
    {"VersionKMR", TEXT(VersionKMR), ""},
};

#undef TEXT

INSTANTIATE_TEST_SUITE_P(Record, TextDefaults, testing::ValuesIn(kTextDefaults),
                         [](const auto& info) { return std::string(info.param.name); });

// The default door name is stored as Windows-1252 bytes, "ü" as one byte 0xFC.
TEST(Defaults, DoorTextIsWindows1252) {
    auto d = NewRecord();
    const unsigned char expected[] = {0x48, 0x61, 0x75, 0x73, 0x74, 0xFC, 0x72, 0x20, 0x31, 0x00};
    EXPECT_EQ(std::memcmp(d->TuerrufText[0], expected, sizeof expected), 0);
}

// ---------------------------------------------------------- permission groups

struct PGDefault {
    const char* name;
    int group;
    const char* pin;
    uint32_t permission;
    uint16_t tlnIdx;
};

constexpr uint32_t kGroup0 = ePermTueroeffner | ePermLicht | ePermTueranwahl | ePermMultifktRelais |
                             ePermTuermatik | 0x3F0000u | ePermSchaltcode78;
constexpr uint32_t kGroupTln = ePermEinwahl | 0x3F0000u | ePermSchaltcode78;

const PGDefault kPGDefaults[] = {
    {"Group0", 0, "", kGroup0, 0xFFFF},    {"Group1", 1, "4817", 0, 0xFFFF},
    {"Group2", 2, "5093", kGroupTln, 0},   {"Group3", 3, "6271", kGroupTln, 1},
    {"Group4", 4, "7358", kGroupTln, 2},   {"Group5", 5, "8046", kGroupTln, 3},
    {"Group6", 6, "9162", kGroupTln, 4},   {"Group7", 7, "3705", kGroupTln, 5},
    {"Group8", 8, "2549", kGroupTln, 6},   {"Group9", 9, "1486", kGroupTln, 7},
    {"Group10", 10, "6938", kGroupTln, 8},
};

void PrintTo(const PGDefault& c, std::ostream* os) {
    *os << c.name;
}

class PGDefaults : public testing::TestWithParam<PGDefault> {};

TEST_P(PGDefaults, WithoutController) {
    auto d = NewRecord();
    const MoxPG& pg = d->PG[GetParam().group];
    EXPECT_STREQ(pg.Pin, GetParam().pin);
    EXPECT_EQ(pg.Permission, GetParam().permission);
    EXPECT_EQ(pg.TlnIdx, GetParam().tlnIdx);
    EXPECT_EQ(pg.Schaltausgang, 0);
    EXPECT_STREQ(pg.KettenRnr, "");
    EXPECT_STREQ(pg.DiversionRnr, "");
    EXPECT_STREQ(pg.SignalRnr, "");
}

// A group reset with a controller present grants the controller right and
// all 12 actuators to every group but group 1.
TEST_P(PGDefaults, WithController) {
    auto d = NewRecord();
    MoxSetTypeRAK(d.get(), eRAK_Large);
    MoxInitPG(d.get());
    const MoxPG& pg = d->PG[GetParam().group];
    const bool granted = GetParam().group != 1;
    EXPECT_EQ(pg.Permission, GetParam().permission | (granted ? ePermRAK : 0u));
    EXPECT_EQ(pg.Schaltausgang, granted ? 0x0FFF : 0);
    EXPECT_STREQ(pg.Pin, GetParam().pin);
    EXPECT_EQ(pg.TlnIdx, GetParam().tlnIdx);
}

INSTANTIATE_TEST_SUITE_P(Record, PGDefaults, testing::ValuesIn(kPGDefaults),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ edge cases

TEST(Defaults, CountsFollowTheDoorInterface) {
    auto d = NewRecord();
    EXPECT_EQ(MoxGetAnzTln(d.get()), 3);
    EXPECT_EQ(MoxGetAnzPG(d.get()), 5);
    EXPECT_EQ(MoxGetTlnBusAdr(d.get(), 2), 3);
    EXPECT_EQ(MoxGetTlnLogAdr(d.get(), 2), 3);
}

// Two initialisations give the same bytes whatever the record held: the
// camera choice does not follow an old camera device, the relay type not an
// old door interface.
TEST(Defaults, InitIsDeterministic) {
    auto fresh = std::make_unique<MoxDaten>();
    std::memset(static_cast<void*>(fresh.get()), 0, sizeof *fresh);
    MoxInitDaten(fresh.get());

    auto used = std::make_unique<MoxDaten>();
    std::memset(static_cast<void*>(used.get()), 0xA5, sizeof *used);
    used->TypeKMR = 1;
    used->TypeIT = eIT_Pello;
    used->TypeBSM = 1;
    MoxInitDaten(used.get());

    EXPECT_EQ(fresh->Kamera, 0);
    EXPECT_EQ(fresh->TypeBSM, 0);
    EXPECT_EQ(std::memcmp(fresh.get(), used.get(), sizeof *fresh), 0);
}

TEST(Defaults, InitSystemFollowsCameraDevice) {
    auto d = NewRecord();
    MoxSetTypeKMR(d.get(), 1);
    MoxInitSystem(d.get());
    EXPECT_EQ(d->Kamera, eKameraKMR);
    MoxSetTypeKMR(d.get(), 0);
    MoxInitSystem(d.get());
    EXPECT_EQ(d->Kamera, eKameraKeine);
}

TEST(Defaults, InitTlnOutsideTableDoesNothing) {
    auto d = NewRecord();
    MoxSetTlnVideo(d.get(), 0, 1);
    Snapshot before(*d);
    MoxInitTln(d.get(), MOX_MAX_TLN);
    MoxInitTln(d.get(), 255);
    EXPECT_TRUE(before.Unchanged(*d));
    MoxInitTln(d.get(), 0);
    EXPECT_EQ(d->Tln[0].Video, 0);
}

TEST(Defaults, DeleteAllTlnResetsEverySubscriber) {
    auto d = NewRecord();
    MoxSetTypeIT(d.get(), eIT_Pello);
    for (uint8_t i = 0; i < MOX_MAX_TLN; ++i) {
        MoxSetTlnRnr(d.get(), i, "123");
        MoxSetTlnBusAdr(d.get(), i, 0x200 + i);
    }
    MoxDeleteAllTln(d.get());
    for (int i = 0; i < MOX_MAX_TLN; ++i) {
        EXPECT_STREQ(d->Tln[i].Rnr, "") << i;
        EXPECT_EQ(d->Tln[i].BusAdr, 0) << i;
    }
}

// The page resets restore their section only.
TEST(Defaults, SectionResetsRestoreTheirSection) {
    auto d = NewRecord();
    auto reference = NewRecord();
    MoxSetTuerrufText(d.get(), 0, "Eingang");
    MoxSetRufton(d.get(), 3, eRufton2);
    MoxSetSMSProvider(d.get(), 2, "Anbieter");
    MoxSetKMRBandbreite(d.get(), 1);
    MoxSetSperrnr(d.get(), 1, "0190");
    MoxSetSchaltcodeText(d.get(), 2, "Tor");
    MoxSetBSMRelais(d.get(), 1, 0x44, 2);
    MoxSetMfrMode(d.get(), eModeSchaltAusgangLicht, 0);
    MoxSetTuermatik(d.get(), 9);
    MoxSetRnr(d.get(), "0301234");
    MoxSetEtagenrufText(d.get(), "Flur");
    MoxSetMeldeeingangsText(d.get(), 4, "Rauch");
    MoxSetSchaltausgangsText(d.get(), 4, "Pumpe");
    MoxSetPGTlnIdx(d.get(), 2, 7);

    MoxInitTuerrufTexte(d.get());
    MoxInitSMS(d.get());
    MoxInitKMR(d.get());
    MoxInitSperrnr(d.get());
    MoxInitSchaltcode(d.get());
    MoxInitBSMRelais(d.get());
    MoxInitMfr(d.get());
    MoxInitSystem(d.get());
    MoxInitKTXKonfig(d.get());
    MoxInitMfe(d.get());
    MoxInitRAKEingang(d.get());
    MoxInitRAKAusgang(d.get());
    MoxInitPG(d.get());
    EXPECT_EQ(std::memcmp(d.get(), reference.get(), sizeof *d), 0);
}

// ----------------------------------------------------- cascades of the defaults

TEST(DefaultsCascade, LargeDoorInterfaceClearsAddressesAndNeedsRelays) {
    auto d = NewRecord();
    MoxSetBSMRelais(d.get(), 0, 0x30, 1);
    EXPECT_TRUE(MoxSetTypeIT(d.get(), eIT_Pello));
    for (int i = 0; i < MOX_MAX_TLN; ++i) {
        EXPECT_EQ(d->Tln[i].BusAdr, 0) << i;
        EXPECT_EQ(d->Tln[i].LogAdr, 0) << i;
    }
    EXPECT_EQ(d->TypeBSM, 1);
    EXPECT_EQ(d->BSMRelais[0].Adr, 0); // relays cleared by the type change
    EXPECT_EQ(MoxGetAnzTln(d.get()), 31);
    EXPECT_EQ(MoxGetAnzPG(d.get()), 11);
}

TEST(DefaultsCascade, ControllerTextsAreRestoredWhenTheControllerGoes) {
    auto d = NewRecord();
    MoxSetTypeRAK(d.get(), eRAK_Large);
    MoxSetMeldeeingangsText(d.get(), 11, "Wasser");
    MoxSetSchaltausgangsText(d.get(), 0, "Garage");
    MoxSetTypeRAK(d.get(), eRAK_Undefined);
    EXPECT_STREQ(d->MeldeeingangsText[11], "Sensor 12");
    EXPECT_STREQ(d->SchaltausgangsText[0], "Aktor 1");
}

// ------------------------------------------------------------ block copy

// A record copied as a block works on its own stream after the original is
// gone: the stream does not lead back into the original.
TEST(Defaults, BlockCopyOutlivesOriginal) {
    auto original = NewRecord();
    auto copy = std::make_unique<MoxDaten>();
    std::memcpy(static_cast<void*>(copy.get()), original.get(), sizeof *copy);
    const uint8_t* oldStart = TagStrStartPtr(&original->stream);
    original.reset();

    MoxClearStream(copy.get());
    const uint8_t* start = TagStrStartPtr(MoxGetStream(copy.get()));
    EXPECT_NE(start, oldStart);
    EXPECT_EQ(start, copy->stream.buf);
    EXPECT_EQ(MoxGetStreamLen(copy.get()), 0u);
    EXPECT_EQ(TagStrWriteByte(MoxGetStream(copy.get()), 5, 40, true), 3);
    EXPECT_EQ(MoxGetStreamLen(copy.get()), 3u);
    EXPECT_EQ(copy->stream.buf[2], 40);
}

TEST(Defaults, StreamWrappers) {
    auto d = NewRecord();
    uint8_t image[64];
    MoxSetStreamBuffer(d.get(), image, sizeof image);
    MoxClearStream(d.get());
    EXPECT_EQ(image[63], 0xFF);
    EXPECT_EQ(TagStrWriteByte(MoxGetStream(d.get()), 5, 40, true), 3);
    EXPECT_EQ(MoxGetStreamLen(d.get()), 3u);
    EXPECT_EQ(image[0], 5);
    MoxSetStreamIntern(d.get());
    EXPECT_EQ(MoxGetStreamLen(d.get()), 0u);
    EXPECT_EQ(TagStrStartPtr(MoxGetStream(d.get())), d->stream.buf);
}

} // namespace
