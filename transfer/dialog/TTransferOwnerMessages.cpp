#include "TTransferOwnerMessages.h"

#include "DbgOut.h"
#include "WindowMessages.h"

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
