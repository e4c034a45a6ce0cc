#include "TPrintSMS.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

namespace {
constexpr int kSMSRows = 10;
constexpr int kUCP = 506;
constexpr int kTAP = 507;
// Columns, mm: the provider's name of 15 and the number of 24 of the
// widest characters each on one line.
constexpr double kProvider = 7;
constexpr double kRnr = 66;
constexpr double kProtokoll = 140;
} // namespace

TPrintSMS::TPrintSMS() : TPrintBasis("TPrintSMS") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 16);
    QRLabel1 = Heading(title, "QRLabel1", 230);
    Caption(title, "QRLabel2", 0, 10, 501, true);
    Caption(title, "QRLabel3", kProvider, 10, 502, true);
    Caption(title, "QRLabel4", kRnr, 10, 503, true);
    Caption(title, "QRLabel5", kProtokoll, 10, 504, true);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", kLine);
    m_pSMSIndex = Value(detail, "m_pSMSIndex", 0, 0);
    m_pSMSProvider = Value(detail, "m_pSMSProvider", kProvider, 0, kRnr - kProvider - 1);
    m_pSMSRnr = Value(detail, "m_pSMSRnr", kRnr, 0, kProtokoll - kRnr - 1);
    m_pSMSProtokoll = Value(detail, "m_pSMSProtokoll", kProtokoll, 0);
    TReportBand* summary = r.AddBand(eBandType::Summary, "SummaryBand", 4);
    title->LinkBand = detail;
    detail->LinkBand = summary;
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
    r.OnNeedData = [this](TReport& rep) { return OnNeedData(rep); };
}

void TPrintSMS::BeforePrint(TReport&) {
    m_nRow = 0;
}

bool TPrintSMS::OnNeedData(TReport&) {
    if (!m_pDoc || m_nRow >= kSMSRows)
        return false;
    const auto i = static_cast<std::uint8_t>(m_nRow);
    m_pSMSIndex->Caption = QString::number(m_nRow + 1);
    m_pSMSProvider->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetSMSProvider(i, b, n); });
    m_pSMSRnr->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetSMSRnr(i, b, n); });
    switch (m_pDoc->GetSMSProtokoll(i)) {
    case 1:
        m_pSMSProtokoll->Caption = Text(kUCP);
        break;
    case 2:
        m_pSMSProtokoll->Caption = Text(kTAP);
        break;
    default:
        m_pSMSProtokoll->Caption.clear();
        break;
    }
    ++m_nRow;
    return true;
}
