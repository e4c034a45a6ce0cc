#include "TTkComPort.h"

#include "TransferTrace.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include <sys/resource.h>
#include <unistd.h>

using mox::platform::SerialPort;

namespace {

// The reader runs below normal priority, as the GUI thread's answers matter
// more than how soon a byte is cut out.
void LowerThreadPriority() {
    const id_t tid = static_cast<id_t>(::gettid());
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, tid);
    if (errno == 0 && ::setpriority(PRIO_PROCESS, tid, nice + 1) != 0)
        TransferTrace(eTracePort, "<TTkComPort::CommThread> priority not lowered, err=%d", errno);
}

} // namespace

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
    m_bWaitForData = m_bOpen.load();
    if (!m_Reader.joinable())
        m_Scanner.Reset();
    else
        m_bResetScanner = true;
}

int TTkComPort::GetPortSetting() const {
    return m_nComNumber ? m_nComNumber + kComFirstSetting - 1 : -1;
}

int TTkComPort::GetComNumber() const {
    return m_nComNumber;
}

bool TTkComPort::IsOpen() const {
    return m_bOpen && !m_bStop && !m_bLineLost;
}

bool TTkComPort::OpenComPort() {
    if (m_bOpen)
        return true;
    bool ok = false;
    {
        std::lock_guard<std::mutex> lock(m_PortLock);
        const std::string path = SerialPort::DevicePath(m_nComNumber);
        ok = !path.empty() && m_Port.Open(path);
        if (ok && !m_Port.SetLine(m_Line)) {
            TransferTrace(eTracePort, "<TTkComPort::OpenComPort> line settings refused, err=%d",
                          m_Port.LastError());
            m_Port.Close();
            ok = false;
        }
        if (ok)
            m_Port.Purge(true, true);
        else
            TransferTrace(eTracePort, "<TTkComPort::OpenComPort> %s (%s) open failed, err=%d",
                          m_PortName.empty() ? "(no port)" : m_PortName.c_str(), path.c_str(),
                          m_Port.LastError());
    }
    if (!ok) {
        m_Owner.ShowOpenError();
        return false;
    }
    m_bStop = false;
    m_bLineLost = false;
    m_bResetScanner = false;
    m_Scanner.Reset();
    // The box may speak first (programming messages come unasked), so the
    // port listens from the start.
    m_bWaitForData = true;
    m_pInbox = std::make_shared<Inbox>();
    m_bOpen = true;
    TransferTrace(eTracePort, "<TTkComPort::OpenComPort> %s open", m_PortName.c_str());
    try {
        m_Reader = std::thread(&TTkComPort::CommThread, this);
    } catch (const std::system_error& e) {
        // Sends still work without a reader.
        TransferTrace(eTracePort, "CreateThread failed, err=%ld",
                      static_cast<long>(e.code().value()));
    }
    return true;
}

bool TTkComPort::CloseComPort() {
    if (!m_bOpen)
        return false;
    m_bStop = true;
    m_Port.Wake();
    if (m_Reader.joinable())
        m_Reader.join();
    {
        std::lock_guard<std::mutex> lock(m_PortLock);
        m_Port.Close();
    }
    m_bOpen = false;
    // Frames still on their way to the GUI thread belong to this line.
    m_pInbox->open = false;
    m_pInbox.reset();
    m_bHaveFrame = false;
    m_Scanner.Reset();
    TransferTrace(eTracePort, "<TTkComPort::CloseComPort> %s closed", m_PortName.c_str());
    return true;
}

void TTkComPort::SetWaitForData(bool flag) {
    m_bWaitForData = flag;
    if (m_Reader.joinable())
        m_bResetScanner = true;
    else
        m_Scanner.Reset();
}

std::size_t TTkComPort::GetFramesInFlight() const {
    return m_pInbox ? m_pInbox->inFlight.load() : 0;
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
        if (err == EIO || err == ENXIO || err == ENODEV)
            m_bLineLost = true;
    }
    return ok;
}

// ---- The reader ------------------------------------------------------------

void TTkComPort::CommThread() {
    LowerThreadPriority();
    {
        std::lock_guard<std::mutex> run(m_PortLock);
        while (!m_bStop) {
            if (m_bLineLost) {
                // Nothing more comes in; stay for the stop.
                m_Port.WaitForWake(kComReaderWaitMs);
                continue;
            }
            switch (m_Port.WaitForInput(kComReaderWaitMs, true)) {
            case SerialPort::WaitResult::Ready:
                ReadInput();
                break;
            case SerialPort::WaitResult::Failed:
                TransferTrace(eTracePort, "<TTkComPort::CommThread> %s line lost, err=%d",
                              m_PortName.c_str(), m_Port.LastError());
                m_bLineLost = true;
                break;
            default:
                break;
            }
        }
    }
}

void TTkComPort::ReadInput() {
    std::uint8_t chunk[kComReadChunk];
    const long n = m_Port.Read(chunk, sizeof(chunk));
    if (n < 0) {
        TransferTrace(eTracePort, "<TTkComPort::Read> %s read failed, err=%d", m_PortName.c_str(),
                      m_Port.LastError());
        m_bLineLost = true;
        return;
    }
    if (m_bResetScanner.exchange(false))
        m_Scanner.Reset();
    // Bytes that come while receiving is off are read and thrown away.
    if (n == 0 || !m_bWaitForData)
        return;
    m_Scanner.Feed(std::span<const std::uint8_t>(chunk, static_cast<std::size_t>(n)),
                   [this](eComFrameStatus status, std::span<const std::uint8_t> payload) {
                       OnFrame(status, payload);
                   });
}

void TTkComPort::OnFrame(eComFrameStatus status, std::span<const std::uint8_t> payload) {
    if (status == eComFrameStatus::Ok)
        TransferTrace(eTracePort, "### Checksum ok");
    else
        TransferTrace(eTracePort, "### Checksum not ok ERROR (%s)", ComFrameStatusName(status));
    const std::shared_ptr<Inbox> inbox = m_pInbox;
    if (inbox->inFlight >= kComMaxQueuedFrames) {
        TransferTrace(eTracePort, "<TTkComPort::Read> %zu frames not taken: frame dropped",
                      inbox->inFlight.load());
        return;
    }
    ++inbox->inFlight;
    m_Owner.PostToGuiThread(
        [this, inbox, frame = std::vector<std::uint8_t>(payload.begin(), payload.end())]() mutable {
            --inbox->inFlight;
            if (!inbox->open) {
                TransferTrace(eTracePort, "<TTkComPort> frame of a closed port dropped");
                return;
            }
            Deliver(std::move(frame));
        });
}

// ---- Receiving -------------------------------------------------------------

void TTkComPort::Deliver(std::vector<std::uint8_t>&& frame) {
    m_CurrentFrame = std::move(frame);
    m_bHaveFrame = true;
    m_Owner.PerformComPortData();
    m_bHaveFrame = false;
}

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
