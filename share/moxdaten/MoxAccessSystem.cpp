// Accessors of the system settings, the device types, the bus relays and
// switching codes, the name texts, the SMS providers and the camera device.

#include <cassert>

#include "MoxAccess.h"
#include "MoxAccessUtil.h"

using namespace moxaccess;

namespace {

// Stores value when lo <= value <= hi.
template <typename T> bool SetInRange(T& field, T value, T lo, T hi) {
    if (value < lo || value > hi)
        return false;
    field = value;
    return true;
}

} // namespace

// ------------------------------------------------------------ country, numbers

uint8_t MoxGetLand(const MoxDaten* pData) {
    assert(pData);
    return pData->Land;
}

bool MoxSetLand(MoxDaten* pData, uint8_t land) {
    assert(pData);
    pData->Land = land;
    return true;
}

uint8_t MoxGetSprache(const MoxDaten* pData) {
    assert(pData);
    return pData->Sprache;
}

bool MoxSetSprache(MoxDaten* pData, uint8_t sprache) {
    assert(pData);
    pData->Sprache = sprache;
    return true;
}

bool MoxGetRnr(const MoxDaten* pData, char* buffer, size_t size) {
    assert(pData);
    return CopyOut(buffer, size, pData->Rnr);
}

bool MoxSetRnr(MoxDaten* pData, const char* rnr) {
    assert(pData);
    return StoreWhole(pData->Rnr, MOX_RNR_SIZE - 1, rnr);
}

bool MoxGetRnrExtBelegung(const MoxDaten* pData, char* buffer, size_t size) {
    assert(pData);
    return CopyOut(buffer, size, pData->RnrExtBelegung);
}

bool MoxSetRnrExtBelegung(MoxDaten* pData, const char* rnr) {
    assert(pData);
    return StoreWhole(pData->RnrExtBelegung, MOX_RNREXT_SIZE - 1, rnr);
}

bool MoxGetSperrnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (i >= MOX_MAX_SPERRNR)
        return false;
    return CopyOut(buffer, size, pData->Sperrnr[i]);
}

bool MoxSetSperrnr(MoxDaten* pData, uint8_t i, const char* rnr) {
    assert(pData);
    if (i >= MOX_MAX_SPERRNR)
        return false;
    return StoreWhole(pData->Sperrnr[i], MOX_SPERRNR_SIZE - 1, rnr);
}

// ------------------------------------------------------------- times, levels

uint8_t MoxGetKamera(const MoxDaten* pData) {
    assert(pData);
    return pData->Kamera;
}

bool MoxSetKamera(MoxDaten* pData, uint8_t kamera) {
    assert(pData);
    // A camera can only be chosen where one can be connected.
    const bool allowed = kamera == eKameraKeine ||
                         (kamera == eKameraRAK && pData->TypeRAK != eRAK_Undefined) ||
                         (kamera == eKameraKMR && pData->TypeKMR != 0);
    if (!allowed)
        return false;
    pData->Kamera = kamera;
    return true;
}

uint8_t MoxGetTuerrufannahme(const MoxDaten* pData) {
    assert(pData);
    return pData->Tuerrufannahme;
}

bool MoxSetTuerrufannahme(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetInRange<uint8_t>(pData->Tuerrufannahme, value, MOX_TUERRUFANNAHME_MIN,
                               MOX_TUERRUFANNAHME_MAX);
}

uint16_t MoxGetTuerrufdauer(const MoxDaten* pData) {
    assert(pData);
    return pData->Tuerrufdauer;
}

bool MoxSetTuerrufdauer(MoxDaten* pData, uint16_t value) {
    assert(pData);
    return SetInRange<uint16_t>(pData->Tuerrufdauer, value, MOX_TUERRUFDAUER_MIN,
                                MOX_TUERRUFDAUER_MAX);
}

uint8_t MoxGetTuermatik(const MoxDaten* pData) {
    assert(pData);
    return pData->Tuermatik;
}

bool MoxSetTuermatik(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetInRange<uint8_t>(pData->Tuermatik, value, MOX_TUERMATIK_MIN, MOX_TUERMATIK_MAX);
}

uint16_t MoxGetSchaltdauerMfr(const MoxDaten* pData) {
    assert(pData);
    return pData->SchaltdauerMfr;
}

bool MoxSetSchaltdauerMfr(MoxDaten* pData, uint16_t value) {
    assert(pData);
    return SetInRange<uint16_t>(pData->SchaltdauerMfr, value, MOX_SCHALTDAUERMFR_MIN,
                                MOX_SCHALTDAUERMFR_MAX);
}

uint8_t MoxGetKettenruf(const MoxDaten* pData) {
    assert(pData);
    return pData->Kettenruf;
}

bool MoxSetKettenruf(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetInRange<uint8_t>(pData->Kettenruf, value, MOX_KETTENRUF_MIN, MOX_KETTENRUF_MAX);
}

uint16_t MoxGetPegelKommend(const MoxDaten* pData) {
    assert(pData);
    return pData->PegelKommend;
}

// A raw level of 0 would be minus infinity dB: the page's conversion hands it
// over for an extreme entry, so it is refused here rather than trusted.
bool MoxSetPegelKommend(MoxDaten* pData, uint16_t pegel) {
    assert(pData);
    if (pegel == 0)
        return false;
    pData->PegelKommend = pegel;
    return true;
}

uint16_t MoxGetPegelGehend(const MoxDaten* pData) {
    assert(pData);
    return pData->PegelGehend;
}

bool MoxSetPegelGehend(MoxDaten* pData, uint16_t pegel) {
    assert(pData);
    if (pegel == 0)
        return false;
    pData->PegelGehend = pegel;
    return true;
}

uint8_t MoxGetNachtriggern(const MoxDaten* pData) {
    assert(pData);
    return pData->Nachtriggern;
}

bool MoxSetNachtriggern(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetInRange<uint8_t>(pData->Nachtriggern, value, MOX_NACHTRIGGERN_MIN,
                               MOX_NACHTRIGGERN_MAX);
}

uint16_t MoxGetBSGProgKennziffer(const MoxDaten* pData) {
    assert(pData);
    return pData->BSGProgKennziffer;
}

bool MoxSetBSGProgKennziffer(MoxDaten* pData, uint16_t value) {
    assert(pData);
    pData->BSGProgKennziffer = value;
    return true;
}

uint8_t MoxGetRufton(const MoxDaten* pData, uint8_t tuer) {
    assert(pData);
    return tuer < MOX_MAX_TUER ? pData->Rufton[tuer] : 0;
}

bool MoxSetRufton(MoxDaten* pData, uint8_t tuer, uint8_t rufton) {
    assert(pData);
    if (tuer >= MOX_MAX_TUER)
        return false;
    pData->Rufton[tuer] = rufton;
    return true;
}

uint8_t MoxGetSprachausgabe(const MoxDaten* pData) {
    assert(pData);
    return pData->Sprachausgabe;
}

void MoxSetSprachausgabe(MoxDaten* pData, uint8_t value) {
    assert(pData);
    pData->Sprachausgabe = value;
}

uint8_t MoxGetSprachwaage(const MoxDaten* pData) {
    assert(pData);
    return pData->Sprachwaage;
}

void MoxSetSprachwaage(MoxDaten* pData, uint8_t value) {
    assert(pData);
    pData->Sprachwaage = value;
}

// ----------------------------------------------------------------- concierge

uint8_t MoxGetConciergeAktiv(const MoxDaten* pData) {
    assert(pData);
    return pData->ConciergeAktiv;
}

bool MoxSetConciergeAktiv(MoxDaten* pData, uint8_t value) {
    assert(pData);
    pData->ConciergeAktiv = value;
    return true;
}

uint8_t MoxGetConciergeVideo(const MoxDaten* pData) {
    assert(pData);
    return pData->ConciergeVideo;
}

bool MoxSetConciergeVideo(MoxDaten* pData, uint8_t value) {
    assert(pData);
    pData->ConciergeVideo = value;
    return true;
}

bool MoxGetConciergeRnr(const MoxDaten* pData, char* buffer, size_t size) {
    assert(pData);
    return CopyOut(buffer, size, pData->ConciergeRnr);
}

bool MoxSetConciergeRnr(MoxDaten* pData, const char* rnr) {
    assert(pData);
    return StoreWhole(pData->ConciergeRnr, MOX_CONCIERGERNR_SIZE - 1, rnr);
}

// ------------------------------------------------- bus relays, switching codes

uint8_t MoxGetAnzBSMRelais([[maybe_unused]] const MoxDaten* pData) {
    assert(pData);
    return MOX_MAX_BSMRELAIS;
}

uint8_t MoxGetAnzSchaltcode([[maybe_unused]] const MoxDaten* pData) {
    assert(pData);
    return MOX_MAX_SCHALTCODE;
}

bool MoxGetBSMRelais(const MoxDaten* pData, uint8_t i, uint16_t* adr, uint8_t* relais) {
    assert(pData);
    if (i >= MOX_MAX_BSMRELAIS)
        return false;
    if (adr)
        *adr = pData->BSMRelais[i].Adr;
    if (relais)
        *relais = pData->BSMRelais[i].Relais;
    return true;
}

bool MoxSetBSMRelais(MoxDaten* pData, uint8_t i, uint16_t adr, uint8_t relais) {
    assert(pData);
    if (i >= MOX_MAX_BSMRELAIS)
        return false;
    pData->BSMRelais[i].Adr = adr;
    pData->BSMRelais[i].Relais = relais;
    return true;
}

bool MoxGetBSMRelaisText(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (i >= MOX_MAX_BSMRELAIS)
        return false;
    return CopyOut(buffer, size, pData->BSMRelais[i].Text);
}

bool MoxSetBSMRelaisText(MoxDaten* pData, uint8_t i, const char* text) {
    assert(pData);
    if (i >= MOX_MAX_BSMRELAIS)
        return false;
    return StoreCut(pData->BSMRelais[i].Text, MOX_BSMTEXT_SIZE - 1, text);
}

bool MoxGetSchaltcodeAdr(const MoxDaten* pData, uint8_t i, uint16_t* adr) {
    assert(pData);
    if (i >= MOX_MAX_SCHALTCODE || !adr)
        return false;
    *adr = pData->Schaltcode[i].Adr;
    return true;
}

bool MoxSetSchaltcodeAdr(MoxDaten* pData, uint8_t i, uint16_t adr) {
    assert(pData);
    if (i >= MOX_MAX_SCHALTCODE)
        return false;
    pData->Schaltcode[i].Adr = adr;
    return true;
}

bool MoxGetSchaltcodeVideo(const MoxDaten* pData, uint8_t i, uint8_t* video) {
    assert(pData);
    if (i >= MOX_MAX_SCHALTCODE || !video)
        return false;
    *video = pData->Schaltcode[i].Video;
    return true;
}

bool MoxSetSchaltcodeVideo(MoxDaten* pData, uint8_t i, uint8_t video) {
    assert(pData);
    if (i >= MOX_MAX_SCHALTCODE)
        return false;
    pData->Schaltcode[i].Video = video;
    return true;
}

bool MoxGetSchaltcodeText(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (i >= MOX_MAX_SCHALTCODE)
        return false;
    return CopyOut(buffer, size, pData->Schaltcode[i].Text);
}

bool MoxSetSchaltcodeText(MoxDaten* pData, uint8_t i, const char* text) {
    assert(pData);
    if (i >= MOX_MAX_SCHALTCODE)
        return false;
    return StoreCut(pData->Schaltcode[i].Text, MOX_BSMTEXT_SIZE - 1, text);
}

// -------------------------------------------------------------- name texts

bool MoxGetTuerrufText(const MoxDaten* pData, uint8_t tuer, char* buffer, size_t size) {
    assert(pData);
    if (tuer >= MOX_MAX_TUER)
        return false;
    return CopyOut(buffer, size, pData->TuerrufText[tuer]);
}

bool MoxSetTuerrufText(MoxDaten* pData, uint8_t tuer, const char* text) {
    assert(pData);
    if (tuer >= MOX_MAX_TUER)
        return false;
    return StoreCut(pData->TuerrufText[tuer], MOX_TEXT_SIZE - 1, text);
}

bool MoxGetSchaltausgangsText(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (i >= MOX_MAX_RAKAUSGANG)
        return false;
    return CopyOut(buffer, size, pData->SchaltausgangsText[i]);
}

bool MoxSetSchaltausgangsText(MoxDaten* pData, uint8_t i, const char* text) {
    assert(pData);
    if (i >= MOX_MAX_RAKAUSGANG)
        return false;
    return StoreCut(pData->SchaltausgangsText[i], MOX_TEXT_SIZE - 1, text);
}

bool MoxGetMeldeeingangsText(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (i >= MOX_MAX_RAKEINGANG)
        return false;
    return CopyOut(buffer, size, pData->MeldeeingangsText[i]);
}

bool MoxSetMeldeeingangsText(MoxDaten* pData, uint8_t i, const char* text) {
    assert(pData);
    if (i >= MOX_MAX_RAKEINGANG)
        return false;
    return StoreCut(pData->MeldeeingangsText[i], MOX_TEXT_SIZE - 1, text);
}

bool MoxGetEtagenrufText(const MoxDaten* pData, char* buffer, size_t size) {
    assert(pData);
    return CopyOut(buffer, size, pData->EtagenrufText);
}

bool MoxSetEtagenrufText(MoxDaten* pData, const char* text) {
    assert(pData);
    return StoreCut(pData->EtagenrufText, MOX_TEXT_SIZE - 1, text);
}

// ------------------------------------------------------------------ versions

uint8_t MoxGetTypeMox([[maybe_unused]] const MoxDaten* pData) {
    assert(pData);
    return MOX_TYPE_MOX;
}

bool MoxGetVersionMox(const MoxDaten* pData, char* buffer, size_t size) {
    assert(pData);
    return CopyOut(buffer, size, pData->VersionMox);
}

bool MoxGetVersionKMR(const MoxDaten* pData, char* buffer, size_t size) {
    assert(pData);
    return CopyOut(buffer, size, pData->VersionKMR);
}

// ------------------------------------------------------------------- types

uint8_t MoxGetTypeIT(const MoxDaten* pData) {
    assert(pData);
    return pData->TypeIT;
}

bool MoxSetTypeIT(MoxDaten* pData, uint8_t type) {
    assert(pData);
    if (type == pData->TypeIT)
        return true;
    // Subscribers, groups and the box's own input and relay are laid out for
    // one door interface; another one starts them afresh.
    pData->TypeIT = type;
    MoxInitAllTln(pData);
    MoxInitPG(pData);
    MoxInitMfe(pData);
    MoxInitMfr(pData);
    if (type == eIT_Nivo || type == eIT_Quarz)
        MoxSetTypeBSM(pData, 0);
    else if (type == eIT_Pello)
        MoxSetTypeBSM(pData, 1);
    return true;
}

uint8_t MoxGetTypeRAK(const MoxDaten* pData) {
    assert(pData);
    return pData->TypeRAK;
}

bool MoxSetTypeRAK(MoxDaten* pData, uint8_t type) {
    assert(pData);
    if (type != pData->TypeRAK) {
        MoxInitRAKEingang(pData);
        MoxInitRAKAusgang(pData);
        if (type == eRAK_Undefined) {
            // Without a controller no group may keep controller rights; the
            // setters refuse the groups beyond the count in use, which keep
            // their bits (they are not written to the box).
            for (int g = 0; g < MOX_MAX_PG; ++g) {
                const auto pg = static_cast<uint8_t>(g);
                MoxSetPGRAK(pData, pg, 0);
                for (int n = 0; n < MOX_MAX_SCHALTAUSGANG; ++n)
                    MoxSetPGSchaltausgang(pData, pg, static_cast<uint8_t>(n), 0);
            }
        }
    }
    pData->TypeRAK = type;
    return true;
}

uint8_t MoxGetTypeBSM(const MoxDaten* pData) {
    assert(pData);
    return pData->TypeBSM;
}

bool MoxSetTypeBSM(MoxDaten* pData, uint8_t type) {
    assert(pData);
    if (type != pData->TypeBSM)
        MoxInitBSMRelais(pData);
    pData->TypeBSM = type;
    return true;
}

uint8_t MoxGetTypeKMR(const MoxDaten* pData) {
    assert(pData);
    return pData->TypeKMR;
}

bool MoxSetTypeKMR(MoxDaten* pData, uint8_t type) {
    assert(pData);
    pData->TypeKMR = type;
    return true;
}

uint8_t MoxGetIO_TlnAdr(const MoxDaten* pData) {
    assert(pData);
    return pData->IO_TlnAdr;
}

bool MoxSetIO_TlnAdr(MoxDaten* pData, uint8_t value) {
    assert(pData);
    pData->IO_TlnAdr = value;
    return true;
}

uint8_t MoxGetIO_Version(const MoxDaten* pData) {
    assert(pData);
    return pData->IO_Version;
}

bool MoxSetIO_Version(MoxDaten* pData, uint8_t value) {
    assert(pData);
    pData->IO_Version = value;
    return true;
}

// -------------------------------------------------------------- SMS providers

bool MoxGetSMSProvider(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (i >= MOX_MAX_SMS)
        return false;
    return CopyOut(buffer, size, pData->SMS[i].Provider);
}

bool MoxSetSMSProvider(MoxDaten* pData, uint8_t i, const char* name) {
    assert(pData);
    if (i >= MOX_MAX_SMS)
        return false;
    return StoreCut(pData->SMS[i].Provider, MOX_PROVIDER_SIZE - 1, name);
}

bool MoxGetSMSRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (i >= MOX_MAX_SMS)
        return false;
    return CopyOut(buffer, size, pData->SMS[i].Rnr);
}

bool MoxSetSMSRnr(MoxDaten* pData, uint8_t i, const char* rnr) {
    assert(pData);
    if (i >= MOX_MAX_SMS)
        return false;
    return StoreCut(pData->SMS[i].Rnr, MOX_SMSRNR_SIZE - 1, rnr);
}

uint8_t MoxGetSMSProtokoll(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return i < MOX_MAX_SMS ? pData->SMS[i].Protokoll : 0;
}

bool MoxSetSMSProtokoll(MoxDaten* pData, uint8_t i, uint8_t protokoll) {
    assert(pData);
    if (i >= MOX_MAX_SMS)
        return false;
    pData->SMS[i].Protokoll = protokoll;
    return true;
}

// ------------------------------------------------------------- camera device

uint8_t MoxGetKMRKameratyp(const MoxDaten* pData) {
    assert(pData);
    return pData->Kameratyp;
}

bool MoxSetKMRKameratyp(MoxDaten* pData, uint8_t value) {
    assert(pData);
    pData->Kameratyp = value;
    return true;
}

namespace {
bool GetOut(uint8_t field, uint8_t* value) {
    if (!value)
        return false;
    *value = field;
    return true;
}
} // namespace

bool MoxGetKMRCodierqual(const MoxDaten* pData, uint8_t* value) {
    assert(pData);
    return GetOut(pData->Codierqual, value);
}

bool MoxSetKMRCodierqual(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetInRange<uint8_t>(pData->Codierqual, value, MOX_KMRPROZENT_MIN, MOX_KMRPROZENT_MAX);
}

bool MoxGetKMRHelligkeit(const MoxDaten* pData, uint8_t* value) {
    assert(pData);
    return GetOut(pData->Helligkeit, value);
}

bool MoxSetKMRHelligkeit(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetInRange<uint8_t>(pData->Helligkeit, value, MOX_KMRPROZENT_MIN, MOX_KMRPROZENT_MAX);
}

bool MoxGetKMRKontrast(const MoxDaten* pData, uint8_t* value) {
    assert(pData);
    return GetOut(pData->Kontrast, value);
}

bool MoxSetKMRKontrast(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetInRange<uint8_t>(pData->Kontrast, value, MOX_KMRPROZENT_MIN, MOX_KMRPROZENT_MAX);
}

bool MoxGetKMRSaettigung(const MoxDaten* pData, uint8_t* value) {
    assert(pData);
    return GetOut(pData->Saettigung, value);
}

bool MoxSetKMRSaettigung(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetInRange<uint8_t>(pData->Saettigung, value, MOX_KMRPROZENT_MIN, MOX_KMRPROZENT_MAX);
}

uint8_t MoxGetKMRBandbreite(const MoxDaten* pData) {
    assert(pData);
    return pData->Bandbreite;
}

bool MoxSetKMRBandbreite(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetInRange<uint8_t>(pData->Bandbreite, value, MOX_KMRBANDBREITE_MIN,
                               MOX_KMRBANDBREITE_MAX);
}
