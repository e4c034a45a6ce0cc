// Accessors of the subscribers and the permission groups.

#include <cassert>

#include "MoxAccess.h"
#include "MoxAccessUtil.h"

using namespace moxaccess;

namespace {

bool TlnInUse(const MoxDaten* pData, uint8_t i) {
    return i < MoxGetAnzTln(pData);
}

bool PGInUse(const MoxDaten* pData, uint8_t i) {
    return i < MoxGetAnzPG(pData);
}

// Group numbers carry this many characters, neither more nor fewer.
constexpr size_t kPinLen = MOX_PIN_SIZE - 1;

uint8_t GetPermBit(const MoxDaten* pData, uint8_t i, uint32_t bit) {
    if (!PGInUse(pData, i))
        return 0;
    return (pData->PG[i].Permission & bit) ? 1 : 0;
}

bool SetPermBit(MoxDaten* pData, uint8_t i, uint32_t bit, uint8_t value) {
    if (!PGInUse(pData, i))
        return false;
    if (value)
        pData->PG[i].Permission |= bit;
    else
        pData->PG[i].Permission &= ~bit;
    return true;
}

} // namespace

// ---------------------------------------------------------------- subscribers

uint8_t MoxGetAnzTln(const MoxDaten* pData) {
    assert(pData);
    switch (pData->TypeIT) {
    case eIT_Nivo:
        return 3;
    case eIT_Pello:
        return MOX_MAX_TLN;
    case eIT_Quarz:
        return 4;
    default:
        return 0;
    }
}

bool MoxGetTlnRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (!TlnInUse(pData, i))
        return false;
    return CopyOut(buffer, size, pData->Tln[i].Rnr);
}

bool MoxSetTlnRnr(MoxDaten* pData, uint8_t i, const char* rnr) {
    assert(pData);
    if (!TlnInUse(pData, i))
        return false;
    return StoreWhole(pData->Tln[i].Rnr, MOX_TLNRNR_SIZE - 1, rnr);
}

uint16_t MoxGetTlnBusAdr(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return TlnInUse(pData, i) ? pData->Tln[i].BusAdr : 0;
}

bool MoxSetTlnBusAdr(MoxDaten* pData, uint8_t i, uint16_t adr) {
    assert(pData);
    if (!TlnInUse(pData, i))
        return false;
    pData->Tln[i].BusAdr = adr;
    return true;
}

uint16_t MoxGetTlnLogAdr(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return TlnInUse(pData, i) ? pData->Tln[i].LogAdr : 0;
}

bool MoxSetTlnLogAdr(MoxDaten* pData, uint8_t i, uint16_t adr) {
    assert(pData);
    if (!TlnInUse(pData, i))
        return false;
    pData->Tln[i].LogAdr = adr;
    return true;
}

uint8_t MoxGetTlnVideo(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return TlnInUse(pData, i) ? pData->Tln[i].Video : 0;
}

bool MoxSetTlnVideo(MoxDaten* pData, uint8_t i, uint8_t video) {
    assert(pData);
    if (!TlnInUse(pData, i))
        return false;
    if (video == 0) {
        // A subscriber without video must not stay the target of a video
        // output; the output keeps its mode and waits for a new subscriber.
        if (pData->Mfr.Mode == eModeSchaltAusgangVideo && pData->Mfr.TlnIdx == i)
            pData->Mfr.TlnIdx = MOX_TLNIDX_NONE;
        for (auto& out : pData->RAKAusgang)
            if (out.Mode == eModeSchaltAusgangVideo && out.TlnIdx == i)
                out.TlnIdx = MOX_TLNIDX_NONE;
    }
    pData->Tln[i].Video = video;
    return true;
}

// ---------------------------------------------------------- permission groups

uint8_t MoxGetAnzPG(const MoxDaten* pData) {
    assert(pData);
    switch (pData->TypeIT) {
    case eIT_Nivo:
        return 5;
    case eIT_Pello:
        return MOX_MAX_PG;
    case eIT_Quarz:
        return 6;
    default:
        return 0;
    }
}

bool MoxGetPGPin(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (!PGInUse(pData, i))
        return false;
    return CopyOut(buffer, size, pData->PG[i].Pin);
}

bool MoxSetPGPin(MoxDaten* pData, uint8_t i, const char* pin) {
    assert(pData);
    // Group 0 is the group of callers without a code.
    if (i == 0 || !PGInUse(pData, i) || !pin || std::strlen(pin) != kPinLen)
        return false;
    return StoreWhole(pData->PG[i].Pin, kPinLen, pin);
}

#define MOX_PG_RIGHT(Right, bit)                                                                   \
    uint8_t MoxGetPG##Right(const MoxDaten* pData, uint8_t i) {                                    \
        assert(pData);                                                                             \
        return GetPermBit(pData, i, bit);                                                          \
    }                                                                                              \
    bool MoxSetPG##Right(MoxDaten* pData, uint8_t i, uint8_t value) {                              \
        assert(pData);                                                                             \
        return SetPermBit(pData, i, bit, value);                                                   \
    }

MOX_PG_RIGHT(Tueroeffner, ePermTueroeffner)
MOX_PG_RIGHT(Licht, ePermLicht)
MOX_PG_RIGHT(Tueranwahl, ePermTueranwahl)
MOX_PG_RIGHT(MultifktRelais, ePermMultifktRelais)
MOX_PG_RIGHT(RAK, ePermRAK)
MOX_PG_RIGHT(Tuermatik, ePermTuermatik)
MOX_PG_RIGHT(Kettenruf, ePermKettenruf)
MOX_PG_RIGHT(Signalisierung, ePermSignalisierung)
MOX_PG_RIGHT(Diversion, ePermDiversion)
MOX_PG_RIGHT(Einwahl, ePermEinwahl)
MOX_PG_RIGHT(TuermatikEin, ePermTuermatikEin)
MOX_PG_RIGHT(KettenrufEin, ePermKettenrufEin)
MOX_PG_RIGHT(SignalisierungEin, ePermSignalisierungEin)
MOX_PG_RIGHT(DiversionEin, ePermDiversionEin)
MOX_PG_RIGHT(TuermatikSignal, ePermTuermatikSignal)
MOX_PG_RIGHT(Schaltcode78, ePermSchaltcode78)

#undef MOX_PG_RIGHT

namespace {
constexpr int kAnzSchaltcodeBits = 6; // switching codes 51..56
}

uint8_t MoxGetPGSchaltcode(const MoxDaten* pData, uint8_t i, uint8_t n) {
    assert(pData);
    if (n >= kAnzSchaltcodeBits)
        return 0;
    return GetPermBit(pData, i, 1u << (MOX_PERM_SCHALTCODE_BIT + n));
}

bool MoxSetPGSchaltcode(MoxDaten* pData, uint8_t i, uint8_t n, uint8_t value) {
    assert(pData);
    if (n >= kAnzSchaltcodeBits)
        return false;
    return SetPermBit(pData, i, 1u << (MOX_PERM_SCHALTCODE_BIT + n), value);
}

bool MoxGetPGKettenRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (!PGInUse(pData, i))
        return false;
    return CopyOut(buffer, size, pData->PG[i].KettenRnr);
}

bool MoxSetPGKettenRnr(MoxDaten* pData, uint8_t i, const char* rnr) {
    assert(pData);
    if (!PGInUse(pData, i))
        return false;
    return StoreWhole(pData->PG[i].KettenRnr, MOX_PGRNR_SIZE - 1, rnr);
}

bool MoxGetPGSignalRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (!PGInUse(pData, i))
        return false;
    return CopyOut(buffer, size, pData->PG[i].SignalRnr);
}

bool MoxSetPGSignalRnr(MoxDaten* pData, uint8_t i, const char* rnr) {
    assert(pData);
    if (!PGInUse(pData, i))
        return false;
    return StoreWhole(pData->PG[i].SignalRnr, MOX_PGRNR_SIZE - 1, rnr);
}

bool MoxGetPGDiversionRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size) {
    assert(pData);
    if (!PGInUse(pData, i))
        return false;
    return CopyOut(buffer, size, pData->PG[i].DiversionRnr);
}

bool MoxSetPGDiversionRnr(MoxDaten* pData, uint8_t i, const char* rnr) {
    assert(pData);
    if (!PGInUse(pData, i))
        return false;
    return StoreWhole(pData->PG[i].DiversionRnr, MOX_PGRNR_SIZE - 1, rnr);
}

uint16_t MoxGetPGTlnIdx(const MoxDaten* pData, uint8_t i) {
    assert(pData);
    return PGInUse(pData, i) ? pData->PG[i].TlnIdx : MOX_TLNIDX_NONE;
}

bool MoxSetPGTlnIdx(MoxDaten* pData, uint8_t i, uint16_t tlnIdx) {
    assert(pData);
    if (!PGInUse(pData, i))
        return false;
    pData->PG[i].TlnIdx = tlnIdx;
    return true;
}

uint8_t MoxGetPGSchaltausgang(const MoxDaten* pData, uint8_t i, uint8_t n) {
    assert(pData);
    if (!PGInUse(pData, i) || n >= MOX_MAX_SCHALTAUSGANG)
        return 0;
    return (pData->PG[i].Schaltausgang >> n) & 1u;
}

bool MoxSetPGSchaltausgang(MoxDaten* pData, uint8_t i, uint8_t n, uint8_t value) {
    assert(pData);
    if (!PGInUse(pData, i) || n >= MOX_MAX_SCHALTAUSGANG)
        return false;
    const auto bit = static_cast<uint16_t>(1u << n);
    if (value)
        pData->PG[i].Schaltausgang |= bit;
    else
        pData->PG[i].Schaltausgang &= static_cast<uint16_t>(~bit);
    return true;
}
