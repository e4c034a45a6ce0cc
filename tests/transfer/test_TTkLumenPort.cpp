// The bus port against a fake bus control: configuration and open errors,
// stop-and-wait sending, reassembly of the box's blocks, which telegrams are
// taken, and telegrams read while the bus was blocked.

#include "FakeClock.h"
#include "FakeLumenOwner.h"
#include "FakeQuell32Control.h"
#include "TTkLumenPort.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A 'C' telegram from the box to the PC as the control hands it up; the box
// writes its block numbers high byte first.
Bytes BoxTele(eEvQuell sub, std::uint16_t block, const Bytes& data = {}) {
    Bytes t{LUMEN_ADR_PC,
            KTX_PC_DAT,
            LUMEN_ADR_BOX,
            sub,
            static_cast<std::uint8_t>(block >> 8),
            static_cast<std::uint8_t>(block & 0xFF)};
    if (sub == eEvQuellAck || sub == eEvQuellNak)
        return t;
    t.push_back(static_cast<std::uint8_t>(data.size()));
    t.insert(t.end(), data.begin(), data.end());
    return t;
}

// A 'C' telegram from the PC as it goes on the bus: block low byte first.
Bytes PcTele(eEvQuell sub, std::uint16_t block, const Bytes& data = {}) {
    Bytes t{LUMEN_ADR_BOX,
            KTX_PC_DAT,
            LUMEN_ADR_PC,
            sub,
            static_cast<std::uint8_t>(block & 0xFF),
            static_cast<std::uint8_t>(block >> 8)};
    if (sub == eEvQuellAck || sub == eEvQuellNak)
        return t;
    Bytes field(MAX_DATA_LEN, 0xFF);
    std::copy(data.begin(), data.end(), field.begin());
    t.push_back(static_cast<std::uint8_t>(data.size()));
    t.insert(t.end(), field.begin(), field.end());
    return t;
}

Bytes Counting(std::size_t n, std::uint8_t start = 1) {
    Bytes b(n);
    std::iota(b.begin(), b.end(), start);
    return b;
}

Bytes Slice(const Bytes& b, std::size_t from, std::size_t n) {
    return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(from + n));
}

class LumenPortTest : public testing::Test {
protected:
    void SetUp() override { port = std::make_unique<TTkLumenPort>(owner, quell, clock, 1); }

    void Deliver(const Bytes& tele, std::uint16_t status = RECEIVE_STATUS_ACK) {
        quell.Store(status, tele);
        port->OnTeleReceived();
    }

    Bytes Held() {
        Bytes out(2048);
        out.resize(port->ReceiveDataBlock(out.data(), static_cast<std::uint32_t>(out.size())));
        return out;
    }

    FakeClock clock;
    FakeQuell32Control quell;
    FakeLumenOwner owner;
    std::unique_ptr<TTkLumenPort> port;
};

// ---- Construction and destruction ------------------------------------------

TEST_F(LumenPortTest, ConstructionConfiguresTheControlInOrderAndOpens) {
    const std::vector<std::string> expected{
        "UseEventNotification=1", "CommPort=1",     "PCAnswerMode=1", "PCAdr=240",
        "ReadyForReceive=1",      "TeleAllBytes=0", "OpenPort"};
    EXPECT_EQ(quell.calls, expected);
    EXPECT_TRUE(port->IsOpen());
    EXPECT_TRUE(port->IsConnected());
    EXPECT_EQ(owner.openErrors, 0);
}

TEST_F(LumenPortTest, DestructionSwitchesNotificationOffWaitsAndCloses) {
    quell.calls.clear();
    port.reset();
    const std::vector<std::string> expected{"UseEventNotification=0", "ReadyForReceive=1",
                                            "ClosePort"};
    EXPECT_EQ(quell.calls, expected);
    EXPECT_EQ(clock.slept, static_cast<std::uint64_t>(kLumenCloseWaitMs));
}

struct CommPortCase {
    int setting;
    int commPort;
};

class LumenPortCommPort : public testing::TestWithParam<CommPortCase> {};

TEST_P(LumenPortCommPort, OnlyBusSettingsNameAPort) {
    FakeClock clock;
    FakeQuell32Control quell;
    FakeLumenOwner owner;
    TTkLumenPort port(owner, quell, clock, GetParam().setting);
    EXPECT_EQ(quell.calls[1], "CommPort=" + std::to_string(GetParam().commPort));
}

INSTANTIATE_TEST_SUITE_P(Settings, LumenPortCommPort,
                         testing::Values(CommPortCase{1, 1}, CommPortCase{4, 4}, CommPortCase{0, 0},
                                         CommPortCase{5, 0}, CommPortCase{9, 0}));

struct OpenErrorCase {
    const char* name;
    std::uint16_t result;
    const char* text;
};

class LumenPortOpenError : public testing::TestWithParam<OpenErrorCase> {};

TEST_P(LumenPortOpenError, RefusedOpenIsShownAndThePortStaysClosed) {
    FakeClock clock;
    FakeQuell32Control quell;
    quell.openResult = GetParam().result;
    FakeLumenOwner owner;
    TTkLumenPort port(owner, quell, clock, 1);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(owner.openErrors, 1);
    EXPECT_EQ(owner.lastOpenError, GetParam().result);
    EXPECT_STREQ(TTkLumenPort::OpenErrorText(GetParam().result), GetParam().text);
    // A closed port sends nothing.
    const std::uint8_t tele[] = {0x70, 0x43, 0xF0};
    EXPECT_FALSE(port.SendLumenTelegramm(tele, 3));
    EXPECT_EQ(quell.transmitCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Results, LumenPortOpenError,
    testing::Values(OpenErrorCase{"InvalidPort", 0xF001,
                                  "Fehler beim \xD6"
                                  "ffnen des Com-Ports. Ung\xFC"
                                  "ltiger Port!"},
                    OpenErrorCase{"AlreadyOpen", 0xF002,
                                  "Fehler beim \xD6"
                                  "ffnen des Com-Ports. Der Port ist schon ge\xF6"
                                  "ffnet!"},
                    OpenErrorCase{"BadSettings", 0xF003,
                                  "Fehler beim \xD6"
                                  "ffnen des Com-Ports. Ung\xFC"
                                  "ltige Settings!"},
                    OpenErrorCase{"NoNotification", 0xF004,
                                  "Fehler beim \xD6"
                                  "ffnen des Com-Ports. Notificationhandle kann nicht "
                                  "eingerichtet werden!"},
                    OpenErrorCase{"NoInterface", 0xF005,
                                  "Fehler beim \xD6"
                                  "ffnen des Com-Ports. Kein Interface am ComPort gefunden!"},
                    OpenErrorCase{"NoHandle", 0xF006,
                                  "Fehler beim \xD6"
                                  "ffnen des Com-Ports. Kein Handle verf\xFC"
                                  "gbar!"},
                    OpenErrorCase{"Unknown", 0x1234,
                                  "Fehler beim \xD6"
                                  "ffnen des Com-Ports. Unbekannter Fehlercode!"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Sending a block -------------------------------------------------------

TEST_F(LumenPortTest, FortyByteBlockGoesAsThreeTelegramsEachAfterItsAck) {
    const Bytes block = Counting(40);
    ASSERT_TRUE(port->SendDataBlock(block.data(), 40));
    ASSERT_EQ(quell.sent.size(), 1u);
    EXPECT_EQ(quell.sent[0], PcTele(eEvQuellDataFirst, 0, Slice(block, 0, 16)));
    EXPECT_TRUE(port->IsWaitingForAckNak());

    Deliver(BoxTele(eEvQuellAck, 1));
    ASSERT_EQ(quell.sent.size(), 2u);
    EXPECT_EQ(quell.sent[1], PcTele(eEvQuellData, 1, Slice(block, 16, 16)));

    Deliver(BoxTele(eEvQuellAck, 2));
    ASSERT_EQ(quell.sent.size(), 3u);
    EXPECT_EQ(quell.sent[2], PcTele(eEvQuellDataEnd, 2, Slice(block, 32, 8)));

    Deliver(BoxTele(eEvQuellAck, 3));
    EXPECT_EQ(quell.sent.size(), 3u);
    EXPECT_FALSE(port->IsWaitingForAckNak());
    // The box's answer to the block comes as a block of its own.
    EXPECT_EQ(owner.quellData, 0);
}

TEST_F(LumenPortTest, SixteenByteBlockEndsWithAnEmptyDataEnd) {
    const Bytes block = Counting(16);
    ASSERT_TRUE(port->SendDataBlock(block.data(), 16));
    Deliver(BoxTele(eEvQuellAck, 1));
    ASSERT_EQ(quell.sent.size(), 2u);
    EXPECT_EQ(quell.sent[0], PcTele(eEvQuellDataFirst, 0, block));
    EXPECT_EQ(quell.sent[1], PcTele(eEvQuellDataEnd, 1));
}

// Two blocks sent one after the other without waiting for answers (the
// firmware download's final stops): the second waits until the first is
// through, or it would restart the box's reassembly and lose the first.
TEST_F(LumenPortTest, QueuedBlockWaitsForTheBlockUnderWay) {
    const Bytes first{0x01, 0x01};
    const Bytes second{0x02, 0x01};
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2));
    ASSERT_TRUE(port->QueueDataBlock(second.data(), 2));
    EXPECT_EQ(port->GetQueuedBlockCount(), 1u);
    ASSERT_EQ(quell.sent.size(), 1u);
    Deliver(BoxTele(eEvQuellAck, 1));
    Deliver(BoxTele(eEvQuellAck, 2));
    Deliver(BoxTele(eEvQuellAck, 1));
    Deliver(BoxTele(eEvQuellAck, 2));
    EXPECT_EQ(quell.sent, (std::vector<Bytes>{
                              PcTele(eEvQuellDataFirst, 0, first), PcTele(eEvQuellDataEnd, 1),
                              PcTele(eEvQuellDataFirst, 0, second), PcTele(eEvQuellDataEnd, 1)}));
    EXPECT_EQ(port->GetQueuedBlockCount(), 0u);
    EXPECT_EQ(owner.quellData, 0);
}

// An exchange's block that comes while a command sent without waiting is
// still under way (a delete, then the count is asked for) goes after it and
// after what waits behind it, or the box's reassembly would restart and
// lose the command.
TEST_F(LumenPortTest, ExchangeBlockWaitsBehindTheBlockUnderWay) {
    const Bytes first{0x01, 0x01};
    const Bytes second{0x02, 0x01};
    const Bytes block = Counting(4);
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2));
    ASSERT_TRUE(port->QueueDataBlock(second.data(), 2));
    ASSERT_TRUE(port->SendDataBlock(block.data(), 4));
    EXPECT_EQ(port->GetQueuedBlockCount(), 2u);
    ASSERT_EQ(quell.sent.size(), 1u);
    for (int i = 0; i < 3; ++i) {
        Deliver(BoxTele(eEvQuellAck, 1));
        Deliver(BoxTele(eEvQuellAck, 2));
    }
    EXPECT_EQ(quell.sent, (std::vector<Bytes>{
                              PcTele(eEvQuellDataFirst, 0, first), PcTele(eEvQuellDataEnd, 1),
                              PcTele(eEvQuellDataFirst, 0, second), PcTele(eEvQuellDataEnd, 1),
                              PcTele(eEvQuellDataFirst, 0, block), PcTele(eEvQuellDataEnd, 1)}));
    EXPECT_EQ(port->GetQueuedBlockCount(), 0u);
}

// The exchange tries again while its first try still waits: the block ahead
// is stuck (its acknowledgement may never come), so what waits is dropped
// and the block goes at once; a dead block never holds up the link.
TEST_F(LumenPortTest, RepeatedExchangeBlockDropsWhatWaitsAndGoesAtOnce) {
    const Bytes first{0x01, 0x01};
    const Bytes block = Counting(4);
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2));
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2));
    ASSERT_TRUE(port->SendDataBlock(block.data(), 4));
    ASSERT_EQ(quell.sent.size(), 1u);
    ASSERT_TRUE(port->SendDataBlock(block.data(), 4));
    EXPECT_EQ(port->GetQueuedBlockCount(), 0u);
    ASSERT_EQ(quell.sent.size(), 2u);
    EXPECT_EQ(quell.sent[1], PcTele(eEvQuellDataFirst, 0, block));
}

// The block under way is the exchange's own earlier try: the next try goes
// at once, as every try of a silent box must reach the line.
TEST_F(LumenPortTest, NextTryOfAnExchangeGoesAtOnce) {
    const Bytes block = Counting(4);
    for (int tryNo = 1; tryNo <= 3; ++tryNo)
        ASSERT_TRUE(port->SendDataBlock(block.data(), 4));
    EXPECT_EQ(port->GetQueuedBlockCount(), 0u);
    EXPECT_EQ(quell.sent, std::vector<Bytes>(3, PcTele(eEvQuellDataFirst, 0, block)));
}

TEST_F(LumenPortTest, FailedBlockDropsWhatWaits) {
    const Bytes first{0x01, 0x01};
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2));
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2));
    Deliver(BoxTele(eEvQuellNak, 1));
    EXPECT_EQ(port->GetQueuedBlockCount(), 0u);
    EXPECT_EQ(quell.sent.size(), 1u);
}

// The box answers a command at once with a block of its own while the next
// command waits for its acknowledgement: its telegrams and ours are told
// apart by sub-type, so both blocks go through and so does what waits.
TEST_F(LumenPortTest, BoxBlockWhileOursWaitsForItsAckLosesNeither) {
    const Bytes command{0x83, 0x17};
    const Bytes next{0x83, 0x43};
    const Bytes last{0x83, 0x06};
    const Bytes answer = Counting(11);
    ASSERT_TRUE(port->QueueDataBlock(command.data(), 2));
    ASSERT_TRUE(port->QueueDataBlock(next.data(), 2));
    ASSERT_TRUE(port->QueueDataBlock(last.data(), 2));
    Deliver(BoxTele(eEvQuellAck, 1));
    Deliver(BoxTele(eEvQuellAck, 2)); // the command is through; next goes
    Deliver(BoxTele(eEvQuellDataFirst, 0, answer));
    Deliver(BoxTele(eEvQuellAck, 1));
    Deliver(BoxTele(eEvQuellDataEnd, 1));
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(Held(), answer);
    Deliver(BoxTele(eEvQuellAck, 2)); // next is through; last goes
    Deliver(BoxTele(eEvQuellAck, 1));
    Deliver(BoxTele(eEvQuellAck, 2));
    EXPECT_EQ(quell.sent,
              (std::vector<Bytes>{PcTele(eEvQuellDataFirst, 0, command), PcTele(eEvQuellDataEnd, 1),
                                  PcTele(eEvQuellDataFirst, 0, next), PcTele(eEvQuellAck, 1),
                                  PcTele(eEvQuellDataEnd, 1), PcTele(eEvQuellAck, 2),
                                  PcTele(eEvQuellDataFirst, 0, last), PcTele(eEvQuellDataEnd, 1)}));
    EXPECT_FALSE(port->IsWaitingForAckNak());
    EXPECT_EQ(port->GetQueuedBlockCount(), 0u);
    EXPECT_EQ(owner.quellData, 1);
}

// The other way round: our block starts while the box's is being
// reassembled.
TEST_F(LumenPortTest, OurBlockDuringTheBoxBlockLosesNeither) {
    const Bytes answer = Counting(20);
    const Bytes command{0x83, 0x43};
    Deliver(BoxTele(eEvQuellDataFirst, 0, Slice(answer, 0, 16)));
    ASSERT_TRUE(port->QueueDataBlock(command.data(), 2));
    Deliver(BoxTele(eEvQuellAck, 1));
    Deliver(BoxTele(eEvQuellDataEnd, 1, Slice(answer, 16, 4)));
    Deliver(BoxTele(eEvQuellAck, 2));
    EXPECT_EQ(quell.sent,
              (std::vector<Bytes>{PcTele(eEvQuellAck, 1), PcTele(eEvQuellDataFirst, 0, command),
                                  PcTele(eEvQuellDataEnd, 1), PcTele(eEvQuellAck, 2)}));
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(Held(), answer);
    EXPECT_FALSE(port->IsWaitingForAckNak());
}

// Our block failing while the box's is being reassembled reports the failed
// block, but the box's block still arrives whole, not cut at the failure.
TEST_F(LumenPortTest, FailedSendDuringTheBoxBlockKeepsItWhole) {
    const Bytes answer = Counting(40);
    const Bytes command{0x83, 0x43};
    ASSERT_TRUE(port->QueueDataBlock(command.data(), 2));
    Deliver(BoxTele(eEvQuellDataFirst, 0, Slice(answer, 0, 16)));
    Deliver(BoxTele(eEvQuellNak, 1));
    EXPECT_EQ(owner.quellData, 1);
    Deliver(BoxTele(eEvQuellData, 1, Slice(answer, 16, 16)));
    Deliver(BoxTele(eEvQuellDataEnd, 2, Slice(answer, 32, 8)));
    EXPECT_EQ(owner.quellData, 2);
    EXPECT_EQ(Held(), answer);
}

// A foreign telegram between the telegrams of the box's block goes up whole
// and leaves the block whole.
TEST_F(LumenPortTest, ForeignTelegramDuringTheBoxBlockKeepsItWhole) {
    const Bytes answer = Counting(20);
    const Bytes foreign{LUMEN_ADR_PC, LUMEN_FN_PROG, LUMEN_ADR_BOX, 24, 0x01, 0x02};
    Deliver(BoxTele(eEvQuellDataFirst, 0, Slice(answer, 0, 16)));
    Deliver(foreign);
    EXPECT_EQ(owner.quellData, 1);
    Deliver(BoxTele(eEvQuellDataEnd, 1, Slice(answer, 16, 4)));
    EXPECT_EQ(owner.quellData, 2);
    EXPECT_EQ(Held(), answer);
}

// Nobody waits for an answer to a queued block, so its outcome is told to
// the one who queued it: delivered after the box took its last telegram,
// lost when it failed or was dropped.
class QueuedOutcome : public LumenPortTest {
protected:
    ITransferPort::BlockDone Note(const std::string& name) {
        return [this, name](bool delivered) {
            outcomes.push_back(name + (delivered ? " delivered" : " lost"));
        };
    }
    std::vector<std::string> outcomes;
    const Bytes first{0x01, 0x01};
    const Bytes second{0x02, 0x01};
};

TEST_F(QueuedOutcome, DeliveredOnlyAfterTheLastAck) {
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2, Note("first")));
    ASSERT_TRUE(port->QueueDataBlock(second.data(), 2, Note("second")));
    Deliver(BoxTele(eEvQuellAck, 1));
    EXPECT_TRUE(outcomes.empty());
    Deliver(BoxTele(eEvQuellAck, 2));
    EXPECT_EQ(outcomes, std::vector<std::string>{"first delivered"});
    Deliver(BoxTele(eEvQuellAck, 1));
    Deliver(BoxTele(eEvQuellAck, 2));
    EXPECT_EQ(outcomes, (std::vector<std::string>{"first delivered", "second delivered"}));
}

TEST_F(QueuedOutcome, RefusedBlockAndWhatWaitsAreLost) {
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2, Note("first")));
    ASSERT_TRUE(port->QueueDataBlock(second.data(), 2, Note("second")));
    Deliver(BoxTele(eEvQuellNak, 1));
    EXPECT_EQ(outcomes, (std::vector<std::string>{"first lost", "second lost"}));
}

TEST_F(QueuedOutcome, BlockNotTakenIsNotReported) {
    quell.defaultTransmitStatus = 0xF002;
    EXPECT_FALSE(port->QueueDataBlock(first.data(), 2, Note("first")));
    EXPECT_TRUE(outcomes.empty());
}

TEST_F(QueuedOutcome, LastTelegramNotDeliveredIsLost) {
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2, Note("first")));
    quell.defaultTransmitStatus = 0xF002;
    Deliver(BoxTele(eEvQuellAck, 1));
    EXPECT_EQ(outcomes, std::vector<std::string>{"first lost"});
}

TEST_F(QueuedOutcome, DroppedForARepeatedExchangeIsLost) {
    const Bytes block = Counting(4);
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2, Note("first")));
    ASSERT_TRUE(port->QueueDataBlock(second.data(), 2, Note("second")));
    ASSERT_TRUE(port->SendDataBlock(block.data(), 4));
    EXPECT_TRUE(outcomes.empty());
    ASSERT_TRUE(port->SendDataBlock(block.data(), 4));
    EXPECT_EQ(outcomes, (std::vector<std::string>{"second lost", "first lost"}));
}

TEST_F(QueuedOutcome, AnOutcomeMayQueueTheNextBlock) {
    ASSERT_TRUE(port->QueueDataBlock(first.data(), 2, [this](bool delivered) {
        outcomes.push_back(delivered ? "first delivered" : "first lost");
        ASSERT_TRUE(port->QueueDataBlock(second.data(), 2, Note("second")));
    }));
    Deliver(BoxTele(eEvQuellAck, 1));
    Deliver(BoxTele(eEvQuellAck, 2));
    Deliver(BoxTele(eEvQuellAck, 1));
    Deliver(BoxTele(eEvQuellAck, 2));
    EXPECT_EQ(outcomes, (std::vector<std::string>{"first delivered", "second delivered"}));
    EXPECT_EQ(quell.sent.size(), 4u);
}

TEST_F(LumenPortTest, AckWhileNothingAwaitsOneChangesNothing) {
    Deliver(BoxTele(eEvQuellAck, 1));
    EXPECT_TRUE(quell.sent.empty());
    EXPECT_EQ(owner.quellData, 0);
}

TEST_F(LumenPortTest, AckWithWrongNumberFailsTheBlock) {
    const Bytes block = Counting(40);
    ASSERT_TRUE(port->SendDataBlock(block.data(), 40));
    Deliver(BoxTele(eEvQuellAck, 0));
    EXPECT_EQ(quell.sent.size(), 1u);
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(port->GetHeldLen(), 0u);
}

TEST_F(LumenPortTest, NakWhileWaitingFailsAndResendsNothing) {
    const Bytes block = Counting(40);
    ASSERT_TRUE(port->SendDataBlock(block.data(), 40));
    Deliver(BoxTele(eEvQuellNak, 1));
    EXPECT_EQ(quell.sent.size(), 1u);
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_FALSE(port->IsWaitingForAckNak());
    // A second Nak has nothing to refer to.
    Deliver(BoxTele(eEvQuellNak, 1));
    EXPECT_EQ(owner.quellData, 1);
}

TEST_F(LumenPortTest, NextTelegramNotDeliveredFailsTheBlock) {
    const Bytes block = Counting(40);
    ASSERT_TRUE(port->SendDataBlock(block.data(), 40));
    quell.defaultTransmitStatus = 0xF002; // no answer from the box
    Deliver(BoxTele(eEvQuellAck, 1));
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(port->GetHeldLen(), 0u);
}

TEST_F(LumenPortTest, BlockOf2048BytesOrMoreIsRefused) {
    const Bytes block(2048, 1);
    EXPECT_FALSE(port->SendDataBlock(block.data(), 2048));
    EXPECT_EQ(quell.transmitCount, 0);
}

// ---- One telegram ----------------------------------------------------------

TEST_F(LumenPortTest, TelegramIsTriedTenTimesThenFails) {
    quell.defaultTransmitStatus = 0x15;
    const std::uint8_t tele[] = {0x70, 0x43, 0xF0, 3, 1, 0};
    EXPECT_FALSE(port->SendLumenTelegramm(tele, 6));
    EXPECT_EQ(quell.transmitCount, kLumenTransmitTries);
}

TEST_F(LumenPortTest, TelegramSucceedsOnAckOrBroadcastAfterFailedTries) {
    quell.transmitStatuses = {0xF002, 0x15, TRANSMIT_STATUS_ACK};
    const std::uint8_t tele[] = {0x70, 0x43, 0xF0, 3, 1, 0};
    EXPECT_TRUE(port->SendLumenTelegramm(tele, 6));
    EXPECT_EQ(quell.transmitCount, 3);
    EXPECT_EQ(quell.txLen, 6);

    quell.transmitStatuses = {TRANSMIT_STATUS_BROADCAST};
    const std::uint8_t frame[] = {0xFF, 0x07, 0xF0};
    EXPECT_TRUE(port->SendLumenTelegramm(frame, 3));
}

// ---- Receiving a block -----------------------------------------------------

TEST_F(LumenPortTest, BoxBlockIsReassembledAndEachTelegramAcknowledged) {
    const Bytes block = Counting(40);
    Deliver(BoxTele(eEvQuellDataFirst, 0, Slice(block, 0, 16)));
    Deliver(BoxTele(eEvQuellData, 1, Slice(block, 16, 16)));
    EXPECT_EQ(owner.quellData, 0);
    Deliver(BoxTele(eEvQuellDataEnd, 2, Slice(block, 32, 8)));

    const std::vector<Bytes> acks{PcTele(eEvQuellAck, 1), PcTele(eEvQuellAck, 2),
                                  PcTele(eEvQuellAck, 3)};
    EXPECT_EQ(quell.sent, acks);
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(owner.kennungRestarts, 3);
    EXPECT_EQ(quell.readyCount, 1 + 3);
    EXPECT_EQ(Held(), block);
    // Reading does not clear what is held.
    EXPECT_EQ(Held(), block);
}

TEST_F(LumenPortTest, DataWithWrongNumberIsNakedWithTheExpectedOneAndFails) {
    Deliver(BoxTele(eEvQuellDataFirst, 0, Counting(16)));
    Deliver(BoxTele(eEvQuellData, 1, Counting(16)));
    Deliver(BoxTele(eEvQuellData, 3, Counting(16)));
    EXPECT_EQ(quell.sent.back(), PcTele(eEvQuellNak, 2));
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(port->GetHeldLen(), 0u);
}

TEST_F(LumenPortTest, BlockOfTheLargestMessageSizeIsTaken) {
    const Bytes block = Counting(MAX_COMM_MSG_LEN);
    Deliver(BoxTele(eEvQuellDataFirst, 0, Slice(block, 0, 16)));
    std::uint16_t n = 1;
    std::size_t at = 16;
    for (; at + 16 < block.size(); at += 16)
        Deliver(BoxTele(eEvQuellData, n++, Slice(block, at, 16)));
    Deliver(BoxTele(eEvQuellDataEnd, n, Slice(block, at, block.size() - at)));
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(Held(), block);
}

TEST_F(LumenPortTest, BlockLongerThanTheLargestMessageIsNakedBeforeTheBufferOverflows) {
    Deliver(BoxTele(eEvQuellDataFirst, 0, Counting(16)));
    std::uint16_t n = 1;
    // 16 + 64 * 16 = 1040 bytes would pass 1030.
    for (; n <= 64 && owner.quellData == 0; ++n)
        Deliver(BoxTele(eEvQuellData, n, Counting(16)));
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(port->GetHeldLen(), 0u);
    EXPECT_EQ(n - 1, 64);
    EXPECT_EQ(quell.sent.back(), PcTele(eEvQuellNak, 64));
}

TEST_F(LumenPortTest, ForeignTelegramGoesUpWhole) {
    const Bytes tele{LUMEN_ADR_PC, LUMEN_FN_PROG, LUMEN_ADR_BOX, 24, 0x01, 0x02};
    Deliver(tele);
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(owner.kennungRestarts, 0);
    EXPECT_EQ(Held(), tele);
    EXPECT_TRUE(quell.sent.empty());
}

TEST_F(LumenPortTest, EmptyAcknowledgedTelegramIsAFailedBlock) {
    Deliver({});
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(port->GetHeldLen(), 0u);
}

struct IgnoredCase {
    const char* name;
    std::uint16_t status;
    Bytes tele;
};

class LumenPortIgnored : public LumenPortTest, public testing::WithParamInterface<IgnoredCase> {};

TEST_P(LumenPortIgnored, TelegramIsNotUsedButTheControlIsReadyAgain) {
    const int readyBefore = quell.readyCount;
    Deliver(GetParam().tele, GetParam().status);
    EXPECT_EQ(owner.quellData, 0);
    EXPECT_EQ(owner.kennungRestarts, 0);
    EXPECT_TRUE(quell.sent.empty());
    EXPECT_EQ(quell.readyCount, readyBefore + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Telegrams, LumenPortIgnored,
    testing::Values(
        IgnoredCase{"ForeignTransmitter",
                    RECEIVE_STATUS_ACK,
                    {LUMEN_ADR_PC, KTX_PC_DAT, 0x71, eEvQuellDataFirst, 0, 0, 1, 5}},
        IgnoredCase{"NotToThePC",
                    RECEIVE_STATUS_ACK,
                    {0x71, KTX_PC_DAT, LUMEN_ADR_BOX, eEvQuellDataFirst, 0, 0, 1, 5}},
        IgnoredCase{"Broadcast",
                    RECEIVE_STATUS_BROADCAST,
                    {LUMEN_ADR_BROADCAST, KTX_PC_DAT, LUMEN_ADR_BOX, eEvQuellDataFirst, 0, 0, 0}},
        IgnoredCase{"ChecksumError",
                    0xFF06,
                    {LUMEN_ADR_PC, KTX_PC_DAT, LUMEN_ADR_BOX, eEvQuellDataFirst, 0, 0, 1, 5}},
        IgnoredCase{"ReceiveTimeout",
                    RECEIVE_TIMEOUT,
                    {LUMEN_ADR_PC, KTX_PC_DAT, LUMEN_ADR_BOX, eEvQuellDataFirst, 0, 0, 1, 5}},
        IgnoredCase{"TwentySixBytes", RECEIVE_STATUS_ACK,
                    [] {
                        Bytes t(26, 0x10);
                        t[0] = LUMEN_ADR_PC;
                        t[1] = KTX_PC_DAT;
                        t[2] = LUMEN_ADR_BOX;
                        return t;
                    }()}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Bus blocked during a send ----------------------------------------------

TEST_F(LumenPortTest, TelegramAcknowledgedWhileTheBusWasBlockedReachesTheReceivePath) {
    const Bytes first = BoxTele(eEvQuellDataFirst, 0, Counting(5));
    quell.transmitStatuses = {TRANSMIT_BUS_BLOCKED};
    quell.waiting.push_back({RECEIVE_STATUS_ACK, static_cast<std::int16_t>(first.size()), first});

    const Bytes frame{0xFF, 0x07, 0xF0};
    quell.transmitStatuses.push_back(TRANSMIT_STATUS_BROADCAST);
    ASSERT_TRUE(port->SendLumenTelegramm(frame.data(), 3));
    EXPECT_EQ(quell.waitCount, 1);
    EXPECT_EQ(clock.slept, static_cast<std::uint64_t>(kLumenBlockedSettleMs));
    EXPECT_EQ(owner.postedPending, 1);
    ASSERT_EQ(port->GetPendingCount(), 1u);

    port->WorkOnPendingTelegrams();
    EXPECT_EQ(port->GetPendingCount(), 0u);
    EXPECT_EQ(quell.sent.back(), PcTele(eEvQuellAck, 1));
    EXPECT_EQ(port->GetHeldLen(), 5u);
}

TEST_F(LumenPortTest, PendingTelegramIsHandledBeforeTheNextEvent) {
    const Bytes block = Counting(20);
    quell.transmitStatuses = {TRANSMIT_BUS_BLOCKED, TRANSMIT_STATUS_BROADCAST};
    const Bytes first = BoxTele(eEvQuellDataFirst, 0, Slice(block, 0, 16));
    quell.waiting.push_back({RECEIVE_STATUS_ACK, static_cast<std::int16_t>(first.size()), first});
    const Bytes frame{0xFF, 0x07, 0xF0};
    ASSERT_TRUE(port->SendLumenTelegramm(frame.data(), 3));

    // The next telegram's event comes before the posted call.
    Deliver(BoxTele(eEvQuellDataEnd, 1, Slice(block, 16, 4)));
    EXPECT_EQ(owner.quellData, 1);
    EXPECT_EQ(Held(), block);
    port->WorkOnPendingTelegrams();
    EXPECT_EQ(owner.quellData, 1);
}

// The box's Ack makes the next telegram go, and that send finds the bus
// blocked: the control is let take a telegram again there, and may hold a
// newer one whose event is still to come. Letting it go on once more at the
// end of this event would let the telegram after that overwrite it.
TEST_F(LumenPortTest, EventWhoseSendFoundTheBusBlockedLeavesTheNextTelegramHeld) {
    const Bytes block = Counting(40);
    ASSERT_TRUE(port->SendDataBlock(block.data(), 40));
    const Bytes boxFirst = BoxTele(eEvQuellDataFirst, 0, Counting(5));
    quell.transmitStatuses = {TRANSMIT_BUS_BLOCKED};
    quell.waiting.push_back(
        {RECEIVE_STATUS_ACK, static_cast<std::int16_t>(boxFirst.size()), boxFirst});
    const int readyBefore = quell.readyCount;
    Deliver(BoxTele(eEvQuellAck, 1));
    EXPECT_EQ(quell.sent.back(), PcTele(eEvQuellData, 1, Slice(block, 16, 16)));
    // Only the blocked send's own.
    EXPECT_EQ(quell.readyCount, readyBefore + 1);
    EXPECT_EQ(quell.calls.back(), "ReadyForReceive=1");
    // Without a blocked send the event ends by letting the control go on.
    port->WorkOnPendingTelegrams();
    Deliver(BoxTele(eEvQuellAck, 2));
    EXPECT_EQ(quell.readyCount, readyBefore + 2);
}

TEST_F(LumenPortTest, NothingWaitingWhileBlockedIsNotQueued) {
    quell.transmitStatuses = {TRANSMIT_BUS_BLOCKED, TRANSMIT_STATUS_ACK};
    const std::uint8_t tele[] = {0x70, 0x43, 0xF0, 3, 1, 0};
    ASSERT_TRUE(port->SendLumenTelegramm(tele, 6));
    EXPECT_EQ(port->GetPendingCount(), 0u);
    EXPECT_EQ(owner.postedPending, 0);
}

TEST_F(LumenPortTest, BlockedEveryTryQueuesAtMostOnePerTry) {
    quell.defaultTransmitStatus = TRANSMIT_BUS_BLOCKED;
    const Bytes tele = BoxTele(eEvQuellAck, 1);
    for (int i = 0; i < 12; ++i)
        quell.waiting.push_back({RECEIVE_STATUS_ACK, static_cast<std::int16_t>(tele.size()), tele});
    const std::uint8_t out[] = {0x70, 0x43, 0xF0, 3, 1, 0};
    EXPECT_FALSE(port->SendLumenTelegramm(out, 6));
    EXPECT_EQ(port->GetPendingCount(), kLumenMaxPendingTelegrams);
}

// ---- Reading the held block ------------------------------------------------

TEST_F(LumenPortTest, SmallDestinationGetsThePartAndTheRestIsPosted) {
    const Bytes block = Counting(20);
    Deliver(BoxTele(eEvQuellDataFirst, 0, Slice(block, 0, 16)));
    Deliver(BoxTele(eEvQuellDataEnd, 1, Slice(block, 16, 4)));
    std::uint8_t part[8];
    ASSERT_EQ(port->ReceiveDataBlock(part, 8), 8u);
    EXPECT_EQ(Bytes(part, part + 8), Slice(block, 0, 8));
    EXPECT_EQ(owner.postedQuellData, 1);
    EXPECT_EQ(Held(), Slice(block, 8, 12));
    EXPECT_EQ(port->ReceiveDataBlock(nullptr, 8), 0u);
}

} // namespace
