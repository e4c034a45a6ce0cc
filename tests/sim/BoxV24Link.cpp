#include "BoxV24Link.h"
#include "SimPty.h"

#include "SimCount.h"
#include "SimHex.h"

#include "ComFrame.h"

#include <algorithm>
#include <unistd.h>
#include <utility>

namespace boxsim {

const Bytes& BoxV24Link::Garbage() {
    static const Bytes garbage{0x55, 0xAA, 0x00, 0xFF, 0x03, 0x1B, 0x02, 0x41, 0x7E, 0x03};
    return garbage;
}

const Bytes& BoxV24Link::SecondFrameBlock() {
    static const Bytes block{0x83, 0x00, 0x00, 0x00, 0x00, 0x00, 0x41, 0x00, 0x05, 0x00, 0x07};
    return block;
}

BoxV24Link::BoxV24Link(BoxCore& core, SimTimers& timers) : m_Core(core), m_Timers(timers) {}

BoxV24Link::~BoxV24Link() {
    if (m_GapTimer)
        m_Timers.Cancel(m_GapTimer);
    CloseSimPty(m_master, m_slaveHold);
}

bool BoxV24Link::Start(std::string* error) {
    return OpenSimPty(m_master, m_slaveHold, m_ptyPath, error);
}

// ---- The PC's frames -------------------------------------------------------

void BoxV24Link::HandleInput() {
    if (m_master < 0)
        return;
    uint8_t buf[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            return;
        m_Counters.bytesIn += n;
        m_Scanner.Feed(std::span<const uint8_t>(buf, static_cast<size_t>(n)),
                       [this](eComFrameStatus status, std::span<const uint8_t> payload) {
                           if (status != eComFrameStatus::Ok) {
                               ++m_Counters.badFramesIn;
                               Report(std::string("BADFRAME ") + ComFrameStatusName(status));
                               return;
                           }
                           ++m_Counters.framesIn;
                           Bytes block(payload.begin(), payload.end());
                           if (onFrameIn)
                               onFrameIn(block);
                           // The PC marks its first byte like the box; the
                           // block itself does not carry that mark. A frame
                           // of nothing but its CRC checks out too; the core
                           // refuses it as too short.
                           if (!block.empty())
                               block[0] &= static_cast<uint8_t>(~BIT_7);
                           if (m_bTrace)
                               Report("RXFRAME " + HexBytes(block));
                           m_Core.OnBlock(block);
                       });
    }
}

// ---- The box's frames ------------------------------------------------------

void BoxV24Link::SendBlock(const Bytes& block) {
    if (m_bHungUp) {
        Report("NOLINE " + HexBytes(block));
        return;
    }
    Bytes frame = BuildComFrame(block);
    if (frame.empty()) {
        Report("BADOUT len " + std::to_string(block.size()));
        return;
    }
    ++m_Counters.framesOut;
    std::string faults;
    if (TakeOne(m_nGarbage)) {
        Queue(Garbage(), false);
        faults += " garbage";
    }
    if (TakeOne(m_nCutOff)) {
        // The first half, then the frame whole: the PC must give up the
        // torn one on the second STX. A cut right behind an ESC would make
        // that STX a data byte and cost the PC a try instead; the cut is
        // kept off it, so the fault does what it says every time.
        size_t cut = frame.size() / 2;
        while (cut > 2 && frame[cut - 1] == COM_ESC)
            --cut;
        Queue(Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(cut)), false);
        faults += " cutoff";
    }
    if (TakeOne(m_nBadCrc)) {
        // Built again around a CRC with its lowest bit flipped, escaped as
        // a real one would be, so only the check fails.
        const uint16_t crc = static_cast<uint16_t>(ComFrameCrc(block) ^ 0x0001);
        Bytes body(block);
        body[0] |= BIT_7;
        body.push_back(static_cast<uint8_t>(crc & 0xFF));
        body.push_back(static_cast<uint8_t>(crc >> 8));
        frame.assign({COM_STX, BIT_7});
        for (const uint8_t b : body) {
            if (ComNeedsEscape(b))
                frame.push_back(COM_ESC);
            frame.push_back(b);
        }
        frame.push_back(COM_ETX);
        faults += " badcrc";
    }
    if (TakeOne(m_nDouble)) {
        const Bytes second = BuildComFrame(SecondFrameBlock());
        frame.insert(frame.end(), second.begin(), second.end());
        faults += " double";
    }
    const bool split = TakeOne(m_nSplit);
    if (split)
        faults += " split";
    if (m_bTrace)
        Report("TXFRAME " + HexBytes(block) + faults);
    if (split) {
        for (size_t pos = 0; pos < frame.size(); pos += m_nSplitPiece) {
            const size_t end = std::min(frame.size(), pos + m_nSplitPiece);
            Queue(Bytes(frame.begin() + static_cast<std::ptrdiff_t>(pos),
                        frame.begin() + static_cast<std::ptrdiff_t>(end)),
                  true);
        }
    } else {
        Queue(std::move(frame), false);
    }
}

void BoxV24Link::SendRaw(const Bytes& bytes) {
    if (m_bTrace)
        Report("TXRAW " + HexBytes(bytes));
    Queue(bytes, false);
}

void BoxV24Link::HangUp() {
    if (m_GapTimer)
        m_Timers.Cancel(m_GapTimer);
    m_GapTimer = 0;
    m_bGapDone = false;
    m_Pending.clear();
    // Closing the master and the held slave leaves the PC's open slave with
    // no far end: its reads and writes fail as on a lost line.
    CloseSimPty(m_master, m_slaveHold);
    m_bHungUp = true;
    Report("HANGUP");
}

void BoxV24Link::Queue(Bytes bytes, bool gapBefore) {
    if (m_bHungUp)
        return;
    m_Pending.push_back({std::move(bytes), gapBefore});
    Pump();
}

void BoxV24Link::Pump() {
    if (m_GapTimer)
        return; // a gap is running; its end goes on
    while (!m_Pending.empty()) {
        if (m_Pending.front().gapBefore && !m_bGapDone) {
            m_GapTimer = m_Timers.After(kSplitGapMs, [this] {
                m_GapTimer = 0;
                m_bGapDone = true;
                Pump();
            });
            return;
        }
        m_bGapDone = false;
        const Chunk chunk = std::move(m_Pending.front());
        m_Pending.pop_front();
        Write(chunk.bytes);
    }
}

void BoxV24Link::Write(const Bytes& bytes) {
    if (m_master < 0)
        return;
    m_Counters.bytesOut += static_cast<long>(WriteToPc(m_master, bytes, m_WriteMark));
}

} // namespace boxsim
