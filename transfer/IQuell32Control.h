#pragma once
// The calls the bus port makes on the bus control, one per dispatch property
// or method it uses. The program's adapter forwards each to the control's
// dispatch interface; the tests use a fake control.
//
// Status and result words are the control's 16-bit words as unsigned values
// (0xF004, not -4092).

#include <cstdint>

class IQuell32Control {
public:
    virtual ~IQuell32Control() = default;

    virtual void SetUseEventNotification(bool on) = 0;
    virtual void SetCommPort(std::int16_t port) = 0;
    virtual void SetPCAnswerMode(bool on) = 0;
    virtual void SetPCAdr(std::int16_t adr) = 0;
    virtual void SetReadyForReceive(bool ready) = 0;
    virtual void SetTeleAllBytes(bool on) = 0;
    virtual bool GetConnected() = 0;

    virtual std::uint16_t OpenPort() = 0;
    virtual std::uint16_t ClosePort() = 0;

    virtual void SetTransmitTeleBytes(std::int16_t pos, std::int16_t value) = 0;
    virtual void SetTransmitTeleLen(std::int16_t len) = 0;
    // A whole telegram to send (below 256 bytes): its bytes and their count.
    // Byte by byte and then the count by default, which comes to the same
    // as the control's array property in one call.
    virtual void SetTransmitTele(const std::uint8_t* tele, std::uint16_t len) {
        for (std::uint16_t i = 0; i < len; ++i)
            SetTransmitTeleBytes(static_cast<std::int16_t>(i), tele[i]);
        SetTransmitTeleLen(static_cast<std::int16_t>(len));
    }
    virtual void TransmitTele() = 0;
    virtual std::uint16_t GetTransmitTeleStatus() = 0;

    virtual void WaitForReceive(std::int32_t durationTicks) = 0;
    virtual std::uint16_t GetReceivedTeleStatus() = 0;
    virtual std::int16_t GetReceivedTeleLen() = 0;
    // Byte at pos, or -1 outside the stored telegram.
    virtual std::int16_t GetReceivedTeleBytes(std::int16_t pos) = 0;
};
