#include "TAssiFormEndeCfg.h"

#include "AssiTextIds.h"
#include "IAssiFrame.h"

#include <QCheckBox>

TAssiFormEndeCfg::TAssiFormEndeCfg(QWidget* owner, TMoxDocument* doc, TkResourcen* res,
                                   IAssiFrame* frame)
    : TFormAssiKonfig(owner, doc, res, frame) {
    setObjectName(QStringLiteral("TAssiFormEndeCfg"));
    AddLabel("Label1", atxt::kComplete, true);
    m_pSendDataBox = new QCheckBox(QStringLiteral("send data"));
    m_pSendDataBox->setObjectName(QStringLiteral("m_pSendDataBox"));
    m_pSendDataBox->setProperty("Tag", atxt::kSendData);
    const bool mustSend = m_pFrame && m_pFrame->GetTransfer();
    m_pSendDataBox->setChecked(mustSend);
    m_pSendDataBox->setEnabled(!mustSend);
    AddWidget(m_pSendDataBox);
}

void TAssiFormEndeCfg::showEvent(QShowEvent* event) {
    TFormAssiKonfig::showEvent(event);
    if (m_pSendDataBox->isEnabled())
        m_pSendDataBox->setFocus();
}

void TAssiFormEndeCfg::OnClosePage() {
    if (m_pSendDataBox->isChecked() && m_bSend && m_pFrame)
        m_pFrame->SendToBox();
    // Once is enough, whoever closes the page next.
    m_bSend = false;
}
