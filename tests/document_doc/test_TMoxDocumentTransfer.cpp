// The configuration to and from the box: the package sequence of a send
// against a fake controller, the refusal of a package larger than a block,
// and the read with its check of the received image.

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>

#include <ostream>

#include "DocTestSupport.h"
#include "MoxAccess.h"
#include "TaggedStream.h"

namespace {

std::int32_t FirstTag(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> copy = bytes;
    TaggedStream stream{};
    TagStrAttach(&stream, copy.data(), copy.size());
    std::int32_t tag = TAGSTR_END;
    TagStrReadTag(&stream, &tag);
    return tag;
}

// The first tag of every package a send of this configuration must carry,
// in order. Subscriber 0 and group 0 go out even when none is in use.
std::vector<std::int32_t> ExpectedTags(int anzTln, int anzPG, bool kmr) {
    std::vector<std::int32_t> tags = {0x2000, 0x500};
    for (int i = 0; i < std::max(anzTln, 1); ++i)
        tags.push_back(0x1000 + i);
    for (int i = 0; i < std::max(anzPG, 1); ++i)
        tags.push_back(0x600 + i);
    tags.push_back(0x300);
    tags.push_back(0x400);
    for (int i = 0; i < 12; ++i)
        tags.push_back(0x200 + i);
    for (int i = 0; i < 12; ++i)
        tags.push_back(0x100 + i);
    tags.push_back(0x3000);
    for (int i = 0; i < 10; ++i)
        tags.push_back(0x4000 + i);
    if (kmr)
        tags.push_back(0x800);
    return tags;
}

// ----------------------------------------------------------------- sequence

struct SequenceRow {
    const char* name;
    std::uint8_t typeIT;
    std::uint8_t typeKMR;
    int anzTln;
    int anzPG;

    friend void PrintTo(const SequenceRow& row, std::ostream* os) { *os << row.name; }
};

enum class Owner { Document, MainWindowLoop };

class PackageSequence : public DocTest,
                        public ::testing::WithParamInterface<std::tuple<SequenceRow, Owner>> {};

TEST_P(PackageSequence, SendsEverySectionInOrderAndEndsWithAnEmptyPackage) {
    const SequenceRow& row = std::get<0>(GetParam());
    m_Transfer.mainWindowLoop = std::get<1>(GetParam()) == Owner::MainWindowLoop;
    auto doc = MakeDoc();
    doc->SetTypeIT(row.typeIT);
    doc->SetTypeKMR(row.typeKMR);
    ASSERT_EQ(doc->GetAnzTln(), row.anzTln);
    ASSERT_EQ(doc->GetAnzPG(), row.anzPG);

    ASSERT_TRUE(doc->StartWriteAnlDataToComPort(true));

    EXPECT_EQ(m_Transfer.mode, eDocSendAnlDaten);
    EXPECT_EQ(m_Transfer.infoText, "sending");
    EXPECT_EQ(m_Transfer.teleAnz, row.anzPG + 39 + row.anzTln + 1);
    ASSERT_TRUE(m_Transfer.endedWithEmptyPackage);

    std::vector<std::int32_t> tags;
    for (const SentPackage& p : m_Transfer.sent) {
        EXPECT_FALSE(p.bytes.empty()) << "an empty package was handed over as a block";
        EXPECT_LE(p.bytes.size(), 1024u);
        tags.push_back(FirstTag(p.bytes));
    }
    EXPECT_EQ(tags, ExpectedTags(row.anzTln, row.anzPG, row.typeKMR != 0));

    ASSERT_GE(m_Transfer.sent.size(), 2u);
    EXPECT_EQ(m_Transfer.sent.front().cmd, BlockCmd::First);
    for (size_t i = 1; i + 1 < m_Transfer.sent.size(); ++i)
        EXPECT_EQ(m_Transfer.sent[i].cmd, BlockCmd::Data) << "package " << i;
    EXPECT_EQ(m_Transfer.sent.back().cmd, BlockCmd::End);

    // Outside a send the document is back to writing files.
    EXPECT_EQ(doc->GetWriteState(), TMoxDocument::kWriteStateIdle);
    EXPECT_EQ(doc->GetDaten()->IO_TlnAdr, 1);
    EXPECT_EQ(doc->GetDaten()->IO_Version, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Types, PackageSequence,
    ::testing::Combine(::testing::Values(SequenceRow{"Type0", eIT_Undefined, 0, 0, 0},
                                         SequenceRow{"Type0Camera", eIT_Undefined, 1, 0, 0},
                                         SequenceRow{"Nivo", eIT_Nivo, 0, 3, 5},
                                         SequenceRow{"NivoCamera", eIT_Nivo, 1, 3, 5},
                                         SequenceRow{"Pello", eIT_Pello, 0, 31, 11},
                                         SequenceRow{"PelloCamera", eIT_Pello, 1, 31, 11},
                                         SequenceRow{"Quarz", eIT_Quarz, 0, 4, 6},
                                         SequenceRow{"QuarzCamera", eIT_Quarz, 1, 4, 6}),
                       ::testing::Values(Owner::Document, Owner::MainWindowLoop)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == Owner::Document ? "" : "_MainWindowLoop");
    });

// "A0 00 80 0B" -> bytes.
std::vector<std::uint8_t> Hex(const std::string& text) {
    std::vector<std::uint8_t> out;
    std::istringstream in(text);
    for (std::string pair; in >> pair;)
        out.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
    return out;
}

class TypeZeroSend : public DocTest, public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(TypeZeroSend, CarriesSubscriberZeroAndGroupZero) {
    auto doc = MakeDoc();
    doc->SetTypeIT(eIT_Undefined);
    doc->SetTypeKMR(GetParam());
    ASSERT_EQ(doc->GetAnzTln(), 0);
    ASSERT_EQ(doc->GetAnzPG(), 0);

    ASSERT_TRUE(doc->StartWriteAnlDataToComPort(true));

    // The count told to the box stays that of the types in use.
    EXPECT_EQ(m_Transfer.teleAnz, 0 + 39 + 0 + 1);
    const bool camera = GetParam() != 0;
    ASSERT_EQ(m_Transfer.sent.size(), 41u + (camera ? 1 : 0));
    // Subscriber 0 and group 0 as the record holds them (the defaults),
    // right after the concierge package.
    EXPECT_EQ(m_Transfer.sent[2].bytes, Hex("A0 00 80 0B 01 01 01 04 01 01 02 00 03 01 FF"));
    EXPECT_EQ(m_Transfer.sent[3].bytes,
              Hex("8C 00 80 60 01 01 FF 02 01 FF 03 01 FF 04 01 FF 05 02 FF FF"
                  " 06 00 07 00 08 00 09 00 10 01 01 11 01 01 13 01 01 14 01 01"
                  " 20 00 25 00 21 01 01 26 00 22 00 23 00 24 00"
                  " 40 01 01 41 01 01 42 01 01 43 01 01 44 01 01 45 01 01 46 01 01"
                  " 30 00 31 00 32 00 33 00 34 00 35 00 36 00 37 00 38 00 39 00 3A 00 3B 00"));
    EXPECT_EQ(FirstTag(m_Transfer.sent[4].bytes), 0x300);
    EXPECT_EQ(FirstTag(m_Transfer.sent.back().bytes), camera ? 0x800 : 0x4009);
    EXPECT_TRUE(m_Transfer.endedWithEmptyPackage);
}

INSTANTIATE_TEST_SUITE_P(Camera, TypeZeroSend, ::testing::Values(0, 1), [](const auto& info) {
    return std::string(info.param ? "WithCamera" : "WithoutCamera");
});

TEST_F(DocTest, SendWithoutSubscriberAddressesLeavesThemOut) {
    auto doc = MakeDoc();
    ASSERT_TRUE(doc->StartWriteAnlDataToComPort(false));
    MoxDaten copy = *doc->GetDaten();
    MoxSetIO_TlnAdr(&copy, 0);
    const uint16_t without = MoxWriteTaggedData(&copy, eTaggedData_Tln, 0, false);
    MoxSetIO_TlnAdr(&copy, 1);
    const uint16_t with = MoxWriteTaggedData(&copy, eTaggedData_Tln, 0, false);
    ASSERT_LT(without, with);
    ASSERT_GE(m_Transfer.sent.size(), 3u);
    EXPECT_EQ(FirstTag(m_Transfer.sent[2].bytes), 0x1000);
    EXPECT_EQ(m_Transfer.sent[2].bytes.size(), without);
    EXPECT_EQ(doc->GetDaten()->IO_TlnAdr, 1) << "files carry the addresses again";
}

TEST_F(DocTest, FailedSendReportsFailureAndResets) {
    m_Transfer.result = eDocTransferFailed;
    auto doc = MakeDoc();
    EXPECT_FALSE(doc->StartWriteAnlDataToComPort(true));
    EXPECT_EQ(doc->GetWriteState(), TMoxDocument::kWriteStateIdle);
    EXPECT_EQ(doc->GetDaten()->IO_Version, 1);
}

TEST_F(DocTest, SendWithoutControllerFails) {
    auto doc = MakeDoc();
    doc->SetDataTransfer(nullptr);
    EXPECT_FALSE(doc->StartWriteAnlDataToComPort(true));
    EXPECT_FALSE(doc->ReadAnlDataFromComPort());
}

// ----------------------------------------------------------------- block limit

// Fills all 32 name texts (12 inputs, 12 outputs, 7 doors and the floor
// call; each item is 2 tag bytes + 1 length byte + the text, so 1056 bytes
// when every text is full) and then takes `shorter` characters off the floor
// call and, beyond its 30, off the last door.
void FillTexts(TMoxDocument& doc, size_t shorter) {
    const std::string full(30, 'X');
    for (std::uint8_t i = 0; i < 12; ++i) {
        doc.SetMeldeeingangsText(i, full.c_str());
        doc.SetSchaltausgangsText(i, full.c_str());
    }
    for (std::uint8_t i = 0; i < 7; ++i)
        doc.SetTuerrufText(i, full.c_str());
    const size_t floorCut = std::min<size_t>(shorter, 30);
    doc.SetEtagenrufText(std::string(30 - floorCut, 'Y').c_str());
    doc.SetTuerrufText(6, std::string(30 - (shorter - floorCut), 'Z').c_str());
}

struct LimitRow {
    const char* name;
    size_t shorter;
    size_t packageLen;
    bool sent;

    friend void PrintTo(const LimitRow& row, std::ostream* os) { *os << row.name; }
};

class BlockLimit : public DocTest, public ::testing::WithParamInterface<LimitRow> {};

TEST_P(BlockLimit, TextsLargerThanOneBlockRefuseTheWholeSend) {
    auto doc = MakeDoc();
    FillTexts(*doc, GetParam().shorter);
    MoxDaten copy = *doc->GetDaten();
    ASSERT_EQ(MoxWriteTaggedData(&copy, eTaggedData_Texte, 0, false), GetParam().packageLen);

    EXPECT_EQ(doc->StartWriteAnlDataToComPort(true), GetParam().sent);
    if (GetParam().sent) {
        EXPECT_EQ(m_Transfer.modalRuns, 1);
        EXPECT_TRUE(m_MessageBox.shown.empty());
        return;
    }
    // Nothing reached the controller, not even the first block.
    EXPECT_EQ(m_Transfer.modalRuns, 0);
    EXPECT_EQ(m_Transfer.mode, 0);
    EXPECT_EQ(m_Transfer.buf, nullptr);
    ASSERT_EQ(m_MessageBox.shown.size(), 1u);
    EXPECT_EQ(m_MessageBox.shown[0].textId, kDocTextTexteTooLong);
    EXPECT_EQ(m_MessageBox.shown[0].text, "texts too long");
    EXPECT_EQ(m_MessageBox.shown[0].icon, eDocMsgIconStop);
    EXPECT_EQ(doc->GetWriteState(), TMoxDocument::kWriteStateIdle);
    EXPECT_EQ(doc->GetDaten()->IO_TlnAdr, 1);
    EXPECT_EQ(doc->GetDaten()->IO_Version, 1);
}

INSTANTIATE_TEST_SUITE_P(Texts, BlockLimit,
                         ::testing::Values(LimitRow{"ExactlyOneBlock", 32, 1024, true},
                                           LimitRow{"OneByteOver", 31, 1025, false},
                                           LimitRow{"EveryFieldFull", 0, 1056, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ----------------------------------------------------------------- read

std::vector<std::uint8_t> ImageOf(TMoxDocument& doc) {
    MoxDaten copy = *doc.GetDaten();
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(&copy, image.data());
    return image;
}

TEST_F(DocTest, ReadFromTheBoxReplacesTheConfigurationAndMarksIt) {
    auto box = MakeDoc();
    box->SetTypeIT(eIT_Quarz);
    box->SetTlnRnr(3, "0815");
    m_Transfer.readImage = ImageOf(*box);

    auto doc = MakeDoc();
    ASSERT_TRUE(doc->ReadAnlDataFromComPort());
    EXPECT_EQ(m_Transfer.mode, eDocReceiveAnlDaten);
    EXPECT_EQ(m_Transfer.len, 32768u);
    EXPECT_EQ(m_Transfer.infoText, "reading");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetTypeIT(), eIT_Quarz);
    char rnr[24];
    ASSERT_TRUE(doc->GetTlnRnr(3, rnr, sizeof rnr));
    EXPECT_STREQ(rnr, "0815");
}

struct ReadFailRow {
    const char* name;
    int result;
    std::vector<std::uint8_t> image;

    friend void PrintTo(const ReadFailRow& row, std::ostream* os) { *os << row.name; }
};

class ReadFailure : public DocTest, public ::testing::WithParamInterface<ReadFailRow> {};

TEST_P(ReadFailure, KeepsTheConfiguration) {
    auto doc = MakeDoc();
    doc->SetTuermatik(9);
    ASSERT_TRUE(doc->WriteDocument(Path("x.ktx").c_str(), false));
    const std::vector<std::uint8_t> before = ImageOf(*doc);
    m_Transfer.result = GetParam().result;
    m_Transfer.readImage = GetParam().image;
    EXPECT_FALSE(doc->ReadAnlDataFromComPort());
    EXPECT_EQ(doc->GetTuermatik(), 9);
    EXPECT_EQ(ImageOf(*doc), before);
    EXPECT_FALSE(doc->IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Reads, ReadFailure,
    ::testing::Values(
        ReadFailRow{"TransferFailed", eDocTransferFailed, {0x0B, 0x01, 0x02}},
        ReadFailRow{"LengthBeyondTheImage", eDocTransferOk, {0x0B, 0x84, 0x00}},
        ReadFailRow{"BrokenRecord", eDocTransferOk, {0x8A, 0x00, 0x80, 0x04, 0x03, 0x09, 0x00}},
        // A box with an empty store: the read ends well with nothing in it.
        ReadFailRow{"NothingRead", eDocTransferOk, {}},
        // Well-formed, but not one item the reader knows.
        ReadFailRow{"OnlyZeros", eDocTransferOk, std::vector<std::uint8_t>(1024, 0x00)},
        ReadFailRow{"OnlyUnknownTags", eDocTransferOk, {0x07, 0x01, 0x05, 0x0D, 0x00, 0xBF, 0x7F, 0x00}},
        ReadFailRow{"TableIndexBeyondItsEnd", eDocTransferOk, {0xE0, 0x20, 0x01, 0x41}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
