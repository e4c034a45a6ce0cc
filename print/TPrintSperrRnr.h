#pragma once
// TPrintSperrRnr: the four barred numbers.

#include "TPrintBasis.h"

class TPrintSperrRnr : public TPrintBasis {
public:
    TPrintSperrRnr();

    void BeforePrint(TReport& report);
    bool OnNeedData(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pSperrIndex = nullptr;
    TReportLabel* m_pSperrRnr = nullptr;
    int m_nRow = 0;
};
