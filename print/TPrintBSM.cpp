#include "TPrintBSM.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

TPrintBSM::TPrintBSM() : TPrintBasis("TPrintBSM") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 16);
    QRLabel1 = Heading(title, "QRLabel1", 100);
    Caption(title, "QRLabel2", 0, 10, 106, true);
    Caption(title, "QRLabel3", 40, 10, 105, true);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", kLine);
    m_pBSMCode = Value(detail, "m_pBSMCode", 0, 0);
    m_pBSMAktiv = Value(detail, "m_pBSMAktiv", 20, 0);
    m_pBSMText = Value(detail, "m_pBSMText", 40, 0, kWidth - 40);
    TReportBand* summary = r.AddBand(eBandType::Summary, "SummaryBand", 4);
    title->LinkBand = detail;
    detail->LinkBand = summary;
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
    r.OnNeedData = [this](TReport& rep) { return OnNeedData(rep); };
}

void TPrintBSM::BeforePrint(TReport&) {
    m_nRow = 0;
}

bool TPrintBSM::OnNeedData(TReport&) {
    if (!m_pDoc || m_nRow >= m_pDoc->GetAnzBSMRelais())
        return false;
    const auto i = static_cast<std::uint8_t>(m_nRow);
    m_pBSMCode->Caption = QStringLiteral("#%1").arg(51 + m_nRow);
    std::uint16_t adr = 0;
    std::uint8_t relais = 0;
    const bool have = m_pDoc->GetBSMRelais(i, &adr, &relais);
    m_pBSMAktiv->Caption = have && adr != 0 ? QStringLiteral("X") : QString();
    m_pBSMText->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetBSMRelaisText(i, b, n); });
    ++m_nRow;
    return true;
}
