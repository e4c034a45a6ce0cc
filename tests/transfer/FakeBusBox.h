#pragma once
// The box at the far end of a fake bus control, for tests of the controller
// and the real bus port together. It takes the PC's 'C' telegrams (and
// acknowledges each with the next number), answers each finished block the
// way the box does, and sends its own blocks stop-and-wait. What it sends
// waits in an outbox until the test delivers it as the control's event.
//
// It keeps the configuration it was sent and serves it back; knobs make it
// misbehave once.

#include "FakeQuell32Control.h"
#include "TCommMessage.h"
#include "TransferDefs.h"

#include <deque>
#include <vector>

class FakeBusBox {
public:
    using Bytes = std::vector<std::uint8_t>;

    explicit FakeBusBox(FakeQuell32Control& quell) {
        quell.onDelivered = [this](const Bytes& t) { OnPcTelegram(t); };
    }

    // ---- What the box keeps ----
    Bytes stored; // the configuration it was sent
    Bytes eventLog = Bytes(16384, 0);
    int kennungen = 0;
    int frameStarts = 0;
    int frameEnds = 0;
    int blocksFromPc = 0;

    // ---- Misbehaviour, each once ----
    bool silentOnce = false;         // drops the answer to the next block
    bool nakNextTelegram = false;    // Naks the next data telegram of the PC
    bool wrongAckNumberOnce = false; // answers the next block with its own number

    std::deque<Bytes> outbox;

private:
    static Bytes Tele(eEvQuell sub, std::uint16_t n, const Bytes& data = {}) {
        Bytes t{LUMEN_ADR_PC,
                KTX_PC_DAT,
                LUMEN_ADR_BOX,
                sub,
                static_cast<std::uint8_t>(n >> 8),
                static_cast<std::uint8_t>(n & 0xFF)};
        if (sub == eEvQuellAck || sub == eEvQuellNak)
            return t;
        t.push_back(static_cast<std::uint8_t>(data.size()));
        t.insert(t.end(), data.begin(), data.end());
        return t;
    }

    void OnPcTelegram(const Bytes& t) {
        if (t.size() >= 2 && t[0] == LUMEN_ADR_BROADCAST) {
            frameStarts += t[1] == LUMEN_FN_KONFIG_START;
            frameEnds += t[1] == LUMEN_FN_KONFIG_ENDE;
            return;
        }
        if (t.size() < 6 || t[0] != LUMEN_ADR_BOX || t[1] != KTX_PC_DAT)
            return;
        const std::uint16_t n = static_cast<std::uint16_t>(t[4] + 256 * t[5]); // PC: low first
        const Bytes data = t.size() >= 7 ? Bytes(t.begin() + 7, t.begin() + 7 + t[6]) : Bytes{};
        switch (t[3]) {
        case eEvQuellKennung:
            ++kennungen;
            break;
        case eEvQuellDataFirst:
        case eEvQuellData:
        case eEvQuellDataEnd:
            OnPcData(t[3], n, data);
            break;
        case eEvQuellAck:
            OnPcAck(n);
            break;
        case eEvQuellNak:
            m_Sending.clear();
            break;
        default:
            break;
        }
    }

    void OnPcData(std::uint8_t sub, std::uint16_t n, const Bytes& data) {
        if (nakNextTelegram) {
            nakNextTelegram = false;
            outbox.push_back(Tele(eEvQuellNak, n));
            return;
        }
        if (sub == eEvQuellDataFirst) {
            m_In.clear();
            m_nIn = 0;
        }
        if (n != m_nIn)
            return;
        m_In.insert(m_In.end(), data.begin(), data.end());
        ++m_nIn;
        outbox.push_back(Tele(eEvQuellAck, m_nIn));
        if (sub == eEvQuellDataEnd)
            OnPcBlock();
    }

    void OnPcBlock() {
        ++blocksFromPc;
        const TCommMessage msg(std::span<const std::uint8_t>(m_In.data(), m_In.size()));
        if (silentOnce) {
            silentOnce = false;
            return;
        }
        const std::uint16_t n = msg.GetBlockNumber();
        switch (msg.GetCmd()) {
        case eEvConfDataFirst:
            stored.clear();
            [[fallthrough]];
        case eEvConfData:
        case eEvConfDataEnd:
            stored.insert(stored.end(), msg.GetData(), msg.GetData() + msg.GetDataLen());
            SendBlock(Answer(eEvConfAck, wrongAckNumberOnce ? n : n + 1));
            wrongAckNumberOnce = false;
            break;
        case eEvConfDataReq:
            SendBlock(ConfigBlock(n));
            break;
        case eEvConfReset:
            SendBlock(Answer(eEvConfAck, 0xFFFF));
            break;
        case eEvConfEvLogDataReq:
            SendBlock(
                Answer(eEvConfLogData, n, 5,
                       Bytes(eventLog.begin() + n * 1024, eventLog.begin() + (n + 1) * 1024)));
            break;
        default:
            break;
        }
    }

    static Bytes Answer(std::uint8_t cmd, std::uint16_t n, std::uint8_t channel = 0,
                        const Bytes& data = {}, std::uint16_t value = 0xFFFF) {
        Bytes b{static_cast<std::uint8_t>(channel | 0x80), cmd,
                static_cast<std::uint8_t>(n >> 8),         static_cast<std::uint8_t>(n & 0xFF),
                static_cast<std::uint8_t>(value >> 8),     static_cast<std::uint8_t>(value & 0xFF)};
        b.insert(b.end(), data.begin(), data.end());
        return b;
    }

    Bytes ConfigBlock(std::uint16_t n) const {
        const std::size_t count = (stored.size() + 1023) / 1024;
        const std::size_t from = std::min<std::size_t>(stored.size(), n * 1024u);
        const std::size_t to = std::min<std::size_t>(stored.size(), from + 1024);
        const Bytes data(stored.begin() + static_cast<long>(from),
                         stored.begin() + static_cast<long>(to));
        std::uint8_t cmd = eEvConfData;
        if (n + 1u >= count)
            cmd = eEvConfDataEnd;
        else if (n == 0)
            cmd = eEvConfDataFirst;
        return Answer(cmd, n, 0, data, n == 0 ? static_cast<std::uint16_t>(count) : 0xFFFF);
    }

    // A block of the box's own, 16 bytes a telegram, each after the PC's Ack.
    void SendBlock(const Bytes& block) {
        m_Sending = block;
        m_nOut = 0;
        m_OutPos = 0;
        SendNext();
    }

    void SendNext() {
        const std::size_t rest = m_Sending.size() - m_OutPos;
        const std::size_t take = std::min<std::size_t>(rest, MAX_DATA_LEN);
        const Bytes part(m_Sending.begin() + static_cast<long>(m_OutPos),
                         m_Sending.begin() + static_cast<long>(m_OutPos + take));
        eEvQuell sub = eEvQuellData;
        if (m_nOut == 0)
            sub = eEvQuellDataFirst;
        else if (rest <= MAX_DATA_LEN)
            sub = eEvQuellDataEnd;
        m_OutPos += take;
        m_bLastOut = sub == eEvQuellDataEnd;
        outbox.push_back(Tele(sub, static_cast<std::uint16_t>(m_nOut), part));
        ++m_nOut;
    }

    void OnPcAck(std::uint16_t n) {
        if (m_Sending.empty() || n != m_nOut)
            return;
        if (m_bLastOut) {
            m_Sending.clear();
            return;
        }
        SendNext();
    }

    Bytes m_In;
    std::uint32_t m_nIn = 0;
    Bytes m_Sending;
    std::uint32_t m_nOut = 0;
    std::size_t m_OutPos = 0;
    bool m_bLastOut = false;
};
