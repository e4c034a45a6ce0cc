#include "TQuell32Dispatch.h"

#include "LumenPortDefs.h"
#include "TransferTrace.h"

#include <vector>

using mox::com::DispId;
using mox::com::InvokeKind;
using mox::com::Succeeded;
using mox::com::Variant;

TQuell32Dispatch::TQuell32Dispatch(mox::com::IDispatch* control) : m_pControl(control) {}

void TQuell32Dispatch::Put(DispId id, const Variant& value) {
    if (!m_pControl ||
        !Succeeded(m_pControl->Invoke(id, InvokeKind::PropertyPut, &value, 1, nullptr)))
        TransferTrace(eTracePort, "<TQuell32Dispatch> ERROR put dispid (%d)", id);
}

std::optional<std::int16_t> TQuell32Dispatch::GetI2(DispId id) {
    Variant result;
    if (!m_pControl ||
        !Succeeded(m_pControl->Invoke(id, InvokeKind::PropertyGet, nullptr, 0, &result))) {
        TransferTrace(eTracePort, "<TQuell32Dispatch> ERROR get dispid (%d)", id);
        return std::nullopt;
    }
    return result.ToI2();
}

std::optional<std::int16_t> TQuell32Dispatch::CallI2(DispId id) {
    Variant result;
    if (!m_pControl ||
        !Succeeded(m_pControl->Invoke(id, InvokeKind::Method, nullptr, 0, &result))) {
        TransferTrace(eTracePort, "<TQuell32Dispatch> ERROR call dispid (%d)", id);
        return std::nullopt;
    }
    return result.ToI2();
}

void TQuell32Dispatch::SetUseEventNotification(bool on) {
    Put(dispidUseEventNotification, Variant::FromBool(on));
}

void TQuell32Dispatch::SetCommPort(std::int16_t port) {
    Put(dispidCommPort, Variant::FromI2(port));
}

void TQuell32Dispatch::SetPCAnswerMode(bool on) {
    Put(dispidPCAnswerMode, Variant::FromBool(on));
}

void TQuell32Dispatch::SetPCAdr(std::int16_t adr) {
    Put(dispidPCAdr, Variant::FromI2(adr));
}

void TQuell32Dispatch::SetReadyForReceive(bool ready) {
    Put(dispidReadyForReceive, Variant::FromBool(ready));
}

void TQuell32Dispatch::SetTeleAllBytes(bool on) {
    Put(dispidTeleAllBytes, Variant::FromBool(on));
}

bool TQuell32Dispatch::GetConnected() {
    Variant result;
    if (!m_pControl || !Succeeded(m_pControl->Invoke(dispidConnected, InvokeKind::PropertyGet,
                                                     nullptr, 0, &result)))
        return false;
    return result.ToBool().value_or(false);
}

std::uint16_t TQuell32Dispatch::OpenPort() {
    const auto r = CallI2(dispidOpenPort);
    return r ? static_cast<std::uint16_t>(*r) : kInvokeFailed;
}

std::uint16_t TQuell32Dispatch::ClosePort() {
    const auto r = CallI2(dispidClosePort);
    return r ? static_cast<std::uint16_t>(*r) : kInvokeFailed;
}

void TQuell32Dispatch::SetTransmitTeleBytes(std::int16_t pos, std::int16_t value) {
    const Variant args[] = {Variant::FromI2(pos), Variant::FromI2(value)};
    if (!m_pControl || !Succeeded(m_pControl->Invoke(dispidTransmitTeleBytes,
                                                     InvokeKind::PropertyPut, args, 2, nullptr)))
        TransferTrace(eTracePort, "<TQuell32Dispatch> ERROR TransmitTeleBytes (%d)", pos);
}

void TQuell32Dispatch::SetTransmitTeleLen(std::int16_t len) {
    Put(dispidTransmitTeleLen, Variant::FromI2(len));
}

void TQuell32Dispatch::SetTransmitTele(const std::uint8_t* tele, std::uint16_t len) {
    Put(dispidTransmitTeleArray, Variant::FromArrayI2(std::vector<std::int16_t>(tele, tele + len)));
}

void TQuell32Dispatch::TransmitTele() {
    if (!m_pControl ||
        !Succeeded(m_pControl->Invoke(dispidTransmitTele, InvokeKind::Method, nullptr, 0, nullptr)))
        TransferTrace(eTracePort, "<TQuell32Dispatch> ERROR TransmitTele");
}

std::uint16_t TQuell32Dispatch::GetTransmitTeleStatus() {
    const auto r = GetI2(dispidTransmitTeleStatus);
    return r ? static_cast<std::uint16_t>(*r) : kTransmitError;
}

void TQuell32Dispatch::WaitForReceive(std::int32_t durationTicks) {
    const Variant arg = Variant::FromI4(durationTicks);
    if (!m_pControl ||
        !Succeeded(m_pControl->Invoke(dispidWaitForReceive, InvokeKind::Method, &arg, 1, nullptr)))
        TransferTrace(eTracePort, "<TQuell32Dispatch> ERROR WaitForReceive");
}

std::uint16_t TQuell32Dispatch::GetReceivedTeleStatus() {
    const auto r = GetI2(dispidReceivedTeleStatus);
    return r ? static_cast<std::uint16_t>(*r) : RECEIVE_NO_MESSAGE;
}

std::int16_t TQuell32Dispatch::GetReceivedTeleLen() {
    return GetI2(dispidReceivedTeleLen).value_or(-1);
}

std::int16_t TQuell32Dispatch::GetReceivedTeleBytes(std::int16_t pos) {
    const Variant arg = Variant::FromI2(pos);
    Variant result;
    if (!m_pControl || !Succeeded(m_pControl->Invoke(dispidReceivedTeleBytes,
                                                     InvokeKind::PropertyGet, &arg, 1, &result)))
        return -1;
    return result.ToI2().value_or(-1);
}
