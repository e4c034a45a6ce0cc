#include "ComFrame.h"

#include "MoxCrc.h"

#include <algorithm>
#include <array>

std::uint16_t ComFrameCrc(std::span<const std::uint8_t> payload) {
    return MoxCalcCrc16(payload.data(), payload.size(), 0);
}

std::size_t BuildComFrame(std::span<const std::uint8_t> payload, std::span<std::uint8_t> frame) {
    if (payload.empty() || payload.size() > kComMaxPayload)
        return 0;
    // The caller's block stays as it is; the bit goes into a copy (the
    // controller may send the same block again after a failed answer).
    std::array<std::uint8_t, kComMaxPayload> copy;
    std::copy(payload.begin(), payload.end(), copy.begin());
    copy[0] |= BIT_7;
    const std::span<const std::uint8_t> body(copy.data(), payload.size());
    const std::uint16_t crc = ComFrameCrc(body);

    std::size_t n = 0;
    bool fits = true;
    auto put = [&](std::uint8_t b) {
        if (n < frame.size())
            frame[n++] = b;
        else
            fits = false;
    };
    auto putEscaped = [&](std::uint8_t b) {
        if (ComNeedsEscape(b))
            put(COM_ESC);
        put(b);
    };
    put(COM_STX);
    put(BIT_7);
    for (const std::uint8_t b : body)
        putEscaped(b);
    putEscaped(static_cast<std::uint8_t>(crc & 0xFF));
    putEscaped(static_cast<std::uint8_t>(crc >> 8));
    put(COM_ETX);
    return fits ? n : 0;
}

std::vector<std::uint8_t> BuildComFrame(std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> frame(kComMaxFrameLen);
    frame.resize(BuildComFrame(payload, std::span<std::uint8_t>(frame)));
    return frame;
}
