// Feeds the bus port arbitrary telegrams as the bus control hands them up,
// mixed with sends, blocked-bus reads and partial reads of the held block.
// The port must never read or write outside its buffers, never hold more
// than the largest block message, and never hand out more than was asked.

#include "FakeClock.h"
#include "FakeLumenOwner.h"
#include "FakeQuell32Control.h"
#include "TTkLumenPort.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <vector>

namespace {

// Status words a received telegram may carry, the acknowledged one most.
const std::uint16_t kStatuses[] = {RECEIVE_STATUS_ACK,
                                   RECEIVE_STATUS_ACK,
                                   RECEIVE_STATUS_ACK,
                                   RECEIVE_STATUS_BROADCAST,
                                   RECEIVE_STATUS_NAK,
                                   RECEIVE_TIMEOUT,
                                   RECEIVE_ERROR_CHECKSUM | RECEIVE_STATUS_ACK,
                                   RECEIVE_NO_MESSAGE};

const std::uint16_t kTransmit[] = {
    TRANSMIT_STATUS_ACK, TRANSMIT_STATUS_ACK, TRANSMIT_STATUS_BROADCAST, 0x15, 0xF002,
    TRANSMIT_BUS_BLOCKED};

void Check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeClock clock;
    FakeQuell32Control quell;
    FakeLumenOwner owner;
    TTkLumenPort port(owner, quell, clock, 1);

    std::uint8_t block[MAX_COMM_MSG_LEN];
    owner.onQuellData = [&] {
        Check(port.GetHeldLen() <= kLumenMaxReceiveBlock);
        const std::uint32_t n = port.ReceiveDataBlock(block, sizeof(block));
        Check(n <= sizeof(block));
    };

    std::size_t at = 0;
    auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    while (at < size) {
        const std::uint8_t op = next();
        const std::size_t len = std::min<std::size_t>(next(), size - at);
        const std::vector<std::uint8_t> bytes(data + at, data + at + len);
        at += len;
        quell.defaultTransmitStatus = kTransmit[(op >> 3) % std::size(kTransmit)];
        switch (op & 7) {
        case 0:
        case 1:
        case 2: {
            // A telegram as the reader thread stored it; the length the
            // control reports may differ from the bytes it holds.
            quell.Store(kStatuses[(op >> 3) % std::size(kStatuses)], bytes);
            if (op & 0x80)
                quell.stored.len = static_cast<std::int16_t>(static_cast<std::int8_t>(op));
            port.OnTeleReceived();
            break;
        }
        case 3: {
            // A block of the PC's own, up to past the port's limit.
            std::vector<std::uint8_t> out(len * 9u);
            for (std::size_t i = 0; i < out.size(); ++i)
                out[i] = static_cast<std::uint8_t>(i);
            port.SendDataBlock(out.data(), static_cast<std::uint32_t>(out.size()));
            break;
        }
        case 4: {
            // A telegram that waits in the control while the bus is blocked.
            quell.waiting.push_back({kStatuses[(op >> 3) % std::size(kStatuses)],
                                     static_cast<std::int16_t>(bytes.size()), bytes});
            quell.transmitStatuses.push_back(TRANSMIT_BUS_BLOCKED);
            port.SendAck(op);
            Check(port.GetPendingCount() <= kLumenMaxPendingTelegrams);
            break;
        }
        case 5:
            port.WorkOnPendingTelegrams();
            break;
        case 6: {
            std::uint8_t small[64];
            const std::uint32_t want = len % sizeof(small);
            Check(port.ReceiveDataBlock(small, want) <= want);
            break;
        }
        default: {
            const TLumenMessage msg(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
            if (msg.IsValid()) {
                Check(msg.GetDataLen() <= MAX_DATA_LEN);
                port.WorkOnReceiveLumenData(&msg);
            }
            break;
        }
        }
        Check(port.GetHeldLen() <= kLumenMaxReceiveBlock);
    }
    return 0;
}
