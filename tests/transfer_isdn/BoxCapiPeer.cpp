#include "BoxCapiPeer.h"

#include "BlockProtocolDefs.h"
#include "TransferDefs.h"

#include <algorithm>
#include <chrono>
#include <span>

namespace {

// Only a hang ever waits this long.
constexpr auto kGuard = std::chrono::seconds(20);

// A block as the box sends it: channel with bit 7 set, command, block
// number and value word high byte first, data.
BoxCapiPeer::Bytes Block(std::uint8_t channel, std::uint8_t cmd, std::uint16_t block,
                         std::uint16_t value, std::span<const std::uint8_t> data = {}) {
    // Sized once and filled, so g++ 12 sees no growth to warn about.
    BoxCapiPeer::Bytes b(6 + data.size());
    b[0] = static_cast<std::uint8_t>(channel | 0x80);
    b[1] = cmd;
    b[2] = static_cast<std::uint8_t>(block >> 8);
    b[3] = static_cast<std::uint8_t>(block & 0xFF);
    b[4] = static_cast<std::uint8_t>(value >> 8);
    b[5] = static_cast<std::uint8_t>(value & 0xFF);
    std::copy(data.begin(), data.end(), b.begin() + 6);
    return b;
}

} // namespace

BoxCapiPeer::BoxCapiPeer() {
    // 16 blocks of 1024 bytes, each byte telling its block and place.
    for (int b = 0; b < kEventLogBlocks; ++b) {
        Bytes block(MAX_COMM_DATA_LEN);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<std::uint8_t>(b * 13 + i * 5);
        m_eventLog.push_back(std::move(block));
    }
}

void BoxCapiPeer::SetFaults(const Faults& f) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_faults = f;
    m_sinceFaults = 0;
}

void BoxCapiPeer::SetStored(std::vector<Bytes> packages) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_stored = std::move(packages);
}

std::vector<BoxCapiPeer::Bytes> BoxCapiPeer::Stored() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_stored;
}

void BoxCapiPeer::OnCallUp() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_up;
    }
    m_changed.notify_all();
}

void BoxCapiPeer::OnCallDown() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_down;
    }
    m_changed.notify_all();
}

int BoxCapiPeer::CallsUp() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_up;
}

int BoxCapiPeer::CallsDown() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_down;
}

bool BoxCapiPeer::WaitForCallsDown(int n) {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, kGuard, [&] { return m_down >= n; });
}

int BoxCapiPeer::CommandsReceived(std::uint8_t cmd) const {
    std::lock_guard<std::mutex> lock(m_lock);
    const auto it = m_commands.find(cmd);
    return it == m_commands.end() ? 0 : it->second;
}

std::size_t BoxCapiPeer::BlocksReceived() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_received;
}

bool BoxCapiPeer::WaitForCommand(std::uint8_t cmd, int n) {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, kGuard, [&] { return m_commands[cmd] >= n; });
}

void BoxCapiPeer::OnData(const Bytes& payload) {
    if (payload.size() < COMM_HEADER_LEN)
        return;
    const std::uint8_t channel = payload[0] & 0x7F;
    const std::uint8_t cmd = payload[1];
    const std::uint16_t block = static_cast<std::uint16_t>(payload[2] << 8 | payload[3]);
    const std::span<const std::uint8_t> data =
        std::span<const std::uint8_t>(payload).subspan(COMM_HEADER_LEN);

    Bytes answer;
    bool silent = false;
    bool hangUp = false;
    std::uint16_t reason = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_received;
        ++m_sinceFaults;
        ++m_commands[cmd];
        silent = m_faults.silent;
        hangUp = m_faults.hangUpAtBlock > 0 &&
                 m_sinceFaults == static_cast<std::size_t>(m_faults.hangUpAtBlock);
        reason = m_faults.hangUpReason;
        switch (hangUp ? 0 : cmd) {
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
            break;
        }
    }
    m_changed.notify_all();
    if (hangUp)
        fakecapi::RemoteHangup(reason);
    else if (!silent && !answer.empty())
        fakecapi::BoxSend(answer.data(), answer.size());
}
