#pragma once
// The bus port's calls on the bus control, made through the control's
// dispatch interface by dispatch id. The control object itself is created
// and owned by the main window; this holds one more reference to it for as
// long as the bus port lives.
//
// A dispatch call that fails answers as the control would for a port that
// does not work: no telegram, a failed transmit, an unknown open error.

#include "ComInterfaces.h"
#include "ComPtr.h"
#include "IQuell32Control.h"

#include <optional>

class TQuell32Dispatch : public IQuell32Control {
public:
    // Dispatch ids of the control's interface (the id is the position).
    enum eDispId : mox::com::DispId {
        dispidTestForInterface = 1,
        dispidUseEventNotification = 2,
        dispidCommPort = 3,
        dispidReadyForReceive = 4,
        dispidReceivedTeleLen = 5,
        dispidReceivedTeleStatus = 6,
        dispidTeleAllBytes = 9,
        dispidTransmitTeleLen = 10,
        dispidTransmitTeleStatus = 11,
        dispidPCAdr = 14,
        dispidTransmitTeleArray = 15,
        dispidPCAnswerMode = 16,
        dispidConnected = 17,
        dispidOpenPort = 18,
        dispidClosePort = 19,
        dispidTransmitTele = 20,
        dispidWaitForReceive = 21,
        dispidReceivedTeleBytes = 23,
        dispidTransmitTeleBytes = 27,
    };

    // Answer of a failed OpenPort or ClosePort call: no result the control
    // knows, so the user sees the unknown-error text.
    static constexpr std::uint16_t kInvokeFailed = 0xFFFF;
    // TRANSMIT_ERROR: defined for clients, never produced by the control.
    static constexpr std::uint16_t kTransmitError = 0xF005;

    explicit TQuell32Dispatch(mox::com::IDispatch* control);

    void SetUseEventNotification(bool on) override;
    void SetCommPort(std::int16_t port) override;
    void SetPCAnswerMode(bool on) override;
    void SetPCAdr(std::int16_t adr) override;
    void SetReadyForReceive(bool ready) override;
    void SetTeleAllBytes(bool on) override;
    bool GetConnected() override;
    std::uint16_t OpenPort() override;
    std::uint16_t ClosePort() override;
    void SetTransmitTeleBytes(std::int16_t pos, std::int16_t value) override;
    void SetTransmitTeleLen(std::int16_t len) override;
    // One call for the whole telegram, not one per byte.
    void SetTransmitTele(const std::uint8_t* tele, std::uint16_t len) override;
    void TransmitTele() override;
    std::uint16_t GetTransmitTeleStatus() override;
    void WaitForReceive(std::int32_t durationTicks) override;
    std::uint16_t GetReceivedTeleStatus() override;
    std::int16_t GetReceivedTeleLen() override;
    std::int16_t GetReceivedTeleBytes(std::int16_t pos) override;

private:
    void Put(mox::com::DispId id, const mox::com::Variant& value);
    std::optional<std::int16_t> GetI2(mox::com::DispId id);
    std::optional<std::int16_t> CallI2(mox::com::DispId id);

    mox::com::ComPtr<mox::com::IDispatch> m_pControl;
};
