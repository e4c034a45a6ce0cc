// The document's accessor facade: switching outputs, name texts, SMS
// providers, signal inputs and the camera device.

#include "TMoxDocument.h"
#include "TMoxDocumentSetters.h"

#include <cstring>

namespace {

bool SameText(const char* a, const char* b, std::size_t capacity) {
    return std::strncmp(a, b, capacity) == 0;
}

// The whole input record, field by field (no comparison of padding bytes).
bool SameInput(const MoxMeldeEingang& a, const MoxMeldeEingang& b) {
    return a.Mode == b.Mode && SameText(a.Nr1, b.Nr1, sizeof a.Nr1) &&
           a.ProviderIdx == b.ProviderIdx && SameText(a.SMSRnr, b.SMSRnr, sizeof a.SMSRnr) &&
           SameText(a.KettenRnr, b.KettenRnr, sizeof a.KettenRnr) && a.PGIdx == b.PGIdx &&
           a.Options == b.Options;
}

bool Flag(std::uint8_t v) {
    return v != 0;
}

} // namespace

// ================================================================ switching outputs

bool TMoxDocument::SetMfrMode(std::uint8_t mode, std::uint16_t tlnIdx) {
    std::uint16_t curIdx = MOX_TLNIDX_NONE;
    const std::uint8_t curMode = MoxGetMfrMode(m_pData.get(), &curIdx);
    SetModified(mode != curMode || tlnIdx != curIdx);
    return MoxSetMfrMode(m_pData.get(), mode, tlnIdx);
}

bool TMoxDocument::SetRAKAusgangMode(std::uint8_t i, std::uint8_t mode, std::uint16_t tlnIdx) {
    std::uint16_t curIdx = MOX_TLNIDX_NONE;
    const std::uint8_t curMode = MoxGetRAKAusgangMode(m_pData.get(), i, &curIdx);
    SetModified(mode != curMode || tlnIdx != curIdx);
    return MoxSetRAKAusgangMode(m_pData.get(), i, mode, tlnIdx);
}

bool TMoxDocument::SetRAKAusgangSprache(std::uint8_t i, std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(RAKAusgangSprache, i);
}

bool TMoxDocument::GetSchaltausgangsText(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetSchaltausgangsText(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetSchaltausgangsText(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(SchaltausgangsText, i);
}
bool TMoxDocument::GetMeldeeingangsText(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetMeldeeingangsText(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetMeldeeingangsText(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(MeldeeingangsText, i);
}
bool TMoxDocument::GetEtagenrufText(char* buffer, std::size_t size) const {
    return MoxGetEtagenrufText(m_pData.get(), buffer, size);
}
bool TMoxDocument::SetEtagenrufText(const char* text) {
    MOX_DOC_TEXT_SETTER(EtagenrufText);
}

// ================================================================ SMS providers

bool TMoxDocument::GetSMSProvider(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetSMSProvider(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetSMSProvider(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(SMSProvider, i);
}
bool TMoxDocument::GetSMSRnr(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetSMSRnr(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetSMSRnr(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(SMSRnr, i);
}
bool TMoxDocument::SetSMSProtokoll(std::uint8_t i, std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(SMSProtokoll, i);
}

// ================================================================ the box's signal input

bool TMoxDocument::SetMfeMode(std::uint8_t mode) {
    // A mode change also clears the options, so the record, not only the
    // mode, decides whether anything changed.
    const MoxMeldeEingang before = m_pData->Mfe;
    const bool ok = MoxSetMfeMode(m_pData.get(), mode);
    SetModified(mode != before.Mode || !SameInput(before, m_pData->Mfe));
    return ok;
}

bool TMoxDocument::SetMfeUndefined() {
    SetModified(GetMfeMode() != eModeMeldeEingangUndefined);
    return MoxSetMfeUndefined(m_pData.get());
}

bool TMoxDocument::SetMfeMfr() {
    SetModified(GetMfeMode() != eModeMeldeEingangMfr);
    return MoxSetMfeMfr(m_pData.get());
}

bool TMoxDocument::GetMfeEtagenruf(char* buffer, std::size_t size) const {
    return MoxGetMfeEtagenruf(m_pData.get(), buffer, size);
}
bool TMoxDocument::SetMfeEtagenruf(const char* text) {
    const bool have = MoxGetMfeEtagenruf(m_pData.get(), m_szScratch, sizeof m_szScratch);
    SetModified(GetMfeMode() != eModeMeldeEingangEtagenruf || TextDiffers(have, text));
    return MoxSetMfeEtagenruf(m_pData.get(), text);
}

bool TMoxDocument::SetMfeDirektruf(std::uint8_t value) {
    MOX_DOC_FLAG_SETTER(MfeDirektruf);
}
bool TMoxDocument::SetMfeKettenruf(std::uint8_t value) {
    MOX_DOC_FLAG_SETTER(MfeKettenruf);
}
bool TMoxDocument::SetMfeSprache(std::uint8_t value) {
    MOX_DOC_FLAG_SETTER(MfeSprache);
}

bool TMoxDocument::SetMfeSMSOptionen(std::uint8_t smsKeinDirektruf, std::uint8_t smsKeinKettenruf,
                                     std::uint8_t smsImmer, std::uint8_t smsKeineVerbindung) {
    SetModified(Flag(smsKeinDirektruf) != Flag(GetMfeSMSKeinDirektruf()) ||
                Flag(smsKeinKettenruf) != Flag(GetMfeSMSKeinKettenruf()) ||
                Flag(smsImmer) != Flag(GetMfeSMSImmer()) ||
                Flag(smsKeineVerbindung) != Flag(GetMfeSMSVerbindung()));
    return MoxSetMfeSMSOptionen(m_pData.get(), smsKeinDirektruf, smsKeinKettenruf, smsImmer,
                                smsKeineVerbindung);
}

bool TMoxDocument::GetMfeDirektRnr(char* buffer, std::size_t size) const {
    return MoxGetMfeDirektRnr(m_pData.get(), buffer, size);
}
bool TMoxDocument::SetMfeDirektRnr(const char* text) {
    MOX_DOC_TEXT_SETTER(MfeDirektRnr);
}
bool TMoxDocument::GetMfeKettenRnr(char* buffer, std::size_t size) const {
    return MoxGetMfeKettenRnr(m_pData.get(), buffer, size);
}
bool TMoxDocument::SetMfeKettenRnr(const char* text) {
    MOX_DOC_TEXT_SETTER(MfeKettenRnr);
}

bool TMoxDocument::GetMfeSMSRnr(std::uint8_t* providerIdx, char* buffer, std::size_t size) const {
    return MoxGetMfeSMSRnr(m_pData.get(), providerIdx, buffer, size);
}
bool TMoxDocument::SetMfeSMSRnr(std::uint8_t providerIdx, const char* rnr) {
    std::uint8_t curIdx = 0;
    const bool have = MoxGetMfeSMSRnr(m_pData.get(), &curIdx, m_szScratch, sizeof m_szScratch);
    if (!have)
        curIdx = 0;
    SetModified(providerIdx != curIdx || (rnr && TextDiffers(have, rnr)));
    return MoxSetMfeSMSRnr(m_pData.get(), providerIdx, rnr);
}

bool TMoxDocument::SetMfeMeldefkt(std::uint8_t direktruf, const char* direktRnr,
                                  std::uint8_t kettenruf, const char* kettenRnr,
                                  std::uint8_t providerIdx, const char* smsRnr,
                                  std::uint8_t smsKeinDirektruf, std::uint8_t smsKeinKettenruf,
                                  std::uint8_t smsImmer, std::uint8_t smsKeineVerbindung,
                                  std::uint8_t sprache) {
    // Eleven fields in one call: modified when the input comes out different.
    const MoxMeldeEingang before = m_pData->Mfe;
    const bool ok = MoxSetMfeMeldefkt(m_pData.get(), direktruf, direktRnr, kettenruf, kettenRnr,
                                      providerIdx, smsRnr, smsKeinDirektruf, smsKeinKettenruf,
                                      smsImmer, smsKeineVerbindung, sprache);
    SetModified(!SameInput(before, m_pData->Mfe));
    return ok;
}

bool TMoxDocument::SetMfeSchaltuhr(std::uint8_t option, std::uint8_t pgIdx) {
    const MoxMeldeEingang before = m_pData->Mfe;
    const bool ok = MoxSetMfeSchaltuhr(m_pData.get(), option, pgIdx);
    SetModified(!SameInput(before, m_pData->Mfe));
    return ok;
}

// ================================================================ the controller's inputs

bool TMoxDocument::SetRAKEingangMode(std::uint8_t i, std::uint8_t mode) {
    if (i >= MOX_MAX_RAKEINGANG) {
        SetModified(mode != GetRAKEingangMode(i));
        return MoxSetRAKEingangMode(m_pData.get(), i, mode);
    }
    // The mode setter empties the whole input, so compare the record.
    const MoxMeldeEingang before = m_pData->RAKEingang[i];
    const bool ok = MoxSetRAKEingangMode(m_pData.get(), i, mode);
    SetModified(mode != before.Mode || !SameInput(before, m_pData->RAKEingang[i]));
    return ok;
}

bool TMoxDocument::SetRAKEingangUndefined(std::uint8_t i) {
    SetModified(GetRAKEingangMode(i) != eModeMeldeEingangUndefined);
    return MoxSetRAKEingangUndefined(m_pData.get(), i);
}

bool TMoxDocument::SetRAKEingangDirektruf(std::uint8_t i, std::uint8_t value) {
    MOX_DOC_FLAG_SETTER(RAKEingangDirektruf, i);
}
bool TMoxDocument::SetRAKEingangKettenruf(std::uint8_t i, std::uint8_t value) {
    MOX_DOC_FLAG_SETTER(RAKEingangKettenruf, i);
}
bool TMoxDocument::SetRAKEingangSprache(std::uint8_t i, std::uint8_t value) {
    MOX_DOC_FLAG_SETTER(RAKEingangSprache, i);
}

bool TMoxDocument::SetRAKEingangSMSOptionen(std::uint8_t i, std::uint8_t smsKeinDirektruf,
                                            std::uint8_t smsKeinKettenruf, std::uint8_t smsImmer,
                                            std::uint8_t smsKeineVerbindung) {
    SetModified(Flag(smsKeinDirektruf) != Flag(GetRAKEingangSMSKeinDirektruf(i)) ||
                Flag(smsKeinKettenruf) != Flag(GetRAKEingangSMSKeinKettenruf(i)) ||
                Flag(smsImmer) != Flag(GetRAKEingangSMSImmer(i)) ||
                Flag(smsKeineVerbindung) != Flag(GetRAKEingangSMSVerbindung(i)));
    return MoxSetRAKEingangSMSOptionen(m_pData.get(), i, smsKeinDirektruf, smsKeinKettenruf,
                                       smsImmer, smsKeineVerbindung);
}

bool TMoxDocument::GetRAKEingangDirektRnr(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetRAKEingangDirektRnr(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetRAKEingangDirektRnr(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(RAKEingangDirektRnr, i);
}
bool TMoxDocument::GetRAKEingangKettenRnr(std::uint8_t i, char* buffer, std::size_t size) const {
    return MoxGetRAKEingangKettenRnr(m_pData.get(), i, buffer, size);
}
bool TMoxDocument::SetRAKEingangKettenRnr(std::uint8_t i, const char* text) {
    MOX_DOC_TEXT_SETTER(RAKEingangKettenRnr, i);
}

bool TMoxDocument::GetRAKEingangSMSRnr(std::uint8_t i, std::uint8_t* providerIdx, char* buffer,
                                       std::size_t size) const {
    return MoxGetRAKEingangSMSRnr(m_pData.get(), i, providerIdx, buffer, size);
}
bool TMoxDocument::SetRAKEingangSMSRnr(std::uint8_t i, std::uint8_t providerIdx, const char* rnr) {
    std::uint8_t curIdx = 0;
    const bool have =
        MoxGetRAKEingangSMSRnr(m_pData.get(), i, &curIdx, m_szScratch, sizeof m_szScratch);
    if (!have)
        curIdx = 0;
    SetModified(providerIdx != curIdx || (rnr && TextDiffers(have, rnr)));
    return MoxSetRAKEingangSMSRnr(m_pData.get(), i, providerIdx, rnr);
}

bool TMoxDocument::SetRAKEingangMeldefkt(std::uint8_t i, std::uint8_t direktruf,
                                         const char* direktRnr, std::uint8_t kettenruf,
                                         const char* kettenRnr, std::uint8_t providerIdx,
                                         const char* smsRnr, std::uint8_t smsKeinDirektruf,
                                         std::uint8_t smsKeinKettenruf, std::uint8_t smsImmer,
                                         std::uint8_t smsKeineVerbindung, std::uint8_t sprache) {
    if (i >= MOX_MAX_RAKEINGANG)
        return MoxSetRAKEingangMeldefkt(m_pData.get(), i, direktruf, direktRnr, kettenruf,
                                        kettenRnr, providerIdx, smsRnr, smsKeinDirektruf,
                                        smsKeinKettenruf, smsImmer, smsKeineVerbindung, sprache);
    const MoxMeldeEingang before = m_pData->RAKEingang[i];
    const bool ok = MoxSetRAKEingangMeldefkt(
        m_pData.get(), i, direktruf, direktRnr, kettenruf, kettenRnr, providerIdx, smsRnr,
        smsKeinDirektruf, smsKeinKettenruf, smsImmer, smsKeineVerbindung, sprache);
    SetModified(!SameInput(before, m_pData->RAKEingang[i]));
    return ok;
}

bool TMoxDocument::SetRAKEingangSchaltuhr(std::uint8_t i, std::uint8_t option, std::uint8_t pgIdx) {
    if (i >= MOX_MAX_RAKEINGANG)
        return MoxSetRAKEingangSchaltuhr(m_pData.get(), i, option, pgIdx);
    const MoxMeldeEingang before = m_pData->RAKEingang[i];
    const bool ok = MoxSetRAKEingangSchaltuhr(m_pData.get(), i, option, pgIdx);
    SetModified(!SameInput(before, m_pData->RAKEingang[i]));
    return ok;
}

// ================================================================ camera device

bool TMoxDocument::SetKMRKameratyp(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(KMRKameratyp);
}

#define MOX_DOC_KMR_SETTER(Item)                                                                   \
    bool TMoxDocument::SetKMR##Item(std::uint8_t value) {                                          \
        std::uint8_t cur = 0;                                                                      \
        MoxGetKMR##Item(m_pData.get(), &cur);                                                      \
        SetModified(value != cur);                                                                 \
        return MoxSetKMR##Item(m_pData.get(), value);                                              \
    }
MOX_DOC_KMR_SETTER(Codierqual)
MOX_DOC_KMR_SETTER(Helligkeit)
MOX_DOC_KMR_SETTER(Kontrast)
MOX_DOC_KMR_SETTER(Saettigung)
#undef MOX_DOC_KMR_SETTER

bool TMoxDocument::SetKMRBandbreite(std::uint8_t value) {
    MOX_DOC_VALUE_SETTER(KMRBandbreite);
}
