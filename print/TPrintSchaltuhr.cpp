#include "TPrintSchaltuhr.h"

#include "TMoxDocument.h"

TPrintSchaltuhr::TPrintSchaltuhr() : TPrintBasis("TPrintSchaltuhr") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 16);
    QRLabel2 = Heading(title, "QRLabel2", 225);
    label = Caption(title, "label", 0, 9, 277, true);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 12);
    m_pMode = Value(detail, "m_pMode", 0, 0, kWidth);
    m_pPGLabel = Caption(detail, "m_pPGLabel", 0, kLine, 273);
    m_pPG = Value(detail, "m_pPG", 85, kLine);
    title->LinkBand = detail;
    detail->BeforePrint = [this](TReportBand& band, bool& print) { BeforeBandPrint(band, print); };
}

void TPrintSchaltuhr::BeforeBandPrint(TReportBand&, bool&) {
    if (!m_pDoc)
        return;
    std::uint8_t tuermatikPG = 0;
    std::uint8_t diversionPG = 0;
    const bool tuermatik = m_pDoc->GetMfeTuermatikPGIdx(&tuermatikPG);
    const bool diversion = m_pDoc->GetMfeDiversionPGIdx(&diversionPG);
    FillSchaltuhr(m_pMode, m_pPG, tuermatik, tuermatikPG, diversion, diversionPG,
                  m_pDoc->GetMfeConcierge());
}
