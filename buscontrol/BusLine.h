#pragma once
// The lower half of the bus control: owns the line to the bus interface,
// sends single telegrams and waits for their answer, receives and checks
// telegrams, answers those addressed to the PC, and runs the reader thread
// that tells the control when a telegram has arrived.
//
// All operations except the reader thread are called on the GUI thread.
// The line and the clock come from outside, so every rule about bytes and
// time can be exercised with a scripted line and a fake clock.

#include "BusFrameReceiver.h"
#include "IBusClock.h"
#include "IBusLine.h"
#include "PortBlock.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace quell32 {

// The control's "window": told from the reader thread that a telegram is
// ready. It must only queue the news for the GUI thread, never wait for it.
class BusNotice {
public:
    virtual void PostTeleReceived() = 0;

protected:
    ~BusNotice() = default;
};

class BusLine {
public:
    BusLine(std::unique_ptr<IBusLine> line, std::unique_ptr<IBusClock> clock);
    // Closes an open port, which stops the reader first.
    ~BusLine();
    BusLine(const BusLine&) = delete;
    BusLine& operator=(const BusLine&) = delete;

    PortBlock& Block() { return m_block; }
    const PortBlock& Block() const { return m_block; }

    // Results are the PORT_* words. window null: PORT_NO_WINDOW.
    uint16_t OpenPort(int commPort, bool testForInterface, bool useEventNotification,
                      BusNotice* window);
    uint16_t ClosePort();
    bool IsOpen() const { return m_block.open.load() != 0; }
    bool ReaderRunning() const { return m_reader.joinable(); }

    // Sends the transmit bytes; the outcome goes to the transmit status.
    void TransmitTele();
    // Waits up to durationTicks - 50 ms for one telegram. A telegram the
    // reader stored whose notice has not reached the client yet is handed
    // over at once instead, and that notice then goes unfired. A telegram
    // the filters drop ends the wait at once with no message.
    void WaitForReceive(int32_t durationTicks);
    // GUI thread, for every telegram notice the reader posted: false when
    // WaitForReceive already handed its telegram over (the event must not
    // fire), else true.
    bool NoticeArrived();
    // Receives one telegram; true when one was stored or an overflow was
    // reported. Called by the line holder.
    bool ReceiveTele();
    // Clears RTS when CTS is on, else sets it; nothing without modem lines.
    void FlipRts();
    // Discards both queues of an open port.
    void Purge();

    // ReadyForReceive: the client has taken the last telegram. A telegram
    // that already waits whole while the reader waits for this hand-back
    // is taken here at once, the way the reader would take it (answer,
    // store, notice), so the reader is not woken for it.
    void SetReadyForReceive(bool ready);

    // Snapshot reads of the received fields for the GUI thread.
    int16_t ReceivedLength() const;
    uint16_t ReceivedStatus() const;
    uint32_t ReceivedTicks() const;
    int16_t ReceivedByte(int pos) const;
    double TimeStamp() const;

private:
    enum class Answer { None, Byte, Failed };

    // What the reader waits for while it does not watch the line.
    enum class ReaderWait : uint8_t { None, Gate, Ready };

    void ReaderLoop();
    // Waits (wake-up or timeoutMs) until the gate is open, or the ready flag
    // set; false when it was so already and nothing was waited for.
    bool PauseReader(ReaderWait what, int timeoutMs);
    bool ReaderMayGoOn(ReaderWait what) const;
    // After the gate or the ready flag changed: wakes the reader when it
    // waits for just that.
    void WakeReaderFor(ReaderWait what);
    bool EnterLineAsReader();
    void LeaveLineAsReader();
    // Only says the reader is no longer busy.
    void ReleaseLineAsReader();
    // Closes the receive gate; false when the reader stayed busy too long.
    bool CloseGate();
    // GUI thread, in the hand-back: receives the telegram that waits whole
    // and needs no answer waited for; true when one was stored.
    bool TakeWaitingTelegram();
    void OpenGate();
    bool InputPending();
    // Waits until a byte arrives or the answer time-out has passed since
    // fromMs; the byte goes to *byte.
    Answer AwaitAnswer(uint32_t fromMs, int* byte);
    // reader: the reader thread receives, and will announce what it stores.
    bool ReceiveTeleFor(bool reader);
    bool HandleTelegram(uint32_t endMs, bool reader);
    bool EndReceive(bool result);
    bool HandOverUntaken();
    void WaitForReceiveHoldingLine(int32_t durationTicks);
    void SetTransmitOutcome(uint16_t status, uint32_t ticks);
    void CloseLine();

    std::unique_ptr<IBusLine> m_line;
    std::unique_ptr<IBusClock> m_clock;
    PortBlock m_block;
    BusNotice* m_window = nullptr; // set while the port is open

    // Scratch of ReceiveTele; line holder only.
    BusFrameReceiver m_rx;
    // The last ReceiveTele met a port that failed to read.
    bool m_readFailed = false;
    // The last ReceiveTele took in a whole telegram that a filter dropped.
    bool m_filtered = false;
    // The reader stored a telegram (or an overflow report) whose notice has
    // not reached the client yet; guarded by receivedMutex.
    bool m_readerUntaken = false;
    // Notices whose telegram WaitForReceive handed over; GUI thread only.
    int m_staleNotices = 0;

    std::thread m_reader;
    std::atomic<bool> m_stopReader{false};
    // What the reader waits for in a pause (None: it watches the line, or
    // works). Set before the reader looks at the gate or the flag for the
    // last time and read after they change, so either the reader sees the
    // change or the changer sees it waiting: no wake-up is lost, and none is
    // sent that the reader would only go back to sleep after.
    std::atomic<ReaderWait> m_readerWait{ReaderWait::None};
    // Signals the GUI thread that the reader left the line.
    std::mutex m_idleMutex;
    std::condition_variable m_idleCv;
};

} // namespace quell32
