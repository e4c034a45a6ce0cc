#pragma once
// The bus port: carries block messages over the installation bus through the
// bus control. A block goes out cut into 'C' telegrams of 16 data bytes, sent
// stop-and-wait (the box acknowledges each with an eEvQuellAck carrying the
// next number); the box's blocks come in the same way and are acknowledged
// here. Runs on the GUI thread only: sends are driven by the transfer
// controller, receives by the control's TeleReceived event.
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
    // The control's Connected property.
    bool IsConnected() const;

    // Sends the first telegram of a block (below 2048 bytes); true when the
    // box took it.
    bool SendDataBlock(const std::uint8_t* data, std::uint32_t len) override;
    // While a block is under way the next one waits for its last
    // acknowledgement; a block sent with SendDataBlock drops what waits (a
    // new exchange, or the repetition of one).
    bool QueueDataBlock(const std::uint8_t* data, std::uint32_t len) override;
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
    bool IsWaitingForAckNak() const { return m_bWaitForAckNak; }
    std::size_t GetPendingCount() const { return m_Pending.size(); }
    std::size_t GetQueuedBlockCount() const { return m_QueuedBlocks.size(); }

private:
    // A telegram as the control stored it.
    struct ReceivedTele {
        std::uint16_t status = 0;
        std::int16_t len = 0;
        std::vector<std::uint8_t> bytes;
    };

    ReceivedTele ReadReceivedTele();
    void HandleReceivedTele(const ReceivedTele& tele);
    void HandleBlockedBus();
    bool SendQuellTele(const TLumenMessage& msg);
    bool StartBlock(const std::uint8_t* data, std::uint32_t len);
    void FailSend();
    void WorkOnAck(const TLumenMessage& msg);
    void WorkOnNak();
    // Appends a received Data/DataEnd telegram; false (Nak sent) on a wrong
    // number or a block that would outgrow the largest message.
    bool AppendData(const TLumenMessage& msg);
    // Held length 0 and QUELLPORT_DATA: the controller sees a failed block.
    void Fail();

    ILumenPortOwner& m_Owner;
    IQuell32Control& m_Quell;
    ITransferClock& m_Clock;

    std::array<std::uint8_t, COM_PORT_BUF_LEN> m_abyRecBuf{};
    std::uint32_t m_dwRecLen = 0;
    std::array<std::uint8_t, COM_PORT_BUF_LEN> m_abySendBuf{};
    std::uint32_t m_dwSendOffset = 0;
    std::uint32_t m_nToSend = 0;
    // Next block number of the stop-and-wait sequence; sending and receiving
    // share it, so one block is in flight at a time, in one direction.
    std::uint32_t m_dwTeleCounter = 0;
    bool m_bOpen = false;
    bool m_bLastSent = false;
    bool m_bWaitForAckNak = false;

    std::deque<ReceivedTele> m_Pending;
    // Blocks waiting for the one under way, in the order they were given.
    struct QueuedBlock {
        std::vector<std::uint8_t> bytes;
        bool exchange = false; // from SendDataBlock: an exchange waits for its answer
    };
    std::deque<QueuedBlock> m_QueuedBlocks;
    bool HasQueuedExchange() const;
    // The block under way is an exchange's (its try), not a command sent
    // without waiting.
    bool m_bExchangeUnderWay = false;
};
