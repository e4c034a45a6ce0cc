#pragma once
// The bus line over a real serial port (or a pseudo-terminal).

#include "IBusLine.h"
#include "SerialPort.h"

namespace quell32 {

class SerialBusLine final : public IBusLine {
public:
    bool Open(int comPort) override;
    void Close() override;
    bool SetLineParameters() override;
    int BytesWaiting() override;
    int ReadByte() override;
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
    mox::platform::SerialPort m_port;
};

} // namespace quell32
