#include "TAssiFormGeraeteCfg.h"

#include "AssiTextIds.h"
#include "FocusRules.h"
#include "IAssiFrame.h"
#include "TAssiSequence.h"

#include <QRadioButton>

TAssiFormGeraeteCfg::TAssiFormGeraeteCfg(QWidget* owner, TMoxDocument* doc, TkResourcen* res,
                                         IAssiFrame* frame)
    : TFormAssiKonfig(owner, doc, res, frame) {
    setObjectName(QStringLiteral("TAssiFormGeraeteCfg"));
    AddLabel("Label2", atxt::kHeadGeraete, true);
    m_pRadioUser = new QRadioButton(QStringLiteral("von hand eingeben"));
    m_pRadioUser->setObjectName(QStringLiteral("m_pRadioUser"));
    m_pRadioUser->setProperty("Tag", atxt::kByHand);
    m_pRadioUser->setChecked(true);
    AddWidget(m_pRadioUser);
    m_pRadioRead = new QRadioButton(QStringLiteral("ueber interface auslesen"));
    m_pRadioRead->setObjectName(QStringLiteral("m_pRadioRead"));
    m_pRadioRead->setProperty("Tag", atxt::kReadOverInterface);
    AddWidget(m_pRadioRead);
    focusrules::TabStopOnCheckedRadio({m_pRadioUser, m_pRadioRead});
}

void TAssiFormGeraeteCfg::OnOpen() {
    if (m_pFrame && m_pFrame->GetFlag(eAssiFlagByHand)) {
        m_pRadioUser->setChecked(true);
        m_pRadioUser->setFocus();
    } else {
        m_pRadioRead->setChecked(true);
        m_pRadioRead->setFocus();
    }
}

void TAssiFormGeraeteCfg::OnSave() {
    if (m_pFrame)
        m_pFrame->SetFlag(eAssiFlagByHand, m_pRadioUser->isChecked());
}
