#pragma once
// The box's side of the 'C' telegrams on the bus: it reassembles the PC's
// blocks from telegrams of 16 data bytes, acknowledging each with the next
// number, and cuts the box's own blocks the same way, sending each telegram
// only after the PC acknowledged the one before. The PC writes block
// numbers low byte first; the box writes them high byte first.
//
// It also takes the identification telegram and the configuration frames,
// and misbehaves at this level on request (a Nak for a good telegram, a
// wrong number in a telegram of its own).

#include "BoxCore.h"
#include "IBoxLink.h"
#include "ITelegramOut.h"
#include "SimTimers.h"

#include <deque>

namespace boxsim {

// Telegram functions and 'C' sub-types.
inline constexpr uint8_t kFnKonfigStart = 7;
inline constexpr uint8_t kFnKonfigEnde = 8;
inline constexpr uint8_t kFnData = 0x43; // 'C'
inline constexpr uint8_t kSubDataFirst = 0;
inline constexpr uint8_t kSubData = 1;
inline constexpr uint8_t kSubDataEnd = 2;
inline constexpr uint8_t kSubAck = 3;
inline constexpr uint8_t kSubNak = 4;
inline constexpr uint8_t kSubKennung = 5;
inline constexpr size_t kTeleDataMax = 16;

class BoxBusLink : public IBoxLink {
public:
    // After the PC took a telegram of the box's block, its 'C'
    // acknowledgement comes at once; past this the box gives the block up,
    // as the PC's own time-outs make it ask again anyway.
    static constexpr int kPcAckTimeoutMs = 3000;

    // A copy of the PC's last telegram within this time is its repetition
    // (it missed the box's ACK); a block time-out of the PC, after which it
    // sends a block again, is never shorter.
    static constexpr int kRepeatWindowMs = 2000;

    BoxBusLink(ITelegramOut& out, BoxCore& core, SimTimers& timers);
    BoxBusLink(const BoxBusLink&) = delete;
    BoxBusLink& operator=(const BoxBusLink&) = delete;

    void SetBoxAddress(uint8_t adr) { m_boxAddress = adr; }

    // An intact telegram the front-end took.
    void OnTelegram(const Bytes& telegram);

    // IBoxLink
    void SendBlock(const Bytes& block) override;
    bool SendRawTelegram(const Bytes& telegram) override;
    bool Idle() const override;

    // ---- Misbehaviour ----
    // The next n data telegrams of the PC are answered with a Nak.
    void SetNakTele(int n) { m_nNakTele = n; }
    // The box's next n acknowledgements of the PC's data telegrams carry a
    // number one too high.
    void SetWrongAck(int n) { m_nWrongAck = n; }
    // The next n telegrams after the first of the box's own blocks carry a
    // number one too high (the first restarts the PC's count whatever its
    // number).
    void SetWrongTele(int n) { m_nWrongTele = n; }

private:
    // True for a repetition of the last telegram, which is then not taken.
    bool IsRepetition(const Bytes& telegram);
    void OnPcData(uint8_t sub, uint16_t number, const Bytes& data);
    void OnPcAck(uint16_t number);
    void SendAckOrNak(uint8_t sub, uint16_t number);
    Bytes CTelegram(uint8_t sub, uint16_t number) const;
    uint16_t MaybeWrong(int& count, uint16_t number);
    void StartBlock();
    void SendNextOfBlock();
    void EndBlock(const std::string& why);
    void Report(const std::string& line) { m_Core.Report(line); }

    ITelegramOut& m_Out;
    BoxCore& m_Core;
    SimTimers& m_Timers;
    uint8_t m_boxAddress = 0x70;

    // The PC's last telegram, and how the box answered it. A copy of it is
    // the PC's repetition only while the box's right answer is on its way or
    // with the PC: the PC can only have started over after it had that
    // answer and found it wrong, or after the answer was lost.
    enum class Answered { No, OnItsWay, Delivered };
    Bytes m_LastPc;
    Answered m_LastPcAnswered = Answered::No;
    std::int64_t m_nLastPcMs = 0;
    unsigned m_nPcSeq = 0;

    // The PC's block being reassembled.
    Bytes m_In;
    uint16_t m_nIn = 0; // number of the telegram expected next
    bool m_bInBlock = false;

    // The box's own blocks: the one being sent and those waiting.
    std::deque<Bytes> m_Blocks;
    bool m_bSending = false;
    size_t m_OutPos = 0;
    uint16_t m_nOut = 0; // number of the telegram last sent
    bool m_bLastOut = false;
    SimTimers::Id m_AckTimer = 0;
    unsigned m_nBlockSeq = 0; // tells a late answer of an earlier block apart

    int m_nNakTele = 0;
    int m_nWrongAck = 0;
    int m_nWrongTele = 0;
};

} // namespace boxsim
