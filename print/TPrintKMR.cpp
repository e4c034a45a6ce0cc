#include "TPrintKMR.h"

#include "TMoxDocument.h"

namespace {
constexpr int kKameraTyp1 = 390;
constexpr int kKameraTypOther = 391;
} // namespace

TPrintKMR::TPrintKMR() : TPrintBasis("TPrintKMR") {
    TReport& r = *m_pReport;
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 10);
    QRLabel1 = Heading(detail, "QRLabel1", 233);
    double y = 10;
    m_pKMRKamera = Row(detail, y, 380, "m_pKMRKamera");
    m_pKMRBandbreite = Row(detail, y, 382, "m_pKMRBandbreite");
    m_pKMRKontrast = Row(detail, y, 383, "m_pKMRKontrast");
    m_pKMRHelligkeit = Row(detail, y, 384, "m_pKMRHelligkeit");
    m_pKMRSaettigung = Row(detail, y, 385, "m_pKMRSaettigung");
    m_pKMRBildqual = Row(detail, y, 387, "m_pKMRBildqual");
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TPrintKMR::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    m_pKMRKamera->Caption = Text(d.GetKMRKameratyp() == 1 ? kKameraTyp1 : kKameraTypOther);
    m_pKMRBandbreite->Caption = QString::number(d.GetKMRBandbreite());
    auto number = [](bool have, std::uint8_t v) { return have ? QString::number(v) : QString(); };
    std::uint8_t v = 0;
    bool have = d.GetKMRKontrast(&v);
    m_pKMRKontrast->Caption = number(have, v);
    have = d.GetKMRHelligkeit(&v);
    m_pKMRHelligkeit->Caption = number(have, v);
    have = d.GetKMRSaettigung(&v);
    m_pKMRSaettigung->Caption = number(have, v);
    have = d.GetKMRCodierqual(&v);
    m_pKMRBildqual->Caption = number(have, v);
}
