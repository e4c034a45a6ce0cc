#pragma once
// Cuts the frames of the direct V.24 link (ComFrame.h) out of the received
// byte stream. Fed one byte at a time, it never waits and never needs the
// bytes again, so it works on reads of any size: a frame split over many
// reads, several frames in one read, garbage between frames.
//
// Every frame that reaches its ETX is reported once, in order: with its
// payload when the CRC matches, otherwise as a bad frame without payload
// (the controller counts it as a failed block). Bytes outside a frame are
// dropped; a marker other than 0x80 or an unescaped STX inside a frame starts
// the hunt again at that point; a frame that grows past the longest legal
// frame without an ETX is dropped as well, so the link never stalls.
//
// Plain data, no threads: the owner serialises the calls.

#include "ComFrame.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

enum class eComFrameStatus : std::uint8_t {
    Ok,        // CRC matched; the payload is there
    BadCrc,    // CRC did not match
    TooShort,  // fewer than the two CRC bytes between marker and ETX
    Oversized, // payload longer than the largest block message
};

const char* ComFrameStatusName(eComFrameStatus status);

class ComFrameScanner {
public:
    // What happened to bytes that made no frame, for the trace and the tests.
    struct Counters {
        std::size_t droppedBytes = 0; // outside a frame, or of a dropped frame
        std::size_t wrongMarkers = 0; // STX not followed by 0x80
        std::size_t secondStx = 0;    // unescaped STX inside a frame
        std::size_t overflows = 0;    // frame without ETX past the longest frame
    };

    // Feeds one byte; true when it ended a frame (LastStatus, LastPayload).
    bool Feed(std::uint8_t b);

    // Feeds bytes in order and calls onFrame(status, payload) for every
    // frame they end. The payload is valid only during the call.
    template <typename OnFrame> void Feed(std::span<const std::uint8_t> bytes, OnFrame&& onFrame) {
        for (const std::uint8_t b : bytes) {
            if (Feed(b))
                onFrame(m_eLastStatus, LastPayload());
        }
    }

    eComFrameStatus LastStatus() const { return m_eLastStatus; }
    // Payload of the last frame, first byte as received (bit 7 set); empty
    // unless that frame was good.
    std::span<const std::uint8_t> LastPayload() const;

    // Drops a frame in progress; the counters stay.
    void Reset();
    // Raw bytes of the frame in progress, from its STX on; 0 while hunting.
    std::size_t HeldBytes() const { return m_nHeld; }
    const Counters& GetCounters() const { return m_Counters; }

private:
    enum class State : std::uint8_t { Hunt, Marker, Body, BodyEsc };

    void StartFrame();
    void Drop(std::size_t n);
    // Counts one more raw byte of the frame; false when that passes the
    // longest frame (the frame is then dropped).
    bool Hold();
    void Store(std::uint8_t b);
    bool EndFrame();

    State m_eState = State::Hunt;
    // Raw bytes of the current frame since its STX.
    std::size_t m_nHeld = 0;
    // Unescaped payload and CRC; bytes beyond kComMaxBody are counted, not
    // kept.
    std::array<std::uint8_t, kComMaxBody> m_abyBody{};
    std::size_t m_nBody = 0;
    eComFrameStatus m_eLastStatus = eComFrameStatus::TooShort;
    std::size_t m_nLastPayload = 0;
    Counters m_Counters;
};
