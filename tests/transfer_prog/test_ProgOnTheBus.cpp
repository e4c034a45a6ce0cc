// Programming over the installation bus with the real bus port: the box's
// programming messages come as channel-3 blocks carried in 'C' telegrams and
// as raw programming telegrams ('/', '9', ':'), which the bus port hands up
// whole. Both forms are read, and neither disturbs a running exchange.

#include "FirmwareDefs.h"
#include "ProgBusBox.h"
#include "ProgFixture.h"
#include "TDownloadMessage.h"
#include "TTkLumenPort.h"

#include <algorithm>
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

// The switch module's address is the word after the command, its relay the
// low byte of the next word.
TEST_F(ProgOnTheBus, SwitchModuleInProgrammingAsARawTelegram) {
    prog().SetProgMode(eProgStateAktiv);
    prog().SetBSG(0x21);
    box.SendTelegram(LUMEN_FN_PROG, Cat({{BSM_PROG_AKTIV}, Word(0x0140), Word(2)}));
    Pump();
    EXPECT_EQ(results.results, (std::vector<TProgResult>{{BSMPROG_AKT, 0, 0}}));
    EXPECT_EQ(prog().GetProgMode(), eProgStateBSM);
    EXPECT_EQ(prog().GetAdrBSM(), 0x0140);
    EXPECT_EQ(prog().GetBSMRelais(), 2);
}

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

// The switching-code page's assignment: the address command, the key
// command and the end of the unit's programming go out in a row, and the box
// answers the address command at once with its acknowledgement block while
// the key command is on its way. Every command reaches the box and the key
// is reported assigned once.
class KeyAssignment : public ProgOnTheBus {
protected:
    void SetUp() override {
        prog().SetProgMode(eProgStateAktiv);
        prog().SetBSG(0x0021);
        prog().SetBTLM(0x0030);
        prog().SetProgMode(eProgStateBTLM);
        prog().SetTlnAdr(0x0105);
    }
    void Assign() {
        prog().InitiateProgBTLM();
        prog().InitiateBTLMTasteProg(0x0030, 2);
        prog().InitiateProgPassiv();
        Pump();
    }
    std::vector<std::uint8_t> Commands() const {
        std::vector<std::uint8_t> c;
        for (const TCommMessage& m : box.fromPc)
            c.push_back(m.GetCmd());
        return c;
    }
};

TEST_F(KeyAssignment, AcknowledgementWhileTheNextCommandGoesOutLosesNothing) {
    Assign();
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{HT_PROG_AKT, BTLM_CODE_PROG, HT_PROG_PAS}));
    EXPECT_EQ(results.Codes(), std::vector<std::uint32_t>{RUECKMELDUNG_OK});
    EXPECT_EQ(prog().GetProgMode(), eProgStateAktiv);
    // The box's acknowledgement block was taken, not refused.
    EXPECT_EQ(std::count_if(quell.sent.begin(), quell.sent.end(),
                            [](const Bytes& t) {
                                return t.size() > 3 && t[1] == KTX_PC_DAT && t[3] == eEvQuellNak;
                            }),
              0);
}

TEST_F(KeyAssignment, KeyCommandTheBoxRefusedIsNotReportedAssigned) {
    box.refuseCmd = BTLM_CODE_PROG;
    Assign();
    const std::vector<std::uint32_t> codes = results.Codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), RUECKMELDUNG_OK), 0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), SEND_FAILED), 1);
}

// The end of a firmware run sends both devices' stop commands without
// waiting. On a loaded machine the box's stop can miss the interface's
// answer window on every try; the camera device's stop still goes, or the
// camera device would stay in download mode.
TEST_F(ProgOnTheBus, CameraStopGoesEvenWhenTheBoxStopIsLost) {
    auto isStopOf = [](std::uint8_t device) {
        TDownloadMessage msg(eFWCmdStopDownload, 0);
        msg.SetProt(device);
        const Bytes stop(msg.GetBuffer(), msg.GetBuffer() + msg.GetLen());
        return [stop](const Bytes& t) {
            if (t.size() < 7 || t[1] != KTX_PC_DAT || t[3] != eEvQuellDataFirst)
                return false;
            const std::size_t n = std::min<std::size_t>(stop.size(), MAX_DATA_LEN);
            return t[6] == n && t.size() >= 7 + n &&
                   std::equal(stop.begin(), stop.begin() + static_cast<long>(n), t.begin() + 7);
        };
    };
    const std::size_t mark = quell.sent.size();
    ext.OnFirmwareStop();
    ASSERT_EQ(quell.sent.size(), mark + 1);
    ASSERT_TRUE(isStopOf(kFWProtKTX)(quell.sent.back()));
    // Every try of the box stop's next telegram goes unanswered.
    quell.transmitStatuses.assign(kLumenTransmitTries, 0xF002);
    Pump();
    EXPECT_EQ(std::count_if(quell.sent.begin(), quell.sent.end(), isStopOf(kFWProtKMR)), 1);
    // The camera device's stop went out whole.
    const Bytes end{LUMEN_ADR_BOX, KTX_PC_DAT, LUMEN_ADR_PC, eEvQuellDataEnd, 1, 0};
    ASSERT_GE(quell.sent.back().size(), end.size());
    EXPECT_TRUE(std::equal(end.begin(), end.end(), quell.sent.back().begin()));
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
