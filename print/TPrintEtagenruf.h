#pragma once
// TPrintEtagenruf: the multifunction input as a floor call (mode 3): the
// number called and the floor-call text.

#include "TPrintBasis.h"

class TPrintEtagenruf : public TPrintBasis {
public:
    TPrintEtagenruf();

    void BeforeBandPrint(TReportBand& band, bool& print);

private:
    TReportLabel* QRLabel2 = nullptr;
    TReportLabel* m_pEtagenRnr = nullptr;
    TReportLabel* m_pEtagenText = nullptr;
};
