#include "TRAK_Input.h"

#include <utility>

namespace {
constexpr int kTitle = 227;
constexpr int kInput = 276; // "input" before its number
} // namespace

TRAK_Input::TRAK_Input(std::string reportName, double detailHeight)
    : TPrintBasis(std::move(reportName)) {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 10);
    QRLabel1 = Heading(title, "QRLabel1", kTitle);
    m_pDetail = r.AddBand(eBandType::Detail, "DetailBand", detailHeight);
    m_pLabelSensorIdx = Value(m_pDetail, "m_pLabelSensorIdx", 0, 0);
    m_pLabelSensorIdx->Bold = true;
    title->LinkBand = m_pDetail;
}

void TRAK_Input::ShowInputNumber() {
    m_pLabelSensorIdx->Caption = Text(kInput) + QLatin1Char(' ') + QString::number(m_nInput + 1);
}
