// Bus telegram layouts: what the program builds, how received telegrams are
// read, and that no getter believes a length the telegram does not hold.

#include "TLumenMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Raw(const TTkDataMsg& msg) {
    return Bytes(msg.GetBuffer(), msg.GetBuffer() + msg.GetLen());
}

TLumenMessage Received(const Bytes& b) {
    return TLumenMessage(std::span<const std::uint8_t>(b.data(), b.size()));
}

// ---- Built telegrams -------------------------------------------------------

struct BuiltCase {
    const char* name;
    eEvQuell subType;
    std::uint16_t block;
    Bytes expected;
};

class BuiltQuellTelegram : public testing::TestWithParam<BuiltCase> {};

TEST_P(BuiltQuellTelegram, HasItsLayout) {
    const BuiltCase& c = GetParam();
    const TLumenMessage msg(c.subType, c.block, LUMEN_ADR_BOX);
    EXPECT_EQ(Raw(msg), c.expected);
    EXPECT_EQ(msg.GetKind(), TLumenMessage::eBuilt);
    EXPECT_EQ(msg.GetCmd(), c.subType);
    EXPECT_EQ(msg.GetBlockNumber(), c.block);
}

INSTANTIATE_TEST_SUITE_P(
    SubTypes, BuiltQuellTelegram,
    testing::Values(
        // Block numbers go out low byte first.
        BuiltCase{"DataFirst", eEvQuellDataFirst, 0x0102, {0x70, 0x43, 0xF0, 0, 0x02, 0x01, 0}},
        BuiltCase{"Data", eEvQuellData, 1, {0x70, 0x43, 0xF0, 1, 0x01, 0x00, 0}},
        BuiltCase{"DataEnd", eEvQuellDataEnd, 2, {0x70, 0x43, 0xF0, 2, 0x02, 0x00, 0}},
        BuiltCase{"Ack", eEvQuellAck, 0x0304, {0x70, 0x43, 0xF0, 3, 0x04, 0x03}},
        BuiltCase{"Nak", eEvQuellNak, 7, {0x70, 0x43, 0xF0, 4, 0x07, 0x00}},
        BuiltCase{"Kennung", eEvQuellKennung, 0, {0x70, 0x43, 0xF0, 5, 0, 0, 0}},
        BuiltCase{"UnknownSubType", static_cast<eEvQuell>(6), 9, {0x70, 0x43, 0xF0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BuiltFrameTelegram, StartAndEndAreThreeBytesToTheTarget) {
    EXPECT_EQ(Raw(TLumenMessage(eLumenKonfigStart, 0, LUMEN_ADR_BROADCAST)),
              (Bytes{0xFF, 0x07, 0xF0}));
    EXPECT_EQ(Raw(TLumenMessage(eLumenKonfigEnde, 0, LUMEN_ADR_BROADCAST)),
              (Bytes{0xFF, 0x08, 0xF0}));
}

TEST(BuiltQuellTelegramData, SetDataFillsLengthAndAlwaysGives23Bytes) {
    TLumenMessage msg(eEvQuellData, 1, LUMEN_ADR_BOX);
    const std::uint8_t data[] = {1, 2, 3};
    ASSERT_TRUE(msg.SetData(data, 3));
    EXPECT_EQ(msg.GetLen(), 23);
    EXPECT_EQ(msg.GetDataLen(), 3);
    EXPECT_EQ(msg.GetBuffer()[6], 3);
    EXPECT_EQ(Bytes(msg.GetData(), msg.GetData() + 3), (Bytes{1, 2, 3}));
    // The rest of the data field keeps the erased value.
    EXPECT_EQ(msg.GetBuffer()[10], 0xFF);

    TLumenMessage empty(eEvQuellDataEnd, 1, LUMEN_ADR_BOX);
    ASSERT_TRUE(empty.SetData(nullptr, 0));
    EXPECT_EQ(empty.GetLen(), 23);
    EXPECT_EQ(empty.GetDataLen(), 0);
}

TEST(BuiltQuellTelegramData, TooMuchOrMissingDataIsRefusedAndChangesNothing) {
    TLumenMessage msg(eEvQuellData, 1, LUMEN_ADR_BOX);
    const Bytes before = Raw(msg);
    std::uint8_t data[17] = {};
    EXPECT_FALSE(msg.SetData(data, 17));
    EXPECT_FALSE(msg.SetData(nullptr, 4));
    EXPECT_EQ(Raw(msg), before);
}

TEST(ReceivedQuellTelegramData, SetDataOnAReceivedTelegramChangesNothing) {
    TLumenMessage msg = Received({0xF0, 0x43, 0x70, 1, 0, 1, 2, 9, 9});
    const Bytes before = Raw(msg);
    const std::uint8_t data[] = {1};
    EXPECT_FALSE(msg.SetData(data, 1));
    EXPECT_EQ(Raw(msg), before);
}

// ---- Received telegrams ----------------------------------------------------

TEST(ReceivedQuellTelegram, BlockNumberIsReadHighByteFirst) {
    const TLumenMessage msg = Received({0xF0, 0x43, 0x70, 3, 0x01, 0x02});
    EXPECT_EQ(msg.GetKind(), TLumenMessage::eReceived);
    EXPECT_EQ(msg.GetCmd(), eEvQuellAck);
    EXPECT_EQ(msg.GetBlockNumber(), 0x0102);
}

struct DataLenCase {
    const char* name;
    Bytes tele;
    std::uint16_t expected;
};

class ReceivedDataLen : public testing::TestWithParam<DataLenCase> {};

TEST_P(ReceivedDataLen, NeverExceedsTheBytesPresent) {
    const DataLenCase& c = GetParam();
    const TLumenMessage msg = Received(c.tele);
    ASSERT_TRUE(msg.IsValid());
    EXPECT_EQ(msg.GetDataLen(), c.expected);
    // Whatever the length says, it stays inside the raw telegram.
    if (msg.GetDataLen()) {
        EXPECT_LE(msg.GetData() + msg.GetDataLen(), msg.GetBuffer() + LUMEN_RAW_LEN);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ReceivedDataLen,
    testing::Values(
        DataLenCase{
            "FullTelegram",
            {0xF0, 0x43, 0x70, 1, 0, 1, 16, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
            16},
        DataLenCase{"LengthByteSmaller", {0xF0, 0x43, 0x70, 1, 0, 1, 2, 1, 2, 3, 4}, 2},
        DataLenCase{"LengthByteLargerThanPresent", {0xF0, 0x43, 0x70, 1, 0, 1, 16, 1, 2, 3}, 3},
        DataLenCase{"LengthByteAbove16",
                    {0xF0, 0x43, 0x70, 1,  0,  1,  200, 1,  2,  3,  4,  5, 6,
                     7,    8,    9,    10, 11, 12, 13,  14, 15, 16, 17, 18},
                    16},
        DataLenCase{"HeaderOnly", {0xF0, 0x43, 0x70, 2, 0, 1, 5}, 0},
        DataLenCase{"NoLengthByte", {0xF0, 0x43, 0x70, 3, 0, 1}, 0},
        DataLenCase{"ThreeBytes", {0xF0, 0x43, 0x70}, 0}, DataLenCase{"TwoBytes", {0xF0, 0x43}, 0},
        DataLenCase{"OneByte", {0xF0}, 0}, DataLenCase{"Empty", {}, 0},
        DataLenCase{"ForeignFunctionShort", {0xF0, 0x07, 0x70}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReceivedQuellTelegram, TwentySixBytesOrMoreIsInvalidAndHoldsNothing) {
    const Bytes longTele(26, 0x43);
    const TLumenMessage msg = Received(longTele);
    EXPECT_FALSE(msg.IsValid());
    EXPECT_EQ(msg.GetLen(), 0);
    EXPECT_EQ(msg.GetDataLen(), 0);

    const Bytes longest(25, 0x10);
    EXPECT_TRUE(Received(longest).IsValid());
}

TEST(ReceivedQuellTelegram, MissingBytesAreInvalid) {
    const TLumenMessage msg(
        std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(nullptr), std::size_t{5}));
    EXPECT_FALSE(msg.IsValid());
}

// ---- Received programming telegrams -----------------------------------------

struct ProgCase {
    const char* name;
    Bytes tele;
    std::uint8_t cmd;
    std::uint16_t bsg, kenniffer, btlm, kombus, bsm;
    std::uint8_t relais, fehlerMode, fehlerTyp;
};

class ReceivedProgTelegram : public testing::TestWithParam<ProgCase> {};

TEST_P(ReceivedProgTelegram, GettersReadLowByteFirst) {
    const ProgCase& c = GetParam();
    const TLumenMessage msg = Received(c.tele);
    EXPECT_EQ(msg.GetKind(), TLumenMessage::eReceivedProg);
    EXPECT_EQ(msg.GetCmd(), c.cmd);
    EXPECT_EQ(msg.GetAdrBSG(), c.bsg);
    EXPECT_EQ(msg.GetBSGKenniffer(), c.kenniffer);
    EXPECT_EQ(msg.GetAdrBTLM(), c.btlm);
    EXPECT_EQ(msg.GetAdrKomBus(), c.kombus);
    EXPECT_EQ(msg.GetAdrBSM(), c.bsm);
    EXPECT_EQ(msg.GetBSMRelais(), c.relais);
    EXPECT_EQ(msg.GetFehlerMode(), c.fehlerMode);
    EXPECT_EQ(msg.GetFehlerTyp(), c.fehlerTyp);
    EXPECT_EQ(msg.GetData(), nullptr);
    EXPECT_EQ(msg.GetDataLen(), 0);
    EXPECT_EQ(msg.GetBlockNumber(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ReceivedProgTelegram,
    testing::Values(
        ProgCase{"ProgModeAkt",
                 {0xF0, '/', 0x70, 3, 0x34, 0x12, 0x78, 0x56},
                 3,
                 0x1234,
                 0x5678,
                 0,
                 0,
                 0,
                 0,
                 0,
                 0},
        ProgCase{"ProgQuitt",
                 {0xF0, '/', 0x70, 11, 0x22, 0x11, 0x44, 0x33},
                 11,
                 0,
                 0,
                 0x3344,
                 0x1122,
                 0,
                 0,
                 0,
                 0},
        ProgCase{"TlProgAkt", {0xF0, '/', 0x70, 24, 0x01, 0x02}, 24, 0, 0, 0x0201, 0, 0, 0, 0, 0},
        // The relay rides in the low byte of the second word, as in a
        // channel-3 block.
        ProgCase{"BsmProgAktiv",
                 {0xF0, '/', 0x70, 55, 0x40, 0x01, 2, 0},
                 55,
                 0,
                 0,
                 0,
                 0,
                 0x0140,
                 2,
                 0,
                 0},
        // ':' telegrams answer their function byte as the command.
        ProgCase{"ItFehler", {0xF0, ':', 0x70, 2, 4}, 58, 0, 0, 0, 0, 0, 0, 2, 4},
        ProgCase{"Function9", {0xF0, '9', 0x70, 1}, 57, 0, 0, 0, 0, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReceivedQuellTelegram, ProgrammingGettersAnswerZeroOnDataTelegrams) {
    const TLumenMessage msg = Received({0xF0, 0x43, 0x70, 3, 0x34, 0x12, 0x78, 0x56});
    EXPECT_EQ(msg.GetAdrBSG(), 0);
    EXPECT_EQ(msg.GetProt(), 0);
    EXPECT_EQ(msg.GetValue(), 0);
    std::uint16_t len = 99;
    EXPECT_EQ(msg.GetKBAList(len), nullptr);
    EXPECT_EQ(len, 0);
}

} // namespace
