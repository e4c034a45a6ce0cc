// Accessors of the signal inputs and switching outputs: options act only in
// the mode they belong to, the mode setters keep or clear what they should,
// and the composite setters fill the whole input.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "test_MoxAccessUtil.h"

using namespace moxtest;

namespace {

// Which input a row works on: the box input or controller input 3.
constexpr uint8_t kRAK = 3;

MoxMeldeEingang& Mfe(MoxDaten* d) {
    return d->Mfe;
}
MoxMeldeEingang& RAK3(MoxDaten* d) {
    return d->RAKEingang[kRAK];
}

// ------------------------------------------------------------ option flags

struct OptionCase {
    const char* name;
    std::function<MoxMeldeEingang&(MoxDaten*)> input;
    std::function<bool(MoxDaten*, uint8_t)> set;
    std::function<uint8_t(const MoxDaten*)> get;
    uint16_t bit;
    uint16_t cleared; // bits a call with 0 clears (the SMS setter sets all four at once)
};

void PrintTo(const OptionCase& c, std::ostream* os) {
    *os << c.name;
}

class InputOption : public testing::TestWithParam<OptionCase> {
protected:
    void SetUp() override { m_rec = NewRecord(); }
    std::unique_ptr<MoxDaten> m_rec;
};

TEST_P(InputOption, ActsInSignalFunctionMode) {
    const OptionCase& c = GetParam();
    MoxDaten* d = m_rec.get();
    MoxMeldeEingang& in = c.input(d);
    in.Mode = eModeMeldeEingangMeldefkt;
    in.Options = 0;
    EXPECT_TRUE(c.set(d, 1));
    EXPECT_EQ(in.Options, c.bit);
    EXPECT_EQ(c.get(d), 1);
    in.Options = 0x7F;
    EXPECT_TRUE(c.set(d, 0));
    EXPECT_EQ(in.Options, 0x7F & ~c.cleared);
    EXPECT_EQ(c.get(d), 0);
}

TEST_P(InputOption, RefusedInEveryOtherMode) {
    const OptionCase& c = GetParam();
    MoxDaten* d = m_rec.get();
    MoxMeldeEingang& in = c.input(d);
    for (uint8_t mode : {0, 2, 3, 4, 200}) {
        in.Mode = mode;
        in.Options = 0x7F;
        Snapshot before(*d);
        EXPECT_FALSE(c.set(d, 0)) << int(mode);
        EXPECT_FALSE(c.set(d, 1)) << int(mode);
        EXPECT_TRUE(before.Unchanged(*d)) << int(mode);
        EXPECT_EQ(c.get(d), 0) << int(mode);
    }
}

// One SMS bit through the one setter of all four.
#define SMS_MFE(a, b, c, e)                                                                        \
    [](MoxDaten* d, uint8_t v) { return MoxSetMfeSMSOptionen(d, a * v, b * v, c * v, e * v); }
#define SMS_RAK(a, b, c, e)                                                                        \
    [](MoxDaten* d, uint8_t v) {                                                                   \
        return MoxSetRAKEingangSMSOptionen(d, kRAK, a * v, b * v, c * v, e * v);                   \
    }
#define MFE(R) [](MoxDaten* d, uint8_t v) { return MoxSetMfe##R(d, v); }
#define MFE_GET(R) [](const MoxDaten* d) { return MoxGetMfe##R(d); }
#define RAK(R) [](MoxDaten* d, uint8_t v) { return MoxSetRAKEingang##R(d, kRAK, v); }
#define RAK_GET(R) [](const MoxDaten* d) { return MoxGetRAKEingang##R(d, kRAK); }

const OptionCase kOptionCases[] = {
    {"MfeDirektruf", Mfe, MFE(Direktruf), MFE_GET(Direktruf), 0x01, 0x01},
    {"MfeKettenruf", Mfe, MFE(Kettenruf), MFE_GET(Kettenruf), 0x02, 0x02},
    {"MfeSprache", Mfe, MFE(Sprache), MFE_GET(Sprache), 0x40, 0x40},
    {"MfeSMSKeinDirektruf", Mfe, SMS_MFE(1, 0, 0, 0), MFE_GET(SMSKeinDirektruf), 0x04, 0x3C},
    {"MfeSMSKeinKettenruf", Mfe, SMS_MFE(0, 1, 0, 0), MFE_GET(SMSKeinKettenruf), 0x08, 0x3C},
    {"MfeSMSImmer", Mfe, SMS_MFE(0, 0, 1, 0), MFE_GET(SMSImmer), 0x10, 0x3C},
    {"MfeSMSVerbindung", Mfe, SMS_MFE(0, 0, 0, 1), MFE_GET(SMSVerbindung), 0x20, 0x3C},
    {"RAKDirektruf", RAK3, RAK(Direktruf), RAK_GET(Direktruf), 0x01, 0x01},
    {"RAKKettenruf", RAK3, RAK(Kettenruf), RAK_GET(Kettenruf), 0x02, 0x02},
    {"RAKSprache", RAK3, RAK(Sprache), RAK_GET(Sprache), 0x40, 0x40},
    {"RAKSMSKeinDirektruf", RAK3, SMS_RAK(1, 0, 0, 0), RAK_GET(SMSKeinDirektruf), 0x04, 0x3C},
    {"RAKSMSKeinKettenruf", RAK3, SMS_RAK(0, 1, 0, 0), RAK_GET(SMSKeinKettenruf), 0x08, 0x3C},
    {"RAKSMSImmer", RAK3, SMS_RAK(0, 0, 1, 0), RAK_GET(SMSImmer), 0x10, 0x3C},
    {"RAKSMSVerbindung", RAK3, SMS_RAK(0, 0, 0, 1), RAK_GET(SMSVerbindung), 0x20, 0x3C},
};

INSTANTIATE_TEST_SUITE_P(Inputs, InputOption, testing::ValuesIn(kOptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

// -------------------------------------------------------------- input numbers

struct NumberCase {
    const char* name;
    std::function<MoxMeldeEingang&(MoxDaten*)> input;
    std::function<bool(MoxDaten*, const char*)> set;
    TextGetter get;
    std::function<char*(MoxMeldeEingang&)> field;
    bool getterInEveryMode;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.name;
}

class InputNumber : public testing::TestWithParam<NumberCase> {
protected:
    void SetUp() override { m_rec = NewRecord(); }
    std::unique_ptr<MoxDaten> m_rec;
};

TEST_P(InputNumber, CutAt24DigitsInSignalFunctionMode) {
    const NumberCase& c = GetParam();
    MoxDaten* d = m_rec.get();
    c.input(d).Mode = eModeMeldeEingangMeldefkt;
    EXPECT_TRUE(c.set(d, "0123456789012345678901234567"));
    EXPECT_EQ(GetText(c.get, d), "012345678901234567890123");
    EXPECT_TRUE(c.set(d, "#31"));
    EXPECT_EQ(GetText(c.get, d), "#31");
}

TEST_P(InputNumber, SetterRefusedInOtherModes) {
    const NumberCase& c = GetParam();
    MoxDaten* d = m_rec.get();
    std::strcpy(c.field(c.input(d)), "777");
    for (uint8_t mode : {0, 2, 3, 4}) {
        c.input(d).Mode = mode;
        Snapshot before(*d);
        EXPECT_FALSE(c.set(d, "123")) << int(mode);
        EXPECT_TRUE(before.Unchanged(*d)) << int(mode);
        EXPECT_EQ(GetText(c.get, d), c.getterInEveryMode ? "777" : "<refused>") << int(mode);
    }
}

#define NR_MFE(R) [](MoxDaten* d, const char* t) { return MoxSetMfe##R(d, t); }
#define NR_MFE_GET(R) [](const MoxDaten* d, char* b, size_t n) { return MoxGetMfe##R(d, b, n); }
#define NR_RAK(R) [](MoxDaten* d, const char* t) { return MoxSetRAKEingang##R(d, kRAK, t); }
#define NR_RAK_GET(R)                                                                              \
    [](const MoxDaten* d, char* b, size_t n) { return MoxGetRAKEingang##R(d, kRAK, b, n); }
#define SMS_SET_MFE [](MoxDaten* d, const char* t) { return MoxSetMfeSMSRnr(d, 4, t); }
#define SMS_GET_MFE                                                                                \
    [](const MoxDaten* d, char* b, size_t n) { return MoxGetMfeSMSRnr(d, nullptr, b, n); }
#define SMS_SET_RAK [](MoxDaten* d, const char* t) { return MoxSetRAKEingangSMSRnr(d, kRAK, 4, t); }
#define SMS_GET_RAK                                                                                \
    [](const MoxDaten* d, char* b, size_t n) {                                                     \
        return MoxGetRAKEingangSMSRnr(d, kRAK, nullptr, b, n);                                     \
    }
#define FIELD(f) [](MoxMeldeEingang& in) -> char* { return in.f; }

const NumberCase kNumberCases[] = {
    {"MfeDirektRnr", Mfe, NR_MFE(DirektRnr), NR_MFE_GET(DirektRnr), FIELD(Nr1), false},
    {"MfeKettenRnr", Mfe, NR_MFE(KettenRnr), NR_MFE_GET(KettenRnr), FIELD(KettenRnr), true},
    {"MfeSMSRnr", Mfe, SMS_SET_MFE, SMS_GET_MFE, FIELD(SMSRnr), false},
    {"RAKDirektRnr", RAK3, NR_RAK(DirektRnr), NR_RAK_GET(DirektRnr), FIELD(Nr1), false},
    {"RAKKettenRnr", RAK3, NR_RAK(KettenRnr), NR_RAK_GET(KettenRnr), FIELD(KettenRnr), false},
    {"RAKSMSRnr", RAK3, SMS_SET_RAK, SMS_GET_RAK, FIELD(SMSRnr), false},
};

INSTANTIATE_TEST_SUITE_P(Inputs, InputNumber, testing::ValuesIn(kNumberCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------- modes

TEST(MfeMode, KeepsNumbersClearsOptions) {
    auto d = NewRecord();
    MoxSetMfeEtagenruf(d.get(), "12");
    d->Mfe.Options = 0x7F;
    d->Mfe.ProviderIdx = 3;
    d->Mfe.PGIdx = 2;
    EXPECT_TRUE(MoxSetMfeMode(d.get(), eModeMeldeEingangEtagenruf));
    EXPECT_STREQ(d->Mfe.Nr1, "12");
    EXPECT_EQ(d->Mfe.Options, 0);
    EXPECT_EQ(d->Mfe.ProviderIdx, 3);
    EXPECT_EQ(d->Mfe.PGIdx, 2);
}

TEST(MfeMode, UndefinedAndMfr) {
    auto d = NewRecord();
    MoxSetMfeMeldefkt(d.get(), 1, "11", 1, "22", 1, "33", 1, 1, 1, 1, 1);
    EXPECT_TRUE(MoxSetMfeMfr(d.get()));
    EXPECT_EQ(MoxGetMfeMode(d.get()), eModeMeldeEingangMfr);
    EXPECT_EQ(d->Mfe.Options, 0);
    EXPECT_STREQ(d->Mfe.KettenRnr, "22");
    EXPECT_TRUE(MoxSetMfeUndefined(d.get()));
    EXPECT_EQ(MoxGetMfeMode(d.get()), eModeMeldeEingangUndefined);
    EXPECT_STREQ(d->Mfe.Nr1, "11");
}

TEST(RAKEingangMode, EmptiesTheInput) {
    auto d = NewRecord();
    MoxSetRAKEingangMeldefkt(d.get(), 11, 1, "11", 1, "22", 5, "33", 1, 1, 1, 1, 1);
    d->RAKEingang[11].PGIdx = 4;
    EXPECT_TRUE(MoxSetRAKEingangMode(d.get(), 11, eModeMeldeEingangMeldefkt));
    const MoxMeldeEingang& in = d->RAKEingang[11];
    EXPECT_EQ(in.Mode, eModeMeldeEingangMeldefkt);
    EXPECT_STREQ(in.Nr1, "");
    EXPECT_STREQ(in.SMSRnr, "");
    EXPECT_STREQ(in.KettenRnr, "");
    EXPECT_EQ(in.ProviderIdx, MOX_PROVIDERIDX_NONE);
    EXPECT_EQ(in.PGIdx, 0);
    EXPECT_EQ(in.Options, 0);

    MoxSetRAKEingangMeldefkt(d.get(), 11, 1, "11", 1, "22", 5, "33", 1, 1, 1, 1, 1);
    EXPECT_TRUE(MoxSetRAKEingangUndefined(d.get(), 11));
    EXPECT_EQ(MoxGetRAKEingangMode(d.get(), 11), eModeMeldeEingangUndefined);
    EXPECT_STREQ(d->RAKEingang[11].Nr1, "");
    // The other inputs are not touched.
    EXPECT_EQ(MoxGetRAKEingangMode(d.get(), 10), 0);
}

// ---------------------------------------------------------------- floor call

TEST(MfeEtagenruf, SetsModeAndNumber) {
    auto d = NewRecord();
    d->Mfe.Options = 0x12;
    EXPECT_EQ(GetText(MoxGetMfeEtagenruf, d.get()), "<refused>");
    EXPECT_TRUE(MoxSetMfeEtagenruf(d.get(), "012345678901234567890123"));
    EXPECT_EQ(d->Mfe.Mode, eModeMeldeEingangEtagenruf);
    EXPECT_EQ(d->Mfe.Options, 0);
    EXPECT_EQ(GetText(MoxGetMfeEtagenruf, d.get()), "012345678901234567890123");
    // The same number is the direct-call number in mode 1, not visible there.
    MoxSetMfeMode(d.get(), eModeMeldeEingangMeldefkt);
    EXPECT_EQ(GetText(MoxGetMfeEtagenruf, d.get()), "<refused>");
}

TEST(MfeEtagenruf, OverlongNumberIsRefusedAndKeepsTheMode) {
    auto d = NewRecord();
    MoxSetMfeSchaltuhr(d.get(), eSchaltuhrTuermatik, 3);
    Snapshot before(*d);
    EXPECT_FALSE(MoxSetMfeEtagenruf(d.get(), "0123456789012345678901234"));
    EXPECT_FALSE(MoxSetMfeEtagenruf(d.get(), nullptr));
    EXPECT_TRUE(before.Unchanged(*d));
}

// -------------------------------------------------------------- SMS number

TEST(InputSMSRnr, IndexAlwaysNumberOnlyWhenGiven) {
    auto d = NewRecord();
    MoxSetMfeMode(d.get(), eModeMeldeEingangMeldefkt);
    EXPECT_TRUE(MoxSetMfeSMSRnr(d.get(), 2, "0172"));
    EXPECT_TRUE(MoxSetMfeSMSRnr(d.get(), 7, nullptr));
    uint8_t idx = 0;
    char buf[MOX_EINGANGRNR_SIZE];
    EXPECT_TRUE(MoxGetMfeSMSRnr(d.get(), &idx, buf, sizeof buf));
    EXPECT_EQ(idx, 7);
    EXPECT_STREQ(buf, "0172");
    idx = 0;
    EXPECT_TRUE(MoxGetMfeSMSRnr(d.get(), &idx, nullptr, 0));
    EXPECT_EQ(idx, 7);

    MoxSetMfeMode(d.get(), eModeMeldeEingangSchaltuhr);
    Snapshot before(*d);
    EXPECT_FALSE(MoxSetMfeSMSRnr(d.get(), 1, nullptr));
    EXPECT_TRUE(before.Unchanged(*d));
    EXPECT_FALSE(MoxGetMfeSMSRnr(d.get(), &idx, buf, sizeof buf));
}

// ---------------------------------------------------------------- time switch

struct SchaltuhrCase {
    const char* name;
    uint8_t option;
    uint16_t options; // option bits afterwards
    uint8_t mfePGIdx; // box input's group afterwards (it held 9)
    uint8_t rakPGIdx; // controller input's group afterwards (it held 9)
    bool tuermatik, diversion, concierge;
};

void PrintTo(const SchaltuhrCase& c, std::ostream* os) {
    *os << c.name;
}

class Schaltuhr : public testing::TestWithParam<SchaltuhrCase> {};

TEST_P(Schaltuhr, Mfe) {
    const SchaltuhrCase& c = GetParam();
    auto d = NewRecord();
    d->Mfe.PGIdx = 9;
    d->Mfe.Options = 0x7F;
    EXPECT_TRUE(MoxSetMfeSchaltuhr(d.get(), c.option, 4));
    EXPECT_EQ(d->Mfe.Mode, eModeMeldeEingangSchaltuhr);
    EXPECT_EQ(d->Mfe.Options, c.options);
    EXPECT_EQ(d->Mfe.PGIdx, c.mfePGIdx);
    uint8_t pg = 0xEE;
    EXPECT_EQ(MoxGetMfeTuermatikPGIdx(d.get(), &pg), c.tuermatik);
    if (c.tuermatik) {
        EXPECT_EQ(pg, 4);
    }
    EXPECT_EQ(MoxGetMfeDiversionPGIdx(d.get(), &pg), c.diversion);
    EXPECT_EQ(MoxGetMfeConcierge(d.get()), c.concierge ? 1 : 0);
}

TEST_P(Schaltuhr, RAKEingang) {
    const SchaltuhrCase& c = GetParam();
    auto d = NewRecord();
    d->RAKEingang[kRAK].PGIdx = 9;
    d->RAKEingang[kRAK].Options = 0x7F;
    EXPECT_TRUE(MoxSetRAKEingangSchaltuhr(d.get(), kRAK, c.option, 4));
    EXPECT_EQ(d->RAKEingang[kRAK].Mode, eModeMeldeEingangSchaltuhr);
    EXPECT_EQ(d->RAKEingang[kRAK].Options, c.options);
    EXPECT_EQ(d->RAKEingang[kRAK].PGIdx, c.rakPGIdx);
    uint8_t pg = 0xEE;
    EXPECT_EQ(MoxGetRAKEingangTuermatikPGIdx(d.get(), kRAK, &pg), c.tuermatik);
    EXPECT_EQ(MoxGetRAKEingangDiversionPGIdx(d.get(), kRAK, &pg), c.diversion);
    if (c.diversion) {
        EXPECT_EQ(pg, 4);
    }
    EXPECT_EQ(MoxGetRAKEingangConcierge(d.get(), kRAK), c.concierge ? 1 : 0);
}

const SchaltuhrCase kSchaltuhrCases[] = {
    {"Tuermatik", eSchaltuhrTuermatik, eOptTuermatik, 4, 4, true, false, false},
    {"Diversion", eSchaltuhrDiversion, eOptDiversion, 4, 4, false, true, false},
    {"Concierge", eSchaltuhrConcierge, eOptConcierge, 0, 0, false, false, true},
    {"NoOption", eSchaltuhrKeine, 0, 9, 0, false, false, false},
    {"UnknownOption", 17, 0, 9, 0, false, false, false},
};

INSTANTIATE_TEST_SUITE_P(Inputs, Schaltuhr, testing::ValuesIn(kSchaltuhrCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The time-switch getters answer only in mode 2, whatever the bits say.
TEST(SchaltuhrGetters, OnlyInMode2) {
    auto d = NewRecord();
    d->Mfe.Mode = eModeMeldeEingangMeldefkt;
    d->Mfe.Options = 0x07;
    uint8_t pg = 0;
    EXPECT_FALSE(MoxGetMfeTuermatikPGIdx(d.get(), &pg));
    EXPECT_FALSE(MoxGetMfeDiversionPGIdx(d.get(), &pg));
    EXPECT_EQ(MoxGetMfeConcierge(d.get()), 0);
}

// --------------------------------------------------------- signal function

TEST(Meldefkt, MfeFillsEverything) {
    auto d = NewRecord();
    d->Mfe.PGIdx = 6;
    EXPECT_TRUE(MoxSetMfeMeldefkt(d.get(), 1, "0301", 0, "0302", 2, "0171", 0, 1, 0, 1, 1));
    const MoxMeldeEingang& in = d->Mfe;
    EXPECT_EQ(in.Mode, eModeMeldeEingangMeldefkt);
    EXPECT_EQ(in.Options,
              eOptDirektruf | eOptSMSKeinKettenruf | eOptSMSKeineVerbindung | eOptSprache);
    EXPECT_STREQ(in.Nr1, "0301");
    EXPECT_STREQ(in.KettenRnr, "0302");
    EXPECT_STREQ(in.SMSRnr, "0171");
    EXPECT_EQ(in.ProviderIdx, 2);
    EXPECT_EQ(in.PGIdx, 6);
    EXPECT_EQ(MoxGetMfeDirektruf(d.get()), 1);
    EXPECT_EQ(MoxGetMfeKettenruf(d.get()), 0);
    EXPECT_EQ(MoxGetMfeSMSVerbindung(d.get()), 1);
}

TEST(Meldefkt, RAKStartsFromAnEmptyInput) {
    auto d = NewRecord();
    d->RAKEingang[0].PGIdx = 6;
    std::strcpy(d->RAKEingang[0].Nr1, "999");
    EXPECT_TRUE(
        MoxSetRAKEingangMeldefkt(d.get(), 0, 0, nullptr, 1, "0302", 1, nullptr, 1, 0, 1, 0, 0));
    const MoxMeldeEingang& in = d->RAKEingang[0];
    EXPECT_EQ(in.Mode, eModeMeldeEingangMeldefkt);
    EXPECT_EQ(in.Options, eOptKettenruf | eOptSMSKeinDirektruf | eOptSMSImmer);
    EXPECT_STREQ(in.Nr1, "");
    EXPECT_STREQ(in.KettenRnr, "0302");
    EXPECT_EQ(in.ProviderIdx, 1);
    EXPECT_EQ(in.PGIdx, 0);
}

// The box input's chain number is readable in every mode, the controller
// input's only in mode 1.
TEST(KettenRnr, GetterModes) {
    auto d = NewRecord();
    MoxSetMfeMeldefkt(d.get(), 0, "", 1, "555", 0xFF, nullptr, 0, 0, 0, 0, 0);
    MoxSetRAKEingangMeldefkt(d.get(), 1, 0, "", 1, "666", 0xFF, nullptr, 0, 0, 0, 0, 0);
    MoxSetMfeMode(d.get(), eModeMeldeEingangSchaltuhr);
    MoxSetRAKEingangSchaltuhr(d.get(), 1, eSchaltuhrTuermatik, 1);
    char buf[MOX_EINGANGRNR_SIZE];
    EXPECT_TRUE(MoxGetMfeKettenRnr(d.get(), buf, sizeof buf));
    EXPECT_STREQ(buf, "555");
    EXPECT_FALSE(MoxGetRAKEingangKettenRnr(d.get(), 1, buf, sizeof buf));
}

// ------------------------------------------------------------------ outputs

TEST(Outputs, ModeAndSubscriberTogether) {
    auto d = NewRecord();
    EXPECT_TRUE(MoxSetMfrMode(d.get(), eModeSchaltAusgangVideo, 2));
    uint16_t tln = 0;
    EXPECT_EQ(MoxGetMfrMode(d.get(), &tln), eModeSchaltAusgangVideo);
    EXPECT_EQ(tln, 2);
    EXPECT_EQ(MoxGetMfrMode(d.get(), nullptr), eModeSchaltAusgangVideo);

    EXPECT_TRUE(MoxSetRAKAusgangMode(d.get(), 11, eModeSchaltAusgangLicht, 0xFFFF));
    EXPECT_EQ(MoxGetRAKAusgangMode(d.get(), 11, &tln), eModeSchaltAusgangLicht);
    EXPECT_EQ(tln, 0xFFFF);
    EXPECT_TRUE(MoxSetRAKAusgangSprache(d.get(), 11, 7));
    EXPECT_EQ(MoxGetRAKAusgangSprache(d.get(), 11), 7);
    EXPECT_EQ(MoxGetRAKAusgangMode(d.get(), 10, &tln), eModeSchaltAusgangSchalter);
}

} // namespace
