#include "TPrintSystem.h"

#include "TMoxDocument.h"

namespace {
constexpr int kUnitSeconds = 297;
constexpr int kSprachwaage = 163;
constexpr double kUnitLeft = 110;
} // namespace

TPrintSystem::TPrintSystem() : TPrintBasis("TPrintSystem") {
    TReport& r = *m_pReport;
    TReportBand* detail = r.AddBand(eBandType::Detail, "DetailBand", 10);
    QRLabel1 = Heading(detail, "QRLabel1", 290);
    double y = 10;
    auto timeRow = [&](int tag, const char* name) {
        const double rowY = y;
        TReportLabel* value = Row(detail, y, tag, name);
        Caption(detail, "Unit" + std::to_string(tag), kUnitLeft, rowY, kUnitSeconds);
        return value;
    };
    auto levelRow = [&](int tag, const char* name) {
        const double rowY = y;
        TReportLabel* value = Row(detail, y, tag, name);
        detail->AddLabel("UnitDb" + std::to_string(tag), kUnitLeft, rowY, QStringLiteral("dB"));
        return value;
    };
    m_pTuerruf = timeRow(291, "m_pTuerruf");
    m_pVerbDauer = timeRow(292, "m_pVerbDauer");
    m_pTuermatikVerz = timeRow(298, "m_pTuermatikVerz");
    m_pMfr = timeRow(294, "m_pMfr");
    m_pKettenruf = timeRow(295, "m_pKettenruf");
    m_pPegelKommend = levelRow(289, "m_pPegelKommend");
    m_pPegelGehend = levelRow(284, "m_pPegelGehend");
    m_pNachtriggern = Row(detail, y, 288, "m_pNachtriggern");
    m_pSprache = Row(detail, y, 264, "m_pSprache");
    // The voice balance under its own name (the system page's), not a
    // second "voice output" that leaves the two rows indistinguishable.
    m_pSprachwaage = Row(detail, y, kSprachwaage, "m_pSprachwaage");
    r.BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TPrintSystem::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const TMoxDocument& d = *m_pDoc;
    m_pTuerruf->Caption = QString::number(d.GetTuerrufannahme());
    m_pVerbDauer->Caption = QString::number(d.GetTuerrufdauer());
    m_pTuermatikVerz->Caption = QString::number(d.GetTuermatik());
    m_pMfr->Caption = QString::number(d.GetSchaltdauerMfr());
    m_pKettenruf->Caption = QString::number(d.GetKettenruf());
    // Levels with one decimal, always with a point: the printout reads the
    // same whatever the locale.
    m_pPegelKommend->Caption = QString::number(d.GetPegelKommend(), 'f', 1);
    m_pPegelGehend->Caption = QString::number(d.GetPegelGehend(), 'f', 1);
    m_pNachtriggern->Caption = QString::number(d.GetNachtriggern());
    m_pSprache->Caption = YesNo(d.GetSprachausgabe());
    m_pSprachwaage->Caption = YesNo(d.GetSprachwaage());
}
