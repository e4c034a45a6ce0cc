#include "TFormEventLog.h"

#include "ui_TFormEventLog.h"

#include "BoxFiles.h"
#include "BoxTextIds.h"
#include "DbgOut.h"
#include "IMainTransfer.h"
#include "TFileDialog.h"
#include "TInvariant.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kHelpPage = 2200;
// The transfer mode that reads the event log.
constexpr int kModeEventLog = 7;
constexpr int kResultOk = 1;
const char* const kFilter = "*.log|*.log|*.*|*.*";
const char* const kDefaultExt = "log";

} // namespace

TFormEventLog::TFormEventLog(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                             TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormEventLog>()),
      m_pDataTransfer(transfer) {
    setProperty("HelpContext", kHelpPage);
    auto* content = new QWidget(PageArea());
    ui->setupUi(content);
    auto* area = new QVBoxLayout(PageArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(content);
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
    const QString chosen = TFileDialog::GetSaveFileName(this, QString::fromLatin1(kFilter),
                                                        QString::fromStdString(m_FileName));
    if (chosen.isEmpty())
        return;
    const std::string name = BoxFiles::WithDefaultExtension(chosen.toStdString(), kDefaultExt);
    const QPointer<TFormEventLog> self(this);
    if (BoxFiles::Exists(name) &&
        ShowMsg(btxt::kOverwrite, mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
        return;
    if (!self)
        return;
    m_FileName = name;
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
    m_Dump.fill(0xFF);
    m_pDataTransfer->SetTransferData(kModeEventLog, m_Dump.data(), kDumpSize);
    m_pDataTransfer->SetInfoText(m_pRes->GetText(btxt::kELReading));
    const int result = m_pDataTransfer->ShowModal();
    if (!self)
        return;
    DbgOut(eDbgView, "<TFormEventLog::OnStartDownload> result %d", result);
    if (result != kResultOk)
        return;
    if (BoxFiles::WriteWhole(m_FileName, m_Dump.data(), kDumpSize))
        ShowMsg(btxt::kELSaved, mb::kOk | mb::kIconInformation);
    else
        ShowMsg(btxt::kELWriteFailed, mb::kOk | mb::kIconStop);
}
