#include "TAssiFormGeraeteLesenCfg.h"

#include "AssiTextIds.h"
#include "DbgOut.h"
#include "IAssiFrame.h"
#include "PermSettings.h"
#include "TAssiSequence.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "WindowMessages.h"

TAssiFormGeraeteLesenCfg::TAssiFormGeraeteLesenCfg(QWidget* owner, TMoxDocument* doc,
                                                   TkResourcen* res, IAssiFrame* frame)
    : TFormAssiKonfig(owner, doc, res, frame) {
    setObjectName(QStringLiteral("TAssiFormGeraeteLesenCfg"));
    AddLabel("Label1", atxt::kReadingDevices);
}

void TAssiFormGeraeteLesenCfg::Failed() {
    m_pFrame->SetFlag(eAssiFlagByHand, true);
    m_pFrame->PostToFrame(WM_ASSI_READ_FAILED, 0, 0);
}

void TAssiFormGeraeteLesenCfg::OnOpen() {
    DbgOut(eDbgView, "<TAssiFormGeraeteLesenCfg::OnOpen>");
    if (!m_pFrame)
        return;
    if (!m_pFrame->RunPortDialog()) {
        m_pFrame->PostToFrame(WM_ASSI_READ_FAILED, 0, 0);
        return;
    }
    if (GetComPort() == ePortNone) {
        MessageBox(atxt::kNoLink, mb::kOk | mb::kIconInformation);
        Failed();
        return;
    }
    if (!m_pDoc || !m_pDoc->ReadAnlDataFromComPort()) {
        MessageBox(atxt::kReadFailed, mb::kOk | mb::kIconStop);
        Failed();
        return;
    }
    MessageBox(atxt::kReadOk, mb::kOk | mb::kIconInformation);
    m_pFrame->PostToFrame(WM_ASSI_READ_OK, 0, 0);
}
