// Subscriber programming: the state rule, the commands the dialogs send
// (preconditions and bytes), the results for each message of the box, and
// the free-address runs of modes 5 and 6.

#include "ProgFixture.h"

#include <functional>

namespace {

// ---- SetProgMode -----------------------------------------------------------

struct ModeCase {
    const char* name;
    std::vector<int> requests; // from state 0
    int expected;
};

class SetProgModeTable : public ProgFixture, public testing::WithParamInterface<ModeCase> {};

TEST_P(SetProgModeTable, EndsInTheExpectedState) {
    for (int r : GetParam().requests)
        prog().SetProgMode(r);
    EXPECT_EQ(prog().GetProgMode(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(States, SetProgModeTable,
                         testing::Values(ModeCase{"PlainSet", {3}, 3},
                                         ModeCase{"SwitchModule", {3, 8}, 8},
                                         ModeCase{"CountFromUnitBack", {3, 4, 2, 6}, 4},
                                         ModeCase{"ListFromActiveBack", {3, 1, 6}, 3},
                                         ModeCase{"ListFromUnitBack", {3, 4, 1, 6}, 4},
                                         ModeCase{"ListFromVideoUnitBack", {3, 5, 1, 6}, 5},
                                         ModeCase{"CountFromIdleBack", {2, 6}, 0},
                                         ModeCase{"ListFromAwaitedAckBack", {3, 4, 7, 1, 6}, 7},
                                         ModeCase{"CountDuringListBackToStart", {3, 1, 2, 6}, 3},
                                         ModeCase{"ReturnTwiceStaysHome", {3, 4, 1, 6, 6}, 4},
                                         ModeCase{"SecondDetourFromNewHome", {3, 1, 6, 4, 2, 6}, 4},
                                         ModeCase{"OutsideTheTableRefused", {3, 9}, 3},
                                         ModeCase{"NegativeRefused", {4, -1}, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Commands --------------------------------------------------------------

struct CommandCase {
    const char* name;
    // Before the command: programming state and addresses.
    int state;
    std::uint16_t bsg, btlm, tln;
    std::vector<std::uint16_t> freeList;
    std::function<void(TTlnProg&)> command;
    Bytes sent; // empty: nothing may go out
    std::vector<std::uint32_t> results;
    int stateAfter;
};

class InitiateTable : public ProgFixture, public testing::WithParamInterface<CommandCase> {};

TEST_P(InitiateTable, SendsItsCommandOrReportsWhyNot) {
    const CommandCase& c = GetParam();
    prog().SetProgMode(c.state);
    prog().SetBSG(c.bsg);
    prog().SetBTLM(c.btlm);
    prog().SetTlnAdr(c.tln);
    for (std::size_t i = 0; i < c.freeList.size(); ++i)
        prog().SetKBA(static_cast<int>(i), c.freeList[i]);
    c.command(prog());
    if (c.sent.empty()) {
        EXPECT_EQ(SentCount(), 0u);
    } else {
        ASSERT_EQ(SentCount(), 1u);
        EXPECT_EQ(Sent()[0], c.sent);
    }
    EXPECT_EQ(results.Codes(), c.results);
    EXPECT_EQ(prog().GetProgMode(), c.stateAfter);
}

Bytes WithIndex(Bytes b, std::uint8_t idx) {
    b.push_back(idx);
    return b;
}

// clang-format off
// Rows: state before, BSG, BTLM and subscriber address, free list, the
// command, the bytes it must send (none: nothing goes out), the results, the
// state after.
INSTANTIATE_TEST_SUITE_P(Commands, InitiateTable, testing::Values(
    // Channel 3 from the start: a delete reaches the box before any
    // programming dialog has set the channel.
    CommandCase{"DelTln", 0, 0, 0, 0x0105, {}, [](TTlnProg& p) { p.InitiateDelTln(); },
                PcProg(TLN_ADR_CLEAR, 0x0105, 0), {}, 0},
    CommandCase{"DelTlnWithoutAddress", 3, 0x20, 0, 0, {}, [](TTlnProg& p) { p.InitiateDelTln(); },
                {}, {DEL_TLN_FAILED}, 3},
    CommandCase{"DelAllTln", 0, 0, 0, 0, {}, [](TTlnProg& p) { p.InitiateDelAllTln(); },
                PcProg(ALL_TLN_ADR_CLEAR, 0, 0), {}, 0},
    CommandCase{"ProgAkt", 4, 0x20, 0x30, 0x0105, {}, [](TTlnProg& p) { p.InitiateProgAkt(); },
                PcProg(HT_PROG_AKT, 0x0105, 0), {}, eProgStateProgTln},
    CommandCase{"ProgAktVideoUnit", 5, 0x20, 0x30, 0x0105, {}, [](TTlnProg& p) { p.InitiateProgAkt(); },
                PcProg(HT_PROG_AKT, 0x0105, 0), {}, eProgStateProgTln},
    CommandCase{"ProgAktTakesTheFirstFreeAddress", 4, 0x20, 0x30, 0, {0, 0x0107, 0x0108},
                [](TTlnProg& p) { p.InitiateProgAkt(); },
                PcProg(HT_PROG_AKT, 0x0107, 0), {}, eProgStateProgTln},
    CommandCase{"ProgAktWithoutAnyAddress", 4, 0x20, 0x30, 0, {}, [](TTlnProg& p) { p.InitiateProgAkt(); },
                {}, {PROG_FAILED}, 4},
    CommandCase{"ProgAktWithoutUnit", 3, 0x20, 0x30, 0x0105, {}, [](TTlnProg& p) { p.InitiateProgAkt(); },
                {}, {PROG_FAILED}, 3},
    CommandCase{"ProgAktWithoutProgrammingMode", 4, 0, 0x30, 0x0105, {},
                [](TTlnProg& p) { p.InitiateProgAkt(); }, {}, {PROG_FAILED}, 4},
    CommandCase{"ProgAktWithoutUnitAddress", 4, 0x20, 0, 0x0105, {},
                [](TTlnProg& p) { p.InitiateProgAkt(); }, {}, {PROG_FAILED}, 4},
    CommandCase{"ProgPassiv", 7, 0x20, 0x30, 0x0105, {}, [](TTlnProg& p) { p.InitiateProgPassiv(); },
                PcProg(HT_PROG_PAS, 0x0020, 0x0105), {}, eProgStateAktiv},
    CommandCase{"ProgPassivOutsideProgrammingMode", 0, 0x20, 0x30, 0x0105, {},
                [](TTlnProg& p) { p.InitiateProgPassiv(); }, {}, {CANCEL_FAILED}, 0},
    CommandCase{"ProgPassivWithoutSubscriber", 4, 0x20, 0x30, 0, {},
                [](TTlnProg& p) { p.InitiateProgPassiv(); }, {}, {CANCEL_FAILED}, 4},
    CommandCase{"ProgPassivWithoutUnit", 4, 0x20, 0, 0x0105, {},
                [](TTlnProg& p) { p.InitiateProgPassiv(); }, {}, {CANCEL_FAILED}, 4},
    CommandCase{"ProgBTLM", 4, 0x20, 0x30, 0x0105, {}, [](TTlnProg& p) { p.InitiateProgBTLM(); },
                PcProg(HT_PROG_AKT, 0x0105, 0), {}, 4},
    CommandCase{"ProgBTLMInSwitchModule", 8, 0x20, 0x30, 0x0105, {},
                [](TTlnProg& p) { p.InitiateProgBTLM(); }, {}, {PROG_FAILED}, 8},
    CommandCase{"BTLMTasteProg", 4, 0x20, 0x30, 0x0105, {},
                [](TTlnProg& p) { p.InitiateBTLMTasteProg(0x0A01, 2); },
                WithIndex(PcProg(BTLM_CODE_PROG, 0x0A01, 0x0105), 2), {RUECKMELDUNG_OK}, 4},
    CommandCase{"BTLMTasteProgWithoutKey", 4, 0x20, 0x30, 0x0105, {},
                [](TTlnProg& p) { p.InitiateBTLMTasteProg(0, 2); }, {}, {PROG_FAILED}, 4},
    CommandCase{"BTLMTasteProgWithoutSubscriber", 5, 0x20, 0x30, 0, {},
                [](TTlnProg& p) { p.InitiateBTLMTasteProg(0x0A01, 2); }, {}, {PROG_FAILED}, 5},
    CommandCase{"BSMTasteProg", 8, 0x20, 0, 0x0105, {},
                [](TTlnProg& p) { p.InitiateBSMTasteProg(0x0B01, 3); },
                WithIndex(PcProg(BSM_CODE_PROG, 0x0B01, 0x0105), 3), {RUECKMELDUNG_OK}, 8},
    CommandCase{"BSMTasteProgWithoutSwitchModule", 4, 0x20, 0x30, 0x0105, {},
                [](TTlnProg& p) { p.InitiateBSMTasteProg(0x0B01, 3); }, {}, {PROG_FAILED}, 4},
    CommandCase{"BSMTasteProgWithoutProgrammingMode", 8, 0, 0, 0x0105, {},
                [](TTlnProg& p) { p.InitiateBSMTasteProg(0x0B01, 3); }, {}, {PROG_FAILED}, 8}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(ProgFixture, RefusedFirstAssignmentTakesNoFreeAddress) {
    prog().SetProgMode(eProgStateAktiv);
    prog().SetBSG(0x20);
    prog().SetKBA(0, 0x0107);
    prog().InitiateProgAkt();
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{PROG_FAILED});
    EXPECT_EQ(prog().GetTlnAdr(), 0);
}

TEST_F(ProgFixture, CancellingAFirstAssignmentEndsItWithTheChosenAddress) {
    EnterUnit();
    prog().SetKBA(0, 0x0107);
    prog().SetTlnAdr(0); // first assignment: the dialog has no address
    prog().InitiateProgAkt();
    ASSERT_TRUE(prog().IsProgTlnAktiv());
    prog().SetTlnAdr(0); // the cancel button sets the same again
    prog().InitiateProgPassiv();
    EXPECT_TRUE(results.results.empty());
    ASSERT_EQ(SentCount(), 2u);
    EXPECT_EQ(Sent()[1], PcProg(HT_PROG_PAS, 0x0020, 0x0107));
    EXPECT_EQ(prog().GetProgMode(), eProgStateAktiv);
}

struct SendFailCase {
    const char* name;
    std::function<void(TTlnProg&)> command;
};

class CommandSendFails : public ProgFixture, public testing::WithParamInterface<SendFailCase> {};

TEST_P(CommandSendFails, ReportsSendFailedAndKeepsTheState) {
    EnterUnit();
    prog().SetTlnAdr(0x0105);
    Port()->sendOk = false;
    GetParam().command(prog());
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{SEND_FAILED});
    EXPECT_EQ(prog().GetProgMode(), eProgStateBTLM);
    // Outside a modal run there is no run to end.
    EXPECT_TRUE(owner.results.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandSendFails,
    testing::Values(SendFailCase{"DelTln", [](TTlnProg& p) { p.InitiateDelTln(); }},
                    SendFailCase{"DelAllTln", [](TTlnProg& p) { p.InitiateDelAllTln(); }},
                    SendFailCase{"ProgAkt", [](TTlnProg& p) { p.InitiateProgAkt(); }},
                    SendFailCase{"ProgPassiv", [](TTlnProg& p) { p.InitiateProgPassiv(); }},
                    SendFailCase{"ProgBTLM", [](TTlnProg& p) { p.InitiateProgBTLM(); }},
                    SendFailCase{"BTLMTasteProg",
                                 [](TTlnProg& p) { p.InitiateBTLMTasteProg(0x0A01, 1); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Messages of the box ---------------------------------------------------

struct AnswerCase {
    const char* name;
    std::vector<int> states; // reached from 0 with SetProgMode
    bool video;
    Bytes box; // empty: a time-out reaches the handlers
    std::vector<TProgResult> results;
    int stateAfter;
};

class BoxAnswers : public ProgFixture, public testing::WithParamInterface<AnswerCase> {};

TEST_P(BoxAnswers, GiveTheirResults) {
    const AnswerCase& c = GetParam();
    prog().SetBSG(0x20);
    prog().SetBTLM(0x30);
    prog().SetTlnAdr(0x0105);
    prog().SetKBA(3, 0x0105);
    for (int s : c.states)
        prog().SetProgMode(s);
    if (c.video) {
        // Only the box tells that a unit has video.
        prog().SetProgMode(eProgStateAktiv);
        Box(BoxProg(TL_PROG_VIDEO, 0x30));
        for (int s : c.states)
            prog().SetProgMode(s);
        results.results.clear();
    }
    if (c.box.empty())
        engine.WorkOnReadData(nullptr);
    else
        Box(c.box);
    EXPECT_EQ(results.results, c.results);
    EXPECT_EQ(prog().GetProgMode(), c.stateAfter);
}

TProgResult R(std::uint32_t code, std::intptr_t w = 0, std::intptr_t l = 0) {
    return {code, w, l};
}

// clang-format off
// Rows: states entered from 0, a video unit, the box's block (none: a
// time-out), the results, the state after.
INSTANTIATE_TEST_SUITE_P(Messages, BoxAnswers, testing::Values(
    AnswerCase{"ErrorReportIdle", {}, false, BoxProg(IT_FEHLER, 0x0203), {R(TLNPROG_FEHLER, 2, 3)}, 0},
    AnswerCase{"ErrorReportWhileAwaitingAck", {3, 4, 7}, false, BoxProg(IT_FEHLER, 0x0104),
               {R(TLNPROG_FEHLER, 1, 4)}, 7},
    AnswerCase{"ProgrammingModeOn", {}, false, BoxProg(PROG_MODE_AKT, 0x0021, 0x4711), {R(PROGMODEAKT_OK)}, 3},
    AnswerCase{"ProgrammingModeOnWithoutAddress", {}, false, BoxProg(PROG_MODE_AKT, 0, 1), {}, 0},
    AnswerCase{"ProgrammingModeOnWithoutAddressInUnit", {3, 4}, false, BoxProg(PROG_MODE_AKT, 0, 1), {}, 4},
    AnswerCase{"ProgrammingModeOffFromUnit", {3, 4}, false, BoxProg(PROG_MODE_PAS, 0x20), {R(TLNPROG_PAS_OK)}, 0},
    AnswerCase{"ProgrammingModeOffFromAwaitedAck", {3, 4, 7}, false, BoxProg(PROG_MODE_PAS, 0x20),
               {R(TLNPROG_PAS_OK)}, 0},
    AnswerCase{"UnitInProgramming", {3}, false, BoxProg(TL_PROG_AKT, 0x31), {R(TLNPROGAKT_OK)}, 4},
    AnswerCase{"VideoUnitInProgramming", {3}, false, BoxProg(TL_PROG_VIDEO, 0x31), {R(TLNPROGAKT_OK)}, 5},
    AnswerCase{"UnitWithoutAddress", {3}, false, BoxProg(TL_PROG_AKT, 0), {R(TLNPROGAKT_FAILED)}, 3},
    AnswerCase{"UnitOutsideProgrammingMode", {}, false, BoxProg(TL_PROG_AKT, 0x31), {}, 0},
    AnswerCase{"SwitchModuleIn", {3}, false, BoxProg(BSM_PROG_AKTIV, 0x40, 0x0005), {R(BSMPROG_AKT)}, 8},
    AnswerCase{"SwitchModuleWithoutAddress", {3}, false, BoxProg(BSM_PROG_AKTIV, 0, 5), {}, 3},
    AnswerCase{"SwitchModuleOut", {3, 8}, false, BoxProg(BSM_PROG_PASSIV), {R(BSMPROG_PAS)}, 3},
    AnswerCase{"AddressAcknowledged", {3, 4, 7}, false, BoxProg(PROG_QUITT, 0x0105, 0x30), {R(PROGQUIT_OK)}, 4},
    AnswerCase{"AddressAcknowledgedByVideoUnit", {7}, true, BoxProg(PROG_QUITT, 0x0105, 0x30),
               {R(PROGQUIT_OK)}, 5},
    AnswerCase{"AcknowledgementWithoutAddress", {3, 4, 7}, false, BoxProg(PROG_QUITT, 0, 0x30),
               {R(PROGQUIT_FAILED)}, 4},
    AnswerCase{"NoAcknowledgement", {3, 4, 7}, false, {}, {R(PROGQUIT_FAILED)}, 4},
    AnswerCase{"AcknowledgementNotAwaited", {3, 4}, false, BoxProg(PROG_QUITT, 0x0105, 0x30), {}, 4},
    AnswerCase{"TimeOutWithUnitInProgramming", {3, 4}, false, {}, {}, 4},
    AnswerCase{"UnknownCommand", {3}, false, BoxProg(TASTE_PROG, 1, 2), {}, 3}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(ProgFixture, ProgrammingModeKeepsTheBoxAddressAndIdentifier) {
    Box(BoxProg(PROG_MODE_AKT, 0x0021, 0x4711));
    EXPECT_TRUE(prog().IsProgModeAktiv());
    EXPECT_EQ(prog().GetAdrBSG(), 0x0021);
    EXPECT_EQ(prog().GetBSGKenniffer(), 0x4711);
    Box(BoxProg(BSM_PROG_AKTIV, 0x0040, 0x0006));
    EXPECT_TRUE(prog().IsBSMAktiv());
    EXPECT_EQ(prog().GetAdrBSM(), 0x0040);
    EXPECT_EQ(prog().GetBSMRelais(), 6);
    Box(BoxProg(PROG_MODE_PAS, 0x0021));
    EXPECT_FALSE(prog().IsProgModeAktiv());
    EXPECT_FALSE(prog().IsBTLMAktiv());
    EXPECT_EQ(prog().GetAdrBSM(), 0);
}

TEST_F(ProgFixture, AcknowledgedAddressLeavesTheFreeList) {
    EnterUnit();
    prog().SetKBA(0, 0x0107);
    prog().SetKBA(1, 0x0108);
    prog().InitiateProgAkt();
    // The dialog reads the state while it handles the result: it is back
    // already.
    struct StateAtResult : IProgResultOwner {
        TTlnProg* p = nullptr;
        int state = -1;
        void OnProgResult(const TProgResult&) override { state = p->GetProgMode(); }
    } atResult;
    atResult.p = &prog();
    prog().SetResultOwner(&atResult);
    Box(BoxProg(PROG_QUITT, 0x0107, 0x30));
    EXPECT_EQ(atResult.state, eProgStateBTLM);
    EXPECT_EQ(prog().GetQuittAdr(), 0x0107);
    EXPECT_EQ(prog().GetKBA(0), 0);
    EXPECT_EQ(prog().GetKBA(1), 0x0108);
    EXPECT_EQ(prog().GetAnzKBA(), 1);
}

TEST_F(ProgFixture, PortChangeForgetsTheProgrammingState) {
    EnterUnit();
    settings.comPort = 6;
    engine.UpdatePort();
    EXPECT_EQ(prog().GetProgMode(), eProgStateUndefined);
}

TEST_F(ProgFixture, ResetAfterHangUpClearsWhatTheBoxTold) {
    EnterUnit();
    prog().SetTlnAdr(0x0105);
    prog().SetKBACounter(4);
    prog().ResetProgData();
    EXPECT_EQ(prog().GetProgMode(), eProgStateUndefined);
    EXPECT_FALSE(prog().IsProgModeAktiv());
    EXPECT_FALSE(prog().IsBTLMAktiv());
    EXPECT_EQ(prog().GetTlnAdr(), 0);
    EXPECT_EQ(prog().GetBSGKenniffer(), 0);
    EXPECT_EQ(prog().GetKBACounter(), 0);
}

// ---- Free-address list -----------------------------------------------------

TEST_F(ProgFixture, FreeListSlots) {
    EXPECT_FALSE(prog().SetKBA(31, 5));
    EXPECT_FALSE(prog().SetKBA(-1, 5));
    EXPECT_EQ(prog().GetKBA(31), 0);
    EXPECT_FALSE(prog().AddKBA(0));
    EXPECT_FALSE(prog().DelKBA(0));
    for (int i = 0; i < MAX_ANZ_TLN; ++i)
        ASSERT_TRUE(prog().AddKBA(static_cast<std::uint16_t>(0x100 + i)));
    EXPECT_EQ(prog().GetKBACounter(), MAX_ANZ_TLN);
    // A full list takes nothing more.
    EXPECT_FALSE(prog().AddKBA(0x200));
    EXPECT_EQ(prog().GetKBACounter(), MAX_ANZ_TLN);
    EXPECT_EQ(prog().GetAnzKBA(), MAX_ANZ_TLN);
    EXPECT_TRUE(prog().DelKBA(0x105));
    EXPECT_FALSE(prog().DelKBA(0x105));
    EXPECT_TRUE(prog().AddKBA(0x200));
    EXPECT_EQ(prog().GetKBA(5), 0x200);
}

// ---- Free-address runs (modes 5 and 6) --------------------------------------

class FreeAddressRun : public ProgFixture {
protected:
    void Start(int mode) {
        engine.SetTransferData(mode, buffer.data(), 255);
        engine.StartTransfer();
    }
    Bytes buffer = Bytes(255, 0);
};

Bytes ListBytes(std::initializer_list<std::uint16_t> adrs) {
    Bytes b;
    for (auto a : adrs) {
        b.push_back(static_cast<std::uint8_t>(a >> 8));
        b.push_back(static_cast<std::uint8_t>(a & 0xFF));
    }
    return b;
}

TEST_F(FreeAddressRun, ListRequestCarriesTheCountAndWaits120Seconds) {
    prog().SetKBACounter(3);
    Start(eReceiveKBAList);
    ASSERT_EQ(SentCount(), 1u);
    EXPECT_EQ(Sent()[0], PcProg(PROG_KBA, 3, 0));
    EXPECT_TRUE(view.progressTimer);
    EXPECT_EQ(prog().GetProgMode(), eProgStateKBARequest);
    Elapse(kTimeoutKBAListMs - 1);
    EXPECT_TRUE(owner.results.empty());
    Elapse(1);
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{KBA_LIST_FAILED});
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_FALSE(view.progressTimer);
}

struct ListCase {
    const char* name;
    Bytes list;
    std::uint32_t result;
    std::vector<std::uint16_t> slots; // the first slots; all others 0
};

class FreeAddressList : public FreeAddressRun, public testing::WithParamInterface<ListCase> {};

Bytes ListAnswer(const Bytes& list) {
    Bytes b{0x83, 0, 0, 0, 0, 0, PROG_KBA_LIST};
    b.insert(b.end(), list.begin(), list.end());
    return b;
}

TEST_P(FreeAddressList, FillsTheSlotsAndEndsTheRun) {
    prog().SetProgMode(eProgStateAktiv);
    Start(eReceiveKBAList);
    prog().SetKBA(20, 0x999); // whatever was there before goes
    Box(ListAnswer(GetParam().list));
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{GetParam().result});
    for (int i = 0; i < MAX_ANZ_TLN; ++i) {
        const std::size_t n = static_cast<std::size_t>(i);
        EXPECT_EQ(prog().GetKBA(i), n < GetParam().slots.size() ? GetParam().slots[n] : 0)
            << "slot " << i;
    }
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(prog().GetProgMode(), eProgStateAktiv);
    EXPECT_EQ(view.pos, view.max);
}

std::vector<std::uint16_t> Counting(std::uint16_t from, int n) {
    std::vector<std::uint16_t> v;
    for (int i = 0; i < n; ++i)
        v.push_back(static_cast<std::uint16_t>(from + i));
    return v;
}

Bytes CountingList(std::uint16_t from, int n) {
    Bytes b;
    for (auto a : Counting(from, n)) {
        b.push_back(static_cast<std::uint8_t>(a >> 8));
        b.push_back(static_cast<std::uint8_t>(a & 0xFF));
    }
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FreeAddressList,
    testing::Values(ListCase{"TwoAddresses", ListBytes({5, 7}), KBA_LIST_OK, {5, 7}},
                    ListCase{"HighByteFirst", ListBytes({0x0102}), KBA_LIST_OK, {0x0102}},
                    ListCase{"NoBytes", {}, KBA_LIST_EMPTY, {}},
                    ListCase{"OnlyEmptySlots", ListBytes({0, 0, 0}), KBA_LIST_EMPTY, {}},
                    ListCase{"GapKeptInPlace", ListBytes({0, 9}), KBA_LIST_OK, {0, 9}},
                    ListCase{"FullList", CountingList(0x100, 31), KBA_LIST_OK, Counting(0x100, 31)},
                    ListCase{"LongerListCutAt31", CountingList(0x100, 40), KBA_LIST_OK,
                             Counting(0x100, 31)},
                    ListCase{"HalfAddressDropped", {0, 5, 0}, KBA_LIST_OK, {5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FreeAddressRun, ListReadReturnsToTheUnitInProgramming) {
    EnterUnit();
    Start(eReceiveKBAList);
    Box(ListAnswer(ListBytes({5})));
    EXPECT_EQ(prog().GetProgMode(), eProgStateBTLM);
}

TEST_F(FreeAddressRun, ProgrammingMessagesDuringTheReadAreStillHandled) {
    EnterUnit();
    Start(eReceiveKBAList);
    Box(BoxProg(IT_FEHLER, 0x0102));
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{TLNPROG_FEHLER});
    EXPECT_TRUE(owner.results.empty());
    Box(ListAnswer(ListBytes({5})));
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FreeAddressRun, BoxLeavingProgrammingModeDuringTheReadStillEndsTheRunOnce) {
    EnterUnit();
    Start(eReceiveKBAList);
    Box(BoxProg(PROG_MODE_PAS, 0x20));
    EXPECT_EQ(prog().GetProgMode(), eProgStateUndefined);
    Elapse(kTimeoutKBAListMs);
    EXPECT_EQ(results.Codes(), (std::vector<std::uint32_t>{TLNPROG_PAS_OK, KBA_LIST_FAILED}));
    EXPECT_EQ(owner.results, std::vector<int>{1});
    // The box said it left: no way back into programming mode.
    EXPECT_EQ(prog().GetProgMode(), eProgStateUndefined);
}

TEST_F(FreeAddressRun, StrayBlockDoesNotTakeTheRequestsTimeOut) {
    Start(eReceiveKBACount);
    Elapse(1000);
    Box(BoxBlock(eEvConfAck, 3));
    Elapse(kTimeoutKBACountMs - 1000 - 1);
    EXPECT_TRUE(owner.results.empty());
    Elapse(1);
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{KBA_COUNT_FAILED});
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FreeAddressRun, CancelEndsTheReadOnce) {
    Start(eReceiveKBAList);
    engine.Cancel();
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{KBA_LIST_FAILED});
    EXPECT_EQ(owner.results.size(), 1u);
}

TEST_F(FreeAddressRun, FailedRequestEndsTheRunOnceWithZero) {
    Port()->sendOk = false;
    Start(eReceiveKBACount);
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{SEND_FAILED});
    EXPECT_FALSE(view.progressTimer);
    EXPECT_EQ(prog().GetProgMode(), eProgStateUndefined);
    Elapse(kTimeoutKBACountMs);
    EXPECT_EQ(owner.results.size(), 1u);
    EXPECT_EQ(results.results.size(), 1u);
}

TEST_F(FreeAddressRun, TimeOutOfAnotherExchangeIsNoProgrammingResult) {
    // A list read whose run is ended under it (the link went down) leaves
    // its state behind.
    prog().SetProgMode(eProgStateAktiv);
    Start(eReceiveKBAList);
    engine.OnLinkDown();
    ASSERT_EQ(owner.results, std::vector<int>{0});
    ASSERT_EQ(prog().GetProgMode(), eProgStateKBARequest);
    // A configuration read that times out three times.
    Bytes config(32768, 0);
    engine.SetTransferData(eReceiveAnlDaten, config.data(), 32768);
    engine.StartTransfer();
    for (int i = 0; i < kMaxBlockTries; ++i)
        Elapse(kTimeoutDataReqMs);
    EXPECT_EQ(owner.results, (std::vector<int>{0, 0}));
    EXPECT_TRUE(results.results.empty());
    EXPECT_EQ(prog().GetProgMode(), eProgStateAktiv);
}

TEST_F(FreeAddressRun, FailedStartOfAnotherRunIsNoProgrammingResult) {
    prog().SetProgMode(eProgStateAktiv);
    Start(eReceiveKBACount);
    engine.OnLinkDown();
    engine.SetTransferData(4, buffer.data(), 255); // mode 4 is refused
    engine.StartTransfer();
    Elapse(kStartFailedTimerMs);
    EXPECT_TRUE(results.results.empty());
    EXPECT_EQ(owner.results, (std::vector<int>{0, 0}));
}

// ---- Count -----------------------------------------------------------------

struct CountCase {
    const char* name;
    Bytes answer;
    std::uint32_t result;
    std::uint16_t count;
};

class FreeAddressCount : public FreeAddressRun, public testing::WithParamInterface<CountCase> {};

TEST_P(FreeAddressCount, GivesItsResult) {
    EnterUnit();
    prog().SetKBACounter(9);
    Start(eReceiveKBACount);
    ASSERT_EQ(SentCount(), 1u);
    EXPECT_EQ(Sent()[0], PcProg(PROG_KBA_COUNT, 0, 0));
    EXPECT_EQ(prog().GetProgMode(), eProgStateKBACount);
    Box(GetParam().answer);
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{GetParam().result});
    EXPECT_EQ(prog().GetKBACounter(), GetParam().count);
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(prog().GetProgMode(), eProgStateBTLM);
}

Bytes CountAnswer(std::uint8_t answer, std::uint16_t count) {
    return {0x83,
            0,
            0,
            0,
            0,
            0,
            PROG_KBA_COUNTER,
            0,
            answer,
            static_cast<std::uint8_t>(count >> 8),
            static_cast<std::uint8_t>(count & 0xFF)};
}

Bytes Cut(Bytes b, std::size_t n) {
    b.resize(n);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FreeAddressCount,
    testing::Values(
        CountCase{"Ack", CountAnswer(eEvConfAck, 7), KBA_COUNT, 7},
        CountCase{"AckOfHighCount", CountAnswer(eEvConfAck, 0x0102), KBA_COUNT, 0x0102},
        CountCase{"Nak", CountAnswer(9, 7), KBA_COUNT_FAILED, 0},
        CountCase{"ShortAnswer", Cut(CountAnswer(eEvConfAck, 7), 10), KBA_COUNT_FAILED, 0},
        CountCase{"AnswerByteOnly", Cut(CountAnswer(eEvConfAck, 7), 9), KBA_COUNT_FAILED, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FreeAddressRun, CountTimesOutAfterSixtySeconds) {
    Start(eReceiveKBACount);
    Elapse(kTimeoutKBACountMs - 1);
    EXPECT_TRUE(results.results.empty());
    Elapse(1);
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{KBA_COUNT_FAILED});
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(FreeAddressRun, LateAnswerAfterItsRunIsIgnored) {
    prog().SetProgMode(eProgStateAktiv);
    Start(eReceiveKBACount);
    engine.OnLinkDown();
    Box(CountAnswer(eEvConfAck, 7));
    EXPECT_TRUE(results.results.empty());
    EXPECT_EQ(prog().GetKBACounter(), 0);
    EXPECT_EQ(prog().GetProgMode(), eProgStateAktiv);
}

} // namespace
