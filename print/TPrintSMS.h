#pragma once
// TPrintSMS: the ten SMS providers with name, number and protocol.

#include "TPrintBasis.h"

class TPrintSMS : public TPrintBasis {
public:
    TPrintSMS();

    void BeforePrint(TReport& report);
    bool OnNeedData(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pSMSIndex = nullptr;
    TReportLabel* m_pSMSProvider = nullptr;
    TReportLabel* m_pSMSRnr = nullptr;
    TReportLabel* m_pSMSProtokoll = nullptr;
    int m_nRow = 0;
};
