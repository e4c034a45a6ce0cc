#include "ComFrameScanner.h"

#include "TransferTrace.h"

const char* ComFrameStatusName(eComFrameStatus status) {
    switch (status) {
    case eComFrameStatus::Ok:
        return "ok";
    case eComFrameStatus::BadCrc:
        return "bad CRC";
    case eComFrameStatus::TooShort:
        return "too short";
    case eComFrameStatus::Oversized:
        return "oversized";
    }
    return "?";
}

std::span<const std::uint8_t> ComFrameScanner::LastPayload() const {
    return {m_abyBody.data(), m_nLastPayload};
}

void ComFrameScanner::Reset() {
    Drop(m_nHeld);
}

void ComFrameScanner::Drop(std::size_t n) {
    m_Counters.droppedBytes += n;
    m_nHeld = 0;
    m_nBody = 0;
    m_eState = State::Hunt;
}

void ComFrameScanner::StartFrame() {
    m_nHeld = 1;
    m_nBody = 0;
    m_eState = State::Marker;
}

bool ComFrameScanner::Hold() {
    // Only an ETX may follow once the longest legal frame is held; without
    // one this is no frame, and holding on would stall the link.
    if (m_nHeld + 1 >= kComMaxFrameLen) {
        ++m_Counters.overflows;
        TransferTrace(eTracePort, "### ERROR BUFFER RESET m_nAktInputPos(%zu)", m_nHeld + 1);
        Drop(m_nHeld + 1);
        return false;
    }
    ++m_nHeld;
    return true;
}

void ComFrameScanner::Store(std::uint8_t b) {
    if (m_nBody < m_abyBody.size())
        m_abyBody[m_nBody] = b;
    ++m_nBody;
}

bool ComFrameScanner::EndFrame() {
    m_nLastPayload = 0;
    if (m_nBody < 2) {
        m_eLastStatus = eComFrameStatus::TooShort;
    } else if (m_nBody > kComMaxBody) {
        m_eLastStatus = eComFrameStatus::Oversized;
    } else {
        const std::size_t len = m_nBody - 2;
        const std::uint16_t got =
            static_cast<std::uint16_t>(m_abyBody[len] | (m_abyBody[len + 1] << 8));
        if (ComFrameCrc({m_abyBody.data(), len}) == got) {
            m_eLastStatus = eComFrameStatus::Ok;
            m_nLastPayload = len;
        } else {
            m_eLastStatus = eComFrameStatus::BadCrc;
        }
    }
    m_nHeld = 0;
    m_nBody = 0;
    m_eState = State::Hunt;
    return true;
}

bool ComFrameScanner::Feed(std::uint8_t b) {
    switch (m_eState) {
    case State::Hunt:
        if (b == COM_STX)
            StartFrame();
        else
            ++m_Counters.droppedBytes;
        return false;
    case State::Marker:
        if (b == BIT_7) {
            ++m_nHeld;
            m_eState = State::Body;
        } else {
            ++m_Counters.wrongMarkers;
            // The byte after a dropped STX may itself start the next frame.
            Drop(1);
            if (b == COM_STX)
                StartFrame();
            else
                ++m_Counters.droppedBytes;
        }
        return false;
    case State::Body:
        if (b == COM_ETX)
            return EndFrame();
        if (b == COM_STX) {
            ++m_Counters.secondStx;
            TransferTrace(eTracePort, "found second STX on pos(%zu)", m_nHeld);
            Drop(m_nHeld);
            StartFrame();
            return false;
        }
        if (!Hold())
            return false;
        if (b == COM_ESC)
            m_eState = State::BodyEsc;
        else
            Store(b);
        return false;
    case State::BodyEsc:
        if (!Hold())
            return false;
        Store(b);
        m_eState = State::Body;
        return false;
    }
    return false;
}
