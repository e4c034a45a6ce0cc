#include "MoxTagged.h"

#include <cassert>
#include <cstring>
#include <iterator>
#include <memory>

#include "MoxAccess.h"
#include "MoxTrace.h"
#include "TaggedStream.h"

namespace {

// Channel of the document's trace output: the subscriber writer reports the
// addresses that go to the box, which is the document's business.
constexpr int kTraceChannelDoc = 1;

// ------------------------------------------------------------------ tags

// Top-level items of section 1 and the texts of section 9.
enum : uint32_t {
    kTagMasterPin = 2,
    kTagTuerrufannahme = 5,
    kTagTuerrufdauer = 6,
    kTagUnused7 = 7, // known to the box, never written, always skipped
    kTagSchaltdauerMfr = 8,
    kTagConciergeAktiv = 9,
    kTagKettenruf = 10,
    kTagTuermatik = 11,
    kTagKamera = 12,
    kTagNachtriggern = 14,
    kTagBSGProgKennziffer = 15,
    kTagPegelKommend = 16,
    kTagPegelGehend = 17,
    kTagSprachausgabe = 18,
    kTagSprachwaage = 19,
    kTagLand = 0x2000,
    kTagSprache = 0x2001,
    kTagRnr = 0x2002,
    kTagRnrExtBelegung = 0x2003,
    kTagVersionMox = 0x2006,
    kTagTypeIT = 0x2007,
    kTagTypeRAK = 0x2009,
    kTagTypeBSM = 0x200D,
    kTagTypeKMR = 0x200E,
    kTagVersionKMR = 0x200F,
    kTagEtagenrufText = 0x3300,
};

// Records and indexed items: the base tag, the index added to it.
enum : uint32_t {
    kTagRAKEingang = 0x100,
    kTagRAKAusgang = 0x200,
    kTagMfe = 0x300,
    kTagMfr = 0x400,
    kTagConcierge = 0x500,
    kTagPG = 0x600,
    kTagBSMRelais = 0x700,
    kTagKMR = 0x800,
    kTagSperrnr = 0x900,
    kTagTln = 0x1000,
    kTagMeldeeingangsText = 0x3000,
    kTagSchaltausgangsText = 0x3100,
    kTagTuerrufText = 0x3200,
    kTagSchaltcode = 0x3400,
    kTagSMS = 0x4000,
    kTagRufton = 0x4100,
};

// Sub-tags of the input records (the box's Mfe and each RAKEingang).
enum : uint32_t {
    kInMode = 1,
    kInNr1 = 16,
    kInSMSRnr = 17,
    kInPGIdx = 19,
    kInKettenRnr = 20,
    kInProviderIdx = 21,
};

// A flag item: its sub-tag and the bit it carries.
struct FlagItem {
    uint8_t subTag;
    uint32_t bit;
};

// Rights of a permission group in writing order; the actuators 1..12 follow
// as sub-tags 48..59.
constexpr FlagItem kPGRights[] = {
    {6, ePermTuermatikEin},  {7, ePermKettenrufEin},    {8, ePermSignalisierungEin},
    {9, ePermDiversionEin},  {16, ePermTueroeffner},    {17, ePermLicht},
    {19, ePermTueranwahl},   {20, ePermMultifktRelais}, {32, ePermRAK},
    {37, ePermEinwahl},      {33, ePermTuermatik},      {38, ePermTuermatikSignal},
    {34, ePermKettenruf},    {35, ePermSignalisierung}, {36, ePermDiversion},
    {64, ePermSchaltcode51}, {65, ePermSchaltcode52},   {66, ePermSchaltcode53},
    {67, ePermSchaltcode54}, {68, ePermSchaltcode55},   {69, ePermSchaltcode56},
    {70, ePermSchaltcode78},
};
constexpr uint8_t kPGActuatorTag = 48;

// Option items of an input by its mode, in writing order.
constexpr FlagItem kOptionsMeldefkt[] = {
    {38, eOptDirektruf},        {37, eOptKettenruf}, {32, eOptSMSKeinDirektruf},
    {33, eOptSMSKeinKettenruf}, {34, eOptSMSImmer},  {35, eOptSMSKeineVerbindung},
    {36, eOptSprache},
};
constexpr FlagItem kOptionsSchaltuhr[] = {
    {39, eOptTuermatik},
    {40, eOptDiversion},
    {41, eOptConcierge},
};

// ---------------------------------------------------------------- writing

// A u8 field written as an integer goes out as a signed 8-bit number, so
// 0x80..0xFF take four bytes (FF FF FF v); the box and the reader keep the
// low byte.
uint16_t WriteU8Int(TaggedStream* s, uint32_t tag, uint8_t value, bool bWrite) {
    const int32_t widened = static_cast<int8_t>(value);
    return TagStrWriteInt(s, tag, static_cast<uint32_t>(widened), bWrite);
}

// A constructed record: tag, the two reserved length bytes, then what body()
// writes (it returns its byte count), and the length patched in. Without
// bWrite nothing is reserved and the stream stays where it is.
template <class Body>
uint16_t WriteRecord(TaggedStream* s, uint32_t tag, bool bWrite, Body&& body) {
    const uint16_t tagBytes = TagStrWriteTag(s, tag, bWrite);
    uint8_t* pLen = bWrite ? TagStrReserveLen(s) : nullptr;
    const uint16_t content = body();
    TagStrPatchLen(pLen, content, bWrite);
    return static_cast<uint16_t>(tagBytes + 2 + content);
}

uint16_t WriteFlag(TaggedStream* s, uint32_t tag, bool set, bool bWrite) {
    return TagStrWriteByte(s, tag, set ? 1 : 0, bWrite);
}

char* AppendText(char* p, const char* text) {
    while (*text)
        *p++ = *text++;
    return p;
}

char* AppendHex4(char* p, uint16_t value) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (int shift = 12; shift >= 0; shift -= 4)
        *p++ = kHex[(value >> shift) & 0xF];
    return p;
}

char* AppendDecimal(char* p, unsigned value) {
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    while (n)
        *p++ = digits[--n];
    return p;
}

// "write tln[%d] Busadr(0x%04x) LogAdr(0x%04x)", built by hand: it runs for
// every subscriber of every package and must stay cheap when no one listens.
void TraceTlnAdr(unsigned i, uint16_t busAdr, uint16_t logAdr) {
    if (!MoxTraceWanted(kTraceChannelDoc))
        return;
    char line[64];
    char* p = AppendText(line, "write tln[");
    p = AppendDecimal(p, i);
    p = AppendText(p, "] Busadr(0x");
    p = AppendHex4(p, busAdr);
    p = AppendText(p, ") LogAdr(0x");
    p = AppendHex4(p, logAdr);
    p = AppendText(p, ")");
    *p = '\0';
    MoxTrace(kTraceChannelDoc, line);
}

uint16_t WriteBSMRelais(TaggedStream* s, const MoxBSMRelais& r, uint8_t i, bool bWrite) {
    return WriteRecord(s, kTagBSMRelais + i, bWrite, [&] {
        uint16_t n = TagStrWriteWord(s, 1, r.Adr, bWrite);
        n += TagStrWriteByte(s, 2, r.Relais, bWrite);
        n += TagStrWriteString(s, 3, r.Text, bWrite);
        return n;
    });
}

uint16_t WriteSchaltcode(TaggedStream* s, const MoxSchaltcode& c, uint8_t i, bool bWrite) {
    // Sub-tag 3 (video) comes before 2 (text) here, unlike the relays.
    return WriteRecord(s, kTagSchaltcode + i, bWrite, [&] {
        uint16_t n = TagStrWriteWord(s, 1, c.Adr, bWrite);
        n += TagStrWriteByte(s, 3, c.Video, bWrite);
        n += TagStrWriteString(s, 2, c.Text, bWrite);
        return n;
    });
}

// Option items of an input: which ones exist depends on the input's mode.
uint16_t WriteInputOptions(TaggedStream* s, const MoxMeldeEingang& in, bool bWrite) {
    const FlagItem* items = nullptr;
    size_t count = 0;
    if (in.Mode == eModeMeldeEingangMeldefkt) {
        items = kOptionsMeldefkt;
        count = std::size(kOptionsMeldefkt);
    } else if (in.Mode == eModeMeldeEingangSchaltuhr) {
        items = kOptionsSchaltuhr;
        count = std::size(kOptionsSchaltuhr);
    }
    uint16_t n = 0;
    for (size_t k = 0; k < count; ++k)
        n += WriteFlag(s, items[k].subTag, (in.Options & items[k].bit) != 0, bWrite);
    return n;
}

// The box's input puts the chain-call number before the two indices, the
// controller inputs put it after them.
enum class InputOrder { Mfe, RAKEingang };

uint16_t WriteInput(TaggedStream* s, uint32_t tag, const MoxMeldeEingang& in, InputOrder order,
                    bool bWrite) {
    return WriteRecord(s, tag, bWrite, [&] {
        uint16_t n = WriteU8Int(s, kInMode, in.Mode, bWrite);
        n += TagStrWriteRnr(s, kInNr1, in.Nr1, bWrite);
        n += TagStrWriteRnr(s, kInSMSRnr, in.SMSRnr, bWrite);
        if (order == InputOrder::Mfe)
            n += TagStrWriteRnr(s, kInKettenRnr, in.KettenRnr, bWrite);
        n += TagStrWriteByte(s, kInProviderIdx, in.ProviderIdx, bWrite);
        n += TagStrWriteByte(s, kInPGIdx, in.PGIdx, bWrite);
        if (order == InputOrder::RAKEingang)
            n += TagStrWriteRnr(s, kInKettenRnr, in.KettenRnr, bWrite);
        n += WriteInputOptions(s, in, bWrite);
        return n;
    });
}

uint16_t WriteAll(MoxDaten* pData, bool bWrite) {
    uint16_t n = MoxWriteTaggedSysData(pData, bWrite);
    n += MoxWriteTaggedConcierge(pData, bWrite);
    const uint8_t anzTln = MoxGetAnzTln(pData);
    for (uint8_t i = 0; i < anzTln; ++i)
        n += MoxWriteTaggedTln(pData, i, bWrite);
    const uint8_t anzPG = MoxGetAnzPG(pData);
    for (uint8_t i = 0; i < anzPG; ++i)
        n += MoxWriteTaggedPG(pData, i, bWrite);
    n += MoxWriteTaggedMfe(pData, bWrite);
    n += MoxWriteTaggedMfr(pData, bWrite);
    for (uint8_t i = 0; i < MOX_MAX_RAKEINGANG; ++i)
        n += MoxWriteTaggedRAKEingang(pData, i, bWrite);
    for (uint8_t i = 0; i < MOX_MAX_RAKAUSGANG; ++i)
        n += MoxWriteTaggedRAKAusgang(pData, i, bWrite);
    n += MoxWriteTaggedKMR(pData, bWrite);
    n += MoxWriteTaggedTexte(pData, bWrite);
    for (uint8_t i = 0; i < MOX_MAX_SMS; ++i)
        n += MoxWriteTaggedSMS(pData, i, bWrite);
    return n;
}

// ---------------------------------------------------------------- reading
//
// The reader walks the image through a cursor of its own: a whole image is
// a few thousand items, and each of them is decoded in place here rather than
// through a call per tag, length and value. It keeps the stream's reading
// rules exactly (lengths below 1024 and within what remains, tags of at most
// five bytes below 0xFE00000, texts cut to their field, digits up to the
// field's capacity less one, the low bytes of a long integer) and adds the
// record bounds: no sub-item may reach past the end of its record.

// A span of the image still to be read.
struct Cursor {
    const uint8_t* p;
    const uint8_t* end;
};

enum class TagRead { Item, End, Bad };

// A byte 0xFF (consumed) or the end of the span ends the data.
inline TagRead ReadTag(Cursor& c, uint32_t& tag) {
    if (c.p == c.end)
        return TagRead::End;
    uint8_t b = *c.p++;
    if (b == TAGSTR_EMPTY)
        return TagRead::End;
    // Five 7-bit groups make 35 bits: collected wide, so a tag too large is
    // recognised instead of wrapping round.
    uint64_t value = b & 0x7F;
    for (int n = 1; b & 0x80; ++n) {
        if (n == TAGSTR_MAX_TAG_BYTES || c.p == c.end)
            return TagRead::Bad;
        b = *c.p++;
        value = (value << 7) | (b & 0x7F);
    }
    if (value >= TAGSTR_TAG_LIMIT)
        return TagRead::Bad;
    tag = static_cast<uint32_t>(value);
    return TagRead::Item;
}

// The content of the item whose length field is at the cursor; the cursor
// moves behind it. False when the length is malformed or runs past the span.
inline bool ReadContent(Cursor& c, Cursor& content) {
    if (c.p == c.end)
        return false;
    size_t len = *c.p++;
    if (len & 0x80) {
        if (c.p == c.end)
            return false;
        len = ((len & 0x7F) << 8) | *c.p++;
    }
    if (len >= TAGSTR_READ_LEN_LIMIT || len > static_cast<size_t>(c.end - c.p))
        return false;
    content = {c.p, c.p + len};
    c.p += len;
    return true;
}

inline size_t Size(const Cursor& c) {
    return static_cast<size_t>(c.end - c.p);
}

// Integer content, most significant byte first; a longer content keeps its
// low bytes.
inline uint32_t IntOf(const Cursor& c) {
    uint32_t value = 0;
    for (const uint8_t* q = c.p; q != c.end; ++q)
        value = (value << 8) | *q;
    return value;
}

// A byte item's value is its last content byte (0 when empty).
inline uint8_t ByteOf(const Cursor& c) {
    return c.p == c.end ? 0 : c.end[-1];
}

inline uint8_t U8Of(const Cursor& c) {
    return static_cast<uint8_t>(IntOf(c));
}

inline uint16_t U16Of(const Cursor& c) {
    return static_cast<uint16_t>(IntOf(c));
}

// A text, cut so that the NUL still fits its field.
template <size_t N> void TextOf(const Cursor& c, char (&field)[N]) {
    const size_t n = Size(c) < N - 1 ? Size(c) : N - 1;
    std::memcpy(field, c.p, n);
    field[n] = '\0';
}

// Dial digits up to the field's capacity less one, to the first nibble
// outside the digit set (0xF ends a number) or the end of the content.
template <size_t N> void DigitsOf(const Cursor& c, char (&field)[N]) {
    static constexpr char kChars[16] = {'0', '1', '2', '3', '4', '5', '6', '7',
                                        '8', '9', '*', '#', 'R', 0,   0,   0};
    constexpr size_t kMax = N - 1;
    size_t n = 0;
    for (const uint8_t* q = c.p; q != c.end && n < kMax; ++q) {
        const char high = kChars[*q >> 4];
        if (!high)
            break;
        field[n++] = high;
        const char low = kChars[*q & 0xF];
        if (!low || n == kMax)
            break;
        field[n++] = low;
    }
    field[n] = '\0';
}

// A flag item of value 1 sets its bit; any other value clears it.
template <class T> void FlagOf(const Cursor& c, T& word, uint32_t bit) {
    if (ByteOf(c) == 1)
        word = static_cast<T>(word | bit);
    else
        word = static_cast<T>(word & ~bit);
}

// Sub-tag -> bit, for the rights and actuators of a group and the options of
// an input; 0 where a sub-tag carries no flag.
struct FlagTable {
    uint32_t right[72] = {};
    uint16_t actuator[72] = {};
    uint16_t option[48] = {};
};

constexpr FlagTable MakeFlagTable() {
    FlagTable t;
    for (const FlagItem& item : kPGRights)
        t.right[item.subTag] = item.bit;
    for (int k = 0; k < MOX_MAX_SCHALTAUSGANG; ++k)
        t.actuator[kPGActuatorTag + k] = static_cast<uint16_t>(1u << k);
    // Whatever the input's mode: 38 and 39 act on 0x01, 37 and 40 on 0x02,
    // 32 and 41 on 0x04.
    for (const FlagItem& item : kOptionsMeldefkt)
        t.option[item.subTag] = static_cast<uint16_t>(item.bit);
    for (const FlagItem& item : kOptionsSchaltuhr)
        t.option[item.subTag] = static_cast<uint16_t>(item.bit);
    return t;
}
constexpr FlagTable kFlags = MakeFlagTable();

void DecodeBSMRelais(uint32_t subTag, const Cursor& v, MoxBSMRelais& r) {
    switch (subTag) {
    case 1:
        r.Adr = U16Of(v);
        break;
    case 2:
        r.Relais = ByteOf(v);
        break;
    case 3:
        TextOf(v, r.Text);
        break;
    default:
        break;
    }
}

void DecodeSchaltcode(uint32_t subTag, const Cursor& v, MoxSchaltcode& c) {
    switch (subTag) {
    case 1:
        c.Adr = U16Of(v);
        break;
    case 3:
        c.Video = ByteOf(v);
        break;
    case 2:
        TextOf(v, c.Text);
        break;
    default:
        break;
    }
}

void DecodeConcierge(uint32_t subTag, const Cursor& v, MoxDaten& d) {
    switch (subTag) {
    case 2:
        d.ConciergeVideo = ByteOf(v);
        break;
    case 3:
        DigitsOf(v, d.ConciergeRnr);
        break;
    default:
        break;
    }
}

// Without the address flag the subscriber keeps the addresses it has.
void DecodeTln(uint32_t subTag, const Cursor& v, MoxTln& t, bool withAdr) {
    switch (subTag) {
    case 1:
        if (withAdr)
            t.BusAdr = U16Of(v);
        break;
    case 4:
        if (withAdr)
            t.LogAdr = U16Of(v);
        break;
    case 2:
        t.Video = ByteOf(v);
        break;
    case 3:
        DigitsOf(v, t.Rnr);
        break;
    default:
        break;
    }
}

void DecodePG(uint32_t subTag, const Cursor& v, MoxPG& pg) {
    switch (subTag) {
    case 1:
        DigitsOf(v, pg.Pin);
        return;
    case 2:
        DigitsOf(v, pg.KettenRnr);
        return;
    case 3:
        DigitsOf(v, pg.SignalRnr);
        return;
    case 4:
        DigitsOf(v, pg.DiversionRnr);
        return;
    case 5:
        pg.TlnIdx = U16Of(v);
        return;
    default:
        break;
    }
    if (subTag < std::size(kFlags.right)) {
        if (kFlags.right[subTag])
            FlagOf(v, pg.Permission, kFlags.right[subTag]);
        else if (kFlags.actuator[subTag])
            FlagOf(v, pg.Schaltausgang, kFlags.actuator[subTag]);
    }
}

void DecodeInput(uint32_t subTag, const Cursor& v, MoxMeldeEingang& in) {
    switch (subTag) {
    case kInMode:
        in.Mode = U8Of(v);
        return;
    case kInNr1:
        DigitsOf(v, in.Nr1);
        return;
    case kInSMSRnr:
        DigitsOf(v, in.SMSRnr);
        return;
    case kInKettenRnr:
        DigitsOf(v, in.KettenRnr);
        return;
    case kInProviderIdx:
        in.ProviderIdx = ByteOf(v);
        return;
    case kInPGIdx:
        in.PGIdx = ByteOf(v);
        return;
    default:
        break;
    }
    if (subTag < std::size(kFlags.option) && kFlags.option[subTag])
        FlagOf(v, in.Options, kFlags.option[subTag]);
}

void DecodeMfr(uint32_t subTag, const Cursor& v, MoxMfr& r) {
    switch (subTag) {
    case 1:
        r.Mode = U8Of(v);
        break;
    case 2:
        r.TlnIdx = U16Of(v);
        break;
    default:
        break;
    }
}

void DecodeRAKAusgang(uint32_t subTag, const Cursor& v, MoxSchaltAusgang& out) {
    switch (subTag) {
    case 1:
        out.Mode = U8Of(v);
        break;
    case 2:
        out.TlnIdx = U16Of(v);
        break;
    case 3:
        out.Sprache = ByteOf(v);
        break;
    default:
        break;
    }
}

void DecodeKMR(uint32_t subTag, const Cursor& v, MoxDaten& d) {
    switch (subTag) {
    case 1:
        d.Kameratyp = U8Of(v);
        break;
    case 2:
        d.Codierqual = ByteOf(v);
        break;
    case 3:
        d.Bandbreite = ByteOf(v);
        break;
    case 4:
        d.Helligkeit = ByteOf(v);
        break;
    case 5:
        d.Kontrast = ByteOf(v);
        break;
    case 6:
        d.Saettigung = ByteOf(v);
        break;
    default:
        break;
    }
}

void DecodeSMS(uint32_t subTag, const Cursor& v, MoxSMS& sms) {
    switch (subTag) {
    case 1:
        TextOf(v, sms.Provider);
        break;
    case 2:
        DigitsOf(v, sms.Rnr);
        break;
    case 3:
        sms.Protokoll = U8Of(v);
        break;
    default:
        break;
    }
}

// Top-level items that are not records; unknown tags, tag 0 and tag 7 are
// not among them and stay unread. True when the item was one of them.
bool DecodeScalar(uint32_t tag, const Cursor& v, MoxDaten& d) {
    switch (tag) {
    case kTagLand:
        d.Land = U8Of(v);
        return true;
    case kTagSprache:
        d.Sprache = U8Of(v);
        return true;
    case kTagRnr:
        DigitsOf(v, d.Rnr);
        return true;
    case kTagRnrExtBelegung:
        DigitsOf(v, d.RnrExtBelegung);
        return true;
    case kTagMasterPin:
        DigitsOf(v, d.MasterPin);
        return true;
    case kTagKamera:
        d.Kamera = U8Of(v);
        return true;
    case kTagTuerrufannahme:
        d.Tuerrufannahme = ByteOf(v);
        return true;
    case kTagTuerrufdauer:
        d.Tuerrufdauer = U16Of(v);
        return true;
    case kTagTuermatik:
        d.Tuermatik = ByteOf(v);
        return true;
    case kTagSchaltdauerMfr:
        d.SchaltdauerMfr = U16Of(v);
        return true;
    case kTagSprachausgabe:
        d.Sprachausgabe = ByteOf(v);
        return true;
    case kTagConciergeAktiv:
        d.ConciergeAktiv = ByteOf(v);
        return true;
    case kTagKettenruf:
        d.Kettenruf = ByteOf(v);
        return true;
    case kTagPegelKommend:
        d.PegelKommend = U16Of(v);
        return true;
    case kTagPegelGehend:
        d.PegelGehend = U16Of(v);
        return true;
    case kTagNachtriggern:
        d.Nachtriggern = ByteOf(v);
        return true;
    case kTagBSGProgKennziffer:
        d.BSGProgKennziffer = U16Of(v);
        return true;
    case kTagVersionMox:
        TextOf(v, d.VersionMox);
        return true;
    case kTagVersionKMR:
        TextOf(v, d.VersionKMR);
        return true;
    case kTagTypeIT:
        d.TypeIT = U8Of(v);
        return true;
    case kTagTypeRAK:
        d.TypeRAK = U8Of(v);
        return true;
    case kTagTypeBSM:
        d.TypeBSM = U8Of(v);
        return true;
    case kTagTypeKMR:
        d.TypeKMR = U8Of(v);
        return true;
    case kTagSprachwaage:
        d.Sprachwaage = ByteOf(v);
        return true;
    case kTagEtagenrufText:
        TextOf(v, d.EtagenrufText);
        return true;
    default:
        break;
    }
    // Indexed items: an index beyond the table's capacity is stepped over.
    const uint32_t idx = tag & 0xFF;
    switch (tag & ~0xFFu) {
    case kTagSperrnr:
        if (idx >= MOX_MAX_SPERRNR)
            return false;
        DigitsOf(v, d.Sperrnr[idx]);
        return true;
    case kTagMeldeeingangsText:
        if (idx >= MOX_MAX_RAKEINGANG)
            return false;
        TextOf(v, d.MeldeeingangsText[idx]);
        return true;
    case kTagSchaltausgangsText:
        if (idx >= MOX_MAX_RAKAUSGANG)
            return false;
        TextOf(v, d.SchaltausgangsText[idx]);
        return true;
    case kTagTuerrufText:
        if (idx >= MOX_MAX_TUER)
            return false;
        TextOf(v, d.TuerrufText[idx]);
        return true;
    case kTagRufton:
        if (idx >= MOX_MAX_TUER)
            return false;
        d.Rufton[idx] = U8Of(v);
        return true;
    default:
        return false;
    }
}

// What a top-level tag stands for.
enum class Kind {
    Other, // a scalar item or an unknown one: no sub-items
    Concierge,
    Mfe,
    Mfr,
    KMR,
    Tln,
    PG,
    RAKEingang,
    RAKAusgang,
    BSMRelais,
    Schaltcode,
    SMS,
};

// Splits a top-level tag into the record it names and its index. Indexed
// records count while the index lies inside the table's capacity, so what
// is read never depends on the order in which items arrive.
Kind RecordKind(uint32_t tag, uint32_t& idx) {
    switch (tag) {
    case kTagConcierge:
        return Kind::Concierge;
    case kTagMfe:
        return Kind::Mfe;
    case kTagMfr:
        return Kind::Mfr;
    case kTagKMR:
        return Kind::KMR;
    default:
        break;
    }
    if (tag >= kTagTln && tag < kTagTln + 0x1000) {
        idx = tag - kTagTln;
        return idx < MOX_MAX_TLN ? Kind::Tln : Kind::Other;
    }
    idx = tag & 0xFF;
    switch (tag & ~0xFFu) {
    case kTagRAKEingang:
        return idx < MOX_MAX_RAKEINGANG ? Kind::RAKEingang : Kind::Other;
    case kTagRAKAusgang:
        return idx < MOX_MAX_RAKAUSGANG ? Kind::RAKAusgang : Kind::Other;
    case kTagPG:
        return idx < MOX_MAX_PG ? Kind::PG : Kind::Other;
    case kTagBSMRelais:
        return idx < MOX_MAX_BSMRELAIS ? Kind::BSMRelais : Kind::Other;
    case kTagSchaltcode:
        return idx < MOX_MAX_SCHALTCODE ? Kind::Schaltcode : Kind::Other;
    case kTagSMS:
        return idx < MOX_MAX_SMS ? Kind::SMS : Kind::Other;
    default:
        return Kind::Other;
    }
}

// The sub-items of one record, each handed to decode (when given) with its
// content. A byte 0xFF where a sub-tag is expected is malformed: it would
// end an image, but the record still owes bytes.
template <class Decode> bool ReadRecord(Cursor rec, Decode&& decode) {
    while (rec.p != rec.end) {
        uint32_t subTag = 0;
        Cursor value{};
        if (ReadTag(rec, subTag) != TagRead::Item || !ReadContent(rec, value))
            return false;
        decode(subTag, value);
    }
    return true;
}

bool DecodeRecord(Kind kind, uint32_t idx, const Cursor& rec, MoxDaten& d) {
    switch (kind) {
    case Kind::Concierge:
        return ReadRecord(rec, [&](uint32_t t, const Cursor& v) { DecodeConcierge(t, v, d); });
    case Kind::Mfe:
        return ReadRecord(rec, [&](uint32_t t, const Cursor& v) { DecodeInput(t, v, d.Mfe); });
    case Kind::Mfr:
        return ReadRecord(rec, [&](uint32_t t, const Cursor& v) { DecodeMfr(t, v, d.Mfr); });
    case Kind::KMR:
        return ReadRecord(rec, [&](uint32_t t, const Cursor& v) { DecodeKMR(t, v, d); });
    case Kind::Tln: {
        const bool withAdr = d.IO_TlnAdr != 0;
        return ReadRecord(
            rec, [&](uint32_t t, const Cursor& v) { DecodeTln(t, v, d.Tln[idx], withAdr); });
    }
    case Kind::PG:
        return ReadRecord(rec, [&](uint32_t t, const Cursor& v) { DecodePG(t, v, d.PG[idx]); });
    case Kind::RAKEingang:
        return ReadRecord(
            rec, [&](uint32_t t, const Cursor& v) { DecodeInput(t, v, d.RAKEingang[idx]); });
    case Kind::RAKAusgang:
        return ReadRecord(
            rec, [&](uint32_t t, const Cursor& v) { DecodeRAKAusgang(t, v, d.RAKAusgang[idx]); });
    case Kind::BSMRelais:
        return ReadRecord(
            rec, [&](uint32_t t, const Cursor& v) { DecodeBSMRelais(t, v, d.BSMRelais[idx]); });
    case Kind::Schaltcode:
        return ReadRecord(
            rec, [&](uint32_t t, const Cursor& v) { DecodeSchaltcode(t, v, d.Schaltcode[idx]); });
    case Kind::SMS:
        return ReadRecord(rec, [&](uint32_t t, const Cursor& v) { DecodeSMS(t, v, d.SMS[idx]); });
    case Kind::Other:
        break;
    }
    return true;
}

// Walks a whole image. With pStore every known item is decoded into it and
// counted in pKnown (when given); without, every item is only stepped over,
// records sub-item by sub-item. Returns false at the first malformed item.
bool ReadImage(Cursor image, MoxDaten* pStore, size_t* pKnown = nullptr) {
    for (;;) {
        uint32_t tag = 0;
        const TagRead r = ReadTag(image, tag);
        if (r != TagRead::Item)
            return r == TagRead::End;
        Cursor value{};
        if (!ReadContent(image, value))
            return false;
        uint32_t idx = 0;
        const Kind kind = RecordKind(tag, idx);
        if (!pStore) {
            if (kind != Kind::Other && !ReadRecord(value, [](uint32_t, const Cursor&) {}))
                return false;
        } else if (kind != Kind::Other) {
            if (!DecodeRecord(kind, idx, value, *pStore))
                return false;
            if (pKnown)
                ++*pKnown;
        } else if (tag != kTagUnused7) {
            if (DecodeScalar(tag, value, *pStore) && pKnown)
                ++*pKnown;
        }
    }
}

} // namespace

// ------------------------------------------------------------ section writers

uint16_t MoxWriteTaggedSysData(MoxDaten* pData, bool bWrite) {
    assert(pData);
    TaggedStream* s = MoxGetStream(pData);
    uint16_t n = WriteU8Int(s, kTagLand, pData->Land, bWrite);
    n += WriteU8Int(s, kTagSprache, pData->Sprache, bWrite);
    n += TagStrWriteRnr(s, kTagRnr, pData->Rnr, bWrite);
    n += TagStrWriteRnr(s, kTagRnrExtBelegung, pData->RnrExtBelegung, bWrite);
    for (uint8_t i = 0; i < MOX_MAX_SPERRNR; ++i)
        n += TagStrWriteRnr(s, kTagSperrnr + i, pData->Sperrnr[i], bWrite);
    n += TagStrWriteRnr(s, kTagMasterPin, pData->MasterPin, bWrite);
    n += WriteU8Int(s, kTagKamera, pData->Kamera, bWrite);
    n += TagStrWriteByte(s, kTagTuerrufannahme, pData->Tuerrufannahme, bWrite);
    n += TagStrWriteWord(s, kTagTuerrufdauer, pData->Tuerrufdauer, bWrite);
    n += TagStrWriteByte(s, kTagTuermatik, pData->Tuermatik, bWrite);
    n += TagStrWriteWord(s, kTagSchaltdauerMfr, pData->SchaltdauerMfr, bWrite);
    n += TagStrWriteByte(s, kTagSprachausgabe, pData->Sprachausgabe, bWrite);
    n += TagStrWriteByte(s, kTagConciergeAktiv, pData->ConciergeAktiv, bWrite);
    n += TagStrWriteByte(s, kTagKettenruf, pData->Kettenruf, bWrite);
    n += TagStrWriteWord(s, kTagPegelKommend, pData->PegelKommend, bWrite);
    n += TagStrWriteWord(s, kTagPegelGehend, pData->PegelGehend, bWrite);
    n += TagStrWriteByte(s, kTagNachtriggern, pData->Nachtriggern, bWrite);
    n += TagStrWriteWord(s, kTagBSGProgKennziffer, pData->BSGProgKennziffer, bWrite);
    if (pData->IO_Version) {
        n += TagStrWriteString(s, kTagVersionMox, pData->VersionMox, bWrite);
        n += TagStrWriteString(s, kTagVersionKMR, pData->VersionKMR, bWrite);
    }
    n += WriteU8Int(s, kTagTypeIT, pData->TypeIT, bWrite);
    n += WriteU8Int(s, kTagTypeRAK, pData->TypeRAK, bWrite);
    n += WriteU8Int(s, kTagTypeBSM, pData->TypeBSM, bWrite);
    n += WriteU8Int(s, kTagTypeKMR, pData->TypeKMR, bWrite);
    for (uint8_t i = 0; i < MOX_MAX_BSMRELAIS; ++i)
        n += WriteBSMRelais(s, pData->BSMRelais[i], i, bWrite);
    for (uint8_t i = 0; i < MOX_MAX_SCHALTCODE; ++i)
        n += WriteSchaltcode(s, pData->Schaltcode[i], i, bWrite);
    for (uint8_t i = 0; i < MOX_MAX_TUER; ++i)
        n += WriteU8Int(s, kTagRufton + i, pData->Rufton[i], bWrite);
    n += TagStrWriteByte(s, kTagSprachwaage, pData->Sprachwaage, bWrite);
    return n;
}

uint16_t MoxWriteTaggedConcierge(MoxDaten* pData, bool bWrite) {
    assert(pData);
    TaggedStream* s = MoxGetStream(pData);
    // ConciergeAktiv travels with the system data (tag 9).
    return WriteRecord(s, kTagConcierge, bWrite, [&] {
        uint16_t n = TagStrWriteByte(s, 2, pData->ConciergeVideo, bWrite);
        n += TagStrWriteRnr(s, 3, pData->ConciergeRnr, bWrite);
        return n;
    });
}

uint16_t MoxWriteTaggedTln(MoxDaten* pData, uint8_t i, bool bWrite) {
    assert(pData);
    assert(i < MOX_MAX_TLN && "subscriber index beyond the table");
    // Any subscriber of the table is a package, also one beyond the count in
    // use: without a door interface the box still gets subscriber 0. The
    // whole image keeps to the count.
    if (i >= MOX_MAX_TLN)
        return 0;
    TaggedStream* s = MoxGetStream(pData);
    const MoxTln& tln = pData->Tln[i];
    return WriteRecord(s, kTagTln + i, bWrite, [&] {
        uint16_t n = 0;
        if (pData->IO_TlnAdr) {
            n += TagStrWriteWord(s, 1, tln.BusAdr, bWrite);
            n += TagStrWriteWord(s, 4, tln.LogAdr, bWrite);
            if (bWrite)
                TraceTlnAdr(i, tln.BusAdr, tln.LogAdr);
        }
        n += TagStrWriteByte(s, 2, tln.Video, bWrite);
        n += TagStrWriteRnr(s, 3, tln.Rnr, bWrite);
        return n;
    });
}

uint16_t MoxWriteTaggedPG(MoxDaten* pData, uint8_t i, bool bWrite) {
    assert(pData);
    assert(i < MOX_MAX_PG && "group index beyond the table");
    // As for the subscribers: any group of the table is a package.
    if (i >= MOX_MAX_PG)
        return 0;
    TaggedStream* s = MoxGetStream(pData);
    const MoxPG& pg = pData->PG[i];
    return WriteRecord(s, kTagPG + i, bWrite, [&] {
        uint16_t n = TagStrWriteRnr(s, 1, pg.Pin, bWrite);
        n += TagStrWriteRnr(s, 2, pg.KettenRnr, bWrite);
        n += TagStrWriteRnr(s, 3, pg.SignalRnr, bWrite);
        n += TagStrWriteRnr(s, 4, pg.DiversionRnr, bWrite);
        n += TagStrWriteWord(s, 5, pg.TlnIdx, bWrite);
        // Every right goes out, a cleared one as an item of length 0.
        for (const FlagItem& right : kPGRights)
            n += WriteFlag(s, right.subTag, (pg.Permission & right.bit) != 0, bWrite);
        for (uint8_t k = 0; k < MOX_MAX_SCHALTAUSGANG; ++k)
            n += WriteFlag(s, kPGActuatorTag + k, (pg.Schaltausgang >> k) & 1u, bWrite);
        return n;
    });
}

uint16_t MoxWriteTaggedMfe(MoxDaten* pData, bool bWrite) {
    assert(pData);
    return WriteInput(MoxGetStream(pData), kTagMfe, pData->Mfe, InputOrder::Mfe, bWrite);
}

uint16_t MoxWriteTaggedMfr(MoxDaten* pData, bool bWrite) {
    assert(pData);
    TaggedStream* s = MoxGetStream(pData);
    return WriteRecord(s, kTagMfr, bWrite, [&] {
        uint16_t n = WriteU8Int(s, 1, pData->Mfr.Mode, bWrite);
        n += TagStrWriteWord(s, 2, pData->Mfr.TlnIdx, bWrite);
        return n;
    });
}

uint16_t MoxWriteTaggedRAKAusgang(MoxDaten* pData, uint8_t i, bool bWrite) {
    assert(pData);
    assert(i < MOX_MAX_RAKAUSGANG && "output index beyond the table");
    if (i >= MOX_MAX_RAKAUSGANG)
        return 0;
    TaggedStream* s = MoxGetStream(pData);
    const MoxSchaltAusgang& out = pData->RAKAusgang[i];
    return WriteRecord(s, kTagRAKAusgang + i, bWrite, [&] {
        uint16_t n = WriteU8Int(s, 1, out.Mode, bWrite);
        n += TagStrWriteWord(s, 2, out.TlnIdx, bWrite);
        n += TagStrWriteByte(s, 3, out.Sprache, bWrite);
        return n;
    });
}

uint16_t MoxWriteTaggedRAKEingang(MoxDaten* pData, uint8_t i, bool bWrite) {
    assert(pData);
    assert(i < MOX_MAX_RAKEINGANG && "input index beyond the table");
    if (i >= MOX_MAX_RAKEINGANG)
        return 0;
    return WriteInput(MoxGetStream(pData), kTagRAKEingang + i, pData->RAKEingang[i],
                      InputOrder::RAKEingang, bWrite);
}

uint16_t MoxWriteTaggedTexte(MoxDaten* pData, bool bWrite) {
    assert(pData);
    TaggedStream* s = MoxGetStream(pData);
    uint16_t n = 0;
    for (uint8_t i = 0; i < MOX_MAX_RAKEINGANG; ++i)
        n += TagStrWriteString(s, kTagMeldeeingangsText + i, pData->MeldeeingangsText[i], bWrite);
    for (uint8_t i = 0; i < MOX_MAX_RAKAUSGANG; ++i)
        n += TagStrWriteString(s, kTagSchaltausgangsText + i, pData->SchaltausgangsText[i], bWrite);
    for (uint8_t i = 0; i < MOX_MAX_TUER; ++i)
        n += TagStrWriteString(s, kTagTuerrufText + i, pData->TuerrufText[i], bWrite);
    n += TagStrWriteString(s, kTagEtagenrufText, pData->EtagenrufText, bWrite);
    return n;
}

uint16_t MoxWriteTaggedSMS(MoxDaten* pData, uint8_t i, bool bWrite) {
    assert(pData);
    assert(i < MOX_MAX_SMS && "SMS provider index beyond the table");
    if (i >= MOX_MAX_SMS)
        return 0;
    TaggedStream* s = MoxGetStream(pData);
    const MoxSMS& sms = pData->SMS[i];
    return WriteRecord(s, kTagSMS + i, bWrite, [&] {
        uint16_t n = TagStrWriteString(s, 1, sms.Provider, bWrite);
        n += TagStrWriteRnr(s, 2, sms.Rnr, bWrite);
        n += WriteU8Int(s, 3, sms.Protokoll, bWrite);
        return n;
    });
}

uint16_t MoxWriteTaggedKMR(MoxDaten* pData, bool bWrite) {
    assert(pData);
    TaggedStream* s = MoxGetStream(pData);
    return WriteRecord(s, kTagKMR, bWrite, [&] {
        uint16_t n = WriteU8Int(s, 1, pData->Kameratyp, bWrite);
        n += TagStrWriteByte(s, 2, pData->Codierqual, bWrite);
        n += TagStrWriteByte(s, 3, pData->Bandbreite, bWrite);
        n += TagStrWriteByte(s, 4, pData->Helligkeit, bWrite);
        n += TagStrWriteByte(s, 5, pData->Kontrast, bWrite);
        n += TagStrWriteByte(s, 6, pData->Saettigung, bWrite);
        return n;
    });
}

// ------------------------------------------------------------- dispatcher

uint16_t MoxWriteTaggedData(MoxDaten* pData, uint8_t section, uint8_t index, bool bWrite) {
    assert(pData);
    if (bWrite)
        TagStrClear(MoxGetStream(pData));
    switch (section) {
    case eTaggedData_All:
        return WriteAll(pData, bWrite);
    case eTaggedData_SysData:
        return MoxWriteTaggedSysData(pData, bWrite);
    case eTaggedData_Concierge:
        return MoxWriteTaggedConcierge(pData, bWrite);
    case eTaggedData_Tln:
        return MoxWriteTaggedTln(pData, index, bWrite);
    case eTaggedData_PG:
        return MoxWriteTaggedPG(pData, index, bWrite);
    case eTaggedData_Mfe:
        return MoxWriteTaggedMfe(pData, bWrite);
    case eTaggedData_Mfr:
        return MoxWriteTaggedMfr(pData, bWrite);
    case eTaggedData_RAKAusgang:
        return MoxWriteTaggedRAKAusgang(pData, index, bWrite);
    case eTaggedData_RAKEingang:
        return MoxWriteTaggedRAKEingang(pData, index, bWrite);
    case eTaggedData_Texte:
        return MoxWriteTaggedTexte(pData, bWrite);
    case eTaggedData_SMS:
        return MoxWriteTaggedSMS(pData, index, bWrite);
    case eTaggedData_KMR:
        return MoxWriteTaggedKMR(pData, bWrite);
    default:
        return 0;
    }
}

// ---------------------------------------------------------------- reader

bool MoxReadTaggedData(MoxDaten* pData, bool bStore) {
    assert(pData);
    TaggedStream* s = MoxGetStream(pData);
    const Cursor image{TagStrStartPtr(s), TagStrEndPtr(s)};
    bool ok;
    if (!bStore) {
        ok = ReadImage(image, nullptr);
    } else {
        // Decoded into a copy first, so a malformed image changes nothing.
        MoxDaten decoded = *pData;
        ok = ReadImage(image, &decoded);
        if (ok)
            *pData = decoded;
    }
    TagStrRewind(s);
    return ok;
}

size_t MoxCountTaggedItems(MoxDaten* pData) {
    assert(pData);
    TaggedStream* s = MoxGetStream(pData);
    const Cursor image{TagStrStartPtr(s), TagStrEndPtr(s)};
    // Decoded into a scratch copy: only a decode tells a known item from an
    // unknown one, and the record itself must not change.
    auto scratch = std::make_unique<MoxDaten>(*pData);
    size_t known = 0;
    const bool ok = ReadImage(image, scratch.get(), &known);
    TagStrRewind(s);
    return ok ? known : 0;
}

bool MoxLoadDaten(MoxDaten* pData, uint8_t* buffer, size_t size) {
    assert(pData);
    const bool own = buffer == nullptr || buffer == pData->stream.buf;
    if (!own) {
        MoxInitDaten(pData);
        MoxSetStreamBuffer(pData, buffer, size);
        return MoxReadTaggedData(pData, true);
    }
    // The reset clears the record, own stream buffer included: keep the
    // image that is to be read from it.
    uint8_t image[TAGSTR_BUFSIZE];
    std::memcpy(image, pData->stream.buf, sizeof image);
    MoxInitDaten(pData);
    std::memcpy(pData->stream.buf, image, sizeof image);
    MoxSetStreamIntern(pData);
    return MoxReadTaggedData(pData, true);
}

bool MoxParseTaggedData(MoxDaten* pData) {
    assert(pData);
    return MoxReadTaggedData(pData, true);
}

uint16_t MoxGetAnzTelegramme(MoxDaten* pData) {
    assert(pData);
    return static_cast<uint16_t>(MoxGetAnzPG(pData) + 39 + MoxGetAnzTln(pData) + 1);
}
