#include "TDownloadMessage.h"

#include "TransferTrace.h"

#include <cstring>

namespace {
// Firmware commands that carry neither block number nor data.
bool IsShortCommand(std::uint8_t cmd) {
    switch (cmd) {
    case 0:
    case 1:
    case 2:
    case 4:
    case 10:
    case 32:
    case 33:
        return true;
    default:
        return false;
    }
}
constexpr std::uint16_t kShortLen = 2;
} // namespace

TDownloadMessage::TDownloadMessage(std::span<const std::uint8_t> received) {
    std::memset(m_abyMsg, 0xFF, sizeof(m_abyMsg));
    // A full block (6 header bytes and 1024 data bytes) is the largest answer
    // and must be taken; only more than that cannot be a firmware block.
    if (received.size() > MAX_COMM_MSG_LEN || (!received.data() && !received.empty())) {
        TransferTrace(eTraceTransfer, "\tERROR TDownloadMessage: block of %zu bytes refused",
                      received.size());
        m_bValid = false;
        return;
    }
    if (!received.empty())
        std::memcpy(m_abyMsg, received.data(), received.size());
    m_wLen = static_cast<std::uint16_t>(received.size());
    m_abyMsg[0] &= 0x7F;
}

TDownloadMessage::TDownloadMessage(std::uint8_t cmd, std::uint16_t block) {
    std::memset(m_abyMsg, 0xFF, sizeof(m_abyMsg));
    m_abyMsg[0] = eProtDownload;
    m_abyMsg[1] = cmd;
    m_abyMsg[2] = static_cast<std::uint8_t>(block >> 8);
    m_abyMsg[3] = static_cast<std::uint8_t>(block & 0xFF);
    m_wLen = IsShortCommand(cmd) ? kShortLen : COMM_HEADER_LEN;
}

bool TDownloadMessage::SetData(const std::uint8_t* pInfo, std::uint16_t len) {
    TransferTrace(eTraceTDump, "\t<TDownloadMessage::SetData> len (%d)", len);
    if ((!pInfo && len) || len > DOWNLOADBLOCKLEN) {
        TransferTrace(eTraceTDump, "\tERROR TDownloadMessage::SetData() len(%d) refused", len);
        return false;
    }
    if (len)
        std::memcpy(m_abyMsg + COMM_HEADER_LEN, pInfo, len);
    m_wLen = static_cast<std::uint16_t>(COMM_HEADER_LEN + len);
    return true;
}

const std::uint8_t* TDownloadMessage::GetData() const {
    return IsDevice() ? m_abyMsg + COMM_HEADER_LEN : nullptr;
}

std::uint16_t TDownloadMessage::GetDataLen() const {
    if (!IsDevice() || m_wLen < COMM_HEADER_LEN)
        return 0;
    return static_cast<std::uint16_t>(m_wLen - COMM_HEADER_LEN);
}

std::uint8_t TDownloadMessage::GetCmd() const {
    return IsDevice() ? m_abyMsg[1] : 255;
}

std::uint16_t TDownloadMessage::GetBlockNumber() const {
    return IsDevice() ? static_cast<std::uint16_t>(256 * m_abyMsg[2] + m_abyMsg[3]) : 0;
}

const std::uint8_t* TDownloadMessage::GetKBAList(std::uint16_t& len) const {
    len = 0;
    return nullptr;
}

bool TDownloadMessage::SetProt(std::uint8_t prot) {
    m_abyMsg[0] = prot;
    return true;
}
