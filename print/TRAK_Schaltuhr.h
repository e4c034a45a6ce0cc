#pragma once
// TRAK_Schaltuhr: one input of the universal controller in mode 2 (time
// switch): what it switches and for which permission group.

#include "TPrintBasis.h"

class TRAK_Schaltuhr : public TPrintBasis {
public:
    TRAK_Schaltuhr();

    void SetInput(std::uint8_t input) { m_nInput = input; }
    std::uint8_t GetInput() const { return m_nInput; }
    void BeforePrint(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pLabelSensorIdx = nullptr;
    TReportLabel* label = nullptr;
    TReportLabel* m_pMode = nullptr;
    TReportLabel* m_pPGLabel = nullptr;
    TReportLabel* m_pPG = nullptr;
    std::uint8_t m_nInput = 0;
};
