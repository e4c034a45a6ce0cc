#pragma once
// TPrintMoxKonf: the box's basic settings: country, language, call number
// and the concierge.

#include "TPrintBasis.h"

class TPrintMoxKonf : public TPrintBasis {
public:
    TPrintMoxKonf();

    void BeforePrint(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pLand = nullptr;
    TReportLabel* m_pSprache = nullptr;
    TReportLabel* m_pRnr = nullptr;
    TReportLabel* m_pConAktiv = nullptr;
    TReportLabel* m_pDirektRnr = nullptr;
    TReportLabel* m_pVideo = nullptr;
};
