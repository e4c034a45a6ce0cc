#include "BoxV24Peer.h"

#include "BlockProtocolDefs.h"
#include "ComFrame.h"
#include "TransferDefs.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// Only a hang ever waits this long.
constexpr auto kGuard = std::chrono::seconds(20);

// Bytes the box's line may carry between frames; none is an STX.
const std::uint8_t kGarbage[] = {0x55, COM_ETX, COM_ESC, BIT_7, 0xAA, 0x00};

BoxV24Peer::Bytes Block(std::uint8_t channel, std::uint8_t cmd, std::uint16_t block,
                        std::uint16_t value, std::span<const std::uint8_t> data = {}) {
    // Sized once and appended to: g++ 12 reports a false out-of-bounds copy
    // when a six-byte initialiser list is grown by insert.
    BoxV24Peer::Bytes b(6 + data.size());
    b[0] = channel;
    b[1] = cmd;
    b[2] = static_cast<std::uint8_t>(block >> 8);
    b[3] = static_cast<std::uint8_t>(block & 0xFF);
    b[4] = static_cast<std::uint8_t>(value >> 8);
    b[5] = static_cast<std::uint8_t>(value & 0xFF);
    std::copy(data.begin(), data.end(), b.begin() + 6);
    return b;
}

} // namespace

BoxV24Peer::BoxV24Peer() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return;
    if (const char* name = ::ptsname(m_master))
        m_slavePath = name;
    m_slaveHold = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    m_stopFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    // The box's event log: 16 blocks of 1024 bytes, each byte telling its
    // block and place.
    for (int b = 0; b < kEventLogBlocks; ++b) {
        Bytes block(MAX_COMM_DATA_LEN);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<std::uint8_t>(b * 17 + i * 7);
        m_eventLog.push_back(std::move(block));
    }
    m_thread = std::thread(&BoxV24Peer::Run, this);
}

BoxV24Peer::~BoxV24Peer() {
    m_stop = true;
    if (m_stopFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_stopFd, &one, sizeof one);
    }
    if (m_thread.joinable())
        m_thread.join();
    for (int fd : {m_master, m_slaveHold, m_stopFd})
        if (fd >= 0)
            ::close(fd);
}

void BoxV24Peer::SetFaults(const Faults& f) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_faults = f;
}

void BoxV24Peer::SetStored(std::vector<Bytes> packages) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_stored = std::move(packages);
}

std::vector<BoxV24Peer::Bytes> BoxV24Peer::Stored() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_stored;
}

std::vector<BoxV24Peer::Bytes> BoxV24Peer::Received() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_received;
}

std::size_t BoxV24Peer::FramesReceived() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_received.size();
}

int BoxV24Peer::CommandsReceived(std::uint8_t cmd) const {
    std::lock_guard<std::mutex> lock(m_lock);
    const auto it = m_commands.find(cmd);
    return it == m_commands.end() ? 0 : it->second;
}

bool BoxV24Peer::WaitForFrames(std::size_t n) {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, kGuard, [&] { return m_received.size() >= n; });
}

bool BoxV24Peer::WaitForCommand(std::uint8_t cmd, int n) {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, kGuard, [&] { return m_commands[cmd] >= n; });
}

void BoxV24Peer::ResetByteCounts() {
    m_bytesFromPc = 0;
    m_bytesToPc = 0;
}

void BoxV24Peer::HangUp() {
    m_hangUp = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_stopFd, &one, sizeof one);
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait_for(lock, kGuard, [&] { return m_hungUp; });
}

void BoxV24Peer::CloseLine() {
    {
        std::lock_guard<std::mutex> lock(m_writeLock);
        for (int* fd : {&m_slaveHold, &m_master}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_hungUp = true;
    }
    m_changed.notify_all();
}

void BoxV24Peer::WriteAll(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size() && m_master >= 0) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        pollfd p{m_master, POLLOUT, 0};
        ::poll(&p, 1, 1000);
    }
    m_bytesToPc += done;
}

void BoxV24Peer::WriteRaw(std::span<const std::uint8_t> bytes) {
    std::lock_guard<std::mutex> lock(m_writeLock);
    WriteAll(bytes);
}

void BoxV24Peer::SendBlock(std::span<const std::uint8_t> payload) {
    const Bytes frame = BuildComFrame(payload);
    WriteRaw(frame);
}

void BoxV24Peer::Answer(const Bytes& block) {
    Faults f;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        f = m_faults;
        if (m_faults.badCrcAnswers > 0)
            --m_faults.badCrcAnswers;
        if (m_faults.cutOffAnswers > 0)
            --m_faults.cutOffAnswers;
    }
    Bytes frame = BuildComFrame(block);
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (f.garbageBetween)
        WriteAll(kGarbage);
    if (f.cutOffAnswers > 0)
        WriteAll(std::span<const std::uint8_t>(frame.data(), frame.size() / 2));
    if (f.badCrcAnswers > 0)
        frame[2] ^= 0x01; // first payload byte: has bit 7, so it stays a plain byte
    if (f.byteByByte) {
        for (const std::uint8_t b : frame)
            WriteAll(std::span<const std::uint8_t>(&b, 1));
    } else {
        WriteAll(frame);
    }
}

void BoxV24Peer::OnPayload(std::span<const std::uint8_t> payload) {
    if (payload.size() < COMM_HEADER_LEN)
        return;
    const std::uint8_t channel = payload[0] & 0x7F;
    const std::uint8_t cmd = payload[1];
    const std::uint16_t block = static_cast<std::uint16_t>(payload[2] << 8 | payload[3]);
    const std::span<const std::uint8_t> data = payload.subspan(COMM_HEADER_LEN);

    Bytes answer;
    bool silent = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_received.emplace_back(payload.begin(), payload.end());
        ++m_commands[cmd];
        silent = m_faults.silent;
        switch (cmd) {
        case eEvConfDataFirst:
        case eEvConfData:
        case eEvConfDataEnd:
            // A block sent again after a lost Ack replaces its first copy.
            if (cmd == eEvConfDataFirst)
                m_stored.clear();
            if (block < m_stored.size())
                m_stored[block].assign(data.begin(), data.end());
            else if (block == m_stored.size())
                m_stored.emplace_back(data.begin(), data.end());
            answer = Block(eProtKonfig, eEvConfAck, static_cast<std::uint16_t>(block + 1), 0xFFFF);
            break;
        case eEvConfDataReq: {
            const std::size_t count = m_stored.size();
            if (block >= count && count != 0)
                break;
            const bool last = count == 0 || block + 1u == count;
            const std::uint8_t reply =
                last ? eEvConfDataEnd : (block == 0 ? eEvConfDataFirst : eEvConfData);
            const std::span<const std::uint8_t> part =
                count ? std::span<const std::uint8_t>(m_stored[block])
                      : std::span<const std::uint8_t>();
            answer = Block(eProtKonfig, reply, block, static_cast<std::uint16_t>(count), part);
            break;
        }
        case eEvConfReset:
            answer = Block(eProtKonfig, eEvConfAck, 0, 0xFFFF);
            break;
        case eEvConfEvLogDataReq:
            if (channel == eProtEventLog && block < m_eventLog.size())
                answer = Block(eProtEventLog, eEvConfLogData, block, 0xFFFF, m_eventLog[block]);
            break;
        default:
            // The identification and anything unknown: no answer.
            break;
        }
    }
    m_changed.notify_all();
    if (!silent && !answer.empty())
        Answer(answer);
}

void BoxV24Peer::Run() {
    std::uint8_t chunk[4096];
    while (!m_stop) {
        // Only this thread closes the line, so m_master is stable here.
        const int master = m_master;
        pollfd fds[2] = {{m_stopFd, POLLIN, 0}, {master, POLLIN, 0}};
        if (::poll(fds, master >= 0 ? 2 : 1, -1) < 0 && errno != EINTR)
            return;
        if (m_stop)
            return;
        if (fds[0].revents & POLLIN) {
            std::uint64_t v = 0;
            [[maybe_unused]] const ssize_t n = ::read(m_stopFd, &v, sizeof v);
            if (m_hangUp && master >= 0)
                CloseLine();
            continue;
        }
        if (master < 0)
            continue;
        if (!(fds[1].revents & POLLIN)) {
            if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL))
                CloseLine();
            continue;
        }
        const ssize_t n = ::read(master, chunk, sizeof chunk);
        if (n <= 0)
            continue;
        m_bytesFromPc += static_cast<std::size_t>(n);
        m_scanner.Feed(std::span<const std::uint8_t>(chunk, static_cast<std::size_t>(n)),
                       [this](eComFrameStatus status, std::span<const std::uint8_t> payload) {
                           if (status == eComFrameStatus::Ok)
                               OnPayload(payload);
                       });
    }
}
