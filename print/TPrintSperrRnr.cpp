#include "TPrintSperrRnr.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

namespace {
constexpr int kSperrRows = 4;
} // namespace

TPrintSperrRnr::TPrintSperrRnr() : TPrintBasis("TPrintSperrRnr") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 16);
    QRLabel1 = Heading(title, "QRLabel1", 236);
    Caption(title, "QRLabel2", 0, 10, 501, true);
    Caption(title, "QRLabel3", 20, 10, 262, true);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", kLine);
    m_pSperrIndex = Value(detail, "m_pSperrIndex", 0, 0);
    m_pSperrRnr = Value(detail, "m_pSperrRnr", 20, 0, 100);
    title->LinkBand = detail;
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
    r.OnNeedData = [this](TReport& rep) { return OnNeedData(rep); };
}

void TPrintSperrRnr::BeforePrint(TReport&) {
    m_nRow = 0;
}

bool TPrintSperrRnr::OnNeedData(TReport&) {
    if (!m_pDoc || m_nRow >= kSperrRows)
        return false;
    const auto i = static_cast<std::uint8_t>(m_nRow);
    m_pSperrIndex->Caption = QString::number(m_nRow + 1);
    m_pSperrRnr->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetSperrnr(i, b, n); });
    ++m_nRow;
    return true;
}
