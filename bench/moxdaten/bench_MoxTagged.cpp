// Writing and loading the whole tagged image of the largest configuration:
// door interface type 2 (31 subscribers, 11 groups) with a controller and a
// camera device, every number and text at its longest, every right set.
// Run with --benchmark_repetitions=10 for medians.

#include "MoxTagged.h"

#include "MoxAccess.h"
#include "MoxDaten.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr size_t kImageSize = 32768;

void FillFull(MoxDaten* d) {
    const std::string digits24(24, '9'), digits20(20, '8'), text30(30, '\xFC'), text16(16, 'W'),
        text15(15, 'P');
    MoxInitDaten(d);
    MoxSetTypeIT(d, eIT_Pello);
    MoxSetTypeRAK(d, eRAK_Large);
    MoxSetTypeKMR(d, 1);
    MoxSetKamera(d, eKameraKMR);
    MoxSetRnr(d, digits24.c_str());
    MoxSetRnrExtBelegung(d, "0");
    for (uint8_t i = 0; i < MOX_MAX_SPERRNR; ++i)
        MoxSetSperrnr(d, i, "0190");
    MoxSetTuerrufdauer(d, 600);
    MoxSetSchaltdauerMfr(d, 999);
    MoxSetBSGProgKennziffer(d, 0xFFFF);
    MoxSetConciergeAktiv(d, 1);
    MoxSetConciergeVideo(d, 1);
    MoxSetConciergeRnr(d, digits20.c_str());
    for (uint8_t i = 0; i < MOX_MAX_TUER; ++i)
        MoxSetTuerrufText(d, i, text30.c_str());
    for (uint8_t i = 0; i < MOX_MAX_BSMRELAIS; ++i) {
        MoxSetBSMRelais(d, i, 0xFFFF, 0xFF);
        MoxSetBSMRelaisText(d, i, text16.c_str());
        MoxSetSchaltcodeAdr(d, i, 0xFFFF);
        MoxSetSchaltcodeVideo(d, i, 1);
        MoxSetSchaltcodeText(d, i, text16.c_str());
    }
    for (uint8_t i = 0; i < MoxGetAnzTln(d); ++i) {
        MoxSetTlnRnr(d, i, digits20.c_str());
        MoxSetTlnBusAdr(d, i, static_cast<uint16_t>(0x8000 + i));
        MoxSetTlnLogAdr(d, i, static_cast<uint16_t>(0x8100 + i));
        MoxSetTlnVideo(d, i, 1);
    }
    for (uint8_t i = 0; i < MoxGetAnzPG(d); ++i) {
        MoxSetPGPin(d, i, "1234");
        d->PG[i].Permission = 0xFFFFFFFF & ~((1u << 2) | (1u << 11) | 0xFF000000u);
        d->PG[i].Schaltausgang = MOX_SCHALTAUSGANG_ALL;
        MoxSetPGKettenRnr(d, i, digits24.c_str());
        MoxSetPGSignalRnr(d, i, digits24.c_str());
        MoxSetPGDiversionRnr(d, i, digits24.c_str());
        MoxSetPGTlnIdx(d, i, 0x1234);
    }
    MoxSetMfeMeldefkt(d, 1, digits24.c_str(), 1, digits24.c_str(), 9, digits24.c_str(), 1, 1, 1, 1,
                      1);
    MoxSetMfrMode(d, eModeSchaltAusgangVideo, 30);
    for (uint8_t i = 0; i < MOX_MAX_RAK; ++i) {
        MoxSetRAKEingangMeldefkt(d, i, 1, digits24.c_str(), 1, digits24.c_str(), 9,
                                 digits24.c_str(), 1, 1, 1, 1, 1);
        MoxSetRAKAusgangMode(d, i, eModeSchaltAusgangLicht, 0x0102);
        MoxSetRAKAusgangSprache(d, i, 0xFF);
        MoxSetMeldeeingangsText(d, i, text30.c_str());
        MoxSetSchaltausgangsText(d, i, text30.c_str());
    }
    MoxSetEtagenrufText(d, text30.c_str());
    for (uint8_t i = 0; i < MOX_MAX_SMS; ++i) {
        MoxSetSMSProvider(d, i, text15.c_str());
        MoxSetSMSRnr(d, i, digits24.c_str());
        MoxSetSMSProtokoll(d, i, 2);
    }
    std::snprintf(d->VersionMox, sizeof d->VersionMox, "%s", text16.c_str());
    std::snprintf(d->VersionKMR, sizeof d->VersionKMR, "%s", text16.c_str());
}

struct Fixture {
    Fixture() : image(kImageSize) {
        FillFull(&data);
        MoxSetStreamBuffer(&data, image.data(), image.size());
        length = MoxWriteTaggedData(&data, eTaggedData_All, 255, true);
    }
    MoxDaten data{};
    std::vector<uint8_t> image;
    uint16_t length = 0;
};

void BM_WriteWholeImage(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MoxWriteTaggedData(&f.data, eTaggedData_All, 255, true));
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = f.length;
}
BENCHMARK(BM_WriteWholeImage);

void BM_CountWholeImage(benchmark::State& state) {
    Fixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(MoxWriteTaggedData(&f.data, eTaggedData_All, 255, false));
}
BENCHMARK(BM_CountWholeImage);

void BM_LoadWholeImage(benchmark::State& state) {
    Fixture f;
    MoxDaten loaded{};
    bool ok = true;
    for (auto _ : state) {
        ok &= MoxLoadDaten(&loaded, f.image.data(), f.image.size());
        benchmark::ClobberMemory();
    }
    if (!ok)
        state.SkipWithError("image did not load");
    state.counters["bytes"] = f.length;
}
BENCHMARK(BM_LoadWholeImage);

void BM_CheckWholeImage(benchmark::State& state) {
    Fixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(MoxReadTaggedData(&f.data, false));
}
BENCHMARK(BM_CheckWholeImage);

} // namespace
