#include "BusInterfaceSim.h"
#include "SimPty.h"

#include "SimCount.h"
#include "SimHex.h"

#include <cstdio>
#include <unistd.h>
#include <utility>

namespace boxsim {

namespace {

std::string AnswerText(int answer) {
    if (answer == kNoAnswer)
        return "none";
    if (answer == kNotAnswered)
        return "broadcast";
    return HexBytes({static_cast<uint8_t>(answer)});
}

} // namespace

BusInterfaceSim::BusInterfaceSim(SimTimers& timers) : m_timers(timers) {}

BusInterfaceSim::BusInterfaceSim() : m_timers(m_ownTimers) {}

BusInterfaceSim::~BusInterfaceSim() {
    CloseSimPty(m_master, m_slaveHold);
}

bool BusInterfaceSim::Start(std::string* error) {
    return OpenSimPty(m_master, m_slaveHold, m_ptyPath, error);
}

void BusInterfaceSim::Report(const std::string& line) {
    if (onReport)
        onReport(line);
}

void BusInterfaceSim::Write(const Bytes& bytes) {
    if (m_master < 0)
        return;
    m_counters.bytesOut += static_cast<long>(WriteToPc(m_master, bytes, m_WriteMark));
}

void BusInterfaceSim::SendRaw(const Bytes& bytes) {
    Write(bytes);
}

// ---- The PC's telegrams ----------------------------------------------------

void BusInterfaceSim::HandleInput() {
    if (m_master < 0)
        return;
    uint8_t buf[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            return;
        m_counters.bytesIn += n;
        for (ssize_t i = 0; i < n; ++i) {
            const uint8_t b = buf[i];
            // Between telegrams, a byte other than STX answers the box's
            // telegram in flight.
            if (!m_reader.InTelegram() && m_inFlight && b != kStx) {
                Finish(b);
                continue;
            }
            if (auto t = m_reader.Feed(b))
                OnTelegram(*t);
        }
    }
}

void BusInterfaceSim::AnswerPc(const Bytes& telegram, std::string* answer, bool* take) {
    // A repetition of a telegram the box took without answering: the PC
    // never heard the ACK, so this one is answered and not taken again.
    const bool repeat = m_unanswered && *m_unanswered == telegram;
    m_unanswered.reset();
    if (m_dropAckIn > 0 && --m_dropAckIn == 0 && !repeat) {
        m_unanswered = telegram;
        *answer = "dropped";
        *take = true;
        return;
    }
    *take = !repeat;
    switch (m_mode) {
    case AnswerMode::Ack:
        if (m_aheadOfAck && !m_inFlight) {
            OutTelegram ahead = std::move(*m_aheadOfAck);
            m_aheadOfAck.reset();
            Start(std::move(ahead), {kAck});
        } else {
            Write({kAck});
        }
        *answer = "06";
        break;
    case AnswerMode::Nak:
        Write({kNak});
        *answer = "15";
        *take = false;
        break;
    case AnswerMode::Silent:
        *take = false;
        break;
    case AnswerMode::Late:
        m_timers.After(m_lateMs, [this] { Write({kAck}); });
        *answer = "late";
        if (*take)
            m_unanswered = telegram;
        break;
    case AnswerMode::Foreign:
        Write({m_foreign});
        *answer = HexBytes({m_foreign});
        *take = false;
        break;
    }
    if (repeat)
        *answer += " REPEAT";
}

void BusInterfaceSim::OnTelegram(const SimTelegramReader::Telegram& t) {
    ++m_counters.telegramsIn;
    std::string answer = "none";
    bool take = false;
    // Only telegrams for the box are answered, and only when intact; a
    // broadcast is taken without an answer.
    if (t.sumOk && !t.bytes.empty() && t.bytes[0] == m_boxAddress)
        AnswerPc(t.bytes, &answer, &take);
    else if (t.sumOk && !t.bytes.empty() && t.bytes[0] == kBroadcast)
        take = true;
    if (m_trace)
        Report("RX " + HexBytes(t.bytes) + (t.sumOk ? " ok" : " badsum") + " ANSWER " + answer);
    if (take && onTelegram)
        onTelegram(t.bytes);
}

// ---- The box's telegrams ---------------------------------------------------

void BusInterfaceSim::Queue(OutTelegram telegram) {
    m_outbox.push_back(std::move(telegram));
    if (!m_inFlight)
        StartNext();
}

void BusInterfaceSim::QueueAheadOfAck(OutTelegram telegram) {
    m_aheadOfAck = std::move(telegram);
}

void BusInterfaceSim::StartNext() {
    while (!m_inFlight && !m_outbox.empty()) {
        OutTelegram next = std::move(m_outbox.front());
        m_outbox.pop_front();
        Start(std::move(next));
    }
}

void BusInterfaceSim::Start(OutTelegram telegram, const Bytes& trailer) {
    InFlight f;
    f.telegram = std::move(telegram);
    f.triesLeft = f.telegram.tries > 0 ? f.telegram.tries : m_tries;
    m_inFlight = std::move(f);
    SendTry(trailer);
}

void BusInterfaceSim::SendTry(const Bytes& trailer) {
    InFlight& f = *m_inFlight;
    --f.triesLeft;
    const bool garble = f.telegram.garble || TakeOne(m_garbleOut);
    ++m_counters.telegramsOut;
    Bytes out = f.telegram.wire.empty() || garble ? EncodeTelegram(f.telegram.bytes, garble)
                                                  : f.telegram.wire;
    out.insert(out.end(), trailer.begin(), trailer.end());
    Write(out);
    if (auto first = std::exchange(f.telegram.onFirstTry, nullptr))
        first();
    if (f.telegram.bytes.empty() || f.telegram.bytes[0] == kBroadcast) {
        if (m_trace)
            Report("TX " + HexBytes(f.telegram.bytes) + " broadcast");
        Finish(kNotAnswered);
        return;
    }
    if (garble && m_trace)
        Report("TX " + HexBytes(f.telegram.bytes) + " garbled");
    if (!trailer.empty() && m_trace)
        Report("TX " + HexBytes(f.telegram.bytes) + " ahead of the ACK");
    const int wait = f.telegram.ackWaitMs > 0 ? f.telegram.ackWaitMs : m_ackWaitMs;
    f.timer = m_timers.After(wait, [this] {
        if (!m_inFlight)
            return;
        m_inFlight->timer = 0;
        if (m_inFlight->triesLeft > 0) {
            if (m_trace)
                Report("TX " + HexBytes(m_inFlight->telegram.bytes) + " PCANSWER none, again");
            SendTry();
        } else {
            Finish(kNoAnswer);
        }
    });
}

void BusInterfaceSim::Finish(int answer) {
    if (!m_inFlight)
        return;
    InFlight f = std::move(*m_inFlight);
    m_inFlight.reset();
    if (f.timer)
        m_timers.Cancel(f.timer);
    if (answer == kAck)
        ++m_counters.delivered;
    if (m_trace && answer != kNotAnswered)
        Report("TX " + HexBytes(f.telegram.bytes) + " PCANSWER " + AnswerText(answer));
    // Told whatever the trace: the PC never took this telegram.
    if (answer == kNoAnswer && f.telegram.tries != 1)
        Report("LOST " + HexBytes(f.telegram.bytes));
    if (f.telegram.onDone)
        f.telegram.onDone(answer);
    StartNext();
}

} // namespace boxsim
