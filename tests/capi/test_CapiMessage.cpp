// CAPI message layouts both ways: what the builders write, what the parser
// reads back, and the received messages it refuses.

#include "CapiMessage.h"
#include "CapiTestUtil.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using capitest::Bytes;
using P = CapiParam;
using Vec = std::vector<std::uint8_t>;

Vec BytesOf(const CapiMessage& m) {
    return Vec(m.Bytes(), m.Bytes() + m.GetTotalLen());
}

// CONNECT_REQ of a data call to "123" from "4711": controller 1, CIP 2,
// 64 kbit/s HDLC, transparent B2 and B3.
const Vec kConnectReq = {
    0x2A, 0x00, 0x01, 0x00, 0x02, 0x80, 0x05, 0x00,             // header: 42 bytes, appl 1, nr 5
    0x01, 0x00, 0x00, 0x00,                                     // controller
    0x02, 0x00,                                                 // CIP
    0x04, 0x80, 0x31, 0x32, 0x33,                               // called party number
    0x06, 0x00, 0x80, 0x34, 0x37, 0x31, 0x31,                   // calling party number
    0x00, 0x00,                                                 // called and calling subaddress
    0x09, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // B protocol
    0x00, 0x00, 0x00, 0x00,                                     // BC, LLC, HLC, additional info
};

// LISTEN_REQ for data calls (CIP mask 4) with the cause and display info mask.
const Vec kListenReq = {
    0x1A, 0x00, 0x01, 0x00, 0x05, 0x80, 0x07, 0x00, // header: 26 bytes, appl 1, nr 7
    0x01, 0x00, 0x00, 0x00,                         // controller
    0x41, 0x00, 0x00, 0x00,                         // info mask
    0x04, 0x00, 0x00, 0x00,                         // CIP mask
    0x00, 0x00, 0x00, 0x00,                         // CIP mask 2
    0x00, 0x00,                                     // calling number and subaddress
};

TEST(CapiMessageBuild, ConnectReqLayout) {
    CapiMessage m;
    m.Init(eCapiConnect, eCapiReq);
    EXPECT_EQ(m.GetTotalLen(), 14); // header, controller, CIP
    m.SetApplID(1);
    m.SetMsgNr(5);
    m.Set(P::Controller, 1);
    m.Set(P::CIP, 2);
    ASSERT_TRUE(m.AppendCalledPartyNumber("123"));
    ASSERT_TRUE(m.AppendCallingPartyNumber("4711", false));
    ASSERT_TRUE(m.AppendEmptyStruct());
    ASSERT_TRUE(m.AppendEmptyStruct());
    ASSERT_TRUE(m.AppendBProtocol(0, 1, 0));
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(m.AppendEmptyStruct());
    EXPECT_EQ(BytesOf(m), kConnectReq);
}

TEST(CapiMessageBuild, ListenReqLayout) {
    CapiMessage m;
    m.Init(eCapiListen, eCapiReq);
    EXPECT_EQ(m.GetTotalLen(), 24); // header and four dwords
    m.SetApplID(1);
    m.SetMsgNr(7);
    m.Set(P::Controller, 1);
    m.Set(P::InfoMask, 0x41);
    m.Set(P::CIPMask, 4);
    m.Set(P::CIPMask2, 0);
    m.AppendEmptyStruct();
    m.AppendEmptyStruct();
    EXPECT_EQ(BytesOf(m), kListenReq);
}

TEST(CapiMessageParse, ConnectReqReadsBack) {
    CapiMessage m;
    ASSERT_TRUE(m.Parse(kConnectReq.data(), kConnectReq.size()));
    EXPECT_EQ(m.GetApplID(), 1);
    EXPECT_EQ(m.GetMsgNr(), 5);
    EXPECT_EQ(m.Get(P::Controller), 1u);
    EXPECT_EQ(m.Get(P::CIP), 2u);
    const auto called = m.GetStruct(P::CalledPartyNumber);
    EXPECT_EQ(Vec(called.begin(), called.end()), (Vec{0x80, '1', '2', '3'}));
    const auto calling = m.GetStruct(P::CallingPartyNumber);
    EXPECT_EQ(Vec(calling.begin(), calling.end()), (Vec{0x00, 0x80, '4', '7', '1', '1'}));
    EXPECT_EQ(m.GetStruct(P::BProtocol).size(), 9u);
    EXPECT_TRUE(m.GetStruct(P::AdditionalInfo).empty());
    EXPECT_FALSE(m.Has(P::PLCI));
}

TEST(CapiMessageParse, ListenReqReadsBack) {
    CapiMessage m;
    ASSERT_TRUE(m.Parse(kListenReq.data(), kListenReq.size()));
    EXPECT_EQ(m.Get(P::InfoMask), 0x41u);
    EXPECT_EQ(m.Get(P::CIPMask), 4u);
    EXPECT_EQ(m.Get(P::CIPMask2), 0u);
    EXPECT_TRUE(m.GetStruct(P::CallingPartySubaddress).empty());
}

// ---- Number and structure appenders ------------------------------------------

struct AppendRow {
    const char* name;
    bool (*append)(CapiMessage&);
    bool ok;
    Vec bytes; // what follows the fixed part of a DISCONNECT_REQ
};

void PrintTo(const AppendRow& row, std::ostream* os) {
    *os << row.name;
}

const AppendRow kAppendRows[] = {
    {"CalledNumber123",
     [](CapiMessage& m) { return m.AppendCalledPartyNumber("123"); },
     true,
     {0x04, 0x80, '1', '2', '3'}},
    {"CalledNumberEmptyRefused",
     [](CapiMessage& m) { return m.AppendCalledPartyNumber(""); },
     false,
     {}},
    {"CalledNumberNullRefused",
     [](CapiMessage& m) { return m.AppendCalledPartyNumber(nullptr); },
     false,
     {}},
    {"NumberEmptyIsEmptyStruct", [](CapiMessage& m) { return m.AppendNumber(""); }, true, {0x00}},
    {"ConnectedNumber",
     [](CapiMessage& m) { return m.AppendNumber("42"); },
     true,
     {0x03, 0x80, '4', '2'}},
    {"CallingAllowed",
     [](CapiMessage& m) { return m.AppendCallingPartyNumber("4711", false); },
     true,
     {0x06, 0x00, 0x80, '4', '7', '1', '1'}},
    {"CallingRestricted",
     [](CapiMessage& m) { return m.AppendCallingPartyNumber("4711", true); },
     true,
     {0x06, 0x00, 0xA0, '4', '7', '1', '1'}},
    {"CallingWithType",
     [](CapiMessage& m) { return m.AppendCallingPartyNumber("9", false, 0x21); },
     true,
     {0x03, 0x21, 0x80, '9'}},
    {"CallingEmptyIsEmptyStruct",
     [](CapiMessage& m) { return m.AppendCallingPartyNumber("", true); },
     true,
     {0x00}},
    {"BProtocolFax",
     [](CapiMessage& m) { return m.AppendBProtocol(4, 4, 4); },
     true,
     {0x09, 0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00}},
    {"StructCopied",
     [](CapiMessage& m) {
         const std::uint8_t c[] = {1, 2, 3};
         return m.AppendStruct(c, 3);
     },
     true,
     {0x03, 1, 2, 3}},
    {"StructNullIsEmpty", [](CapiMessage& m) { return m.AppendStruct(nullptr, 5); }, true, {0x00}},
    {"ByteWordDword",
     [](CapiMessage& m) {
         return m.AppendByte(0xAB) && m.AppendWord(0x1234) && m.AppendDword(0x89ABCDEF);
     },
     true,
     {0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89}},
};

class CapiAppend : public ::testing::TestWithParam<AppendRow> {};

TEST_P(CapiAppend, WritesItsBytes) {
    const AppendRow& row = GetParam();
    CapiMessage m;
    m.Init(eCapiDisconnect, eCapiReq);
    const std::uint16_t before = m.GetTotalLen();
    EXPECT_EQ(row.append(m), row.ok);
    const Vec all = BytesOf(m);
    EXPECT_EQ(Vec(all.begin() + before, all.end()), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(Rows, CapiAppend, ::testing::ValuesIn(kAppendRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CapiMessageBuild, LongStructTakesTheEscapedLength) {
    CapiMessage m;
    m.Init(eCapiFacility, eCapiReq);
    const Vec content(300, 0x5A);
    ASSERT_TRUE(m.AppendStruct(content.data(), content.size()));
    const Vec all = BytesOf(m);
    ASSERT_EQ(all.size(), 14u + 3u + 300u);
    EXPECT_EQ(all[14], 0xFF);
    EXPECT_EQ(all[15], 0x2C);
    EXPECT_EQ(all[16], 0x01);
    CapiMessage back;
    ASSERT_TRUE(back.Parse(all.data(), all.size()));
    EXPECT_EQ(back.GetStruct(P::FacilityParameter).size(), 300u);
}

TEST(CapiMessageBuild, AppendStopsAtTheEndOfTheBlock) {
    CapiMessage m;
    m.Init(eCapiFacility, eCapiReq);
    const Vec big(CAPI_MSG_SIZE, 1);
    EXPECT_FALSE(m.AppendBytes(big.data(), big.size()));
    EXPECT_EQ(m.GetTotalLen(), 14);
    EXPECT_FALSE(m.AppendStruct(big.data(), CAPI_MSG_SIZE - 14 - 2));
    EXPECT_EQ(m.GetTotalLen(), 14);
}

TEST(CapiMessageBuild, ParsedMessageCannotBeAppendedTo) {
    CapiMessage m;
    ASSERT_TRUE(m.Parse(kListenReq.data(), kListenReq.size()));
    EXPECT_FALSE(m.AppendByte(1));
}

// ---- Fixed layouts of requests and responses ----------------------------------

struct InitRow {
    const char* name;
    std::uint8_t cmd, sub;
    std::uint16_t total;
};

void PrintTo(const InitRow& row, std::ostream* os) {
    *os << row.name;
}

const InitRow kInitRows[] = {
    {"ConnectResp", eCapiConnect, eCapiResp, 14},
    {"DisconnectResp", eCapiDisconnect, eCapiResp, 12},
    {"DataB3Req64", eCapiDataB3, eCapiReq, sizeof(void*) >= 8 ? 30 : 22},
    {"DataB3Resp", eCapiDataB3, eCapiResp, 14},
    {"ConnectB3Resp", eCapiConnectB3, eCapiResp, 14},
    {"FacilityResp", eCapiFacility, eCapiResp, 14},
    {"ManufacturerReq", eCapiManufacturer, eCapiReq, 16},
    {"ConfGetsHeaderOnly", eCapiConnect, eCapiConf, 8},
    {"UnknownCommandHeaderOnly", 0x77, eCapiReq, 8},
};

class CapiInit : public ::testing::TestWithParam<InitRow> {};

TEST_P(CapiInit, LaysOutTheFixedParameters) {
    CapiMessage m;
    m.Init(GetParam().cmd, GetParam().sub);
    EXPECT_EQ(m.GetTotalLen(), GetParam().total);
    EXPECT_EQ(m.GetCommand(), GetParam().cmd);
    EXPECT_EQ(m.GetSubCommand(), GetParam().sub);
}

INSTANTIATE_TEST_SUITE_P(Rows, CapiInit, ::testing::ValuesIn(kInitRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CapiMessageBuild, DataPointerGoesIntoData64) {
    std::uint8_t block[4] = {1, 2, 3, 4};
    CapiMessage m;
    m.Init(eCapiDataB3, eCapiReq);
    m.SetDataPointer(block);
    EXPECT_EQ(m.GetDataPointer(), block);
    if (sizeof(void*) >= 8) {
        EXPECT_EQ(m.Get(P::Data), 0u);
        EXPECT_EQ(m.Get(P::Data64), reinterpret_cast<std::uintptr_t>(block));
    }
}

// ---- Received messages ----------------------------------------------------------

TEST(CapiMessageParse, ReceivedMessagesReadBack) {
    const Vec disc = Bytes(eCapiDisconnect, eCapiInd, 9).D(0x0101).W(0x349B);
    CapiMessage m;
    ASSERT_TRUE(m.Parse(disc.data(), disc.size()));
    EXPECT_EQ(m.Get(P::PLCI), 0x0101u);
    EXPECT_EQ(m.Get(P::Reason), 0x349Bu);
    EXPECT_EQ(m.GetMsgNr(), 9);

    const Vec ind = Bytes(eCapiConnect, eCapiInd)
                        .D(0x0201)
                        .W(2)
                        .S({0x80, '1'})
                        .S({0x21, 0x80, '0', '8'})
                        .S()
                        .S()
                        .S()
                        .S()
                        .S()
                        .S();
    ASSERT_TRUE(m.Parse(ind.data(), ind.size()));
    EXPECT_EQ(m.Get(P::CIP), 2u);
    EXPECT_EQ(m.GetStruct(P::CallingPartyNumber).size(), 4u);

    const Vec conf = Bytes(eCapiConnectB3, eCapiConf).D(0x10101).W(0);
    ASSERT_TRUE(m.Parse(conf.data(), conf.size()));
    EXPECT_EQ(m.Get(P::NCCI), 0x10101u);
    EXPECT_FALSE(m.Has(P::PLCI));
}

TEST(CapiMessageParse, DataB3IndCarriesItsPointer) {
    std::uint8_t data[3] = {7, 8, 9};
    const Vec ind = Bytes(eCapiDataB3, eCapiInd)
                        .D(0x10101)
                        .D(0)
                        .W(3)
                        .W(0x55)
                        .W(0)
                        .Q(reinterpret_cast<std::uintptr_t>(data));
    CapiMessage m;
    ASSERT_TRUE(m.Parse(ind.data(), ind.size()));
    EXPECT_EQ(m.Get(P::DataLength), 3u);
    EXPECT_EQ(m.Get(P::DataHandle), 0x55u);
    if (sizeof(void*) >= 8) {
        EXPECT_EQ(m.GetDataPointer(), data);
    }
    // A 32-bit peer leaves Data64 out: the message parses, the 64-bit build
    // has no pointer to use.
    const Vec shortInd = Bytes(eCapiDataB3, eCapiInd).D(0x10101).D(0).W(3).W(0x55).W(0);
    ASSERT_TRUE(m.Parse(shortInd.data(), shortInd.size()));
    EXPECT_FALSE(m.Has(P::Data64));
    if (sizeof(void*) >= 8) {
        EXPECT_EQ(m.GetDataPointer(), nullptr);
    }
}

TEST(CapiMessageParse, AddressOfFacilityFollowsItsValue) {
    CapiMessage m;
    const Vec ctrl = Bytes(eCapiFacility, eCapiInd).D(0x1).W(1).S();
    ASSERT_TRUE(m.Parse(ctrl.data(), ctrl.size()));
    EXPECT_TRUE(m.Has(P::Controller));
    const Vec plci = Bytes(eCapiFacility, eCapiInd).D(0x0101).W(1).S();
    ASSERT_TRUE(m.Parse(plci.data(), plci.size()));
    EXPECT_TRUE(m.Has(P::PLCI));
    const Vec ncci = Bytes(eCapiInfo, eCapiInd).D(0x10101).W(1).S();
    ASSERT_TRUE(m.Parse(ncci.data(), ncci.size()));
    EXPECT_TRUE(m.Has(P::NCCI));
}

TEST(CapiMessageParse, TrailingParametersOfALaterEditionAreIgnored) {
    const Vec disc = Bytes(eCapiDisconnect, eCapiInd).D(0x0101).W(0x3490).S({1, 2});
    CapiMessage m;
    ASSERT_TRUE(m.Parse(disc.data(), disc.size()));
    EXPECT_EQ(m.Get(P::Reason), 0x3490u);
}

struct RefuseRow {
    const char* name;
    Vec bytes;
    std::size_t available; // 0: the vector's size
};

void PrintTo(const RefuseRow& row, std::ostream* os) {
    *os << row.name;
}

const RefuseRow kRefuseRows[] = {
    {"ShorterThanHeader", {0x08, 0x00, 0x01, 0x00, 0x04, 0x82, 0x00}, 0},
    {"TotalBelowHeader", Bytes(eCapiDisconnect, eCapiInd).D(0x0101).W(0).Len(7), 0},
    {"TotalAboveBytesHandedOver", Bytes(eCapiDisconnect, eCapiInd).D(0x0101).W(0).Len(15), 0},
    {"TotalAboveBlock", Bytes(eCapiDisconnect, eCapiInd).D(0x0101).W(0).Len(401), 0},
    {"UnknownCommand", Bytes(0x77, eCapiInd).D(0x0101), 0},
    {"UnknownSubcommand", Bytes(eCapiDisconnect, 0x84).D(0x0101), 0},
    {"RequestTheNetworkNeverSends", Bytes(eCapiConnectActive, eCapiReq).D(0x0101), 0},
    {"AddressCut", Bytes(eCapiDisconnect, eCapiInd).W(0x0101), 0},
    {"ReasonMissing", Bytes(eCapiDisconnect, eCapiInd).D(0x0101), 0},
    {"StructBeyondTotal", Bytes(eCapiConnectB3, eCapiInd).D(0x10101).B(3).B(1), 0},
    {"StructLengthMissing", Bytes(eCapiConnectB3, eCapiInd).D(0x10101), 0},
    {"EscapedLengthCut", Bytes(eCapiConnectB3, eCapiInd).D(0x10101).B(0xFF).B(1), 0},
    {"EscapedLengthBeyondTotal", Bytes(eCapiConnectB3, eCapiInd).D(0x10101).B(0xFF).W(300).B(1), 0},
    {"LaterStructBeyondTotal",
     Bytes(eCapiConnect, eCapiInd).D(0x0201).W(2).S({0x80, '1'}).S().S().S().S().S().S().B(5), 0},
    {"Data64Cut", Bytes(eCapiDataB3, eCapiInd).D(0x10101).D(0).W(3).W(1).W(0).D(0x1234), 0},
    {"BytesCutBeforeTotal", Bytes(eCapiDisconnect, eCapiInd).D(0x0101).W(0), 11},
};

class CapiParseRefuses : public ::testing::TestWithParam<RefuseRow> {};

TEST_P(CapiParseRefuses, AsAWhole) {
    const RefuseRow& row = GetParam();
    const std::size_t available = row.available ? row.available : row.bytes.size();
    // A heap copy of exactly the bytes handed over, so a read past them is
    // caught by the address sanitizer.
    std::vector<std::uint8_t> copy(row.bytes.begin(),
                                   row.bytes.begin() + static_cast<long>(available));
    CapiMessage m;
    EXPECT_FALSE(m.Parse(copy.data(), copy.size()));
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_FALSE(m.ParseCopy(copy.data(), copy.size()));
}

INSTANTIATE_TEST_SUITE_P(Rows, CapiParseRefuses, ::testing::ValuesIn(kRefuseRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CapiMessageCopy, CopiesOnlyTheMessage) {
    // Exactly the message's bytes on the heap: copying 400 bytes would read
    // past them.
    const Vec src = Bytes(eCapiDisconnect, eCapiInd, 3).D(0x0101).W(0x3495);
    auto* exact = new std::uint8_t[src.size()];
    std::memcpy(exact, src.data(), src.size());
    CapiMessage borrowed;
    ASSERT_TRUE(borrowed.Parse(exact, src.size()));
    CapiMessage copy;
    copy.Copy(borrowed);
    delete[] exact;
    ASSERT_FALSE(copy.IsEmpty());
    EXPECT_EQ(copy.Get(P::Reason), 0x3495u);
    EXPECT_EQ(copy.GetMsgNr(), 3);

    CapiMessage empty;
    copy.Copy(empty);
    EXPECT_TRUE(copy.IsEmpty());
}

TEST(CapiMessageTrace, DumpAndNames) {
    CapiMessage m;
    ASSERT_TRUE(m.Parse(kListenReq.data(), 26));
    EXPECT_EQ(m.Dump().substr(0, 15), " 0x1A 0x00 0x01");
    EXPECT_EQ(m.Dump().size(), 26u * 5);

    const Vec ind = Bytes(eCapiDataB3, eCapiInd).D(0x10101).D(0).W(513).W(1).W(0).Q(0);
    ASSERT_TRUE(m.Parse(ind.data(), ind.size()));
    EXPECT_EQ(m.Dump().substr(0, 17), "DATALEN(513)    0");

    EXPECT_STREQ(CapiMessage::CommandName(eCapiConnectB3Active), "CON_B3_ACT");
    EXPECT_STREQ(CapiMessage::CommandName(eCapiSelectBProtocol), "SEL_B_PROT");
    EXPECT_STREQ(CapiMessage::CommandName(eCapiFacility), "FAC");
    EXPECT_STREQ(CapiMessage::SubCommandName(eCapiConf), "CONF");
}

TEST(CapiMessageDeath, MissingParameterEndsTheProgramWithItsName) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CapiMessage m;
    ASSERT_TRUE(m.Parse(kListenReq.data(), kListenReq.size()));
    // The program's trace layer writes the line out; here stderr stands in.
    EXPECT_DEATH(
        {
            MoxSetTraceHook([](int, const char* text) { std::fprintf(stderr, "%s\n", text); });
            m.Get(P::PLCI);
        },
        "no parameter m_pdwPLCI");
}

} // namespace
