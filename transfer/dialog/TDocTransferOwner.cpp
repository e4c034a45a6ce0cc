#include "TDocTransferOwner.h"

#include "DbgOut.h"
#include "TMoxDocument.h"

void TDocTransferOwner::OnTransferResult(int result) {
    DbgOut(eDbgTransfer, "<TDocTransferOwner::OnTransferResult> result(%d)", result);
    if (m_OnResult)
        m_OnResult(result);
}

void TDocTransferOwner::OnNeedTransferData() {
    m_Doc.OnNeedTransferData();
}

void TDocTransferOwner::OnMoreTransferData() {
    m_Doc.MoreAnlDataToComPort();
}
