#include "TFormELM.h"

#include "ui_TFormELM.h"

#include "BoxFiles.h"
#include "BoxTextIds.h"
#include "DbgOut.h"
#include "EventLogDecoder.h"
#include "EventLogParts.h"
#include "IMainTransfer.h"
#include "MoxQString.h"
#include "TFileDialog.h"
#include "TInvariant.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace {

constexpr int kHelpPage = 3200;
// A saved listing is a few hundred kilobytes at most; anything far larger
// is not one of ours and would only stall the page.
constexpr std::size_t kMaxListing = 16 * 1024 * 1024;
// The listing's background, a pale yellow as the form always had.
const QColor kListingBackground(0xFF, 0xFF, 0xE1);

} // namespace

TFormELM::TFormELM(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                   TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormELM>()),
      m_pDataTransfer(transfer) {
    setProperty("HelpContext", kHelpPage);
    SetupPageForm(*ui);
    m_pELMRichText = ui->m_pELMRichText;
    m_pSaveAsBtn = ui->m_pSaveAsBtn;
    m_pOpenFileBtn = ui->m_pOpenFileBtn;
    m_pDownloadBtn = ui->m_pDownloadBtn;
    m_szStatus = ui->m_szStatus;

    connect(m_pDownloadBtn, &QPushButton::clicked, this, &TFormELM::OnStartDownloadBtnClick);
    connect(m_pOpenFileBtn, &QPushButton::clicked, this, &TFormELM::OnOpenFileBtnClick);
    connect(m_pSaveAsBtn, &QPushButton::clicked, this, &TFormELM::OnSaveAsBtnClick);
}

TFormELM::~TFormELM() {
    ReleaseTempFiles();
    DbgOut(eDbgView, "<TFormELM::~TFormELM>");
}

void TFormELM::InitPage() {
    MOX_INVARIANT(m_pRes);
    if (!m_pDataTransfer)
        DbgOut(eDbgView, "<TFormELM> no transfer controller yet");
    m_pDownloadBtn->setEnabled(m_pDataTransfer && m_pDataTransfer->IsConnected());
    m_pSaveAsBtn->setEnabled(false);

    QPalette pal = m_pELMRichText->palette();
    pal.setColor(QPalette::Base, kListingBackground);
    m_pELMRichText->setPalette(pal);
    // The listing's columns line up only in a fixed-pitch font.
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    m_pELMRichText->setFont(font);
    QPalette statusPal = m_szStatus->palette();
    statusPal.setColor(QPalette::WindowText, Qt::red);
    m_szStatus->setPalette(statusPal);
    m_bUnsaved = false;
}

void TFormELM::SetStatus(const QString& text) {
    m_szStatus->setText(text);
}

bool TFormELM::HasLines() const {
    return !m_pELMRichText->toPlainText().isEmpty();
}

void TFormELM::ReleaseTempFiles() {
    BoxFiles::Remove(m_TempA);
    BoxFiles::Remove(m_TempB);
    m_TempA.clear();
    m_TempB.clear();
}

void TFormELM::OnStartDownloadBtnClick() {
    if (!m_pDataTransfer)
        return;
    mox::EventLogDecoder decoder(
        [this](const std::string& text) { SetStatus(MoxToQString(text)); });

    ReleaseTempFiles();
    m_TempA = BoxFiles::MakeTempFile("tmpA");
    if (m_TempA.empty()) {
        SetStatus(QStringLiteral("Could not create temporary filename1\n"));
        return;
    }
    m_TempB = BoxFiles::MakeTempFile("tmpB");
    if (m_TempB.empty()) {
        SetStatus(QStringLiteral("Could not create temporary filename2\n"));
        ReleaseTempFiles();
        return;
    }

    const QPointer<TFormELM> self(this);
    const int result = logpage::ReadDump(*m_pDataTransfer, m_pRes->GetText(btxt::kELReading),
                                         m_Dump.data(), kDumpSize);
    if (!self)
        return;
    DbgOut(eDbgView, "<TFormELM::OnStartDownloadBtnClick> result %d", result);

    bool read = false;
    if (result != logpage::kResultOk) {
        SetStatus(m_pRes->GetQText(btxt::kELMReadFailed));
    } else if (BoxFiles::WriteWhole(m_TempA, m_Dump.data(), kDumpSize)) {
        SetStatus(QString());
        read = true;
    } else {
        ShowMsg(btxt::kELWriteFailed, mb::kOk | mb::kIconStop);
        if (!self)
            return;
        SetStatus(m_pRes->GetQText(btxt::kELWriteFailed));
    }

    // A failed conversion keeps the listing and leaves the decoder's
    // reason in the status line.
    if (read && decoder.Convert(m_TempA, m_TempB)) {
        if (LoadListing(m_TempB) && HasLines()) {
            m_bUnsaved = true;
            m_pSaveAsBtn->setEnabled(true);
        } else {
            m_pSaveAsBtn->setEnabled(false);
        }
    }
    // The listing now lives in the page; the temporary files have served.
    ReleaseTempFiles();
}

bool TFormELM::LoadListing(const std::string& path) {
    std::string bytes;
    if (!BoxFiles::ReadWhole(path, bytes, kMaxListing)) {
        DbgOut(eDbgView, "<TFormELM::LoadListing> cannot read %s", path.c_str());
        return false;
    }
    QString text = MoxToQString(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    m_pELMRichText->setPlainText(text);
    return true;
}

bool TFormELM::SaveListing() {
    const std::string name =
        logpage::ChooseSaveFile(this, QString(), m_pRes->GetQText(btxt::kELDialogTitle));
    if (name.empty())
        return false;
    // The listing goes back out as it came: Windows-1252, CR LF lines.
    std::string bytes;
    const QStringList lines = m_pELMRichText->toPlainText().split(QLatin1Char('\n'));
    if (HasLines())
        for (const QString& line : lines)
            bytes += MoxFromQString(line) + "\r\n";
    if (!BoxFiles::WriteWhole(name, bytes)) {
        // Reported, and the listing stays unsaved.
        ShowMsg(btxt::kELWriteFailed, mb::kOk | mb::kIconStop);
        return false;
    }
    m_bUnsaved = false;
    return true;
}

void TFormELM::OnSaveAsBtnClick() {
    SetStatus(QString());
    SaveListing();
}

void TFormELM::OnOpenFileBtnClick() {
    SetStatus(QString());
    const QPointer<TFormELM> self(this);
    auto openChosen = [this]() -> std::string {
        const QString chosen =
            TFileDialog::GetOpenFileName(this, QString(), m_pRes->GetQText(btxt::kELMOpen));
        return chosen.toStdString();
    };

    if (HasLines() && m_bUnsaved) {
        const int answer = ShowMsg(btxt::kELMSaveFirst, mb::kYesNoCancel | mb::kIconQuestion);
        if (!self)
            return;
        if (answer == mb::kIdYes) {
            if (!SaveListing() || !self)
                return;
            const std::string path = openChosen();
            if (path.empty() || !self)
                return;
            m_pELMRichText->clear();
            LoadListing(path);
            m_pSaveAsBtn->setEnabled(true);
            if (HasLines())
                m_bUnsaved = true;
        } else if (answer == mb::kIdNo) {
            m_bUnsaved = false;
            const std::string path = openChosen();
            if (path.empty() || !self)
                return;
            m_pELMRichText->clear();
            LoadListing(path);
            m_pSaveAsBtn->setEnabled(HasLines());
        }
        return;
    }

    const std::string path = openChosen();
    if (path.empty() || !self)
        return;
    if (!LoadListing(path))
        m_pELMRichText->clear();
    m_pSaveAsBtn->setEnabled(HasLines());
}

void TFormELM::OnCloseQuery(bool& canClose) {
    if (m_bUnsaved)
        OnSaveAsBtnClick();
    // Leaving always works; a listing not saved now is forgotten.
    m_bUnsaved = false;
    canClose = true;
}
