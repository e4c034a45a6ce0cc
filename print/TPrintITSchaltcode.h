#pragma once
// TPrintITSchaltcode: the door interface's switching codes #71 to #76,
// whether each has a bus address, and its text.

#include "TPrintBasis.h"

class TPrintITSchaltcode : public TPrintBasis {
public:
    TPrintITSchaltcode();

    void BeforePrint(TReport& report);
    bool OnNeedData(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pTuerCode = nullptr;
    TReportLabel* m_pTuerAktiv = nullptr;
    TReportLabel* m_pTuerText = nullptr;
    int m_nRow = 0;
};
