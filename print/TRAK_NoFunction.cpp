#include "TRAK_NoFunction.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

namespace {
constexpr int kInput = 276;
} // namespace

TRAK_NoFunction::TRAK_NoFunction() : TPrintBasis("TRAK_NoFunction") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 10);
    QRLabel1 = Heading(title, "QRLabel1", 227);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 3 * kLine);
    m_pLabelSensorIdx = Value(detail, "m_pLabelSensorIdx", 0, 0);
    m_pLabelSensorIdx->Bold = true;
    m_pLabelMode = Caption(detail, "m_pLabelMode", 0, kLine, 275);
    label = Caption(detail, "label", 0, 2 * kLine, 270);
    m_pText = Value(detail, "m_pText", 85, 2 * kLine, kWidth - 85);
    title->LinkBand = detail;
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TRAK_NoFunction::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const std::uint8_t i = m_nInput;
    m_pLabelSensorIdx->Caption = Text(kInput) + QLatin1Char(' ') + QString::number(i + 1);
    m_pText->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetMeldeeingangsText(i, b, n); });
}
