// Block message and firmware block layouts, and the bounds of every getter
// on received bytes.

#include "TCommMessage.h"
#include "TDownloadMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Raw(const TTkDataMsg& msg) {
    return Bytes(msg.GetBuffer(), msg.GetBuffer() + msg.GetLen());
}

std::span<const std::uint8_t> Span(const Bytes& b) {
    return {b.data(), b.size()};
}

// ---- Built block messages --------------------------------------------------

TEST(BuiltCommMessage, HeaderHasBlockHighByteFirstAndErasedValue) {
    const TCommMessage msg(eEvConfDataReq, 0x0102, eProtKonfig);
    EXPECT_EQ(Raw(msg), (Bytes{0, 5, 0x01, 0x02, 0xFF, 0xFF}));
    EXPECT_EQ(msg.GetBlockNumber(), 0x0102);
    EXPECT_EQ(msg.GetValue(), 0xFFFF);
    EXPECT_EQ(msg.GetDataLen(), 0);
}

TEST(BuiltCommMessage, DataAndValueOnTheConfigurationChannel) {
    TCommMessage msg(eEvConfDataFirst, 0, eProtKonfig);
    const std::uint8_t data[] = {0xAA, 0xBB};
    ASSERT_TRUE(msg.SetData(data, 2));
    ASSERT_TRUE(msg.SetValue(0x0304));
    EXPECT_EQ(Raw(msg), (Bytes{0, 2, 0, 0, 0x03, 0x04, 0xAA, 0xBB}));
    EXPECT_EQ(msg.GetDataLen(), 2);
    EXPECT_EQ(msg.GetValue(), 0x0304);
}

TEST(BuiltCommMessage, FullBlockTakes1024BytesAndNoMore) {
    TCommMessage msg(eEvConfData, 1, eProtKonfig);
    const Bytes data(1025, 0x5A);
    EXPECT_FALSE(msg.SetData(data.data(), 1025));
    EXPECT_EQ(msg.GetLen(), 6);
    ASSERT_TRUE(msg.SetData(data.data(), 1024));
    EXPECT_EQ(msg.GetLen(), 1030);
    EXPECT_EQ(msg.GetDataLen(), 1024);
}

TEST(BuiltCommMessage, EventLogRequestTakesNeitherDataNorValue) {
    TCommMessage msg(eEvConfEvLogDataReq, 3, eProtEventLog);
    const Bytes before = Raw(msg);
    const std::uint8_t data[] = {1};
    EXPECT_FALSE(msg.SetData(data, 1));
    EXPECT_FALSE(msg.SetValue(1));
    EXPECT_EQ(Raw(msg), before);
    EXPECT_EQ(msg.GetCmd(), eEvConfEvLogDataReq);
    EXPECT_EQ(msg.GetBlockNumber(), 3);
}

TEST(ProgrammingMessage, ElevenBytesOrTwelveWithIndex) {
    const TCommMessage msg(eProtProg, 23, 0x0102, 0x0304);
    EXPECT_EQ(Raw(msg), (Bytes{3, 0, 0, 0, 0, 0, 23, 0x01, 0x02, 0x03, 0x04}));
    EXPECT_EQ(msg.GetCmd(), 23);
    EXPECT_EQ(msg.GetProgCmd(), 23);
    EXPECT_EQ(msg.GetBlockNumber(), 0);
    EXPECT_EQ(msg.GetData(), nullptr);

    TCommMessage withIndex(eProtProg, 67, 0x0010, 0x0020);
    withIndex.SetIndex(2);
    EXPECT_EQ(withIndex.GetLen(), 12);
    EXPECT_EQ(withIndex.GetBuffer()[11], 2);
}

// ---- Received block messages -----------------------------------------------

TEST(ReceivedCommMessage, ChannelBit7IsClearedSoTheAnswerIsAConfigurationMessage) {
    const Bytes b{0x80, eEvConfAck, 0, 1, 0xFF, 0xFF};
    const TCommMessage msg(Span(b));
    EXPECT_EQ(msg.GetProt(), 0);
    EXPECT_EQ(msg.GetCmd(), eEvConfAck);
    EXPECT_EQ(msg.GetBlockNumber(), 1);
}

TEST(ReceivedCommMessage, SetDataOnAReceivedBlockChangesNothing) {
    const Bytes b{0, eEvConfData, 0, 1, 0xFF, 0xFF, 7};
    TCommMessage msg(Span(b));
    const std::uint8_t data[] = {1, 2};
    EXPECT_FALSE(msg.SetData(data, 2));
    EXPECT_EQ(Raw(msg), b);
}

struct ReceivedLenCase {
    const char* name;
    Bytes bytes;
    bool valid;
    std::uint16_t dataLen;
};

class ReceivedCommLen : public testing::TestWithParam<ReceivedLenCase> {};

TEST_P(ReceivedCommLen, DataLengthNeverPassesTheBytesPresent) {
    const ReceivedLenCase& c = GetParam();
    const TCommMessage msg(Span(c.bytes));
    EXPECT_EQ(msg.IsValid(), c.valid);
    EXPECT_EQ(msg.GetDataLen(), c.dataLen);
    EXPECT_LE(msg.GetDataLen() + (msg.GetDataLen() ? COMM_HEADER_LEN : 0), msg.GetLen());
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ReceivedCommLen,
    testing::Values(ReceivedLenCase{"Empty", {}, true, 0}, ReceivedLenCase{"OneByte", {0}, true, 0},
                    ReceivedLenCase{"FiveBytes", {0, 3, 0, 1, 0}, true, 0},
                    ReceivedLenCase{"HeaderOnly", {0, 3, 0, 1, 0, 0}, true, 0},
                    ReceivedLenCase{"OneDataByte", {0, 3, 0, 1, 0, 0, 9}, true, 1},
                    ReceivedLenCase{"FullBlock", Bytes(1030, 0), true, 1024},
                    ReceivedLenCase{"OneByteTooMany", Bytes(1031, 0), false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReceivedCommMessage, KbaListLengthIsClampedToTheBytesPresent) {
    const Bytes shortList{3, 0, 0, 0, 0, 0, 65};
    std::uint16_t len = 99;
    EXPECT_EQ(TCommMessage(Span(shortList)).GetKBAList(len), nullptr);
    EXPECT_EQ(len, 0);

    const Bytes list{3, 0, 0, 0, 0, 0, 65, 0x00, 0x05, 0x00, 0x07};
    const TCommMessage msg(Span(list));
    const std::uint8_t* p = msg.GetKBAList(len);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(len, 4);
    EXPECT_EQ(p[1], 0x05);
}

struct ProgGetterCase {
    const char* name;
    Bytes bytes;
    std::uint16_t bsg, kenniffer, btlm, kombus, bsm;
    std::uint8_t relais, fehlerMode, fehlerTyp;
    std::uint16_t kbaCount;
    std::uint8_t kbaAnswer;
};

class ReceivedProgBlock : public testing::TestWithParam<ProgGetterCase> {};

TEST_P(ReceivedProgBlock, GettersReadHighByteFirst) {
    const ProgGetterCase& c = GetParam();
    const TCommMessage msg(Span(c.bytes));
    EXPECT_EQ(msg.GetAdrBSG(), c.bsg);
    EXPECT_EQ(msg.GetBSGKenniffer(), c.kenniffer);
    EXPECT_EQ(msg.GetAdrBTLM(), c.btlm);
    EXPECT_EQ(msg.GetAdrKomBus(), c.kombus);
    EXPECT_EQ(msg.GetAdrBSM(), c.bsm);
    EXPECT_EQ(msg.GetBSMRelais(), c.relais);
    EXPECT_EQ(msg.GetFehlerMode(), c.fehlerMode);
    EXPECT_EQ(msg.GetFehlerTyp(), c.fehlerTyp);
    EXPECT_EQ(msg.GetKBACount(), c.kbaCount);
    EXPECT_EQ(msg.GetKBAAnswer(), c.kbaAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ReceivedProgBlock,
    testing::Values(
        ProgGetterCase{"ProgModeAkt",
                       {3, 0, 0, 0, 0, 0, 3, 0x12, 0x34, 0x56, 0x78},
                       0x1234,
                       0x5678,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0},
        ProgGetterCase{"HtProgPas",
                       {3, 0, 0, 0, 0, 0, 6, 0x12, 0x34, 0x56, 0x78},
                       0x1234,
                       0,
                       0,
                       0x5678,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0},
        ProgGetterCase{"ProgQuitt",
                       {3, 0, 0, 0, 0, 0, 11, 0x12, 0x34, 0x56, 0x78},
                       0,
                       0,
                       0x5678,
                       0x1234,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0},
        ProgGetterCase{"TlProgVideo",
                       {3, 0, 0, 0, 0, 0, 25, 0x12, 0x34, 0, 0},
                       0,
                       0,
                       0x1234,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0},
        ProgGetterCase{"BsmProgAktiv",
                       {3, 0, 0, 0, 0, 0, 55, 0x12, 0x34, 0, 6},
                       0,
                       0,
                       0,
                       0,
                       0x1234,
                       6,
                       0,
                       0,
                       0,
                       0},
        ProgGetterCase{
            "ItFehler", {3, 0, 0, 0, 0, 0, 58, 2, 4, 0, 0}, 0, 0, 0, 0, 0, 0, 2, 4, 0, 0},
        ProgGetterCase{
            "KbaCounter", {3, 0, 0, 0, 0, 0, 70, 0, 8, 0x00, 0x1F}, 0, 0, 0, 0, 0, 0, 0, 0, 31, 8},
        // The same bytes on the configuration channel are no programming
        // block.
        ProgGetterCase{"NotChannel3",
                       {0, 0, 0, 0, 0, 0, 3, 0x12, 0x34, 0x56, 0x78},
                       0,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReceivedCommMessage, UnknownChannelAnswers255AndNoData) {
    const Bytes b{0x70, 0x2F, 0x70, 3, 0, 0, 0};
    const TCommMessage msg(Span(b));
    EXPECT_EQ(msg.GetProt(), 0x70);
    EXPECT_EQ(msg.GetCmd(), 255);
    EXPECT_EQ(msg.GetData(), nullptr);
    EXPECT_EQ(msg.GetDataLen(), 0);
    EXPECT_EQ(msg.GetBlockNumber(), 0);
}

// ---- Firmware blocks -------------------------------------------------------

struct DownloadCase {
    const char* name;
    std::uint8_t cmd;
    std::uint16_t block;
    Bytes expected;
};

class BuiltDownloadMessage : public testing::TestWithParam<DownloadCase> {};

TEST_P(BuiltDownloadMessage, ShortCommandsAreTwoBytes) {
    const DownloadCase& c = GetParam();
    EXPECT_EQ(Raw(TDownloadMessage(c.cmd, c.block)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, BuiltDownloadMessage,
    testing::Values(DownloadCase{"Cmd0", 0, 7, {0x01, 0x00}},
                    DownloadCase{"Cmd4", 4, 7, {0x01, 0x04}},
                    DownloadCase{"Cmd10", 10, 7, {0x01, 10}},
                    DownloadCase{"Cmd33", 33, 7, {0x01, 33}},
                    DownloadCase{"Cmd3", 3, 0x0102, {0x01, 0x03, 0x01, 0x02, 0xFF, 0xFF}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadMessage, FullReceivedBlockOf1030BytesIsTaken) {
    Bytes b(1030, 0x11);
    b[0] = 0x81;
    b[1] = 5;
    b[2] = 0;
    b[3] = 9;
    const TDownloadMessage msg(Span(b));
    ASSERT_TRUE(msg.IsValid());
    EXPECT_EQ(msg.GetProt(), 1);
    EXPECT_EQ(msg.GetDataLen(), 1024);
    EXPECT_EQ(msg.GetBlockNumber(), 9);
    EXPECT_EQ(msg.GetCmd(), 5);

    EXPECT_FALSE(TDownloadMessage(Span(Bytes(1031, 0x01))).IsValid());
}

TEST(DownloadMessage, CameraDeviceAndDataOnAnyChannel) {
    TDownloadMessage msg(3, 1);
    ASSERT_TRUE(msg.SetProt(2));
    const Bytes data(1024, 0x22);
    ASSERT_TRUE(msg.SetData(data.data(), 1024));
    EXPECT_EQ(msg.GetLen(), 1030);
    EXPECT_EQ(msg.GetDataLen(), 1024);
    EXPECT_FALSE(msg.SetData(data.data(), 1025));
    // Channels other than the two devices carry no firmware.
    msg.SetProt(0);
    EXPECT_EQ(msg.GetData(), nullptr);
    EXPECT_EQ(msg.GetDataLen(), 0);
    EXPECT_EQ(msg.GetCmd(), 255);
}

TEST(DownloadMessage, ShortReceivedBlockAnswersNoDataLength) {
    const Bytes b{0x01, 5, 0};
    const TDownloadMessage msg(Span(b));
    EXPECT_EQ(msg.GetDataLen(), 0);
}

} // namespace
