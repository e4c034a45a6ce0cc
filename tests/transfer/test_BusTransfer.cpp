// The controller's engine and the real bus port together, over a fake bus
// control with a fake box behind it: whole exchanges telegram by telegram.

#include "EngineFakes.h"
#include "FakeBusBox.h"
#include "FakeClock.h"
#include "FakeQuell32Control.h"
#include "TTkLumenPort.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <random>

namespace {

// What the program's glue does for the bus port: perform goes straight to
// the engine, post waits in a queue the test runs like an event loop.
class EngineLumenOwner : public ILumenPortOwner {
public:
    EngineLumenOwner(TDataTransferEngine& engine, std::deque<std::function<void()>>& posted)
        : engine(engine), posted(posted) {}
    void PerformQuellPortData() override { engine.OnReadQuellData(); }
    void PostQuellPortData() override {
        posted.push_back([this] { engine.OnReadQuellData(); });
    }
    void PerformKennungRestart() override { engine.OnKennungRestart(); }
    void PostPendingTelegrams() override {
        posted.push_back([this] { engine.OnLumenPendingTelegrams(); });
    }
    void ShowOpenError(std::uint16_t) override { ++openErrors; }

    TDataTransferEngine& engine;
    std::deque<std::function<void()>>& posted;
    int openErrors = 0;
};

class BusPortFactory : public ITransferPortFactory {
public:
    BusPortFactory(FakeQuell32Control& quell, ITransferClock& clock) : quell(quell), clock(clock) {}
    std::unique_ptr<ITransferPort> CreatePort(eConnectionType type, int setting) override {
        if (type != eConnectionQuell || !owner)
            return nullptr;
        return std::make_unique<TTkLumenPort>(*owner, quell, clock, setting);
    }
    FakeQuell32Control& quell;
    ITransferClock& clock;
    ILumenPortOwner* owner = nullptr;
};

Bytes Random(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    Bytes b(n);
    for (auto& x : b)
        x = static_cast<std::uint8_t>(gen());
    return b;
}

class BusTransferTest : public testing::Test {
protected:
    BusTransferTest()
        : factory(quell, clock), engine(clock, settings, factory), lumenOwner(engine, posted),
          box(quell), owner(engine) {
        settings.comPort = 1;
        factory.owner = &lumenOwner;
        engine.SetOwner(&owner);
        engine.SetView(&view);
    }

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
                ++telegramsFromBox;
            } else {
                return;
            }
        }
        FAIL() << "the exchange never settled";
    }

    void SendPackages(const Bytes& image) {
        owner.packages.clear();
        for (std::size_t at = 0; at < image.size(); at += 1024)
            owner.packages.emplace_back(image.begin() + static_cast<long>(at),
                                        image.begin() +
                                            static_cast<long>(std::min(at + 1024, image.size())));
        owner.Send();
        Pump();
    }

    FakeClock clock;
    FakeSettings settings;
    FakeQuell32Control quell;
    BusPortFactory factory;
    TDataTransferEngine engine;
    std::deque<std::function<void()>> posted;
    EngineLumenOwner lumenOwner;
    FakeBusBox box;
    RecordingView view;
    PackageOwner owner;
    int telegramsFromBox = 0;
};

TEST_F(BusTransferTest, ConfigurationWrittenAndReadBackIsByteIdentical) {
    const Bytes image = Random(3000, 7);
    SendPackages(image);
    ASSERT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(box.stored, image);
    EXPECT_EQ(box.frameStarts, 3);
    EXPECT_EQ(box.frameEnds, 3);

    Bytes buffer(32768, 0);
    engine.SetTransferData(eReceiveAnlDaten, buffer.data(), 32768);
    engine.StartTransfer();
    Pump();
    ASSERT_EQ(owner.results, (std::vector<int>{1, 1}));
    EXPECT_EQ(engine.GetReceivedLen(), image.size());
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 3000), image);
    EXPECT_EQ(box.frameEnds, 6);
}

TEST_F(BusTransferTest, EventLogIsRead16384Bytes) {
    box.eventLog = Random(16384, 3);
    Bytes log(16384, 0);
    engine.SetTransferData(eReceiveEventLog, log.data(), 16384);
    engine.StartTransfer();
    Pump();
    ASSERT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(log, box.eventLog);
}

TEST_F(BusTransferTest, ResetIsAcknowledged) {
    Bytes dummy(255, 0);
    engine.SetTransferData(eSendReset, dummy.data(), 255);
    engine.StartTransfer();
    Pump();
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(BusTransferTest, NakedTelegramCostsTheBlockWhichIsSentAgain) {
    const Bytes image = Random(1500, 11);
    box.nakNextTelegram = true;
    SendPackages(image);
    ASSERT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(box.stored, image);
    EXPECT_EQ(engine.GetTries(), 0);
}

TEST_F(BusTransferTest, WrongAckNumberFromTheBoxIsAFailureThenTheSameBlockAgain) {
    const Bytes image = Random(2048, 5);
    box.wrongAckNumberOnce = true;
    SendPackages(image);
    ASSERT_EQ(owner.results, std::vector<int>{1});
    // The first package went twice, numbered 0 both times.
    EXPECT_EQ(box.blocksFromPc, 3);
    EXPECT_EQ(box.stored, image);
}

TEST_F(BusTransferTest, SilentBoxIsTimedOutAfter12SecondsOnTheBus) {
    const Bytes image = Random(100, 1);
    box.silentOnce = true;
    owner.packages = {image};
    owner.Send();
    Pump();
    EXPECT_TRUE(owner.results.empty());
    clock.Advance(kTimeoutSendBlockBusMs - 1);
    engine.Poll();
    EXPECT_EQ(box.blocksFromPc, 1);
    clock.Advance(1);
    engine.Poll();
    Pump();
    EXPECT_EQ(box.blocksFromPc, 2);
    EXPECT_EQ(owner.results, std::vector<int>{1});
}

TEST_F(BusTransferTest, BoxTelegramReadWhileTheBusWasBlockedIsNotLost) {
    // The box's Ack to the first telegram of the block is waiting in the
    // control when the PC sends another telegram. The control has already
    // acknowledged it, so the box will not repeat it: it has to reach the
    // port all the same, or the block stalls until the time-out.
    engine.UpdatePort();
    const Bytes image = Random(40, 2);
    owner.packages = {image};
    owner.Send();
    ASSERT_FALSE(box.outbox.empty());
    const Bytes ack = box.outbox.front();
    box.outbox.pop_front();
    quell.waiting.push_back({RECEIVE_STATUS_ACK, static_cast<std::int16_t>(ack.size()), ack});
    quell.transmitStatuses = {TRANSMIT_BUS_BLOCKED};
    const std::uint8_t probe[] = {0xFF, 0x07, 0xF0};
    ASSERT_TRUE(engine.GetPort(eConnectionQuell)->SendLumenTelegramm(probe, 3));
    Pump();
    EXPECT_EQ(owner.results, std::vector<int>{1});
    EXPECT_EQ(box.stored, image);
}

TEST_F(BusTransferTest, IdentificationWhileIdleGoesToTheBox) {
    engine.UpdatePort();
    EXPECT_EQ(box.kennungen, 1);
    clock.Advance(kKennungIntervalMs);
    engine.Poll();
    EXPECT_EQ(box.kennungen, 2);
}

} // namespace
