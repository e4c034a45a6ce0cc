#pragma once
// The tagged image of the configuration: section writers, the dispatcher that
// builds one package (or the whole image), and the reader that decodes an
// image back into the record. The whole image is the ".ktx" file; single
// sections are the packages sent to the box one by one, and what the box
// sends back is decoded by the same reader.
//
// Every writer takes bWrite: with false it only returns the byte count and
// leaves the stream untouched, so a package can be sized first. The writers
// work on the record's stream (MoxGetStream); the caller attaches a buffer
// large enough for what it writes (the document's 32768-byte image buffer).

#include <cstddef>
#include <cstdint>

#include "MoxDaten.h"

// Sections of the image; the number is the dispatcher's section argument.
enum eTaggedData : uint8_t {
    eTaggedData_All = 0,        // every section below, in image order
    eTaggedData_SysData = 1,    // the top-level system items
    eTaggedData_Concierge = 2,  // record 0x500
    eTaggedData_Tln = 3,        // record 0x1000 + i, subscriber i
    eTaggedData_PG = 4,         // record 0x600 + i, permission group i
    eTaggedData_Mfe = 5,        // record 0x300
    eTaggedData_Mfr = 6,        // record 0x400
    eTaggedData_RAKAusgang = 7, // record 0x200 + i, controller output i
    eTaggedData_RAKEingang = 8, // record 0x100 + i, controller input i
    eTaggedData_Texte = 9,      // the name texts
    eTaggedData_SMS = 10,       // record 0x4000 + i, SMS provider i
    eTaggedData_KMR = 11,       // record 0x800
    eTaggedData_Ende = 12,      // end of the document's package sequence
};

// ------------------------------------------------------------------ writing

// One package: with bWrite the stream is cleared first (every byte 0xFF,
// position at the start), so each package starts at the start of the buffer.
// Sections 3, 4, 7, 8 and 10 use index; an index at or above its table's
// capacity is a programming error. A subscriber or group within the table
// is written also when it lies at or above the count in use (the document
// sends subscriber 0 and group 0 without a door interface); section 0, the
// whole image, writes only those in use and ignores index. Any other
// section number returns 0.
uint16_t MoxWriteTaggedData(MoxDaten* pData, uint8_t section, uint8_t index, bool bWrite);

uint16_t MoxWriteTaggedSysData(MoxDaten* pData, bool bWrite);
uint16_t MoxWriteTaggedConcierge(MoxDaten* pData, bool bWrite);
uint16_t MoxWriteTaggedTln(MoxDaten* pData, uint8_t i, bool bWrite);
uint16_t MoxWriteTaggedPG(MoxDaten* pData, uint8_t i, bool bWrite);
uint16_t MoxWriteTaggedMfe(MoxDaten* pData, bool bWrite);
uint16_t MoxWriteTaggedMfr(MoxDaten* pData, bool bWrite);
uint16_t MoxWriteTaggedRAKAusgang(MoxDaten* pData, uint8_t i, bool bWrite);
uint16_t MoxWriteTaggedRAKEingang(MoxDaten* pData, uint8_t i, bool bWrite);
uint16_t MoxWriteTaggedTexte(MoxDaten* pData, bool bWrite);
uint16_t MoxWriteTaggedSMS(MoxDaten* pData, uint8_t i, bool bWrite);
uint16_t MoxWriteTaggedKMR(MoxDaten* pData, bool bWrite);

// ------------------------------------------------------------------ reading

// Decodes the image in the record's stream, from the start of its buffer to
// the end, into the record; the stream is left at its start.
// Returns false for a malformed image: an item or length running past the
// buffer or past its enclosing record, a length of 1024 or more, a tag of
// more than five bytes or at/above 0xFE00000, a byte 0xFF where a sub-item of
// a record is expected. A malformed image is refused as a whole: the check
// runs over the whole image before anything is stored, so the record is
// unchanged then. With bStore false it is only that check and the record is
// never changed (the check pass over an image read from the box).
//
// Values of well-formed items are stored as they stand, without range checks
// or cascades; unknown tags (tag 0 among them) and indices beyond a table's
// capacity are stepped over by their length. The image ends at the first
// 0xFF where a tag is expected, or at the end of the buffer.
bool MoxReadTaggedData(MoxDaten* pData, bool bStore);

// The number of items of the attached image that the reader knows and would
// store: records and top-level values inside their tables. 0 for an image
// that holds no configuration at all (nothing before the first 0xFF, or only
// unknown tags) and for a malformed one. The record is not changed.
size_t MoxCountTaggedItems(MoxDaten* pData);

// Resets the record to its defaults (MoxInitDaten), attaches the buffer and
// reads the image from it. Without a buffer the stream's own buffer is read,
// with the bytes it held before the reset. Returns MoxReadTaggedData's
// result; for a malformed image the record keeps the defaults.
bool MoxLoadDaten(MoxDaten* pData, uint8_t* buffer, size_t size);

// Reads the attached stream into the record (MoxReadTaggedData with store).
bool MoxParseTaggedData(MoxDaten* pData);

// The number of packages of a full write as the box counts them: group count
// + 39 + subscriber count + 1. The box is told this number, so it stays as it
// is even though the document sends the camera package only with a camera.
uint16_t MoxGetAnzTelegramme(MoxDaten* pData);
