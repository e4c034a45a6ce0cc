#pragma once
// The direct serial port: the box cabled straight to COM1..COM4 (V.24). Each
// block message goes out as one frame (ComFrame.h); the box's bytes are read
// on the GUI thread as they come (the owner watches the port from its event
// loop), cut into frames (ComFrameScanner) and handed to the controller one
// at a time with COMPORT_DATA.
//
// Receiving is on from the moment the port is open, between transfers too:
// the box sends programming messages unasked.
//
// Everything runs on the GUI thread: the thread that waits for the box's
// answer is the one that handles it and writes the next frame, so no frame
// waits for a hand-over between threads. Frames that come while a notice
// runs (a modal box inside it lets the event loop read on) wait behind it in
// order; the controller is never handed a second frame from inside the
// first. Frames still waiting when the port closes belong to the old line
// and never reach the next port.

#include "ComFrame.h"
#include "ComFrameScanner.h"
#include "ComPortDefs.h"
#include "IComPortOwner.h"
#include "ITransferPort.h"
#include "SerialPort.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
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
    // True when a port was open and is closed now.
    bool CloseComPort();
    // Port open and the line not lost.
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

    // For the tests: frames cut out and not yet handed to the controller.
    std::size_t GetFramesWaiting() const { return m_Waiting.size(); }
    bool IsWatchingInput() const { return m_pWatch != nullptr; }

private:
    // GUI thread, from the owner's watch: the port has input or hung up.
    void OnInput();
    // False when the line is gone.
    bool ReadInput();
    void OnFrame(eComFrameStatus status, std::span<const std::uint8_t> payload);
    // Hands the waiting frames to the controller, unless a notice runs.
    void DeliverWaiting();
    void LoseLine(const char* what);
    // Writes the send frame.
    bool WriteFrame(std::size_t len);

    IComPortOwner& m_Owner;
    const int m_nSetting;
    std::string m_PortName;
    int m_nComNumber = 0;
    mox::platform::SerialPort::LineSettings m_Line;

    mox::platform::SerialPort m_Port;
    std::unique_ptr<IComInputWatch> m_pWatch;
    bool m_bOpen = false;
    bool m_bLineLost = false;
    bool m_bWaitForData = false;

    // The frame being sent.
    std::array<std::uint8_t, kComMaxFrameLen> m_abySendFrame{};
    std::array<std::uint8_t, kComReadChunk> m_abyChunk{};

    ComFrameScanner m_Scanner;
    // Frames cut out, oldest first, and whether a notice runs now.
    std::deque<std::vector<std::uint8_t>> m_Waiting;
    bool m_bDelivering = false;
    // The frame of the COMPORT_DATA notice being performed.
    std::vector<std::uint8_t> m_CurrentFrame;
    bool m_bHaveFrame = false;
};
