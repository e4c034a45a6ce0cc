#pragma once
// TRAK_NoFunction: one input of the universal controller without a
// function: only its text.

#include "TPrintBasis.h"

class TRAK_NoFunction : public TPrintBasis {
public:
    TRAK_NoFunction();

    void SetInput(std::uint8_t input) { m_nInput = input; }
    std::uint8_t GetInput() const { return m_nInput; }
    void BeforePrint(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pLabelSensorIdx = nullptr;
    TReportLabel* m_pLabelMode = nullptr;
    TReportLabel* label = nullptr;
    TReportLabel* m_pText = nullptr;
    std::uint8_t m_nInput = 0;
};
