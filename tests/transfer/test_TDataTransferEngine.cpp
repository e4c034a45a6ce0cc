// The transfer controller's engine with fake ports and a fake clock: every
// exchange of the block protocol, its accept rules and tries, every timer,
// the identification, the port handling, and one result per run.

#include "EngineFakes.h"
#include "FakeClock.h"
#include "TCommMessage.h"
#include "TLumenMessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>

namespace {

Bytes Counting(std::size_t n, std::uint8_t start = 1) {
    Bytes b(n);
    std::iota(b.begin(), b.end(), start);
    return b;
}

TCommMessage Parse(const Bytes& b) {
    return TCommMessage(std::span<const std::uint8_t>(b.data(), b.size()));
}

class EngineTest : public testing::Test {
protected:
    EngineTest() : engine(clock, settings, ports), owner(engine) {
        engine.SetOwner(&owner);
        engine.SetView(&view);
    }

    FakeTransferPort* Port() {
        return static_cast<FakeTransferPort*>(engine.GetPort(engine.GetConnectionType()));
    }

    // The box's answer as the configured port hands it up.
    void Answer(const Bytes& b) {
        switch (engine.GetConnectionType()) {
        case eConnectionQuell:
            Port()->rx = b;
            engine.OnReadQuellData();
            break;
        case eConnectionV24:
            Port()->rx = b;
            engine.OnReadData();
            break;
        default:
            engine.OnReceivedData(b.data(), b.size());
            break;
        }
    }

    void Elapse(std::uint64_t ms) {
        clock.Advance(ms);
        engine.Poll();
    }

    // Blocks the PC sent that are not the identification.
    std::vector<TCommMessage> Requests() {
        std::vector<TCommMessage> out;
        for (const Bytes& b : Port()->blocks) {
            TCommMessage m = Parse(b);
            if (m.GetCmd() != eEvConfKennung)
                out.push_back(m);
        }
        return out;
    }

    int Kennungen() {
        int n = 0;
        for (const Bytes& b : Port()->blocks)
            n += Parse(b).GetCmd() == eEvConfKennung;
        return n;
    }

    void StartRead(std::uint8_t* buffer, std::uint32_t len) {
        engine.SetTransferData(eReceiveAnlDaten, buffer, len);
        engine.StartTransfer();
    }

    FakeClock clock;
    FakeSettings settings;
    FakePortFactory ports;
    TDataTransferEngine engine;
    RecordingView view;
    PackageOwner owner;
};

// ---- Sending the configuration ---------------------------------------------

TEST_F(EngineTest, SendGoesPackageByPackageAndEndsOnceWithSuccess) {
    owner.packages = {Counting(1024), Counting(1024, 7), Counting(100, 9)};
    owner.Send();
    ASSERT_EQ(Requests().size(), 1u);
    TCommMessage first = Requests()[0];
    EXPECT_EQ(first.GetCmd(), eEvConfDataFirst);
    EXPECT_EQ(first.GetBlockNumber(), 0);
    EXPECT_EQ(first.GetValue(), 3); // the package count
    EXPECT_EQ(Bytes(first.GetData(), first.GetData() + first.GetDataLen()), owner.packages[0]);
    EXPECT_EQ(view.caption, kTextCaptionSend);
    EXPECT_EQ(view.max, 3);

    Answer(BoxBlock(eEvConfAck, 1));
    Answer(BoxBlock(eEvConfAck, 2));
    ASSERT_EQ(Requests().size(), 3u);
    EXPECT_EQ(Requests()[1].GetCmd(), eEvConfData);
    EXPECT_EQ(Requests()[1].GetBlockNumber(), 1);
    EXPECT_EQ(Requests()[2].GetCmd(), eEvConfDataEnd);
    EXPECT_EQ(Requests()[2].GetBlockNumber(), 2);
    EXPECT_EQ(Requests()[2].GetDataLen(), 100);
    EXPECT_TRUE(owner.results.empty());

    Answer(BoxBlock(eEvConfAck, 3));
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(engine.GetModalResult(), 1);
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(view.pos, 3);
    EXPECT_EQ(engine.GetMode(), eTransferIdle);
    const std::vector<std::pair<int, int>> info{
        {kTextSendBlock, 0}, {kTextSendBlock, 1}, {kTextSendBlock, 2}, {0, -1}};
    EXPECT_EQ(view.info, info);
}

struct SendAnswerCase {
    const char* name;
    std::optional<Bytes> answer; // none: the time-out
    bool accepted;
};

class SendAnswer : public EngineTest, public testing::WithParamInterface<SendAnswerCase> {};

TEST_P(SendAnswer, OnlyAnAckWithTheNextNumberTakesTheBlock) {
    owner.packages = {Counting(10), Counting(10)};
    owner.Send();
    if (GetParam().answer)
        Answer(*GetParam().answer);
    else
        Elapse(kTimeoutSendBlockMs);
    ASSERT_EQ(Requests().size(), 2u);
    if (GetParam().accepted) {
        EXPECT_EQ(engine.GetTries(), 0);
        EXPECT_EQ(Requests()[1].GetBlockNumber(), 1);
        EXPECT_EQ(owner.needCalls, 1);
    } else {
        // The same package again under the same number.
        EXPECT_EQ(engine.GetTries(), 1);
        EXPECT_EQ(Requests()[1].GetBlockNumber(), 0);
        EXPECT_EQ(Requests()[1].GetCmd(), eEvConfDataFirst);
        EXPECT_EQ(owner.needCalls, 0);
    }
    EXPECT_TRUE(owner.results.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SendAnswer,
    testing::Values(SendAnswerCase{"AckNextNumber", BoxBlock(eEvConfAck, 1), true},
                    SendAnswerCase{"AckChannelBitClear", Bytes{0, eEvConfAck, 0, 1, 0xFF, 0xFF},
                                   true},
                    SendAnswerCase{"AckOwnNumber", BoxBlock(eEvConfAck, 0), false},
                    SendAnswerCase{"AckTooFar", BoxBlock(eEvConfAck, 2), false},
                    SendAnswerCase{"Nak", BoxBlock(9, 1), false},
                    SendAnswerCase{"OtherCommand", BoxBlock(eEvConfData, 1), false},
                    SendAnswerCase{"EventLogChannel", BoxBlock(eEvConfAck, 1, {}, 5), true},
                    SendAnswerCase{"FailedBlock", Bytes{}, false},
                    SendAnswerCase{"Timeout", std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, BoxAckingWithTheBlocksOwnNumberFailsTheSendAfterThree) {
    owner.packages = {Counting(10)};
    owner.Send();
    Answer(BoxBlock(eEvConfAck, 0));
    Answer(BoxBlock(eEvConfAck, 0));
    EXPECT_TRUE(owner.results.empty());
    Answer(BoxBlock(eEvConfAck, 0));
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(Requests().size(), 3u);
    EXPECT_EQ(engine.GetModalResult(), 2);
    EXPECT_EQ(view.info.back(), (std::pair<int, int>{kTextTransferFailed, -1}));
}

TEST_F(EngineTest, ResentLaterBlockAsksAgainWhetherMoreFollow) {
    owner.packages = {Counting(10), Counting(10), Counting(10)};
    owner.Send();
    Answer(BoxBlock(eEvConfAck, 1));
    Elapse(kTimeoutSendBlockMs);
    ASSERT_EQ(Requests().size(), 3u);
    EXPECT_EQ(Requests()[2].GetBlockNumber(), 1);
    EXPECT_EQ(Requests()[2].GetCmd(), eEvConfData);
    EXPECT_EQ(owner.moreCalls, 2);
}

TEST_F(EngineTest, PackageOfMoreThan1024BytesIsRefusedAsAFailedRun) {
    owner.packages = {Counting(1025)};
    owner.Send();
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(owner.results, std::vector<int>{0});
    Elapse(kTimeoutSendBlockBusMs);
    EXPECT_EQ(owner.results.size(), 1u);
}

TEST_F(EngineTest, LaterPackageOfMoreThan1024BytesEndsTheRunOnce) {
    owner.packages = {Counting(100), Counting(1025)};
    owner.Send();
    Answer(BoxBlock(eEvConfAck, 1));
    EXPECT_EQ(Requests().size(), 1u);
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

TEST_F(EngineTest, OwnerThatGivesNoFurtherPackageEndsTheSend) {
    TDataTransferEngine lone(clock, settings, ports);
    Bytes package = Counting(10);
    lone.SetTransferData(eSendAnlDaten, package.data(), 10);
    lone.StartTransfer();
    FakeTransferPort* port = static_cast<FakeTransferPort*>(lone.GetPort(eConnectionV24));
    port->rx = BoxBlock(eEvConfAck, 1);
    lone.OnReadData();
    EXPECT_FALSE(lone.IsRunning());
    EXPECT_EQ(lone.GetModalResult(), 1);
}

// ---- Reading the configuration ---------------------------------------------

TEST_F(EngineTest, ReadStoresTheBlocksInOrderUntilDataEnd) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0].GetCmd(), eEvConfDataReq);
    EXPECT_EQ(Requests()[0].GetProt(), eProtKonfig);
    EXPECT_EQ(Requests()[0].GetBlockNumber(), 0);
    EXPECT_EQ(view.caption, kTextCaptionReceive);
    EXPECT_EQ(view.max, kReadProgressMax);

    const Bytes a = Counting(1024), b = Counting(1024, 50), c = Counting(10, 99);
    Answer(BoxBlock(eEvConfDataFirst, 0, a, 0, 3));
    EXPECT_EQ(view.max, 3);
    Answer(BoxBlock(eEvConfData, 1, b));
    ASSERT_EQ(Requests().size(), 3u);
    EXPECT_EQ(Requests()[2].GetBlockNumber(), 2);
    Answer(BoxBlock(eEvConfDataEnd, 2, c));

    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(engine.GetReceivedLen(), 2058u);
    Bytes expected = a;
    expected.insert(expected.end(), b.begin(), b.end());
    expected.insert(expected.end(), c.begin(), c.end());
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 2058), expected);
    EXPECT_EQ(buffer[2058], 0);
}

TEST_F(EngineTest, FirstAnswerDataEndEndsAtOnceAfterStoringItsData) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Answer(BoxBlock(eEvConfDataEnd, 0, {5, 6}));
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(buffer[0], 5);
    EXPECT_EQ(buffer[1], 6);
}

TEST_F(EngineTest, AcceptedBlockWithoutDataStillAdvancesTheNumber) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Answer(BoxBlock(eEvConfDataFirst, 0));
    ASSERT_EQ(Requests().size(), 2u);
    EXPECT_EQ(Requests()[1].GetBlockNumber(), 1);
    EXPECT_EQ(engine.GetReceivedLen(), 0u);
}

struct ReadAnswerCase {
    const char* name;
    std::optional<Bytes> answer;
    bool accepted;
};

class ReadAnswer : public EngineTest, public testing::WithParamInterface<ReadAnswerCase> {};

// Block 1 is expected; block 0 has been taken.
TEST_P(ReadAnswer, OnlyADataCommandWithTheExpectedNumberIsTaken) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Answer(BoxBlock(eEvConfDataFirst, 0, {1}, 0, 3));
    if (GetParam().answer)
        Answer(*GetParam().answer);
    else
        Elapse(kTimeoutDataReqMs);
    EXPECT_TRUE(owner.results.empty() || GetParam().accepted);
    EXPECT_EQ(engine.GetTries(), GetParam().accepted ? 0 : 1);
    EXPECT_EQ(engine.GetAktBlock(), GetParam().accepted ? 2 : 1);
    if (!GetParam().accepted) {
        // Not stored, and the expected block is asked for again.
        EXPECT_EQ(engine.GetReceivedLen(), 1u);
        ASSERT_EQ(Requests().size(), 3u);
        EXPECT_EQ(Requests()[2].GetBlockNumber(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ReadAnswer,
    testing::Values(ReadAnswerCase{"Data", BoxBlock(eEvConfData, 1, {2}), true},
                    ReadAnswerCase{"DataFirstAgainWithNumber1", BoxBlock(eEvConfDataFirst, 1, {2}),
                                   true},
                    ReadAnswerCase{"DataEnd", BoxBlock(eEvConfDataEnd, 1, {2}), true},
                    ReadAnswerCase{"DataWrongNumber", BoxBlock(eEvConfData, 2, {2}), false},
                    ReadAnswerCase{"DataRepeated", BoxBlock(eEvConfData, 0, {2}), false},
                    ReadAnswerCase{"DataEndWrongNumber", BoxBlock(eEvConfDataEnd, 3, {2}), false},
                    ReadAnswerCase{"Ack", BoxBlock(eEvConfAck, 1), false},
                    ReadAnswerCase{"LogData", BoxBlock(eEvConfLogData, 1, {2}, 5), false},
                    ReadAnswerCase{"ForeignChannel", BoxBlock(eEvConfData, 1, {2}, 0x70), false},
                    ReadAnswerCase{"FailedBlock", Bytes{}, false},
                    ReadAnswerCase{"Timeout", std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, DataEndWithAWrongNumberIsNoSuccess) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Answer(BoxBlock(eEvConfDataFirst, 0, {1}));
    Answer(BoxBlock(eEvConfDataEnd, 5, {9}));
    Answer(BoxBlock(eEvConfDataEnd, 5, {9}));
    EXPECT_TRUE(owner.results.empty());
    // The box gets the right block in the end; the read goes on.
    Answer(BoxBlock(eEvConfDataEnd, 1, {2}));
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(engine.GetReceivedLen(), 2u);
    EXPECT_EQ(buffer[1], 2);
}

TEST_F(EngineTest, ThreeWrongDataEndsFailTheRead) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    for (int i = 0; i < 3; ++i)
        Answer(BoxBlock(eEvConfDataEnd, 7, {9}));
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(EngineTest, BlockPassingTheCallersBufferEndsTheReadWithoutWritingPastIt) {
    Bytes backing(2048, 0xEE);
    StartRead(backing.data(), 1500);
    Answer(BoxBlock(eEvConfDataFirst, 0, Counting(1024)));
    Answer(BoxBlock(eEvConfData, 1, Counting(1024)));
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(engine.GetReceivedLen(), 1024u);
    for (std::size_t i = 1024; i < backing.size(); ++i)
        ASSERT_EQ(backing[i], 0xEE) << i;
    // Nothing more is asked for.
    EXPECT_EQ(Requests().size(), 2u);
}

TEST_F(EngineTest, SilentBoxFailsTheReadAfterThreeRequests) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Elapse(kTimeoutDataReqMs - 1);
    EXPECT_EQ(Requests().size(), 1u);
    Elapse(1);
    EXPECT_EQ(Requests().size(), 2u);
    Elapse(kTimeoutDataReqMs);
    EXPECT_EQ(Requests().size(), 3u);
    EXPECT_TRUE(owner.results.empty());
    Elapse(kTimeoutDataReqMs);
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(Requests().size(), 3u);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0), 32768);
}

// ---- Restart and event log -------------------------------------------------

TEST_F(EngineTest, ResetSucceedsOnAnyAck) {
    Bytes dummy(255, 0);
    engine.SetTransferData(eSendReset, dummy.data(), 255);
    engine.StartTransfer();
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0].GetCmd(), eEvConfReset);
    EXPECT_EQ(Requests()[0].GetBlockNumber(), 0xFFFF);
    Answer(BoxBlock(eEvConfAck, 42));
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(EngineTest, UnansweredResetIsSentThreeTimesThenFails) {
    Bytes dummy(255, 0);
    engine.SetTransferData(eSendReset, dummy.data(), 255);
    engine.StartTransfer();
    Answer(BoxBlock(eEvConfData, 0));
    Elapse(kTimeoutResetMs);
    EXPECT_EQ(Requests().size(), 3u);
    EXPECT_TRUE(owner.results.empty());
    Elapse(kTimeoutResetMs);
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(Requests().size(), 3u);
}

TEST_F(EngineTest, EventLogIsSixteenBlocksWithoutAnEndCommand) {
    Bytes log(16384, 0);
    engine.SetTransferData(eReceiveEventLog, log.data(), 16384);
    engine.StartTransfer();
    EXPECT_EQ(view.caption, kTextCaptionEventLog);
    EXPECT_EQ(view.max, 16);
    for (std::uint16_t n = 0; n < kEventLogBlocks; ++n) {
        ASSERT_EQ(Requests().size(), n + 1u);
        EXPECT_EQ(Requests()[n].GetCmd(), eEvConfEvLogDataReq);
        EXPECT_EQ(Requests()[n].GetProt(), eProtEventLog);
        EXPECT_EQ(Requests()[n].GetBlockNumber(), n);
        Answer(BoxBlock(eEvConfLogData, n, Bytes(1024, static_cast<std::uint8_t>(n)), 5));
    }
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(Requests().size(), 16u);
    EXPECT_EQ(log[15 * 1024 + 3], 15);
}

TEST_F(EngineTest, EventLogBlockUnderAnotherCommandIsAFailure) {
    Bytes log(16384, 0);
    engine.SetTransferData(eReceiveEventLog, log.data(), 16384);
    engine.StartTransfer();
    Answer(BoxBlock(eEvConfData, 0, {1}, 5));
    EXPECT_EQ(engine.GetTries(), 1);
    EXPECT_EQ(engine.GetAktBlock(), 0);
    EXPECT_EQ(log[0], 0);
}

// ---- Timers ----------------------------------------------------------------

// Stands in for subscriber programming: its two modal requests wait 120 s
// and 60 s, and it ends the run on the answer or the time-out.
class FakeProgramming : public ITransferExtension {
public:
    explicit FakeProgramming(TDataTransferEngine& engine) : engine(engine) {}
    bool StartMode(int mode) override {
        const TCommMessage msg(eProtProg, mode == eReceiveKBAList ? 64 : 69, 0, 0);
        engine.SendDataToPort(msg.GetBuffer(), msg.GetLen(),
                              mode == eReceiveKBAList ? kTimeoutKBAListMs : kTimeoutKBACountMs);
        waiting = true;
        return true;
    }
    void WorkOnProgData(const TTkDataMsg* pMsg) override {
        if (!pMsg)
            ++nulls;
        if (waiting && !pMsg) {
            waiting = false;
            engine.SetResult(1);
        }
    }
    void OnPortChanged() override { ++portChanges; }

    TDataTransferEngine& engine;
    bool waiting = false;
    int nulls = 0;
    int portChanges = 0;
};

struct TimerCase {
    const char* name;
    int setting;
    int mode;
    std::uint32_t timeoutMs;
};

class TransferTimer : public EngineTest, public testing::WithParamInterface<TimerCase> {};

TEST_P(TransferTimer, TimeOutComesExactlyAfterItsTime) {
    settings.comPort = GetParam().setting;
    if (engine.GetConnectionType() == eConnectionCAPI) {
        // Blocks go out on ISDN only with a call up.
        engine.UpdatePort();
        ASSERT_GT(engine.Connect("0891234567"), 0);
    }
    FakeProgramming prog(engine);
    engine.SetExtension(&prog);
    Bytes buffer(32768, 0);
    std::uint32_t len = 32768;
    if (GetParam().mode == eSendAnlDaten) {
        owner.packages = {Counting(10)};
        owner.Send();
    } else {
        engine.SetTransferData(GetParam().mode, buffer.data(), len);
        engine.StartTransfer();
    }
    const int nullsBefore = prog.nulls;
    Elapse(GetParam().timeoutMs - 1);
    EXPECT_EQ(prog.nulls, nullsBefore);
    EXPECT_EQ(engine.GetTries(), 0);
    Elapse(1);
    EXPECT_EQ(prog.nulls, nullsBefore + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, TransferTimer,
    testing::Values(TimerCase{"SendBlockSerial", 5, eSendAnlDaten, kTimeoutSendBlockMs},
                    TimerCase{"SendBlockBus", 1, eSendAnlDaten, kTimeoutSendBlockBusMs},
                    TimerCase{"SendBlockIsdn", 9, eSendAnlDaten, kTimeoutSendBlockMs},
                    TimerCase{"DataRequest", 5, eReceiveAnlDaten, kTimeoutDataReqMs},
                    TimerCase{"DataRequestBus", 2, eReceiveAnlDaten, kTimeoutDataReqMs},
                    TimerCase{"Reset", 5, eSendReset, kTimeoutResetMs},
                    TimerCase{"EventLogRequest", 5, eReceiveEventLog, kTimeoutDataReqMs},
                    TimerCase{"FreeAddressList", 5, eReceiveKBAList, kTimeoutKBAListMs},
                    TimerCase{"FreeAddressCount", 1, eReceiveKBACount, kTimeoutKBACountMs}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, ReceivedMessageStopsTheTimer) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Elapse(kTimeoutDataReqMs - 10);
    Answer(BoxBlock(eEvConfDataFirst, 0, {1}));
    // The new request has its own full time.
    Elapse(kTimeoutDataReqMs - 1);
    EXPECT_EQ(engine.GetTries(), 0);
    Elapse(1);
    EXPECT_EQ(engine.GetTries(), 1);
}

TEST_F(EngineTest, ProgrammingMessageNeitherAnswersNorStopsTheTimer) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Elapse(kTimeoutDataReqMs - 10);
    const TCommMessage prog(eProtProg, 3, 0x10, 0x20);
    Answer(Bytes(prog.GetBuffer(), prog.GetBuffer() + prog.GetLen()));
    EXPECT_EQ(engine.GetTries(), 0);
    Elapse(10);
    EXPECT_EQ(engine.GetTries(), 1);
}

TEST_F(EngineTest, NextDueNamesTheEarliestTimer) {
    const std::uint64_t start = clock.now;
    EXPECT_EQ(engine.NextDueMs(), start + kKennungIntervalMs);
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    EXPECT_EQ(engine.NextDueMs(), start + kTimeoutDataReqMs);
}

// ---- Identification --------------------------------------------------------

TEST_F(EngineTest, IdentificationGoesOutAfterSevenSecondsWithoutTraffic) {
    engine.UpdatePort(); // opens the serial port and identifies at once
    ASSERT_NE(Port(), nullptr);
    EXPECT_EQ(Kennungen(), 1);
    Elapse(kKennungIntervalMs - 1);
    EXPECT_EQ(Kennungen(), 1);
    Elapse(1);
    ASSERT_EQ(Kennungen(), 2);
    const TCommMessage k = Parse(Port()->blocks.back());
    EXPECT_EQ(k.GetProt(), eProtKonfig);
    EXPECT_EQ(k.GetBlockNumber(), 0);
    EXPECT_EQ(Bytes(k.GetData(), k.GetData() + k.GetDataLen()),
              (Bytes{'B', 'R', 'O', 'M', 'E', 'L', 0}));
    Elapse(kKennungIntervalMs);
    EXPECT_EQ(Kennungen(), 3);
}

TEST_F(EngineTest, TrafficPutsTheIdentificationOff) {
    engine.UpdatePort();
    Elapse(6000);
    Answer(BoxBlock(eEvConfAck, 0)); // unasked, but traffic
    Elapse(kKennungIntervalMs - 1);
    EXPECT_EQ(Kennungen(), 1);
    engine.OnKennungRestart();
    Elapse(kKennungIntervalMs - 1);
    EXPECT_EQ(Kennungen(), 1);
    Elapse(1);
    EXPECT_EQ(Kennungen(), 2);
}

TEST_F(EngineTest, NoIdentificationWhileATransferRuns) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    const int atStart = Kennungen();
    EXPECT_EQ(atStart, 2); // port opened, then the start itself
    // The silent box takes 15 s to fail; two identification times pass.
    for (int i = 0; i < 3; ++i)
        Elapse(kTimeoutDataReqMs);
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(Kennungen(), atStart);
    Elapse(kKennungIntervalMs);
    EXPECT_EQ(Kennungen(), atStart + 1);
}

TEST_F(EngineTest, FailedIdentificationOutsideARunOnlyTraces) {
    engine.UpdatePort();
    Port()->sendOk = false;
    Elapse(kKennungIntervalMs);
    EXPECT_TRUE(owner.results.empty());
    EXPECT_EQ(view.closed, 0);
}

TEST_F(EngineTest, FailedIdentificationAtTheStartDoesNotEndTheRun) {
    engine.UpdatePort();
    Port()->sendResults = {false};
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    EXPECT_TRUE(owner.results.empty());
    EXPECT_TRUE(engine.IsRunning());
    ASSERT_EQ(Requests().size(), 1u);
    Answer(BoxBlock(eEvConfDataEnd, 0, {1}));
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(EngineTest, OnTheBusTheIdentificationIsOneTelegramAndExchangesAreFramed) {
    settings.comPort = 1;
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    const std::vector<Bytes>& tele = Port()->telegrams;
    TLumenMessage kennung(eEvQuellKennung, 0, LUMEN_ADR_BOX);
    kennung.SetData(KENNUNG_WORD, KENNUNG_WORD_LEN);
    const Bytes kennungBytes(kennung.GetBuffer(), kennung.GetBuffer() + kennung.GetLen());
    const Bytes start{0xFF, 0x07, 0xF0}, end{0xFF, 0x08, 0xF0};
    // Opened at this start: identification on open and on start, then the
    // start frame three times.
    const std::vector<Bytes> before{kennungBytes, kennungBytes, start, start, start};
    EXPECT_EQ(tele, before);
    EXPECT_TRUE(engine.IsKonfigStartSent());
    EXPECT_EQ(Port()->blocks.size(), 1u); // the request is a block, not a telegram

    Answer(BoxBlock(eEvConfDataEnd, 0, {1}));
    std::vector<Bytes> all = before;
    all.insert(all.end(), {end, end, end});
    EXPECT_EQ(tele, all);
    EXPECT_FALSE(engine.IsKonfigStartSent());
}

TEST_F(EngineTest, FailedStartFrameSendsNoEndFrameFromTheResult) {
    settings.comPort = 1;
    engine.UpdatePort();
    Port()->teleOk = false;
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    EXPECT_FALSE(engine.IsKonfigStartSent());
    Port()->teleOk = true;
    const std::size_t before = Port()->telegrams.size();
    engine.Cancel();
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(Port()->telegrams.size(), before);
}

TEST_F(EngineTest, NoIdentificationOnIsdn) {
    settings.comPort = 9;
    engine.UpdatePort();
    Elapse(kKennungIntervalMs * 3);
    EXPECT_TRUE(Port()->blocks.empty());
    EXPECT_TRUE(Port()->telegrams.empty());
}

// ---- Start failures and one result per run ----------------------------------

struct StartFailCase {
    const char* name;
    int mode;
    bool buffer;
    std::uint32_t len;
};

class StartFailure : public EngineTest, public testing::WithParamInterface<StartFailCase> {};

TEST_P(StartFailure, EndsOnceWithResult0) {
    Bytes buffer(100, 0);
    engine.SetTransferData(GetParam().mode, GetParam().buffer ? buffer.data() : nullptr,
                           GetParam().len);
    engine.StartTransfer();
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(engine.GetModalResult(), 2);
    EXPECT_TRUE(Requests().empty());
    // The 1 ms empty answer after a failed start ends nothing more.
    Elapse(1);
    Elapse(kTimeoutKBAListMs);
    EXPECT_EQ(owner.results.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, StartFailure,
    testing::Values(StartFailCase{"NullBuffer", eReceiveAnlDaten, false, 100},
                    StartFailCase{"ZeroLength", eReceiveAnlDaten, true, 0},
                    StartFailCase{"Mode4", 4, true, 100}, StartFailCase{"Mode0", 0, true, 100},
                    StartFailCase{"UnknownMode", 42, true, 100},
                    StartFailCase{"ListWithoutProgramming", eReceiveKBAList, true, 100},
                    StartFailCase{"FirmwareWithoutDownload", eFW_FirmwareDownload, true, 100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, WithoutALinkTheFirstSendFails) {
    settings.comPort = 0;
    EXPECT_FALSE(engine.IsConnected());
    std::string text;
    EXPECT_FALSE(engine.GetConnectionText(text));
    EXPECT_EQ(text, "no connection!");
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(ports.created, 0);
}

TEST_F(EngineTest, SendFailureInsideARunEndsItOnce) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Port()->sendOk = false;
    Answer(BoxBlock(eEvConfDataFirst, 0, {1}));
    EXPECT_EQ(owner.results, std::vector<int>{0});
    Elapse(kTimeoutDataReqMs * 4);
    EXPECT_EQ(owner.results.size(), 1u);
}

TEST_F(EngineTest, LateAnswerAfterTheRunChangesNothing) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Answer(BoxBlock(eEvConfDataEnd, 0, {1}));
    const std::size_t sent = Port()->blocks.size();
    Answer(BoxBlock(eEvConfData, 1, {2}));
    Answer(BoxBlock(eEvConfDataEnd, 1, {2}));
    EXPECT_EQ(owner.results.size(), 1u);
    EXPECT_EQ(Port()->blocks.size(), sent);
    EXPECT_EQ(buffer[1], 0);
}

TEST_F(EngineTest, SecondStartWhileRunningIsRefused) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    engine.SetTransferData(eSendReset, buffer.data(), 255);
    engine.StartTransfer();
    EXPECT_EQ(engine.GetMode(), eReceiveAnlDaten);
    EXPECT_EQ(Requests().size(), 1u);
}

// ---- Cancel ----------------------------------------------------------------

TEST_F(EngineTest, CancelDuringAReadAsksOnceMoreThenEndsWithResult0) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    engine.Cancel();
    EXPECT_EQ(Requests().size(), 2u);
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(engine.GetModalResult(), 2);
    Elapse(kTimeoutDataReqMs);
    EXPECT_EQ(owner.results.size(), 1u);
    EXPECT_EQ(Requests().size(), 2u);
}

TEST_F(EngineTest, CancelThatIsTheThirdFailureStillGivesOneResult) {
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    Elapse(kTimeoutDataReqMs);
    Elapse(kTimeoutDataReqMs);
    engine.Cancel();
    EXPECT_EQ(owner.results, std::vector<int>{0});
    EXPECT_EQ(view.closed, 1);
}

TEST_F(EngineTest, CancelDuringASendEndsWithResult0) {
    owner.packages = {Counting(10), Counting(10)};
    owner.Send();
    engine.Cancel();
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

TEST_F(EngineTest, CancelWhenNothingRunsDoesNothing) {
    engine.Cancel();
    EXPECT_TRUE(owner.results.empty());
    EXPECT_EQ(view.closed, 0);
}

TEST_F(EngineTest, ProgrammingRunEndedByTheNullAnswerIsNotEndedAgainByCancel) {
    FakeProgramming prog(engine);
    engine.SetExtension(&prog);
    Bytes buffer(62, 0);
    engine.SetTransferData(eReceiveKBACount, buffer.data(), 62);
    engine.StartTransfer();
    engine.Cancel();
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(EngineTest, LinkDownEndsARunningExchange) {
    settings.comPort = 9;
    Bytes buffer(32768, 0);
    StartRead(buffer.data(), 32768);
    engine.OnLinkDown();
    EXPECT_EQ(owner.results, std::vector<int>{0});
    engine.OnLinkDown();
    EXPECT_EQ(owner.results.size(), 1u);
}

// ---- Firmware start --------------------------------------------------------

class FakeFirmware : public ITransferExtension {
public:
    explicit FakeFirmware(TDataTransferEngine& engine) : engine(engine) {}
    bool StartFirmware() override {
        modeAtStart = engine.GetMode();
        ++starts;
        return true;
    }
    void OnFirmwareStop() override { ++stops; }
    TDataTransferEngine& engine;
    int starts = 0, stops = 0, modeAtStart = -1;
};

TEST_F(EngineTest, FirmwareStartsAfterItsDelayAtItsFirstStep) {
    FakeFirmware fw(engine);
    engine.SetExtension(&fw);
    Bytes image(100, 0);
    engine.SetTransferData(eFW_FirmwareDownload, image.data(), 100);
    engine.StartTransfer();
    Elapse(kFirmwareStartDelayMs - 1);
    EXPECT_EQ(fw.starts, 0);
    Elapse(1);
    EXPECT_EQ(fw.starts, 1);
    EXPECT_EQ(fw.modeAtStart, eFW_StartKTXDownload);
    engine.SetResult(1);
    EXPECT_EQ(fw.stops, 1);
}

TEST_F(EngineTest, CancelledFirmwareRunNeverStartsTheDownload) {
    FakeFirmware fw(engine);
    engine.SetExtension(&fw);
    Bytes image(100, 0);
    engine.SetTransferData(eFW_FirmwareDownload, image.data(), 100);
    engine.StartTransfer();
    engine.Cancel();
    Elapse(kFirmwareStartDelayMs);
    EXPECT_EQ(fw.starts, 0);
    EXPECT_EQ(fw.stops, 1);
    EXPECT_EQ(owner.results, std::vector<int>{0});
}

// ---- Ports -----------------------------------------------------------------

// Another COM number in the setting closes the port and opens it on the new
// one, and the identification goes out there at once.
struct ReopenCase {
    const char* name;
    int first;  // port setting
    int second; // the same link on another COM number
};

class EnginePortReopen : public EngineTest, public testing::WithParamInterface<ReopenCase> {
protected:
    // Identification messages on the current port: blocks on the serial
    // line, telegrams on the bus.
    std::size_t Identifications() {
        return engine.GetConnectionType() == eConnectionQuell
                   ? Port()->telegrams.size()
                   : static_cast<std::size_t>(Kennungen());
    }
};

TEST_P(EnginePortReopen, AnotherComNumberReopensThePortAndIdentifiesAtOnce) {
    const ReopenCase& c = GetParam();
    FakeProgramming prog(engine);
    engine.SetExtension(&prog);
    settings.comPort = c.first;
    EXPECT_TRUE(engine.UpdatePort());
    EXPECT_EQ(Port()->GetComNumber(), 1);
    EXPECT_FALSE(engine.UpdatePort());
    settings.comPort = c.second;
    EXPECT_TRUE(engine.UpdatePort());
    EXPECT_EQ(ports.created, 2);
    EXPECT_EQ(ports.destroyed, 1);
    EXPECT_EQ(Port()->GetComNumber(), 2);
    EXPECT_EQ(Identifications(), 1u);
    EXPECT_EQ(prog.portChanges, 2);
}

INSTANTIATE_TEST_SUITE_P(Links, EnginePortReopen,
                         testing::Values(ReopenCase{"Serial", 5, 6}, ReopenCase{"Bus", 1, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, BusPortReopenedInsideItsOwnEventOpensOnceTheEventReturns) {
    // Both bus ports drive the one bus control: the new one may open only
    // after the old one has closed it.
    settings.comPort = 1;
    engine.UpdatePort();
    FakeTransferPort* bus = Port();
    int createdInside = -1;
    bus->onTele = [&] {
        settings.comPort = 2;
        engine.UpdatePort();
        createdInside = ports.created;
    };
    engine.OnTeleReceived();
    EXPECT_EQ(createdInside, 1);
    EXPECT_EQ(ports.destroyed, 1);
    EXPECT_EQ(ports.created, 2);
    ASSERT_NE(Port(), nullptr);
    EXPECT_EQ(Port()->GetComNumber(), 2);
    EXPECT_EQ(Port()->telegrams.size(), 1u) << "the identification on the new port";
}

TEST_F(EngineTest, OtherLinksPortIsClosed) {
    settings.comPort = 1;
    engine.UpdatePort();
    settings.comPort = 5;
    engine.UpdatePort();
    EXPECT_EQ(engine.GetPort(eConnectionQuell), nullptr);
    EXPECT_NE(engine.GetPort(eConnectionV24), nullptr);
    EXPECT_EQ(ports.destroyed, 1);
}

TEST_F(EngineTest, LateTelegramEventAfterTheBusPortIsGoneIsIgnored) {
    settings.comPort = 1;
    engine.UpdatePort();
    settings.comPort = 0;
    engine.UpdatePort();
    engine.OnTeleReceived();
    engine.OnReadQuellData();
    EXPECT_TRUE(owner.results.empty());
}

TEST_F(EngineTest, BusPortClosedFromInsideItsOwnEventLivesUntilTheEventReturns) {
    settings.comPort = 1;
    engine.UpdatePort();
    FakeTransferPort* bus = Port();
    int destroyedInside = -1;
    bus->onTele = [&] {
        settings.comPort = 5;
        engine.UpdatePort();
        destroyedInside = ports.destroyed;
    };
    engine.OnTeleReceived();
    EXPECT_EQ(destroyedInside, 0);
    EXPECT_EQ(ports.destroyed, 1);
}

TEST_F(EngineTest, BusPortThatDidNotOpenIsNotConnected) {
    settings.comPort = 1;
    ports.openPorts = false;
    engine.UpdatePort();
    EXPECT_FALSE(engine.IsConnected());
    EXPECT_TRUE(Port()->telegrams.empty()); // no identification on a closed port
}

struct ConnectionCase {
    int setting;
    eConnectionType type;
    const char* text;
};

class ConnectionText : public EngineTest, public testing::WithParamInterface<ConnectionCase> {};

TEST_P(ConnectionText, FollowsTheSetting) {
    settings.comPort = GetParam().setting;
    EXPECT_EQ(engine.GetConnectionType(), GetParam().type);
    engine.UpdatePort();
    if (GetParam().type == eConnectionCAPI) // the ISDN link is up with a call only
        engine.Connect("0891234567");
    std::string text;
    engine.GetConnectionText(text);
    EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Settings, ConnectionText,
                         testing::Values(ConnectionCase{0, eConnectionNone, "no connection!"},
                                         ConnectionCase{1, eConnectionQuell, "via LumenBus"},
                                         ConnectionCase{4, eConnectionQuell, "via LumenBus"},
                                         ConnectionCase{5, eConnectionV24, "via COM-Port"},
                                         ConnectionCase{8, eConnectionV24, "via COM-Port"},
                                         ConnectionCase{9, eConnectionCAPI, "via capi"},
                                         ConnectionCase{10, eConnectionNone, "no connection!"}));

} // namespace
