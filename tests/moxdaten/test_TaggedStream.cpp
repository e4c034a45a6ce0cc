// Byte rules of the tagged encoding, both ways, and the readers' defence
// against malformed images.

#include "TaggedStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Written(const TaggedStream& s) {
    const std::uint8_t* p = TagStrStartPtr(&s);
    return Bytes(p, p + TagStrLen(&s));
}

// ------------------------------------------------------------ worked examples

enum class Kind { Tag, Len, Byte, Int, Word, Rnr, Record };

struct Example {
    const char* name;
    Kind kind;
    std::uint32_t tag;
    std::uint32_t value; // tag, length, byte or integer value
    const char* digits;  // for Kind::Rnr
    Bytes bytes;
};

// The record of the table: 0x400 {1: byte 3, 2: integer 0xFFFF}, written the
// way a section writer builds a constructed record.
std::uint16_t WriteExampleRecord(TaggedStream* s, bool bWrite) {
    std::uint16_t count = TagStrWriteTag(s, 0x400, bWrite);
    std::uint8_t* pLen = bWrite ? TagStrReserveLen(s) : nullptr;
    std::uint16_t sum = 0;
    sum += TagStrWriteByte(s, 1, 3, bWrite);
    sum += TagStrWriteInt(s, 2, 0xFFFF, bWrite);
    count += TagStrPatchLen(pLen, sum, bWrite);
    return count + sum;
}

std::uint16_t WriteExample(TaggedStream* s, const Example& e, bool bWrite) {
    switch (e.kind) {
    case Kind::Tag:
        return TagStrWriteTag(s, e.tag, bWrite);
    case Kind::Len:
        return TagStrWriteLen(s, static_cast<std::uint16_t>(e.value), bWrite);
    case Kind::Byte:
        return TagStrWriteByte(s, e.tag, static_cast<std::uint8_t>(e.value), bWrite);
    case Kind::Int:
        return TagStrWriteInt(s, e.tag, e.value, bWrite);
    case Kind::Word:
        return TagStrWriteWord(s, e.tag, static_cast<std::uint16_t>(e.value), bWrite);
    case Kind::Rnr:
        return TagStrWriteRnr(s, e.tag, e.digits, bWrite);
    case Kind::Record:
        return WriteExampleRecord(s, bWrite);
    }
    return 0;
}

class WorkedExample : public testing::TestWithParam<Example> {
protected:
    void SetUp() override {
        TagStrInit(&s);
        TagStrClear(&s);
    }
    TaggedStream s;
};

TEST_P(WorkedExample, WritesExactBytes) {
    const Example& e = GetParam();
    EXPECT_EQ(WriteExample(&s, e, true), e.bytes.size());
    EXPECT_EQ(Written(s), e.bytes);
    EXPECT_FALSE(TagStrFailed(&s));
}

TEST_P(WorkedExample, WriteFlagZeroOnlyCounts) {
    const Example& e = GetParam();
    std::memset(s.buf, 0x5A, sizeof s.buf);
    const auto before = std::make_unique<TaggedStream>(s);
    EXPECT_EQ(WriteExample(&s, e, false), e.bytes.size());
    EXPECT_EQ(std::memcmp(&s, before.get(), sizeof s), 0) << "stream touched";
}

TEST_P(WorkedExample, ReadsBackValueAndCount) {
    const Example& e = GetParam();
    std::memcpy(s.buf, e.bytes.data(), e.bytes.size());

    std::int32_t tag = 0;
    std::uint16_t tagBytes = 0;
    if (e.kind != Kind::Len) {
        tagBytes = TagStrReadTag(&s, &tag);
        EXPECT_EQ(tag, static_cast<std::int32_t>(e.tag));
    }
    const std::uint16_t itemBytes = static_cast<std::uint16_t>(e.bytes.size() - tagBytes);
    switch (e.kind) {
    case Kind::Tag:
        EXPECT_EQ(tagBytes, e.bytes.size());
        break;
    case Kind::Len: {
        std::uint16_t len = 0;
        EXPECT_EQ(TagStrReadLen(&s, &len), itemBytes);
        EXPECT_EQ(len, e.value);
        break;
    }
    case Kind::Byte: {
        std::uint8_t v = 0xEE;
        EXPECT_EQ(TagStrReadByte(&s, &v), itemBytes);
        EXPECT_EQ(v, e.value);
        break;
    }
    case Kind::Int: {
        std::uint32_t v = 0xEEEE;
        EXPECT_EQ(TagStrReadInt(&s, &v), itemBytes);
        EXPECT_EQ(v, e.value);
        break;
    }
    case Kind::Word: {
        std::uint16_t v = 0xEEEE;
        EXPECT_EQ(TagStrReadWord(&s, &v), itemBytes);
        EXPECT_EQ(v, e.value);
        break;
    }
    case Kind::Rnr: {
        char text[25];
        EXPECT_EQ(TagStrReadRnr(&s, text, 24), itemBytes);
        EXPECT_STREQ(text, e.digits);
        break;
    }
    case Kind::Record: {
        std::uint16_t len = 0;
        const std::uint16_t lenBytes = TagStrReadLen(&s, &len);
        EXPECT_EQ(lenBytes, 2);
        EXPECT_EQ(len, 7);
        std::uint16_t sum = 0;
        std::uint8_t b = 0;
        std::uint32_t v = 0;
        sum += TagStrReadTag(&s, &tag);
        EXPECT_EQ(tag, 1);
        sum += TagStrReadByte(&s, &b);
        EXPECT_EQ(b, 3);
        sum += TagStrReadTag(&s, &tag);
        EXPECT_EQ(tag, 2);
        sum += TagStrReadInt(&s, &v);
        EXPECT_EQ(v, 0xFFFFu);
        EXPECT_EQ(sum, len);
        EXPECT_EQ(lenBytes + sum, itemBytes);
        break;
    }
    }
    EXPECT_EQ(TagStrLen(&s), e.bytes.size());
    EXPECT_FALSE(TagStrFailed(&s));
}

const Example kExamples[] = {
    {"Tag2", Kind::Tag, 2, 0, nullptr, {0x02}},
    {"Tag7F", Kind::Tag, 0x7F, 0, nullptr, {0x7F}},
    {"Tag100", Kind::Tag, 0x100, 0, nullptr, {0x82, 0x00}},
    {"Tag400", Kind::Tag, 0x400, 0, nullptr, {0x88, 0x00}},
    {"Tag1005", Kind::Tag, 0x1005, 0, nullptr, {0xA0, 0x05}},
    {"Tag2000", Kind::Tag, 0x2000, 0, nullptr, {0xC0, 0x00}},
    {"Tag4100", Kind::Tag, 0x4100, 0, nullptr, {0x81, 0x82, 0x00}},
    {"Tag3F80LeadingGroup7F", Kind::Tag, 0x3F80, 0, nullptr, {0x80, 0xFF, 0x00}},
    {"TagLargest", Kind::Tag, 0xFDFFFFF, 0, nullptr, {0xFE, 0xFF, 0xFF, 0x7F}},
    {"TagFourGroupsLeading7F", Kind::Tag, 0x1FC000, 0, nullptr, {0x80, 0xFF, 0x80, 0x00}},
    {"Len127", Kind::Len, 0, 127, nullptr, {0x7F}},
    {"Len200", Kind::Len, 0, 200, nullptr, {0x80, 0xC8}},
    {"Len300", Kind::Len, 0, 300, nullptr, {0x81, 0x2C}},
    {"ByteTag5Value40", Kind::Byte, 5, 40, nullptr, {0x05, 0x01, 0x28}},
    {"IntTag6Value600", Kind::Int, 6, 600, nullptr, {0x06, 0x02, 0x02, 0x58}},
    {"IntTag6Value0", Kind::Int, 6, 0, nullptr, {0x06, 0x00}},
    {"ByteTag6Value0", Kind::Byte, 6, 0, nullptr, {0x06, 0x00}},
    {"IntTag2ValueFFFF", Kind::Int, 2, 0xFFFF, nullptr, {0x02, 0x02, 0xFF, 0xFF}},
    {"WordTag2ValueFFFF", Kind::Word, 2, 0xFFFF, nullptr, {0x02, 0x02, 0xFF, 0xFF}},
    {"IntTag2000Value1", Kind::Int, 0x2000, 1, nullptr, {0xC0, 0x00, 0x01, 0x01}},
    {"IntFourBytes", Kind::Int, 12, 0xFFFFFF85, nullptr, {0x0C, 0x04, 0xFF, 0xFF, 0xFF, 0x85}},
    {"Rnr0815Star", Kind::Rnr, 3, 0, "0815*", {0x03, 0x03, 0x08, 0x15, 0xAF}},
    {"Rnr12Hash", Kind::Rnr, 3, 0, "12#", {0x03, 0x02, 0x12, 0xBF}},
    {"RnrEmpty", Kind::Rnr, 3, 0, "", {0x03, 0x01, 0xFF}},
    {"Rnr0R", Kind::Rnr, 3, 0, "0R", {0x03, 0x02, 0x0C, 0xFF}},
    {"Record400",
     Kind::Record,
     0x400,
     0,
     nullptr,
     {0x88, 0x00, 0x80, 0x07, 0x01, 0x01, 0x03, 0x02, 0x02, 0xFF, 0xFF}},
};

INSTANTIATE_TEST_SUITE_P(TaggedStream, WorkedExample, testing::ValuesIn(kExamples),
                         [](const testing::TestParamInfo<Example>& info) {
                             return std::string(info.param.name);
                         });

// ------------------------------------------------------------- other rules

class TaggedStreamTest : public testing::Test {
protected:
    void SetUp() override {
        TagStrInit(&s);
        TagStrClear(&s);
    }
    void Load(const Bytes& bytes) {
        TagStrClear(&s);
        std::memcpy(s.buf, bytes.data(), bytes.size());
    }
    TaggedStream s;
};

TEST_F(TaggedStreamTest, EndMarkerConsumesOneByte) {
    Load({0xFF, 0x02});
    std::int32_t tag = 0;
    EXPECT_EQ(TagStrReadTag(&s, &tag), 1);
    EXPECT_EQ(tag, TAGSTR_END);
    EXPECT_EQ(TagStrLen(&s), 1u);
    EXPECT_FALSE(TagStrFailed(&s));
}

TEST_F(TaggedStreamTest, EndOfBufferEndsDataCleanly) {
    std::uint8_t one[1] = {0x02};
    TagStrAttach(&s, one, sizeof one);
    std::int32_t tag = 0;
    EXPECT_EQ(TagStrReadTag(&s, &tag), 1);
    EXPECT_EQ(tag, 2);
    EXPECT_EQ(TagStrReadTag(&s, &tag), 0);
    EXPECT_EQ(tag, TAGSTR_END);
    EXPECT_FALSE(TagStrFailed(&s));
}

TEST_F(TaggedStreamTest, FiveByteTagWithZeroGroupsIsAccepted) {
    Load({0x80, 0x80, 0x80, 0x80, 0x05});
    std::int32_t tag = 0;
    EXPECT_EQ(TagStrReadTag(&s, &tag), 5);
    EXPECT_EQ(tag, 5);
}

TEST_F(TaggedStreamTest, DigitOutsideSetKeepsDeclaredLength) {
    EXPECT_EQ(TagStrWriteRnr(&s, 3, "12x45", true), 5);
    EXPECT_EQ(Written(s), (Bytes{0x03, 0x03, 0x12, 0xFF, 0xFF}));
    TagStrRewind(&s);
    std::int32_t tag = 0;
    char text[25];
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrReadRnr(&s, text, 24), 4);
    EXPECT_STREQ(text, "12");
}

TEST_F(TaggedStreamTest, RnrPackLeavesNothingBehindTheNumber) {
    // The writer's buffer may hold bytes of an earlier package.
    std::memset(s.buf, 0x00, sizeof s.buf);
    EXPECT_EQ(TagStrWriteRnr(&s, 3, "1", true), 3);
    EXPECT_EQ(Written(s), (Bytes{0x03, 0x01, 0x1F}));
    TagStrRewind(&s);
    std::memset(s.buf, 0x00, sizeof s.buf);
    TagStrWriteRnr(&s, 3, "1234", true);
    EXPECT_EQ(Written(s), (Bytes{0x03, 0x03, 0x12, 0x34, 0xFF}));
}

TEST_F(TaggedStreamTest, RnrReadStopsAtMaximumDigits) {
    Load({0x03, 0x03, 0x08, 0x15, 0xAF});
    char text[8];
    std::memset(text, 'x', sizeof text);
    std::int32_t tag = 0;
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrReadRnr(&s, text, 3), 4) << "the whole content is consumed";
    EXPECT_STREQ(text, "081");
    EXPECT_EQ(text[4], 'x');
}

TEST_F(TaggedStreamTest, RnrWithZeroLengthGivesEmptyText) {
    Load({0x03, 0x00});
    char text[5] = "9999";
    std::int32_t tag = 0;
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrReadRnr(&s, text, 4), 1);
    EXPECT_STREQ(text, "");
}

TEST_F(TaggedStreamTest, Cp1252TextKeepsItsBytes) {
    const char text[] = "Haust\xFCr 1";
    EXPECT_EQ(TagStrWriteString(&s, 0x2010, text, true), 12);
    EXPECT_EQ(Written(s),
              (Bytes{0xC0, 0x10, 0x09, 0x48, 0x61, 0x75, 0x73, 0x74, 0xFC, 0x72, 0x20, 0x31}));
    TagStrRewind(&s);
    std::int32_t tag = 0;
    char back[31];
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrReadString(&s, back, sizeof back), 10);
    EXPECT_STREQ(back, text);
}

TEST_F(TaggedStreamTest, LongStringIsCutAndRestSkipped) {
    TagStrWriteString(&s, 3, "Eingang", true);
    TagStrWriteByte(&s, 4, 9, true);
    TagStrRewind(&s);

    char field[5];
    std::int32_t tag = 0;
    std::uint8_t b = 0;
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrReadString(&s, field, sizeof field), 8);
    EXPECT_STREQ(field, "Eing");
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(tag, 4);
    TagStrReadByte(&s, &b);
    EXPECT_EQ(b, 9);
}

TEST_F(TaggedStreamTest, StringAsLongAsFieldIsCutByOne) {
    Load({0x03, 0x04, 'a', 'b', 'c', 'd'});
    char field[4];
    std::int32_t tag = 0;
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrReadString(&s, field, sizeof field), 5);
    EXPECT_STREQ(field, "abc");
}

TEST_F(TaggedStreamTest, ByteReaderTakesLastContentByte) {
    Load({0x05, 0x03, 0x11, 0x22, 0x33, 0x06});
    std::int32_t tag = 0;
    std::uint8_t b = 0;
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrReadByte(&s, &b), 4);
    EXPECT_EQ(b, 0x33);
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(tag, 6);
}

TEST_F(TaggedStreamTest, WordReaderKeepsLowBits) {
    Load({0x0C, 0x04, 0xFF, 0xFF, 0xFF, 0x85});
    std::int32_t tag = 0;
    std::uint16_t w = 0;
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrReadWord(&s, &w), 5);
    EXPECT_EQ(w, 0xFF85);
}

TEST_F(TaggedStreamTest, SkipStepsOverUnknownItem) {
    TagStrWriteString(&s, 7, "unbekannt", true);
    TagStrWriteInt(&s, 8, 600, true);
    TagStrRewind(&s);
    std::int32_t tag = 0;
    std::uint32_t v = 0;
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrSkip(&s), 10);
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(tag, 8);
    TagStrReadInt(&s, &v);
    EXPECT_EQ(v, 600u);
}

TEST_F(TaggedStreamTest, ClearFillsAttachedBufferAndResets) {
    std::uint8_t image[64];
    std::memset(image, 0, sizeof image);
    TagStrAttach(&s, image, sizeof image);
    TagStrWriteInt(&s, 6, 600, true);
    EXPECT_EQ(TagStrLen(&s), 4u);
    TagStrClear(&s);
    EXPECT_EQ(TagStrLen(&s), 0u);
    for (std::uint8_t b : image) {
        ASSERT_EQ(b, 0xFF);
    }
    EXPECT_EQ(TagStrEndPtr(&s) - TagStrStartPtr(&s), 64);
}

TEST_F(TaggedStreamTest, BlockCopyOutlivesOriginal) {
    auto original = std::make_unique<TaggedStream>();
    TagStrInit(original.get());
    TagStrClear(original.get());
    TagStrWriteInt(original.get(), 6, 600, true);

    TaggedStream copy;
    std::memcpy(&copy, original.get(), sizeof copy);
    original.reset();

    TagStrWriteByte(&copy, 5, 40, true);
    EXPECT_EQ(Written(copy), (Bytes{0x06, 0x02, 0x02, 0x58, 0x05, 0x01, 0x28}));
    EXPECT_EQ(TagStrStartPtr(&copy), copy.buf);
}

TEST_F(TaggedStreamTest, ZeroedStreamNeitherReadsNorWrites) {
    TaggedStream zero{};
    std::int32_t tag = 0;
    EXPECT_EQ(TagStrReadTag(&zero, &tag), 0);
    EXPECT_EQ(tag, TAGSTR_END);
    EXPECT_EQ(TagStrWriteTag(&zero, 2, true), 1);
    EXPECT_EQ(TagStrGetError(&zero), eTagStrNoRoom);
    EXPECT_EQ(zero.buf[0], 0);
}

// ------------------------------------------------------------- writer room

TEST(TaggedStreamWriter, TooLittleRoomWritesNothingAndFails) {
    std::uint8_t area[8];
    std::memset(area, 0xAA, sizeof area);
    TaggedStream s;
    TagStrAttach(&s, area, 3);
    EXPECT_EQ(TagStrWriteInt(&s, 6, 600, true), 4) << "the count is still reported";
    EXPECT_EQ(TagStrGetError(&s), eTagStrNoRoom);
    EXPECT_EQ(TagStrLen(&s), 0u);
    for (std::uint8_t b : area) {
        EXPECT_EQ(b, 0xAA);
    }
    // A failed stream takes nothing more, so no package has a gap in it.
    EXPECT_EQ(TagStrWriteTag(&s, 2, true), 1);
    EXPECT_EQ(area[0], 0xAA);
}

TEST(TaggedStreamWriter, RnrNeedsRoomForWholeContent) {
    std::uint8_t area[8];
    std::memset(area, 0xAA, sizeof area);
    TaggedStream s;
    TagStrAttach(&s, area, 4);
    EXPECT_EQ(TagStrWriteRnr(&s, 3, "0815*", true), 5);
    EXPECT_TRUE(TagStrFailed(&s));
    EXPECT_EQ(area[0], 0xAA);
    EXPECT_EQ(area[4], 0xAA);
}

TEST(TaggedStreamWriter, ReserveWithoutRoomFails) {
    std::uint8_t area[1] = {0xAA};
    TaggedStream s;
    TagStrAttach(&s, area, sizeof area);
    EXPECT_EQ(TagStrReserveLen(&s), nullptr);
    EXPECT_TRUE(TagStrFailed(&s));
    EXPECT_EQ(TagStrPatchLen(nullptr, 7, true), 2);
    EXPECT_EQ(area[0], 0xAA);
}

TEST(TaggedStreamWriterDeathTest, OutOfRangeArgumentsAreProgrammingErrors) {
    TaggedStream s;
    TagStrInit(&s);
    EXPECT_DEBUG_DEATH(TagStrWriteTag(&s, 0, true), "tag out of range");
    EXPECT_DEBUG_DEATH(TagStrWriteInt(&s, TAGSTR_TAG_LIMIT, 1, true), "tag out of range");
    EXPECT_DEBUG_DEATH(TagStrWriteLen(&s, TAGSTR_LEN_LIMIT, true), "length out of range");
}

// ------------------------------------------------------------ malformed input

enum class Reader { Tag, Len, Int, Word, Long, Byte, String, Rnr, Skip };

struct Malformed {
    std::string name;
    Reader reader;
    Bytes input;
    eTagStrError error;
};

// Runs one reader at the start of the input and returns its count; every
// destination sits between guard bytes that must stay untouched.
class MalformedInput : public testing::TestWithParam<Malformed> {
protected:
    static constexpr std::uint8_t kGuard = 0xA5;

    std::uint16_t Run(TaggedStream* s, Reader reader) {
        switch (reader) {
        case Reader::Tag: {
            std::int32_t tag = 0;
            const std::uint16_t n = TagStrReadTag(s, &tag);
            EXPECT_EQ(tag, TAGSTR_END);
            return n;
        }
        case Reader::Len: {
            std::uint16_t len = 99;
            const std::uint16_t n = TagStrReadLen(s, &len);
            EXPECT_EQ(len, 0);
            return n;
        }
        case Reader::Int:
        case Reader::Long: {
            std::uint32_t v = 99;
            const std::uint16_t n =
                reader == Reader::Int ? TagStrReadInt(s, &v) : TagStrReadLong(s, &v);
            EXPECT_EQ(v, 0u);
            return n;
        }
        case Reader::Word: {
            std::uint16_t v = 99;
            const std::uint16_t n = TagStrReadWord(s, &v);
            EXPECT_EQ(v, 0);
            return n;
        }
        case Reader::Byte: {
            std::uint8_t v = 99;
            const std::uint16_t n = TagStrReadByte(s, &v);
            EXPECT_EQ(v, 0);
            return n;
        }
        case Reader::String:
        case Reader::Rnr: {
            char field[3 + 5 + 3];
            std::memset(field, kGuard, sizeof field);
            const std::uint16_t n = reader == Reader::String ? TagStrReadString(s, field + 3, 5)
                                                             : TagStrReadRnr(s, field + 3, 4);
            EXPECT_EQ(field[3], '\0') << "destination left as an empty text";
            for (int i : {0, 1, 2, 8, 9, 10}) {
                EXPECT_EQ(static_cast<std::uint8_t>(field[i]), kGuard) << "wrote outside at " << i;
            }
            return n;
        }
        case Reader::Skip:
            return TagStrSkip(s);
        }
        return 0;
    }
};

TEST_P(MalformedInput, StopsWithErrorAndStaysInBuffer) {
    const Malformed& m = GetParam();
    // A heap block of exactly the input's size, so that AddressSanitizer
    // catches the first byte read past it.
    const std::size_t size = m.input.size();
    std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[size ? size : 1]);
    std::copy(m.input.begin(), m.input.end(), image.get());
    TaggedStream s;
    TagStrAttach(&s, image.get(), size);

    EXPECT_EQ(Run(&s, m.reader), 0);
    EXPECT_TRUE(TagStrFailed(&s));
    EXPECT_EQ(TagStrGetError(&s), m.error);
    EXPECT_EQ(TagStrLen(&s), 0u) << "nothing consumed";
    EXPECT_TRUE(std::equal(m.input.begin(), m.input.end(), image.get())) << "reader wrote";

    // A read loop ends after a failure, and the error sticks.
    std::int32_t tag = 0;
    EXPECT_EQ(TagStrReadTag(&s, &tag), 0);
    EXPECT_EQ(tag, TAGSTR_END);
    EXPECT_EQ(TagStrSkip(&s), 0);
    EXPECT_EQ(TagStrGetError(&s), m.error);
}

std::vector<Malformed> MalformedRows() {
    std::vector<Malformed> rows = {
        {"TagCutAfterContinuation", Reader::Tag, {0x81}, eTagStrTruncated},
        {"TagCutInFourthByte", Reader::Tag, {0x81, 0x82, 0x83}, eTagStrTruncated},
        {"TagOfSixBytes", Reader::Tag, {0x80, 0x80, 0x80, 0x80, 0x81, 0x00}, eTagStrBadTag},
        {"TagAtLimit", Reader::Tag, {0x80, 0xFF, 0x80, 0x80, 0x00}, eTagStrBadTag},
        {"TagBeyond32Bits", Reader::Tag, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}, eTagStrBadTag},
    };
    const Reader lengthReaders[] = {Reader::Len,  Reader::Int,    Reader::Word, Reader::Long,
                                    Reader::Byte, Reader::String, Reader::Rnr,  Reader::Skip};
    const char* names[] = {"Len", "Int", "Word", "Long", "Byte", "String", "Rnr", "Skip"};
    for (int i = 0; i < 8; ++i) {
        const std::string n = names[i];
        const Reader r = lengthReaders[i];
        auto add = [&](const std::string& what, Bytes input, eTagStrError error) {
            rows.push_back({n + what, r, std::move(input), error});
        };
        add("NoLengthByte", {}, eTagStrTruncated);
        add("TwoByteLengthCut", {0x80}, eTagStrTruncated);
        add("ContentCut", {0x05, 0x01, 0x02}, eTagStrTruncated);
        add("LongContentCut", {0x81, 0x2C, 0x01, 0x02, 0x03}, eTagStrTruncated);
        Bytes length1024(2 + 1024, 0x31); // the content is really there
        length1024[0] = 0x84;
        length1024[1] = 0x00;
        add("Length1024", length1024, eTagStrBadLength);
        add("Length7FFF", {0xFF, 0xFF, 0x00}, eTagStrBadLength);
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(TaggedStream, MalformedInput, testing::ValuesIn(MalformedRows()),
                         [](const testing::TestParamInfo<Malformed>& info) {
                             return info.param.name;
                         });

// A well-formed item that ends exactly at the end of the buffer is fine.
TEST(TaggedStreamReader, ItemEndingAtBufferEndIsRead) {
    const Bytes input = {0x03, 0x03, 0x08, 0x15, 0xAF};
    std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[input.size()]);
    std::memcpy(image.get(), input.data(), input.size());
    TaggedStream s;
    TagStrAttach(&s, image.get(), input.size());
    std::int32_t tag = 0;
    char text[25];
    TagStrReadTag(&s, &tag);
    EXPECT_EQ(TagStrReadRnr(&s, text, 24), 4);
    EXPECT_STREQ(text, "0815*");
    EXPECT_FALSE(TagStrFailed(&s));
    EXPECT_EQ(TagStrRemaining(&s), 0u);
}

TEST(TaggedStreamReader, ErrorClearsOnRewindAndAttach) {
    std::uint8_t image[2] = {0x81, 0x00};
    TaggedStream s;
    TagStrAttach(&s, image, 1);
    std::int32_t tag = 0;
    TagStrReadTag(&s, &tag);
    ASSERT_TRUE(TagStrFailed(&s));
    TagStrRewind(&s);
    EXPECT_FALSE(TagStrFailed(&s));
    TagStrReadTag(&s, &tag);
    ASSERT_EQ(TagStrGetError(&s), eTagStrTruncated) << "the same bytes fail the same way";
    TagStrAttach(&s, image, 2);
    EXPECT_FALSE(TagStrFailed(&s));
    EXPECT_EQ(TagStrReadTag(&s, &tag), 2);
    EXPECT_EQ(tag, 0x80);
}

// ---------------------------------------------------------- digit functions

TEST(RnrDigits, NibbleMapping) {
    const char chars[] = "0123456789*#R";
    for (std::uint8_t n = 0; n < 13; ++n) {
        EXPECT_EQ(RnrCharToNibble(chars[n]), n);
        EXPECT_EQ(RnrNibbleToChar(n), chars[n]);
    }
    for (char c : {'\0', 'r', 'A', ' ', '+', '-'}) {
        EXPECT_EQ(RnrCharToNibble(c), RNR_NIBBLE_END) << c;
    }
    for (std::uint8_t n : {0xD, 0xE, 0xF, 0x10}) {
        EXPECT_EQ(RnrNibbleToChar(n), '\0');
    }
}

TEST(RnrDigits, UnpackStaysWithinPackedBytes) {
    const std::uint8_t packed[2] = {0x12, 0x34};
    char text[10];
    EXPECT_EQ(RnrUnpack(text, packed, 2, 9), 5);
    EXPECT_STREQ(text, "1234");
    EXPECT_EQ(RnrUnpack(text, packed, 0, 9), 1);
    EXPECT_STREQ(text, "");
}

} // namespace
