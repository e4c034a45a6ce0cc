// Programming over the installation bus with the real bus port: the box's
// programming messages come as channel-3 blocks carried in 'C' telegrams and
// as raw programming telegrams ('/', '9', ':'), which the bus port hands up
// whole. Both forms are read, and neither disturbs a running exchange.

#include "ProgBusBox.h"
#include "ProgFixture.h"
#include "TTkLumenPort.h"

#include <deque>
#include <functional>

namespace {

// The program's glue for the bus port: perform goes straight to the engine,
// post waits in a queue the test runs like an event loop.
class LumenGlue : public ILumenPortOwner {
public:
    LumenGlue(TDataTransferEngine& engine, std::deque<std::function<void()>>& posted)
        : engine(engine), posted(posted) {}
    void PerformQuellPortData() override { engine.OnReadQuellData(); }
    void PostQuellPortData() override {
        posted.push_back([this] { engine.OnReadQuellData(); });
    }
    void PerformKennungRestart() override { engine.OnKennungRestart(); }
    void PostPendingTelegrams() override {
        posted.push_back([this] { engine.OnLumenPendingTelegrams(); });
    }
    void ShowOpenError(std::uint16_t) override {}

    TDataTransferEngine& engine;
    std::deque<std::function<void()>>& posted;
};

class BusPorts : public ITransferPortFactory {
public:
    BusPorts(FakeQuell32Control& quell, ITransferClock& clock) : quell(quell), clock(clock) {}
    std::unique_ptr<ITransferPort> CreatePort(eConnectionType type, int setting) override {
        if (type != eConnectionQuell || !owner)
            return nullptr;
        return std::make_unique<TTkLumenPort>(*owner, quell, clock, setting);
    }
    FakeQuell32Control& quell;
    ITransferClock& clock;
    ILumenPortOwner* owner = nullptr;
};

class ProgOnTheBus : public testing::Test {
protected:
    ProgOnTheBus()
        : ports(quell, clock), engine(clock, settings, ports), ext(engine, clock),
          glue(engine, posted), box(quell) {
        settings.comPort = 1;
        ports.owner = &glue;
        engine.SetExtension(&ext);
        engine.SetOwner(&owner);
        engine.SetView(&view);
        prog().SetResultOwner(&results);
        engine.UpdatePort();
    }

    TTlnProg& prog() { return ext.GetTlnProg(); }

    // Runs the bus until nobody has anything more to say.
    void Pump() {
        for (int guard = 0; guard < 100000; ++guard) {
            if (!posted.empty()) {
                auto call = std::move(posted.front());
                posted.pop_front();
                call();
            } else if (!box.outbox.empty()) {
                quell.Store(RECEIVE_STATUS_ACK, box.outbox.front());
                box.outbox.pop_front();
                engine.OnTeleReceived();
            } else {
                return;
            }
        }
        FAIL() << "the bus never settled";
    }
    void Run(int mode) {
        engine.SetTransferData(mode, buffer.data(), 255);
        engine.StartTransfer();
        Pump();
    }

    FakeClock clock;
    FakeSettings settings;
    FakeQuell32Control quell;
    BusPorts ports;
    TDataTransferEngine engine;
    TTransferExtension ext;
    std::deque<std::function<void()>> posted;
    LumenGlue glue;
    ProgBusBox box;
    RecordingView view;
    ResultOwner owner;
    RecordingResults results;
    Bytes buffer = Bytes(255, 0);
};

// Raw '/' telegrams carry their words low byte first.
Bytes Word(std::uint16_t w) {
    return {static_cast<std::uint8_t>(w & 0xFF), static_cast<std::uint8_t>(w >> 8)};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(ProgOnTheBus, WholeAssignmentInBothForms) {
    // Programming mode on: a raw telegram.
    box.SendTelegram(LUMEN_FN_PROG, Cat({{PROG_MODE_AKT}, Word(0x0021), Word(0x4711)}));
    Pump();
    EXPECT_EQ(prog().GetProgMode(), eProgStateAktiv);
    EXPECT_EQ(prog().GetAdrBSG(), 0x0021);
    EXPECT_EQ(prog().GetBSGKenniffer(), 0x4711);

    // Free-address count and list: blocks, as modal runs.
    box.freeCount = 2;
    Run(eReceiveKBACount);
    EXPECT_EQ(prog().GetKBACounter(), 2);
    box.freeList = {0x0105, 0x0106};
    Run(eReceiveKBAList);
    EXPECT_EQ(prog().GetAnzKBA(), 2);
    EXPECT_EQ(owner.results, (std::vector<int>{1, 1}));
    EXPECT_EQ(prog().GetProgMode(), eProgStateAktiv);

    // A unit in programming: a raw telegram.
    box.SendTelegram(LUMEN_FN_PROG, Cat({{TL_PROG_AKT}, Word(0x0030)}));
    Pump();
    EXPECT_EQ(prog().GetAdrBTLM(), 0x0030);

    // The first assignment: the PC's command as a block, the box's
    // acknowledgement as a block.
    prog().SetTlnAdr(0);
    prog().InitiateProgAkt();
    Pump();
    ASSERT_FALSE(box.fromPc.empty());
    EXPECT_EQ(box.fromPc.back().GetCmd(), HT_PROG_AKT);
    EXPECT_EQ(box.fromPc.back().GetAdrKomBus(), 0x0105);
    EXPECT_EQ(prog().GetQuittAdr(), 0x0105);
    EXPECT_EQ(prog().GetKBA(0), 0);

    // Programming mode off: a block.
    box.SendProgBlock(PROG_MODE_PAS, 0x0021);
    Pump();
    EXPECT_EQ(results.Codes(),
              (std::vector<std::uint32_t>{PROGMODEAKT_OK, KBA_COUNT, KBA_LIST_OK, TLNPROGAKT_OK,
                                          PROGQUIT_OK, TLNPROG_PAS_OK}));
    EXPECT_EQ(prog().GetProgMode(), eProgStateUndefined);
}

struct RawCase {
    const char* name;
    std::uint8_t function;
    Bytes rest;
    std::vector<TProgResult> results;
    int stateAfter;
};

class RawTelegram : public ProgOnTheBus, public testing::WithParamInterface<RawCase> {};

TEST_P(RawTelegram, IsReadAsAProgrammingMessage) {
    prog().SetProgMode(eProgStateAktiv);
    prog().SetBSG(0x21);
    box.SendTelegram(GetParam().function, GetParam().rest);
    Pump();
    EXPECT_EQ(results.results, GetParam().results);
    EXPECT_EQ(prog().GetProgMode(), GetParam().stateAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Telegrams, RawTelegram,
    testing::Values(
        RawCase{"ProgrammingModeOn",
                LUMEN_FN_PROG,
                Cat({{PROG_MODE_AKT}, Word(0x22), Word(7)}),
                {{PROGMODEAKT_OK, 0, 0}},
                eProgStateAktiv},
        RawCase{"ProgrammingModeOff",
                LUMEN_FN_PROG,
                Cat({{PROG_MODE_PAS}, Word(0x21)}),
                {{TLNPROG_PAS_OK, 0, 0}},
                eProgStateUndefined},
        RawCase{"UnitInProgramming",
                LUMEN_FN_PROG,
                Cat({{TL_PROG_AKT}, Word(0x31)}),
                {{TLNPROGAKT_OK, 0, 0}},
                eProgStateBTLM},
        RawCase{"VideoUnitInProgramming",
                LUMEN_FN_PROG,
                Cat({{TL_PROG_VIDEO}, Word(0x31)}),
                {{TLNPROGAKT_OK, 0, 0}},
                eProgStateBTLMVideo},
        RawCase{
            "ErrorReport", LUMEN_FN_IT_FEHLER, {3, 2}, {{TLNPROG_FEHLER, 3, 2}}, eProgStateAktiv},
        RawCase{"NineTelegram", LUMEN_FN_PROG_9, {1, 2, 3}, {}, eProgStateAktiv}),
    [](const auto& info) { return std::string(info.param.name); });

// Commands that wait for no answer, sent one right after the other: the
// second waits until the first is through instead of cutting it short.
TEST_F(ProgOnTheBus, CommandsInARowAllReachTheBox) {
    prog().SetTlnAdr(0x0107);
    prog().InitiateDelTln();
    prog().InitiateDelAllTln();
    Pump();
    ASSERT_EQ(box.fromPc.size(), 2u);
    EXPECT_EQ(box.fromPc[0].GetCmd(), TLN_ADR_CLEAR);
    // The address in bytes 7 and 8, high byte first.
    EXPECT_EQ(box.fromPc[0].GetBuffer()[7], 0x01);
    EXPECT_EQ(box.fromPc[0].GetBuffer()[8], 0x07);
    EXPECT_EQ(box.fromPc[1].GetCmd(), ALL_TLN_ADR_CLEAR);
    EXPECT_TRUE(results.results.empty());
}

TEST_F(ProgOnTheBus, BlockFormOfTheErrorReport) {
    box.SendProgBlock(IT_FEHLER, 0x0402);
    Pump();
    EXPECT_EQ(results.results, (std::vector<TProgResult>{{TLNPROG_FEHLER, 4, 2}}));
}

TEST_F(ProgOnTheBus, RawTelegramNeitherAnswersNorTimesOutARunningRead) {
    // A configuration read waits for block 0; a raw programming telegram in
    // between is no wrong answer and leaves the time-out running.
    Bytes config(32768, 0);
    engine.SetTransferData(eReceiveAnlDaten, config.data(), 32768);
    engine.StartTransfer();
    Pump(); // the request goes out; this box answers no configuration request
    clock.Advance(kTimeoutDataReqMs - 10);
    box.SendTelegram(LUMEN_FN_IT_FEHLER, {1, 1});
    box.SendTelegram(LUMEN_FN_PROG_9, {0});
    Pump();
    EXPECT_EQ(engine.GetTries(), 0);
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{TLNPROG_FEHLER});
    clock.Advance(10);
    engine.Poll();
    EXPECT_EQ(engine.GetTries(), 1);
}

} // namespace
