#include "TFormEventLog.h"

#include "ui_TFormEventLog.h"

#include "BoxFiles.h"
#include "BoxTextIds.h"
#include "DbgOut.h"
#include "EventLogParts.h"
#include "IMainTransfer.h"
#include "TInvariant.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <utility>

namespace {

constexpr int kHelpPage = 2200;

} // namespace

TFormEventLog::TFormEventLog(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                             TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormEventLog>()),
      m_pDataTransfer(transfer) {
    setProperty("HelpContext", kHelpPage);
    SetupPageForm(*ui);
    Label2 = ui->Label2;
    BitBtn1 = ui->BitBtn1;
    m_pFilename = ui->m_pFilename;
    m_pDownloadBtn = ui->m_pDownloadBtn;

    connect(BitBtn1, &QPushButton::clicked, this, &TFormEventLog::OnFile);
    connect(m_pDownloadBtn, &QPushButton::clicked, this, &TFormEventLog::OnStartDownload);
}

TFormEventLog::~TFormEventLog() = default;

void TFormEventLog::InitPage() {
    MOX_INVARIANT(m_pRes);
    if (!m_pDataTransfer)
        DbgOut(eDbgView, "<TFormEventLog> no transfer controller yet");
    m_FileName.clear();
    m_pDownloadBtn->setEnabled(m_pDataTransfer && m_pDataTransfer->IsConnected());
}

void TFormEventLog::OnFile() {
    // A new file is as welcome as an existing one: the dump is written to
    // it afterwards.
    std::string name = logpage::ChooseSaveFile(this, QString::fromStdString(m_FileName),
                                               m_pRes->GetQText(btxt::kELDialogTitle));
    if (name.empty())
        return;
    m_FileName = std::move(name);
    m_pFilename->setText(QString::fromStdString(m_FileName));
}

void TFormEventLog::OnStartDownload() {
    if (m_FileName.empty()) {
        ShowMsg(btxt::kELNoFile, mb::kOk | mb::kIconStop);
        return;
    }
    if (!m_pDataTransfer)
        return;
    const QPointer<TFormEventLog> self(this);
    const int result = logpage::ReadDump(*m_pDataTransfer, m_pRes->GetText(btxt::kELReading),
                                         m_Dump.data(), kDumpSize);
    if (!self)
        return;
    DbgOut(eDbgView, "<TFormEventLog::OnStartDownload> result %d", result);
    if (result != logpage::kResultOk) {
        // Nothing is stored, and the installer hears why there is no file.
        ShowMsg(btxt::kELMReadFailed, mb::kOk | mb::kIconStop);
        return;
    }
    if (BoxFiles::WriteWhole(m_FileName, m_Dump.data(), kDumpSize))
        ShowMsg(btxt::kELSaved, mb::kOk | mb::kIconInformation);
    else
        ShowMsg(btxt::kELWriteFailed, mb::kOk | mb::kIconStop);
}
