// Transmit and receive status words of the bus line for every answer case,
// over a scripted line with a fake clock.

#include "BusLine.h"
#include "BusFraming.h"
#include "FakeBusLine.h"
#include "Quell32Ids.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace quell32;
using quell32::test::FakeBusClock;
using quell32::test::FakeBusLine;
using quell32::test::FakeTime;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Wire(const Bytes& telegram) {
    return BuildBusFrame(std::vector<uint16_t>(telegram.begin(), telegram.end()), false);
}

// The same telegram with its checksum off by one.
Bytes Garbled(const Bytes& telegram) {
    Bytes w = Wire(telegram);
    w[w.size() - 2] = static_cast<uint8_t>(w[w.size() - 2] + 1);
    if (w[w.size() - 2] == kDle || w[w.size() - 2] == kEtx)
        w[w.size() - 2] = static_cast<uint8_t>(w[w.size() - 2] + 1);
    return w;
}

class NullNotice final : public BusNotice {
public:
    void PostTeleReceived() override { ++posts; }
    int posts = 0;
};

class BusLineTest : public ::testing::Test {
protected:
    BusLineTest() {
        auto line = std::make_unique<FakeBusLine>(m_time);
        m_line = line.get();
        m_bus = std::make_unique<BusLine>(std::move(line), std::make_unique<FakeBusClock>(m_time));
    }

    void Open() { ASSERT_EQ(m_bus->OpenPort(2, false, false, &m_notice), PORT_OK); }

    void SetTransmit(const Bytes& telegram) {
        auto& b = m_bus->Block();
        for (size_t i = 0; i < telegram.size(); ++i)
            b.transmitBytes[i] = telegram[i];
        b.transmitLength = static_cast<uint16_t>(telegram.size());
    }

    // After every write of the PC, the given byte comes back delayMs later.
    void AnswerWith(uint8_t byte, uint32_t delayMs) {
        m_line->onWrite = [byte, delayMs](FakeBusLine& line, const Bytes&) {
            line.Arrive({byte}, delayMs);
        };
    }

    std::vector<int> ReceivedBytes() {
        std::vector<int> out;
        for (int i = 0; i <= m_bus->ReceivedLength(); ++i)
            out.push_back(m_bus->ReceivedByte(i));
        return out;
    }

    FakeTime m_time;
    FakeBusLine* m_line = nullptr;
    NullNotice m_notice;
    std::unique_ptr<BusLine> m_bus;
};

// ---------------------------------------------------------------- transmit

struct TransmitRow {
    const char* name;
    Bytes telegram;
    int answer; // -1: none
    uint32_t answerDelay;
    uint16_t status;
    bool answerPushedBack;
};

void PrintTo(const TransmitRow& row, std::ostream* os) {
    *os << row.name;
}

class TransmitStatus : public BusLineTest, public ::testing::WithParamInterface<TransmitRow> {};

TEST_P(TransmitStatus, ForAnswer) {
    const auto& row = GetParam();
    Open();
    SetTransmit(row.telegram);
    if (row.answer >= 0)
        AnswerWith(static_cast<uint8_t>(row.answer), row.answerDelay);
    const uint32_t sent = m_time.ms;

    m_bus->TransmitTele();

    ASSERT_EQ(m_line->writes.size(), 1u);
    EXPECT_EQ(m_line->writes[0].bytes, Wire(row.telegram));
    EXPECT_EQ(m_bus->Block().transmitStatus, row.status);
    EXPECT_EQ(m_bus->Block().transmitTicks, sent);
    EXPECT_EQ(m_bus->Block().pushedBackValid, row.answerPushedBack);
    if (row.answerPushedBack) {
        EXPECT_EQ(m_bus->Block().pushedBackByte, row.answer);
    }
    EXPECT_DOUBLE_EQ(m_bus->TimeStamp(), FakeBusClock(m_time).Now());
}

const Bytes kToBox{0x70, 0x43, 0xF0, 0x01, 0x02};
const Bytes kBroadcast{0xFF, 0x43, 0xF0, 0x01};

INSTANTIATE_TEST_SUITE_P(
    Rows, TransmitStatus,
    ::testing::Values(TransmitRow{"Ack", kToBox, kAck, 5, TRANSMIT_STATUS_ACK, false},
                      TransmitRow{"Nak", kToBox, kNak, 5, TRANSMIT_STATUS_NAK, false},
                      TransmitRow{"AckAtTheLimit", kToBox, kAck, 48, TRANSMIT_STATUS_ACK, false},
                      TransmitRow{"AckOneMsLate", kToBox, kAck, 49, TRANSMIT_TIMEOUT, false},
                      TransmitRow{"NoAnswer", kToBox, -1, 0, TRANSMIT_TIMEOUT, false},
                      TransmitRow{"ForeignBytePushedBack", kToBox, kStx, 3, TRANSMIT_ACKNAK_TIMEOUT,
                                  true},
                      TransmitRow{"BroadcastAwaitsNothing", kBroadcast, kAck, 1,
                                  TRANSMIT_STATUS_BROADCAST, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BusLineTest, NoAnswerWaitsExactlyTheAnswerTime) {
    Open();
    SetTransmit(kToBox);
    const uint32_t start = m_time.ms;
    m_bus->TransmitTele();
    EXPECT_EQ(m_time.ms - start, kAnswerTimeoutMs);
}

TEST_F(BusLineTest, BroadcastDoesNotWait) {
    Open();
    SetTransmit(kBroadcast);
    const uint32_t start = m_time.ms;
    m_bus->TransmitTele();
    EXPECT_EQ(m_time.ms, start);
}

TEST_F(BusLineTest, TransmitOnClosedPortSendsNothing) {
    SetTransmit(kToBox);
    m_time.ms = 5000;
    m_bus->TransmitTele();
    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_PORT_ERROR);
    EXPECT_EQ(m_bus->Block().transmitTicks, 5000u);
    EXPECT_TRUE(m_line->writes.empty());
}

TEST_F(BusLineTest, TransmitOfFewerThanThreeBytesIsRefused) {
    Open();
    SetTransmit({0x70, 0x43});
    m_bus->TransmitTele();
    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_ERROR);
    m_bus->Block().rawMode = 1;
    m_bus->Block().transmitLength = 0;
    m_bus->TransmitTele();
    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_ERROR);
    EXPECT_TRUE(m_line->writes.empty());
}

TEST_F(BusLineTest, RawTransmitSendsClientFrame) {
    Open();
    m_bus->Block().rawMode = 1;
    const Bytes frame = Wire(kToBox);
    SetTransmit(frame);
    AnswerWith(kAck, 2);
    m_bus->TransmitTele();
    ASSERT_EQ(m_line->writes.size(), 1u);
    EXPECT_EQ(m_line->writes[0].bytes, frame);
    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_STATUS_ACK);
}

TEST_F(BusLineTest, FailedWriteIsAPortError) {
    Open();
    m_line->writeOk = false;
    SetTransmit(kToBox);
    m_bus->TransmitTele();
    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_PORT_ERROR);
}

TEST_F(BusLineTest, ForeignAnswerStartsTheNextReceivedTelegram) {
    Open();
    SetTransmit(kToBox);
    const Bytes reply = Wire({0xF0, 0x43, 0x70, 0x09});
    m_line->onWrite = [&](FakeBusLine& line, const Bytes&) {
        line.Arrive(reply, 2); // the box talks instead of answering
        line.onWrite = nullptr;
    };
    m_bus->TransmitTele();
    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_ACKNAK_TIMEOUT);

    ASSERT_TRUE(m_bus->ReceiveTele());
    EXPECT_EQ(m_bus->ReceivedStatus(), RECEIVE_STATUS_ACK);
    EXPECT_EQ(m_bus->ReceivedLength(), 4);
    EXPECT_EQ(m_bus->ReceivedByte(3), 0x09);
}

TEST_F(BusLineTest, WithoutReaderWaitingTelegramsAreReadFirst) {
    Open();
    const Bytes waiting = Wire({0xF0, 0x43, 0x70, 0x05});
    m_line->Arrive(waiting);
    SetTransmit(kToBox);
    AnswerWith(kAck, 1);

    m_bus->TransmitTele();

    // The PC acknowledged the waiting telegram before sending its own.
    ASSERT_EQ(m_line->writes.size(), 2u);
    EXPECT_EQ(m_line->writes[0].bytes, Bytes{kAck});
    EXPECT_TRUE(m_line->writes[0].immediate);
    EXPECT_EQ(m_line->writes[1].bytes, Wire(kToBox));
    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_STATUS_ACK);
    EXPECT_EQ(m_bus->ReceivedByte(3), 0x05);
    // The last drain round found nothing more.
    EXPECT_EQ(m_bus->ReceivedStatus(), RECEIVE_NO_MESSAGE);
}

// A telegram the filters drop ends its drain round with no message; the
// telegram behind it is read all the same before the PC sends.
TEST_F(BusLineTest, DrainGoesOnPastADroppedTelegram) {
    Open();
    m_bus->Block().transmitterFilter[0x71] = 0;
    m_line->Arrive(Wire({0xFF, 0x43, 0x71, 0x01}));
    m_line->Arrive(Wire({0xF0, 0x43, 0x70, 0x05}));
    SetTransmit(kToBox);
    AnswerWith(kAck, 1);

    m_bus->TransmitTele();

    ASSERT_EQ(m_line->writes.size(), 2u);
    EXPECT_EQ(m_line->writes[0].bytes, Bytes{kAck});
    EXPECT_EQ(m_line->writes[1].bytes, Wire(kToBox));
    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_STATUS_ACK);
    EXPECT_EQ(m_bus->ReceivedByte(3), 0x05);
}

TEST_F(BusLineTest, DrainOfAChatteringBusEndsAsBlocked) {
    Open();
    // A broadcast every 20 ms for 3 s: more than the drain may take.
    for (uint32_t t = 0; t < 3000; t += 20)
        m_line->Arrive(Wire({0xFF, 0x43, 0x70, 0x01}), t);
    SetTransmit(kToBox);
    const uint32_t start = m_time.ms;

    m_bus->TransmitTele();

    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_BUS_BLOCKED);
    EXPECT_TRUE(m_line->writes.empty());
    EXPECT_GE(m_time.ms - start, kDrainLimitMs);
    EXPECT_LT(m_time.ms - start, kDrainLimitMs + 200);
}

class BusBlockedWithReader : public BusLineTest, public ::testing::WithParamInterface<uint16_t> {};

// The reader's state word as its thread sets it (running), or as the open
// leaves it until the new thread has reached its loop (starting); the
// scripted line stands in for its bytes. Either way the waiting telegram
// is the reader's: it must not be drained into the received fields, where
// no notice would hand it to the client and the ready flag would stay down.
TEST_P(BusBlockedWithReader, WaitingTelegramIsLeftToTheReader) {
    Open();
    m_line->hasModemLines = true;
    m_bus->Block().readerState = GetParam();
    m_line->Arrive(Wire({0xF0, 0x43, 0x70, 0x05}));
    SetTransmit(kToBox);
    const int rts = m_line->rtsChanges;

    m_bus->TransmitTele();

    EXPECT_EQ(m_bus->Block().transmitStatus, TRANSMIT_BUS_BLOCKED);
    EXPECT_TRUE(m_line->writes.empty());
    EXPECT_EQ(m_line->rtsChanges, rts + 1);
    EXPECT_GT(m_line->Queued(), 0u); // left for the reader
    EXPECT_EQ(m_bus->Block().receiveGate.load(), 1u);
    EXPECT_EQ(m_bus->Block().readyFlag.load(), 1u);
    m_bus->Block().readerState = kReaderStopped;
}

INSTANTIATE_TEST_SUITE_P(States, BusBlockedWithReader,
                         ::testing::Values(kReaderRunning, kReaderStopRequested),
                         [](const auto& info) {
                             return info.param == kReaderRunning ? "Running" : "Starting";
                         });

// ---------------------------------------------------------------- receive

struct ReceiveRow {
    const char* name;
    Bytes wire;
    int answer; // byte arriving answerDelay after the wire; -1: none
    uint32_t answerDelay;
    uint32_t stallAfterWire; // the receiving thread is held up this long after the ETX
    bool answerMode;
    bool stored;
    uint16_t status;
    bool pcAcked;
};

void PrintTo(const ReceiveRow& row, std::ostream* os) {
    *os << row.name;
}

class ReceiveStatus : public BusLineTest, public ::testing::WithParamInterface<ReceiveRow> {};

TEST_P(ReceiveStatus, ForAnswer) {
    const auto& row = GetParam();
    Open();
    m_bus->Block().answerFlags = row.answerMode ? 1 : 0;
    m_line->Arrive(row.wire);
    if (row.answer >= 0)
        m_line->Arrive({static_cast<uint8_t>(row.answer)}, row.answerDelay);
    if (row.stallAfterWire)
        m_line->stallAfterRead[static_cast<int>(row.wire.size())] = row.stallAfterWire;
    {
        std::lock_guard lock(m_bus->Block().receivedMutex);
        m_bus->Block().receivedStatus = 0x1234; // shows whether anything was stored
    }

    EXPECT_EQ(m_bus->ReceiveTele(), row.stored);
    EXPECT_EQ(m_bus->ReceivedStatus(), row.stored ? row.status : 0x1234);
    const bool acked = !m_line->writes.empty() && m_line->writes[0].bytes == Bytes{kAck};
    EXPECT_EQ(acked, row.pcAcked);
    EXPECT_EQ(m_bus->Block().readyFlag.load(), row.stored ? 0u : 1u);
}

const Bytes kToPc{0xF0, 0x43, 0x70, 0x01};
const Bytes kToOther{0x71, 0x43, 0x70, 0x01};
const Bytes kToAll{0xFF, 0x43, 0x70, 0x01};

Bytes WithTrailing(Bytes w, uint8_t b) {
    w.push_back(b);
    return w;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReceiveStatus,
    ::testing::Values(
        ReceiveRow{"BroadcastStored", Wire(kToAll), -1, 0, 0, true, true, RECEIVE_STATUS_BROADCAST,
                   false},
        ReceiveRow{"OwnAddressAcked", Wire(kToPc), -1, 0, 0, true, true, RECEIVE_STATUS_ACK, true},
        ReceiveRow{"OwnAddressAtTheLimitAcked", Wire(kToPc), -1, 0, 48, true, true,
                   RECEIVE_STATUS_ACK, true},
        ReceiveRow{"OwnAddressTooLateNotAcked", Wire(kToPc), -1, 0, 49, true, true, RECEIVE_TIMEOUT,
                   false},
        ReceiveRow{"OwnAddressMoreBytesWaiting", WithTrailing(Wire(kToPc), kStx), -1, 0, 0, true,
                   true, RECEIVE_ACKNAK_TIMEOUT, false},
        ReceiveRow{"OwnAddressBadChecksumNotAnswered", Garbled(kToPc), -1, 0, 0, true, true,
                   RECEIVE_ERROR_CHECKSUM, false},
        ReceiveRow{"OwnAddressWithoutAnswerModeSeesAnswer", Wire(kToPc), kAck, 5, 0, false, true,
                   RECEIVE_STATUS_ACK, false},
        ReceiveRow{"OtherTargetAck", Wire(kToOther), kAck, 5, 0, true, true, RECEIVE_STATUS_ACK,
                   false},
        ReceiveRow{"OtherTargetNak", Wire(kToOther), kNak, 48, 0, true, true, RECEIVE_STATUS_NAK,
                   false},
        ReceiveRow{"OtherTargetSilent", Wire(kToOther), -1, 0, 0, true, true, RECEIVE_TIMEOUT,
                   false},
        ReceiveRow{"OtherTargetAnswerTooLate", Wire(kToOther), kAck, 49, 0, true, true,
                   RECEIVE_TIMEOUT, false},
        ReceiveRow{"OtherTargetForeignByte", Wire(kToOther), 0x55, 3, 0, true, true,
                   RECEIVE_ACKNAK_TIMEOUT, false},
        ReceiveRow{"OtherTargetBadChecksumAck", Garbled(kToOther), kAck, 3, 0, true, true, 0xFF06,
                   false},
        ReceiveRow{"OtherTargetBadChecksumSilent", Garbled(kToOther), -1, 0, 0, true, true, 0xFF03,
                   false},
        // Fewer than header and checksum before the ETX: nothing to store or answer.
        ReceiveRow{"RuntWithoutChecksumDropped", Bytes{kStx, 0xF0, 0x43, 0x70, kEtx}, -1, 0, 0,
                   true, false, 0, false},
        ReceiveRow{"RuntStxEtxDropped", Bytes{kStx, kEtx}, -1, 0, 0, true, false, 0, false},
        ReceiveRow{"NoiseByteNothingStored", Bytes{0x55}, -1, 0, 0, true, false, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BusLineTest, StoredTelegramIsDecodedWithChecksumAtItsLength) {
    Open();
    const Bytes telegram{0xF0, 0x43, 0x70, 0x10, 0x03, 0x02};
    const Bytes wire = Wire(telegram);
    m_line->Arrive(wire);
    const uint32_t arrival = m_time.ms;
    ASSERT_TRUE(m_bus->ReceiveTele());
    ASSERT_EQ(m_bus->ReceivedLength(), 6);
    const std::vector<int> expected{0xF0, 0x43, 0x70, 0x10, 0x03, 0x02, wire[wire.size() - 2]};
    EXPECT_EQ(ReceivedBytes(), expected);
    EXPECT_EQ(m_bus->ReceivedByte(7), -1);
    EXPECT_EQ(m_bus->ReceivedByte(-1), -1);
    EXPECT_EQ(m_bus->ReceivedTicks(), arrival);
}

TEST_F(BusLineTest, RawModeStoresTheWireBytes) {
    Open();
    m_bus->Block().rawMode = 1;
    const Bytes wire = Wire({0xFF, 0x43, 0x70, 0x10});
    m_line->Arrive(wire);
    ASSERT_TRUE(m_bus->ReceiveTele());
    ASSERT_EQ(m_bus->ReceivedLength(), static_cast<int>(wire.size()));
    for (size_t i = 0; i < wire.size(); ++i)
        EXPECT_EQ(m_bus->ReceivedByte(static_cast<int>(i)), wire[i]) << i;
}

TEST_F(BusLineTest, ForeignAnswerByteIsPushedBackAndRtsFlipped) {
    Open();
    m_line->hasModemLines = true;
    m_line->Arrive(Wire(kToOther));
    m_line->Arrive({0x55}, 3);
    const int before = m_line->rtsChanges;
    ASSERT_TRUE(m_bus->ReceiveTele());
    EXPECT_TRUE(m_bus->Block().pushedBackValid);
    EXPECT_EQ(m_bus->Block().pushedBackByte, 0x55);
    EXPECT_EQ(m_line->rtsChanges, before + 1);
}

TEST_F(BusLineTest, ReaderSignalsWhenMoreBytesWaitBehindATelegram) {
    Open();
    m_line->hasModemLines = true;
    m_bus->Block().readerState = kReaderRunning;
    Bytes two = Wire(kToAll);
    const Bytes next = Wire(kToAll);
    two.insert(two.end(), next.begin(), next.end());
    m_line->Arrive(two);
    const int rts = m_line->rtsChanges;
    ASSERT_TRUE(m_bus->ReceiveTele());
    EXPECT_EQ(m_line->rtsChanges, rts + 1);
    // Without more bytes, no signal.
    m_bus->Block().readyFlag = 1;
    ASSERT_TRUE(m_bus->ReceiveTele());
    EXPECT_EQ(m_line->rtsChanges, rts + 1);
    m_bus->Block().readerState = kReaderStopped;
}

TEST_F(BusLineTest, OverflowAtThe256thRawByteKeepsTheLastTelegram) {
    Open();
    m_line->Arrive(Wire(kToAll));
    ASSERT_TRUE(m_bus->ReceiveTele());
    const auto before = ReceivedBytes();
    m_bus->Block().readyFlag = 1;

    Bytes longOne(256, 0x41);
    longOne[0] = kStx;
    m_line->Arrive(longOne);
    const uint32_t stx = m_time.ms;
    m_time.ms += 1; // read a little later than it arrived
    EXPECT_TRUE(m_bus->ReceiveTele());
    EXPECT_EQ(m_bus->ReceivedStatus(), RECEIVE_BUFFER_OVERFLOW);
    EXPECT_EQ(m_bus->ReceivedTicks(), stx + 1);
    EXPECT_EQ(ReceivedBytes(), before);
    EXPECT_EQ(m_bus->Block().readyFlag.load(), 1u);
}

TEST_F(BusLineTest, LongestTelegramArrivesAtLineSpeed) {
    Open();
    // 255 raw bytes at about one per millisecond take far longer than the
    // give-up time; only a gap between two bytes may end them.
    Bytes telegram{0xFF, 0x43, 0x70};
    while (Wire(telegram).size() < kMaxReceiveRawBytes)
        telegram.push_back(0x41);
    const Bytes wire = Wire(telegram);
    ASSERT_EQ(wire.size(), kMaxReceiveRawBytes);
    m_line->Arrive(wire, 0, 1);
    EXPECT_TRUE(m_bus->ReceiveTele());
    EXPECT_EQ(m_bus->ReceivedStatus(), RECEIVE_STATUS_BROADCAST);
    EXPECT_EQ(m_bus->ReceivedLength(), static_cast<int>(telegram.size()));
}

struct GapRow {
    const char* name;
    uint32_t gap;
    bool stored;
};

void PrintTo(const GapRow& row, std::ostream* os) {
    *os << row.name;
}

class InterByteGap : public BusLineTest, public ::testing::WithParamInterface<GapRow> {};

TEST_P(InterByteGap, GiveUpSinceLastByte) {
    Open();
    const Bytes wire = Wire(kToAll);
    // The first half now, the rest after the gap.
    m_line->Arrive(Bytes(wire.begin(), wire.begin() + 3));
    m_line->Arrive(Bytes(wire.begin() + 3, wire.end()), GetParam().gap);
    {
        std::lock_guard lock(m_bus->Block().receivedMutex);
        m_bus->Block().receivedStatus = 0x1234;
    }
    EXPECT_EQ(m_bus->ReceiveTele(), GetParam().stored);
    // A telegram given up leaves the received status alone.
    EXPECT_EQ(m_bus->ReceivedStatus(), GetParam().stored ? RECEIVE_STATUS_BROADCAST : 0x1234);
}

INSTANTIATE_TEST_SUITE_P(Rows, InterByteGap,
                         ::testing::Values(GapRow{"WithinLimit", kInterByteTimeoutMs, true},
                                           GapRow{"PastLimit", kInterByteTimeoutMs + 1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FilterRow {
    const char* name;
    int table; // 0 target, 1 function, 2 transmitter
    uint8_t entry;
    bool stored;
};

void PrintTo(const FilterRow& row, std::ostream* os) {
    *os << row.name;
}

class Filters : public BusLineTest, public ::testing::WithParamInterface<FilterRow> {};

TEST_P(Filters, DropOrAdmit) {
    Open();
    auto& b = m_bus->Block();
    auto& table = GetParam().table == 0   ? b.targetFilter
                  : GetParam().table == 1 ? b.functionFilter
                                          : b.transmitterFilter;
    table[GetParam().entry] = 0;
    m_line->Arrive(Wire(kToAll));
    EXPECT_EQ(m_bus->ReceiveTele(), GetParam().stored);
    EXPECT_TRUE(m_line->writes.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, Filters,
                         ::testing::Values(FilterRow{"TargetDropped", 0, 0xFF, false},
                                           FilterRow{"FunctionDropped", 1, 0x43, false},
                                           FilterRow{"TransmitterDropped", 2, 0x70, false},
                                           FilterRow{"OtherEntryAdmits", 0, 0xF0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- WaitForReceive

TEST_F(BusLineTest, WaitForReceiveFindsNothing) {
    Open();
    const uint32_t start = m_time.ms;
    m_bus->WaitForReceive(200);
    EXPECT_EQ(m_bus->ReceivedStatus(), RECEIVE_NO_MESSAGE);
    EXPECT_EQ(m_time.ms - start, 150u);
    EXPECT_EQ(m_bus->ReceivedTicks(), m_time.ms);
}

TEST_F(BusLineTest, WaitForReceiveOfFiftyOrLessReturnsAtOnce) {
    Open();
    const uint32_t start = m_time.ms;
    m_bus->WaitForReceive(50);
    EXPECT_EQ(m_bus->ReceivedStatus(), RECEIVE_NO_MESSAGE);
    EXPECT_EQ(m_time.ms, start);
}

struct WaitRow {
    const char* name;
    int32_t duration;
    uint32_t arrival;
    bool noiseFirst;
    uint16_t status;
};

void PrintTo(const WaitRow& row, std::ostream* os) {
    *os << row.name;
}

class WaitForReceive : public BusLineTest, public ::testing::WithParamInterface<WaitRow> {};

TEST_P(WaitForReceive, TelegramWithinWindow) {
    const auto& row = GetParam();
    Open();
    if (row.noiseFirst)
        m_line->Arrive({0x55, 0x03});
    m_line->Arrive(Wire(kToAll), row.arrival);
    m_bus->WaitForReceive(row.duration);
    EXPECT_EQ(m_bus->ReceivedStatus(), row.status);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WaitForReceive,
    ::testing::Values(WaitRow{"ArrivesInTime", 200, 100, false, RECEIVE_STATUS_BROADCAST},
                      WaitRow{"ArrivesAtWindowEnd", 200, 150, false, RECEIVE_STATUS_BROADCAST},
                      WaitRow{"ArrivesTooLate", 200, 151, false, RECEIVE_NO_MESSAGE},
                      // Noise does not end the wait with a stale status.
                      WaitRow{"NoiseThenTelegram", 200, 20, true, RECEIVE_STATUS_BROADCAST}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BusLineTest, WaitForReceiveIgnoresTheReadyFlag) {
    Open();
    m_bus->Block().readyFlag = 0;
    m_line->Arrive(Wire(kToAll));
    m_bus->WaitForReceive(100);
    EXPECT_EQ(m_bus->ReceivedStatus(), RECEIVE_STATUS_BROADCAST);
}

// The one telegram the call waits for may be one the client's filters
// drop: the call ends with it at once, with no message, and what comes
// after it is left for the next call. The scripted clock moves only with
// the line's waits, so it shows how long the call waited.
TEST_F(BusLineTest, WaitForReceiveEndsAtADroppedTelegram) {
    Open();
    m_bus->Block().transmitterFilter[0x70] = 0;
    const uint32_t start = m_time.ms;
    m_line->Arrive(Wire(kToAll), 10);
    const Bytes next = Wire({0xFF, 0x43, 0x71, 0x01});
    m_line->Arrive(next, 20);

    m_bus->WaitForReceive(1000);

    EXPECT_EQ(m_bus->ReceivedStatus(), RECEIVE_NO_MESSAGE);
    EXPECT_EQ(m_time.ms - start, 10u);
    EXPECT_EQ(m_bus->ReceivedTicks(), m_time.ms);
    EXPECT_EQ(m_line->Scheduled(), next.size());

    m_bus->WaitForReceive(1000);
    EXPECT_EQ(m_bus->ReceivedStatus(), RECEIVE_STATUS_BROADCAST);
    EXPECT_EQ(m_bus->ReceivedByte(2), 0x71);
}

TEST_F(BusLineTest, TimeStampIsSharedBySendAndReceive) {
    Open();
    SetTransmit(kBroadcast);
    m_bus->TransmitTele();
    const double afterSend = m_bus->TimeStamp();
    m_time.ms += 500;
    m_line->Arrive(Wire(kToAll));
    ASSERT_TRUE(m_bus->ReceiveTele());
    EXPECT_GT(m_bus->TimeStamp(), afterSend);
    EXPECT_DOUBLE_EQ(m_bus->TimeStamp(), FakeBusClock(m_time).Now());
}

// ---------------------------------------------------------------- OpenPort / ClosePort

TEST_F(BusLineTest, OpenPortResults) {
    m_line->openOk = false;
    EXPECT_EQ(m_bus->OpenPort(2, false, false, &m_notice), PORT_OPEN_FAILED);
    m_line->openOk = true;

    m_line->setLineOk = false;
    EXPECT_EQ(m_bus->OpenPort(2, false, false, &m_notice), PORT_SETTINGS_FAILED);
    EXPECT_FALSE(m_bus->IsOpen());
    m_line->setLineOk = true;

    // No modem lines (a pseudo-terminal), then modem lines but no interface.
    EXPECT_EQ(m_bus->OpenPort(2, true, false, &m_notice), PORT_NO_INTERFACE);
    m_line->hasModemLines = true;
    EXPECT_EQ(m_bus->OpenPort(2, true, false, &m_notice), PORT_NO_INTERFACE);
    EXPECT_FALSE(m_bus->IsOpen());

    EXPECT_EQ(m_bus->OpenPort(2, false, false, nullptr), PORT_NO_WINDOW);
    EXPECT_FALSE(m_bus->IsOpen());

    m_line->canWake = false;
    EXPECT_EQ(m_bus->OpenPort(2, false, true, &m_notice), PORT_READER_FAILED);
    EXPECT_FALSE(m_bus->IsOpen());
    EXPECT_FALSE(m_bus->ReaderRunning());
    m_line->canWake = true;

    m_line->interfacePresent = true;
    EXPECT_EQ(m_bus->OpenPort(3, true, false, &m_notice), PORT_OK);
    EXPECT_EQ(m_line->openedPort, 3);
    EXPECT_TRUE(m_line->rts); // left on after the test
    EXPECT_EQ(m_bus->OpenPort(3, true, false, &m_notice), PORT_ALREADY_OPEN);
    EXPECT_TRUE(m_bus->IsOpen());

    EXPECT_EQ(m_bus->ClosePort(), PORT_OK);
    EXPECT_EQ(m_bus->ClosePort(), PORT_NOT_OPEN);
    // Every open that succeeded was closed again; the first one failed.
    EXPECT_EQ(m_line->opens, m_line->closes + 1);
}

TEST_F(BusLineTest, OpenPortLeavesReceivedLengthAtMinusOne) {
    Open();
    m_line->Arrive(Wire(kToAll));
    ASSERT_TRUE(m_bus->ReceiveTele());
    m_bus->ClosePort();
    EXPECT_EQ(m_bus->OpenPort(2, false, false, &m_notice), PORT_OK);
    EXPECT_EQ(m_bus->ReceivedLength(), -1);
    EXPECT_EQ(m_bus->ReceivedByte(0), -1);
    // Also when the open fails: the port was open already.
    EXPECT_EQ(m_bus->OpenPort(2, false, false, &m_notice), PORT_ALREADY_OPEN);
    EXPECT_EQ(m_bus->ReceivedLength(), -1);
}

TEST_F(BusLineTest, OpenPortDiscardsWhatWaitedBefore) {
    m_line->Arrive(Wire(kToAll));
    Open();
    EXPECT_FALSE(m_bus->ReceiveTele());
}

} // namespace
