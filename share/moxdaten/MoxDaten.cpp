#include "MoxDaten.h"

#include <cassert>
#include <cstring>

#include "MoxAccess.h"
#include "MoxAccessUtil.h"
#include "MoxCrc.h"

using namespace moxaccess;

// The record is copied and stored as a block; it must stay plain bytes.
static_assert(std::is_trivially_copyable_v<MoxDaten>);

namespace {

// Default names are Windows-1252 bytes: 0xFC is "ü".
constexpr char kTuerrufText[] = "Haust\xFCr";
constexpr char kTuerrufPrefix[] = "Haust\xFCr ";
constexpr char kEtagenrufText[] = "Wohnungst\xFCr";
constexpr char kMeldeeingangsText[] = "Sensor ";
constexpr char kSchaltausgangsText[] = "Aktor ";

// Codes of the groups 2..10, each linked to subscriber 0..8.
constexpr const char* kPGPin[MOX_MAX_PG] = {"",     "4817", "5093", "6271", "7358", "8046",
                                            "9162", "3705", "2549", "1486", "6938"};

constexpr uint32_t kPermGroup0 = ePermTueroeffner | ePermLicht | ePermTueranwahl |
                                 ePermMultifktRelais | ePermTuermatik | MOX_PERM_SCHALTCODE_ALL |
                                 ePermSchaltcode78;
constexpr uint32_t kPermGroupTln = ePermEinwahl | MOX_PERM_SCHALTCODE_ALL | ePermSchaltcode78;

// "<prefix><number>" into a text field, cut to the field.
template <size_t N> void SetNumberedText(char (&field)[N], const char* prefix, int number) {
    char digits[MOX_INTTEXT_SIZE];
    MoxIntToText(number, digits);
    char text[N + MOX_INTTEXT_SIZE] = {};
    std::strncat(text, prefix, N - 1);
    std::strncat(text, digits, sizeof text - std::strlen(text) - 1);
    StoreCut(field, N - 1, text);
}

void InitMeldeEingang(MoxMeldeEingang& in) {
    Zero(in);
    in.Mode = eModeMeldeEingangUndefined;
    in.ProviderIdx = MOX_PROVIDERIDX_NONE;
    in.PGIdx = 0;
    in.Options = 0;
}

} // namespace

void MoxInitDaten(MoxDaten* pData) {
    assert(pData);
    // Value-initialised first: otherwise the camera choice and the relay
    // type would follow whatever the record held before.
    Zero(*pData);
    TagStrInit(&pData->stream);
    pData->IO_TlnAdr = 1;
    pData->IO_Version = 1;
    MoxSetTypeIT(pData, eIT_Nivo);
    MoxSetTypeRAK(pData, eRAK_Undefined);
    Clear(pData->VersionMox);
    Clear(pData->VersionKMR);

    MoxInitKTXKonfig(pData);
    MoxInitSystem(pData);
    MoxInitSperrnr(pData);
    MoxInitBSMRelais(pData);
    MoxInitSchaltcode(pData);
    MoxInitAllTln(pData);
    MoxInitPG(pData);
    MoxInitMfe(pData);
    MoxInitMfr(pData);
    MoxInitRAKEingang(pData);
    MoxInitRAKAusgang(pData);
    MoxInitKMR(pData);
    MoxInitTuerrufTexte(pData);
    MoxInitSMS(pData);

    MoxSetTypeIT(pData, eIT_Nivo);
    MoxSetTypeRAK(pData, eRAK_Undefined);
    MoxSetTypeKMR(pData, 0);
    Clear(pData->VersionMox);
    Clear(pData->VersionKMR);
}

void MoxInitKTXKonfig(MoxDaten* pData) {
    assert(pData);
    pData->Land = eLV_Deutschland;
    pData->Sprache = eSpracheDeutsch;
    Clear(pData->Rnr);
    Clear(pData->RnrExtBelegung);
    StoreCut(pData->MasterPin, MOX_MASTERPIN_SIZE - 1, MOX_MASTERPIN_DEFAULT);
    pData->Sprachausgabe = 0;
    pData->Sprachwaage = 1;
    pData->ConciergeAktiv = 0;
    Clear(pData->ConciergeRnr);
    pData->ConciergeVideo = 0;
}

void MoxInitSystem(MoxDaten* pData) {
    assert(pData);
    pData->Kamera = pData->TypeKMR == 1 ? eKameraKMR : eKameraKeine;
    pData->Tuerrufannahme = 40;
    pData->Tuerrufdauer = 120;
    pData->Tuermatik = 3;
    pData->SchaltdauerMfr = 3;
    pData->PegelKommend = MOX_PEGEL_0DB;
    pData->PegelGehend = MOX_PEGEL_0DB;
    pData->Nachtriggern = 3;
    pData->Kettenruf = 20;
    pData->BSGProgKennziffer = 0;
}

void MoxInitSperrnr(MoxDaten* pData) {
    assert(pData);
    for (auto& nr : pData->Sperrnr)
        Clear(nr);
}

void MoxInitBSMRelais(MoxDaten* pData) {
    assert(pData);
    for (auto& r : pData->BSMRelais)
        Zero(r);
}

void MoxInitSchaltcode(MoxDaten* pData) {
    assert(pData);
    for (auto& c : pData->Schaltcode)
        Zero(c);
}

void MoxInitTln(MoxDaten* pData, uint8_t i) {
    assert(pData);
    if (i >= MOX_MAX_TLN)
        return;
    MoxTln& tln = pData->Tln[i];
    Zero(tln);
    // The large door interface gets its addresses from the bus programming;
    // the small ones have fixed addresses 1..n.
    const uint16_t adr = pData->TypeIT == eIT_Pello ? 0 : static_cast<uint16_t>(i + 1);
    tln.BusAdr = adr;
    tln.LogAdr = adr;
    tln.Video = 0;
}

void MoxInitAllTln(MoxDaten* pData) {
    assert(pData);
    for (int i = 0; i < MOX_MAX_TLN; ++i)
        MoxInitTln(pData, static_cast<uint8_t>(i));
}

void MoxDeleteAllTln(MoxDaten* pData) {
    MoxInitAllTln(pData);
}

void MoxInitPG(MoxDaten* pData) {
    assert(pData);
    for (int g = 0; g < MOX_MAX_PG; ++g) {
        MoxPG& pg = pData->PG[g];
        Zero(pg);
        pg.Permission = 0;
        pg.TlnIdx = MOX_TLNIDX_NONE;
        pg.Schaltausgang = 0;
        StoreCut(pg.Pin, MOX_PIN_SIZE - 1, kPGPin[g]);
        if (g == 0)
            pg.Permission = kPermGroup0;
        else if (g >= 2) {
            pg.Permission = kPermGroupTln;
            pg.TlnIdx = static_cast<uint16_t>(g - 2);
        }
        // Group 1 (the master code) never gets the controller rights.
        if (pData->TypeRAK != eRAK_Undefined && g != 1) {
            pg.Permission |= ePermRAK;
            pg.Schaltausgang = MOX_SCHALTAUSGANG_ALL;
        }
    }
}

void MoxInitMfe(MoxDaten* pData) {
    assert(pData);
    InitMeldeEingang(pData->Mfe);
    StoreCut(pData->EtagenrufText, MOX_TEXT_SIZE - 1, kEtagenrufText);
}

void MoxInitMfr(MoxDaten* pData) {
    assert(pData);
    pData->Mfr.Mode = eModeSchaltAusgangSchalter;
    pData->Mfr.TlnIdx = MOX_TLNIDX_NONE;
}

void MoxInitRAKEingang(MoxDaten* pData) {
    assert(pData);
    for (int i = 0; i < MOX_MAX_RAKEINGANG; ++i) {
        InitMeldeEingang(pData->RAKEingang[i]);
        SetNumberedText(pData->MeldeeingangsText[i], kMeldeeingangsText, i + 1);
    }
}

void MoxInitRAKAusgang(MoxDaten* pData) {
    assert(pData);
    for (int i = 0; i < MOX_MAX_RAKAUSGANG; ++i) {
        MoxSchaltAusgang& out = pData->RAKAusgang[i];
        out.Mode = eModeSchaltAusgangSchalter;
        out.TlnIdx = MOX_TLNIDX_NONE;
        out.Sprache = 0;
        SetNumberedText(pData->SchaltausgangsText[i], kSchaltausgangsText, i + 1);
    }
}

void MoxInitKMR(MoxDaten* pData) {
    assert(pData);
    pData->Kameratyp = 2;
    pData->Codierqual = 60;
    pData->Bandbreite = 2;
    pData->Helligkeit = 60;
    pData->Kontrast = 60;
    pData->Saettigung = 60;
}

void MoxInitTuerrufTexte(MoxDaten* pData) {
    assert(pData);
    // Doors 1..6 carry their number; door 7 is the plain name.
    for (int i = 0; i < MOX_MAX_TUER - 1; ++i)
        SetNumberedText(pData->TuerrufText[i], kTuerrufPrefix, i + 1);
    StoreCut(pData->TuerrufText[MOX_MAX_TUER - 1], MOX_TEXT_SIZE - 1, kTuerrufText);
    for (auto& tone : pData->Rufton)
        tone = eRufton1;
}

void MoxInitSMS(MoxDaten* pData) {
    assert(pData);
    for (auto& sms : pData->SMS)
        Zero(sms);
}

void MoxSetStreamBuffer(MoxDaten* pData, uint8_t* buffer, size_t size) {
    assert(pData);
    TagStrAttach(&pData->stream, buffer, size);
}

void MoxSetStreamIntern(MoxDaten* pData) {
    assert(pData);
    TagStrInit(&pData->stream);
}

void MoxClearStream(MoxDaten* pData) {
    assert(pData);
    TagStrClear(&pData->stream);
}

uint32_t MoxGetStreamLen(MoxDaten* pData) {
    assert(pData);
    return TagStrLen(&pData->stream);
}
