#pragma once
// The box's bus controller behind a fake bus control, for the programming
// exchanges on the installation bus. It reassembles the PC's blocks from
// 'C' telegrams (acknowledging each), answers the free-address requests and
// a subscriber assignment with channel-3 blocks of its own, sent
// stop-and-wait in 'C' telegrams, and sends raw programming telegrams
// ('/', '9', ':') when a test asks. What it sends waits in the outbox until
// the test delivers it as the control's event.

#include "FakeQuell32Control.h"
#include "TCommMessage.h"
#include "TProgDefs.h"
#include "TransferDefs.h"

#include <deque>
#include <vector>

class ProgBusBox {
public:
    using Bytes = std::vector<std::uint8_t>;

    explicit ProgBusBox(FakeQuell32Control& quell) {
        quell.onDelivered = [this](const Bytes& t) { OnPcTelegram(t); };
    }

    // ---- What the box answers ----
    std::vector<std::uint16_t> freeList{0x0105, 0x0106};
    std::uint16_t freeCount = 2;
    // The acknowledgement of an assignment comes as a raw '/' telegram
    // instead of a block.
    bool quittAsTelegram = false;
    // A block of the PC with this command is refused at its last telegram
    // (0: none).
    std::uint8_t refuseCmd = 0;

    // ---- What the box saw ----
    std::vector<TCommMessage> fromPc;

    std::deque<Bytes> outbox;

    // A raw programming telegram to the PC: target, function, transmitter,
    // then the bytes.
    void SendTelegram(std::uint8_t function, const Bytes& rest) {
        Bytes t{LUMEN_ADR_PC, function, LUMEN_ADR_BOX};
        t.insert(t.end(), rest.begin(), rest.end());
        outbox.push_back(t);
    }
    // A programming block (channel 3) in 'C' telegrams.
    void SendProgBlock(std::uint8_t cmd, std::uint16_t adr1 = 0, std::uint16_t adr2 = 0,
                       const Bytes& more = {}) {
        Bytes b{0x83,
                0,
                0,
                0,
                0,
                0,
                cmd,
                static_cast<std::uint8_t>(adr1 >> 8),
                static_cast<std::uint8_t>(adr1 & 0xFF),
                static_cast<std::uint8_t>(adr2 >> 8),
                static_cast<std::uint8_t>(adr2 & 0xFF)};
        b.insert(b.end(), more.begin(), more.end());
        SendBlock(b);
    }

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
        if (t.size() < 6 || t[0] != LUMEN_ADR_BOX || t[1] != KTX_PC_DAT)
            return;
        const std::uint16_t n = static_cast<std::uint16_t>(t[4] + 256 * t[5]);
        const Bytes data = t.size() >= 7 ? Bytes(t.begin() + 7, t.begin() + 7 + t[6]) : Bytes{};
        switch (t[3]) {
        case eEvQuellDataFirst:
            m_In.clear();
            m_nIn = 0;
            [[fallthrough]];
        case eEvQuellData:
        case eEvQuellDataEnd:
            if (n != m_nIn)
                return;
            m_In.insert(m_In.end(), data.begin(), data.end());
            if (t[3] == eEvQuellDataEnd && refuseCmd && m_In.size() > 6 && m_In[6] == refuseCmd) {
                outbox.push_back(Tele(eEvQuellNak, static_cast<std::uint16_t>(m_nIn)));
                return;
            }
            ++m_nIn;
            outbox.push_back(Tele(eEvQuellAck, static_cast<std::uint16_t>(m_nIn)));
            if (t[3] == eEvQuellDataEnd)
                OnPcBlock();
            break;
        case eEvQuellAck:
            OnPcAck(n);
            break;
        default:
            break;
        }
    }

    void OnPcBlock() {
        const TCommMessage msg(std::span<const std::uint8_t>(m_In.data(), m_In.size()));
        if (msg.GetProt() != eProtProg)
            return;
        fromPc.push_back(msg);
        switch (msg.GetCmd()) {
        case PROG_KBA: {
            // The list starts at byte 7, where the first address would be.
            Bytes b{0x83, 0, 0, 0, 0, 0, PROG_KBA_LIST};
            for (auto a : freeList) {
                b.push_back(static_cast<std::uint8_t>(a >> 8));
                b.push_back(static_cast<std::uint8_t>(a & 0xFF));
            }
            SendBlock(b);
            break;
        }
        case PROG_KBA_COUNT:
            SendProgBlock(PROG_KBA_COUNTER, eEvConfAck, freeCount);
            break;
        case HT_PROG_AKT: {
            const std::uint16_t adr = msg.GetAdrKomBus();
            if (quittAsTelegram)
                SendTelegram(LUMEN_FN_PROG, {PROG_QUITT, static_cast<std::uint8_t>(adr & 0xFF),
                                             static_cast<std::uint8_t>(adr >> 8), 0x30, 0x00});
            else
                SendProgBlock(PROG_QUITT, adr, 0x0030);
            break;
        }
        default:
            break;
        }
    }

    // Blocks go one after the other, 16 bytes a telegram, each after the
    // PC's Ack.
    void SendBlock(const Bytes& block) {
        m_Queue.push_back(block);
        if (m_Queue.size() == 1)
            StartNext();
    }

    void StartNext() {
        if (m_Queue.empty())
            return;
        m_nOut = 0;
        m_OutPos = 0;
        SendNext();
    }

    void SendNext() {
        const Bytes& b = m_Queue.front();
        const std::size_t rest = b.size() - m_OutPos;
        const std::size_t take = std::min<std::size_t>(rest, MAX_DATA_LEN);
        const Bytes part(b.begin() + static_cast<long>(m_OutPos),
                         b.begin() + static_cast<long>(m_OutPos + take));
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
        if (m_Queue.empty() || n != m_nOut)
            return;
        if (m_bLastOut) {
            m_Queue.pop_front();
            StartNext();
            return;
        }
        SendNext();
    }

    Bytes m_In;
    std::uint32_t m_nIn = 0;
    std::deque<Bytes> m_Queue;
    std::uint32_t m_nOut = 0;
    std::size_t m_OutPos = 0;
    bool m_bLastOut = false;
};
