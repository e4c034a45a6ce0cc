#include "TPrintITSchaltcode.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

TPrintITSchaltcode::TPrintITSchaltcode() : TPrintBasis("TPrintITSchaltcode") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 16);
    QRLabel1 = Heading(title, "QRLabel1", 110);
    Caption(title, "QRLabel2", 0, 10, 106, true);
    Caption(title, "QRLabel3", 40, 10, 105, true);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", kLine);
    m_pTuerCode = Value(detail, "m_pTuerCode", 0, 0);
    m_pTuerAktiv = Value(detail, "m_pTuerAktiv", 20, 0);
    m_pTuerText = Value(detail, "m_pTuerText", 40, 0, kWidth - 40);
    title->LinkBand = detail;
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
    r.OnNeedData = [this](TReport& rep) { return OnNeedData(rep); };
}

void TPrintITSchaltcode::BeforePrint(TReport&) {
    m_nRow = 0;
}

bool TPrintITSchaltcode::OnNeedData(TReport&) {
    if (!m_pDoc || m_nRow >= m_pDoc->GetAnzSchaltcode())
        return false;
    const auto i = static_cast<std::uint8_t>(m_nRow);
    m_pTuerCode->Caption = QStringLiteral("#%1").arg(71 + m_nRow);
    std::uint16_t adr = 0;
    const bool have = m_pDoc->GetSchaltcodeAdr(i, &adr);
    m_pTuerAktiv->Caption = have && adr != 0 ? QStringLiteral("X") : QString();
    m_pTuerText->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetSchaltcodeText(i, b, n); });
    ++m_nRow;
    return true;
}
