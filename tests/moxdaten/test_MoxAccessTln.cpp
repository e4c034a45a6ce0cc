// Accessors of the subscribers and permission groups: the tables in use
// follow the door interface, every right acts on its own bit only, and the
// group code rules.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "test_MoxAccessUtil.h"

using namespace moxtest;

namespace {

// ------------------------------------------------------- counts by door type

struct CountCase {
    const char* name;
    uint8_t typeIT;
    uint8_t anzTln;
    uint8_t anzPG;
};

void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.name;
}

class TablesInUse : public testing::TestWithParam<CountCase> {};

TEST_P(TablesInUse, CountsAndLimits) {
    const CountCase& c = GetParam();
    auto d = NewRecord();
    MoxSetTypeIT(d.get(), c.typeIT);
    EXPECT_EQ(MoxGetAnzTln(d.get()), c.anzTln);
    EXPECT_EQ(MoxGetAnzPG(d.get()), c.anzPG);

    // The last entry in use is served, the first beyond is refused.
    if (c.anzTln > 0) {
        EXPECT_TRUE(MoxSetTlnBusAdr(d.get(), c.anzTln - 1, 0x123));
        EXPECT_EQ(MoxGetTlnBusAdr(d.get(), c.anzTln - 1), 0x123);
    }
    if (c.anzPG > 0) {
        EXPECT_TRUE(MoxSetPGTlnIdx(d.get(), c.anzPG - 1, 2));
        EXPECT_EQ(MoxGetPGTlnIdx(d.get(), c.anzPG - 1), 2);
    }
    Snapshot before(*d);
    EXPECT_FALSE(MoxSetTlnBusAdr(d.get(), c.anzTln, 0x123));
    EXPECT_FALSE(MoxSetTlnVideo(d.get(), c.anzTln, 1));
    EXPECT_FALSE(MoxSetPGTlnIdx(d.get(), c.anzPG, 2));
    EXPECT_FALSE(MoxSetPGLicht(d.get(), c.anzPG, 1));
    EXPECT_TRUE(before.Unchanged(*d));
    EXPECT_EQ(MoxGetTlnBusAdr(d.get(), c.anzTln), 0);
    EXPECT_EQ(MoxGetPGTlnIdx(d.get(), c.anzPG), MOX_TLNIDX_NONE);
}

const CountCase kCountCases[] = {
    {"Nivo", eIT_Nivo, 3, 5},           {"Pello", eIT_Pello, 31, 11}, {"Quarz", eIT_Quarz, 4, 6},
    {"Undefined", eIT_Undefined, 0, 0}, {"Unknown", 9, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(DoorInterface, TablesInUse, testing::ValuesIn(kCountCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------- subscriber items

TEST(Tln, AddressesAndVideo) {
    auto d = NewRecord();
    EXPECT_TRUE(MoxSetTlnBusAdr(d.get(), 2, 0xFFFF));
    EXPECT_TRUE(MoxSetTlnLogAdr(d.get(), 2, 0x8001));
    EXPECT_TRUE(MoxSetTlnVideo(d.get(), 2, 1));
    EXPECT_EQ(MoxGetTlnBusAdr(d.get(), 2), 0xFFFF);
    EXPECT_EQ(MoxGetTlnLogAdr(d.get(), 2), 0x8001);
    EXPECT_EQ(MoxGetTlnVideo(d.get(), 2), 1);
    // The neighbours keep their defaults.
    EXPECT_EQ(MoxGetTlnBusAdr(d.get(), 1), 2);
    EXPECT_EQ(MoxGetTlnVideo(d.get(), 1), 0);
}

// ---------------------------------------------------------------- the rights

struct RightCase {
    const char* name;
    std::function<uint8_t(const MoxDaten*, uint8_t)> get;
    std::function<bool(MoxDaten*, uint8_t, uint8_t)> set;
    uint32_t bit;
};

void PrintTo(const RightCase& c, std::ostream* os) {
    *os << c.name;
}

class PGRight : public testing::TestWithParam<RightCase> {
protected:
    void SetUp() override {
        m_rec = NewRecord();
        MoxSetTypeIT(m_rec.get(), eIT_Pello); // all 11 groups in use
    }
    std::unique_ptr<MoxDaten> m_rec;
};

TEST_P(PGRight, SetsAndClearsOnlyItsBit) {
    const RightCase& c = GetParam();
    MoxDaten* d = m_rec.get();
    for (uint8_t g : {uint8_t{0}, uint8_t{1}, uint8_t{10}}) {
        const uint32_t start = d->PG[g].Permission;
        EXPECT_TRUE(c.set(d, g, 1)) << int(g);
        EXPECT_EQ(d->PG[g].Permission, start | c.bit) << int(g);
        EXPECT_EQ(c.get(d, g), 1) << int(g);
        EXPECT_TRUE(c.set(d, g, 0)) << int(g);
        EXPECT_EQ(d->PG[g].Permission, start & ~c.bit) << int(g);
        EXPECT_EQ(c.get(d, g), 0) << int(g);
        // Any non-zero value grants the right.
        EXPECT_TRUE(c.set(d, g, 0x80)) << int(g);
        EXPECT_EQ(c.get(d, g), 1) << int(g);
    }
}

TEST_P(PGRight, GroupOutsideTheTableIsRefused) {
    const RightCase& c = GetParam();
    MoxDaten* d = m_rec.get();
    MoxSetTypeIT(d, eIT_Quarz); // 6 groups
    d->PG[6].Permission = 0xFFFFFFFF;
    Snapshot before(*d);
    EXPECT_FALSE(c.set(d, 6, 0));
    EXPECT_FALSE(c.set(d, 255, 1));
    EXPECT_TRUE(before.Unchanged(*d));
    EXPECT_EQ(c.get(d, 6), 0);
}

#define RIGHT(R, bit)                                                                              \
    {                                                                                              \
#R, [](const MoxDaten* d,                                                                  \
               uint8_t g) { return MoxGetPG##R(d, g); },                                           \
                                                      [](MoxDaten * d, uint8_t g,                  \
                                                         uint8_t                                   \
                                                             v) { return MoxSetPG##R(d, g, v); },  \
                                                                                               bit \
    }
#define SCHALTCODE(n)                                                                              \
    {                                                                                              \
        "Schaltcode5" #n,                                                                          \
            [](const MoxDaten* d, uint8_t g) { return MoxGetPGSchaltcode(d, g, n - 1); },          \
            [](MoxDaten* d, uint8_t g, uint8_t v) { return MoxSetPGSchaltcode(d, g, n - 1, v); },  \
            1u << (15 + n)                                                                         \
    }

const RightCase kRightCases[] = {
    RIGHT(Tueroeffner, 1u << 0),
    RIGHT(Licht, 1u << 1),
    RIGHT(Tueranwahl, 1u << 3),
    RIGHT(MultifktRelais, 1u << 4),
    RIGHT(RAK, 1u << 5),
    RIGHT(Tuermatik, 1u << 6),
    RIGHT(Kettenruf, 1u << 7),
    RIGHT(Signalisierung, 1u << 8),
    RIGHT(Diversion, 1u << 9),
    RIGHT(Einwahl, 1u << 10),
    RIGHT(TuermatikEin, 1u << 12),
    RIGHT(KettenrufEin, 1u << 13),
    RIGHT(SignalisierungEin, 1u << 14),
    RIGHT(DiversionEin, 1u << 15),
    RIGHT(TuermatikSignal, 1u << 22),
    RIGHT(Schaltcode78, 1u << 23),
    SCHALTCODE(1),
    SCHALTCODE(2),
    SCHALTCODE(3),
    SCHALTCODE(4),
    SCHALTCODE(5),
    SCHALTCODE(6),
};

#undef RIGHT
#undef SCHALTCODE

INSTANTIATE_TEST_SUITE_P(Groups, PGRight, testing::ValuesIn(kRightCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PGSchaltcode, OnlyCodes51To56) {
    auto d = NewRecord();
    Snapshot before(*d);
    EXPECT_FALSE(MoxSetPGSchaltcode(d.get(), 0, 6, 1));
    EXPECT_FALSE(MoxSetPGSchaltcode(d.get(), 0, 255, 0));
    EXPECT_TRUE(before.Unchanged(*d));
    EXPECT_EQ(MoxGetPGSchaltcode(d.get(), 0, 6), 0);
    EXPECT_EQ(MoxGetPGSchaltcode(d.get(), 0, 5), 1); // granted by default
}

TEST(PGSchaltausgang, EachActuatorItsOwnBit) {
    auto d = NewRecord();
    for (uint8_t n = 0; n < 12; ++n) {
        d->PG[1].Schaltausgang = 0;
        EXPECT_TRUE(MoxSetPGSchaltausgang(d.get(), 1, n, 3));
        EXPECT_EQ(d->PG[1].Schaltausgang, 1u << n);
        EXPECT_EQ(MoxGetPGSchaltausgang(d.get(), 1, n), 1);
        d->PG[1].Schaltausgang = 0x0FFF;
        EXPECT_TRUE(MoxSetPGSchaltausgang(d.get(), 1, n, 0));
        EXPECT_EQ(d->PG[1].Schaltausgang, 0x0FFF & ~(1u << n));
    }
    Snapshot before(*d);
    EXPECT_FALSE(MoxSetPGSchaltausgang(d.get(), 1, 12, 1));
    EXPECT_TRUE(before.Unchanged(*d));
}

// ------------------------------------------------------------ the group code

struct PinCase {
    const char* name;
    uint8_t group;
    const char* pin;
    bool accepted;
};

void PrintTo(const PinCase& c, std::ostream* os) {
    *os << c.name;
}

class PGPin : public testing::TestWithParam<PinCase> {};

TEST_P(PGPin, ExactlyFourCharactersAndNotGroupZero) {
    const PinCase& c = GetParam();
    auto d = NewRecord();
    Snapshot before(*d);
    EXPECT_EQ(MoxSetPGPin(d.get(), c.group, c.pin), c.accepted);
    if (c.accepted) {
        EXPECT_EQ(GetText([&](const MoxDaten* r, char* b,
                              size_t n) { return MoxGetPGPin(r, c.group, b, n); },
                          d.get()),
                  c.pin);
    } else {
        EXPECT_TRUE(before.Unchanged(*d));
    }
}

const PinCase kPinCases[] = {
    {"Group1FourDigits", 1, "1234", true},
    {"Group4FourDigits", 4, "0000", true},
    {"Group0FourDigits", 0, "1234", false},
    {"ThreeDigits", 1, "123", false},
    {"FiveDigits", 1, "12345", false},
    {"Empty", 2, "", false},
    {"Null", 2, nullptr, false},
    {"GroupNotInUse", 5, "1234", false},
};

INSTANTIATE_TEST_SUITE_P(Groups, PGPin, testing::ValuesIn(kPinCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
