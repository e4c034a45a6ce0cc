#pragma once
// TPrintITMfr: the door interface's multifunction relay: its mode and, for
// the modes tied to a subscriber, that subscriber.

#include "TPrintBasis.h"

class TPrintITMfr : public TPrintBasis {
public:
    TPrintITMfr();

    void BeforeBandPrint(TReportBand& band, bool& print);

private:
    TReportLabel* QRLabel2 = nullptr;
    TReportLabel* m_pMfrMode = nullptr;
    TReportLabel* m_pPGLabel = nullptr;
    TReportLabel* m_pPG = nullptr;
};
