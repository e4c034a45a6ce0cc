#include "TSetDruckenDlg.h"

#include "ui_TSetDruckenDlg.h"

#include "DbgOut.h"
#include "PrintTextIds.h"
#include "TMoxDocument.h"
#include "TPrintBSM.h"
#include "TPrintEtagenruf.h"
#include "TPrintGeraete.h"
#include "TPrintITKonf.h"
#include "TPrintITMfr.h"
#include "TPrintITSchaltcode.h"
#include "TPrintKMR.h"
#include "TPrintMoxKonf.h"
#include "TPrintNoFunction.h"
#include "TPrintPG.h"
#include "TPrintRAKAG.h"
#include "TPrintRAKEG.h"
#include "TPrintSMS.h"
#include "TPrintSchaltuhr.h"
#include "TPrintSensor.h"
#include "TPrintSperrRnr.h"
#include "TPrintSystem.h"
#include "TPrintTln.h"
#include "TReportPrinter.h"
#include "TkResourcen.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kModeExpert = 2;
constexpr std::uint8_t kKindEverything = 1;

bool TypeWithBarredNumbers(std::uint8_t typeIT) {
    return typeIT == 2 || typeIT == 3;
}

} // namespace

TSetDruckenDlg::TSetDruckenDlg(QWidget* owner, std::uint8_t kind, TMoxDocument* doc,
                               TkResourcen* res, int mode)
    : QDialog(owner), ui(std::make_unique<Ui::SetDruckenDlg>()), m_pRes(res), m_pDoc(doc),
      m_nKind(kind), m_nSelectKind(kind), m_nMode(mode),
      m_pCompositeReport(std::make_unique<TCompositeReport>()) {
    ui->setupUi(this);
    if (m_pRes)
        m_pRes->SetFormTexts(this);
    ui->m_pPrintBox->setTitle(QString());
    if (m_pRes) {
        ui->m_pPrintBoxItem0->setText(m_pRes->GetQText(prtxt::kPrintCurrent));
        ui->m_pPrintBoxItem1->setText(m_pRes->GetQText(prtxt::kPrintAll));
    }
    ui->m_pPrintBox->setEnabled(HasCurrentPart(kind));
    ui->m_pPrintBoxItem1->setChecked(true);

    m_pCompositeReport->ReportTitle = QStringLiteral("KTX");
    m_pCompositeReport->Copies = 1;
    m_pCompositeReport->OnAddReports = [this](TCompositeReport& c) { OnAddReports(c); };

    connect(ui->m_pPrint, &QPushButton::clicked, this, &TSetDruckenDlg::OnDruck);
    connect(ui->m_pVorschau, &QPushButton::clicked, this, &TSetDruckenDlg::OnVorschau);
    connect(ui->m_pSettings, &QPushButton::clicked, this, &TSetDruckenDlg::OnSettings);
    connect(ui->m_pCancel, &QPushButton::clicked, this, &TSetDruckenDlg::OnCancel);

    auto make = [this](auto report) {
        auto* raw = report.get();
        m_Reports.push_back(std::move(report));
        return raw;
    };
    m_pPrintGeraete = make(std::make_unique<TPrintGeraete>());
    m_pPrintBSM = make(std::make_unique<TPrintBSM>());
    m_pPrintKMR = make(std::make_unique<TPrintKMR>());
    m_pPrintITKonf = make(std::make_unique<TPrintITKonf>());
    m_pPrintITSchaltcode = make(std::make_unique<TPrintITSchaltcode>());
    m_pPrintNoFunction = make(std::make_unique<TPrintNoFunction>());
    m_pPrintSensor = make(std::make_unique<TPrintSensor>());
    m_pPrintSchaltuhr = make(std::make_unique<TPrintSchaltuhr>());
    m_pPrintEtagenruf = make(std::make_unique<TPrintEtagenruf>());
    m_pPrintITMfr = make(std::make_unique<TPrintITMfr>());
    m_pPrintMoxKonf = make(std::make_unique<TPrintMoxKonf>());
    m_pPrintSMS = make(std::make_unique<TPrintSMS>());
    m_pPrintSperrRnr = make(std::make_unique<TPrintSperrRnr>());
    m_pPrintRAKEG = make(std::make_unique<TPrintRAKEG>());
    m_pPrintRAKAG = make(std::make_unique<TPrintRAKAG>());
    m_pPrintSystem = make(std::make_unique<TPrintSystem>());
    m_pPrintPG = make(std::make_unique<TPrintPG>());
    m_pPrintTln = make(std::make_unique<TPrintTln>());
    for (const auto& report : m_Reports)
        if (report.get() != m_pPrintRAKEG)
            report->Init(m_pRes, m_pDoc);
    m_pPrintRAKEG->Init(m_pRes, m_pDoc);
}

TSetDruckenDlg::~TSetDruckenDlg() = default;

int TSetDruckenDlg::Run(QWidget* owner, std::uint8_t kind, TMoxDocument* doc, TkResourcen* res,
                        int mode) {
    TSetDruckenDlg dlg(owner, kind, doc, res, mode);
    return dlg.exec();
}

bool TSetDruckenDlg::HasCurrentPart(std::uint8_t kind) {
    return kind == 2 || (kind >= 4 && kind <= 16) || kind == 18 || (kind >= 21 && kind <= 25) ||
           kind == 27 || kind == 28;
}

std::uint8_t TSetDruckenDlg::SelectedKind() const {
    // The choice is read anew for every job: a preview of everything
    // followed by a print of the current part prints the current part.
    return ui->m_pPrintBoxItem1->isChecked() ? kKindEverything : m_nKind;
}

void TSetDruckenDlg::OnDruck() {
    Select(SelectedKind(), false);
    done(1);
}

void TSetDruckenDlg::OnVorschau() {
    Select(SelectedKind(), true);
    setResult(0);
}

void TSetDruckenDlg::OnSettings() {
    TReportPrinter::SetupDialog(this);
    OnClosePrintHlpDlg();
}

void TSetDruckenDlg::OnClosePrintHlpDlg() {
    setResult(0);
}

void TSetDruckenDlg::OnCancel() {
    done(2);
}

TReport* TSetDruckenDlg::MfeReport() const {
    switch (m_pDoc ? m_pDoc->GetMfeMode() : 0) {
    case 1:
        return m_pPrintSensor->GetReport();
    case 2:
        return m_pPrintSchaltuhr->GetReport();
    case 3:
        return m_pPrintEtagenruf->GetReport();
    default:
        return m_pPrintNoFunction->GetReport();
    }
}

IPrintJob* TSetDruckenDlg::JobOf(std::uint8_t kind) {
    switch (kind) {
    case 2:
        return m_pPrintGeraete->GetReport();
    case 5:
        return m_pPrintMoxKonf->GetReport();
    case 6:
        return m_pPrintSperrRnr->GetReport();
    case 7:
        return m_pPrintSMS->GetReport();
    case 8:
    case 9:
        return m_pPrintKMR->GetReport();
    case 11:
        return m_pPrintRAKEG->GetCompositeReport();
    case 12:
        return m_pPrintRAKAG->GetReport();
    case 14:
    case 17:
        return m_pPrintITKonf->GetReport();
    case 15:
        return MfeReport();
    case 16:
        return m_pPrintITMfr->GetReport();
    case 18:
        return m_pPrintITSchaltcode->GetReport();
    case 21:
    case 22:
        return m_pPrintBSM->GetReport();
    case 24:
    case 26:
        return m_pPrintTln->GetReport();
    case 25:
        return m_pPrintPG->GetReport();
    case 27:
    case 28:
        return m_pPrintSystem->GetReport();
    default:
        return m_pCompositeReport.get();
    }
}

void TSetDruckenDlg::Select(std::uint8_t kind, bool preview) {
    DbgOut(eDbgView, "<TSetDruckenDlg::Select> kind(%d) preview(%d)", kind, preview ? 1 : 0);
    m_nSelectKind = kind;
    IPrintJob* job = JobOf(kind);
    if (preview) {
        job->Preview(this);
        return;
    }
    job->Prepare();
    // A job without a page (no controller, say) would send the printer an
    // empty job, or a blank sheet: nothing to print, so no print dialog.
    if (job->Pages().pages.empty()) {
        DbgOut(eDbgView, "<TSetDruckenDlg::Select> nothing to print");
        return;
    }
    if (job->PrinterSetup(this) && !job->Print())
        DbgOut(eDbgView, "<TSetDruckenDlg::Select> the printer failed");
}

void TSetDruckenDlg::AddRAK(TCompositeReport& composite) {
    if (!m_pDoc || m_pDoc->GetTypeRAK() == 0)
        return;
    // Preparing the inputs' composite fills its list of per-input reports.
    m_pPrintRAKEG->GetCompositeReport()->Prepare();
    for (int i = 0; i < m_pPrintRAKEG->GetReportCount(); ++i)
        composite.Add(m_pPrintRAKEG->GetReport(i));
    composite.Add(m_pPrintRAKAG->GetReport());
}

void TSetDruckenDlg::AddIT(TCompositeReport& composite, bool expert, std::uint8_t typeIT) {
    composite.Add(MfeReport());
    composite.Add(m_pPrintITMfr->GetReport());
    if (expert)
        composite.Add(m_pPrintSMS->GetReport());
    if (TypeWithBarredNumbers(typeIT))
        composite.Add(m_pPrintITSchaltcode->GetReport());
    composite.Add(m_pPrintITKonf->GetReport());
}

void TSetDruckenDlg::OnAddReports(TCompositeReport& composite) {
    if (!m_pDoc)
        return;
    const std::uint8_t typeIT = m_pDoc->GetTypeIT();
    const bool expert = m_nMode == kModeExpert;
    switch (m_nSelectKind) {
    case 4:
        composite.Add(m_pPrintMoxKonf->GetReport());
        if (TypeWithBarredNumbers(typeIT))
            composite.Add(m_pPrintSperrRnr->GetReport());
        composite.Add(m_pPrintTln->GetReport());
        composite.Add(m_pPrintPG->GetReport());
        break;
    case 10:
        AddRAK(composite);
        break;
    case 13:
        AddIT(composite, expert, typeIT);
        break;
    case 23:
        composite.Add(m_pPrintTln->GetReport());
        composite.Add(m_pPrintPG->GetReport());
        break;
    default:
        composite.Add(m_pPrintGeraete->GetReport());
        composite.Add(m_pPrintMoxKonf->GetReport());
        if (TypeWithBarredNumbers(typeIT))
            composite.Add(m_pPrintSperrRnr->GetReport());
        composite.Add(m_pPrintTln->GetReport());
        composite.Add(m_pPrintPG->GetReport());
        AddIT(composite, expert, typeIT);
        if (m_pDoc->GetTypeKMR() != 0)
            composite.Add(m_pPrintKMR->GetReport());
        AddRAK(composite);
        if (m_pDoc->GetTypeBSM() != 0)
            composite.Add(m_pPrintBSM->GetReport());
        if (expert)
            composite.Add(m_pPrintSystem->GetReport());
        break;
    }
}
