// Accessors of the signal inputs (the box's Mfe and the controller's
// RAKEingang) and the switching outputs (the box's Mfr and the controller's
// RAKAusgang). Both input kinds share one set of helpers; the few places
// where they differ are spelled out in the public functions.

#include <cassert>

#include "MoxAccess.h"
#include "MoxAccessUtil.h"

using namespace moxaccess;

namespace {

constexpr size_t kEingangRnrMax = MOX_EINGANGRNR_SIZE - 1; // 24 digits
constexpr uint16_t kSMSOptionen =
    eOptSMSKeinDirektruf | eOptSMSKeinKettenruf | eOptSMSImmer | eOptSMSKeineVerbindung;

MoxMeldeEingang* RAK(MoxDaten* pData, uint8_t i) {
    return i < MOX_MAX_RAKEINGANG ? &pData->RAKEingang[i] : nullptr;
}

const MoxMeldeEingang* RAK(const MoxDaten* pData, uint8_t i) {
    return i < MOX_MAX_RAKEINGANG ? &pData->RAKEingang[i] : nullptr;
}

bool IsMeldefkt(const MoxMeldeEingang* in) {
    return in && in->Mode == eModeMeldeEingangMeldefkt;
}

bool IsSchaltuhr(const MoxMeldeEingang* in) {
    return in && in->Mode == eModeMeldeEingangSchaltuhr;
}

// Option bit of a signal-function input (mode 1 only).
uint8_t GetOption(const MoxMeldeEingang* in, uint16_t bit) {
    if (!IsMeldefkt(in))
        return 0;
    return (in->Options & bit) ? 1 : 0;
}

bool SetOption(MoxMeldeEingang* in, uint16_t bit, uint8_t value) {
    if (!IsMeldefkt(in))
        return false;
    if (value)
        in->Options |= bit;
    else
        in->Options &= static_cast<uint16_t>(~bit);
    return true;
}

bool SetSMSOptionen(MoxMeldeEingang* in, uint8_t keinDirektruf, uint8_t keinKettenruf,
                    uint8_t immer, uint8_t keineVerbindung) {
    if (!IsMeldefkt(in))
        return false;
    uint16_t opt = in->Options & static_cast<uint16_t>(~kSMSOptionen);
    if (keinDirektruf)
        opt |= eOptSMSKeinDirektruf;
    if (keinKettenruf)
        opt |= eOptSMSKeinKettenruf;
    if (immer)
        opt |= eOptSMSImmer;
    if (keineVerbindung)
        opt |= eOptSMSKeineVerbindung;
    in->Options = opt;
    return true;
}

// Number of a signal-function input, cut at 24 digits (mode 1 only).
bool GetNumber(const MoxMeldeEingang* in, const char (&field)[MOX_EINGANGRNR_SIZE], char* buffer,
               size_t size) {
    if (!IsMeldefkt(in))
        return false;
    return CopyOut(buffer, size, field);
}

bool SetNumber(MoxMeldeEingang* in, char (&field)[MOX_EINGANGRNR_SIZE], const char* rnr) {
    if (!IsMeldefkt(in) || !rnr)
        return false;
    return StoreCut(field, kEingangRnrMax, rnr);
}

bool GetSMSRnr(const MoxMeldeEingang* in, uint8_t* providerIdx, char* buffer, size_t size) {
    if (!IsMeldefkt(in))
        return false;
    if (providerIdx)
        *providerIdx = in->ProviderIdx;
    if (buffer)
        CopyOut(buffer, size, in->SMSRnr);
    return true;
}

bool SetSMSRnr(MoxMeldeEingang* in, uint8_t providerIdx, const char* rnr) {
    if (!IsMeldefkt(in))
        return false;
    in->ProviderIdx = providerIdx;
    if (rnr)
        StoreCut(in->SMSRnr, kEingangRnrMax, rnr);
    return true;
}

// Group of a time-switch option (mode 2 and the option's bit set).
bool GetSchaltuhrPGIdx(const MoxMeldeEingang* in, uint16_t bit, uint8_t* pgIdx) {
    if (!IsSchaltuhr(in) || !(in->Options & bit))
        return false;
    if (pgIdx)
        *pgIdx = in->PGIdx;
    return true;
}

uint8_t GetConcierge(const MoxMeldeEingang* in) {
    return IsSchaltuhr(in) && (in->Options & eOptConcierge) ? 1 : 0;
}

// Everything after the mode change of the composite setter; the input is in
// mode 1 by then, so none of these steps refuses.
void SetMeldefktFields(MoxMeldeEingang* in, uint8_t direktruf, const char* direktRnr,
                       uint8_t kettenruf, const char* kettenRnr, uint8_t providerIdx,
                       const char* smsRnr, uint8_t smsKeinDirektruf, uint8_t smsKeinKettenruf,
                       uint8_t smsImmer, uint8_t smsKeineVerbindung, uint8_t sprache) {
    SetOption(in, eOptDirektruf, direktruf);
    SetNumber(in, in->Nr1, direktRnr);
    SetOption(in, eOptKettenruf, kettenruf);
    SetNumber(in, in->KettenRnr, kettenRnr);
    SetSMSRnr(in, providerIdx, smsRnr);
    SetSMSOptionen(in, smsKeinDirektruf, smsKeinKettenruf, smsImmer, smsKeineVerbindung);
    SetOption(in, eOptSprache, sprache);
}

// Option bits and group of a time switch; the caller has set mode 2 and
// cleared the options.
void SetSchaltuhrOption(MoxMeldeEingang* in, uint8_t option, uint8_t pgIdx) {
    switch (option) {
    case eSchaltuhrTuermatik:
        in->Options |= eOptTuermatik;
        in->PGIdx = pgIdx;
        break;
    case eSchaltuhrDiversion:
        in->Options |= eOptDiversion;
        in->PGIdx = pgIdx;
        break;
    case eSchaltuhrConcierge:
        in->Options |= eOptConcierge;
        in->PGIdx = 0;
        break;
    default:
        break;
    }
}

} // namespace

// ------------------------------------------------------------------ box input

uint8_t MoxGetMfeMode(const MoxDaten* pData) {
    assert(pData);
    return pData->Mfe.Mode;
}

bool MoxSetMfeMode(MoxDaten* pData, uint8_t mode) {
    assert(pData);
    // Option bits mean different things in each mode.
    pData->Mfe.Mode = mode;
    pData->Mfe.Options = 0;
    return true;
}

bool MoxSetMfeUndefined(MoxDaten* pData) {
    return MoxSetMfeMode(pData, eModeMeldeEingangUndefined);
}

bool MoxSetMfeMfr(MoxDaten* pData) {
    return MoxSetMfeMode(pData, eModeMeldeEingangMfr);
}

bool MoxGetMfeEtagenruf(const MoxDaten* pData, char* buffer, size_t size) {
    assert(pData);
    if (pData->Mfe.Mode != eModeMeldeEingangEtagenruf)
        return false;
    return CopyOut(buffer, size, pData->Mfe.Nr1);
}

bool MoxSetMfeEtagenruf(MoxDaten* pData, const char* rnr) {
    assert(pData);
    if (!rnr || std::strlen(rnr) > kEingangRnrMax)
        return false;
    MoxSetMfeMode(pData, eModeMeldeEingangEtagenruf);
    return StoreWhole(pData->Mfe.Nr1, kEingangRnrMax, rnr);
}

uint8_t MoxGetMfeDirektruf(const MoxDaten* pData) {
    assert(pData);
    return GetOption(&pData->Mfe, eOptDirektruf);
}

bool MoxSetMfeDirektruf(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetOption(&pData->Mfe, eOptDirektruf, value);
}

uint8_t MoxGetMfeKettenruf(const MoxDaten* pData) {
    assert(pData);
    return GetOption(&pData->Mfe, eOptKettenruf);
}

bool MoxSetMfeKettenruf(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetOption(&pData->Mfe, eOptKettenruf, value);
}

uint8_t MoxGetMfeSprache(const MoxDaten* pData) {
    assert(pData);
    return GetOption(&pData->Mfe, eOptSprache);
}

bool MoxSetMfeSprache(MoxDaten* pData, uint8_t value) {
    assert(pData);
    return SetOption(&pData->Mfe, eOptSprache, value);
}

bool MoxSetMfeSMSOptionen(MoxDaten* pData, uint8_t smsKeinDirektruf, uint8_t smsKeinKettenruf,
                          uint8_t smsImmer, uint8_t smsKeineVerbindung) {
    assert(pData);
    return SetSMSOptionen(&pData->Mfe, smsKeinDirektruf, smsKeinKettenruf, smsImmer,
                          smsKeineVerbindung);
}

uint8_t MoxGetMfeSMSKeinDirektruf(const MoxDaten* pData) {
    assert(pData);
    return GetOption(&pData->Mfe, eOptSMSKeinDirektruf);
}

uint8_t MoxGetMfeSMSKeinKettenruf(const MoxDaten* pData) {
    assert(pData);
    return GetOption(&pData->Mfe, eOptSMSKeinKettenruf);
}

uint8_t MoxGetMfeSMSImmer(const MoxDaten* pData) {
    assert(pData);
    return GetOption(&pData->Mfe, eOptSMSImmer);
}

uint8_t MoxGetMfeSMSVerbindung(const MoxDaten* pData) {
    assert(pData);
    return GetOption(&pData->Mfe, eOptSMSKeineVerbindung);
}

bool MoxGetMfeDirektRnr(const MoxDaten* pData, char* buffer, size_t size) {
    assert(pData);
    return GetNumber(&pData->Mfe, pData->Mfe.Nr1, buffer, size);
}

bool MoxSetMfeDirektRnr(MoxDaten* pData, const char* rnr) {
    assert(pData);
    return SetNumber(&pData->Mfe, pData->Mfe.Nr1, rnr);
}

bool MoxGetMfeKettenRnr(const MoxDaten* pData, char* buffer, size_t size) {
    assert(pData);
    return CopyOut(buffer, size, pData->Mfe.KettenRnr);
}

bool MoxSetMfeKettenRnr(MoxDaten* pData, const char* rnr) {
    assert(pData);
    return SetNumber(&pData->Mfe, pData->Mfe.KettenRnr, rnr);
}

bool MoxGetMfeSMSRnr(const MoxDaten* pData, uint8_t* providerIdx, char* buffer, size_t size) {
    assert(pData);
    return GetSMSRnr(&pData->Mfe, providerIdx, buffer, size);
}

bool MoxSetMfeSMSRnr(MoxDaten* pData, uint8_t providerIdx, const char* rnr) {
    assert(pData);
    return SetSMSRnr(&pData->Mfe, providerIdx, rnr);
}

bool MoxGetMfeTuermatikPGIdx(const MoxDaten* pData, uint8_t* pgIdx) {
    assert(pData);
    return GetSchaltuhrPGIdx(&pData->Mfe, eOptTuermatik, pgIdx);
}

bool MoxGetMfeDiversionPGIdx(const MoxDaten* pData, uint8_t* pgIdx) {
    assert(pData);
    return GetSchaltuhrPGIdx(&pData->Mfe, eOptDiversion, pgIdx);
}

uint8_t MoxGetMfeConcierge(const MoxDaten* pData) {
    assert(pData);
    return GetConcierge(&pData->Mfe);
}

bool MoxSetMfeMeldefkt(MoxDaten* pData, uint8_t direktruf, const char* direktRnr, uint8_t kettenruf,
                       const char* kettenRnr, uint8_t providerIdx, const char* smsRnr,
                       uint8_t smsKeinDirektruf, uint8_t smsKeinKettenruf, uint8_t smsImmer,
                       uint8_t smsKeineVerbindung, uint8_t sprache) {
    assert(pData);
    MoxSetMfeMode(pData, eModeMeldeEingangMeldefkt);
    SetMeldefktFields(&pData->Mfe, direktruf, direktRnr, kettenruf, kettenRnr, providerIdx, smsRnr,
                      smsKeinDirektruf, smsKeinKettenruf, smsImmer, smsKeineVerbindung, sprache);
    return true;
}

bool MoxSetMfeSchaltuhr(MoxDaten* pData, uint8_t option, uint8_t pgIdx) {
    assert(pData);
    MoxSetMfeMode(pData, eModeMeldeEingangSchaltuhr);
    SetSchaltuhrOption(&pData->Mfe, option, pgIdx);
    return true;
}

// ----------------------------------------------------------- controller inputs

uint8_t MoxGetRAKEingangMode(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    const MoxMeldeEingang* in = RAK(pData, i);
    return in ? in->Mode : 0;
}

bool MoxSetRAKEingangMode(MoxDaten* pData, uint8_t i, uint8_t mode) {
    assert(pData);
    MoxMeldeEingang* in = RAK(pData, i);
    if (!in)
        return false;
    Zero(*in);
    in->Mode = mode;
    in->ProviderIdx = MOX_PROVIDERIDX_NONE;
    in->PGIdx = 0;
    in->Options = 0;
    return true;
}

bool MoxSetRAKEingangUndefined(MoxDaten* pData, uint8_t i) {
    return MoxSetRAKEingangMode(pData, i, eModeMeldeEingangUndefined);
}

uint8_t MoxGetRAKEingangDirektruf(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return GetOption(RAK(pData, i), eOptDirektruf);
}

bool MoxSetRAKEingangDirektruf(MoxDaten* pData, uint8_t i, uint8_t value) {
    assert(pData);
    return SetOption(RAK(pData, i), eOptDirektruf, value);
}

uint8_t MoxGetRAKEingangKettenruf(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return GetOption(RAK(pData, i), eOptKettenruf);
}

bool MoxSetRAKEingangKettenruf(MoxDaten* pData, uint8_t i, uint8_t value) {
    assert(pData);
    return SetOption(RAK(pData, i), eOptKettenruf, value);
}

uint8_t MoxGetRAKEingangSprache(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return GetOption(RAK(pData, i), eOptSprache);
}

bool MoxSetRAKEingangSprache(MoxDaten* pData, uint8_t i, uint8_t value) {
    assert(pData);
    return SetOption(RAK(pData, i), eOptSprache, value);
}

bool MoxSetRAKEingangSMSOptionen(MoxDaten* pData, uint8_t i, uint8_t smsKeinDirektruf,
                                 uint8_t smsKeinKettenruf, uint8_t smsImmer,
                                 uint8_t smsKeineVerbindung) {
    assert(pData);
    return SetSMSOptionen(RAK(pData, i), smsKeinDirektruf, smsKeinKettenruf, smsImmer,
                          smsKeineVerbindung);
}

uint8_t MoxGetRAKEingangSMSKeinDirektruf(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return GetOption(RAK(pData, i), eOptSMSKeinDirektruf);
}

uint8_t MoxGetRAKEingangSMSKeinKettenruf(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return GetOption(RAK(pData, i), eOptSMSKeinKettenruf);
}

uint8_t MoxGetRAKEingangSMSImmer(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return GetOption(RAK(pData, i), eOptSMSImmer);
}

uint8_t MoxGetRAKEingangSMSVerbindung(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return GetOption(RAK(pData, i), eOptSMSKeineVerbindung);
}

bool MoxGetRAKEingangDirektRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    const MoxMeldeEingang* in = RAK(pData, i);
    return in && GetNumber(in, in->Nr1, buffer, size);
}

bool MoxSetRAKEingangDirektRnr(MoxDaten* pData, uint8_t i, const char* rnr) {
    assert(pData);
    MoxMeldeEingang* in = RAK(pData, i);
    return in && SetNumber(in, in->Nr1, rnr);
}

bool MoxGetRAKEingangKettenRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    const MoxMeldeEingang* in = RAK(pData, i);
    return in && GetNumber(in, in->KettenRnr, buffer, size);
}

bool MoxSetRAKEingangKettenRnr(MoxDaten* pData, uint8_t i, const char* rnr) {
    assert(pData);
    MoxMeldeEingang* in = RAK(pData, i);
    return in && SetNumber(in, in->KettenRnr, rnr);
}

bool MoxGetRAKEingangSMSRnr(const MoxDaten* pData, uint8_t i, uint8_t* providerIdx, char* buffer,
                            size_t size) {
    assert(pData);
    return GetSMSRnr(RAK(pData, i), providerIdx, buffer, size);
}

bool MoxSetRAKEingangSMSRnr(MoxDaten* pData, uint8_t i, uint8_t providerIdx, const char* rnr) {
    assert(pData);
    return SetSMSRnr(RAK(pData, i), providerIdx, rnr);
}

bool MoxGetRAKEingangTuermatikPGIdx(const MoxDaten* pData, uint8_t i, uint8_t* pgIdx) {
    assert(pData);
    return GetSchaltuhrPGIdx(RAK(pData, i), eOptTuermatik, pgIdx);
}

bool MoxGetRAKEingangDiversionPGIdx(const MoxDaten* pData, uint8_t i, uint8_t* pgIdx) {
    assert(pData);
    return GetSchaltuhrPGIdx(RAK(pData, i), eOptDiversion, pgIdx);
}

uint8_t MoxGetRAKEingangConcierge(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return GetConcierge(RAK(pData, i));
}

bool MoxSetRAKEingangMeldefkt(MoxDaten* pData, uint8_t i, uint8_t direktruf, const char* direktRnr,
                              uint8_t kettenruf, const char* kettenRnr, uint8_t providerIdx,
                              const char* smsRnr, uint8_t smsKeinDirektruf,
                              uint8_t smsKeinKettenruf, uint8_t smsImmer,
                              uint8_t smsKeineVerbindung, uint8_t sprache) {
    assert(pData);
    if (!MoxSetRAKEingangMode(pData, i, eModeMeldeEingangMeldefkt))
        return false;
    SetMeldefktFields(RAK(pData, i), direktruf, direktRnr, kettenruf, kettenRnr, providerIdx,
                      smsRnr, smsKeinDirektruf, smsKeinKettenruf, smsImmer, smsKeineVerbindung,
                      sprache);
    return true;
}

bool MoxSetRAKEingangSchaltuhr(MoxDaten* pData, uint8_t i, uint8_t option, uint8_t pgIdx) {
    assert(pData);
    MoxMeldeEingang* in = RAK(pData, i);
    if (!in)
        return false;
    in->Mode = eModeMeldeEingangSchaltuhr;
    in->Options = 0;
    in->PGIdx = 0;
    SetSchaltuhrOption(in, option, pgIdx);
    return true;
}

// ---------------------------------------------------------- switching outputs

uint8_t MoxGetMfrMode(const MoxDaten* pData, uint16_t* tlnIdx) {
    assert(pData);
    if (tlnIdx)
        *tlnIdx = pData->Mfr.TlnIdx;
    return pData->Mfr.Mode;
}

bool MoxSetMfrMode(MoxDaten* pData, uint8_t mode, uint16_t tlnIdx) {
    assert(pData);
    pData->Mfr.Mode = mode;
    pData->Mfr.TlnIdx = tlnIdx;
    return true;
}

uint8_t MoxGetRAKAusgangMode(const MoxDaten* pData, uint8_t i, uint16_t* tlnIdx) {
    assert(pData);
    if (i >= MOX_MAX_RAKAUSGANG)
        return 0;
    if (tlnIdx)
        *tlnIdx = pData->RAKAusgang[i].TlnIdx;
    return pData->RAKAusgang[i].Mode;
}

bool MoxSetRAKAusgangMode(MoxDaten* pData, uint8_t i, uint8_t mode, uint16_t tlnIdx) {
    assert(pData);
    if (i >= MOX_MAX_RAKAUSGANG)
        return false;
    pData->RAKAusgang[i].Mode = mode;
    pData->RAKAusgang[i].TlnIdx = tlnIdx;
    return true;
}

uint8_t MoxGetRAKAusgangSprache(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return i < MOX_MAX_RAKAUSGANG ? pData->RAKAusgang[i].Sprache : 0;
}

bool MoxSetRAKAusgangSprache(MoxDaten* pData, uint8_t i, uint8_t sprache) {
    assert(pData);
    if (i >= MOX_MAX_RAKAUSGANG)
        return false;
    pData->RAKAusgang[i].Sprache = sprache;
    return true;
}
