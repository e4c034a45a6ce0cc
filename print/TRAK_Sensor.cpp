#include "TRAK_Sensor.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

namespace {
constexpr int kInput = 276; // "input" before its number
} // namespace

TRAK_Sensor::TRAK_Sensor() : TPrintBasis("TRAK_Sensor") {
    TReport& r = *m_pReport;
    TReportBand* title = r.AddBand(eBandType::Title, "TitleBand", 10);
    QRLabel1 = Heading(title, "QRLabel1", 227);
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 10);
    m_pLabelSensorIdx = Value(detail, "m_pLabelSensorIdx", 0, 0);
    m_pLabelSensorIdx->Bold = true;
    label = Caption(detail, "label", 0, kLine, kInput);
    double y = 2 * kLine;
    AddSensorRows(detail, y, m_Rows);
    title->LinkBand = detail;
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TRAK_Sensor::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    const std::uint8_t i = m_nInput;
    m_pLabelSensorIdx->Caption = Text(kInput) + QLatin1Char(' ') + QString::number(i + 1);
    SensorValues v;
    v.direktruf = d.GetRAKEingangDirektruf(i);
    v.direktRnr =
        DocText([&](char* b, std::size_t n) { return d.GetRAKEingangDirektRnr(i, b, n); });
    v.kettenruf = d.GetRAKEingangKettenruf(i);
    v.kettenRnr =
        DocText([&](char* b, std::size_t n) { return d.GetRAKEingangKettenRnr(i, b, n); });
    v.sprache = d.GetRAKEingangSprache(i);
    v.smsImmer = d.GetRAKEingangSMSImmer(i);
    v.smsKeinDirektruf = d.GetRAKEingangSMSKeinDirektruf(i);
    v.smsKeinKettenruf = d.GetRAKEingangSMSKeinKettenruf(i);
    v.smsVerbindung = d.GetRAKEingangSMSVerbindung(i);
    std::uint8_t provider = 0xFF;
    v.smsRnr =
        DocText([&](char* b, std::size_t n) { return d.GetRAKEingangSMSRnr(i, &provider, b, n); });
    v.providerIdx = provider;
    v.text = DocText([&](char* b, std::size_t n) { return d.GetMeldeeingangsText(i, b, n); });
    FillSensorRows(m_Rows, v);
}
