#include "TPrintRAKEG.h"

#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TRAK_NoFunction.h"
#include "TRAK_Schaltuhr.h"
#include "TRAK_Sensor.h"

TPrintRAKEG::TPrintRAKEG()
    : TPrintBasis("TPrintRAKEG"), m_pCompositeReport(std::make_unique<TCompositeReport>()) {
    m_pCompositeReport->ReportTitle = QStringLiteral("KTX");
    m_pCompositeReport->OnAddReports = [this](TCompositeReport& c) { OnAddReports(c); };
}

TPrintRAKEG::~TPrintRAKEG() = default;

void TPrintRAKEG::Init(TkResourcen* res, TMoxDocument* doc) {
    TPrintBasis::Init(res, doc);
    // The composite refers to the old reports until it is prepared again.
    m_pCompositeReport->Clear();
    m_Inputs.clear();
    const std::uint8_t count = doc ? doc->GetAnzRAK() : 0;
    for (std::uint8_t i = 0; i < count; ++i) {
        std::unique_ptr<TRAK_Input> report;
        switch (doc->GetRAKEingangMode(i)) {
        case 1:
            report = std::make_unique<TRAK_Sensor>();
            break;
        case 2:
            report = std::make_unique<TRAK_Schaltuhr>();
            break;
        default:
            report = std::make_unique<TRAK_NoFunction>();
            break;
        }
        report->SetInput(i);
        report->Init(res, doc);
        m_Inputs.push_back(std::move(report));
    }
}

void TPrintRAKEG::OnAddReports(TCompositeReport& composite) {
    for (const auto& input : m_Inputs)
        composite.Add(input->GetReport());
}

int TPrintRAKEG::GetReportCount() const {
    return m_pCompositeReport ? static_cast<int>(m_pCompositeReport->Reports().size()) : 0;
}

TReport* TPrintRAKEG::GetReport(int nIdx) const {
    MOX_INVARIANT(m_pCompositeReport && (nIdx >= 0) &&
                  (nIdx < static_cast<int>(m_pCompositeReport->Reports().size())));
    return m_pCompositeReport->Reports()[static_cast<std::size_t>(nIdx)];
}
