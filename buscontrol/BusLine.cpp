#include "BusLine.h"

#include "BusFraming.h"
#include "Quell32Ids.h"

#include <chrono>

namespace quell32 {

BusLine::BusLine(std::unique_ptr<IBusLine> line, std::unique_ptr<IBusClock> clock)
    : m_line(std::move(line)), m_clock(std::move(clock)) {
    const uint32_t now = m_clock->TickMs();
    m_block.receivedTicks = now;
    m_block.transmitTicks = now;
    m_block.timeStamp = m_clock->Now();
}

BusLine::~BusLine() {
    if (IsOpen())
        ClosePort();
}

// ---------------------------------------------------------------- port

uint16_t BusLine::OpenPort(int commPort, bool testForInterface, bool useEventNotification,
                           BusNotice* window) {
    {
        std::lock_guard lock(m_block.receivedMutex);
        m_block.receivedLength = -1;
    }
    if (IsOpen())
        return PORT_ALREADY_OPEN;
    {
        std::lock_guard lock(m_block.receivedMutex);
        m_readerUntaken = false;
    }
    m_staleNotices = 0;
    if (!m_line->Open(commPort))
        return PORT_OPEN_FAILED;
    m_block.open = 1;
    m_block.readyFlag = 1;

    if (!m_line->SetLineParameters()) {
        CloseLine();
        return PORT_SETTINGS_FAILED;
    }
    if (testForInterface) {
        // The bus interface loops RTS back to CTS and holds DSR on; a port
        // without one (or without modem lines at all) fails the test.
        m_line->SetRts(false);
        auto modem = m_line->Modem();
        bool found = modem && !modem->cts;
        if (found) {
            m_line->SetRts(true);
            modem = m_line->Modem();
            found = modem && modem->cts && modem->dsr;
        }
        if (!found) {
            CloseLine();
            return PORT_NO_INTERFACE;
        }
    }
    if (!window) {
        CloseLine();
        return PORT_NO_WINDOW;
    }
    m_window = window;
    m_line->Purge();

    if (useEventNotification) {
        if (!m_line->CanWake()) {
            CloseLine();
            return PORT_READER_FAILED;
        }
        m_block.readerState = kReaderStopRequested;
        m_block.receiveGate = 1;
        m_stopReader = false;
        try {
            m_reader = std::thread(&BusLine::ReaderLoop, this);
        } catch (...) {
            m_block.readerState = kReaderStopped;
            CloseLine();
            return PORT_READER_FAILED;
        }
    }
    return PORT_OK;
}

void BusLine::CloseLine() {
    m_line->Purge();
    m_line->Close();
    m_block.open = 0;
    m_window = nullptr;
}

uint16_t BusLine::ClosePort() {
    if (!IsOpen())
        return PORT_NOT_OPEN;
    if (m_reader.joinable()) {
        m_block.readerState = kReaderStopRequested;
        m_stopReader = true;
        m_line->Wake();
        m_reader.join();
    }
    CloseLine();
    return PORT_OK;
}

void BusLine::Purge() {
    if (IsOpen())
        m_line->Purge();
}

void BusLine::FlipRts() {
    if (const auto modem = m_line->Modem())
        m_line->SetRts(!modem->cts);
}

void BusLine::SetReadyForReceive(bool ready) {
    m_block.readyFlag = ready ? 1 : 0;
    if (!ready)
        return;
    if (m_reader.joinable() && m_readerWait.load() == ReaderWait::Ready && TakeWaitingTelegram())
        return;
    WakeReaderFor(ReaderWait::Ready);
}

bool BusLine::TakeWaitingTelegram() {
    // The box's next telegram has mostly come while the client dealt with
    // the last one (its answer to what the client sent). Waking the reader
    // to take it would cost a wake-up of each thread per telegram; taken
    // here it is answered sooner, too. Only a telegram that is there in
    // whole and to us (or to everyone) qualifies: nothing is waited for on
    // the GUI thread. The reader, asleep, is not disturbed.
    m_block.receiveGate.store(0);
    if (m_block.readerBusy.load()) {
        OpenGate();
        return false;
    }
    bool stored = false;
    uint8_t target = 0;
    if (!m_block.pushedBackValid && IsWholeTelegramAt(m_line->Peek(), &target) &&
        (target == kBroadcastAddress ||
         (target == m_block.ownAddress.load() && (m_block.answerFlags.load() & 1) != 0))) {
        m_line->SetReadAhead(true);
        stored = ReceiveTeleFor(true);
        m_line->SetReadAhead(false);
    }
    OpenGate();
    if (stored)
        m_window->PostTeleReceived();
    return stored;
}

// ---------------------------------------------------------------- line ownership

bool BusLine::EnterLineAsReader() {
    // Busy first, gate second; the GUI side closes the gate first and reads
    // busy second, so at most one of the two goes ahead.
    m_block.readerBusy.store(true);
    if (m_block.receiveGate.load() == 0) {
        // Not ours: the line is left as the GUI thread has it.
        ReleaseLineAsReader();
        return false;
    }
    m_line->SetReadAhead(true);
    return true;
}

void BusLine::LeaveLineAsReader() {
    m_line->SetReadAhead(false);
    ReleaseLineAsReader();
}

void BusLine::ReleaseLineAsReader() {
    {
        std::lock_guard lock(m_idleMutex);
        m_block.readerBusy.store(false);
    }
    m_idleCv.notify_all();
}

bool BusLine::CloseGate() {
    m_block.receiveGate.store(0);
    if (!m_reader.joinable())
        return true;
    std::unique_lock lock(m_idleMutex);
    return m_idleCv.wait_for(lock, std::chrono::milliseconds(kReaderIdleWaitMs),
                             [this] { return !m_block.readerBusy.load(); });
}

void BusLine::OpenGate() {
    m_block.receiveGate.store(1);
    WakeReaderFor(ReaderWait::Gate);
}

bool BusLine::InputPending() {
    return m_block.pushedBackValid || m_line->BytesWaiting() > 0;
}

// ---------------------------------------------------------------- reader thread

void BusLine::WakeReaderFor(ReaderWait what) {
    if (m_reader.joinable() && m_readerWait.load() == what)
        m_line->Wake();
}

bool BusLine::ReaderMayGoOn(ReaderWait what) const {
    if (m_stopReader)
        return true;
    return what == ReaderWait::Gate ? m_block.receiveGate.load() != 0
                                    : m_block.readyFlag.load() == 1;
}

bool BusLine::PauseReader(ReaderWait what, int timeoutMs) {
    m_readerWait.store(what);
    const bool wait = !ReaderMayGoOn(what);
    if (wait)
        m_line->WaitIdle(timeoutMs, false);
    m_readerWait.store(ReaderWait::None);
    return wait;
}

void BusLine::ReaderLoop() {
    m_block.readerState = kReaderRunning;
    while (!m_stopReader) {
        if (!EnterLineAsReader()) {
            // The GUI thread holds the line; it wakes us when it is done.
            PauseReader(ReaderWait::Gate, kReaderPauseMs);
            continue;
        }
        const bool pending = InputPending();
        const bool ready = m_block.readyFlag.load() == 1;
        if (pending && ready) {
            const bool stored = ReceiveTeleFor(true);
            const bool failed = m_readFailed;
            LeaveLineAsReader();
            if (stored && !m_stopReader)
                m_window->PostTeleReceived();
            // A port that says bytes wait but fails to read them (a device
            // going away) would otherwise keep the reader spinning.
            if (failed)
                m_line->WaitIdle(kReaderHangupPauseMs, false);
            else if (stored)
                PauseReader(ReaderWait::Ready, kReaderPauseMs);
            continue;
        }
        // The client still has the last telegram: waiting bytes stay in the
        // queue and the interface is signalled until ReadyForReceive.
        if (pending)
            FlipRts();
        LeaveLineAsReader();
        if (!ready) {
            // Nothing can be taken before the client hands the telegram
            // back, which it does as soon as it has dealt with it: until
            // then the line is only looked at once per pause (the answers to
            // what the client sends meanwhile would otherwise wake us for
            // nothing).
            PauseReader(ReaderWait::Ready, kReaderPauseMs);
            continue;
        }
        // Idle: asleep in poll until input, a wake-up or a stop request.
        if (m_line->WaitIdle(-1, true) == IBusLine::Wait::Failed)
            m_line->WaitIdle(kReaderHangupPauseMs, false);
    }
    m_block.readerState = kReaderStopped;
    m_block.readyFlag = 1;
}

// ---------------------------------------------------------------- receiving

BusLine::Answer BusLine::AwaitAnswer(uint32_t fromMs, int* byte) {
    // An answer that is there within the time-out (inclusive) counts. The
    // wait comes first: the answer is hardly ever there before it.
    for (;;) {
        const uint32_t elapsed = m_clock->TickMs() - fromMs;
        IBusLine::Wait wait = IBusLine::Wait::TimedOut;
        if (elapsed < m_block.answerTimeoutMs) {
            wait = m_line->WaitForInput(m_block.answerTimeoutMs - elapsed);
            if (wait == IBusLine::Wait::Failed)
                return Answer::Failed;
        }
        if (wait == IBusLine::Wait::Input || m_line->BytesWaiting() > 0) {
            *byte = m_line->ReadByte();
            return *byte < 0 ? Answer::Failed : Answer::Byte;
        }
        if (elapsed >= m_block.answerTimeoutMs)
            return Answer::None;
    }
}

bool BusLine::EndReceive(bool result) {
    if (m_block.readerState.load() == kReaderRunning && m_line->BytesWaiting() > 0)
        FlipRts();
    return result;
}

bool BusLine::ReceiveTele() {
    return ReceiveTeleFor(false);
}

bool BusLine::ReceiveTeleFor(bool reader) {
    m_rx.Reset();
    m_readFailed = false;
    m_filtered = false;
    for (;;) {
        int byte = -1;
        // The byte's time is when it was found waiting: a hold-up while it
        // is read then counts against the answer window, as it should.
        const uint32_t seen = m_clock->TickMs();
        if (m_block.pushedBackValid) {
            byte = m_block.pushedBackByte;
            m_block.pushedBackValid = false;
        } else if (m_line->BytesWaiting() > 0) {
            byte = m_line->ReadByte();
            if (byte < 0) {
                m_readFailed = true;
                return EndReceive(false);
            }
        } else if (!m_rx.InTelegram()) {
            return false;
        } else {
            if (m_rx.GaveUp(seen)) {
                m_rx.Reset();
                return false;
            }
            const uint32_t since = seen - m_rx.LastByteMs();
            if (m_line->WaitForInput(kInterByteTimeoutMs - since) == IBusLine::Wait::Failed) {
                m_readFailed = true;
                return EndReceive(false);
            }
            continue;
        }

        switch (m_rx.Feed(static_cast<uint8_t>(byte), seen)) {
        case BusFrameReceiver::Step::Ignored:
            return EndReceive(false);
        case BusFrameReceiver::Step::Started:
        case BusFrameReceiver::Step::Inside:
            break;
        case BusFrameReceiver::Step::Overflow: {
            std::lock_guard lock(m_block.receivedMutex);
            m_block.receivedStatus = RECEIVE_BUFFER_OVERFLOW;
            m_block.receivedTicks = m_rx.StartMs();
            m_block.timeStamp = m_clock->Now();
            m_readerUntaken = m_readerUntaken || reader;
            m_rx.Reset();
            return true;
        }
        case BusFrameReceiver::Step::Complete:
            return EndReceive(HandleTelegram(seen, reader));
        }
    }
}

bool BusLine::HandleTelegram(uint32_t endMs, bool reader) {
    uint16_t status = m_rx.ChecksumOk() ? 0 : RECEIVE_ERROR_CHECKSUM;
    std::array<uint16_t, kTeleTableSize> decoded{};
    const size_t n = UnstuffBusTelegram(m_rx.Raw(), decoded);
    // Header, checksum and ETX at least; anything shorter cannot be looked
    // at, let alone answered.
    if (n < kHeaderBytes + 2)
        return false;
    const uint16_t target = decoded[0];
    const uint16_t function = decoded[1];
    const uint16_t transmitter = decoded[2];
    if (m_block.targetFilter[target].load(std::memory_order_relaxed) == 0 ||
        m_block.functionFilter[function].load(std::memory_order_relaxed) == 0 ||
        m_block.transmitterFilter[transmitter].load(std::memory_order_relaxed) == 0) {
        m_filtered = true;
        return false;
    }

    const bool answerMode = (m_block.answerFlags.load() & 1) != 0;
    if (target == m_block.ownAddress.load() && answerMode) {
        // Ours: acknowledged at once, only when intact, only while the
        // sender still waits, and not when more bytes show the bus moved on.
        if (status == 0) {
            if (m_clock->TickMs() - endMs > m_block.answerTimeoutMs)
                status |= RECEIVE_TIMEOUT;
            else if (m_line->BytesWaiting() > 0)
                status |= RECEIVE_ACKNAK_TIMEOUT;
            else if (m_line->WriteImmediate(kAck))
                status |= RECEIVE_STATUS_ACK;
            else
                status |= RECEIVE_TIMEOUT; // the ACK never left: the sender times out
        }
    } else if (target != kBroadcastAddress) {
        int byte = -1;
        switch (AwaitAnswer(endMs, &byte)) {
        case Answer::None:
        case Answer::Failed:
            status |= RECEIVE_TIMEOUT;
            break;
        case Answer::Byte:
            if (byte == kAck || byte == kNak) {
                status |= static_cast<uint16_t>(byte);
            } else {
                status |= RECEIVE_ACKNAK_TIMEOUT;
                m_block.pushedBackByte = static_cast<uint16_t>(byte);
                m_block.pushedBackValid = true;
                FlipRts();
            }
            break;
        }
    }

    m_block.readyFlag = 0;
    std::lock_guard lock(m_block.receivedMutex);
    if (m_block.rawMode.load() != 0) {
        const auto raw = m_rx.Raw();
        for (size_t i = 0; i < raw.size(); ++i)
            m_block.receivedBytes[i] = raw[i];
        m_block.receivedLength = static_cast<int16_t>(raw.size());
    } else {
        for (size_t i = 0; i < n; ++i)
            m_block.receivedBytes[i] = decoded[i];
        m_block.receivedLength = static_cast<int16_t>(n - 2);
    }
    m_block.receivedStatus = status;
    m_block.receivedTicks = endMs;
    m_block.timeStamp = m_clock->Now();
    m_readerUntaken = m_readerUntaken || reader;
    return true;
}

bool BusLine::HandOverUntaken() {
    // A telegram the reader stored whose notice has not reached the client
    // yet (the client sends from outside its event handler): it is the one
    // this call hands over. Reading the next one over it would lose it, and
    // its notice would then deliver the next one a second time; so that
    // notice goes unfired instead. Caller holds receivedMutex.
    if (!m_readerUntaken)
        return false;
    m_readerUntaken = false;
    ++m_staleNotices;
    return true;
}

void BusLine::WaitForReceive(int32_t durationTicks) {
    if (!IsOpen() || !CloseGate()) {
        // No port, or the reader is still taking in a telegram (which it
        // will deliver itself): nothing for this call.
        std::lock_guard lock(m_block.receivedMutex);
        if (!HandOverUntaken()) {
            m_block.receivedStatus = RECEIVE_NO_MESSAGE;
            m_block.receivedTicks = m_clock->TickMs();
            m_block.timeStamp = m_clock->Now();
        }
    } else {
        bool handedOver = false;
        {
            std::lock_guard lock(m_block.receivedMutex);
            handedOver = HandOverUntaken();
        }
        if (!handedOver)
            WaitForReceiveHoldingLine(durationTicks);
    }
    OpenGate();
}

bool BusLine::NoticeArrived() {
    // Notices come in the order the reader stored their telegrams, one
    // each; those WaitForReceive handed over are the oldest.
    if (m_staleNotices > 0) {
        --m_staleNotices;
        return false;
    }
    std::lock_guard lock(m_block.receivedMutex);
    m_readerUntaken = false;
    return true;
}

void BusLine::WaitForReceiveHoldingLine(int32_t durationTicks) {
    const uint32_t start = m_clock->TickMs();
    const int64_t limit = static_cast<int64_t>(durationTicks) - kWaitForReceiveMarginMs;
    for (;;) {
        if (InputPending()) {
            if (ReceiveTele())
                return;
            // The telegram that came was the one this call waited for, even
            // when the client's filters leave nothing of it to store: the
            // client hears so at once, not at the end of its wait. Noise and
            // a telegram given up half-way are no telegram; the wait goes on.
            if (m_filtered)
                break;
        }
        const int64_t elapsed = static_cast<uint32_t>(m_clock->TickMs() - start);
        if (elapsed >= limit)
            break;
        if (!InputPending() &&
            m_line->WaitForInput(static_cast<uint32_t>(limit - elapsed)) == IBusLine::Wait::Failed)
            break;
    }
    std::lock_guard lock(m_block.receivedMutex);
    m_block.receivedStatus = RECEIVE_NO_MESSAGE;
    m_block.receivedTicks = m_clock->TickMs();
    m_block.timeStamp = m_clock->Now();
}

// ---------------------------------------------------------------- sending

void BusLine::SetTransmitOutcome(uint16_t status, uint32_t ticks) {
    m_block.transmitStatus = status;
    m_block.transmitTicks = ticks;
    std::lock_guard lock(m_block.receivedMutex);
    m_block.timeStamp = m_clock->Now();
}

void BusLine::TransmitTele() {
    if (!IsOpen()) {
        SetTransmitOutcome(TRANSMIT_PORT_ERROR, m_clock->TickMs());
        return;
    }
    const bool raw = m_block.rawMode.load() != 0;
    const size_t length = m_block.transmitLength;
    // A decoded telegram needs its three header bytes; without them the
    // checksum would be the only byte and the bus would see garbage.
    if (raw ? length == 0 : length < kHeaderBytes) {
        SetTransmitOutcome(TRANSMIT_ERROR, m_clock->TickMs());
        return;
    }
    std::array<uint8_t, kMaxFrameBytes> buffer;
    const std::span<const uint8_t> frame(
        buffer.data(), BuildBusFrame({m_block.transmitBytes.data(), length}, raw, buffer));
    const bool broadcast = IsBroadcastFrame(frame);

    if (!CloseGate()) {
        // The reader is still receiving; the line is not ours to touch.
        SetTransmitOutcome(TRANSMIT_BUS_BLOCKED, m_clock->TickMs());
        OpenGate();
        return;
    }
    if (InputPending()) {
        // A reader that was started but has not reached its loop yet (a
        // loaded machine can hold a new thread back for tens of
        // milliseconds) is as good as running: draining here would store a
        // telegram that no notice hands to the client, leaving the ready
        // flag down, so the reader would never take another telegram.
        if (m_block.readerState.load() != kReaderStopped) {
            SetTransmitOutcome(TRANSMIT_BUS_BLOCKED, m_clock->TickMs());
            FlipRts();
            OpenGate();
            return;
        }
        // Read every waiting telegram into the received fields first, but
        // not for ever: a bus that keeps talking ends it as blocked. A
        // telegram the filters drop ends its wait with no message, though
        // more may wait behind it.
        const uint32_t start = m_clock->TickMs();
        const auto drained = [this] {
            return ReceivedStatus() == RECEIVE_NO_MESSAGE && !InputPending();
        };
        do {
            WaitForReceiveHoldingLine(kDrainWaitMs);
        } while (!drained() && m_clock->TickMs() - start < kDrainLimitMs);
        if (!drained()) {
            SetTransmitOutcome(TRANSMIT_BUS_BLOCKED, m_clock->TickMs());
            OpenGate();
            return;
        }
    }

    if (!m_line->Write(frame.data(), frame.size())) {
        SetTransmitOutcome(TRANSMIT_PORT_ERROR, m_clock->TickMs());
        OpenGate();
        return;
    }
    const uint32_t sendTime = m_clock->TickMs();
    uint16_t status = TRANSMIT_STATUS_BROADCAST;
    if (!broadcast) {
        int byte = -1;
        switch (AwaitAnswer(sendTime, &byte)) {
        case Answer::None:
        case Answer::Failed:
            status = TRANSMIT_TIMEOUT;
            break;
        case Answer::Byte:
            if (byte == kAck) {
                status = TRANSMIT_STATUS_ACK;
            } else if (byte == kNak) {
                status = TRANSMIT_STATUS_NAK;
            } else {
                m_block.pushedBackByte = static_cast<uint16_t>(byte);
                m_block.pushedBackValid = true;
                status = TRANSMIT_ACKNAK_TIMEOUT;
            }
            break;
        }
    }
    OpenGate();
    SetTransmitOutcome(status, sendTime);
}

// ---------------------------------------------------------------- reads for the GUI

int16_t BusLine::ReceivedLength() const {
    std::lock_guard lock(m_block.receivedMutex);
    return m_block.receivedLength;
}

uint16_t BusLine::ReceivedStatus() const {
    std::lock_guard lock(m_block.receivedMutex);
    return m_block.receivedStatus;
}

uint32_t BusLine::ReceivedTicks() const {
    std::lock_guard lock(m_block.receivedMutex);
    return m_block.receivedTicks;
}

int16_t BusLine::ReceivedByte(int pos) const {
    std::lock_guard lock(m_block.receivedMutex);
    if (pos < 0 || pos > m_block.receivedLength || pos >= static_cast<int>(kTeleTableSize))
        return -1;
    return static_cast<int16_t>(m_block.receivedBytes[static_cast<size_t>(pos)]);
}

double BusLine::TimeStamp() const {
    std::lock_guard lock(m_block.receivedMutex);
    return m_block.timeStamp;
}

} // namespace quell32
