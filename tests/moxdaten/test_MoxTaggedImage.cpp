// The tagged image of the configuration byte for byte: the whole image of the
// default record against the hand-made dump in tests/data, single packages,
// the image lengths per device type, and how the reader treats the items it
// knows, the ones it does not, and the flags that shape an image.

#include "MoxTagged.h"

#include "MoxAccess.h"
#include "MoxDaten.h"
#include "MoxTrace.h"
#include "TaggedStream.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace moxtagged_test {

using Bytes = std::vector<uint8_t>;

constexpr size_t kImageSize = 32768; // the document's image buffer and file

// "A0 00 80 0C" -> bytes.
Bytes Hex(const std::string& text) {
    Bytes out;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair)
        out.push_back(static_cast<uint8_t>(std::stoul(pair, nullptr, 16)));
    return out;
}

// The default image from tests/data/default_image.hex. Every line that starts
// in the first column begins a top-level item; itemStarts receives those
// offsets, so a test knows where an image may end cleanly.
Bytes GoldenDefaultImage(std::vector<size_t>* itemStarts) {
    std::ifstream file(MOX_TEST_DATA_DIR "/default_image.hex");
    EXPECT_TRUE(file.good()) << "default_image.hex missing";
    Bytes image;
    std::string line;
    while (std::getline(file, line)) {
        const std::string data = line.substr(0, line.find('#'));
        const Bytes bytes = Hex(data);
        if (bytes.empty())
            continue;
        if (itemStarts && !std::isspace(static_cast<unsigned char>(line[0])))
            itemStarts->push_back(image.size());
        image.insert(image.end(), bytes.begin(), bytes.end());
    }
    return image;
}

} // namespace moxtagged_test

namespace {

using moxtagged_test::Bytes;
using moxtagged_test::GoldenDefaultImage;
using moxtagged_test::Hex;
using moxtagged_test::kImageSize;

// A default record writing into an image buffer that starts out as zeros, so
// that every 0xFF behind a package shows the writer's clearing.
class TaggedImage : public ::testing::Test {
protected:
    void SetUp() override {
        MoxInitDaten(&d);
        MoxSetStreamBuffer(&d, buf.data(), buf.size());
    }

    Bytes Write(uint8_t section, uint8_t index = 0) {
        const uint16_t n = MoxWriteTaggedData(&d, section, index, true);
        EXPECT_EQ(n, MoxGetStreamLen(&d));
        return Bytes(buf.begin(), buf.begin() + n);
    }

    bool RestIsEmpty(size_t from) const {
        for (size_t k = from; k < buf.size(); ++k)
            if (buf[k] != 0xFF)
                return false;
        return true;
    }

    // Reads an image (as given, no padding) into the record over its stream.
    bool Parse(Bytes& image) {
        MoxSetStreamBuffer(&d, image.data(), image.size());
        return MoxParseTaggedData(&d);
    }

    MoxDaten d{};
    Bytes buf = Bytes(kImageSize, 0x00);
};

// ------------------------------------------------------------ the whole image

TEST_F(TaggedImage, DefaultRecordWritesTheGoldenImage) {
    const Bytes golden = GoldenDefaultImage(nullptr);
    ASSERT_EQ(golden.size(), 1705u);
    EXPECT_EQ(MoxWriteTaggedData(&d, eTaggedData_All, 255, false), golden.size());
    const Bytes image = Write(eTaggedData_All, 255);
    ASSERT_EQ(image.size(), golden.size());
    for (size_t k = 0; k < golden.size(); ++k)
        ASSERT_EQ(image[k], golden[k]) << "first difference at offset " << k;
    EXPECT_TRUE(RestIsEmpty(golden.size()));
}

TEST_F(TaggedImage, ImageBeginsWithLandAndEndsWithLastSmsProvider) {
    const Bytes image = Write(eTaggedData_All, 255);
    ASSERT_GE(image.size(), 12u);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 2), Hex("C0 00"));
    // Record 0x4009 of 12 bytes closes the image.
    EXPECT_EQ(Bytes(image.end() - 12, image.end() - 9), Hex("81 80 09"));
    EXPECT_EQ(buf[image.size()], 0xFF);
}

TEST_F(TaggedImage, GoldenImageLoadsAsTheDefaults) {
    Bytes file = GoldenDefaultImage(nullptr);
    file.resize(kImageSize, 0xFF);
    MoxDaten loaded{};
    ASSERT_TRUE(MoxLoadDaten(&loaded, file.data(), file.size()));
    Bytes again(kImageSize, 0x00);
    MoxSetStreamBuffer(&loaded, again.data(), again.size());
    const uint16_t n = MoxWriteTaggedData(&loaded, eTaggedData_All, 255, true);
    EXPECT_EQ(Bytes(again.begin(), again.begin() + n), GoldenDefaultImage(nullptr));
}

TEST_F(TaggedImage, FileOfZerosReadsAsTheDefaults) {
    // Tag 0 with length 0, over and over: unknown items, stepped over.
    Bytes zeros(kImageSize, 0x00);
    MoxDaten loaded{};
    MoxSetLand(&loaded, 7);
    ASSERT_TRUE(MoxLoadDaten(&loaded, zeros.data(), zeros.size()));
    Bytes out(kImageSize);
    MoxSetStreamBuffer(&loaded, out.data(), out.size());
    const uint16_t n = MoxWriteTaggedData(&loaded, eTaggedData_All, 255, true);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + n), GoldenDefaultImage(nullptr));
}

// ----------------------------------------------------------------- packages

TEST_F(TaggedImage, SubscriberExampleOfTwoDigits) {
    ASSERT_TRUE(MoxSetTlnRnr(&d, 0, "12"));
    EXPECT_EQ(Write(eTaggedData_Tln, 0), Hex("A0 00 80 0C 01 01 01 04 01 01 02 00 03 02 12 FF"));
    EXPECT_TRUE(RestIsEmpty(16));
}

TEST_F(TaggedImage, SubscriberWithoutAddressFlagLeavesAddressesOut) {
    ASSERT_TRUE(MoxSetTlnRnr(&d, 0, "12"));
    MoxSetIO_TlnAdr(&d, 0);
    Bytes package = Write(eTaggedData_Tln, 0);
    EXPECT_EQ(package, Hex("A0 00 80 06 02 00 03 02 12 FF"));

    // Reading an image with addresses while the flag is clear keeps the
    // record's own addresses.
    Bytes withAdr = Hex("A0 00 80 0D 01 01 09 04 01 0A 02 01 01 03 02 34 FF");
    ASSERT_TRUE(Parse(withAdr));
    EXPECT_EQ(MoxGetTlnBusAdr(&d, 0), 1);
    EXPECT_EQ(MoxGetTlnLogAdr(&d, 0), 1);
    EXPECT_EQ(MoxGetTlnVideo(&d, 0), 1);
    char rnr[MOX_TLNRNR_SIZE];
    ASSERT_TRUE(MoxGetTlnRnr(&d, 0, rnr, sizeof rnr));
    EXPECT_STREQ(rnr, "34");

    MoxSetIO_TlnAdr(&d, 1);
    ASSERT_TRUE(Parse(withAdr));
    EXPECT_EQ(MoxGetTlnBusAdr(&d, 0), 9);
    EXPECT_EQ(MoxGetTlnLogAdr(&d, 0), 10);
}

TEST_F(TaggedImage, EveryPackageStartsAtTheBufferStart) {
    // The relay package is the constructed record of the encoding examples.
    EXPECT_EQ(Write(eTaggedData_Mfr), Hex("88 00 80 07 01 01 03 02 02 FF FF"));
    EXPECT_TRUE(RestIsEmpty(11));
    EXPECT_EQ(Write(eTaggedData_Concierge), Hex("8A 00 80 05 02 00 03 01 FF"));
    EXPECT_TRUE(RestIsEmpty(9));
    EXPECT_EQ(Write(eTaggedData_SMS, 9), Hex("81 80 09 80 07 01 00 02 01 FF 03 00"));
    EXPECT_TRUE(RestIsEmpty(12));
}

TEST_F(TaggedImage, CountOnlyLeavesStreamAndBufferAlone) {
    Bytes before = buf;
    const uint32_t pos = MoxGetStreamLen(&d);
    for (uint8_t section = 0; section <= eTaggedData_Ende; ++section)
        MoxWriteTaggedData(&d, section, 0, false);
    EXPECT_EQ(MoxGetStreamLen(&d), pos);
    EXPECT_EQ(buf, before);
}

TEST_F(TaggedImage, SinglePackageOfASubscriberOrGroupNotInUseIsWritten) {
    // Without a door interface no subscriber or group is in use, yet the
    // document sends subscriber 0 and group 0 as packages of their own.
    MoxSetTypeIT(&d, eIT_Undefined);
    const Bytes tln = Hex("A0 00 80 0B 01 01 01 04 01 01 02 00 03 01 FF");
    EXPECT_EQ(MoxWriteTaggedData(&d, eTaggedData_Tln, 0, false), tln.size());
    EXPECT_EQ(Write(eTaggedData_Tln, 0), tln);
    EXPECT_TRUE(RestIsEmpty(tln.size()));
    const Bytes pg = Write(eTaggedData_PG, 0);
    ASSERT_EQ(pg.size(), 100u);
    EXPECT_EQ(Bytes(pg.begin(), pg.begin() + 4), Hex("8C 00 80 60"));

    // Type 1 has 3 subscribers and 5 groups; the tables hold 31 and 11, and
    // only an index beyond the table is refused.
    MoxSetTypeIT(&d, eIT_Nivo);
    const Bytes tln3 = Write(eTaggedData_Tln, 3);
    ASSERT_GE(tln3.size(), 3u);
    EXPECT_EQ(Bytes(tln3.begin(), tln3.begin() + 3), Hex("A0 03 80"));
    const Bytes pg10 = Write(eTaggedData_PG, 10);
    ASSERT_GE(pg10.size(), 3u);
    EXPECT_EQ(Bytes(pg10.begin(), pg10.begin() + 3), Hex("8C 0A 80"));
}

TEST_F(TaggedImage, UnknownSectionNumbersWriteNothing) {
    EXPECT_EQ(Write(eTaggedData_Ende).size(), 0u);
    EXPECT_EQ(Write(200).size(), 0u);
    EXPECT_TRUE(RestIsEmpty(0));
}

using TaggedImageDeathTest = TaggedImage;

TEST_F(TaggedImageDeathTest, IndexBeyondTheTableIsAProgrammingError) {
    EXPECT_DEBUG_DEATH(MoxWriteTaggedData(&d, eTaggedData_Tln, MOX_MAX_TLN, true), "");
    EXPECT_DEBUG_DEATH(MoxWriteTaggedData(&d, eTaggedData_PG, MOX_MAX_PG, true), "");
    EXPECT_DEBUG_DEATH(MoxWriteTaggedData(&d, eTaggedData_RAKEingang, 12, true), "");
    EXPECT_DEBUG_DEATH(MoxWriteTaggedData(&d, eTaggedData_RAKAusgang, 12, true), "");
    EXPECT_DEBUG_DEATH(MoxWriteTaggedData(&d, eTaggedData_SMS, MOX_MAX_SMS, true), "");
}

// ------------------------------------------------------- encodings in place

TEST_F(TaggedImage, U8IntegerAbove0x7FTravelsAsSignedByte) {
    MoxSetLand(&d, 0x90);
    ASSERT_TRUE(MoxSetTuerrufdauer(&d, 600));
    const Bytes sys = Write(eTaggedData_SysData);
    EXPECT_EQ(Bytes(sys.begin(), sys.begin() + 7), Hex("C0 00 04 FF FF FF 90"));
    // Behind Land (7), Sprache, Rnr, RnrExtBelegung (4 each), the blocked
    // numbers (16), MasterPin (5), Kamera (2) and Tuerrufannahme (3).
    EXPECT_EQ(Bytes(sys.begin() + 45, sys.begin() + 49), Hex("06 02 02 58"));

    MoxDaten loaded{};
    ASSERT_TRUE(MoxLoadDaten(&loaded, buf.data(), buf.size()));
    EXPECT_EQ(MoxGetLand(&loaded), 0x90);
    EXPECT_EQ(MoxGetTuerrufdauer(&loaded), 600);
}

TEST_F(TaggedImage, VersionTextsOnlyWithVersionFlag) {
    std::strcpy(d.VersionMox, "V2.07");
    const uint16_t with = MoxWriteTaggedData(&d, eTaggedData_SysData, 0, false);
    MoxSetIO_Version(&d, 0);
    const uint16_t without = MoxWriteTaggedData(&d, eTaggedData_SysData, 0, false);
    EXPECT_EQ(with - without, 3 + 5 + 3); // C0 06 05 "V2.07", C0 0F 00
}

TEST_F(TaggedImage, InputOptionItemsFollowTheMode) {
    // Mode 3 (floor call) and mode 0 carry no option items.
    ASSERT_TRUE(MoxSetMfeEtagenruf(&d, "21"));
    EXPECT_EQ(Write(eTaggedData_Mfe),
              Hex("86 00 80 12 01 01 03 10 02 21 FF 11 01 FF 14 01 FF 15 01 FF 13 00"));

    // Mode 1: seven option items, 38 37 32 33 34 35 36.
    ASSERT_TRUE(MoxSetMfeMeldefkt(&d, 1, "5", 0, "", 0xFF, "", 0, 1, 0, 0, 1));
    EXPECT_EQ(Write(eTaggedData_Mfe), Hex("86 00 80 22 01 01 01 10 01 5F 11 01 FF 14 01 FF"
                                          " 15 01 FF 13 00"
                                          " 26 01 01 25 00 20 00 21 01 01 22 00 23 00 24 01 01"));

    // Mode 2 on a controller input: 39 40 41; KettenRnr comes after the indices.
    ASSERT_TRUE(MoxSetRAKEingangSchaltuhr(&d, 4, eSchaltuhrDiversion, 3));
    EXPECT_EQ(Write(eTaggedData_RAKEingang, 4),
              Hex("82 04 80 19 01 01 02 10 01 FF 11 01 FF 15 01 FF 13 01 03 14 01 FF"
                  " 27 00 28 01 01 29 00"));
}

TEST_F(TaggedImage, PermissionGroupCarriesEveryRightAndActuator) {
    MoxSetTypeRAK(&d, eRAK_Large);
    ASSERT_TRUE(MoxSetPGSchaltausgang(&d, 1, 11, 1));
    ASSERT_TRUE(MoxSetPGTuermatikSignal(&d, 1, 1));
    const Bytes pg = Write(eTaggedData_PG, 1);
    // Group 1 of the golden image (90 bytes) with two more content bytes.
    ASSERT_EQ(pg.size(), 92u);
    EXPECT_EQ(Bytes(pg.begin(), pg.begin() + 4), Hex("8C 01 80 58"));
    EXPECT_EQ(Bytes(pg.end() - 3, pg.end()), Hex("3B 01 01")); // actuator 12
}

// --------------------------------------------------------- lengths by type

struct LengthRow {
    const char* name;
    uint8_t typeIT;
    uint8_t typeRAK;
    bool regroup; // group defaults reset after the type change
    uint8_t ioVersion;
    uint16_t length; // of the whole image
    uint16_t telegramme;
};

void PrintTo(const LengthRow& row, std::ostream* os) {
    *os << row.name;
}

class ImageLength : public ::testing::TestWithParam<LengthRow> {};

TEST_P(ImageLength, WholeImage) {
    const LengthRow& row = GetParam();
    MoxDaten d{};
    MoxInitDaten(&d);
    MoxSetTypeIT(&d, row.typeIT);
    MoxSetTypeRAK(&d, row.typeRAK);
    if (row.regroup)
        MoxInitPG(&d);
    MoxSetIO_Version(&d, row.ioVersion);
    Bytes buf(kImageSize);
    MoxSetStreamBuffer(&d, buf.data(), buf.size());
    EXPECT_EQ(MoxWriteTaggedData(&d, eTaggedData_All, 255, false), row.length);
    EXPECT_EQ(MoxWriteTaggedData(&d, eTaggedData_All, 255, true), row.length);
    EXPECT_EQ(MoxGetStreamLen(&d), row.length);
    EXPECT_EQ(MoxGetAnzTelegramme(&d), row.telegramme);
}

// Differences to the 1705-byte default image, worked out per item:
// type 2: 31 subscribers of 13 bytes (addresses 0), 11 groups (1062 bytes),
//   TypeBSM 1 (+1); type 3: 4 subscribers of 15, 6 groups (577);
// type 0: no subscribers or groups, TypeIT 0 (-1); controller: TypeRAK 1 (+1),
//   and after a group reset groups 0, 2, 3, 4 carry RAK and 12 actuators (+13 each).
const LengthRow kLengthRows[] = {
    {"Nivo", eIT_Nivo, 0, false, 1, 1705, 5 + 39 + 3 + 1},
    {"Pello", eIT_Pello, 0, false, 1, 2646, 11 + 39 + 31 + 1},
    {"Quarz", eIT_Quarz, 0, false, 1, 1817, 6 + 39 + 4 + 1},
    {"NoDoorInterface", eIT_Undefined, 0, false, 1, 1179, 0 + 39 + 0 + 1},
    {"WithController", eIT_Nivo, eRAK_Large, false, 1, 1706, 48},
    {"WithControllerGroupsReset", eIT_Nivo, eRAK_Large, true, 1, 1758, 48},
    {"WithoutVersionTexts", eIT_Nivo, 0, false, 0, 1699, 48},
};

INSTANTIATE_TEST_SUITE_P(TaggedImage, ImageLength, ::testing::ValuesIn(kLengthRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TaggedImage, PelloSubscriberHasZeroAddresses) {
    MoxSetTypeIT(&d, eIT_Pello);
    EXPECT_EQ(Write(eTaggedData_Tln, 30), Hex("A0 1E 80 09 01 00 04 00 02 00 03 01 FF"));
}

// ------------------------------------------------------------------ reading

struct ReadRow {
    const char* name;
    const char* image;
};

void PrintTo(const ReadRow& row, std::ostream* os) {
    *os << row.name;
}

class ReadsAndSkips : public TaggedImage, public ::testing::WithParamInterface<ReadRow> {};

// Each image puts Land 5 behind (or around) the item under test: the item
// must be read or skipped without losing the rest.
TEST_P(ReadsAndSkips, RestOfTheImageIsRead) {
    Bytes image = Hex(GetParam().image);
    ASSERT_TRUE(Parse(image));
    EXPECT_EQ(MoxGetLand(&d), 5);
}

const ReadRow kSkipRows[] = {
    {"UnknownTopLevelTag", "81 FF 00 02 AA BB C0 00 01 05"},
    {"TextIndexBeyondTable", "E0 20 03 41 42 43 C0 00 01 05"},
    {"SubscriberIndexBeyondTable", "A0 1F 80 03 02 01 01 C0 00 01 05"},
    {"GroupIndexBeyondTable", "8C 0B 80 02 10 00 C0 00 01 05"},
    {"SmsIndexBeyondTable", "81 80 0A 80 02 01 00 C0 00 01 05"},
    {"TagSevenIsSkipped", "07 02 01 02 C0 00 01 05"},
    {"TagZero", "00 00 00 01 33 C0 00 01 05"},
    {"FiveByteTagBelowLimit", "80 FE FF FF 7F 00 C0 00 01 05"},
    {"UnknownSubTagInRecord", "88 00 80 06 09 01 55 01 01 04 C0 00 01 05"},
    {"ShortLengthFormOfRecord", "88 00 03 01 01 04 C0 00 01 05"},
    {"LandAtBufferEnd", "C0 00 01 05"},
    {"LandThenEndMarker", "C0 00 01 05 FF 00 00 00"},
};

INSTANTIATE_TEST_SUITE_P(TaggedImage, ReadsAndSkips, ::testing::ValuesIn(kSkipRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TaggedImage, UnknownSubTagKeepsTheRecordsOtherItems) {
    Bytes image = Hex("88 00 80 0A 09 01 55 01 01 04 02 02 00 07");
    ASSERT_TRUE(Parse(image));
    uint16_t tlnIdx = 0;
    EXPECT_EQ(MoxGetMfrMode(&d, &tlnIdx), 4);
    EXPECT_EQ(tlnIdx, 7);
}

TEST_F(TaggedImage, TypeReadFromImageRunsNoCascade) {
    ASSERT_TRUE(MoxSetTlnRnr(&d, 1, "77"));
    Bytes image = Hex("C0 07 01 02"); // TypeIT 2
    ASSERT_TRUE(Parse(image));
    EXPECT_EQ(MoxGetTypeIT(&d), eIT_Pello);
    EXPECT_EQ(MoxGetTypeBSM(&d), 0);
    EXPECT_EQ(MoxGetTlnBusAdr(&d, 1), 2);
    char rnr[MOX_TLNRNR_SIZE];
    ASSERT_TRUE(MoxGetTlnRnr(&d, 1, rnr, sizeof rnr));
    EXPECT_STREQ(rnr, "77");
}

TEST_F(TaggedImage, IndexedItemsReadUpToTableCapacity) {
    // Subscriber 30 and group 10 exist in the tables even while type 1 uses
    // only 3 and 5 of them; what is read must not depend on the order of items.
    Bytes image = Hex("A0 1E 80 04 03 02 45 6F C0 07 01 02 8C 0A 80 03 05 01 04");
    ASSERT_TRUE(Parse(image));
    EXPECT_STREQ(d.Tln[30].Rnr, "456");
    EXPECT_EQ(d.PG[10].TlnIdx, 4);
}

TEST_F(TaggedImage, OptionSubTagsActOnTheirBitWhateverTheMode) {
    // Mode 1 with item 39 (the time switch's 0x01) and 41 (0x04) set.
    Bytes image = Hex("86 00 80 09 01 01 01 27 01 01 29 01 01");
    ASSERT_TRUE(Parse(image));
    EXPECT_EQ(d.Mfe.Options, 0x05);
    // A right or option byte other than 1 clears.
    Bytes clear = Hex("86 00 80 06 29 01 02 27 01 00");
    ASSERT_TRUE(Parse(clear));
    EXPECT_EQ(d.Mfe.Options, 0x00);
}

TEST_F(TaggedImage, MissingOptionItemsLeaveTheBits) {
    ASSERT_TRUE(MoxSetMfeMeldefkt(&d, 1, "", 1, "", 0xFF, "", 0, 0, 1, 0, 0));
    const uint16_t options = d.Mfe.Options;
    Bytes image = Hex("86 00 80 05 01 01 01 13 00");
    ASSERT_TRUE(Parse(image));
    EXPECT_EQ(d.Mfe.Options, options);
}

TEST_F(TaggedImage, TextsAndNumbersAreCutToTheirFields) {
    // A 20-character provider name into a field of 15, 26 digits into 24.
    Bytes image = Hex("81 80 00 80 26 01 14 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51"
                      " 52 53 54 02 0E 12 34 56 78 90 12 34 56 78 90 12 34 56 FF");
    ASSERT_EQ(image.size(), 3 + 2 + 0x26);
    ASSERT_TRUE(Parse(image));
    EXPECT_STREQ(d.SMS[0].Provider, "ABCDEFGHIJKLMNO");
    EXPECT_STREQ(d.SMS[0].Rnr, "123456789012345678901234");
}

TEST_F(TaggedImage, CheckPassChangesNothing) {
    Bytes image = Hex("C0 00 01 05 A0 00 80 04 03 02 45 6F");
    MoxSetStreamBuffer(&d, image.data(), image.size());
    EXPECT_TRUE(MoxReadTaggedData(&d, false));
    EXPECT_EQ(MoxGetLand(&d), 1);
    EXPECT_STREQ(d.Tln[0].Rnr, "");
}

TEST_F(TaggedImage, LoadWithoutBufferReadsTheOwnBuffer) {
    MoxSetStreamIntern(&d);
    MoxSetLand(&d, 3);
    ASSERT_TRUE(MoxSetRnr(&d, "0815"));
    ASSERT_GT(MoxWriteTaggedData(&d, eTaggedData_SysData, 0, true), 0);
    ASSERT_TRUE(MoxLoadDaten(&d, nullptr, 0));
    EXPECT_EQ(MoxGetLand(&d), 3);
    EXPECT_STREQ(d.Rnr, "0815");
}

// -------------------------------------------------------------------- trace

std::vector<std::string> g_traceLines;

void CollectTrace(int, const char* text) {
    g_traceLines.emplace_back(text);
}

TEST_F(TaggedImage, SubscriberAddressesAreTracedWhenWritten) {
    g_traceLines.clear();
    MoxSetTraceHook(CollectTrace);
    ASSERT_TRUE(MoxSetTlnBusAdr(&d, 1, 0x1A2));
    MoxWriteTaggedData(&d, eTaggedData_Tln, 1, false); // only counts
    MoxWriteTaggedData(&d, eTaggedData_Tln, 1, true);
    MoxSetIO_TlnAdr(&d, 0);
    MoxWriteTaggedData(&d, eTaggedData_Tln, 1, true); // no addresses, no line
    MoxSetTraceHook(nullptr);
    ASSERT_EQ(g_traceLines.size(), 1u);
    EXPECT_EQ(g_traceLines[0], "write tln[1] Busadr(0x01a2) LogAdr(0x0002)");
}

} // namespace
