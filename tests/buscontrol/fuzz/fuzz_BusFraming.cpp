// Bus receive framing: whatever bytes come from the bus interface, the bus
// line stores at most one well-formed telegram at a time, within its tables,
// and never reads or writes outside them; the look for a whole telegram at
// the hand-back agrees with the receiver.
// Input: one option byte (raw mode, answer mode, gap between bytes), then
// the bytes on the line.

#include "BusFrameReceiver.h"
#include "BusFraming.h"
#include "BusLine.h"
#include "FakeBusLine.h"

#include <cstdlib>
#include <span>

using namespace quell32;

namespace {

class NoNotice final : public BusNotice {
public:
    void PostTeleReceived() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const uint8_t options = data[0];
    test::FakeTime time;
    auto line = std::make_unique<test::FakeBusLine>(time);
    test::FakeBusLine* fake = line.get();
    BusLine bus(std::move(line), std::make_unique<test::FakeBusClock>(time));
    NoNotice notice;
    if (bus.OpenPort(1, false, false, &notice) != 0)
        std::abort();
    bus.Block().rawMode = options & 1;
    bus.Block().answerFlags = (options >> 1) & 1;
    fake->Arrive(std::vector<uint8_t>(data + 1, data + size), 0, (options >> 2) & 0x3F);

    // Every call consumes at least one byte, so this ends.
    for (size_t calls = 0;
         calls <= size + 1 && (fake->Scheduled() > 0 || bus.Block().pushedBackValid); ++calls) {
        if (fake->Queued() == 0 && !bus.Block().pushedBackValid)
            fake->WaitForInput(1000);
        if (bus.ReceiveTele()) {
            const int16_t len = bus.ReceivedLength();
            if (len < -1 || len > static_cast<int16_t>(kMaxReceiveRawBytes))
                std::abort();
            for (int i = -1; i <= len + 1; ++i)
                (void)bus.ReceivedByte(i);
            bus.SetReadyForReceive(true);
        }
    }

    // The framing functions on their own.
    BusFrameReceiver rx;
    std::vector<uint16_t> out(kTeleTableSize);
    for (size_t i = 1; i < size; ++i) {
        if (rx.Feed(data[i], 0) == BusFrameReceiver::Step::Complete) {
            const size_t n = UnstuffBusTelegram(rx.Raw(), out);
            if (n > out.size())
                std::abort();
            (void)BusReceiveSum(rx.Raw());
        }
    }

    // Whether the bytes start with a whole telegram, and for whom: as the
    // receiver ends the same bytes and decodes them.
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    uint8_t target = 0;
    const bool whole = IsWholeTelegramAt(bytes, &target);
    BusFrameReceiver first;
    BusFrameReceiver::Step step = BusFrameReceiver::Step::Ignored;
    for (const uint8_t b : bytes) {
        step = first.Feed(b, 0);
        if (step != BusFrameReceiver::Step::Started && step != BusFrameReceiver::Step::Inside)
            break;
    }
    // A telegram without even its target (STX ETX) is no telegram worth
    // taking: the receiver ends it too, and the bus line drops it.
    const bool complete = step == BusFrameReceiver::Step::Complete;
    const size_t decoded = complete ? UnstuffBusTelegram(first.Raw(), out) : 0;
    if (whole != (complete && decoded >= 2))
        std::abort();
    if (whole && out[0] != target)
        std::abort();
    return 0;
}
