#include "SerialBusLine.h"

#include "BusProtocol.h"

#include <algorithm>

namespace quell32 {

using mox::platform::SerialPort;

namespace {

IBusLine::Wait FromPort(SerialPort::WaitResult r) {
    switch (r) {
    case SerialPort::WaitResult::Ready:
        return IBusLine::Wait::Input;
    case SerialPort::WaitResult::Woken:
        return IBusLine::Wait::Woken;
    case SerialPort::WaitResult::TimedOut:
        return IBusLine::Wait::TimedOut;
    case SerialPort::WaitResult::Failed:
        break;
    }
    return IBusLine::Wait::Failed;
}

} // namespace

bool SerialBusLine::Open(int comPort) {
    return m_port.OpenCom(comPort);
}

void SerialBusLine::Close() {
    m_inPos = m_inEnd = 0;
    m_port.Close();
}

bool SerialBusLine::SetLineParameters() {
    SerialPort::LineSettings s;
    s.baud = kLineBaud;
    s.dataBits = 8;
    s.parity = SerialPort::Parity::None;
    s.stopBits = 1;
    return m_port.SetLine(s);
}

bool SerialBusLine::Fill(size_t most) {
    m_inPos = m_inEnd = 0;
    const long n = m_port.Read(m_in.data(), std::min(most, m_in.size()));
    if (n < 0)
        return false;
    m_inEnd = static_cast<size_t>(n);
    return true;
}

int SerialBusLine::BytesWaiting() {
    if (Buffered() > 0)
        return static_cast<int>(Buffered());
    if (!m_readAhead)
        return m_port.BytesWaiting();
    // Asking the port and reading what it has cost one call alike.
    if (!Fill(m_in.size()))
        return -1;
    return static_cast<int>(Buffered());
}

int SerialBusLine::ReadByte() {
    if (Buffered() == 0 && (!Fill(m_readAhead ? m_in.size() : 1) || Buffered() == 0))
        return -1;
    return m_in[m_inPos++];
}

std::span<const uint8_t> SerialBusLine::Peek() {
    if (Buffered() == 0 && !Fill(m_in.size()))
        return {};
    return {m_in.data() + m_inPos, Buffered()};
}

IBusLine::Wait SerialBusLine::WaitForInput(uint32_t timeoutMs) {
    if (Buffered() > 0)
        return Wait::Input;
    return FromPort(m_port.WaitForInput(static_cast<int>(timeoutMs), false));
}

bool SerialBusLine::Write(const uint8_t* data, size_t size) {
    return m_port.Write(data, size, kWriteTimeoutMs);
}

bool SerialBusLine::WriteImmediate(uint8_t byte) {
    // Nothing of ours waits in the output queue (every write waits until it
    // has left), so a plain write goes out at once.
    return m_port.Write(&byte, 1, kWriteTimeoutMs);
}

std::optional<IBusLine::ModemStatus> SerialBusLine::Modem() {
    const auto lines = m_port.GetModemLines();
    if (!lines)
        return std::nullopt;
    return ModemStatus{lines->cts, lines->dsr};
}

void SerialBusLine::SetRts(bool on) {
    m_port.SetRts(on);
}

void SerialBusLine::Purge() {
    m_inPos = m_inEnd = 0;
    m_port.Purge(true, true);
}

IBusLine::Wait SerialBusLine::WaitIdle(int timeoutMs, bool forInput) {
    // The reader does not hold the line here, so the chunk is not looked
    // at; it took what was in it before it came to sleep.
    return FromPort(forInput ? m_port.WaitForInput(timeoutMs, true)
                             : m_port.WaitForWake(timeoutMs));
}

void SerialBusLine::Wake() {
    m_port.Wake();
}

bool SerialBusLine::CanWake() {
    return m_port.CanWake();
}

} // namespace quell32
