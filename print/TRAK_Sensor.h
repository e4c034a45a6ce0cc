#pragma once
// TRAK_Sensor: one input of the universal controller in mode 1 (signal
// input), with the rows of the multifunction input's signal report.

#include "TRAK_Input.h"

class TRAK_Sensor : public TRAK_Input {
public:
    TRAK_Sensor();

    void BeforePrint(TReport& report);

private:
    TReportLabel* label = nullptr;
    SensorLabels m_Rows;
};
