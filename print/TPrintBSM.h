#pragma once
// TPrintBSM: the relays of the bus switching module, codes #51 to #56,
// whether each has a bus address, and its text.

#include "TPrintBasis.h"

class TPrintBSM : public TPrintBasis {
public:
    TPrintBSM();

    void BeforePrint(TReport& report);
    bool OnNeedData(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pBSMCode = nullptr;
    TReportLabel* m_pBSMAktiv = nullptr;
    TReportLabel* m_pBSMText = nullptr;
    int m_nRow = 0;
};
