#include "TaggedStream.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

std::uint8_t* Base(TaggedStream* pStream) {
    return pStream->pExtern ? pStream->pExtern : pStream->buf;
}

const std::uint8_t* Base(const TaggedStream* pStream) {
    return pStream->pExtern ? pStream->pExtern : pStream->buf;
}

// Size of the buffer in use. A stream whose fields were never set up (a
// zeroed record) or were damaged must still not reach past its own buffer.
std::uint32_t End(const TaggedStream* pStream) {
    return pStream->pExtern ? pStream->EndPos : std::min(pStream->EndPos, TAGSTR_BUFSIZE);
}

std::uint32_t Remaining(const TaggedStream* pStream) {
    const std::uint32_t end = End(pStream);
    return pStream->AktPos < end ? end - pStream->AktPos : 0;
}

void Fail(TaggedStream* pStream, eTagStrError error) {
    // The first fault is the one worth reporting; later ones follow from it.
    if (pStream->Error == eTagStrOk) {
        pStream->Error = error;
    }
}

bool TagInRange(std::uint32_t tag) {
    return tag >= 1 && tag < TAGSTR_TAG_LIMIT;
}

// The 7-bit groups of a tag, highest first, and how many of them are written.
int TagGroups(std::uint32_t tag, std::uint8_t groups[4]) {
    for (int i = 0; i < 4; ++i) {
        groups[i] = static_cast<std::uint8_t>((tag >> (7 * (3 - i))) & 0x7F);
    }
    int first = 0;
    while (first < 3 && groups[first] == 0) {
        ++first;
    }
    return first;
}

std::uint16_t TagBytes(std::uint32_t tag) {
    std::uint8_t groups[4];
    const int first = TagGroups(tag, groups);
    // A leading 0x7F with its continuation bit would be 0xFF, the end marker.
    const bool prefix = first < 3 && groups[first] == 0x7F;
    return static_cast<std::uint16_t>((4 - first) + (prefix ? 1 : 0));
}

std::uint8_t* PutTag(std::uint8_t* p, std::uint32_t tag) {
    std::uint8_t groups[4];
    const int first = TagGroups(tag, groups);
    if (first < 3 && groups[first] == 0x7F) {
        *p++ = 0x80;
    }
    for (int i = first; i < 3; ++i) {
        *p++ = static_cast<std::uint8_t>(0x80 | groups[i]);
    }
    *p++ = groups[3];
    return p;
}

std::uint16_t LenBytes(std::uint16_t len) {
    return len <= 127 ? 1 : 2;
}

std::uint8_t* PutLen(std::uint8_t* p, std::uint16_t len) {
    if (len <= 127) {
        *p++ = static_cast<std::uint8_t>(len);
    } else {
        *p++ = static_cast<std::uint8_t>(0x80 | (len >> 8));
        *p++ = static_cast<std::uint8_t>(len & 0xFF);
    }
    return p;
}

// Checks the writer's arguments, which the configuration never gets wrong:
// a failure here is a fault of the calling code.
bool WriteArgsValid(TaggedStream* pStream, std::uint32_t tag, std::size_t len, bool bWrite) {
    assert(pStream);
    assert(TagInRange(tag) && "tag out of range");
    assert(len < TAGSTR_LEN_LIMIT && "length out of range");
    if (TagInRange(tag) && len < TAGSTR_LEN_LIMIT) {
        return true;
    }
    if (bWrite) {
        Fail(pStream, eTagStrBadArgument);
    }
    return false;
}

// True when count bytes may be written at the position. A failed stream
// takes nothing more, so a package never holds a gap where an item is missing.
bool Room(TaggedStream* pStream, std::uint32_t count) {
    if (pStream->Error != eTagStrOk) {
        return false;
    }
    if (Remaining(pStream) < count) {
        Fail(pStream, eTagStrNoRoom);
        return false;
    }
    return true;
}

// Writes tag, length and content as one unit: all of it or nothing.
std::uint16_t WriteItem(TaggedStream* pStream, std::uint32_t tag, const std::uint8_t* pContent,
                        std::uint16_t len, bool bWrite) {
    if (!WriteArgsValid(pStream, tag, len, bWrite)) {
        return 0;
    }
    const std::uint16_t count = static_cast<std::uint16_t>(TagBytes(tag) + LenBytes(len) + len);
    if (bWrite && Room(pStream, count)) {
        std::uint8_t* p = PutLen(PutTag(TagStrAktPtr(pStream), tag), len);
        if (len > 0) {
            std::memcpy(p, pContent, len);
        }
        pStream->AktPos += count;
    }
    return count;
}

// Reads a length field and checks it against the limit and what remains.
// Returns the size of the length field, or 0 after failing the stream.
std::uint16_t ReadLenChecked(TaggedStream* pStream, std::uint16_t* pLen) {
    *pLen = 0;
    if (pStream->Error != eTagStrOk) {
        return 0;
    }
    const std::uint32_t rem = Remaining(pStream);
    const std::uint8_t* p = TagStrAktPtr(pStream);
    if (rem < 1) {
        Fail(pStream, eTagStrTruncated);
        return 0;
    }
    std::uint16_t field = 1;
    std::uint16_t len = p[0];
    if (p[0] & 0x80) {
        if (rem < 2) {
            Fail(pStream, eTagStrTruncated);
            return 0;
        }
        field = 2;
        len = static_cast<std::uint16_t>(((p[0] & 0x7F) << 8) | p[1]);
    }
    if (len >= TAGSTR_READ_LEN_LIMIT) {
        Fail(pStream, eTagStrBadLength);
        return 0;
    }
    if (len > rem - field) {
        Fail(pStream, eTagStrTruncated);
        return 0;
    }
    pStream->AktPos += field;
    *pLen = len;
    return field;
}

} // namespace

// ------------------------------------------------------------ set-up, state

void TagStrInit(TaggedStream* pStream) {
    assert(pStream);
    pStream->pExtern = nullptr;
    pStream->AktPos = 0;
    pStream->EndPos = TAGSTR_BUFSIZE;
    pStream->Error = eTagStrOk;
}

void TagStrAttach(TaggedStream* pStream, std::uint8_t* pBuffer, std::size_t size) {
    assert(pStream);
    assert(pBuffer || size == 0);
    pStream->pExtern = pBuffer;
    pStream->AktPos = 0;
    // Without a buffer the stream is empty: reads end at once, writes fail.
    pStream->EndPos =
        pBuffer ? static_cast<std::uint32_t>(std::min<std::size_t>(size, UINT32_MAX)) : 0;
    pStream->Error = eTagStrOk;
}

void TagStrClear(TaggedStream* pStream) {
    assert(pStream);
    std::memset(Base(pStream), TAGSTR_EMPTY, End(pStream));
    pStream->AktPos = 0;
    pStream->Error = eTagStrOk;
}

void TagStrRewind(TaggedStream* pStream) {
    assert(pStream);
    pStream->AktPos = 0;
    pStream->Error = eTagStrOk;
}

std::uint32_t TagStrLen(const TaggedStream* pStream) {
    assert(pStream);
    return std::min(pStream->AktPos, End(pStream));
}

std::uint32_t TagStrRemaining(const TaggedStream* pStream) {
    assert(pStream);
    return Remaining(pStream);
}

std::uint8_t* TagStrStartPtr(TaggedStream* pStream) {
    return Base(pStream);
}

const std::uint8_t* TagStrStartPtr(const TaggedStream* pStream) {
    return Base(pStream);
}

std::uint8_t* TagStrAktPtr(TaggedStream* pStream) {
    return Base(pStream) + TagStrLen(pStream);
}

const std::uint8_t* TagStrAktPtr(const TaggedStream* pStream) {
    return Base(pStream) + TagStrLen(pStream);
}

std::uint8_t* TagStrEndPtr(TaggedStream* pStream) {
    return Base(pStream) + End(pStream);
}

const std::uint8_t* TagStrEndPtr(const TaggedStream* pStream) {
    return Base(pStream) + End(pStream);
}

bool TagStrFailed(const TaggedStream* pStream) {
    assert(pStream);
    return pStream->Error != eTagStrOk;
}

eTagStrError TagStrGetError(const TaggedStream* pStream) {
    assert(pStream);
    return static_cast<eTagStrError>(pStream->Error);
}

void TagStrClearError(TaggedStream* pStream) {
    assert(pStream);
    pStream->Error = eTagStrOk;
}

// --------------------------------------------------------- tags and lengths

std::uint16_t TagStrWriteTag(TaggedStream* pStream, std::uint32_t tag, bool bWrite) {
    if (!WriteArgsValid(pStream, tag, 0, bWrite)) {
        return 0;
    }
    const std::uint16_t count = TagBytes(tag);
    if (bWrite && Room(pStream, count)) {
        PutTag(TagStrAktPtr(pStream), tag);
        pStream->AktPos += count;
    }
    return count;
}

std::uint16_t TagStrReadTag(TaggedStream* pStream, std::int32_t* pTag) {
    assert(pStream && pTag);
    *pTag = TAGSTR_END;
    const std::uint32_t rem = Remaining(pStream);
    if (pStream->Error != eTagStrOk || rem == 0) {
        // The end of the buffer ends the data as a 0xFF would.
        return 0;
    }
    const std::uint8_t* p = TagStrAktPtr(pStream);
    if (p[0] == TAGSTR_EMPTY) {
        pStream->AktPos += 1;
        return 1;
    }
    // Five 7-bit groups make 35 bits: collect them wide so that a malformed
    // tag is recognised instead of overflowing.
    std::uint64_t value = p[0] & 0x7F;
    std::uint16_t n = 1;
    std::uint8_t last = p[0];
    while ((last & 0x80) && n < TAGSTR_MAX_TAG_BYTES) {
        if (n >= rem) {
            Fail(pStream, eTagStrTruncated);
            return 0;
        }
        last = p[n++];
        value = (value << 7) | (last & 0x7F);
    }
    if ((last & 0x80) || value >= TAGSTR_TAG_LIMIT) {
        Fail(pStream, eTagStrBadTag);
        return 0;
    }
    pStream->AktPos += n;
    *pTag = static_cast<std::int32_t>(value);
    return n;
}

std::uint16_t TagStrWriteLen(TaggedStream* pStream, std::uint16_t len, bool bWrite) {
    assert(pStream);
    assert(len < TAGSTR_LEN_LIMIT && "length out of range");
    if (len >= TAGSTR_LEN_LIMIT) {
        if (bWrite) {
            Fail(pStream, eTagStrBadArgument);
        }
        return 0;
    }
    const std::uint16_t count = LenBytes(len);
    if (bWrite && Room(pStream, count)) {
        PutLen(TagStrAktPtr(pStream), len);
        pStream->AktPos += count;
    }
    return count;
}

std::uint16_t TagStrReadLen(TaggedStream* pStream, std::uint16_t* pLen) {
    assert(pStream);
    std::uint16_t len = 0;
    const std::uint16_t field = ReadLenChecked(pStream, &len);
    if (pLen) {
        *pLen = len;
    }
    return field;
}

std::uint8_t* TagStrReserveLen(TaggedStream* pStream) {
    assert(pStream);
    if (!Room(pStream, 2)) {
        return nullptr;
    }
    std::uint8_t* pPos = TagStrAktPtr(pStream);
    pStream->AktPos += 2;
    return pPos;
}

std::uint16_t TagStrPatchLen(std::uint8_t* pPos, std::uint16_t len, bool bWrite) {
    assert(len < TAGSTR_LEN_LIMIT && "length out of range");
    if (bWrite && pPos) {
        // Always the two-byte form: the place was reserved before the size
        // was known.
        pPos[0] = static_cast<std::uint8_t>(0x80 | ((len >> 8) & 0x7F));
        pPos[1] = static_cast<std::uint8_t>(len & 0xFF);
    }
    return 2;
}

// ------------------------------------------------------------------- items

std::uint16_t TagStrWriteInt(TaggedStream* pStream, std::uint32_t tag, std::uint32_t value,
                             bool bWrite) {
    std::uint8_t content[4];
    std::uint16_t len = 0;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const std::uint8_t b = static_cast<std::uint8_t>(value >> shift);
        if (len > 0 || b != 0) {
            content[len++] = b;
        }
    }
    return WriteItem(pStream, tag, content, len, bWrite);
}

std::uint16_t TagStrWriteWord(TaggedStream* pStream, std::uint32_t tag, std::uint16_t value,
                              bool bWrite) {
    return TagStrWriteInt(pStream, tag, value, bWrite);
}

std::uint16_t TagStrWriteLong(TaggedStream* pStream, std::uint32_t tag, std::uint32_t value,
                              bool bWrite) {
    return TagStrWriteInt(pStream, tag, value, bWrite);
}

std::uint16_t TagStrReadInt(TaggedStream* pStream, std::uint32_t* pValue) {
    assert(pStream);
    std::uint16_t len = 0;
    const std::uint16_t field = ReadLenChecked(pStream, &len);
    std::uint32_t value = 0;
    const std::uint8_t* p = TagStrAktPtr(pStream);
    for (std::uint16_t i = 0; i < len; ++i) {
        value = (value << 8) | p[i];
    }
    pStream->AktPos += len;
    if (pValue) {
        *pValue = value;
    }
    return field ? static_cast<std::uint16_t>(field + len) : 0;
}

std::uint16_t TagStrReadWord(TaggedStream* pStream, std::uint16_t* pValue) {
    std::uint32_t value = 0;
    const std::uint16_t count = TagStrReadInt(pStream, &value);
    if (pValue) {
        *pValue = static_cast<std::uint16_t>(value & 0xFFFF);
    }
    return count;
}

std::uint16_t TagStrReadLong(TaggedStream* pStream, std::uint32_t* pValue) {
    return TagStrReadInt(pStream, pValue);
}

std::uint16_t TagStrWriteByte(TaggedStream* pStream, std::uint32_t tag, std::uint8_t value,
                              bool bWrite) {
    return WriteItem(pStream, tag, &value, value != 0 ? 1 : 0, bWrite);
}

std::uint16_t TagStrReadByte(TaggedStream* pStream, std::uint8_t* pValue) {
    assert(pStream);
    std::uint16_t len = 0;
    const std::uint16_t field = ReadLenChecked(pStream, &len);
    const std::uint8_t value = len > 0 ? TagStrAktPtr(pStream)[len - 1] : 0;
    pStream->AktPos += len;
    if (pValue) {
        *pValue = value;
    }
    return field ? static_cast<std::uint16_t>(field + len) : 0;
}

std::uint16_t TagStrWriteString(TaggedStream* pStream, std::uint32_t tag, const char* pText,
                                bool bWrite) {
    assert(pText);
    const std::size_t n = pText ? std::strlen(pText) : 0;
    if (!WriteArgsValid(pStream, tag, n, bWrite)) {
        return 0;
    }
    return WriteItem(pStream, tag, reinterpret_cast<const std::uint8_t*>(pText),
                     static_cast<std::uint16_t>(n), bWrite);
}

std::uint16_t TagStrReadString(TaggedStream* pStream, char* pBuffer, std::uint16_t capacity) {
    assert(pStream);
    std::uint16_t len = 0;
    const std::uint16_t field = ReadLenChecked(pStream, &len);
    if (pBuffer && capacity > 0) {
        // A stored text as long as its field or longer is cut so that the
        // NUL still fits; the rest of the content is stepped over.
        const std::uint16_t copy = std::min<std::uint16_t>(len, capacity - 1);
        std::memcpy(pBuffer, TagStrAktPtr(pStream), copy);
        pBuffer[copy] = '\0';
    }
    pStream->AktPos += len;
    return field ? static_cast<std::uint16_t>(field + len) : 0;
}

std::uint16_t TagStrWriteRnr(TaggedStream* pStream, std::uint32_t tag, const char* pDigits,
                             bool bWrite) {
    assert(pDigits);
    if (!pDigits) {
        pDigits = "";
    }
    // The content length follows the text's full size, also when a character
    // outside the digit set ends the number early.
    const std::size_t packed = (std::strlen(pDigits) + 2) / 2;
    if (!WriteArgsValid(pStream, tag, packed, bWrite)) {
        return 0;
    }
    const std::uint16_t len = static_cast<std::uint16_t>(packed);
    const std::uint16_t count = static_cast<std::uint16_t>(TagBytes(tag) + LenBytes(len) + len);
    if (bWrite && Room(pStream, count)) {
        std::uint8_t* p = PutLen(PutTag(TagStrAktPtr(pStream), tag), len);
        RnrPack(p, pDigits, len);
        pStream->AktPos += count;
    }
    return count;
}

std::uint16_t TagStrReadRnr(TaggedStream* pStream, char* pBuffer, std::uint16_t maxDigits) {
    assert(pStream);
    std::uint16_t len = 0;
    const std::uint16_t field = ReadLenChecked(pStream, &len);
    if (pBuffer) {
        RnrUnpack(pBuffer, TagStrAktPtr(pStream), len, maxDigits);
    }
    pStream->AktPos += len;
    return field ? static_cast<std::uint16_t>(field + len) : 0;
}

std::uint16_t TagStrSkip(TaggedStream* pStream) {
    assert(pStream);
    std::uint16_t len = 0;
    const std::uint16_t field = ReadLenChecked(pStream, &len);
    pStream->AktPos += len;
    return field ? static_cast<std::uint16_t>(field + len) : 0;
}

// ------------------------------------------------------------- dial digits

std::uint8_t RnrCharToNibble(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    switch (c) {
    case '*':
        return 0xA;
    case '#':
        return 0xB;
    case 'R':
        return 0xC;
    default:
        return RNR_NIBBLE_END;
    }
}

char RnrNibbleToChar(std::uint8_t nibble) {
    static constexpr char kChars[] = "0123456789*#R";
    return nibble < 13 ? kChars[nibble] : '\0';
}

std::uint16_t RnrPack(std::uint8_t* pDest, const char* pText, std::uint16_t room) {
    assert(pDest || room == 0);
    if (room > 0) {
        std::memset(pDest, 0xFF, room);
    }
    if (!pText) {
        return 0;
    }
    std::uint16_t used = 0;
    while (used < room) {
        const std::uint8_t high = RnrCharToNibble(*pText);
        if (high == RNR_NIBBLE_END) {
            break;
        }
        ++pText;
        // At the NUL the low nibble ends the number and pText stays on it.
        const std::uint8_t low = RnrCharToNibble(*pText);
        pDest[used++] = static_cast<std::uint8_t>((high << 4) | low);
        if (low == RNR_NIBBLE_END) {
            break;
        }
        ++pText;
    }
    return used;
}

std::uint16_t RnrUnpack(char* pDest, const std::uint8_t* pPacked, std::uint16_t packedLen,
                        std::uint16_t maxDigits) {
    assert(pDest);
    assert(pPacked || packedLen == 0);
    std::uint16_t n = 0;
    for (std::uint32_t k = 0; k < 2u * packedLen && n < maxDigits; ++k) {
        const std::uint8_t b = pPacked[k / 2];
        const char c = RnrNibbleToChar(static_cast<std::uint8_t>((k % 2 == 0) ? b >> 4 : b & 0xF));
        if (c == '\0') {
            break;
        }
        pDest[n++] = c;
    }
    pDest[n] = '\0';
    return static_cast<std::uint16_t>(n + 1);
}
