#pragma once
// TPrintRAKAG: the universal controller's twelve switching outputs: mode,
// subscriber for the modes tied to one, speech and text.

#include "TPrintBasis.h"

class TPrintRAKAG : public TPrintBasis {
public:
    TPrintRAKAG();

    void BeforePrint(TReport& report);
    bool OnNeedData(TReport& report);

private:
    TReportLabel* QRLabel2 = nullptr;
    TReportLabel* m_pLabelSensorIdx = nullptr;
    TReportLabel* m_pAktorMode = nullptr;
    TReportLabel* m_pPGLabel = nullptr;
    TReportLabel* m_pPG = nullptr;
    TReportLabel* m_pSprache = nullptr;
    TReportLabel* m_pText = nullptr;
    int m_nRow = 0;
};
