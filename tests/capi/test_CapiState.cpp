// The connection state machine without threads or CAPI: every cell of the
// transition table as one row (state, event, messages put, reports posted,
// next state), then the contents of the messages and reports that matter.

#include "CapiConnection.h"
#include "CapiMessage.h"
#include "CapiTestUtil.h"
#include "WindowMessages.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using capitest::Bytes;
using P = CapiParam;
using Vec = std::vector<std::uint8_t>;

constexpr std::uint32_t kPlci = 0x0101;
constexpr std::uint32_t kNcci = 0x10101;

std::string MsgName(std::uint8_t cmd, std::uint8_t sub) {
    std::string n;
    switch (cmd) {
    case eCapiAlert:
        n = "ALERT";
        break;
    case eCapiConnect:
        n = "CONNECT";
        break;
    case eCapiConnectActive:
        n = "CONNECT_ACTIVE";
        break;
    case eCapiDisconnect:
        n = "DISCONNECT";
        break;
    case eCapiListen:
        n = "LISTEN";
        break;
    case eCapiInfo:
        n = "INFO";
        break;
    case eCapiSelectBProtocol:
        n = "SELECT_B_PROTOCOL";
        break;
    case eCapiFacility:
        n = "FACILITY";
        break;
    case eCapiConnectB3:
        n = "CONNECT_B3";
        break;
    case eCapiConnectB3Active:
        n = "CONNECT_B3_ACTIVE";
        break;
    case eCapiDisconnectB3:
        n = "DISCONNECT_B3";
        break;
    case eCapiDataB3:
        n = "DATA_B3";
        break;
    case eCapiResetB3:
        n = "RESET_B3";
        break;
    case eCapiConnectB3T90Active:
        n = "CONNECT_B3_T90_ACTIVE";
        break;
    case eCapiManufacturer:
        n = "MANUFACTURER";
        break;
    default:
        n = "?";
        break;
    }
    switch (sub) {
    case eCapiReq:
        return n + "_REQ";
    case eCapiConf:
        return n + "_CONF";
    case eCapiInd:
        return n + "_IND";
    default:
        return n + "_RESP";
    }
}

// Records what the connection puts and posts. Numbers requests like the port.
class RecordingHost : public CapiConnectionHost {
public:
    unsigned PutMessage(CapiMessage& msg) override {
        msg.SetApplID(1);
        if (msg.GetSubCommand() != eCapiResp)
            msg.SetMsgNr(++nr);
        puts.emplace_back(msg.Bytes(), msg.Bytes() + msg.GetTotalLen());
        if (onPut)
            onPut(msg);
        return refuse;
    }
    void PostMsg(CapiPortMessage msg) override { posts.push_back(std::move(msg)); }

    std::vector<std::string> PutNames() const {
        std::vector<std::string> names;
        for (const Vec& m : puts)
            names.push_back(MsgName(m[4], m[5]));
        return names;
    }
    std::vector<std::uint32_t> PostIds() const {
        std::vector<std::uint32_t> ids;
        for (const auto& p : posts)
            ids.push_back(p.id);
        return ids;
    }
    CapiMessage& Put(std::size_t i) {
        parsed.Parse(puts.at(i).data(), puts.at(i).size());
        return parsed;
    }

    std::uint16_t nr = 4;
    unsigned refuse = 0;
    std::function<void(const CapiMessage&)> onPut;
    std::vector<Vec> puts;
    std::vector<CapiPortMessage> posts;
    CapiMessage parsed;
};

CapiCallInfo CallRecord(const char* dial = "123", const char* own = "4711") {
    CapiCallInfo r;
    r.bMode = eCapiModeCall;
    r.bServiceSelector = 1;
    r.SetNumber1(dial);
    r.SetNumber2(own);
    return r;
}

CapiCallInfo ListenRecord(std::uint8_t selector = 3) {
    CapiCallInfo r;
    r.bMode = eCapiModeListen;
    r.bServiceSelector = 3;
    r.bListenSelector = selector;
    r.SetNumber2("4711");
    return r;
}

const std::uint8_t kIndData[3] = {'x', 'y', 'z'};
const std::uint8_t kSendData[3] = {'a', 'b', 'c'};

// ---- Events ---------------------------------------------------------------------

struct Event {
    enum Kind { App, Capi, Timer } kind = App;
    std::uint32_t appId = 0;
    int record = 0; // app connect/listen: 0 a good record, 1 a refused one
    Vec bytes;
};

Event App(std::uint32_t id, int record = 0) {
    return {Event::App, id, record, {}};
}
Event Msg(const Vec& bytes) {
    return {Event::Capi, 0, 0, bytes};
}
Event TimerEv() {
    return {Event::Timer, 0, 0, {}};
}

constexpr std::uint16_t kIndNr = 0x4711;

Vec ConnectInd() {
    return Bytes(eCapiConnect, eCapiInd, kIndNr)
        .D(0x0201)
        .W(2)
        .S({0x80, '4', '7', '1', '1'})
        .S({0x21, 0x80, '8', '9'})
        .S()
        .S()
        .S()
        .S()
        .S()
        .S();
}
Vec Conf(std::uint8_t cmd, std::uint32_t addr, std::uint16_t info = 0) {
    return Bytes(cmd, eCapiConf, kIndNr).D(addr).W(info);
}
Vec ConnectActiveInd() {
    return Bytes(eCapiConnectActive, eCapiInd, kIndNr).D(kPlci).S().S().S();
}
Vec DisconnectInd(std::uint16_t reason = 0x3490) {
    return Bytes(eCapiDisconnect, eCapiInd, kIndNr).D(kPlci).W(reason);
}
Vec FacilityInd() {
    return Bytes(eCapiFacility, eCapiInd, kIndNr).D(kPlci).W(1).S();
}
Vec InfoInd() {
    return Bytes(eCapiInfo, eCapiInd, kIndNr).D(kPlci).W(0x18).S();
}
Vec NcciInd(std::uint8_t cmd) {
    return Bytes(cmd, eCapiInd, kIndNr).D(kNcci).S();
}
Vec DisconnectB3Ind() {
    return Bytes(eCapiDisconnectB3, eCapiInd, kIndNr).D(kNcci).W(0).S();
}
Vec DataB3Ind() {
    return Bytes(eCapiDataB3, eCapiInd, kIndNr)
        .D(kNcci)
        .D(0)
        .W(3)
        .W(7)
        .W(0)
        .Q(reinterpret_cast<std::uintptr_t>(kIndData));
}
Vec DataB3Conf(std::uint16_t handle) {
    return Bytes(eCapiDataB3, eCapiConf, kIndNr).D(kNcci).W(handle).W(0);
}

// ---- The table --------------------------------------------------------------------

struct Row {
    const char* name;
    std::uint16_t state;
    Event event;
    std::vector<std::string> puts;
    std::vector<std::uint32_t> posts;
    std::uint16_t next;
    void (*setup)(CapiConnection&) = nullptr;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

void WindowOneOut(CapiConnection& c) {
    c.m_Unconfirmed = {{7, {1}}};
    c.m_nWindow = 2;
}
void WindowFull(CapiConnection& c) {
    c.m_Unconfirmed = {{7, {1}}, {8, {2}}};
    c.m_nWindow = 3;
}
void NoPlci(CapiConnection& c) {
    c.m_dwPLCI = 0;
}
void Incoming(CapiConnection& c) {
    c.m_bOutgoing = false;
}
void HangupPending(CapiConnection& c) {
    c.m_bHangupPending = true;
}

const Row kRows[] = {
    // 0 idle
    {"S0_AppConnect", 0, App(CAPIPORT_CONNECT), {"CONNECT_REQ"}, {}, 2},
    {"S0_AppConnectRefusedRecord", 0, App(CAPIPORT_CONNECT, 1), {}, {}, 0},
    {"S0_AppListen", 0, App(CAPIPORT_LISTEN), {"LISTEN_REQ"}, {}, 1},
    {"S0_AppListenRefusedRecord", 0, App(CAPIPORT_LISTEN, 1), {}, {}, 0},
    {"S0_ConnectInd", 0, Msg(ConnectInd()), {"ALERT_REQ"}, {CAPIPORT_CONNECT}, 4},
    {"S0_FacilityInd", 0, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 3},
    {"S0_AppDisconnectWithoutPlci", 0, App(CAPIPORT_DISCONNECT), {}, {}, 0, NoPlci},
    {"S0_AppData", 0, App(CAPIPORT_DATA), {}, {}, 0},
    {"S0_UnknownAppEvent", 0, App(1234), {}, {}, 0},
    // 1 listen sent
    {"S1_ListenConf", 1, Msg(Conf(eCapiListen, 1)), {}, {}, 0},
    {"S1_ConnectInd", 1, Msg(ConnectInd()), {"ALERT_REQ"}, {CAPIPORT_CONNECT}, 4},
    {"S1_FacilityInd", 1, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 1},
    {"S1_AppDisconnectWithoutPlci", 1, App(CAPIPORT_DISCONNECT), {}, {}, 0, NoPlci},
    // 2 wait CONNECT_CONF
    {"S2_ConnectConfOk", 2, Msg(Conf(eCapiConnect, kPlci)), {}, {}, 3, NoPlci},
    {"S2_ConnectConfError",
     2,
     Msg(Conf(eCapiConnect, 1, 0x2003)),
     {},
     {CAPIPORT_DISCONNECT},
     0,
     NoPlci},
    {"S2_AppDisconnectIsRemembered", 2, App(CAPIPORT_DISCONNECT), {}, {}, 2, NoPlci},
    {"S2_ConnectConfAfterHangup",
     2,
     Msg(Conf(eCapiConnect, kPlci)),
     {"DISCONNECT_REQ"},
     {},
     7,
     [](CapiConnection& c) {
         NoPlci(c);
         HangupPending(c);
     }},
    {"S2_ConnectConfErrorAfterHangup",
     2,
     Msg(Conf(eCapiConnect, 1, 0x2003)),
     {},
     {CAPIPORT_DISCONNECT},
     0,
     [](CapiConnection& c) {
         NoPlci(c);
         HangupPending(c);
     }},
    {"S2_DisconnectInd", 2, Msg(DisconnectInd()), {"DISCONNECT_RESP"}, {CAPIPORT_DISCONNECT}, 0},
    // 3 outgoing, wait CONNECT_ACTIVE_IND
    {"S3_AppDisconnect", 3, App(CAPIPORT_DISCONNECT), {"DISCONNECT_REQ"}, {}, 7},
    {"S3_AlertConf", 3, Msg(Conf(eCapiAlert, kPlci)), {}, {}, 3},
    {"S3_ConnectActiveIndOutgoing",
     3,
     Msg(ConnectActiveInd()),
     {"CONNECT_ACTIVE_RESP", "CONNECT_B3_REQ"},
     {},
     8},
    {"S3_ConnectActiveIndNotOutgoing",
     3,
     Msg(ConnectActiveInd()),
     {"CONNECT_ACTIVE_RESP"},
     {},
     6,
     Incoming},
    {"S3_DisconnectIndBusy",
     3,
     Msg(DisconnectInd(0x3491)),
     {"DISCONNECT_RESP"},
     {CAPIPORT_DISCONNECT},
     0},
    {"S3_FacilityInd", 3, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 3},
    {"S3_InfoInd", 3, Msg(InfoInd()), {"INFO_RESP"}, {}, 3},
    {"S3_DataB3IndAnsweredAnyway", 3, Msg(DataB3Ind()), {"DATA_B3_RESP"}, {}, 3},
    // 4 incoming, alerted
    {"S4_AppConnectAccepts", 4, App(CAPIPORT_CONNECT), {"CONNECT_RESP"}, {}, 5, Incoming},
    {"S4_AppDisconnectRejects", 4, App(CAPIPORT_DISCONNECT), {"CONNECT_RESP"}, {}, 7, Incoming},
    {"S4_AlertConf", 4, Msg(Conf(eCapiAlert, kPlci)), {}, {}, 4, Incoming},
    {"S4_FacilityInd", 4, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 4, Incoming},
    {"S4_DisconnectInd",
     4,
     Msg(DisconnectInd()),
     {"DISCONNECT_RESP"},
     {CAPIPORT_DISCONNECT},
     0,
     Incoming},
    // 5 accepted
    {"S5_ConnectActiveInd", 5, Msg(ConnectActiveInd()), {"CONNECT_ACTIVE_RESP"}, {}, 6, Incoming},
    {"S5_AlertConf", 5, Msg(Conf(eCapiAlert, kPlci)), {}, {}, 5, Incoming},
    {"S5_AppDisconnect", 5, App(CAPIPORT_DISCONNECT), {"DISCONNECT_REQ"}, {}, 7, Incoming},
    // 6 D channel up
    {"S6_ConnectB3Ind", 6, Msg(NcciInd(eCapiConnectB3)), {"CONNECT_B3_RESP"}, {}, 9},
    {"S6_DisconnectConf", 6, Msg(Conf(eCapiDisconnect, kPlci)), {}, {}, 7},
    {"S6_FacilityInd", 6, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 6},
    {"S6_AppDisconnect", 6, App(CAPIPORT_DISCONNECT), {"DISCONNECT_REQ"}, {}, 7},
    {"S6_DisconnectInd", 6, Msg(DisconnectInd()), {"DISCONNECT_RESP"}, {CAPIPORT_DISCONNECT}, 0},
    // 7 disconnecting
    {"S7_DisconnectInd", 7, Msg(DisconnectInd()), {"DISCONNECT_RESP"}, {CAPIPORT_DISCONNECT}, 0},
    {"S7_DisconnectConf", 7, Msg(Conf(eCapiDisconnect, kPlci)), {}, {}, 7},
    {"S7_DisconnectConfRefused",
     7,
     Msg(Conf(eCapiDisconnect, kPlci, 0x2002)),
     {},
     {CAPIPORT_DISCONNECT},
     0},
    {"S7_FacilityInd", 7, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 7},
    {"S7_DisconnectB3Ind", 7, Msg(DisconnectB3Ind()), {"DISCONNECT_B3_RESP"}, {}, 7},
    {"S7_AppDisconnect", 7, App(CAPIPORT_DISCONNECT), {"DISCONNECT_REQ"}, {}, 7},
    // 8 wait CONNECT_B3_CONF
    {"S8_ConnectB3ConfOk", 8, Msg(Conf(eCapiConnectB3, kNcci)), {}, {}, 9},
    // The far end may still open B3 itself: the call stays up.
    {"S8_ConnectB3ConfError", 8, Msg(Conf(eCapiConnectB3, kNcci, 0x2004)), {}, {}, 6},
    {"S8_FacilityInd", 8, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 8},
    {"S8_DisconnectInd", 8, Msg(DisconnectInd()), {"DISCONNECT_RESP"}, {CAPIPORT_DISCONNECT}, 0},
    // 9 wait CONNECT_B3_ACTIVE_IND
    {"S9_ConnectB3ActiveInd",
     9,
     Msg(NcciInd(eCapiConnectB3Active)),
     {"CONNECT_B3_ACTIVE_RESP"},
     {CAPIPORT_CONNECT_ACTIVE},
     10},
    {"S9_DisconnectB3Ind", 9, Msg(DisconnectB3Ind()), {"DISCONNECT_B3_RESP"}, {}, 6},
    {"S9_FacilityInd", 9, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 9},
    // 10 data phase
    {"S10_AppDataSends", 10, App(CAPIPORT_DATA), {"DATA_B3_REQ"}, {}, 10},
    {"S10_AppDataWindowFull", 10, App(CAPIPORT_DATA), {}, {}, 10, WindowFull},
    {"S10_AppDisconnect",
     10,
     App(CAPIPORT_DISCONNECT),
     {"DISCONNECT_B3_REQ", "DISCONNECT_REQ"},
     {},
     12},
    {"S10_DataB3Ind", 10, Msg(DataB3Ind()), {"DATA_B3_RESP"}, {CAPIPORT_DATA}, 10},
    {"S10_DataB3ConfWindowWasFull",
     10,
     Msg(DataB3Conf(7)),
     {},
     {CAPIPORT_DATA_SENT},
     10,
     WindowFull},
    {"S10_DataB3ConfWindowHadRoom", 10, Msg(DataB3Conf(7)), {}, {}, 10, WindowOneOut},
    {"S10_DataB3ConfUnknownHandle", 10, Msg(DataB3Conf(99)), {}, {}, 10, WindowFull},
    {"S10_ResetB3Ind", 10, Msg(NcciInd(eCapiResetB3)), {"RESET_B3_RESP"}, {}, 11},
    {"S10_DisconnectB3Ind", 10, Msg(DisconnectB3Ind()), {"DISCONNECT_B3_RESP"}, {}, 6},
    {"S10_ConnectB3T90ActiveInd",
     10,
     Msg(NcciInd(eCapiConnectB3T90Active)),
     {"CONNECT_B3_T90_ACTIVE_RESP"},
     {},
     10},
    {"S10_FacilityInd", 10, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 10},
    {"S10_DisconnectInd", 10, Msg(DisconnectInd()), {"DISCONNECT_RESP"}, {CAPIPORT_DISCONNECT}, 0},
    {"S10_AppManufacturer", 10, App(CAPIPORT_MANUFACTURER_REQ), {"MANUFACTURER_REQ"}, {}, 10},
    {"S10_UnexpectedSelectBProtocolConf", 10, Msg(Conf(eCapiSelectBProtocol, kPlci)), {}, {}, 10},
    {"S10_Timer", 10, TimerEv(), {}, {}, 10},
    // 11 reset
    {"S11_ResetB3Ind", 11, Msg(NcciInd(eCapiResetB3)), {"RESET_B3_RESP"}, {}, 10},
    {"S11_ResetB3Conf", 11, Msg(Conf(eCapiResetB3, kNcci)), {}, {}, 11},
    {"S11_FacilityInd", 11, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 11},
    {"S11_DisconnectB3Ind", 11, Msg(DisconnectB3Ind()), {"DISCONNECT_B3_RESP"}, {}, 6},
    {"S11_AppData", 11, App(CAPIPORT_DATA), {}, {}, 11},
    // 12 B3 disconnecting
    {"S12_DisconnectB3Ind", 12, Msg(DisconnectB3Ind()), {"DISCONNECT_B3_RESP"}, {}, 6},
    {"S12_DisconnectB3Conf", 12, Msg(Conf(eCapiDisconnectB3, kNcci)), {}, {}, 12},
    {"S12_FacilityInd", 12, Msg(FacilityInd()), {"FACILITY_RESP"}, {}, 12},
    {"S12_DisconnectInd", 12, Msg(DisconnectInd()), {"DISCONNECT_RESP"}, {CAPIPORT_DISCONNECT}, 0},
    {"S12_Timer", 12, TimerEv(), {}, {}, 12},
};

class CapiStateTable : public ::testing::TestWithParam<Row> {};

TEST_P(CapiStateTable, Row) {
    const Row& row = GetParam();
    RecordingHost host;
    CapiConnection c(host);
    c.Reset(1);
    c.m_dwPLCI = kPlci;
    c.m_dwNCCI = row.state >= eCapiStateWaitB3Active ? kNcci : 0;
    c.m_bOutgoing = true;
    if (row.setup)
        row.setup(c);
    c.SetState(row.state);

    const CapiCallInfo good = row.event.appId == CAPIPORT_LISTEN ? ListenRecord() : CallRecord();
    CapiCallInfo refused = good;
    if (row.event.appId == CAPIPORT_LISTEN)
        refused.bListenSelector = 9;
    else
        refused.szNumber1[0] = 0;
    CapiMessage msg;
    switch (row.event.kind) {
    case Event::App: {
        CapiAppEvent ev;
        ev.id = row.event.appId;
        ev.pCallInfo = row.event.record ? &refused : &good;
        ev.pData = kSendData;
        ev.dwLen = sizeof(kSendData);
        c.HandleAppEvent(ev);
        break;
    }
    case Event::Capi:
        ASSERT_TRUE(msg.Parse(row.event.bytes.data(), row.event.bytes.size()));
        c.HandleCapiMessage(msg);
        break;
    case Event::Timer:
        c.HandleTimer(1);
        break;
    }

    EXPECT_EQ(host.PutNames(), row.puts);
    EXPECT_EQ(host.PostIds(), row.posts);
    EXPECT_EQ(c.GetStateNumber(), row.next);
    // Every response answers the indication it was given, by its number.
    if (row.event.kind == Event::Capi) {
        for (const Vec& put : host.puts) {
            if (put[5] == eCapiResp) {
                EXPECT_EQ(put[6] | (put[7] << 8), kIndNr) << MsgName(put[4], put[5]);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cells, CapiStateTable, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Contents ---------------------------------------------------------------------

class CapiStateContent : public ::testing::Test {
protected:
    void SetUp() override { c.Reset(1); }
    void Feed(const Vec& bytes) {
        CapiMessage m;
        ASSERT_TRUE(m.Parse(bytes.data(), bytes.size()));
        c.HandleCapiMessage(m);
    }
    void AppEvent(std::uint32_t id, const CapiCallInfo* info = nullptr,
                  const std::uint8_t* data = nullptr, std::uint32_t len = 0) {
        CapiAppEvent ev;
        ev.id = id;
        ev.pCallInfo = info;
        ev.pData = data;
        ev.dwLen = len;
        c.HandleAppEvent(ev);
    }
    // Dials and brings the call into its data phase.
    void DataPhase() {
        const CapiCallInfo rec = CallRecord();
        AppEvent(CAPIPORT_CONNECT, &rec);
        Feed(Conf(eCapiConnect, kPlci));
        Feed(ConnectActiveInd());
        Feed(Conf(eCapiConnectB3, kNcci));
        Feed(NcciInd(eCapiConnectB3Active));
        ASSERT_EQ(c.GetStateNumber(), eCapiStateDataPhase);
        host.puts.clear();
        host.posts.clear();
    }

    RecordingHost host;
    CapiConnection c{host};
};

TEST_F(CapiStateContent, OutgoingCallPutsTheConnectReqAndKeepsIt) {
    const CapiCallInfo rec = CallRecord("123", "4711");
    AppEvent(CAPIPORT_CONNECT, &rec);
    ASSERT_EQ(host.puts.size(), 1u);
    const Vec expected = {0x2A, 0x00, 0x01, 0x00, 0x02, 0x80, 0x05, 0x00, 0x01, 0x00, 0x00,
                          0x00, 0x02, 0x00, 0x04, 0x80, 0x31, 0x32, 0x33, 0x06, 0x00, 0x80,
                          0x34, 0x37, 0x31, 0x31, 0x00, 0x00, 0x09, 0x00, 0x00, 0x01, 0x00,
                          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(host.puts[0], expected);
    EXPECT_EQ(c.m_LastRequest.GetMsgNr(), 5);
    EXPECT_TRUE(c.m_bOutgoing);
}

TEST_F(CapiStateContent, RestrictedOwnNumberIsSentRestricted) {
    CapiCallInfo rec = CallRecord("123", "4711");
    rec.abNumberType[1] = 1;
    AppEvent(CAPIPORT_CONNECT, &rec);
    const auto calling = host.Put(0).GetStruct(P::CallingPartyNumber);
    EXPECT_EQ(Vec(calling.begin(), calling.end()), (Vec{0x00, 0xA0, '4', '7', '1', '1'}));
}

TEST_F(CapiStateContent, ListenPutsItsMask) {
    const CapiCallInfo rec = ListenRecord(1);
    AppEvent(CAPIPORT_LISTEN, &rec);
    ASSERT_EQ(host.puts.size(), 1u);
    CapiMessage& m = host.Put(0);
    EXPECT_EQ(m.Get(P::CIPMask), 0x10032u);
    EXPECT_EQ(m.Get(P::InfoMask), 0x41u);
    EXPECT_EQ(m.Get(P::Controller), 1u);
    EXPECT_EQ(m.GetTotalLen(), 26);
}

TEST_F(CapiStateContent, IncomingCallIsAnnouncedWithItsRecord) {
    Feed(ConnectInd());
    ASSERT_EQ(host.posts.size(), 1u);
    const CapiCallInfo& r = host.posts[0].callInfo;
    EXPECT_EQ(host.posts[0].instance, 1);
    EXPECT_EQ(r.bMode, eCapiModeCall);
    EXPECT_EQ(r.bServiceSelector, 3); // CIP 2: a data call
    EXPECT_STREQ(r.GetCalledPartyNumber(), "4711");
    EXPECT_STREQ(r.GetCallingPartyNumber(), "89");
    EXPECT_EQ(r.bCallingType, 0x21);
    CapiMessage& alert = host.Put(0);
    EXPECT_EQ(alert.Get(P::PLCI), 0x0201u);
}

TEST_F(CapiStateContent, AnIncomingNumberLongerThanTheRecordIsCut) {
    Feed(Bytes(eCapiConnect, eCapiInd)
             .D(0x0201)
             .W(16)
             .S({0x80, '1'})
             .Str(std::string("\x01\x80", 2) + "12345678901234567890")
             .S()
             .S()
             .S()
             .S()
             .S()
             .S());
    EXPECT_STREQ(host.posts.at(0).callInfo.GetCallingPartyNumber(), "1234567890123456");
    EXPECT_EQ(host.posts.at(0).callInfo.bServiceSelector, 0);
}

TEST_F(CapiStateContent, AcceptPathReachesTheDataPhase) {
    Feed(ConnectInd());
    AppEvent(CAPIPORT_CONNECT);
    ASSERT_EQ(c.GetStateNumber(), eCapiStateAccepted);
    CapiMessage& resp = host.Put(1);
    EXPECT_EQ(resp.GetMsgNr(), kIndNr);
    EXPECT_EQ(resp.Get(P::Reject), 0u);
    EXPECT_EQ(resp.GetStruct(P::BProtocol).size(), 9u);
    c.m_dwPLCI = kPlci;
    Feed(ConnectActiveInd());
    EXPECT_EQ(c.GetStateNumber(), eCapiStateDChannelUp);
    Feed(NcciInd(eCapiConnectB3));
    EXPECT_EQ(c.GetStateNumber(), eCapiStateWaitB3Active);
    EXPECT_EQ(c.m_dwNCCI, kNcci);
    Feed(NcciInd(eCapiConnectB3Active));
    EXPECT_EQ(c.GetStateNumber(), eCapiStateDataPhase);
    EXPECT_EQ(host.PostIds(),
              (std::vector<std::uint32_t>{CAPIPORT_CONNECT, CAPIPORT_CONNECT_ACTIVE}));
}

TEST_F(CapiStateContent, RefusedIncomingCallEndsAsOwnHangup) {
    Feed(ConnectInd());
    AppEvent(CAPIPORT_DISCONNECT);
    CapiMessage& resp = host.Put(1);
    EXPECT_EQ(host.PutNames()[1], "CONNECT_RESP");
    EXPECT_EQ(resp.Get(P::Reject), 2u);
    EXPECT_EQ(resp.GetMsgNr(), kIndNr);
    EXPECT_EQ(resp.Get(P::PLCI), 0x0201u);
    c.m_dwPLCI = kPlci;
    Feed(DisconnectInd(0x3490));
    ASSERT_EQ(host.posts.size(), 2u);
    EXPECT_EQ(host.posts[1].disconnect.kind, CapiDisconnectKind::Local);
    EXPECT_EQ(c.GetStateNumber(), eCapiStateIdle);
}

TEST_F(CapiStateContent, RemoteDisconnectCarriesItsReasonText) {
    c.m_dwPLCI = kPlci;
    c.SetState(eCapiStateOutgoing);
    Feed(DisconnectInd(0x349B));
    ASSERT_EQ(host.posts.size(), 1u);
    EXPECT_EQ(host.posts[0].disconnect.kind, CapiDisconnectKind::Remote);
    EXPECT_EQ(host.posts[0].disconnect.wReason, 0x349B);
    EXPECT_EQ(host.posts[0].disconnect.reasonText, "Gegenstelle nicht in Betrieb");
    EXPECT_EQ(host.Put(0).Get(P::PLCI), kPlci);
}

TEST_F(CapiStateContent, RefusingConnectConfHasNoReasonText) {
    const CapiCallInfo rec = CallRecord();
    AppEvent(CAPIPORT_CONNECT, &rec);
    Feed(Conf(eCapiConnect, 1, 0x2003));
    ASSERT_EQ(host.posts.size(), 1u);
    EXPECT_EQ(host.posts[0].disconnect.kind, CapiDisconnectKind::Refused);
    EXPECT_EQ(host.posts[0].disconnect.wInfo, 0x2003);
    EXPECT_TRUE(host.posts[0].disconnect.reasonText.empty());
}

TEST_F(CapiStateContent, HangupBeforeTheConfirmationClearsTheCallItBrings) {
    const CapiCallInfo rec = CallRecord();
    AppEvent(CAPIPORT_CONNECT, &rec);
    AppEvent(CAPIPORT_DISCONNECT);
    EXPECT_EQ(c.GetStateNumber(), eCapiStateWaitConnectConf);
    EXPECT_EQ(host.puts.size(), 1u); // no DISCONNECT_REQ without a PLCI
    Feed(Conf(eCapiConnect, 0x0301));
    ASSERT_EQ(host.PutNames().back(), "DISCONNECT_REQ");
    EXPECT_EQ(host.Put(1).Get(P::PLCI), 0x0301u);
    EXPECT_EQ(c.GetStateNumber(), eCapiStateDisconnecting);
    Feed(Bytes(eCapiDisconnect, eCapiInd).D(0x0301).W(0x3490));
    EXPECT_EQ(host.posts.at(0).disconnect.kind, CapiDisconnectKind::Local);
    EXPECT_EQ(c.GetStateNumber(), eCapiStateIdle);
}

TEST_F(CapiStateContent, SendWindowHoldsTwoBlocks) {
    DataPhase();
    std::uint8_t buf[4] = {1, 2, 3, 4};
    AppEvent(CAPIPORT_DATA, nullptr, buf, 4);
    EXPECT_EQ(c.m_nPendingSendLen, 4);
    // The port sends from its own copy: the caller's buffer may change.
    buf[0] = 0x55;
    AppEvent(CAPIPORT_DATA, nullptr, buf, 4);
    EXPECT_EQ(c.m_nPendingSendLen, 4);
    AppEvent(CAPIPORT_DATA, nullptr, buf, 4);
    EXPECT_EQ(c.m_nPendingSendLen, -1);
    ASSERT_EQ(host.puts.size(), 2u);

    CapiMessage& first = host.Put(0);
    EXPECT_EQ(first.GetDataPointer()[0], 1);
    EXPECT_EQ(first.Get(P::DataLength), 4u);
    EXPECT_EQ(first.Get(P::NCCI), kNcci);
    const auto h0 = static_cast<std::uint16_t>(first.Get(P::DataHandle));
    const auto h1 = static_cast<std::uint16_t>(host.Put(1).Get(P::DataHandle));
    EXPECT_NE(h0, h1);

    Feed(DataB3Conf(h0));
    EXPECT_EQ(host.PostIds(), (std::vector<std::uint32_t>{CAPIPORT_DATA_SENT}));
    AppEvent(CAPIPORT_DATA, nullptr, buf, 4);
    EXPECT_EQ(c.m_nPendingSendLen, 4);
}

TEST_F(CapiStateContent, SendRefusedByCapiTakesNoPlace) {
    DataPhase();
    host.refuse = 0x1103;
    AppEvent(CAPIPORT_DATA, nullptr, kSendData, 3);
    EXPECT_EQ(c.m_nPendingSendLen, -2);
    EXPECT_EQ(c.m_nWindow, 1u);
    EXPECT_TRUE(c.m_Unconfirmed.empty());
}

TEST_F(CapiStateContent, OversizedOrEmptyBlockIsRefused) {
    DataPhase();
    std::vector<std::uint8_t> big(CAPI_MAX_B3_BLOCK_LEN + 1, 0);
    AppEvent(CAPIPORT_DATA, nullptr, big.data(), static_cast<std::uint32_t>(big.size()));
    EXPECT_EQ(c.m_nPendingSendLen, -2);
    AppEvent(CAPIPORT_DATA, nullptr, big.data(), 0);
    EXPECT_EQ(c.m_nPendingSendLen, -2);
    EXPECT_TRUE(host.puts.empty());
}

TEST_F(CapiStateContent, ReceivedDataIsCopiedBeforeTheResponse) {
    DataPhase();
    std::uint8_t capiBuffer[3] = {'x', 'y', 'z'};
    // CAPI may reuse its buffer as soon as the response is out.
    host.onPut = [&](const CapiMessage& m) {
        if (m.Is(eCapiDataB3, eCapiResp))
            std::memset(capiBuffer, 0xEE, sizeof(capiBuffer));
    };
    Feed(Bytes(eCapiDataB3, eCapiInd, kIndNr)
             .D(kNcci)
             .D(0)
             .W(3)
             .W(9)
             .W(0)
             .Q(reinterpret_cast<std::uintptr_t>(capiBuffer)));
    ASSERT_EQ(host.posts.size(), 1u);
    EXPECT_EQ(host.posts[0].data, (Vec{'x', 'y', 'z'}));
    EXPECT_EQ(host.Put(0).Get(P::DataHandle), 9u);
}

TEST_F(CapiStateContent, DataIndicationWithoutPointerIsAnsweredNotPosted) {
    DataPhase();
    Feed(Bytes(eCapiDataB3, eCapiInd, kIndNr).D(kNcci).D(0).W(3).W(9).W(0).Q(0));
    EXPECT_EQ(host.PutNames(), (std::vector<std::string>{"DATA_B3_RESP"}));
    EXPECT_TRUE(host.posts.empty());
}

TEST_F(CapiStateContent, HangupInTheDataPhaseClearsB3First) {
    DataPhase();
    AppEvent(CAPIPORT_DISCONNECT);
    ASSERT_EQ(host.PutNames(), (std::vector<std::string>{"DISCONNECT_B3_REQ", "DISCONNECT_REQ"}));
    EXPECT_EQ(host.Put(0).Get(P::NCCI), kNcci);
    EXPECT_EQ(host.Put(1).Get(P::PLCI), kPlci);
    Feed(DisconnectB3Ind());
    Feed(Conf(eCapiDisconnect, kPlci));
    Feed(DisconnectInd());
    EXPECT_EQ(c.GetStateNumber(), eCapiStateIdle);
    EXPECT_EQ(host.posts.at(0).disconnect.kind, CapiDisconnectKind::Local);
}

// However the B3 connection ends, its NCCI and its unconfirmed blocks go
// with it and the send window starts afresh: a B3 connection opened again
// later, under any NCCI, sends at once.
class CapiStateB3End : public ::testing::TestWithParam<std::uint16_t> {};

TEST_P(CapiStateB3End, ForgetsTheNcciAndTheBlocksOnTheirWay) {
    RecordingHost host;
    CapiConnection c(host);
    c.Reset(1);
    c.m_dwPLCI = kPlci;
    c.m_dwNCCI = kNcci;
    c.m_bOutgoing = true;
    c.m_bConnected = true;
    WindowFull(c);
    c.m_bWindowFull = true;
    c.SetState(GetParam());
    CapiMessage msg;
    const Vec ind = DisconnectB3Ind();
    ASSERT_TRUE(msg.Parse(ind.data(), ind.size()));
    c.HandleCapiMessage(msg);
    EXPECT_EQ(host.PutNames(), std::vector<std::string>{"DISCONNECT_B3_RESP"});
    EXPECT_EQ(host.Put(0).Get(P::NCCI), kNcci);
    EXPECT_EQ(c.m_dwNCCI, 0u);
    EXPECT_EQ(c.m_nWindow, 1u);
    EXPECT_TRUE(c.m_Unconfirmed.empty());
    EXPECT_FALSE(c.m_bWindowFull);
    EXPECT_EQ(c.m_dwPLCI, kPlci) << "the call itself stays";
}

INSTANTIATE_TEST_SUITE_P(States, CapiStateB3End,
                         ::testing::Values(eCapiStateDisconnecting, eCapiStateWaitB3Active,
                                           eCapiStateDataPhase, eCapiStateReset,
                                           eCapiStateDisconnectingB3),
                         [](const auto& info) { return "S" + std::to_string(info.param); });

TEST_F(CapiStateContent, RefusedB3WaitsForTheFarEndsB3) {
    const CapiCallInfo rec = CallRecord();
    AppEvent(CAPIPORT_CONNECT, &rec);
    Feed(Conf(eCapiConnect, kPlci));
    Feed(ConnectActiveInd());
    ASSERT_EQ(c.GetStateNumber(), eCapiStateWaitConnectB3Conf);
    host.puts.clear();
    Feed(Conf(eCapiConnectB3, kPlci, 0x2004));
    EXPECT_EQ(c.GetStateNumber(), eCapiStateDChannelUp);
    EXPECT_EQ(c.m_wInfo, 0x2004);
    EXPECT_TRUE(host.puts.empty());
    EXPECT_TRUE(host.posts.empty());
    Feed(NcciInd(eCapiConnectB3));
    Feed(NcciInd(eCapiConnectB3Active));
    EXPECT_EQ(c.GetStateNumber(), eCapiStateDataPhase);
    EXPECT_EQ(c.m_dwNCCI, kNcci);
    EXPECT_EQ(host.PostIds(), std::vector<std::uint32_t>{CAPIPORT_CONNECT_ACTIVE});
}

TEST_F(CapiStateContent, ManufacturerRequestLayout) {
    const std::uint8_t data[2] = {0xA1, 0xA2};
    AppEvent(CAPIPORT_MANUFACTURER_REQ, nullptr, data, 2);
    ASSERT_EQ(host.puts.size(), 1u);
    const Vec& m = host.puts[0];
    const Vec tail(m.begin() + 8, m.end());
    EXPECT_EQ(tail, (Vec{1, 0, 0, 0, 'E', 'K', 'B', '.', 1, 0, 0, 0, 3, 132, 0xA1, 0xA2}));
    EXPECT_EQ(c.m_nPendingSendLen, 2);
}

TEST_F(CapiStateContent, StateChangesAreTraced) {
    capitest::TraceCatcher trace;
    const CapiCallInfo rec = CallRecord();
    AppEvent(CAPIPORT_CONNECT, &rec);
    Feed(Conf(eCapiConnect, kPlci));
    c.HandleTimer(3);
    EXPECT_TRUE(trace.Saw("STCHINT (1)(0->2)"));
    EXPECT_TRUE(trace.Saw("STCHEXT (1)(2->3)"));
    EXPECT_TRUE(trace.Saw("UNEXPCTD TIM! (03:03)"));
}

} // namespace
