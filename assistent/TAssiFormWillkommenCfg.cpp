#include "TAssiFormWillkommenCfg.h"

#include "AssiTextIds.h"
#include "DbgOut.h"
#include "PermSettings.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

TAssiFormWillkommenCfg::TAssiFormWillkommenCfg(QWidget* owner, TMoxDocument* doc, TkResourcen* res,
                                               IAssiFrame* frame)
    : TFormAssiKonfig(owner, doc, res, frame) {
    setObjectName(QStringLiteral("TAssiFormWillkommenCfg"));
    DbgOut(eDbgView, "<TFormWillkommenCfg::TFormWillkommenCfg> IsAssiMode(%d)",
           IsAssiMode() ? 1 : 0);
    AddLabel("Label1", atxt::kWelcome, true);
    AddLabel("Label3", atxt::kWelcomeButtons);
    AddLabel("Label2", atxt::kWelcomeF1, true);

    auto* row = new QWidget;
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    m_pCheck = new QCheckBox(row);
    m_pCheck->setObjectName(QStringLiteral("m_pCheck"));
    Label4 = new QLabel(row);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setProperty("Tag", atxt::kWelcomeNoAssist);
    Label4->setWordWrap(true);
    Label4->installEventFilter(this);
    rowLayout->addWidget(m_pCheck);
    rowLayout->addWidget(Label4, 1);
    AddWidget(row);

    connect(m_pCheck, &QCheckBox::clicked, this, &TAssiFormWillkommenCfg::OnClickAssiBox);
}

void TAssiFormWillkommenCfg::OnOpen() {
    DbgOut(eDbgView, "<TFormWillkommenCfg::OnOpen> IsAssiMode(%d)", IsAssiMode() ? 1 : 0);
    m_pCheck->setChecked(!IsAssiMode());
    m_pCheck->setFocus();
}

void TAssiFormWillkommenCfg::OnClickAssiBox() {
    SetAssiMode(!m_pCheck->isChecked());
}

void TAssiFormWillkommenCfg::OnClickAssi() {
    m_pCheck->setChecked(!m_pCheck->isChecked());
    SetAssiMode(!m_pCheck->isChecked());
}

bool TAssiFormWillkommenCfg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OnClickAssi();
        return true;
    }
    return TFormAssiKonfig::eventFilter(watched, event);
}
