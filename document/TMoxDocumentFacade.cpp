// The document's accessor facade: system items, types, subscribers,
// permission groups and the page resets. Every setter marks the document
// modified when the new value differs from the current one, before the data
// library decides whether it accepts the value.

#include "TMoxDocument.h"
#include "TMoxDocumentSetters.h"

#include <cmath>
#include <cstring>

#include "DbgOut.h"
#include "PermSettings.h"

bool TMoxDocument::TextDiffers(bool bHaveCurrent, const char* newText) const {
    const char* current = bHaveCurrent ? m_szScratch : "";
    return std::strcmp(current, newText ? newText : "") != 0;
}

// ================================================================ system

bool TMoxDocument::SetLand(std::uint8_t land) {
    if (land != GetLand()) {
        SetModified(true);
        SetPermLand(land);
        SetSMSDefaultsToData(land, m_pData.get());
    }
    return MoxSetLand(m_pData.get(), land);
}

bool TMoxDocument::SetSprache(std::uint8_t sprache) {
    SetModified(sprache != GetSprache());
    // Only a language with texts reaches the settings.
    if (IsPermSprache(sprache))
        SetPermSprache(sprache);
    // The record takes the language before the owner refreshes, so what the
    // refreshed forms read is already the new language.
    const bool ok = MoxSetSprache(m_pData.get(), sprache);
    RefreshLanguage();
    return ok;
}

bool TMoxDocument::GetRnr(char* buffer, std::size_t size) const {
    return MoxGetRnr(m_pData.get(), buffer, size);
}
bool TMoxDocument::SetRnr(const char* text) {
    MOX_DOC_TEXT_SETTER(Rnr);
}
bool TMoxDocument::GetRnrExtBelegung(char* buffer, std::size_t size) const {
    return MoxGetRnrExtBelegung(m_pData.get(), buffer, size);
}
bool TMoxDocument::SetRnrExtBelegung(const char* text) {
    MOX_DOC_TEXT_SETTER(RnrExtBelegung);
}
bool TMoxDocument::GetSperrnr(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetSperrnr(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetSperrnr(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(Sperrnr, i);
}

bool TMoxDocument::SetKamera(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(Kamera);
}
bool TMoxDocument::SetTuerrufannahme(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(Tuerrufannahme);
}
bool TMoxDocument::SetTuerrufdauer(std::uint16_t value) {
    MOX_DOC_VALUE_SETTER(Tuerrufdauer);
}
bool TMoxDocument::SetTuermatik(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(Tuermatik);
}
bool TMoxDocument::SetSchaltdauerMfr(std::uint16_t value) {
    MOX_DOC_VALUE_SETTER(SchaltdauerMfr);
}
bool TMoxDocument::SetKettenruf(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(Kettenruf);
}
bool TMoxDocument::SetNachtriggern(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(Nachtriggern);
}
bool TMoxDocument::SetBSGProgKennziffer(std::uint16_t value) {
    MOX_DOC_VALUE_SETTER(BSGProgKennziffer);
}
bool TMoxDocument::SetRufton(std::uint8_t tuer, std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(Rufton, tuer);
}

void TMoxDocument::SetSprachausgabe(std::uint8_t value) {
    SetModified(value != GetSprachausgabe());
    MoxSetSprachausgabe(m_pData.get(), value);
}
void TMoxDocument::SetSprachwaage(std::uint8_t value) {
    SetModified(value != GetSprachwaage());
    MoxSetSprachwaage(m_pData.get(), value);
}

bool TMoxDocument::SetConciergeAktiv(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(ConciergeAktiv);
}
bool TMoxDocument::SetConciergeVideo(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(ConciergeVideo);
}
bool TMoxDocument::GetConciergeRnr(char* buffer, std::size_t size) const {
    return MoxGetConciergeRnr(m_pData.get(), buffer, size);
}
bool TMoxDocument::SetConciergeRnr(const char* text) {
    MOX_DOC_TEXT_SETTER(ConciergeRnr);
}

// ---------------------------------------------------------------- levels

double TMoxDocument::PegelToDb(std::uint16_t raw) {
    // A level of 0 has no dB value; only an image from outside holds one.
    // It reads as the lowest level the page offers, so saving the page
    // unchanged turns it into a valid one.
    if (raw == 0)
        return kPegelMinDb;
    const double dB = 20.0 * std::log10(raw / static_cast<double>(MOX_PEGEL_0DB));
    // Rounded by number, not through a text: the decimal separator of the
    // user's locale must not change the value.
    return std::round(dB * 10.0) / 10.0;
}

bool TMoxDocument::DbToPegel(double dB, std::uint16_t* pRaw) {
    if (std::isnan(dB))
        return false;
    const double factor = std::pow(10.0, 0.05 * dB);
    double raw;
    if (factor >= 65536.0 / MOX_PEGEL_0DB) {
        raw = 65535.0; // beyond the word: the loudest level the box holds
    } else {
        // The box's level word was always computed from a single-precision
        // factor; keep that so a stored level reads back as it was set.
        raw = std::trunc(static_cast<double>(static_cast<float>(factor)) * MOX_PEGEL_0DB);
        if (raw > 65535.0)
            raw = 65535.0;
        if (raw < 1.0)
            raw = 1.0; // 0 is no level
    }
    *pRaw = static_cast<std::uint16_t>(raw);
    return true;
}

double TMoxDocument::GetPegelKommend() const {
    const std::uint16_t raw = MoxGetPegelKommend(m_pData.get());
    const double dB = PegelToDb(raw);
    DbgOut(eDbgDoc, "pegel(0x%04x) -> nPegel(%d)", raw, static_cast<int>(std::lround(dB * 10)));
    return dB;
}

double TMoxDocument::GetPegelGehend() const {
    const std::uint16_t raw = MoxGetPegelGehend(m_pData.get());
    const double dB = PegelToDb(raw);
    DbgOut(eDbgDoc, "pegel(0x%04x) -> nPegel(%d)", raw, static_cast<int>(std::lround(dB * 10)));
    return dB;
}

bool TMoxDocument::SetPegelKommend(double dB) {
    SetModified(dB != GetPegelKommend());
    std::uint16_t raw = 0;
    if (!DbToPegel(dB, &raw))
        return false;
    DbgOut(eDbgDoc, "nPegel(%d) -> f(%06f) -> w(0x%04x)", static_cast<int>(std::lround(dB * 10)),
           std::pow(10.0, 0.05 * dB), raw);
    return MoxSetPegelKommend(m_pData.get(), raw);
}

bool TMoxDocument::SetPegelGehend(double dB) {
    SetModified(dB != GetPegelGehend());
    std::uint16_t raw = 0;
    if (!DbToPegel(dB, &raw))
        return false;
    DbgOut(eDbgDoc, "nPegel(%d) -> f(%06f) -> w(0x%04x)", static_cast<int>(std::lround(dB * 10)),
           std::pow(10.0, 0.05 * dB), raw);
    return MoxSetPegelGehend(m_pData.get(), raw);
}

// ---------------------------------------------------------------- relays, codes, doors

bool TMoxDocument::GetBSMRelais(std::uint8_t i, std::uint16_t* adr, std::uint8_t* relais) const {
    return MoxGetBSMRelais(m_pData.get(), i, adr, relais);
}
bool TMoxDocument::SetBSMRelais(std::uint8_t i, std::uint16_t adr, std::uint8_t relais) {
    std::uint16_t curAdr = 0;
    std::uint8_t curRelais = 0;
    MoxGetBSMRelais(m_pData.get(), i, &curAdr, &curRelais);
    SetModified(adr != curAdr || relais != curRelais);
    return MoxSetBSMRelais(m_pData.get(), i, adr, relais);
}
bool TMoxDocument::GetBSMRelaisText(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetBSMRelaisText(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetBSMRelaisText(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(BSMRelaisText, i);
}

bool TMoxDocument::GetSchaltcodeAdr(std::uint8_t i, std::uint16_t* adr) const {
    return MoxGetSchaltcodeAdr(m_pData.get(), i, adr);
}
bool TMoxDocument::SetSchaltcodeAdr(std::uint8_t i, std::uint16_t adr) {
    std::uint16_t cur = 0;
    MoxGetSchaltcodeAdr(m_pData.get(), i, &cur);
    SetModified(adr != cur);
    return MoxSetSchaltcodeAdr(m_pData.get(), i, adr);
}
bool TMoxDocument::GetSchaltcodeVideo(std::uint8_t i, std::uint8_t* video) const {
    return MoxGetSchaltcodeVideo(m_pData.get(), i, video);
}
bool TMoxDocument::SetSchaltcodeVideo(std::uint8_t i, std::uint8_t video) {
    std::uint8_t cur = 0;
    MoxGetSchaltcodeVideo(m_pData.get(), i, &cur);
    SetModified(video != cur);
    return MoxSetSchaltcodeVideo(m_pData.get(), i, video);
}
bool TMoxDocument::GetSchaltcodeText(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetSchaltcodeText(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetSchaltcodeText(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(SchaltcodeText, i);
}

bool TMoxDocument::GetTuerrufText(std::uint8_t tuer, char* buffer, std::size_t size) const {
    return MoxGetTuerrufText(m_pData.get(), tuer, buffer, size);
}
bool TMoxDocument::SetTuerrufText(std::uint8_t tuer, const char* text) {
    MOX_DOC_TEXT_SETTER(TuerrufText, tuer);
}

bool TMoxDocument::GetVersionMox(char* buffer, std::size_t size) const {
    return MoxGetVersionMox(m_pData.get(), buffer, size);
}
bool TMoxDocument::GetVersionKMR(char* buffer, std::size_t size) const {
    return MoxGetVersionKMR(m_pData.get(), buffer, size);
}

// ---------------------------------------------------------------- types

bool TMoxDocument::SetTypeIT(std::uint8_t type) {
    if (type == GetTypeIT())
        return true;
    SetModified(true);
    const bool ok = MoxSetTypeIT(m_pData.get(), type);
    // Subscribers of another door interface are not those of this one.
    MoxDeleteAllTln(m_pData.get());
    return ok;
}
bool TMoxDocument::SetTypeRAK(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(TypeRAK);
}
bool TMoxDocument::SetTypeBSM(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(TypeBSM);
}
bool TMoxDocument::SetTypeKMR(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(TypeKMR);
}

std::uint8_t TMoxDocument::GetAnzRAK() const {
    return GetTypeRAK() == eRAK_Large ? MOX_MAX_RAK : 0;
}

// ================================================================ subscribers

bool TMoxDocument::GetTlnRnr(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetTlnRnr(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetTlnRnr(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(TlnRnr, i);
}
bool TMoxDocument::SetTlnBusAdr(std::uint8_t i, std::uint16_t value) {
    MOX_DOC_VALUE_SETTER(TlnBusAdr, i);
}
bool TMoxDocument::SetTlnLogAdr(std::uint8_t i, std::uint16_t value) {
    MOX_DOC_VALUE_SETTER(TlnLogAdr, i);
}
bool TMoxDocument::SetTlnVideo(std::uint8_t i, std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(TlnVideo, i);
}

// ================================================================ permission groups

bool TMoxDocument::GetPGPin(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetPGPin(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetPGPin(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(PGPin, i);
}

#define MOX_DOC_PG_RIGHT_SETTER(Right)                                                             \
    bool TMoxDocument::SetPG##Right(std::uint8_t i, std::uint8_t value) {                          \
        MOX_DOC_FLAG_SETTER(PG##Right, i);                                                         \
    }
MOX_DOC_PG_RIGHT_SETTER(Tueroeffner)
MOX_DOC_PG_RIGHT_SETTER(Licht)
MOX_DOC_PG_RIGHT_SETTER(Tueranwahl)
MOX_DOC_PG_RIGHT_SETTER(MultifktRelais)
MOX_DOC_PG_RIGHT_SETTER(RAK)
MOX_DOC_PG_RIGHT_SETTER(Tuermatik)
MOX_DOC_PG_RIGHT_SETTER(Kettenruf)
MOX_DOC_PG_RIGHT_SETTER(Signalisierung)
MOX_DOC_PG_RIGHT_SETTER(Diversion)
MOX_DOC_PG_RIGHT_SETTER(Einwahl)
MOX_DOC_PG_RIGHT_SETTER(TuermatikEin)
MOX_DOC_PG_RIGHT_SETTER(KettenrufEin)
MOX_DOC_PG_RIGHT_SETTER(SignalisierungEin)
MOX_DOC_PG_RIGHT_SETTER(DiversionEin)
MOX_DOC_PG_RIGHT_SETTER(TuermatikSignal)
MOX_DOC_PG_RIGHT_SETTER(Schaltcode78)
#undef MOX_DOC_PG_RIGHT_SETTER

bool TMoxDocument::SetPGSchaltcode(std::uint8_t i, std::uint8_t n, std::uint8_t value) {
    MOX_DOC_FLAG_SETTER(PGSchaltcode, i, n);
}

bool TMoxDocument::GetPGKettenRnr(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetPGKettenRnr(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetPGKettenRnr(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(PGKettenRnr, i);
}
bool TMoxDocument::GetPGSignalRnr(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetPGSignalRnr(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetPGSignalRnr(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(PGSignalRnr, i);
}
bool TMoxDocument::GetPGDiversionRnr(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetPGDiversionRnr(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetPGDiversionRnr(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(PGDiversionRnr, i);
}
bool TMoxDocument::SetPGTlnIdx(std::uint8_t i, std::uint16_t value) {
    MOX_DOC_VALUE_SETTER(PGTlnIdx, i);
}
bool TMoxDocument::SetPGSchaltausgang(std::uint8_t i, std::uint8_t n, std::uint8_t value) {
    MOX_DOC_FLAG_SETTER(PGSchaltausgang, i, n);
}

// ================================================================ page resets

void TMoxDocument::InitTuerrufTexte() {
    SetModified(true);
    MoxInitTuerrufTexte(m_pData.get());
}
void TMoxDocument::InitMfe() {
    SetModified(true);
    MoxInitMfe(m_pData.get());
}
void TMoxDocument::InitMfr() {
    SetModified(true);
    MoxInitMfr(m_pData.get());
}
void TMoxDocument::InitKTXKonfig() {
    SetModified(true);
    MoxInitKTXKonfig(m_pData.get());
    MoxSetLand(m_pData.get(), static_cast<std::uint8_t>(GetPermLand()));
    MoxSetSprache(m_pData.get(), static_cast<std::uint8_t>(GetPermSprache()));
}
void TMoxDocument::InitSMS() {
    SetModified(true);
    MoxInitSMS(m_pData.get());
    SetSMSDefaultsToData(GetPermLand(), m_pData.get());
}
void TMoxDocument::InitKMR() {
    SetModified(true);
    MoxInitKMR(m_pData.get());
}
void TMoxDocument::InitRAKAusgang() {
    SetModified(true);
    MoxInitRAKAusgang(m_pData.get());
}
void TMoxDocument::InitRAKEingang() {
    SetModified(true);
    MoxInitRAKEingang(m_pData.get());
}
void TMoxDocument::InitBSMRelais() {
    SetModified(true);
    MoxInitBSMRelais(m_pData.get());
}
void TMoxDocument::InitAllTln(bool bDelete) {
    SetModified(true);
    if (bDelete)
        MoxDeleteAllTln(m_pData.get());
    else
        MoxInitAllTln(m_pData.get());
    SetIO_TlnAdr(1);
}
void TMoxDocument::InitSystem() {
    SetModified(true);
    MoxInitSystem(m_pData.get());
}
void TMoxDocument::InitPG() {
    SetModified(true);
    MoxInitPG(m_pData.get());
}
void TMoxDocument::InitSperrnr() {
    SetModified(true);
    MoxInitSperrnr(m_pData.get());
}
void TMoxDocument::InitSchaltcode() {
    SetModified(true);
    MoxInitSchaltcode(m_pData.get());
}
void TMoxDocument::InitTln(std::uint8_t i) {
    SetModified(true);
    MoxInitTln(m_pData.get(), i);
}
