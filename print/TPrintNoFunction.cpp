#include "TPrintNoFunction.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

TPrintNoFunction::TPrintNoFunction() : TPrintBasis("TPrintNoFunction") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 16);
    QRLabel2 = Heading(title, "QRLabel2", 225);
    Caption(title, "Caption275", 0, 9, 275, true);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", kLine);
    double y = 0;
    m_pText = Row(detail, y, 270, "m_pText", 0, 85, kWidth - 85);
    title->LinkBand = detail;
    detail->BeforePrint = [this](TReportBand& band, bool& print) { BeforeBandPrint(band, print); };
}

void TPrintNoFunction::BeforeBandPrint(TReportBand&, bool&) {
    if (!m_pDoc)
        return;
    m_pText->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetEtagenrufText(b, n); });
}
