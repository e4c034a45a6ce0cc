#pragma once
// TPrintGeraete: the devices of the installation: the door interface's
// type, whether camera device, switching module and universal controller
// are there, and which of the two carries the camera.

#include "TPrintBasis.h"

class TPrintGeraete : public TPrintBasis {
public:
    TPrintGeraete();

    void BeforePrint(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pIT = nullptr;
    TReportLabel* m_pKMR = nullptr;
    TReportLabel* m_pKMRKamera = nullptr;
    TReportLabel* m_pBSM = nullptr;
    TReportLabel* m_pEIB = nullptr;
    TReportLabel* m_pEIBKamera = nullptr;
};
