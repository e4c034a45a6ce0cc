#pragma once
// TPrintNoFunction: the multifunction input without a function: only its
// floor-call text.

#include "TPrintBasis.h"

class TPrintNoFunction : public TPrintBasis {
public:
    TPrintNoFunction();

    void BeforeBandPrint(TReportBand& band, bool& print);

private:
    TReportLabel* QRLabel2 = nullptr;
    TReportLabel* m_pText = nullptr;
};
