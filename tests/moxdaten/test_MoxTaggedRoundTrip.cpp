// Round trip of the tagged image: seeded random configurations, set up only
// through the accessors and within their ranges, written whole and loaded
// back must come out equal in every field; and for every section and index
// the count-only call must predict the written length exactly.

#include "MoxTagged.h"

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "TaggedStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace moxtagged_test {

// A text field as the bytes before its NUL (never past its capacity).
template <size_t N> std::string Field(const char (&f)[N]) {
    return std::string(f, strnlen(f, N));
}

#define EXPECT_SAME(field) EXPECT_EQ(a.field, b.field) << #field
#define EXPECT_SAME_TEXT(field) EXPECT_EQ(Field(a.field), Field(b.field)) << #field

// Every field of the record but its stream.
void ExpectSameRecord(const MoxDaten& a, const MoxDaten& b) {
    EXPECT_SAME(Land);
    EXPECT_SAME(Sprache);
    EXPECT_SAME_TEXT(Rnr);
    EXPECT_SAME_TEXT(RnrExtBelegung);
    for (int i = 0; i < MOX_MAX_SPERRNR; ++i)
        EXPECT_SAME_TEXT(Sperrnr[i]) << i;
    EXPECT_SAME_TEXT(MasterPin);
    EXPECT_SAME(Kamera);
    EXPECT_SAME(Tuerrufannahme);
    EXPECT_SAME(Tuerrufdauer);
    EXPECT_SAME(Tuermatik);
    EXPECT_SAME(SchaltdauerMfr);
    EXPECT_SAME(Kettenruf);
    EXPECT_SAME(PegelKommend);
    EXPECT_SAME(PegelGehend);
    EXPECT_SAME(Nachtriggern);
    EXPECT_SAME(BSGProgKennziffer);
    for (int i = 0; i < MOX_MAX_TUER; ++i)
        EXPECT_SAME(Rufton[i]) << i;
    EXPECT_SAME(Sprachausgabe);
    EXPECT_SAME(ConciergeAktiv);
    EXPECT_SAME_TEXT(ConciergeRnr);
    EXPECT_SAME(ConciergeVideo);
    for (int i = 0; i < MOX_MAX_TLN; ++i) {
        EXPECT_SAME_TEXT(Tln[i].Rnr) << i;
        EXPECT_SAME(Tln[i].BusAdr) << i;
        EXPECT_SAME(Tln[i].LogAdr) << i;
        EXPECT_SAME(Tln[i].Video) << i;
    }
    for (int i = 0; i < MOX_MAX_PG; ++i) {
        EXPECT_SAME_TEXT(PG[i].Pin) << i;
        EXPECT_SAME(PG[i].Permission) << i;
        EXPECT_SAME_TEXT(PG[i].KettenRnr) << i;
        EXPECT_SAME_TEXT(PG[i].DiversionRnr) << i;
        EXPECT_SAME_TEXT(PG[i].SignalRnr) << i;
        EXPECT_SAME(PG[i].TlnIdx) << i;
        EXPECT_SAME(PG[i].Schaltausgang) << i;
    }
    auto sameInput = [](const MoxMeldeEingang& x, const MoxMeldeEingang& y, const char* what) {
        EXPECT_EQ(x.Mode, y.Mode) << what;
        EXPECT_EQ(Field(x.Nr1), Field(y.Nr1)) << what;
        EXPECT_EQ(x.ProviderIdx, y.ProviderIdx) << what;
        EXPECT_EQ(Field(x.SMSRnr), Field(y.SMSRnr)) << what;
        EXPECT_EQ(Field(x.KettenRnr), Field(y.KettenRnr)) << what;
        EXPECT_EQ(x.PGIdx, y.PGIdx) << what;
        EXPECT_EQ(x.Options, y.Options) << what;
    };
    sameInput(a.Mfe, b.Mfe, "Mfe");
    EXPECT_SAME(Mfr.Mode);
    EXPECT_SAME(Mfr.TlnIdx);
    for (int i = 0; i < MOX_MAX_RAK; ++i) {
        sameInput(a.RAKEingang[i], b.RAKEingang[i], ("RAKEingang " + std::to_string(i)).c_str());
        EXPECT_SAME(RAKAusgang[i].Mode) << i;
        EXPECT_SAME(RAKAusgang[i].TlnIdx) << i;
        EXPECT_SAME(RAKAusgang[i].Sprache) << i;
        EXPECT_SAME_TEXT(MeldeeingangsText[i]) << i;
        EXPECT_SAME_TEXT(SchaltausgangsText[i]) << i;
    }
    for (int i = 0; i < MOX_MAX_BSMRELAIS; ++i) {
        EXPECT_SAME(BSMRelais[i].Adr) << i;
        EXPECT_SAME(BSMRelais[i].Relais) << i;
        EXPECT_SAME_TEXT(BSMRelais[i].Text) << i;
    }
    for (int i = 0; i < MOX_MAX_SCHALTCODE; ++i) {
        EXPECT_SAME(Schaltcode[i].Adr) << i;
        EXPECT_SAME(Schaltcode[i].Video) << i;
        EXPECT_SAME_TEXT(Schaltcode[i].Text) << i;
    }
    EXPECT_SAME(Kameratyp);
    EXPECT_SAME(Codierqual);
    EXPECT_SAME(Bandbreite);
    EXPECT_SAME(Helligkeit);
    EXPECT_SAME(Kontrast);
    EXPECT_SAME(Saettigung);
    for (int i = 0; i < MOX_MAX_TUER; ++i)
        EXPECT_SAME_TEXT(TuerrufText[i]) << i;
    EXPECT_SAME_TEXT(EtagenrufText);
    for (int i = 0; i < MOX_MAX_SMS; ++i) {
        EXPECT_SAME_TEXT(SMS[i].Provider) << i;
        EXPECT_SAME_TEXT(SMS[i].Rnr) << i;
        EXPECT_SAME(SMS[i].Protokoll) << i;
    }
    EXPECT_SAME_TEXT(VersionMox);
    EXPECT_SAME_TEXT(VersionKMR);
    EXPECT_SAME(TypeIT);
    EXPECT_SAME(TypeRAK);
    EXPECT_SAME(TypeBSM);
    EXPECT_SAME(TypeKMR);
    EXPECT_SAME(IO_TlnAdr);
    EXPECT_SAME(IO_Version);
    EXPECT_SAME(Sprachwaage);
}

#undef EXPECT_SAME
#undef EXPECT_SAME_TEXT

// Random configurations, reached through the accessors as a user would.
class RandomRecord {
public:
    explicit RandomRecord(uint32_t seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    uint8_t U8() { return static_cast<uint8_t>(Int(0, 255)); }
    uint16_t U16() { return static_cast<uint16_t>(Int(0, 0xFFFF)); }
    uint8_t Flag() { return static_cast<uint8_t>(Int(0, 1)); }

    std::string Digits(int maxLen) {
        static constexpr char kDigits[] = "0123456789*#R";
        std::string s(static_cast<size_t>(Int(0, maxLen)), '0');
        for (char& c : s)
            c = kDigits[Int(0, 12)];
        return s;
    }

    // Any Windows-1252 byte but NUL; sometimes longer than the field, so the
    // setter's cut is part of the trip.
    std::string Text(int maxLen) {
        std::string s(static_cast<size_t>(Int(0, maxLen)), 'a');
        for (char& c : s)
            c = static_cast<char>(Int(1, 255));
        return s;
    }

    // Full-length numbers and texts when full is set.
    void Fill(MoxDaten* d, uint8_t typeIT, bool full);

private:
    std::string DigitsOf(int maxLen, bool full) {
        return full ? std::string(static_cast<size_t>(maxLen), '9') : Digits(maxLen);
    }
    std::string TextOf(int maxLen, bool full) {
        return full ? std::string(static_cast<size_t>(maxLen), 'W') : Text(maxLen + 4);
    }
    void FillInput(MoxDaten* d, int i, bool full);

    std::mt19937 rng_;
};

void RandomRecord::FillInput(MoxDaten* d, int i, bool full) {
    const bool box = i < 0;
    const uint8_t idx = static_cast<uint8_t>(i);
    const int mode = box ? Int(0, 5) : Int(0, 2);
    const std::string direkt = DigitsOf(24, full), ketten = DigitsOf(24, full),
                      sms = DigitsOf(24, full);
    switch (mode) {
    case eModeMeldeEingangMeldefkt:
        if (box)
            MoxSetMfeMeldefkt(d, Flag(), direkt.c_str(), Flag(), ketten.c_str(), U8(), sms.c_str(),
                              Flag(), Flag(), Flag(), Flag(), Flag());
        else
            MoxSetRAKEingangMeldefkt(d, idx, Flag(), direkt.c_str(), Flag(), ketten.c_str(), U8(),
                                     sms.c_str(), Flag(), Flag(), Flag(), Flag(), Flag());
        break;
    case eModeMeldeEingangSchaltuhr:
        if (box)
            MoxSetMfeSchaltuhr(d, static_cast<uint8_t>(Int(0, 4)), U8());
        else
            MoxSetRAKEingangSchaltuhr(d, idx, static_cast<uint8_t>(Int(0, 4)), U8());
        break;
    case eModeMeldeEingangEtagenruf:
        MoxSetMfeEtagenruf(d, direkt.c_str());
        break;
    default:
        if (box)
            MoxSetMfeMode(d, mode == 5 ? U8() : static_cast<uint8_t>(mode));
        else
            MoxSetRAKEingangMode(d, idx, static_cast<uint8_t>(mode));
        break;
    }
}

void RandomRecord::Fill(MoxDaten* d, uint8_t typeIT, bool full) {
    MoxInitDaten(d);
    // The door interface first: its cascade resets subscribers and groups.
    MoxSetTypeIT(d, typeIT);
    MoxSetTypeRAK(d, Flag());
    MoxSetTypeKMR(d, Flag());
    MoxSetTypeBSM(d, Flag());

    MoxSetLand(d, U8());
    MoxSetSprache(d, U8());
    MoxSetRnr(d, DigitsOf(24, full).c_str());
    MoxSetRnrExtBelegung(d, DigitsOf(1, full).c_str());
    for (uint8_t i = 0; i < MOX_MAX_SPERRNR; ++i)
        MoxSetSperrnr(d, i, DigitsOf(4, full).c_str());
    // A camera only where one can be connected: the record refuses others.
    const auto kamera = static_cast<uint8_t>(Int(0, 2));
    if (kamera == eKameraKeine || (kamera == eKameraRAK && d->TypeRAK != eRAK_Undefined) ||
        (kamera == eKameraKMR && d->TypeKMR != 0)) {
        EXPECT_TRUE(MoxSetKamera(d, kamera));
    }
    MoxSetTuerrufannahme(d, static_cast<uint8_t>(Int(20, 120)));
    MoxSetTuerrufdauer(d, static_cast<uint16_t>(Int(60, 600)));
    MoxSetTuermatik(d, static_cast<uint8_t>(Int(0, 10)));
    MoxSetSchaltdauerMfr(d, static_cast<uint16_t>(Int(0, 999)));
    MoxSetKettenruf(d, static_cast<uint8_t>(Int(10, 30)));
    MoxSetPegelKommend(d, static_cast<uint16_t>(Int(1, 0xFFFF)));
    MoxSetPegelGehend(d, static_cast<uint16_t>(Int(1, 0xFFFF)));
    MoxSetNachtriggern(d, static_cast<uint8_t>(Int(1, 10)));
    MoxSetBSGProgKennziffer(d, U16());
    MoxSetSprachausgabe(d, U8());
    MoxSetSprachwaage(d, U8());
    MoxSetConciergeAktiv(d, U8());
    MoxSetConciergeVideo(d, U8());
    MoxSetConciergeRnr(d, DigitsOf(20, full).c_str());
    for (uint8_t i = 0; i < MOX_MAX_TUER; ++i) {
        MoxSetRufton(d, i, U8());
        MoxSetTuerrufText(d, i, TextOf(30, full).c_str());
    }
    for (uint8_t i = 0; i < MOX_MAX_BSMRELAIS; ++i) {
        MoxSetBSMRelais(d, i, U16(), U8());
        MoxSetBSMRelaisText(d, i, TextOf(16, full).c_str());
    }
    for (uint8_t i = 0; i < MOX_MAX_SCHALTCODE; ++i) {
        MoxSetSchaltcodeAdr(d, i, U16());
        MoxSetSchaltcodeVideo(d, i, U8());
        MoxSetSchaltcodeText(d, i, TextOf(16, full).c_str());
    }
    // No accessor sets these: the box reports its versions and only a reset
    // or an image changes the system code.
    std::snprintf(d->VersionMox, sizeof d->VersionMox, "%s", TextOf(16, full).c_str());
    std::snprintf(d->VersionKMR, sizeof d->VersionKMR, "%s", TextOf(16, full).c_str());
    std::snprintf(d->MasterPin, sizeof d->MasterPin, "%s", DigitsOf(8, full).c_str());

    for (uint8_t i = 0; i < MoxGetAnzTln(d); ++i) {
        MoxSetTlnRnr(d, i, DigitsOf(20, full).c_str());
        MoxSetTlnBusAdr(d, i, U16());
        MoxSetTlnLogAdr(d, i, U16());
        MoxSetTlnVideo(d, i, U8());
    }
    using RightSetter = bool (*)(MoxDaten*, uint8_t, uint8_t);
    static constexpr RightSetter kRights[] = {
        MoxSetPGTueroeffner,
        MoxSetPGLicht,
        MoxSetPGTueranwahl,
        MoxSetPGMultifktRelais,
        MoxSetPGRAK,
        MoxSetPGTuermatik,
        MoxSetPGKettenruf,
        MoxSetPGSignalisierung,
        MoxSetPGDiversion,
        MoxSetPGEinwahl,
        MoxSetPGTuermatikEin,
        MoxSetPGKettenrufEin,
        MoxSetPGSignalisierungEin,
        MoxSetPGDiversionEin,
        MoxSetPGTuermatikSignal,
        MoxSetPGSchaltcode78,
    };
    for (uint8_t i = 0; i < MoxGetAnzPG(d); ++i) {
        std::string pin(4, '0');
        for (char& c : pin)
            c = static_cast<char>('0' + Int(0, 9));
        // Group 0 has no code.
        if (i > 0) {
            EXPECT_TRUE(MoxSetPGPin(d, i, pin.c_str()));
        }
        for (RightSetter set : kRights)
            set(d, i, full ? 1 : Flag());
        for (uint8_t n = 0; n < 6; ++n)
            MoxSetPGSchaltcode(d, i, n, full ? 1 : Flag());
        for (uint8_t n = 0; n < MOX_MAX_SCHALTAUSGANG; ++n)
            MoxSetPGSchaltausgang(d, i, n, full ? 1 : Flag());
        MoxSetPGKettenRnr(d, i, DigitsOf(24, full).c_str());
        MoxSetPGSignalRnr(d, i, DigitsOf(24, full).c_str());
        MoxSetPGDiversionRnr(d, i, DigitsOf(24, full).c_str());
        MoxSetPGTlnIdx(d, i, U16());
    }
    MoxSetMfrMode(d, U8(), U16());
    FillInput(d, -1, full);
    for (uint8_t i = 0; i < MOX_MAX_RAK; ++i) {
        MoxSetRAKAusgangMode(d, i, U8(), U16());
        MoxSetRAKAusgangSprache(d, i, U8());
        MoxSetSchaltausgangsText(d, i, TextOf(30, full).c_str());
        MoxSetMeldeeingangsText(d, i, TextOf(30, full).c_str());
        FillInput(d, i, full);
    }
    MoxSetEtagenrufText(d, TextOf(30, full).c_str());
    for (uint8_t i = 0; i < MOX_MAX_SMS; ++i) {
        MoxSetSMSProvider(d, i, TextOf(15, full).c_str());
        MoxSetSMSRnr(d, i, DigitsOf(24, full).c_str());
        MoxSetSMSProtokoll(d, i, U8());
    }
    MoxSetKMRKameratyp(d, U8());
    MoxSetKMRCodierqual(d, static_cast<uint8_t>(Int(0, 100)));
    MoxSetKMRBandbreite(d, static_cast<uint8_t>(Int(1, 2)));
    MoxSetKMRHelligkeit(d, static_cast<uint8_t>(Int(0, 100)));
    MoxSetKMRKontrast(d, static_cast<uint8_t>(Int(0, 100)));
    MoxSetKMRSaettigung(d, static_cast<uint8_t>(Int(0, 100)));
}

} // namespace moxtagged_test

namespace {

using moxtagged_test::ExpectSameRecord;
using moxtagged_test::RandomRecord;
using Bytes = std::vector<uint8_t>;

constexpr size_t kImageSize = 32768;
constexpr uint32_t kSeeds = 40;

struct TypeRow {
    const char* name;
    uint8_t typeIT;
};

const TypeRow kTypes[] = {
    {"Nivo", eIT_Nivo}, {"Pello", eIT_Pello}, {"Quarz", eIT_Quarz}, {"NoDoorInterface", 0}};

void PrintTo(const TypeRow& row, std::ostream* os) {
    *os << row.name;
}

class RoundTrip : public ::testing::TestWithParam<TypeRow> {};

TEST_P(RoundTrip, RandomRecordsComeBackEqual) {
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        MoxDaten original{};
        RandomRecord(seed * 7919u + GetParam().typeIT).Fill(&original, GetParam().typeIT, false);
        Bytes image(kImageSize);
        MoxSetStreamBuffer(&original, image.data(), image.size());
        const uint16_t n = MoxWriteTaggedData(&original, eTaggedData_All, 255, true);
        ASSERT_FALSE(TagStrFailed(MoxGetStream(&original)));
        ASSERT_EQ(n, MoxGetStreamLen(&original));

        MoxDaten loaded{};
        ASSERT_TRUE(MoxLoadDaten(&loaded, image.data(), image.size()));
        ExpectSameRecord(original, loaded);
        if (HasFailure())
            return;
    }
}

TEST_P(RoundTrip, FullRecordComesBackEqual) {
    MoxDaten original{};
    RandomRecord(5).Fill(&original, GetParam().typeIT, true);
    Bytes image(kImageSize);
    MoxSetStreamBuffer(&original, image.data(), image.size());
    MoxWriteTaggedData(&original, eTaggedData_All, 255, true);
    ASSERT_FALSE(TagStrFailed(MoxGetStream(&original)));
    MoxDaten loaded{};
    ASSERT_TRUE(MoxLoadDaten(&loaded, image.data(), image.size()));
    ExpectSameRecord(original, loaded);
}

// Packages one by one, in the document's order, each read into the same
// record: the box's view after a transfer.
TEST_P(RoundTrip, PackagesReadOneByOneGiveTheWholeRecord) {
    MoxDaten original{};
    RandomRecord(GetParam().typeIT + 100u).Fill(&original, GetParam().typeIT, false);
    Bytes image(kImageSize);
    MoxSetStreamBuffer(&original, image.data(), image.size());
    MoxDaten box{};
    MoxInitDaten(&box);
    const uint8_t anzTln = MoxGetAnzTln(&original), anzPG = MoxGetAnzPG(&original);
    auto send = [&](uint8_t section, uint8_t index) {
        const uint16_t n = MoxWriteTaggedData(&original, section, index, true);
        Bytes package(image.begin(), image.begin() + n);
        MoxSetStreamBuffer(&box, package.data(), package.size());
        ASSERT_TRUE(MoxParseTaggedData(&box)) << int(section) << "/" << int(index);
    };
    for (uint8_t section : {eTaggedData_SysData, eTaggedData_Concierge, eTaggedData_Mfe,
                            eTaggedData_Mfr, eTaggedData_Texte, eTaggedData_KMR})
        send(section, 0);
    for (uint8_t i = 0; i < anzTln; ++i)
        send(eTaggedData_Tln, i);
    for (uint8_t i = 0; i < anzPG; ++i)
        send(eTaggedData_PG, i);
    for (uint8_t i = 0; i < MOX_MAX_RAK; ++i) {
        send(eTaggedData_RAKAusgang, i);
        send(eTaggedData_RAKEingang, i);
    }
    for (uint8_t i = 0; i < MOX_MAX_SMS; ++i)
        send(eTaggedData_SMS, i);
    ExpectSameRecord(original, box);
}

uint8_t Capacity(uint8_t section) {
    switch (section) {
    case eTaggedData_Tln:
        return MOX_MAX_TLN;
    case eTaggedData_PG:
        return MOX_MAX_PG;
    case eTaggedData_RAKAusgang:
    case eTaggedData_RAKEingang:
        return MOX_MAX_RAK;
    case eTaggedData_SMS:
        return MOX_MAX_SMS;
    default:
        return 1;
    }
}

TEST_P(RoundTrip, CountOnlyLengthEqualsWrittenLength) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        MoxDaten d{};
        RandomRecord(seed + 31u * GetParam().typeIT).Fill(&d, GetParam().typeIT, seed == 1);
        Bytes image(kImageSize);
        MoxSetStreamBuffer(&d, image.data(), image.size());
        for (uint8_t section = 0; section <= eTaggedData_Ende; ++section) {
            for (uint8_t index = 0; index < Capacity(section); ++index) {
                const uint16_t counted = MoxWriteTaggedData(&d, section, index, false);
                const uint16_t written = MoxWriteTaggedData(&d, section, index, true);
                EXPECT_EQ(counted, written) << int(section) << "/" << int(index);
                EXPECT_EQ(written, MoxGetStreamLen(&d)) << int(section) << "/" << int(index);
            }
        }
        EXPECT_EQ(MoxWriteTaggedData(&d, eTaggedData_All, 255, false),
                  MoxWriteTaggedData(&d, eTaggedData_All, 255, true));
    }
}

INSTANTIATE_TEST_SUITE_P(TaggedImage, RoundTrip, ::testing::ValuesIn(kTypes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RoundTripValues, SignedByteFieldsAndLongTextsSurvive) {
    MoxDaten d{};
    MoxInitDaten(&d);
    MoxSetLand(&d, 0xFF);
    MoxSetSMSProtokoll(&d, 3, 0x80);
    MoxSetRufton(&d, 6, 0xC3);
    MoxSetRAKAusgangMode(&d, 11, 0x81, 0x8000);
    ASSERT_TRUE(MoxSetTuerrufText(&d, 0, std::string(30, '\xFC').c_str()));
    Bytes image(kImageSize);
    MoxSetStreamBuffer(&d, image.data(), image.size());
    MoxWriteTaggedData(&d, eTaggedData_All, 255, true);
    MoxDaten loaded{};
    ASSERT_TRUE(MoxLoadDaten(&loaded, image.data(), image.size()));
    ExpectSameRecord(d, loaded);
}

} // namespace
