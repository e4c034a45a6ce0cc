#pragma once
// The box's side of the direct V.24 cable, on a pseudo-terminal: every
// checked frame from the PC goes to the box core as one block, and every
// block of the box goes out as one frame. The framing is the PC's own
// (ComFrame.h, ComFrameScanner.h), so both ends can never drift apart.
//
// On request it spoils the box's frames the ways a real line does: a bad
// CRC, a frame dribbling in over many reads, two frames in one read,
// garbage between frames, a frame cut off (followed by the frame whole, as
// a box does when it starts its answer over). Frames of the PC with a bad
// CRC are reported and dropped; the PC's own time-out makes it ask again.
// Single-threaded: the owner polls MasterFd() and calls HandleInput().

#include "BoxCore.h"
#include "IBoxLink.h"
#include "SimPty.h"
#include "SimTimers.h"

#include "ComFrameScanner.h"

#include <deque>
#include <functional>
#include <string>

namespace boxsim {

class BoxV24Link : public IBoxLink {
public:
    // A split frame goes out in pieces of this many bytes, one write each,
    // unless a split asks for other pieces. Small enough that even the
    // shortest answer comes in several pieces.
    static constexpr size_t kSplitPiece = 3;
    // Gap between the pieces, so each reaches the PC in a read of its own
    // rather than all at once.
    static constexpr int kSplitGapMs = 1;
    // Garbage written before a frame: no STX among plain bytes, then an STX
    // with a wrong marker, so the PC has to drop bytes and resynchronise.
    static const Bytes& Garbage();
    // Sent in the same write behind an answer for "double": an unasked
    // free-address list of the box (a programming block). The PC takes
    // programming blocks at any time without its running exchange noticing,
    // and outside programming the list changes nothing.
    static const Bytes& SecondFrameBlock();

    BoxV24Link(BoxCore& core, SimTimers& timers);
    ~BoxV24Link() override;
    BoxV24Link(const BoxV24Link&) = delete;
    BoxV24Link& operator=(const BoxV24Link&) = delete;

    // Opens the pseudo-terminal; false with a reason on failure.
    bool Start(std::string* error);
    const std::string& PtyPath() const { return m_ptyPath; }
    int MasterFd() const { return m_master; }
    // Reads what the PC wrote and hands every good frame to the core.
    void HandleInput();
    void SetTrace(bool on) { m_bTrace = on; }
    // Every good frame of the PC as it came, its first byte still marked,
    // before the core sees the block.
    std::function<void(const Bytes& payload)> onFrameIn;

    // Bytes on the line as they are (a frame of the test's own, garbage, a
    // flood), in turn with the box's frames.
    void SendRaw(const Bytes& bytes);
    // The box's end of the line goes: the PC's port sees its line hang up.
    // Whatever waited to go out is dropped; nothing goes out after.
    void HangUp();
    bool HungUp() const { return m_bHungUp; }

    // IBoxLink
    void SendBlock(const Bytes& block) override;
    bool Idle() const override { return m_Pending.empty(); }

    // ---- Misbehaviour, each for the box's next n frames (kAlways: all) ----
    void SetBadCrc(int n) { m_nBadCrc = n; }
    // piece 1: every byte in a write of its own.
    void SetSplit(int n, size_t piece = kSplitPiece) {
        m_nSplit = n;
        m_nSplitPiece = piece > 0 ? piece : kSplitPiece;
    }
    void SetDouble(int n) { m_nDouble = n; }
    void SetGarbage(int n) { m_nGarbage = n; }
    void SetCutOff(int n) { m_nCutOff = n; }

    struct Counters {
        long framesIn = 0;    // good frames of the PC
        long badFramesIn = 0; // frames of the PC that failed their check
        long framesOut = 0;   // frames of the box, spoilt ones included
        long bytesIn = 0;
        long bytesOut = 0;
    };
    const Counters& GetCounters() const { return m_Counters; }
    const SimWriteMark& LastWrite() const { return m_WriteMark; }

private:
    struct Chunk {
        Bytes bytes;
        bool gapBefore = false;
    };
    void Queue(Bytes bytes, bool gapBefore);
    void Pump();
    void Write(const Bytes& bytes);
    void Report(const std::string& line) { m_Core.Report(line); }

    BoxCore& m_Core;
    SimTimers& m_Timers;
    int m_master = -1;
    int m_slaveHold = -1;
    std::string m_ptyPath;
    bool m_bTrace = true;
    bool m_bHungUp = false;

    ComFrameScanner m_Scanner;
    // Writes waiting, in order; a split frame waits here piece by piece.
    std::deque<Chunk> m_Pending;
    SimTimers::Id m_GapTimer = 0;
    bool m_bGapDone = false;

    int m_nBadCrc = 0;
    int m_nSplit = 0;
    size_t m_nSplitPiece = kSplitPiece;
    int m_nDouble = 0;
    int m_nGarbage = 0;
    int m_nCutOff = 0;
    Counters m_Counters;
    SimWriteMark m_WriteMark;
};

} // namespace boxsim
