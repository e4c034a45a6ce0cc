#pragma once
// TRAK_Input: the base of the reports of one input of the universal
// controller: the title line, and the detail band headed by the input's
// number in bold. The subclass adds its rows to the detail band and prints
// the number with its own values.

#include "TPrintBasis.h"

#include <cstdint>
#include <string>

class TRAK_Input : public TPrintBasis {
public:
    void SetInput(std::uint8_t input) { m_nInput = input; }
    std::uint8_t GetInput() const { return m_nInput; }

protected:
    // detailHeight: mm.
    TRAK_Input(std::string reportName, double detailHeight);

    TReportBand* Detail() const { return m_pDetail; }
    // "input" and the input's number, counted from 1.
    void ShowInputNumber();

    std::uint8_t m_nInput = 0;

private:
    TReportBand* m_pDetail = nullptr;
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pLabelSensorIdx = nullptr;
};
