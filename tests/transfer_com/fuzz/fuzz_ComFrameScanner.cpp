// Feeds the V.24 frame scanner arbitrary bytes in reads of arbitrary sizes.
// It must never hold more than the longest frame, never report a payload
// longer than the largest block, and every good payload must be one whose
// CRC holds: framed again it scans back to itself.

#include "ComFrame.h"
#include "ComFrameScanner.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

void CheckPayload(eComFrameStatus status, std::span<const std::uint8_t> payload) {
    Check(payload.size() <= kComMaxPayload);
    if (status != eComFrameStatus::Ok) {
        Check(payload.empty());
        return;
    }
    if (payload.empty())
        return;
    // The builder sets bit 7 of the first byte; a frame whose first byte
    // lacked it comes back with it.
    std::vector<std::uint8_t> expected(payload.begin(), payload.end());
    expected[0] |= BIT_7;
    const std::vector<std::uint8_t> frame = BuildComFrame(payload);
    Check(!frame.empty() && frame.size() <= kComMaxFrameLen);
    ComFrameScanner again;
    int frames = 0;
    again.Feed(frame, [&](eComFrameStatus s, std::span<const std::uint8_t> p) {
        Check(s == eComFrameStatus::Ok);
        Check(std::vector<std::uint8_t>(p.begin(), p.end()) == expected);
        ++frames;
    });
    Check(frames == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the read size, as a line hands bytes over in
    // lumps of its own choosing.
    const std::size_t chunk = 1 + data[0] % 64;
    ++data;
    --size;
    ComFrameScanner scanner;
    while (size > 0) {
        const std::size_t n = size < chunk ? size : chunk;
        scanner.Feed(std::span<const std::uint8_t>(data, n), CheckPayload);
        Check(scanner.HeldBytes() < kComMaxFrameLen);
        data += n;
        size -= n;
    }
    return 0;
}
