#include "TRAK_Sensor.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

namespace {
constexpr int kInput = 276; // "input" before its number
} // namespace

TRAK_Sensor::TRAK_Sensor() : TRAK_Input("TRAK_Sensor", 10) {
    label = Caption(Detail(), "label", 0, kLine, kInput);
    double y = 2 * kLine;
    AddSensorRows(Detail(), y, m_Rows);
    m_pReport->BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TRAK_Sensor::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    const std::uint8_t i = m_nInput;
    ShowInputNumber();
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
