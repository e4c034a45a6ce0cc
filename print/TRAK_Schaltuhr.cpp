#include "TRAK_Schaltuhr.h"

#include "TMoxDocument.h"

namespace {
constexpr int kInput = 276;
} // namespace

TRAK_Schaltuhr::TRAK_Schaltuhr() : TPrintBasis("TRAK_Schaltuhr") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 10);
    QRLabel1 = Heading(title, "QRLabel1", 227);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 4 * kLine);
    m_pLabelSensorIdx = Value(detail, "m_pLabelSensorIdx", 0, 0);
    m_pLabelSensorIdx->Bold = true;
    label = Caption(detail, "label", 0, kLine, 277);
    m_pMode = Value(detail, "m_pMode", 0, 2 * kLine, kWidth);
    m_pPGLabel = Caption(detail, "m_pPGLabel", 0, 3 * kLine, 273);
    m_pPG = Value(detail, "m_pPG", 85, 3 * kLine);
    title->LinkBand = detail;
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TRAK_Schaltuhr::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const std::uint8_t i = m_nInput;
    m_pLabelSensorIdx->Caption = Text(kInput) + QLatin1Char(' ') + QString::number(i + 1);
    std::uint8_t tuermatikPG = 0;
    std::uint8_t diversionPG = 0;
    const bool tuermatik = m_pDoc->GetRAKEingangTuermatikPGIdx(i, &tuermatikPG);
    const bool diversion = m_pDoc->GetRAKEingangDiversionPGIdx(i, &diversionPG);
    FillSchaltuhr(m_pMode, m_pPG, tuermatik, tuermatikPG, diversion, diversionPG,
                  m_pDoc->GetRAKEingangConcierge(i));
}
