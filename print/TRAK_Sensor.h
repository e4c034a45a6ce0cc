#pragma once
// TRAK_Sensor: one input of the universal controller in mode 1 (signal
// input), with the rows of the multifunction input's signal report.

#include "TPrintBasis.h"

class TRAK_Sensor : public TPrintBasis {
public:
    TRAK_Sensor();

    void SetInput(std::uint8_t input) { m_nInput = input; }
    std::uint8_t GetInput() const { return m_nInput; }
    void BeforePrint(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pLabelSensorIdx = nullptr;
    TReportLabel* label = nullptr;
    SensorLabels m_Rows;
    std::uint8_t m_nInput = 0;
};
