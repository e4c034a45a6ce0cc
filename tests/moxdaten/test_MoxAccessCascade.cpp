// Cascades of the type setters and of clearing a subscriber's video flag:
// what each resets, what it keeps, and that setting the stored value again
// changes nothing at all.

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "test_MoxAccessUtil.h"

using namespace moxtest;

namespace {

// A record with something in every part a cascade may reset.
std::unique_ptr<MoxDaten> FilledRecord(uint8_t typeIT = eIT_Nivo, uint8_t typeRAK = eRAK_Large) {
    auto d = NewRecord();
    MoxSetTypeIT(d.get(), typeIT);
    MoxSetTypeRAK(d.get(), typeRAK);
    for (uint8_t i = 0; i < MoxGetAnzTln(d.get()); ++i) {
        MoxSetTlnRnr(d.get(), i, "4711");
        MoxSetTlnBusAdr(d.get(), i, 0x100 + i);
        MoxSetTlnVideo(d.get(), i, 1);
    }
    for (uint8_t g = 0; g < MOX_MAX_PG; ++g) {
        d->PG[g].Permission |= ePermRAK | ePermDiversion;
        d->PG[g].Schaltausgang = 0x0A5A;
        std::strcpy(d->PG[g].KettenRnr, "0815");
    }
    MoxSetMfeMeldefkt(d.get(), 1, "11", 1, "22", 1, "33", 1, 1, 1, 1, 1);
    MoxSetEtagenrufText(d.get(), "Flur");
    MoxSetMfrMode(d.get(), eModeSchaltAusgangVideo, 1);
    MoxSetRAKEingangMeldefkt(d.get(), 0, 1, "44", 0, "", 0xFF, nullptr, 0, 0, 0, 0, 0);
    MoxSetRAKAusgangMode(d.get(), 0, eModeSchaltAusgangVideo, 1);
    MoxSetMeldeeingangsText(d.get(), 0, "Rauch");
    MoxSetSchaltausgangsText(d.get(), 0, "Pumpe");
    MoxSetBSMRelais(d.get(), 0, 0x40, 3);
    MoxSetBSMRelaisText(d.get(), 0, "Garage");
    return d;
}

// -------------------------------------------------------- the same type again

struct SameTypeCase {
    const char* name;
    bool (*set)(MoxDaten*, uint8_t);
    uint8_t (*get)(const MoxDaten*);
};

void PrintTo(const SameTypeCase& c, std::ostream* os) {
    *os << c.name;
}

class SameType : public testing::TestWithParam<SameTypeCase> {};

TEST_P(SameType, ChangesNothing) {
    auto d = FilledRecord(eIT_Pello);
    MoxSetTypeBSM(d.get(), 1);
    MoxSetBSMRelais(d.get(), 2, 0x41, 1);
    Snapshot before(*d);
    EXPECT_TRUE(GetParam().set(d.get(), GetParam().get(d.get())));
    EXPECT_TRUE(before.Unchanged(*d));
}

const SameTypeCase kSameTypeCases[] = {
    {"TypeIT", MoxSetTypeIT, MoxGetTypeIT},
    {"TypeRAK", MoxSetTypeRAK, MoxGetTypeRAK},
    {"TypeBSM", MoxSetTypeBSM, MoxGetTypeBSM},
    {"TypeKMR", MoxSetTypeKMR, MoxGetTypeKMR},
};

INSTANTIATE_TEST_SUITE_P(Cascade, SameType, testing::ValuesIn(kSameTypeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ TypeIT

struct TypeITCase {
    const char* name;
    uint8_t from;
    uint8_t to;
    uint8_t bsmBefore;
    uint8_t bsmAfter;
    bool relaysCleared;
    uint16_t tlnAdr0; // address of subscriber 0 afterwards
};

void PrintTo(const TypeITCase& c, std::ostream* os) {
    *os << c.name;
}

class TypeITChange : public testing::TestWithParam<TypeITCase> {};

TEST_P(TypeITChange, ResetsSubscribersGroupsInputAndRelay) {
    const TypeITCase& c = GetParam();
    auto d = FilledRecord(c.from);
    d->TypeBSM = c.bsmBefore;
    auto reference = NewRecord();

    EXPECT_TRUE(MoxSetTypeIT(d.get(), c.to));
    EXPECT_EQ(d->TypeIT, c.to);
    for (int i = 0; i < MOX_MAX_TLN; ++i) {
        EXPECT_STREQ(d->Tln[i].Rnr, "") << i;
        EXPECT_EQ(d->Tln[i].Video, 0) << i;
        const uint16_t adr = c.to == eIT_Pello ? 0 : static_cast<uint16_t>(i + 1);
        EXPECT_EQ(d->Tln[i].BusAdr, adr) << i;
        EXPECT_EQ(d->Tln[i].LogAdr, adr) << i;
    }
    EXPECT_EQ(d->Tln[0].BusAdr, c.tlnAdr0);
    // Groups get their defaults, with the controller rights the type allows.
    EXPECT_EQ(d->PG[0].Permission & ePermRAK, ePermRAK);
    EXPECT_EQ(d->PG[0].Schaltausgang, 0x0FFF);
    EXPECT_STREQ(d->PG[3].KettenRnr, "");
    EXPECT_EQ(d->PG[3].TlnIdx, 1);
    EXPECT_STREQ(d->PG[3].Pin, "6271");
    // Box input, floor-call text and box relay back to their defaults.
    EXPECT_EQ(std::memcmp(&d->Mfe, &reference->Mfe, sizeof d->Mfe), 0);
    EXPECT_STREQ(d->EtagenrufText, reference->EtagenrufText);
    EXPECT_EQ(d->Mfr.Mode, eModeSchaltAusgangSchalter);
    EXPECT_EQ(d->Mfr.TlnIdx, MOX_TLNIDX_NONE);
    // The relay type follows the door interface.
    EXPECT_EQ(d->TypeBSM, c.bsmAfter);
    EXPECT_EQ(d->BSMRelais[0].Adr, c.relaysCleared ? 0 : 0x40);
    EXPECT_STREQ(d->BSMRelais[0].Text, c.relaysCleared ? "" : "Garage");
    // The controller is not the door interface's business.
    EXPECT_STREQ(d->MeldeeingangsText[0], "Rauch");
    EXPECT_EQ(d->RAKAusgang[0].TlnIdx, 1);
    EXPECT_STREQ(d->RAKEingang[0].Nr1, "44");
}

const TypeITCase kTypeITCases[] = {
    {"NivoToPelloSetsBSM", eIT_Nivo, eIT_Pello, 0, 1, true, 0},
    {"NivoToPelloBSMAlreadySet", eIT_Nivo, eIT_Pello, 1, 1, false, 0},
    {"PelloToNivoClearsBSM", eIT_Pello, eIT_Nivo, 1, 0, true, 1},
    {"NivoToQuarz", eIT_Nivo, eIT_Quarz, 0, 0, false, 1},
    {"PelloToQuarz", eIT_Pello, eIT_Quarz, 1, 0, true, 1},
    {"NivoToUndefinedKeepsBSM", eIT_Nivo, eIT_Undefined, 1, 1, false, 1},
    {"PelloToUnknownKeepsBSM", eIT_Pello, 7, 1, 1, false, 1},
};

INSTANTIATE_TEST_SUITE_P(Cascade, TypeITChange, testing::ValuesIn(kTypeITCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ----------------------------------------------------------------- TypeRAK

TEST(TypeRAKCascade, RemovingTheControllerTakesItsRights) {
    auto d = FilledRecord(eIT_Nivo, eRAK_Large); // 5 groups in use
    auto reference = NewRecord();
    EXPECT_TRUE(MoxSetTypeRAK(d.get(), eRAK_Undefined));
    EXPECT_EQ(d->TypeRAK, eRAK_Undefined);
    for (int g = 0; g < 5; ++g) {
        EXPECT_EQ(d->PG[g].Permission & ePermRAK, 0u) << g;
        EXPECT_EQ(d->PG[g].Schaltausgang, 0) << g;
        // Other rights and numbers stay.
        EXPECT_EQ(d->PG[g].Permission & ePermDiversion, ePermDiversion) << g;
        EXPECT_STREQ(d->PG[g].KettenRnr, "0815") << g;
    }
    // The groups beyond the count in use are refused by the setters and keep
    // their bits.
    for (int g = 5; g < MOX_MAX_PG; ++g) {
        EXPECT_EQ(d->PG[g].Permission & ePermRAK, ePermRAK) << g;
        EXPECT_EQ(d->PG[g].Schaltausgang, 0x0A5A) << g;
    }
    // Inputs, outputs and their texts are back to their defaults.
    EXPECT_EQ(std::memcmp(d->RAKEingang, reference->RAKEingang, sizeof d->RAKEingang), 0);
    EXPECT_EQ(std::memcmp(d->RAKAusgang, reference->RAKAusgang, sizeof d->RAKAusgang), 0);
    EXPECT_STREQ(d->MeldeeingangsText[0], "Sensor 1");
    EXPECT_STREQ(d->SchaltausgangsText[0], "Aktor 1");
    // Subscribers and the box's own input are untouched.
    EXPECT_STREQ(d->Tln[0].Rnr, "4711");
    EXPECT_STREQ(d->Mfe.Nr1, "11");
}

TEST(TypeRAKCascade, AddingTheControllerResetsItsTablesOnly) {
    auto d = FilledRecord(eIT_Pello, eRAK_Undefined);
    MoxSetRAKEingangMeldefkt(d.get(), 0, 1, "44", 0, "", 0xFF, nullptr, 0, 0, 0, 0, 0);
    MoxSetMeldeeingangsText(d.get(), 0, "Rauch");
    const uint32_t perm0 = d->PG[0].Permission;
    EXPECT_TRUE(MoxSetTypeRAK(d.get(), eRAK_Large));
    EXPECT_EQ(d->TypeRAK, eRAK_Large);
    EXPECT_STREQ(d->RAKEingang[0].Nr1, "");
    EXPECT_STREQ(d->MeldeeingangsText[0], "Sensor 1");
    EXPECT_EQ(d->PG[0].Permission, perm0); // no rights granted by the change
    EXPECT_EQ(d->PG[0].Schaltausgang, 0x0A5A);
}

// ----------------------------------------------------------------- TypeBSM

TEST(TypeBSMCascade, ChangeClearsTheRelays) {
    auto d = FilledRecord();
    for (uint8_t r = 0; r < MOX_MAX_BSMRELAIS; ++r)
        MoxSetBSMRelais(d.get(), r, 0x40 + r, r);
    EXPECT_TRUE(MoxSetTypeBSM(d.get(), 1));
    EXPECT_EQ(d->TypeBSM, 1);
    for (int r = 0; r < MOX_MAX_BSMRELAIS; ++r) {
        EXPECT_EQ(d->BSMRelais[r].Adr, 0) << r;
        EXPECT_EQ(d->BSMRelais[r].Relais, 0) << r;
        EXPECT_STREQ(d->BSMRelais[r].Text, "") << r;
    }
    // The switching codes are something else.
    MoxSetSchaltcodeText(d.get(), 0, "Tor");
    MoxSetBSMRelais(d.get(), 0, 0x40, 1);
    EXPECT_TRUE(MoxSetTypeBSM(d.get(), 0));
    EXPECT_EQ(d->BSMRelais[0].Adr, 0);
    EXPECT_STREQ(d->Schaltcode[0].Text, "Tor");
}

// ---------------------------------------------------------------- TlnVideo

struct VideoCase {
    const char* name;
    uint8_t mfrMode;
    uint16_t mfrTln;
    uint8_t outMode;
    uint16_t outTln;
    uint8_t tln;   // subscriber whose flag is changed
    uint8_t video; // new flag
    bool unlinked; // relay and output lose their subscriber
};

void PrintTo(const VideoCase& c, std::ostream* os) {
    *os << c.name;
}

class TlnVideoCascade : public testing::TestWithParam<VideoCase> {};

TEST_P(TlnVideoCascade, UnlinksVideoOutputsOfTheSubscriber) {
    const VideoCase& c = GetParam();
    auto d = FilledRecord();
    MoxSetMfrMode(d.get(), c.mfrMode, c.mfrTln);
    for (uint8_t o = 0; o < MOX_MAX_RAKAUSGANG; ++o)
        MoxSetRAKAusgangMode(d.get(), o, c.outMode, c.outTln);
    MoxSetRAKAusgangMode(d.get(), 5, eModeSchaltAusgangVideo, 0); // another subscriber

    EXPECT_TRUE(MoxSetTlnVideo(d.get(), c.tln, c.video));
    EXPECT_EQ(MoxGetTlnVideo(d.get(), c.tln), c.video);
    uint16_t tln = 0;
    EXPECT_EQ(MoxGetMfrMode(d.get(), &tln), c.mfrMode); // the mode always stays
    EXPECT_EQ(tln, c.unlinked ? MOX_TLNIDX_NONE : c.mfrTln);
    for (uint8_t o = 0; o < MOX_MAX_RAKAUSGANG; ++o) {
        if (o == 5)
            continue;
        EXPECT_EQ(MoxGetRAKAusgangMode(d.get(), o, &tln), c.outMode) << int(o);
        EXPECT_EQ(tln, c.unlinked ? MOX_TLNIDX_NONE : c.outTln) << int(o);
    }
    EXPECT_EQ(MoxGetRAKAusgangMode(d.get(), 5, &tln), eModeSchaltAusgangVideo);
    EXPECT_EQ(tln, 0);
}

const VideoCase kVideoCases[] = {
    {"ClearingUnlinks", eModeSchaltAusgangVideo, 2, eModeSchaltAusgangVideo, 2, 2, 0, true},
    {"SettingKeeps", eModeSchaltAusgangVideo, 2, eModeSchaltAusgangVideo, 2, 2, 1, false},
    {"OtherSubscriberKept", eModeSchaltAusgangVideo, 1, eModeSchaltAusgangVideo, 1, 2, 0, false},
    {"NotVideoModeKept", eModeSchaltAusgangTaster, 2, eModeSchaltAusgangLicht, 2, 2, 0, false},
};

INSTANTIATE_TEST_SUITE_P(Cascade, TlnVideoCascade, testing::ValuesIn(kVideoCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
