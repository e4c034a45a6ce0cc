#include "TPrintSensor.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

TPrintSensor::TPrintSensor() : TPrintBasis("TPrintSensor") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 16);
    QRLabel2 = Heading(title, "QRLabel2", 225);
    label = Caption(title, "label", 0, 9, 276, true);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 10);
    double y = 0;
    AddSensorRows(detail, y, m_Rows);
    title->LinkBand = detail;
    detail->BeforePrint = [this](TReportBand& band, bool& print) { BeforeBandPrint(band, print); };
}

void TPrintSensor::BeforeBandPrint(TReportBand&, bool&) {
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    SensorValues v;
    v.direktruf = d.GetMfeDirektruf();
    v.direktRnr = DocText([&](char* b, std::size_t n) { return d.GetMfeDirektRnr(b, n); });
    v.kettenruf = d.GetMfeKettenruf();
    v.kettenRnr = DocText([&](char* b, std::size_t n) { return d.GetMfeKettenRnr(b, n); });
    v.sprache = d.GetMfeSprache();
    v.smsImmer = d.GetMfeSMSImmer();
    v.smsKeinDirektruf = d.GetMfeSMSKeinDirektruf();
    v.smsKeinKettenruf = d.GetMfeSMSKeinKettenruf();
    v.smsVerbindung = d.GetMfeSMSVerbindung();
    std::uint8_t provider = 0xFF;
    v.smsRnr = DocText([&](char* b, std::size_t n) { return d.GetMfeSMSRnr(&provider, b, n); });
    v.providerIdx = provider;
    v.text = DocText([&](char* b, std::size_t n) { return d.GetEtagenrufText(b, n); });
    FillSensorRows(m_Rows, v);
}
