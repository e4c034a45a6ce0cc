#include "SimTelegram.h"

namespace boxsim {

Bytes EncodeTelegram(const Bytes& telegram, bool garble) {
    Bytes wire{kStx};
    unsigned sum = 0;
    auto put = [&](uint8_t b) {
        wire.push_back(b);
        sum += b;
    };
    for (uint8_t b : telegram) {
        if (b == kDle || b == kEtx)
            put(kDle);
        put(b);
    }
    auto check = static_cast<uint8_t>((0x100 - (sum & 0xFF)) & 0xFF);
    if (garble)
        check = static_cast<uint8_t>(check + (check == 0x0F || check == 0x02 ? 2 : 1));
    if (check == kDle || check == kEtx) {
        wire.push_back(kDle);
        wire.push_back(static_cast<uint8_t>(check - kDle));
    } else {
        wire.push_back(check);
    }
    wire.push_back(kEtx);
    return wire;
}

std::optional<Bytes> DecodeWholeTelegram(const Bytes& wire) {
    if (wire.empty() || wire.front() != kStx)
        return std::nullopt;
    SimTelegramReader reader;
    for (size_t i = 0; i < wire.size(); ++i) {
        auto t = reader.Feed(wire[i]);
        if (t)
            return i + 1 == wire.size() && t->sumOk ? std::optional<Bytes>(std::move(t->bytes))
                                                    : std::nullopt;
    }
    return std::nullopt;
}

void SimTelegramReader::Reset() {
    m_body.clear();
    m_sum = 0;
    m_dle = false;
    m_in = false;
}

std::optional<SimTelegramReader::Telegram> SimTelegramReader::Feed(uint8_t byte) {
    if (!m_in) {
        if (byte == kStx) {
            Reset();
            m_in = true;
        }
        return std::nullopt;
    }
    if (byte == kEtx && !m_dle) {
        Telegram t;
        t.sumOk = m_sum == 0;
        t.bytes = m_body;
        Reset();
        if (t.bytes.size() < 4)
            return std::nullopt;
        t.bytes.pop_back(); // the checksum
        return t;
    }
    m_sum = static_cast<uint8_t>(m_sum + byte);
    if (byte == kDle && !m_dle) {
        m_dle = true;
        return std::nullopt;
    }
    m_dle = false;
    m_body.push_back(byte);
    if (m_body.size() > 600)
        Reset(); // a runaway: no real telegram is that long
    return std::nullopt;
}

} // namespace boxsim
