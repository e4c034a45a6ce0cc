// Trace output of the document's record (channel doc): the trace menu's
// dump, sizeof and tagged items, and the section lengths after a read.

#include "TMoxDocument.h"

#include <iterator>

#include "DbgOut.h"

namespace {

const char* LandName(std::uint8_t land) {
    static const char* const names[] = {
        "eLV_Undefined", "eLV_Deutschland", "eLV_Niederlande", "eLV_Daenemark", "eLV_Frankreich",
        "eLV_Italien",   "eLV_Oesterreich", "eLV_Schweiz",     "eLV_Belgien",
    };
    return land < std::size(names) ? names[land] : "eLV_?";
}

const char* SpracheName(std::uint8_t sprache) {
    static const char* const names[] = {
        "eSpracheUndefined",   "eSpracheDeutsch",  "eSpracheEnglisch",     "eSpracheFranzoesisch",
        "eSpracheItalienisch", "eSpracheDaenisch", "eSpracheHollaendisch",
    };
    return sprache < std::size(names) ? names[sprache] : "eSprache?";
}

const char* TypeITName(std::uint8_t type) {
    static const char* const names[] = {"eIT_Undefined", "eIT_Nivo", "eIT_Pello", "eIT_Quarz"};
    return type < std::size(names) ? names[type] : "eIT_?";
}

const char* EingangModeName(std::uint8_t mode) {
    static const char* const names[] = {
        "eModeMeldeEingangUndefined", "eModeMeldeEingangMeldefkt", "eModeMeldeEingangSchaltuhr",
        "eModeMeldeEingangEtagenruf", "eModeMeldeEingangMfr",
    };
    return mode < std::size(names) ? names[mode] : "eModeMeldeEingang?";
}

const char* AusgangModeName(std::uint8_t mode) {
    static const char* const names[] = {
        "eModeSchaltAusgangUndefined", "eModeSchaltAusgangNSC",    "eModeSchaltAusgangVideo",
        "eModeSchaltAusgangSchalter",  "eModeSchaltAusgangTaster", "eModeSchaltAusgangTueroeffner",
        "eModeSchaltAusgangLicht",
    };
    return mode < std::size(names) ? names[mode] : "eModeSchaltAusgang?";
}

} // namespace

void TMoxDocument::DumpData() {
    if (!GetPermTrace(eDbgDoc))
        return;
    const MoxDaten* d = m_pData.get();
    char text[64];
    DbgOut(eDbgDoc, "<TMoxDocument::DumpData>");
    DbgOut(eDbgDoc, "\tLand (%s)", LandName(d->Land));
    DbgOut(eDbgDoc, "\tSprache (%s)", SpracheName(d->Sprache));
    GetRnr(text, sizeof text);
    DbgOut(eDbgDoc, "\tRnr (%s)", text);
    GetRnrExtBelegung(text, sizeof text);
    DbgOut(eDbgDoc, "\tRnrExtBelegung (%s)", text);
    for (std::uint8_t i = 0; i < MOX_MAX_SPERRNR; ++i) {
        GetSperrnr(i, text, sizeof text);
        DbgOut(eDbgDoc, "\tSperrnr[%d] (%s)", i, text);
    }
    DbgOut(eDbgDoc, "\tKamera (%d) Tuerrufannahme (%d) Tuerrufdauer (%d) Tuermatik (%d)", d->Kamera,
           d->Tuerrufannahme, d->Tuerrufdauer, d->Tuermatik);
    DbgOut(eDbgDoc, "\tSchaltdauerMfr (%d) Kettenruf (%d) Nachtriggern (%d)", d->SchaltdauerMfr,
           d->Kettenruf, d->Nachtriggern);
    DbgOut(eDbgDoc, "\tPegelKommend (0x%04x) PegelGehend (0x%04x) BSGProgKennziffer (0x%04x)",
           d->PegelKommend, d->PegelGehend, d->BSGProgKennziffer);
    DbgOut(eDbgDoc, "\tSprachausgabe (%d) Sprachwaage (%d)", d->Sprachausgabe, d->Sprachwaage);
    GetConciergeRnr(text, sizeof text);
    DbgOut(eDbgDoc, "\tConciergeAktiv (%d) ConciergeVideo (%d) ConciergeRnr (%s)",
           d->ConciergeAktiv, d->ConciergeVideo, text);
    DbgOut(eDbgDoc, "\tTypeIT (%s) TypeRAK (%d) TypeBSM (%d) TypeKMR (%d)", TypeITName(d->TypeIT),
           d->TypeRAK, d->TypeBSM, d->TypeKMR);
    DbgOut(eDbgDoc, "\tIO_TlnAdr (%d) IO_Version (%d)", d->IO_TlnAdr, d->IO_Version);
    for (std::uint8_t i = 0; i < MOX_MAX_TUER; ++i) {
        GetTuerrufText(i, text, sizeof text);
        DbgOut(eDbgDoc, "\tTuer[%d] Rufton (%d) Text (%s)", i, d->Rufton[i], text);
    }
    for (std::uint8_t i = 0; i < GetAnzTln(); ++i) {
        GetTlnRnr(i, text, sizeof text);
        DbgOut(eDbgDoc, "\tTln[%d] Rnr (%s) BusAdr (0x%04x) LogAdr (0x%04x) Video (%d)", i, text,
               d->Tln[i].BusAdr, d->Tln[i].LogAdr, d->Tln[i].Video);
    }
    for (std::uint8_t i = 0; i < GetAnzPG(); ++i) {
        GetPGPin(i, text, sizeof text);
        DbgOut(eDbgDoc,
               "\tPG[%d] Pin (%s) Permission (0x%08x) TlnIdx (0x%04x) Schaltausgang (0x%04x)", i,
               text, d->PG[i].Permission, d->PG[i].TlnIdx, d->PG[i].Schaltausgang);
    }
    DbgOut(eDbgDoc, "\tMfe Mode (%s) Options (0x%04x) ProviderIdx (%d) PGIdx (%d)",
           EingangModeName(d->Mfe.Mode), d->Mfe.Options, d->Mfe.ProviderIdx, d->Mfe.PGIdx);
    DbgOut(eDbgDoc, "\tMfr Mode (%s) TlnIdx (0x%04x)", AusgangModeName(d->Mfr.Mode), d->Mfr.TlnIdx);
    for (std::uint8_t i = 0; i < MOX_MAX_RAK; ++i) {
        DbgOut(eDbgDoc, "\tRAKEingang[%d] Mode (%s) Options (0x%04x)", i,
               EingangModeName(d->RAKEingang[i].Mode), d->RAKEingang[i].Options);
        DbgOut(eDbgDoc, "\tRAKAusgang[%d] Mode (%s) TlnIdx (0x%04x) Sprache (%d)", i,
               AusgangModeName(d->RAKAusgang[i].Mode), d->RAKAusgang[i].TlnIdx,
               d->RAKAusgang[i].Sprache);
    }
    for (std::uint8_t i = 0; i < MOX_MAX_SMS; ++i) {
        char number[MOX_SMSRNR_SIZE];
        GetSMSProvider(i, text, sizeof text);
        GetSMSRnr(i, number, sizeof number);
        DbgOut(eDbgDoc, "\tSMS[%d] Provider (%s) Rnr (%s) Protokoll (%d)", i, text, number,
               d->SMS[i].Protokoll);
    }
    DbgOut(eDbgDoc,
           "\tKMR Kameratyp (%d) Codierqual (%d) Bandbreite (%d) Helligkeit (%d) "
           "Kontrast (%d) Saettigung (%d)",
           d->Kameratyp, d->Codierqual, d->Bandbreite, d->Helligkeit, d->Kontrast, d->Saettigung);
}

void TMoxDocument::SizeofData() {
    const int diff = static_cast<int>(sizeof(MoxDaten)) - static_cast<int>(sizeof(TaggedStream));
    DbgOut(eDbgDoc, "\t\tsizeof[MoxDaten] (%d) - sizeof[TaggedStream] (%d) =  Diff (%d)",
           static_cast<int>(sizeof(MoxDaten)), static_cast<int>(sizeof(TaggedStream)), diff);
}

void TMoxDocument::TaggedData() {
    static const std::uint8_t sections[] = {
        eTaggedData_SysData, eTaggedData_Concierge, eTaggedData_Tln,        eTaggedData_PG,
        eTaggedData_Mfe,     eTaggedData_Mfr,       eTaggedData_RAKAusgang, eTaggedData_RAKEingang,
        eTaggedData_Texte,   eTaggedData_SMS,       eTaggedData_KMR,
    };
    static const char* const names[] = {
        "eTaggedData_SysData",    "eTaggedData_Concierge",  "eTaggedData_Tln",
        "eTaggedData_PG",         "eTaggedData_Mfe",        "eTaggedData_Mfr",
        "eTaggedData_RAKAusgang", "eTaggedData_RAKEingang", "eTaggedData_Texte",
        "eTaggedData_SMS",        "eTaggedData_KMR",
    };
    for (size_t s = 0; s < std::size(sections); ++s) {
        const std::uint16_t len = MoxWriteTaggedData(m_pData.get(), sections[s], 0, false);
        DbgOut(eDbgDoc, "\t\tAusgabe (%s)\t BufLen (%d)", names[s], len);
    }
}

void TMoxDocument::TraceTaggedLen() {
    if (!GetPermTrace(eDbgDoc))
        return;
    MoxDaten* d = m_pData.get();
    int n = 0;
    // Every package is written once into the image buffer to compare the
    // written with the computed length; the buffer is scratch here.
    auto trace = [&](const char* what, int idx, std::uint8_t section, std::uint8_t index) {
        const std::uint16_t calc = MoxWriteTaggedData(d, section, index, false);
        const std::uint16_t written = MoxWriteTaggedData(d, section, index, true);
        if (idx < 0)
            DbgOut(eDbgDoc, "[%d] %s WriteLen(%d) CalcLen(%d)", n++, what, written, calc);
        else
            DbgOut(eDbgDoc, "[%d] %s[%d] WriteLen(%d) CalcLen(%d)", n++, what, idx, written, calc);
    };
    trace("SysDat", -1, eTaggedData_SysData, 0);
    trace("Concierge", -1, eTaggedData_Concierge, 0);
    for (std::uint8_t i = 0; i < GetAnzTln(); ++i)
        trace("Tln", i, eTaggedData_Tln, i);
    for (std::uint8_t i = 0; i < GetAnzPG(); ++i)
        trace("PG", i, eTaggedData_PG, i);
    trace("Mfe", -1, eTaggedData_Mfe, 0);
    trace("Mfr", -1, eTaggedData_Mfr, 0);
    if (GetTypeRAK() != 0) {
        for (std::uint8_t i = 0; i < MOX_MAX_RAK; ++i)
            trace("RAKAusgang", i, eTaggedData_RAKAusgang, i);
        for (std::uint8_t i = 0; i < MOX_MAX_RAK; ++i)
            trace("RAKEingang", i, eTaggedData_RAKEingang, i);
    }
    trace("Texte", -1, eTaggedData_Texte, 0);
    for (std::uint8_t i = 0; i < MOX_MAX_SMS; ++i) {
        if (d->SMS[i].Provider[0] || d->SMS[i].Rnr[0])
            trace("SMS", i, eTaggedData_SMS, i);
    }
    if (GetTypeKMR() != 0)
        trace("KMR", -1, eTaggedData_KMR, 0);
    MoxClearStream(d);
}
