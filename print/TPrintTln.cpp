#include "TPrintTln.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

namespace {
// Only type 2 programs bus addresses from the program; the other types'
// addresses say nothing to the user.
constexpr std::uint8_t kTypeITBusAdr = 2;
} // namespace

TPrintTln::TPrintTln() : TPrintBasis("TPrintTln") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 16);
    QRLabel1 = Heading(title, "QRLabel1", 254);
    m_pIndexLabel = Caption(title, "m_pIndexLabel", 0, 10, 501, true);
    m_pRnrLabel = Caption(title, "m_pRnrLabel", 20, 10, 251, true);
    QRLabel4 = Caption(title, "QRLabel4", 95, 10, 252, true);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", kLine);
    m_pTlnIndex = Value(detail, "m_pTlnIndex", 0, 0);
    m_pTlnRnr = Value(detail, "m_pTlnRnr", 20, 0, 70);
    m_pVideo = Value(detail, "m_pVideo", 95, 0);
    m_pTlnBelegt = Value(detail, "m_pTlnBelegt", 125, 0);
    TReportBand* summary = r.AddBand(eBandType::Summary, "SummaryBand", 4);
    title->LinkBand = detail;
    detail->LinkBand = summary;
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
    r.OnNeedData = [this](TReport& rep) { return OnNeedData(rep); };
}

void TPrintTln::BeforePrint(TReport&) {
    m_nRow = 0;
    m_pTlnBelegt->Caption.clear();
}

bool TPrintTln::OnNeedData(TReport&) {
    if (!m_pDoc || m_nRow >= m_pDoc->GetAnzTln())
        return false;
    const auto i = static_cast<std::uint8_t>(m_nRow);
    m_pTlnIndex->Caption = TlnRef(i);
    m_pTlnRnr->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetTlnRnr(i, b, n); });
    m_pVideo->Caption = YesNo(m_pDoc->GetTlnVideo(i));
    if (TypeIT() == kTypeITBusAdr)
        m_pTlnBelegt->Caption = m_pDoc->GetTlnBusAdr(i) != 0 ? QStringLiteral("X") : QString();
    ++m_nRow;
    return true;
}
