#include "TLumenMessage.h"

#include "TransferTrace.h"

#include <algorithm>
#include <cstring>

namespace {
// Telegram lengths: frame 3 bytes; Ack and Nak end after the block number;
// data telegrams carry a length byte even when empty.
constexpr std::uint16_t kFrameLen = 3;
constexpr std::uint16_t kAckNakLen = 6;
constexpr std::uint16_t kDataHeadLen = 7;

bool IsProgFunction(std::uint8_t fn) {
    return fn == LUMEN_FN_PROG || fn == LUMEN_FN_PROG_9 || fn == LUMEN_FN_IT_FEHLER;
}
} // namespace

TLumenMessage::TLumenMessage(std::span<const std::uint8_t> received) : m_eKind(eReceived) {
    std::memset(m_abyTele, 0xFF, sizeof(m_abyTele));
    // The bus control never hands up more than 25 bytes; a longer or missing
    // telegram comes from a fault on the line and is refused whole.
    if (received.size() >= LUMEN_RAW_LEN || (!received.data() && !received.empty())) {
        TransferTrace(eTracePort, "\tERROR TLumenMessage: telegram of %zu bytes refused",
                      received.size());
        m_bValid = false;
        return;
    }
    if (!received.empty())
        std::memcpy(m_abyTele, received.data(), received.size());
    m_wLen = static_cast<std::uint16_t>(received.size());
    if (IsProgFunction(m_abyTele[1]))
        m_eKind = eReceivedProg;
}

TLumenMessage::TLumenMessage(eLumenFrame type, std::uint16_t /*block*/, std::uint8_t target) {
    std::memset(m_abyTele, 0xFF, sizeof(m_abyTele));
    m_abyTele[0] = target;
    m_abyTele[1] = type == eLumenKonfigStart ? LUMEN_FN_KONFIG_START : LUMEN_FN_KONFIG_ENDE;
    m_abyTele[2] = LUMEN_ADR_PC;
    m_wLen = kFrameLen;
}

TLumenMessage::TLumenMessage(eEvQuell subType, std::uint16_t block, std::uint8_t target) {
    std::memset(m_abyTele, 0xFF, sizeof(m_abyTele));
    m_abyTele[0] = target;
    m_abyTele[1] = KTX_PC_DAT;
    m_abyTele[2] = LUMEN_ADR_PC;
    m_abyTele[3] = subType;
    m_abyTele[4] = static_cast<std::uint8_t>(block & 0xFF);
    m_abyTele[5] = static_cast<std::uint8_t>(block >> 8);
    switch (subType) {
    case eEvQuellAck:
    case eEvQuellNak:
        m_wLen = kAckNakLen;
        break;
    case eEvQuellDataFirst:
    case eEvQuellData:
    case eEvQuellDataEnd:
    case eEvQuellKennung:
        m_abyTele[6] = 0;
        m_wLen = kDataHeadLen;
        break;
    default:
        m_wLen = kFrameLen;
        break;
    }
}

bool TLumenMessage::SetData(const std::uint8_t* pInfo, std::uint16_t len) {
    TransferTrace(eTraceTDump, "\t<TLumenMessage::SetData> len (%d)", len);
    if ((!pInfo && len) || len > MAX_DATA_LEN) {
        TransferTrace(eTraceTDump, "\tERROR TLumenMessage::SetData() len(%d) refused", len);
        return false;
    }
    if (m_eKind != eBuilt)
        return false;
    if (len)
        std::memcpy(m_abyTele + LUMEN_DATA_OFFSET, pInfo, len);
    m_abyTele[6] = static_cast<std::uint8_t>(len);
    m_wLen = LUMEN_DATA_TELE_LEN;
    return true;
}

const std::uint8_t* TLumenMessage::GetData() const {
    switch (m_eKind) {
    case eBuilt:
        return m_abyTele + LUMEN_DATA_OFFSET;
    case eReceived:
        return m_abyTele[1] == KTX_PC_DAT ? m_abyTele + LUMEN_DATA_OFFSET : m_abyTele + 3;
    default:
        return nullptr;
    }
}

std::uint16_t TLumenMessage::GetDataLen() const {
    switch (m_eKind) {
    case eBuilt:
        return m_abyTele[6];
    case eReceived: {
        // A received length byte is only believed as far as the telegram
        // really holds data, so a short telegram can never announce more.
        const int dataStart = m_abyTele[1] == KTX_PC_DAT ? LUMEN_DATA_OFFSET : 3;
        const int present = std::max(0, static_cast<int>(m_wLen) - dataStart);
        if (m_wLen < 4)
            return static_cast<std::uint16_t>(present);
        int len = m_abyTele[6];
        if (len > MAX_DATA_LEN) {
            TransferTrace(eTraceTDump, "\tERROR TLumenMessage::GetDataLen() len(%d) > MAX_DATA_LEN",
                          len);
            len = MAX_DATA_LEN;
        }
        return static_cast<std::uint16_t>(std::min(len, present));
    }
    default:
        return 0;
    }
}

std::uint8_t TLumenMessage::GetCmd() const {
    switch (m_eKind) {
    case eBuilt:
    case eReceived:
        return m_abyTele[3];
    case eReceivedProg:
        if (m_abyTele[1] == LUMEN_FN_PROG || m_abyTele[1] == LUMEN_FN_PROG_0)
            return m_abyTele[3];
        return m_abyTele[1];
    default:
        return 255;
    }
}

std::uint16_t TLumenMessage::GetBlockNumber() const {
    switch (m_eKind) {
    case eBuilt:
        return static_cast<std::uint16_t>(m_abyTele[4] + 256 * m_abyTele[5]);
    case eReceived:
        if (m_wLen >= 4)
            return static_cast<std::uint16_t>(256 * m_abyTele[4] + m_abyTele[5]);
        return static_cast<std::uint16_t>(m_abyTele[3] + 256 * m_abyTele[4]);
    default:
        return 0;
    }
}

std::uint16_t TLumenMessage::ProgWord(int pos) const {
    return static_cast<std::uint16_t>(m_abyTele[pos] + 256 * m_abyTele[pos + 1]);
}

std::uint16_t TLumenMessage::GetAdrBSG() const {
    if (!IsProg())
        return 0;
    const std::uint8_t cmd = GetCmd();
    return (cmd == 3 || cmd == 4 || cmd == 6) ? ProgWord(4) : 0;
}

std::uint16_t TLumenMessage::GetBSGKenniffer() const {
    return IsProg() && GetCmd() == 3 ? ProgWord(6) : 0;
}

std::uint16_t TLumenMessage::GetAdrBTLM() const {
    if (!IsProg())
        return 0;
    const std::uint8_t cmd = GetCmd();
    if (cmd == 24 || cmd == 25)
        return ProgWord(4);
    return cmd == 11 ? ProgWord(6) : 0;
}

std::uint16_t TLumenMessage::GetAdrKomBus() const {
    if (!IsProg())
        return 0;
    switch (GetCmd()) {
    case 23:
        return ProgWord(4);
    case 11:
        // The address follows the command byte, as in every '/' telegram;
        // read from byte 3 it would take the command as its low byte.
        return ProgWord(4);
    case 6:
        return ProgWord(6);
    default:
        return 0;
    }
}

// The address is the word after the command; the relay is the low byte of
// the next word, where a channel-3 block carries it too.
std::uint16_t TLumenMessage::GetAdrBSM() const {
    return IsProg() && GetCmd() == 55 ? ProgWord(4) : 0;
}

std::uint8_t TLumenMessage::GetBSMRelais() const {
    return IsProg() && GetCmd() == 55 ? m_abyTele[6] : 0;
}

std::uint8_t TLumenMessage::GetFehlerMode() const {
    return IsProg() && GetCmd() == 58 ? m_abyTele[3] : 0;
}

std::uint8_t TLumenMessage::GetFehlerTyp() const {
    return IsProg() && GetCmd() == 58 ? m_abyTele[4] : 0;
}

const std::uint8_t* TLumenMessage::GetKBAList(std::uint16_t& len) const {
    len = 0;
    return nullptr;
}
