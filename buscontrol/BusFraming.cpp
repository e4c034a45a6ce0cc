#include "BusFraming.h"

#include <algorithm>
#include <array>

namespace quell32 {

namespace {

bool NeedsDle(uint8_t b) {
    return b == kDle || b == kEtx;
}

} // namespace

uint8_t BusChecksumFor(uint8_t sum) {
    return static_cast<uint8_t>(256 - sum);
}

size_t BuildBusFrame(std::span<const uint16_t> bytes, bool raw,
                     std::span<uint8_t, kMaxFrameBytes> out) {
    bytes = bytes.first(std::min(bytes.size(), kMaxTransmitBytes));
    size_t n = 0;
    if (raw) {
        for (uint16_t v : bytes)
            out[n++] = static_cast<uint8_t>(v);
        return n;
    }
    out[n++] = kStx;
    uint8_t sum = 0;
    for (uint16_t v : bytes) {
        // Only the low byte goes on the wire, so only it decides the
        // stuffing; testing the whole value would send a lone DLE for 0x110.
        const auto b = static_cast<uint8_t>(v);
        if (NeedsDle(b)) {
            out[n++] = kDle;
            sum = static_cast<uint8_t>(sum + kDle);
        }
        out[n++] = b;
        sum = static_cast<uint8_t>(sum + b);
    }
    const uint8_t check = BusChecksumFor(sum);
    if (NeedsDle(check)) {
        out[n++] = kDle;
        out[n++] = static_cast<uint8_t>(check - kDle);
    } else {
        out[n++] = check;
    }
    out[n++] = kEtx;
    return n;
}

std::vector<uint8_t> BuildBusFrame(std::span<const uint16_t> bytes, bool raw) {
    std::array<uint8_t, kMaxFrameBytes> frame;
    const size_t n = BuildBusFrame(bytes, raw, frame);
    return std::vector<uint8_t>(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(n));
}

bool IsBroadcastFrame(std::span<const uint8_t> frame) {
    size_t i = 1;
    if (frame.size() > i && frame[i] == kDle)
        ++i;
    return frame.size() > i && frame[i] == kBroadcastAddress;
}

bool IsWholeTelegramAt(std::span<const uint8_t> raw, uint8_t* target) {
    if (raw.size() < 2 || raw[0] != kStx)
        return false;
    bool dle = false;
    for (size_t i = 1; i < raw.size() && i < kMaxReceiveRawBytes; ++i) {
        const uint8_t b = raw[i];
        if (b == kDle) {
            dle = !dle;
        } else if (b == kEtx && !dle) {
            // The target stands right after STX, or after the DLE that
            // stuffs it.
            const size_t at = raw[1] == kDle ? 2 : 1;
            if (at >= i)
                return false;
            *target = raw[at];
            return true;
        } else {
            dle = false;
        }
    }
    return false;
}

uint8_t BusReceiveSum(std::span<const uint8_t> raw) {
    if (raw.size() < 2)
        return 0;
    uint8_t sum = 0;
    for (size_t i = 1; i + 1 < raw.size(); ++i)
        sum = static_cast<uint8_t>(sum + raw[i]);
    return sum;
}

size_t UnstuffBusTelegram(std::span<const uint8_t> raw, std::span<uint16_t> out) {
    size_t n = 0;
    bool dle = false;
    for (size_t i = 1; i < raw.size() && n < out.size(); ++i) {
        const uint8_t b = raw[i];
        if (b == kDle && !dle) {
            dle = true; // stuffing: the next byte is data
            continue;
        }
        dle = false;
        out[n++] = b;
    }
    return n;
}

} // namespace quell32
