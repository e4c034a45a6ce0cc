#include "TTransferOwnerMessages.h"

#include "DbgOut.h"
#include "WindowMessages.h"

using mox::platform::WindowMessage;

void TTransferOwnerMessages::OnTransferResult(int result) {
    if (!m_Owner.IsAlive())
        DbgOut(eDbgTransfer, "     ERROR Owner->Perform WM_TRANSFER_RESULT: owner gone");
    m_Owner.Perform(WM_TRANSFER_RESULT, result, 0);
}

void TTransferOwnerMessages::OnNeedTransferData() {
    m_Owner.Perform(WM_NEED_TRANSFER_DATA, 0, 0);
}

void TTransferOwnerMessages::OnMoreTransferData() {
    m_Owner.Perform(WM_MORE_TRANSFER_DATA, 0, 0);
}

void TTransferOwnerMessages::OnCapiConnect(int instance, const CapiCallInfo& info) {
    m_Owner.Perform(WindowMessage{CAPIPORT_CONNECT, instance, 0, info});
}

void TTransferOwnerMessages::OnCapiConnectActive(int instance) {
    m_Owner.Perform(CAPIPORT_CONNECT_ACTIVE, instance, 0);
}

void TTransferOwnerMessages::OnCapiDisconnect(int instance, const CapiDisconnectInfo& info) {
    if (!m_Owner.Post(WindowMessage{CAPIPORT_DISCONNECT, instance, 0, info}))
        DbgOut(eDbgCapi, "<ERROR TDataTransfer::OnCapiDisconnectMsg> Owner->Perform "
                         "CAPIPORT_DISCONNECT: owner gone");
}
