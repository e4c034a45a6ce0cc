#pragma once
// TPrintSystem: the system settings: times, levels, retriggering and the
// speech options.

#include "TPrintBasis.h"

class TPrintSystem : public TPrintBasis {
public:
    TPrintSystem();

    void BeforePrint(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pTuerruf = nullptr;
    TReportLabel* m_pVerbDauer = nullptr;
    TReportLabel* m_pTuermatikVerz = nullptr;
    TReportLabel* m_pMfr = nullptr;
    TReportLabel* m_pKettenruf = nullptr;
    TReportLabel* m_pPegelKommend = nullptr;
    TReportLabel* m_pPegelGehend = nullptr;
    TReportLabel* m_pNachtriggern = nullptr;
    TReportLabel* m_pSprache = nullptr;
    TReportLabel* m_pSprachwaage = nullptr;
};
