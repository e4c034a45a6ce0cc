#pragma once
// Accessors of the configuration record. The setters are where the ranges of
// the box's settings live, and a few of them reset other parts of the record
// (the type setters and the clearing of a subscriber's video flag).
//
// Rules for the whole family:
// - The record comes first; a null record is a programming error.
// - A scalar getter returns the value, a flag getter 0 or 1.
// - A text getter copies the field into the caller's buffer of `size` bytes,
//   cut to fit and always ended with NUL, and returns true; with no buffer,
//   a size of 0 or an index out of range it copies nothing and returns false.
// - A setter returns true when it stored the value and false when it refused
//   it; a refused call changes nothing.
// - Indices are bytes: subscriber < MoxGetAnzTln, group < MoxGetAnzPG,
//   controller input or output < 12, SMS provider < 10, relay or switching
//   code < 6, blocked number < 4, door < 7, actuator bit < 12. Outside them a
//   getter returns 0 (MoxGetPGTlnIdx: MOX_TLNIDX_NONE) and a setter false.
// - Name texts are cut to their field. Call numbers of the system, concierge,
//   subscriber and group records are refused when they do not fit; the
//   numbers of the input records and SMS providers are cut at 24 digits.
// - A null text passed to a setter is refused.

#include <cstddef>
#include <cstdint>

#include "MoxDaten.h"

// ============================================================ system, types

uint8_t MoxGetLand(const MoxDaten* pData);
bool MoxSetLand(MoxDaten* pData, uint8_t land);
uint8_t MoxGetSprache(const MoxDaten* pData);
bool MoxSetSprache(MoxDaten* pData, uint8_t sprache);

bool MoxGetRnr(const MoxDaten* pData, char* buffer, size_t size);
bool MoxSetRnr(MoxDaten* pData, const char* rnr); // up to 24 digits
bool MoxGetRnrExtBelegung(const MoxDaten* pData, char* buffer, size_t size);
bool MoxSetRnrExtBelegung(MoxDaten* pData, const char* rnr); // up to 1 digit
bool MoxGetSperrnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetSperrnr(MoxDaten* pData, uint8_t i, const char* rnr); // up to 4 digits

// 0 always; 1 only with a universal controller; 2 only with a camera device.
uint8_t MoxGetKamera(const MoxDaten* pData);
bool MoxSetKamera(MoxDaten* pData, uint8_t kamera);

uint8_t MoxGetTuerrufannahme(const MoxDaten* pData);
bool MoxSetTuerrufannahme(MoxDaten* pData, uint8_t value); // MOX_TUERRUFANNAHME_MIN..MAX
uint16_t MoxGetTuerrufdauer(const MoxDaten* pData);
bool MoxSetTuerrufdauer(MoxDaten* pData, uint16_t value); // MOX_TUERRUFDAUER_MIN..MAX
uint8_t MoxGetTuermatik(const MoxDaten* pData);
bool MoxSetTuermatik(MoxDaten* pData, uint8_t value); // MOX_TUERMATIK_MIN..MAX
uint16_t MoxGetSchaltdauerMfr(const MoxDaten* pData);
bool MoxSetSchaltdauerMfr(MoxDaten* pData, uint16_t value); // MOX_SCHALTDAUERMFR_MIN..MAX
uint8_t MoxGetKettenruf(const MoxDaten* pData);
bool MoxSetKettenruf(MoxDaten* pData, uint8_t value); // MOX_KETTENRUF_MIN..MAX

// Raw levels, MOX_PEGEL_0DB = 0 dB. A level of 0 has no dB value and is refused.
uint16_t MoxGetPegelKommend(const MoxDaten* pData);
bool MoxSetPegelKommend(MoxDaten* pData, uint16_t pegel);
uint16_t MoxGetPegelGehend(const MoxDaten* pData);
bool MoxSetPegelGehend(MoxDaten* pData, uint16_t pegel);

uint8_t MoxGetNachtriggern(const MoxDaten* pData);
bool MoxSetNachtriggern(MoxDaten* pData, uint8_t value); // MOX_NACHTRIGGERN_MIN..MAX
uint16_t MoxGetBSGProgKennziffer(const MoxDaten* pData);
bool MoxSetBSGProgKennziffer(MoxDaten* pData, uint16_t value);

uint8_t MoxGetRufton(const MoxDaten* pData, uint8_t tuer);
bool MoxSetRufton(MoxDaten* pData, uint8_t tuer, uint8_t rufton);

uint8_t MoxGetSprachausgabe(const MoxDaten* pData);
void MoxSetSprachausgabe(MoxDaten* pData, uint8_t value);
uint8_t MoxGetSprachwaage(const MoxDaten* pData);
void MoxSetSprachwaage(MoxDaten* pData, uint8_t value);

uint8_t MoxGetConciergeAktiv(const MoxDaten* pData);
bool MoxSetConciergeAktiv(MoxDaten* pData, uint8_t value);
uint8_t MoxGetConciergeVideo(const MoxDaten* pData);
bool MoxSetConciergeVideo(MoxDaten* pData, uint8_t value);
bool MoxGetConciergeRnr(const MoxDaten* pData, char* buffer, size_t size);
bool MoxSetConciergeRnr(MoxDaten* pData, const char* rnr); // up to 20 digits

uint8_t MoxGetAnzBSMRelais(const MoxDaten* pData);  // 6
uint8_t MoxGetAnzSchaltcode(const MoxDaten* pData); // 6
// Either out-value may be null.
bool MoxGetBSMRelais(const MoxDaten* pData, uint8_t i, uint16_t* adr, uint8_t* relais);
bool MoxSetBSMRelais(MoxDaten* pData, uint8_t i, uint16_t adr, uint8_t relais);
bool MoxGetBSMRelaisText(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetBSMRelaisText(MoxDaten* pData, uint8_t i, const char* text); // cut at 16

bool MoxGetSchaltcodeAdr(const MoxDaten* pData, uint8_t i, uint16_t* adr);
bool MoxSetSchaltcodeAdr(MoxDaten* pData, uint8_t i, uint16_t adr);
bool MoxGetSchaltcodeVideo(const MoxDaten* pData, uint8_t i, uint8_t* video);
bool MoxSetSchaltcodeVideo(MoxDaten* pData, uint8_t i, uint8_t video);
bool MoxGetSchaltcodeText(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetSchaltcodeText(MoxDaten* pData, uint8_t i, const char* text); // cut at 16

bool MoxGetTuerrufText(const MoxDaten* pData, uint8_t tuer, char* buffer, size_t size);
bool MoxSetTuerrufText(MoxDaten* pData, uint8_t tuer, const char* text); // cut at 30

uint8_t MoxGetTypeMox(const MoxDaten* pData); // always MOX_TYPE_MOX
bool MoxGetVersionMox(const MoxDaten* pData, char* buffer, size_t size);
bool MoxGetVersionKMR(const MoxDaten* pData, char* buffer, size_t size);

// Type setters accept every value and always return true. A change of
// TypeIT resets subscribers, groups, the box input and the box relay and sets
// TypeBSM to fit; a change of TypeRAK resets the controller's inputs and
// outputs (and takes the controller rights from the groups when it goes);
// a change of TypeBSM clears the relays.
uint8_t MoxGetTypeIT(const MoxDaten* pData);
bool MoxSetTypeIT(MoxDaten* pData, uint8_t type);
uint8_t MoxGetTypeRAK(const MoxDaten* pData);
bool MoxSetTypeRAK(MoxDaten* pData, uint8_t type);
uint8_t MoxGetTypeBSM(const MoxDaten* pData);
bool MoxSetTypeBSM(MoxDaten* pData, uint8_t type);
uint8_t MoxGetTypeKMR(const MoxDaten* pData);
bool MoxSetTypeKMR(MoxDaten* pData, uint8_t type);

// What the next image contains (set by the document before a transfer).
uint8_t MoxGetIO_TlnAdr(const MoxDaten* pData);
bool MoxSetIO_TlnAdr(MoxDaten* pData, uint8_t value);
uint8_t MoxGetIO_Version(const MoxDaten* pData);
bool MoxSetIO_Version(MoxDaten* pData, uint8_t value);

// ============================================================== subscribers

uint8_t MoxGetAnzTln(const MoxDaten* pData); // by TypeIT: 3, 31, 4, else 0

bool MoxGetTlnRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetTlnRnr(MoxDaten* pData, uint8_t i, const char* rnr); // up to 20 digits
uint16_t MoxGetTlnBusAdr(const MoxDaten* pData, uint8_t i);
bool MoxSetTlnBusAdr(MoxDaten* pData, uint8_t i, uint16_t adr);
uint16_t MoxGetTlnLogAdr(const MoxDaten* pData, uint8_t i);
bool MoxSetTlnLogAdr(MoxDaten* pData, uint8_t i, uint16_t adr);
uint8_t MoxGetTlnVideo(const MoxDaten* pData, uint8_t i);
// Clearing the flag also unlinks the box relay and every controller output
// that switch this subscriber's video.
bool MoxSetTlnVideo(MoxDaten* pData, uint8_t i, uint8_t video);

// ======================================================== permission groups

uint8_t MoxGetAnzPG(const MoxDaten* pData); // by TypeIT: 5, 11, 6, else 0

bool MoxGetPGPin(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
// Exactly 4 characters; group 0 has no code.
bool MoxSetPGPin(MoxDaten* pData, uint8_t i, const char* pin);

// Rights: any non-zero value sets the bit.
uint8_t MoxGetPGTueroeffner(const MoxDaten* pData, uint8_t i);
bool MoxSetPGTueroeffner(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGLicht(const MoxDaten* pData, uint8_t i);
bool MoxSetPGLicht(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGTueranwahl(const MoxDaten* pData, uint8_t i);
bool MoxSetPGTueranwahl(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGMultifktRelais(const MoxDaten* pData, uint8_t i);
bool MoxSetPGMultifktRelais(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGRAK(const MoxDaten* pData, uint8_t i);
bool MoxSetPGRAK(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGTuermatik(const MoxDaten* pData, uint8_t i);
bool MoxSetPGTuermatik(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGKettenruf(const MoxDaten* pData, uint8_t i);
bool MoxSetPGKettenruf(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGSignalisierung(const MoxDaten* pData, uint8_t i);
bool MoxSetPGSignalisierung(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGDiversion(const MoxDaten* pData, uint8_t i);
bool MoxSetPGDiversion(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGEinwahl(const MoxDaten* pData, uint8_t i);
bool MoxSetPGEinwahl(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGTuermatikEin(const MoxDaten* pData, uint8_t i);
bool MoxSetPGTuermatikEin(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGKettenrufEin(const MoxDaten* pData, uint8_t i);
bool MoxSetPGKettenrufEin(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGSignalisierungEin(const MoxDaten* pData, uint8_t i);
bool MoxSetPGSignalisierungEin(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGDiversionEin(const MoxDaten* pData, uint8_t i);
bool MoxSetPGDiversionEin(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGTuermatikSignal(const MoxDaten* pData, uint8_t i);
bool MoxSetPGTuermatikSignal(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetPGSchaltcode78(const MoxDaten* pData, uint8_t i);
bool MoxSetPGSchaltcode78(MoxDaten* pData, uint8_t i, uint8_t value);

// Switching codes 51..56 as n = 0..5.
uint8_t MoxGetPGSchaltcode(const MoxDaten* pData, uint8_t i, uint8_t n);
bool MoxSetPGSchaltcode(MoxDaten* pData, uint8_t i, uint8_t n, uint8_t value);

bool MoxGetPGKettenRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetPGKettenRnr(MoxDaten* pData, uint8_t i, const char* rnr); // up to 24 digits
bool MoxGetPGSignalRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetPGSignalRnr(MoxDaten* pData, uint8_t i, const char* rnr);
bool MoxGetPGDiversionRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetPGDiversionRnr(MoxDaten* pData, uint8_t i, const char* rnr);

uint16_t MoxGetPGTlnIdx(const MoxDaten* pData, uint8_t i);
bool MoxSetPGTlnIdx(MoxDaten* pData, uint8_t i, uint16_t tlnIdx);

// Actuator bit n < 12 (controller output n + 1).
uint8_t MoxGetPGSchaltausgang(const MoxDaten* pData, uint8_t i, uint8_t n);
bool MoxSetPGSchaltausgang(MoxDaten* pData, uint8_t i, uint8_t n, uint8_t value);

// ========================================================= switching outputs

// Mode and subscriber set together, unchecked. The getters return the mode
// and fill tlnIdx when it is given.
uint8_t MoxGetMfrMode(const MoxDaten* pData, uint16_t* tlnIdx);
bool MoxSetMfrMode(MoxDaten* pData, uint8_t mode, uint16_t tlnIdx);
uint8_t MoxGetRAKAusgangMode(const MoxDaten* pData, uint8_t i, uint16_t* tlnIdx);
bool MoxSetRAKAusgangMode(MoxDaten* pData, uint8_t i, uint8_t mode, uint16_t tlnIdx);
uint8_t MoxGetRAKAusgangSprache(const MoxDaten* pData, uint8_t i);
bool MoxSetRAKAusgangSprache(MoxDaten* pData, uint8_t i, uint8_t sprache);

bool MoxGetSchaltausgangsText(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetSchaltausgangsText(MoxDaten* pData, uint8_t i, const char* text); // cut at 30
bool MoxGetMeldeeingangsText(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetMeldeeingangsText(MoxDaten* pData, uint8_t i, const char* text); // cut at 30
bool MoxGetEtagenrufText(const MoxDaten* pData, char* buffer, size_t size);
bool MoxSetEtagenrufText(MoxDaten* pData, const char* text); // cut at 30

// ============================================================ SMS providers

bool MoxGetSMSProvider(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetSMSProvider(MoxDaten* pData, uint8_t i, const char* name); // cut at 15
bool MoxGetSMSRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetSMSRnr(MoxDaten* pData, uint8_t i, const char* rnr); // cut at 24
uint8_t MoxGetSMSProtokoll(const MoxDaten* pData, uint8_t i);
bool MoxSetSMSProtokoll(MoxDaten* pData, uint8_t i, uint8_t protokoll);

// ============================================================ signal inputs
//
// The box input (Mfe) and the controller inputs (RAKEingang, i < 12). The
// option setters and getters act only in the mode their option belongs to
// (mode 1: Meldefkt, mode 2: Schaltuhr); in any other mode a setter returns
// false and a getter 0 / false. Numbers are cut at 24 digits.

uint8_t MoxGetMfeMode(const MoxDaten* pData);
// Any mode; clears the options, keeps numbers and indices.
bool MoxSetMfeMode(MoxDaten* pData, uint8_t mode);
bool MoxSetMfeUndefined(MoxDaten* pData); // mode 0
bool MoxSetMfeMfr(MoxDaten* pData);       // mode 4
uint8_t MoxGetRAKEingangMode(const MoxDaten* pData, uint8_t i);
// Any mode; empties the whole input (options, numbers, provider, group).
bool MoxSetRAKEingangMode(MoxDaten* pData, uint8_t i, uint8_t mode);
bool MoxSetRAKEingangUndefined(MoxDaten* pData, uint8_t i); // mode 0

// Floor call of the box input: sets mode 3 and the number (up to 24 digits,
// refused when longer). The getter answers only in mode 3.
bool MoxGetMfeEtagenruf(const MoxDaten* pData, char* buffer, size_t size);
bool MoxSetMfeEtagenruf(MoxDaten* pData, const char* rnr);

uint8_t MoxGetMfeDirektruf(const MoxDaten* pData);
bool MoxSetMfeDirektruf(MoxDaten* pData, uint8_t value);
uint8_t MoxGetMfeKettenruf(const MoxDaten* pData);
bool MoxSetMfeKettenruf(MoxDaten* pData, uint8_t value);
uint8_t MoxGetMfeSprache(const MoxDaten* pData);
bool MoxSetMfeSprache(MoxDaten* pData, uint8_t value);
bool MoxSetMfeSMSOptionen(MoxDaten* pData, uint8_t smsKeinDirektruf, uint8_t smsKeinKettenruf,
                          uint8_t smsImmer, uint8_t smsKeineVerbindung);
uint8_t MoxGetMfeSMSKeinDirektruf(const MoxDaten* pData);
uint8_t MoxGetMfeSMSKeinKettenruf(const MoxDaten* pData);
uint8_t MoxGetMfeSMSImmer(const MoxDaten* pData);
uint8_t MoxGetMfeSMSVerbindung(const MoxDaten* pData);
bool MoxGetMfeDirektRnr(const MoxDaten* pData, char* buffer, size_t size);
bool MoxSetMfeDirektRnr(MoxDaten* pData, const char* rnr);
// The getter copies in every mode.
bool MoxGetMfeKettenRnr(const MoxDaten* pData, char* buffer, size_t size);
bool MoxSetMfeKettenRnr(MoxDaten* pData, const char* rnr);
// The provider index is always stored, the number only when one is given.
// The getter fills the index when providerIdx is given and the number when a
// buffer is.
bool MoxGetMfeSMSRnr(const MoxDaten* pData, uint8_t* providerIdx, char* buffer, size_t size);
bool MoxSetMfeSMSRnr(MoxDaten* pData, uint8_t providerIdx, const char* rnr);
// Mode 2: true and the group when the Tuermatik (Diversion) option is set.
bool MoxGetMfeTuermatikPGIdx(const MoxDaten* pData, uint8_t* pgIdx);
bool MoxGetMfeDiversionPGIdx(const MoxDaten* pData, uint8_t* pgIdx);
uint8_t MoxGetMfeConcierge(const MoxDaten* pData);

uint8_t MoxGetRAKEingangDirektruf(const MoxDaten* pData, uint8_t i);
bool MoxSetRAKEingangDirektruf(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetRAKEingangKettenruf(const MoxDaten* pData, uint8_t i);
bool MoxSetRAKEingangKettenruf(MoxDaten* pData, uint8_t i, uint8_t value);
uint8_t MoxGetRAKEingangSprache(const MoxDaten* pData, uint8_t i);
bool MoxSetRAKEingangSprache(MoxDaten* pData, uint8_t i, uint8_t value);
bool MoxSetRAKEingangSMSOptionen(MoxDaten* pData, uint8_t i, uint8_t smsKeinDirektruf,
                                 uint8_t smsKeinKettenruf, uint8_t smsImmer,
                                 uint8_t smsKeineVerbindung);
uint8_t MoxGetRAKEingangSMSKeinDirektruf(const MoxDaten* pData, uint8_t i);
uint8_t MoxGetRAKEingangSMSKeinKettenruf(const MoxDaten* pData, uint8_t i);
uint8_t MoxGetRAKEingangSMSImmer(const MoxDaten* pData, uint8_t i);
uint8_t MoxGetRAKEingangSMSVerbindung(const MoxDaten* pData, uint8_t i);
bool MoxGetRAKEingangDirektRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetRAKEingangDirektRnr(MoxDaten* pData, uint8_t i, const char* rnr);
// Unlike the box input, the getter answers only in mode 1.
bool MoxGetRAKEingangKettenRnr(const MoxDaten* pData, uint8_t i, char* buffer, size_t size);
bool MoxSetRAKEingangKettenRnr(MoxDaten* pData, uint8_t i, const char* rnr);
bool MoxGetRAKEingangSMSRnr(const MoxDaten* pData, uint8_t i, uint8_t* providerIdx, char* buffer,
                            size_t size);
bool MoxSetRAKEingangSMSRnr(MoxDaten* pData, uint8_t i, uint8_t providerIdx, const char* rnr);
bool MoxGetRAKEingangTuermatikPGIdx(const MoxDaten* pData, uint8_t i, uint8_t* pgIdx);
bool MoxGetRAKEingangDiversionPGIdx(const MoxDaten* pData, uint8_t i, uint8_t* pgIdx);
uint8_t MoxGetRAKEingangConcierge(const MoxDaten* pData, uint8_t i);

// Composite setters: the whole signal function in one call (mode 1 first).
// Null numbers leave their field as the mode change left it.
bool MoxSetMfeMeldefkt(MoxDaten* pData, uint8_t direktruf, const char* direktRnr, uint8_t kettenruf,
                       const char* kettenRnr, uint8_t providerIdx, const char* smsRnr,
                       uint8_t smsKeinDirektruf, uint8_t smsKeinKettenruf, uint8_t smsImmer,
                       uint8_t smsKeineVerbindung, uint8_t sprache);
bool MoxSetRAKEingangMeldefkt(MoxDaten* pData, uint8_t i, uint8_t direktruf, const char* direktRnr,
                              uint8_t kettenruf, const char* kettenRnr, uint8_t providerIdx,
                              const char* smsRnr, uint8_t smsKeinDirektruf,
                              uint8_t smsKeinKettenruf, uint8_t smsImmer,
                              uint8_t smsKeineVerbindung, uint8_t sprache);

// Time switch (mode 2, options cleared): option 1 Tuermatik with pgIdx,
// 2 Diversion with pgIdx, 3 Concierge (group 0); any other option sets no
// bit and keeps the box input's group (the controller input's goes to 0).
enum eSchaltuhrOption : uint8_t {
    eSchaltuhrKeine = 0,
    eSchaltuhrTuermatik = 1,
    eSchaltuhrDiversion = 2,
    eSchaltuhrConcierge = 3,
};
bool MoxSetMfeSchaltuhr(MoxDaten* pData, uint8_t option, uint8_t pgIdx);
bool MoxSetRAKEingangSchaltuhr(MoxDaten* pData, uint8_t i, uint8_t option, uint8_t pgIdx);

// ============================================================ camera device

uint8_t MoxGetKMRKameratyp(const MoxDaten* pData);
bool MoxSetKMRKameratyp(MoxDaten* pData, uint8_t value);
// 0..100; the getters fill value and return true.
bool MoxGetKMRCodierqual(const MoxDaten* pData, uint8_t* value);
bool MoxSetKMRCodierqual(MoxDaten* pData, uint8_t value);
bool MoxGetKMRHelligkeit(const MoxDaten* pData, uint8_t* value);
bool MoxSetKMRHelligkeit(MoxDaten* pData, uint8_t value);
bool MoxGetKMRKontrast(const MoxDaten* pData, uint8_t* value);
bool MoxSetKMRKontrast(MoxDaten* pData, uint8_t value);
bool MoxGetKMRSaettigung(const MoxDaten* pData, uint8_t* value);
bool MoxSetKMRSaettigung(MoxDaten* pData, uint8_t value);
uint8_t MoxGetKMRBandbreite(const MoxDaten* pData);
bool MoxSetKMRBandbreite(MoxDaten* pData, uint8_t value); // MOX_KMRBANDBREITE_MIN..MAX
