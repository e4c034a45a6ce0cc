#include "TPrintITMfr.h"

#include "TMoxDocument.h"

TPrintITMfr::TPrintITMfr() : TPrintBasis("TPrintITMfr") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 10);
    QRLabel2 = Heading(title, "QRLabel2", 226);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 12);
    m_pMfrMode = Value(detail, "m_pMfrMode", 0, 0, kWidth);
    m_pPGLabel = Value(detail, "m_pPGLabel", 0, kLine);
    m_pPG = Value(detail, "m_pPG", 85, kLine);
    title->LinkBand = detail;
    detail->BeforePrint = [this](TReportBand& band, bool& print) { BeforeBandPrint(band, print); };
}

void TPrintITMfr::BeforeBandPrint(TReportBand&, bool&) {
    if (!m_pDoc)
        return;
    std::uint16_t tlnIdx = 0xFFFF;
    const std::uint8_t mode = m_pDoc->GetMfrMode(&tlnIdx);
    int text = 351;
    switch (mode) {
    case 1:
        text = 353;
        break;
    case 2:
        text = 354;
        break;
    case 4:
        text = 352;
        break;
    case 5:
        text = 348;
        break;
    case 6:
        text = 349;
        break;
    default:
        break;
    }
    m_pMfrMode->Caption = Text(text);
    FillTlnRow(m_pPGLabel, m_pPG, mode, tlnIdx);
}
