#include "BoxBusLink.h"

#include "SimCount.h"
#include "SimHex.h"

#include <algorithm>

namespace boxsim {

BoxBusLink::BoxBusLink(ITelegramOut& out, BoxCore& core, SimTimers& timers)
    : m_Out(out), m_Core(core), m_Timers(timers) {}

// ---- The PC's telegrams ----------------------------------------------------

void BoxBusLink::OnTelegram(const Bytes& t) {
    if (t.size() < 3)
        return;
    if (t[0] == kBroadcast) {
        if (t[1] == kFnKonfigStart || t[1] == kFnKonfigEnde)
            m_Core.OnKonfigFrame(t[1] == kFnKonfigStart);
        return;
    }
    if (t[0] != m_boxAddress)
        return;
    if (IsRepetition(t)) {
        Report("REPEAT " + HexBytes(t));
        return;
    }
    if (t[1] != kFnData) {
        m_Core.OnForeignTelegram(t);
        return;
    }
    if (t.size() < 6) {
        Report("SHORT " + HexBytes(t));
        return;
    }
    // The PC writes the number low byte first.
    const auto number = static_cast<uint16_t>(t[4] | t[5] << 8);
    Bytes data;
    if (t.size() > 7) {
        const size_t len = std::min<size_t>({t[6], kTeleDataMax, t.size() - 7});
        data.assign(t.begin() + 7, t.begin() + 7 + static_cast<long>(len));
    }
    switch (t[3]) {
    case kSubDataFirst:
    case kSubData:
    case kSubDataEnd:
        OnPcData(t[3], number, data);
        break;
    case kSubAck:
        OnPcAck(number);
        break;
    case kSubNak:
        if (m_bSending)
            EndBlock("PCNAK " + std::to_string(number));
        break;
    case kSubKennung:
        m_Core.OnKennung(data);
        break;
    default:
        Report("CUNKNOWN " + HexBytes(t));
        break;
    }
}

bool BoxBusLink::IsRepetition(const Bytes& t) {
    const std::int64_t now = m_Timers.NowMs();
    // The PC repeats a telegram when it missed the box's ACK. It never sends
    // one data telegram or acknowledgement twice in a row otherwise, unless
    // the box's answer to the first went wrong or a block time-out passed.
    const bool repeat = t.size() > 3 && t[1] == kFnData && t[3] <= kSubNak && t == m_LastPc &&
                        m_LastPcAnswered != Answered::No && now - m_nLastPcMs < kRepeatWindowMs;
    if (!repeat) {
        m_LastPc = t;
        m_LastPcAnswered = Answered::No;
        ++m_nPcSeq;
    }
    m_nLastPcMs = now;
    return repeat;
}

void BoxBusLink::OnPcData(uint8_t sub, uint16_t number, const Bytes& data) {
    if (TakeOne(m_nNakTele)) {
        // Refused although intact; the PC gives the block up and sends it
        // again whole.
        const uint16_t expected = sub == kSubDataFirst ? 0 : m_nIn;
        Report("CNAK " + std::to_string(expected));
        m_bInBlock = false;
        SendAckOrNak(kSubNak, expected);
        return;
    }
    if (sub == kSubDataFirst) {
        m_In.clear();
        m_nIn = 0;
        m_bInBlock = true;
    }
    if (!m_bInBlock || number != m_nIn) {
        Report("CNAK " + std::to_string(m_nIn) + " got " + std::to_string(number));
        m_bInBlock = false;
        SendAckOrNak(kSubNak, m_nIn);
        return;
    }
    if (m_In.size() + data.size() > kBlockHeaderLen + kBlockMaxData) {
        Report("CNAK " + std::to_string(m_nIn) + " block too long");
        m_bInBlock = false;
        SendAckOrNak(kSubNak, m_nIn);
        return;
    }
    m_In.insert(m_In.end(), data.begin(), data.end());
    ++m_nIn;
    SendAckOrNak(kSubAck, m_nIn);
    if (sub == kSubDataEnd) {
        m_bInBlock = false;
        const Bytes block = std::move(m_In);
        m_In.clear();
        m_Core.OnBlock(block);
    }
}

uint16_t BoxBusLink::MaybeWrong(int& count, uint16_t number) {
    if (!TakeOne(count))
        return number;
    const auto wrong = static_cast<uint16_t>(number + 1);
    Report("WRONGTELE " + std::to_string(wrong));
    return wrong;
}

Bytes BoxBusLink::CTelegram(uint8_t sub, uint16_t number) const {
    // The box writes the number high byte first.
    return {kPcAddress,
            kFnData,
            m_boxAddress,
            sub,
            static_cast<uint8_t>(number >> 8),
            static_cast<uint8_t>(number & 0xFF)};
}

void BoxBusLink::SendAckOrNak(uint8_t sub, uint16_t number) {
    OutTelegram t;
    const uint16_t sent = sub == kSubAck ? MaybeWrong(m_nWrongAck, number) : number;
    t.bytes = CTelegram(sub, sent);
    if (sub == kSubAck && sent == number) {
        m_LastPcAnswered = Answered::OnItsWay;
        t.onDone = [this, seq = m_nPcSeq](int answer) {
            if (seq == m_nPcSeq)
                m_LastPcAnswered = answer == kAck ? Answered::Delivered : Answered::No;
        };
    }
    m_Out.Queue(std::move(t));
}

// ---- The box's blocks ------------------------------------------------------

void BoxBusLink::SendBlock(const Bytes& block) {
    m_Blocks.push_back(block);
    if (!m_bSending)
        StartBlock();
}

bool BoxBusLink::SendRawTelegram(const Bytes& telegram) {
    if (telegram.size() < 3)
        return false;
    OutTelegram t;
    t.bytes = telegram;
    m_Out.Queue(std::move(t));
    return true;
}

bool BoxBusLink::Idle() const {
    return !m_bSending && m_Blocks.empty() && m_Out.Idle();
}

void BoxBusLink::StartBlock() {
    if (m_Blocks.empty())
        return;
    m_bSending = true;
    ++m_nBlockSeq;
    m_OutPos = 0;
    m_nOut = 0;
    m_bLastOut = false;
    SendNextOfBlock();
}

void BoxBusLink::SendNextOfBlock() {
    const Bytes& block = m_Blocks.front();
    const size_t rest = block.size() - m_OutPos;
    uint8_t sub = kSubData;
    size_t take = kTeleDataMax;
    if (m_OutPos == 0) {
        sub = kSubDataFirst;
        take = std::min(rest, kTeleDataMax);
    } else if (rest <= kTeleDataMax) {
        // The rest, possibly nothing: a block of 16 bytes or fewer ends with
        // an empty DataEnd.
        sub = kSubDataEnd;
        take = rest;
    }
    Bytes t = CTelegram(sub, sub == kSubDataFirst ? m_nOut : MaybeWrong(m_nWrongTele, m_nOut));
    t.push_back(static_cast<uint8_t>(take));
    t.insert(t.end(), block.begin() + static_cast<long>(m_OutPos),
             block.begin() + static_cast<long>(m_OutPos + take));
    m_OutPos += take;
    m_bLastOut = sub == kSubDataEnd;

    OutTelegram out;
    out.bytes = std::move(t);
    out.onDone = [this, seq = m_nBlockSeq](int answer) {
        // The block may have ended meanwhile (a Nak of the PC).
        if (!m_bSending || seq != m_nBlockSeq)
            return;
        if (answer != kAck) {
            EndBlock("GAVEUP telegram " + std::to_string(m_nOut));
            return;
        }
        // The PC took the telegram; its acknowledgement follows at once.
        m_AckTimer = m_Timers.After(kPcAckTimeoutMs, [this] {
            m_AckTimer = 0;
            if (m_bSending)
                EndBlock("CTIMEOUT telegram " + std::to_string(m_nOut));
        });
    };
    m_Out.Queue(std::move(out));
}

void BoxBusLink::OnPcAck(uint16_t number) {
    if (!m_bSending) {
        Report("STRAYACK " + std::to_string(number));
        return;
    }
    if (number != m_nOut + 1) {
        EndBlock("BADACK " + std::to_string(number) + " expected " + std::to_string(m_nOut + 1));
        return;
    }
    if (m_AckTimer) {
        m_Timers.Cancel(m_AckTimer);
        m_AckTimer = 0;
    }
    m_LastPcAnswered = Answered::Delivered; // nothing to answer: taken
    if (m_bLastOut) {
        EndBlock("");
        return;
    }
    ++m_nOut;
    SendNextOfBlock();
}

void BoxBusLink::EndBlock(const std::string& why) {
    if (!why.empty())
        Report(why);
    if (m_AckTimer) {
        m_Timers.Cancel(m_AckTimer);
        m_AckTimer = 0;
    }
    m_bSending = false;
    if (!m_Blocks.empty())
        m_Blocks.pop_front();
    StartBlock();
}

} // namespace boxsim
