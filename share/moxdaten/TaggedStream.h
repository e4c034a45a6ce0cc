#pragma once
// TaggedStream: the byte cursor over which the configuration is turned into
// a tag-length-value image and back. The same bytes are the ".ktx" file and
// the data exchanged with the box, so every byte rule here is an external
// format. The functions take the stream first and never allocate.
//
// Encoding (multi-byte values most significant byte first):
//   tag      1 <= t < 0xFE00000, in 7-bit groups, every group but the last
//            with bit 7 set; a leading group 0x7F gets a 0x80 prefix, so no
//            tag begins with 0xFF (0xFF where a tag is expected ends the data).
//   length   n <= 127: one byte; else 0x80 | (n >> 8), n & 0xFF.
//   integer  big-endian with leading zero bytes dropped (0 has no content).
//   byte     tag 01 v, or tag 00 for v = 0.
//   string   tag, length, the characters without NUL.
//   digits   two dial digits per byte, high nibble first, 0xF ends the
//            number; content length (n + 2) / 2 for n characters.
//   record   tag, a length always in two-byte form, then its sub-items.
//
// Writers return the number of bytes they write; with bWrite false they only
// return that count and leave the stream untouched, so a caller can size a
// package first. Readers return the bytes consumed after the tag (length
// field plus content), so a record reader can add them up.
//
// Malformed input: every reader checks each length against the bytes that
// really remain. A bad length, an item that runs past the end, or a tag that
// is too long stops the reader: it consumes nothing, sets the stream's error
// (TagStrFailed), yields 0 / an empty text and returns 0. From then on every
// reader does nothing and TagStrReadTag yields TAGSTR_END, so a read loop
// ends; the caller tests TagStrFailed to tell that end from a clean one.
// Writers that run out of room write nothing and set the error too. The
// error stays until TagStrInit, TagStrAttach, TagStrClear, TagStrRewind or
// TagStrClearError.
//
// The stream keeps offsets, not pointers into itself, so a block copy of a
// stream (or of a record holding one) is complete on its own. An attached
// external buffer is shared by the copy.

#include <cstddef>
#include <cstdint>

constexpr std::uint32_t TAGSTR_BUFSIZE = 1024;        // the stream's own buffer
constexpr std::int32_t TAGSTR_END = -1;               // tag value for end of data
constexpr std::uint8_t TAGSTR_EMPTY = 0xFF;           // a byte that holds no item
constexpr std::uint32_t TAGSTR_TAG_LIMIT = 0xFE00000; // tags lie below (28 bits)
constexpr std::uint16_t TAGSTR_LEN_LIMIT = 0x8000;    // writable lengths lie below
constexpr std::uint16_t TAGSTR_READ_LEN_LIMIT = 1024; // no image holds a longer item
constexpr std::uint8_t TAGSTR_MAX_TAG_BYTES = 5;

enum eTagStrError : std::uint8_t {
    eTagStrOk = 0,
    eTagStrTruncated = 1,   // an item (tag, length or content) runs past the end
    eTagStrBadLength = 2,   // a read length of TAGSTR_READ_LEN_LIMIT or more
    eTagStrBadTag = 3,      // a tag of more than five bytes or at/above the limit
    eTagStrNoRoom = 4,      // a writer found too little room left in the buffer
    eTagStrBadArgument = 5, // a writer was given a tag or length out of range
};

struct TaggedStream {
    std::uint8_t buf[TAGSTR_BUFSIZE]; // the stream's own buffer
    std::uint8_t* pExtern;            // attached buffer; nullptr while buf is in use
    std::uint32_t AktPos;             // read/write position, offset from the start
    std::uint32_t EndPos;             // size of the buffer in use
    std::uint8_t Error;               // eTagStrError, sticky
};

// ------------------------------------------------------------ set-up, state

// Own buffer, position 0, no error.
void TagStrInit(TaggedStream* pStream);
// External buffer of size bytes (the document's image buffer), position 0.
void TagStrAttach(TaggedStream* pStream, std::uint8_t* pBuffer, std::size_t size);
// Fills the buffer in use with 0xFF, position 0.
void TagStrClear(TaggedStream* pStream);
// Position 0 and no error; the bytes stay, so a written package can be read.
void TagStrRewind(TaggedStream* pStream);
// Bytes before the position, and bytes from the position to the end.
std::uint32_t TagStrLen(const TaggedStream* pStream);
std::uint32_t TagStrRemaining(const TaggedStream* pStream);

std::uint8_t* TagStrStartPtr(TaggedStream* pStream);
const std::uint8_t* TagStrStartPtr(const TaggedStream* pStream);
std::uint8_t* TagStrAktPtr(TaggedStream* pStream);
const std::uint8_t* TagStrAktPtr(const TaggedStream* pStream);
std::uint8_t* TagStrEndPtr(TaggedStream* pStream);
const std::uint8_t* TagStrEndPtr(const TaggedStream* pStream);

bool TagStrFailed(const TaggedStream* pStream);
eTagStrError TagStrGetError(const TaggedStream* pStream);
void TagStrClearError(TaggedStream* pStream);

// --------------------------------------------------------- tags and lengths

std::uint16_t TagStrWriteTag(TaggedStream* pStream, std::uint32_t tag, bool bWrite);
// *pTag = the tag, or TAGSTR_END at a byte 0xFF (which is consumed), at the
// end of the buffer (nothing consumed) and on a malformed tag. Returns the
// bytes consumed.
std::uint16_t TagStrReadTag(TaggedStream* pStream, std::int32_t* pTag);

std::uint16_t TagStrWriteLen(TaggedStream* pStream, std::uint16_t len, bool bWrite);
// Reads a length and checks it against the limit and the bytes that remain.
std::uint16_t TagStrReadLen(TaggedStream* pStream, std::uint16_t* pLen);

// Constructed records: reserve the two length bytes before the content and
// patch them once the content's size is known. TagStrReserveLen returns the
// place of the length (nullptr when there is no room: the stream fails) and
// advances by 2; TagStrPatchLen writes there when bWrite is set and pPos is
// not null, and returns 2.
std::uint8_t* TagStrReserveLen(TaggedStream* pStream);
std::uint16_t TagStrPatchLen(std::uint8_t* pPos, std::uint16_t len, bool bWrite);

// ------------------------------------------------------------------- items

std::uint16_t TagStrWriteInt(TaggedStream* pStream, std::uint32_t tag, std::uint32_t value,
                             bool bWrite);
std::uint16_t TagStrWriteWord(TaggedStream* pStream, std::uint32_t tag, std::uint16_t value,
                              bool bWrite);
std::uint16_t TagStrWriteLong(TaggedStream* pStream, std::uint32_t tag, std::uint32_t value,
                              bool bWrite);
// Integer content bytes are shifted in most significant first; a content
// longer than the result keeps its low bytes.
std::uint16_t TagStrReadInt(TaggedStream* pStream, std::uint32_t* pValue);
std::uint16_t TagStrReadWord(TaggedStream* pStream, std::uint16_t* pValue);
std::uint16_t TagStrReadLong(TaggedStream* pStream, std::uint32_t* pValue);

std::uint16_t TagStrWriteByte(TaggedStream* pStream, std::uint32_t tag, std::uint8_t value,
                              bool bWrite);
// The last content byte (0 for an empty content); the whole content is consumed.
std::uint16_t TagStrReadByte(TaggedStream* pStream, std::uint8_t* pValue);

// pText: NUL-terminated 8-bit (Windows-1252) text.
std::uint16_t TagStrWriteString(TaggedStream* pStream, std::uint32_t tag, const char* pText,
                                bool bWrite);
// capacity = size of the destination field, NUL included: at most
// capacity - 1 characters are copied, the rest of the content is stepped over.
std::uint16_t TagStrReadString(TaggedStream* pStream, char* pBuffer, std::uint16_t capacity);

// pDigits: "0".."9", "*", "#", "R"; any other character ends the number but
// the content keeps the length declared by the text's full size.
std::uint16_t TagStrWriteRnr(TaggedStream* pStream, std::uint32_t tag, const char* pDigits,
                             bool bWrite);
// maxDigits = the field's capacity less one: pBuffer holds maxDigits + 1 bytes.
std::uint16_t TagStrReadRnr(TaggedStream* pStream, char* pBuffer, std::uint16_t maxDigits);

// Reads a length and steps over the content (an item of an unknown tag).
std::uint16_t TagStrSkip(TaggedStream* pStream);

// ------------------------------------------------------------- dial digits

constexpr std::uint8_t RNR_NIBBLE_END = 0xF;

// Nibble of a dial character; RNR_NIBBLE_END for anything outside the set.
std::uint8_t RnrCharToNibble(char c);
// "0".."9", "*", "#", "R" for the nibbles 0..0xC; NUL for every other nibble.
char RnrNibbleToChar(std::uint8_t nibble);
// Content length of a number of the given number of characters.
constexpr std::uint16_t RnrPackedLen(std::size_t nChars) {
    return static_cast<std::uint16_t>((nChars + 2) / 2);
}
// Packs pText into pDest: fills room bytes with 0xFF first, then stores the
// pairs until the number ends or the room is used. Returns the bytes that
// hold digits (the last one may be half 0xF).
std::uint16_t RnrPack(std::uint8_t* pDest, const char* pText, std::uint16_t room);
// Unpacks at most maxDigits digits from packedLen bytes; stops at an end
// nibble. Always ends pDest (maxDigits + 1 bytes) with NUL; returns the
// character count + 1.
std::uint16_t RnrUnpack(char* pDest, const std::uint8_t* pPacked, std::uint16_t packedLen,
                        std::uint16_t maxDigits);
