#include "TTkLumenPort.h"

#include "TransferTrace.h"

#include <algorithm>
#include <cstring>

namespace {

const char* ReceiveStatusName(std::uint16_t status) {
    switch (status) {
    case RECEIVE_STATUS_BROADCAST:
        return "RECEIVE_STATUS_BROADCAST";
    case RECEIVE_STATUS_ACK:
        return "RECEIVE_STATUS_ACK";
    case RECEIVE_STATUS_NAK:
        return "RECEIVE_STATUS_NAK";
    case RECEIVE_NO_MESSAGE:
        return "RECEIVE_NO_MESSAGE";
    case RECEIVE_ACKNAK_TIMEOUT:
        return "RECEIVE_ACKNAK_TIMEOUT";
    case RECEIVE_TIMEOUT:
        return "RECEIVE_TIMEOUT";
    case RECEIVE_BUFFER_OVERFLOW:
        return "RECEIVE_BUFFER_OVERFLOW";
    case RECEIVE_ERROR_CHECKSUM:
        return "RECEIVE_ERROR_CHECKSUM";
    default:
        return (status & RECEIVE_ERROR_CHECKSUM) == RECEIVE_ERROR_CHECKSUM
                   ? "RECEIVE_ERROR_CHECKSUM (combined)"
                   : "unknown status";
    }
}

// The CommPort property takes the COM number; anything but a bus setting
// becomes 0, which the control ignores.
std::int16_t CommPortFromSetting(int setting) {
    return (setting >= 1 && setting <= 4) ? static_cast<std::int16_t>(setting) : 0;
}

} // namespace

TTkLumenPort::TTkLumenPort(ILumenPortOwner& owner, IQuell32Control& quell, ITransferClock& clock,
                           int commPortSetting)
    : m_Owner(owner), m_Quell(quell), m_Clock(clock) {
    m_Quell.SetUseEventNotification(true);
    m_nComNumber = CommPortFromSetting(commPortSetting);
    m_Quell.SetCommPort(static_cast<std::int16_t>(m_nComNumber));
    m_Quell.SetPCAnswerMode(true);
    m_Quell.SetPCAdr(LUMEN_ADR_PC);
    m_Quell.SetReadyForReceive(true);
    m_Quell.SetTeleAllBytes(false);
    const std::uint16_t result = m_Quell.OpenPort();
    if (result == QUELL_OPEN_OK) {
        m_bOpen = true;
    } else {
        TransferTrace(eTracePort, "<TTkLumenPort::TTkLumenPort> OpenPort (0x%04x)", result);
        m_Owner.ShowOpenError(result);
    }
}

TTkLumenPort::~TTkLumenPort() {
    m_Quell.SetUseEventNotification(false);
    m_Clock.SleepMs(kLumenCloseWaitMs);
    m_Quell.SetReadyForReceive(true);
    if (m_Quell.ClosePort() == 0)
        m_bOpen = false;
}

const char* TTkLumenPort::OpenErrorText(std::uint16_t result) {
    // Windows-1252: 0xD6 is the capital O umlaut, 0xF6 and 0xFC the small o
    // and u umlauts. The literals are split after each escape so the next
    // letter is not read as another hex digit.
    switch (result) {
    case QUELL_OPEN_INVALID_PORT:
        return "Fehler beim \xD6"
               "ffnen des Com-Ports. Ung\xFC"
               "ltiger Port!";
    case QUELL_OPEN_ALREADY_OPEN:
        return "Fehler beim \xD6"
               "ffnen des Com-Ports. Der Port ist schon ge\xF6"
               "ffnet!";
    case QUELL_OPEN_BAD_SETTINGS:
        return "Fehler beim \xD6"
               "ffnen des Com-Ports. Ung\xFC"
               "ltige Settings!";
    case QUELL_OPEN_NO_NOTIFICATION:
        return "Fehler beim \xD6"
               "ffnen des Com-Ports. Notificationhandle kann nicht eingerichtet werden!";
    case QUELL_OPEN_NO_INTERFACE:
        return "Fehler beim \xD6"
               "ffnen des Com-Ports. Kein Interface am ComPort gefunden!";
    case QUELL_OPEN_NO_HANDLE:
        return "Fehler beim \xD6"
               "ffnen des Com-Ports. Kein Handle verf\xFC"
               "gbar!";
    default:
        return "Fehler beim \xD6"
               "ffnen des Com-Ports. Unbekannter Fehlercode!";
    }
}

bool TTkLumenPort::IsConnected() const {
    return m_Quell.GetConnected();
}

// ---- Sending ---------------------------------------------------------------

bool TTkLumenPort::SendLumenTelegramm(const std::uint8_t* tele, std::uint16_t len) {
    if (!m_bOpen)
        return false;
    if (!tele || len == 0 || len >= LUMEN_RAW_LEN) {
        TransferTrace(eTracePort, "<TTkLumenPort::SendLumenTelegramm> ERROR len (%d)", len);
        return false;
    }
    bool ok = false;
    for (int tries = 0; tries < kLumenTransmitTries && !ok; ++tries) {
        m_Quell.SetTransmitTele(tele, len);
        m_Quell.TransmitTele();
        const std::uint16_t status = m_Quell.GetTransmitTeleStatus();
        if (status == TRANSMIT_BUS_BLOCKED) {
            HandleBlockedBus();
            continue;
        }
        ok = status == TRANSMIT_STATUS_ACK || status == TRANSMIT_STATUS_BROADCAST;
        if (!ok)
            TransferTrace(eTracePort, "<TTkLumenPort::SendLumenTelegramm> try (%d) status (0x%04x)",
                          tries + 1, status);
    }
    return ok;
}

void TTkLumenPort::HandleBlockedBus() {
    // A telegram waits in the control. Read it in so the bus is free again;
    // when the control already acknowledged it to the box, the box will not
    // repeat it, so it must reach the receive path like any other.
    m_Quell.WaitForReceive(kLumenBlockedReceiveWaitMs);
    ReceivedTele tele = ReadReceivedTele();
    if (tele.status == RECEIVE_STATUS_ACK) {
        if (m_Pending.size() < kLumenMaxPendingTelegrams) {
            m_Pending.push_back(std::move(tele));
            m_Owner.PostPendingTelegrams();
        } else {
            TransferTraceBytes(eTracePort, "ERROR Message lost ", tele.bytes.data(), tele.count);
        }
    }
    m_Clock.SleepMs(kLumenBlockedSettleMs);
    ++m_nRearms;
    m_Quell.SetReadyForReceive(true);
}

bool TTkLumenPort::SendQuellTele(const TLumenMessage& msg) {
    return SendLumenTelegramm(msg.GetBuffer(), msg.GetLen());
}

bool TTkLumenPort::HasQueuedExchange() const {
    for (const QueuedBlock& b : m_QueuedBlocks)
        if (b.exchange)
            return true;
    return false;
}

bool TTkLumenPort::SendDataBlock(const std::uint8_t* data, std::uint32_t len) {
    // A command sent without waiting that is still under way (a delete just
    // before the count is asked for) is let through first: a new first
    // telegram now would restart the box's reassembly and lose it. An
    // exchange's own earlier try under way, or a try that still waits
    // behind such a command, means the block ahead is stuck (its
    // acknowledgement may never come): everything waiting is dropped and
    // the block goes at once, so a dead block never holds up the link.
    if (m_bWaitForAckNak && !m_bExchangeUnderWay && !HasQueuedExchange()) {
        if (!IsSendable(data, len, "SendDataBlock"))
            return false;
        m_QueuedBlocks.push_back({std::vector<std::uint8_t>(data, data + len), true, {}});
        return true;
    }
    if (!m_QueuedBlocks.empty())
        TransferTrace(eTracePort, "<TTkLumenPort::SendDataBlock> %u waiting blocks dropped",
                      static_cast<unsigned>(m_QueuedBlocks.size()));
    std::vector<BlockDone> lost;
    DropQueued(lost);
    // A command cut short under way never completes at the box.
    TakeUnderWay(lost);
    const bool started = StartBlock(data, len);
    m_bExchangeUnderWay = started;
    Tell(lost, false);
    return started;
}

bool TTkLumenPort::QueueDataBlock(const std::uint8_t* data, std::uint32_t len, BlockDone onDone) {
    if (!m_bWaitForAckNak) {
        m_bExchangeUnderWay = false;
        if (!StartBlock(data, len))
            return false;
        m_UnderWayDone = std::move(onDone);
        return true;
    }
    if (!IsSendable(data, len, "QueueDataBlock"))
        return false;
    // A new first telegram now would restart the box's reassembly and lose
    // the block under way.
    m_QueuedBlocks.push_back(
        {std::vector<std::uint8_t>(data, data + len), false, std::move(onDone)});
    return true;
}

void TTkLumenPort::StartQueued(std::vector<BlockDone>& lost) {
    if (m_QueuedBlocks.empty())
        return;
    QueuedBlock next = std::move(m_QueuedBlocks.front());
    m_QueuedBlocks.pop_front();
    // A failure is only traced: an exchange's own time-out and tries take
    // care of its block, the others hear it through their onDone.
    m_bExchangeUnderWay = next.exchange;
    if (StartBlock(next.bytes.data(), static_cast<std::uint32_t>(next.bytes.size()))) {
        m_UnderWayDone = std::move(next.onDone);
        return;
    }
    TransferTrace(eTracePort, "<TTkLumenPort::WorkOnAck> queued block not sent");
    if (next.onDone)
        lost.push_back(std::move(next.onDone));
    DropQueued(lost);
}

void TTkLumenPort::TakeUnderWay(std::vector<BlockDone>& lost) {
    if (m_UnderWayDone)
        lost.push_back(std::move(m_UnderWayDone));
    m_UnderWayDone = nullptr;
}

void TTkLumenPort::DropQueued(std::vector<BlockDone>& lost) {
    for (QueuedBlock& b : m_QueuedBlocks)
        if (b.onDone)
            lost.push_back(std::move(b.onDone));
    m_QueuedBlocks.clear();
}

bool TTkLumenPort::IsSendable(const std::uint8_t* data, std::uint32_t len, const char* where) {
    if ((!data && len) || len >= COM_PORT_BUF_LEN) {
        TransferTrace(eTracePort, "<TTkLumenPort::%s> ERROR len (%u)", where, len);
        return false;
    }
    return true;
}

void TTkLumenPort::Tell(std::vector<BlockDone>& dones, bool delivered) {
    for (BlockDone& done : dones)
        done(delivered);
    dones.clear();
}

bool TTkLumenPort::StartBlock(const std::uint8_t* data, std::uint32_t len) {
    if (!IsSendable(data, len, "SendDataBlock"))
        return false;
    if (len)
        std::memcpy(m_abySendBuf.data(), data, len);
    m_dwSendOffset = 0;
    m_nToSend = len;
    m_dwTeleCounter = 0;
    m_bLastSent = false;

    TLumenMessage msg(eEvQuellDataFirst, static_cast<std::uint16_t>(m_dwTeleCounter),
                      LUMEN_ADR_BOX);
    ++m_dwTeleCounter;
    const std::uint32_t take = std::min<std::uint32_t>(len, MAX_DATA_LEN);
    msg.SetData(m_abySendBuf.data(), static_cast<std::uint16_t>(take));
    m_nToSend -= take;
    m_dwSendOffset += take;
    m_bWaitForAckNak = SendQuellTele(msg);
    return m_bWaitForAckNak;
}

bool TTkLumenPort::SendNextTelegram(std::uint32_t block) {
    const auto number = static_cast<std::uint16_t>(block);
    if (m_nToSend <= MAX_DATA_LEN) {
        TLumenMessage msg(eEvQuellDataEnd, number, LUMEN_ADR_BOX);
        msg.SetData(m_abySendBuf.data() + m_dwSendOffset, static_cast<std::uint16_t>(m_nToSend));
        m_dwSendOffset += m_nToSend;
        m_nToSend = 0;
        m_bLastSent = true;
        m_bWaitForAckNak = SendQuellTele(msg);
    } else {
        TLumenMessage msg(eEvQuellData, number, LUMEN_ADR_BOX);
        msg.SetData(m_abySendBuf.data() + m_dwSendOffset, MAX_DATA_LEN);
        m_dwSendOffset += MAX_DATA_LEN;
        m_nToSend -= MAX_DATA_LEN;
        m_bWaitForAckNak = SendQuellTele(msg);
    }
    return m_bWaitForAckNak;
}

bool TTkLumenPort::SendAck(std::uint32_t block) {
    return SendQuellTele(
        TLumenMessage(eEvQuellAck, static_cast<std::uint16_t>(block), LUMEN_ADR_BOX));
}

bool TTkLumenPort::SendNak(std::uint32_t block) {
    return SendQuellTele(
        TLumenMessage(eEvQuellNak, static_cast<std::uint16_t>(block), LUMEN_ADR_BOX));
}

void TTkLumenPort::WorkOnAck(const TLumenMessage& msg) {
    if (!m_bWaitForAckNak) {
        TransferTrace(eTracePort, "ERROR m_bWaitForAckNak == 0");
        return;
    }
    m_bWaitForAckNak = false;
    const std::uint32_t block = msg.GetBlockNumber();
    if (block != m_dwTeleCounter) {
        TransferTrace(eTracePort, "falsche Blocknummer erhalte(%u) erwarte(%u)", block,
                      m_dwTeleCounter);
        FailSend();
        return;
    }
    if (m_bLastSent) {
        // The whole block is with the box; its answer comes as a block. The
        // next block goes out before anyone hears of this one, so that what
        // they send meanwhile queues behind it.
        m_bLastSent = false;
        std::vector<BlockDone> delivered;
        TakeUnderWay(delivered);
        std::vector<BlockDone> lost;
        StartQueued(lost);
        Tell(delivered, true);
        Tell(lost, false);
        return;
    }
    const bool sent = SendNextTelegram(m_dwTeleCounter);
    ++m_dwTeleCounter;
    if (!sent)
        FailSend();
}

void TTkLumenPort::WorkOnNak() {
    if (!m_bWaitForAckNak) {
        TransferTrace(eTracePort, "ERROR m_bWaitForAckNak == 0 (Nak)");
        return;
    }
    // Nothing is resent here: the controller repeats the whole block.
    m_bWaitForAckNak = false;
    FailSend();
}

// ---- Receiving -------------------------------------------------------------

TTkLumenPort::ReceivedTele TTkLumenPort::ReadReceivedTele() {
    ReceivedTele tele;
    tele.status = m_Quell.GetReceivedTeleStatus();
    tele.len = m_Quell.GetReceivedTeleLen();
    // Only what can be a telegram is read; a longer one is refused whole
    // later, and -1 for a position outside the telegram reads as 0xFF.
    if (tele.len > 0 && tele.len < static_cast<std::int16_t>(LUMEN_RAW_LEN)) {
        tele.count = static_cast<std::uint16_t>(tele.len);
        for (std::int16_t i = 0; i < tele.len; ++i)
            tele.bytes[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(m_Quell.GetReceivedTeleBytes(i) & 0xFF);
    }
    return tele;
}

void TTkLumenPort::HandleReceivedTele(const ReceivedTele& tele) {
    if (tele.status != RECEIVE_STATUS_ACK) {
        TransferTrace(eTracePort, "<TTkLumenPort::OnTeleReceived> %s (0x%04x)",
                      ReceiveStatusName(tele.status), tele.status);
        return;
    }
    if (tele.len <= 0) {
        TransferTrace(eTracePort, "<TTkLumenPort::OnTeleReceived> timeout");
        WorkOnReceiveLumenData(nullptr);
        return;
    }
    const TLumenMessage msg(tele.Bytes());
    if (tele.count != tele.len || !msg.IsValid()) {
        TransferTrace(eTracePort, "<TTkLumenPort::OnTeleReceived> ERROR telegram len (%d) ignored",
                      tele.len);
        return;
    }
    if (msg.GetTarget() != LUMEN_ADR_PC) {
        TransferTrace(eTracePort, "message to (0x%02x) is not for the PC", msg.GetTarget());
        return;
    }
    if (msg.GetTransmitter() != LUMEN_ADR_BOX) {
        TransferTrace(eTracePort, "unknown message from (0x%02x)", msg.GetTransmitter());
        return;
    }
    WorkOnReceiveLumenData(&msg);
}

void TTkLumenPort::OnTeleReceived() {
    // Read the event's telegram before anything else can send: a blocked
    // send would read the next telegram into the control over it.
    const ReceivedTele tele = ReadReceivedTele();
    const unsigned rearms = m_nRearms;
    WorkOnPendingTelegrams();
    HandleReceivedTele(tele);
    // A send in between that found the bus blocked has let the control take
    // the next telegram already; that one is not read yet (its own event
    // follows), and letting the control go on now would let the telegram
    // after it overwrite it: one telegram lost, the next one taken twice.
    if (m_nRearms == rearms)
        m_Quell.SetReadyForReceive(true);
    else
        TransferTrace(eTracePort, "<TTkLumenPort::OnTeleReceived> next telegram held");
}

void TTkLumenPort::WorkOnPendingTelegrams() {
    while (!m_Pending.empty()) {
        const ReceivedTele tele = std::move(m_Pending.front());
        m_Pending.pop_front();
        HandleReceivedTele(tele);
    }
}

bool TTkLumenPort::AppendData(const TLumenMessage& msg) {
    const std::uint32_t block = msg.GetBlockNumber();
    if (!m_bReceiving || block != m_dwRecCounter) {
        TransferTrace(eTracePort, "bad number (%u) expected (%u)", block, m_dwRecCounter);
        m_bReceiving = false;
        SendNak(m_dwRecCounter);
        return false;
    }
    const std::uint16_t len = msg.GetDataLen();
    if (m_dwRecLen + len > kLumenMaxReceiveBlock) {
        TransferTrace(eTracePort, "ERROR block longer than %u bytes", kLumenMaxReceiveBlock);
        m_bReceiving = false;
        SendNak(m_dwRecCounter);
        return false;
    }
    if (len)
        std::memcpy(m_abyRecBuf.data() + m_dwRecLen, msg.GetData(), len);
    m_dwRecLen += len;
    ++m_dwRecCounter;
    return true;
}

void TTkLumenPort::WorkOnReceiveLumenData(const TLumenMessage* pMsg) {
    if (!pMsg) {
        Fail();
        return;
    }
    if (pMsg->GetProgCmd() != KTX_PC_DAT) {
        // A foreign telegram goes up whole, as the control delivered it.
        const std::uint16_t len = std::min<std::uint16_t>(pMsg->GetLen(), LUMEN_RAW_LEN);
        HandUp(pMsg->GetBuffer(), len);
        return;
    }
    m_Owner.PerformKennungRestart();
    switch (pMsg->GetCmd()) {
    case eEvQuellDataFirst: {
        m_dwRecCounter = 0;
        const std::uint16_t len = pMsg->GetDataLen();
        if (len)
            std::memcpy(m_abyRecBuf.data(), pMsg->GetData(), len);
        m_dwRecLen = len;
        m_bReceiving = true;
        ++m_dwRecCounter;
        if (!SendAck(m_dwRecCounter)) {
            m_bReceiving = false;
            Fail();
        }
        break;
    }
    case eEvQuellData:
        if (!AppendData(*pMsg)) {
            Fail();
            break;
        }
        if (!SendAck(m_dwRecCounter)) {
            m_bReceiving = false;
            Fail();
        }
        break;
    case eEvQuellDataEnd:
        if (!AppendData(*pMsg)) {
            Fail();
            break;
        }
        m_bReceiving = false;
        // The block is complete here whatever became of this Ack; the
        // controller's answer to the block tells the box how it went.
        SendAck(m_dwRecCounter);
        m_Owner.PerformQuellPortData();
        break;
    case eEvQuellAck:
        WorkOnAck(*pMsg);
        break;
    case eEvQuellNak:
        WorkOnNak();
        break;
    default:
        TransferTrace(eTracePort, "cmd(%d) unknown datalen(%d)", pMsg->GetCmd(),
                      pMsg->GetDataLen());
        break;
    }
}

void TTkLumenPort::FailSend() {
    // The blocks waiting behind a failed one would reach the box out of
    // their exchange.
    std::vector<BlockDone> lost;
    TakeUnderWay(lost);
    DropQueued(lost);
    Fail();
    Tell(lost, false);
}

void TTkLumenPort::Fail() {
    HandUp(nullptr, 0);
}

void TTkLumenPort::HandUp(const std::uint8_t* bytes, std::uint32_t len) {
    // A box block being reassembled meanwhile (a failure on the sending
    // side, a foreign telegram in between) goes on where it was: otherwise
    // its next telegram would land behind what was handed up and a corrupt
    // block would be delivered.
    std::vector<std::uint8_t> partial;
    const bool keep = m_bReceiving;
    if (keep)
        partial.assign(m_abyRecBuf.begin(), m_abyRecBuf.begin() + m_dwRecLen);
    if (len)
        std::memcpy(m_abyRecBuf.data(), bytes, len);
    m_dwRecLen = len;
    m_Owner.PerformQuellPortData();
    if (keep && m_bReceiving) {
        std::copy(partial.begin(), partial.end(), m_abyRecBuf.begin());
        m_dwRecLen = static_cast<std::uint32_t>(partial.size());
    }
}

std::uint32_t TTkLumenPort::ReceiveDataBlock(std::uint8_t* dest, std::uint32_t size) {
    if (!dest)
        return 0;
    if (size >= m_dwRecLen) {
        if (m_dwRecLen)
            std::memcpy(dest, m_abyRecBuf.data(), m_dwRecLen);
        return m_dwRecLen;
    }
    std::memcpy(dest, m_abyRecBuf.data(), size);
    std::memmove(m_abyRecBuf.data(), m_abyRecBuf.data() + size, m_dwRecLen - size);
    m_dwRecLen -= size;
    m_Owner.PostQuellPortData();
    return size;
}
