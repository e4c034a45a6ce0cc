#include "TCommMessage.h"

#include "TransferTrace.h"

#include <cstring>

namespace {
// Start of the free-address list in a PROG_KBA_LIST answer.
constexpr int kKbaListOffset = 7;
} // namespace

TCommMessage::TCommMessage(std::span<const std::uint8_t> received) : m_bReceived(true) {
    std::memset(m_abyMsg, 0xFF, sizeof(m_abyMsg));
    if (received.size() > MAX_COMM_MSG_LEN || (!received.data() && !received.empty())) {
        TransferTrace(eTraceTransfer, "\tERROR TCommMessage: block of %zu bytes refused",
                      received.size());
        m_bValid = false;
        return;
    }
    if (!received.empty())
        std::memcpy(m_abyMsg, received.data(), received.size());
    m_wLen = static_cast<std::uint16_t>(received.size());
    m_abyMsg[0] &= 0x7F;
}

TCommMessage::TCommMessage(std::uint8_t cmd, std::uint16_t block, std::uint8_t channel) {
    std::memset(m_abyMsg, 0xFF, sizeof(m_abyMsg));
    m_abyMsg[0] = channel;
    m_abyMsg[1] = cmd;
    m_abyMsg[2] = static_cast<std::uint8_t>(block >> 8);
    m_abyMsg[3] = static_cast<std::uint8_t>(block & 0xFF);
    m_wLen = COMM_HEADER_LEN;
}

TCommMessage::TCommMessage(std::uint8_t channel, std::uint8_t cmd, std::uint16_t adr1,
                           std::uint16_t adr2) {
    std::memset(m_abyMsg, 0, sizeof(m_abyMsg));
    m_abyMsg[0] = channel;
    m_abyMsg[6] = cmd;
    m_abyMsg[7] = static_cast<std::uint8_t>(adr1 >> 8);
    m_abyMsg[8] = static_cast<std::uint8_t>(adr1 & 0xFF);
    m_abyMsg[9] = static_cast<std::uint8_t>(adr2 >> 8);
    m_abyMsg[10] = static_cast<std::uint8_t>(adr2 & 0xFF);
    m_wLen = PROG_MSG_LEN;
}

void TCommMessage::SetIndex(std::uint8_t index) {
    if (m_bReceived)
        return;
    m_abyMsg[11] = index;
    m_wLen = PROG_MSG_LEN_INDEX;
}

bool TCommMessage::SetData(const std::uint8_t* pInfo, std::uint16_t len) {
    TransferTrace(eTraceTDump, "\t<TCommMessage::SetData> len (%d)", len);
    if ((!pInfo && len) || len > MAX_COMM_DATA_LEN) {
        TransferTrace(eTraceTDump, "\tERROR TCommMessage::SetData() len(%d) refused", len);
        return false;
    }
    // Received blocks and requests of other channels take no data.
    if (m_bReceived || GetProt() != eProtKonfig)
        return false;
    if (len)
        std::memcpy(m_abyMsg + COMM_HEADER_LEN, pInfo, len);
    m_wLen = static_cast<std::uint16_t>(COMM_HEADER_LEN + len);
    return true;
}

const std::uint8_t* TCommMessage::GetData() const {
    return HasData() ? m_abyMsg + COMM_HEADER_LEN : nullptr;
}

std::uint16_t TCommMessage::GetDataLen() const {
    if (!HasData() || m_wLen < COMM_HEADER_LEN)
        return 0;
    return static_cast<std::uint16_t>(m_wLen - COMM_HEADER_LEN);
}

std::uint8_t TCommMessage::GetCmd() const {
    if (HasData())
        return m_abyMsg[1];
    if (IsProg())
        return m_abyMsg[6];
    return 255;
}

std::uint16_t TCommMessage::GetBlockNumber() const {
    return HasData() ? Word(2) : 0;
}

std::uint16_t TCommMessage::Word(int pos) const {
    return static_cast<std::uint16_t>(256 * m_abyMsg[pos] + m_abyMsg[pos + 1]);
}

std::uint16_t TCommMessage::GetValue() const {
    return m_wLen >= 5 ? Word(4) : 0;
}

bool TCommMessage::SetValue(std::uint16_t value) {
    if (GetProt() != eProtKonfig)
        return false;
    m_abyMsg[4] = static_cast<std::uint8_t>(value >> 8);
    m_abyMsg[5] = static_cast<std::uint8_t>(value & 0xFF);
    return true;
}

std::uint8_t TCommMessage::GetProgCmd() const {
    return IsProg() ? m_abyMsg[6] : 0;
}

std::uint16_t TCommMessage::GetAdrBSG() const {
    if (!IsProg())
        return 0;
    const std::uint8_t cmd = m_abyMsg[6];
    return (cmd == 3 || cmd == 4 || cmd == 6) ? Word(7) : 0;
}

std::uint16_t TCommMessage::GetBSGKenniffer() const {
    return IsProg() && m_abyMsg[6] == 3 ? Word(9) : 0;
}

std::uint16_t TCommMessage::GetAdrBTLM() const {
    if (!IsProg())
        return 0;
    const std::uint8_t cmd = m_abyMsg[6];
    if (cmd == 24 || cmd == 25)
        return Word(7);
    return cmd == 11 ? Word(9) : 0;
}

std::uint16_t TCommMessage::GetAdrKomBus() const {
    if (!IsProg())
        return 0;
    const std::uint8_t cmd = m_abyMsg[6];
    if (cmd == 23 || cmd == 11)
        return Word(7);
    return cmd == 6 ? Word(9) : 0;
}

std::uint16_t TCommMessage::GetAdrBSM() const {
    return IsProg() && m_abyMsg[6] == 55 ? Word(7) : 0;
}

std::uint8_t TCommMessage::GetBSMRelais() const {
    return IsProg() && m_abyMsg[6] == 55 ? m_abyMsg[10] : 0;
}

std::uint8_t TCommMessage::GetFehlerMode() const {
    return IsProg() && m_abyMsg[6] == 58 ? m_abyMsg[7] : 0;
}

std::uint8_t TCommMessage::GetFehlerTyp() const {
    return IsProg() && m_abyMsg[6] == 58 ? m_abyMsg[8] : 0;
}

const std::uint8_t* TCommMessage::GetKBAList(std::uint16_t& len) const {
    len = 0;
    if (!IsProg() || m_abyMsg[6] != 65 || m_wLen <= kKbaListOffset)
        return nullptr;
    len = static_cast<std::uint16_t>(m_wLen - kKbaListOffset);
    return m_abyMsg + kKbaListOffset;
}

std::uint16_t TCommMessage::GetKBACount() const {
    return IsProg() && m_abyMsg[6] == 70 ? Word(9) : 0;
}

std::uint8_t TCommMessage::GetKBAAnswer() const {
    return IsProg() && m_abyMsg[6] == 70 ? m_abyMsg[8] : 0;
}

bool TCommMessage::SetProt(std::uint8_t prot) {
    m_abyMsg[0] = prot;
    return true;
}
