#pragma once
// The bus line over a real serial port (or a pseudo-terminal).
//
// The bus line takes bytes one at a time; for the reader the port is read in
// chunks instead, so a whole telegram comes in with one read rather than
// with a query and a read for every byte. Bytes read ahead count as waiting
// in the input queue; a purge drops them with the queue. Like the port, the
// chunk belongs to whoever holds the line.

#include "IBusLine.h"
#include "SerialPort.h"

#include <array>
#include <cstddef>

namespace quell32 {

class SerialBusLine final : public IBusLine {
public:
    bool Open(int comPort) override;
    void Close() override;
    bool SetLineParameters() override;
    int BytesWaiting() override;
    int ReadByte() override;
    void SetReadAhead(bool on) override { m_readAhead = on; }
    std::span<const uint8_t> Peek() override;
    Wait WaitForInput(uint32_t timeoutMs) override;
    bool Write(const uint8_t* data, size_t size) override;
    bool WriteImmediate(uint8_t byte) override;
    std::optional<ModemStatus> Modem() override;
    void SetRts(bool on) override;
    void Purge() override;
    Wait WaitIdle(int timeoutMs, bool forInput) override;
    void Wake() override;
    bool CanWake() override;

private:
    // Reads what waits into the chunk (one byte without read-ahead); false
    // when the port failed.
    bool Fill(size_t most);
    size_t Buffered() const { return m_inEnd - m_inPos; }

    mox::platform::SerialPort m_port;
    // Room for the longest telegram several times over.
    std::array<uint8_t, 1024> m_in{};
    size_t m_inPos = 0;
    size_t m_inEnd = 0;
    bool m_readAhead = false;
};

} // namespace quell32
