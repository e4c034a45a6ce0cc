#include "TPrintEtagenruf.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

TPrintEtagenruf::TPrintEtagenruf() : TPrintBasis("TPrintEtagenruf") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 16);
    QRLabel2 = Heading(title, "QRLabel2", 225);
    Caption(title, "Caption278", 0, 9, 278, true);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 12);
    double y = 0;
    m_pEtagenRnr = Row(detail, y, 153, "m_pEtagenRnr", 0, 85, kWidth - 85);
    m_pEtagenText = Row(detail, y, 270, "m_pEtagenText", 0, 85, kWidth - 85);
    title->LinkBand = detail;
    detail->BeforePrint = [this](TReportBand& band, bool& print) { BeforeBandPrint(band, print); };
}

void TPrintEtagenruf::BeforeBandPrint(TReportBand&, bool&) {
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    m_pEtagenRnr->Caption =
        DocText([&](char* b, std::size_t n) { return d.GetMfeEtagenruf(b, n); });
    m_pEtagenText->Caption =
        DocText([&](char* b, std::size_t n) { return d.GetEtagenrufText(b, n); });
}
