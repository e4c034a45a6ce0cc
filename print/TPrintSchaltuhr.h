#pragma once
// TPrintSchaltuhr: the multifunction input as a time switch (mode 2): what
// it switches and for which permission group.

#include "TPrintBasis.h"

class TPrintSchaltuhr : public TPrintBasis {
public:
    TPrintSchaltuhr();

    void BeforeBandPrint(TReportBand& band, bool& print);

private:
    TReportLabel* QRLabel2 = nullptr;
    TReportLabel* label = nullptr;
    TReportLabel* m_pMode = nullptr;
    TReportLabel* m_pPGLabel = nullptr;
    TReportLabel* m_pPG = nullptr;
};
