#pragma once
// The serial bus interface on the far end of a pseudo-terminal: the link
// level of the bus as the PC's bus control sees it. It reads the PC's
// telegrams and answers those addressed to the box with ACK (or
// misbehaves as told), hands the intact ones to the box's telegram layer,
// and sends the box's telegrams one at a time, each repeated until the PC
// acknowledges it. Single-threaded: the owner polls MasterFd() and calls
// HandleInput(); time comes from SimTimers.

#include "ITelegramOut.h"
#include "SimPty.h"
#include "SimTelegram.h"
#include "SimTimers.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace boxsim {

class BusInterfaceSim : public ITelegramOut {
public:
    enum class AnswerMode {
        Ack,     // ACK at once; the box takes the telegram
        Nak,     // refuse; the box does not take it
        Silent,  // no answer; the box does not take it
        Late,    // ACK after the late delay (past the PC's answer window); taken
        Foreign, // a foreign byte instead of ACK/NAK; not taken
    };

    // Defaults for the box's own telegrams, whatever they carry: a block's
    // telegram, a programming message, one typed on the command line. The
    // PC answers at once from its reader thread, but only once its client
    // has taken the telegram before, and a busy machine may hold that
    // thread for a while; a try repeated too early reaches the PC twice, so
    // the wait is far longer than the bus's 48 ms.
    static constexpr int kDefaultTries = 3;
    static constexpr int kDefaultAckWaitMs = 1000;

    // An intact telegram the box takes (for its address or a broadcast);
    // repetitions of one it took without answering are not passed on.
    std::function<void(const Bytes& telegram)> onTelegram;
    // Event lines: "RX ..." for every telegram of the PC, "TX ..." for every
    // try of the box's own, when tracing is on.
    std::function<void(const std::string& line)> onReport;

    explicit BusInterfaceSim(SimTimers& timers);
    // Without timers of its own owner (the unit tests of the commands).
    BusInterfaceSim();
    ~BusInterfaceSim() override;
    BusInterfaceSim(const BusInterfaceSim&) = delete;
    BusInterfaceSim& operator=(const BusInterfaceSim&) = delete;

    // Opens the pseudo-terminal; false with a reason on failure.
    bool Start(std::string* error);
    const std::string& PtyPath() const { return m_ptyPath; }
    int MasterFd() const { return m_master; }

    // ---- The answers to the PC ----
    void SetAnswer(AnswerMode mode) { m_mode = mode; }
    void SetLateMs(int ms) { m_lateMs = ms; }
    void SetForeignByte(uint8_t b) { m_foreign = b; }
    void SetBoxAddress(uint8_t adr) { m_boxAddress = adr; }
    uint8_t BoxAddress() const { return m_boxAddress; }
    // The k-th telegram for the box from now on (k >= 1) is taken but not
    // answered, as if the ACK were lost on the line; the PC's repetition of
    // it is answered and not taken a second time.
    void DropAckOf(int k) { m_dropAckIn = k; }

    // ---- The box's own telegrams ----
    void SetTries(int tries) { m_tries = tries; }
    void SetAckWaitMs(int ms) { m_ackWaitMs = ms; }
    // The next n tries go out with a bad checksum (kAlways: all).
    void SetGarbleOut(int n) { m_garbleOut = n; }
    void Queue(OutTelegram telegram) override;
    // The telegram waits until the PC's next telegram for the box has come
    // in and goes out just ahead of the box's ACK of it, in one write: the
    // PC meets it while it waits for that ACK, and the ACK is behind it when
    // the telegram ends, so the PC must not acknowledge it. From then on it
    // is repeated like any other. Only with the ACK answer mode and nothing
    // else in flight; until then it waits.
    void QueueAheadOfAck(OutTelegram telegram);
    bool Idle() const override { return !m_inFlight && m_outbox.empty() && !m_aheadOfAck; }
    // Bytes as they stand, framing or not.
    void SendRaw(const Bytes& bytes);

    void SetTrace(bool on) { m_trace = on; }

    // ---- The poll loop ----
    // Reads what the PC sent and answers it.
    void HandleInput();

    struct Counters {
        long telegramsIn = 0;  // telegrams of the PC, any address
        long telegramsOut = 0; // tries of the box's telegrams
        long bytesIn = 0;      // every byte from the PC, answers included
        long bytesOut = 0;     // every byte to the PC, answers included
        // Telegrams the PC's bus control acknowledged.
        long delivered = 0;
    };
    const Counters& GetCounters() const { return m_counters; }
    const SimWriteMark& LastWrite() const { return m_WriteMark; }

private:
    struct InFlight {
        OutTelegram telegram;
        int triesLeft = 0;
        SimTimers::Id timer = 0;
    };

    void OnTelegram(const SimTelegramReader::Telegram& t);
    void AnswerPc(const Bytes& telegram, std::string* answer, bool* take);
    void Write(const Bytes& bytes);
    void StartNext();
    void Start(OutTelegram telegram, const Bytes& trailer = {});
    // One try; trailer goes out right behind it, in the same write.
    void SendTry(const Bytes& trailer = {});
    void Finish(int answer);
    void Report(const std::string& line);

    SimTimers m_ownTimers;
    SimTimers& m_timers;
    int m_master = -1;
    int m_slaveHold = -1; // keeps the terminal from hanging up between PC opens
    std::string m_ptyPath;
    SimTelegramReader m_reader;

    AnswerMode m_mode = AnswerMode::Ack;
    int m_lateMs = 80;
    uint8_t m_foreign = 0x55;
    uint8_t m_boxAddress = 0x70;
    int m_dropAckIn = 0;
    std::optional<Bytes> m_unanswered; // taken without an answer: its repetition is not new

    int m_tries = kDefaultTries;
    int m_ackWaitMs = kDefaultAckWaitMs;
    int m_garbleOut = 0;
    std::deque<OutTelegram> m_outbox;
    std::optional<InFlight> m_inFlight;
    std::optional<OutTelegram> m_aheadOfAck;

    bool m_trace = true;
    Counters m_counters;
    SimWriteMark m_WriteMark;
};

} // namespace boxsim
