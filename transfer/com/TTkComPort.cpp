#include "TTkComPort.h"

#include "TransferTrace.h"

#include <algorithm>
#include <cerrno>

using mox::platform::SerialPort;

TTkComPort::TTkComPort(IComPortOwner& owner, int commPortSetting)
    : m_Owner(owner), m_nSetting(commPortSetting) {
    Init();
    OpenComPort();
}

TTkComPort::~TTkComPort() {
    CloseComPort();
}

void TTkComPort::Init() {
    m_Line.baud = kComBaudRate;
    m_Line.dataBits = kComDataBits;
    m_Line.parity = SerialPort::Parity::None;
    m_Line.stopBits = kComStopBits;
    if (m_nSetting >= kComFirstSetting && m_nSetting <= kComLastSetting) {
        m_nComNumber = m_nSetting - kComFirstSetting + 1;
        m_PortName = "COM" + std::to_string(m_nComNumber);
    } else {
        m_nComNumber = 0;
        m_PortName.clear();
    }
    // An open port always listens; only a closed one waits for its open to
    // switch receiving on.
    m_bWaitForData = m_bOpen;
    m_Scanner.Reset();
}

int TTkComPort::GetPortSetting() const {
    return m_nComNumber ? m_nComNumber + kComFirstSetting - 1 : -1;
}

int TTkComPort::GetComNumber() const {
    return m_nComNumber;
}

bool TTkComPort::IsOpen() const {
    return m_bOpen && !m_bLineLost;
}

bool TTkComPort::OpenComPort() {
    if (m_bOpen)
        return true;
    const std::string path = SerialPort::DevicePath(m_nComNumber);
    bool ok = !path.empty() && m_Port.Open(path);
    if (ok && !m_Port.SetLine(m_Line)) {
        TransferTrace(eTracePort, "<TTkComPort::OpenComPort> line settings refused, err=%d",
                      m_Port.LastError());
        m_Port.Close();
        ok = false;
    }
    if (!ok) {
        TransferTrace(eTracePort, "<TTkComPort::OpenComPort> %s (%s) open failed, err=%d",
                      m_PortName.empty() ? "(no port)" : m_PortName.c_str(), path.c_str(),
                      m_Port.LastError());
        m_Owner.ShowOpenError();
        return false;
    }
    m_Port.Purge(true, true);
    m_bLineLost = false;
    m_Scanner.Reset();
    m_Waiting.clear();
    // The box may speak first (programming messages come unasked), so the
    // port listens from the start.
    m_bWaitForData = true;
    m_bOpen = true;
    TransferTrace(eTracePort, "<TTkComPort::OpenComPort> %s open", m_PortName.c_str());
    m_pWatch = m_Owner.WatchInput(m_Port.Descriptor(), [this] { OnInput(); });
    return true;
}

bool TTkComPort::CloseComPort() {
    if (!m_bOpen)
        return false;
    m_pWatch.reset();
    m_Port.Close();
    m_bOpen = false;
    // Frames not yet handed over belong to this line.
    m_Waiting.clear();
    m_bHaveFrame = false;
    m_Scanner.Reset();
    TransferTrace(eTracePort, "<TTkComPort::CloseComPort> %s closed", m_PortName.c_str());
    return true;
}

void TTkComPort::SetWaitForData(bool flag) {
    m_bWaitForData = flag;
    m_Scanner.Reset();
}

// ---- Sending ---------------------------------------------------------------

bool TTkComPort::SendDataBlock(const std::uint8_t* data, std::uint32_t len) {
    if (!m_bOpen) {
        TransferTrace(eTracePort, "<TTkComPort::SendDataBlock> m_hComPort == NULL -> ERROR");
        return false;
    }
    if (!data || len == 0 || len > kComMaxPayload) {
        TransferTrace(eTracePort, "<TTkComPort::SendDataBlock> len (%u) refused -> ERROR", len);
        return false;
    }
    const std::size_t n = BuildComFrame(std::span<const std::uint8_t>(data, len),
                                        std::span<std::uint8_t>(m_abySendFrame));
    TransferTraceBytes(eTracePort, "<TTkComPort::SendDataBlock> ", m_abySendFrame.data(), n);
    return WriteFrame(n);
}

bool TTkComPort::WriteFrame(std::size_t len) {
    if (!m_Port.IsOpen() || m_bLineLost)
        return false;
    const bool ok = m_Port.Write(m_abySendFrame.data(), len, kComWriteTimeoutMs);
    if (!ok) {
        const int err = m_Port.LastError();
        TransferTrace(eTracePort, "<TTkComPort::SendDataBlock> write failed, err=%d", err);
        // The device is gone (unplugged, or the far side of a pseudo-terminal
        // closed); a time-out only means the line is slow.
        if (err == EIO || err == ENXIO || err == ENODEV) {
            m_bLineLost = true;
            m_pWatch.reset();
        }
    }
    return ok;
}

// ---- Input ---------------------------------------------------------------

void TTkComPort::OnInput() {
    if (!m_bOpen || m_bLineLost)
        return;
    if (ReadInput())
        DeliverWaiting();
}

bool TTkComPort::ReadInput() {
    for (;;) {
        const long n = m_Port.Read(m_abyChunk.data(), m_abyChunk.size());
        if (n < 0) {
            LoseLine("read failed");
            return false;
        }
        if (n == 0) {
            // Readable with nothing to read: a hung-up line says so once
            // asked; anything else was a wake-up with nothing in it.
            if (m_Port.WaitForInput(0, false) == SerialPort::WaitResult::Failed) {
                LoseLine("line lost");
                return false;
            }
            return true;
        }
        // Bytes that come while receiving is off are read and thrown away.
        if (m_bWaitForData)
            m_Scanner.Feed(
                std::span<const std::uint8_t>(m_abyChunk.data(), static_cast<std::size_t>(n)),
                [this](eComFrameStatus status, std::span<const std::uint8_t> payload) {
                    OnFrame(status, payload);
                });
        if (static_cast<std::size_t>(n) < m_abyChunk.size())
            return true;
    }
}

void TTkComPort::LoseLine(const char* what) {
    TransferTrace(eTracePort, "<TTkComPort::Read> %s %s, err=%d", m_PortName.c_str(), what,
                  m_Port.LastError());
    m_bLineLost = true;
    // A hung-up line stays readable; watching it on would spin.
    m_pWatch.reset();
}

void TTkComPort::OnFrame(eComFrameStatus status, std::span<const std::uint8_t> payload) {
    if (status == eComFrameStatus::Ok)
        TransferTrace(eTracePort, "### Checksum ok");
    else
        TransferTrace(eTracePort, "### Checksum not ok ERROR (%s)", ComFrameStatusName(status));
    if (m_Waiting.size() >= kComMaxQueuedFrames) {
        TransferTrace(eTracePort, "<TTkComPort::Read> %zu frames not taken: frame dropped",
                      m_Waiting.size());
        return;
    }
    m_Waiting.emplace_back(payload.begin(), payload.end());
}

void TTkComPort::DeliverWaiting() {
    // A notice runs further up this thread's stack (its modal loop read on):
    // the frames wait for it and are handed over in order once it returns.
    if (m_bDelivering)
        return;
    m_bDelivering = true;
    while (m_bOpen && !m_Waiting.empty()) {
        m_CurrentFrame = std::move(m_Waiting.front());
        m_Waiting.pop_front();
        m_bHaveFrame = true;
        m_Owner.PerformComPortData();
        m_bHaveFrame = false;
    }
    m_bDelivering = false;
}

// ---- Receiving -------------------------------------------------------------

std::uint32_t TTkComPort::ReceiveDataBlock(std::uint8_t* dest, std::uint32_t size) {
    if (!m_bHaveFrame) {
        TransferTrace(eTracePort, "### <TTkComPort::ReceiveDataBlock> no frame held");
        return 0;
    }
    // One notice, one frame: a second call inside the same notice gets none.
    m_bHaveFrame = false;
    if (!dest) {
        TransferTrace(eTracePort, "### <TTkComPort::ReceiveDataBlock> no buffer ERROR");
        return 0;
    }
    if (size < m_CurrentFrame.size()) {
        TransferTrace(eTracePort, "### <TTkComPort::ReceiveDataBlock> buffer to small ERROR");
        return 0;
    }
    std::copy(m_CurrentFrame.begin(), m_CurrentFrame.end(), dest);
    TransferTraceBytes(eTracePort, "<TTkComPort::ReceiveDataBlock> ", m_CurrentFrame.data(),
                       m_CurrentFrame.size());
    return static_cast<std::uint32_t>(m_CurrentFrame.size());
}
