// Malformed images: the check pass must say false exactly where an image is
// malformed, a load must refuse such an image as a whole, and nothing may be
// read outside the image (every image sits in a buffer of exactly its size,
// so AddressSanitizer sees any step past it).

#include "MoxTagged.h"

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "TaggedStream.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace moxtagged_test {
std::vector<uint8_t> GoldenDefaultImage(std::vector<size_t>* itemStarts);
std::vector<uint8_t> Hex(const std::string& text);
} // namespace moxtagged_test

namespace {

using moxtagged_test::GoldenDefaultImage;
using moxtagged_test::Hex;
using Bytes = std::vector<uint8_t>;

// ----------------------------------------------------------------- oracle
//
// A second, deliberately plain reading of the image's structure: tags and
// lengths only, records by their tag, nothing stored. It decides which mutated
// images are malformed.

enum class TagRead { Ok, End, Bad };

TagRead OracleTag(const Bytes& b, size_t end, size_t& pos, uint32_t& tag) {
    if (pos >= end)
        return TagRead::End;
    if (b[pos] == 0xFF) {
        ++pos;
        return TagRead::End;
    }
    uint64_t value = 0;
    int n = 0;
    uint8_t last = 0;
    do {
        if (pos >= end)
            return TagRead::Bad;
        last = b[pos++];
        value = (value << 7) | (last & 0x7F);
        ++n;
    } while ((last & 0x80) && n < 5);
    if ((last & 0x80) || value >= 0xFE00000)
        return TagRead::Bad;
    tag = static_cast<uint32_t>(value);
    return TagRead::Ok;
}

bool OracleLen(const Bytes& b, size_t end, size_t& pos, size_t& len) {
    if (pos >= end)
        return false;
    const uint8_t first = b[pos++];
    len = first;
    if (first & 0x80) {
        if (pos >= end)
            return false;
        len = (static_cast<size_t>(first & 0x7F) << 8) | b[pos++];
    }
    return len < 1024 && len <= end - pos;
}

bool IsRecordTag(uint32_t tag) {
    auto in = [tag](uint32_t base, uint32_t count) { return tag >= base && tag < base + count; };
    return tag == 0x300 || tag == 0x400 || tag == 0x500 || tag == 0x800 || in(0x100, 12) ||
           in(0x200, 12) || in(0x600, 11) || in(0x700, 6) || in(0x1000, 31) || in(0x3400, 6) ||
           in(0x4000, 10);
}

bool OracleWellFormed(const Bytes& b) {
    size_t pos = 0;
    for (;;) {
        uint32_t tag = 0;
        const TagRead r = OracleTag(b, b.size(), pos, tag);
        if (r == TagRead::End)
            return true;
        if (r == TagRead::Bad)
            return false;
        size_t len = 0;
        if (!OracleLen(b, b.size(), pos, len))
            return false;
        if (IsRecordTag(tag)) {
            const size_t recEnd = pos + len;
            for (size_t q = pos; q < recEnd;) {
                uint32_t sub = 0;
                size_t subLen = 0;
                if (OracleTag(b, recEnd, q, sub) != TagRead::Ok || !OracleLen(b, recEnd, q, subLen))
                    return false;
                q += subLen;
            }
        }
        pos += len;
    }
}

// ------------------------------------------------------------------ helpers

bool Check(Bytes image) {
    MoxDaten d{};
    MoxInitDaten(&d);
    MoxSetStreamBuffer(&d, image.data(), image.size());
    return MoxReadTaggedData(&d, false);
}

// A record that differs from the defaults in places every section touches.
void MakeMarked(MoxDaten* d) {
    MoxInitDaten(d);
    MoxSetLand(d, 9);
    MoxSetTlnRnr(d, 0, "99");
    MoxSetSMSProvider(d, 2, "Marked");
    MoxSetEtagenrufText(d, "Marked");
}

Bytes WholeImage(MoxDaten* d) {
    Bytes buf(32768);
    MoxSetStreamBuffer(d, buf.data(), buf.size());
    const uint16_t n = MoxWriteTaggedData(d, eTaggedData_All, 255, true);
    MoxSetStreamIntern(d);
    return Bytes(buf.begin(), buf.begin() + n);
}

// Reads image into a marked record: a refused image must leave it as it was.
void ExpectStoreAgreesAndRefusesWhole(Bytes image, bool wellFormed) {
    MoxDaten d{};
    MakeMarked(&d);
    const Bytes before = WholeImage(&d);
    MoxSetStreamBuffer(&d, image.data(), image.size());
    EXPECT_EQ(MoxReadTaggedData(&d, true), wellFormed);
    // A refusal leaves no error behind that would spoil the next write.
    EXPECT_FALSE(TagStrFailed(MoxGetStream(&d)));
    if (!wellFormed) {
        EXPECT_EQ(WholeImage(&d), before);
    }
}

// ------------------------------------------------------------- truncation

TEST(MalformedImage, TruncatedDefaultImageIsWellFormedOnlyAtItemEnds) {
    std::vector<size_t> starts;
    const Bytes golden = GoldenDefaultImage(&starts);
    ASSERT_FALSE(golden.empty());
    std::set<size_t> clean(starts.begin(), starts.end());
    clean.insert(golden.size());
    size_t refused = 0;
    for (size_t len = 0; len <= golden.size(); ++len) {
        const Bytes cut(golden.begin(), golden.begin() + len);
        const bool expected = clean.count(len) > 0;
        ASSERT_EQ(OracleWellFormed(cut), expected) << "oracle at " << len;
        ASSERT_EQ(Check(cut), expected) << "cut at " << len;
        refused += expected ? 0 : 1;
    }
    EXPECT_GT(refused, golden.size() / 2);
}

TEST(MalformedImage, TruncatedImageIsRefusedAsAWhole) {
    const Bytes golden = GoldenDefaultImage(nullptr);
    // Cuts inside section 1, a subscriber, a group and the last SMS record.
    for (size_t len : {3u, 250u, 280u, 700u, 1700u}) {
        SCOPED_TRACE(len);
        ExpectStoreAgreesAndRefusesWhole(Bytes(golden.begin(), golden.begin() + len), false);
    }
}

TEST(MalformedImage, LoadOfTruncatedFileKeepsDefaults) {
    const Bytes golden = GoldenDefaultImage(nullptr);
    Bytes cut(golden.begin(), golden.begin() + 1000);
    cut[3] = 0x05; // Land 5 is read well before the cut, yet must not stick
    MoxDaten d{};
    MakeMarked(&d);
    EXPECT_FALSE(MoxLoadDaten(&d, cut.data(), cut.size()));
    MoxDaten defaults{};
    MoxInitDaten(&defaults);
    EXPECT_EQ(WholeImage(&d), WholeImage(&defaults));
}

// ----------------------------------------------------------- single bytes

TEST(MalformedImage, SingleByteChangesAreJudgedLikeTheOracle) {
    const Bytes golden = GoldenDefaultImage(nullptr);
    size_t malformed = 0, wellFormed = 0;
    for (size_t pos = 0; pos < golden.size(); ++pos) {
        for (int value : {0x00, 0x01, 0x05, 0x7F, 0x80, 0x81, 0x83, 0xC0, 0xFE, 0xFF,
                          golden[pos] ^ 0x80, (golden[pos] + 1) & 0xFF}) {
            Bytes image = golden;
            image[pos] = static_cast<uint8_t>(value);
            image.resize(golden.size() + 16, 0xFF);
            const bool expected = OracleWellFormed(image);
            ASSERT_EQ(Check(image), expected) << "byte " << pos << " = " << value;
            (expected ? wellFormed : malformed) += 1;
        }
    }
    // Both verdicts must actually occur, or the table proves nothing.
    EXPECT_GT(malformed, 1000u);
    EXPECT_GT(wellFormed, 1000u);
}

TEST(MalformedImage, StorePassAgreesWithCheckOnChangedBytes) {
    const Bytes golden = GoldenDefaultImage(nullptr);
    // Length bytes and tag bytes of a few items, changed to lengths that
    // overrun their record or the image.
    for (size_t pos : {2u, 7u, 253u, 260u, 305u, 1000u, 1596u, 1700u}) {
        for (int value : {0x00, 0x7F, 0x80, 0xFF}) {
            Bytes image = golden;
            image[pos] = static_cast<uint8_t>(value);
            SCOPED_TRACE("byte " + std::to_string(pos) + " = " + std::to_string(value));
            ExpectStoreAgreesAndRefusesWhole(image, OracleWellFormed(image));
        }
    }
}

// ------------------------------------------------------------- named rows

struct MalformedRow {
    const char* name;
    Bytes image;
};

void PrintTo(const MalformedRow& row, std::ostream* os) {
    *os << row.name;
}

class MalformedKind : public ::testing::TestWithParam<MalformedRow> {};

TEST_P(MalformedKind, CheckSaysFalseAndLoadRefuses) {
    const Bytes& image = GetParam().image;
    EXPECT_FALSE(OracleWellFormed(image));
    EXPECT_FALSE(Check(image));
    ExpectStoreAgreesAndRefusesWhole(image, false);

    Bytes copy = image;
    MoxDaten d{};
    EXPECT_FALSE(MoxLoadDaten(&d, copy.data(), copy.size()));
    EXPECT_EQ(MoxGetLand(&d), eLV_Deutschland); // the defaults, not Land 5
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Several rows begin with a good Land 5, which must not survive the refusal.
const MalformedRow kMalformedRows[] = {
    {"LengthBeyondBuffer", Hex("C0 00 01 05 C0 01 05 01")},
    {"RecordLengthBeyondBuffer", Hex("C0 00 01 05 88 00 80 07 01 01 03")},
    {"SubItemCrossesRecordEnd", Hex("C0 00 01 05 88 00 80 02 01 01 03 C0 00 01 05")},
    {"SubItemLengthBeyondRecord", Hex("C0 00 01 05 88 00 80 03 01 05 03 C0 00 01 05")},
    {"SubTagCrossesRecordEnd", Hex("C0 00 01 05 88 00 80 01 81 00 C0 00 01 05")},
    {"SubTagWithoutLength", Hex("C0 00 01 05 88 00 80 01 01 01 C0 00 01 05")},
    {"EndMarkerInsideRecord", Hex("C0 00 01 05 88 00 80 02 FF FF")},
    {"BadTagInsideRecord", Hex("C0 00 01 05 88 00 80 06 81 81 81 81 81 00")},
    {"TagOfSixBytes", Hex("C0 00 01 05 81 81 81 81 81 00 00")},
    {"TagAtLimit", Hex("C0 00 01 05 80 FF 80 80 00 00")},
    {"TagAboveLimit", Hex("C0 00 01 05 81 80 80 80 00 00")},
    {"TagCutByBufferEnd", Hex("C0 00 01 05 C0")},
    {"LengthMissing", Hex("C0 00 01 05 05")},
    {"TwoByteLengthCut", Hex("C0 00 01 05 05 81")},
    {"UnknownTagLengthBeyondBuffer", Hex("C0 00 01 05 81 FF 00 05 AA")},
    {"LengthOf1024", Concat(Hex("C0 00 01 05 81 FF 00 84 00"), Bytes(1024, 0x00))},
    {"OutOfTableIndexLengthBeyondBuffer", Hex("C0 00 01 05 A0 1F 80 09 02 00")},
    {"OddFileOfZeros", Bytes(32767, 0x00)},
};

INSTANTIATE_TEST_SUITE_P(TaggedImage, MalformedKind, ::testing::ValuesIn(kMalformedRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MalformedImage, EmptyImagesAreWellFormed) {
    EXPECT_TRUE(Check(Bytes{}));
    EXPECT_TRUE(Check(Bytes(32768, 0xFF)));
    EXPECT_TRUE(Check(Bytes(32768, 0x00)));
    // Garbage behind the end marker is never looked at.
    EXPECT_TRUE(Check(Hex("C0 00 01 05 FF 81 81 81 81 81 81")));
}

// ------------------------------------------------------- items found

// Well-formed is not enough for an image read from a box: one with nothing
// in it, or nothing the reader knows, holds no configuration. The count
// never changes the record.
struct CountRow {
    const char* name;
    Bytes image;
    size_t known;

    friend void PrintTo(const CountRow& row, std::ostream* os) { *os << row.name; }
};

class CountedItems : public ::testing::TestWithParam<CountRow> {};

TEST_P(CountedItems, CountsWhatTheReaderKnows) {
    Bytes image = GetParam().image;
    image.resize(image.size() + 16, 0xFF);
    MoxDaten d{};
    MakeMarked(&d);
    const Bytes before = WholeImage(&d);
    MoxSetStreamBuffer(&d, image.data(), image.size());
    EXPECT_EQ(MoxCountTaggedItems(&d), GetParam().known);
    MoxSetStreamIntern(&d);
    EXPECT_EQ(WholeImage(&d), before);
}

const CountRow kCountRows[] = {
    {"Nothing", {}, 0},
    {"Zeros", Bytes(1024, 0x00), 0},
    {"OnlyTag7AndUnusedTag13", Hex("07 01 05 0D 00"), 0},
    {"IndexBeyondTheTable", Hex("E0 20 01 41"), 0},
    {"Malformed", Hex("C0 00 01 05 C0 01 84 00"), 0},
    {"OneLand", Hex("C0 00 01 05"), 1},
    {"UnknownThenLand", Hex("0D 00 C0 00 01 05"), 1},
    {"OneSubscriberRecord", Hex("A0 00 80 0C 01 01 01 04 01 01 02 00 03 02 12"), 1},
};

INSTANTIATE_TEST_SUITE_P(TaggedImage, CountedItems, ::testing::ValuesIn(kCountRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CountedItems, AWholeImageHasOneForEveryTopLevelItem) {
    MoxDaten d{};
    MakeMarked(&d);
    Bytes image = WholeImage(&d);
    image.resize(32768, 0xFF);
    MoxSetStreamBuffer(&d, image.data(), image.size());
    EXPECT_GT(MoxCountTaggedItems(&d), 100u);
}

} // namespace
