#include "TPrintGeraete.h"

#include "TMoxDocument.h"

namespace {
constexpr int kPresent = 364;
constexpr int kAbsent = 363;
constexpr int kCameraMark = 375;
// The camera choice that puts the camera on the camera device; any other
// puts it on the universal controller.
constexpr std::uint8_t kKameraKMR = 2;
} // namespace

TPrintGeraete::TPrintGeraete() : TPrintBasis("TPrintGeraete") {
    TReport& r = *m_pReport;
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 10);
    QRLabel1 = Heading(detail, "QRLabel1", 360);
    double y = 10;
    m_pIT = Row(detail, y, 370, "m_pIT");
    m_pKMR = Row(detail, y, 361, "m_pKMR");
    m_pKMRKamera = Value(detail, "m_pKMRKamera", 85, y);
    y += kLine;
    m_pBSM = Row(detail, y, 373, "m_pBSM");
    m_pEIB = Row(detail, y, 372, "m_pEIB");
    m_pEIBKamera = Value(detail, "m_pEIBKamera", 85, y);
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TPrintGeraete::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    switch (d.GetTypeIT()) {
    case 1:
        m_pIT->Caption = Text(365);
        break;
    case 2:
        m_pIT->Caption = Text(366);
        break;
    case 3:
        m_pIT->Caption = Text(376);
        break;
    default:
        m_pIT->Caption.clear();
        break;
    }
    const bool kmr = d.GetTypeKMR() == 1;
    const bool eib = d.GetTypeRAK() == 1;
    m_pKMR->Caption = Text(kmr ? kPresent : kAbsent);
    m_pBSM->Caption = Text(d.GetTypeBSM() == 1 ? kPresent : kAbsent);
    m_pEIB->Caption = Text(eib ? kPresent : kAbsent);
    const bool onKMR = d.GetKamera() == kKameraKMR;
    m_pKMRKamera->Caption = onKMR && kmr ? Text(kCameraMark) : QString();
    m_pEIBKamera->Caption = !onKMR && eib ? Text(kCameraMark) : QString();
}
