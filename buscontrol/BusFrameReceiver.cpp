#include "BusFrameReceiver.h"

namespace quell32 {

void BusFrameReceiver::Reset() {
    m_count = 0;
    m_sum = 0;
    m_dle = false;
    m_inTelegram = false;
}

bool BusFrameReceiver::GaveUp(uint32_t nowMs) const {
    // Measured from the last byte, not from the STX: the longest telegram
    // takes far longer than the give-up time to arrive at 9600 baud. A byte
    // that is there when the time-out is reached still counts; the caller
    // looks for bytes before it asks this.
    return m_inTelegram && static_cast<uint32_t>(nowMs - m_lastMs) >= kInterByteTimeoutMs;
}

BusFrameReceiver::Step BusFrameReceiver::Feed(uint8_t byte, uint32_t nowMs) {
    if (!m_inTelegram) {
        if (byte != kStx)
            return Step::Ignored;
        Reset();
        m_inTelegram = true;
        m_raw[m_count++] = byte;
        m_startMs = m_lastMs = nowMs;
        return Step::Started;
    }
    if (m_count >= kMaxReceiveRawBytes) {
        m_inTelegram = false;
        return Step::Overflow;
    }
    m_lastMs = nowMs;
    m_raw[m_count++] = byte;
    if (byte == kDle) {
        m_dle = !m_dle;
        m_sum = static_cast<uint8_t>(m_sum + kDle);
        return Step::Inside;
    }
    if (byte == kEtx && !m_dle) {
        // The closing ETX is not part of the sum: the sender's checksum
        // covers only the bytes before it.
        m_inTelegram = false;
        return Step::Complete;
    }
    m_sum = static_cast<uint8_t>(m_sum + byte);
    m_dle = false;
    return Step::Inside;
}

} // namespace quell32
