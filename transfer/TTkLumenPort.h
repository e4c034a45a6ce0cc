#pragma once
// The bus port: carries block messages over the installation bus through the
// bus control. A block goes out cut into 'C' telegrams of 16 data bytes, sent
// stop-and-wait (the box acknowledges each with an eEvQuellAck carrying the
// next number); the box's blocks come in the same way and are acknowledged
// here. The box may start a block of its own while one of ours still waits
// for an acknowledgement (it answers a command at once while the next
// command goes out): the sub-type tells the directions apart, so each keeps
// its own telegram numbers and neither block is lost.
//
// Runs on the GUI thread only: sends are driven by the transfer controller,
// receives by the control's TeleReceived event.
//
// The port calls its owner synchronously from the receive path (a finished
// block, a failure); the owner may send the next block from inside that call,
// but must not destroy the port there.

#include "ILumenPortOwner.h"
#include "IQuell32Control.h"
#include "ITransferClock.h"
#include "ITransferPort.h"
#include "LumenPortDefs.h"
#include "TLumenMessage.h"

#include <array>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

class TTkLumenPort : public ITransferPort {
public:
    // Configures the control and opens its port; commPortSetting is the
    // transfer-medium setting (1..4 bus interface on COM1..COM4). A refused
    // open is shown through the owner; the object exists either way.
    TTkLumenPort(ILumenPortOwner& owner, IQuell32Control& quell, ITransferClock& clock,
                 int commPortSetting);
    ~TTkLumenPort() override;

    TTkLumenPort(const TTkLumenPort&) = delete;
    TTkLumenPort& operator=(const TTkLumenPort&) = delete;

    bool IsOpen() const override { return m_bOpen; }
    // The COM number the control was given (1..4), 0 for none.
    int GetComNumber() const override { return m_nComNumber; }
    // The control's Connected property.
    bool IsConnected() const;

    // Sends the first telegram of a block (below 2048 bytes); true when the
    // box took it.
    bool SendDataBlock(const std::uint8_t* data, std::uint32_t len) override;
    // While a block is under way the next one waits for its last
    // acknowledgement. An exchange's block (SendDataBlock) waits likewise
    // behind a command still under way, but drops what waits and goes at
    // once when the block ahead is its own earlier try. onDone hears true after the
    // box acknowledged the block's last telegram, false when the block was
    // lost (refused, not delivered, dropped); a port destroyed first calls
    // nobody.
    bool QueueDataBlock(const std::uint8_t* data, std::uint32_t len,
                        BlockDone onDone = {}) override;
    bool SendNextTelegram(std::uint32_t block);
    bool SendAck(std::uint32_t block);
    bool SendNak(std::uint32_t block);
    // One telegram, up to 10 tries; true on ACK or broadcast.
    bool SendLumenTelegramm(const std::uint8_t* tele, std::uint16_t len) override;

    void OnTeleReceived() override;
    // Reassembly and answers for one telegram from the box; null is a
    // failure.
    void WorkOnReceiveLumenData(const TLumenMessage* pMsg);
    // Telegrams read while the bus was blocked, through the normal receive
    // path (the owner posts this call).
    void WorkOnPendingTelegrams() override;

    std::uint32_t ReceiveDataBlock(std::uint8_t* dest, std::uint32_t size) override;

    // Message for a refused OpenPort, Windows-1252.
    static const char* OpenErrorText(std::uint16_t result);

    // State visible to the tests.
    std::uint32_t GetHeldLen() const { return m_dwRecLen; }
    std::uint32_t GetTeleCounter() const { return m_dwTeleCounter; }
    std::uint32_t GetReceiveCounter() const { return m_dwRecCounter; }
    bool IsWaitingForAckNak() const { return m_bWaitForAckNak; }
    std::size_t GetPendingCount() const { return m_Pending.size(); }
    std::size_t GetQueuedBlockCount() const { return m_QueuedBlocks.size(); }

private:
    // A telegram as the control stored it; count bytes of it were read
    // (none for one that cannot be a telegram).
    struct ReceivedTele {
        std::uint16_t status = 0;
        std::int16_t len = 0;
        std::uint16_t count = 0;
        std::array<std::uint8_t, LUMEN_RAW_LEN> bytes;
        std::span<const std::uint8_t> Bytes() const { return {bytes.data(), count}; }
    };

    ReceivedTele ReadReceivedTele();
    void HandleReceivedTele(const ReceivedTele& tele);
    void HandleBlockedBus();
    bool SendQuellTele(const TLumenMessage& msg);
    bool StartBlock(const std::uint8_t* data, std::uint32_t len);
    // Starts the first waiting block that goes out; those that cannot are
    // lost and collected in lost.
    void StartQueued(std::vector<BlockDone>& lost);
    // Collect the onDone of the block under way, or of every waiting block
    // (which are dropped), in lost.
    void TakeUnderWay(std::vector<BlockDone>& lost);
    void DropQueued(std::vector<BlockDone>& lost);
    // A length the send buffer holds, with data for it; traced when not.
    static bool IsSendable(const std::uint8_t* data, std::uint32_t len, const char* where);
    void FailSend();
    // Calls each with the outcome; the calls may send again.
    static void Tell(std::vector<BlockDone>& dones, bool delivered);
    void WorkOnAck(const TLumenMessage& msg);
    void WorkOnNak();
    // Appends a received Data/DataEnd telegram; false (Nak sent) on a wrong
    // number or a block that would outgrow the largest message.
    bool AppendData(const TLumenMessage& msg);
    // Held length 0 and QUELLPORT_DATA: the controller sees a failed block.
    void Fail();
    // Holds these bytes (a foreign telegram, or none for a failure) and
    // performs QUELLPORT_DATA.
    void HandUp(const std::uint8_t* bytes, std::uint32_t len);

    ILumenPortOwner& m_Owner;
    IQuell32Control& m_Quell;
    ITransferClock& m_Clock;

    std::array<std::uint8_t, COM_PORT_BUF_LEN> m_abyRecBuf{};
    std::uint32_t m_dwRecLen = 0;
    std::array<std::uint8_t, COM_PORT_BUF_LEN> m_abySendBuf{};
    std::uint32_t m_dwSendOffset = 0;
    std::uint32_t m_nToSend = 0;
    // Next telegram number of the block being sent.
    std::uint32_t m_dwTeleCounter = 0;
    // Next telegram number of the box's block being reassembled. Apart from
    // the sending number: the box's block may start while ours waits for an
    // acknowledgement, and one shared number would refuse the box's next
    // telegram and lose both blocks.
    std::uint32_t m_dwRecCounter = 0;
    // A box block is being reassembled (DataFirst taken, DataEnd not yet).
    bool m_bReceiving = false;
    bool m_bOpen = false;
    int m_nComNumber = 0;
    bool m_bLastSent = false;
    bool m_bWaitForAckNak = false;

    std::deque<ReceivedTele> m_Pending;
    // Times a blocked send let the control take a telegram again.
    unsigned m_nRearms = 0;
    // Blocks waiting for the one under way, in the order they were given.
    struct QueuedBlock {
        std::vector<std::uint8_t> bytes;
        bool exchange = false; // from SendDataBlock: an exchange waits for its answer
        BlockDone onDone;
    };
    std::deque<QueuedBlock> m_QueuedBlocks;
    bool HasQueuedExchange() const;
    // The block under way is an exchange's (its try), not a command sent
    // without waiting.
    bool m_bExchangeUnderWay = false;
    // Told the outcome of the block under way.
    BlockDone m_UnderWayDone;
};
