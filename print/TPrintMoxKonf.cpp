#include "TPrintMoxKonf.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

namespace {
constexpr int kLandFirst = 165; // countries 1..8
constexpr int kLandCount = 8;
constexpr int kSpracheFirst = 180; // languages 1..6
constexpr int kSpracheCount = 6;
} // namespace

TPrintMoxKonf::TPrintMoxKonf() : TPrintBasis("TPrintMoxKonf") {
    TReport& r = *m_pReport;
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 10);
    QRLabel1 = Heading(detail, "QRLabel1", 150);
    double y = 10;
    m_pLand = Row(detail, y, 151, "m_pLand");
    m_pSprache = Row(detail, y, 152, "m_pSprache");
    m_pRnr = Row(detail, y, 154, "m_pRnr", 0, 85, 80);
    y += 2;
    Caption(detail, "Caption160", 0, y, 160, true);
    y += kLine;
    m_pConAktiv = Row(detail, y, 161, "m_pConAktiv", 5);
    m_pDirektRnr = Row(detail, y, 162, "m_pDirektRnr", 5, 85, 80);
    m_pVideo = Row(detail, y, 252, "m_pVideo", 5);
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TPrintMoxKonf::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    const int land = d.GetLand();
    m_pLand->Caption = land >= 1 && land <= kLandCount ? Text(kLandFirst + land - 1) : QString();
    const int sprache = d.GetSprache();
    m_pSprache->Caption =
        sprache >= 1 && sprache <= kSpracheCount ? Text(kSpracheFirst + sprache - 1) : QString();
    m_pRnr->Caption = DocText([&](char* b, std::size_t n) { return d.GetRnr(b, n); });
    m_pConAktiv->Caption = YesNo(d.GetConciergeAktiv());
    m_pDirektRnr->Caption =
        DocText([&](char* b, std::size_t n) { return d.GetConciergeRnr(b, n); });
    m_pVideo->Caption = YesNo(d.GetConciergeVideo());
}
