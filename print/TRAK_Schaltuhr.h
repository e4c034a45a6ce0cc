#pragma once
// TRAK_Schaltuhr: one input of the universal controller in mode 2 (time
// switch): what it switches and for which permission group.

#include "TRAK_Input.h"

class TRAK_Schaltuhr : public TRAK_Input {
public:
    TRAK_Schaltuhr();

    void BeforePrint(TReport& report);

private:
    TReportLabel* label = nullptr;
    TReportLabel* m_pMode = nullptr;
    TReportLabel* m_pPGLabel = nullptr;
    TReportLabel* m_pPG = nullptr;
};
