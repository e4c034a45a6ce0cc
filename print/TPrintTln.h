#pragma once
// TPrintTln: the subscribers, one row each: number (letter for door-
// interface type 3), call number, video, and for type 2 whether the
// subscriber has a bus address.

#include "TPrintBasis.h"

class TPrintTln : public TPrintBasis {
public:
    TPrintTln();

    void BeforePrint(TReport& report);
    bool OnNeedData(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pIndexLabel = nullptr;
    TReportLabel* m_pRnrLabel = nullptr;
    TReportLabel* QRLabel4 = nullptr;
    TReportLabel* m_pTlnIndex = nullptr;
    TReportLabel* m_pTlnRnr = nullptr;
    TReportLabel* m_pVideo = nullptr;
    TReportLabel* m_pTlnBelegt = nullptr;
    int m_nRow = 0;
};
