#include "TDelayDlg.h"

#include "ui_TDelayDlg.h"

#include "TkResourcen.h"

#include <QTimer>

TDelayDlg::TDelayDlg(QWidget* owner, TkResourcen* res)
    : QDialog(owner), ui(std::make_unique<Ui::DelayDlg>()) {
    ui->setupUi(this);
    // A dialog frame without the close and help buttons: the wait ends by
    // itself.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    if (res)
        res->SetFormTexts(this);
    ui->m_pOK->setEnabled(false);
    DelayTimer = new QTimer(this);
    DelayTimer->setObjectName(QStringLiteral("DelayTimer"));
    DelayTimer->setInterval(kTickMs);
    connect(DelayTimer, &QTimer::timeout, this, &TDelayDlg::OnTimer);
    connect(ui->m_pOK, &QPushButton::clicked, this, &TDelayDlg::m_pOKClick);
    DelayTimer->start();
}

TDelayDlg::~TDelayDlg() = default;

void TDelayDlg::OnTimer() {
    ++m_nCounter;
    ui->m_pOK->setText(QString::number(m_nCounter));
    if (m_nCounter > kLastTick) {
        DelayTimer->stop();
        accept();
    }
}

void TDelayDlg::m_pOKClick() {
    accept();
}

void TDelayDlg::reject() {
    // The programming dialog that follows talks to the box at once; cut
    // short, the wait would let it do so while the box still takes the new
    // configuration over.
}
