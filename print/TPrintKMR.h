#pragma once
// TPrintKMR: the camera device's settings.

#include "TPrintBasis.h"

class TPrintKMR : public TPrintBasis {
public:
    TPrintKMR();

    void BeforePrint(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pKMRKamera = nullptr;
    TReportLabel* m_pKMRBandbreite = nullptr;
    TReportLabel* m_pKMRKontrast = nullptr;
    TReportLabel* m_pKMRHelligkeit = nullptr;
    TReportLabel* m_pKMRSaettigung = nullptr;
    TReportLabel* m_pKMRBildqual = nullptr;
};
