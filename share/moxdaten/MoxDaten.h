#pragma once
// MoxDaten: the one flat record that holds a complete configuration of the
// interface box. The document owns it; pages and dialogs reach it through the
// accessors of MoxAccess.h. Every function of the library takes the record
// first (pData).
//
// The record holds no pointer into itself: the tagged functions always work on
// the record's own `stream` member (MoxGetStream), so a block copy (memcpy,
// assignment) is complete on its own and stays usable after the original is
// gone. 8-bit texts are Windows-1252 bytes and end with NUL within their
// capacity (the capacities below include the NUL).

#include <cstddef>
#include <cstdint>

#include "TaggedStream.h"

// ---------------------------------------------------------------- table sizes

constexpr int MOX_MAX_TLN = 31; // subscribers (door-interface type 2 uses all)
constexpr int MOX_MAX_PG = 11;  // permission groups
constexpr int MOX_MAX_RAK = 12; // inputs and outputs of the universal controller
constexpr int MOX_MAX_RAKEINGANG = MOX_MAX_RAK;
constexpr int MOX_MAX_RAKAUSGANG = MOX_MAX_RAK;
constexpr int MOX_MAX_BSMRELAIS = 6;      // relays of the bus switching modules
constexpr int MOX_MAX_SCHALTCODE = 6;     // switching codes 51..56
constexpr int MOX_MAX_SPERRNR = 4;        // barred number prefixes
constexpr int MOX_MAX_TUER = 7;           // doors (ring tones and door-call texts)
constexpr int MOX_MAX_SMS = 10;           // SMS providers
constexpr int MOX_MAX_SCHALTAUSGANG = 12; // actuator bits of a permission group

// --------------------------------------------- field capacities (NUL included)

constexpr int MOX_RNR_SIZE = 25;          // Rnr: 24 digits
constexpr int MOX_RNREXT_SIZE = 2;        // RnrExtBelegung: 1 digit
constexpr int MOX_SPERRNR_SIZE = 5;       // Sperrnr: 4 digits
constexpr int MOX_MASTERPIN_SIZE = 9;     // MasterPin: 8 digits
constexpr int MOX_CONCIERGERNR_SIZE = 21; // ConciergeRnr: 20 digits
constexpr int MOX_TLNRNR_SIZE = 21;       // subscriber Rnr: 20 digits
constexpr int MOX_PIN_SIZE = 5;           // group Pin: exactly 4 digits or empty
constexpr int MOX_PGRNR_SIZE = 25;        // group KettenRnr, DiversionRnr, SignalRnr
constexpr int MOX_EINGANGRNR_SIZE = 25;   // input Nr1, SMSRnr, KettenRnr
constexpr int MOX_BSMTEXT_SIZE = 17;      // relay and switching-code names: 16 characters
constexpr int MOX_TEXT_SIZE = 31;         // input, output, door-call and floor-call names
constexpr int MOX_PROVIDER_SIZE = 16;     // SMS provider name: 15 characters
constexpr int MOX_SMSRNR_SIZE = 25;       // SMS provider number: 24 digits
constexpr int MOX_VERSION_SIZE = 17;      // version texts: 16 characters

// ------------------------------------------ setting ranges (both ends valid)
// The setters refuse a value outside its range; a page that shows or checks
// one of these limits takes it from here, so page and record never differ.

constexpr uint8_t MOX_TUERRUFANNAHME_MIN = 20; // door-call acceptance, s
constexpr uint8_t MOX_TUERRUFANNAHME_MAX = 120;
constexpr uint16_t MOX_TUERRUFDAUER_MIN = 60; // longest door call, s
constexpr uint16_t MOX_TUERRUFDAUER_MAX = 600;
constexpr uint8_t MOX_TUERMATIK_MIN = 0; // door-automation delay, s
constexpr uint8_t MOX_TUERMATIK_MAX = 10;
constexpr uint16_t MOX_SCHALTDAUERMFR_MIN = 0; // multifunction-relay switching time, s
constexpr uint16_t MOX_SCHALTDAUERMFR_MAX = 999;
constexpr uint8_t MOX_KETTENRUF_MIN = 10; // chain-call time, s
constexpr uint8_t MOX_KETTENRUF_MAX = 30;
constexpr uint8_t MOX_NACHTRIGGERN_MIN = 1; // re-triggerings of a door call
constexpr uint8_t MOX_NACHTRIGGERN_MAX = 10;
constexpr uint8_t MOX_KMRPROZENT_MIN = 0; // camera picture settings, %
constexpr uint8_t MOX_KMRPROZENT_MAX = 100;
constexpr uint8_t MOX_KMRBANDBREITE_MIN = 1; // B channels the camera device uses
constexpr uint8_t MOX_KMRBANDBREITE_MAX = 2;

// -------------------------------------------------------------- special values

constexpr uint16_t MOX_TLNIDX_NONE = 0xFFFF;   // no subscriber linked
constexpr uint8_t MOX_PROVIDERIDX_NONE = 0xFF; // no SMS provider chosen
constexpr uint16_t MOX_PEGEL_0DB = 4096;       // raw level of 0 dB
constexpr char MOX_MASTERPIN_DEFAULT[] = "4817";
constexpr uint8_t MOX_TYPE_MOX = 2; // the box type this program configures

// ------------------------------------------------------------------ enumerators

enum eLand : uint8_t {
    eLV_Undefined = 0,
    eLV_Deutschland = 1,
    eLV_Niederlande = 2,
    eLV_Daenemark = 3,
    eLV_Frankreich = 4,
    eLV_Italien = 5,
    eLV_Oesterreich = 6,
    eLV_Schweiz = 7,
    eLV_Belgien = 8,
};

enum eSprache : uint8_t {
    eSpracheUndefined = 0,
    eSpracheDeutsch = 1,
    eSpracheEnglisch = 2,
    eSpracheFranzoesisch = 3,
    eSpracheItalienisch = 4,
    eSpracheDaenisch = 5,
    eSpracheHollaendisch = 6,
};

// Ring tone of a door; every value other than 2 and 3 counts as undefined.
enum eRufton : uint8_t {
    eRuftonUndefined = 0,
    eRufton1 = 2,
    eRufton2 = 3,
};

// Camera choice (field Kamera).
enum eKamera : uint8_t {
    eKameraKeine = 0,
    eKameraRAK = 1, // camera on the universal controller
    eKameraKMR = 2, // camera device
};

// Door-interface type (TypeIT): decides the subscriber and group counts.
enum eTypeIT : uint8_t {
    eIT_Undefined = 0,
    eIT_Nivo = 1,
    eIT_Pello = 2,
    eIT_Quarz = 3,
};

// Universal controller (TypeRAK).
enum eTypeRAK : uint8_t {
    eRAK_Undefined = 0, // none
    eRAK_Large = 1,     // 12 inputs, 12 outputs
};

// Mode of a signal input (the box's Mfe and each RAKEingang). The controller
// inputs use 0, 1 and 2 only.
enum eModeMeldeEingang : uint8_t {
    eModeMeldeEingangUndefined = 0,
    eModeMeldeEingangMeldefkt = 1,  // signal function
    eModeMeldeEingangSchaltuhr = 2, // time switch
    eModeMeldeEingangEtagenruf = 3, // floor call
    eModeMeldeEingangMfr = 4,
};

// Mode of a switching output (the box's Mfr and each RAKAusgang).
enum eModeSchaltAusgang : uint8_t {
    eModeSchaltAusgangUndefined = 0,
    eModeSchaltAusgangNSC = 1,
    eModeSchaltAusgangVideo = 2,
    eModeSchaltAusgangSchalter = 3,
    eModeSchaltAusgangTaster = 4,
    eModeSchaltAusgangTueroeffner = 5,
    eModeSchaltAusgangLicht = 6,
};

// Permission bits of a group (MoxPG::Permission). Bits 2, 11 and 24..31 are
// not used.
enum ePermission : uint32_t {
    ePermTueroeffner = 1u << 0,
    ePermLicht = 1u << 1,
    ePermTueranwahl = 1u << 3,
    ePermMultifktRelais = 1u << 4,
    ePermRAK = 1u << 5,
    ePermTuermatik = 1u << 6,
    ePermKettenruf = 1u << 7,
    ePermSignalisierung = 1u << 8,
    ePermDiversion = 1u << 9,
    ePermEinwahl = 1u << 10,
    ePermTuermatikEin = 1u << 12,
    ePermKettenrufEin = 1u << 13,
    ePermSignalisierungEin = 1u << 14,
    ePermDiversionEin = 1u << 15,
    ePermSchaltcode51 = 1u << 16, // 51..56 are bits 16..21
    ePermSchaltcode52 = 1u << 17,
    ePermSchaltcode53 = 1u << 18,
    ePermSchaltcode54 = 1u << 19,
    ePermSchaltcode55 = 1u << 20,
    ePermSchaltcode56 = 1u << 21,
    ePermTuermatikSignal = 1u << 22,
    ePermSchaltcode78 = 1u << 23,
};
constexpr int MOX_PERM_SCHALTCODE_BIT = 16; // bit of switching code 51
constexpr uint32_t MOX_PERM_SCHALTCODE_ALL = 0x3Fu << MOX_PERM_SCHALTCODE_BIT;
constexpr uint16_t MOX_SCHALTAUSGANG_ALL = 0x0FFF; // actuator bits 0..11

// Option bits of a signal input in mode 1 (Meldefkt).
enum eOptionMeldefkt : uint16_t {
    eOptDirektruf = 0x01,
    eOptKettenruf = 0x02,
    eOptSMSKeinDirektruf = 0x04,
    eOptSMSKeinKettenruf = 0x08,
    eOptSMSImmer = 0x10,
    eOptSMSKeineVerbindung = 0x20,
    eOptSprache = 0x40,
};

// Option bits of a signal input in mode 2 (Schaltuhr).
enum eOptionSchaltuhr : uint16_t {
    eOptTuermatik = 0x01,
    eOptDiversion = 0x02,
    eOptConcierge = 0x04,
};

// ------------------------------------------------------------------ sub-records

// Subscriber.
struct MoxTln {
    char Rnr[MOX_TLNRNR_SIZE];
    uint16_t BusAdr;
    uint16_t LogAdr; // logical address
    uint8_t Video;
};

// Permission group.
struct MoxPG {
    char Pin[MOX_PIN_SIZE];
    uint32_t Permission; // ePermission bits
    char KettenRnr[MOX_PGRNR_SIZE];
    char DiversionRnr[MOX_PGRNR_SIZE];
    char SignalRnr[MOX_PGRNR_SIZE];
    uint16_t TlnIdx;        // subscriber index, MOX_TLNIDX_NONE = none
    uint16_t Schaltausgang; // bits 0..11 = controller outputs 1..12
};

// Signal input: the box's Mfe and each RAKEingang.
struct MoxMeldeEingang {
    uint8_t Mode;                  // eModeMeldeEingang
    char Nr1[MOX_EINGANGRNR_SIZE]; // direct call (mode 1), floor call (mode 3)
    uint8_t ProviderIdx;           // SMS provider, MOX_PROVIDERIDX_NONE = none
    char SMSRnr[MOX_EINGANGRNR_SIZE];
    char KettenRnr[MOX_EINGANGRNR_SIZE];
    uint8_t PGIdx;    // group of the time-switch options
    uint16_t Options; // eOptionMeldefkt / eOptionSchaltuhr by mode
};

// The box's own multifunction relay.
struct MoxMfr {
    uint8_t Mode;    // eModeSchaltAusgang
    uint16_t TlnIdx; // MOX_TLNIDX_NONE = none
};

// Output of the universal controller.
struct MoxSchaltAusgang {
    uint8_t Mode;    // eModeSchaltAusgang
    uint16_t TlnIdx; // MOX_TLNIDX_NONE = none
    uint8_t Sprache;
};

// Relay of a bus switching module.
struct MoxBSMRelais {
    uint16_t Adr;   // bus address
    uint8_t Relais; // relay number
    char Text[MOX_BSMTEXT_SIZE];
};

// Switching code.
struct MoxSchaltcode {
    uint16_t Adr;  // bus address
    uint8_t Video; // video flag
    char Text[MOX_BSMTEXT_SIZE];
};

// SMS provider.
struct MoxSMS {
    char Provider[MOX_PROVIDER_SIZE];
    char Rnr[MOX_SMSRNR_SIZE];
    uint8_t Protokoll;
};

// ----------------------------------------------------------------- the record

struct MoxDaten {
    // The stream the tagged functions work on; its buffer is its own or an
    // attached external one (MoxSetStreamBuffer). There is no separate
    // pointer to it: that pointer would lead back into the original record
    // after a block copy.
    TaggedStream stream;

    uint8_t Land;    // eLand
    uint8_t Sprache; // eSprache
    char Rnr[MOX_RNR_SIZE];
    char RnrExtBelegung[MOX_RNREXT_SIZE];
    char Sperrnr[MOX_MAX_SPERRNR][MOX_SPERRNR_SIZE];
    char MasterPin[MOX_MASTERPIN_SIZE]; // changed only by a reset or an image read
    uint8_t Kamera;                     // eKamera
    uint8_t Tuerrufannahme;             // MOX_TUERRUFANNAHME_MIN..MAX
    uint16_t Tuerrufdauer;              // MOX_TUERRUFDAUER_MIN..MAX
    uint8_t Tuermatik;                  // MOX_TUERMATIK_MIN..MAX
    uint16_t SchaltdauerMfr;            // MOX_SCHALTDAUERMFR_MIN..MAX
    uint8_t Kettenruf;                  // MOX_KETTENRUF_MIN..MAX
    uint16_t PegelKommend;              // raw, MOX_PEGEL_0DB = 0 dB, never 0
    uint16_t PegelGehend;               // raw, MOX_PEGEL_0DB = 0 dB, never 0
    uint8_t Nachtriggern;               // MOX_NACHTRIGGERN_MIN..MAX
    uint16_t BSGProgKennziffer;
    uint8_t Rufton[MOX_MAX_TUER]; // eRufton
    uint8_t Sprachausgabe;
    uint8_t ConciergeAktiv;
    char ConciergeRnr[MOX_CONCIERGERNR_SIZE];
    uint8_t ConciergeVideo;

    MoxTln Tln[MOX_MAX_TLN];
    MoxPG PG[MOX_MAX_PG];
    MoxMeldeEingang Mfe;
    MoxMfr Mfr;
    MoxMeldeEingang RAKEingang[MOX_MAX_RAKEINGANG];
    MoxSchaltAusgang RAKAusgang[MOX_MAX_RAKAUSGANG];
    MoxBSMRelais BSMRelais[MOX_MAX_BSMRELAIS];
    MoxSchaltcode Schaltcode[MOX_MAX_SCHALTCODE];

    uint8_t Kameratyp;
    uint8_t Codierqual; // 0..100
    uint8_t Bandbreite; // B channels, 1..2
    uint8_t Helligkeit; // 0..100
    uint8_t Kontrast;   // 0..100
    uint8_t Saettigung; // 0..100

    char MeldeeingangsText[MOX_MAX_RAKEINGANG][MOX_TEXT_SIZE];
    char SchaltausgangsText[MOX_MAX_RAKAUSGANG][MOX_TEXT_SIZE];
    char TuerrufText[MOX_MAX_TUER][MOX_TEXT_SIZE];
    char EtagenrufText[MOX_TEXT_SIZE];
    MoxSMS SMS[MOX_MAX_SMS];
    char VersionMox[MOX_VERSION_SIZE];
    char VersionKMR[MOX_VERSION_SIZE];

    uint8_t TypeIT;     // eTypeIT
    uint8_t TypeRAK;    // eTypeRAK
    uint8_t TypeBSM;    // 0 or 1
    uint8_t TypeKMR;    // camera device present, 0 or 1
    uint8_t IO_TlnAdr;  // write subscriber addresses into the image
    uint8_t IO_Version; // write the version texts into the image
    uint8_t Sprachwaage;
};

// The stream the tagged functions work on: always the record's own.
inline TaggedStream* MoxGetStream(MoxDaten* pData) {
    return &pData->stream;
}

// ------------------------------------------------------------------- defaults

// Sets the whole record to its defaults. The record is value-initialised
// first, so the result never depends on what it held before.
void MoxInitDaten(MoxDaten* pData);

// Section defaults, also used one by one by the page resets.
void MoxInitKTXKonfig(MoxDaten* pData);
void MoxInitSystem(MoxDaten* pData);
void MoxInitSperrnr(MoxDaten* pData);
void MoxInitBSMRelais(MoxDaten* pData);
void MoxInitSchaltcode(MoxDaten* pData);
void MoxInitTln(MoxDaten* pData, uint8_t i);
void MoxInitAllTln(MoxDaten* pData);
void MoxDeleteAllTln(MoxDaten* pData);
void MoxInitPG(MoxDaten* pData);
void MoxInitMfe(MoxDaten* pData);
void MoxInitMfr(MoxDaten* pData);
void MoxInitRAKEingang(MoxDaten* pData);
void MoxInitRAKAusgang(MoxDaten* pData);
void MoxInitKMR(MoxDaten* pData);
void MoxInitTuerrufTexte(MoxDaten* pData);
void MoxInitSMS(MoxDaten* pData);

// ------------------------------------------------------------- stream wrappers

void MoxSetStreamBuffer(MoxDaten* pData, uint8_t* buffer, size_t size);
void MoxSetStreamIntern(MoxDaten* pData);
void MoxClearStream(MoxDaten* pData);
uint32_t MoxGetStreamLen(MoxDaten* pData);

// record layout complete
