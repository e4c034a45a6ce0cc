#pragma once
// The direct serial port: the box cabled straight to COM1..COM4 (V.24). Each
// block message goes out as one frame (ComFrame.h); a reader thread collects
// the box's bytes, cuts the frames out (ComFrameScanner) and hands each to
// the GUI thread as a value, announced by a queued post to the owner.
//
// Receiving is on from the moment the port is open, between transfers too:
// the box sends programming messages unasked.
//
// Threads. The reader waits on the serial port and reads it for its whole
// run and holds m_PortLock all that time; before it starts and after it has
// been joined, the GUI thread uses the port under the same lock. The GUI
// thread writes each frame itself, beside the reader (the port takes one
// writer beside one reader), so a send costs no hand-over between threads;
// it opens and closes the port only while no reader runs. The reader never
// waits for the GUI thread, so closing (stop flag, wake-up, join) cannot
// deadlock. Each checked frame travels to the GUI thread by value inside a
// posted call; calls still queued when the port closes are void, so a frame
// of the old line never reaches the next port. Every other member is the GUI
// thread's.

#include "ComFrame.h"
#include "ComFrameScanner.h"
#include "ComPortDefs.h"
#include "IComPortOwner.h"
#include "ITransferPort.h"
#include "SerialPort.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TTkComPort : public ITransferPort {
public:
    // commPortSetting is the transfer-medium setting (5..8 for COM1..COM4).
    // Opens the port at once; a failed open is shown through the owner and
    // the object exists without a port.
    TTkComPort(IComPortOwner& owner, int commPortSetting);
    ~TTkComPort() override;

    TTkComPort(const TTkComPort&) = delete;
    TTkComPort& operator=(const TTkComPort&) = delete;

    // Line settings and port name from the setting; the frame in progress
    // is dropped. An open port goes on listening.
    void Init();
    // 5..8 for the port names "COM1".."COM4", else -1.
    int GetPortSetting() const;
    const std::string& GetPortName() const { return m_PortName; }
    int GetComNumber() const override;

    // True when the port is open (also when it already was).
    bool OpenComPort();
    // True when a port was open and is closed now; the reader has ended.
    bool CloseComPort();
    // Port open, no stop requested and the line not lost. Any thread.
    bool IsOpen() const override;

    // Received bytes are kept only while set (it is set by every open);
    // either way the frame in progress is dropped.
    void SetWaitForData(bool flag);

    // Sends one block message (1..1030 bytes) as a frame; true when the
    // whole frame was written. The caller's bytes are not changed.
    bool SendDataBlock(const std::uint8_t* data, std::uint32_t len) override;
    // Inside COMPORT_DATA: copies the frame's payload and returns its
    // length; 0 for a bad frame, a missing or too small destination (the
    // frame is dropped then), or outside a notice.
    std::uint32_t ReceiveDataBlock(std::uint8_t* dest, std::uint32_t size) override;

    // For the tests: frames posted and not yet run on the GUI thread.
    std::size_t GetFramesInFlight() const;
    bool IsReaderRunning() const { return m_Reader.joinable(); }

private:
    void CommThread();
    void ReadInput();
    void OnFrame(eComFrameStatus status, std::span<const std::uint8_t> payload);
    // GUI thread: a posted frame arrives.
    void Deliver(std::vector<std::uint8_t>&& frame);
    // Writes the send frame; GUI thread.
    bool WriteFrame(std::size_t len);

    IComPortOwner& m_Owner;
    const int m_nSetting;
    std::string m_PortName;
    int m_nComNumber = 0;
    mox::platform::SerialPort::LineSettings m_Line;

    // Whoever holds it waits on and reads m_Port: the reader for its whole
    // run. Writes are the GUI thread's.
    std::mutex m_PortLock;
    mox::platform::SerialPort m_Port;
    std::thread m_Reader;
    std::atomic<bool> m_bOpen{false};
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bLineLost{false};
    std::atomic<bool> m_bWaitForData{false};
    std::atomic<bool> m_bResetScanner{false};

    // The frame being sent; GUI thread.
    std::array<std::uint8_t, kComMaxFrameLen> m_abySendFrame{};

    // The reader's (the GUI thread's while none runs).
    ComFrameScanner m_Scanner;

    // What the posted calls of one open share with the port; they may
    // outlive it. open is read and cleared on the GUI thread only.
    struct Inbox {
        bool open = true;
        std::atomic<std::size_t> inFlight{0};
    };
    std::shared_ptr<Inbox> m_pInbox;
    // The frame of the COMPORT_DATA notice being performed.
    std::vector<std::uint8_t> m_CurrentFrame;
    bool m_bHaveFrame = false;
};
