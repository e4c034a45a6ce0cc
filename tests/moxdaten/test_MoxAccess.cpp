// Accessors of the system settings, texts, numbers, SMS providers and the
// camera device: values in range are stored, values outside are refused and
// leave the whole record as it was, indices beyond a table are refused, and
// no text getter writes past the caller's buffer.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "test_MoxAccessUtil.h"

using namespace moxtest;

namespace {

// ------------------------------------------------------------ scalar ranges

struct RangeCase {
    const char* name;
    std::function<bool(MoxDaten*, long)> set;
    std::function<long(const MoxDaten*)> get;
    long lo, hi;  // accepted range
    long typeMax; // largest value of the field's type
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.name;
}

class ScalarRange : public testing::TestWithParam<RangeCase> {
protected:
    void SetUp() override { m_rec = NewRecord(); }
    std::unique_ptr<MoxDaten> m_rec;
};

TEST_P(ScalarRange, BoundsAreStored) {
    const RangeCase& c = GetParam();
    for (long v : {c.lo, c.hi, (c.lo + c.hi) / 2}) {
        EXPECT_TRUE(c.set(m_rec.get(), v)) << v;
        EXPECT_EQ(c.get(m_rec.get()), v);
    }
}

TEST_P(ScalarRange, OutsideIsRefusedAndChangesNothing) {
    const RangeCase& c = GetParam();
    std::vector<long> outside;
    if (c.lo > 0) {
        outside.push_back(c.lo - 1);
        outside.push_back(0);
    }
    if (c.hi < c.typeMax) {
        outside.push_back(c.hi + 1);
        outside.push_back(c.typeMax);
    }
    for (long v : outside) {
        Snapshot before(*m_rec);
        EXPECT_FALSE(c.set(m_rec.get(), v)) << v;
        EXPECT_TRUE(before.Unchanged(*m_rec)) << v;
    }
}

#define SETTER(fn, T) [](MoxDaten* d, long v) -> bool { return fn(d, static_cast<T>(v)); }
#define VOID_SETTER(fn)                                                                            \
    [](MoxDaten* d, long v) -> bool {                                                              \
        fn(d, static_cast<uint8_t>(v));                                                            \
        return true;                                                                               \
    }
#define GETTER(fn) [](const MoxDaten* d) -> long { return fn(d); }
#define OUT_GETTER(fn)                                                                             \
    [](const MoxDaten* d) -> long {                                                                \
        uint8_t v = 0xEE;                                                                          \
        return fn(d, &v) ? v : -1;                                                                 \
    }

const RangeCase kRangeCases[] = {
    {"Tuerrufannahme", SETTER(MoxSetTuerrufannahme, uint8_t), GETTER(MoxGetTuerrufannahme), 20, 120,
     255},
    {"Tuerrufdauer", SETTER(MoxSetTuerrufdauer, uint16_t), GETTER(MoxGetTuerrufdauer), 60, 600,
     65535},
    {"Tuermatik", SETTER(MoxSetTuermatik, uint8_t), GETTER(MoxGetTuermatik), 0, 10, 255},
    {"SchaltdauerMfr", SETTER(MoxSetSchaltdauerMfr, uint16_t), GETTER(MoxGetSchaltdauerMfr), 0, 999,
     65535},
    {"Kettenruf", SETTER(MoxSetKettenruf, uint8_t), GETTER(MoxGetKettenruf), 10, 30, 255},
    {"Nachtriggern", SETTER(MoxSetNachtriggern, uint8_t), GETTER(MoxGetNachtriggern), 1, 10, 255},
    {"PegelKommend", SETTER(MoxSetPegelKommend, uint16_t), GETTER(MoxGetPegelKommend), 1, 65535,
     65535},
    {"PegelGehend", SETTER(MoxSetPegelGehend, uint16_t), GETTER(MoxGetPegelGehend), 1, 65535,
     65535},
    {"KMRCodierqual", SETTER(MoxSetKMRCodierqual, uint8_t), OUT_GETTER(MoxGetKMRCodierqual), 0, 100,
     255},
    {"KMRHelligkeit", SETTER(MoxSetKMRHelligkeit, uint8_t), OUT_GETTER(MoxGetKMRHelligkeit), 0, 100,
     255},
    {"KMRKontrast", SETTER(MoxSetKMRKontrast, uint8_t), OUT_GETTER(MoxGetKMRKontrast), 0, 100, 255},
    {"KMRSaettigung", SETTER(MoxSetKMRSaettigung, uint8_t), OUT_GETTER(MoxGetKMRSaettigung), 0, 100,
     255},
    {"KMRBandbreite", SETTER(MoxSetKMRBandbreite, uint8_t), GETTER(MoxGetKMRBandbreite), 1, 2, 255},
    // Items that take every value of their type.
    {"Land", SETTER(MoxSetLand, uint8_t), GETTER(MoxGetLand), 0, 255, 255},
    {"Sprache", SETTER(MoxSetSprache, uint8_t), GETTER(MoxGetSprache), 0, 255, 255},
    {"BSGProgKennziffer", SETTER(MoxSetBSGProgKennziffer, uint16_t),
     GETTER(MoxGetBSGProgKennziffer), 0, 65535, 65535},
    {"Sprachausgabe", VOID_SETTER(MoxSetSprachausgabe), GETTER(MoxGetSprachausgabe), 0, 255, 255},
    {"Sprachwaage", VOID_SETTER(MoxSetSprachwaage), GETTER(MoxGetSprachwaage), 0, 255, 255},
    {"ConciergeAktiv", SETTER(MoxSetConciergeAktiv, uint8_t), GETTER(MoxGetConciergeAktiv), 0, 255,
     255},
    {"ConciergeVideo", SETTER(MoxSetConciergeVideo, uint8_t), GETTER(MoxGetConciergeVideo), 0, 255,
     255},
    {"TypeKMR", SETTER(MoxSetTypeKMR, uint8_t), GETTER(MoxGetTypeKMR), 0, 255, 255},
    {"KMRKameratyp", SETTER(MoxSetKMRKameratyp, uint8_t), GETTER(MoxGetKMRKameratyp), 0, 255, 255},
    {"IO_TlnAdr", SETTER(MoxSetIO_TlnAdr, uint8_t), GETTER(MoxGetIO_TlnAdr), 0, 255, 255},
    {"IO_Version", SETTER(MoxSetIO_Version, uint8_t), GETTER(MoxGetIO_Version), 0, 255, 255},
    {"Rufton6", [](MoxDaten* d, long v) { return MoxSetRufton(d, 6, static_cast<uint8_t>(v)); },
     [](const MoxDaten* d) -> long { return MoxGetRufton(d, 6); }, 0, 255, 255},
    {"SMSProtokoll9",
     [](MoxDaten* d, long v) { return MoxSetSMSProtokoll(d, 9, static_cast<uint8_t>(v)); },
     [](const MoxDaten* d) -> long { return MoxGetSMSProtokoll(d, 9); }, 0, 255, 255},
    {"SchaltcodeAdr5",
     [](MoxDaten* d, long v) { return MoxSetSchaltcodeAdr(d, 5, static_cast<uint16_t>(v)); },
     [](const MoxDaten* d) -> long {
         uint16_t v = 0;
         return MoxGetSchaltcodeAdr(d, 5, &v) ? v : -1;
     },
     0, 65535, 65535},
    {"SchaltcodeVideo0",
     [](MoxDaten* d, long v) { return MoxSetSchaltcodeVideo(d, 0, static_cast<uint8_t>(v)); },
     [](const MoxDaten* d) -> long {
         uint8_t v = 0;
         return MoxGetSchaltcodeVideo(d, 0, &v) ? v : -1;
     },
     0, 255, 255},
};

#undef SETTER
#undef VOID_SETTER
#undef GETTER
#undef OUT_GETTER

INSTANTIATE_TEST_SUITE_P(System, ScalarRange, testing::ValuesIn(kRangeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------ texts and call numbers

enum class Overlong { Refused, Cut };

struct TextCase {
    const char* name;
    std::function<bool(MoxDaten*, const char*)> set;
    TextGetter get;
    size_t maxChars;
    Overlong overlong;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class TextItem : public testing::TestWithParam<TextCase> {
protected:
    void SetUp() override { m_rec = NewRecord(); }
    std::unique_ptr<MoxDaten> m_rec;
};

// Dial digits for numbers, Windows-1252 letters for names.
std::string Sample(size_t n, bool digits) {
    const std::string pattern = digits ? "0123456789*#R" : "Ab\xE4\xF6\xFC\xDF T\xC4r";
    std::string s;
    while (s.size() < n)
        s += pattern[s.size() % pattern.size()];
    return s;
}

bool IsNumber(const TextCase& c) {
    return c.overlong == Overlong::Refused || std::strstr(c.name, "Rnr");
}

// A short value stored before a refused call, so that "unchanged" means more
// than an empty field staying empty.
std::string Preset(const TextCase& c) {
    return Sample(std::min<size_t>(2, c.maxChars), IsNumber(c));
}

TEST_P(TextItem, FullLengthIsStored) {
    const TextCase& c = GetParam();
    const std::string text = Sample(c.maxChars, IsNumber(c));
    EXPECT_TRUE(c.set(m_rec.get(), text.c_str()));
    EXPECT_EQ(GetText(c.get, m_rec.get()), text);
    EXPECT_TRUE(c.set(m_rec.get(), ""));
    EXPECT_EQ(GetText(c.get, m_rec.get()), "");
}

TEST_P(TextItem, OverlongIsRefusedOrCut) {
    const TextCase& c = GetParam();
    const std::string text = Sample(c.maxChars + 1, IsNumber(c));
    ASSERT_TRUE(c.set(m_rec.get(), Preset(c).c_str()));
    Snapshot before(*m_rec);
    if (c.overlong == Overlong::Refused) {
        EXPECT_FALSE(c.set(m_rec.get(), text.c_str()));
        EXPECT_TRUE(before.Unchanged(*m_rec));
    } else {
        EXPECT_TRUE(c.set(m_rec.get(), text.c_str()));
        EXPECT_EQ(GetText(c.get, m_rec.get()), text.substr(0, c.maxChars));
        const std::string longer = Sample(200, IsNumber(c));
        EXPECT_TRUE(c.set(m_rec.get(), longer.c_str()));
        EXPECT_EQ(GetText(c.get, m_rec.get()), longer.substr(0, c.maxChars));
    }
}

TEST_P(TextItem, NullTextIsRefused) {
    const TextCase& c = GetParam();
    ASSERT_TRUE(c.set(m_rec.get(), Preset(c).c_str()));
    Snapshot before(*m_rec);
    EXPECT_FALSE(c.set(m_rec.get(), nullptr));
    EXPECT_TRUE(before.Unchanged(*m_rec));
}

// A buffer smaller than the field gets the text cut to it and ended with
// NUL; nothing behind the buffer is touched.
TEST_P(TextItem, GetterNeverWritesPastTheBuffer) {
    const TextCase& c = GetParam();
    const std::string text = Sample(c.maxChars, IsNumber(c));
    ASSERT_TRUE(c.set(m_rec.get(), text.c_str()));
    for (size_t size : {size_t{1}, size_t{2}, c.maxChars, c.maxChars + 1}) {
        std::vector<char> buf(size + 8, '\x5A');
        ASSERT_TRUE(c.get(m_rec.get(), buf.data(), size)) << size;
        EXPECT_EQ(std::string(buf.data()), text.substr(0, size - 1)) << size;
        for (size_t k = size; k < buf.size(); ++k)
            EXPECT_EQ(buf[k], '\x5A') << "size " << size << " byte " << k;
    }
}

TEST_P(TextItem, GetterWithoutBufferGivesFalse) {
    const TextCase& c = GetParam();
    char buf[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(c.get(m_rec.get(), nullptr, 32));
    EXPECT_FALSE(c.get(m_rec.get(), buf, 0));
    EXPECT_EQ(buf[0], 'x');
}

#define TEXT_SET(fn) [](MoxDaten* d, const char* t) { return fn(d, t); }
#define TEXT_GET(fn) [](const MoxDaten* d, char* b, size_t n) { return fn(d, b, n); }
#define ITEXT_SET(fn, i) [](MoxDaten* d, const char* t) { return fn(d, i, t); }
#define ITEXT_GET(fn, i) [](const MoxDaten* d, char* b, size_t n) { return fn(d, i, b, n); }

const TextCase kTextCases[] = {
    {"Rnr", TEXT_SET(MoxSetRnr), TEXT_GET(MoxGetRnr), 24, Overlong::Refused},
    {"RnrExtBelegung", TEXT_SET(MoxSetRnrExtBelegung), TEXT_GET(MoxGetRnrExtBelegung), 1,
     Overlong::Refused},
    {"Sperrnr0", ITEXT_SET(MoxSetSperrnr, 0), ITEXT_GET(MoxGetSperrnr, 0), 4, Overlong::Refused},
    {"Sperrnr3", ITEXT_SET(MoxSetSperrnr, 3), ITEXT_GET(MoxGetSperrnr, 3), 4, Overlong::Refused},
    {"ConciergeRnr", TEXT_SET(MoxSetConciergeRnr), TEXT_GET(MoxGetConciergeRnr), 20,
     Overlong::Refused},
    {"TlnRnr0", ITEXT_SET(MoxSetTlnRnr, 0), ITEXT_GET(MoxGetTlnRnr, 0), 20, Overlong::Refused},
    {"TlnRnr2", ITEXT_SET(MoxSetTlnRnr, 2), ITEXT_GET(MoxGetTlnRnr, 2), 20, Overlong::Refused},
    {"PGKettenRnr4", ITEXT_SET(MoxSetPGKettenRnr, 4), ITEXT_GET(MoxGetPGKettenRnr, 4), 24,
     Overlong::Refused},
    {"PGSignalRnr0", ITEXT_SET(MoxSetPGSignalRnr, 0), ITEXT_GET(MoxGetPGSignalRnr, 0), 24,
     Overlong::Refused},
    {"PGDiversionRnr1", ITEXT_SET(MoxSetPGDiversionRnr, 1), ITEXT_GET(MoxGetPGDiversionRnr, 1), 24,
     Overlong::Refused},
    {"BSMRelaisText0", ITEXT_SET(MoxSetBSMRelaisText, 0), ITEXT_GET(MoxGetBSMRelaisText, 0), 16,
     Overlong::Cut},
    {"SchaltcodeText5", ITEXT_SET(MoxSetSchaltcodeText, 5), ITEXT_GET(MoxGetSchaltcodeText, 5), 16,
     Overlong::Cut},
    {"TuerrufText6", ITEXT_SET(MoxSetTuerrufText, 6), ITEXT_GET(MoxGetTuerrufText, 6), 30,
     Overlong::Cut},
    {"SchaltausgangsText11", ITEXT_SET(MoxSetSchaltausgangsText, 11),
     ITEXT_GET(MoxGetSchaltausgangsText, 11), 30, Overlong::Cut},
    {"MeldeeingangsText0", ITEXT_SET(MoxSetMeldeeingangsText, 0),
     ITEXT_GET(MoxGetMeldeeingangsText, 0), 30, Overlong::Cut},
    {"EtagenrufText", TEXT_SET(MoxSetEtagenrufText), TEXT_GET(MoxGetEtagenrufText), 30,
     Overlong::Cut},
    {"SMSProvider9", ITEXT_SET(MoxSetSMSProvider, 9), ITEXT_GET(MoxGetSMSProvider, 9), 15,
     Overlong::Cut},
    {"SMSRnr0", ITEXT_SET(MoxSetSMSRnr, 0), ITEXT_GET(MoxGetSMSRnr, 0), 24, Overlong::Cut},
};

#undef TEXT_SET
#undef TEXT_GET
#undef ITEXT_SET
#undef ITEXT_GET

INSTANTIATE_TEST_SUITE_P(System, TextItem, testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The version texts come only from the box; their getters obey the buffer too.
TEST(VersionText, GetterCutsToBuffer) {
    auto d = NewRecord();
    std::memcpy(d->VersionMox, "V2.17 2003-04-11", 17);
    char buf[6];
    std::memset(buf, 0x5A, sizeof buf);
    EXPECT_TRUE(MoxGetVersionMox(d.get(), buf, 4));
    EXPECT_STREQ(buf, "V2.");
    EXPECT_EQ(buf[4], '\x5A');
    EXPECT_TRUE(MoxGetVersionKMR(d.get(), buf, sizeof buf));
    EXPECT_STREQ(buf, "");
}

// A field that lost its NUL (a raw block copy from elsewhere) is still read
// only within its capacity.
TEST(VersionText, UnterminatedFieldIsReadWithinItsCapacity) {
    auto d = NewRecord();
    std::memset(d->VersionMox, 'X', sizeof d->VersionMox);
    std::memset(d->VersionKMR, 'Y', sizeof d->VersionKMR);
    char buf[64];
    EXPECT_TRUE(MoxGetVersionMox(d.get(), buf, sizeof buf));
    EXPECT_EQ(std::string(buf), Repeat('X', MOX_VERSION_SIZE));
}

// ------------------------------------------------------------- bad indices

struct IndexCase {
    const char* name;
    std::function<long(MoxDaten*)> call;
    long expected; // what a refused call answers
};

void PrintTo(const IndexCase& c, std::ostream* os) {
    *os << c.name;
}

class BadIndex : public testing::TestWithParam<IndexCase> {};

// An index beyond the table in use answers 0 (false) and touches nothing.
TEST_P(BadIndex, IsRefusedAndChangesNothing) {
    auto d = NewRecord();
    Snapshot before(*d);
    EXPECT_EQ(GetParam().call(d.get()), GetParam().expected);
    EXPECT_TRUE(before.Unchanged(*d));
}

char g_buf[64];

#define CALL(expr) [](MoxDaten* d) -> long { return static_cast<long>(expr); }

// Indices just past each table (3 subscribers and 5 groups after the init).
const IndexCase kIndexCases[] = {
    {"GetSperrnr", CALL(MoxGetSperrnr(d, 4, g_buf, sizeof g_buf)), 0},
    {"SetSperrnr", CALL(MoxSetSperrnr(d, 4, "1")), 0},
    {"GetRufton", CALL(MoxGetRufton(d, 7)), 0},
    {"SetRufton", CALL(MoxSetRufton(d, 7, 2)), 0},
    {"GetBSMRelais", CALL(MoxGetBSMRelais(d, 6, nullptr, nullptr)), 0},
    {"SetBSMRelais", CALL(MoxSetBSMRelais(d, 6, 1, 1)), 0},
    {"GetBSMRelaisText", CALL(MoxGetBSMRelaisText(d, 6, g_buf, sizeof g_buf)), 0},
    {"SetBSMRelaisText", CALL(MoxSetBSMRelaisText(d, 6, "x")), 0},
    {"GetSchaltcodeAdr", CALL([&] {
         uint16_t v;
         return MoxGetSchaltcodeAdr(d, 6, &v);
     }()),
     0},
    {"SetSchaltcodeAdr", CALL(MoxSetSchaltcodeAdr(d, 6, 1)), 0},
    {"GetSchaltcodeVideo", CALL([&] {
         uint8_t v;
         return MoxGetSchaltcodeVideo(d, 6, &v);
     }()),
     0},
    {"SetSchaltcodeVideo", CALL(MoxSetSchaltcodeVideo(d, 6, 1)), 0},
    {"GetSchaltcodeText", CALL(MoxGetSchaltcodeText(d, 6, g_buf, sizeof g_buf)), 0},
    {"SetSchaltcodeText", CALL(MoxSetSchaltcodeText(d, 6, "x")), 0},
    {"GetTuerrufText", CALL(MoxGetTuerrufText(d, 7, g_buf, sizeof g_buf)), 0},
    {"SetTuerrufText", CALL(MoxSetTuerrufText(d, 7, "x")), 0},
    {"GetSchaltausgangsText", CALL(MoxGetSchaltausgangsText(d, 12, g_buf, sizeof g_buf)), 0},
    {"SetSchaltausgangsText", CALL(MoxSetSchaltausgangsText(d, 12, "x")), 0},
    {"GetMeldeeingangsText", CALL(MoxGetMeldeeingangsText(d, 12, g_buf, sizeof g_buf)), 0},
    {"SetMeldeeingangsText", CALL(MoxSetMeldeeingangsText(d, 12, "x")), 0},
    {"GetSMSProvider", CALL(MoxGetSMSProvider(d, 10, g_buf, sizeof g_buf)), 0},
    {"SetSMSProvider", CALL(MoxSetSMSProvider(d, 10, "x")), 0},
    {"GetSMSRnr", CALL(MoxGetSMSRnr(d, 10, g_buf, sizeof g_buf)), 0},
    {"SetSMSRnr", CALL(MoxSetSMSRnr(d, 10, "1")), 0},
    {"GetSMSProtokoll", CALL(MoxGetSMSProtokoll(d, 10)), 0},
    {"SetSMSProtokoll", CALL(MoxSetSMSProtokoll(d, 10, 1)), 0},
    {"GetTlnRnr", CALL(MoxGetTlnRnr(d, 3, g_buf, sizeof g_buf)), 0},
    {"SetTlnRnr", CALL(MoxSetTlnRnr(d, 3, "1")), 0},
    {"GetTlnBusAdr", CALL(MoxGetTlnBusAdr(d, 3)), 0},
    {"SetTlnBusAdr", CALL(MoxSetTlnBusAdr(d, 3, 9)), 0},
    {"GetTlnLogAdr", CALL(MoxGetTlnLogAdr(d, 3)), 0},
    {"SetTlnLogAdr", CALL(MoxSetTlnLogAdr(d, 3, 9)), 0},
    {"GetTlnVideo", CALL(MoxGetTlnVideo(d, 3)), 0},
    {"SetTlnVideo0", CALL(MoxSetTlnVideo(d, 3, 0)), 0},
    {"SetTlnVideo1", CALL(MoxSetTlnVideo(d, 255, 1)), 0},
    {"GetPGPin", CALL(MoxGetPGPin(d, 5, g_buf, sizeof g_buf)), 0},
    {"SetPGPin", CALL(MoxSetPGPin(d, 5, "1234")), 0},
    {"GetPGTueroeffner", CALL(MoxGetPGTueroeffner(d, 5)), 0},
    {"SetPGTueroeffner", CALL(MoxSetPGTueroeffner(d, 5, 1)), 0},
    {"GetPGSchaltcodeGroup", CALL(MoxGetPGSchaltcode(d, 5, 0)), 0},
    {"SetPGSchaltcodeGroup", CALL(MoxSetPGSchaltcode(d, 5, 0, 1)), 0},
    {"GetPGSchaltcodeBit", CALL(MoxGetPGSchaltcode(d, 0, 6)), 0},
    {"SetPGSchaltcodeBit", CALL(MoxSetPGSchaltcode(d, 0, 6, 1)), 0},
    {"GetPGKettenRnr", CALL(MoxGetPGKettenRnr(d, 5, g_buf, sizeof g_buf)), 0},
    {"SetPGKettenRnr", CALL(MoxSetPGKettenRnr(d, 5, "1")), 0},
    {"GetPGSignalRnr", CALL(MoxGetPGSignalRnr(d, 5, g_buf, sizeof g_buf)), 0},
    {"SetPGSignalRnr", CALL(MoxSetPGSignalRnr(d, 5, "1")), 0},
    {"GetPGDiversionRnr", CALL(MoxGetPGDiversionRnr(d, 5, g_buf, sizeof g_buf)), 0},
    {"SetPGDiversionRnr", CALL(MoxSetPGDiversionRnr(d, 5, "1")), 0},
    {"GetPGTlnIdx", CALL(MoxGetPGTlnIdx(d, 5)), 0xFFFF},
    {"SetPGTlnIdx", CALL(MoxSetPGTlnIdx(d, 5, 1)), 0},
    {"GetPGSchaltausgangGroup", CALL(MoxGetPGSchaltausgang(d, 5, 0)), 0},
    {"SetPGSchaltausgangGroup", CALL(MoxSetPGSchaltausgang(d, 5, 0, 1)), 0},
    {"GetPGSchaltausgangBit", CALL(MoxGetPGSchaltausgang(d, 0, 12)), 0},
    {"SetPGSchaltausgangBit", CALL(MoxSetPGSchaltausgang(d, 0, 12, 1)), 0},
    {"GetRAKAusgangMode", CALL(MoxGetRAKAusgangMode(d, 12, nullptr)), 0},
    {"SetRAKAusgangMode", CALL(MoxSetRAKAusgangMode(d, 12, 2, 0)), 0},
    {"GetRAKAusgangSprache", CALL(MoxGetRAKAusgangSprache(d, 12)), 0},
    {"SetRAKAusgangSprache", CALL(MoxSetRAKAusgangSprache(d, 12, 1)), 0},
    {"GetRAKEingangMode", CALL(MoxGetRAKEingangMode(d, 12)), 0},
    {"SetRAKEingangMode", CALL(MoxSetRAKEingangMode(d, 12, 1)), 0},
    {"SetRAKEingangUndefined", CALL(MoxSetRAKEingangUndefined(d, 12)), 0},
    {"SetRAKEingangMeldefkt",
     CALL(MoxSetRAKEingangMeldefkt(d, 12, 1, "1", 1, "2", 0, "3", 1, 1, 1, 1, 1)), 0},
    {"SetRAKEingangSchaltuhr", CALL(MoxSetRAKEingangSchaltuhr(d, 12, 1, 1)), 0},
    {"GetRAKEingangDirektruf", CALL(MoxGetRAKEingangDirektruf(d, 12)), 0},
    {"SetRAKEingangDirektruf", CALL(MoxSetRAKEingangDirektruf(d, 12, 1)), 0},
    {"SetRAKEingangSMSOptionen", CALL(MoxSetRAKEingangSMSOptionen(d, 12, 1, 1, 1, 1)), 0},
    {"GetRAKEingangDirektRnr", CALL(MoxGetRAKEingangDirektRnr(d, 12, g_buf, sizeof g_buf)), 0},
    {"SetRAKEingangDirektRnr", CALL(MoxSetRAKEingangDirektRnr(d, 12, "1")), 0},
    {"GetRAKEingangKettenRnr", CALL(MoxGetRAKEingangKettenRnr(d, 12, g_buf, sizeof g_buf)), 0},
    {"SetRAKEingangKettenRnr", CALL(MoxSetRAKEingangKettenRnr(d, 12, "1")), 0},
    {"GetRAKEingangSMSRnr", CALL(MoxGetRAKEingangSMSRnr(d, 12, nullptr, g_buf, sizeof g_buf)), 0},
    {"SetRAKEingangSMSRnr", CALL(MoxSetRAKEingangSMSRnr(d, 12, 1, "1")), 0},
    {"GetRAKEingangTuermatikPGIdx", CALL(MoxGetRAKEingangTuermatikPGIdx(d, 12, nullptr)), 0},
    {"GetRAKEingangDiversionPGIdx", CALL(MoxGetRAKEingangDiversionPGIdx(d, 12, nullptr)), 0},
    {"GetRAKEingangConcierge", CALL(MoxGetRAKEingangConcierge(d, 12)), 0},
    {"GetRAKEingangSMSImmer", CALL(MoxGetRAKEingangSMSImmer(d, 255)), 0},
};

#undef CALL

INSTANTIATE_TEST_SUITE_P(Tables, BadIndex, testing::ValuesIn(kIndexCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --------------------------------------------------------------- single items

TEST(Kamera, FollowsTheConnectedDevices) {
    auto d = NewRecord();
    Snapshot before(*d);
    EXPECT_FALSE(MoxSetKamera(d.get(), eKameraRAK));
    EXPECT_FALSE(MoxSetKamera(d.get(), eKameraKMR));
    EXPECT_FALSE(MoxSetKamera(d.get(), 3));
    EXPECT_TRUE(before.Unchanged(*d));

    MoxSetTypeRAK(d.get(), eRAK_Large);
    EXPECT_TRUE(MoxSetKamera(d.get(), eKameraRAK));
    EXPECT_EQ(MoxGetKamera(d.get()), eKameraRAK);
    EXPECT_FALSE(MoxSetKamera(d.get(), eKameraKMR));
    MoxSetTypeKMR(d.get(), 1);
    EXPECT_TRUE(MoxSetKamera(d.get(), eKameraKMR));
    EXPECT_EQ(MoxGetKamera(d.get()), eKameraKMR);
    EXPECT_FALSE(MoxSetKamera(d.get(), 3));
    EXPECT_FALSE(MoxSetKamera(d.get(), 255));
    EXPECT_EQ(MoxGetKamera(d.get()), eKameraKMR);
    EXPECT_TRUE(MoxSetKamera(d.get(), eKameraKeine));
}

TEST(Tuerrufannahme, EdgesOfTheRange) {
    auto d = NewRecord();
    EXPECT_FALSE(MoxSetTuerrufannahme(d.get(), 19));
    EXPECT_FALSE(MoxSetTuerrufannahme(d.get(), 121));
    EXPECT_EQ(MoxGetTuerrufannahme(d.get()), 40);
    EXPECT_TRUE(MoxSetTuerrufannahme(d.get(), 20));
    EXPECT_TRUE(MoxSetTuerrufannahme(d.get(), 120));
    EXPECT_EQ(MoxGetTuerrufannahme(d.get()), 120);
}

// A level of 0 (minus infinity dB) is refused instead of ending the program.
TEST(Pegel, ZeroIsRefused) {
    auto d = NewRecord();
    Snapshot before(*d);
    EXPECT_FALSE(MoxSetPegelKommend(d.get(), 0));
    EXPECT_FALSE(MoxSetPegelGehend(d.get(), 0));
    EXPECT_TRUE(before.Unchanged(*d));
    EXPECT_EQ(MoxGetPegelKommend(d.get()), MOX_PEGEL_0DB);
}

TEST(BSMRelais, AddressAndRelayTogether) {
    auto d = NewRecord();
    EXPECT_EQ(MoxGetAnzBSMRelais(d.get()), 6);
    EXPECT_EQ(MoxGetAnzSchaltcode(d.get()), 6);
    EXPECT_TRUE(MoxSetBSMRelais(d.get(), 5, 0xBEEF, 4));
    uint16_t adr = 0;
    uint8_t relais = 0;
    EXPECT_TRUE(MoxGetBSMRelais(d.get(), 5, &adr, &relais));
    EXPECT_EQ(adr, 0xBEEF);
    EXPECT_EQ(relais, 4);
    adr = 0;
    EXPECT_TRUE(MoxGetBSMRelais(d.get(), 5, &adr, nullptr));
    EXPECT_EQ(adr, 0xBEEF);
}

TEST(Types, BoxTypeIsFixed) {
    auto d = NewRecord();
    EXPECT_EQ(MoxGetTypeMox(d.get()), 2);
}

TEST(NameText, ThirtyOneCharactersKeepThirty) {
    auto d = NewRecord();
    const std::string text = "abcdefghijklmnopqrstuvwxyz12345";
    ASSERT_EQ(text.size(), 31u);
    EXPECT_TRUE(MoxSetTuerrufText(d.get(), 0, text.c_str()));
    EXPECT_STREQ(d->TuerrufText[0], text.substr(0, 30).c_str());
}

} // namespace
