#include "TPrintRAKAG.h"

#include "PrintFormat.h"
#include "PrintTextIds.h"
#include "TMoxDocument.h"

namespace {
constexpr int kOutputNameFirst = 321; // outputs 1..12: texts 321..332
} // namespace

TPrintRAKAG::TPrintRAKAG() : TPrintBasis("TPrintRAKAG") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 10);
    QRLabel2 = Heading(title, "QRLabel2", 228);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 5 * kLine + 2);
    m_pLabelSensorIdx = Value(detail, "m_pLabelSensorIdx", 0, 1);
    m_pLabelSensorIdx->Bold = true;
    double y = 1 + kLine;
    m_pAktorMode = Value(detail, "m_pAktorMode", 5, y, kWidth - 5);
    y += kLine;
    m_pPGLabel = Value(detail, "m_pPGLabel", 5, y);
    m_pPG = Value(detail, "m_pPG", 85, y);
    Caption(detail, "Caption344", 110, y, 344);
    m_pSprache = Value(detail, "m_pSprache", 145, y);
    y += kLine;
    m_pText = Row(detail, y, 270, "m_pText", 5, 85, kWidth - 85);
    title->LinkBand = detail;
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
    r.OnNeedData = [this](TReport& rep) { return OnNeedData(rep); };
}

void TPrintRAKAG::BeforePrint(TReport&) {
    m_nRow = 0;
}

bool TPrintRAKAG::OnNeedData(TReport&) {
    if (!m_pDoc || m_nRow >= m_pDoc->GetAnzRAK())
        return false;
    const auto i = static_cast<std::uint8_t>(m_nRow);
    m_pLabelSensorIdx->Caption = Text(kOutputNameFirst + m_nRow);
    std::uint16_t tlnIdx = kTlnNone;
    const std::uint8_t mode = m_pDoc->GetRAKAusgangMode(i, &tlnIdx);
    switch (mode) {
    case 1:
        m_pAktorMode->Caption = Text(342);
        break;
    case 2:
        m_pAktorMode->Caption = Text(343);
        break;
    case 3:
        m_pAktorMode->Caption = Text(341);
        break;
    default:
        m_pAktorMode->Caption = Text(prtxt::kNone);
        break;
    }
    FillTlnRow(m_pPGLabel, m_pPG, mode, tlnIdx);
    m_pSprache->Caption = YesNo(m_pDoc->GetRAKAusgangSprache(i));
    m_pText->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetSchaltausgangsText(i, b, n); });
    ++m_nRow;
    return true;
}
